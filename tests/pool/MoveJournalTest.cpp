#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "platform/FileIdentity.h"
#include "platform/FileSystem.h"
#include "pool/MoveJournal.h"
#include "support/TempDir.h"

namespace relicor {
namespace {

// The id of a process that no longer runs: its temporary files are stale.
pid_t EndedProcess() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

using test::TempDir;
namespace fs = std::filesystem;

TEST(MoveJournal, TheTextKeepsEveryNameAndOnlyAWholeJournalParses) {
  Journal journal;
  journal.directories = {{"/p", {2049, 17}}, {"/s", {2049, 18}}};
  journal.moves = {{"/p/A.ITM", "/p/ShortSword0001.ITM"},
                   {"/p/tab\there.ITM", "/s/line\nbreak\\.ITM", SendStamp{"Bob\tX", "06.12.2026"}}};
  const std::string text = JournalText(journal);
  EXPECT_EQ(text,
            "RELICOR MOVES 2\r\nDIR\t/p\t2049\t17\r\nDIR\t/s\t2049\t18\r\n"
            "MOVE\t/p/A.ITM\t/p/ShortSword0001.ITM\r\n"
            "SEND\t/p/tab\\there.ITM\t/s/line\\nbreak\\\\.ITM\tBob\\tX\t06.12.2026\r\nEND\r\n");
  const auto parsed = ParseJournal(text);
  ASSERT_TRUE(parsed);
  ASSERT_EQ(parsed->moves.size(), 2u);
  EXPECT_EQ(parsed->moves[1].from, journal.moves[1].from);
  EXPECT_EQ(parsed->moves[1].to, journal.moves[1].to);
  ASSERT_TRUE(parsed->moves[1].send);
  EXPECT_EQ(parsed->moves[1].send->sendTo, "Bob\tX");
  EXPECT_EQ(parsed->directories[1].identity, (FileIdentity{2049, 18}));

  for (const std::string& torn :
       {text.substr(0, text.size() - 5), text.substr(0, 20), std::string(),
        std::string("RELICOR MOVES 2\r\nMOVE\t/p/A.ITM\r\nEND\r\n"),
        std::string("RELICOR MOVES 2\r\nDIR\t/p\t01\t2\r\nEND\r\n"),
        std::string("RELICOR MOVES 2\r\nDIR\t/p\t99999999999999999999999\t2\r\nEND\r\n"),
        std::string("RELICOR MOVES 1\r\nMOVE\t/p/a.ITM\t/p/b.ITM\r\nEND\r\n")}) {
    EXPECT_FALSE(ParseJournal(torn)) << torn;
  }
}

// One recorded move a.ITM -> b.ITM, cut at each state a run can leave; the repair puts the sidecar
// beside its item wherever the item is.
TEST(MoveJournal, RecoveryPutsEverySidecarBesideItsItem) {
  struct Case {
    const char* state;
    std::map<std::string, std::string> before;  // file name -> content
    std::map<std::string, std::string> after;
    std::size_t repairs;
  };
  // clang-format off
  const Case cases[] = {
      {"nothing moved",            {{"a.ITM", "item"}, {"a.IT0", "side"}}, {{"a.ITM", "item"}, {"a.IT0", "side"}}, 0},
      {"item moved, sidecar not",  {{"b.ITM", "item"}, {"a.IT0", "side"}}, {{"b.ITM", "item"}, {"b.IT0", "side"}}, 1},
      {"both moved",               {{"b.ITM", "item"}, {"b.IT0", "side"}}, {{"b.ITM", "item"}, {"b.IT0", "side"}}, 0},
      {"sidecar ahead of item",    {{"a.ITM", "item"}, {"b.IT0", "side"}}, {{"a.ITM", "item"}, {"a.IT0", "side"}}, 1},
      {"copy done, source left",   {{"a.ITM", "item"}, {"b.ITM", "item"}, {"a.IT0", "side"}},
                                   {{"b.ITM", "item"}, {"b.IT0", "side"}}, 2},
      {"no sidecar",               {{"b.ITM", "item"}},                    {{"b.ITM", "item"}},                    0},
      {"another file at target",   {{"a.ITM", "item"}, {"b.ITM", "other"}, {"a.IT0", "side"}},
                                   {{"a.ITM", "item"}, {"b.ITM", "other"}, {"a.IT0", "side"}}, 0},
  };
  // clang-format on
  for (const Case& c : cases) {
    TempDir dir;
    for (const auto& [name, content] : c.before) dir.write(name, content);
    ASSERT_TRUE(MoveJournal(dir.path()).Record({{dir.file("a.ITM"), dir.file("b.ITM")}}));
    auto repaired = RecoverMoves(dir.path());
    ASSERT_TRUE(repaired) << c.state << ": " << repaired.error();
    EXPECT_EQ(repaired->size(), c.repairs) << c.state;
    std::map<std::string, std::string> after;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
      after[entry.path().filename().string()] = dir.read(entry.path().filename().string());
    }
    EXPECT_EQ(after, c.after) << c.state;
  }
}

// A record is written as JournalText writes the journal it parses to, whatever the names hold: a
// name of 255 bytes, Windows-1252 and UTF-8 letters, the characters the text escapes, relative
// paths in two directories, a send's stamp.
TEST(MoveJournal, ARecordIsTheTextOfItsJournalWithEveryNameKept) {
  TempDir dir;
  dir.mkdir("sent");
  const auto realDir = RealDirectory(dir.path());
  ASSERT_TRUE(realDir);
  const std::string real = *realDir;
  const std::string longName = std::string(251, 'y') + ".ITM";
  const std::vector<PlannedMove> moves = {
      {dir.file(longName), dir.file("a.ITM")},
      {dir.file("K\xf6nig\tB\\x\r\n.ITM"), dir.file("sent/K\xc3\xb6nig.ITM")},
      {dir.file("c.ITM"), dir.file("sent/c.ITM"), SendStamp{"B\tob\xe9", "06.12.2026"}},
  };
  ASSERT_TRUE(MoveJournal(dir.path()).Record(moves));
  const std::string text = dir.read("RELICOR.JNL");
  const auto parsed = ParseJournal(text);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(JournalText(*parsed), text);
  ASSERT_EQ(parsed->directories.size(), 2u);
  EXPECT_EQ(parsed->directories[0].path, real);
  EXPECT_EQ(parsed->directories[1].path, real + "/sent");
  ASSERT_EQ(parsed->moves.size(), moves.size());
  for (std::size_t i = 0; i < moves.size(); ++i) {
    EXPECT_EQ(parsed->moves[i].from, real + moves[i].from.substr(dir.path().size()));
    EXPECT_EQ(parsed->moves[i].to, real + moves[i].to.substr(dir.path().size()));
    EXPECT_EQ(parsed->moves[i].send.has_value(), moves[i].send.has_value());
  }
  EXPECT_EQ(parsed->moves[2].send->sendTo, "B\tob\xe9");
}

TEST(MoveJournal, RecordAndClearLeaveNoJournalAndTheRepairTellsWhatItDid) {
  TempDir dir;
  dir.write("a.ITM", "item");
  dir.write("a.IT0", "side");
  MoveJournal journal(dir.path());
  ASSERT_TRUE(journal.Record({{dir.file("a.ITM"), dir.file("b.ITM")}}));
  EXPECT_TRUE(FileExists(dir.file("RELICOR.JNL")));
  ASSERT_TRUE(MoveFileNoReplace(dir.file("a.ITM"), dir.file("b.ITM")));
  // Killed here: the next lock of the pool repairs.
  auto held = LockPool(dir.path());
  ASSERT_TRUE(held) << held.error();
  ASSERT_EQ(held->repaired.size(), 1u);
  EXPECT_EQ(held->repaired[0], "moved the sidecar " + dir.file("a.IT0") + " to " + dir.file("b.IT0") +
                                   " (beside its item " + dir.file("b.ITM") + ")");
  EXPECT_EQ(dir.read("b.IT0"), "side");
  EXPECT_FALSE(FileExists(dir.file("RELICOR.JNL")));
}

TEST(MoveJournal, ALockThatDoesNotTidyStillRepairsAndLeavesOnlyTheTemporaryFiles) {
  const pid_t child = EndedProcess();
  const std::string stale = "ITMLIST.TXT.tmp-" + std::to_string(child) + "-123456";
  for (const Tidy tidy : {Tidy::kNo, Tidy::kYes}) {
    SCOPED_TRACE(tidy == Tidy::kYes ? "tidy" : "no tidy");
    TempDir dir;
    dir.write(stale, "half a list");
    dir.write("a.ITM", "item");
    dir.write("a.IT0", "side");
    ASSERT_TRUE(MoveJournal(dir.path()).Record({{dir.file("a.ITM"), dir.file("b.ITM")}}));
    ASSERT_TRUE(MoveFileNoReplace(dir.file("a.ITM"), dir.file("b.ITM")));
    auto held = LockPool(dir.path(), kLockWait, tidy);
    ASSERT_TRUE(held) << held.error();
    EXPECT_EQ(dir.read("b.IT0"), "side");
    EXPECT_FALSE(FileExists(dir.file("RELICOR.JNL")));
    EXPECT_EQ(FileExists(dir.file(stale)), tidy == Tidy::kNo);
    EXPECT_EQ(held->repaired.size(), tidy == Tidy::kYes ? 2u : 1u);
  }
}

TEST(MoveJournal, AJournalThatIsNotWholeIsLeftAndNamed) {
  TempDir dir;
  dir.write("RELICOR.JNL", "RELICOR MOVES 2\r\nMOVE\t/p/a.ITM\t/p/b");
  auto repaired = RecoverMoves(dir.path());
  ASSERT_FALSE(repaired);
  EXPECT_EQ(repaired.kind(), ErrorKind::kJournalUnreadable);
  EXPECT_EQ(repaired.error(), "cannot repair interrupted moves: " + dir.file("RELICOR.JNL") +
                                  " is not a whole journal; " + std::string(kJournalHelpText));
  EXPECT_TRUE(FileExists(dir.file("RELICOR.JNL")));
}

// Restores the working directory when the test ends.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::string& dir) : before_(fs::current_path()) { fs::current_path(dir); }
  ~WorkingDirectory() { fs::current_path(before_); }
  void Change(const std::string& dir) { fs::current_path(dir); }

