// The command line's conventions: option forms, --, global options anywhere, COMMAND --help,
// did-you-mean, defaults to the pool, exit codes, --json shapes, the rename log, and paths that
// are not ASCII.

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "cli/Cli.h"
#include "cli/CliContext.h"
#include "cli/FileUrl.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"

namespace relicor::cli {
namespace {

namespace fs = std::filesystem;
using test::FileNames;
using test::RecordBuilder;
using test::TempDir;

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

CliRun RunCliWith(const std::vector<std::string>& args, bool inIsTerminal = false) {
  std::ostringstream out, err;
  const int status = RunCli(args, out, err, false, inIsTerminal);
  return {status, out.str(), err.str()};
}

// Runs from `dir` as the current directory.
CliRun RunIn(const std::string& dir, const std::vector<std::string>& args) {
  const auto previous = fs::current_path();
  fs::current_path(dir);
  CliRun run = RunCliWith(args);
  fs::current_path(previous);
  return run;
}

// Answers a question of the run on standard input.
CliRun RunAnswering(const std::string& answer, const std::vector<std::string>& args) {
  std::istringstream in(answer);
  std::streambuf* previous = std::cin.rdbuf(in.rdbuf());
  CliRun run = RunCliWith(args, true);
  std::cin.rdbuf(previous);
  return run;
}

class CliConventionsTest : public ::testing::Test {
 protected:
  CliConventionsTest() {
    home = dir.mkdir("home");
    pool = dir.mkdir("pool");
    sent = dir.mkdir("sent");
    other = dir.mkdir("other");
    ring = dir.write(
        "pool/RING.ITM",
        RecordBuilder().ident(0xFF).itemClass(12).baseItem(151).identified(1).name("ring").price(1).bytes());
    amulet = dir.write("pool/AMULET.ITM", RecordBuilder()
                                              .ident(0x1FF)
                                              .itemClass(13)
                                              .baseItem(154)
                                              .identified(1)
                                              .name("amulet")
                                              .price(1)
                                              .bytes());
  }

  std::vector<std::string> Globals() const { return {"--home", home, "--pool", pool, "--sent", sent}; }
  std::vector<std::string> With(std::vector<std::string> args) const {
    auto all = Globals();
    all.insert(all.end(), args.begin(), args.end());
    return all;
  }

  TempDir dir;
  std::string home, pool, sent, other, ring, amulet;
};

TEST_F(CliConventionsTest, OptionFormsAndPlacesAllGiveTheSameRun) {
  const std::string expected = RunCliWith(With({"report", ring})).out;
  ASSERT_NE(expected.find("File : RING.ITM"), std::string::npos) << expected;
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"--home=" + home, "--pool=" + pool, "report", ring},
           {"report", ring, "--home", home, "--pool", pool},
           {"report", "--home=" + home, ring, "--pool=" + pool},
           {"--home", home, "report", "--pool", pool, "--", ring},
       }) {
    const CliRun run = RunCliWith(args);
    EXPECT_EQ(run.status, kExitOk) << args.front() << run.err;
    EXPECT_EQ(run.out, expected) << args.front();
  }
}

TEST_F(CliConventionsTest, DoubleDashEndsTheOptions) {
  const std::string odd = dir.write(
      "pool/-odd.ITM", RecordBuilder().ident(7).itemClass(12).baseItem(151).name("odd").price(1).bytes());
  // Without --, "-odd.ITM" is an option nobody knows.
  EXPECT_EQ(RunIn(pool, With({"report", "-odd.ITM"})).status, kExitUsage);
  const CliRun run = RunIn(pool, With({"report", "--", "-odd.ITM"}));
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.out.rfind("File : -odd.ITM\n", 0), 0u) << run.out;
  (void)odd;
}

TEST_F(CliConventionsTest, CommandHelpIsTheCommandsOwnAndOpensNoFile) {
  for (const std::string command : {"report", "rename", "export", "db"}) {
    const CliRun run = RunCliWith({command, "--help"});
    EXPECT_EQ(run.status, kExitOk) << command << run.err;
    EXPECT_NE(run.out.find(command), std::string::npos) << run.out;
    EXPECT_EQ(run.err, "") << command;
  }
  EXPECT_NE(RunCliWith({"rename", "--help"}).out.find("--dry-run"), std::string::npos);
  EXPECT_NE(RunCliWith({"report", "--help"}).out.find("--json"), std::string::npos);
  EXPECT_NE(RunCliWith({"--help"}).out.find("Usage: relicor-cli [global options] COMMAND"),
            std::string::npos);
}

