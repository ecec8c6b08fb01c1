#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "text/TextList.h"

namespace relicor {
namespace {

TEST(TextList, KeepsEveryTextExactlyAcrossBlocks) {
  // Names of every length up to 255 bytes, Windows-1252 bytes among them, enough of them to fill
  // many blocks: each text comes back as it went in, and so does every text of a copy.
  TextList list;
  std::vector<std::string> texts;
  std::size_t bytes = 0;
  for (std::size_t i = 0; bytes < 5 * TextList::kBlockBytes; ++i) {
    std::string text = "/pool/" + std::to_string(i) + "\xE4\xFC\x80\xFF";
    text.resize(i % 256, static_cast<char>(0xE9));
    texts.push_back(text);
    list.Add(text);
    bytes += text.size() + 1;
  }
  ASSERT_EQ(list.size(), texts.size());
  const TextList copy = list;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    ASSERT_EQ(list[i], texts[i]) << i;
    ASSERT_EQ(copy[i], texts[i]) << i;
    ASSERT_NE(copy[i].data(), list[i].data()) << i;
  }
}

TEST(TextList, ATextThatFillsABlockToTheLastByteAndAnEmptyOne) {
  TextList list;
  const std::string longest(TextList::kBlockBytes - 1, 'x');
  list.Add("a");
  list.Add(longest);  // no room after "a": a block of its own, used to its last byte
  list.Add("");
  list.Add("b");
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0], "a");
  EXPECT_EQ(list[1], longest);
  EXPECT_EQ(list[2], "");
  EXPECT_EQ(list[3], "b");
}

TEST(TextList, RefusesWhatItCannotHold) {
  TextList list;
  EXPECT_THROW(list.Add(std::string(TextList::kBlockBytes, 'x')), std::length_error);
  EXPECT_THROW(list.Add(std::string("a\0b", 3)), std::length_error);
  EXPECT_TRUE(list.empty());
}

}  // namespace
}  // namespace relicor