 private:
  fs::path before_;
};

// A pool with a.ITM and its sidecar, and a sent directory beside it.
struct PoolAndSent {
  PoolAndSent() {
    dir.write("pool/a.ITM", "item");
    dir.write("pool/a.IT0", "side");
  }
  TempDir dir;
  std::string pool = dir.mkdir("pool");
  std::string sent = dir.mkdir("sent");
};

TEST(MoveJournal, RelativePathsAreRecordedAbsoluteAndTheRepairFromElsewhereKeepsTheItem) {
  const PoolAndSent dirs;
  const TempDir& dir = dirs.dir;
  const std::string& pool = dirs.pool;
  const std::string& sent = dirs.sent;
  {
    // A send run from inside the pool, killed between the item's and the sidecar's rename.
    WorkingDirectory cwd(pool);
    ASSERT_TRUE(MoveJournal(".").Record({{"a.ITM", "../sent/a.ITM"}}));
    ASSERT_TRUE(MoveFileNoReplace("a.ITM", "../sent/a.ITM"));
    // The next command runs from the sent directory, where "a.ITM" names the sent item.
    cwd.Change(sent);
    auto repaired = RecoverMoves(pool, sent);
    ASSERT_TRUE(repaired) << repaired.error();
  }
  EXPECT_EQ(dir.read("sent/a.ITM"), "item");
  EXPECT_EQ(dir.read("sent/a.IT0"), "side");
  EXPECT_FALSE(fs::exists(dir.file("pool/RELICOR.JNL")));
}

