#include "item/ItemRecord.h"

#include <algorithm>

#include "text/Hex.h"

namespace relicor {

ItemRecord ItemRecord::FromBytes(std::string_view data) {
  ItemRecord record;
  const std::size_t n = std::min(data.size(), kItemRecordSize);
  std::copy_n(reinterpret_cast<const std::uint8_t*>(data.data()), n, record.bytes_.begin());
  return record;
}

std::int16_t ItemRecord::ReadI16LE(std::size_t at) const {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes_[at] | (bytes_[at + 1] << 8)));
}

std::uint32_t ItemRecord::ReadU32LE(std::size_t at) const {
  return static_cast<std::uint32_t>(bytes_[at]) | (static_cast<std::uint32_t>(bytes_[at + 1]) << 8) |
         (static_cast<std::uint32_t>(bytes_[at + 2]) << 16) |
         (static_cast<std::uint32_t>(bytes_[at + 3]) << 24);
}

std::int32_t ItemRecord::ReadI32LE(std::size_t at) const {
  return static_cast<std::int32_t>(ReadU32LE(at));
}

std::string ItemRecord::TextAt(std::size_t from, std::size_t end) const {
  return std::string(TextViewAt(from, end));
}

std::string_view ItemRecord::TextViewAt(std::size_t from, std::size_t end) const {
  const std::string_view field = view().substr(from, end - from);
  return field.substr(0, field.find('\0'));
}

std::string ItemRecord::ItemKey() const {
  return KeyOf(Ident(), ItemClass());
}

std::string ItemRecord::KeyOf(std::uint32_t ident, std::uint8_t itemClass) {
  std::string key = DWordToHex(ident);
  key += ByteToHex(itemClass);
  return key;
}

}  // namespace relicor
