#pragma once
// A debug log for tests that keeps the lines it is given.

#include <string>
#include <string_view>
#include <vector>

#include "identify/LineSink.h"

namespace relicor::test {

class RecordingDebug : public DebugLineSink {
 public:
  void WriteDebugLine(std::string_view text) override { lines.emplace_back(text); }
  std::vector<std::string> lines;
};

}  // namespace relicor::test
