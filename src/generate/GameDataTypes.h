#pragma once
// Row types of the 1.09 game data that the item generator works from (GameData109.h).

#include <array>
#include <cstdint>
#include <string_view>

namespace relicor::gen {

struct BaseItemRow {
  std::int8_t drop;  // 0 never dropped, 1 regular, 2 double chance
  std::int8_t itemClass;
  std::int8_t location;  // -1 ends the table
  std::int16_t cursor;
  std::int8_t type;
  std::int8_t uniqueBase;  // which uniques are built on this item
  std::string_view name;
  std::string_view shortName;  // used when the full magic name is too wide; may be empty
  std::int8_t minMonsterLevel;
  std::int16_t durability;
  std::int16_t minDamage;
  std::int16_t maxDamage;
  std::int16_t minArmor;
  std::int16_t maxArmor;
  std::int16_t minStr;
  std::int16_t minMag;
  std::int16_t minDex;
  std::uint32_t flags;
  std::int8_t miscId;
  std::int8_t spell;
  bool usable;
  std::int32_t value;
  std::int32_t maxValue;
};

struct AffixRow {
  std::string_view name;
  std::int8_t power;  // -1 ends the table
  std::int32_t param1;
  std::int32_t param2;
  std::int8_t minLevel;
  std::uint32_t itemTypes;  // mask of the affix item types
  std::uint8_t goodEvil;
  bool doubleChance;
  bool onlyGoodOk;
  std::int32_t minValue;
  std::int32_t maxValue;
  std::int32_t multValue;
};

struct UniquePower {
  std::int8_t power;
  std::int32_t param1;
  std::int32_t param2;
};

struct UniqueRow {
  std::string_view name;
  std::int8_t uniqueBase;  // -1 ends the table
  std::int8_t minLevel;
  std::int8_t powerCount;
  std::int32_t value;
  std::array<UniquePower, 6> powers;
};

struct SpellRow {
  std::string_view name;
  std::uint8_t type;
  std::int8_t bookLevel;   // -1: no book
  std::int8_t staffLevel;  // -1: no staff
  std::int16_t minInt;
  std::int16_t staffMin;
  std::int16_t staffMax;
  std::int32_t bookCost;
  std::int32_t staffCost;
};

}  // namespace relicor::gen
