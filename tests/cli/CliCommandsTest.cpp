#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <string_view>

#include "cli/Cli.h"
#include "cli/CliContext.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"

namespace relicor::cli {
namespace {

using test::RecordBuilder;
using test::TempDir;

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

// A program directory and a pool with two items; every run names both.
class CliCommandsTest : public ::testing::Test {
 protected:
  CliCommandsTest() {
    home = dir.mkdir("home");
    pool = dir.mkdir("pool");
    sent = dir.mkdir("sent");
    WriteItems();
  }

  // The pool's two items.
  void WriteItems() {
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

  CliRun Cli(std::vector<std::string> args, bool processEnds = false) {
    args.insert(args.begin(), {"--home", home, "--pool", pool, "--sent", sent});
    std::ostringstream out, err;
    const int status = RunCli(args, out, err, false, false, processEnds);
    return {status, out.str(), err.str()};
  }

  // Every file under the test's directory with its bytes (the lists' dates and times cut off).
  std::map<std::string, std::string> Files() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path())) {
      if (entry.is_regular_file())
        files[entry.path().string()] = dir.read(entry.path().string().substr(dir.path().size() + 1));
    }
    return files;
  }

  TempDir dir;
  std::string home, pool, sent, ring, amulet;
};

TEST_F(CliCommandsTest, ReportPrintsTheOutputListLines) {
  const auto run = Cli({"report", ring});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.out.rfind("File : RING.ITM\nRING\n", 0), 0u) << run.out;
  EXPECT_NE(run.out.find("\nUrsprung: "), std::string::npos);
  EXPECT_EQ(run.out.find('\r'), std::string::npos);
}

TEST_F(CliCommandsTest, ReportOfAShortFileSaysSoAndFails) {
  const auto shortFile = dir.write("pool/SHORT.ITM", "tiny");
  const auto run = Cli({"report", shortFile, ring});
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_EQ(run.err, "relicor-cli: " + shortFile + ": not an item file (shorter than 400 bytes)\n");
  EXPECT_EQ(run.out.rfind("File : RING.ITM\n", 0), 0u) << "the other file is still reported";
}

TEST_F(CliCommandsTest, ReportOfAMissingFileNamesIt) {
  const auto run = Cli({"report", dir.file("pool/NONE.ITM")});
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_NE(run.err.find("NONE.ITM"), std::string::npos);
}

TEST_F(CliCommandsTest, ExportWritesTheListAndTheDebugLogOnlyWhenAsked) {
  dir.write("pool/ODD.ITM",
            RecordBuilder().ident(3).itemClass(12).baseItem(151).name("odd").price(1).bytes());
  auto run = Cli({"export", pool});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.out, "Item list written to " + pool + "/ITMLIST.TXT\n");
  EXPECT_EQ(dir.read("pool/ITMLIST.TXT").rfind("Relicor item list\r\n\r\nFile : AMULET.ITM\r\n", 0), 0u);
  EXPECT_EQ(dir.read("pool/RELICORDBG.TXT"), "");

  run = Cli({"--debug-file", "export", pool});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  const std::string log = dir.read("pool/RELICORDBG.TXT");
  EXPECT_EQ(log.rfind("New DBG session ", 0), 0u) << log;
  EXPECT_NE(log.find("\r\nNAME RING ODD\r\n"), std::string::npos) << log;
}

