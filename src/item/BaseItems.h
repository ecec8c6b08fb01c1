#pragma once
// The base item table: what an item fundamentally is ("long battle bow", "full helm"), indexed
// directly by the item record's base item byte, so every byte value 0-255 has a row.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace relicor {

inline constexpr int kBaseItemCount = 256;

// Capacities of the name columns (longest text a row may hold). Potions, scrolls and the
// Sorcerer's staff have no short game name, so both columns hold their full names
// ("potion of full rejuvenation").
inline constexpr std::size_t kBaseItemShortNameCapacity = 32;
inline constexpr std::size_t kBaseItemFullNameCapacity = 32;

// `Class` of a row that has no definition.
inline constexpr std::uint8_t kUndefinedBaseItemClass = 255;

struct BaseItemRow {
  std::string_view ShortName;  // the type word inside a magic item's name ("bow", "helm")
  std::string_view FullName;   // the plain item name ("long battle bow", "full helm")
  std::uint8_t Class = 0;      // item class the item must carry; 255 = undefined row
  std::int32_t BasePrice = 0;

  friend constexpr bool operator==(const BaseItemRow&, const BaseItemRow&) = default;
};

// The table as built in, without the V&K mode changes. Rows 156-255 are all zero.
extern const std::array<BaseItemRow, kBaseItemCount> kBaseItems;

// A copy of row `index`, with the V&K mode changes applied to the copy when `vkMode` is set:
// 96 becomes the "precious ring" (class 0, price 100000), 143 the "crossbow".
// An index outside 0-255 yields an undefined row (empty names, class 255, price 0).
BaseItemRow BaseItemOf(int index, bool vkMode);

}  // namespace relicor
