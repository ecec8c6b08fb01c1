#pragma once
// The unique item table: the game's named unique items and the base items each may sit on,
// indexed by the item record's unique index.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace relicor {

inline constexpr int kUniqueCount = 90;

// Capacity of the name column (longest text a row may hold).
inline constexpr std::size_t kUniqueNameCapacity = 32;

// Both base item bounds at this value: the unique's definition is missing.
inline constexpr std::uint8_t kNoBaseItem = 255;

// Values of `Availability`.
inline constexpr std::uint8_t kUniqueSinglePlayerOnly = 0;
inline constexpr std::uint8_t kUniqueNormal = 1;
inline constexpr std::uint8_t kUniqueNotInMultiplayer = 2;
inline constexpr std::uint8_t kUniqueNeverInGame = 3;

struct UniqueRow {
  std::string_view Name;
  std::uint8_t BaseItemLow = 0;          // lowest base item this unique may be built on
  std::uint8_t BaseItemHigh = 0;         // highest one; 255 in both bounds = definition missing
  std::uint8_t Availability = 0;         // kUniqueSinglePlayerOnly ... kUniqueNeverInGame
  std::uint8_t MayBeIndestructible = 0;  // 1 = may legitimately be indestructible
  std::int32_t Price = 0;                // 0 in every row

  friend constexpr bool operator==(const UniqueRow&, const UniqueRow&) = default;
};

// The table as built in, without the V&K mode changes.
extern const std::array<UniqueRow, kUniqueCount> kUniques;

// A copy of row `index`, with the V&K mode changes applied to the copy when `vkMode` is set:
// 62 becomes "wand of onan", 72 "the strongshot" on base item 145.
// An index without a row (negative, or 90 and above) yields an empty row with both bounds 255,
// availability normal and indestructibility allowed: such an item is reported for its missing
// definition and nothing else.
UniqueRow UniqueOf(int index, bool vkMode);

}  // namespace relicor
