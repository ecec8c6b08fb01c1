#include "gui/DesktopOpener.h"

#include <QDesktopServices>
#include <utility>

namespace relicor {
namespace {

std::function<bool(const QUrl&)>& Hook() {
  static std::function<bool(const QUrl&)> hook;
  return hook;
}

}  // namespace

bool DesktopOpener::Open(const QUrl& url) {
  if (Hook()) return Hook()(url);
  return QDesktopServices::openUrl(url);
}

void DesktopOpener::SetHook(std::function<bool(const QUrl&)> hook) {
  Hook() = std::move(hook);
}

}  // namespace relicor
