#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "item/PackedRecord.h"
#include "support/RecordBuilder.h"

namespace relicor {
namespace {

using test::RecordBuilder;

ItemRecord Filled(auto byteAt) {
  ItemRecord record;
  for (std::size_t i = 0; i < kItemRecordSize; ++i) record.bytes()[i] = static_cast<std::uint8_t>(byteAt(i));
  return record;
}

// Packs and unpacks `record`: every byte comes back, and the packer wrote exactly the size it
// announced (a guard byte behind the room stays untouched).
void ExpectRoundTrip(const ItemRecord& record, const std::string& what) {
  const std::size_t size = PackedRecordSize(record);
  ASSERT_LE(size, kMaxPackedRecordSize) << what;
  std::vector<std::uint8_t> packed(kMaxPackedRecordSize + 1, 0xA5);
  EXPECT_EQ(PackRecord(record, packed.data()), size) << what;
  EXPECT_EQ(packed[size], 0xA5) << what << ": wrote past its size";
  EXPECT_EQ(UnpackRecord(packed.data(), size).view(), record.view()) << what;
}

TEST(PackedRecord, EveryShapeOfRecordComesBackWhole) {
  struct Case {
    const char* what;
    ItemRecord record;
  };
  const std::vector<Case> cases = {
      {"all zero", ItemRecord()},
      {"no zero at all (literal runs longer than a count holds)", Filled([](std::size_t) { return 0xFF; })},
      {"single zeros between bytes", Filled([](std::size_t i) { return i % 2 == 0 ? 7 : 0; })},
      {"pairs of zeros between bytes", Filled([](std::size_t i) { return i % 3 == 0 ? 9 : 0; })},
      {"a byte only at the start", Filled([](std::size_t i) { return i == 0 ? 1 : 0; })},
      {"a byte only at the end", Filled([](std::size_t i) { return i == kItemRecordSize - 1 ? 1 : 0; })},
      {"a zero only at the end", Filled([](std::size_t i) { return i == kItemRecordSize - 1 ? 0 : 3; })},
      {"255 zeros then bytes", Filled([](std::size_t i) { return i < 255 ? 0 : 4; })},
      {"256 zeros then bytes", Filled([](std::size_t i) { return i < 256 ? 0 : 4; })},
      {"bytes then 300 zeros", Filled([](std::size_t i) { return i < 100 ? 5 : 0; })},
      {"a built item", RecordBuilder()
                           .ident(0xDEADBEEF)
                           .itemClass(1)
                           .baseItem(151)
                           .name("Short Sword")
                           .price(1234)
                           .pctDamage(-50)
                           .fireDamage(1, 300)
                           .build()},
  };
  for (const Case& c : cases) ExpectRoundTrip(c.record, c.what);

  std::mt19937 random(4711);
  for (int n = 0; n < 2000; ++n) {
    // Random records with more or fewer zeros.
    const int zeroShare = n % 10;
    ExpectRoundTrip(
        Filled([&](std::size_t) { return static_cast<int>(random() % 10) < zeroShare ? 0 : random() % 256; }),
        "random record " + std::to_string(n));
  }
}

TEST(PackedRecord, AMostlyEmptyRecordTakesLittleRoom) {
  EXPECT_EQ(PackedRecordSize(ItemRecord()), 4u);  // 255 zeros, then 145
  const ItemRecord item =
      RecordBuilder().ident(77).itemClass(1).baseItem(151).name("Short Sword").price(50).build();
  EXPECT_LT(PackedRecordSize(item), 80u);
}

TEST(PackedRecord, ACutPackedFormGivesZerosNotGarbage) {
  const ItemRecord item = RecordBuilder().ident(77).name("Short Sword").build();
  std::vector<std::uint8_t> packed(kMaxPackedRecordSize);
  packed.resize(PackRecord(item, packed.data()));
  for (std::size_t cut = 0; cut < packed.size(); ++cut) {
    const ItemRecord got = UnpackRecord(packed.data(), cut);
    for (std::size_t i = 0; i < kItemRecordSize; ++i) {
      ASSERT_TRUE(got.bytes()[i] == 0 || got.bytes()[i] == item.bytes()[i]) << "cut " << cut << " byte " << i;
    }
  }
}

}  // namespace
}  // namespace relicor
