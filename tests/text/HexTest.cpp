#include <gtest/gtest.h>

#include "text/Hex.h"

namespace relicor {
namespace {

TEST(Hex, ByteIsTwoUppercaseDigits) {
  EXPECT_EQ(ByteToHex(0x00), "00");
  EXPECT_EQ(ByteToHex(0x0A), "0A");
  EXPECT_EQ(ByteToHex(0x4D), "4D");
  EXPECT_EQ(ByteToHex(0xFF), "FF");
}

TEST(Hex, WordAndDWordHighPartFirst) {
  EXPECT_EQ(WordToHex(0x1A2B), "1A2B");
  EXPECT_EQ(WordToHex(0x0001), "0001");
  EXPECT_EQ(DWordToHex(1), "00000001");
  EXPECT_EQ(DWordToHex(0xFFFF0001u), "FFFF0001");
  EXPECT_EQ(DWordToHex(0xFFFFFFFFu), "FFFFFFFF");
  EXPECT_EQ(DWordToHex(0x80000001u), "80000001");
  EXPECT_EQ(DWordToHex(static_cast<std::uint32_t>(-1)), "FFFFFFFF");
}

}  // namespace
}  // namespace relicor
