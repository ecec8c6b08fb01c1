#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "item/Uniques.h"

namespace relicor {

// Readable failure output for row comparisons.
static void PrintTo(const UniqueRow& row, std::ostream* os) {
  *os << "{\"" << row.Name << "\", " << int{row.BaseItemLow} << ", " << int{row.BaseItemHigh} << ", "
      << int{row.Availability} << ", " << int{row.MayBeIndestructible} << ", " << row.Price << "}";
}

namespace {

constexpr UniqueRow kMissing{"", 255, 255, 1, 1, 0};

TEST(Uniques, TableHasNinetyRows) {
  EXPECT_EQ(kUniqueCount, 90);
  EXPECT_EQ(kUniques.size(), 90u);
}

struct SampleRow {
  int index;
  UniqueRow row;
};

// Rows of every availability, with and without a definition, single and ranged bounds.
const std::vector<SampleRow> kSamples = {
    {0, {"the butcher's cleaver", 6, 6, 0, 0, 0}},   {2, {"empyrean band", 8, 8, 0, 1, 0}},
    {5, {"harlequin crest", 13, 13, 0, 0, 0}},       {7, {"arkaine's valor", 28, 28, 0, 0, 0}},
    {8, {"griswold's edge", 31, 31, 0, 0, 0}},       {9, {"lightforge", 131, 131, 2, 1, 0}},
    {13, {"deadly hunter", 141, 141, 1, 0, 0}},      {19, {"eaglehorn", 143, 143, 1, 1, 0}},
    {20, {"gonnagal's dirk", 113, 113, 2, 0, 0}},    {22, {"gryphons claw", 115, 115, 1, 0, 0}},
    {36, {"the mangler", 127, 127, 2, 0, 0}},        {37, {"sharp beak", 127, 127, 1, 0, 0}},
    {45, {"crackrust", 131, 131, 2, 1, 0}},          {50, {"gnarled root", 134, 135, 1, 0, 0}},
    {56, {"storm spire", 150, 150, 1, 0, 0}},        {63, {"helm of sprits", 50, 50, 1, 0, 0}},
    {67, {"gotterdamerung", 53, 53, 1, 0, 0}},       {69, {"torn flesh of souls", 55, 55, 1, 1, 0}},
    {78, {"demonspike coat", 70, 70, 1, 1, 0}},      {80, {"split skull shield", 71, 71, 1, 0, 0}},
    {84, {"stormshield", 75, 76, 1, 1, 0}},          {86, {"ring of regha", 151, 153, 1, 1, 0}},
    {89, {"ring of engagement", 151, 153, 1, 1, 0}},
};

TEST(Uniques, SampleRows) {
  for (const auto& [index, expected] : kSamples) {
    EXPECT_EQ(UniqueOf(index, false), expected) << "index " << index;
    EXPECT_EQ(UniqueOf(index, true), expected) << "index " << index << " in V&K mode";
  }
}

// The rows the game corrects, one case each: the base items of quest uniques and of uniques the
// table left undefined; indestructible Lightforge; which uniques a multiplayer drop can give (of
// the uniques of one base type whose level the drop reaches, the game always gives the last of
// its table, while single player skips the ones already found).
TEST(Uniques, RowsTheGameCorrects) {
  const std::vector<SampleRow> rows = {
      {0, {"the butcher's cleaver", 6, 6, 0, 0, 0}},  // cleaver
      {1, {"the undead crown", 7, 7, 0, 0, 0}},       // the undead crown
      {6, {"veil of steel", 14, 14, 0, 0, 0}},        // veil of steel
      {9, {"lightforge", 131, 131, 2, 1, 0}},         // indestructible
      {13, {"deadly hunter", 141, 141, 1, 0, 0}},     // composite bow
      {20, {"gonnagal's dirk", 113, 113, 2, 0, 0}},   // black razor comes later at level 1
      {36, {"the mangler", 127, 127, 2, 0, 0}},       // sharp beak comes later at level 2
      {37, {"sharp beak", 127, 127, 1, 0, 0}},        // large axe at item level 2-4
      {45, {"crackrust", 131, 131, 2, 1, 0}},         // civerb's cudgel comes later at level 1
      {79, {"the deflector", 71, 71, 2, 0, 0}},       // split skull shield comes later
      {85, {"bramble", 151, 153, 2, 1, 0}},           // ring of regha comes later
  };
  for (const auto& [index, expected] : rows) {
    EXPECT_EQ(UniqueOf(index, false), expected) << "index " << index;
  }
}

TEST(Uniques, Row72IsTheStrongshotOnlyInVkMode) {
  EXPECT_EQ(UniqueOf(72, false), (UniqueRow{"leather of aut", 59, 59, 1, 1, 0}));
  EXPECT_EQ(UniqueOf(72, true), (UniqueRow{"the strongshot", 145, 145, 1, 0, 0}));
}

TEST(Uniques, Row62IsTheWandOnlyInVkMode) {
  EXPECT_EQ(UniqueOf(62, false), (UniqueRow{"rod of onan", 150, 150, 1, 0, 0}));
  EXPECT_EQ(UniqueOf(62, true), (UniqueRow{"wand of onan", 150, 150, 1, 0, 0}));
}

TEST(Uniques, VkModeChangesOnlyRows62And72) {
  for (int index = 0; index < kUniqueCount; ++index) {
    const UniqueRow& stored = kUniques[static_cast<std::size_t>(index)];
    EXPECT_EQ(UniqueOf(index, false), stored) << "index " << index;
    if (index != 62 && index != 72) {
      EXPECT_EQ(UniqueOf(index, true), stored) << "index " << index;
    }
  }
}

TEST(Uniques, EveryRowIsPricedZeroAndHasSoundBounds) {
  for (int index = 0; index < kUniqueCount; ++index) {
    const UniqueRow& row = kUniques[static_cast<std::size_t>(index)];
    EXPECT_EQ(row.Price, 0) << "index " << index;
    EXPECT_LE(row.BaseItemLow, row.BaseItemHigh) << "index " << index;
    EXPECT_EQ(row.BaseItemLow == kNoBaseItem, row.BaseItemHigh == kNoBaseItem) << "index " << index;
    EXPECT_LE(row.Availability, kUniqueNeverInGame) << "index " << index;
    EXPECT_LE(row.MayBeIndestructible, 1) << "index " << index;
  }
}

TEST(Uniques, IndexWithoutRowIsAMissingDefinition) {
  for (int index : {90, 91, 255, 256, -1}) {
    EXPECT_EQ(UniqueOf(index, false), kMissing) << "index " << index;
    EXPECT_EQ(UniqueOf(index, true), kMissing) << "index " << index;
  }
}

}  // namespace
}  // namespace relicor
