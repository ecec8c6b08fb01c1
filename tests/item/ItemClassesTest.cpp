#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "item/ItemClasses.h"

namespace relicor {
namespace {

TEST(ItemClasses, TableSizes) {
  EXPECT_EQ(kClassCount, 15);
  EXPECT_EQ(kGroupCount, 10);
  EXPECT_EQ(kClassNames.size(), 15u);
  EXPECT_EQ(kGroupNames.size(), 10u);
  EXPECT_EQ(kClassGroups.size(), 15u);
}

struct ClassCase {
  ItemClass itemClass;
  std::string_view name;
  int group;
};

TEST(ItemClasses, ClassNamesAndGroups) {
  const std::vector<ClassCase> cases = {
      {ItemClass::kBook, "Book", 0},     {ItemClass::kSword, "Sword", 1},   {ItemClass::kBow, "Bow", 1},
      {ItemClass::kClub, "Club", 1},     {ItemClass::kShield, "Shield", 2}, {ItemClass::kArmor, "Armor", 3},
      {ItemClass::kHelm, "Helm", 4},     {ItemClass::kMail, "Mail", 3},     {ItemClass::kPlate, "Plate", 3},
      {ItemClass::kStaff, "Staff", 5},   {ItemClass::kGold, "Gold", 6},     {ItemClass::kRing, "Ring", 7},
      {ItemClass::kAmulet, "Amulet", 8}, {ItemClass::kUnique, "UNIQUE", 9},
  };
  for (const auto& [itemClass, name, group] : cases) {
    const int code = static_cast<int>(itemClass);
    EXPECT_EQ(ClassName(code), name) << "class " << code;
    EXPECT_EQ(GroupOfClass(code), group) << "class " << code;
  }
  EXPECT_EQ(static_cast<int>(ItemClass::kUnique), kClassCount - 1);
}

TEST(ItemClasses, GroupNames) {
  EXPECT_EQ(GroupName(0), "Books");
  EXPECT_EQ(GroupName(1), "Weapon");
  EXPECT_EQ(GroupName(3), "Armor");
  EXPECT_EQ(GroupName(6), "Gold");
  EXPECT_EQ(GroupName(9), "UNIQUES");
}

struct GroupCase {
  int group;
  int classCount;
  int firstClass;
};

TEST(ItemClasses, ClassCountAndFirstClassOfEachGroup) {
  const std::vector<GroupCase> cases = {
      {0, 1, 0},  {1, 4, 1},  {2, 1, 5},  {3, 3, 6},  {4, 1, 7},
      {5, 1, 10}, {6, 1, 11}, {7, 1, 12}, {8, 1, 13}, {9, 1, 14},
  };
  int total = 0;
  for (const auto& [group, classCount, firstClass] : cases) {
    EXPECT_EQ(ClassCountOfGroup(group), classCount) << "group " << group;
    EXPECT_EQ(FirstClassOfGroup(group), firstClass) << "group " << group;
    total += ClassCountOfGroup(group);
  }
  EXPECT_EQ(total, kClassCount);
}

// The pool pages' navigation bar: groups 1-9 except Gold, each linked to its first class.
TEST(ItemClasses, NavigationBarLinksTheFirstClassOfEachGroup) {
  std::vector<std::string_view> linked;
  for (int group = 1; group <= 9; ++group) {
    if (group != 6) linked.push_back(ClassName(FirstClassOfGroup(group)));
  }
  const std::vector<std::string_view> expected = {"Sword", "Shield", "Armor",  "Helm",
                                                  "Staff", "Ring",   "Amulet", "UNIQUE"};
  EXPECT_EQ(linked, expected);
}

TEST(ItemClasses, OutOfRangeArgumentsYieldEmptyTextOrZero) {
  for (int value : {-1, 15, 255, 1000}) {
    EXPECT_EQ(ClassName(value), "") << value;
    EXPECT_EQ(GroupOfClass(value), 0) << value;
  }
  for (int value : {-1, 10, 255}) {
    EXPECT_EQ(GroupName(value), "") << value;
    EXPECT_EQ(ClassCountOfGroup(value), 0) << value;
    EXPECT_EQ(FirstClassOfGroup(value), 0) << value;
  }
}

}  // namespace
}  // namespace relicor
