#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "platform/FaultInjection.h"
#include "platform/FileSystem.h"
#include "pool/RenameLog.h"
#include "pool/RenameRun.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"

namespace relicor {
namespace {

using test::FileNames;
using test::RecordBuilder;
using test::TempDir;

TEST(RenameLogText, RoundTripsAndIsWindows1252WithCrLf) {
  // "/pö -> l/" is a directory holding an arrow of its own.
  const RenameLog log{"08.12.2026 11:40:05",
                      {{"/p\xC3\xB6 -> l/a \xE2\x82\xAC.ITM", "/p\xC3\xB6 -> l/Sword0001.ITM", "000010010C",
                        "01.02.2026 10:00:00"}}};
  const std::string text = RenameLogText(log);
  EXPECT_EQ(text,
            "08.12.2026 11:40:05\r\n/p\xF6 -> l/a \x80.ITM -> /p\xF6 -> l/Sword0001.ITM\t000010010C "
            "01.02.2026 10:00:00\r\n");
  const auto parsed = ParseRenameLog(text);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->runTime, log.runTime);
  ASSERT_EQ(parsed->entries.size(), 1u);
  EXPECT_EQ(parsed->entries[0].from, log.entries[0].from);
  EXPECT_EQ(parsed->entries[0].to, log.entries[0].to);
  EXPECT_EQ(parsed->entries[0].itemKey, "000010010C");
  EXPECT_EQ(parsed->entries[0].fileDate, "01.02.2026 10:00:00");
  // A line made of an entry's parts reads as the line of the entry; a date that cannot be written
  // leaves the date empty.
  const RenameLogEntry& entry = log.entries[0];
  std::string parts;
  AppendRenameLogLine(parts, entry.from, entry.to, entry.itemKey, EncodeDateTime({2026, 2, 1, 10, 0, 0, 0}));
  EXPECT_EQ(parts, text.substr(text.find("\r\n") + 2));
  std::string undated;
  AppendRenameLogLine(undated, "/a/B.ITM", "/a/C.ITM", "000010010C", kMaxDateTime);
  EXPECT_EQ(undated, "/a/B.ITM -> /a/C.ITM\t000010010C \r\n");
  EXPECT_FALSE(ParseRenameLog("not a date\r\n"));
  EXPECT_FALSE(ParseRenameLog(""));
}

class RenameUndoTest : public ::testing::Test {
 protected:
  RenameUndoTest() : pool_(tmp_.mkdir("pool")), sent_(tmp_.mkdir("sent")) {}

  std::string Item(const std::string& relative, std::string_view name) {
    return tmp_.write(relative, RecordBuilder().ident(++ident_).itemClass(1).name(name).bytes());
  }

  RenameRunOptions Options() const {
    RenameRunOptions options;
    options.poolDir = pool_;
    options.sentDir = sent_;
    options.journalDir = pool_;
    options.logDir = pool_;
    options.runTime = 46000.5;
    options.confirm = [] { return true; };
    return options;
  }

  RenameRunResult Run() {
    auto result = StartRenameRun(cache_, Options());
    EXPECT_TRUE(result) << result.error();
    return result ? *result : RenameRunResult();
  }

  RenameUndoResult Undo() {
    ItemCache fresh(clock_);  // as a later command would
    auto result = UndoRenameRun(fresh, pool_, pool_);
    EXPECT_TRUE(result) << result.error();
    return result ? *result : RenameUndoResult();
  }

