#pragma once
// Where an item came from: the names of the bits of an item's source byte and the text built
// from them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace relicor {

inline constexpr std::size_t kSourceNameCount = 8;

// Entry 0 is the text for a source byte of 0; entry n (1-7) names bit n-1. Bit 7 has no name.
// clang-format off
inline constexpr std::array<std::string_view, kSourceNameCount> kSourceNames{{
  "Unique Monster",     // 0: source byte 0, dropped by a unique monster
  "Monster/Dungeon",    // 1: bit 0
  "Unique Item",        // 2: bit 1
  "Griswold (normal)",  // 3: bit 2, bought from Griswold's normal stock
  "Griswold (magic)",   // 4: bit 3, bought from Griswold's magic stock
  "Wirt",               // 5: bit 4
  "Adria",              // 6: bit 5
  "Pepin",              // 7: bit 6
}};
// clang-format on

// "Unique Monster" for 0; otherwise, for bits 0 to 6 in this order, one blank and the bit's name
// per set bit (so the text starts with a blank). Bit 7 is ignored: 0x80 gives an empty text.
std::string SourceText(std::uint8_t source);

}  // namespace relicor
