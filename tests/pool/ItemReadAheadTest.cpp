#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "item/ItemFile.h"
#include "pool/ItemReadAhead.h"
#include "pool/Sidecar.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"

namespace relicor {
namespace {

using test::RecordBuilder;
using test::TempDir;

struct ModeGuard {
  explicit ModeGuard(ReadAheadMode mode) { SetReadAheadMode(mode); }
  ~ModeGuard() { SetReadAheadMode(ReadAheadMode::kAuto); }
};

// 600 item files (more than the read-ahead holds at once), every fifth with a sidecar; file 7
// is missing and file 9 too short.
class ItemReadAheadTest : public ::testing::Test {
 protected:
  ItemReadAheadTest() {
    std::vector<DirEntry> listed;
    for (int i = 0; i < 600; ++i) {
      const std::string name = "F" + std::to_string(i);
      names.push_back(name + ".ITM");
      paths.push_back(dir.file(name + ".ITM"));
      if (i == 7) continue;
      dir.write(name + ".ITM",
                i == 9 ? std::string(12, 'x') : RecordBuilder().ident(static_cast<std::uint32_t>(i)).bytes());
      if (i % 5 == 0) {
        dir.write(name + ".IT0", "[Iteminfos]\r\nSenderName=M" + std::to_string(i) + "\r\n");
        listed.push_back({name + ".IT0"});
      }
    }
    sidecars = SidecarListing(listed);
  }

  TempDir dir;
  std::vector<std::string> names;
  std::vector<std::string> paths;
  SidecarListing sidecars;
  ModeGuard on{ReadAheadMode::kOn};

