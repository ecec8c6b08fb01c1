#include <gtest/gtest.h>

#include <ostream>
#include <utility>
#include <vector>

#include "item/BaseItems.h"

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

TEST(BaseItems, UndefinedBlockCarriesClass255AndNothingElse) {
  // The game has no items at 35-47 either.
  for (int index = 35; index <= 47; ++index) {
    EXPECT_EQ(BaseItemOf(index, false), kUndefined) << "index " << index;
  }
}

TEST(BaseItems, RowsPastTheGameItemsAreAllZero) {
  for (int index = 156; index < kBaseItemCount; ++index) {
    EXPECT_EQ(BaseItemOf(index, false), kZero) << "index " << index;
    EXPECT_EQ(BaseItemOf(index, true), kZero) << "index " << index;
  }
}

// The rows the game has that the table once left undefined: starting gear, quest items and the
// bases of quest uniques, potions, scrolls (game name, type and value of each).
const std::vector<std::pair<int, BaseItemRow>> kGameRows = {
    {0, {"gold", "gold", 11, 0}},
    {1, {"short sword", "short sword", 1, 50}},
    {2, {"buckler", "buckler", 5, 50}},
    {3, {"club", "club", 4, 20}},
    {4, {"short bow", "short bow", 3, 100}},
    {5, {"short staff of charged bolt", "short staff of charged bolt", 10, 520}},
    {6, {"cleaver", "cleaver", 2, 2000}},
    {7, {"the undead crown", "the undead crown", 7, 10000}},
    {9, {"magic rock", "magic rock", 0, 0}},
    {12, {"tavern sign", "tavern sign", 0, 0}},
    {14, {"veil of steel", "veil of steel", 7, 0}},
    {15, {"golden elixir", "golden elixir", 0, 0}},
    {16, {"anvil of fury", "anvil of fury", 0, 0}},
    {17, {"black mushroom", "black mushroom", 0, 0}},
    {18, {"brain", "brain", 0, 0}},
    {19, {"fungal tome", "fungal tome", 0, 0}},
    {20, {"spectral elixir", "spectral elixir", 0, 0}},
    {21, {"blood stone", "blood stone", 0, 0}},
    {22, {"map of the stars", "map of the stars", 0, 0}},
    {24, {"potion of healing", "potion of healing", 0, 50}},
    {25, {"potion of mana", "potion of mana", 0, 50}},
    {26, {"scroll of identify", "scroll of identify", 0, 200}},
    {27, {"scroll of town portal", "scroll of town portal", 0, 200}},
    {29, {"potion of full healing", "potion of full healing", 0, 150}},
    {30, {"potion of full mana", "potion of full mana", 0, 150}},
    {31, {"griswold's edge", "griswold's edge", 1, 750}},
    {32, {"lightforge", "lightforge", 4, 200}},
    {33, {"staff of lazarus", "staff of lazarus", 0, 0}},
    {34, {"scroll of resurrect", "scroll of resurrect", 0, 250}},
    {77, {"potion of healing", "potion of healing", 0, 50}},
    {78, {"potion of full healing", "potion of full healing", 0, 150}},
    {79, {"potion of mana", "potion of mana", 0, 50}},
    {80, {"potion of full mana", "potion of full mana", 0, 150}},
    {81, {"potion of rejuvenation", "potion of rejuvenation", 0, 120}},
    {82, {"potion of full rejuvenation", "potion of full rejuvenation", 0, 600}},
    {87, {"scroll of healing", "scroll of healing", 0, 50}},
    {88, {"scroll of lightning", "scroll of lightning", 0, 150}},
    {89, {"scroll of identify", "scroll of identify", 0, 100}},
    {90, {"scroll of resurrect", "scroll of resurrect", 0, 250}},
    {91, {"scroll of fire wall", "scroll of fire wall", 0, 400}},
    {92, {"scroll of inferno", "scroll of inferno", 0, 100}},
    {93, {"scroll of town portal", "scroll of town portal", 0, 200}},
    {94, {"scroll of flash", "scroll of flash", 0, 500}},
    {95, {"scroll of infravision", "scroll of infravision", 0, 600}},
    {96, {"scroll of phasing", "scroll of phasing", 0, 200}},
    {97, {"scroll of mana shield", "scroll of mana shield", 0, 1200}},
    {98, {"scroll of flame wave", "scroll of flame wave", 0, 650}},
    {99, {"scroll of fireball", "scroll of fireball", 0, 300}},
    {100, {"scroll of stone curse", "scroll of stone curse", 0, 800}},
    {101, {"scroll of chain lightning", "scroll of chain lightning", 0, 750}},
    {102, {"scroll of guardian", "scroll of guardian", 0, 950}},
    {103, {"non item", "non item", 0, 0}},
    {104, {"scroll of nova", "scroll of nova", 0, 1300}},
    {105, {"scroll of golem", "scroll of golem", 0, 1100}},
    {106, {"scroll of none", "scroll of none", 0, 1000}},
    {107, {"scroll of teleport", "scroll of teleport", 0, 3000}},
    {108, {"scroll of apocalypse", "scroll of apocalypse", 0, 2000}},
};

TEST(BaseItems, RowsOfTheGameItemsAreDefined) {
  for (const auto& [index, expected] : kGameRows) {
    EXPECT_EQ(BaseItemOf(index, false), expected) << "index " << index;
  }
}

TEST(BaseItems, EarAndArkainesValorCarryTheGamesClass) {
  EXPECT_EQ(BaseItemOf(23, false), (BaseItemRow{"ear", "ear", 0, 0}));
  EXPECT_EQ(BaseItemOf(28, false), (BaseItemRow{"arkaine's valor", "arkaine's valor", 8, 0}));
}

TEST(BaseItems, BlockCounts) {
  int named = 0;
  int undefined = 0;
  for (const BaseItemRow& row : kBaseItems) {
    named += row.FullName.empty() ? 0 : 1;
    undefined += row.Class == kUndefinedBaseItemClass ? 1 : 0;
  }
  EXPECT_EQ(named, 143);     // every item of the game, 0-34 and 48-155
  EXPECT_EQ(undefined, 13);  // 35-47
}

struct SampleRow {
  int index;
  BaseItemRow row;
};

// First and last of every block of the table, plus rows whose short word differs from the
// usual one of their block.
const std::vector<SampleRow> kSamples = {
    {8, {"empyrean band", "empyrean band", 12, 8000}},
    {10, {"optic amulet", "optic amulet", 13, 5000}},
    {11, {"ring of truth", "ring of truth", 12, 1000}},
    {13, {"harlequin crest", "harlequin crest", 7, 15}},
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
  EXPECT_EQ(BaseItemOf(96, false), (BaseItemRow{"scroll of phasing", "scroll of phasing", 0, 200}));
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