TEST_F(CliConventionsTest, AMistypedCommandGetsASuggestion) {
  // clang-format off
  const std::pair<std::string, std::string> rows[] = {
      {"reprot",     "report"},
      {"dupchek",    "dupecheck"},
      {"publsh",     "publish"},
      {"member",     "members"},
      {"xyzzy",      ""},
  };
  // clang-format on
  for (const auto& [typed, meant] : rows) {
    EXPECT_EQ(SuggestCommand(typed), meant) << typed;
    const CliRun run = RunCliWith(With({typed}));
    EXPECT_EQ(run.status, kExitUsage) << typed;
    const std::string hint = meant.empty() ? "" : "; did you mean " + meant + "?";
    EXPECT_EQ(run.err, "relicor-cli: unknown command " + typed + hint + "\n(see relicor-cli --help)\n");
  }
}

TEST_F(CliConventionsTest, AMistypedWordOfACommandGetsASuggestionToo) {
  // clang-format off
  const std::pair<std::vector<std::string>, std::string> rows[] = {
      {{"db", "lst"},                    "unknown db command lst; did you mean list?"},
      {{"members", "remvoe", "X"},       "unknown members command remvoe; did you mean remove?"},
      {{"assign", "sendr", "A.ITM", "B"}, "unknown assign command sendr; did you mean sender?"},
      {{"db", "frobnicate"},             "unknown db command frobnicate"},
  };
  // clang-format on
  for (const auto& [args, message] : rows) {
    const CliRun run = RunCliWith(With(args));
    EXPECT_EQ(run.status, kExitUsage) << message;
    EXPECT_EQ(run.err, "relicor-cli: " + message + "\n(see relicor-cli --help)\n");
  }
}

TEST_F(CliConventionsTest, AHomeThatDoesNotExistIsAnError) {
  const CliRun run = RunCliWith({"--home", dir.file("nowhere"), "members", "list"});
  EXPECT_EQ(run.status, kExitUsage);
  EXPECT_EQ(run.err, "relicor-cli: --home: no such directory: " + dir.file("nowhere") +
                         "\n(see relicor-cli --help)\n");
}

TEST_F(CliConventionsTest, ExportAndPublishDefaultToThePool) {
  CliRun run = RunIn(other, With({"export"}));
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.out, "Item list written to " + pool + "/ITMLIST.TXT\n");
  EXPECT_TRUE(fs::exists(pool + "/ITMLIST.TXT"));
  EXPECT_FALSE(fs::exists(other + "/ITMLIST.TXT"));

  run = RunIn(other, With({"publish"}));
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.out, "Pages written to " + pool + ": 29 files, 2 items\nEntrance page: file://" + pool +
                         "/itm-IP2.htm\n");
  EXPECT_TRUE(fs::exists(pool + "/itm-IP2.htm"));
  EXPECT_FALSE(fs::exists(other + "/itm-IP2.htm"));

  // Without a pool: the current directory.
  dir.write("home/RELICOR.INI", "[RELICOR]\r\nPathToPool=\r\n");
  run = RunIn(other, {"--home", home, "export"});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_TRUE(fs::exists(other + "/ITMLIST.TXT"));
}

TEST(FileUrl, EscapesWhatAUrlCannotHold) {
  EXPECT_EQ(FileUrl("/p/a b/\xC3\xA4#%.htm"), "file:///p/a%20b/%C3%A4%23%25.htm");
  EXPECT_EQ(FileUrl("/p/./x/../i-2_~.htm"), "file:///p/i-2_~.htm");
}

