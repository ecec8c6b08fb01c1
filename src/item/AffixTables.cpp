#include "item/AffixTables.h"

#include <algorithm>

namespace relicor {
namespace {

using AttributeTable = std::array<AffixRow, kAttributeRowCount>;
using HitPointTable = std::array<AffixRow, kHitPointRowCount>;
using ManaTable = std::array<AffixRow, kManaRowCount>;
using FlatDamageTable = std::array<AffixRow, kFlatDamageRowCount>;
using DamageReductionTable = std::array<AffixRow, kDamageReductionRowCount>;
using LeechTable = std::array<AffixRow, kLeechRowCount>;
using ToHitNameTable = std::array<AffixRow, kToHitNameRowCount>;
using CombinedDamageTable = std::array<AffixRow, kCombinedDamageRowCount>;
using ToHitTable = std::array<AffixRow, kToHitRowCount>;
using PctDamageTable = std::array<AffixRow, kPctDamageRowCount>;
using PctArmorTable = std::array<AffixRow, kPctArmorRowCount>;
using ResistTable = std::array<AffixRow, kResistRowCount>;
using ResistAllTable = std::array<AffixRow, kResistAllRowCount>;
using SpellLevelTable = std::array<AffixRow, kSpellLevelRowCount>;

// clang-format off

// Columns of every table:
//   MinValue, MaxValue, Name, PriceAdd, PriceRange, Multiplier, Level

constexpr AttributeTable kStrengthTable{{
    {-10,  -6, "frailty",      0,    0,  -3, 0},  // 0
    { -5,  -1, "weakness",     0,    0,  -2, 0},  // 1
    {  1,   5, "strength",   200,  800,   2, 0},  // 2
    {  6,  10, "might",     1200,  800,   3, 0},  // 3
    { 11,  15, "power",     2200,  800,   4, 0},  // 4
    { 16,  20, "giants",    3200, 1800,   7, 0},  // 5
    { 21,  30, "titans",    5200, 4800,  10, 0},  // 6
}};

constexpr AttributeTable kMagicTable{{
    {-10,  -6, "the fool",     0,    0,  -3, 0},  // 0
    { -5,  -1, "dyslexia",     0,    0,  -2, 0},  // 1
    {  1,   5, "magic",      200,  800,   2, 0},  // 2
    {  6,  10, "the mind",  1200,  800,   3, 0},  // 3
    { 11,  15, "brilliance",2200,  800,   4, 0},  // 4
    { 16,  20, "sorcery",   3200, 1800,   7, 0},  // 5
    { 21,  30, "wizardry",  5200, 4800,  10, 0},  // 6
}};

constexpr AttributeTable kDexterityTable{{
    {-10,  -6, "paralysis",    0,    0,  -3, 0},  // 0
    { -5,  -1, "atrophy",      0,    0,  -2, 0},  // 1
    {  1,   5, "dexterity",  200,  800,   2, 0},  // 2
    {  6,  10, "skill",     1200,  800,   3, 0},  // 3
    { 11,  15, "accuracy",  2200,  800,   4, 0},  // 4
    { 16,  20, "precision", 3200, 1800,   7, 0},  // 5
    { 21,  30, "perfection",5200, 4800,  10, 0},  // 6
}};

constexpr AttributeTable kVitalityTable{{
    {-10,  -6, "illness",      0,    0,  -3, 0},  // 0
    { -5,  -1, "disease",      0,    0,  -2, 0},  // 1
    {  1,   5, "vitality",   200,  800,   2, 0},  // 2
    {  6,  10, "zest",      1200,  800,   3, 0},  // 3
    { 11,  15, "vim",       2200,  800,   4, 0},  // 4
    { 16,  20, "vigor",     3200, 1800,   7, 0},  // 5
    { 21,  30, "life",      5200, 4800,  10, 0},  // 6
}};

constexpr AttributeTable kAllAttributesTable{{
    {-10,  -6, "trouble",         0,     0, -10, 0},  // 0
    { -5,  -1, "the pit",         0,     0,  -5, 0},  // 1
    {  1,   3, "the sky",       800,  3200,   5, 0},  // 2
    {  4,   7, "the moon",     4800,  3200,  10, 0},  // 3
    {  8,  11, "the stars",    8800,  3200,  15, 0},  // 4
    { 12,  15, "the heavens", 12800,  7200,  20, 0},  // 5
    { 16,  20, "the zodiac",  20800, 19200,  30, 0},  // 6
}};

// Rows 4 and 5 both hold 30; the backward search gives "the wolf" (kept: stored names rely on it).
constexpr HitPointTable kHitPointTable{{
    {-25, -11, "the vulture",     0,     0,  -4, 0},  // 0
    {-10,  -1, "the jackal",      0,     0,  -2, 0},  // 1
    { 10,  15, "the fox",       100,   900,   2, 0},  // 2
    { 16,  20, "the jaguar",   1100,   900,   3, 0},  // 3
    { 21,  30, "the eagle",    2100,  1900,   5, 0},  // 4
    { 30,  40, "the wolf",     4100,  1900,   7, 0},  // 5
    { 41,  50, "the tiger",    6100,  3900,   9, 0},  // 6
    { 51,  60, "the lion",    10100,  4900,  11, 0},  // 7
    { 61,  80, "the mammoth", 15100,  3900,  12, 0},  // 8
    { 81, 100, "the whale",   19100, 10900,  13, 0},  // 9
}};

// Rows 4 and 5 both hold 30, as do rows 2 and 3 15; the backward search gives "serpent's" and
// "raven's", which is the game's name for 30 only by its table order (kept: stored names rely on
// it). Wyrm's and hydra's come only on staffs that Adria sells to characters of high level.
constexpr ManaTable kManaTable{{
    {-25, -11, "hyena's",       100,   900,  -2, 0},  // 0
    {-10,  -1, "frog's",          0,     0,  -2, 0},  // 1
    { 10,  15, "spider's",      500,   500,   2, 0},  // 2
    { 15,  20, "raven's",      1100,   900,   3, 0},  // 3
    { 21,  30, "snake's",      2100,  1900,   5, 0},  // 4
    { 30,  40, "serpent's",    4100,  1900,   7, 0},  // 5
    { 41,  50, "drake's",      6100,  3900,   9, 0},  // 6
    { 51,  60, "dragon's",    10100,  4900,  11, 0},  // 7
    { 61,  80, "wyrm's",      15100,  3900,  12, 0},  // 8
    { 81, 100, "hydra's",     19100, 10900,  13, 0},  // 9
}};

constexpr FlatDamageTable kFlatDamageTable{{
    {  1,   2, "quality",       100,   100,   2, 0},  // 0
    {  3,   5, "maiming",      1300,   200,   3, 0},  // 1
    {  6,   8, "slaying",      2600,   400,   5, 0},  // 2
    {  9,  12, "gore",         4100,   900,   8, 0},  // 3
    { 13,  16, "carnage",      5100,  4900,  10, 0},  // 4
    { 17,  20, "slaughter",   10100,  4900,  13, 0},  // 5
}};

// Rows 6 and 7 are the same; the forward search never reaches row 7, whose MinValue still gives
// the lower limit (kept as it is: the limit and the names depend on it).
constexpr DamageReductionTable kDamageReductionTable{{
    {  2,   4, "pain",          0,     0,  -4, 0},  // 0
    {  1,   1, "tears",         0,     0,  -2, 0},  // 1
    { -1,  -1, "health",      200,     0,   2, 0},  // 2
    { -2,  -2, "protection",  400,   400,   4, 0},  // 3
    { -3,  -3, "absorption", 1001,  1499,  10, 0},  // 4
    { -4,  -4, "deflection", 2500,  4000,  15, 0},  // 5
    { -6,  -5, "osmosis",    7500,  2500,  20, 0},  // 6
    { -6,  -5, "osmosis",    7500,  2500,  20, 0},  // 7
}};

// The V&K variant: wider bounds in rows 2 to 7 and a name of its own in row 7. The values -3, -5,
// -7 and -9 fall in no row.
constexpr DamageReductionTable kDamageReductionTableVk{{
    {  2,   4, "pain",          0,     0,  -4, 0},  // 0
    {  1,   1, "tears",         0,     0,  -2, 0},  // 1
    { -2,  -1, "health",      200,     0,   2, 0},  // 2
    { -4,  -4, "protection",  400,   400,   4, 0},  // 3
    { -6,  -6, "absorption", 1001,  1499,  10, 0},  // 4
    { -8,  -8, "deflection", 2500,  4000,  15, 0},  // 5
    {-12, -10, "osmosis",    7500,  2500,  20, 0},  // 6
    {-14, -13, "absorbing",  7500,  2500,  20, 0},  // 7
}};

// Read by index (LeechRow); the names are not used, the item names of the steal effects are fixed.
constexpr LeechTable kLeechTable{{
    {  3,   3, "leech",        7500,     0,   3, 0},  // 0  steal 3% life
    {  5,   5, "blood",       15000,     0,   3, 0},  // 1  steal 5% life
    {  3,   3, "bat",          7500,     0,   3, 0},  // 2  steal 3% mana
    {  5,   5, "vampire",     15000,     0,   3, 0},  // 3  steal 5% mana
}};

// Names only; the price columns are 0 and not read.
constexpr ToHitNameTable kToHitNameTable{{
    {-10,  -6, "clumsy",          0,     0,   0, 0},  // 0
    { -5,  -1, "dull",            0,     0,   0, 0},  // 1
    {  1,   5, "sharp",           0,     0,   0, 0},  // 2
    {  6,  10, "fine",            0,     0,   0, 0},  // 3
    { 11,  15, "warrior's",       0,     0,   0, 0},  // 4
    { 16,  20, "soldier's",       0,     0,   0, 0},  // 5
    { 21,  30, "lord's",          0,     0,   0, 0},  // 6
    { 31,  40, "knight's",        0,     0,   0, 0},  // 7
    { 41,  50, "master's",        0,     0,   0, 0},  // 8
    { 51,  75, "champion's",      0,     0,   0, 0},  // 9
    { 76, 100, "king's",          0,     0,   0, 0},  // 10
}};

// -24 to 19 fall in no row.
constexpr CombinedDamageTable kCombinedDamageTable{{
    {-75, -50, "clumsy",          0,     0,  -7, 0},  // 0
    {-45, -25, "dull",            0,     0,  -5, 0},  // 1
    { 20,  35, "sharp",         350,   600,   5, 0},  // 2
    { 36,  50, "fine",         1100,   600,   7, 0},  // 3
    { 51,  65, "warrior's",    1850,   600,  13, 0},  // 4
    { 66,  80, "soldier's",    2600,  1350,  17, 0},  // 5
    { 81,  95, "lord's",       4100,  1850,  21, 0},  // 6
    { 96, 110, "knight's",     6100,  2350,  26, 0},  // 7
    {111, 125, "master's",     8600,  4400,  30, 0},  // 8
    {126, 150, "champion's",  15200,  8800,  33, 0},  // 9
    {151, 175, "king's",      24100, 10900,  38, 0},  // 10
}};

constexpr ToHitTable kToHitTable{{
    {-10,  -6, "tin",             0,     0,  -3, 0},  // 0
    { -5,  -1, "brass",           0,     0,  -2, 0},  // 1
    {  1,   5, "bronze",        100,   400,   2, 0},  // 2
    {  6,  10, "iron",          600,   400,   3, 0},  // 3
    { 11,  15, "steel",        1100,   400,   5, 0},  // 4
    { 16,  20, "silver",       1600,   400,   7, 0},  // 5
    { 21,  30, "gold",         2100,   900,   9, 0},  // 6
    { 31,  40, "platinum",     3100,   900,  11, 0},  // 7
    { 41,  60, "mithril",      4100,  1900,  13, 0},  // 8
    { 61,  80, "meteoric",     6100,  3900,  15, 0},  // 9
    { 81, 100, "weird",       10100,  3900,  17, 0},  // 10
    {101, 150, "strange",     14100,  5900,  20, 0},  // 11
}};

constexpr PctDamageTable kPctDamageTable{{
    {-100, -100, "useless",       0,     0,  -8, 0},  // 0
    { -75,  -50, "bent",          0,     0,  -4, 0},  // 1
    { -45,  -25, "weak",          0,     0,  -3, 0},  // 2
    {  20,   35, "jagged",      250,   200,   3, 0},  // 3
    {  36,   50, "deadly",      500,   200,   4, 0},  // 4
    {  51,   65, "heavy",       750,   200,   5, 0},  // 5
    {  66,   80, "vicious",    1000,   450,   8, 0},  // 6
    {  81,   95, "brutal",     1500,   450,  10, 0},  // 7
    {  96,  110, "massive",    2000,   450,  13, 0},  // 8
    { 111,  125, "savage",     2500,   500,  15, 0},  // 9
    { 126,  150, "ruthless",  10100,  4900,  17, 0},  // 10
    { 151,  175, "merciless", 15000,  5000,  20, 0},  // 11
}};

// The Level column is carried but not read.
constexpr PctArmorTable kPctArmorTable{{
    {-100,  -51, "vulnerable",    0,     0,  -3,  3},  // 0
    { -50,  -25, "rusted",        0,     0,  -2,  1},  // 1
    {  20,   30, "fine",         20,    80,   2,  1},  // 2
    {  31,   40, "strong",      120,    80,   3,  3},  // 3
    {  41,   55, "grand",       220,    80,   5,  6},  // 4
    {  56,   70, "valiant",     320,    80,   7, 10},  // 5
    {  71,   90, "glorious",    420,   180,   9, 14},  // 6
    {  91,  110, "blessed",     620,   180,  11, 19},  // 7
    { 111,  130, "saintly",     820,   380,  13, 24},  // 8
    { 131,  150, "awesome",    1220,   780,  15, 28},  // 9
    { 151,  170, "holy",       5200,   800,  17, 35},  // 10
    { 171,  200, "godly",      6200,   800,  20, 60},  // 11
}};

// The resist variants differ only in the last row's MaxValue (60 normal, 75 V&K).
constexpr ResistTable kResMagicTable{{
    { 10,  20, "white",         500,  1000,   2, 0},  // 0
    { 21,  30, "pearl",        2100,   900,   2, 0},  // 1
    { 31,  40, "ivory",        3100,   900,   2, 0},  // 2
    { 41,  50, "crystal",      8200,  3800,   3, 0},  // 3
    { 51,  60, "diamond",     17100,  2900,   5, 0},  // 4
}};

constexpr ResistTable kResMagicTableVk{{
    { 10,  20, "white",         500,  1000,   2, 0},  // 0
    { 21,  30, "pearl",        2100,   900,   2, 0},  // 1
    { 31,  40, "ivory",        3100,   900,   2, 0},  // 2
    { 41,  50, "crystal",      8200,  3800,   3, 0},  // 3
    { 51,  75, "diamond",     17100,  2900,   5, 0},  // 4
}};

// Rows 1 and 2 are both "crimson"; kept as it is, since stored item names use it.
constexpr ResistTable kResFireTable{{
    { 10,  20, "red",           500,  1000,   2, 0},  // 0
    { 21,  30, "crimson",      2100,   900,   2, 0},  // 1
    { 31,  40, "crimson",      3100,   900,   2, 0},  // 2
    { 41,  50, "garnet",       8200,  3800,   3, 0},  // 3
    { 51,  60, "ruby",        17100,  2900,   5, 0},  // 4
}};

constexpr ResistTable kResFireTableVk{{
    { 10,  20, "red",           500,  1000,   2, 0},  // 0
    { 21,  30, "crimson",      2100,   900,   2, 0},  // 1
    { 31,  40, "crimson",      3100,   900,   2, 0},  // 2
    { 41,  50, "garnet",       8200,  3800,   3, 0},  // 3
    { 51,  75, "ruby",        17100,  2900,   5, 0},  // 4
}};

constexpr ResistTable kResLightningTable{{
    { 10,  20, "blue",          500,  1000,   2, 0},  // 0
    { 21,  30, "azure",        2100,   900,   2, 0},  // 1
    { 31,  40, "lapis",        3100,   900,   2, 0},  // 2
    { 41,  50, "cobalt",       8200,  3800,   3, 0},  // 3
    { 51,  60, "sapphire",    17100,  2900,   5, 0},  // 4
}};

constexpr ResistTable kResLightningTableVk{{
    { 10,  20, "blue",          500,  1000,   2, 0},  // 0
    { 21,  30, "azure",        2100,   900,   2, 0},  // 1
    { 31,  40, "lapis",        3100,   900,   2, 0},  // 2
    { 41,  50, "cobalt",       8200,  3800,   3, 0},  // 3
    { 51,  75, "sapphire",    17100,  2900,   5, 0},  // 4
}};

// The Level column is read: it is the prefix level of the vendor price rule.
constexpr ResistAllTable kResistAllTable{{
    { 10,  15, "topaz",        2000,  3000,   3,  8},  // 0
    { 16,  20, "amber",        7400,  2600,   3, 12},  // 1
    { 21,  30, "jade",        11000,  4000,   3, 18},  // 2
    { 31,  40, "obsidian",    24000, 16000,   4, 24},  // 3
    { 41,  50, "emerald",     61000, 14000,   7, 31},  // 4
}};

constexpr SpellLevelTable kSpellLevelTable{{
    {  1,   1, "angel's",     25000,     0,   2, 0},  // 0
    {  2,   2, "arch-angel's",50000,     0,   3, 0},  // 1
}};

// clang-format on

// Every name fits its field.
template <std::size_t N>
constexpr bool NamesFit(const std::array<AffixRow, N>& rows) {
  return std::all_of(rows.begin(), rows.end(),
                     [](const AffixRow& row) { return row.Name.size() <= kAffixNameCapacity; });
}

// The rows with a MinValue above their MaxValue would never match.
template <std::size_t N>
constexpr bool BoundsOrdered(const std::array<AffixRow, N>& rows) {
  return std::all_of(rows.begin(), rows.end(),
                     [](const AffixRow& row) { return row.MinValue <= row.MaxValue; });
}

template <std::size_t N>
constexpr bool WellFormed(const std::array<AffixRow, N>& rows) {
  return NamesFit(rows) && BoundsOrdered(rows);
}

static_assert(WellFormed(kStrengthTable) && WellFormed(kMagicTable) && WellFormed(kDexterityTable) &&
              WellFormed(kVitalityTable) && WellFormed(kAllAttributesTable) && WellFormed(kHitPointTable) &&
              WellFormed(kManaTable) && WellFormed(kFlatDamageTable) && WellFormed(kDamageReductionTable) &&
              WellFormed(kDamageReductionTableVk) && WellFormed(kLeechTable) && WellFormed(kToHitNameTable) &&
              WellFormed(kCombinedDamageTable) && WellFormed(kToHitTable) && WellFormed(kPctDamageTable) &&
              WellFormed(kPctArmorTable) && WellFormed(kResMagicTable) && WellFormed(kResMagicTableVk) &&
              WellFormed(kResFireTable) && WellFormed(kResFireTableVk) && WellFormed(kResLightningTable) &&
              WellFormed(kResLightningTableVk) && WellFormed(kResistAllTable) &&
              WellFormed(kSpellLevelTable));

static_assert(static_cast<std::size_t>(AffixTable::kSpellLevel) + 1 == kAffixTableCount);

}  // namespace

bool HasVkVariant(AffixTable table) {
  switch (table) {
    case AffixTable::kDamageReduction:
    case AffixTable::kResMagic:
    case AffixTable::kResFire:
    case AffixTable::kResLightning:
      return true;
    default:
      return false;
  }
}

std::span<const AffixRow> AffixRows(AffixTable table, bool vkMode) {
  switch (table) {
    case AffixTable::kStrength:
      return kStrengthTable;
    case AffixTable::kMagic:
      return kMagicTable;
    case AffixTable::kDexterity:
      return kDexterityTable;
    case AffixTable::kVitality:
      return kVitalityTable;
    case AffixTable::kAllAttributes:
      return kAllAttributesTable;
    case AffixTable::kHitPoints:
      return kHitPointTable;
    case AffixTable::kMana:
      return kManaTable;
    case AffixTable::kFlatDamage:
      return kFlatDamageTable;
    case AffixTable::kDamageReduction:
      return vkMode ? kDamageReductionTableVk : kDamageReductionTable;
    case AffixTable::kLeech:
      return kLeechTable;
    case AffixTable::kToHitName:
      return kToHitNameTable;
    case AffixTable::kCombinedDamage:
      return kCombinedDamageTable;
    case AffixTable::kToHit:
      return kToHitTable;
    case AffixTable::kPctDamage:
      return kPctDamageTable;
    case AffixTable::kPctArmor:
      return kPctArmorTable;
    case AffixTable::kResMagic:
      return vkMode ? kResMagicTableVk : kResMagicTable;
    case AffixTable::kResFire:
      return vkMode ? kResFireTableVk : kResFireTable;
    case AffixTable::kResLightning:
      return vkMode ? kResLightningTableVk : kResLightningTable;
    case AffixTable::kResAll:
      return kResistAllTable;
    case AffixTable::kSpellLevel:
      return kSpellLevelTable;
  }
  return {};
}

AffixSearch AffixSearchOrder(AffixTable table) {
  switch (table) {
    case AffixTable::kHitPoints:
    case AffixTable::kMana:
      return AffixSearch::kBackward;
    case AffixTable::kDamageReduction:
      return AffixSearch::kForwardFirst;
    case AffixTable::kLeech:
      return AffixSearch::kNotSearched;
    case AffixTable::kSpellLevel:
      return AffixSearch::kDirect;
    default:
      return AffixSearch::kAll;
  }
}

std::int32_t AffixLimit(AffixTable table, bool vkMode) {
  const std::span<const AffixRow> rows = AffixRows(table, vkMode);
  if (rows.empty()) {
    return 0;
  }
  return table == AffixTable::kDamageReduction ? rows.back().MinValue : rows.back().MaxValue;
}

const AffixRow* MatchAll(std::span<const AffixRow> rows, std::int32_t value) {
  const AffixRow* found = nullptr;
  ForEachMatch(rows, value, [&found](const AffixRow& row) { found = &row; });
  return found;
}

const AffixRow* MatchBackward(std::span<const AffixRow> rows, std::int32_t value) {
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
    if (it->Matches(value)) {
      return &*it;
    }
  }
  return nullptr;
}

const AffixRow* MatchForwardFirst(std::span<const AffixRow> rows, std::int32_t value) {
  for (const AffixRow& row : rows) {
    if (row.Matches(value)) {
      return &row;
    }
  }
  return nullptr;
}

const AffixRow* MatchDirect(std::span<const AffixRow> rows, std::int32_t value) {
  if (value < 1 || static_cast<std::size_t>(value) > rows.size()) {
    return nullptr;
  }
  return &rows[static_cast<std::size_t>(value) - 1];
}

const AffixRow* FindAffix(AffixTable table, bool vkMode, std::int32_t value) {
  const std::span<const AffixRow> rows = AffixRows(table, vkMode);
  switch (AffixSearchOrder(table)) {
    case AffixSearch::kAll:
      return MatchAll(rows, value);
    case AffixSearch::kBackward:
      return MatchBackward(rows, value);
    case AffixSearch::kForwardFirst:
      return MatchForwardFirst(rows, value);
    case AffixSearch::kDirect:
      return MatchDirect(rows, value);
    case AffixSearch::kNotSearched:
      return nullptr;
  }
  return nullptr;
}

const AffixRow& LeechAffix(LeechRow row) {
  return kLeechTable[static_cast<std::size_t>(row)];
}

}  // namespace relicor