  ItemReadAhead::NameOf Names() const {
    return [this](std::size_t i) -> std::string_view { return names[i]; };
  }
  std::string Directory() const { return dir.path() + "/"; }
};

TEST_F(ItemReadAheadTest, EachReadIsWhatOneThreadReadsInTheListsOrder) {
  ItemReadAhead ahead(Directory(), names.size(), Names(), &sidecars);
  for (std::size_t i = 0; i < paths.size(); ++i) {
    SCOPED_TRACE(paths[i]);
    auto read = ahead.Take(paths[i]);
    ASSERT_TRUE(read.has_value());
    const ItemRead direct = ReadItemAndSidecar(paths[i], &sidecars);
    ASSERT_EQ(read->file.ok(), direct.file.ok());
    if (!direct.file) {
      EXPECT_EQ(read->file.error(), direct.file.error());
      continue;
    }
    EXPECT_EQ(read->file->status, direct.file->status);
    EXPECT_EQ(read->file->record.view(), direct.file->record.view());
    EXPECT_EQ(read->file->fileDate, direct.file->fileDate);
    EXPECT_EQ(read->sidecarRead, i % 5 == 0 && i != 9);
    ASSERT_EQ(read->sidecar.has_value(), direct.sidecar.has_value());
    if (read->sidecar) {
      EXPECT_EQ(read->sidecar->Serialize(), direct.sidecar->Serialize());
    }
  }
  EXPECT_FALSE(ahead.Take(paths.back()).has_value());  // every read was taken
}

TEST_F(ItemReadAheadTest, APathFurtherOnDropsTheReadsBeforeIt) {
  ItemReadAhead ahead(Directory(), names.size(), Names(), &sidecars);
  ASSERT_TRUE(ahead.Take(paths[0]));
  auto later = ahead.Take(paths[20]);
  ASSERT_TRUE(later);
  EXPECT_EQ(later->file->record.view(), RecordBuilder().ident(20).bytes());
  EXPECT_FALSE(ahead.Take(paths[5]));  // dropped
  EXPECT_FALSE(ahead.Take(dir.file("OTHER.ITM")));
  EXPECT_TRUE(ahead.Take(paths[21]));    // the order goes on after a path it does not hold
  EXPECT_FALSE(ahead.Take(paths[590]));  // too far ahead: the caller reads it
  EXPECT_TRUE(ahead.Take(paths[22]));
}

TEST_F(ItemReadAheadTest, ListsOfEveryLengthAroundTheBatchesAndTheWindowAreReadWhole) {
  // Lengths at the edges of a claimed run (8) and of the window (128); taken one by one, or every
  // other one (the one between is dropped), by a taker that reads what no worker has claimed.
  for (const std::size_t count : {8u, 9u, 15u, 16u, 17u, 127u, 128u, 129u, 255u, 256u, 257u, 600u}) {
    for (const std::size_t step : {1u, 2u}) {
      SCOPED_TRACE(std::to_string(count) + " files, step " + std::to_string(step));
      ItemReadAhead ahead(Directory(), count, Names(), &sidecars);
      for (std::size_t i = 0; i < count; i += step) {
        auto read = ahead.Take(paths[i]);
        ASSERT_TRUE(read.has_value()) << i;
        if (i != 7 && i != 9) {
          EXPECT_EQ(read->file->record.Ident(), i);
        }
      }
    }
  }
}

TEST_F(ItemReadAheadTest, JumpsPastRunsNobodyClaimedYetGiveTheWantedRead) {
  // The taker reads what no worker has claimed itself: wanting a path a few runs on reads and
  // drops the runs before it, and never hands out a read of another file.
  for (const std::size_t step : {3u, 9u, 37u, 127u}) {
    SCOPED_TRACE("step " + std::to_string(step));
    ItemReadAhead ahead(Directory(), names.size(), Names(), &sidecars);
    for (std::size_t i = 0; i < paths.size(); i += step) {
      auto read = ahead.Take(paths[i]);
      ASSERT_TRUE(read.has_value()) << i;
      if (i == 7) {
        EXPECT_FALSE(read->file) << "a missing file is an error";
      } else if (i != 9) {
        ASSERT_TRUE(read->file) << i;
        EXPECT_EQ(read->file->record.Ident(), i);
        EXPECT_EQ(read->sidecar.has_value(), i % 5 == 0) << i;
      }
    }
  }
}

TEST_F(ItemReadAheadTest, StopsWithReadsNotTakenAndReadsNothingWhenOff) {
  { ItemReadAhead ahead(Directory(), names.size(), Names(), &sidecars); }  // must not wait for a taker
  ModeGuard off(ReadAheadMode::kOff);
  ItemReadAhead ahead(Directory(), names.size(), Names(), &sidecars);
  EXPECT_FALSE(ahead.Take(paths[0]));
  EXPECT_EQ(ReadAheadThreads(1000), 0u);
}

TEST(ReadAheadThreadsTest, AtLeastOneForManyFilesAndNoneForAFew) {
  ModeGuard on(ReadAheadMode::kOn);
  EXPECT_GE(ReadAheadThreads(1000), 1u);
  EXPECT_EQ(ReadAheadThreads(3), 0u);
}

// A read for entries nobody looks at again leaves out the item file's date only where the sidecar
// gives both dates it stands in for: every value an entry takes is the same as a full read's.
TEST(ReadItemAndSidecarTest, LeavesOutTheFileDateOnlyWhereTheSidecarGivesBothDates) {
  struct Case {
    const char* name;
    const char* sidecarName;  // nullptr: no sidecar
    std::string sidecar;      // its text; "FIFO", "LINK" and "LARGE" make such a file instead
    bool dateLeftOut;
  };
  const std::string dated = "[Iteminfos]\r\nSenderName=Max\r\nAddedItem=02.01.2026\r\nSentAt=03.01.2026\r\n";
  const std::vector<Case> cases = {
      {"BOTH", "BOTH.IT0", dated, true},
      {"LOWER", "LOWER.it0", dated, true},
      {"ADDED", "ADDED.IT0", "[Iteminfos]\r\nAddedItem=02.01.2026\r\n", false},
      {"SENT", "SENT.IT0", "[Iteminfos]\r\nSentAt=03.01.2026\r\n", false},
      {"BADDATE", "BADDATE.IT0", "[Iteminfos]\r\nAddedItem=02.01.2026\r\nSentAt=32.01.2026\r\n", false},
      {"OTHERSECTION", "OTHERSECTION.IT0", "[Other]\r\nAddedItem=02.01.2026\r\nSentAt=03.01.2026\r\n", false},
      {"EMPTY", "EMPTY.IT0", "", false},
      {"NONE", nullptr, "", false},
      {"FIFO", "FIFO.IT0", "FIFO", false},
      {"LINK", "LINK.IT0", "LINK", false},
      {"LARGE", "LARGE.IT0", "LARGE", false},
  };
  TempDir dir;
  const auto fileTime = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 40);
  for (const Case& c : cases) {
    dir.write(std::string(c.name) + ".ITM", RecordBuilder().ident(7).bytes());
    std::filesystem::last_write_time(dir.file(std::string(c.name) + ".ITM"), fileTime);
    if (c.sidecarName == nullptr) continue;
    const std::string sidecar = dir.file(c.sidecarName);
    if (c.sidecar == "FIFO") {
      ASSERT_EQ(::mkfifo(sidecar.c_str(), 0644), 0);
    } else if (c.sidecar == "LINK") {
      std::filesystem::create_symlink(dir.file("BOTH.IT0"), sidecar);
    } else if (c.sidecar == "LARGE") {
      dir.write(c.sidecarName, dated + std::string(kMaxSidecarBytes, ';'));
    } else {
      dir.write(c.sidecarName, c.sidecar);
    }
  }
  dir.write("SHORT.ITM", "too short");
  dir.write("SHORT.IT0", dated);
  auto entries = ListDirectory(dir.path());
  ASSERT_TRUE(entries) << entries.error();
  const SidecarListing listing(*entries);
  const DirectoryHandle in(dir.path() + "/");

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.file(std::string(c.name) + ".ITM");
    const ItemRead full = ReadItemAndSidecar(path, &listing, &in, ItemFileDate::kRead);
    const ItemRead some = ReadItemAndSidecar(path, &listing, &in, ItemFileDate::kOnlyWhereNeeded);
    ASSERT_TRUE(full.file && some.file);
    ASSERT_NE(full.file->fileDate, 0);
    EXPECT_EQ(some.file->fileDate == 0, c.dateLeftOut);
    EXPECT_EQ(some.file->stamp == kUnknownFileStamp, c.dateLeftOut);
    EXPECT_EQ(some.file->record.view(), full.file->record.view());
    EXPECT_EQ(some.sidecarRead, full.sidecarRead);
    EXPECT_EQ(some.sidecarProblem, full.sidecarProblem);
    ASSERT_EQ(some.sidecar.has_value(), full.sidecar.has_value());
    const Ini none;
    const SidecarValues a =
        SidecarValuesFromIni(full.sidecar ? *full.sidecar : none, 1.0, full.file->fileDate);
    const SidecarValues b =
        SidecarValuesFromIni(some.sidecar ? *some.sidecar : none, 1.0, some.file->fileDate);
    EXPECT_EQ(b.senderName, a.senderName);
    EXPECT_EQ(b.addedItem, a.addedItem);
    EXPECT_EQ(b.sentAt, a.sentAt);
    // A rename run's read: every file's date and identity, only the sidecar's identity left out.
    const ItemRead dated = ReadItemAndSidecar(path, &listing, &in, ItemFileDate::kReadSidecarUnstamped);
    ASSERT_TRUE(dated.file);
    EXPECT_EQ(dated.file->fileDate, full.file->fileDate);
    EXPECT_EQ(dated.file->stamp, full.file->stamp);
    EXPECT_EQ(dated.sidecarRead, full.sidecarRead);
    EXPECT_EQ(dated.sidecarProblem, full.sidecarProblem);
    EXPECT_EQ(dated.sidecar.has_value(), full.sidecar.has_value());
    if (dated.sidecar) {
      EXPECT_EQ(dated.sidecarStamp, kUnknownFileStamp);
    }
  }
  // A file too short to be an item is that, whatever its sidecar holds.
  const ItemRead shortRead =
      ReadItemAndSidecar(dir.file("SHORT.ITM"), &listing, &in, ItemFileDate::kOnlyWhereNeeded);
  ASSERT_TRUE(shortRead.file);
  EXPECT_EQ(shortRead.file->status, ItemFileStatus::kNotAnItem);
  EXPECT_FALSE(shortRead.sidecarRead);
  EXPECT_FALSE(shortRead.sidecar.has_value());
}

