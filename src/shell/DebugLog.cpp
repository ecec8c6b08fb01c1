#include "shell/DebugLog.h"

#include "platform/FileSystem.h"
#include "text/Path.h"

namespace relicor {

DebugLog::DebugLog(const Clock& clock, Enabled enabled, PoolDirectory poolDirectory, Warn warn)
    : clock_(clock),
      enabled_(std::move(enabled)),
      poolDirectory_(std::move(poolDirectory)),
      warn_(std::move(warn)) {}

std::string DebugLog::Path() const {
  return JoinPath(poolDirectory_(), kDebugLogFileName);
}

void DebugLog::WriteDebugLine(std::string_view text) {
  if (!enabled_()) return;
  std::string content;
  if (!headerWritten_) {
    content += "New DBG session " + DateTimeText(clock_.Now()).value_or("") + "\r\n";
  }
  content.append(text);
  content += "\r\n";
  if (auto written = AppendToFile(Path(), content); !written) {
    if (!warned_ && warn_) warn_("Debug log not written: " + written.error());
    warned_ = true;
    return;
  }
  headerWritten_ = true;
}

}  // namespace relicor
