#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "Process.h"
#include "WholeCommand.h"
#include "support/TempDir.h"

namespace relicor::bench {
namespace {

namespace fs = std::filesystem;

TEST(StraceSummary, RowsWithAndWithoutErrorsAndNoTotal) {
  const std::string text =
      "% time     seconds  usecs/call     calls    errors syscall\n"
      "------ ----------- ----------- --------- --------- ----------------\n"
      " 40.10    0.004010          14       280           read\n"
      " 30.00    0.003000          10       300         7 openat\n"
      "  0.00    0.000000           0         1           execve\n"
      "------ ----------- ----------- --------- --------- ----------------\n"
      "100.00    0.010000          17       581         7 total\n";
  const auto rows = ParseStraceSummary(text);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].name, "read");
  EXPECT_EQ(rows[0].calls, 280);
  EXPECT_EQ(rows[0].errors, 0);
  EXPECT_DOUBLE_EQ(rows[0].seconds, 0.00401);
  EXPECT_EQ(rows[1].name, "openat");
  EXPECT_EQ(rows[1].calls, 300);
  EXPECT_EQ(rows[1].errors, 7);
  EXPECT_EQ(rows[2].name, "execve");
  EXPECT_TRUE(ParseStraceSummary("").empty());
}

TEST(Median, OddEvenAndNone) {
  EXPECT_DOUBLE_EQ(Median({3, 1, 2}), 2);
  EXPECT_DOUBLE_EQ(Median({4, 1, 3, 2}), 2.5);
  EXPECT_DOUBLE_EQ(Median({}), 0);
}

TEST(RunProcess, ExitStatusOutputAndDirectory) {
  test::TempDir tmp;
  const std::string dir = tmp.mkdir("work");
  const auto run =
      RunProcess({"/bin/sh", "-c", "pwd; echo oops >&2; exit 3"}, dir, tmp.file("out"), tmp.file("err"));
  EXPECT_EQ(run.exitStatus, 3);
  EXPECT_EQ(tmp.read("out"), fs::canonical(dir).string() + "\n");
  EXPECT_EQ(tmp.read("err"), "oops\n");
  EXPECT_GE(run.wallSeconds, 0.0);
  EXPECT_GT(run.peakKiB, 0);
  EXPECT_EQ(RunProcess({tmp.file("no-such-program")}).exitStatus, 127);
}

class WholeSeries : public ::testing::Test {
 protected:
  WholeOptions Options(const std::string& command) const {
    WholeOptions o;
    o.command = command;
    o.items = 12;
    o.dir = tmp_.path();
    o.cli = RELICOR_CLI_PATH;
    o.floor = "/bin/true";  // takes turns with the command as a floor does
    o.renameFloor = "/bin/true";
    o.runs = 2;
    return o;
  }
  // The series' line, or the empty string when it failed.
  std::string Line(const WholeOptions& o) const {
    testing::internal::CaptureStdout();
    const int status = RunWhole(o);
    const std::string out = testing::internal::GetCapturedStdout();
    return status == 0 ? out : std::string();
  }
  test::TempDir tmp_;
};

TEST_F(WholeSeries, EveryCommandRunsAsTheKeeperRunsIt) {
  for (const char* command : {"export", "publish", "dupecheck", "rename", "verify", "verify-edited",
                              "verify-dir", "verify-edited-dir"}) {
    const std::string line = Line(Options(command));
    EXPECT_EQ(line.rfind(command + std::string(" "), 0), 0u) << command << ": " << line;
    EXPECT_NE(line.find(" 12 "), std::string::npos) << line;
  }
  EXPECT_TRUE(fs::exists(tmp_.file("pool-12/ITMLIST.TXT")));
  EXPECT_TRUE(fs::exists(tmp_.file("pool-12/DUPECHK.TXT")));
}

TEST_F(WholeSeries, RenameRunsOnACopyAndLeavesTheGeneratedPoolAlone) {
  ASSERT_FALSE(Line(Options("rename")).empty());
  // The last run was the command's (two runs: the second has the floor first).
  EXPECT_TRUE(fs::exists(tmp_.file("rename-12/ShortSword0012.ITM")));
  EXPECT_TRUE(fs::exists(tmp_.file("pool-12-same/I0000011.ITM")));
  EXPECT_FALSE(fs::exists(tmp_.file("pool-12-same/ShortSword0001.ITM")));
}

TEST_F(WholeSeries, GenuineItemsAreGenuineAndEditedOnesAreEdited) {
  ASSERT_FALSE(Line(Options("verify")).empty()) << "a generated item was not judged genuine";
  // Named one by one, or the directory named.
  for (const char* command : {"verify-edited", "verify-edited-dir"}) {
    ASSERT_FALSE(Line(Options(command)).empty()) << command;
    std::ifstream out(tmp_.file("cli.out"));
    int lines = 0;
    std::string summary;
    for (std::string line; std::getline(out, line);) {
      if (line.find(".ITM: ") == std::string::npos) {
        summary = line;
        continue;
      }
      EXPECT_NE(line.find(": edited: price"), std::string::npos) << command << ": " << line;
      ++lines;
    }
    EXPECT_EQ(lines, 12) << command;
    EXPECT_EQ(summary, "0 genuine, 12 edited, 0 not reproducible, 0 not item files") << command;
  }
}

TEST_F(WholeSeries, AFailingCommandFailsTheSeries) {
  WholeOptions o = Options("export");
  o.cli = "/bin/false";
  EXPECT_TRUE(Line(o).empty());
}

}  // namespace
}  // namespace relicor::bench
