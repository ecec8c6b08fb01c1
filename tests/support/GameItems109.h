#pragma once
// The real items of the test data as the 1.09 game holds them. The reference set comes from a
// later engine; where it and the 1.09 game differ, the 1.09 values stand here, each with the
// reason. The reference set also does not list the price parts; where the test data worked them
// out differently from the 1.09 rules, the 1.09 value is given.

#include <cstdint>
#include <vector>

#include "item/ItemRecord.h"
#include "support/GameItems.h"

namespace relicor::test {

// Named writes into an existing record, at the offsets of the game's item structure.
class RecordEdit {
 public:
  explicit RecordEdit(ItemRecord& r) : r_(r) {}
  RecordEdit& i32(std::size_t at, std::int32_t v);
  RecordEdit& u8(std::size_t at, std::uint8_t v);
  RecordEdit& text(std::size_t at, std::string_view s);  // a 64-byte zero-terminated name

 private:
  ItemRecord& r_;
};

// The ITM record of a test item with the 1.09 corrections applied.
ItemRecord GameItemRecord109(const GameItem& item);

// The seeds of the three items whose maximum durability (60) no 1.09 path gives.
bool RaisedDurability(const GameItem& item);

}  // namespace relicor::test
