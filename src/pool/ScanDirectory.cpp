#include "pool/ScanDirectory.h"

#include <algorithm>

#include "platform/FileSystem.h"
#include "text/Path.h"
#include "text/Stri.h"

namespace relicor {

bool IsItemFileName(std::string_view name) {
  return name.size() >= 4 && EqualsNoCase(name.substr(name.size() - 4), ".ITM");
}

Result<std::vector<DirEntry>> SortedDirectory(const std::string& directory) {
  auto entries = ListDirectory(directory);
  if (!entries) return entries;
  std::sort(entries->begin(), entries->end(), [](const DirEntry& a, const DirEntry& b) {
    const int c = CompareTextNoCase(a.name, b.name);
    return c != 0 ? c < 0 : a.name < b.name;
  });
  return entries;
}

namespace {

Status ScanTree(ItemCache& cache, const std::string& directory, const ScanOptions& options,
                std::vector<ScannedItem>* list, bool isSubdirectory) {
  if (directory.empty()) return {};
  if (options.progressStep) options.progressStep();
  std::string dir = directory;
  EnsureTrailingBackslash(dir);
  auto entries = SortedDirectory(dir);
  if (!entries) {
    // A subdirectory that cannot be listed (such as a file system's own lost+found) holds no items
    // for the scan, as one that does not exist; the directory the scan was asked for must be read.
    if (isSubdirectory) return {};
    return MakeError(entries.error());
  }
  for (const DirEntry& entry : *entries) {
    if (entry.isDirectory || !IsItemFileName(entry.name)) continue;
    const std::string path = dir + entry.name;
    auto loaded = cache.LoadItem(path);
    if (!loaded) return MakeError(loaded.error());
    if (*loaded == LoadStatus::kNotAnItem) {
      if (options.notAnItem) options.notAnItem(path);
      continue;
    }
    if (list != nullptr) list->push_back({cache.CurrentItem().Name(), path});
  }
  if (!options.recursive) return {};
  for (const DirEntry& entry : *entries) {
    if (!entry.isDirectory || entry.isHidden || entry.isSymlink) continue;
    if (auto sub = ScanTree(cache, dir + entry.name, options, list, true); !sub) return sub;
  }
  return {};
}

}  // namespace

Status ScanDirectory(ItemCache& cache, const std::string& directory, const ScanOptions& options,
                     std::vector<ScannedItem>* list) {
  return ScanTree(cache, directory, options, list, false);
}

}  // namespace relicor
