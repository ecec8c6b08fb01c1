#pragma once
// The debug log RELICORDBG.TXT in the pool directory: appended to, one session header per run
// before the first line. A log that cannot be written never stops the work: the keeper is told
// once per run.

#include <functional>
#include <string>
#include <string_view>

#include "platform/Clock.h"

namespace relicor {

inline constexpr std::string_view kDebugLogFileName = "RELICORDBG.TXT";

class DebugLog {
 public:
  using Enabled = std::function<bool()>;
  using PoolDirectory = std::function<std::string()>;
  using Warn = std::function<void(const std::string&)>;

  DebugLog(const Clock& clock, Enabled enabled, PoolDirectory poolDirectory, Warn warn);

  void WriteDebugLine(std::string_view text);

  bool headerWritten() const { return headerWritten_; }
  std::string Path() const;

 private:
  const Clock& clock_;
  Enabled enabled_;
  PoolDirectory poolDirectory_;
  Warn warn_;
  bool headerWritten_ = false;
  bool warned_ = false;
};

}  // namespace relicor
