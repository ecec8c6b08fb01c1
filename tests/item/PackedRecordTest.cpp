#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <random>
#include <string>
#include <utility>
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
  EXPECT_EQ(PackedRecordLength(packed.data()), size) << what << ": its end found by reading it";
  EXPECT_EQ(UnpackRecord(packed.data(), size).view(), record.view()) << what;
  // Any stretch of the record read out of the packed form alone: at the start, the end, across
  // pieces, one byte, none.
  for (const auto& [offset, count] : std::initializer_list<std::pair<std::size_t, std::size_t>>{
           {0, 1}, {0, kItemRecordSize}, {32, 9}, {kItemRecordSize - 1, 1}, {254, 3}, {7, 250}, {100, 0}}) {
    std::vector<std::uint8_t> out(count + 1, 0xA5);
    PackedRecordBytes(packed.data(), offset, count, out.data());
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(count),
                           record.bytes().begin() + static_cast<std::ptrdiff_t>(offset)))
        << what << " from " << offset << ", " << count << " bytes";
    EXPECT_EQ(out[count], 0xA5) << what << ": wrote past the stretch";
  }
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

// The packed form by its rule, one byte at a time: a piece's zeros (at most 255), then its bytes
// up to two zeros in a row or a zero that ends the record (at most 255).
std::vector<std::uint8_t> PackedByTheRule(const ItemRecord& record) {
  const ItemBytes& b = record.bytes();
  std::vector<std::uint8_t> out;
  std::size_t at = 0;
  while (at < b.size()) {
    std::size_t zeros = 0;
    while (at < b.size() && b[at] == 0 && zeros < 255) ++at, ++zeros;
    std::size_t end = at;
    while (end < b.size() && end - at < 255 && !(b[end] == 0 && (end + 1 == b.size() || b[end + 1] == 0)))
      ++end;
    out.push_back(static_cast<std::uint8_t>(zeros));
    out.push_back(static_cast<std::uint8_t>(end - at));
    out.insert(out.end(), b.begin() + static_cast<std::ptrdiff_t>(at),
               b.begin() + static_cast<std::ptrdiff_t>(end));
    at = end;
  }
  return out;
}

TEST(PackedRecord, WordsAtATimeGiveThePiecesOfTheRule) {
  // Runs of every length around a word (8) and a count (255), at every offset.
  std::mt19937 random(1234);
  for (int n = 0; n < 3000; ++n) {
    const std::size_t runs = 1 + random() % 12;
    std::vector<std::size_t> cuts;
    for (std::size_t r = 0; r < runs; ++r) cuts.push_back(random() % kItemRecordSize);
    const std::size_t longRun = n % 3 == 0 ? 247 + random() % 18 : 0;
    const ItemRecord record = Filled([&](std::size_t i) {
      std::size_t run = 0;
      for (const std::size_t cut : cuts) run += i >= cut ? 1 : 0;
      if (longRun != 0 && i >= 40 && i < 40 + longRun) return n % 2 == 0 ? 0 : 0x11;
      return run % 2 == 0 ? 0 : static_cast<int>(1 + random() % 255) * static_cast<int>(random() % 6 != 0);
    });
    std::vector<std::uint8_t> packed(kMaxPackedRecordSize);
    packed.resize(PackRecord(record, packed.data()));
    ASSERT_EQ(packed, PackedByTheRule(record)) << "record " << n;
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
