#pragma once
// Item classes and the groups the pool pages gather them in. Class codes 0-13 are the values of
// an item's class byte and of a base item's class; code 14 stands for unique items and is used
// by the pool pages only.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace relicor {

inline constexpr int kClassCount = 15;
inline constexpr int kGroupCount = 10;

// Capacity of the class and group name columns.
inline constexpr std::size_t kClassNameCapacity = 32;

enum class ItemClass : std::uint8_t {
  kBook = 0,
  kSword = 1,
  kAxe = 2,
  kBow = 3,
  kClub = 4,
  kShield = 5,
  kArmor = 6,
  kHelm = 7,
  kMail = 8,
  kPlate = 9,
  kStaff = 10,
  kGold = 11,
  kRing = 12,
  kAmulet = 13,
  kUnique = 14,
};

extern const std::array<std::string_view, kClassCount> kClassNames;  // by class code
extern const std::array<std::string_view, kGroupCount> kGroupNames;  // by group number
extern const std::array<std::int32_t, kClassCount> kClassGroups;     // group of each class code

// Name of class `code` ("Sword", "UNIQUE"); empty for a code outside 0-14.
std::string_view ClassName(int code);

// Name of group `group` ("Weapon", "UNIQUES"); empty for a group outside 0-9.
std::string_view GroupName(int group);

// Group of class `code`; 0 for a code outside 0-14.
int GroupOfClass(int code);

// Number of class codes 0-14 in group `group` (4 for "Weapon"); 0 for a group nothing maps to.
int ClassCountOfGroup(int group);

// Lowest class code 0-14 in group `group` (6 for "Armor"); 0 when no code maps to it.
int FirstClassOfGroup(int group);

}  // namespace relicor
