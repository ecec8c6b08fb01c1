// The stored names the name check accepts for an item of a base row and its affix slots.

#include <gtest/gtest.h>

#include <string_view>

#include "identify/NameResolver.h"

namespace relicor {
namespace {

struct NameCase {
  std::string_view prefix, suffix, stored;
  bool accepted;
};

// The game names an item with the base item's full name when the whole name fits its panel, else
// with the short name: both forms are the game's ("Falchion of skill", "Sword of skill").
TEST(NameResolverTest, AcceptsTheGamesFullAndShortForms) {
  const BaseItemRow falchion{"sword", "falchion", 1, 250};
  const NameCase cases[] = {
      {"", "skill", "Falchion of skill", true},  // fits: the full name
      {"", "skill", "Sword of skill", true},     // the short form
      {"Jagged", "skill", "JAGGED FALCHION OF SKILL", true},
      {"Jagged", "", "Jagged Falchion", true},
      {"Jagged", "", "Jagged Sword", true},
      {"", "", "Falchion", true},
      {"", "skill", "Falchion", true},                  // without the suffix, as before
      {"", "skill", "Falchion of zest", false},         // another suffix
      {"Jagged", "skill", "Falchion of skill", false},  // the prefix left out
      {"", "skill", "Scimitar of skill", false},        // another base item
      {"", "skill", "", false},
  };
  for (const NameCase& c : cases) {
    AffixSlots slots;
    slots.SetPrefix(c.prefix);
    slots.SetSuffix(c.suffix);
    EXPECT_EQ(NameMatches(AssembleNames(slots, falchion, nullptr), c.stored), c.accepted) << c.stored;
  }
}

// A unique keeps its own name and the base item's name; the full form with affixes is not one.
TEST(NameResolverTest, UniqueGetsNoFullForm) {
  const BaseItemRow bow{"bow", "long battle bow", 3, 1000};
  const std::string_view needler = "the needler";
  AffixSlots slots;
  slots.SetSuffix("haste");
  const ResolvedNames names = AssembleNames(slots, bow, &needler);
  EXPECT_TRUE(names.fullName.empty());
  EXPECT_TRUE(NameMatches(names, "The Needler"));
  EXPECT_FALSE(NameMatches(names, "long battle bow of haste"));
}

}  // namespace
}  // namespace relicor
