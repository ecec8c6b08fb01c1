#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

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
// erased slots are reused and the slots grow and are laid out again.
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

// An erase moves the texts after it back; where their run of slots wraps around the end of the
// slots, a text that stands before its home slot must stay. Small tables held near full, of every
// count of texts from 8 to 64, grown or made room for (any slot count), give many such runs: each
// text is still found.
TEST(TextTable, ErasesInRunsOfSlotsThatWrapAroundTheEnd) {
  for (const bool reserved : {false, true}) {
    for (std::uint32_t texts = 8; texts <= 64; ++texts) {
      TextTable<std::uint32_t> table;
      if (reserved) table.Reserve(texts);
      std::map<std::string, std::uint32_t> model;
      std::mt19937 random(texts);
      for (std::uint32_t step = 0; step < 5000; ++step) {
        const std::string text = "I" + std::to_string(random() % texts);
        // Twice as many adds as erases keep the table near full.
        if (random() % 3 != 0) {
          table.Insert(text, step);
          model.emplace(text, step);
        } else {
          ASSERT_EQ(table.Erase(text), model.erase(text) == 1) << texts << " " << text;
        }
        for (std::uint32_t i = 0; i < texts; ++i) {
          const std::string probe = "I" + std::to_string(i);
          const auto expected = model.find(probe);
          const std::uint32_t* found = table.Find(probe);
          ASSERT_EQ(found != nullptr, expected != model.end())
              << reserved << " " << texts << " " << probe << " at " << step;
          if (found != nullptr) {
            ASSERT_EQ(*found, expected->second);
          }
        }
      }
    }
  }
}

// Erasing every text and adding others again and again: a search for a text that is not there
// still ends.
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

// At every size, reserved or grown, erased from or not, the table keeps an empty slot, so a search
// for a text that is not there ends; the texts added are all found.
TEST(TextTable, KeepsRoomForAMissAtEverySize) {
  for (const bool reserved : {false, true}) {
    TextTable<std::uint32_t> table;
    if (reserved) table.Reserve(3000);
    for (std::uint32_t i = 0; i < 3000; ++i) {
      ASSERT_TRUE(table.Insert("N" + std::to_string(i), i).second);
      ASSERT_FALSE(table.Contains("absent")) << i;
    }
    // Erase and add back a third again and again.
    for (std::uint32_t round = 0; round < 5; ++round) {
      for (std::uint32_t i = 0; i < 1000; ++i) ASSERT_TRUE(table.Erase("N" + std::to_string(i)));
      ASSERT_FALSE(table.Contains("absent"));
      for (std::uint32_t i = 0; i < 1000; ++i) ASSERT_TRUE(table.Insert("N" + std::to_string(i), i).second);
    }
    for (std::uint32_t i = 0; i < 3000; ++i) ASSERT_EQ(*table.Find("N" + std::to_string(i)), i);
    // Made room for, one and a half slots a text; grown, at most three.
    EXPECT_LE(table.SlotCount(), reserved ? 4500u : 9000u);
  }
}

// Room made again and again for a few more texts (a directory listed after another) lays the
// slots out anew only now and then, not for every few texts.
TEST(TextTable, MakingRoomForAFewMoreAtATimeGrowsTheSlotsByHalf) {
  TextSet set;
  std::size_t growths = 0;
  std::size_t slotCount = set.SlotCount();
  for (std::uint32_t i = 0; i < 100000; ++i) {
    if (i % 10 == 0) set.Reserve(i + 10);
    set.Insert("D" + std::to_string(i));
    if (set.SlotCount() != slotCount) {
      ++growths;
      slotCount = set.SlotCount();
    }
  }
  EXPECT_LE(growths, 25u);
  EXPECT_LE(set.SlotCount(), 300000u);
}

TEST(TextTable, KeepsTextsWholeAcrossItsBlocks) {
  // Names up to 255 bytes (Windows-1252 bytes and NULs among them) fill many blocks, so that some
  // would straddle a block's end: each is found with its value, and a copy finds them too. The
  // longest text a block takes fits; one of a whole block is refused.
  TextTable<std::uint32_t> table;
  std::vector<std::string> texts;
  std::size_t bytes = 0;
  for (std::uint32_t i = 0; bytes < 5 * (std::size_t{1} << 16); ++i) {
    std::string text = std::to_string(i) + std::string("\xE4\0\xFF", 3);
    text.resize(1 + i % 255, static_cast<char>(0xE9));
    if (!table.Insert(text, i).second) continue;  // a short one made twice
    texts.push_back(text);
    bytes += text.size();
  }
  const TextTable<std::uint32_t> copy = table;
  for (const std::string& text : texts) {
    ASSERT_NE(table.Find(text), nullptr) << text.size();
    ASSERT_NE(copy.Find(text), nullptr) << text.size();
    ASSERT_EQ(*table.Find(text), *copy.Find(text));
  }
  EXPECT_FALSE(table.Contains(texts.back() + "x"));
  const std::string largest((std::size_t{1} << 16) - 1, 'L');
  EXPECT_TRUE(table.Insert(largest, 1).second);
  EXPECT_TRUE(table.Contains(largest));
  EXPECT_THROW(table.Insert(largest + "L", 2), std::length_error);
  EXPECT_TRUE(table.Insert("", 3).second);
  EXPECT_TRUE(table.Contains(""));
}

TEST(TextTable, ATableThatLosesAsManyTextsAsItGainsKeepsItsBlocksSmall) {
  // The names of a pool being renamed: each old name goes, a new one comes, of every length up to
  // 255 bytes, so that the texts copied together meet the ends of blocks. An empty text and one of
  // a whole block's size less one are held throughout; every value stays with its text.
  TextTable<std::uint32_t> table;
  std::map<std::string, std::uint32_t> model;
  auto add = [&](const std::string& text, std::uint32_t value) {
    ASSERT_TRUE(table.Insert(text, value).second) << text.size();
    model.emplace(text, value);
  };
  add("", 7);
  add(std::string((std::size_t{1} << 16) - 1, 'L'), 8);
  std::uint32_t next = 0;
  auto name = [](std::uint32_t i) {
    std::string text = "I" + std::to_string(i) + ".ITM";
    text.resize(5 + (i * 37) % 251, static_cast<char>(0xE9));
    return text;
  };
  for (; next < 2000; ++next) add(name(next), next);
  std::size_t mostBlockBytes = 0;
  for (std::uint32_t gone = 0; gone < 60000; ++gone, ++next) {
    ASSERT_TRUE(table.Erase(name(gone)));
    model.erase(name(gone));
    add(name(next), next);
    mostBlockBytes = std::max(mostBlockBytes, table.BlockBytes());
  }
  // The texts held take about 320 KiB; sixty thousand names of about 130 bytes came and went.
  std::size_t held = 0;
  for (const auto& entry : model) held += entry.first.size();
  EXPECT_LE(mostBlockBytes, held * 3 / 2 + 8 * (std::size_t{1} << 16));
  ASSERT_EQ(table.size(), model.size());
  for (const auto& [text, value] : model) {
    ASSERT_NE(table.Find(text), nullptr) << text.size();
    EXPECT_EQ(*table.Find(text), value);
  }
  EXPECT_FALSE(table.Contains(name(0)));
}

}  // namespace
}  // namespace relicor
