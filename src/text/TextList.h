#pragma once
// A list of many texts (the paths of a pool) kept in blocks of bytes: each text is stored once,
// followed by a NUL, and the list keeps one 32-bit place per text, so that a path costs its bytes
// and five more instead of a string and a heap block of its own. Blocks never move once made: a
// growing list never holds its texts twice, and a text read from the list stays valid while the
// list lives (a copy has blocks of its own).

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "text/TextBlock.h"

namespace relicor {

class TextList {
 public:
  // The size of a block; a text must be shorter.
  static constexpr std::size_t kBlockBytes = std::size_t{1} << 16;

  std::size_t size() const { return places_.size(); }
  bool empty() const { return places_.empty(); }
  // Makes room for the places of `count` texts in all.
  void Reserve(std::size_t count) { places_.reserve(count); }

  // Adds `text` at the end. Throws std::length_error for a text of kBlockBytes bytes or more or
  // one holding a NUL, and when the list holds 4 GiB.
  void Add(std::string_view text) { places_.push_back(Store(text)); }

  std::string_view operator[](std::size_t i) const { return At(places_[i]); }

  // Stores `text` in the blocks without counting it among the list's texts, and gives its place
  // there, for a list that keeps the places itself (it throws as Add does). A place is below 2^32,
  // and below 2^(32 - n) while the blocks hold less than 4 GiB / 2^n.
  std::uint32_t Store(std::string_view text);
  // The text stored at `place`.
  std::string_view At(std::uint32_t place) const {
    return std::string_view(blocks_[place >> kPlaceBits].data() + (place & (kBlockBytes - 1)));
  }

 private:
  static constexpr unsigned kPlaceBits = 16;

  std::vector<TextBlock> blocks_;
  std::size_t used_ = kBlockBytes;     // bytes taken in the last block
  std::vector<std::uint32_t> places_;  // block number in the high bits, offset in the low ones
};

}  // namespace relicor
