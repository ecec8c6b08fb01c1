#include "item/BaseItems.h"

#include <gtest/gtest.h>

#include <ostream>
#include <utility>
#include <vector>

namespace relicor {

// Readable failure output for row comparisons.
static void PrintTo(const BaseItemRow& row, std::ostream* os) {
  *os << "{\"" << row.ShortName << "\", \"" << row.FullName << "\", " << int{row.Class} << ", "
      << row.BasePrice << "}";
}

namespace {

constexpr BaseItemRow kUndefined{"", "", 255, 0};
constexpr BaseItemRow kZero{"", "", 0, 0};

TEST(BaseItems, TableHasOneRowPerByteValue) {
  EXPECT_EQ(kBaseItemCount, 256);
  EXPECT_EQ(kBaseItems.size(), 256u);
}

TEST(BaseItems, UndefinedBlocksCarryClass255AndNothingElse) {
  const std::vector<std::pair<int, int>> blocks = {{0, 7},   {9, 9},   {12, 12}, {14, 22},
                                                   {24, 27}, {29, 47}, {77, 82}, {87, 108}};
  for (const auto& [first, last] : blocks) {
    for (int index = first; index <= last; ++index) {
      EXPECT_EQ(BaseItemOf(index, false), kUndefined) << "index " << index;
    }
  }
}

TEST(BaseItems, RowsPastTheGameItemsAreAllZero) {
  for (int index = 156; index < kBaseItemCount; ++index) {
    EXPECT_EQ(BaseItemOf(index, false), kZero) << "index " << index;
    EXPECT_EQ(BaseItemOf(index, true), kZero) << "index " << index;
  }
}

TEST(BaseItems, NamedRowsWithClass255AreTreatedAsUndefined) {
  EXPECT_EQ(BaseItemOf(23, false), (BaseItemRow{"ear", "ear", 255, 0}));
  EXPECT_EQ(BaseItemOf(28, false), (BaseItemRow{"arkaine's valor", "arkaine's valor", 255, 0}));
}

TEST(BaseItems, BlockCounts) {
  int named = 0;
  int undefined = 0;
  for (const BaseItemRow& row : kBaseItems) {
    named += row.FullName.empty() ? 0 : 1;
    undefined += row.Class == kUndefinedBaseItemClass ? 1 : 0;
  }
  EXPECT_EQ(named, 86);      // 84 defined rows plus "ear" and "arkaine's valor"
  EXPECT_EQ(undefined, 72);  // 70 empty rows plus the two named ones
}

struct SampleRow {
  int index;
  BaseItemRow row;
};

// First and last of every block of the table, plus rows whose short word differs from the
// usual one of their block.
const std::vector<SampleRow> kSamples = {
    {8, {"empyrean band", "empyrean band", 12, 0}},
    {10, {"optic amulet", "optic amulet", 13, 0}},
    {11, {"ring of truth", "ring of truth", 12, 0}},
    {13, {"harlequin crest", "harlequin crest", 7, 0}},
    {48, {"cap", "cap", 7, 15}},
    {49, {"cap", "skull cap", 7, 25}},
    {52, {"crown", "crown", 7, 200}},
    {53, {"helm", "great helm", 7, 400}},
    {54, {"cape", "cape", 6, 10}},
    {55, {"rags", "rags", 6, 5}},
    {61, {"armor", "studded leather armor", 6, 700}},
    {62, {"mail", "ring mail", 8, 900}},
    {65, {"plate", "breast plate", 9, 2800}},
    {66, {"mail", "splint mail", 8, 3250}},
    {69, {"plate", "gothic plate", 9, 8000}},
    {70, {"plate", "full plate mail", 9, 6500}},
    {71, {"shield", "buckler", 5, 30}},
    {76, {"shield", "gothic shield", 5, 2300}},
    {83, {"elixir", "elixir of strength", 0, 5000}},
    {86, {"elixir", "elixir of vitality", 0, 5000}},
    {109, {"book", "book", 0, 0}},
    {112, {"book", "book", 0, 0}},
    {113, {"dagger", "dagger", 1, 60}},
    {118, {"blade", "blade", 1, 280}},
    {119, {"sabre", "sabre", 1, 170}},
    {124, {"sword", "great sword", 1, 3000}},
    {125, {"axe", "small axe", 2, 150}},
    {130, {"axe", "great axe", 2, 2500}},
    {131, {"mace", "mace", 4, 200}},
    {133, {"hammer", "war hammer", 4, 600}},
    {135, {"club", "club", 4, 20}},
    {137, {"maul", "maul", 4, 900}},
    {138, {"bow", "short bow", 3, 100}},
    {139, {"bow", "hunter's bow", 3, 350}},
    {145, {"bow", "long war bow", 3, 2000}},
    {146, {"staff", "short staff", 10, 30}},
    {150, {"staff", "war staff", 10, 1500}},
    {151, {"ring", "ring", 12, 1000}},
    {153, {"ring", "ring", 12, 1000}},
    {154, {"amulet", "amulet", 13, 1200}},
    {155, {"amulet", "amulet", 13, 1200}},
};

TEST(BaseItems, SampleRowsFromEveryBlock) {
  for (const auto& [index, expected] : kSamples) {
    EXPECT_EQ(BaseItemOf(index, false), expected) << "index " << index;
    EXPECT_EQ(BaseItemOf(index, true), expected) << "index " << index << " in V&K mode";
  }
}

TEST(BaseItems, Row96IsThePreciousRingOnlyInVkMode) {
  EXPECT_EQ(BaseItemOf(96, false), kUndefined);
  EXPECT_EQ(BaseItemOf(96, true), (BaseItemRow{"ring", "precious ring", 0, 100000}));
}

TEST(BaseItems, Row143IsTheCrossbowOnlyInVkMode) {
  EXPECT_EQ(BaseItemOf(143, false), (BaseItemRow{"bow", "long battle bow", 3, 1000}));
  EXPECT_EQ(BaseItemOf(143, true), (BaseItemRow{"bow", "crossbow", 3, 1000}));
}

TEST(BaseItems, VkModeChangesOnlyRows96And143) {
  for (int index = 0; index < kBaseItemCount; ++index) {
    const BaseItemRow vk = BaseItemOf(index, true);
    if (index == 96 || index == 143) {
      EXPECT_NE(vk, kBaseItems[static_cast<std::size_t>(index)]) << "index " << index;
    } else {
      EXPECT_EQ(vk, kBaseItems[static_cast<std::size_t>(index)]) << "index " << index;
    }
    EXPECT_EQ(BaseItemOf(index, false), kBaseItems[static_cast<std::size_t>(index)]);
  }
}

TEST(BaseItems, IndexOutsideTheTableIsAnUndefinedRow) {
  for (int index : {-1, -256, 256, 1000}) {
    EXPECT_EQ(BaseItemOf(index, false), kUndefined) << "index " << index;
    EXPECT_EQ(BaseItemOf(index, true), kUndefined) << "index " << index;
  }
}

TEST(BaseItems, EveryNamedRowHasBothNames) {
  for (const BaseItemRow& row : kBaseItems) {
    EXPECT_EQ(row.ShortName.empty(), row.FullName.empty()) << row.ShortName << row.FullName;
  }
}

}  // namespace
}  // namespace relicor
