#include "pool/ItemCache.h"

#include <algorithm>
#include <iterator>

#include "item/ItemFile.h"
#include "platform/FileSystem.h"
#include "pool/Sidecar.h"
#include "text/Stri.h"

namespace relicor {

namespace {

SidecarValues ToSidecar(const ItemMeta& meta) {
  SidecarValues values;
  values.senderName = meta.senderName;
  values.sendTo = meta.sendTo;
  values.points4Item = meta.points4Item;
  values.isPublic = meta.isPublic;
  values.points4ItemAt = meta.points4ItemAt;
  values.addedItem = meta.addedItem;
  values.sentAt = meta.sentAt;
  return values;
}

void FromSidecar(const SidecarValues& values, ItemMeta& meta) {
  meta.senderName = values.senderName;
  meta.sendTo = values.sendTo;
  meta.points4Item = values.points4Item;
  meta.isPublic = values.isPublic;
  meta.points4ItemAt = values.points4ItemAt;
  meta.addedItem = values.addedItem;
  meta.sentAt = values.sentAt;
}

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

std::string SidecarPath(const std::string& itemPath) {
  const std::size_t keep = itemPath.size() >= 3 ? itemPath.size() - 3 : 0;
  return itemPath.substr(0, keep) + "IT0";
}

std::vector<std::string> ItemCache::Paths() const {
  std::vector<std::string> paths;
  paths.reserve(entries_.size());
  for (const auto& [path, entry] : entries_) paths.push_back(path);
  return paths;
}

const std::set<std::string, PathLess>& ItemCache::KeyList() const {
  if (!pendingKeys_.empty()) {
    std::sort(pendingKeys_.begin(), pendingKeys_.end(), PathLess{});
    auto hint = keyList_.end();
    for (auto& text : pendingKeys_) hint = std::next(keyList_.insert(hint, std::move(text)));
    pendingKeys_.clear();
  }
  return keyList_;
}

ItemEntry* ItemCache::Lookup(const std::string& path) const {
#ifndef _WIN32
  const auto it = byPath_.find(path);
  return it == byPath_.end() ? nullptr : it->second;
#else
  const auto it = entries_.find(path);
  return it == entries_.end() ? nullptr : it->second.get();
#endif
}

const ItemEntry* ItemCache::Find(const std::string& path) const { return Lookup(path); }

Result<LoadStatus> ItemCache::LoadItem(const std::string& path) {
  // A cached path takes every field from its entry.
  if (ItemEntry* cached = Lookup(path)) {
    currentEntry_ = cached;
    currentItem_ = cached->record;
    currentMeta_ = cached->meta;
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
  auto file = ReadItemFile(path);
  if (!file) {
    currentMeta_.fileDate = currentMeta_.addedItem = currentMeta_.sentAt = 0;
    return MakeError(file.error());
  }
  currentMeta_.fileDate = currentMeta_.addedItem = currentMeta_.sentAt = file->fileDate;
  if (file->status == ItemFileStatus::kNotAnItem) return LoadStatus::kNotAnItem;

  auto entry = std::make_unique<ItemEntry>();
  entry->record = file->record;
  entry->meta.fileDate = file->fileDate;
  FromSidecar(ReadSidecar(SidecarPath(path), now, file->fileDate), entry->meta);
  pendingKeys_.push_back(entry->record.ItemKey() + path);
  currentEntry_ = entry.get();
#ifndef _WIN32
  byPath_.emplace(path, entry.get());
#endif
  entries_.emplace(path, std::move(entry));
  currentItem_ = currentEntry_->record;
  currentMeta_ = currentEntry_->meta;
  return LoadStatus::kLoaded;
}

Status ItemCache::StoreItemInfo(const std::string& path) {
  ItemEntry* entry = Lookup(path);
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

int ItemCache::MoveItem(const std::string& source, const std::string& destination, std::string* error) {
  auto fail = [&](const std::string& reason) {
    if (error != nullptr) *error = reason;
    return -1;
  };
  if (source == destination) return 0;

  if (auto loaded = LoadItem(source); !loaded) return fail(loaded.error());

  if (auto moved = MoveFileNoReplace(source, destination); !moved) return fail(moved.error());

  // The sidecar goes with its item. When it exists but cannot follow, the item goes back, so an
  // item never loses its bookkeeping.
  const std::string sidecarFrom = SidecarPathForMove(source);
  const std::string sidecarTo = SidecarPathForMove(destination);
  if (FileExists(sidecarFrom)) {
    if (auto movedSidecar = MoveFileNoReplace(sidecarFrom, sidecarTo); !movedSidecar) {
      if (auto back = MoveFileNoReplace(destination, source); !back) {
        return fail(movedSidecar.error() + "; " + back.error() + " (the item file is now " + destination +
                    ", its sidecar " + sidecarFrom + ")");
      }
      return fail(movedSidecar.error() + "; " + source + " was left in place");
    }
  }

  if (const auto it = entries_.find(source); it != entries_.end()) {
    if (currentEntry_ == it->second.get()) currentEntry_ = nullptr;
#ifndef _WIN32
    byPath_.erase(it->first);
#endif
    entries_.erase(it);
    // The moved files are read afresh; a failure here does not undo the move.
    (void)LoadItem(destination);
  }
  return 0;
}

}  // namespace relicor
