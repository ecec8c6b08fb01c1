#include "pool/ScanDirectory.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <span>
#include <utility>

#include "platform/FileSystem.h"
#include "pool/ItemReadAhead.h"
#include "text/ByteText.h"
#include "text/Path.h"

namespace relicor {

bool IsItemFileName(std::string_view name) {
  return name.size() >= 4 && EqualsNoCase(name.substr(name.size() - 4), ".ITM");
}

void FoldedTexts::Add(std::string_view text) {
  start_.push_back(folded_.size());
  for (const char c : text) folded_ += AsciiUpper(c);
}

namespace {

// A listed entry in the sort: where it stands in the listing, the length of its name, and eight
// bytes of the name folded to capitals read as one number (the first byte highest, bytes past the
// end as 0), with the eight bytes after them.
struct SortKey {
  std::uint64_t chunk;
  std::uint64_t next;
  std::uint32_t index;
  std::uint32_t size;
};

std::uint64_t FoldedChunk(std::string_view name, std::size_t from) {
  std::uint64_t bytes = 0;
  if (from < name.size())
    std::memcpy(&bytes, name.data() + from, std::min<std::size_t>(8, name.size() - from));
  // All eight bytes folded at once: a byte is a small letter when its low seven bits reach 'a'
  // and do not pass 'z' and its high bit is clear; 0x20 less makes it the capital.
  constexpr std::uint64_t kOnes = 0x0101010101010101;
  constexpr std::uint64_t kHigh = 0x8080808080808080;
  const std::uint64_t low = bytes & ~kHigh;
  const std::uint64_t fromA = low + kOnes * (0x80 - 'a');
  const std::uint64_t pastZ = low + kOnes * (0x80 - 'z' - 1);
  bytes -= (fromA & ~pastZ & ~bytes & kHigh) >> 2;
  if constexpr (std::endian::native == std::endian::little) bytes = __builtin_bswap64(bytes);
  return bytes;
}

// Sorts `keys` by their chunks: a few hundred by comparing, more by their bytes from the lowest
// to the highest (each pass keeps the order of the one before), skipping bytes that all share.
void SortByChunk(std::span<SortKey> keys, std::vector<SortKey>& scratch) {
  if (keys.size() < 256) {
    std::sort(keys.begin(), keys.end(), [](const SortKey& a, const SortKey& b) { return a.chunk < b.chunk; });
    return;
  }
  std::array<std::array<std::uint32_t, 256>, 8> counts{};
  for (const SortKey& key : keys) {
    for (std::size_t byte = 0; byte < 8; ++byte) ++counts[byte][(key.chunk >> (8 * byte)) & 0xFF];
  }
  scratch.resize(std::max(scratch.size(), keys.size()));
  std::span<SortKey> source = keys;
  std::span<SortKey> target(scratch.data(), keys.size());
  for (std::size_t byte = 0; byte < 8; ++byte) {
    std::array<std::uint32_t, 256>& count = counts[byte];
    if (count[(keys.front().chunk >> (8 * byte)) & 0xFF] == keys.size()) continue;
    std::uint32_t start = 0;
    for (std::uint32_t& n : count) start += std::exchange(n, start);
    for (const SortKey& key : source) target[count[(key.chunk >> (8 * byte)) & 0xFF]++] = key;
    std::swap(source, target);
  }
  if (source.data() != keys.data()) std::copy(source.begin(), source.end(), keys.begin());
}

bool NameBefore(std::string_view a, std::string_view b) {
  const int c = CompareTextNoCase(a, b);
  return c != 0 ? c < 0 : a < b;
}

// Sorts `keys`, whose names are equal once folded up to byte `from` and whose chunks hold the eight
// bytes from there, by eight bytes at a time, so that most steps compare two numbers. Names that
// are equal once folded (or end within these eight bytes) are ordered by the full comparison.
void SortFromByte(std::span<SortKey> keys, const std::vector<DirEntry>& entries, std::size_t from,
                  std::vector<SortKey>& scratch) {
  SortByChunk(keys, scratch);
  for (std::size_t begin = 0; begin < keys.size();) {
    std::size_t end = begin + 1;
    while (end < keys.size() && keys[end].chunk == keys[begin].chunk) ++end;
    const std::span<SortKey> tied = keys.subspan(begin, end - begin);
    begin = end;
    if (tied.size() == 1) continue;
    if (std::any_of(tied.begin(), tied.end(), [&](const SortKey& key) { return key.size <= from + 8; })) {
      std::sort(tied.begin(), tied.end(), [&](const SortKey& a, const SortKey& b) {
        return NameBefore(entries[a.index].name, entries[b.index].name);
      });
      continue;
    }
    // Only names longer than the next sixteen bytes are read again.
    for (SortKey& key : tied) {
      key.chunk = key.next;
      key.next = key.size > from + 16 ? FoldedChunk(entries[key.index].name, from + 16) : 0;
    }
    SortFromByte(tied, entries, from + 8, scratch);
  }
}

}  // namespace

std::vector<std::size_t> DirectoryOrder(const std::vector<DirEntry>& entries) {
  std::vector<SortKey> keys(entries.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const std::string& name = entries[i].name;
    keys[i] = {FoldedChunk(name, 0), FoldedChunk(name, 8), static_cast<std::uint32_t>(i),
               static_cast<std::uint32_t>(name.size())};
  }
  std::vector<SortKey> scratch;
  SortFromByte(keys, entries, 0, scratch);
  std::vector<std::size_t> order;
  order.reserve(keys.size());
  for (const SortKey& key : keys) order.push_back(key.index);
  return order;
}

void SortDirectoryEntries(std::vector<DirEntry>& entries) {
  const std::vector<std::size_t> order = DirectoryOrder(entries);
  std::vector<DirEntry> sorted;
  sorted.reserve(entries.size());
  for (const std::size_t i : order) sorted.push_back(std::move(entries[i]));
  entries = std::move(sorted);
}

Result<WalkedDirectory> ListWalkedDirectory(const std::string& directory, bool isSubdirectory,
                                            const std::function<void(const std::string& reason)>& skipped) {
  WalkedDirectory walked{directory, std::nullopt};
  EnsureTrailingBackslash(walked.dir);
  auto entries = ListDirectory(walked.dir);
  if (entries) {
    walked.entries = std::move(*entries);
  } else if (!isSubdirectory) {
    return entries.failure();
  } else if (skipped) {
    skipped(entries.error() + ": its items are left out");
  }
  return walked;
}

Status WalkDirectoryListings(const std::string& directory, const DirectoryWalk& walk, bool isSubdirectory) {
  if (directory.empty()) return {};
  if (walk.step) walk.step();
  auto walked = ListWalkedDirectory(directory, isSubdirectory, walk.skipped);
  if (!walked) return walked.failure();
  if (!walked->entries) return {};
  const std::string& dir = walked->dir;
  std::optional<std::vector<DirEntry>>& entries = walked->entries;
  if (auto done = walk.listed(dir, *entries); !done) return done;
  if (!walk.recursive) return {};
  std::erase_if(*entries, [](const DirEntry& entry) {
    return !entry.isDirectory || entry.isHidden || entry.isSymlink;
  });
  SortDirectoryEntries(*entries);
  for (const DirEntry& entry : *entries) {
    if (auto sub = WalkDirectoryListings(dir + entry.name, walk, true); !sub) return sub;
  }
  return {};
}

std::optional<WalkedDirectory> TakeHeldListing(const std::string& directory,
                                               std::optional<HeldListing>* held) {
  if (held == nullptr || !*held) return std::nullopt;
  WalkedDirectory walked{directory, std::nullopt};
  EnsureTrailingBackslash(walked.dir);
  if ((*held)->dir != walked.dir) return std::nullopt;
  walked.entries = std::move((*held)->entries);
  held->reset();
  return walked;
}

namespace {

Status ScanTree(ItemCache& cache, const std::string& directory, const ScanOptions& options,
                std::vector<ScannedItem>* list, bool isSubdirectory) {
  if (directory.empty()) return {};
  if (options.progressStep) options.progressStep();
  std::optional<WalkedDirectory> taken =
      isSubdirectory ? std::nullopt : TakeHeldListing(directory, options.held);
  auto walked = taken ? Result<WalkedDirectory>(std::move(*taken))
                      : ListWalkedDirectory(directory, isSubdirectory, options.skippedDirectory);
  if (!walked) return walked.failure();
  if (!walked->entries) return {};
  const std::string& dir = walked->dir;
  std::optional<std::vector<DirEntry>>& entries = walked->entries;
  if (options.listed) options.listed(dir, *entries);
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
      dir, files.size(), [&](std::size_t i) -> std::string_view { return (*entries)[files[i]].name; },
      &sidecars, options.itemDates);
  std::string path = dir;
  for (const DirEntry& entry : *entries) {
    if (entry.isDirectory || !IsItemFileName(entry.name)) continue;
    path.resize(dir.size());
    path += entry.name;
    auto loaded = cache.LoadItem(path, &sidecars, &ahead);
    if (!loaded) {
      if (!options.unreadable) return loaded.failure();
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
