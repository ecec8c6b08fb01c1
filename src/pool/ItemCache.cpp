#include "pool/ItemCache.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <utility>

#include "item/ItemFile.h"
#include "platform/FileSystem.h"
#include "pool/ItemReadAhead.h"
#include "pool/Sidecar.h"
#include "text/ByteText.h"

namespace relicor {

namespace {

SidecarValues ToSidecar(const ItemMeta& meta) { return static_cast<const SidecarValues&>(meta); }

void FromSidecar(const SidecarValues& values, ItemMeta& meta) { static_cast<SidecarValues&>(meta) = values; }

}  // namespace

bool PathLess::operator()(const std::string& a, const std::string& b) const {
  const int order = CompareTextNoCase(a, b);
  if (order != 0) return order < 0;
#ifdef _WIN32
  return false;
#else
  // x.ITM and X.ITM are two items here; one entry for both would show, store and move the one
  // under the other's name.
  return a < b;
#endif
}

namespace {

// Hash code and equality of paths as PathLess orders them.
std::size_t PathHashCode(std::string_view path) {
#ifdef _WIN32
  return std::hash<std::string>{}(UpperCaseDE(path));
#else
  return std::hash<std::string_view>{}(path);
#endif
}

bool SamePath(std::string_view a, std::string_view b) {
#ifdef _WIN32
  return EqualsNoCase(a, b);
#else
  return a == b;
#endif
}

constexpr std::size_t kFirstSlotCount = 16;

}  // namespace

std::size_t ItemCache::PathIndex::SlotOf(std::string_view path, std::size_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = hash & mask;
  while (slots_[i].node != nullptr) {
    if (slots_[i].hash == hash && SamePath(slots_[i].node->path, path)) return i;
    i = (i + 1) & mask;
  }
  return i;
}

ItemEntry* ItemCache::PathIndex::Find(std::string_view path) const {
  if (size_ == 0) return nullptr;
  const Slot& slot = slots_[SlotOf(path, PathHashCode(path))];
  return slot.node != nullptr ? &slot.node->entry : nullptr;
}

ItemCache::PathIndex::Node& ItemCache::PathIndex::Add(const std::string& path) {
  Reserve(1);
  const std::size_t hash = PathHashCode(path);
  Slot& slot = slots_[SlotOf(path, hash)];
  slot.hash = hash;
  slot.node = std::make_unique<Node>();
  slot.node->path = path;
  ++size_;
  return *slot.node;
}

std::unique_ptr<ItemCache::PathIndex::Node> ItemCache::PathIndex::Extract(std::string_view path) {
  if (size_ == 0) return nullptr;
  const std::size_t mask = slots_.size() - 1;
  std::size_t hole = SlotOf(path, PathHashCode(path));
  std::unique_ptr<Node> node = std::move(slots_[hole].node);
  if (node == nullptr) return nullptr;
  --size_;
  // Moves back the slots after the hole that a search would no longer reach across it.
  for (std::size_t j = (hole + 1) & mask; slots_[j].node != nullptr; j = (j + 1) & mask) {
    const std::size_t home = slots_[j].hash & mask;
    const bool reachable = hole <= j ? (home > hole && home <= j) : (home > hole || home <= j);
    if (reachable) continue;
    slots_[hole] = std::move(slots_[j]);
    hole = j;
  }
  return node;
}

ItemCache::PathIndex::Node* ItemCache::PathIndex::Rename(std::string_view from, const std::string& to) {
  std::unique_ptr<Node> node = Extract(from);
  if (node == nullptr) return nullptr;
  Reserve(1);
  const std::size_t hash = PathHashCode(to);
  Slot& slot = slots_[SlotOf(to, hash)];
  node->path = to;
  slot.hash = hash;
  slot.node = std::move(node);
  ++size_;
  return slot.node.get();
}

void ItemCache::PathIndex::Reserve(std::size_t count) {
  const std::size_t needed = (size_ + count) * 2;
  if (needed <= slots_.size()) return;
  std::size_t slotCount = std::max(slots_.size(), kFirstSlotCount);
  while (slotCount < needed) slotCount *= 2;
  Rehash(slotCount);
}

void ItemCache::PathIndex::Rehash(std::size_t slotCount) {
  std::vector<Slot> old = std::exchange(slots_, std::vector<Slot>(slotCount));
  const std::size_t mask = slotCount - 1;
  for (Slot& slot : old) {
    if (slot.node == nullptr) continue;
    std::size_t i = slot.hash & mask;
    while (slots_[i].node != nullptr) i = (i + 1) & mask;
    slots_[i] = std::move(slot);
  }
}

std::vector<std::string> ItemCache::PathIndex::Paths() const {
  std::vector<std::string> paths;
  paths.reserve(size_);
  for (const Slot& slot : slots_) {
    if (slot.node != nullptr) paths.push_back(slot.node->path);
  }
  return paths;
}

std::string SidecarPath(const std::string& itemPath) {
  const std::size_t keep = itemPath.size() >= 3 ? itemPath.size() - 3 : 0;
  return itemPath.substr(0, keep) + "IT0";
}

std::vector<std::string> ItemCache::Paths() const {
  std::vector<std::string> paths = entries_.Paths();
  std::sort(paths.begin(), paths.end(), PathLess{});
  return paths;
}

const std::set<std::string, PathLess>& ItemCache::KeyList() const {
  if (!pendingNodes_.empty() || !pendingKeys_.empty()) {
    pendingKeys_.reserve(pendingKeys_.size() + pendingNodes_.size());
    for (const PathIndex::Node* node : pendingNodes_) pendingKeys_.push_back(node->entry.record.ItemKey() + node->path);
    std::sort(pendingKeys_.begin(), pendingKeys_.end(), PathLess{});
    auto hint = keyList_.end();
    for (auto& text : pendingKeys_) hint = std::next(keyList_.insert(hint, std::move(text)));
    pendingKeys_ = {};
    pendingNodes_ = {};
    dropped_.clear();
  }
  return keyList_;
}

const ItemEntry* ItemCache::Find(const std::string& path) const { return entries_.Find(path); }

void ItemCache::MakeCurrent(const ItemEntry& entry) {
  currentEntry_ = &entry;
  currentItem_ = entry.record;
  currentMeta_ = entry.meta;
}

void ItemCache::Reserve(std::size_t count) { entries_.Reserve(count); }

Result<LoadStatus> ItemCache::LoadItem(const std::string& path) { return Load(path, nullptr); }

Result<LoadStatus> ItemCache::LoadItem(const std::string& path, const SidecarListing& sidecars) {
  return Load(path, &sidecars);
}

Result<LoadStatus> ItemCache::Load(const std::string& path, const SidecarListing* sidecars) {
  // A cached path takes every field from its entry.
  if (const ItemEntry* cached = entries_.Find(path)) {
    if (readAhead_ != nullptr) (void)readAhead_->Take(path);  // not needed: the entry holds it
    MakeCurrent(*cached);
    return LoadStatus::kLoaded;
  }

  const DateTime now = clock_.Now();
  currentMeta_.senderName.clear();
  currentMeta_.sendTo.clear();
  currentMeta_.points4Item = false;
  currentMeta_.isPublic = false;
  currentMeta_.points4ItemAt = now;

  // A load that does not end in an entry leaves no bytes or dates of an earlier item behind.
  currentEntry_ = nullptr;
  currentItem_ = ItemRecord();
  std::optional<ItemRead> ahead;
  if (readAhead_ != nullptr) ahead = readAhead_->Take(path);
  Result<ItemFile> file = ahead ? std::move(ahead->file) : ReadItemFile(path);
  if (!file) {
    currentMeta_.fileDate = currentMeta_.addedItem = currentMeta_.sentAt = 0;
    return MakeError(file.error());
  }
  currentMeta_.fileDate = currentMeta_.addedItem = currentMeta_.sentAt = file->fileDate;
  if (file->status == ItemFileStatus::kNotAnItem) return LoadStatus::kNotAnItem;

  PathIndex::Node& node = entries_.Add(path);
  ItemEntry& entry = node.entry;
  entry.record = file->record;
  entry.meta.fileDate = file->fileDate;
  if (sidecars == nullptr || sidecars->MayHoldSidecarOf(path)) {
    if (ahead && ahead->sidecarRead) {
      if (!ahead->sidecarProblem.empty() && warn_) warn_(ahead->sidecarProblem);
      const Ini none;
      const Ini& keys = ahead->sidecarProblem.empty() && ahead->sidecar ? *ahead->sidecar : none;
      FromSidecar(SidecarValuesFromIni(keys, now, file->fileDate), entry.meta);
    } else {
      FromSidecar(ReadSidecarOf(path, now, file->fileDate), entry.meta);
    }
  } else {
    // Listed without a sidecar: the values a missing sidecar gives.
    FromSidecar(SidecarValuesFromIni(Ini(), now, file->fileDate), entry.meta);
  }
  pendingNodes_.push_back(&node);
  currentEntry_ = &entry;
  currentItem_ = entry.record;
  currentMeta_ = entry.meta;
  return LoadStatus::kLoaded;
}

SidecarValues ItemCache::ReadSidecarOf(const std::string& path, DateTime now, DateTime fileDate) const {
  std::string problem;
  SidecarValues values = ReadSidecar(SidecarPath(path), now, fileDate, &problem);
  if (!problem.empty() && warn_) warn_(problem);
  return values;
}

void ItemCache::RefreshSidecar(const std::string& path) {
  ItemEntry* entry = entries_.Find(path);
  if (entry == nullptr) return;
  SidecarValues onDisk = ReadSidecarOf(path, clock_.Now(), entry->meta.fileDate);
  // A sidecar keeps only the day of a date: where the file holds the day the entry holds, the
  // entry's time of day stays (the file was not changed there since this run read or wrote it).
  for (auto field : {&SidecarValues::points4ItemAt, &SidecarValues::addedItem, &SidecarValues::sentAt}) {
    if (std::floor(onDisk.*field) == std::floor(entry->meta.*field)) onDisk.*field = entry->meta.*field;
  }
  FromSidecar(onDisk, entry->meta);
  MakeCurrent(*entry);
}

Status ItemCache::StoreItemInfo(const std::string& path) {
  ItemEntry* entry = entries_.Find(path);
  if (entry == nullptr) return {};
  ItemMeta& meta = entry->meta;
  meta.senderName = ShortString(currentMeta_.senderName, kMemberNameCapacity);
  meta.sendTo = ShortString(currentMeta_.sendTo, kMemberNameCapacity);
  meta.points4Item = currentMeta_.points4Item;
  meta.isPublic = currentMeta_.isPublic;
  meta.points4ItemAt = currentMeta_.points4ItemAt;
  meta.addedItem = currentMeta_.addedItem;
  meta.sentAt = currentMeta_.sentAt;
  return WriteSidecar(SidecarPath(path), ToSidecar(meta), clock_.Now());
}

int ItemCache::MoveItem(const std::string& source, const std::string& destination, std::string* error,
                        SidecarSeen sidecar) {
  auto fail = [&](const std::string& reason) {
    if (error != nullptr) *error = reason;
    return -1;
  };
  if (source == destination) return 0;

  if (auto loaded = LoadItem(source); !loaded) return fail(loaded.error());

  if (auto moved = MoveFileNoReplace(source, destination); !moved) return fail(moved.error());

  // The sidecar goes with its item. When it exists but cannot follow, the item goes back, so an
  // item never loses its bookkeeping.
  const std::string sidecarFrom = SidecarPath(source);
  const std::string sidecarTo = SidecarPath(destination);
  bool sidecarMoves =
      sidecar == SidecarSeen::kListed || (sidecar == SidecarSeen::kUnknown && PathOccupied(sidecarFrom));
  if (sidecarMoves) {
    if (auto movedSidecar = MoveFileNoReplace(sidecarFrom, sidecarTo); !movedSidecar) {
      // A listed sidecar that has gone since leaves nothing to move.
      if (sidecar == SidecarSeen::kListed && !PathOccupied(sidecarFrom)) {
        sidecarMoves = false;
      } else if (auto back = MoveFileNoReplace(destination, source); !back) {
        return fail(movedSidecar.error() + "; " + back.error() + " (the item file is now " + destination +
                    ", its sidecar " + sidecarFrom + ")");
      } else {
        return fail(movedSidecar.error() + "; " + source + " was left in place");
      }
    }
  }

  // The entry goes with the files, as a fresh load of them would make it: the record and the file
  // date are the moved file's, the bookkeeping is read from the moved sidecar (the values of a
  // missing sidecar when there is none), unless the caller's listing already told what the entry
  // was loaded from. The new path gets a key list text of its own; the old one keeps its text.
  if (const ItemEntry* cached = entries_.Find(source)) {
    // An entry of a file that was at the destination before is out of date.
    if (auto gone = entries_.Extract(destination)) dropped_.push_back(std::move(gone));
    // The old path's text, as a note of the node would give it until the move.
    pendingKeys_.push_back(cached->record.ItemKey() + source);
    PathIndex::Node* node = entries_.Rename(source, destination);
    ItemEntry* moved = &node->entry;
    const bool known = sidecar == SidecarSeen::kListed ? sidecarMoves : sidecar == SidecarSeen::kNotListed;
    if (!known) {
      const DateTime now = clock_.Now();
      FromSidecar(sidecarMoves ? ReadSidecarOf(destination, now, moved->meta.fileDate)
                               : SidecarValuesFromIni(Ini(), now, moved->meta.fileDate),
                  moved->meta);
    }
    pendingNodes_.push_back(node);
    MakeCurrent(*moved);
  }
  return 0;
}

}  // namespace relicor
