#pragma once
// The data window's dump of an item record: 25 lines of 16 bytes.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "item/ItemRecord.h"

namespace relicor {

inline constexpr int kDumpBytesPerLine = 16;

// Each line: the offset of its first byte (3 decimal digits), ": ", then 16 byte texts
// (2 hex digits, or 3 decimal digits in decimal view), each followed by one blank.
std::vector<std::string> ItemDumpLines(const ItemRecord& record, bool decimalView);

// A field of the record that the system reads, by its name and offset.
struct RecordFieldName {
  std::string_view name;
  std::size_t offset;
};

// The record's fields in the order of their offsets.
std::span<const RecordFieldName> RecordFieldNames();

// Beside each of the 25 dump lines: the names of the fields that start in its 16 bytes, joined
// by ", " (empty for a line where none starts).
std::vector<std::string> ItemDumpFieldLines();

}  // namespace relicor
