#include "gui/NameOrder.h"

#include <array>
#include <cstdint>

#include "text/ByteText.h"

namespace relicor {
namespace {

// What each byte from 0x80 on sorts as; an empty entry sorts as the byte itself.
// clang-format off
constexpr std::array<std::string_view, 128> kFoldedHigh = {
    // 0x80-0x8F: Š Œ Ž
    "", "", "", "", "", "", "", "", "", "", "S", "", "OE", "", "Z", "",
    // 0x90-0x9F: š œ ž Ÿ
    "", "", "", "", "", "", "", "", "", "", "S", "", "OE", "", "Z", "Y",
    // 0xA0-0xBF: signs and punctuation
    "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
    "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
    // 0xC0-0xDF: À Á Â Ã Ä Å Æ Ç È É Ê Ë Ì Í Î Ï Ð Ñ Ò Ó Ô Õ Ö × Ø Ù Ú Û Ü Ý Þ ß
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
    "D", "N", "O", "O", "O", "O", "O",  "",  "O", "U", "U", "U", "U", "Y", "TH", "SS",
    // 0xE0-0xFF: à á â ã ä å æ ç è é ê ë ì í î ï ð ñ ò ó ô õ ö ÷ ø ù ú û ü ý þ ÿ
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
    "D", "N", "O", "O", "O", "O", "O",  "",  "O", "U", "U", "U", "U", "Y", "TH", "Y",
};
// clang-format on

}  // namespace

std::string NameSortKey(std::string_view cp1252) {
  std::string key;
  key.reserve(cp1252.size());
  for (const char c : cp1252) {
    const auto byte = static_cast<std::uint8_t>(c);
    if (AsciiUpper(c) != c) {
      key += AsciiUpper(c);
    } else if (byte >= 0x80 && !kFoldedHigh[byte - 0x80].empty()) {
      key += kFoldedHigh[byte - 0x80];
    } else {
      key += c;
    }
  }
  return key;
}

bool NameLess(std::string_view a, std::string_view b) {
  const std::string keyA = NameSortKey(a);
  const std::string keyB = NameSortKey(b);
  if (keyA != keyB) return keyA < keyB;
  return a < b;
}

}  // namespace relicor
