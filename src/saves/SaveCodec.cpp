#include "saves/SaveCodec.h"

#include <cstring>

namespace relicor::saves {

namespace {

std::uint32_t LoadLE32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void StoreLE32(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
  p[2] = static_cast<std::uint8_t>(v >> 16);
  p[3] = static_cast<std::uint8_t>(v >> 24);
}

// The game rotates signed words: the bits shifted in from the right copy the sign bit.
std::uint32_t RotateSigned(std::uint32_t word, int bits) {
  const auto high = word << bits;
  const auto low = static_cast<std::uint32_t>(static_cast<std::int32_t>(word) >> (32 - bits));
  return high | low;
}

// Microsoft C's rand(): the low byte of each value keys the codec.
class MsRand {
 public:
  explicit MsRand(std::uint32_t seed) : seed_(seed) {}
  std::uint32_t Next() {
    seed_ = seed_ * 214013u + 2531011u;
    return (seed_ >> 16) & 0x7FFF;
  }

 private:
  std::uint32_t seed_;
};

constexpr std::uint32_t kKeySeed = 0x7058;
constexpr std::size_t kKeyLength = 136;
constexpr std::size_t kKeyContextStart = 72;

}  // namespace

CodecHash::CodecHash() : state_{0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0} {}

void CodecHash::Absorb(std::span<const std::uint8_t, kCodecBlock> block) {
  std::array<std::uint32_t, 80> w{};
  for (std::size_t i = 0; i < 16; ++i) w[i] = LoadLE32(block.data() + 4 * i);
  for (std::size_t i = 16; i < 80; ++i) w[i] = w[i - 16] ^ w[i - 14] ^ w[i - 8] ^ w[i - 3];

  std::uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3], e = state_[4];
  for (std::size_t i = 0; i < 80; ++i) {
    std::uint32_t f = 0;
    std::uint32_t k = 0;
    if (i < 20) {
      f = (b & c) | (~b & d);
      k = 0x5A827999;
    } else if (i < 40) {
      f = b ^ c ^ d;
      k = 0x6ED9EBA1;
    } else if (i < 60) {
      f = (b & c) | (b & d) | (c & d);
      k = 0x8F1BBCDC;
    } else {
      f = b ^ c ^ d;
      k = 0xCA62C1D6;
    }
    const std::uint32_t next = RotateSigned(a, 5) + f + e + w[i] + k;
    e = d;
    d = c;
    c = RotateSigned(b, 30);
    b = a;
    a = next;
  }
  state_[0] += a;
  state_[1] += b;
  state_[2] += c;
  state_[3] += d;
  state_[4] += e;
}

std::array<std::uint8_t, 20> CodecHash::Digest() const {
  std::array<std::uint8_t, 20> out{};
  for (std::size_t i = 0; i < 5; ++i) StoreLE32(out.data() + 4 * i, state_[i]);
  return out;
}

std::array<std::uint8_t, 20> HashBlock(std::span<const std::uint8_t, kCodecBlock> block) {
  CodecHash hash;
  hash.Absorb(block);
  return hash.Digest();
}

std::array<std::uint8_t, kKeyLength> CodecRandomBytes() {
  std::array<std::uint8_t, kKeyLength> bytes{};
  MsRand rand(kKeySeed);
  for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(rand.Next());
  return bytes;
}

CodecHash CodecStart(std::string_view password) {
  std::array<std::uint8_t, kCodecBlock> repeated{};
  for (std::size_t i = 0; i < repeated.size(); ++i)
    repeated[i] = password.empty() ? 0 : static_cast<std::uint8_t>(password[i % password.size()]);
  const auto digest = HashBlock(repeated);

  std::array<std::uint8_t, kKeyLength> key = CodecRandomBytes();
  for (std::size_t i = 0; i < key.size(); ++i) key[i] ^= digest[i % digest.size()];

  CodecHash start;
  start.Absorb(std::span<const std::uint8_t, kCodecBlock>(key.data() + kKeyContextStart, kCodecBlock));
  return start;
}

