#pragma once
// A table from texts to small values, for tables of many thousands of paths and names: every text
// is copied into blocks of 64 KiB that never move (a growing table never holds its texts twice),
// and the table is an open-addressed array of slots (linear probing) that each keep their text's
// size, place, value and part of its hash code, so that a search reads the text itself only when
// all of these match. Unlike a table of separately allocated strings it costs one or two cache
// misses per search and no allocation per text. An erase moves the slots after it back to where a
// search finds them, so that a table that loses as many texts as it gains (the names of a pool
// being renamed) neither fills with marks of erased texts nor is laid out anew for them.
//
// Room made for a count of texts is one and a half slots a text, not the next power of two of
// them; the slots grow when three quarters are taken, so that a few texts more than room was made
// for do not double them.
//
// The bytes of an erased text stay in their block until an eighth as many bytes are erased as the
// table holds, and a block's worth at least: then the texts held are copied together into new
// blocks, each old block given back as soon as its texts have moved, so that the blocks hold at
// most one and an eighth times what the table holds, and one block more (a pool renamed loses
// about as many bytes of names as it holds, and a small table's copy is cheap).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/TextBlock.h"

namespace relicor {

template <class Value>
class TextTable {
 public:
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  // Makes room for `count` texts in all, so that adding that many does not grow the slots. The
  // slots grow by half at least, so that making room again and again for a few more (a directory
  // after another) does not lay the table out anew each time.
  void Reserve(std::size_t count) {
    if (!Fits(count)) Rehash(std::max(SlotsFor(count), slots_.size() + slots_.size() / 2));
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
    if (!Fits(size_ + 1)) Rehash(std::max(SlotsFor(size_ + 1), 2 * slots_.size()));
    std::size_t i = HomeOf(hash);
    while (slots_[i].size != kEmpty) i = NextOf(i);
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
    for (std::size_t i = NextOf(hole); slots_[i].size != kEmpty; i = NextOf(i)) {
      const std::size_t home = HomeOf(slots_[i].hash);
      const bool stays = hole < i ? hole < home && home <= i : hole < home || home <= i;
      if (stays) continue;
      slots_[hole] = std::move(slots_[i]);
      hole = i;
    }
    slots_[hole] = Slot{};
    --size_;
    if (erasedBytes_ >= kLeastErasedToCopy && 8 * erasedBytes_ >= heldBytes_) CopyTextsTogether();
    return true;
  }

  // The bytes the table's blocks take, and how many slots it has.
  std::size_t BlockBytes() const { return blocks_.size() * kBlockBytes; }
  std::size_t SlotCount() const { return slots_.size(); }

 private:
  // The mark in a slot's size: no text there.
  static constexpr std::uint32_t kEmpty = ~std::uint32_t{0};
  static constexpr std::size_t kNotFound = ~std::size_t{0};
  // A text's place: its block in the high bits, where it starts there in the low ones.
  static constexpr std::size_t kBlockBytes = std::size_t{1} << 16;
  static constexpr unsigned kPlaceBits = 16;
  // Fewer erased bytes than this are not worth copying the texts for.
  static constexpr std::size_t kLeastErasedToCopy = kBlockBytes;

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
  // True when `count` texts fit the slots: at most three quarters of them are taken.
  bool Fits(std::size_t count) const { return 4 * count <= 3 * slots_.size(); }
  // At least one and a half times `count`, and never fewer than 16. Not rounded up to a power of
  // two: a table of 100,000 names would take 262,144 slots, two and a half per name.
  static std::size_t SlotsFor(std::size_t count) { return std::max<std::size_t>(16, (3 * count + 1) / 2); }
  // Where the search for a text with hash code `hash` starts: the code scaled to the slot count.
  std::size_t HomeOf(std::uint32_t hash) const {
    return static_cast<std::size_t>((std::uint64_t{hash} * slots_.size()) >> 32);
  }
  std::size_t NextOf(std::size_t i) const { return i + 1 == slots_.size() ? 0 : i + 1; }

  std::size_t SlotOf(std::string_view text, std::uint32_t hash) const {
    if (slots_.empty()) return kNotFound;
    const auto size = static_cast<std::uint32_t>(text.size());
    for (std::size_t i = HomeOf(hash);; i = NextOf(i)) {
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
    for (Slot& slot : old) {
      if (slot.size == kEmpty) continue;
      std::size_t i = HomeOf(slot.hash);
      while (slots_[i].size != kEmpty) i = NextOf(i);
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
    std::vector<TextBlock> old = std::exchange(blocks_, {});
    used_ = kBlockBytes;
    std::size_t given = 0;  // old blocks before this one are given back
    for (const std::uint32_t i : order) {
      Slot& slot = slots_[i];
      const std::size_t from = slot.place >> kPlaceBits;
      for (; given < from; ++given) TextBlock().swap(old[given]);
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

  std::vector<TextBlock> blocks_;   // every text added, one after another
  std::size_t used_ = kBlockBytes;  // bytes taken in the last block
  std::size_t heldBytes_ = 0;       // of the texts the table holds
  std::size_t erasedBytes_ = 0;     // of texts erased since the texts were last copied
  std::size_t size_ = 0;
};

// A set of texts laid out as a TextTable.
struct NoValue {};
using TextSet = TextTable<NoValue>;

}  // namespace relicor
