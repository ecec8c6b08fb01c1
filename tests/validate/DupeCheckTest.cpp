#include <gtest/gtest.h>

#include "support/RecordBuilder.h"
#include "support/TempDir.h"
#include "validate/DupeCheck.h"

namespace relicor {
namespace {

using test::RecordBuilder;
using test::TempDir;

// One run's block in the log around the given finding lines.
std::string Block(const std::string& lines) {
  return "06.12.2026 14:30:15 Start check\r\n"
         "DUPLICATED will mark files with same Item in it\r\n"
         "DUPE/HACK  will mark files with known dupes/hacks\r\n"
         "SAME SEED  will mark files with one item made twice\r\n"
         "\r\n" +
         lines + " done checking 06.12.2026 14:30:15\r\n";
}

class DupeCheckTest : public ::testing::Test {
 protected:
  DupeCheckTest() : pool_(tmp_.mkdir("pool")), sent_(tmp_.mkdir("sent")) {}

  // Writes an item file and returns its key list text: item key, then path.
  std::string Item(const std::string& relative, std::uint32_t ident, std::uint8_t itemClass = 1,
                   std::uint8_t baseItem = 0, std::uint8_t createInfo = 0) {
    const RecordBuilder item =
        RecordBuilder().ident(ident).itemClass(itemClass).baseItem(baseItem).createInfo(createInfo);
    return item.build().ItemKey() + tmp_.write(relative, item.bytes());
  }

  DupeCheckResult Check(const std::string& sentDir, bool subdirectories = false) {
    auto result = CheckForDuplicateItems(cache_, database_, pool_, sentDir, subdirectories, clock_);
    EXPECT_TRUE(result) << result.error();
    return result ? *result : DupeCheckResult();
  }
  std::string Log() const { return tmp_.read("pool/DUPECHK.TXT"); }

  TempDir tmp_;
  std::string pool_;
  std::string sent_;
  FixedClock clock_{EncodeDateTime(CivilDateTime{2026, 12, 6, 14, 30, 15, 0})};
  ItemCache cache_{clock_};
  Database database_{tmp_.file("IDENT.ID")};
};

TEST_F(DupeCheckTest, NeighbouringTextsWithOneKeyGiveOnePairLineEach) {
  const std::string a = Item("pool/A.ITM", 0xABCDEF01);
  const std::string b = Item("pool/B.ITM", 0xABCDEF01);
  const std::string c = Item("sent/C.ITM", 0xABCDEF01);
  Item("pool/D.ITM", 0xABCDEF01, 2, 5);  // same Ident, other class and base item: another item
  Item("pool/E.ITM", 0xABCDEF00);
  const DupeCheckResult result = Check(sent_);
  EXPECT_EQ(Log(), Block("DUPLICATED " + a + "--" + b + "\r\nDUPLICATED " + b + "--" + c + "\r\n"));
  EXPECT_EQ(result.duplicatedLines, 2u);
  EXPECT_EQ(result.message, "Dupe check log in " + pool_ + "/DUPECHK.TXT");
}

// One seed, creation info and base item with another item key: an edited copy of one item. Each
// neighbouring pair of such files gives one line; pairs with one key stand as DUPLICATED only.
TEST_F(DupeCheckTest, OneItemMadeTwiceIsMarkedEvenWhenOtherBytesDiffer) {
  const std::string a = Item("pool/A.ITM", 0x0BADF00D, 1, 44, 0x1A);
  const std::string b = Item("pool/B.ITM", 0x0BADF00D, 1, 44, 0x1A);
  const std::string c = Item("sent/C.ITM", 0x0BADF00D, 2, 44, 0x1A);  // the class byte changed
  Item("pool/D.ITM", 0x0BADF00D, 3, 44, 0x1B);                        // another creation info
  Item("pool/E.ITM", 0x0BADF00D, 4, 45, 0x1A);                        // another base item
  const DupeCheckResult result = Check(sent_);
  const std::string key = b.substr(0, 10);
  EXPECT_EQ(Log(),
            Block("DUPLICATED " + a + "--" + b + "\r\nSAME SEED  " + b + "--" + c.substr(10) + "\r\n"));
  ASSERT_EQ(result.sameSeed.size(), 1u);
  EXPECT_EQ(result.sameSeed[0].itemKey, key);
  EXPECT_EQ(result.sameSeed[0].first, b.substr(10));
  EXPECT_EQ(result.sameSeed[0].second, c.substr(10));
}

TEST_F(DupeCheckTest, RegisteredItemsAreMarkedForEveryFileInKeyListOrder) {
  tmp_.write("IDENT.ID", EncodeDatabaseRecord(RecordBuilder().ident(7).itemClass(1).build()) +
                             EncodeDatabaseRecord(RecordBuilder().ident(9).itemClass(3).build()));
  ASSERT_TRUE(database_.Load());
  const std::string c = Item("pool/C.ITM", 9, 3);
  const std::string b = Item("sent/B.ITM", 7);
  const std::string a = Item("pool/A.ITM", 7);
  Item("pool/D.ITM", 8);
  Check(sent_);
  EXPECT_EQ(Log(), Block("DUPLICATED " + a + "--" + b + "\r\nDUPE/HACK  " + a + "\r\nDUPE/HACK  " + b +
                         "\r\nDUPE/HACK  " + c + "\r\n"));
}

TEST_F(DupeCheckTest, AFileReachedTwiceIsNoDuplicateOfItselfAndEveryRunAppends) {
  Item("pool/sent/A.ITM", 3);
  // The sent directory inside the pool, spelled as the scan spells it, and spelled otherwise.
  for (const std::string& sentDir : {pool_ + "/sent", pool_ + "//sent/", pool_ + "/./sent"})
    Check(sentDir, true);
  EXPECT_EQ(Log(), Block("") + Block("") + Block(""));
}

TEST_F(DupeCheckTest, WithoutAPoolDirectoryNothingIsLoadedOrWritten) {
  Item("sent/A.ITM", 3);
  auto result = CheckForDuplicateItems(cache_, database_, "", sent_, true, clock_);
  ASSERT_FALSE(result);
  EXPECT_EQ(result.error(), "No Pool-Directory assigned!");
  EXPECT_EQ(cache_.size(), 0u);
}

}  // namespace
}  // namespace relicor