namespace {

std::optional<std::string> Decode(std::string_view encoded, CodecHash hash) {
  if (encoded.size() <= kCodecTrailer) return std::nullopt;
  const std::size_t body = encoded.size() - kCodecTrailer;
  if (body == 0 || body % kCodecBlock != 0) return std::nullopt;

  std::string plain(body, '\0');
  std::array<std::uint8_t, kCodecBlock> block{};
  for (std::size_t at = 0; at < body; at += kCodecBlock) {
    const auto digest = hash.Digest();
    for (std::size_t j = 0; j < kCodecBlock; ++j)
      block[j] = static_cast<std::uint8_t>(encoded[at + j]) ^ digest[j % digest.size()];
    hash.Absorb(block);
    std::memcpy(plain.data() + at, block.data(), kCodecBlock);
  }

  const auto* trailer = reinterpret_cast<const std::uint8_t*>(encoded.data() + body);
  const std::uint32_t checksum = LoadLE32(trailer);
  const std::uint8_t error = trailer[4];
  const std::uint8_t lastBlock = trailer[5];
  if (error != 0 || checksum != hash.state()[0]) return std::nullopt;
  if (lastBlock == 0 || lastBlock > kCodecBlock) return std::nullopt;
  plain.resize(body - kCodecBlock + lastBlock);
  return plain;
}

}  // namespace

std::optional<std::string> DecodeSaveFile(std::string_view encoded, std::string_view password) {
  return Decode(encoded, CodecStart(password));
}

std::string EncodeSaveFile(std::string_view plain, std::string_view password) {
  CodecHash hash = CodecStart(password);
  std::string out;
  out.reserve((plain.size() + kCodecBlock - 1) / kCodecBlock * kCodecBlock + kCodecTrailer);
  std::array<std::uint8_t, kCodecBlock> block{};
  std::size_t lastBlock = 0;
  for (std::size_t at = 0; at < plain.size(); at += kCodecBlock) {
    const std::size_t size = std::min(kCodecBlock, plain.size() - at);
    block.fill(0);
    std::memcpy(block.data(), plain.data() + at, size);
    const auto digest = hash.Digest();
    hash.Absorb(block);
    for (std::size_t j = 0; j < kCodecBlock; ++j)
      out.push_back(static_cast<char>(block[j] ^ digest[j % digest.size()]));
    lastBlock = size;
  }
  std::array<std::uint8_t, kCodecTrailer> trailer{};
  StoreLE32(trailer.data(), hash.state()[0]);
  trailer[5] = static_cast<std::uint8_t>(lastBlock);
  out.append(reinterpret_cast<const char*>(trailer.data()), trailer.size());
  return out;
}

std::string_view SavePasswordOf(SaveMode mode) {
  for (const SavePassword& p : kSavePasswords)
    if (p.mode == mode) return p.password;
  return {};
}

std::string_view SaveModeName(SaveMode mode) {
  switch (mode) {
    case SaveMode::kSinglePlayer:
      return "single player";
    case SaveMode::kMultiplayer:
      return "multiplayer";
    case SaveMode::kSharewareSingle:
      return "shareware single player";
    case SaveMode::kSharewareMulti:
      return "shareware multiplayer";
  }
  return "unknown";
}

bool IsShareware(SaveMode mode) {
  return mode == SaveMode::kSharewareSingle || mode == SaveMode::kSharewareMulti;
}

std::optional<DecodedFile> DecodeWithAnyPassword(std::string_view encoded) {
  // The starting states of the game's passwords never change.
  static const std::array<CodecHash, kSavePasswords.size()> kStarts = [] {
    std::array<CodecHash, kSavePasswords.size()> starts;
    for (std::size_t i = 0; i < starts.size(); ++i) starts[i] = CodecStart(kSavePasswords[i].password);
    return starts;
  }();
  for (std::size_t i = 0; i < kSavePasswords.size(); ++i) {
    if (auto plain = Decode(encoded, kStarts[i]))
      return DecodedFile{kSavePasswords[i].mode, std::move(*plain)};
  }
  return std::nullopt;
}

}  // namespace relicor::saves
