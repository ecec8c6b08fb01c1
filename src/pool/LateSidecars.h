#pragma once
// Sidecars that came after the rename run listed their directory, brought to their moved items.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/DirectoryWatch.h"
#include "platform/Result.h"
#include "pool/ItemCache.h"
#include "pool/ListedNames.h"
#include "pool/MoveJournal.h"
#include "text/PathList.h"

namespace relicor {

// After a batch of moves, the sidecars of moved items that the run's listing did not hold: another
// program may have written one since. Instead of looking for each, the look lists each directory,
// while the batch's journal record still holds its moves, and moves every such sidecar it finds
// to its item, unless an item file there has that sidecar name too (it then stays beside that
// item). Nothing is replaced: a sidecar that cannot follow is an error, and the journal stays, so
// the next command brings the two together.
// The moves are kept as places in the lists of the batch's paths, which outlive the look.
class UnlistedMoves {
 public:
  UnlistedMoves(const PathList& from, const PathList& to) : from_(from), to_(to) {}

  // A moved item that was at `from_[fromAt]` and went to `to_[toAt]`.
  void Add(std::size_t fromAt, std::size_t toAt) {
    at_.push_back({static_cast<std::uint32_t>(fromAt), static_cast<std::uint32_t>(toAt)});
  }
  std::size_t size() const { return at_.size(); }
  // Where the m-th moved item was, and its directory; where it went.
  std::string From(std::size_t m) const { return from_[at_[m].from]; }
  std::string_view FromDirectory(std::size_t m) const { return from_.Directory(at_[m].from); }
  std::string To(std::size_t m) const { return to_[at_[m].to]; }

 private:
  struct Places {
    std::uint32_t from;
    std::uint32_t to;
  };
  const PathList& from_;
  const PathList& to_;
  std::vector<Places> at_;
};

// A directory is read in full at its first look, unless it was watched since before the run listed
// it (WatchBeforeListing). From then on the system tells the look which names come there, and the
// directory is read again only when one came that the run's listing does not hold (temporary files aside,
// they are nobody's sidecar), when names may have come unseen, or when a read found a name the listing does
// not hold that did not move as a sidecar: that one may be the sidecar of an item a later batch moves, so
// every later look reads that directory.
class LateSidecarLook {
 public:
  // Starts watching `dir` before the run lists it, so that its first look need not read it: what
  // comes after the listing is told. Only for a directory whose listing the run takes after this
  // call; a directory watched ahead under another spelling than the moves' is read as usual.
  void WatchBeforeListing(const std::string& dir);

  // Takes note of the names that came in the watched directories since the last call. The system
  // keeps only so many of them: a batch of many moves calls this every few thousand moves.
  void Note(const ListedNames& names);

  // Moves the late sidecars of one batch's moves to their items.
  Status Move(ItemCache& cache, const UnlistedMoves& moved, ListedNames& names, const MoveJournal& journal);

  // How many times the look read a directory.
  std::size_t DirectoryReads() const { return reads_; }

 private:
  struct Directory {
    std::string path;          // as the moves name it ("" for the root)
    std::optional<int> watch;  // while the system tells what comes there
    bool changed = false;      // since the last read: a name not listed came, or names came unseen
  };
  // The state of `dir` (as the moves name it), watched from now on when it is new.
  std::pair<Directory*, bool> Watched(const std::string& dir);
  void StopWatching(Directory& directory);

  DirectoryWatch watch_;
  std::map<std::string, Directory, std::less<>> directories_;
  std::unordered_multimap<int, Directory*> byWatch_;
  std::size_t reads_ = 0;
};

}  // namespace relicor
