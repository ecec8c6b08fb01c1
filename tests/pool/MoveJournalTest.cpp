#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "platform/FileSystem.h"
#include "pool/MoveJournal.h"
#include "support/TempDir.h"

namespace relicor {
namespace {

using test::TempDir;
namespace fs = std::filesystem;

TEST(MoveJournal, TheTextKeepsEveryNameAndOnlyAWholeJournalParses) {
  const std::vector<PlannedMove> moves = {
      {"/p/A.ITM", "/p/ShortSword0001.ITM"},
      {"/p/tab\there.ITM", "/s/line\nbreak\\.ITM"},
  };
  const std::string text = JournalText(moves);
  EXPECT_EQ(text,
            "RELICOR MOVES "
            "1\r\n/p/A.ITM\t/p/ShortSword0001.ITM\r\n/p/tab\\there.ITM\t/s/line\\nbreak\\\\.ITM\r\nEND\r\n");
  const auto parsed = ParseJournal(text);
  ASSERT_TRUE(parsed);
  ASSERT_EQ(parsed->size(), 2u);
  EXPECT_EQ((*parsed)[1].from, moves[1].from);
  EXPECT_EQ((*parsed)[1].to, moves[1].to);

  for (const std::string& torn : {text.substr(0, text.size() - 5), text.substr(0, 20), std::string(),
                                  std::string("RELICOR MOVES 1\r\n/p/A.ITM\r\nEND\r\n")}) {
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
    ASSERT_TRUE(
        AtomicReplaceFile(dir.file("RELICOR.JNL"), JournalText({{dir.file("a.ITM"), dir.file("b.ITM")}})));
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
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);  // a process that no longer runs
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
  dir.write("RELICOR.JNL", "RELICOR MOVES 1\r\n/p/a.ITM\t/p/b");
  auto repaired = RecoverMoves(dir.path());
  ASSERT_FALSE(repaired);
  EXPECT_EQ(repaired.error(),
            "cannot repair interrupted moves: " + dir.file("RELICOR.JNL") + " is not a whole journal");
  EXPECT_TRUE(FileExists(dir.file("RELICOR.JNL")));
}

}  // namespace
}  // namespace relicor