TEST_F(CliConventionsTest, DupeCheckExitsOneOnlyWhenItFindsSomething) {
  CliRun run = RunCliWith(With({"dupecheck"}));
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.out, "Dupe check log in " + pool + "/DUPECHK.TXT\n");

  dir.write("sent/COPY.ITM", dir.read("pool/RING.ITM"));
  ASSERT_EQ(RunCliWith(With({"db", "add", amulet})).status, kExitOk);
  run = RunCliWith(With({"dupecheck"}));
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_EQ(run.out, "DUPLICATED 000000FF0C" + pool + "/RING.ITM--000000FF0C" + sent + "/COPY.ITM\n" +
                         "DUPE/HACK  000001FF0D" + pool + "/AMULET.ITM\n" + "Dupe check log in " + pool +
                         "/DUPECHK.TXT\n");

  run = RunCliWith(With({"dupecheck", "--json"}));
  EXPECT_EQ(run.status, kExitFailed);
  const auto json = nlohmann::json::parse(run.out);
  EXPECT_EQ(json.at("log"), pool + "/DUPECHK.TXT");
  ASSERT_EQ(json.at("duplicates").size(), 1u);
  EXPECT_EQ(
      json["duplicates"][0],
      (nlohmann::json{{"key", "000000FF0C"}, {"first", pool + "/RING.ITM"}, {"second", sent + "/COPY.ITM"}}));
  EXPECT_EQ(json.at("knownDupes"),
            (nlohmann::json::array({{{"key", "000001FF0D"}, {"file", pool + "/AMULET.ITM"}}})));
  EXPECT_TRUE(json.at("sameSeed").empty());

  // A copy of the ring whose class byte was changed: one item made twice.
  std::string edited = dir.read("pool/RING.ITM");
  edited[40] = 0x0D;
  dir.write("sent/EDITED.ITM", edited);
  run = RunCliWith(With({"dupecheck"}));
  EXPECT_NE(run.out.find("SAME SEED  000000FF0C" + sent + "/COPY.ITM--" + sent + "/EDITED.ITM\n"),
            std::string::npos)
      << run.out;
  const auto again = nlohmann::json::parse(RunCliWith(With({"dupecheck", "--json"})).out);
  EXPECT_EQ(again.at("sameSeed"),
            (nlohmann::json::array(
                {{{"key", "000000FF0C"}, {"first", sent + "/COPY.ITM"}, {"second", sent + "/EDITED.ITM"}}})));
}

TEST_F(CliConventionsTest, JsonShapesOfReportDbListAndMembersList) {
  const std::string shortFile = dir.write("pool/SHORT.ITM", "tiny");
  CliRun run = RunCliWith(With({"report", "--json", ring, shortFile}));
  EXPECT_EQ(run.status, kExitFailed);
  auto json = nlohmann::json::parse(run.out);
  ASSERT_EQ(json.size(), 2u);
  EXPECT_EQ(json[0].at("file"), ring);
  EXPECT_EQ(json[0].at("name"), "ring");
  EXPECT_EQ(json[0].at("key"), "000000FF0C");
  EXPECT_TRUE(json[0].at("status").is_string());
  EXPECT_EQ(json[0].at("lines")[0], "File : RING.ITM");
  EXPECT_EQ(json[1], (nlohmann::json{{"file", shortFile}, {"error", "not an item file"}}));

  ASSERT_EQ(RunCliWith(With({"db", "add", ring})).status, kExitOk);
  run = RunCliWith(With({"db", "list", "--json"}));
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(nlohmann::json::parse(run.out),
            nlohmann::json::parse(R"([{"key": "000000FF0C", "name": "ring"}])"));

  ASSERT_EQ(RunCliWith(With({"members", "add", "J\xC3\xB6rg"})).status, kExitOk);
  ASSERT_EQ(RunCliWith(With({"members", "add", "alrik"})).status, kExitOk);
  EXPECT_EQ(dir.read("pool/PLAYERS.TXT"), "alrik\r\nJ\xF6rg\r\n");
  run = RunCliWith(With({"--json", "members", "list"}));  // a command option before the command is unknown
  EXPECT_EQ(run.status, kExitUsage);
  run = RunCliWith(With({"members", "list", "--json"}));
  EXPECT_EQ(nlohmann::json::parse(run.out), (nlohmann::json{"alrik", "J\xC3\xB6rg"}));
}

// A run reports its progress for every item; on a terminal the line is written again only when
// the percentage moves, not once per item.
TEST_F(CliConventionsTest, ProgressOnATerminalIsWrittenOncePerPercent) {
  for (int i = 0; i < 500; ++i) {
    dir.write("pool/I" + std::to_string(i) + ".ITM", RecordBuilder()
                                                         .ident(0x1000 + i)
                                                         .itemClass(12)
                                                         .baseItem(151)
                                                         .identified(1)
                                                         .name("ring")
                                                         .price(1)
                                                         .bytes());
  }
  std::ostringstream out, err;
  ASSERT_EQ(RunCli(With({"rename", "--yes"}), out, err, /*errIsTerminal=*/true, false), kExitOk) << err.str();
  const std::string shown = err.str();
  std::size_t lines = 0;
  for (std::size_t at = shown.find("progress: "); at != std::string::npos;
       at = shown.find("progress: ", at + 1)) {
    ++lines;
  }
  EXPECT_GT(lines, 10u);
  EXPECT_LE(lines, 2 * 101u);  // the plan's and the run's percentages
  EXPECT_NE(shown.find("progress: 99%"), std::string::npos);
}