// A run in a process that ends after it leaves its items' memory to the end of the process: it
// writes the same files, tells the same and leaves no lock behind.
TEST_F(CliCommandsTest, ARunThatEndsTheProcessLeavesWhatARunInALongerOneLeaves) {
  // Enough items for the reads to go ahead on other threads (such a run asks the item files for
  // their dates only where no sidecar gives both), with sidecars that give both dates, one or none.
  // One time for every item file of both runs: the rename log names each file's date.
  const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 100);
  const auto writePool = [this, old] {
    std::filesystem::remove_all(pool);
    std::filesystem::create_directory(pool);
    WriteItems();
    for (const std::string& item : {ring, amulet}) std::filesystem::last_write_time(item, old);
    for (std::uint32_t i = 0; i < 12; ++i) {
      const std::string name = "pool/S" + std::to_string(i);
      dir.write(
          name + ".ITM",
          RecordBuilder().ident(0x300 + i).itemClass(12).baseItem(151).identified(1).name("ring").bytes());
      std::filesystem::last_write_time(dir.file(name + ".ITM"), old);
      const std::string added = i % 3 == 0 ? "AddedItem=02.01.2026\r\n" : "";
      if (i % 3 != 2)
        dir.write(name + ".IT0", "[Iteminfos]\r\nSenderName=Max\r\n" + added + "SentAt=03.01.2026\r\n");
    }
  };
  const std::vector<std::vector<std::string>> commands = {
      {"export", pool}, {"publish", pool}, {"dupecheck"}, {"rename", "--yes"}, {"report", ring}};
  // Pages say when they were made, to the second: "(Stand dd.mm.yyyy hh:mm:ss)".
  const auto withoutTime = [](std::string page) {
    for (std::size_t at = page.find("(Stand "); at != std::string::npos; at = page.find("(Stand ", at + 1)) {
      const std::size_t end = page.find(')', at);
      if (end == std::string::npos) break;
      page.replace(at, end - at + 1, "(Stand)");
    }
    return page;
  };
  // Every "dd.mm.yyyy hh:mm:ss" in a text, as "(time)".
  const auto withoutDateTimes = [](std::string text) {
    constexpr std::string_view kShape = "00.00.0000 00:00:00";
    for (std::size_t at = 0; at + kShape.size() <= text.size(); ++at) {
      bool fits = true;
      for (std::size_t k = 0; fits && k < kShape.size(); ++k) {
        const char c = text[at + k];
        fits = kShape[k] == '0' ? c >= '0' && c <= '9' : c == kShape[k];
      }
      if (fits) text.replace(at, kShape.size(), "(time)");
    }
    return text;
  };
  for (const auto& command : commands) {
    SCOPED_TRACE(command.front());
    std::vector<std::pair<CliRun, std::map<std::string, std::string>>> runs;
    for (const bool processEnds : {false, true}) {
      writePool();
      const CliRun run = Cli(command, processEnds);
      runs.emplace_back(run, Files());
      for (auto& [name, bytes] : runs.back().second) {
        if (name.ends_with(".htm")) bytes = withoutTime(bytes);
        // The duplicate check's log says when it started and ended, to the second.
        if (name.ends_with("DUPECHK.TXT")) bytes = withoutDateTimes(bytes);
      }
    }
    EXPECT_EQ(runs[0].first.status, kExitOk) << runs[0].first.err;
    EXPECT_EQ(runs[1].first.status, runs[0].first.status);
    EXPECT_EQ(runs[1].first.out, runs[0].first.out);
    EXPECT_EQ(runs[1].first.err, runs[0].first.err);
    ASSERT_EQ(runs[1].second.size(), runs[0].second.size());
    for (const auto& [name, bytes] : runs[0].second) {
      EXPECT_EQ(name.find("RELICOR.LCK"), std::string::npos) << name;
      ASSERT_TRUE(runs[1].second.contains(name)) << name;
      if (name.ends_with("RENAME.LOG")) {
        // The run's time heads it; each line names the file's item key and date, read alike.
        const auto entries = [](const std::string& log) { return log.substr(log.find('\n') + 1); };
        EXPECT_EQ(entries(runs[1].second.at(name)), entries(bytes)) << name;
        EXPECT_EQ(bytes.find("1899"), std::string::npos) << bytes;  // a date of 0: none was read
        continue;
      }
      if (name.ends_with(".LOG")) continue;  // dated to the second
      EXPECT_EQ(runs[1].second.at(name), bytes) << name;
    }
  }
}

TEST_F(CliCommandsTest, DatabaseAddListRemove) {
  auto run = Cli({"db", "add", ring});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(dir.read("home/IDENT.ID").size(), 400u);
  run = Cli({"db", "add", ring});
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_EQ(run.err, "relicor-cli: The selected Item is already in database!\n");
  run = Cli({"db", "list"});
  EXPECT_EQ(run.out, "000000FF0C  RING\n1 entries loaded\n");
  // The report of the registered item carries the dupe marker.
  run = Cli({"report", ring});
  EXPECT_NE(run.out.find("*** DUPE DETECT: THIS ITEM IS A REGISTERED DUPE OR A HACK\n"), std::string::npos);
  run = Cli({"db", "remove", "000000ff0c"});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(dir.read("home/IDENT.ID").size(), 0u);
  run = Cli({"db", "remove", "000000FF0C"});
  EXPECT_EQ(run.status, kExitFailed);
}

