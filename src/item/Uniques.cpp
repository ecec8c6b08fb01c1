#include "item/Uniques.h"

#include <algorithm>

namespace relicor {

namespace {

// The game's own names, matched and printed as they stand; misspellings such as "helm of sprits"
// and "gotterdamerung" are the game's. Base items and availability are the game's too: a drop
// of a base type gets, of the uniques of that type whose level the drop reaches, the last in the
// game's table, while single player skips the ones already found; so uniques followed by one of
// the same type and level (the mangler, crackrust, the deflector, bramble, gonnagal's dirk) are
// found in single player only.
// clang-format off
constexpr auto kUniqueRows = std::to_array<UniqueRow>({
    //Name                       Low   High  Avail  Indestr  Price
    {"the butcher's cleaver",    6,    6,    0,     0,       0},  // 0
    {"the undead crown",         7,    7,    0,     0,       0},  // 1
    {"empyrean band",            8,    8,    0,     1,       0},  // 2
    {"optic amulet",             10,   10,   0,     1,       0},  // 3
    {"ring of truth",            11,   11,   0,     1,       0},  // 4
    {"harlequin crest",          13,   13,   0,     0,       0},  // 5
    {"veil of steel",            14,   14,   0,     0,       0},  // 6
    {"arkaine's valor",          28,   28,   0,     0,       0},  // 7
    {"griswold's edge",          31,   31,   0,     0,       0},  // 8
    {"lightforge",               131,  131,  2,     1,       0},  // 9
    {"the rift bow",             138,  138,  1,     0,       0},  // 10
    {"the needler",              138,  138,  1,     0,       0},  // 11
    {"the celestial bow",        140,  140,  1,     0,       0},  // 12
    {"deadly hunter",            141,  141,  1,     0,       0},  // 13
    {"bow of the dead",          141,  141,  1,     0,       0},  // 14
    {"the blackoak bow",         140,  140,  1,     0,       0},  // 15
    {"flamedart",                139,  139,  1,     0,       0},  // 16
    {"fleshstinger",             140,  140,  1,     0,       0},  // 17
    {"windforce",                145,  145,  1,     0,       0},  // 18
    {"eaglehorn",                143,  143,  1,     1,       0},  // 19
    {"gonnagal's dirk",          113,  113,  2,     0,       0},  // 20
    {"the defender",             119,  119,  1,     0,       0},  // 21
    {"gryphons claw",            115,  115,  1,     0,       0},  // 22
    {"black razor",              113,  113,  1,     0,       0},  // 23
    {"gibbous moon",             121,  121,  1,     0,       0},  // 24
    {"ice shank",                120,  120,  1,     0,       0},  // 25
    {"the executioner's blade",  115,  115,  1,     0,       0},  // 26
    {"the bonesaw",              117,  117,  1,     0,       0},  // 27
    {"shadowhawk",               121,  121,  1,     0,       0},  // 28
    {"wizardspike",              113,  113,  1,     0,       0},  // 29
    {"lightsabre",               119,  119,  1,     0,       0},  // 30
    {"the falcon's talon",       116,  116,  1,     0,       0},  // 31
    {"inferno",                  120,  120,  1,     0,       0},  // 32
    {"doombringer",              122,  122,  1,     0,       0},  // 33
    {"the grizzly",              123,  123,  1,     0,       0},  // 34
    {"the grandfather",          124,  124,  1,     0,       0},  // 35
    {"the mangler",              127,  127,  2,     0,       0},  // 36
    {"sharp beak",               127,  127,  1,     0,       0},  // 37
    {"bloodslayer",              128,  128,  1,     0,       0},  // 38
    {"the celestial axe",        129,  129,  1,     0,       0},  // 39
    {"wicked axe",               127,  127,  1,     1,       0},  // 40
    {"stonecleaver",             128,  128,  1,     0,       0},  // 41
    {"aguinara's hatchet",       125,  125,  1,     0,       0},  // 42
    {"hellslayer",               129,  129,  1,     1,       0},  // 43
    {"messerschmidt's reaver",   130,  130,  1,     0,       0},  // 44
    {"crackrust",                131,  131,  2,     1,       0},  // 45
    {"hammer of jholm",          137,  137,  1,     1,       0},  // 46
    {"civerb's cudgel",          131,  131,  1,     0,       0},  // 47
    {"the celestial star",       136,  136,  1,     0,       0},  // 48
    {"baranar's star",           132,  132,  1,     0,       0},  // 49
    {"gnarled root",             134,  135,  1,     0,       0},  // 50
    {"the cranium basher",       137,  137,  1,     1,       0},  // 51
    {"schaefer's hammer",        133,  133,  1,     0,       0},  // 52
    {"dreamflange",              131,  131,  1,     0,       0},  // 53
    {"staff of shadows",         147,  147,  1,     0,       0},  // 54
    {"immolator",                147,  147,  1,     0,       0},  // 55
    {"storm spire",              150,  150,  1,     0,       0},  // 56
    {"gleamsong",                146,  146,  1,     0,       0},  // 57
    {"thundercall",              148,  148,  1,     0,       0},  // 58
    {"the protector",            146,  146,  1,     0,       0},  // 59
    {"naj's puzzler",            147,  147,  1,     0,       0},  // 60
    {"mindcry",                  149,  149,  1,     0,       0},  // 61
    {"rod of onan",              150,  150,  1,     0,       0},  // 62  V&K: "wand of onan"
    {"helm of sprits",           50,   50,   1,     0,       0},  // 63
    {"thinking cap",             49,   49,   1,     0,       0},  // 64
    {"overlord's helm",          50,   50,   1,     0,       0},  // 65
    {"fool's crest",             50,   50,   1,     0,       0},  // 66
    {"gotterdamerung",           53,   53,   1,     0,       0},  // 67
    {"royal circlet",            52,   52,   1,     0,       0},  // 68
    {"torn flesh of souls",      55,   55,   1,     1,       0},  // 69
    {"the gladiator's bane",     61,   61,   1,     0,       0},  // 70
    {"the rainbow cloak",        56,   56,   1,     0,       0},  // 71
    {"leather of aut",           59,   59,   1,     1,       0},  // 72  V&K: "the strongshot"
    {"wisdom's wrap",            57,   57,   1,     0,       0},  // 73
    {"sparking mail",            63,   63,   1,     0,       0},  // 74
    {"scavenger carapace",       65,   65,   1,     0,       0},  // 75
    {"nightscape",               54,   54,   1,     0,       0},  // 76
    {"naj's light plate",        67,   67,   1,     0,       0},  // 77
    {"demonspike coat",          70,   70,   1,     1,       0},  // 78
    {"the deflector",            71,   71,   2,     0,       0},  // 79
    {"split skull shield",       71,   71,   1,     0,       0},  // 80
    {"dragon's breach",          74,   74,   1,     1,       0},  // 81
    {"blackoak shield",          72,   72,   1,     0,       0},  // 82
    {"holy defender",            73,   73,   1,     0,       0},  // 83
    {"stormshield",              75,   76,   1,     1,       0},  // 84
    {"bramble",                  151,  153,  2,     1,       0},  // 85
    {"ring of regha",            151,  153,  1,     1,       0},  // 86
    {"the bleeder",              151,  153,  1,     1,       0},  // 87
    {"constricting ring",        151,  153,  1,     1,       0},  // 88
    {"ring of engagement",       151,  153,  1,     1,       0},  // 89
});
// clang-format on

static_assert(kUniqueRows.size() == kUniqueCount, "one row per unique index");

constexpr bool NamesFitTheirColumn() {
  return std::all_of(kUniqueRows.begin(), kUniqueRows.end(),
                     [](const UniqueRow& row) { return row.Name.size() <= kUniqueNameCapacity; });
}
static_assert(NamesFitTheirColumn(), "a name is longer than its column");

constexpr UniqueRow kMissingRow{"", kNoBaseItem, kNoBaseItem, kUniqueNormal, 1, 0};

}  // namespace

constexpr std::array<UniqueRow, kUniqueCount> kUniques = kUniqueRows;

UniqueRow UniqueOf(int index, bool vkMode) {
  if (index < 0 || index >= kUniqueCount) {
    return kMissingRow;
  }
  UniqueRow row = kUniques[static_cast<std::size_t>(index)];
  if (vkMode) {
    if (index == 62) {
      row.Name = "wand of onan";
    } else if (index == 72) {
      row = UniqueRow{"the strongshot", 145, 145, kUniqueNormal, 0, 0};
    }
  }
  return row;
}

}  // namespace relicor
