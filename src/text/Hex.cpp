#include "text/Hex.h"

namespace relicor {

namespace {
constexpr char kDigits[] = "0123456789ABCDEF";
}

std::string ByteToHex(std::uint8_t value) {
  return std::string{kDigits[value >> 4], kDigits[value & 0x0F]};
}

std::string WordToHex(std::uint16_t value) {
  return ByteToHex(static_cast<std::uint8_t>(value >> 8)) +
         ByteToHex(static_cast<std::uint8_t>(value & 0xFF));
}

std::string DWordToHex(std::uint32_t value) {
  return WordToHex(static_cast<std::uint16_t>(value >> 16)) +
         WordToHex(static_cast<std::uint16_t>(value & 0xFFFF));
}

}  // namespace relicor
