// The pool's integrity across processes: a command killed at any point of a rename run or a send
// leaves nothing the next command cannot repair, two commands at once lose no change, and paths
// and files that are not what they seem are refused.

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "cli/Cli.h"
#include "cli/CliContext.h"
#include "item/ItemRecord.h"
#include "platform/DirectoryLock.h"
#include "platform/FaultInjection.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"

namespace relicor::cli {
namespace {

using test::RecordBuilder;
using test::TempDir;
namespace fs = std::filesystem;

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The built relicor-cli as its own process: exit status and standard error.
CliRun RunProgram(const std::vector<std::string>& args, const std::string& scratch) {
  std::string command = RELICOR_CLI_PATH;
  for (const std::string& arg : args) command += " '" + arg + "'";
  command += " > " + scratch + ".out 2> " + scratch + ".err";
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(scratch + ".out"), ReadFile(scratch + ".err")};
}

// Runs relicor-cli in a child process that is killed (SIGKILL) just before its `killAt`th
// rename, removal or flush. True when the kill came, false when the command ran to its end first.
bool KilledRun(const std::vector<std::string>& args, int killAt) {
  const pid_t child = ::fork();
  if (child == 0) {
    faults::KillAt(faults::Bit(faults::FileOp::kRename) | faults::Bit(faults::FileOp::kUnlink) |
                       faults::Bit(faults::FileOp::kFsync),
                   killAt);
    std::ostringstream out, err;
    const int status = RunCli(args, out, err);
    ::_exit(status);
  }
  int raw = 0;
  ::waitpid(child, &raw, 0);
  if (WIFSIGNALED(raw)) {
    EXPECT_EQ(WTERMSIG(raw), SIGKILL);
    return true;
  }
  EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << "the command failed without being killed";
  return false;
}

// A pool and a sent directory whose every sidecar names its own item: the sender of the item with
// Ident n is "Sender<n>". Item 3 has no sidecar.
class PoolFixture {
 public:
  PoolFixture() {
    home = dir.mkdir("home");
    pool = dir.mkdir("pool");
    sent = dir.mkdir("sent");
    dir.write("pool/PLAYERS.TXT", "Bob\r\n");
    Item("pool/a.ITM", 1, "Short Sword", true);
    Item("pool/b.ITM", 2, "Short Sword", true);
    Item("pool/c.ITM", 3, "Dagger", false);
    Item("pool/e.itm", 5, "Short Sword", true);
    Item("sent/d.ITM", 4, "Short Sword", true);
  }

  void Item(const std::string& name, std::uint32_t ident, const std::string& itemName, bool sidecar) {
    dir.write(name, RecordBuilder().ident(ident).itemClass(1).name(itemName).bytes());
    if (sidecar) {
      dir.write(name.substr(0, name.size() - 3) + "IT0",
                "[Iteminfos]\r\nSenderName=Sender" + std::to_string(ident) + "\r\n");
    }
    idents.insert(ident);
    if (sidecar) withSidecar.insert(ident);
  }

  // The global options, then `command` with "{pool}" standing for the pool directory.
  std::vector<std::string> Args(std::vector<std::string> command) const {
    for (std::string& arg : command) {
      if (arg.rfind("{pool}", 0) == 0) arg = pool + arg.substr(6);
    }
    command.insert(command.begin(), {"--home", home, "--pool", pool, "--sent", sent});
    return command;
  }

  // Every item is there once and beside its own sidecar; no sidecar is without its item; no
  // journal and no temporary file is left.
  void ExpectWhole(const std::string& when) const {
    std::set<std::uint32_t> seen;
    for (const std::string& d : {pool, sent}) {
      for (const auto& entry : fs::directory_iterator(d)) {
        const std::string name = entry.path().filename().string();
        const std::string path = entry.path().string();
        EXPECT_EQ(name.find(".tmp-"), std::string::npos) << when << ": left " << path;
        EXPECT_NE(name, "RELICOR.JNL") << when;
        EXPECT_NE(name, "RELICOR.LCK") << when;
        const std::string ext = name.size() >= 4 ? name.substr(name.size() - 4) : "";
        if (ext == ".IT0") {
          const std::string stem = path.substr(0, path.size() - 3);
          EXPECT_TRUE(fs::exists(stem + "ITM") || fs::exists(stem + "itm")) << when << ": orphan sidecar " << path;
          continue;
        }
        if (ext != ".ITM" && ext != ".itm") continue;
        const std::uint32_t ident = ItemRecord::FromBytes(ReadFile(path)).Ident();
        EXPECT_TRUE(seen.insert(ident).second) << when << ": item " << ident << " twice";
        const std::string sidecar = path.substr(0, path.size() - 3) + "IT0";
        if (withSidecar.count(ident) != 0) {
          EXPECT_NE(ReadFile(sidecar).find("SenderName=Sender" + std::to_string(ident) + "\r\n"), std::string::npos)
              << when << ": " << path << " is not beside its own sidecar";
        } else {
          EXPECT_FALSE(fs::exists(sidecar)) << when << ": " << path << " adopted " << sidecar;
        }
      }
    }
    EXPECT_EQ(seen, idents) << when << ": items lost";
  }