TEST(MoveJournal, TwoNamesOfOneFileAreNeverTakenForACopyAndRemoved) {
  TempDir dir;
  dir.write("a.ITM", "item");
  ASSERT_TRUE(MoveJournal(dir.path()).Record({{dir.file("a.ITM"), dir.file("b.ITM")}}));
  // b.ITM is a second name of a.ITM (as two spellings are on a file system that ignores case).
  fs::create_hard_link(dir.file("a.ITM"), dir.file("b.ITM"));
  auto repaired = RecoverMoves(dir.path());
  ASSERT_TRUE(repaired) << repaired.error();
  EXPECT_TRUE(fs::exists(dir.file("a.ITM")));
  EXPECT_TRUE(fs::exists(dir.file("b.ITM")));
  ASSERT_EQ(repaired->size(), 1u);
  EXPECT_EQ((*repaired)[0],
            "left " + dir.file("a.ITM") + " as it is: " + dir.file("b.ITM") + " names the same file");
}

// Journals planted in the pool, or left by a copy of it: refused, the journal stays, no file moves.
TEST(MoveJournal, AJournalNamingAnythingElseIsRefusedWithItsKind) {
  TempDir dir;
  const std::string pool = *RealDirectory(dir.mkdir("pool"));
  const std::string outside = *RealDirectory(dir.mkdir("x"));
  const FileIdentity poolId = *IdentityOf(pool);
  const FileIdentity outsideId = *IdentityOf(outside);
  struct Case {
    const char* what;
    Journal journal;
    ErrorKind kind;
  };
  const Case cases[] = {
      {"a file outside",
       {{{outside, outsideId}}, {{outside + "/notes.txt", outside + "/other.txt"}}},
       ErrorKind::kJournalRefused},
      {"a dotted path",
       {{{outside, outsideId}}, {{outside + "/notes.txt", outside + "/./notes.txt"}}},
       ErrorKind::kJournalRefused},
      {"a path outside its directories",
       {{{pool, poolId}}, {{outside + "/notes.txt", pool + "/n.txt"}}},
       ErrorKind::kJournalRefused},
      {"a relative path", {{{pool, poolId}}, {{"notes.txt", pool + "/n.txt"}}}, ErrorKind::kJournalRefused},
      {"one file onto itself",
       {{{pool, poolId}}, {{pool + "/notes.txt", pool + "/notes.txt"}}},
       ErrorKind::kJournalRefused},
      {"one path twice",
       {{{pool, poolId}}, {{pool + "/notes.txt", pool + "/a.txt"}, {pool + "/notes.txt", pool + "/b.txt"}}},
       ErrorKind::kJournalRefused},
      {"an earlier version's, outside",
       {{}, {{outside + "/notes.txt", outside + "/./notes.txt"}}, true},
       ErrorKind::kJournalRefused},
      {"a copy of the pool",
       {{{pool, outsideId}}, {{pool + "/notes.txt", pool + "/a.txt"}}},
       ErrorKind::kJournalForeign},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    dir.write("x/notes.txt", "private");
    dir.write("x/other.txt", "private");
    dir.write("pool/notes.txt", "kept");
    const std::string text = JournalText(c.journal);
    dir.write("pool/RELICOR.JNL", text);
    auto repaired = RecoverMoves(pool);
    ASSERT_FALSE(repaired);
    EXPECT_EQ(repaired.kind(), c.kind);
    EXPECT_NE(repaired.error().find(pool + "/RELICOR.JNL"), std::string::npos) << repaired.error();
    EXPECT_NE(repaired.error().find("relicor-cli journal discard"), std::string::npos) << repaired.error();
    EXPECT_EQ(dir.read("x/notes.txt"), "private");
    EXPECT_EQ(dir.read("x/other.txt"), "private");
    EXPECT_EQ(dir.read("pool/notes.txt"), "kept");
    EXPECT_EQ(dir.read("pool/RELICOR.JNL"), text);
    // The lock of the pool fails with the same kind: no command works on it unrepaired.
    auto held = LockPool(pool);
    ASSERT_FALSE(held);
    EXPECT_EQ(held.kind(), c.kind);
  }
  // The keeper's look at it, then the discard, which touches no file it names.
  const JournalState state = InspectJournal(pool, {});
  EXPECT_TRUE(state.present);
  EXPECT_FALSE(state.verdict);
  const std::vector<std::string> lines = DescribeJournal(state);
  EXPECT_EQ(lines.front(), "journal " + pool + "/RELICOR.JNL:");
  EXPECT_EQ(lines[1], "  directory " + pool + " (another directory now)");
  ASSERT_TRUE(DiscardJournal(pool));
  EXPECT_FALSE(fs::exists(pool + "/RELICOR.JNL"));
  EXPECT_EQ(dir.read("pool/notes.txt"), "kept");
  EXPECT_TRUE(LockPool(pool));
}

