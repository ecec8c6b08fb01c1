#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "pool/SendItem.h"
#include "pool/Sidecar.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"
#include "support/TestDates.h"

namespace relicor {
namespace {

using test::RecordBuilder;
using test::TempDir;

using test::Day;

class SendItemTest : public ::testing::Test {
 protected:
  SendItemTest() : sent_(tmp_.mkdir("sent")), item_(tmp_.write("pool/A.ITM", itemBytes_)) {}

  Result<SendResult> Send(ItemCache& cache, const std::string& sentDir) {
    return PrepareItemToSend(cache, clock_, item_, "Bob", sentDir, tmp_.path());
  }

  // Every file below the test directory with its content.
  std::map<std::string, std::string> Files() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(tmp_.path())) {
      const std::string relative = entry.path().string().substr(tmp_.path().size() + 1);
      files[relative] = entry.is_regular_file() ? tmp_.read(relative) : "";
    }
    return files;
  }

  TempDir tmp_;
  FixedClock clock_{Day(6, 12, 2026, 14)};
  ItemCache cache_{clock_};
  std::string itemBytes_ = RecordBuilder().ident(0x77).itemClass(1).bytes();
  std::string sent_;
  std::string item_;
};

TEST_F(SendItemTest, MovesTheItemWithItsSidecarAndRecordsTheRecipient) {
  tmp_.write("pool/A.IT0", "[Iteminfos]\r\nSenderName=Alice\r\n[Other]\r\nx=1\r\n");
  auto result = PrepareItemToSend(cache_, clock_, item_, "ABCDEFGHIJKLMNOPQRSTUV", sent_, tmp_.path());
  ASSERT_TRUE(result) << result.error();
  EXPECT_EQ(result->outcome, SendOutcome::kSent);
  EXPECT_EQ(result->destination, sent_ + "/A.ITM");
  ASSERT_EQ(result->written.size(), 2u);
  EXPECT_EQ(result->written[0].value, "ABCDEFGHIJKLMNOPQR");
  EXPECT_EQ(result->written[1].value, "06.12.2026");

  EXPECT_TRUE(std::filesystem::is_empty(tmp_.file("pool")));
  EXPECT_EQ(tmp_.read("sent/A.ITM"), itemBytes_);
  const SidecarValues stored = ReadSidecar(sent_ + "/A.IT0", 1.0, 2.0);
  EXPECT_EQ(stored.senderName, "Alice");
  EXPECT_EQ(stored.sendTo, "ABCDEFGHIJKLMNOPQR");
  EXPECT_EQ(stored.sentAt, Day(6, 12, 2026));
  EXPECT_NE(tmp_.read("sent/A.IT0").find("[Other]\r\nx=1\r\n"), std::string::npos);
  EXPECT_EQ(cache_.Find(item_), nullptr);
  ASSERT_NE(cache_.Find(sent_ + "/A.ITM"), nullptr);
  EXPECT_EQ(cache_.Find(sent_ + "/A.ITM")->Meta().sentAt, Day(6, 12, 2026));  // read back from the sidecar
}

TEST_F(SendItemTest, AFailedMoveChangesNothingAtAll) {
  // A file of the same name (seen before anything is written), and a link that points nowhere
  // (not seen as a file, so the move itself fails after the sidecar was written).
  tmp_.write("taken/A.ITM", "someone else's item");
  std::filesystem::create_directory(tmp_.file("dangling"));
  std::filesystem::create_symlink(tmp_.file("nowhere"), tmp_.file("dangling/A.ITM"));
  for (const char* sentDir : {"taken", "dangling"}) {
    for (const bool withSidecar : {false, true}) {
      if (withSidecar) tmp_.write("pool/A.IT0", "[Iteminfos]\r\nSendTo=Carl\r\nSentAt=bad\r\n");
      ItemCache cache(clock_);
      const auto before = Files();
      auto result = Send(cache, tmp_.file(sentDir));
      ASSERT_FALSE(result);
      EXPECT_EQ(result.kind(), ErrorKind::kMoveFailed) << sentDir;
      EXPECT_EQ(result.error().rfind("Konnte Datei nicht verschieben (", 0), 0u) << result.error();
      EXPECT_NE(result.error().find(tmp_.file(sentDir) + "/A.ITM"), std::string::npos) << result.error();
      EXPECT_EQ(result.failure().path, tmp_.file(sentDir) + "/A.ITM");
      EXPECT_EQ(Files(), before) << sentDir << withSidecar;
      const ItemEntry* entry = cache.Find(item_);
      ASSERT_NE(entry, nullptr);
      EXPECT_EQ(entry->Meta().sendTo, withSidecar ? "Carl" : "");
      EXPECT_EQ(entry->Meta().sentAt, entry->Meta().fileDate);
    }
    std::filesystem::remove(tmp_.file("pool/A.IT0"));
  }
}

TEST_F(SendItemTest, AnUnusableSentDirectoryIsRefused) {
  const std::string missing = tmp_.file("missing");
  const std::pair<std::string, std::string> rows[] = {
      {"", "No Sent-Directory assigned!"},
      {missing, "The Sent-Directory does not exist: " + missing},
      {item_, "The Sent-Directory does not exist: " + item_},
  };
  const auto before = Files();
  for (const auto& [sentDir, message] : rows) {
    auto result = Send(cache_, sentDir);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.kind(), ErrorKind::kNoSentDirectory);
    EXPECT_EQ(result.error(), message);
  }
  EXPECT_EQ(Files(), before);
}

TEST_F(SendItemTest, AFailedSidecarWriteIsReportedAndNothingMoves) {
  tmp_.mkdir("pool/A.IT0");
  auto result = Send(cache_, sent_);
  ASSERT_FALSE(result);
  EXPECT_NE(result.error().find("A.IT0"), std::string::npos) << result.error();
  EXPECT_TRUE(std::filesystem::is_empty(sent_));
  EXPECT_EQ(cache_.Find(item_)->Meta().sendTo, "");
}

}  // namespace
}  // namespace relicor
