#include "shell/ItemJudgement.h"

#include <algorithm>

#include "text/ByteText.h"

namespace relicor {
namespace {

// A middle dot in Windows-1252.
constexpr std::string_view kSeparator = " \xB7 ";

}  // namespace

std::vector<std::string> ReportFindingsOf(const ItemReport& report, bool registered) {
  std::vector<std::string> found;
  if (registered) found.emplace_back("registered dupe");
  for (const RaisedFinding& finding : report.findings) {
    std::string code = ZeroPadNumber(finding.code, 3);
    if (std::find(found.begin(), found.end(), code) == found.end()) found.push_back(std::move(code));
  }
  return found;
}

std::string JudgementText(const SeedVerdict& verdict, const ItemReport& report, bool registered) {
  std::string text = VerdictText(verdict);
  const std::vector<std::string> found = ReportFindingsOf(report, registered);
  for (std::size_t i = 0; i < found.size(); ++i) {
    text += i == 0 ? kSeparator : std::string_view(", ");
    text += found[i];
  }
  return text;
}

}  // namespace relicor
