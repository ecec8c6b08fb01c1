#include "pool/ScanDirectory.h"

#include <algorithm>

#include "platform/FileSystem.h"
#include "pool/ItemReadAhead.h"
#include "text/Path.h"
#include "text/ByteText.h"

namespace relicor {

bool IsItemFileName(std::string_view name) {
  return name.size() >= 4 && EqualsNoCase(name.substr(name.size() - 4), ".ITM");
}

void FoldedTexts::Add(std::string_view text) {
  start_.push_back(folded_.size());
  for (const char c : text) folded_ += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

void SortDirectoryEntries(std::vector<DirEntry>& entries) {
  FoldedTexts names(entries.size());
  for (const DirEntry& entry : entries) names.Add(entry.name);
  std::vector<std::size_t> order(entries.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const int c = names[a].compare(names[b]);
    return c != 0 ? c < 0 : entries[a].name < entries[b].name;
  });
  std::vector<DirEntry> sorted;
  sorted.reserve(entries.size());
  for (const std::size_t i : order) sorted.push_back(std::move(entries[i]));
  entries = std::move(sorted);
}

Result<std::vector<DirEntry>> SortedDirectory(const std::string& directory) {
  auto entries = ListDirectory(directory);
  if (!entries) return entries;
  SortDirectoryEntries(*entries);
  return entries;
}

namespace {

Status ScanTree(ItemCache& cache, const std::string& directory, const ScanOptions& options,
                std::vector<ScannedItem>* list, bool isSubdirectory) {
  if (directory.empty()) return {};
  if (options.progressStep) options.progressStep();
  std::string dir = directory;
  EnsureTrailingBackslash(dir);
  auto entries = ListDirectory(dir);
  if (!entries) {
    // A subdirectory that cannot be listed (such as a file system's own lost+found) holds no items
    // for the scan, as one that does not exist; the directory the scan was asked for must be read.
    if (isSubdirectory) {
      if (options.skippedDirectory) options.skippedDirectory(entries.error() + ": its items are left out");
      return {};
    }
    return MakeError(entries.error());
  }
  // Temporary files of a run that was killed are of no use to anyone.
  for (const DirEntry& entry : *entries) {
    if (IsStaleTemporaryFileName(entry.name)) RemoveStaleTemporaryFiles(directory, {entry.name});
  }
  // The listing tells which items have no sidecar to read.
  const SidecarListing sidecars(*entries);
  // Only item files and directories take part; they keep the order they have among all entries.
  std::erase_if(*entries,
                [](const DirEntry& entry) { return !entry.isDirectory && !IsItemFileName(entry.name); });
  SortDirectoryEntries(*entries);
  cache.Reserve(static_cast<std::size_t>(std::count_if(
      entries->begin(), entries->end(), [](const DirEntry& entry) { return !entry.isDirectory; })));
  // Worker threads read the files ahead, in this order, while this thread loads them.
  // Item files come first: directories sort after them only by chance, so they are counted.
  std::vector<std::size_t> files;
  for (std::size_t i = 0; i < entries->size(); ++i) {
    if (!(*entries)[i].isDirectory) files.push_back(i);
  }
  if (list != nullptr) list->reserve(list->size() + files.size());
  ItemReadAhead ahead(
      dir, files.size(), [&](std::size_t i) -> std::string_view { return (*entries)[files[i]].name; }, &sidecars);
  struct AheadInUse {
    ItemCache& cache;
    ItemReadAhead* before;
    ~AheadInUse() { cache.SetReadAhead(before); }
  } aheadInUse{cache, cache.SetReadAhead(&ahead)};
  std::string path = dir;
  for (const DirEntry& entry : *entries) {
    if (entry.isDirectory || !IsItemFileName(entry.name)) continue;
    path.resize(dir.size());
    path += entry.name;
    auto loaded = cache.LoadItem(path, sidecars);
    if (!loaded) {
      if (!options.unreadable) return MakeError(loaded.error());
      options.unreadable(loaded.error() + ": skipped");
      continue;
    }
    if (*loaded == LoadStatus::kNotAnItem) {
      if (options.notAnItem) options.notAnItem(path);
      continue;
    }
    if (list != nullptr) list->push_back({cache.CurrentEntry()});
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
