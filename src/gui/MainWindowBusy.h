#pragma once
// How the main window keeps the keeper's input away while a long command runs (private to the
// main window's files).

#include <QApplication>
#include <QEvent>
#include <QListWidget>
#include <QMenuBar>
#include <QObject>
#include <QProgressDialog>
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

// Thrown from the progress calls of a command the keeper cancelled, and caught where the command
// was started. Only commands that change nothing before their end take a Cancel: what they write
// goes to temporary files first (the item list, the pages as one set, the duplicate log, the
// sender list), and the temporary files go with the unwinding; the rename run's plan only reads.
struct CommandCancelled {};

// While a long command runs: no window takes input, the main window keeps painting, and a
// progress dialog shows itself when the command takes longer than a second (with Cancel when the
// command may be cancelled).
class MainWindow::BusyScope {
 public:
  enum class Cancel { kNo, kYes };
  explicit BusyScope(MainWindow& window, const QString& what = {}, Cancel cancel = Cancel::kNo)
      : window_(window) {
    window_.busy_ = true;
    for (QWidget* w : Controls()) w->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    qApp->installEventFilter(&blocker_);
    auto* dialog = new QProgressDialog(what.isEmpty() ? MainWindow::tr("Working") + QChar(0x2026) : what,
                                       cancel == Cancel::kYes ? MainWindow::tr("Cancel") : QString(), 0,
                                       kProgressMaximum, &window_);
    dialog->setObjectName("ProgressDialog");
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(kProgressDelayMs);
    dialog->setAutoReset(false);
    dialog->setAutoClose(false);
    if (cancel == Cancel::kNo) dialog->setCancelButton(nullptr);
    dialog->setValue(0);
    window_.progressDialog_ = dialog;
    window_.cancellable_ = cancel == Cancel::kYes;
  }
  ~BusyScope() {
    delete window_.progressDialog_;
    window_.progressDialog_ = nullptr;
    window_.cancellable_ = false;
    qApp->removeEventFilter(&blocker_);
    QApplication::restoreOverrideCursor();
    for (QWidget* w : Controls()) w->setEnabled(true);
    window_.busy_ = false;
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

  static constexpr int kProgressMaximum = 100;
  static constexpr int kProgressDelayMs = 1000;

 private:
  std::vector<QWidget*> Controls() const {
    return {window_.menuBar(), window_.fileList_, window_.output_, window_.controls_};
  }
  MainWindow& window_;
  InputBlocker blocker_;
};

}  // namespace relicor