TEST(MoveJournal, ASentDirectoryOutsideThePoolIsObeyedAndFinishObeysWhatTheKeeperSaw) {
  const PoolAndSent dirs;
  const TempDir& dir = dirs.dir;
  const std::string& pool = dirs.pool;
  const std::string& sent = dirs.sent;
  ASSERT_TRUE(MoveJournal(pool).Record({{pool + "/a.ITM", sent + "/a.ITM"}}));
  ASSERT_TRUE(MoveFileNoReplace(pool + "/a.ITM", sent + "/a.ITM"));
  // Without the sent directory the repair does not go there.
  auto refused = RecoverMoves(pool);
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.kind(), ErrorKind::kJournalRefused);
  // The keeper finishes it.
  auto finished = FinishJournal(pool);
  ASSERT_TRUE(finished) << finished.error();
  EXPECT_EQ(dir.read("sent/a.IT0"), "side");
  EXPECT_FALSE(fs::exists(pool + "/RELICOR.JNL"));
}

// A send's record carries the recipient: the item that arrived gets it, the one that stayed not.
TEST(MoveJournal, ASendIsFinishedWithItsRecipientOrLeftUnsent) {
  for (const bool arrived : {true, false}) {
    SCOPED_TRACE(arrived ? "arrived" : "stayed");
    TempDir dir;
    const std::string pool = dir.mkdir("pool");
    const std::string sent = dir.mkdir("sent");
    dir.write("pool/a.ITM", "item");
    dir.write("pool/a.IT0", "[Iteminfos]\r\nSenderName=Al\r\n");
    ASSERT_TRUE(
        MoveJournal(pool).Record({{pool + "/a.ITM", sent + "/a.ITM", SendStamp{"Bob", "06.12.2026"}}}));
    if (arrived) {
      ASSERT_TRUE(MoveFileNoReplace(pool + "/a.ITM", sent + "/a.ITM"));
    }
    auto repaired = RecoverMoves(pool, sent);
    ASSERT_TRUE(repaired) << repaired.error();
    if (arrived) {
      EXPECT_EQ(dir.read("sent/a.IT0"),
                "[Iteminfos]\r\nSenderName=Al\r\nSendTo=Bob\r\nSentAt=06.12.2026\r\n");
    } else {
      EXPECT_EQ(dir.read("pool/a.IT0"), "[Iteminfos]\r\nSenderName=Al\r\n");
      EXPECT_FALSE(fs::exists(sent + "/a.IT0"));
    }
  }
}

