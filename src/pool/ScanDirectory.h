#pragma once
// The directory walk that loads every ITM file of a directory tree into the item cache.

#include <functional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Result.h"
#include "pool/ItemCache.h"

namespace relicor {

struct ScannedItem {
  std::string name;  // the item's Name
  std::string path;  // full path of the ITM file
};

struct ScanOptions {
  bool recursive = false;
  // Called once per directory entered (the progress bar's step).
  std::function<void()> progressStep;
  // Called for each file shorter than 400 bytes: not an item, it is skipped.
  std::function<void(const std::string& path)> notAnItem;
};

// True for a file name ending in ".ITM" in any letter case.
bool IsItemFileName(std::string_view name);

// The entries of `directory` sorted by name without regard to letter case (ties: byte order),
// so that every machine walks a pool in the same order.
Result<std::vector<DirEntry>> SortedDirectory(const std::string& directory);

// Loads every ITM file of `directory` (and, when recursive, of its visible subdirectories; links
// to directories are not followed) into the cache; when `list` is given, appends each loaded
// item's name and path. Files come before subdirectories, each sorted by name without regard to
// letter case. An empty directory text does nothing. A file that cannot be read, or a `directory`
// that cannot be listed, stops the scan with an error naming it; a subdirectory that cannot be
// listed yields no files.
Status ScanDirectory(ItemCache& cache, const std::string& directory, const ScanOptions& options,
                     std::vector<ScannedItem>* list);

}  // namespace relicor
