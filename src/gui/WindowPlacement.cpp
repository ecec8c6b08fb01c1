#include "gui/WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QObject>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "gui/ItemDumpWindow.h"

namespace relicor {
namespace {

// Fits its window at the first show that the program makes (a window the desktop restores keeps
// where the keeper put it).
class ScreenFitter : public QObject {
 public:
  ScreenFitter(QWidget* window, Placement placement)
      : QObject(window), window_(window), placement_(placement) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == window_ && event->type() == QEvent::Show && !event->spontaneous() && !placed_) {
      placed_ = true;
      Fit();
    }
    return false;
  }

 private:
  void Fit() {
    const QWidget* parent = window_->parentWidget() != nullptr ? window_->parentWidget()->window() : nullptr;
    const QScreen* screen = parent != nullptr ? parent->screen() : window_->screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect available = screen->availableGeometry();
    // Before the desktop has framed a secondary window its frame is unknown: room for one is kept.
    // The main window goes by the frame it has, as its kept place does.
    const bool framed = window_->frameGeometry() != window_->geometry();
    const QSize frame = framed || placement_ == Placement::kKeepPlace
                            ? window_->frameGeometry().size() - window_->size()
                            : kFrameAllowance;
    QRect wanted(window_->frameGeometry().topLeft(), window_->size() + frame);
    if (parent != nullptr && placement_ == Placement::kOverParent) {
      wanted.moveCenter(parent->frameGeometry().center());
    } else if (parent != nullptr && placement_ == Placement::kBesideParent) {
      wanted.moveTopLeft(BesidePosition(parent->frameGeometry(), wanted.size(), available));
    }
    const QRect fitted = FittedFrame(wanted, available);
    window_->resize((fitted.size() - frame).expandedTo(QSize(1, 1)));
    window_->move(fitted.topLeft());
  }

  QWidget* window_;
  Placement placement_;
  bool placed_ = false;
};

}  // namespace

QRect FittedFrame(const QRect& wanted, const QRect& available) {
  const QSize size = wanted.size().boundedTo(available.size());
  const int x = std::clamp(wanted.x(), available.left(), available.right() + 1 - size.width());
  const int y = std::clamp(wanted.y(), available.top(), available.bottom() + 1 - size.height());
  return {QPoint(x, y), size};
}

void FitOnScreenWhenShown(QWidget* window, Placement placement) {
  window->installEventFilter(new ScreenFitter(window, placement));
}

}  // namespace relicor
