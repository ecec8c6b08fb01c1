#include "text/Hex.h"

namespace relicor {

namespace {
constexpr char kDigits[] = "0123456789ABCDEF";
}

namespace {

// The `digits` hexadecimal digits of `value`, the highest first (a short text: no heap).
std::string HexDigits(std::uint32_t value, int digits) {
  std::string text(static_cast<std::size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, value >>= 4U)
    text[static_cast<std::size_t>(i)] = kDigits[value & 0x0FU];
  return text;
}

}  // namespace

std::string ByteToHex(std::uint8_t value) {
  return HexDigits(value, 2);
}

std::string WordToHex(std::uint16_t value) {
  return HexDigits(value, 4);
}

std::string DWordToHex(std::uint32_t value) {
  return HexDigits(value, 8);
}

}  // namespace relicor
