#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <set>
#include <utility>

#include "platform/FaultInjection.h"
#include "platform/FileSystem.h"
#include "pool/LateSidecars.h"
#include "pool/RenameMoves.h"
#include "pool/RenameRun.h"
#include "pool/ScanDirectory.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"
#include "text/ByteText.h"

namespace relicor {
namespace {

using test::FileNames;
using test::RecordBuilder;
using test::TempDir;

TEST(FileNameBase, RemovesBlanksAndApostrophesAndMakesTheNameSafe) {
  // clang-format off
  const std::pair<std::string_view, std::string_view> rows[] = {
      {"King's Sword",         "KingsSword"},
      {"../../evil",           "_._.._evil"},
      {"a/b",                  "a_b"},
      {"a\\b:c*d?e\"f<g>h|i",  "a_b_c_d_e_f_g_h_i"},
      {"x\x01y\x1fz\x7f",      "x_y_z_"},
      {" . ",                  ""},
      {"'..'",                 ""},
      {"...",                  "_.."},     // a leading dot would hide the file
      {". Hidden Sword",       "_HiddenSword"},
      {"Sword.",               "Sword."},
  };
  // clang-format on
  for (const auto& [itemName, base] : rows) EXPECT_EQ(FileNameBase(itemName), base) << itemName;
}

// The number found by walking every path for every number tried.
std::int32_t WalkedNumber(const std::vector<std::string>& paths, const std::string& base,
                          const std::string& own) {
  std::int32_t n = 1;
  for (bool again = true; again;) {
    again = false;
    for (const std::string& path : paths) {
      if (path != own && FileNameStem(path) == base + ZeroPadNumber(n, 4)) {
        ++n;
        again = true;
        break;
      }
    }
  }
  return n;
}

TEST(FileNameIndex, GivesTheSameNumbersAsAWalkOverAllPaths) {
  // Bases ending in digits, other letter case, digit runs that are no running number, paths that
  // come and go, and the item's own path.
  const std::vector<std::string> bases = {"A", "A0", "A00", "a", "A1", ""};
  const std::vector<std::string> suffixes = {"0001", "0002", "0003", "00001", "1", "10000", "0010", ""};
  std::mt19937 random(12345);
  auto pick = [&](const auto& list) { return list[random() % list.size()]; };
  std::vector<std::string> paths;
  FileNameIndex index;
  for (int step = 0; step < 3000; ++step) {
    if (!paths.empty() && random() % 3 == 0) {
      const auto at = paths.begin() + static_cast<std::ptrdiff_t>(random() % paths.size());
      index.Remove(*at);
      paths.erase(at);
    } else if (const std::string path =
                   (random() % 2 ? "/p/" : "/s/") + pick(bases) + pick(suffixes) + ".ITM";
               std::find(paths.begin(), paths.end(), path) == paths.end()) {
      paths.push_back(path);
      index.Add(path);
    }
    const std::string base = pick(bases);
    const std::string own = paths.empty() || random() % 4 == 0 ? "/p/none.ITM" : pick(paths);
    ASSERT_EQ(index.FreeNumber(base, own), WalkedNumber(paths, base, own))
        << step << " " << base << " " << own;
  }
}

TEST(FileNameIndex, NumbersGrowPastFourDigits) {
  FileNameIndex index;
  for (std::int32_t n = 1; n <= 9999; ++n) index.Add("/p/X" + ZeroPadNumber(n, 4) + ".ITM");
  const ItemEntry entry("/p/new.ITM", RecordBuilder().name("X").build(), ItemMeta{});
  EXPECT_EQ(NewItemFileName(entry, "/p/new.ITM", index), "X10000.ITM");
  index.Add("/p/X10000.ITM");
  EXPECT_EQ(NewItemFileName(entry, "/p/new.ITM", index), "X10001.ITM");
}

// Each journal record flushes every directory block the moves before it changed, so a run over a
// large pool takes a bounded number of records, not one per fixed count of moves; and a batch never
// holds more moves than a sixth of the pool (or the least batch), for its memory.
TEST(RenameBatchMoves, ARunTakesAtMostSixRecordsWhateverThePoolsSize) {
  constexpr std::size_t kLeast = 8192;
  for (const std::size_t items :
       {std::size_t{0}, std::size_t{1}, kLeast, 6 * kLeast - 1, 6 * kLeast, 6 * kLeast + 5,
        std::size_t{100000}, std::size_t{196609}, std::size_t{1000000}, std::size_t{10000001}}) {
    SCOPED_TRACE(items);
    const std::size_t moves = RenameBatchMoves(items);
    EXPECT_GE(moves, kLeast);
    EXPECT_LE(moves, std::max(kLeast, items / 6));
    const std::size_t records = (items + moves - 1) / moves;
    EXPECT_LE(records, items < 6 * kLeast ? 6U : 7U);
  }
}

// How long this takes is the benchmark's business (relicor-bench names N).
TEST(FileNameIndex, TenThousandSameNameItemsNumberedInTurn) {
  constexpr int kItems = 10000;
  FileNameIndex index;
  for (int i = 0; i < kItems; ++i) index.Add("/p/in" + std::to_string(i) + ".ITM");
  const ItemEntry entry("/p/new.ITM", RecordBuilder().name("Short Sword").build(), ItemMeta{});
  for (int i = 0; i < kItems; ++i) {  // as the run uses the index, without the files
    const std::string own = "/p/in" + std::to_string(i) + ".ITM";
    const std::string name = NewItemFileName(entry, own, index);
    ASSERT_EQ(name, "ShortSword" + ZeroPadNumber(i + 1, 4) + ".ITM");
    index.Remove(own);
    index.Add("/p/" + name);
  }
}

class RenameRunTest : public ::testing::Test {
 protected:
  RenameRunTest() : pool_(tmp_.mkdir("pool")), sent_(tmp_.mkdir("sent")) {}

