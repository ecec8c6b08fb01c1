#pragma once
// The directory walk that loads every ITM file of a directory tree into the item cache.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "item/ItemFile.h"
#include "platform/FileSystem.h"
#include "platform/Result.h"
#include "pool/ItemCache.h"

namespace relicor {

// An item the scan loaded: its cache entry, valid while the cache keeps the path.
struct ScannedItem {
  const ItemEntry* entry = nullptr;
  // Full path of the ITM file.
  std::string path() const { return entry->Path(); }
  // The item's Name.
  std::string name() const { return entry->Record().Name(); }
};

// The entries of one directory as a look moments ago listed them, under the lock the command
// still holds (the lock's own look for stale temporary files): a scan of that directory takes them
// instead of listing it a second time.
struct HeldListing {
  std::string dir;  // ending in the path separator, as the scan names it
  std::vector<DirEntry> entries;
};

struct ScanOptions {
  bool recursive = false;
  // Called once per directory entered (the progress bar's step).
  std::function<void()> progressStep;
  // Called for each file shorter than 400 bytes: not an item, it is skipped.
  std::function<void(const std::string& path)> notAnItem;
  // When given, a file that cannot be read (gone, a dangling link, a FIFO or a device, no rights)
  // is skipped and told here with the reason; without it such a file stops the scan.
  std::function<void(const std::string& reason)> unreadable;
  // Called for each subdirectory that cannot be listed (no rights, a path too long for the
  // system): its items are not loaded, and the keeper is told.
  std::function<void(const std::string& reason)> skippedDirectory;
  // Called with each directory listed (ending in the path separator) and all its entries, before
  // its files are loaded.
  std::function<void(const std::string& dir, const std::vector<DirEntry>& entries)> listed;
  // When it holds the listing of the directory scanned, the scan takes it (and leaves this empty).
  std::optional<HeldListing>* held = nullptr;
  // What the reads ask of the item files (see ItemFileDate).
  ItemFileDate itemDates = ItemFileDate::kRead;
};

// True for a file name ending in ".ITM" in any letter case.
bool IsItemFileName(std::string_view name);

// Sorts listed entries by name without regard to letter case (ties: byte order), so that every
// machine walks a pool in the same order.
void SortDirectoryEntries(std::vector<DirEntry>& entries);

// The positions of listed entries in that order, first to last, for a caller that takes what it
// needs from each entry without moving the entries themselves.
std::vector<std::size_t> DirectoryOrder(const std::vector<DirEntry>& entries);

// Texts folded to capitals (a-z to A-Z) and kept side by side, for sorts that compare many texts
// without regard to letter case: two folded texts compare byte by byte as CompareTextNoCase
// compares the texts, and a sort over them reads one block of memory.
class FoldedTexts {
 public:
  explicit FoldedTexts(std::size_t count) { start_.reserve(count + 1); }
  void Add(std::string_view text);
  // Text `i` (in the order they were added), folded.
  std::string_view operator[](std::size_t i) const {
    const std::size_t end = i + 1 < start_.size() ? start_[i + 1] : folded_.size();
    return std::string_view(folded_).substr(start_[i], end - start_[i]);
  }

 private:
  std::string folded_;
  std::vector<std::size_t> start_;
};

// One directory of a walk over a tree, listed: its text ending in the path separator, and its
// entries. A subdirectory that cannot be listed (a file system's own lost+found, no rights) holds
// nothing for the walk, as one that does not exist: it has no entries, and why is told to
// `skipped`. The directory the walk was asked for must be listed: that failure is an error.
struct WalkedDirectory {
  std::string dir;
  std::optional<std::vector<DirEntry>> entries;
};
// The held listing of `directory`, taken out of `held` (may be null); nothing when it holds none
// or another directory's.
std::optional<WalkedDirectory> TakeHeldListing(const std::string& directory,
                                               std::optional<HeldListing>* held);
Result<WalkedDirectory> ListWalkedDirectory(const std::string& directory, bool isSubdirectory,
                                            const std::function<void(const std::string& reason)>& skipped);

// How a walk over a directory's listings (WalkDirectoryListings) deals with what it finds.
struct DirectoryWalk {
  bool recursive = false;
  // Called once per directory entered.
  std::function<void()> step;
  // Told about a subdirectory that cannot be listed.
  std::function<void(const std::string& reason)> skipped;
  // Called with each directory (ending in the path separator) and its entries.
  std::function<Status(const std::string& dir, const std::vector<DirEntry>& entries)> listed;
};

// Lists `directory` and, when recursive, its visible subdirectories (links to directories are not
// followed), subdirectories in name order, as the scan walks them; a subdirectory that cannot be
// listed is told to `walk.skipped` and passed over, and an error of `walk.listed` stops the walk.
Status WalkDirectoryListings(const std::string& directory, const DirectoryWalk& walk, bool isSubdirectory);

// Loads every ITM file of `directory` (and, when recursive, of its visible subdirectories; links
// to directories are not followed) into the cache; when `list` is given, appends each loaded
// item's name and path. Files come before subdirectories, each sorted by name without regard to
// letter case. An empty directory text does nothing. A file that cannot be read, or a `directory`
// that cannot be listed, stops the scan with an error naming it; a subdirectory that cannot be
// listed yields no files.
Status ScanDirectory(ItemCache& cache, const std::string& directory, const ScanOptions& options,
                     std::vector<ScannedItem>* list);

}  // namespace relicor
