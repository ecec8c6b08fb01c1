#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "item/AffixTables.h"

namespace relicor {
namespace {

std::string_view NameOf(const AffixRow* row) {
  return row == nullptr ? "<none>" : row->Name;
}

std::string TableName(AffixTable table) {
  // In the order of AffixTable.
  static constexpr std::array<std::string_view, kAffixTableCount> kNames{
      "Strength",  "Magic",          "Dexterity",    "Vitality",        "AllAttributes",
      "HitPoints", "Mana",           "FlatDamage",   "DamageReduction", "Leech",
      "ToHitName", "CombinedDamage", "ToHit",        "PctDamage",       "PctArmor",
      "ResMagic",  "ResFire",        "ResLightning", "ResAll",          "SpellLevel"};
  return std::string(kNames[static_cast<std::size_t>(table)]);
}

// Row count and limit of every table in both modes.
struct TableShape {
  AffixTable table;
  std::size_t rows;
  std::int32_t limit;
  std::int32_t limitVk;
  AffixSearch search;
};

void PrintTo(const TableShape& shape, std::ostream* out) {
  *out << TableName(shape.table);
}

class AffixTableShapeTest : public testing::TestWithParam<TableShape> {};

TEST_P(AffixTableShapeTest, RowCountLimitAndSearchOrder) {
  const TableShape& shape = GetParam();
  EXPECT_EQ(AffixRows(shape.table, false).size(), shape.rows);
  EXPECT_EQ(AffixRows(shape.table, true).size(), shape.rows);
  EXPECT_EQ(AffixLimit(shape.table, false), shape.limit);
  EXPECT_EQ(AffixLimit(shape.table, true), shape.limitVk);
  EXPECT_EQ(AffixSearchOrder(shape.table), shape.search);
}

INSTANTIATE_TEST_SUITE_P(
    AllTables, AffixTableShapeTest,
    testing::Values(TableShape{AffixTable::kStrength, 7, 30, 30, AffixSearch::kAll},
                    TableShape{AffixTable::kMagic, 7, 30, 30, AffixSearch::kAll},
                    TableShape{AffixTable::kDexterity, 7, 30, 30, AffixSearch::kAll},
                    TableShape{AffixTable::kVitality, 7, 30, 30, AffixSearch::kAll},
                    TableShape{AffixTable::kAllAttributes, 7, 20, 20, AffixSearch::kAll},
                    TableShape{AffixTable::kHitPoints, 10, 100, 100, AffixSearch::kBackward},
                    TableShape{AffixTable::kMana, 10, 100, 100, AffixSearch::kBackward},
                    TableShape{AffixTable::kFlatDamage, 6, 20, 20, AffixSearch::kAll},
                    TableShape{AffixTable::kDamageReduction, 8, -6, -14, AffixSearch::kForwardFirst},
                    TableShape{AffixTable::kLeech, 4, 5, 5, AffixSearch::kNotSearched},
                    TableShape{AffixTable::kToHitName, 11, 100, 100, AffixSearch::kAll},
                    TableShape{AffixTable::kCombinedDamage, 11, 175, 175, AffixSearch::kAll},
                    TableShape{AffixTable::kToHit, 12, 150, 150, AffixSearch::kAll},
                    TableShape{AffixTable::kPctDamage, 12, 175, 175, AffixSearch::kAll},
                    TableShape{AffixTable::kPctArmor, 12, 200, 200, AffixSearch::kAll},
                    TableShape{AffixTable::kResMagic, 5, 60, 75, AffixSearch::kAll},
                    TableShape{AffixTable::kResFire, 5, 60, 75, AffixSearch::kAll},
                    TableShape{AffixTable::kResLightning, 5, 60, 75, AffixSearch::kAll},
                    TableShape{AffixTable::kResAll, 5, 50, 50, AffixSearch::kAll},
                    TableShape{AffixTable::kSpellLevel, 2, 2, 2, AffixSearch::kDirect}),
    [](const testing::TestParamInfo<TableShape>& info) { return TableName(info.param.table); });

TEST(AffixTablesTest, OnlyTheFourDoubledTablesHaveAVkVariant) {
  std::vector<AffixTable> doubled;
  for (std::size_t i = 0; i < kAffixTableCount; ++i) {
    const auto table = static_cast<AffixTable>(i);
    const bool distinct = AffixRows(table, false).data() != AffixRows(table, true).data();
    EXPECT_EQ(HasVkVariant(table), distinct) << "table " << i;
    if (distinct) {
      doubled.push_back(table);
    }
  }
  EXPECT_EQ(doubled, (std::vector<AffixTable>{AffixTable::kDamageReduction, AffixTable::kResMagic,
                                              AffixTable::kResFire, AffixTable::kResLightning}));
}

TEST(AffixTablesTest, ResistVariantsDifferOnlyInTheLastMaxValue) {
  for (AffixTable table : {AffixTable::kResMagic, AffixTable::kResFire, AffixTable::kResLightning}) {
    const auto normal = AffixRows(table, false);
    const auto vk = AffixRows(table, true);
    ASSERT_EQ(normal.size(), kResistRowCount);
    ASSERT_EQ(vk.size(), kResistRowCount);
    for (std::size_t i = 0; i < kResistRowCount; ++i) {
      const AffixRow& a = normal[i];
      const AffixRow& b = vk[i];
      EXPECT_EQ(a.MinValue, b.MinValue);
      EXPECT_EQ(a.Name, b.Name);
      EXPECT_EQ(a.PriceAdd, b.PriceAdd);
      EXPECT_EQ(a.PriceRange, b.PriceRange);
      EXPECT_EQ(a.Multiplier, b.Multiplier);
      EXPECT_EQ(a.MaxValue == b.MaxValue, i + 1 < kResistRowCount) << "row " << i;
    }
    EXPECT_EQ(normal.back().MaxValue, 60);
    EXPECT_EQ(vk.back().MaxValue, 75);
    // 70 is too much for a normal item but named in V&K mode.
    EXPECT_EQ(FindAffix(table, false, 70), nullptr);
    EXPECT_EQ(FindAffix(table, true, 70), &vk.back());
  }
}

TEST(AffixTablesTest, DamageReductionVariantsDifferInRowsTwoToSeven) {
  const auto normal = AffixRows(AffixTable::kDamageReduction, false);
  const auto vk = AffixRows(AffixTable::kDamageReduction, true);
  struct Bounds {
    std::int32_t min;
    std::int32_t max;
    std::int32_t minVk;
    std::int32_t maxVk;
  };
  const Bounds bounds[kDamageReductionRowCount] = {
      {2, 4, 2, 4},     {1, 1, 1, 1},     {-1, -1, -2, -1},   {-2, -2, -4, -4},
      {-3, -3, -6, -6}, {-4, -4, -8, -8}, {-6, -5, -12, -10}, {-6, -5, -14, -13},
  };
  for (std::size_t i = 0; i < kDamageReductionRowCount; ++i) {
    EXPECT_EQ(normal[i].MinValue, bounds[i].min) << "row " << i;
    EXPECT_EQ(normal[i].MaxValue, bounds[i].max) << "row " << i;
    EXPECT_EQ(vk[i].MinValue, bounds[i].minVk) << "row " << i;
    EXPECT_EQ(vk[i].MaxValue, bounds[i].maxVk) << "row " << i;
    EXPECT_EQ(normal[i].PriceAdd, vk[i].PriceAdd) << "row " << i;
    EXPECT_EQ(normal[i].PriceRange, vk[i].PriceRange) << "row " << i;
    EXPECT_EQ(normal[i].Multiplier, vk[i].Multiplier) << "row " << i;
    if (i + 1 < kDamageReductionRowCount) {
      EXPECT_EQ(normal[i].Name, vk[i].Name) << "row " << i;
    }
  }
  EXPECT_EQ(normal[7].Name, "osmosis");
  EXPECT_EQ(vk[7].Name, "absorbing");
}

TEST(AffixTablesTest, DamageReductionForwardSearchStopsAtRowSix) {
  const auto normal = AffixRows(AffixTable::kDamageReduction, false);
  for (std::int32_t value : {-5, -6}) {
    EXPECT_EQ(FindAffix(AffixTable::kDamageReduction, false, value), &normal[6]) << value;
    EXPECT_EQ(MatchAll(normal, value), &normal[7]) << value;  // what an all-search would give
  }
  const auto vk = AffixRows(AffixTable::kDamageReduction, true);
  EXPECT_EQ(FindAffix(AffixTable::kDamageReduction, true, -14), &vk[7]);
  EXPECT_EQ(NameOf(FindAffix(AffixTable::kDamageReduction, true, -13)), "absorbing");
  EXPECT_EQ(NameOf(FindAffix(AffixTable::kDamageReduction, true, -11)), "osmosis");
  EXPECT_EQ(NameOf(FindAffix(AffixTable::kDamageReduction, true, -9)), "<none>");
  EXPECT_EQ(NameOf(FindAffix(AffixTable::kDamageReduction, false, -7)), "<none>");
  EXPECT_EQ(NameOf(FindAffix(AffixTable::kDamageReduction, false, 3)), "pain");
}

// Lookups by value under the table's own search order.
struct Lookup {
  AffixTable table;
  bool vkMode;
  std::int32_t value;
  std::string_view name;  // "<none>" when no row matches
};

void PrintTo(const Lookup& lookup, std::ostream* out) {
  *out << TableName(lookup.table) << (lookup.vkMode ? " (V&K) " : " ") << lookup.value;
}

class AffixLookupTest : public testing::TestWithParam<Lookup> {};

TEST_P(AffixLookupTest, FindsTheNamedRow) {
  const Lookup& lookup = GetParam();
  EXPECT_EQ(NameOf(FindAffix(lookup.table, lookup.vkMode, lookup.value)), lookup.name);
}

INSTANTIATE_TEST_SUITE_P(
    Values, AffixLookupTest,
    testing::Values(
        Lookup{AffixTable::kStrength, false, -8, "frailty"},
        Lookup{AffixTable::kStrength, false, 0, "<none>"}, Lookup{AffixTable::kStrength, false, 12, "power"},
        Lookup{AffixTable::kStrength, false, 31, "<none>"},
        Lookup{AffixTable::kAllAttributes, false, 5, "the moon"},
        Lookup{AffixTable::kHitPoints, false, 30, "the wolf"},
        Lookup{AffixTable::kHitPoints, false, 29, "the eagle"},
        Lookup{AffixTable::kHitPoints, false, 5, "<none>"}, Lookup{AffixTable::kMana, false, 30, "serpent's"},
        Lookup{AffixTable::kMana, false, 21, "snake's"}, Lookup{AffixTable::kMana, false, 15, "raven's"},
        Lookup{AffixTable::kMana, false, 61, "wyrm's"}, Lookup{AffixTable::kMana, false, 100, "hydra's"},
        Lookup{AffixTable::kMana, false, 101, "<none>"},
        Lookup{AffixTable::kCombinedDamage, false, 10, "<none>"},
        Lookup{AffixTable::kCombinedDamage, false, -24, "<none>"},
        Lookup{AffixTable::kCombinedDamage, false, 19, "<none>"},
        Lookup{AffixTable::kCombinedDamage, false, 40, "fine"}, Lookup{AffixTable::kToHit, false, 25, "gold"},
        Lookup{AffixTable::kToHitName, false, 25, "lord's"},
        Lookup{AffixTable::kPctDamage, false, -100, "useless"},
        Lookup{AffixTable::kPctArmor, false, 200, "godly"},
        Lookup{AffixTable::kResFire, false, 35, "crimson"}, Lookup{AffixTable::kResAll, true, 50, "emerald"},
        Lookup{AffixTable::kResAll, true, 51, "<none>"}, Lookup{AffixTable::kSpellLevel, false, 0, "<none>"},
        Lookup{AffixTable::kSpellLevel, false, 1, "angel's"},
        Lookup{AffixTable::kSpellLevel, false, 2, "arch-angel's"},
        Lookup{AffixTable::kSpellLevel, false, 3, "<none>"},
        Lookup{AffixTable::kSpellLevel, false, -1, "<none>"}, Lookup{AffixTable::kLeech, false, 3, "<none>"}),
    [](const testing::TestParamInfo<Lookup>& info) {
      const std::int32_t value = info.param.value;
      return std::to_string(info.index) + "_" + TableName(info.param.table) +
             (info.param.vkMode ? "Vk" : "") + "_" + (value < 0 ? "minus" : "") +
             std::to_string(value < 0 ? -value : value);
    });

// The rows the game corrects, one case each (bounds, price parts, multiplier, name).
TEST(AffixTablesTest, RowsTheGameCorrects) {
  struct Row {
    AffixTable table;
    std::size_t index;
    AffixRow row;
  };
  const std::vector<Row> rows = {
      {AffixTable::kMagic, 0, {-10, -6, "the fool", 0, 0, -3, 0}},
      {AffixTable::kMana, 0, {-25, -11, "hyena's", 100, 900, -2, 0}},
      {AffixTable::kMana, 3, {15, 20, "raven's", 1100, 900, 3, 0}},
      {AffixTable::kMana, 8, {61, 80, "wyrm's", 15100, 3900, 12, 0}},
      {AffixTable::kMana, 9, {81, 100, "hydra's", 19100, 10900, 13, 0}},
      {AffixTable::kCombinedDamage, 4, {51, 65, "warrior's", 1850, 600, 13, 0}},
      {AffixTable::kCombinedDamage, 5, {66, 80, "soldier's", 2600, 1350, 17, 0}},
      {AffixTable::kCombinedDamage, 6, {81, 95, "lord's", 4100, 1850, 21, 0}},
      {AffixTable::kSpellLevel, 0, {1, 1, "angel's", 25000, 0, 2, 0}},
  };
  for (const Row& r : rows) {
    const AffixRow& have = AffixRows(r.table, false)[r.index];
    SCOPED_TRACE(std::string(r.row.Name));
    EXPECT_EQ(have.MinValue, r.row.MinValue);
    EXPECT_EQ(have.MaxValue, r.row.MaxValue);
    EXPECT_EQ(have.Name, r.row.Name);
    EXPECT_EQ(have.PriceAdd, r.row.PriceAdd);
    EXPECT_EQ(have.PriceRange, r.row.PriceRange);
    EXPECT_EQ(have.Multiplier, r.row.Multiplier);
  }
}

TEST(AffixTablesTest, SearchOrdersDifferOnOverlappingRows) {
  const auto hitPoints = AffixRows(AffixTable::kHitPoints, false);
  EXPECT_EQ(NameOf(MatchBackward(hitPoints, 30)), "the wolf");
  EXPECT_EQ(NameOf(MatchForwardFirst(hitPoints, 30)), "the eagle");
  EXPECT_EQ(NameOf(MatchAll(hitPoints, 30)), "the wolf");

  std::vector<std::string_view> visited;
  ForEachMatch(hitPoints, 30, [&visited](const AffixRow& row) { visited.push_back(row.Name); });
  EXPECT_EQ(visited, (std::vector<std::string_view>{"the eagle", "the wolf"}));

  for (auto match : {&MatchAll, &MatchBackward, &MatchForwardFirst, &MatchDirect}) {
    EXPECT_EQ(match(std::span<const AffixRow>{}, 1), nullptr);
  }
}

TEST(AffixTablesTest, BoundsAreInclusive) {
  const auto toHit = AffixRows(AffixTable::kToHit, false);
  EXPECT_EQ(MatchAll(toHit, 21), &toHit[6]);
  EXPECT_EQ(MatchAll(toHit, 30), &toHit[6]);
  EXPECT_EQ(MatchAll(toHit, 31), &toHit[7]);
  EXPECT_EQ(MatchAll(toHit, 0), nullptr);
}

TEST(AffixTablesTest, LeechRowsAreReadByEffect) {
  EXPECT_EQ(&LeechAffix(LeechRow::kLife3), &AffixRows(AffixTable::kLeech, false)[0]);
  EXPECT_EQ(LeechAffix(LeechRow::kLife3).PriceAdd, 7500);
  EXPECT_EQ(LeechAffix(LeechRow::kLife5).PriceAdd, 15000);
  EXPECT_EQ(LeechAffix(LeechRow::kMana3).MaxValue, 3);
  EXPECT_EQ(LeechAffix(LeechRow::kMana5).MaxValue, 5);
  for (LeechRow row : {LeechRow::kLife3, LeechRow::kLife5, LeechRow::kMana3, LeechRow::kMana5}) {
    EXPECT_EQ(LeechAffix(row).PriceRange, 0);
    EXPECT_EQ(LeechAffix(row).Multiplier, 3);
  }
}

TEST(AffixTablesTest, OnlyArmourAndResistAllRowsCarryALevel) {
  EXPECT_EQ(AffixRows(AffixTable::kResAll, false)[0].Level, 8);
  EXPECT_EQ(AffixRows(AffixTable::kResAll, false)[4].Level, 31);
  EXPECT_EQ(AffixRows(AffixTable::kPctArmor, false)[11].Level, 60);
  for (std::size_t i = 0; i < kAffixTableCount; ++i) {
    const auto table = static_cast<AffixTable>(i);
    if (table == AffixTable::kResAll || table == AffixTable::kPctArmor) {
      continue;
    }
    for (bool vk : {false, true}) {
      for (const AffixRow& row : AffixRows(table, vk)) {
        EXPECT_EQ(row.Level, 0) << "table " << i << " row " << row.Name;
      }
    }
  }
}

TEST(AffixTablesTest, PriceColumnsOfTheMatchedRow) {
  // A +5% to hit prefix: "bronze", price 100, range 400, multiplier 2.
  const AffixRow* bronze = FindAffix(AffixTable::kToHit, false, 5);
  ASSERT_NE(bronze, nullptr);
  EXPECT_EQ(bronze->Name, "bronze");
  EXPECT_EQ(bronze->PriceAdd, 100);
  EXPECT_EQ(bronze->PriceRange, 400);
  EXPECT_EQ(bronze->Multiplier, 2);
  // Harmful affixes lower the multiplier.
  EXPECT_EQ(FindAffix(AffixTable::kAllAttributes, false, -10)->Multiplier, -10);
  const AffixRow* absorption = FindAffix(AffixTable::kDamageReduction, true, -6);
  ASSERT_NE(absorption, nullptr);
  EXPECT_EQ(absorption->Name, "absorption");
  EXPECT_EQ(absorption->PriceAdd, 1001);
  EXPECT_EQ(absorption->PriceRange, 1499);
}

}  // namespace
}  // namespace relicor
