#include "item/ItemClasses.h"

#include <algorithm>

namespace relicor {

// clang-format off
constexpr std::array<std::string_view, kClassCount> kClassNames = {
    "Book",    // 0
    "Sword",   // 1
    "Axe",     // 2
    "Bow",     // 3
    "Club",    // 4
    "Shield",  // 5
    "Armor",   // 6
    "Helm",    // 7
    "Mail",    // 8
    "Plate",   // 9
    "Staff",   // 10
    "Gold",    // 11
    "Ring",    // 12
    "Amulet",  // 13
    "UNIQUE",  // 14
};

constexpr std::array<std::string_view, kGroupCount> kGroupNames = {
    "Books",    // 0
    "Weapon",   // 1
    "Shield",   // 2
    "Armor",    // 3
    "Helm",     // 4
    "Staff",    // 5
    "Gold",     // 6
    "Ring",     // 7
    "Amulet",   // 8
    "UNIQUES",  // 9
};

constexpr std::array<std::int32_t, kClassCount> kClassGroups = {
    //Group  Class
    0,     // 0  Book
    1,     // 1  Sword
    1,     // 2  Axe
    1,     // 3  Bow
    1,     // 4  Club
    2,     // 5  Shield
    3,     // 6  Armor
    4,     // 7  Helm
    3,     // 8  Mail
    3,     // 9  Plate
    5,     // 10 Staff
    6,     // 11 Gold
    7,     // 12 Ring
    8,     // 13 Amulet
    9,     // 14 UNIQUE
};
// clang-format on

namespace {

constexpr bool TableIsSound() {
  for (std::string_view name : kClassNames) {
    if (name.empty() || name.size() > kClassNameCapacity) return false;
  }
  for (std::string_view name : kGroupNames) {
    if (name.empty() || name.size() > kClassNameCapacity) return false;
  }
  return std::all_of(kClassGroups.begin(), kClassGroups.end(),
                     [](std::int32_t group) { return group >= 0 && group < kGroupCount; });
}
static_assert(TableIsSound(), "class and group tables out of shape");

}  // namespace

std::string_view ClassName(int code) {
  if (code < 0 || code >= kClassCount) return {};
  return kClassNames[static_cast<std::size_t>(code)];
}

std::string_view GroupName(int group) {
  if (group < 0 || group >= kGroupCount) return {};
  return kGroupNames[static_cast<std::size_t>(group)];
}

int GroupOfClass(int code) {
  if (code < 0 || code >= kClassCount) return 0;
  return kClassGroups[static_cast<std::size_t>(code)];
}

int ClassCountOfGroup(int group) {
  return static_cast<int>(std::count(kClassGroups.begin(), kClassGroups.end(), group));
}

int FirstClassOfGroup(int group) {
  for (int code = 0; code < kClassCount; ++code) {
    if (kClassGroups[static_cast<std::size_t>(code)] == group) return code;
  }
  return 0;
}

}  // namespace relicor
