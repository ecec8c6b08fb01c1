#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "pool/LateSidecars.h"
#include "support/TempDir.h"

namespace relicor {
namespace {

using test::FileNames;
using test::TempDir;

// A run of several batches over one directory, each batch moving some items whose sidecar the
// listing did not hold; the batches move the files themselves, as the run's moves do.
class LateSidecarsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"A", "B", "C", "D", "E"}) tmp_.write(std::string("pool/") + name + ".ITM", name);
    auto entries = ListDirectory(pool_);
    ASSERT_TRUE(entries);
    names_.AddDirectory(pool_ + "/", *entries);
  }

  // Moves `item` to `target` (bare names without extension) and looks for late sidecars.
  void Batch(const std::string& item, const std::string& target) {
    const std::string from = pool_ + "/" + item + ".ITM";
    const std::string to = pool_ + "/" + target + ".ITM";
    std::filesystem::rename(from, to);
    names_.Remove(from);
    names_.Add(to);
    look_.Note(names_);
    PathList fromList;
    PathList toList;
    fromList.Add(from);
    toList.Add(to);
    UnlistedMoves moved(fromList, toList);
    moved.Add(0, 0);
    const Status late = look_.Move(cache_, moved, names_, journal_);
    ASSERT_TRUE(late) << late.error();
  }

  TempDir tmp_;
  const std::string pool_ = tmp_.mkdir("pool");
  FixedClock clock_{46000.5};
  ItemCache cache_{clock_};
  ListedNames names_;
  MoveJournal journal_{pool_};
  LateSidecarLook look_;
};

TEST_F(LateSidecarsTest, ASidecarThatComesBetweenBatchesFollowsItsItem) {
  Batch("A", "Ring0001");
  EXPECT_EQ(look_.DirectoryReads(), 1u);
  // Nothing came but the run's own files and temporary files: the directory is not read again.
  const std::string temporary =
      tmp_.write("pool/RELICOR.JNL.tmp-" + std::to_string(::getpid()) + "-123456", "");
  std::filesystem::rename(temporary, journal_.path());
  names_.Add(journal_.path());
  names_.Add(tmp_.write("pool/RENAME.LOG", "log"));
  Batch("B", "Ring0002");
  EXPECT_EQ(look_.DirectoryReads(), 1u);

  tmp_.write("pool/C.IT0", "[Iteminfos]\r\nSenderName=Late\r\n");
  Batch("C", "Ring0003");
  EXPECT_EQ(tmp_.read("pool/Ring0003.IT0"), "[Iteminfos]\r\nSenderName=Late\r\n");
  EXPECT_EQ(look_.DirectoryReads(), 2u);
  EXPECT_TRUE(names_.Holds(pool_ + "/Ring0003.IT0"));
  // The moved sidecar is the run's own now: the next batch does not read again.
  Batch("D", "Ring0004");
  EXPECT_EQ(look_.DirectoryReads(), 2u);
}

TEST_F(LateSidecarsTest, ASidecarThatCameBeforeTheBatchOfItsItemIsNotLostWhenAnEarlierLookSawIt) {
  // E's sidecar comes while A and B move; the look after their batch sees it but E is not moved
  // yet. The system never tells that name again, so every later look reads the directory.
  Batch("A", "Ring0001");
  tmp_.write("pool/E.IT0", "[Iteminfos]\r\nSenderName=Early\r\n");
  tmp_.write("pool/notes.txt", "a file nobody moves");
  Batch("B", "Ring0002");
  Batch("C", "Ring0003");
  Batch("E", "Ring0005");
  EXPECT_EQ(tmp_.read("pool/Ring0005.IT0"), "[Iteminfos]\r\nSenderName=Early\r\n");
  EXPECT_EQ(FileNames(pool_), (std::set<std::string>{"Ring0001.ITM", "Ring0002.ITM", "Ring0003.ITM", "D.ITM",
                                                     "Ring0005.ITM", "Ring0005.IT0", "notes.txt"}));
  EXPECT_EQ(look_.DirectoryReads(), 4u);
}

}  // namespace
}  // namespace relicor
