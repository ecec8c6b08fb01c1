#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "saves/SaveCodec.h"

namespace relicor::saves {
namespace {

std::string Hex(const std::uint8_t* data, std::size_t size) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (std::size_t i = 0; i < size; ++i) {
    out += digits[data[i] >> 4];
    out += digits[data[i] & 15];
  }
  return out;
}

template <std::size_t N>
std::string Hex(const std::array<std::uint8_t, N>& a) {
  return Hex(a.data(), a.size());
}

std::string Hex(std::string_view s) {
  return Hex(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
}

TEST(SaveCodecTest, HashOfKnownBlocks) {
  std::array<std::uint8_t, 64> zeros{};
  EXPECT_EQ(Hex(HashBlock(zeros)), "d40be59694f9f40996c1a67c603241f3e3839d0f");
  std::array<std::uint8_t, 64> password{};
  const std::string_view pw = "xrgyrkj1";
  for (std::size_t i = 0; i < password.size(); ++i) password[i] = static_cast<std::uint8_t>(pw[i % 8]);
  EXPECT_EQ(Hex(HashBlock(password)), "7adcf44cdc67c7bb56be05818c9e180c3c3e7ba4");
}

TEST(SaveCodecTest, StartingStateOfEachPassword) {
  struct Case {
    std::string_view password;
    std::string_view state;
  };
  const Case cases[] = {
      {"xrgyrkj1", "626df42b4ee42394d2becb9719154f6c36571323"},
      {"szqnlsk1", "b9d9acaf9bf98c9d529f5c91ddaeb803d3366c20"},
      {"adslhfb1", "ef234e6c5ae321b1f849538579d52008b3e51da7"},
      {"lshbkfg1", "68d30499efc693f71cbe9f3728a934a476e9a3bc"},
  };
  for (const Case& c : cases) EXPECT_EQ(Hex(CodecStart(c.password).Digest()), c.state) << c.password;
}

TEST(SaveCodecTest, RandomKeyWordsAreTheGameSequence) {
  // The key's last 64 bytes as little-endian words, before the password's hash is mixed in.
  const std::uint32_t words[16] = {2908958655, 4146550480, 658981742,  1113311088, 3927878744, 679301322,
                                   1760465731, 3305370375, 2269115995, 3928541685, 580724401,  2607446661,
                                   2233092279, 2416822349, 4106933702, 3046442503};
  const auto bytes = CodecRandomBytes();
  for (std::size_t i = 0; i < 16; ++i) {
    const std::size_t at = 72 + 4 * i;
    const std::uint32_t w = bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                            static_cast<std::uint32_t>(bytes[at + 3]) << 24;
    EXPECT_EQ(w, words[i]) << "word " << i;
  }
}

TEST(SaveCodecTest, EncodesAKnownFile) {
  std::string plain(64, '\0');
  plain += 'A';
  const std::string encoded = EncodeSaveFile(plain, "xrgyrkj1");
  ASSERT_EQ(encoded.size(), 136u);
  const std::string state = "626df42b4ee42394d2becb9719154f6c36571323";
  EXPECT_EQ(Hex(encoded.substr(0, 64)), state + state + state + state.substr(0, 8));
  EXPECT_EQ(Hex(encoded.substr(128)), "a4c32ef600010000");  // checksum, error 0, last block 1
  auto decoded = DecodeSaveFile(encoded, "xrgyrkj1");
  ASSERT_TRUE(decoded);
  EXPECT_EQ(*decoded, plain);
}

TEST(SaveCodecTest, RoundTripsEverySizeAroundABlock) {
  for (std::size_t size : {1u, 63u, 64u, 65u, 127u, 128u, 1266u}) {
    std::string plain(size, '\0');
    for (std::size_t i = 0; i < size; ++i) plain[i] = static_cast<char>(i * 7 + 3);
    const std::string encoded = EncodeSaveFile(plain, "szqnlsk1");
    EXPECT_EQ(encoded.size(), (size + 63) / 64 * 64 + 8) << size;
    auto decoded = DecodeSaveFile(encoded, "szqnlsk1");
    ASSERT_TRUE(decoded) << size;
    EXPECT_EQ(*decoded, plain) << size;
  }
}

TEST(SaveCodecTest, OnlyItsOwnPasswordDecodesAFile) {
  const std::string plain(200, 'x');
  for (const SavePassword& written : kSavePasswords) {
    const std::string encoded = EncodeSaveFile(plain, written.password);
    for (const SavePassword& tried : kSavePasswords)
      EXPECT_EQ(DecodeSaveFile(encoded, tried.password).has_value(), tried.mode == written.mode)
          << written.password << " tried with " << tried.password;
    auto any = DecodeWithAnyPassword(encoded);
    ASSERT_TRUE(any);
    EXPECT_EQ(any->mode, written.mode);
    EXPECT_EQ(any->plain, plain);
  }
}

TEST(SaveCodecTest, RefusesDamagedFiles) {
  const std::string good = EncodeSaveFile(std::string(100, 'q'), "xrgyrkj1");
  std::string flipped = good;
  flipped[10] ^= 1;
  std::string error = good;
  error[good.size() - 4] = 1;  // the error byte
  std::string lastBlock = good;
  lastBlock[good.size() - 3] = 65;  // a last block larger than a block
  const std::string cases[] = {"",
                               std::string(8, '\0'),
                               good.substr(0, good.size() - 1),
                               good.substr(0, good.size() - 64),
                               flipped,
                               error,
                               lastBlock,
                               std::string(8, '\0') + std::string(8, '\0')};
  for (const std::string& c : cases) {
    EXPECT_FALSE(DecodeSaveFile(c, "xrgyrkj1")) << c.size();
    EXPECT_FALSE(DecodeWithAnyPassword(c)) << c.size();
  }
}

}  // namespace
}  // namespace relicor::saves