  // Writes an item (idents count up from 0x1001) and returns its path.
  std::string Item(const std::string& relative, std::string_view name) {
    return tmp_.write(relative, RecordBuilder().ident(++ident_).itemClass(1).name(name).bytes());
  }
  std::uint32_t IdentAt(const std::string& relative) const {
    return ItemRecord::FromBytes(tmp_.read(relative)).Ident();
  }

  RenameRunOptions Options(bool answer = true, bool subdirectories = false) {
    RenameRunOptions options;
    options.poolDir = pool_;
    options.sentDir = sent_;
    options.journalDir = pool_;
    options.subdirectories = subdirectories;
    options.confirm = [answer] { return answer; };
    // Runs once the run has listed its directories, before the first file is handled.
    options.progress = [this](std::size_t position, std::size_t) {
      if (position == 0 && afterListing_) std::exchange(afterListing_, nullptr)();
    };
    return options;
  }

  RenameRunResult Run(bool answer = true, bool subdirectories = false,
                      const RenamePlanBasis* plan = nullptr) {
    auto result = StartRenameRun(cache_, Options(answer, subdirectories), plan);
    EXPECT_TRUE(result) << result.error();
    return result ? *result : RenameRunResult();
  }

  TempDir tmp_;
  std::string pool_;
  std::string sent_;
  FixedClock clock_{46000.5};
  ItemCache cache_{clock_};
  std::uint32_t ident_ = 0x1000;
  std::function<void()> afterListing_;
};

TEST_F(RenameRunTest, EqualNamesAreNumberedInSnapshotOrderAcrossPoolAndSent) {
  Item("sent/A.ITM", "Short Sword");
  Item("pool/b.itm", "Short Sword");
  Item("pool/C.ITM", "King's Sword");
  Item("pool/D.ITM", "");
  tmp_.write("pool/b.IT0", "[Iteminfos]\r\nSenderName=Alice\r\n");

  const RenameRunResult result = Run();
  EXPECT_EQ(FileNames(pool_), (std::set<std::string>{"0001.ITM", "KingsSword0001.ITM", "ShortSword0001.ITM",
                                                     "ShortSword0001.IT0"}));
  EXPECT_EQ(FileNames(sent_), (std::set<std::string>{"ShortSword0002.ITM"}));
  EXPECT_EQ(IdentAt("pool/ShortSword0001.ITM"), 0x1002u);  // the pool's path sorts first
  EXPECT_EQ(tmp_.read("pool/ShortSword0001.IT0"), "[Iteminfos]\r\nSenderName=Alice\r\n");
  EXPECT_EQ(result.renamed.size(), 4u);
  // The cache follows the new names.
  EXPECT_EQ(cache_.Find(pool_ + "/b.itm"), nullptr);
  ASSERT_NE(cache_.Find(pool_ + "/ShortSword0001.ITM"), nullptr);
  EXPECT_EQ(cache_.Find(pool_ + "/ShortSword0001.ITM")->Meta().senderName, "Alice");
}

TEST_F(RenameRunTest, AnItemAlreadyCarryingItsNameKeepsIt) {
  Item("pool/ShortSword0001.ITM", "Short Sword");
  Item("pool/A.ITM", "Short Sword");
  Run();
  EXPECT_EQ(FileNames(pool_), (std::set<std::string>{"ShortSword0001.ITM", "ShortSword0002.ITM"}));
  EXPECT_EQ(IdentAt("pool/ShortSword0001.ITM"), 0x1001u);
}

TEST_F(RenameRunTest, ANameInOtherLetterCaseDoesNotBlockANumber) {
  Item("pool/shortsword0001.itm", "Dagger");
  Item("pool/A.ITM", "Short Sword");
  Run();
  EXPECT_EQ(FileNames(pool_), (std::set<std::string>{"Dagger0001.ITM", "ShortSword0001.ITM"}));
}

TEST_F(RenameRunTest, HostileNamesStayPlainFileNamesInTheirOwnDirectory) {
  Item("pool/sub/A.ITM", "../../evil");
  Item("pool/sub/B.ITM", "a/b");
  Item("pool/sub/C.ITM", "..");
  Run(true, true);
  EXPECT_EQ(FileNames(pool_ + "/sub"),
            (std::set<std::string>{"_._.._evil0001.ITM", "a_b0001.ITM", "0001.ITM"}));
  EXPECT_EQ(FileNames(pool_), (std::set<std::string>{"sub"}));
  EXPECT_EQ(FileNames(tmp_.path()), (std::set<std::string>{"pool", "sent"}));
}

TEST_F(RenameRunTest, ANameWhoseFileOrSidecarIsOnTheDiskIsTaken) {
  tmp_.write("pool/ShortSword0001.ITM", "short");  // not an item, so not cached, but in the way
  tmp_.write("pool/ShortSword0002.IT0", "[Iteminfos]\r\nSenderName=Stray\r\n");  // left behind
  Item("pool/A.ITM", "Short Sword");
  tmp_.write("pool/A.IT0", "[Iteminfos]\r\nSenderName=Alice\r\n");
  Item("sent/B.ITM", "Short Sword");
  tmp_.write("sent/B.IT0", "[Iteminfos]\r\nSenderName=Bob\r\n");

  const RenameRunResult result = Run();
  // A renamed item never adopts the stray sidecar: the numbers with a file on the disk are skipped.
  EXPECT_EQ(FileNames(pool_), (std::set<std::string>{"ShortSword0001.ITM", "ShortSword0002.IT0",
                                                     "ShortSword0003.ITM", "ShortSword0003.IT0"}));
  EXPECT_EQ(FileNames(sent_), (std::set<std::string>{"ShortSword0004.ITM", "ShortSword0004.IT0"}));
  EXPECT_EQ(tmp_.read("pool/ShortSword0001.ITM"), "short");
  EXPECT_EQ(tmp_.read("pool/ShortSword0002.IT0"), "[Iteminfos]\r\nSenderName=Stray\r\n");
  EXPECT_EQ(tmp_.read("pool/ShortSword0003.IT0"), "[Iteminfos]\r\nSenderName=Alice\r\n");
  EXPECT_EQ(tmp_.read("sent/ShortSword0004.IT0"), "[Iteminfos]\r\nSenderName=Bob\r\n");
  EXPECT_TRUE(result.failed.empty());
  EXPECT_EQ(result.renamed.size(), 2u);
}

TEST_F(RenameRunTest, AnsweringNoChangesAndLoadsNothing) {
  Item("pool/A.ITM", "Short Sword");
  EXPECT_FALSE(Run(false).confirmed);
  EXPECT_EQ(cache_.size(), 0u);
  EXPECT_EQ(FileNames(pool_), (std::set<std::string>{"A.ITM"}));
}

// The run answers from its listings which names are taken and which items have a sidecar; what
// changes on the disk after the listing must still never cost a file or part an item from its
// sidecar.
TEST_F(RenameRunTest, ASidecarThatComesAfterTheListingMovesWithItsItem) {
  Item("pool/A.ITM", "Short Sword");
  afterListing_ = [&] { tmp_.write("pool/A.IT0", "[Iteminfos]\r\nSenderName=Late\r\n"); };
  const RenameRunResult result = Run();
  EXPECT_EQ(FileNames(pool_), (std::set<std::string>{"ShortSword0001.ITM", "ShortSword0001.IT0"}));
  EXPECT_EQ(tmp_.read("pool/ShortSword0001.IT0"), "[Iteminfos]\r\nSenderName=Late\r\n");
  EXPECT_TRUE(result.failed.empty());
  // The cache holds what the moved sidecar holds.
  ASSERT_NE(cache_.Find(pool_ + "/ShortSword0001.ITM"), nullptr);
  EXPECT_EQ(cache_.Find(pool_ + "/ShortSword0001.ITM")->Meta().senderName, "Late");
}

// Items that keep their names and a file that is no item stand between the moved ones, so a move's
// place in the run differs from its place in the batch: each late sidecar still goes to its own item.
TEST_F(RenameRunTest, LateSidecarsAmongItemsThatStayGoToTheirOwnItems) {
  Item("pool/Dagger0001.ITM", "Dagger");
  Item("pool/E.ITM", "Short Sword");
  tmp_.write("pool/F.ITM", "short");
  Item("pool/G.ITM", "Dagger");
  Item("pool/H.ITM", "Club");
  afterListing_ = [&] {
    tmp_.write("pool/G.IT0", "[Iteminfos]\r\nSenderName=Gina\r\n");
    tmp_.write("pool/H.IT0", "[Iteminfos]\r\nSenderName=Hank\r\n");
  };
  const RenameRunResult result = Run();
  EXPECT_EQ(FileNames(pool_),
            (std::set<std::string>{"Dagger0001.ITM", "ShortSword0001.ITM", "F.ITM", "Dagger0002.ITM",
                                   "Dagger0002.IT0", "Club0001.ITM", "Club0001.IT0"}));
  EXPECT_EQ(tmp_.read("pool/Dagger0002.IT0"), "[Iteminfos]\r\nSenderName=Gina\r\n");
  EXPECT_EQ(tmp_.read("pool/Club0001.IT0"), "[Iteminfos]\r\nSenderName=Hank\r\n");
  EXPECT_EQ(result.renamed.size(), 3u);
}

// The answered run takes the listing its caller's lock made, watched from before it: a sidecar that
// came after that listing still follows its item, and where none came the pool is not read again.
TEST_F(RenameRunTest, TheAnsweredRunTakesTheLocksListingAndStillFindsASidecarThatCameAfterIt) {
  for (const bool sidecarComes : {false, true}) {
    SCOPED_TRACE(sidecarComes);
    std::filesystem::remove_all(pool_);
    std::filesystem::create_directories(pool_);
    Item("pool/A.ITM", "Short Sword");
    Item("pool/B.ITM", "Short Sword");
    ItemCache cache{clock_};
    LateSidecarLook late;
    late.WatchBeforeListing(pool_ + "/");  // as the keeper may give it
    auto entries = ListDirectory(pool_);
    ASSERT_TRUE(entries);
    std::optional<HeldListing> held = HeldListing{pool_ + "/", std::move(*entries)};
    if (sidecarComes) tmp_.write("pool/B.IT0", "[Iteminfos]\r\nSenderName=Late\r\n");
    RenameRunOptions options = Options();
    options.held = &held;
    options.lateSidecars = &late;
    auto result = RenameRunAnswered(cache, options);
    ASSERT_TRUE(result) << result.error();
    EXPECT_FALSE(held.has_value());  // taken by the scan
    EXPECT_TRUE(result->failed.empty());
    if (sidecarComes) {
      EXPECT_EQ(FileNames(pool_),
                (std::set<std::string>{"ShortSword0001.ITM", "ShortSword0002.ITM", "ShortSword0002.IT0"}));
      EXPECT_EQ(tmp_.read("pool/ShortSword0002.IT0"), "[Iteminfos]\r\nSenderName=Late\r\n");
      EXPECT_EQ(late.DirectoryReads(), 1u);
    } else {
      EXPECT_EQ(FileNames(pool_), (std::set<std::string>{"ShortSword0001.ITM", "ShortSword0002.ITM"}));
      EXPECT_EQ(late.DirectoryReads(), 0u);
    }
  }
}

TEST_F(RenameRunTest, ASidecarInOtherLetterCaseMovesWithItsItemUnderTheUsualSpelling) {
  // Each other spelling of the extension is found in the listing; an item without a sidecar gets
  // none, and no sidecar goes to the wrong item.
  Item("pool/A.ITM", "Short Sword");
  Item("pool/B.ITM", "Short Sword");
  Item("pool/C.ITM", "Short Sword");
  Item("pool/D.ITM", "Short Sword");
  tmp_.write("pool/A.it0", "[Iteminfos]\r\nSenderName=a\r\n");
  tmp_.write("pool/B.It0", "[Iteminfos]\r\nSenderName=b\r\n");
  tmp_.write("pool/D.iT0", "[Iteminfos]\r\nSenderName=d\r\n");
  auto result = RenameRunAnswered(cache_, Options());
  ASSERT_TRUE(result) << result.error();
  EXPECT_TRUE(result->failed.empty());
  EXPECT_EQ(FileNames(pool_),
            (std::set<std::string>{"ShortSword0001.ITM", "ShortSword0001.IT0", "ShortSword0002.ITM",
                                   "ShortSword0002.IT0", "ShortSword0003.ITM", "ShortSword0004.ITM",
                                   "ShortSword0004.IT0"}));
  EXPECT_EQ(tmp_.read("pool/ShortSword0001.IT0"), "[Iteminfos]\r\nSenderName=a\r\n");
  EXPECT_EQ(tmp_.read("pool/ShortSword0002.IT0"), "[Iteminfos]\r\nSenderName=b\r\n");
  EXPECT_EQ(tmp_.read("pool/ShortSword0004.IT0"), "[Iteminfos]\r\nSenderName=d\r\n");
}

TEST_F(RenameRunTest, ASidecarThatComesAfterTheListingStaysBesideAnItemFileOfItsName) {
  // Two files own the sidecar name ShortSword0001.IT0; the one that stays keeps it.
  tmp_.write("pool/ShortSword0001.ITM", "short");
  Item("pool/ShortSword0001.itm", "Dagger");
  afterListing_ = [&] { tmp_.write("pool/ShortSword0001.IT0", "[Iteminfos]\r\nSenderName=Late\r\n"); };
  const RenameRunResult result = Run();
  EXPECT_EQ(FileNames(pool_),
            (std::set<std::string>{"ShortSword0001.ITM", "ShortSword0001.IT0", "Dagger0001.ITM"}));
  EXPECT_EQ(result.renamed.size(), 1u);
  EXPECT_TRUE(result.failed.empty());
}

TEST_F(RenameRunTest, AListedSidecarThatIsGoneBeforeTheMoveLeavesTheItemToMoveAlone) {
  Item("pool/A.ITM", "Short Sword");
  tmp_.write("pool/A.IT0", "[Iteminfos]\r\nSenderName=Alice\r\n");
  afterListing_ = [&] { std::filesystem::remove(pool_ + "/A.IT0"); };
  const RenameRunResult result = Run();
  EXPECT_EQ(FileNames(pool_), (std::set<std::string>{"ShortSword0001.ITM"}));
  EXPECT_EQ(result.renamed.size(), 1u);
  EXPECT_TRUE(result.failed.empty());
  ASSERT_NE(cache_.Find(pool_ + "/ShortSword0001.ITM"), nullptr);
  EXPECT_EQ(cache_.Find(pool_ + "/ShortSword0001.ITM")->Meta().senderName, "");
}

TEST_F(RenameRunTest, NamesTakenAfterTheListingAreNeverReplaced) {
  // A file at the item's target name, and a sidecar at the target name of an item with a sidecar
  // of its own: both items keep their names, their sidecars stay beside them, nothing is replaced.
  Item("pool/A.ITM", "Short Sword");
  Item("pool/B.ITM", "Dagger");
  tmp_.write("pool/B.IT0", "[Iteminfos]\r\nSenderName=Bob\r\n");
  afterListing_ = [&] {
    tmp_.write("pool/ShortSword0001.ITM", "other");
    tmp_.write("pool/Dagger0001.IT0", "[Iteminfos]\r\nSenderName=Stray\r\n");
  };
  const RenameRunResult result = Run();
  EXPECT_EQ(FileNames(pool_),
            (std::set<std::string>{"A.ITM", "B.ITM", "B.IT0", "ShortSword0001.ITM", "Dagger0001.IT0"}));
  EXPECT_EQ(tmp_.read("pool/ShortSword0001.ITM"), "other");
  EXPECT_EQ(tmp_.read("pool/B.IT0"), "[Iteminfos]\r\nSenderName=Bob\r\n");
  EXPECT_EQ(tmp_.read("pool/Dagger0001.IT0"), "[Iteminfos]\r\nSenderName=Stray\r\n");
  EXPECT_EQ(IdentAt("pool/A.ITM"), 0x1001u);
  EXPECT_EQ(IdentAt("pool/B.ITM"), 0x1002u);
  EXPECT_EQ(result.failed.size(), 2u);
  EXPECT_TRUE(result.renamed.empty());
  EXPECT_FALSE(PathOccupied(pool_ + "/RELICOR.JNL"));
}

TEST_F(RenameRunTest, AfterThePlanTheRunMakesThePlannedRenamesAndRenamesFilesThatCameSince) {
  // In the way: a short file, a stray sidecar, a name in other letter case; equal names across
  // pool and sent; a sidecar to move.
  tmp_.write("pool/ShortSword0001.ITM", "short");
  tmp_.write("pool/ShortSword0002.IT0", "[Iteminfos]\r\nSenderName=Stray\r\n");
  Item("pool/dagger0001.itm", "Short Sword");
  Item("pool/A.ITM", "Dagger");
  tmp_.write("pool/A.IT0", "[Iteminfos]\r\nSenderName=Alice\r\n");
  Item("sent/B.ITM", "Short Sword");
  auto plan = PlanRenameRun(cache_, Options());
  ASSERT_TRUE(plan) << plan.error();
  const std::vector<RenameStep> planned = plan->renames;
  EXPECT_EQ(planned.size(), 3u);

  // A file that comes between the plan and the run is renamed too.
  Item("sent/C.ITM", "Dagger");
  tmp_.write("sent/C.IT0", "[Iteminfos]\r\nSenderName=Carol\r\n");
  const RenameRunResult result = Run();
  ASSERT_EQ(result.renamed.size(), 4u);
  for (std::size_t i = 0; i < planned.size(); ++i) {
    EXPECT_EQ(result.renamed[i].from, planned[i].from);
    EXPECT_EQ(result.renamed[i].to, planned[i].to);
  }
  EXPECT_EQ(FileNames(pool_),
            (std::set<std::string>{"ShortSword0001.ITM", "ShortSword0002.IT0", "ShortSword0003.ITM",
                                   "Dagger0001.ITM", "Dagger0001.IT0"}));
  EXPECT_EQ(FileNames(sent_),
            (std::set<std::string>{"ShortSword0004.ITM", "Dagger0002.ITM", "Dagger0002.IT0"}));
  EXPECT_EQ(tmp_.read("pool/Dagger0001.IT0"), "[Iteminfos]\r\nSenderName=Alice\r\n");
  EXPECT_EQ(tmp_.read("sent/Dagger0002.IT0"), "[Iteminfos]\r\nSenderName=Carol\r\n");
  ASSERT_NE(cache_.Find(sent_ + "/Dagger0002.ITM"), nullptr);
  EXPECT_EQ(cache_.Find(sent_ + "/Dagger0002.ITM")->Meta().senderName, "Carol");
  EXPECT_EQ(cache_.Find(pool_ + "/Dagger0001.ITM")->Meta().senderName, "Alice");
}

TEST_F(RenameRunTest, ManyMovesGetTheNamesThePlanGaveThem) {
  // Daggers hold the first Short Sword names; the Short Swords after them are named while those
  // names are still on the disk, so they never get them, however many moves come before.
  for (int n = 1; n <= 300; ++n) Item("pool/ShortSword" + ZeroPadNumber(n, 4) + ".ITM", "Dagger");
  for (int n = 0; n < 1100; ++n) Item("pool/Z" + ZeroPadNumber(n, 4) + ".ITM", "Short Sword");
  auto plan = PlanRenameRun(cache_, Options());
  ASSERT_TRUE(plan) << plan.error();
  const RenameRunResult result = Run();
  ASSERT_EQ(result.renamed.size(), plan->renames.size());
  for (std::size_t i = 0; i < plan->renames.size(); ++i) {
    ASSERT_EQ(result.renamed[i].to, plan->renames[i].to) << i;
  }
  EXPECT_EQ(result.renamed.back().to, pool_ + "/ShortSword1400.ITM");
  EXPECT_FALSE(PathOccupied(pool_ + "/ShortSword0001.ITM"));
  EXPECT_EQ(IdentAt("pool/ShortSword0301.ITM"), static_cast<std::uint32_t>(0x1000 + 301));
}

// More items than one batch of moves holds: the next batch is named while the files of the one
// before move. A move that fails (a file came at its target after the listing), in the first batch
// while the second is named or in the second, leaves its item where it was, and every other item,
// sidecar and number is as one move at a time would have made it. The same holds where the files
// move on the run's own thread and nothing is named ahead (while a test plans faults).
TEST_F(RenameRunTest, ARunOfSeveralBatchesMovesEveryItemAsOneMoveAtATimeWould) {
  constexpr int kItems = 8300;
  auto sender = [](int i) { return "[Iteminfos]\r\nSenderName=S" + std::to_string(i) + "\r\n"; };
  const struct {
    int dagger;
    bool blocked;
    bool oneThread;
  } cases[] = {{8250, false, false}, {8100, true, false}, {8250, true, false}, {8100, true, true}};
  for (const auto& c : cases) {
    const std::string dir =
        "pool" + std::to_string(c.dagger) + (c.blocked ? "-blocked" : "") + (c.oneThread ? "-one/" : "/");
    SCOPED_TRACE(dir);
    // A fault that never comes.
    if (c.oneThread) faults::Inject({faults::FileOp::kRename, EACCES, "/no such file/", 0, -1});
    pool_ = tmp_.mkdir(dir.substr(0, dir.size() - 1));
    for (int i = 0; i < kItems; ++i) {
      const std::string stem = dir + "Z" + ZeroPadNumber(i, 5);
      Item(stem + ".ITM", i == c.dagger ? "Dagger" : "Short Sword");
      if (i % 3 == 0) tmp_.write(stem + ".IT0", sender(i));
    }
    const std::uint32_t firstIdent = ident_ - kItems + 1;
    if (c.blocked) afterListing_ = [&] { tmp_.write(dir + "Dagger0001.ITM", "other"); };
    ItemCache cache(clock_);
    auto result = RenameRunAnswered(cache, Options());
    ASSERT_TRUE(result) << result.error();
    ASSERT_EQ(result->renamed.size(), static_cast<std::size_t>(c.blocked ? kItems - 1 : kItems));
    const std::string daggerAt = dir + "Z" + ZeroPadNumber(c.dagger, 5) + ".ITM";
    if (c.blocked) {
      ASSERT_EQ(result->failed.size(), 1u);
      EXPECT_EQ(result->failed[0].from, tmp_.file(daggerAt));
      EXPECT_EQ(IdentAt(daggerAt), firstIdent + c.dagger);
      EXPECT_EQ(tmp_.read(dir + "Dagger0001.ITM"), "other");
    } else {
      EXPECT_TRUE(result->failed.empty());
      EXPECT_EQ(IdentAt(dir + "Dagger0001.ITM"), firstIdent + c.dagger);
    }
    int number = 0;
    for (int i = 0; i < kItems; ++i) {
      if (i == c.dagger) continue;
      const std::string stem = dir + "ShortSword" + ZeroPadNumber(++number, 4);
      ASSERT_EQ(IdentAt(stem + ".ITM"), firstIdent + static_cast<std::uint32_t>(i)) << i;
      if (i % 3 == 0) {
        ASSERT_EQ(tmp_.read(stem + ".IT0"), sender(i)) << i;
      }
    }
    EXPECT_EQ(FileNames(pool_).size(),
              static_cast<std::size_t>(kItems + (kItems + 2) / 3 + (c.blocked ? 1 : 0)));
    EXPECT_FALSE(PathOccupied(pool_ + "/RELICOR.JNL"));
    // The cache follows: item 8298 is the 8298th Short Sword, with its sidecar.
    ASSERT_NE(cache.Find(pool_ + "/ShortSword8298.ITM"), nullptr);
    EXPECT_EQ(cache.Find(pool_ + "/ShortSword8298.ITM")->Meta().senderName, "S8298");
  }
  faults::Clear();
}

TEST_F(RenameRunTest, AFileThatCameSinceThePlanAndCannotBeReadStopsTheRunBeforeAnyRename) {
  Item("pool/A.ITM", "Short Sword");
  ASSERT_TRUE(PlanRenameRun(cache_, Options()));
  std::filesystem::create_symlink(pool_ + "/nowhere", pool_ + "/B.ITM");
  auto result = StartRenameRun(cache_, Options());
  ASSERT_FALSE(result);
  EXPECT_NE(result.error().find("B.ITM"), std::string::npos) << result.error();
  EXPECT_EQ(FileNames(pool_), (std::set<std::string>{"A.ITM", "B.ITM"}));
}

// The run after a plan makes the plan's moves without naming the items again, but only while the
// plan holds. A basis whose target was changed shows which of the two the run did.
class RenameAfterPlanTest : public RenameRunTest {
 protected:
  // Plans A.ITM (Short Sword, with a sidecar) and B.ITM (Short Sword), and returns the plan's basis
  // with A's target changed to Planned0009.ITM.
  RenamePlanBasis AlteredPlan() {
    Item("pool/A.ITM", "Short Sword");
    tmp_.write("pool/A.IT0", "[Iteminfos]\r\nSenderName=Alice\r\n");
    Item("pool/B.ITM", "Short Sword");
    auto plan = PlanRenameRun(cache_, Options());
    EXPECT_TRUE(plan && plan->basis != nullptr && plan->basis->reusable);
    if (!plan || plan->basis == nullptr) return {};
    RenamePlanBasis basis = *plan->basis;
    EXPECT_EQ(basis.moves.size(), 2u);
    if (!basis.moves.empty()) basis.moves[0].target = pool_ + "/Planned0009.ITM";
    return basis;
  }
  void TearDown() override { faults::Clear(); }
};

TEST_F(RenameAfterPlanTest, AnUnchangedPoolGetsThePlansMoves) {
  const RenamePlanBasis plan = AlteredPlan();
  const RenameRunResult result = Run(true, false, &plan);
  EXPECT_EQ(FileNames(pool_),
            (std::set<std::string>{"Planned0009.ITM", "Planned0009.IT0", "ShortSword0002.ITM"}));
  EXPECT_EQ(tmp_.read("pool/Planned0009.IT0"), "[Iteminfos]\r\nSenderName=Alice\r\n");
  EXPECT_EQ(result.renamed.size(), 2u);
  EXPECT_EQ(result.handled, 2u);
  ASSERT_NE(cache_.Find(pool_ + "/Planned0009.ITM"), nullptr);
  EXPECT_EQ(cache_.Find(pool_ + "/Planned0009.ITM")->Meta().senderName, "Alice");
  EXPECT_FALSE(PathOccupied(pool_ + "/RELICOR.JNL"));
}

TEST_F(RenameAfterPlanTest, ThePlansMovesHoldWithSubdirectoriesToo) {
  Item("pool/sub/A.ITM", "Short Sword");
  Item("sent/deeper/B.ITM", "Short Sword");
  auto plan = PlanRenameRun(cache_, Options(true, true));
  ASSERT_TRUE(plan && plan->basis != nullptr && plan->basis->reusable);
  RenamePlanBasis basis = *plan->basis;
  ASSERT_EQ(basis.moves.size(), 2u);
  basis.moves[1].target = sent_ + "/deeper/Planned0009.ITM";
  Run(true, true, &basis);
  EXPECT_EQ(FileNames(pool_ + "/sub"), (std::set<std::string>{"ShortSword0001.ITM"}));
  EXPECT_EQ(FileNames(sent_ + "/deeper"), (std::set<std::string>{"Planned0009.ITM"}));
}

// Whatever changed since the plan, the run names every item itself: a file that came (here a stray
// sidecar at a planned name, which a planned move would have given to an item), a file that went,
// an item the cache took in.
TEST_F(RenameAfterPlanTest, AChangeSinceThePlanMakesTheRunNameTheItemsItself) {
  const std::vector<std::pair<std::string, std::function<void()>>> changes = {
      {"a stray sidecar", [this] { tmp_.write("pool/ShortSword0001.IT0", "stray"); }},
      {"a file came", [this] { tmp_.write("pool/note.txt", "x"); }},
      {"a file gone", [this] { std::filesystem::remove(pool_ + "/A.IT0"); }},
      {"an item cached", [this] { (void)cache_.LoadItem(Item("C.ITM", "Dagger")); }},
  };
  // The rounds share the cache (the items of a round before stay cached under paths that are gone),
  // so each round asks only whether the plan's moves were made.
  for (const auto& [what, change] : changes) {
    SCOPED_TRACE(what);
    std::filesystem::remove_all(pool_);
    std::filesystem::create_directory(pool_);
    const RenamePlanBasis plan = AlteredPlan();
    change();
    Run(true, false, &plan);
    const std::set<std::string> names = FileNames(pool_);
    EXPECT_EQ(names.count("Planned0009.ITM"), 0u);
    EXPECT_EQ(names.count("A.ITM") + names.count("B.ITM"), 0u);
  }
}

TEST_F(RenameAfterPlanTest, AStraySidecarAtAPlannedNameStaysAlone) {
  const RenamePlanBasis plan = AlteredPlan();
  tmp_.write("pool/ShortSword0001.IT0", "stray");
  Run(true, false, &plan);
  // The items took the next numbers.
  EXPECT_EQ(FileNames(pool_), (std::set<std::string>{"ShortSword0001.IT0", "ShortSword0002.ITM",
                                                     "ShortSword0002.IT0", "ShortSword0003.ITM"}));
  EXPECT_EQ(tmp_.read("pool/ShortSword0001.IT0"), "stray");
  EXPECT_EQ(tmp_.read("pool/ShortSword0002.IT0"), "[Iteminfos]\r\nSenderName=Alice\r\n");
}

// After a planned move fails, the items after it are named again: B takes the number A could not.
TEST_F(RenameAfterPlanTest, AfterAFailedPlannedMoveTheRestIsNamedAgain) {
  const RenamePlanBasis plan = AlteredPlan();
  faults::Inject({faults::FileOp::kRename, EACCES, "/A.ITM", 0, 1});
  const RenameRunResult result = Run(true, false, &plan);
  ASSERT_EQ(result.failed.size(), 1u);
  EXPECT_EQ(result.failed[0].from, pool_ + "/A.ITM");
  EXPECT_EQ(FileNames(pool_), (std::set<std::string>{"A.ITM", "A.IT0", "ShortSword0001.ITM"}));
  EXPECT_EQ(IdentAt("pool/ShortSword0001.ITM"), 0x1002u);
  EXPECT_EQ(result.handled, 2u);
  EXPECT_FALSE(PathOccupied(pool_ + "/RELICOR.JNL"));
}

}  // namespace
}  // namespace relicor