TEST(MoveJournal, TheLockRemovesLeftoversInTheSentDirectoryToo) {
  const pid_t child = EndedProcess();
  TempDir dir;
  const std::string pool = dir.mkdir("pool");
  const std::string sent = dir.mkdir("sent");
  const std::string copy = "a.ITM.tmp-" + std::to_string(child) + "-123456";
  dir.write("sent/" + copy, "half a copy");
  PoolLockOptions options;
  options.sentDir = sent;
  auto held = LockPool(pool, options);
  ASSERT_TRUE(held) << held.error();
  EXPECT_FALSE(fs::exists(sent + "/" + copy));
  ASSERT_EQ(held->repaired.size(), 1u);
  EXPECT_EQ(held->repaired[0], "removed " + sent + "/" + copy + ", left by a run that was killed");
}

TEST(MoveJournal, TheLockHandsOnWhatItsLookForLeftoversListed) {
  const pid_t child = EndedProcess();
  TempDir dir;
  const std::string pool = dir.mkdir("pool");
  const std::string sent = dir.mkdir("sent");
  const std::string stale = "ITMLIST.TXT.tmp-" + std::to_string(child) + "-123456";
  const std::string live = "ITMLIST.TXT.tmp-" + std::to_string(::getpid()) + "-654321";
  for (const std::string& name : {std::string("a.ITM"), std::string("a.IT0"), stale, live}) {
    dir.write("pool/" + name, "x");
  }
  dir.mkdir("pool/sub");
  dir.write("sent/b.ITM", "x");
  PoolLockOptions options;
  options.sentDir = sent;
  // Called before the pool is listed: what it makes is in the listing.
  int calls = 0;
  options.beforeListing = [&] {
    ++calls;
    dir.write("pool/b.ITM", "x");
  };
  {
    auto held = LockPool(pool, options);
    ASSERT_TRUE(held) << held.error();
    ASSERT_TRUE(held->listing);
    EXPECT_EQ(calls, 1);
    // The pool's entries, the stale file it removed left out; never the sent directory's.
    std::vector<std::string> names;
    for (const DirEntry& entry : *held->listing) names.push_back(entry.name + (entry.isDirectory ? "/" : ""));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{live, std::string(kLockFileName), "a.IT0", "a.ITM", "b.ITM",
                                               "sub/"}));
    EXPECT_FALSE(fs::exists(pool + "/" + stale));
  }
  // A lock that does not look for leftovers lists nothing.
  options.tidy = Tidy::kNo;
  auto again = LockPool(pool, options);
  ASSERT_TRUE(again) << again.error();
  EXPECT_FALSE(again->listing);
  EXPECT_EQ(calls, 1);
}

TEST(MoveJournal, APoolThatDoesNotExistIsNeverWorkedOnUnlocked) {
  TempDir dir;
  auto held = LockPool(dir.file("missing"));
  ASSERT_FALSE(held);
  EXPECT_EQ(held.kind(), ErrorKind::kNoDirectory);
  EXPECT_EQ(held.error(), "cannot lock " + dir.file("missing") + ": the directory does not exist");
}

}  // namespace
}  // namespace relicor
