#include "item/PackedRecord.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace relicor {

namespace {

constexpr std::size_t kMaxCount = 255;

// The eight bytes of `bytes` from `at` on as one word; only which bytes are zero is asked of it.
std::uint64_t WordAt(const ItemBytes& bytes, std::size_t at) {
  std::uint64_t word = 0;
  std::memcpy(&word, bytes.data() + at, sizeof word);
  return word;
}

constexpr std::uint64_t kLowBits = 0x7F7F7F7F7F7F7F7FULL;
constexpr std::size_t kWord = sizeof(std::uint64_t);

// The byte at the lowest address is a word's lowest: the bit maps below are in the bytes' order.
static_assert(std::endian::native == std::endian::little);

// One bit per byte of a record, 64 to a word; the bits past the record's end come last.
using ByteBits = std::array<std::uint64_t, (kItemRecordSize + 63) / 64>;

// Bit i is set where byte i is not zero; the bits past the end are clear.
ByteBits NonZeroBits(const ItemBytes& bytes) {
  ByteBits bits{};
  const std::size_t size = bytes.size();
  std::size_t at = 0;
#if defined(__SSE2__)
  // Sixteen bytes compared with zero at once; the mask has a bit per byte, the first byte's lowest.
  const __m128i zero = _mm_setzero_si128();
  for (; at + 16 <= size; at += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + at));
    const auto zeroMask = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, zero)));
    bits[at / 64] |= std::uint64_t{~zeroMask & 0xFFFFu} << (at % 64);
  }
#endif
  for (; at + kWord <= size; at += kWord) {
    const std::uint64_t word = WordAt(bytes, at);
    // The high bit of each byte, set where the byte is not zero, then the eight gathered into one
    // byte, the first byte's lowest.
    const std::uint64_t high = (((word & kLowBits) + kLowBits) | word) & ~kLowBits;
    const std::uint64_t eight = ((high >> 7) * 0x0102040810204080ULL) >> 56;
    bits[at / 64] |= eight << (at % 64);
  }
  for (; at < size; ++at) {
    if (bytes[at] != 0) bits[at / 64] |= std::uint64_t{1} << (at % 64);
  }
  return bits;
}

// Bit i is set where bytes i and i + 1 are both zero, the end of the record counting as a zero.
ByteBits ZeroPairBits(const ByteBits& nonZero) {
  ByteBits bits{};
  for (std::size_t w = 0; w < bits.size(); ++w) {
    const std::uint64_t zero = ~nonZero[w];
    const std::uint64_t nextZero = w + 1 < bits.size() ? ~nonZero[w + 1] : ~std::uint64_t{0};
    bits[w] = zero & ((zero >> 1) | (nextZero << 63));
  }
  return bits;
}

// The first set bit at or after `from`, but not past `limit`.
std::size_t NextBit(const ByteBits& bits, std::size_t from, std::size_t limit) {
  std::size_t w = from / 64;
  if (w >= bits.size()) return limit;
  std::uint64_t word = bits[w] & (~std::uint64_t{0} << (from % 64));
  while (word == 0) {
    if (++w == bits.size()) return limit;
    word = bits[w];
  }
  return std::min(w * 64 + static_cast<std::size_t>(std::countr_zero(word)), limit);
}

// Walks the pieces of `record`: `piece(at, zeros, literal)` for each, where `at` is the offset of
// the literal bytes. A single zero between other bytes stays in the literal bytes (a piece of its
// own would take two bytes); two or more end them. The runs are found in bit maps of the bytes
// that are not zero and of those that start two zeros, a word of 64 bytes at a time.
template <typename Piece>
void ForEachPiece(const ItemBytes& bytes, Piece piece) {
  const std::size_t size = bytes.size();
  const ByteBits nonZero = NonZeroBits(bytes);
  const ByteBits zeroPairs = ZeroPairBits(nonZero);
  std::size_t at = 0;
  while (at < size) {
    const std::size_t zerosEnd = std::min(NextBit(nonZero, at, size), at + kMaxCount);
    const std::size_t zeros = zerosEnd - at;
    at = zerosEnd;
    const std::size_t end = std::min(NextBit(zeroPairs, at, size), at + kMaxCount);
    piece(at, zeros, end - at);
    at = end;
  }
}

}  // namespace

std::size_t PackedRecordSize(const ItemRecord& record) {
  std::size_t size = 0;
  ForEachPiece(record.bytes(), [&](std::size_t, std::size_t, std::size_t literal) { size += 2 + literal; });
  return size;
}

std::size_t PackRecord(const ItemRecord& record, std::uint8_t* out) {
  const ItemBytes& bytes = record.bytes();
  std::uint8_t* const start = out;
  ForEachPiece(bytes, [&](std::size_t at, std::size_t zeros, std::size_t literal) {
    *out++ = static_cast<std::uint8_t>(zeros);
    *out++ = static_cast<std::uint8_t>(literal);
    std::memcpy(out, bytes.data() + at, literal);
    out += literal;
  });
  return static_cast<std::size_t>(out - start);
}

ItemRecord UnpackRecord(const std::uint8_t* packed, std::size_t size) {
  ItemRecord record;  // all zero
  ItemBytes& bytes = record.bytes();
  std::size_t at = 0;
  const std::uint8_t* end = packed + size;
  while (end - packed >= 2 && at < bytes.size()) {
    at += packed[0];
    const std::size_t literal = std::min<std::size_t>(
        {packed[1], static_cast<std::size_t>(end - packed - 2), at < bytes.size() ? bytes.size() - at : 0});
    std::memcpy(bytes.data() + at, packed + 2, literal);
    at += literal;
    packed += 2 + packed[1];
  }
  return record;
}

ItemRecord UnpackRecord(const std::uint8_t* packed) {
  ItemRecord record;  // all zero
  ItemBytes& bytes = record.bytes();
  std::size_t at = 0;
  for (;;) {
    at += packed[0];
    if (at >= bytes.size()) break;
    const std::size_t literal = std::min<std::size_t>(packed[1], bytes.size() - at);
    std::memcpy(bytes.data() + at, packed + 2, literal);
    at += literal;
    if (at >= bytes.size()) break;
    packed += 2 + literal;
  }
  return record;
}

std::size_t PackedRecordLength(const std::uint8_t* packed) {
  std::size_t at = 0;
  std::size_t length = 0;
  while (at < kItemRecordSize) {
    at += std::size_t{packed[length]} + packed[length + 1];
    length += 2 + std::size_t{packed[length + 1]};
  }
  return length;
}

void PackedRecordBytes(const std::uint8_t* packed, std::size_t offset, std::size_t count, std::uint8_t* out) {
  std::memset(out, 0, count);
  const std::size_t end = offset + count;
  std::size_t at = 0;
  while (at < end && at < kItemRecordSize) {
    at += packed[0];
    const std::size_t literal = packed[1];
    // The piece's bytes lie at [at, at + literal); what of them is wanted is copied.
    const std::size_t from = std::max(at, offset);
    const std::size_t to = std::min(at + literal, end);
    if (from < to) std::memcpy(out + (from - offset), packed + 2 + (from - at), to - from);
    at += literal;
    packed += 2 + literal;
  }
}

}  // namespace relicor
