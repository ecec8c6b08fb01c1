#include "item/ItemDump.h"

#include "text/ByteText.h"
#include "text/Hex.h"

namespace relicor {

std::vector<std::string> ItemDumpLines(const ItemRecord& record, bool decimalView) {
  std::vector<std::string> lines;
  lines.reserve(kItemRecordSize / kDumpBytesPerLine);
  std::string collected;
  for (std::size_t i = 0; i < kItemRecordSize; ++i) {
    const std::uint8_t b = record.bytes()[i];
    collected += decimalView ? ZeroPadNumber(b, 3) : ByteToHex(b);
    collected += ' ';
    if (i % kDumpBytesPerLine == kDumpBytesPerLine - 1) {
      lines.push_back(ZeroPadNumber(static_cast<std::int32_t>(i - (kDumpBytesPerLine - 1)), 3) + ": " +
                      collected);
      collected.clear();
    }
  }
  return lines;
}

}  // namespace relicor
