#pragma once
// A debug log for tests that keeps the lines it is given.

#include <string>
#include <string_view>
#include <vector>

namespace relicor::test {

class RecordingDebug {
 public:
  void WriteDebugLine(std::string_view text) { lines.emplace_back(text); }
  std::vector<std::string> lines;
};

}  // namespace relicor::test
