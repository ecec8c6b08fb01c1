#pragma once
// A table from texts to small values, for tables of many thousands of paths and names: every text
// is copied into blocks of 64 KiB that never move (a growing table never holds its texts twice),
// and the table is an open-addressed array of slots
// (linear probing, at most two thirds full) that each keep their text's size, place, value and part of
// its hash code, so that a search reads the text itself only when all of these match. Unlike a
// table of separately allocated strings it costs one or two cache misses per search and no
// allocation per text. An erase moves the slots after it back to where a search finds them, so
// that a table that loses as many texts as it gains (the names of a pool being renamed) neither
// fills with marks of erased texts nor is laid out anew for them.
//
// The bytes of an erased text stay in their block until half as many bytes are erased as the
// table holds: then the texts held are copied together into new blocks, each old block given back
// as soon as its texts have moved, so that the blocks hold at most one and a half times what the
// table holds (a pool renamed loses about as many bytes of names as it holds).

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace relicor {

template <class Value>
class TextTable {
 public:
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  // Makes room for `count` texts in all, so that adding that many does not grow the slots.
  void Reserve(std::size_t count) {
    if (SlotsFor(count) > slots_.size()) Rehash(SlotsFor(count));
  }

  bool Contains(std::string_view text) const { return SlotOf(text, HashOf(text)) != kNotFound; }

  const Value* Find(std::string_view text) const {
    const std::size_t slot = SlotOf(text, HashOf(text));
    return slot == kNotFound ? nullptr : &slots_[slot].value;
  }
  Value* Find(std::string_view text) {
    return const_cast<Value*>(static_cast<const TextTable&>(*this).Find(text));
  }

  // The value of `text`, added as `initial` when the table does not hold it yet; true when added.
  // The pointer holds until the next text is added. Throws std::length_error for a text of 64 KiB
  // or more, and when the table's texts take 4 GiB.
  std::pair<Value*, bool> Insert(std::string_view text, Value initial = Value{}) {
    const std::uint32_t hash = HashOf(text);
    if (const std::size_t slot = SlotOf(text, hash); slot != kNotFound) return {&slots_[slot].value, false};
    if (text.size() >= kBlockBytes) throw std::length_error("TextTable: text too long");
    if (!text.empty() && used_ + text.size() > kBlockBytes) {
      if (blocks_.size() >= (std::size_t{1} << (32 - kPlaceBits)))
        throw std::length_error("TextTable: the table's texts take 4 GiB");
      blocks_.emplace_back(kBlockBytes);
      used_ = 0;
    }
    if (SlotsFor(size_ + 1) > slots_.size()) Rehash(SlotsFor(size_ + 1));
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots_[i].size != kEmpty) i = (i + 1) & mask;
    // An empty text is never read: it needs no place.
    std::uint32_t place = 0;
    if (!text.empty()) {
      place = static_cast<std::uint32_t>(((blocks_.size() - 1) << kPlaceBits) | used_);
      std::memcpy(blocks_.back().data() + used_, text.data(), text.size());
      used_ += text.size();
      heldBytes_ += text.size();
    }
    slots_[i] = Slot{hash, static_cast<std::uint32_t>(text.size()), place, std::move(initial)};
    ++size_;
    return {&slots_[i].value, true};
  }

  // Takes `text` out of the table; false when the table does not hold it.
  bool Erase(std::string_view text) {
    std::size_t hole = SlotOf(text, HashOf(text));
    if (hole == kNotFound) return false;
    heldBytes_ -= slots_[hole].size;
    erasedBytes_ += slots_[hole].size;
    // Every text after the hole up to the next empty slot is found by walking on from its home
    // slot: one whose home does not lie between the hole and itself moves back into the hole.
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = (hole + 1) & mask; slots_[i].size != kEmpty; i = (i + 1) & mask) {
      const std::size_t home = slots_[i].hash & mask;
      const bool stays = hole < i ? hole < home && home <= i : hole < home || home <= i;
      if (stays) continue;
      slots_[hole] = std::move(slots_[i]);
      hole = i;
    }
    slots_[hole] = Slot{};
    --size_;
    if (erasedBytes_ >= kLeastErasedToCopy && 2 * erasedBytes_ >= heldBytes_) CopyTextsTogether();
    return true;
  }

  // The bytes the table's blocks take.
  std::size_t BlockBytes() const { return blocks_.size() * kBlockBytes; }

 private:
  // The mark in a slot's size: no text there.
  static constexpr std::uint32_t kEmpty = ~std::uint32_t{0};
  static constexpr std::size_t kNotFound = ~std::size_t{0};
  // A text's place: its block in the high bits, where it starts there in the low ones.
  static constexpr std::size_t kBlockBytes = std::size_t{1} << 16;
  static constexpr unsigned kPlaceBits = 16;
  // Fewer erased bytes than this are not worth copying the texts for.
  static constexpr std::size_t kLeastErasedToCopy = 4 * kBlockBytes;

  // Everything a search compares before it reads the text itself.
  struct Slot {
    std::uint32_t hash = 0;
    std::uint32_t size = kEmpty;
    std::uint32_t place = 0;  // where the text starts in blocks_
    [[no_unique_address]] Value value{};
  };

  static std::uint32_t HashOf(std::string_view text) {
    const std::size_t hash = std::hash<std::string_view>{}(text);
    return static_cast<std::uint32_t>(hash ^ (hash >> 32));
  }
  // A power of two, at least one and a half times `count`: a table of a pool's names just above a
  // power of two would otherwise stand a quarter full.
  static std::size_t SlotsFor(std::size_t count) {
    std::size_t slotCount = 16;  // not "slots": Qt makes that word a macro
    while (2 * slotCount < 3 * count) slotCount *= 2;
    return slotCount;
  }

  std::size_t SlotOf(std::string_view text, std::uint32_t hash) const {
    if (slots_.empty()) return kNotFound;
    const std::size_t mask = slots_.size() - 1;
    const auto size = static_cast<std::uint32_t>(text.size());
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      const Slot& slot = slots_[i];
      if (slot.size == kEmpty) return kNotFound;
      if (slot.hash == hash && slot.size == size &&
          (size == 0 || std::memcmp(TextAt(slot.place), text.data(), size) == 0))
        return i;
    }
  }

  // Lays the texts held out again over `count` slots.
  void Rehash(std::size_t count) {
    std::vector<Slot> old = std::exchange(slots_, std::vector<Slot>(count));
    const std::size_t mask = count - 1;
    for (Slot& slot : old) {
      if (slot.size == kEmpty) continue;
      std::size_t i = slot.hash & mask;
      while (slots_[i].size != kEmpty) i = (i + 1) & mask;
      slots_[i] = std::move(slot);
    }
  }

  // Copies the texts held into new blocks, block by block of the old ones, and gives back each old
  // block once the texts in it have moved: the table never holds its texts twice.
  void CopyTextsTogether() {
    // The slots with a text, by their text's block (the order within a block does not matter):
    // first[b] is where block b's slots start in `order`.
    std::vector<std::uint32_t> first(blocks_.size() + 1, 0);
    for (const Slot& slot : slots_) {
      if (slot.size != kEmpty && slot.size != 0) ++first[(slot.place >> kPlaceBits) + 1];
    }
    for (std::size_t b = 1; b < first.size(); ++b) first[b] += first[b - 1];
    std::vector<std::uint32_t> order(first.back());
    for (std::size_t i = 0; i < slots_.size(); ++i) {
      const Slot& slot = slots_[i];
      if (slot.size != kEmpty && slot.size != 0)
        order[first[slot.place >> kPlaceBits]++] = static_cast<std::uint32_t>(i);
    }
    std::vector<std::vector<char>> old = std::exchange(blocks_, {});
    used_ = kBlockBytes;
    std::size_t given = 0;  // old blocks before this one are given back
    for (const std::uint32_t i : order) {
      Slot& slot = slots_[i];
      const std::size_t from = slot.place >> kPlaceBits;
      for (; given < from; ++given) std::vector<char>().swap(old[given]);
      if (used_ + slot.size > kBlockBytes) {
        blocks_.emplace_back(kBlockBytes);
        used_ = 0;
      }
      std::memcpy(blocks_.back().data() + used_, old[from].data() + (slot.place & (kBlockBytes - 1)),
                  slot.size);
      slot.place = static_cast<std::uint32_t>(((blocks_.size() - 1) << kPlaceBits) | used_);
      used_ += slot.size;
    }
    erasedBytes_ = 0;
  }

  std::vector<Slot> slots_;
  const char* TextAt(std::uint32_t place) const {
    return blocks_[place >> kPlaceBits].data() + (place & (kBlockBytes - 1));
  }

  std::vector<std::vector<char>> blocks_;  // every text added, one after another
  std::size_t used_ = kBlockBytes;         // bytes taken in the last block
  std::size_t heldBytes_ = 0;              // of the texts the table holds
  std::size_t erasedBytes_ = 0;            // of texts erased since the texts were last copied
  std::size_t size_ = 0;
};

// A set of texts laid out as a TextTable.
struct NoValue {};
using TextSet = TextTable<NoValue>;

}  // namespace relicor