// Read ahead, where the workers read their runs in batches, every read is what the usual read of
// the file gives, in each way of asking for the dates: items of every kind beside sidecars of
// every kind, sidecars too large for a batch among them.
TEST(ItemReadAheadBatchTest, EveryReadIsTheUsualOneInEachWayOfAskingForDates) {
  struct Case {
    const char* item;     // "<DIR>", "<FIFO>", "<MISSING>", "<SHORT>" or an item
    const char* sidecar;  // nullptr: none; "<FIFO>", "<LINK>", "<LARGE>", "<LOWER>" or its text
  };
  const char* dated = "[Iteminfos]\r\nSenderName=Max\r\nAddedItem=02.01.2026\r\nSentAt=03.01.2026\r\n";
  const char* undated = "[Iteminfos]\r\nSenderName=Moritz\r\n";
  const std::vector<Case> cases = {
      {"item", nullptr},  {"item", dated},      {"item", undated},    {"item", ""},
      {"item", "<FIFO>"}, {"item", "<LINK>"},   {"item", "<LARGE>"},  {"item", "<LOWER>"},
      {"<SHORT>", dated}, {"<MISSING>", dated}, {"<DIR>", nullptr},   {"<FIFO>", undated},
      {"item", "<BIG>"},  {"item", dated},      {"item", nullptr},    {"item", undated},
      {"item", dated},    {"item", nullptr},    {"<SHORT>", nullptr}, {"item", dated},
  };
  TempDir dir;
  std::vector<std::string> names;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    const std::string stem = "F" + std::to_string(i);
    names.push_back(stem + ".ITM");
    const std::string item = c.item;
    if (item == "<DIR>") {
      dir.mkdir(names.back());
    } else if (item == "<FIFO>") {
      ASSERT_EQ(::mkfifo(dir.file(names.back()).c_str(), 0644), 0);
    } else if (item == "<SHORT>") {
      dir.write(names.back(), "short");
    } else if (item != "<MISSING>") {
      dir.write(names.back(), RecordBuilder().ident(static_cast<std::uint32_t>(i)).bytes());
    }
    if (c.sidecar == nullptr) continue;
    const std::string sidecar = c.sidecar;
    const std::string path = dir.file(stem + ".IT0");
    if (sidecar == "<FIFO>") {
      ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    } else if (sidecar == "<LINK>") {
      std::filesystem::create_symlink(dir.file("F1.IT0"), path);
    } else if (sidecar == "<LARGE>") {
      dir.write(stem + ".IT0", dated + std::string(kMaxSidecarBytes, ';'));
    } else if (sidecar == "<BIG>") {
      dir.write(stem + ".IT0", dated + std::string(5000, ';'));  // beyond what a batch reads
    } else if (sidecar == "<LOWER>") {
      dir.write(stem + ".it0", dated);
    } else {
      dir.write(stem + ".IT0", sidecar);
    }
  }
  auto entries = ListDirectory(dir.path());
  ASSERT_TRUE(entries) << entries.error();
  const SidecarListing listing(*entries);
  const DirectoryHandle in(dir.path() + "/");
  ModeGuard on(ReadAheadMode::kOn);

  for (const ItemFileDate date : {ItemFileDate::kRead, ItemFileDate::kLeftOut, ItemFileDate::kOnlyWhereNeeded,
                                  ItemFileDate::kReadSidecarUnstamped}) {
    SCOPED_TRACE(static_cast<int>(date));
    ItemReadAhead ahead(
        dir.path() + "/", names.size(), [&](std::size_t i) -> std::string_view { return names[i]; }, &listing,
        date);
    for (std::size_t i = 0; i < names.size(); ++i) {
      SCOPED_TRACE(names[i]);
      const std::string path = dir.file(names[i]);
      auto read = ahead.Take(path);
      ASSERT_TRUE(read.has_value());
      const ItemRead usual = ReadItemAndSidecar(path, &listing, &in, date);
      ASSERT_EQ(read->file.ok(), usual.file.ok());
      if (!usual.file) {
        EXPECT_EQ(read->file.error(), usual.file.error());
        continue;
      }
      EXPECT_EQ(read->file->status, usual.file->status);
      EXPECT_EQ(read->file->size, usual.file->size);
      EXPECT_EQ(read->file->record.view(), usual.file->record.view());
      EXPECT_EQ(read->file->fileDate, usual.file->fileDate);
      EXPECT_EQ(read->file->stamp, usual.file->stamp);
      EXPECT_EQ(read->sidecarRead, usual.sidecarRead);
      EXPECT_EQ(read->sidecarProblem, usual.sidecarProblem);
      EXPECT_EQ(read->sidecarStamp, usual.sidecarStamp);
      ASSERT_EQ(read->sidecar.has_value(), usual.sidecar.has_value());
      if (usual.sidecar) {
        EXPECT_EQ(read->sidecar->Serialize(), usual.sidecar->Serialize());
      }
    }
  }
}

}  // namespace
}  // namespace relicor
