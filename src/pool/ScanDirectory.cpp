#include "pool/ScanDirectory.h"

#include <algorithm>
#include <cstdint>
#include <span>

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

namespace {

// A listed entry in the sort: eight bytes of its name folded to capitals, read as one number (the
// first byte highest, bytes past the end as 0), and where the entry stands in the listing.
struct ChunkKey {
  std::uint64_t chunk;
  std::uint32_t index;
};

std::uint64_t FoldedChunk(std::string_view name, std::size_t from) {
  std::uint64_t chunk = 0;
  for (std::size_t i = from; i < from + 8; ++i) {
    unsigned char c = i < name.size() ? static_cast<unsigned char>(name[i]) : 0;
    if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
    chunk = chunk << 8 | c;
  }
  return chunk;
}

bool NameBefore(std::string_view a, std::string_view b) {
  const int c = CompareTextNoCase(a, b);
  return c != 0 ? c < 0 : a < b;
}

// Sorts `keys` by the folded names from byte `from` on, whose bytes before `from` are equal once
// folded: by eight bytes at a time, so that most comparisons compare two numbers. Names that are
// equal once folded (or end within these eight bytes) are ordered by the full comparison.
void SortFromByte(std::span<ChunkKey> keys, const std::vector<DirEntry>& entries, std::size_t from) {
  for (ChunkKey& key : keys) key.chunk = FoldedChunk(entries[key.index].name, from);
  std::sort(keys.begin(), keys.end(), [](const ChunkKey& a, const ChunkKey& b) { return a.chunk < b.chunk; });
  for (std::size_t begin = 0; begin < keys.size();) {
    std::size_t end = begin + 1;
    while (end < keys.size() && keys[end].chunk == keys[begin].chunk) ++end;
    if (end - begin > 1) {
      const std::span<ChunkKey> tied = keys.subspan(begin, end - begin);
      const bool ends = std::any_of(tied.begin(), tied.end(), [&](const ChunkKey& key) {
        return entries[key.index].name.size() <= from + 8;
      });
      if (ends) {
        std::sort(tied.begin(), tied.end(), [&](const ChunkKey& a, const ChunkKey& b) {
          return NameBefore(entries[a.index].name, entries[b.index].name);
        });
      } else {
        SortFromByte(tied, entries, from + 8);
      }
    }
    begin = end;
  }
}

}  // namespace

void SortDirectoryEntries(std::vector<DirEntry>& entries) {
  std::vector<ChunkKey> keys(entries.size());
  for (std::size_t i = 0; i < keys.size(); ++i) keys[i].index = static_cast<std::uint32_t>(i);
  SortFromByte(keys, entries, 0);
  std::vector<DirEntry> sorted;
  sorted.reserve(entries.size());
  for (const ChunkKey& key : keys) sorted.push_back(std::move(entries[key.index]));
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
    if (list != nullptr) list->push_back({cache.CurrentItem().Name(), path, cache.CurrentEntry()});
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
