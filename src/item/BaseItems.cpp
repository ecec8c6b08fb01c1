#include "item/BaseItems.h"

#include <algorithm>

namespace relicor {

namespace {

// The game's own item words, printed and matched as they stand (lower case, apostrophes included).
// clang-format off
constexpr auto kBaseItemRows = std::to_array<BaseItemRow>({
    //ShortName          FullName                  Class  BasePrice
    {"",                "",                        255,           0},  // 0
    {"",                "",                        255,           0},  // 1
    {"",                "",                        255,           0},  // 2
    {"",                "",                        255,           0},  // 3
    {"",                "",                        255,           0},  // 4
    {"",                "",                        255,           0},  // 5
    {"",                "",                        255,           0},  // 6
    {"",                "",                        255,           0},  // 7
    {"empyrean band",   "empyrean band",           12,            0},  // 8
    {"",                "",                        255,           0},  // 9
    {"optic amulet",    "optic amulet",            13,            0},  // 10
    {"ring of truth",   "ring of truth",           12,            0},  // 11
    {"",                "",                        255,           0},  // 12
    {"harlequin crest", "harlequin crest",         7,             0},  // 13
    {"",                "",                        255,           0},  // 14
    {"",                "",                        255,           0},  // 15
    {"",                "",                        255,           0},  // 16
    {"",                "",                        255,           0},  // 17
    {"",                "",                        255,           0},  // 18
    {"",                "",                        255,           0},  // 19
    {"",                "",                        255,           0},  // 20
    {"",                "",                        255,           0},  // 21
    {"",                "",                        255,           0},  // 22
    {"ear",             "ear",                     255,           0},  // 23  named, class 255
    {"",                "",                        255,           0},  // 24
    {"",                "",                        255,           0},  // 25
    {"",                "",                        255,           0},  // 26
    {"",                "",                        255,           0},  // 27
    {"arkaine's valor", "arkaine's valor",         255,           0},  // 28  named, class 255
    {"",                "",                        255,           0},  // 29
    {"",                "",                        255,           0},  // 30
    {"",                "",                        255,           0},  // 31
    {"",                "",                        255,           0},  // 32
    {"",                "",                        255,           0},  // 33
    {"",                "",                        255,           0},  // 34
    {"",                "",                        255,           0},  // 35
    {"",                "",                        255,           0},  // 36
    {"",                "",                        255,           0},  // 37
    {"",                "",                        255,           0},  // 38
    {"",                "",                        255,           0},  // 39
    {"",                "",                        255,           0},  // 40
    {"",                "",                        255,           0},  // 41
    {"",                "",                        255,           0},  // 42
    {"",                "",                        255,           0},  // 43
    {"",                "",                        255,           0},  // 44
    {"",                "",                        255,           0},  // 45
    {"",                "",                        255,           0},  // 46
    {"",                "",                        255,           0},  // 47
    {"cap",             "cap",                     7,            15},  // 48
    {"cap",             "skull cap",               7,            25},  // 49
    {"helm",            "helm",                    7,            40},  // 50
    {"helm",            "full helm",               7,            90},  // 51
    {"crown",           "crown",                   7,           200},  // 52
    {"helm",            "great helm",              7,           400},  // 53
    {"cape",            "cape",                    6,            10},  // 54
    {"rags",            "rags",                    6,             5},  // 55
    {"cloak",           "cloak",                   6,            40},  // 56
    {"robe",            "robe",                    6,            75},  // 57
    {"armor",           "quilted armor",           6,           200},  // 58
    {"armor",           "leather armor",           6,           300},  // 59
    {"armor",           "hard leather armor",      6,           450},  // 60
    {"armor",           "studded leather armor",   6,           700},  // 61
    {"mail",            "ring mail",               8,           900},  // 62
    {"mail",            "chain mail",              8,          1250},  // 63
    {"mail",            "scale mail",              8,          2300},  // 64
    {"plate",           "breast plate",            9,          2800},  // 65
    {"mail",            "splint mail",             8,          3250},  // 66
    {"plate",           "plate mail",              9,          4600},  // 67
    {"plate",           "field plate",             9,          5800},  // 68
    {"plate",           "gothic plate",            9,          8000},  // 69
    {"plate",           "full plate mail",         9,          6500},  // 70
    {"shield",          "buckler",                 5,            30},  // 71
    {"shield",          "small shield",            5,            90},  // 72
    {"shield",          "large shield",            5,           200},  // 73
    {"shield",          "kite shield",             5,           400},  // 74
    {"shield",          "tower shield",            5,           850},  // 75
    {"shield",          "gothic shield",           5,          2300},  // 76
    {"",                "",                        255,           0},  // 77
    {"",                "",                        255,           0},  // 78
    {"",                "",                        255,           0},  // 79
    {"",                "",                        255,           0},  // 80
    {"",                "",                        255,           0},  // 81
    {"",                "",                        255,           0},  // 82
    {"elixir",          "elixir of strength",      0,          5000},  // 83
    {"elixir",          "elixir of magic",         0,          5000},  // 84
    {"elixir",          "elixir of dexterity",     0,          5000},  // 85
    {"elixir",          "elixir of vitality",      0,          5000},  // 86
    {"",                "",                        255,           0},  // 87
    {"",                "",                        255,           0},  // 88
    {"",                "",                        255,           0},  // 89
    {"",                "",                        255,           0},  // 90
    {"",                "",                        255,           0},  // 91
    {"",                "",                        255,           0},  // 92
    {"",                "",                        255,           0},  // 93
    {"",                "",                        255,           0},  // 94
    {"",                "",                        255,           0},  // 95
    {"",                "",                        255,           0},  // 96  V&K: "precious ring"
    {"",                "",                        255,           0},  // 97
    {"",                "",                        255,           0},  // 98
    {"",                "",                        255,           0},  // 99
    {"",                "",                        255,           0},  // 100
    {"",                "",                        255,           0},  // 101
    {"",                "",                        255,           0},  // 102
    {"",                "",                        255,           0},  // 103
    {"",                "",                        255,           0},  // 104
    {"",                "",                        255,           0},  // 105
    {"",                "",                        255,           0},  // 106
    {"",                "",                        255,           0},  // 107
    {"",                "",                        255,           0},  // 108
    {"book",            "book",                    0,             0},  // 109
    {"book",            "book",                    0,             0},  // 110
    {"book",            "book",                    0,             0},  // 111
    {"book",            "book",                    0,             0},  // 112
    {"dagger",          "dagger",                  1,            60},  // 113
    {"sword",           "short sword",             1,           120},  // 114
    {"sword",           "falchion",                1,           250},  // 115
    {"sword",           "scimitar",                1,           200},  // 116
    {"sword",           "claymore",                1,           450},  // 117
    {"blade",           "blade",                   1,           280},  // 118
    {"sabre",           "sabre",                   1,           170},  // 119
    {"sword",           "long sword",              1,           350},  // 120
    {"sword",           "broad sword",             1,           750},  // 121
    {"sword",           "bastard sword",           1,          1000},  // 122
    {"sword",           "two-handed sword",        1,          1800},  // 123
    {"sword",           "great sword",             1,          3000},  // 124
    {"axe",             "small axe",               2,           150},  // 125
    {"axe",             "axe",                     2,           450},  // 126
    {"axe",             "large axe",               2,           750},  // 127
    {"axe",             "broad axe",               2,          1000},  // 128
    {"axe",             "battle axe",              2,          1500},  // 129
    {"axe",             "great axe",               2,          2500},  // 130
    {"mace",            "mace",                    4,           200},  // 131
    {"mace",            "morning star",            4,           300},  // 132
    {"hammer",          "war hammer",              4,           600},  // 133
    {"club",            "spiked club",             4,           225},  // 134
    {"club",            "club",                    4,            20},  // 135
    {"flail",           "flail",                   4,           500},  // 136
    {"maul",            "maul",                    4,           900},  // 137
    {"bow",             "short bow",               3,           100},  // 138
    {"bow",             "hunter's bow",            3,           350},  // 139
    {"bow",             "long bow",                3,           250},  // 140
    {"bow",             "composite bow",           3,           600},  // 141
    {"bow",             "short battle bow",        3,           750},  // 142
    {"bow",             "long battle bow",         3,          1000},  // 143  V&K: "crossbow"
    {"bow",             "short war bow",           3,          1500},  // 144
    {"bow",             "long war bow",            3,          2000},  // 145
    {"staff",           "short staff",             10,           30},  // 146
    {"staff",           "long staff",              10,          100},  // 147
    {"staff",           "composite staff",         10,          500},  // 148
    {"staff",           "quarter staff",           10,         1000},  // 149
    {"staff",           "war staff",               10,         1500},  // 150
    {"ring",            "ring",                    12,         1000},  // 151
    {"ring",            "ring",                    12,         1000},  // 152
    {"ring",            "ring",                    12,         1000},  // 153
    {"amulet",          "amulet",                  13,         1200},  // 154
    {"amulet",          "amulet",                  13,         1200},  // 155
    // 156-255: beyond the game's items, every field zero
    {"",                "",                        0,             0},  // 156
    {"",                "",                        0,             0},  // 157
    {"",                "",                        0,             0},  // 158
    {"",                "",                        0,             0},  // 159
    {"",                "",                        0,             0},  // 160
    {"",                "",                        0,             0},  // 161
    {"",                "",                        0,             0},  // 162
    {"",                "",                        0,             0},  // 163
    {"",                "",                        0,             0},  // 164
    {"",                "",                        0,             0},  // 165
    {"",                "",                        0,             0},  // 166
    {"",                "",                        0,             0},  // 167
    {"",                "",                        0,             0},  // 168
    {"",                "",                        0,             0},  // 169
    {"",                "",                        0,             0},  // 170
    {"",                "",                        0,             0},  // 171
    {"",                "",                        0,             0},  // 172
    {"",                "",                        0,             0},  // 173
    {"",                "",                        0,             0},  // 174
    {"",                "",                        0,             0},  // 175
    {"",                "",                        0,             0},  // 176
    {"",                "",                        0,             0},  // 177
    {"",                "",                        0,             0},  // 178
    {"",                "",                        0,             0},  // 179
    {"",                "",                        0,             0},  // 180
    {"",                "",                        0,             0},  // 181
    {"",                "",                        0,             0},  // 182
    {"",                "",                        0,             0},  // 183
    {"",                "",                        0,             0},  // 184
    {"",                "",                        0,             0},  // 185
    {"",                "",                        0,             0},  // 186
    {"",                "",                        0,             0},  // 187
    {"",                "",                        0,             0},  // 188
    {"",                "",                        0,             0},  // 189
    {"",                "",                        0,             0},  // 190
    {"",                "",                        0,             0},  // 191
    {"",                "",                        0,             0},  // 192
    {"",                "",                        0,             0},  // 193
    {"",                "",                        0,             0},  // 194
    {"",                "",                        0,             0},  // 195
    {"",                "",                        0,             0},  // 196
    {"",                "",                        0,             0},  // 197
    {"",                "",                        0,             0},  // 198
    {"",                "",                        0,             0},  // 199
    {"",                "",                        0,             0},  // 200
    {"",                "",                        0,             0},  // 201
    {"",                "",                        0,             0},  // 202
    {"",                "",                        0,             0},  // 203
    {"",                "",                        0,             0},  // 204
    {"",                "",                        0,             0},  // 205
    {"",                "",                        0,             0},  // 206
    {"",                "",                        0,             0},  // 207
    {"",                "",                        0,             0},  // 208
    {"",                "",                        0,             0},  // 209
    {"",                "",                        0,             0},  // 210
    {"",                "",                        0,             0},  // 211
    {"",                "",                        0,             0},  // 212
    {"",                "",                        0,             0},  // 213
    {"",                "",                        0,             0},  // 214
    {"",                "",                        0,             0},  // 215
    {"",                "",                        0,             0},  // 216
    {"",                "",                        0,             0},  // 217
    {"",                "",                        0,             0},  // 218
    {"",                "",                        0,             0},  // 219
    {"",                "",                        0,             0},  // 220
    {"",                "",                        0,             0},  // 221
    {"",                "",                        0,             0},  // 222
    {"",                "",                        0,             0},  // 223
    {"",                "",                        0,             0},  // 224
    {"",                "",                        0,             0},  // 225
    {"",                "",                        0,             0},  // 226
    {"",                "",                        0,             0},  // 227
    {"",                "",                        0,             0},  // 228
    {"",                "",                        0,             0},  // 229
    {"",                "",                        0,             0},  // 230
    {"",                "",                        0,             0},  // 231
    {"",                "",                        0,             0},  // 232
    {"",                "",                        0,             0},  // 233
    {"",                "",                        0,             0},  // 234
    {"",                "",                        0,             0},  // 235
    {"",                "",                        0,             0},  // 236
    {"",                "",                        0,             0},  // 237
    {"",                "",                        0,             0},  // 238
    {"",                "",                        0,             0},  // 239
    {"",                "",                        0,             0},  // 240
    {"",                "",                        0,             0},  // 241
    {"",                "",                        0,             0},  // 242
    {"",                "",                        0,             0},  // 243
    {"",                "",                        0,             0},  // 244
    {"",                "",                        0,             0},  // 245
    {"",                "",                        0,             0},  // 246
    {"",                "",                        0,             0},  // 247
    {"",                "",                        0,             0},  // 248
    {"",                "",                        0,             0},  // 249
    {"",                "",                        0,             0},  // 250
    {"",                "",                        0,             0},  // 251
    {"",                "",                        0,             0},  // 252
    {"",                "",                        0,             0},  // 253
    {"",                "",                        0,             0},  // 254
    {"",                "",                        0,             0},  // 255
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
