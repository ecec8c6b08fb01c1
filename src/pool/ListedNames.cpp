#include "pool/ListedNames.h"

#include <array>
#include <functional>

#include "pool/ScanDirectory.h"
#include "text/ByteText.h"
#include "text/Path.h"

namespace relicor {

bool ListedNames::KeyOf(std::string_view path) const {
  const std::size_t cut = path.find_last_of(kPathSeparator);
  const std::size_t end = cut == std::string_view::npos ? 0 : cut;
  const std::string_view dir = path.substr(0, end);
  if (!haveLast_ || dir != lastDirectory_) {
    const std::uint32_t* number = directoryNumbers_.Find(dir);
    if (number == nullptr) return false;
    lastDirectory_.assign(dir);
    lastNumber_ = *number;
    haveLast_ = true;
  }
  SetKey(path, end, lastNumber_);
  return true;
}

void ListedNames::MakeKeyOf(std::string_view path) {
  if (KeyOf(path)) return;
  const std::size_t cut = path.find_last_of(kPathSeparator);
  const std::size_t end = cut == std::string_view::npos ? 0 : cut;
  const auto number = static_cast<std::uint32_t>(directoryNumbers_.size());
  directoryNumbers_.Insert(path.substr(0, end), number);
  lastDirectory_.assign(path.substr(0, end));
  lastNumber_ = number;
  haveLast_ = true;
  SetKey(path, end, number);
}

void ListedNames::SetKey(std::string_view path, std::size_t directoryEnd, std::uint32_t number) const {
  // A run lists few directories: the number of each of the first ones takes one byte, that of the
  // others a mark beyond them and four bytes, so that no key's number starts another's.
  constexpr std::uint32_t kLongNumberMark = 0xFF;
  std::array<char, 5> prefix{};
  std::size_t prefixSize = 1;
  if (number < kLongNumberMark) {
    prefix[0] = static_cast<char>(number);
  } else {
    prefix[0] = static_cast<char>(kLongNumberMark);
    for (int shift = 0; shift < 32; shift += 8)
      prefix[prefixSize++] = static_cast<char>((number >> shift) & 0xFF);
  }
  key_.assign(prefix.data(), prefixSize);
  key_.append(path.substr(directoryEnd));
}

namespace {

// A name that ends as a sidecar's does, in other letters than the usual "IT0".
bool IsOtherSidecarSpelling(std::string_view path) {
  if (path.size() < 3) return false;
  const std::string_view extension = path.substr(path.size() - 3);
  return extension != "IT0" && AsciiUpper(extension[0]) == 'I' && AsciiUpper(extension[1]) == 'T' &&
         extension[2] == '0';
}

}  // namespace

bool ListedNames::Add(std::string_view path) {
  MakeKeyOf(path);
  if (!names_.Insert(key_).second) return false;
  if (IsOtherSidecarSpelling(path)) ++otherSidecarSpellings_;
  return true;
}

bool ListedNames::Remove(std::string_view path) {
  if (!KeyOf(path) || !names_.Erase(key_)) return false;
  if (IsOtherSidecarSpelling(path)) --otherSidecarSpellings_;
  return true;
}

void ListedNames::AddDirectory(const std::string& dir, const std::vector<DirEntry>& entries) {
  names_.Reserve(names_.size() + entries.size());
  digest_ += Scrambled(std::hash<std::string_view>{}(dir));
  std::string path = dir;
  for (const DirEntry& entry : entries) {
    path.resize(dir.size());
    path += entry.name;
    Add(path);
    digest_ += Scrambled(std::hash<std::string_view>{}(path));
  }
  if (TellsCaseApart(dir, entries)) directories_.Insert(DirectoryPart(dir));
  haveListed_ = false;
}

bool ListedNames::TellsCaseApart(const std::string& dir, const std::vector<DirEntry>& entries) const {
  std::string swapped;
  for (const DirEntry& entry : entries) {
    swapped = dir;
    bool letters = false;
    for (const char c : entry.name) {
      const char upper = AsciiUpper(c);
      const char lower = AsciiLower(c);
      letters = letters || upper != lower;
      swapped += c == upper ? lower : upper;
    }
    if (!letters || Holds(swapped)) continue;
    return !PathOccupied(swapped);
  }
  return false;
}

std::uint64_t ListedNames::Scrambled(std::uint64_t value) {
  value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9u;
  value = (value ^ (value >> 27)) * 0x94D049BB133111EBu;
  return value ^ (value >> 31);
}

namespace {

Status WalkRenameDirectories(const RenameRunOptions& options, const DirectoryWalk& walk) {
  for (const std::string* dir : {&options.poolDir, &options.sentDir}) {
    if (dir->empty() || !DirectoryExists(*dir)) continue;
    if (auto walked = WalkDirectoryListings(*dir, walk, false); !walked) return walked;
  }
  return {};
}

}  // namespace

Status ScanForRename(ItemCache& cache, const RenameRunOptions& options, ListedNames& names) {
  ScanOptions scan;
  scan.recursive = options.subdirectories;
  scan.progressStep = options.scanStep;
  scan.skippedDirectory = options.skippedDirectory;
  scan.itemDates = options.itemDates;
  scan.held = options.held;
  scan.listed = [&names](const std::string& dir, const std::vector<DirEntry>& entries) {
    names.AddDirectory(dir, entries);
  };
  for (const std::string* dir : {&options.poolDir, &options.sentDir}) {
    if (dir->empty() || !DirectoryExists(*dir)) continue;
    if (auto scanned = ScanDirectory(cache, *dir, scan, nullptr); !scanned) return scanned;
  }
  return {};
}

Result<ListedNames> ListForRun(ItemCache& cache, const RenameRunOptions& options) {
  ListedNames names;
  DirectoryWalk walk;
  walk.recursive = options.subdirectories;
  walk.step = options.scanStep;
  walk.skipped = options.skippedDirectory;
  walk.listed = [&](const std::string& dir, const std::vector<DirEntry>& entries) -> Status {
    for (const DirEntry& entry : entries) {
      if (IsStaleTemporaryFileName(entry.name)) RemoveStaleTemporaryFiles(dir, {entry.name});
    }
    names.AddDirectory(dir, entries);
    std::vector<DirEntry> fresh;
    std::string path = dir;
    const SidecarListing sidecars(entries);
    for (const DirEntry& entry : entries) {
      if (entry.isDirectory || !IsItemFileName(entry.name)) continue;
      path.resize(dir.size());
      path += entry.name;
      // A cached item whose files another program changed since is read again too.
      if (cache.FindUnchanged(path, sidecars) == nullptr) fresh.push_back(entry);
    }
    if (fresh.empty()) return {};
    SortDirectoryEntries(fresh);
    for (const DirEntry& entry : fresh) {
      path.resize(dir.size());
      path += entry.name;
      if (auto loaded = cache.LoadItem(path, sidecars); !loaded) return loaded.failure();
    }
    return {};
  };
  if (auto walked = WalkRenameDirectories(options, walk); !walked) return walked.failure();
  return names;
}

}  // namespace relicor
