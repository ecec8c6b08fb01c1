#include <gtest/gtest.h>

#include <filesystem>

#include "platform/FileSystem.h"
#include "pool/QuickAssign.h"
#include "pool/Sidecar.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"
#include "support/TestDates.h"

namespace relicor {
namespace {

using test::RecordBuilder;
using test::TempDir;

using test::Day;

class QuickAssignTest : public ::testing::Test {
 protected:
  QuickAssignTest() : item_(tmp_.write("A.ITM", RecordBuilder().ident(0x11).bytes())) {}

  // The sidecar as the next start reads it.
  SidecarValues Stored() const { return ReadSidecar(tmp_.file("A.IT0"), 1.0, 2.0); }

  TempDir tmp_;
  FixedClock clock_{Day(6, 12, 2026, 14)};
  ItemCache cache_{clock_};
  std::string item_;
};

TEST_F(QuickAssignTest, SenderAssignWritesAllKeysAndNeverReplacesASender) {
  auto first = QuickSenderAssign(cache_, item_, "ABCDEFGHIJKLMNOPQRST");
  ASSERT_TRUE(first) << first.error();
  EXPECT_EQ(first->outcome, AssignOutcome::kAssigned);
  ASSERT_EQ(first->changed.size(), 1u);
  EXPECT_EQ(first->changed[0].key, "SenderName");
  EXPECT_EQ(first->changed[0].value, "ABCDEFGHIJKLMNOPQR");
  const std::string fileDay = *DateText(*FileModificationTime(item_));
  const std::string written = tmp_.read("A.IT0");
  EXPECT_EQ(written,
            "[Iteminfos]\r\nSenderName=ABCDEFGHIJKLMNOPQR\r\nSendTo=\r\nPoints4Item=0\r\npublic=0\r\n"
            "Points4ItemAt=06.12.2026\r\nAddedItem=" +
                fileDay + "\r\nSentAt=" + fileDay + "\r\n");

  for (const char* member : {"Eve", ""}) {
    auto again = QuickSenderAssign(cache_, item_, member);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->outcome,
              *member ? AssignOutcome::kSenderAlreadyRecorded : AssignOutcome::kNoMemberSelected);
  }
  tmp_.write("B.ITM", RecordBuilder().ident(0x22).bytes());
  tmp_.write("B.IT0", "[Iteminfos]\r\nSenderName=Alice\r\n");
  auto recorded = QuickSenderAssign(cache_, tmp_.file("B.ITM"), "Bob");
  ASSERT_TRUE(recorded);
  EXPECT_EQ(recorded->outcome, AssignOutcome::kSenderAlreadyRecorded);
  EXPECT_EQ(tmp_.read("B.IT0"), "[Iteminfos]\r\nSenderName=Alice\r\n");
  EXPECT_EQ(tmp_.read("A.IT0"), written);
  EXPECT_EQ(cache_.CurrentItem().Ident(), 0x22u);
}

TEST_F(QuickAssignTest, DateAssignActsOnlyOnceAlsoAfterARestart) {
  auto first = QuickDateAssign(cache_, clock_, item_);
  ASSERT_TRUE(first) << first.error();
  EXPECT_EQ(first->outcome, AssignOutcome::kAssigned);
  EXPECT_EQ(first->changed[0].value, "06.12.2026");
  EXPECT_EQ(cache_.Find(item_)->Meta().addedItem, Day(6, 12, 2026, 14));
  EXPECT_EQ(Stored().addedItem, Day(6, 12, 2026));
  const std::string written = tmp_.read("A.IT0");

  clock_.Set(Day(7, 12, 2026, 9));
  ItemCache restarted(clock_);
  for (ItemCache* cache : {&cache_, &restarted}) {
    auto again = QuickDateAssign(*cache, clock_, item_);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->outcome, AssignOutcome::kDateAlreadyAssigned);
  }
  EXPECT_EQ(tmp_.read("A.IT0"), written);
}

TEST_F(QuickAssignTest, PointAssignSetsTheFlagAndANewDateEveryTime) {
  ASSERT_TRUE(QuickPointAssign(cache_, clock_, item_));
  EXPECT_NE(tmp_.read("A.IT0").find("Points4Item=1\r\n"), std::string::npos);
  clock_.Set(Day(8, 12, 2026, 10));
  auto second = QuickPointAssign(cache_, clock_, item_);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->changed[1].key, "Points4ItemAt");
  EXPECT_EQ(second->changed[1].value, "08.12.2026");
  EXPECT_EQ(Stored().points4ItemAt, Day(8, 12, 2026));
}

TEST_F(QuickAssignTest, NoSelectionChangesNothing) {
  auto none = QuickPointAssign(cache_, clock_, "");
  ASSERT_TRUE(none);
  EXPECT_EQ(none->outcome, AssignOutcome::kNoFileSelected);
  EXPECT_EQ(cache_.size(), 0u);
  EXPECT_FALSE(std::filesystem::exists(tmp_.file("A.IT0")));
}

TEST_F(QuickAssignTest, AFailedSidecarWriteIsReportedAndCanBeRetried) {
  tmp_.mkdir("A.IT0");  // a directory where the sidecar should be
  auto failed = QuickDateAssign(cache_, clock_, item_);
  ASSERT_FALSE(failed);
  EXPECT_NE(failed.error().find("A.IT0"), std::string::npos) << failed.error();
  EXPECT_EQ(cache_.Find(item_)->Meta().addedItem, cache_.Find(item_)->Meta().fileDate);

  std::filesystem::remove(tmp_.file("A.IT0"));
  auto retried = QuickDateAssign(cache_, clock_, item_);
  ASSERT_TRUE(retried) << retried.error();
  EXPECT_EQ(retried->outcome, AssignOutcome::kAssigned);
}

}  // namespace
}  // namespace relicor