TEST_F(CliCommandsTest, MembersAddListRemoveSavePlayersTxt) {
  EXPECT_EQ(Cli({"members", "add", "Birte"}).status, kExitOk);
  EXPECT_EQ(Cli({"members", "add", "alrik"}).status, kExitOk);
  auto run = Cli({"members", "add", "BIRTE"});
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_EQ(dir.read("pool/PLAYERS.TXT"), "alrik\r\nBirte\r\n");
  EXPECT_EQ(Cli({"members", "list"}).out, "alrik\nBirte\n");
  EXPECT_EQ(Cli({"members", "remove", "ALRIK"}).status, kExitOk);
  EXPECT_EQ(dir.read("pool/PLAYERS.TXT"), "Birte\r\n");
}

TEST_F(CliCommandsTest, AssignAndSendNeedAKnownMember) {
  auto run = Cli({"assign", "sender", ring, "Nobody"});
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_EQ(run.err, "relicor-cli: unknown member Nobody (add it with: relicor-cli members add Nobody)\n");
  ASSERT_EQ(Cli({"members", "add", "Birte"}).status, kExitOk);
  run = Cli({"assign", "sender", ring, "birte"});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_NE(dir.read("pool/RING.IT0").find("SenderName=Birte\r\n"), std::string::npos);
  run = Cli({"send", ring, "BIRTE"});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_NE(run.out.find("moved " + ring + " to "), std::string::npos) << run.out;
  EXPECT_NE(dir.read("sent/RING.IT0").find("SendTo=Birte\r\n"), std::string::npos);
}

TEST_F(CliCommandsTest, SendWithoutASentDirectoryChangesNothing) {
  ASSERT_EQ(Cli({"members", "add", "Birte"}).status, kExitOk);
  const auto run = Cli({"--sent", dir.file("nowhere"), "send", ring, "Birte"});
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_NE(run.err.find("nowhere"), std::string::npos) << run.err;
  EXPECT_EQ(dir.read("pool/RING.IT0"), "");
  EXPECT_EQ(dir.read("pool/RING.ITM").size(), 400u);
}

TEST_F(CliCommandsTest, RenameNeedsYesWithoutATerminal) {
  auto run = Cli({"rename"});
  EXPECT_EQ(run.status, kExitUsage);
  run = Cli({"rename", "--yes"});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_NE(run.out.find("renamed " + ring + " -> " + pool + "/ring0001.ITM"), std::string::npos) << run.out;
  EXPECT_EQ(dir.read("pool/ring0001.ITM").size(), 400u);
}

TEST_F(CliCommandsTest, DupeCheckWritesItsLogInThePool) {
  dir.write("sent/RING.ITM", RecordBuilder().ident(0xFF).itemClass(12).baseItem(151).bytes());
  const auto run = Cli({"dupecheck"});
  EXPECT_EQ(run.status, kExitFailed) << run.err;  // it found a pair
  EXPECT_EQ(run.out, "DUPLICATED 000000FF0C" + pool + "/RING.ITM--000000FF0C" + sent +
                         "/RING.ITM\n"
                         "Dupe check log in " +
                         pool + "/DUPECHK.TXT\n");
  EXPECT_NE(dir.read("pool/DUPECHK.TXT").find("RING.ITM"), std::string::npos);
}

TEST_F(CliCommandsTest, PublishWritesTheEntrancePage) {
  const auto run = Cli({"publish", pool});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_NE(run.out.find("itm-IP2.htm"), std::string::npos) << run.out;
  EXPECT_NE(dir.read("pool/itm12Ring.htm").find("RING"), std::string::npos);
}

TEST_F(CliCommandsTest, CommandUsageErrors) {
  for (const auto& args : std::vector<std::vector<std::string>>{{"report"},
                                                                {"export", "a", "b"},
                                                                {"db"},
                                                                {"db", "add"},
                                                                {"db", "frob"},
                                                                {"members", "add"},
                                                                {"assign", "sender", "x"},
                                                                {"assign", "nothing", "x"},
                                                                {"send", "x"},
                                                                {"rename", "--no"},
                                                                {"dupecheck", "x"}}) {
    EXPECT_EQ(Cli(args).status, kExitUsage) << args.front();
  }
}

}  // namespace
}  // namespace relicor::cli

namespace relicor::cli {
namespace {

TEST(CliReportPaths, ABareFileNameIsShownWhole) {
  TempDir dir;
  dir.write("Bow.ITM", RecordBuilder().ident(1).itemClass(3).baseItem(138).name("bow").bytes());
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  std::ostringstream out, err;
  const int status = RunCli({"--home", dir.path(), "report", "Bow.ITM"}, out, err);
  std::filesystem::current_path(previous);
  EXPECT_EQ(status, kExitOk) << err.str();
  EXPECT_EQ(out.str().rfind("File : Bow.ITM\n", 0), 0u) << out.str();
}

}  // namespace
}  // namespace relicor::cli
