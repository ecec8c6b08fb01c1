#include "pool/RenameNaming.h"

#include <optional>

#include "text/ByteText.h"
#include "text/Path.h"

namespace relicor {

namespace {

// Running numbers never get near this many digits: a cache holds far fewer items.
constexpr std::size_t kMaxNumberDigits = 9;

bool IsUnsafeFileNameChar(unsigned char c) {
  switch (c) {
    case '/':
    case '\\':
    case ':':
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|':
      return true;
    default:
      return c < 0x20 || c == 0x7F;
  }
}

// The number `digits` stands for when it is exactly what ZeroPadNumber(n, 4) gives for some n >= 1.
std::optional<std::int32_t> RunningNumber(std::string_view digits) {
  if (digits.size() < static_cast<std::size_t>(kRenameNumberWidth) || digits.size() > kMaxNumberDigits) {
    return std::nullopt;
  }
  std::int32_t value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < 1 || ZeroPadNumber(value, kRenameNumberWidth) != digits) return std::nullopt;
  return value;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::string FileNameBase(std::string_view itemName) {
  std::string base;
  base.reserve(itemName.size());
  for (const char c : itemName) {
    if (c == ' ' || c == '\'') continue;
    base.push_back(IsUnsafeFileNameChar(static_cast<unsigned char>(c)) ? '_' : c);
  }
  if (base == "." || base == "..") base.clear();
  // A leading dot would hide the renamed file from the directory listings.
  if (!base.empty() && base.front() == '.') base.front() = '_';
  return base;
}

std::string_view FileNameStem(std::string_view path) {
  std::size_t start = path.size();
  while (start > 0 && path[start - 1] != kPathSeparator && path[start - 1] != ':') --start;
  std::string_view name = path.substr(start);
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? name : name.substr(0, dot);
}

std::size_t FileNameIndex::Count(std::string_view stem) const {
  if (!stems_.Contains(stem)) return 0;
  const std::uint32_t* more = moreOfStem_.empty() ? nullptr : moreOfStem_.Find(stem);
  return more == nullptr ? 1 : 1 + std::size_t{*more};
}

void FileNameIndex::Reserve(std::size_t count) {
  stems_.Reserve(stems_.size() + count);
}

void FileNameIndex::Add(std::string_view path) {
  const std::string_view stem = FileNameStem(path);
  if (stems_.Insert(stem).second) return;
  ++*moreOfStem_.Insert(stem, 0).first;
}

void FileNameIndex::Remove(std::string_view path) {
  const std::string_view stem = FileNameStem(path);
  if (!moreOfStem_.empty()) {
    if (std::uint32_t* more = moreOfStem_.Find(stem)) {
      if (--*more == 0) moreOfStem_.Erase(stem);
      return;
    }
  }
  if (!stems_.Erase(stem)) return;
  // The freed stem may be base + number for several bases (a name may end in digits itself);
  // each of them may now have a free number below what was known to be taken.
  std::size_t digitRun = 0;
  while (digitRun < stem.size() && digitRun < kMaxNumberDigits && stem[stem.size() - 1 - digitRun] >= '0' &&
         stem[stem.size() - 1 - digitRun] <= '9') {
    ++digitRun;
  }
  for (std::size_t len = kRenameNumberWidth; len <= digitRun; ++len) {
    const auto number = RunningNumber(stem.substr(stem.size() - len));
    if (!number) continue;
    std::int32_t* known = lowestUnknown_.Find(stem.substr(0, stem.size() - len));
    if (known != nullptr && *number < *known) *known = *number;
  }
}

std::int32_t FileNameIndex::FreeNumber(const std::string& base, const std::string& ownPath) {
  std::int32_t& lowest = *lowestUnknown_.Insert(base, 1).first;
  auto taken = [&](std::int32_t number) {
    probe_.assign(base);
    probe_ += ZeroPadNumber(number, kRenameNumberWidth);
    return Count(probe_) != 0;
  };
  while (taken(lowest)) ++lowest;
  // Every number below `lowest` is held by a cached path. The item's own path does not count: when
  // it alone holds one of them, that number is the item's.
  if (!ownPath.empty()) {
    const std::string_view own = FileNameStem(ownPath);
    if (StartsWith(own, base)) {
      const auto number = RunningNumber(own.substr(base.size()));
      if (number && *number < lowest && Count(own) == 1) return *number;
    }
  }
  return lowest;
}

std::vector<std::string> CachedItemPaths(const ItemCache& cache) {
  return cache.Paths();
}

PathList CachedItemPathList(const ItemCache& cache) {
  return cache.SortedPathList();
}

std::string NewItemFileName(const ItemEntry& entry, const std::string& ownPath, FileNameIndex& index) {
  const std::string base = FileNameBase(entry.Record().Name());
  return base + ZeroPadNumber(index.FreeNumber(base, ownPath), kRenameNumberWidth) +
         std::string(kRenamedExtension);
}

std::string NewItemFileName(const ItemCache& cache, const ItemEntry& entry, const std::string& ownPath) {
  FileNameIndex index;
  for (const std::string& path : CachedItemPaths(cache)) index.Add(path);
  return NewItemFileName(entry, ownPath, index);
}

std::string RenameTarget(std::string_view path, std::string_view fileName) {
  const std::size_t cut = path.find_last_of(kPathSeparator);
  std::string target(cut == std::string_view::npos ? std::string_view{} : path.substr(0, cut + 1));
  target.append(fileName);
  return target;
}

}  // namespace relicor
