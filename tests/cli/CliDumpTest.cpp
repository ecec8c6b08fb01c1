#include <gtest/gtest.h>

#include <sstream>

#include "cli/Cli.h"
#include "cli/CliContext.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"

namespace relicor::cli {
namespace {

using test::RecordBuilder;
using test::TempDir;

struct Run {
  int status;
  std::string out;
  std::string err;
};

Run RunWith(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = RunCli(args, out, err);
  return {status, out.str(), err.str()};
}

int CountLines(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST(CliDump, PrintsTwentyFiveHexLines) {
  TempDir dir;
  const auto path = dir.write("A.ITM", RecordBuilder().bytes());
  const auto run = RunWith({"dump", path});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(CountLines(run.out), 25);
  EXPECT_EQ(run.out.substr(0, 18), "000: 49 54 4D 30 0");
}

TEST(CliDump, DecimalAsCommandOptionOrGlobalOption) {
  TempDir dir;
  const auto path = dir.write("A.ITM", RecordBuilder().bytes());
  for (const auto& args : {std::vector<std::string>{"dump", "--decimal", path},
                           std::vector<std::string>{"--decimal", "dump", path}}) {
    const auto run = RunWith(args);
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out.substr(0, 21), "000: 073 084 077 048 ");
  }
}

TEST(CliDump, FailuresNameTheFile) {
  TempDir dir;
  const auto shortFile = dir.write("SHORT.ITM", std::string(10, 'x'));
  auto run = RunWith({"dump", shortFile});
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_EQ(run.err, "relicor-cli: " + shortFile + ": not an item file (10 bytes, an item has 400)\n");
  EXPECT_EQ(run.out, "");

  run = RunWith({"dump", dir.file("MISSING.ITM")});
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_NE(run.err.find("MISSING.ITM"), std::string::npos);
}

TEST(Cli, UsageErrorsExitWithTwo) {
  EXPECT_EQ(RunWith({}).status, kExitUsage);
  EXPECT_EQ(RunWith({"frobnicate"}).status, kExitUsage);
  EXPECT_EQ(RunWith({"--bogus", "dump"}).status, kExitUsage);
  EXPECT_EQ(RunWith({"dump"}).status, kExitUsage);
  EXPECT_EQ(RunWith({"--home"}).status, kExitUsage);
}

TEST(Cli, HelpAndVersion) {
  auto run = RunWith({"--help"});
  EXPECT_EQ(run.status, kExitOk);
  EXPECT_NE(run.out.find("Usage: relicor-cli"), std::string::npos);
  run = RunWith({"--version"});
  EXPECT_EQ(run.status, kExitOk);
  EXPECT_EQ(run.out.rfind("relicor-cli ", 0), 0u);
}

TEST(Cli, TheBuiltProgramRuns) {
  TempDir dir;
  const auto path = dir.write("A.ITM", RecordBuilder().bytes());
  const std::string command = std::string(RELICOR_CLI_PATH) + " dump " + path + " > " + dir.file("out.txt");
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(CountLines(dir.read("out.txt")), 25);
}

}  // namespace
}  // namespace relicor::cli
