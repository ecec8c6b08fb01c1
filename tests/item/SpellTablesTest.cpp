#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "item/SpellTables.h"

namespace relicor {
namespace {

struct SpellCase {
  int spell;
  std::string_view name;
  std::int32_t chargePrice;
  std::int32_t maxNormal;
  std::int32_t maxVk;
  std::int32_t bookPrice;
};

// Sampled rows: both ends, the question-mark names, spells without charges and the misspelling.
// Mana Shield's charge (the game's staff price 1200 / 5) and every book price are the game's.
constexpr SpellCase kSpellCases[] = {
    {0, "0", 0, 0, 0, 0},
    {1, "Firebolt", 10, 80, 80, 1000},
    {5, "Identify", 20, 0, 0, 0},
    {7, "Town Portal", 40, 12, 12, 3000},
    {9, "Infravision", 120, 0, 0, 0},
    {11, "Mana Shield", 240, 10, 10, 16000},
    {13, "Guardian", 190, 32, 32, 14000},
    {14, "Chain Lightning", 150, 60, 60, 11000},
    {16, "?doom serpents?", 0, 0, 0, 0},
    {17, "?blood ritual?", 0, 0, 0, 0},
    {18, "Nova", 260, 32, 32, 21000},
    {19, "?invisibility?", 0, 0, 0, 0},
    {22, "?blood boil?", 0, 0, 0, 0},
    {23, "Teleport", 250, 32, 32, 20000},
    {24, "Apocalypse", 400, 12, 20, 30000},
    {25, "Etheralize", 0, 0, 0, 26000},
    {29, "Elemental", 140, 60, 60, 10500},
    {32, "Resurrect", 50, 10, 10, 4000},
    {35, "Blood Star", 360, 60, 60, 27500},
    {36, "Bone Spirit", 160, 60, 60, 11500},
};

TEST(SpellTablesTest, SampledRowsMatch) {
  for (const SpellCase& c : kSpellCases) {
    SCOPED_TRACE(c.spell);
    EXPECT_EQ(SpellName(c.spell), c.name);
    EXPECT_EQ(ChargePrice(c.spell), c.chargePrice);
    EXPECT_EQ(MaxChargesOf(c.spell, false), c.maxNormal);
    EXPECT_EQ(MaxChargesOf(c.spell, true), c.maxVk);
    EXPECT_EQ(BookPrice(c.spell), c.bookPrice);
  }
}

TEST(SpellTablesTest, FireWallHasTheGamesSpelling) {
  EXPECT_EQ(SpellName(6), "Fire Wall");
  EXPECT_EQ(BookPrice(6), 6000);
  EXPECT_EQ(BookPrice(37), 0);
  EXPECT_EQ(BookPrice(-1), 0);
}

TEST(SpellTablesTest, ApocalypseChargeLimitDependsOnMode) {
  EXPECT_EQ(MaxChargesOf(24, false), 12);
  EXPECT_EQ(MaxChargesOf(24, true), 20);
}

TEST(SpellTablesTest, OnlyApocalypseDiffersBetweenModes) {
  for (int spell = 0; spell < kSpellCount; ++spell) {
    SCOPED_TRACE(spell);
    if (spell == 24) {
      EXPECT_NE(MaxChargesOf(spell, false), MaxChargesOf(spell, true));
    } else {
      EXPECT_EQ(MaxChargesOf(spell, false), MaxChargesOf(spell, true));
    }
  }
}

TEST(SpellTablesTest, EverySpellInTheTableHasAName) {
  ASSERT_EQ(kSpellCount, 37);
  for (int spell = 0; spell < kSpellCount; ++spell) {
    SCOPED_TRACE(spell);
    EXPECT_FALSE(SpellName(spell).empty());
    EXPECT_LE(SpellName(spell).size(), 16u);  // fits the name field
  }
}

TEST(SpellTablesTest, NumbersOutsideTheTableGiveEmptyNameAndZero) {
  for (int spell : {-1, -255, 37, 38, 100, 255, 256}) {
    SCOPED_TRACE(spell);
    EXPECT_TRUE(SpellName(spell).empty());
    EXPECT_EQ(ChargePrice(spell), 0);
    EXPECT_EQ(MaxChargesOf(spell, false), 0);
    EXPECT_EQ(MaxChargesOf(spell, true), 0);
  }
}

}  // namespace
}  // namespace relicor
