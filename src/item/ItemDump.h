#pragma once
// The data window's dump of an item record: 25 lines of 16 bytes.

#include <string>
#include <vector>

#include "item/ItemRecord.h"

namespace relicor {

inline constexpr int kDumpBytesPerLine = 16;

// Each line: the offset of its first byte (3 decimal digits), ": ", then 16 byte texts
// (2 hex digits, or 3 decimal digits in decimal view), each followed by one blank.
std::vector<std::string> ItemDumpLines(const ItemRecord& record, bool decimalView);

}  // namespace relicor
