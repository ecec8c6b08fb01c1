#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "pool/ItemCache.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"
#include "support/TestDates.h"
#include "text/Path.h"

namespace relicor {
namespace {

using test::FileNames;
using test::RecordBuilder;
using test::TempDir;

using test::Day;

class ItemCacheTest : public ::testing::Test {
 protected:
  std::string WriteItem(std::string_view name, const RecordBuilder& builder) const {
    return tmp_.write(name, builder.bytes());
  }
  static DateTime FileDate(const std::string& path) { return *FileModificationTime(path); }
  static bool Exists(const std::string& path) { return std::filesystem::exists(path); }

  TempDir tmp_;
  FixedClock clock_{Day(6, 12, 2026, 14)};
  ItemCache cache_{clock_};
};

// The key list's texts, which must stand in the order of PathLess, each once.
std::set<std::string, PathLess> KeyTexts(const ItemCache& cache) {
  const std::vector<std::string> texts = cache.KeyList().Texts();
  for (std::size_t i = 1; i < texts.size(); ++i) {
    EXPECT_TRUE(PathLess{}(texts[i - 1], texts[i])) << texts[i - 1] << " before " << texts[i];
  }
  return {texts.begin(), texts.end()};
}

// What an entry gives back is what it was given, however it keeps it.
TEST(ItemEntry, KeepsEveryFieldOfRecordAndBookkeeping) {
  const DateTime fileDate = Day(1, 10, 2026, 9, 30);
  struct Case {
    const char* what;
    SidecarValues values;
  };
  auto values = [&](auto change) {
    SidecarValues v;
    v.points4ItemAt = Day(7, 12, 2026, 14);
    v.addedItem = v.sentAt = fileDate;
    change(v);
    return v;
  };
  const std::vector<Case> cases = {
      {"a missing sidecar's", values([](SidecarValues&) {})},
      {"a sender", values([](SidecarValues& v) { v.senderName = "Alice"; })},
      {"a receiver of 18 characters", values([](SidecarValues& v) { v.sendTo = "A Name Longer Than"; })},
      {"Windows-1252 names", values([](SidecarValues& v) {
         v.senderName = "J\xF6rg";
         v.sendTo = "\x80\xFF";
       })},
      {"points", values([](SidecarValues& v) { v.points4Item = true; })},
      {"public", values([](SidecarValues& v) { v.isPublic = true; })},
      {"both flags", values([](SidecarValues& v) { v.points4Item = v.isPublic = true; })},
      {"an added date", values([](SidecarValues& v) { v.addedItem = Day(2, 3, 2025, 23, 59); })},
      {"a sent date", values([](SidecarValues& v) { v.sentAt = Day(31, 12, 1999); })},
      {"a date of 0", values([](SidecarValues& v) { v.sentAt = 0; })},
  };
  const ItemRecord record = RecordBuilder().ident(0xCAFE).itemClass(3).name("Long Sword").price(-7).build();
  for (const Case& c : cases) {
    ItemMeta meta;
    static_cast<SidecarValues&>(meta) = c.values;
    meta.fileDate = fileDate;
    ItemEntry entry("/pool/A.ITM", record, meta);
    for (const char* path : {"/pool/A.ITM", "/pool/a much longer name than before.ITM", "/B.ITM", "B.ITM",
                             "/Pool/A.ITM", "/pool/sub/A.ITM"}) {
      entry.SetPath(path);
      SCOPED_TRACE(std::string(c.what) + " at " + path);
      EXPECT_EQ(entry.Path(), path);
      EXPECT_TRUE(entry.HasPath(path));
      EXPECT_FALSE(entry.HasPath(std::string(path) + "X"));
      EXPECT_FALSE(entry.HasPath("/elsewhere/" + std::string(FileNamePart(path))));
      EXPECT_EQ(entry.Record().view(), record.view());
      const ItemMeta got = entry.Meta();
      EXPECT_EQ(got.senderName, meta.senderName);
      EXPECT_EQ(got.sendTo, meta.sendTo);
      EXPECT_EQ(got.points4Item, meta.points4Item);
      EXPECT_EQ(got.isPublic, meta.isPublic);
      EXPECT_EQ(got.points4ItemAt, meta.points4ItemAt);
      EXPECT_EQ(got.addedItem, meta.addedItem);
      EXPECT_EQ(got.sentAt, meta.sentAt);
      EXPECT_EQ(got.fileDate, fileDate);
      EXPECT_EQ(entry.KeyText(), record.ItemKey() + path);
    }
    // New bookkeeping replaces the old whole, back to a missing sidecar's too.
    entry.SetSidecarValues(cases[0].values);
    EXPECT_EQ(entry.Meta().senderName, "");
    EXPECT_FALSE(entry.Meta().isPublic);
    EXPECT_EQ(entry.Meta().sentAt, fileDate);
  }
}

TEST_F(ItemCacheTest, ItemWithoutSidecarGetsDefaultMetadata) {
  // A longer, read-only file: its first 400 bytes are the item.
  const std::string path =
      tmp_.write("A.ITM", RecordBuilder().ident(0x00A1B2C3).itemClass(12).bytes() + "tail");
  ::chmod(path.c_str(), 0444);
  auto loaded = cache_.LoadItem(path);
  ASSERT_TRUE(loaded) << loaded.error();
  EXPECT_EQ(*loaded, LoadStatus::kLoaded);
  const ItemMeta& meta = cache_.CurrentMeta();
  EXPECT_EQ(meta.senderName, "");
  EXPECT_FALSE(meta.points4Item);
  EXPECT_FALSE(meta.isPublic);
  EXPECT_EQ(meta.points4ItemAt, clock_.Now());
  EXPECT_EQ(meta.fileDate, FileDate(path));
  EXPECT_EQ(meta.addedItem, FileDate(path));
  EXPECT_EQ(meta.sentAt, FileDate(path));
  EXPECT_EQ(cache_.CurrentItem().bytes(), RecordBuilder().ident(0x00A1B2C3).itemClass(12).build().bytes());
  EXPECT_EQ(KeyTexts(cache_), (std::set<std::string, PathLess>{"00A1B2C30C" + path}));
}

TEST_F(ItemCacheTest, SecondLoadComesFromTheCacheEvenAfterTheFilesChanged) {
  const std::string path = WriteItem("A.ITM", RecordBuilder().ident(1));
  tmp_.write("A.IT0", "[Iteminfos]\r\nSenderName=ABCDEFGHIJKLMNOPQRSTUVWXY\r\nAddedItem=02.01.2026\r\n");
  ASSERT_TRUE(cache_.LoadItem(path));
  EXPECT_EQ(cache_.CurrentMeta().senderName, "ABCDEFGHIJKLMNOPQR");
  EXPECT_EQ(cache_.CurrentMeta().addedItem, Day(2, 1, 2026));

  WriteItem("A.ITM", RecordBuilder().ident(2));
  tmp_.write("A.IT0", "[Iteminfos]\r\nSenderName=Changed\r\n");
  cache_.CurrentMeta().senderName = "unsaved";
  clock_.Set(Day(7, 12, 2026));
  ASSERT_TRUE(cache_.LoadItem(path));
  EXPECT_EQ(cache_.CurrentItem().Ident(), 1u);
  EXPECT_EQ(cache_.CurrentMeta().senderName, "ABCDEFGHIJKLMNOPQR");
  EXPECT_EQ(cache_.CurrentMeta().points4ItemAt, Day(6, 12, 2026, 14));  // the entry's value
  EXPECT_EQ(cache_.size(), 1u);
}

// Another program works on the pool between two commands: a changed file is read again at the
// first load in the next command, and only then; the key list follows the item the path now holds.
TEST_F(ItemCacheTest, ANewCommandReadsAgainWhatAnotherProgramChanged) {
  const std::string ring = WriteItem("ring.ITM", RecordBuilder().ident(1).itemClass(12).name("old ring"));
  tmp_.write("ring.IT0", "[Iteminfos]\r\nSenderName=alice\r\n");
  const std::string other = WriteItem("other.ITM", RecordBuilder().ident(5));
  ASSERT_TRUE(cache_.LoadItem(ring));
  ASSERT_TRUE(cache_.LoadItem(other));
  ASSERT_EQ(cache_.KeyList().count("000000010C" + ring), 1u);  // the key list is made now

  // The ring is sent away and another one copied in under its name, with its own sidecar.
  tmp_.mkdir("sent");
  std::filesystem::rename(ring, tmp_.file("sent/ring.ITM"));
  std::filesystem::rename(tmp_.file("ring.IT0"), tmp_.file("sent/ring.IT0"));
  WriteItem("ring.ITM", RecordBuilder().ident(2).itemClass(12).name("new ring"));
  tmp_.write("ring.IT0", "[Iteminfos]\r\nSenderName=bob\r\n");
  ASSERT_TRUE(cache_.LoadItem(ring));
  EXPECT_EQ(cache_.CurrentItem().Name(), "old ring") << "within one command the entry holds";

  cache_.NewCommand();
  ASSERT_TRUE(cache_.LoadItem(ring));
  EXPECT_EQ(cache_.CurrentItem().Name(), "new ring");
  EXPECT_EQ(cache_.CurrentMeta().senderName, "bob");
  EXPECT_EQ(cache_.size(), 2u);
  EXPECT_EQ(cache_.KeyList().count("000000010C" + ring), 0u) << "the old ring is not at that path";
  EXPECT_EQ(cache_.KeyList().count("000000020C" + ring), 1u);

  // Only the sidecar changes (the command line assigns a sender): the record stays, the
  // bookkeeping is read again. Within the command a further change is not looked at.
  tmp_.write("other.IT0", "[Iteminfos]\r\nSenderName=carl\r\n");
  cache_.NewCommand();
  ASSERT_TRUE(cache_.LoadItem(other));
  EXPECT_EQ(cache_.CurrentMeta().senderName, "carl");
  tmp_.write("other.IT0", "[Iteminfos]\r\nSenderName=dora\r\n");
  ASSERT_TRUE(cache_.LoadItem(other));
  EXPECT_EQ(cache_.CurrentMeta().senderName, "carl");

  // This run's own store is no change of the sidecar: the entry keeps its time of day.
  cache_.NewCommand();
  ASSERT_TRUE(cache_.LoadItem(other));
  cache_.CurrentMeta().points4Item = true;
  cache_.CurrentMeta().points4ItemAt = Day(6, 12, 2026, 15);
  ASSERT_TRUE(cache_.StoreItemInfo(other));
  cache_.NewCommand();
  ASSERT_TRUE(cache_.LoadItem(other));
  EXPECT_EQ(cache_.CurrentMeta().senderName, "dora");
  EXPECT_EQ(cache_.CurrentMeta().points4ItemAt, Day(6, 12, 2026, 15));

  // A file that has gone is an error naming it, and its entry goes too.
  std::filesystem::remove(other);
  cache_.NewCommand();
  auto loaded = cache_.LoadItem(other);
  ASSERT_FALSE(loaded);
  EXPECT_NE(loaded.error().find(other), std::string::npos) << loaded.error();
  EXPECT_EQ(cache_.Find(other), nullptr);
  EXPECT_EQ(cache_.KeyList().count("0000000500" + other), 0u);
}

TEST_F(ItemCacheTest, ShortFileIsNotAnItemAndLeavesNothingBehind) {
  const std::string good = WriteItem("GOOD.ITM", RecordBuilder().ident(9).name("Sword"));
  tmp_.write("GOOD.IT0", "[Iteminfos]\r\nSenderName=Bob\r\n");
  ASSERT_TRUE(cache_.LoadItem(good));
  const std::string shortPath = tmp_.write("SHORT.ITM", RecordBuilder().ident(5).bytes().substr(0, 399));
  tmp_.write("SHORT.IT0", "[Iteminfos]\r\nSenderName=Eve\r\n");

  auto loaded = cache_.LoadItem(shortPath);
  ASSERT_TRUE(loaded) << loaded.error();
  EXPECT_EQ(*loaded, LoadStatus::kNotAnItem);
  EXPECT_EQ(cache_.Find(shortPath), nullptr);
  EXPECT_EQ(cache_.size(), 1u);
  EXPECT_EQ(cache_.KeyList().size(), 1u);
  EXPECT_EQ(cache_.CurrentItem().bytes(), ItemRecord().bytes());  // no stale bytes
  EXPECT_EQ(cache_.CurrentMeta().senderName, "");
  EXPECT_EQ(cache_.CurrentMeta().addedItem, FileDate(shortPath));
}

TEST_F(ItemCacheTest, MissingOrUnreadableFileIsAnErrorNamingIt) {
  const std::string good = WriteItem("GOOD.ITM", RecordBuilder().ident(9));
  ASSERT_TRUE(cache_.LoadItem(good));
  const std::string missing = tmp_.file("MISSING.ITM");
  auto loaded = cache_.LoadItem(missing);
  ASSERT_FALSE(loaded);
  EXPECT_NE(loaded.error().find(missing), std::string::npos) << loaded.error();
  EXPECT_NE(loaded.error().find("No such file or directory"), std::string::npos) << loaded.error();
  EXPECT_EQ(cache_.CurrentItem().bytes(), ItemRecord().bytes());

  const std::string directory = tmp_.mkdir("DIR.ITM");
  loaded = cache_.LoadItem(directory);
  ASSERT_FALSE(loaded);
  EXPECT_NE(loaded.error().find(directory), std::string::npos) << loaded.error();
  EXPECT_EQ(cache_.size(), 1u);
}

TEST_F(ItemCacheTest, PathsSortWithoutLetterCaseButTwoFilesStayTwoItems) {
  // x.ITM and X.ITM are two files here: each keeps its own item and its own bookkeeping.
  const std::string upper = WriteItem("X.ITM", RecordBuilder().ident(3).name("Upper"));
  const std::string lower = WriteItem("x.ITM", RecordBuilder().ident(4).name("Lower"));
  const std::string between = WriteItem("W.ITM", RecordBuilder().ident(5));
  tmp_.write("X.IT0", "[Iteminfos]\r\nSenderName=Alice\r\n");
  for (const std::string& path : {upper, lower, between}) ASSERT_TRUE(cache_.LoadItem(path));
  EXPECT_EQ(cache_.Paths(), (std::vector<std::string>{between, upper, lower}));
  EXPECT_EQ(cache_.KeyList().size(), 3u);

  ASSERT_TRUE(cache_.LoadItem(lower));
  EXPECT_EQ(cache_.CurrentItem().Name(), "Lower");
  EXPECT_EQ(cache_.CurrentMeta().senderName, "");
  cache_.CurrentMeta().senderName = "Bob";
  ASSERT_TRUE(cache_.StoreItemInfo(lower));
  EXPECT_EQ(tmp_.read("X.IT0"), "[Iteminfos]\r\nSenderName=Alice\r\n");
  EXPECT_EQ(cache_.Find(upper)->Meta().senderName, "Alice");
  EXPECT_EQ(cache_.Find(lower)->Meta().senderName, "Bob");

  // A path of no file is not served from another file's entry.
  EXPECT_FALSE(cache_.LoadItem(tmp_.file("w.ITM")));
}

TEST_F(ItemCacheTest, PathsAcrossDirectoriesAreInTheOrderOfTheirWholePaths) {
  // Entries of one directory are ordered by their file names, entries of two by the whole paths:
  // "x-y/" goes before "x/" ('-' before the separator), though "A" goes before "Z". Loaded out of
  // order, after a move and with names that differ only in letter case.
  std::filesystem::create_directories(tmp_.file("x"));
  std::filesystem::create_directories(tmp_.file("x-y"));
  std::vector<std::string> loaded;
  for (const char* name : {"x/Z.ITM", "x-y/b.ITM", "x/a.ITM", "x-y/A.ITM", "x/B.ITM", "x-y/C.ITM", "W.ITM"})
    loaded.push_back(WriteItem(name, RecordBuilder().ident(static_cast<std::uint32_t>(loaded.size() + 1))));
  for (const std::string& path : loaded) ASSERT_TRUE(cache_.LoadItem(path));
  ASSERT_TRUE(cache_.MoveItem(tmp_.file("x/a.ITM"), tmp_.file("x-y/Ring0001.ITM")));
  std::vector<std::string> expected = {
      tmp_.file("W.ITM"),     tmp_.file("x-y/A.ITM"),        tmp_.file("x-y/b.ITM"),
      tmp_.file("x-y/C.ITM"), tmp_.file("x-y/Ring0001.ITM"), tmp_.file("x/B.ITM"),
      tmp_.file("x/Z.ITM")};
  EXPECT_EQ(cache_.Paths(), expected);
  const PathList list = cache_.SortedPathList();
  ASSERT_EQ(list.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(list[i], expected[i]) << i;
  for (std::size_t i = 1; i < expected.size(); ++i)
    EXPECT_TRUE(PathLess{}(expected[i - 1], expected[i])) << i;
}

TEST_F(ItemCacheTest, StoreWritesAllSevenKeysAndKeepsUnknownOnes) {
  const std::string path = WriteItem("A.ITM", RecordBuilder().ident(1));
  tmp_.write("A.IT0",
             "[Iteminfos]\r\nSenderName=ABCDEFGHIJKLMNOPQRSTUVWXY\r\nRemark=keep\r\n[Own]\r\nx=1\r\n");
  ASSERT_TRUE(cache_.LoadItem(path));
  cache_.CurrentMeta().points4Item = true;
  cache_.CurrentMeta().sendTo = "A Name Longer Than Eighteen";
  cache_.CurrentMeta().addedItem = Day(3, 4, 2025, 12);
  cache_.CurrentMeta().sentAt = Day(4, 4, 2025);
  ASSERT_TRUE(cache_.StoreItemInfo(path));
  EXPECT_EQ(tmp_.read("A.IT0"),
            "[Iteminfos]\r\n"
            "SenderName=ABCDEFGHIJKLMNOPQR\r\n"
            "Remark=keep\r\n"
            "SendTo=A Name Longer Than\r\n"
            "Points4Item=1\r\n"
            "public=0\r\n"
            "Points4ItemAt=06.12.2026\r\n"
            "AddedItem=03.04.2025\r\n"
            "SentAt=04.04.2025\r\n"
            "[Own]\r\n"
            "x=1\r\n");
  const ItemEntry* entry = cache_.Find(path);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->Meta().sendTo, "A Name Longer Than");
  EXPECT_EQ(entry->Meta().addedItem, Day(3, 4, 2025, 12));  // the cache keeps the time of day
}

TEST_F(ItemCacheTest, StoreForAPathNeverLoadedWritesNothing) {
  const std::string path = WriteItem("A.ITM", RecordBuilder());
  EXPECT_TRUE(cache_.StoreItemInfo(path));
  EXPECT_FALSE(Exists(tmp_.file("A.IT0")));
}

TEST_F(ItemCacheTest, FailedStoreIsReportedAndTheCacheKeepsTheNewValues) {
  const std::string path = WriteItem("SUB/A.ITM", RecordBuilder());
  ASSERT_TRUE(cache_.LoadItem(path));
  std::filesystem::remove_all(tmp_.file("SUB"));
  tmp_.write("SUB", "a regular file where the directory was");
  cache_.CurrentMeta().senderName = "Bob";
  const Status stored = cache_.StoreItemInfo(path);
  ASSERT_FALSE(stored);
  EXPECT_NE(stored.error().find(SidecarPath(path)), std::string::npos) << stored.error();
  EXPECT_EQ(cache_.Find(path)->Meta().senderName, "Bob");
}

TEST_F(ItemCacheTest, MoveTakesTheSidecarAlongAndRecordsTheNewPath) {
  const std::string source = WriteItem("POOL/A.ITM", RecordBuilder().ident(0x10).itemClass(2));
  tmp_.write("POOL/A.IT0", "[Iteminfos]\r\nSenderName=Bob\r\n");
  ASSERT_TRUE(cache_.LoadItem(source));
  const std::string destination = tmp_.mkdir("SENT") + "/B.ITM";
  EXPECT_TRUE(cache_.MoveItem(source, destination));
  EXPECT_FALSE(Exists(source));
  EXPECT_FALSE(Exists(tmp_.file("POOL/A.IT0")));
  EXPECT_TRUE(Exists(destination));
  EXPECT_EQ(tmp_.read("SENT/B.IT0"), "[Iteminfos]\r\nSenderName=Bob\r\n");
  EXPECT_EQ(cache_.Find(source), nullptr);
  ASSERT_NE(cache_.Find(destination), nullptr);
  EXPECT_EQ(cache_.CurrentMeta().senderName, "Bob");
  EXPECT_EQ(KeyTexts(cache_),
            (std::set<std::string, PathLess>{"0000001002" + source, "0000001002" + destination}));
}

TEST_F(ItemCacheTest, MoveWithoutSidecarGivesDefaultMetadata) {
  const std::string source = WriteItem("A.ITM", RecordBuilder());
  const std::string destination = tmp_.file("B.ITM");
  EXPECT_TRUE(cache_.MoveItem(source, destination));  // loads the source itself
  EXPECT_TRUE(Exists(destination));
  EXPECT_EQ(cache_.CurrentMeta().senderName, "");
  EXPECT_EQ(cache_.CurrentMeta().addedItem, FileDate(destination));
}

TEST_F(ItemCacheTest, MoveKeepsTheEntryWithoutReadingTheItemFileAgain) {
  const std::string source = WriteItem("A.ITM", RecordBuilder().ident(7).name("first"));
  tmp_.write("A.IT0", "[Iteminfos]\r\nSenderName=Bob\r\nAddedItem=01.11.2026\r\n");
  const std::string destination = tmp_.file("B.ITM");
  // A cached entry of a file once at the destination, now gone.
  const std::string stale = WriteItem("B.ITM", RecordBuilder().ident(9).name("stale"));
  ASSERT_TRUE(cache_.LoadItem(stale));
  std::filesystem::remove(stale);
  ASSERT_TRUE(cache_.LoadItem(source));
  const ItemEntry* entry = cache_.Find(source);
  ASSERT_NE(entry, nullptr);
  // The entry stays where it is in memory (a scan's list points at it) and moves to the new path.
  ASSERT_TRUE(cache_.MoveItem(source, destination));
  EXPECT_EQ(cache_.Find(destination), entry);
  EXPECT_EQ(cache_.CurrentEntry(), entry);
  EXPECT_EQ(cache_.CurrentItem().Name(), "first");
  EXPECT_EQ(cache_.CurrentMeta().senderName, "Bob");
  EXPECT_EQ(cache_.CurrentMeta().addedItem, Day(1, 11, 2026));
  EXPECT_EQ(cache_.size(), 1u);
  // Without a sidecar the moved entry holds what a missing sidecar gives, dated by the clock now.
  clock_.Set(Day(7, 12, 2026, 9));
  const std::string third = tmp_.file("C.ITM");
  std::filesystem::remove(tmp_.file("B.IT0"));
  ASSERT_TRUE(cache_.MoveItem(destination, third));
  EXPECT_EQ(cache_.Find(third), entry);
  EXPECT_EQ(entry->Meta().senderName, "");
  EXPECT_EQ(entry->Meta().points4ItemAt, Day(7, 12, 2026, 9));
  EXPECT_EQ(entry->Meta().addedItem, FileDate(third));
}

TEST_F(ItemCacheTest, MoveOntoAnExistingFileChangesNothing) {
  const std::string source = WriteItem("A.ITM", RecordBuilder().ident(1));
  tmp_.write("A.IT0", "[Iteminfos]\r\nSenderName=A\r\n");
  const std::string destination = WriteItem("B.ITM", RecordBuilder().ident(2));
  tmp_.write("B.IT0", "[Iteminfos]\r\nSenderName=B\r\n");
  const Status moved = cache_.MoveItem(source, destination);
  ASSERT_FALSE(moved);
  EXPECT_EQ(moved.kind(), ErrorKind::kTargetExists);
  EXPECT_NE(moved.error().find(destination), std::string::npos) << moved.error();
  EXPECT_EQ(tmp_.read("A.ITM"), RecordBuilder().ident(1).bytes());
  EXPECT_EQ(tmp_.read("B.ITM"), RecordBuilder().ident(2).bytes());
  EXPECT_EQ(tmp_.read("A.IT0"), "[Iteminfos]\r\nSenderName=A\r\n");
  EXPECT_EQ(tmp_.read("B.IT0"), "[Iteminfos]\r\nSenderName=B\r\n");
  EXPECT_NE(cache_.Find(source), nullptr);
  EXPECT_EQ(cache_.Find(destination), nullptr);
}

TEST_F(ItemCacheTest, SidecarThatCannotFollowBringsTheItemBack) {
  const std::string source = WriteItem("A.ITM", RecordBuilder().ident(1));
  tmp_.write("A.IT0", "[Iteminfos]\r\nSenderName=A\r\n");
  tmp_.write("B.IT0", "[Iteminfos]\r\nSenderName=stale\r\n");  // blocks the sidecar's move
  const std::string destination = tmp_.file("B.ITM");
  const Status moved = cache_.MoveItem(source, destination);
  ASSERT_FALSE(moved);
  EXPECT_EQ(moved.kind(), ErrorKind::kMoveFailed);
  EXPECT_NE(moved.error().find(tmp_.file("B.IT0")), std::string::npos) << moved.error();
  EXPECT_EQ(tmp_.read("A.ITM"), RecordBuilder().ident(1).bytes());
  EXPECT_EQ(tmp_.read("A.IT0"), "[Iteminfos]\r\nSenderName=A\r\n");
  EXPECT_FALSE(Exists(destination));
  EXPECT_EQ(tmp_.read("B.IT0"), "[Iteminfos]\r\nSenderName=stale\r\n");
  EXPECT_NE(cache_.Find(source), nullptr);
}

// The two parts of a move: the files move without the cache taking note, and the cache follows
// when told. Which sidecar goes depends on what the caller's listing said of it.
TEST_F(ItemCacheTest, TheFilesOfAMoveGoFirstAndTheCacheFollowsWhenTold) {
  using Seen = ItemCache::SidecarSeen;
  const struct {
    Seen seen;
    const char* sidecarOnDisk;  // the sidecar's file name beside A.ITM, or null
    bool sidecarMoves;          // what MoveItemFiles tells, and whether B.IT0 is there after it
    const char* senderAfter;    // the moved entry's sender
  } cases[] = {
      {Seen::kListed, "A.IT0", true, "Listed"},      // the entry keeps what it read: "Listed"
      {Seen::kListed, nullptr, false, ""},           // listed, gone since: the item moves alone, without one
      {Seen::kNotListed, "A.IT0", false, "Listed"},  // came after the listing: left to the caller
      {Seen::kUnknown, "A.it0", true, "Moved"},      // looked for in any letter case, read anew
      {Seen::kUnknown, nullptr, false, ""},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string dir = "m" + std::to_string(++n) + "/";
    SCOPED_TRACE(dir);
    const std::string source = WriteItem(dir + "A.ITM", RecordBuilder().ident(n));
    tmp_.write(dir + "A.IT0", "[Iteminfos]\r\nSenderName=Listed\r\n");
    ASSERT_TRUE(cache_.LoadItem(source));
    std::filesystem::remove(tmp_.file(dir + "A.IT0"));
    if (c.sidecarOnDisk != nullptr) tmp_.write(dir + c.sidecarOnDisk, "[Iteminfos]\r\nSenderName=Moved\r\n");
    const std::string destination = tmp_.file(dir + "B.ITM");
    auto moved = ItemCache::MoveItemFiles(source, destination, c.seen);
    ASSERT_TRUE(moved) << moved.error();
    EXPECT_EQ(*moved, c.sidecarMoves);
    EXPECT_TRUE(Exists(destination));
    EXPECT_EQ(Exists(tmp_.file(dir + "B.IT0")), c.sidecarMoves);
    EXPECT_EQ(FileNames(tmp_.file(dir)).size(), c.sidecarOnDisk != nullptr ? 2u : 1u);
    // The cache has not seen the move yet.
    EXPECT_NE(cache_.Find(source), nullptr);
    EXPECT_EQ(cache_.Find(destination), nullptr);
    cache_.FollowMove(source, destination, c.seen, *moved);
    EXPECT_EQ(cache_.Find(source), nullptr);
    ASSERT_NE(cache_.Find(destination), nullptr);
    EXPECT_EQ(cache_.Find(destination)->Meta().senderName, c.senderAfter);
    EXPECT_EQ(cache_.CurrentEntry(), cache_.Find(destination));
  }
}

TEST_F(ItemCacheTest, MoveToItselfDoesNotEvenLoad) {
  const std::string path = tmp_.file("MISSING.ITM");
  EXPECT_TRUE(cache_.MoveItem(path, path));
  EXPECT_EQ(cache_.size(), 0u);
  const Status moved = cache_.MoveItem(path, tmp_.file("B.ITM"));
  ASSERT_FALSE(moved);
  EXPECT_NE(moved.error().find(path), std::string::npos) << moved.error();
}

TEST_F(ItemCacheTest, ListedDirectoryWithoutTheSidecarGivesDefaultsWithoutLookingForIt) {
  const std::string a = WriteItem("A.ITM", RecordBuilder().ident(1));
  const std::string b = WriteItem("B.ITM", RecordBuilder().ident(2));
  tmp_.write("A.IT0", "[Iteminfos]\r\nSenderName=Alice\r\n");
  auto entries = ListDirectory(tmp_.path());
  ASSERT_TRUE(entries) << entries.error();
  const SidecarListing listing(*entries);
  // Written after the listing: the load goes by the listing.
  tmp_.write("B.IT0", "[Iteminfos]\r\nSenderName=Bob\r\n");

  ASSERT_TRUE(cache_.LoadItem(a, listing));
  EXPECT_EQ(cache_.CurrentMeta().senderName, "Alice");
  ASSERT_TRUE(cache_.LoadItem(b, listing));
  EXPECT_EQ(cache_.CurrentMeta().senderName, "");
  EXPECT_EQ(cache_.CurrentMeta().points4ItemAt, clock_.Now());
  EXPECT_EQ(cache_.CurrentMeta().addedItem, FileDate(b));
  EXPECT_EQ(cache_.CurrentEntry(), cache_.Find(b));

  // Without a listing a first load always looks; a cached path is not read again either way.
  ItemCache fresh(clock_);
  ASSERT_TRUE(fresh.LoadItem(b));
  EXPECT_EQ(fresh.CurrentMeta().senderName, "Bob");
  ASSERT_TRUE(cache_.LoadItem(b));
  EXPECT_EQ(cache_.CurrentMeta().senderName, "");
}

TEST_F(ItemCacheTest, MakeCurrentIsALoadOfACachedPath) {
  const std::string a = WriteItem("A.ITM", RecordBuilder().ident(1).name("First"));
  const std::string b = WriteItem("B.ITM", RecordBuilder().ident(2).name("Second"));
  tmp_.write("A.IT0", "[Iteminfos]\r\nSenderName=Alice\r\n");
  ASSERT_TRUE(cache_.LoadItem(a));
  const ItemEntry* first = cache_.CurrentEntry();
  ASSERT_TRUE(cache_.LoadItem(b));
  cache_.CurrentMeta().senderName = "unsaved";
  cache_.MakeCurrent(*first);
  EXPECT_EQ(cache_.CurrentEntry(), first);
  EXPECT_EQ(cache_.CurrentItem().Name(), "First");
  EXPECT_EQ(cache_.CurrentMeta().senderName, "Alice");
  EXPECT_FALSE(cache_.LoadItem(tmp_.file("MISSING.ITM")));
  EXPECT_EQ(cache_.CurrentEntry(), nullptr);
}

TEST_F(ItemCacheTest, DirectoriesThatDifferOnlyInLetterCaseHoldTwoItems) {
  const std::string upper = WriteItem("Dir/A.ITM", RecordBuilder().ident(1));
  const std::string lower = WriteItem("dir/A.ITM", RecordBuilder().ident(2));
  for (const std::string& path : {upper, lower}) ASSERT_TRUE(cache_.LoadItem(path));
  ASSERT_NE(cache_.Find(upper), nullptr);
  ASSERT_NE(cache_.Find(lower), nullptr);
  EXPECT_EQ(cache_.Find(upper)->Record().Ident(), 1u);
  EXPECT_EQ(cache_.Find(lower)->Record().Ident(), 2u);
  EXPECT_EQ(cache_.Find(upper)->Path(), upper);
  // Nothing is found in a directory no item came from, nor under a directory's name alone.
  EXPECT_EQ(cache_.Find(tmp_.file("DIR/A.ITM")), nullptr);
  EXPECT_EQ(cache_.Find(tmp_.file("Dir")), nullptr);
  EXPECT_EQ(cache_.Find("A.ITM"), nullptr);
}

TEST_F(ItemCacheTest, ManyItemsMovedInAndOutStayFindable) {
  // Enough paths that the index grows several times and moves have to close gaps in it; with room
  // made for them first, the index has a slot count that is not a power of two.
  for (const bool reserved : {false, true}) {
    SCOPED_TRACE(reserved ? "room made first" : "grown");
    ItemCache cache{clock_};
    if (reserved) cache.Reserve(299);
    const std::string tag = reserved ? "R" : "G";
    std::vector<std::string> paths;
    for (int i = 0; i < 300; ++i) {
      paths.push_back(WriteItem(tag + "P/I" + std::to_string(i) + ".ITM",
                                RecordBuilder().ident(static_cast<std::uint32_t>(i))));
      ASSERT_TRUE(cache.LoadItem(paths.back()));
    }
    const std::string moved = tmp_.mkdir(tag + "M");
    for (int i = 0; i < 300; ++i) {
      if (i % 3 == 0) {
        const std::string to = moved + "/I" + std::to_string(i) + ".ITM";
        ASSERT_TRUE(cache.MoveItem(paths[static_cast<std::size_t>(i)], to));
        paths[static_cast<std::size_t>(i)] = to;
      }
    }
    EXPECT_EQ(cache.size(), 300u);
    for (int i = 0; i < 300; ++i) {
      const ItemEntry* entry = cache.Find(paths[static_cast<std::size_t>(i)]);
      ASSERT_NE(entry, nullptr) << paths[static_cast<std::size_t>(i)];
      EXPECT_EQ(entry->Record().Ident(), static_cast<std::uint32_t>(i));
      if (i % 3 == 0) {
        EXPECT_EQ(cache.Find(tmp_.file(tag + "P/I" + std::to_string(i) + ".ITM")), nullptr);
      }
    }
    std::vector<std::string> sorted = paths;
    std::sort(sorted.begin(), sorted.end(), PathLess{});
    EXPECT_EQ(cache.Paths(), sorted);
  }
}

// The key list keeps numbers and entries instead of texts: through loads, moves, files changed by
// another program and items of one key in two places, it lists the texts a list of texts held.
TEST_F(ItemCacheTest, TheKeyListFollowsLoadsMovesAndChangesAsAListOfTexts) {
  std::set<std::string, PathLess> expected;
  std::vector<std::string> paths;
  auto key = [](std::uint32_t ident, std::uint8_t itemClass) {
    return RecordBuilder().ident(ident).itemClass(itemClass).build().ItemKey();
  };
  auto load = [&](const std::string& path) {
    ASSERT_TRUE(cache_.LoadItem(path));
    expected.insert(cache_.CurrentItem().ItemKey() + path);
  };
  tmp_.mkdir("pool");
  tmp_.mkdir("sent");
  for (std::uint32_t i = 0; i < 40; ++i) {
    // Every fourth item shares its key with the one before; names in both letter cases.
    const std::uint32_t ident = i % 4 == 3 ? 0xA000 + i - 1 : 0xA000 + i;
    const std::string name = (i % 2 == 0 ? "pool/item" : "pool/ITEM") + std::to_string(i) + ".ITM";
    paths.push_back(
        WriteItem(name, RecordBuilder().ident(ident).itemClass(static_cast<std::uint8_t>(i % 3))));
  }
  for (std::size_t i = 0; i < 20; ++i) load(paths[i]);
  ASSERT_EQ(KeyTexts(cache_), expected) << "made the first time";
  for (std::size_t i = 20; i < 40; ++i) load(paths[i]);

  // Moves: the old text stays, the new path gets one; one item goes there and back again.
  for (const std::size_t i : {1u, 3u, 22u, 39u}) {
    const std::string to = tmp_.file("sent/" + std::string(FileNamePart(paths[i])));
    expected.insert(cache_.Find(paths[i])->KeyText().substr(0, 10) + to);
    ASSERT_TRUE(cache_.MoveItem(paths[i], to));
    paths[i] = to;
  }
  EXPECT_EQ(KeyTexts(cache_), expected) << "after the moves";
  const std::string back = tmp_.file("pool/" + std::string(FileNamePart(paths[1])));
  ASSERT_TRUE(cache_.MoveItem(paths[1], back));
  paths[1] = back;
  EXPECT_EQ(KeyTexts(cache_), expected) << "moved back: both texts were there already";

  // Another program puts other items under two names: the next command reads them again.
  for (const std::size_t i : {5u, 30u}) {
    expected.erase(cache_.Find(paths[i])->KeyText());
    WriteItem("pool/" + std::string(FileNamePart(paths[i])), RecordBuilder().ident(0xB000 + i).itemClass(1));
  }
  cache_.NewCommand();
  for (const std::size_t i : {5u, 30u}) load(paths[i]);
  EXPECT_EQ(KeyTexts(cache_), expected) << "after the changes";
  EXPECT_EQ(cache_.KeyList().count(key(0xB000 + 5, 1) + paths[5]), 1u);
  EXPECT_EQ(cache_.KeyList().count(key(0xA000 + 5, 2) + paths[5]), 0u);

  // The numbers follow the texts' keys, and texts with one key stand together.
  const ItemKeyList& list = cache_.KeyList();
  for (std::size_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(list.Key(i) + list.Path(i), list.Text(i));
    // Moved away, moved back, read anew: the entry at each text's path is the one Find gives.
    EXPECT_EQ(list.EntryAt(i), cache_.Find(list.Path(i))) << list.Text(i);
    if (i > 0) {
      EXPECT_EQ(list.KeyNumber(i - 1) == list.KeyNumber(i), list.Key(i - 1) == list.Key(i)) << i;
      EXPECT_LE(list.KeyNumber(i - 1), list.KeyNumber(i));
    }
  }
}

// An entry tells its record's item key without unpacking it, whatever the ident's bytes.
TEST_F(ItemCacheTest, AnEntryTellsTheItemKeyOfItsRecord) {
  tmp_.mkdir("pool");
  for (const std::uint32_t ident : {0u, 1u, 0x100u, 0xFF000000u, 0x00FF00FFu, 0xFFFFFFFFu}) {
    for (const std::uint8_t itemClass : {std::uint8_t{0}, std::uint8_t{12}, std::uint8_t{255}}) {
      const std::string path =
          WriteItem("pool/K" + std::to_string(ident) + "-" + std::to_string(itemClass) + ".ITM",
                    RecordBuilder().ident(ident).itemClass(itemClass));
      ASSERT_TRUE(cache_.LoadItem(path));
      const ItemEntry* entry = cache_.Find(path);
      ASSERT_NE(entry, nullptr);
      EXPECT_EQ(entry->ItemKey(), entry->Record().ItemKey()) << ident << " " << int{itemClass};
      EXPECT_EQ(entry->KeyNumber(), std::uint64_t{ident} << 8 | itemClass);
      EXPECT_EQ(entry->KeyText(), entry->Record().ItemKey() + path);
    }
  }
}

// A run that never reads the key list keeps nothing for it; its loads and moves are as ever, and
// asking for the list afterwards is an error, not a list that lacks the moved paths.
TEST_F(ItemCacheTest, ALeftOutKeyListCannotBeReadButLoadsAndMovesGoOn) {
  tmp_.mkdir("pool");
  tmp_.mkdir("sent");
  const std::string first = WriteItem("pool/A.ITM", RecordBuilder().ident(0xA1));
  const std::string second = WriteItem("pool/B.ITM", RecordBuilder().ident(0xB2));
  ASSERT_TRUE(cache_.LoadItem(first));
  cache_.LeaveOutKeyList();
  ASSERT_TRUE(cache_.LoadItem(second));
  const std::string to = tmp_.file("sent/B.ITM");
  ASSERT_TRUE(cache_.MoveItem(second, to));
  ASSERT_NE(cache_.Find(to), nullptr);
  EXPECT_EQ(cache_.Find(to)->Record().Ident(), 0xB2u);
  EXPECT_EQ(cache_.Find(second), nullptr);
  EXPECT_EQ(cache_.CurrentEntry(), cache_.Find(to));
  EXPECT_EQ(cache_.Paths(), (std::vector<std::string>{first, to}));
  EXPECT_THROW((void)cache_.KeyList(), std::logic_error);
}

// A run that forgets its moved items moves their files as ever; the entries go, one that stood at
// the destination too, the item left behind stays, and no current item is left over from a move.
TEST_F(ItemCacheTest, ForgottenMovesTakeTheirFilesAlongAndLeaveNoEntryBehind) {
  tmp_.mkdir("pool");
  const std::string first = WriteItem("pool/A.ITM", RecordBuilder().ident(0xA1));
  const std::string second = WriteItem("pool/B.ITM", RecordBuilder().ident(0xB2));
  const std::string stale = WriteItem("pool/C.ITM", RecordBuilder().ident(0xC3));
  tmp_.write("pool/A.IT0", "[Iteminfos]\r\nSenderName=Bob\r\n");
  for (const std::string& path : {first, second, stale}) ASSERT_TRUE(cache_.LoadItem(path));
  // C's file goes by hand: its entry stays until a move is made onto its name.
  std::filesystem::remove(stale);
  cache_.ForgetMovedItems();
  const std::string to = tmp_.file("pool/D.ITM");
  ASSERT_TRUE(cache_.MoveItem(first, to));
  EXPECT_TRUE(Exists(to));
  EXPECT_EQ(tmp_.read("pool/D.IT0"), "[Iteminfos]\r\nSenderName=Bob\r\n");
  EXPECT_FALSE(Exists(first));
  EXPECT_EQ(cache_.Find(first), nullptr);
  EXPECT_EQ(cache_.Find(to), nullptr);
  EXPECT_EQ(cache_.CurrentEntry(), nullptr);
  EXPECT_EQ(cache_.CurrentMeta().senderName, "");
  ASSERT_TRUE(cache_.MoveItem(second, stale));
  EXPECT_EQ(cache_.Find(stale), nullptr);
  EXPECT_EQ(cache_.Paths(), std::vector<std::string>{});
  // A late sidecar cannot be read into an entry that is gone; nothing breaks.
  cache_.RefreshSidecar(to);
  EXPECT_EQ(cache_.Find(to), nullptr);
  EXPECT_THROW((void)cache_.KeyList(), std::logic_error);
  // A failed move keeps the entry, which is current as after a load.
  const std::string kept = WriteItem("pool/E.ITM", RecordBuilder().ident(0xE5));
  ASSERT_TRUE(cache_.LoadItem(kept));
  EXPECT_FALSE(cache_.MoveItem(kept, to));
  ASSERT_NE(cache_.Find(kept), nullptr);
  EXPECT_EQ(cache_.CurrentEntry(), cache_.Find(kept));
}

// An entry that keeps only names and keys names and keys its item as a whole one does: a name
// that fills its field and runs on into the bytes after it, a short one, an empty one. A load
// still makes the whole record current; the entry has the file date but not the sidecar's values.
TEST_F(ItemCacheTest, AnEntryOfNamesAndKeysGivesTheWholeItemsNameKeyAndDate) {
  const std::string runOn(offset::kIdentifiedNameEnd - offset::kIdentifiedName, 'W');
  const std::vector<RecordBuilder> items{
      RecordBuilder().ident(0xDEADBEEF).itemClass(3).name("Short Sword").price(1234).plainName("Sword"),
      RecordBuilder().ident(0x1).itemClass(0xFF).name(runOn).maxDamage(9),
      RecordBuilder().ident(0x00ABCDEF).itemClass(0).name(""),
  };
  cache_.KeepOnlyNamesAndKeys();
  tmp_.write("I0.IT0", "[Iteminfos]\r\nSenderName=Bob\r\n");
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string path = WriteItem("I" + std::to_string(i) + ".ITM", items[i]);
    ASSERT_TRUE(cache_.LoadItem(path));
    const ItemRecord whole = items[i].build();
    EXPECT_EQ(cache_.CurrentItem().bytes(), whole.bytes()) << i;
    const ItemEntry* entry = cache_.Find(path);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Record().Name(), whole.Name()) << i;
    EXPECT_EQ(entry->ItemKey(), whole.ItemKey()) << i;
    EXPECT_EQ(entry->KeyNumber(), std::uint64_t{whole.Ident()} << 8 | whole.ItemClass()) << i;
    EXPECT_EQ(entry->Record().ItemKey(), whole.ItemKey()) << i;
    EXPECT_EQ(entry->FileDate(), cache_.CurrentMeta().fileDate) << i;
    EXPECT_EQ(entry->Meta().senderName, "") << i;
    EXPECT_EQ(cache_.CurrentMeta().senderName, i == 0 ? "Bob" : "") << i;
  }
}

}  // namespace
}  // namespace relicor
