#pragma once
// The item cache: one item entry per loaded ITM file for the whole run, the key list beside it,
// and the current item with its working copy of the metadata.

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <unordered_map>
#include <string>
#include <vector>

#include "item/ItemRecord.h"
#include "platform/Clock.h"
#include "platform/Result.h"
#include "text/DateText.h"

namespace relicor {

// The bookkeeping of one item, as its IT0 sidecar holds it, plus the ITM file's date.
struct ItemMeta {
  DateTime fileDate = 0;
  std::string senderName;  // at most 18 characters
  std::string sendTo;      // at most 18 characters
  bool points4Item = false;
  bool isPublic = false;  // the sidecar key `public`
  DateTime points4ItemAt = 0;
  DateTime addedItem = 0;
  DateTime sentAt = 0;
};

struct ItemEntry {
  ItemRecord record;
  ItemMeta meta;
};

enum class LoadStatus : std::uint8_t {
  kLoaded,     // the path is the current item
  kNotAnItem,  // fewer than 400 bytes: no entry, no key list text; the current item is cleared
};

// The order of the item cache and the key list: by text without regard to letter case (ASCII
// letters). Where the file system tells letter case apart, two paths that differ only in letter
// case name two files, so they stay two texts (in byte order); otherwise they are one.
struct PathLess {
  using is_transparent = void;
  bool operator()(const std::string& a, const std::string& b) const;
};

class ItemCache {
 public:
  explicit ItemCache(const Clock& clock) : clock_(clock) {}

  // Makes the item at `path` the current item with its current metadata. The first load of a
  // path reads the ITM file and its sidecar; later loads take both from the cache.
  // A missing or unreadable file is an error naming the file and the reason.
  Result<LoadStatus> LoadItem(const std::string& path);

  // Copies the current metadata into the cache entry of `path` and rewrites the sidecar (one
  // atomic replace; other sections and keys are kept). Nothing happens for a path that is not
  // in the cache. A failed write is reported; the entry keeps the new values.
  Status StoreItemInfo(const std::string& path);

  // Moves an ITM file and its sidecar to `destination`, never replacing an existing file.
  // 0: moved, or nothing to do (same path). -1: the ITM file could not be moved (nothing changed);
  // `error`, when given, receives the reason. If the sidecar exists but cannot be moved, the ITM
  // file is moved back and the result is -1.
  int MoveItem(const std::string& source, const std::string& destination, std::string* error = nullptr);

  const ItemRecord& CurrentItem() const { return currentItem_; }
  ItemMeta& CurrentMeta() { return currentMeta_; }
  const ItemMeta& CurrentMeta() const { return currentMeta_; }

  // The cache entry of `path`, or nullptr.
  const ItemEntry* Find(const std::string& path) const;
  std::size_t size() const { return entries_.size(); }
  // Every path in the cache, in the cache's order (letter case ignored, see PathLess).
  std::vector<std::string> Paths() const;

  // Item key followed directly by the full path, for every path loaded in the run.
  const std::set<std::string, PathLess>& KeyList() const;

 private:
  const Clock& clock_;
  // The entry of `path`, or nullptr.
  ItemEntry* Lookup(const std::string& path) const;

  std::map<std::string, std::unique_ptr<ItemEntry>, PathLess> entries_;
#ifndef _WIN32
  // Where letter case tells paths apart, equal paths are equal texts: a hash finds them at once.
  std::unordered_map<std::string, ItemEntry*> byPath_;
#endif
  // Texts are collected as items load and sorted in only when the key list is read: most runs
  // (reports, exports, pages) never read it.
  mutable std::vector<std::string> pendingKeys_;
  mutable std::set<std::string, PathLess> keyList_;
  ItemRecord currentItem_;
  ItemMeta currentMeta_;
  ItemEntry* currentEntry_ = nullptr;
};

// The sidecar path of an ITM path: its last three characters replaced by "IT0".
std::string SidecarPath(const std::string& itemPath);

}  // namespace relicor