  TempDir dir;
  std::string home, pool, sent;
  std::set<std::uint32_t> idents;
  std::set<std::uint32_t> withSidecar;
};

// Kills `command` at every rename, removal and flush in turn; after each kill the next command
// (members list, in a process of its own) repairs the pool.
void KillAtEveryPoint(const std::vector<std::string>& command, int* points) {
  for (int n = 1;; ++n) {
    ASSERT_LT(n, 400) << "the command never ran to its end";
    PoolFixture fixture;
    const bool killed = KilledRun(fixture.Args(command), n);
    const CliRun next = RunProgram(fixture.Args({"members", "list"}), fixture.dir.file("next"));
    EXPECT_EQ(next.status, kExitOk) << next.err;
    fixture.ExpectWhole("killed at " + std::to_string(n));
    if (!killed) {
      *points = n - 1;
      std::cout << "kill points: " << *points << "\n";
      return;
    }
    // After the repair the command itself runs to its end (a send whose item has gone is done).
    if (command.front() == "send" && !fs::exists(fixture.pool + "/a.ITM")) continue;
    std::ostringstream out, err;
    EXPECT_EQ(RunCli(fixture.Args(command), out, err), kExitOk) << err.str();
    fixture.ExpectWhole("run again after the kill at " + std::to_string(n));
  }
}

TEST(CliIntegrity, AKilledRenameRunIsRepairedByTheNextCommand) {
  int points = 0;
  KillAtEveryPoint({"rename", "--yes"}, &points);
  EXPECT_GT(points, 15) << "every rename, removal and flush of the run was a kill point";
}

TEST(CliIntegrity, AKilledSendIsRepairedByTheNextCommand) {
  int points = 0;
  KillAtEveryPoint({"send", "{pool}/a.ITM", "Bob"}, &points);
  EXPECT_GT(points, 5);
}

TEST(CliIntegrity, TheRepairSaysWhatItDid) {
  // Killed just after the first item was renamed, before its sidecar followed.
  for (int n = 1; n < 40; ++n) {
    PoolFixture fixture;
    if (!KilledRun(fixture.Args({"rename", "--yes"}), n)) break;
    bool split = false;
    for (const auto& entry : fs::directory_iterator(fixture.pool)) {
      const std::string path = entry.path().string();
      if (path.size() > 4 && path.substr(path.size() - 4) == ".ITM" &&
          !fs::exists(path.substr(0, path.size() - 3) + "IT0") && path.find("Dagger") == std::string::npos &&
          path.find("/c.ITM") == std::string::npos) {
        split = true;
      }
    }
    if (!split) continue;
    const CliRun next = RunProgram(fixture.Args({"members", "list"}), fixture.dir.file("next"));
    EXPECT_EQ(next.status, kExitOk);
    EXPECT_NE(next.err.find("repaired: moved the sidecar "), std::string::npos) << next.err;
    fixture.ExpectWhole("repaired");
    return;
  }
  FAIL() << "no kill point left an item without its sidecar";
}

// Two commands at once: each change is in the file, or its command failed (exit 1).

// Runs the commands at once, each as its own relicor-cli process; their exit statuses.
// A command that failed must have found the pool busy, unless `otherFailures` allows more.
std::vector<int> RunAtOnce(const std::vector<std::vector<std::string>>& commands, const std::string& scratch,
                           bool otherFailures = false) {
  std::string script = "(";
  for (std::size_t i = 0; i < commands.size(); ++i) {
    std::string command = RELICOR_CLI_PATH;
    for (const std::string& arg : commands[i]) command += " '" + arg + "'";
    script += "(" + command + " >/dev/null 2>" + scratch + std::to_string(i) + ".err; echo $? > " + scratch +
              std::to_string(i) + ".status) & ";
  }
  script += "wait)";
  EXPECT_EQ(std::system(script.c_str()), 0);
  std::vector<int> statuses;
  for (std::size_t i = 0; i < commands.size(); ++i) {
    statuses.push_back(std::atoi(ReadFile(scratch + std::to_string(i) + ".status").c_str()));
    if (statuses.back() != 0 && !otherFailures) {
      EXPECT_NE(ReadFile(scratch + std::to_string(i) + ".err").find("pool is busy: another Relicor is writing"),
                std::string::npos);
    }
  }
  return statuses;
}

TEST(CliIntegrity, MembersAddedAtOnceAreAllKept) {
  PoolFixture fixture;
  std::vector<std::vector<std::string>> commands;
  for (int i = 0; i < 12; ++i) commands.push_back(fixture.Args({"members", "add", "Member" + std::to_string(i)}));
  const std::vector<int> statuses = RunAtOnce(commands, fixture.dir.file("run"));
  const std::string players = ReadFile(fixture.pool + "/PLAYERS.TXT");
  int added = 0;
  for (int i = 0; i < 12; ++i) {
    const bool inFile = players.find("Member" + std::to_string(i) + "\r\n") != std::string::npos;
    EXPECT_TRUE(inFile || statuses[static_cast<std::size_t>(i)] == kExitFailed) << "Member" << i << " was lost";
    EXPECT_FALSE(inFile && statuses[static_cast<std::size_t>(i)] != kExitOk);
    added += inFile;
  }
  EXPECT_NE(players.find("Bob\r\n"), std::string::npos);
  EXPECT_GT(added, 0);
}

TEST(CliIntegrity, TwoAssignsOnOneItemAtOnceBothLand) {
  for (int round = 0; round < 6; ++round) {
    PoolFixture fixture;
    const std::string item = fixture.pool + "/c.ITM";  // no sidecar yet
    const std::vector<int> statuses = RunAtOnce(
        {fixture.Args({"assign", "sender", item, "Bob"}), fixture.Args({"assign", "points", item})},
        fixture.dir.file("run"));
    const std::string sidecar = ReadFile(fixture.pool + "/c.IT0");
    EXPECT_TRUE(statuses[0] != kExitOk || sidecar.find("SenderName=Bob\r\n") != std::string::npos) << sidecar;
    EXPECT_TRUE(statuses[1] != kExitOk || sidecar.find("Points4Item=1\r\n") != std::string::npos) << sidecar;
  }
}

TEST(CliIntegrity, ASendAgainstARenameLeavesEveryItemBesideItsSidecar) {
  for (int round = 0; round < 6; ++round) {
    PoolFixture fixture;
    const std::vector<int> statuses = RunAtOnce(
        {fixture.Args({"send", fixture.pool + "/a.ITM", "Bob"}), fixture.Args({"rename", "--yes"})},
        fixture.dir.file("run"), true);
    EXPECT_EQ(statuses[1], kExitOk);
    fixture.ExpectWhole("round " + std::to_string(round));
    // A send that succeeded (before the rename, or after it found a.ITM gone and failed) left item 1
    // in the sent directory, under whatever name, with the recipient beside it.
    bool sentWithRecipient = false;
    for (const auto& entry : fs::directory_iterator(fixture.sent)) {
      const std::string path = entry.path().string();
      if (path.substr(path.size() - 4) != ".ITM" || ItemRecord::FromBytes(ReadFile(path)).Ident() != 1) continue;
      sentWithRecipient = ReadFile(path.substr(0, path.size() - 3) + "IT0").find("SendTo=Bob\r\n") != std::string::npos;
    }
    EXPECT_EQ(sentWithRecipient, statuses[0] == kExitOk);
  }
}

TEST(CliIntegrity, ACommandWaitsForAnotherWriterThenSaysThePoolIsBusy) {
  PoolFixture fixture;
  auto held = DirectoryLock::Acquire(fixture.pool);
  ASSERT_TRUE(held && held->held());
  const CliRun run = RunProgram(fixture.Args({"members", "add", "Zed"}), fixture.dir.file("busy"));
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_EQ(run.err.rfind("relicor-cli: pool is busy: another Relicor is writing", 0), 0u) << run.err;
  EXPECT_EQ(ReadFile(fixture.pool + "/PLAYERS.TXT"), "Bob\r\n");
  held->Release();
  EXPECT_EQ(RunProgram(fixture.Args({"members", "add", "Zed"}), fixture.dir.file("free")).status, kExitOk);
  EXPECT_EQ(ReadFile(fixture.pool + "/PLAYERS.TXT"), "Bob\r\nZed\r\n");
  EXPECT_FALSE(fs::exists(fixture.pool + "/RELICOR.LCK")) << "the lock file goes with the lock";
}

}  // namespace
}  // namespace relicor::cli
