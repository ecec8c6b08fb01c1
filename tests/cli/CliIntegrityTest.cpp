// The pool's integrity across processes: a command killed at any point of a rename run or a send
// leaves nothing the next command cannot repair, two commands at once lose no change, and paths
// and files that are not what they seem are refused.

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <set>
#include <sstream>

#include "cli/Cli.h"
#include "cli/CliContext.h"
#include "cli/KilledRun.h"
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
  // A command that would hang (a FIFO opened for reading) is ended after half a minute.
  std::string command = std::string("timeout 30 ") + RELICOR_CLI_PATH;
  for (const std::string& arg : args) command += " '" + arg + "'";
  command += " > " + scratch + ".out 2> " + scratch + ".err";
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(scratch + ".out"), ReadFile(scratch + ".err")};
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
          EXPECT_TRUE(fs::exists(stem + "ITM") || fs::exists(stem + "itm"))
              << when << ": orphan sidecar " << path;
          continue;
        }
        if (ext != ".ITM" && ext != ".itm") continue;
        const std::uint32_t ident = ItemRecord::FromBytes(ReadFile(path)).Ident();
        EXPECT_TRUE(seen.insert(ident).second) << when << ": item " << ident << " twice";
        const std::string sidecar = path.substr(0, path.size() - 3) + "IT0";
        if (withSidecar.count(ident) != 0) {
          EXPECT_NE(ReadFile(sidecar).find("SenderName=Sender" + std::to_string(ident) + "\r\n"),
                    std::string::npos)
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
void KillAtEveryPoint(const std::vector<std::string>& command, int* points,
                      const std::function<void(const PoolFixture&, const std::string&)>& check = {}) {
  for (int n = 1;; ++n) {
    ASSERT_LT(n, 400) << "the command never ran to its end";
    PoolFixture fixture;
    const bool killed = KilledRun(fixture.Args(command), n);
    const CliRun next = RunProgram(fixture.Args({"members", "list"}), fixture.dir.file("next"));
    EXPECT_EQ(next.status, kExitOk) << next.err;
    fixture.ExpectWhole("killed at " + std::to_string(n));
    if (check) check(fixture, "killed at " + std::to_string(n));
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

TEST(CliIntegrity, ARepairThatIsKilledTooIsFinishedByTheNextCommand) {
  int repairsKilled = 0;
  for (int n = 1;; ++n) {
    PoolFixture probe;
    if (!KilledRun(probe.Args({"rename", "--yes"}), n)) break;
    if (!fs::exists(probe.pool + "/RELICOR.JNL")) continue;
    for (int m = 1;; ++m) {
      ASSERT_LT(m, 100);
      PoolFixture fixture;
      ASSERT_TRUE(KilledRun(fixture.Args({"rename", "--yes"}), n));
      const bool killed = KilledRun(fixture.Args({"members", "list"}), m);
      const CliRun next = RunProgram(fixture.Args({"members", "list"}), fixture.dir.file("next"));
      EXPECT_EQ(next.status, kExitOk) << next.err;
      fixture.ExpectWhole("run killed at " + std::to_string(n) + ", its repair at " + std::to_string(m));
      if (!killed) break;
      ++repairsKilled;
    }
  }
  EXPECT_GT(repairsKilled, 10);
  std::cout << "repairs killed: " << repairsKilled << "\n";
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
      EXPECT_NE(
          ReadFile(scratch + std::to_string(i) + ".err").find("pool is busy: another Relicor is writing"),
          std::string::npos);
    }
  }
  return statuses;
}

TEST(CliIntegrity, MembersAddedAtOnceAreAllKept) {
  PoolFixture fixture;
  std::vector<std::vector<std::string>> commands;
  for (int i = 0; i < 12; ++i)
    commands.push_back(fixture.Args({"members", "add", "Member" + std::to_string(i)}));
  const std::vector<int> statuses = RunAtOnce(commands, fixture.dir.file("run"));
  const std::string players = ReadFile(fixture.pool + "/PLAYERS.TXT");
  int added = 0;
  for (int i = 0; i < 12; ++i) {
    const bool inFile = players.find("Member" + std::to_string(i) + "\r\n") != std::string::npos;
    EXPECT_TRUE(inFile || statuses[static_cast<std::size_t>(i)] == kExitFailed)
        << "Member" << i << " was lost";
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
    const std::vector<int> statuses =
        RunAtOnce({fixture.Args({"assign", "sender", item, "Bob"}), fixture.Args({"assign", "points", item})},
                  fixture.dir.file("run"));
    const std::string sidecar = ReadFile(fixture.pool + "/c.IT0");
    EXPECT_TRUE(statuses[0] != kExitOk || sidecar.find("SenderName=Bob\r\n") != std::string::npos) << sidecar;
    EXPECT_TRUE(statuses[1] != kExitOk || sidecar.find("Points4Item=1\r\n") != std::string::npos) << sidecar;
  }
}

TEST(CliIntegrity, ASendAgainstARenameLeavesEveryItemBesideItsSidecar) {
  for (int round = 0; round < 6; ++round) {
    PoolFixture fixture;
    const std::vector<int> statuses =
        RunAtOnce({fixture.Args({"send", fixture.pool + "/a.ITM", "Bob"}), fixture.Args({"rename", "--yes"})},
                  fixture.dir.file("run"), true);
    // The rename fails only when the send held the pool for longer than it waits.
    const std::string renameErrors = ReadFile(fixture.dir.file("run1.err"));
    EXPECT_TRUE(statuses[1] == kExitOk || renameErrors.find("pool is busy") != std::string::npos)
        << "rename exited " << statuses[1] << ": " << renameErrors;
    fixture.ExpectWhole("round " + std::to_string(round));
    // A send that succeeded (before the rename, or after it found a.ITM gone and failed) left item 1
    // in the sent directory, under whatever name, with the recipient beside it.
    bool sentWithRecipient = false;
    for (const auto& entry : fs::directory_iterator(fixture.sent)) {
      const std::string path = entry.path().string();
      if (path.substr(path.size() - 4) != ".ITM" || ItemRecord::FromBytes(ReadFile(path)).Ident() != 1)
        continue;
      sentWithRecipient =
          ReadFile(path.substr(0, path.size() - 3) + "IT0").find("SendTo=Bob\r\n") != std::string::npos;
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

// The faults testers found, each with the behaviour that mends it.

CliRun InProcess(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = RunCli(args, out, err);
  return {status, out.str(), err.str()};
}

// Every temporary file below `dir`.
std::vector<std::string> TemporaryFiles(const std::string& dir) {
  std::vector<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    if (entry.path().filename().string().find(".tmp-") != std::string::npos)
      found.push_back(entry.path().string());
  }
  return found;
}

TEST(CliIntegrity, ADirectoryLongerThanAPathMayBeIsRefusedNotCut) {
  PoolFixture fixture;
  const std::string longPool = fixture.pool + "/" + std::string(300, 'p');
  const std::string longSent = fixture.sent + "/" + std::string(300, 's');
  struct Case {
    std::vector<std::string> args;
  };
  const Case cases[] = {
      {{"--home", fixture.home, "--pool", longPool, "members", "add", "Zed"}},
      {{"--home", fixture.home, "--pool", fixture.pool, "--sent", longSent, "send", fixture.pool + "/a.ITM",
        "Bob"}},
      {{"--home", fixture.home, "--pool", longPool, "--sent", fixture.sent, "rename", "--yes"}},
  };
  for (const Case& c : cases) {
    const CliRun run = InProcess(c.args);
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.err.find("is longer than 255 characters: " + fixture.dir.path()), std::string::npos)
        << run.err;
  }
  // Nothing was done in the directories the cut paths would have named.
  EXPECT_EQ(ReadFile(fixture.pool + "/PLAYERS.TXT"), "Bob\r\n");
  fixture.ExpectWhole("after the refusals");
  EXPECT_TRUE(fs::exists(fixture.pool + "/a.ITM"));

  // The same directory in the settings file is told and not used.
  fixture.dir.write("home/RELICOR.INI", "[RELICOR]\r\nPathToPool=" + longPool + "\r\n");
  const CliRun run = InProcess({"--home", fixture.home, "members", "add", "Zed"});
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_NE(run.err.find("PathToPool in " + fixture.home + "/RELICOR.INI: the path is longer than 255"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("No Pool-Directory assigned!"), std::string::npos) << run.err;
}

TEST(CliIntegrity, AFifoNamedLikeAnItemOrASidecarHangsNothing) {
  PoolFixture fixture;
  ASSERT_EQ(::mkfifo((fixture.pool + "/F.ITM").c_str(), 0644), 0);
  fs::remove(fixture.pool + "/a.IT0");
  ASSERT_EQ(::mkfifo((fixture.pool + "/a.IT0").c_str(), 0644), 0);

  CliRun run = RunProgram(fixture.Args({"report", fixture.pool + "/F.ITM"}), fixture.dir.file("r1"));
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_NE(run.err.find(fixture.pool + "/F.ITM: not a regular file"), std::string::npos) << run.err;

  // The duplicate check skips what it cannot read and goes on.
  run = RunProgram(fixture.Args({"dupecheck"}), fixture.dir.file("r2"));
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_NE(run.err.find("F.ITM: not a regular file: skipped"), std::string::npos) << run.err;
  EXPECT_NE(ReadFile(fixture.pool + "/DUPECHK.TXT").find(" done checking "), std::string::npos);

  // A sidecar that is no file is not read: the item has the values of none, and the keeper is told.
  run = RunProgram(fixture.Args({"report", fixture.pool + "/a.ITM"}), fixture.dir.file("r3"));
  EXPECT_NE(run.err.find(fixture.pool + "/a.IT0: not a regular file: not read as a sidecar"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.out.find("File : a.ITM"), std::string::npos);
}

TEST(CliIntegrity, LinksPlantedInThePoolAreNotFollowed) {
  PoolFixture fixture;
  const std::string outside = fixture.dir.write("outside.txt", "private\r\n");
  fs::create_symlink(outside, fixture.pool + "/DUPECHK.TXT");
  CliRun run = InProcess(fixture.Args({"dupecheck"}));
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_NE(run.err.find(fixture.pool + "/DUPECHK.TXT: a symbolic link, not followed"), std::string::npos)
      << run.err;
  EXPECT_EQ(ReadFile(outside), "private\r\n");

  // A linked sidecar is neither read nor copied into the pool.
  fs::create_symlink(outside, fixture.pool + "/c.IT0");
  run = InProcess(fixture.Args({"assign", "points", fixture.pool + "/c.ITM"}));
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_NE(run.err.find(fixture.pool + "/c.IT0 is a symbolic link: not followed"), std::string::npos)
      << run.err;
  EXPECT_TRUE(fs::is_symlink(fixture.pool + "/c.IT0"));
  EXPECT_EQ(ReadFile(outside), "private\r\n");
}

TEST(CliIntegrity, OnlyItemFileNamesAreSentOrAssigned) {
  PoolFixture fixture;
  fixture.dir.write("pool/a.ITEM", RecordBuilder().ident(9).itemClass(1).name("Other").bytes());
  for (const auto& command : {std::vector<std::string>{"send", fixture.pool + "/a.ITEM", "Bob"},
                              std::vector<std::string>{"assign", "points", fixture.pool + "/a.ITEM"},
                              std::vector<std::string>{"report", fixture.pool + "/a.ITEM"},
                              std::vector<std::string>{"db", "add", fixture.pool + "/a.ITEM"}}) {
    const CliRun run = InProcess(fixture.Args(command));
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.err.find(fixture.pool + "/a.ITEM: not an item file name (an item file ends in .ITM)"),
              std::string::npos)
        << run.err;
  }
  // a.ITM's sidecar stays where it is, untouched.
  EXPECT_EQ(ReadFile(fixture.pool + "/a.IT0"), "[Iteminfos]\r\nSenderName=Sender1\r\n");
  EXPECT_TRUE(fs::exists(fixture.pool + "/a.ITEM"));
  // Any letter case of the extension is an item file name.
  EXPECT_EQ(InProcess(fixture.Args({"assign", "points", fixture.pool + "/e.itm"})).status, kExitOk);
}

// Makes directories below `base` until the path is longer than the system allows, and puts an
// item at the bottom; returns the path of the top one.
std::string MakeDeepTree(const std::string& base, const std::string& itemBytes) {
  const std::string name(200, 'd');
  int fd = ::open(base.c_str(), O_RDONLY | O_DIRECTORY);
  for (int level = 0; level < 24; ++level) {
    ::mkdirat(fd, name.c_str(), 0755);
    const int next = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
    ::close(fd);
    fd = next;
  }
  const int item = ::openat(fd, "DEEP.ITM", O_WRONLY | O_CREAT, 0644);
  EXPECT_EQ(::write(item, itemBytes.data(), itemBytes.size()), static_cast<ssize_t>(itemBytes.size()));
  ::close(item);
  ::close(fd);
  return base + "/" + name;
}

// Removes a tree that may be deeper than a path may be long.
void RemoveDeepTree(int parent, const char* name) {
  const int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
  if (fd < 0) {
    ::unlinkat(parent, name, 0);
    return;
  }
  std::vector<std::string> names;
  if (DIR* dir = ::fdopendir(::dup(fd))) {
    while (dirent* entry = ::readdir(dir)) {
      if (std::string_view(entry->d_name) != "." && std::string_view(entry->d_name) != "..")
        names.push_back(entry->d_name);
    }
    ::closedir(dir);
  }
  for (const std::string& child : names) RemoveDeepTree(fd, child.c_str());
  ::close(fd);
  ::unlinkat(parent, name, AT_REMOVEDIR);
}

TEST(CliIntegrity, ItemsDeeperThanAPathMayBeAreReportedNotLeftOutSilently) {
  PoolFixture fixture;
  const std::string top =
      MakeDeepTree(fixture.pool, RecordBuilder().ident(7).itemClass(1).name("Deep").bytes());
  // A dangling link named like an item does not stop the check either.
  fs::create_symlink(fixture.pool + "/gone.ITM", fixture.pool + "/LINK.ITM");
  const CliRun run = InProcess(fixture.Args({"--subdirs", "dupecheck"}));
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_NE(run.err.find("File name too long: its items are left out"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find(top), std::string::npos);
  EXPECT_NE(run.err.find(fixture.pool + "/LINK.ITM is a symbolic link: not followed: skipped"),
            std::string::npos)
      << run.err;
  EXPECT_NE(ReadFile(fixture.pool + "/DUPECHK.TXT").find(" done checking "), std::string::npos);
  const int base = ::open(fixture.pool.c_str(), O_RDONLY | O_DIRECTORY);
  RemoveDeepTree(base, std::string(200, 'd').c_str());
  ::close(base);
}

TEST(CliIntegrity, ARenameRunThatCannotRenameFailsWithTheCount) {
  PoolFixture fixture;
  // A read-only pool: nothing can be created or renamed in it.
  faults::Inject({faults::FileOp::kOpen, EROFS, fixture.pool + "/", 0, -1});
  faults::Inject({faults::FileOp::kUnlink, EROFS, fixture.pool + "/", 0, -1});
  faults::Inject({faults::FileOp::kRename, EROFS, fixture.pool + "/", 0, -1});
  const CliRun run = InProcess(fixture.Args({"rename", "--yes"}));
  faults::Clear();
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_NE(run.err.find("Read-only file system"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("0 renamed, 0 kept, 5 failed"), std::string::npos) << run.err;
  fixture.ExpectWhole("after the refused run");
}

TEST(CliIntegrity, StaleTemporaryFilesOfAKilledRunAreRemovedByTheNextRun) {
  PoolFixture fixture;
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);  // a process that no longer runs
  const std::string dead = std::to_string(child);
  fixture.dir.write("pool/ITMLIST.TXT.tmp-" + dead + "-123456", "half a list");
  fixture.dir.write("pool/notours.tmp-x", "kept");
  fixture.dir.write("pool/ITMLIST.TXT.tmp-" + std::to_string(::getpid()) + "-654321", "a live run's");
  const CliRun run = InProcess(fixture.Args({"export", fixture.pool}));
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_NE(run.err.find("removed " + fixture.pool + "/ITMLIST.TXT.tmp-" + dead +
                         "-123456, left by a run that was killed"),
            std::string::npos)
      << run.err;
  EXPECT_FALSE(fs::exists(fixture.pool + "/ITMLIST.TXT.tmp-" + dead + "-123456"));
  EXPECT_TRUE(fs::exists(fixture.pool + "/notours.tmp-x"));
  EXPECT_TRUE(fs::exists(fixture.pool + "/ITMLIST.TXT.tmp-" + std::to_string(::getpid()) + "-654321"));
}

TEST(CliIntegrity, ADupeCheckOnAFullDiskLeavesNoEmptyLog) {
  PoolFixture fixture;
  faults::Inject({faults::FileOp::kWrite, ENOSPC, "DUPECHK.TXT", 0, -1});
  const CliRun run = InProcess(fixture.Args({"dupecheck"}));
  faults::Clear();
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_NE(run.err.find("cannot write " + fixture.pool + "/DUPECHK.TXT: No space left on device"),
            std::string::npos)
      << run.err;
  EXPECT_FALSE(fs::exists(fixture.pool + "/DUPECHK.TXT"));
}

TEST(CliIntegrity, ALineBreakInAFileNameStaysOnOneLine) {
  PoolFixture fixture;
  // The same item twice, once under a name with a line break.
  fixture.dir.write("pool/X\nY.ITM", RecordBuilder().ident(1).itemClass(1).name("Short Sword").bytes());
  ASSERT_EQ(InProcess(fixture.Args({"export", fixture.pool})).status, kExitOk);
  const std::string list = ReadFile(fixture.pool + "/ITMLIST.TXT");
  EXPECT_NE(list.find("\r\nFile : X?Y.ITM\r\n"), std::string::npos) << list;
  EXPECT_EQ(list.find("X\nY"), std::string::npos);

  ASSERT_EQ(InProcess(fixture.Args({"dupecheck"})).status, kExitFailed);  // it found the pair
  const std::string log = ReadFile(fixture.pool + "/DUPECHK.TXT");
  EXPECT_NE(log.find(fixture.pool + "/X?Y.ITM\r\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("X\nY"), std::string::npos);
}

TEST(CliIntegrity, AHugeSidecarIsRefusedAsNoSidecar) {
  PoolFixture fixture;
  fixture.dir.write("pool/a.IT0", std::string(2 * 1024 * 1024, '\n'));
  const CliRun run = InProcess(fixture.Args({"report", fixture.pool + "/a.ITM"}));
  EXPECT_EQ(run.status, kExitFailed) << "the report is there, its bookkeeping is not";
  EXPECT_NE(run.out.find("File : a.ITM"), std::string::npos);
  EXPECT_NE(run.err.find(fixture.pool + "/a.IT0 holds more than 1048576 bytes: not read as a sidecar"),
            std::string::npos)
      << run.err;
  // Writing it would lose what it holds: refused too.
  const CliRun assign = InProcess(fixture.Args({"assign", "points", fixture.pool + "/a.ITM"}));
  EXPECT_EQ(assign.status, kExitFailed);
  EXPECT_NE(assign.err.find("is left as it is"), std::string::npos) << assign.err;
  EXPECT_EQ(fs::file_size(fixture.pool + "/a.IT0"), 2u * 1024 * 1024);
}

// Every write path under a failing open, write, flush or rename: the old file stays whole, the
// error names the file, and no temporary file is left.
TEST(CliIntegrity, EveryWritePathFailsCleanly) {
  struct Path {
    const char* what;
    std::vector<std::string> command;  // "{pool}" stands for the pool directory
    std::string file;                  // below the test directory
    std::vector<faults::FileOp> ops;
  };
  using faults::FileOp;
  const std::vector<FileOp> replace = {FileOp::kOpen, FileOp::kWrite, FileOp::kFsync, FileOp::kRename};
  const std::vector<FileOp> append = {FileOp::kOpen, FileOp::kWrite};
  const Path paths[] = {
      {"sidecar", {"assign", "points", "{pool}/a.ITM"}, "pool/a.IT0", replace},
      {"members", {"members", "add", "Zed"}, "pool/PLAYERS.TXT", replace},
      {"database", {"db", "remove", "0000000101"}, "home/IDENT.ID", replace},
      {"journal",
       {"send", "{pool}/a.ITM", "Bob"},
       "pool/RELICOR.JNL",
       {FileOp::kOpen, FileOp::kWrite, FileOp::kFsync}},
      {"move", {"send", "{pool}/a.ITM", "Bob"}, "pool/a.ITM", {FileOp::kRename}},
      {"pages", {"publish", "{pool}"}, "pool/itm1Sword.htm", replace},
      {"export", {"export", "{pool}"}, "pool/ITMLIST.TXT", replace},
      {"dupe log", {"dupecheck"}, "pool/DUPECHK.TXT", append},
      // The report goes on; the keeper is told, and the report fails.
      {"debug log", {"--debug-file", "report", "{pool}/a.ITM"}, "pool/RELICORDBG.TXT", append},
  };
  const int errors[] = {EACCES, ENOSPC, EROFS, EIO};
  int k = 0;
  for (const Path& path : paths) {
    for (const FileOp op : path.ops) {
      PoolFixture fixture;
      fixture.dir.write("home/IDENT.ID", "");
      ASSERT_EQ(InProcess(fixture.Args({"db", "add", fixture.pool + "/a.ITM"})).status, kExitOk);
      ASSERT_EQ(InProcess(fixture.Args({"db", "add", fixture.pool + "/b.ITM"})).status, kExitOk);
      const std::string file = fixture.dir.file(path.file);
      if (path.file != "pool/RELICOR.JNL" && !fs::exists(fixture.dir.file(path.file))) {
        fixture.dir.write(path.file, "old\r\n");
      }
      const std::string before = ReadFile(file);
      const int error = errors[k++ % 4];
      const std::string name = fs::path(path.file).filename().string();
      faults::Inject({op, error, name, 0, -1});
      const CliRun run = InProcess(fixture.Args(path.command));
      faults::Clear();
      const std::string when = std::string(path.what) + ", operation " +
                               std::to_string(static_cast<int>(op)) + ", " + std::strerror(error);
      EXPECT_EQ(run.status, kExitFailed) << when << "\n" << run.err;
      EXPECT_NE(run.err.find(name), std::string::npos) << when << ": the error names the file\n" << run.err;
      EXPECT_NE(run.err.find(std::strerror(error)), std::string::npos) << when << "\n" << run.err;
      EXPECT_EQ(ReadFile(file), before) << when << ": the old file is whole";
      if (path.file == "pool/itm1Sword.htm" && op == FileOp::kRename) {
        // The pages stand as a set: once their journal stands, the next command puts the rest in place.
        EXPECT_NE(run.err.find("PUBLISH.JNL keeps the rest for the next command"), std::string::npos)
            << run.err;
        EXPECT_EQ(InProcess(fixture.Args({"members", "list"})).status, kExitOk);
        EXPECT_NE(ReadFile(file), before) << when;
      }
      EXPECT_TRUE(TemporaryFiles(fixture.dir.path()).empty())
          << when << ": " << TemporaryFiles(fixture.dir.path())[0];
      fixture.ExpectWhole(when);
    }
  }
}

TEST(CliIntegrity, AMoveStuckHalfWayIsLeftToTheJournal) {
  for (const std::string command : {"send", "rename"}) {
    PoolFixture fixture;
    // The sidecar cannot follow its item, and the item cannot go back.
    faults::Inject({faults::FileOp::kRename, EIO, ".IT0", 0, -1});
    faults::Inject({faults::FileOp::kRename, EIO, ".ITM", 1, -1});
    const CliRun run =
        InProcess(fixture.Args(command == "send" ? std::vector<std::string>{"send", "{pool}/a.ITM", "Bob"}
                                                 : std::vector<std::string>{"rename", "--yes"}));
    faults::Clear();
    EXPECT_EQ(run.status, kExitFailed) << command;
    EXPECT_NE(run.err.find("RELICOR.JNL keeps the move for the next command to finish"), std::string::npos)
        << run.err;
    EXPECT_TRUE(fs::exists(fixture.pool + "/RELICOR.JNL"));
    const CliRun next = InProcess(fixture.Args({"members", "list"}));
    EXPECT_NE(next.err.find("repaired: moved the sidecar "), std::string::npos) << next.err;
    fixture.ExpectWhole(command + " stuck half way, then repaired");
  }
}

// Item 1 (pool/a.ITM) after a send was stopped: still in the pool with its sidecar as it was, or in
// the sent directory with its recipient.
void ExpectUnsentOrSent(const PoolFixture& fixture, const std::string& when) {
  const bool inPool = fs::exists(fixture.pool + "/a.ITM");
  EXPECT_NE(inPool, fs::exists(fixture.sent + "/a.ITM")) << when;
  if (inPool) {
    EXPECT_EQ(ReadFile(fixture.pool + "/a.IT0"), "[Iteminfos]\r\nSenderName=Sender1\r\n") << when;
  } else {
    EXPECT_NE(ReadFile(fixture.sent + "/a.IT0").find("SendTo=Bob\r\n"), std::string::npos) << when;
  }
}

TEST(CliIntegrity, AKilledSendLeavesTheItemUnsentOrSentWithItsRecipient) {
  int points = 0;
  KillAtEveryPoint({"send", "{pool}/a.ITM", "Bob"}, &points, ExpectUnsentOrSent);
  EXPECT_GT(points, 5);
}

TEST(CliIntegrity, ASendRunInsideThePoolIsRepairedFromAnyDirectory) {
  // Killed between the item's rename and its sidecar's; the send was given relative paths.
  bool split = false;
  for (int n = 1; n < 60 && !split; ++n) {
    PoolFixture fixture;
    const bool killed =
        KilledRun({"--home", fixture.home, "--pool", ".", "--sent", "../sent", "send", "a.ITM", "Bob"}, n,
                  fixture.pool);
    if (!killed) break;
    split = fs::exists(fixture.sent + "/a.ITM") && fs::exists(fixture.pool + "/a.IT0");
    if (!split) continue;
    // The next command runs from the sent directory, where a.ITM names the sent item.
    const std::string scratch = fixture.dir.file("next");
    const int raw = std::system(("cd '" + fixture.sent + "' && " + RELICOR_CLI_PATH + " --home '" +
                                 fixture.home + "' --pool '" + fixture.pool + "' --sent '" + fixture.sent +
                                 "' members list > " + scratch + ".out 2> " + scratch + ".err")
                                    .c_str());
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << ReadFile(scratch + ".err");
    fixture.ExpectWhole("repaired from the sent directory");
    ExpectUnsentOrSent(fixture, "repaired from the sent directory");
  }
  EXPECT_TRUE(split) << "no kill point left the item sent and its sidecar behind";
}

// Between file systems a move is a copy: every flush that fails is told, and the item is in one
// place only, whole; a second try works.
TEST(CliIntegrity, ASendToAnotherFileSystemReportsEveryFailedFlush) {
  auto acrossFileSystems = [](const PoolFixture& fixture) {
    faults::Inject({faults::FileOp::kRename, EXDEV, fixture.pool + "/a.I", 0, -1});
  };
  int flushes = 0;
  {
    PoolFixture fixture;
    faults::Clear();
    acrossFileSystems(fixture);
    const CliRun run = InProcess(fixture.Args({"send", "{pool}/a.ITM", "Bob"}));
    flushes = faults::Count(faults::Bit(faults::FileOp::kFsync));
    faults::Clear();
    ASSERT_EQ(run.status, kExitOk) << run.err;
    ExpectUnsentOrSent(fixture, "copied");
    EXPECT_FALSE(fs::exists(fixture.pool + "/a.ITM"));
  }
  ASSERT_GT(flushes, 4);
  for (int k = 0; k < flushes; ++k) {
    const std::string when = "flush " + std::to_string(k) + " fails";
    PoolFixture fixture;
    acrossFileSystems(fixture);
    faults::Inject({faults::FileOp::kFsync, EIO, "", k, 1});
    const CliRun run = InProcess(fixture.Args({"send", "{pool}/a.ITM", "Bob"}));
    faults::Clear();
    EXPECT_EQ(run.status, kExitFailed) << when << ": " << run.err;
    EXPECT_NE(run.err.find(std::strerror(EIO)), std::string::npos) << when << ": " << run.err;
    const CliRun next = InProcess(fixture.Args({"members", "list"}));
    EXPECT_EQ(next.status, kExitOk) << when << ": " << next.err;
    fixture.ExpectWhole(when);
    ExpectUnsentOrSent(fixture, when);
    if (fs::exists(fixture.pool + "/a.ITM")) {
      const CliRun again = InProcess(fixture.Args({"send", "{pool}/a.ITM", "Bob"}));
      EXPECT_EQ(again.status, kExitOk) << when << ", then again: " << again.err;
      ExpectUnsentOrSent(fixture, when + ", then again");
    }
  }
}

TEST(CliIntegrity, ALockThatCannotBeTakenFailsTheCommandUnlessTheKeeperSaysNoLock) {
  struct Case {
    const char* what;
    std::function<void(const PoolFixture&)> make;
    std::string text;
  };
  const Case cases[] = {
      {"directory", [](const PoolFixture& f) { fs::create_directory(f.pool + "/RELICOR.LCK"); },
       "RELICOR.LCK must be a regular file, and it is a directory"},
      {"link",
       [](const PoolFixture& f) {
         fs::create_symlink(f.dir.write("elsewhere", ""), f.pool + "/RELICOR.LCK");
       },
       "RELICOR.LCK must be a regular file, and it is a symbolic link"},
      {"ENOLCK",
       [](const PoolFixture&) {
         faults::Inject({faults::FileOp::kLock, ENOLCK, "pool/RELICOR.LCK", 0, -1});
       },
       "RELICOR.LCK: " + std::string(std::strerror(ENOLCK))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PoolFixture fixture;
    c.make(fixture);
    const CliRun run = InProcess(fixture.Args({"members", "add", "Zed"}));
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.err.find("relicor-cli: cannot lock " + fixture.pool + ": " + fixture.pool + "/" + c.text),
              std::string::npos)
        << run.err;
    EXPECT_EQ(ReadFile(fixture.pool + "/PLAYERS.TXT"), "Bob\r\n");
    const CliRun unlocked = InProcess(fixture.Args({"--no-lock", "members", "add", "Zed"}));
    faults::Clear();
    EXPECT_EQ(unlocked.status, kExitOk) << unlocked.err;
    EXPECT_NE(unlocked.err.find(c.text + "; going on without the lock"), std::string::npos) << unlocked.err;
    EXPECT_EQ(ReadFile(fixture.pool + "/PLAYERS.TXT"), "Bob\r\nZed\r\n");
  }
}

TEST(CliIntegrity, AWritingCommandOnAPoolThatDoesNotExistSaysSo) {
  PoolFixture fixture;
  const std::string missing = fixture.dir.file("missing");
  for (const auto& command : {std::vector<std::string>{"members", "add", "Zed"},
                              std::vector<std::string>{"assign", "points", fixture.pool + "/a.ITM"},
                              std::vector<std::string>{"rename", "--yes"}}) {
    std::vector<std::string> args = {"--home", fixture.home, "--pool", missing, "--sent", fixture.sent};
    args.insert(args.end(), command.begin(), command.end());
    const CliRun run = InProcess(args);
    EXPECT_EQ(run.status, kExitFailed) << command[0];
    EXPECT_NE(run.err.find("cannot lock " + missing + ": the directory does not exist"), std::string::npos)
        << command[0] << ": " << run.err;
  }
  EXPECT_FALSE(fs::exists(missing));
  fixture.ExpectWhole("nothing done");
}

TEST(CliIntegrity, LeftoversOfKilledRunsGoInTheHomeAndTheSentDirectoryToo) {
  PoolFixture fixture;
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  const std::string dead = "-" + std::to_string(child) + "-123456";
  fixture.dir.write("home/IDENT.ID.tmp" + dead, "half a database");
  fixture.dir.write("home/RELICOR.INI.tmp" + dead, "half the settings");
  fixture.dir.write("sent/d.ITM.tmp" + dead, "half a copy");
  const CliRun run = InProcess(fixture.Args({"members", "list"}));
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_TRUE(TemporaryFiles(fixture.dir.path()).empty()) << TemporaryFiles(fixture.dir.path())[0];
  EXPECT_NE(run.err.find("removed " + fixture.sent + "/d.ITM.tmp" + dead), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("removed " + fixture.home + "/IDENT.ID.tmp" + dead), std::string::npos) << run.err;
}

// The file names of the pool and the sent directory.
std::set<std::string> Names(const PoolFixture& fixture) {
  std::set<std::string> names;
  for (const std::string& d : {fixture.pool, fixture.sent}) {
    for (const auto& entry : fs::directory_iterator(d))
      names.insert(d.substr(fixture.dir.path().size()) + "/" + entry.path().filename().string());
  }
  return names;
}

TEST(CliIntegrity, AKilledRenameRunCanBeUndone) {
  std::set<std::string> before;
  {
    PoolFixture probe;
    before = Names(probe);
  }
  int undone = 0;
  for (int n = 1;; ++n) {
    ASSERT_LT(n, 400);
    PoolFixture fixture;
    const bool killed = KilledRun(fixture.Args({"rename", "--yes"}), n);
    if (!killed) break;
    EXPECT_EQ(InProcess(fixture.Args({"members", "list"})).status, kExitOk);
    if (!fs::exists(fixture.pool + "/RENAME.LOG")) {
      // Killed before the log, and so before any rename.
      EXPECT_EQ(Names(fixture), before) << "killed at " << n;
      continue;
    }
    const CliRun undo = InProcess(fixture.Args({"rename", "--undo"}));
    EXPECT_EQ(undo.status, kExitOk) << "killed at " << n << ": " << undo.err;
    fixture.ExpectWhole("killed at " + std::to_string(n) + ", then undone");
    std::set<std::string> after = Names(fixture);
    EXPECT_EQ(after.count("/pool/PLAYERS.TXT"), 1u) << "killed at " << n;
    after.erase("/pool/PLAYERS.TXT");
    std::set<std::string> expected = before;
    expected.erase("/pool/PLAYERS.TXT");
    EXPECT_EQ(after, expected) << "killed at " << n;
    ++undone;
  }
  EXPECT_GT(undone, 5);
}

TEST(CliIntegrity, ARenameRunKilledWhileItsLogGrowsAfterAFailedMoveCanBeUndone) {
  // b.ITM cannot be renamed: the moves after it are named again and their lines are added to the
  // log the first moves began.
  std::set<std::string> before;
  {
    PoolFixture probe;
    before = Names(probe);
  }
  before.erase("/pool/PLAYERS.TXT");
  int undone = 0;
  for (int n = 1;; ++n) {
    ASSERT_LT(n, 400);
    PoolFixture fixture;
    faults::Inject({faults::FileOp::kRename, EIO, "pool/b.ITM", 0, -1});
    const bool killed = KilledRun(fixture.Args({"rename", "--yes"}), n, {}, kExitFailed);
    faults::Clear();
    const std::string when = "killed at " + std::to_string(n);
    EXPECT_EQ(InProcess(fixture.Args({"members", "list"})).status, kExitOk) << when;
    fixture.ExpectWhole(when);
    if (!killed) {
      // The whole run: every item but b renamed, and the log holds exactly those renames.
      const std::string log = ReadFile(fixture.pool + "/RENAME.LOG");
      EXPECT_EQ(log.find("b.ITM"), std::string::npos) << log;
      for (const char* item : {"/a.ITM ->", "/c.ITM ->", "/e.itm ->", "/d.ITM ->"})
        EXPECT_NE(log.find(item), std::string::npos) << item << " in " << log;
    }
    if (!fs::exists(fixture.pool + "/RENAME.LOG")) {
      std::set<std::string> names = Names(fixture);
      names.erase("/pool/PLAYERS.TXT");
      EXPECT_EQ(names, before) << when;
      if (!killed) break;
      continue;
    }
    const CliRun undo = InProcess(fixture.Args({"rename", "--undo"}));
    EXPECT_EQ(undo.status, kExitOk) << when << ": " << undo.err;
    fixture.ExpectWhole(when + ", then undone");
    std::set<std::string> after = Names(fixture);
    after.erase("/pool/PLAYERS.TXT");
    EXPECT_EQ(after, before) << when;
    ++undone;
    if (!killed) break;
  }
  EXPECT_GT(undone, 5);
}

TEST(CliIntegrity, ARenameRunOnAFullDiskStopsBeforeTheFirstRename) {
  PoolFixture fixture;
  const std::set<std::string> before = Names(fixture);
  faults::Inject({faults::FileOp::kWrite, ENOSPC, "RENAME.LOG", 0, -1});
  const CliRun run = InProcess(fixture.Args({"rename", "--yes"}));
  faults::Clear();
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_NE(run.err.find("cannot write " + fixture.pool + "/RENAME.LOG: No space left on device"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("0 renamed"), std::string::npos) << run.err;
  EXPECT_EQ(Names(fixture), before);
  fixture.ExpectWhole("full disk");
}

TEST(CliIntegrity, ASidecarWithALowerCaseExtensionIsTheItemsSidecar) {
  PoolFixture fixture;
  fs::rename(fixture.pool + "/b.IT0", fixture.pool + "/b.it0");
  fs::rename(fixture.pool + "/a.IT0", fixture.pool + "/a.iT0");
  CliRun run = InProcess(fixture.Args({"report", "{pool}/b.ITM"}));
  EXPECT_NE(run.out.find("Sender2"), std::string::npos) << run.out;
  // Assigned, sent and renamed, it stays the one sidecar of its item.
  ASSERT_EQ(InProcess(fixture.Args({"assign", "points", "{pool}/b.ITM"})).status, kExitOk);
  EXPECT_FALSE(fs::exists(fixture.pool + "/b.IT0"));
  EXPECT_NE(ReadFile(fixture.pool + "/b.it0").find("Points4Item=1\r\n"), std::string::npos);
  run = InProcess(fixture.Args({"send", "{pool}/a.ITM", "Bob"}));
  ASSERT_EQ(run.status, kExitOk) << run.err;
  EXPECT_NE(ReadFile(fixture.sent + "/a.IT0").find("SendTo=Bob\r\n"), std::string::npos);
  run = InProcess(fixture.Args({"rename", "--yes"}));
  ASSERT_EQ(run.status, kExitOk) << run.err;
  fixture.ExpectWhole("renamed");
  for (const auto& entry : fs::directory_iterator(fixture.pool)) {
    EXPECT_EQ(entry.path().extension().string().find("it0"), std::string::npos) << entry.path();
    EXPECT_EQ(entry.path().extension().string().find("iT0"), std::string::npos) << entry.path();
  }
}

TEST(CliIntegrity, AJournalTheRepairRefusesStopsEveryWriterUntilTheKeeperClearsIt) {
  PoolFixture fixture;
  const std::string outside = fixture.dir.write("notes.txt", "private");
  const std::string journal = "RELICOR MOVES 2\r\nDIR\t" + fixture.dir.path() + "\t1\t2\r\nMOVE\t" + outside +
                              "\t" + fixture.dir.path() + "/./notes.txt\r\nEND\r\n";
  fixture.dir.write("pool/RELICOR.JNL", journal);
  CliRun run = InProcess(fixture.Args({"members", "add", "Zed"}));
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_NE(run.err.find(fixture.pool + "/RELICOR.JNL names " + fixture.dir.path() +
                         ", which is neither the pool nor the sent directory nor below them"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("relicor-cli journal discard"), std::string::npos) << run.err;
  EXPECT_EQ(ReadFile(outside), "private");
  EXPECT_EQ(ReadFile(fixture.pool + "/PLAYERS.TXT"), "Bob\r\n");

  run = InProcess(fixture.Args({"journal"}));
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_EQ(run.out.rfind("journal " + fixture.pool + "/RELICOR.JNL:\n", 0), 0u) << run.out;
  EXPECT_NE(run.out.find("  move " + outside + " -> " + fixture.dir.path() + "/./notes.txt"),
            std::string::npos)
      << run.out;
  run = InProcess(fixture.Args({"journal", "finish"}));
  EXPECT_EQ(run.status, kExitFailed) << "a path with a dot is never obeyed";
  EXPECT_EQ(ReadFile(outside), "private");
  run = InProcess(fixture.Args({"journal", "discard"}));
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_FALSE(fs::exists(fixture.pool + "/RELICOR.JNL"));
  EXPECT_EQ(ReadFile(outside), "private");
  EXPECT_EQ(InProcess(fixture.Args({"members", "add", "Zed"})).status, kExitOk);
  run = InProcess(fixture.Args({"journal"}));
  EXPECT_EQ(run.status, kExitOk);
  EXPECT_EQ(run.out, "no journal: " + fixture.pool + "/RELICOR.JNL does not exist\n");
}

// Published pages: the stylesheet, 26 class pages, the history and the entrance page.
constexpr std::size_t kPublishedFiles = 29;

// The colour every published file of `dir` carries ("#111111" or "#222222"; "default" for
// neither), "mixed", or "none" when some page is missing; no publish journal and no temporary file
// may be left.
std::string PublishedSet(const std::string& dir, const std::string& when) {
  std::set<std::string> colours;
  std::size_t files = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    EXPECT_EQ(name.find(".tmp-"), std::string::npos) << when << ": left " << name;
    EXPECT_NE(name, "PUBLISH.JNL") << when;
    const std::string ext = name.size() >= 4 ? name.substr(name.size() - 4) : "";
    if (ext != ".htm" && ext != ".css") continue;
    ++files;
    const std::string text = ReadFile(entry.path().string());
    for (const char* colour : {"#111111", "#222222"}) {
      if (text.find(colour) != std::string::npos) colours.insert(colour);
    }
  }
  if (files != kPublishedFiles) return "none";
  if (colours.empty()) return "default";
  return colours.size() == 1 ? *colours.begin() : "mixed";
}

TEST(CliIntegrity, AKilledPublishLeavesOneWholeSetOfPagesAfterTheNextCommand) {
  int points = 0;
  for (int n = 1;; ++n) {
    ASSERT_LT(n, 400) << "the publish never ran to its end";
    PoolFixture fixture;
    const std::string scratch = fixture.dir.file("run");
    fixture.dir.write("home/RELICOR.INI", "[RELICOR]\r\nHTML_BGColor=#111111\r\n");
    ASSERT_EQ(RunProgram(fixture.Args({"publish", "{pool}"}), scratch).status, kExitOk);
    ASSERT_EQ(PublishedSet(fixture.pool, "first run"), "#111111");
    fixture.dir.write("home/RELICOR.INI", "[RELICOR]\r\nHTML_BGColor=#222222\r\n");
    const bool killed = KilledRun(fixture.Args({"publish", "{pool}"}), n);
    const CliRun next = RunProgram(fixture.Args({"members", "list"}), scratch);
    EXPECT_EQ(next.status, kExitOk) << next.err;
    const std::string when = "killed at " + std::to_string(n);
    const std::string set = PublishedSet(fixture.pool, when);
    EXPECT_TRUE(set == "#111111" || set == "#222222") << when << ": " << set;
    fixture.ExpectWhole(when);
    if (!killed) {
      EXPECT_EQ(set, "#222222");
      points = n - 1;
      break;
    }
  }
  std::cout << "kill points: " << points << "\n";
  EXPECT_GT(points, 30) << "every page's flush, the journal and every rename were kill points";
}

TEST(CliIntegrity, APublishElsewhereFinishesTheSetAKilledOneLeftThereAndRemovesLeftovers) {
  PoolFixture fixture;
  const std::string pages = fixture.dir.mkdir("pages");
  const std::string scratch = fixture.dir.file("run");
  // A leftover of a killed run's single write, and a set killed after its journal stood.
  for (int n = 1; n < 400; ++n) {
    fs::remove_all(pages + "/");
    fs::create_directories(pages);
    if (!KilledRun(fixture.Args({"publish", pages}), n)) FAIL() << "no kill point left the journal";
    if (fs::exists(pages + "/PUBLISH.JNL")) break;
  }
  ASSERT_TRUE(fs::exists(pages + "/PUBLISH.JNL"));
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  fixture.dir.write("pages/itm-IPH.htm.tmp-" + std::to_string(child) + "-123456", "half");
  const CliRun next = RunProgram(fixture.Args({"publish", pages}), scratch);
  EXPECT_EQ(next.status, kExitOk) << next.err;
  EXPECT_NE(next.err.find("repaired: put in place the 29 files of " + pages), std::string::npos) << next.err;
  EXPECT_NE(
      next.err.find("itm-IPH.htm.tmp-" + std::to_string(child) + "-123456, left by a run that was killed"),
      std::string::npos)
      << next.err;
  EXPECT_EQ(PublishedSet(pages, "published again"), "default");
}

TEST(CliIntegrity, ALinkedRulesFileOrMemberListIsNeverRead) {
  PoolFixture fixture;
  const std::string scratch = fixture.dir.file("run");
  fixture.dir.write("private.txt", "my bank password\r\n");
  fs::remove(fixture.pool + "/PLAYERS.TXT");
  fs::create_symlink(fixture.dir.file("private.txt"), fixture.pool + "/PLAYERS.TXT");
  fs::create_symlink(fixture.dir.file("private.txt"), fixture.pool + "/rules.txt");
  const CliRun add = RunProgram(fixture.Args({"members", "add", "Eve"}), scratch);
  EXPECT_EQ(add.status, kExitFailed);
  EXPECT_NE(add.err.find(fixture.pool + "/PLAYERS.TXT is a symbolic link: not followed"), std::string::npos)
      << add.err;
  EXPECT_TRUE(fs::is_symlink(fixture.pool + "/PLAYERS.TXT"));
  EXPECT_EQ(ReadFile(fixture.dir.file("private.txt")), "my bank password\r\n");
  const CliRun publish = RunProgram(fixture.Args({"publish", "{pool}"}), scratch);
  EXPECT_EQ(publish.status, kExitOk) << publish.err;
  EXPECT_NE(publish.err.find(fixture.pool + "/rules.txt is a symbolic link: not followed"), std::string::npos)
      << publish.err;
  for (const auto& entry : fs::directory_iterator(fixture.pool)) {
    if (entry.is_symlink()) continue;
    EXPECT_EQ(ReadFile(entry.path().string()).find("password"), std::string::npos) << entry.path();
  }
}

}  // namespace
}  // namespace relicor::cli
