#include "shell/OutputList.h"

namespace relicor {

void ShowInOutputList(const ItemReport& report, std::vector<std::string>& list) {
  list.clear();
  list.reserve(report.lines.size() + 1);
  for (const std::string_view line : report.lines) list.emplace_back(line);
  if (!report.verdict.empty()) list.push_back(report.verdict);
}

}  // namespace relicor
