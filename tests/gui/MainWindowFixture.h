#pragma once
// What every main-window test starts from: a fresh program directory with a pool, a fixed clock,
// message boxes answered by the test, and the window's lists found by their object names.

#include <QApplication>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <memory>

#include "GuiTestSupport.h"
#include "gui/MainWindow.h"

namespace relicor::test {

class MainWindowFixture {
 protected:
  std::unique_ptr<GuiHome> home_;
  std::unique_ptr<FixedClock> clock_;

  // For each test's init() and cleanup().
  void NewHome() {
    MessageBoxes::Reset();
    home_ = std::make_unique<GuiHome>();
    clock_ = std::make_unique<FixedClock>(TestNow());
  }
  void DropHome() { home_.reset(); }

  std::unique_ptr<MainWindow> Start() const {
    auto form = std::make_unique<MainWindow>(home_->programDir(), *clock_);
    form->show();
    return form;
  }
  static QListWidget* Files(MainWindow& form) { return form.findChild<QListWidget*>("FileListBox1"); }
  static QListWidget* Output(MainWindow& form) { return form.findChild<QListWidget*>("ListBox1"); }
  // Files dragged onto the window and dropped.
  static void Drop(MainWindow& form, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    // A drag enters the window first, then drops.
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &drop);
  }
};

}  // namespace relicor::test
