// The stored names the name check accepts for an item of a base row and its affix slots.

#include <gtest/gtest.h>

#include <string>
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

// Every name is a working text: cut after its 255th character, wherever that falls.
TEST(NameResolverTest, NamesAreCutToAWorkingText) {
  const BaseItemRow falchion{"sword", "falchion", 1, 250};
  struct Case {
    std::size_t prefix, suffix;
  };
  for (const Case c :
       {Case{0, 250}, Case{250, 0}, Case{254, 0}, Case{255, 300}, Case{240, 5}, Case{10, 10}}) {
    AffixSlots slots;
    slots.SetPrefix(std::string(c.prefix, 'p'));
    slots.SetSuffix(std::string(c.suffix, 's'));
    const std::string prefix = c.prefix == 0 ? "" : (std::string(c.prefix, 'p') + " ").substr(0, 255);
    const std::string suffix = c.suffix == 0 ? "" : (" of " + std::string(c.suffix, 's')).substr(0, 255);
    const ResolvedNames names = AssembleNames(slots, falchion, nullptr);
    const auto cut = [](std::string a, std::string_view b, std::string_view c) {
      return a.append(b).append(c).substr(0, 255);
    };
    EXPECT_EQ(names.resolved, cut(prefix, "sword", suffix)) << c.prefix << " " << c.suffix;
    EXPECT_EQ(names.alternative, cut(prefix, "falchion", "")) << c.prefix << " " << c.suffix;
    EXPECT_EQ(names.fullName, cut(prefix, "falchion", suffix)) << c.prefix << " " << c.suffix;
  }
}

}  // namespace
}  // namespace relicor
