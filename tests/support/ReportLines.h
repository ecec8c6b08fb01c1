#pragma once
// The lines of a report as a list of texts, for comparing them in tests.

#include <string>
#include <vector>

#include "identify/ItemReport.h"

namespace relicor::test {

inline std::vector<std::string> LinesOf(const ReportLines& lines) {
  return std::vector<std::string>(lines.begin(), lines.end());
}

}  // namespace relicor::test
