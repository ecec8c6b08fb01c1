#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

#include "text/TextTable.h"

namespace relicor {
namespace {

// Texts that differ only where a careless table would not look: in length, after a NUL byte, in
// the last byte, or not at all apart from being empty.
TEST(TextTable, TellsApartTextsThatDifferOnlyAtTheEdges) {
  TextTable<int> table;
  const std::string texts[] = {"",
                               "a",
                               "A",
                               "ab",
                               std::string("a\0b", 3),
                               std::string("a\0c", 3),
                               "/pool/X0001.ITM",
                               "/pool/X0001.IT0",
                               "/pool/X0001.ITM "};
  int value = 0;
  for (const std::string& text : texts) EXPECT_TRUE(table.Insert(text, value++).second) << text;
  EXPECT_EQ(table.size(), std::size(texts));
  value = 0;
  for (const std::string& text : texts) {
    ASSERT_NE(table.Find(text), nullptr) << text;
    EXPECT_EQ(*table.Find(text), value++) << text;
  }
  EXPECT_FALSE(table.Contains("b"));
  EXPECT_FALSE(table.Contains(std::string("a\0", 2)));
  // A text added again keeps its first value.
  const auto again = table.Insert("ab", 99);
  EXPECT_FALSE(again.second);
  EXPECT_EQ(*again.first, 3);
}

// The table against std::map over a long mix of adds and erases of a few thousand texts, so that
// erased slots are reused, marks of erased texts pile up and the slots grow and are laid out again.
TEST(TextTable, AgreesWithAMapOverManyAddsAndErases) {
  TextTable<std::uint32_t> table;
  std::map<std::string, std::uint32_t> model;
  std::mt19937 random(4711);
  for (std::uint32_t step = 0; step < 200000; ++step) {
    const std::string text = "/pool/I" + std::to_string(random() % 3000) + ".ITM";
    switch (random() % 3) {
      case 0: {
        const auto added = table.Insert(text, step);
        const auto expected = model.emplace(text, step);
        ASSERT_EQ(added.second, expected.second) << text;
        ASSERT_EQ(*added.first, expected.first->second) << text;
        break;
      }
      case 1:
        ASSERT_EQ(table.Erase(text), model.erase(text) == 1) << text;
        break;
      default: {
        const std::uint32_t* found = table.Find(text);
        const auto expected = model.find(text);
        ASSERT_EQ(found != nullptr, expected != model.end()) << text;
        if (found != nullptr) {
          ASSERT_EQ(*found, expected->second) << text;
        }
      }
    }
    ASSERT_EQ(table.size(), model.size());
  }
  for (const auto& [text, value] : model) {
    ASSERT_NE(table.Find(text), nullptr) << text;
    EXPECT_EQ(*table.Find(text), value);
  }
}

// Erasing every text and adding them again must not fill the slots with marks of erased texts:
// a search for a text that is not there still ends.
TEST(TextTable, SearchesEndAfterEveryTextWasErasedManyTimes) {
  TextSet set;
  set.Reserve(64);
  for (int round = 0; round < 50; ++round) {
    for (int i = 0; i < 64; ++i) EXPECT_TRUE(set.Insert("R" + std::to_string(round * 64 + i)).second);
    for (int i = 0; i < 64; ++i) EXPECT_TRUE(set.Erase("R" + std::to_string(round * 64 + i)));
  }
  EXPECT_TRUE(set.empty());
  EXPECT_FALSE(set.Contains("R0"));
  EXPECT_FALSE(set.Erase("R0"));
}

}  // namespace
}  // namespace relicor
