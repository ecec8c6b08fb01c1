#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Clock.h"
#include "shell/OutputList.h"
#include "shell/TextExport.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"

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

TEST(TextExportTest, AFileThatCannotBeReadStopsTheExportWithTheLinesBeforeIt) {
  test::TempDir dir;
  dir.write("A.ITM", test::RecordBuilder().name("amulet").bytes());
  dir.write("C.ITM", test::RecordBuilder().name("cap").bytes());
  FixedClock clock(0);
  ItemCache cache(clock);
  Database database(dir.file("IDENT.ID"));
  TextReports reports{cache, database, {}, {}, {}};
  reports.options.directory = dir.path();
  const std::vector<std::string> names{"A.ITM", "GONE.ITM", "C.ITM"};
  std::vector<int> progress;
  const TextExportRun run{dir.path(), names, nullptr, false,
                          [&](int percent) { progress.push_back(percent); }};
  ItemReport report;
  TextExportEnd end;
  const auto written = WriteTextExport(reports, run, report, end);
  ASSERT_FALSE(written.ok());
  EXPECT_EQ(written.error().rfind("export stopped: ", 0), 0u) << written.error();
  EXPECT_NE(written.error().find("GONE.ITM"), std::string::npos) << written.error();
  const std::string text = dir.read("ITMLIST.TXT");
  EXPECT_EQ(text.rfind("Relicor item list\r\n\r\nFile : A.ITM\r\nAMULET\r\n", 0), 0u) << text;
  EXPECT_EQ(text.find("CAP"), std::string::npos);
  EXPECT_TRUE(end.began);
  EXPECT_EQ(end.selected, 1);
  ASSERT_NE(end.lastItem, nullptr);
  EXPECT_EQ(end.lastItem->FileName(), "A.ITM");
  EXPECT_TRUE(report.lines.empty());
  EXPECT_EQ(progress, (std::vector<int>{33, 66}));
}

}  // namespace
}  // namespace relicor
