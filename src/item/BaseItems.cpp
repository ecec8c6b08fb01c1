#include "item/BaseItems.h"

#include <algorithm>

namespace relicor {

namespace {

// The game's own item words, printed and matched as they stand (lower case, apostrophes included).
// clang-format off
constexpr auto kBaseItemRows = std::to_array<BaseItemRow>({
    //ShortName                    FullName                       Class BasePrice
    {"gold",                       "gold",                        11,        0},  // 0
    {"short sword",                "short sword",                 1,        50},  // 1
    {"buckler",                    "buckler",                     5,        50},  // 2
    {"club",                       "club",                        4,        20},  // 3
    {"short bow",                  "short bow",                   3,       100},  // 4
    {"short staff of charged bolt","short staff of charged bolt", 10,      520},  // 5
    {"cleaver",                    "cleaver",                     2,      2000},  // 6
    {"the undead crown",           "the undead crown",            7,     10000},  // 7
    {"empyrean band",              "empyrean band",               12,     8000},  // 8
    {"magic rock",                 "magic rock",                  0,         0},  // 9
    {"optic amulet",               "optic amulet",                13,     5000},  // 10
    {"ring of truth",              "ring of truth",               12,     1000},  // 11
    {"tavern sign",                "tavern sign",                 0,         0},  // 12
    {"harlequin crest",            "harlequin crest",             7,        15},  // 13
    {"veil of steel",              "veil of steel",               7,         0},  // 14
    {"golden elixir",              "golden elixir",               0,         0},  // 15
    {"anvil of fury",              "anvil of fury",               0,         0},  // 16
    {"black mushroom",             "black mushroom",              0,         0},  // 17
    {"brain",                      "brain",                       0,         0},  // 18
    {"fungal tome",                "fungal tome",                 0,         0},  // 19
    {"spectral elixir",            "spectral elixir",             0,         0},  // 20
    {"blood stone",                "blood stone",                 0,         0},  // 21
    {"map of the stars",           "map of the stars",            0,         0},  // 22
    {"ear",                        "ear",                         0,         0},  // 23  ears ("Ear of" the owner); the game's row is named "heart"
    {"potion of healing",          "potion of healing",           0,        50},  // 24
    {"potion of mana",             "potion of mana",              0,        50},  // 25
    {"scroll of identify",         "scroll of identify",          0,       200},  // 26
    {"scroll of town portal",      "scroll of town portal",       0,       200},  // 27
    {"arkaine's valor",            "arkaine's valor",             8,         0},  // 28
    {"potion of full healing",     "potion of full healing",      0,       150},  // 29
    {"potion of full mana",        "potion of full mana",         0,       150},  // 30
    {"griswold's edge",            "griswold's edge",             1,       750},  // 31
    {"lightforge",                 "lightforge",                  4,       200},  // 32
    {"staff of lazarus",           "staff of lazarus",            0,         0},  // 33
    {"scroll of resurrect",        "scroll of resurrect",         0,       250},  // 34
    {"",                           "",                            255,       0},  // 35
    {"",                           "",                            255,       0},  // 36
    {"",                           "",                            255,       0},  // 37
    {"",                           "",                            255,       0},  // 38
    {"",                           "",                            255,       0},  // 39
    {"",                           "",                            255,       0},  // 40
    {"",                           "",                            255,       0},  // 41
    {"",                           "",                            255,       0},  // 42
    {"",                           "",                            255,       0},  // 43
    {"",                           "",                            255,       0},  // 44
    {"",                           "",                            255,       0},  // 45
    {"",                           "",                            255,       0},  // 46
    {"",                           "",                            255,       0},  // 47
    {"cap",                        "cap",                         7,        15},  // 48
    {"cap",                        "skull cap",                   7,        25},  // 49
    {"helm",                       "helm",                        7,        40},  // 50
    {"helm",                       "full helm",                   7,        90},  // 51
    {"crown",                      "crown",                       7,       200},  // 52
    {"helm",                       "great helm",                  7,       400},  // 53
    {"cape",                       "cape",                        6,        10},  // 54
    {"rags",                       "rags",                        6,         5},  // 55
    {"cloak",                      "cloak",                       6,        40},  // 56
    {"robe",                       "robe",                        6,        75},  // 57
    {"armor",                      "quilted armor",               6,       200},  // 58
    {"armor",                      "leather armor",               6,       300},  // 59
    {"armor",                      "hard leather armor",          6,       450},  // 60
    {"armor",                      "studded leather armor",       6,       700},  // 61
    {"mail",                       "ring mail",                   8,       900},  // 62
    {"mail",                       "chain mail",                  8,      1250},  // 63
    {"mail",                       "scale mail",                  8,      2300},  // 64
    {"plate",                      "breast plate",                9,      2800},  // 65
    {"mail",                       "splint mail",                 8,      3250},  // 66
    {"plate",                      "plate mail",                  9,      4600},  // 67
    {"plate",                      "field plate",                 9,      5800},  // 68
    {"plate",                      "gothic plate",                9,      8000},  // 69
    {"plate",                      "full plate mail",             9,      6500},  // 70
    {"shield",                     "buckler",                     5,        30},  // 71
    {"shield",                     "small shield",                5,        90},  // 72
    {"shield",                     "large shield",                5,       200},  // 73
    {"shield",                     "kite shield",                 5,       400},  // 74
    {"shield",                     "tower shield",                5,       850},  // 75
    {"shield",                     "gothic shield",               5,      2300},  // 76
    {"potion of healing",          "potion of healing",           0,        50},  // 77
    {"potion of full healing",     "potion of full healing",      0,       150},  // 78
    {"potion of mana",             "potion of mana",              0,        50},  // 79
    {"potion of full mana",        "potion of full mana",         0,       150},  // 80
    {"potion of rejuvenation",     "potion of rejuvenation",      0,       120},  // 81
    {"potion of full rejuvenation","potion of full rejuvenation", 0,       600},  // 82
    {"elixir",                     "elixir of strength",          0,      5000},  // 83
    {"elixir",                     "elixir of magic",             0,      5000},  // 84
    {"elixir",                     "elixir of dexterity",         0,      5000},  // 85
    {"elixir",                     "elixir of vitality",          0,      5000},  // 86
    {"scroll of healing",          "scroll of healing",           0,        50},  // 87
    {"scroll of lightning",        "scroll of lightning",         0,       150},  // 88
    {"scroll of identify",         "scroll of identify",          0,       100},  // 89
    {"scroll of resurrect",        "scroll of resurrect",         0,       250},  // 90
    {"scroll of fire wall",        "scroll of fire wall",         0,       400},  // 91
    {"scroll of inferno",          "scroll of inferno",           0,       100},  // 92
    {"scroll of town portal",      "scroll of town portal",       0,       200},  // 93
    {"scroll of flash",            "scroll of flash",             0,       500},  // 94
    {"scroll of infravision",      "scroll of infravision",       0,       600},  // 95
    {"scroll of phasing",          "scroll of phasing",           0,       200},  // 96
    {"scroll of mana shield",      "scroll of mana shield",       0,      1200},  // 97
    {"scroll of flame wave",       "scroll of flame wave",        0,       650},  // 98
    {"scroll of fireball",         "scroll of fireball",          0,       300},  // 99
    {"scroll of stone curse",      "scroll of stone curse",       0,       800},  // 100
    {"scroll of chain lightning",  "scroll of chain lightning",   0,       750},  // 101
    {"scroll of guardian",         "scroll of guardian",          0,       950},  // 102
    {"non item",                   "non item",                    0,         0},  // 103
    {"scroll of nova",             "scroll of nova",              0,      1300},  // 104
    {"scroll of golem",            "scroll of golem",             0,      1100},  // 105
    {"scroll of none",             "scroll of none",              0,      1000},  // 106
    {"scroll of teleport",         "scroll of teleport",          0,      3000},  // 107
    {"scroll of apocalypse",       "scroll of apocalypse",        0,      2000},  // 108
    {"book",                       "book",                        0,         0},  // 109
    {"book",                       "book",                        0,         0},  // 110
    {"book",                       "book",                        0,         0},  // 111
    {"book",                       "book",                        0,         0},  // 112
    {"dagger",                     "dagger",                      1,        60},  // 113
    {"sword",                      "short sword",                 1,       120},  // 114
    {"sword",                      "falchion",                    1,       250},  // 115
    {"sword",                      "scimitar",                    1,       200},  // 116
    {"sword",                      "claymore",                    1,       450},  // 117
    {"blade",                      "blade",                       1,       280},  // 118
    {"sabre",                      "sabre",                       1,       170},  // 119
    {"sword",                      "long sword",                  1,       350},  // 120
    {"sword",                      "broad sword",                 1,       750},  // 121
    {"sword",                      "bastard sword",               1,      1000},  // 122
    {"sword",                      "two-handed sword",            1,      1800},  // 123
    {"sword",                      "great sword",                 1,      3000},  // 124
    {"axe",                        "small axe",                   2,       150},  // 125
    {"axe",                        "axe",                         2,       450},  // 126
    {"axe",                        "large axe",                   2,       750},  // 127
    {"axe",                        "broad axe",                   2,      1000},  // 128
    {"axe",                        "battle axe",                  2,      1500},  // 129
    {"axe",                        "great axe",                   2,      2500},  // 130
    {"mace",                       "mace",                        4,       200},  // 131
    {"mace",                       "morning star",                4,       300},  // 132
    {"hammer",                     "war hammer",                  4,       600},  // 133
    {"club",                       "spiked club",                 4,       225},  // 134
    {"club",                       "club",                        4,        20},  // 135
    {"flail",                      "flail",                       4,       500},  // 136
    {"maul",                       "maul",                        4,       900},  // 137
    {"bow",                        "short bow",                   3,       100},  // 138
    {"bow",                        "hunter's bow",                3,       350},  // 139
    {"bow",                        "long bow",                    3,       250},  // 140
    {"bow",                        "composite bow",               3,       600},  // 141
    {"bow",                        "short battle bow",            3,       750},  // 142
    {"bow",                        "long battle bow",             3,      1000},  // 143  V&K: "crossbow"
    {"bow",                        "short war bow",               3,      1500},  // 144
    {"bow",                        "long war bow",                3,      2000},  // 145
    {"staff",                      "short staff",                 10,       30},  // 146
    {"staff",                      "long staff",                  10,      100},  // 147
    {"staff",                      "composite staff",             10,      500},  // 148
    {"staff",                      "quarter staff",               10,     1000},  // 149
    {"staff",                      "war staff",                   10,     1500},  // 150
    {"ring",                       "ring",                        12,     1000},  // 151
    {"ring",                       "ring",                        12,     1000},  // 152
    {"ring",                       "ring",                        12,     1000},  // 153
    {"amulet",                     "amulet",                      13,     1200},  // 154
    {"amulet",                     "amulet",                      13,     1200},  // 155
    // 156-255: beyond the game's items, every field zero
    {"",                           "",                            0,         0},  // 156
    {"",                           "",                            0,         0},  // 157
    {"",                           "",                            0,         0},  // 158
    {"",                           "",                            0,         0},  // 159
    {"",                           "",                            0,         0},  // 160
    {"",                           "",                            0,         0},  // 161
    {"",                           "",                            0,         0},  // 162
    {"",                           "",                            0,         0},  // 163
    {"",                           "",                            0,         0},  // 164
    {"",                           "",                            0,         0},  // 165
    {"",                           "",                            0,         0},  // 166
    {"",                           "",                            0,         0},  // 167
    {"",                           "",                            0,         0},  // 168
    {"",                           "",                            0,         0},  // 169
    {"",                           "",                            0,         0},  // 170
    {"",                           "",                            0,         0},  // 171
    {"",                           "",                            0,         0},  // 172
    {"",                           "",                            0,         0},  // 173
    {"",                           "",                            0,         0},  // 174
    {"",                           "",                            0,         0},  // 175
    {"",                           "",                            0,         0},  // 176
    {"",                           "",                            0,         0},  // 177
    {"",                           "",                            0,         0},  // 178
    {"",                           "",                            0,         0},  // 179
    {"",                           "",                            0,         0},  // 180
    {"",                           "",                            0,         0},  // 181
    {"",                           "",                            0,         0},  // 182
    {"",                           "",                            0,         0},  // 183
    {"",                           "",                            0,         0},  // 184
    {"",                           "",                            0,         0},  // 185
    {"",                           "",                            0,         0},  // 186
    {"",                           "",                            0,         0},  // 187
    {"",                           "",                            0,         0},  // 188
    {"",                           "",                            0,         0},  // 189
    {"",                           "",                            0,         0},  // 190
    {"",                           "",                            0,         0},  // 191
    {"",                           "",                            0,         0},  // 192
    {"",                           "",                            0,         0},  // 193
    {"",                           "",                            0,         0},  // 194
    {"",                           "",                            0,         0},  // 195
    {"",                           "",                            0,         0},  // 196
    {"",                           "",                            0,         0},  // 197
    {"",                           "",                            0,         0},  // 198
    {"",                           "",                            0,         0},  // 199
    {"",                           "",                            0,         0},  // 200
    {"",                           "",                            0,         0},  // 201
    {"",                           "",                            0,         0},  // 202
    {"",                           "",                            0,         0},  // 203
    {"",                           "",                            0,         0},  // 204
    {"",                           "",                            0,         0},  // 205
    {"",                           "",                            0,         0},  // 206
    {"",                           "",                            0,         0},  // 207
    {"",                           "",                            0,         0},  // 208
    {"",                           "",                            0,         0},  // 209
    {"",                           "",                            0,         0},  // 210
    {"",                           "",                            0,         0},  // 211
    {"",                           "",                            0,         0},  // 212
    {"",                           "",                            0,         0},  // 213
    {"",                           "",                            0,         0},  // 214
    {"",                           "",                            0,         0},  // 215
    {"",                           "",                            0,         0},  // 216
    {"",                           "",                            0,         0},  // 217
    {"",                           "",                            0,         0},  // 218
    {"",                           "",                            0,         0},  // 219
    {"",                           "",                            0,         0},  // 220
    {"",                           "",                            0,         0},  // 221
    {"",                           "",                            0,         0},  // 222
    {"",                           "",                            0,         0},  // 223
    {"",                           "",                            0,         0},  // 224
    {"",                           "",                            0,         0},  // 225
    {"",                           "",                            0,         0},  // 226
    {"",                           "",                            0,         0},  // 227
    {"",                           "",                            0,         0},  // 228
    {"",                           "",                            0,         0},  // 229
    {"",                           "",                            0,         0},  // 230
    {"",                           "",                            0,         0},  // 231
    {"",                           "",                            0,         0},  // 232
    {"",                           "",                            0,         0},  // 233
    {"",                           "",                            0,         0},  // 234
    {"",                           "",                            0,         0},  // 235
    {"",                           "",                            0,         0},  // 236
    {"",                           "",                            0,         0},  // 237
    {"",                           "",                            0,         0},  // 238
    {"",                           "",                            0,         0},  // 239
    {"",                           "",                            0,         0},  // 240
    {"",                           "",                            0,         0},  // 241
    {"",                           "",                            0,         0},  // 242
    {"",                           "",                            0,         0},  // 243
    {"",                           "",                            0,         0},  // 244
    {"",                           "",                            0,         0},  // 245
    {"",                           "",                            0,         0},  // 246
    {"",                           "",                            0,         0},  // 247
    {"",                           "",                            0,         0},  // 248
    {"",                           "",                            0,         0},  // 249
    {"",                           "",                            0,         0},  // 250
    {"",                           "",                            0,         0},  // 251
    {"",                           "",                            0,         0},  // 252
    {"",                           "",                            0,         0},  // 253
    {"",                           "",                            0,         0},  // 254
    {"",                           "",                            0,         0},  // 255
});
// clang-format on

static_assert(kBaseItemRows.size() == kBaseItemCount, "one row per base item byte value");

constexpr bool NamesFitTheirColumns() {
  return std::all_of(kBaseItemRows.begin(), kBaseItemRows.end(), [](const BaseItemRow& row) {
    return row.ShortName.size() <= kBaseItemShortNameCapacity &&
           row.FullName.size() <= kBaseItemFullNameCapacity;
  });
}
static_assert(NamesFitTheirColumns(), "a name is longer than its column");

constexpr BaseItemRow kUndefinedRow{"", "", kUndefinedBaseItemClass, 0};

}  // namespace

constexpr std::array<BaseItemRow, kBaseItemCount> kBaseItems = kBaseItemRows;

BaseItemRow BaseItemOf(int index, bool vkMode) {
  if (index < 0 || index >= kBaseItemCount) {
    return kUndefinedRow;
  }
  BaseItemRow row = kBaseItems[static_cast<std::size_t>(index)];
  if (vkMode) {
    if (index == 96) {
      row = BaseItemRow{"ring", "precious ring", 0, 100000};
    } else if (index == 143) {
      row.FullName = "crossbow";
    }
  }
  return row;
}

}  // namespace relicor
