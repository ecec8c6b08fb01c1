#pragma once
// The game's save file codec. Every file inside a save archive is encoded with a password: each
// 64-byte block is XORed with the running state of a hash and then absorbed into it, and an
// 8-byte trailer carries the checksum (the first state word), an error byte and the size of the
// last block. A wrong password fails the checksum, so trying the known passwords tells the game
// and the mode a save was written in.
//
// The hash has SHA-1's constants and rounds but an older message schedule (no rotation), reads
// little-endian words, rotates with sign extension and has neither padding nor a length.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace relicor::saves {

inline constexpr std::size_t kCodecBlock = 64;
inline constexpr std::size_t kCodecTrailer = 8;

// The five state words of the codec's hash.
class CodecHash {
 public:
  CodecHash();
  // Absorbs one 64-byte block.
  void Absorb(std::span<const std::uint8_t, kCodecBlock> block);
  const std::array<std::uint32_t, 5>& state() const { return state_; }
  // The state as 20 bytes, each word little-endian.
  std::array<std::uint8_t, 20> Digest() const;

 private:
  std::array<std::uint32_t, 5> state_;
};

// The hash of one block from the starting constants.
std::array<std::uint8_t, 20> HashBlock(std::span<const std::uint8_t, kCodecBlock> block);

// The low bytes of the first 136 values of Microsoft C's rand() seeded 0x7058: the codec's key
// before the password's hash is mixed in.
std::array<std::uint8_t, 136> CodecRandomBytes();

// The state a password's codec starts from.
CodecHash CodecStart(std::string_view password);

// The plain bytes of an encoded file, or nothing when the password does not fit (checksum,
// error byte) or the size is not one the codec writes.
std::optional<std::string> DecodeSaveFile(std::string_view encoded, std::string_view password);

// Encodes `plain` as the game does (the last block padded with zeros).
std::string EncodeSaveFile(std::string_view plain, std::string_view password);

// The game a password belongs to.
enum class SaveMode : std::uint8_t { kSinglePlayer, kMultiplayer, kSharewareSingle, kSharewareMulti };

struct SavePassword {
  SaveMode mode;
  std::string_view password;
};
inline constexpr std::array<SavePassword, 4> kSavePasswords{{
    {SaveMode::kSinglePlayer, "xrgyrkj1"},
    {SaveMode::kMultiplayer, "szqnlsk1"},
    {SaveMode::kSharewareSingle, "adslhfb1"},
    {SaveMode::kSharewareMulti, "lshbkfg1"},
}};

std::string_view SavePasswordOf(SaveMode mode);
// "single player", "multiplayer", "shareware single player", "shareware multiplayer".
std::string_view SaveModeName(SaveMode mode);
bool IsShareware(SaveMode mode);

// Tries every password; the mode whose password decodes `encoded`, with the plain bytes.
struct DecodedFile {
  SaveMode mode;
  std::string plain;
};
std::optional<DecodedFile> DecodeWithAnyPassword(std::string_view encoded);

}  // namespace relicor::saves