TEST_F(CliConventionsTest, ADeclinedRenameChangesNothingAndExitsOne) {
  const auto before = FileNames(pool);
  CliRun run = RunAnswering("\n", With({"rename"}));  // Enter: the default, No
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_NE(run.err.find("2 of 2 item files will be renamed:\n2 in " + pool + " [y/N] "), std::string::npos)
      << run.err;
  EXPECT_EQ(FileNames(pool), before);
  run = RunAnswering("y\n", With({"rename"}));
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(FileNames(pool), (std::set<std::string>{"amulet0001.ITM", "ring0001.ITM", "RENAME.LOG"}));
}

TEST_F(CliConventionsTest, DryRunChangesNothingAndUndoRestoresNamesAndSidecars) {
  dir.write("pool/RING.IT0", "[Iteminfos]\r\nSenderName=Birte\r\n");
  const auto before = FileNames(pool);
  CliRun run = RunCliWith(With({"rename", "--dry-run"}));
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.out, pool + "/AMULET.ITM -> " + pool + "/amulet0001.ITM\n" + pool + "/RING.ITM -> " + pool +
                         "/ring0001.ITM\n2 of 2 item files would be renamed; nothing was changed\n");
  EXPECT_EQ(FileNames(pool), before);

  run = RunCliWith(With({"rename", "--yes"}));
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_NE(run.out.find("2 renamed, 0 kept, 0 failed; undo with the log " + pool + "/RENAME.LOG"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(dir.read("pool/ring0001.IT0"), "[Iteminfos]\r\nSenderName=Birte\r\n");

  run = RunCliWith(With({"rename", "--undo"}));
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_NE(run.out.find("2 restored, 0 left as they are"), std::string::npos) << run.out;
  EXPECT_EQ(FileNames(pool), before);
  EXPECT_EQ(dir.read("pool/RING.IT0"), "[Iteminfos]\r\nSenderName=Birte\r\n");

  run = RunCliWith(With({"rename", "--undo"}));
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_EQ(run.err, "relicor-cli: no rename run to undo (no RENAME.LOG in " + pool + ")\n");
  EXPECT_EQ(RunCliWith(With({"rename", "--undo", "--yes"})).status, kExitUsage);
}

TEST(CliPaths, NamesWithUmlautsAndTheEuroSignArePrintedRightAndListedAsWindows1252) {
  TempDir dir;
  const std::string home = dir.mkdir("home");
  // "Pöol ß" and "Rüng €.ITM" in UTF-8, as the file system gives them.
  const std::string pool = dir.mkdir("P\xC3\xB6ol \xC3\x9F");
  const std::string ring = dir.write(
      "P\xC3\xB6ol \xC3\x9F/R\xC3\xBCng \xE2\x82\xAC.ITM",
      RecordBuilder().ident(0xFF).itemClass(12).baseItem(151).identified(1).name("ring").price(1).bytes());
  CliRun run = RunCliWith({"--home", home, "--pool", pool, "report", ring});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.out.rfind("File : R\xC3\xBCng \xE2\x82\xAC.ITM\n", 0), 0u) << run.out;

  run = RunCliWith({"--home", home, "--pool", pool, "export"});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.out, "Item list written to " + pool + "/ITMLIST.TXT\n");
  const std::string list = dir.read("P\xC3\xB6ol \xC3\x9F/ITMLIST.TXT");
  EXPECT_NE(list.find("\r\nFile : R\xFCng \x80.ITM\r\n"), std::string::npos) << list;

  dir.write("P\xC3\xB6ol \xC3\x9F/Copy.ITM", dir.read("P\xC3\xB6ol \xC3\x9F/R\xC3\xBCng \xE2\x82\xAC.ITM"));
  run = RunCliWith({"--home", home, "--pool", pool, "dupecheck"});
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_EQ(run.out.rfind("DUPLICATED 000000FF0C" + pool + "/Copy.ITM--000000FF0C" + ring + "\n", 0), 0u)
      << run.out;
  const std::string log = dir.read("P\xC3\xB6ol \xC3\x9F/DUPECHK.TXT");
  EXPECT_NE(log.find("P\xF6ol \xDF/R\xFCng \x80.ITM"), std::string::npos) << log;

  run = RunCliWith({"--home", home, "--pool", pool, "rename", "--dry-run"});
  EXPECT_NE(run.out.find(ring + " -> " + pool + "/ring0002.ITM\n"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace relicor::cli
