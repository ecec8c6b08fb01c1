#pragma once
// The spell tables: name, price of one charge and the maximum number of charges of every spell
// a staff, scroll or book can carry.
//
// The maximum charges come in two variants, normal and V&K mode; they differ only for
// Apocalypse (spell 24). The mode is always passed in by the caller.

#include <array>
#include <cstdint>
#include <string_view>

namespace relicor {

inline constexpr int kSpellCount = 37;  // spells 0-36; 37-255 have no entry

struct SpellRow {
  std::string_view name;
  std::int32_t chargePrice;       // price of one charge
  std::int32_t maxChargesNormal;  // charge limit, V&K mode off
  std::int32_t maxChargesVk;      // charge limit, V&K mode on
  std::int32_t bookPrice;         // what a book of the spell adds to the book's price (sBookCost)
};

// Entry 0 is the text "0". The four names between question marks and the spelling
// "Etheralize" are shown exactly like this in reports and item names; kept for compatibility
// with published pages and renamed files (no staff, scroll or book of the game carries them).
// The other names are the game's, as its staffs, scrolls and books are named ("Fire Wall").
// clang-format off
inline constexpr std::array<SpellRow, kSpellCount> kSpellTable{{
  // name                 charge price  max normal  max V&K  book price
  {"0",                   0,            0,          0,       0},  // 0
  {"Firebolt",            10,           80,         80,      1000},  // 1
  {"Healing",             10,           40,         40,      1000},  // 2
  {"Lightning",           30,           60,         60,      3000},  // 3
  {"Flash",               100,          40,         40,      7500},  // 4
  {"Identify",            20,           0,          0,       0},  // 5
  {"Fire Wall",           80,           16,         16,      6000},  // 6
  {"Town Portal",         40,           12,         12,      3000},  // 7
  {"Stone Curse",         160,          16,         16,      12000},  // 8
  {"Infravision",         120,          0,          0,       0},  // 9
  {"Phasing",             40,           80,         80,      3500},  // 10
  {"Mana Shield",         240,          10,         10,      16000},  // 11
  {"Fireball",            60,           80,         80,      8000},  // 12
  {"Guardian",            190,          32,         32,      14000},  // 13
  {"Chain Lightning",     150,          60,         60,      11000},  // 14
  {"Flame Wave",          130,          40,         40,      10000},  // 15
  {"?doom serpents?",     0,            0,          0,       0},  // 16
  {"?blood ritual?",      0,            0,          0,       0},  // 17
  {"Nova",                260,          32,         32,      21000},  // 18
  {"?invisibility?",      0,            0,          0,       0},  // 19
  {"Inferno",             20,           40,         40,      2000},  // 20
  {"Golem",               220,          32,         32,      18000},  // 21
  {"?blood boil?",        0,            0,          0,       0},  // 22
  {"Teleport",            250,          32,         32,      20000},  // 23
  {"Apocalypse",          400,          12,         20,      30000},  // 24
  {"Etheralize",          0,            0,          0,       26000},  // 25
  {"Item Repair",         0,            0,          0,       0},  // 26
  {"Staff Recharge",      0,            0,          0,       0},  // 27
  {"Trap Disarm",         0,            0,          0,       0},  // 28
  {"Elemental",           140,          60,         60,      10500},  // 29
  {"Charged Bolt",        10,           80,         80,      1000},  // 30
  {"Holy Bolt",           10,           80,         80,      1000},  // 31
  {"Resurrect",           50,           10,         10,      4000},  // 32
  {"Telekinesis",         40,           40,         40,      2500},  // 33
  {"Heal Other",          10,           40,         40,      1000},  // 34
  {"Blood Star",          360,          60,         60,      27500},  // 35
  {"Bone Spirit",         160,          60,         60,      11500},  // 36
}};
// clang-format on

// Name of `spell`; empty for numbers without an entry (negative or 37 and above).
std::string_view SpellName(int spell);

// Price of one charge of `spell`; 0 for numbers without an entry.
std::int32_t ChargePrice(int spell);

// Largest number of charges `spell` can have, in V&K mode or not; 0 for numbers without an entry.
std::int32_t MaxChargesOf(int spell, bool vkMode);

// What a book of `spell` adds to the book's price, the game's book cost of the spell also where
// no 1.09 book teaches it (Nova, Apocalypse, Etherealize, Resurrect: the seed check tells that
// no such book drops); 0 for numbers without an entry.
std::int32_t BookPrice(int spell);

}  // namespace relicor
