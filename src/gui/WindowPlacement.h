#pragma once
// Where windows open: never larger than the screen's free area, wholly on it, and, for a
// secondary window, over or beside the main window instead of at the screen's corner.

#include <QRect>
#include <QSize>

class QWidget;

namespace relicor {

enum class Placement {
  kKeepPlace,     // the main window: its own place (kept or centred), only brought onto the screen
  kOverParent,    // centred over the window it belongs to
  kBesideParent,  // beside it (BesidePosition), so both stay readable
};

// The room a window's frame takes before the desktop has framed it (title bar and borders).
inline constexpr QSize kFrameAllowance(16, 40);

// The frame geometry of a window whose frame is wanted at `wanted`, on the `available` area: as
// large as wanted where the area allows, moved wholly onto the area.
QRect FittedFrame(const QRect& wanted, const QRect& available);

// From its first show on, `window` opens as `placement` says on the screen of its parent (or its
// own), at its size bounded by the screen.
void FitOnScreenWhenShown(QWidget* window, Placement placement);

}  // namespace relicor
