#pragma once
// How the rename run names an item file: the item's name made safe for a file name, the lowest
// running number no other cached file holds, and the item's own directory.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pool/ItemCache.h"
#include "text/PathList.h"
#include "text/TextTable.h"

namespace relicor {

inline constexpr int kRenameNumberWidth = 4;
inline constexpr std::string_view kRenamedExtension = ".ITM";

// The item's name as the start of a file name: blanks and apostrophes removed, every character a
// file name cannot safely hold on Linux or Windows (/ \ : * ? " < > | and control bytes) turned
// into '_'; "." and ".." count as empty, and a leading dot (a hidden file) becomes '_' too. The
// result never names another directory.
std::string FileNameBase(std::string_view itemName);

// The part of a file name that decides whether a running number is taken: the name after the last
// separator or colon, without its extension (from the last "." on).
std::string_view FileNameStem(std::string_view path);

// Which file name stems the item cache holds, counted with letter case, so that the lowest free
// running number for a name is found without walking the whole cache for every number tried.
// Gives the same numbers as such a walk: n is the lowest number from 1 on for which no cached path
// other than the item's own has the stem base + number. The index counts paths without keeping
// them: a path is added while the index does not hold it and removed only while it does, as the
// cache's own paths come and go.
class FileNameIndex {
 public:
  void Add(std::string_view path);
  void Remove(std::string_view path);
  // Makes room for `count` more paths.
  void Reserve(std::size_t count);

  // The lowest free running number for `base` (already made safe by FileNameBase) for the item
  // at `ownPath`, whose own name never blocks a number. `ownPath` is a path the index holds, or
  // empty for a file that has no path yet.
  std::int32_t FreeNumber(const std::string& base, const std::string& ownPath);

 private:
  // The stems held, and for a stem held by more than one path, how many more: most stems are held
  // by one path, and a set costs less than a table of counts.
  TextSet stems_;
  TextTable<std::uint32_t> moreOfStem_;
  // Per base: every number below this one is held by some cached path.
  TextTable<std::int32_t> lowestUnknown_;
  std::string probe_;  // the stem being tried

  std::size_t Count(std::string_view stem) const;
};

// Every path of the item cache, in the cache's order (by path, letter case ignored).
std::vector<std::string> CachedItemPaths(const ItemCache& cache);
// The same as one list.
PathList CachedItemPathList(const ItemCache& cache);

// The new file name (without directory) for `entry` at `ownPath`: base + number + ".ITM".
std::string NewItemFileName(const ItemEntry& entry, const std::string& ownPath, FileNameIndex& index);
// The same with an index built from the whole cache (for a single name; the run keeps one index).
std::string NewItemFileName(const ItemCache& cache, const ItemEntry& entry, const std::string& ownPath);

// The path an item at `path` gets when renamed to `fileName`: always in the item's own directory.
std::string RenameTarget(std::string_view path, std::string_view fileName);

}  // namespace relicor
