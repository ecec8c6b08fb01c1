#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/OutputList.h"
#include "shell/TextExport.h"

namespace relicor {
namespace {

ItemReport Report(const std::vector<std::string>& lines, const std::string& verdict = "") {
  ItemReport report;
  report.isItem = true;
  for (const std::string& line : lines) report.lines.Add(line);
  report.verdict = verdict;
  return report;
}

TEST(TextExportTest, LinesEndWithCrLfAndTheFileLineStaysOneLine) {
  std::string text = "head\r\n";
  AppendExportText(text, Report({"File : A\nB\x7F\t.ITM", "A\tB", ""}));
  AppendExportText(text, Report({}));  // no signature: nothing
  AppendExportText(text, Report({"File : C.ITM"}, "Seed check: genuine"));
  EXPECT_EQ(text,
            "head\r\n"
            "File : A?B??.ITM\r\nA\tB\r\n\r\n"
            "File : C.ITM\r\nSeed check: genuine\r\n");
}

TEST(TextExportTest, TheOutputListShowsTheLinesAndTheVerdict) {
  std::vector<std::string> list{"an earlier report"};
  ShowInOutputList(Report({"File : A.ITM", "", "by x"}, "Seed check: edited: price"), list);
  EXPECT_EQ(list, (std::vector<std::string>{"File : A.ITM", "", "by x", "Seed check: edited: price"}));
  ShowInOutputList(Report({}), list);
  EXPECT_TRUE(list.empty());
}

}  // namespace
}  // namespace relicor
