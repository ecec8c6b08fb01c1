#pragma once
// The names the rename run's listings of the pool and the sent directory held, and the two looks
// that fill them: the plan's scan and the run's own listing under its lock.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Result.h"
#include "pool/ItemCache.h"
#include "pool/RenameRun.h"
#include "text/Path.h"
#include "text/TextTable.h"

namespace relicor {

// Which names the listed directories hold, kept up to date as the run moves files, so that
// whether a name is taken is answered from memory rather than by asking the file system name by
// name. It answers as a look at the disk would: a path in a directory that was not listed, or in
// one whose file system holds names in other letter case as one name, is looked at on the disk.
class ListedNames {
 public:
  // Adds the entries of `dir` (ending in the path separator) as a listing gave them.
  void AddDirectory(const std::string& dir, const std::vector<DirEntry>& entries);

  // A digest of every directory listed and every name its listing held, in any order: two looks
  // at the same directories that give the same digest found the same names (moves since do not
  // count).
  std::uint64_t Digest() const { return digest_; }
  // How many answers of Occupied came from the disk rather than from the listings.
  std::size_t DiskLooks() const { return diskLooks_; }

  // True for a path in a listed directory.
  bool Listed(std::string_view path) const {
    const std::string_view dir = DirectoryPart(path);
    // A run asks about one directory at a time.
    if (!haveListed_ || dir != lastListedDirectory_) {
      lastListed_ = directories_.Contains(dir);
      lastListedDirectory_.assign(dir);
      haveListed_ = true;
    }
    return lastListed_;
  }

  // True when anything is at `path`.
  bool Occupied(const std::string& path) const {
    if (!Listed(path)) {
      ++diskLooks_;
      return PathOccupied(path);
    }
    return Holds(path);
  }

  // True when the listing holds `path` itself (in a listed directory).
  bool Holds(std::string_view path) const { return KeyOf(path) && names_.Contains(key_); }

  // True when some listed name is a sidecar name whose extension is not spelt "IT0" (as "it0"):
  // where none is, a sidecar that is not held under its usual spelling is not held at all.
  bool HoldsOtherSidecarSpellings() const { return otherSidecarSpellings_ != 0; }

  // Both tell whether the listing changed: a name held already is not added, one not held not
  // removed.
  bool Add(std::string_view path);
  bool Remove(std::string_view path);

 private:
  // Makes key_ the key of `path` among names_: the number of its directory (one byte for most) and
  // the rest of the path from the directory's end on, so that a pool's paths do not each hold the
  // pool's directory. False when no path in that directory was ever added.
  bool KeyOf(std::string_view path) const;
  // The same, numbering a directory not seen before.
  void MakeKeyOf(std::string_view path);
  void SetKey(std::string_view path, std::size_t directoryEnd, std::uint32_t number) const;

  // Whether the file system of `dir` tells names in other letter case apart: a listed name with
  // the case of its letters swapped, which the listing does not hold, is looked at once. When
  // nothing can be asked so, the directory counts as one that does not.
  bool TellsCaseApart(const std::string& dir, const std::vector<DirEntry>& entries) const;

  // Spreads the bits of a hash code over the whole word, so that a sum of them is a fair digest.
  static std::uint64_t Scrambled(std::uint64_t value);

  TextSet directories_;                        // listed ones that tell letter case apart
  TextTable<std::uint32_t> directoryNumbers_;  // every directory of a path added
  TextSet names_;                              // keyed as KeyOf makes them
  std::size_t otherSidecarSpellings_ = 0;      // names_ held so (HoldsOtherSidecarSpellings)
  std::uint64_t digest_ = 0;
  mutable std::size_t diskLooks_ = 0;
  // The last directory a key was made in, and its number: a run asks about one directory at a time.
  mutable std::string lastDirectory_;
  mutable std::uint32_t lastNumber_ = 0;
  mutable bool haveLast_ = false;
  mutable std::string key_;
  // The last directory Listed was asked about, and its answer (forgotten when a listing is added).
  mutable std::string lastListedDirectory_;
  mutable bool lastListed_ = false;
  mutable bool haveListed_ = false;
};

// Loads every ITM file of both directories into the cache (a missing directory yields no files),
// and notes the names the listings held.
Status ScanForRename(ItemCache& cache, const RenameRunOptions& options, ListedNames& names);

// The run's look at both directories, under the lock its moves are made under, as a scan of them
// would see them: item files that are not in the cache yet (they came after the plan's scan) are
// loaded, in name order; those the cache holds are taken from it, as a scan takes them, without
// reading them again. Leftover temporary files of killed runs are removed. A file that cannot be
// read stops the run with an error naming it.
Result<ListedNames> ListForRun(ItemCache& cache, const RenameRunOptions& options);

}  // namespace relicor
