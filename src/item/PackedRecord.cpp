#include "item/PackedRecord.h"

#include <algorithm>
#include <cstring>

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

// Whether any byte of `word` is zero.
bool HasZeroByte(std::uint64_t word) {
  return ~(((word & kLowBits) + kLowBits) | word | kLowBits) != 0;
}

constexpr std::size_t kWord = sizeof(std::uint64_t);

// Walks the pieces of `record`: `piece(at, zeros, literal)` for each, where `at` is the offset of
// the literal bytes. A single zero between other bytes stays in the literal bytes (a piece of its
// own would take two bytes); two or more end them. Eight bytes at a time where they are all zero
// in a run of zeros, or none is zero in a run of other bytes.
template <typename Piece>
void ForEachPiece(const ItemBytes& bytes, Piece piece) {
  const std::size_t size = bytes.size();
  std::size_t at = 0;
  while (at < size) {
    std::size_t zeros = 0;
    while (at < size && bytes[at] == 0 && zeros < kMaxCount) {
      if (at + kWord <= size && zeros + kWord <= kMaxCount && WordAt(bytes, at) == 0) {
        at += kWord;
        zeros += kWord;
        continue;
      }
      ++at;
      ++zeros;
    }
    std::size_t end = at;
    while (end < size && end - at < kMaxCount) {
      if (end + kWord <= size && end - at + kWord <= kMaxCount && !HasZeroByte(WordAt(bytes, end))) {
        end += kWord;
        continue;
      }
      if (bytes[end] == 0 && (end + 1 == size || bytes[end + 1] == 0)) break;
      ++end;
    }
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

}  // namespace relicor
