#pragma once
// Opens a file or web address with the desktop's program for it (the browser for a page), behind
// a hook so tests see what would be opened without starting anything.

#include <QUrl>
#include <functional>

namespace relicor {

class DesktopOpener {
 public:
  // False when the desktop could not open it.
  static bool Open(const QUrl& url);
  // Replaces the desktop for tests (an empty function restores it).
  static void SetHook(std::function<bool(const QUrl&)> hook);
};

}  // namespace relicor
