#pragma once
// How the main window keeps the keeper's input away while a long command runs (private to the
// main window's files).

#include <QApplication>
#include <QEvent>
#include <QListWidget>
#include <QMenuBar>
#include <QObject>
#include <QWidget>
#include <vector>

#include "gui/MainWindow.h"

namespace relicor {

// Swallows the keeper's input to every window of the program (the Members and database windows
// too, so nothing changes the lists a long command is working on); a message box that the
// command itself shows still takes its answer.
class InputBlocker final : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!event->spontaneous() || !watched->isWidgetType()) return false;
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::Wheel:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::ContextMenu:
      case QEvent::Close:
        break;
      default:
        return false;
    }
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && static_cast<QWidget*>(watched)->window() == modal) return false;
    event->ignore();  // a close request is refused
    return true;
  }
};

// While a long command runs: no window takes input, the main window keeps painting.
class MainWindow::BusyScope {
 public:
  explicit BusyScope(MainWindow& window) : window_(window) {
    window_.busy_ = true;
    for (QWidget* w : Controls()) w->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    qApp->installEventFilter(&blocker_);
  }
  ~BusyScope() {
    qApp->removeEventFilter(&blocker_);
    QApplication::restoreOverrideCursor();
    for (QWidget* w : Controls()) w->setEnabled(true);
    window_.busy_ = false;
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  std::vector<QWidget*> Controls() const {
    return {window_.menuBar(), window_.fileList_, window_.output_, window_.controls_};
  }
  MainWindow& window_;
  InputBlocker blocker_;
};

}  // namespace relicor