  TempDir tmp_;
  std::string pool_;
  std::string sent_;
  FixedClock clock_{46000.5};
  ItemCache cache_{clock_};
  std::uint32_t ident_ = 0x1000;
};

// The run for a Yes given ahead renames as the run after a plan does, and its log holds exactly
// the renames it made, also when a move in the middle of its batch fails: the same files, the same
// names and the same log bytes, for a file name of 255 bytes and names with Windows-1252 letters.
TEST_F(RenameUndoTest, TheAnsweredRunRenamesAndLogsAsThePlannedRun) {
  const std::string longName = std::string(251, 'x') + ".ITM";
  Item("pool/" + longName, "Short Sword");
  Item("pool/b.itm", "Short Sword");
  Item("pool/c.ITM", "K\xf6nigs Schwert");
  Item("pool/d\xc3\xa4.ITM", "Dagger");
  Item("sent/e.ITM", "Short Sword");
  tmp_.write("pool/b.IT0", "[Iteminfos]\r\nSenderName=Alice\r\n");
  const auto poolBefore = FileNames(pool_);
  // The second move of the batch (c.ITM's) fails: the moves after it are named again.
  auto runOnce = [&](bool answered) {
    faults::Inject({faults::FileOp::kRename, EACCES, "/c.ITM", 0, 1});
    ItemCache cache(clock_);
    Result<RenameRunResult> result = RenameRunResult();
    if (answered) {
      result = RenameRunAnswered(cache, Options());
    } else {
      auto plan = PlanRenameRun(cache, Options());
      EXPECT_TRUE(plan) << plan.error();
      result = StartRenameRun(cache, Options(), plan ? plan->basis.get() : nullptr);
    }
    faults::Clear();
    EXPECT_TRUE(result) << result.error();
    return result ? *result : RenameRunResult();
  };
  const RenameRunResult answered = runOnce(true);
  const auto poolAnswered = FileNames(pool_);
  const auto sentAnswered = FileNames(sent_);
  const std::string logAnswered = tmp_.read("pool/RENAME.LOG");
  ASSERT_EQ(answered.failed.size(), 1u);
  EXPECT_EQ(answered.failed[0].from, pool_ + "/c.ITM");
  ASSERT_EQ(answered.renamed.size(), 4u);
  EXPECT_FALSE(PathOccupied(pool_ + "/RELICOR.JNL"));
  // One line per rename made, in the order made, each naming the file it was.
  auto log = ParseRenameLog(logAnswered);
  ASSERT_TRUE(log);
  ASSERT_EQ(log->entries.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(log->entries[i].from, answered.renamed[i].from);
    EXPECT_EQ(log->entries[i].to, answered.renamed[i].to);
    auto bytes = ReadWholeFile(log->entries[i].to);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(log->entries[i].itemKey, ItemRecord::FromBytes(*bytes).ItemKey());
  }
  EXPECT_EQ(RenameLogText(*log), logAnswered);

  const RenameUndoResult undone = Undo();
  EXPECT_EQ(undone.restored.size(), 4u);
  ASSERT_EQ(FileNames(pool_), poolBefore);
  const RenameRunResult planned = runOnce(false);
  EXPECT_EQ(FileNames(pool_), poolAnswered);
  EXPECT_EQ(FileNames(sent_), sentAnswered);
  EXPECT_EQ(tmp_.read("pool/RENAME.LOG"), logAnswered);
  ASSERT_EQ(planned.renamed.size(), answered.renamed.size());
  for (std::size_t i = 0; i < planned.renamed.size(); ++i)
    EXPECT_EQ(planned.renamed[i].to, answered.renamed[i].to);
}

TEST_F(RenameUndoTest, TheDryRunNamesWhatTheRunDoesAndChangesNothing) {
  Item("pool/b.ITM", "Short Sword");
  Item("pool/ShortSword0001.ITM", "Dagger");
  Item("sent/a.ITM", "Short Sword");
  Item("pool/Dagger0001.ITM", "Dagger");
  tmp_.write("pool/b.IT0", "[Iteminfos]\r\nSenderName=Alice\r\n");
  const auto before = FileNames(pool_);

  auto plan = PlanRenameRun(cache_, Options());
  ASSERT_TRUE(plan) << plan.error();
  EXPECT_EQ(FileNames(pool_), before);
  EXPECT_EQ(FileNames(sent_), std::set<std::string>{"a.ITM"});
  EXPECT_EQ(plan->handled, 4u);
  std::vector<std::pair<std::string, std::string>> planned;
  for (const auto& step : plan->renames) planned.emplace_back(step.from, step.to);
  EXPECT_EQ(plan->perDirectory, (std::vector<std::pair<std::string, std::size_t>>{{pool_, 2}, {sent_, 1}}));

  ItemCache other(clock_);
  const RenameRunResult result = Run();
  std::vector<std::pair<std::string, std::string>> made;
  for (const auto& step : result.renamed) made.emplace_back(step.from, step.to);
  EXPECT_EQ(made, planned);
  EXPECT_EQ(result.kept(), 1u);
}

TEST_F(RenameUndoTest, UndoRestoresNamesAndSidecarsAndRemovesTheLog) {
  Item("pool/b.ITM", "Short Sword");
  Item("pool/ShortSword0002.ITM", "Dagger");
  Item("sent/c.ITM", "Dagger");
  tmp_.write("pool/b.IT0", "[Iteminfos]\r\nSenderName=Alice\r\n");
  tmp_.write("pool/ShortSword0002.IT0", "[Iteminfos]\r\nSenderName=Bob\r\n");
  const auto poolBefore = FileNames(pool_);

  const RenameRunResult result = Run();
  EXPECT_EQ(result.renamed.size(), 3u);
  EXPECT_EQ(result.logPath, pool_ + "/RENAME.LOG");
  const std::string log = tmp_.read("pool/RENAME.LOG");
  EXPECT_EQ(log.rfind("09.12.2025 12:00:00\r\n" + pool_ + "/b.ITM -> " + pool_ + "/ShortSword0001.ITM\t", 0),
            0u)
      << log;

  const RenameUndoResult undone = Undo();
  EXPECT_TRUE(undone.logFound);
  EXPECT_EQ(undone.restored.size(), 3u);
  EXPECT_TRUE(undone.refused.empty());
  EXPECT_EQ(FileNames(pool_), poolBefore);
  EXPECT_EQ(FileNames(sent_), std::set<std::string>{"c.ITM"});
  EXPECT_EQ(tmp_.read("pool/b.IT0"), "[Iteminfos]\r\nSenderName=Alice\r\n");
  EXPECT_EQ(tmp_.read("pool/ShortSword0002.IT0"), "[Iteminfos]\r\nSenderName=Bob\r\n");
  EXPECT_FALSE(Undo().logFound) << "the log is gone after a full undo";
}

TEST_F(RenameUndoTest, UndoLeavesChangedFilesAndTakenNamesInTheLog) {
  Item("pool/a.ITM", "Short Sword");
  Item("pool/b.ITM", "Dagger");
  Item("pool/c.ITM", "Buckler");
  Run();
  // Since the run: one file holds another item now, one old name is taken, one file is gone.
  tmp_.write("pool/ShortSword0001.ITM", RecordBuilder().ident(0x9999).itemClass(1).name("Other").bytes());
  Item("pool/b.ITM", "Intruder");
  std::filesystem::remove(pool_ + "/Buckler0001.ITM");

  const RenameUndoResult undone = Undo();
  EXPECT_TRUE(undone.restored.empty());
  ASSERT_EQ(undone.refused.size(), 3u);
  std::set<std::string> reasons;
  for (const auto& step : undone.refused) reasons.insert(step.reason);
  EXPECT_EQ(reasons, (std::set<std::string>{pool_ + "/Buckler0001.ITM is gone",
                                            "its old name " + pool_ + "/b.ITM is taken",
                                            pool_ + "/ShortSword0001.ITM changed since the rename run"}));
  EXPECT_TRUE(FileExists(pool_ + "/Dagger0001.ITM"));
  // The log keeps all three for a later try.
  auto kept = ReadRenameLog(pool_);
  ASSERT_TRUE(kept && *kept);
  EXPECT_EQ((*kept)->entries.size(), 3u);
  std::filesystem::remove(pool_ + "/b.ITM");
  const RenameUndoResult again = Undo();
  EXPECT_EQ(again.restored.size(), 1u);
  EXPECT_TRUE(FileExists(pool_ + "/b.ITM"));
}

TEST_F(RenameUndoTest, ARunThatRenamesNothingKeepsTheLogOfTheLastOne) {
  Item("pool/a.ITM", "Short Sword");
  Run();
  const std::string log = tmp_.read("pool/RENAME.LOG");
  ItemCache fresh(clock_);
  auto second = StartRenameRun(fresh, Options());
  ASSERT_TRUE(second);
  EXPECT_TRUE(second->renamed.empty());
  EXPECT_EQ(second->logPath, "");
  EXPECT_EQ(tmp_.read("pool/RENAME.LOG"), log);
}

}  // namespace
}  // namespace relicor
