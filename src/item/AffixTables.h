#pragma once
// The affix tables: for each kind of magic effect, the rows that map an effect value to the
// affix name it carries in an item name, the price parts that affix adds, and (in the last row)
// the largest value the game produces, which the too-much rules use as their limit.
//
// Four tables exist twice, as a normal and a V&K variant of the same size: the damage reduction
// table and the magic, fire and lightning resist tables. The caller passes V&K mode in; it is
// never kept here.
//
// Searching. Every table has its own search order (AffixSearchOrder):
//   All          first row to last, every matching row applies; of several matches the last one's
//                name stays (MatchAll gives that row, ForEachMatch visits every one for the price).
//   Backward     last row to first, the first match is taken (MatchBackward).
//   ForwardFirst first row to last, the first match is taken (MatchForwardFirst).
//   Direct       row value - 1, no search (MatchDirect).
//   NotSearched  rows are read by index only (LeechAffix).
// FindAffix applies the table's own order; the Match* functions apply one order to any rows.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace relicor {

// One row of an affix table. A row matches a value v when MinValue <= v <= MaxValue.
struct AffixRow {
  std::int32_t MinValue;
  std::int32_t MaxValue;
  std::string_view Name;    // at most kAffixNameCapacity characters
  std::int32_t PriceAdd;    // fixed price part
  std::int32_t PriceRange;  // price part scaled by the value's place between MinValue and MaxValue
  std::int32_t Multiplier;  // share of the price multiplier; negative for harmful affixes
  std::int32_t Level;       // affix level; only the resist-all rows' level is read

  [[nodiscard]] constexpr bool Matches(std::int32_t value) const {
    return MinValue <= value && value <= MaxValue;
  }
};

inline constexpr std::size_t kAffixNameCapacity = 15;

// Row counts (the same in both variants of a doubled table).
inline constexpr std::size_t kAttributeRowCount = 7;  // strength, magic, dexterity, vitality, all
inline constexpr std::size_t kHitPointRowCount = 10;
inline constexpr std::size_t kManaRowCount = 10;
inline constexpr std::size_t kFlatDamageRowCount = 6;
inline constexpr std::size_t kDamageReductionRowCount = 8;
inline constexpr std::size_t kLeechRowCount = 4;
inline constexpr std::size_t kToHitNameRowCount = 11;
inline constexpr std::size_t kCombinedDamageRowCount = 11;
inline constexpr std::size_t kToHitRowCount = 12;
inline constexpr std::size_t kPctDamageRowCount = 12;
inline constexpr std::size_t kPctArmorRowCount = 12;
inline constexpr std::size_t kResistRowCount = 5;  // magic, fire, lightning resist
inline constexpr std::size_t kResistAllRowCount = 5;
inline constexpr std::size_t kSpellLevelRowCount = 2;

enum class AffixTable : std::uint8_t {
  kStrength,         // AddStrength, suffix
  kMagic,            // AddMagic, suffix
  kDexterity,        // AddDexterity, suffix
  kVitality,         // AddVitality, suffix
  kAllAttributes,    // all four attributes equal, suffix
  kHitPoints,        // hit point bonus, suffix
  kMana,             // mana bonus, prefix
  kFlatDamage,       // AddDamage, suffix
  kDamageReduction,  // DamageFromEnemies, suffix or prefix; V&K variant
  kLeech,            // steal effects, suffix; read by index
  kToHitName,        // PctToHit with a combined prefix; name only
  kCombinedDamage,   // PctDamage with a combined prefix
  kToHit,            // PctToHit
  kPctDamage,        // PctDamage
  kPctArmor,         // PctArmor
  kResMagic,         // V&K variant
  kResFire,          // V&K variant
  kResLightning,     // V&K variant
  kResAll,           // all three resistances equal
  kSpellLevel,       // SpellLevels, read as row SpellLevels - 1
};
inline constexpr std::size_t kAffixTableCount = 20;

enum class AffixSearch : std::uint8_t { kAll, kBackward, kForwardFirst, kDirect, kNotSearched };

// The leech rows, one per steal effect.
enum class LeechRow : std::uint8_t { kLife3 = 0, kLife5 = 1, kMana3 = 2, kMana5 = 3 };

// True for the four tables that have a V&K variant.
[[nodiscard]] bool HasVkVariant(AffixTable table);

// The rows of `table` in order; the V&K variant when `vkMode` is set and the table has one.
[[nodiscard]] std::span<const AffixRow> AffixRows(AffixTable table, bool vkMode);

// How names are looked up in `table`.
[[nodiscard]] AffixSearch AffixSearchOrder(AffixTable table);

// The too-much limit read from the table's last row: its MaxValue, or for the damage reduction
// table the MinValue (the lower limit). Defined for every table, though only the attribute, hit
// point, mana, flat damage, damage reduction, to-hit, percent damage, percent armour and resist
// tables have a rule that reads it.
[[nodiscard]] std::int32_t AffixLimit(AffixTable table, bool vkMode);

// Search orders over any rows. Each returns the row found, or nullptr when none matches.
[[nodiscard]] const AffixRow* MatchAll(std::span<const AffixRow> rows, std::int32_t value);
[[nodiscard]] const AffixRow* MatchBackward(std::span<const AffixRow> rows, std::int32_t value);
[[nodiscard]] const AffixRow* MatchForwardFirst(std::span<const AffixRow> rows, std::int32_t value);
[[nodiscard]] const AffixRow* MatchDirect(std::span<const AffixRow> rows, std::int32_t value);

// Calls `visit(row)` for every row that matches `value`, first to last (the All order, where each
// matching row adds its price parts).
template <typename Visit>
void ForEachMatch(std::span<const AffixRow> rows, std::int32_t value, Visit&& visit) {
  for (const AffixRow& row : rows) {
    if (row.Matches(value)) {
      visit(row);
    }
  }
}

// The row that names `value` in `table` under the table's own search order (the V&K variant when
// `vkMode` is set). Always nullptr for the leech rows, which are not searched.
[[nodiscard]] const AffixRow* FindAffix(AffixTable table, bool vkMode, std::int32_t value);

// The leech row of one steal effect. Its Name is not used for item names.
[[nodiscard]] const AffixRow& LeechAffix(LeechRow row);

}  // namespace relicor
