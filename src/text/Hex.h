#pragma once
// Hexadecimal formatting: uppercase digits, high nibble first, no prefix.

#include <cstdint>
#include <string>

namespace relicor {

std::string ByteToHex(std::uint8_t value);
std::string WordToHex(std::uint16_t value);
std::string DWordToHex(std::uint32_t value);

}  // namespace relicor
