#pragma once
// The moves of a rename run, in batches recorded in the move journal before they are made, with
// the rename log written ahead of each batch.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Result.h"
#include "pool/ItemCache.h"
#include "pool/LateSidecars.h"
#include "pool/ListedNames.h"
#include "pool/MoveJournal.h"
#include "pool/RenameLog.h"
#include "pool/RenameRun.h"
#include "text/PathList.h"

namespace relicor {

// How many moves a batch (one journal record) of a run over `items` items holds at most.
std::size_t RenameBatchMoves(std::size_t items);

// The moves of one run, made in batches: the names of a batch are chosen as if every move before
// them succeeds, recorded in the journal, then made. A move that fails ends its batch; the items
// after it are named again in the next batch, from the names the files really have. The run's
// listing follows the moves. A batch's files move on a thread of their own while this one keeps
// the listing, the cache and the renames after them and names the next batch.
class RenameMoves {
 public:
  RenameMoves(ItemCache& cache, const RenameRunOptions& options, ListedNames& names, RenameRunResult& result)
      : cache_(cache),
        options_(options),
        names_(names),
        result_(result),
        journal_(options.journalDir.empty() ? options.poolDir : options.journalDir),
        late_(options.lateSidecars != nullptr ? *options.lateSidecars : ownLate_) {}

  MoveJournal& journal() { return journal_; }
  // Watches the pool and the sent directory for names that come, before the run lists them: the
  // look for late sidecars after a batch then reads a directory only when one came.
  void WatchBeforeListing();
  // Snapshot paths that had gone when the run came to them.
  std::size_t gone() const { return gone_.size(); }

  // Makes the moves of a plan that still holds. Returns the snapshot position from which the
  // items are to be named again (after a move that failed), or the snapshot's size.
  Result<std::size_t> MakePlannedMoves(const RenamePlanBasis& plan);

  // Names and moves the snapshot's items from position `next` on.
  Status NameAndMove(const PathList& snapshot, std::size_t next);

  // The log as the run ends: the renames it made; the log before it when it made none.
  void WriteFinalLog();

 private:
  // A batch: the moves in the order they are made, and where each source stands in the snapshot.
  struct Batch {
    Batch(std::size_t mostMoves, bool namedHere) : most(mostMoves), named(namedHere) {}
    std::size_t most;                      // moves at most
    std::vector<std::uint32_t> positions;  // of each move's source in the snapshot
    PathList targets;
    // True when the run named every item of the batch from its cache entry, so that each is loaded;
    // false for a plan's moves, whose items are looked up in the cache before they move.
    bool named;
    std::size_t journalBytes = 0;  // what the journal record of the moves takes, about
    void Add(std::size_t position, std::string_view from, std::string_view to);
    std::size_t size() const { return targets.size(); }
    bool Full() const;
    // Makes room for the moves of `count` items, as many as the batch holds at most.
    void Reserve(std::size_t count);
  };
  struct BatchEnd {
    bool recorded = true;               // false: the journal could not hold the batch; the run stops
    std::optional<std::size_t> failed;  // the step that failed; the steps after it were not made
  };

  // Records `batch` in the journal and makes its moves. When the journal cannot hold it, nothing of
  // it is moved, and every snapshot path from `end` on fails as well. An error stops the run.
  // While the files move, `alongside` (when given) is called whenever there is nothing else to do,
  // until it returns false. The listing then holds the names as if every move of the batch had
  // been made, while the cache's entries of the batch's items may still be at their old paths:
  // it may read both, but change neither.
  Result<BatchEnd> MakeBatch(const Batch& batch, const PathList& snapshot, std::size_t end,
                             const std::function<bool()>& alongside = {});

  // The sidecar of `item` as the run's listing holds it: the usual spelling, or another letter case
  // of its extension; the usual spelling when the listing holds none. Returns the spelling's number
  // (0 for the usual one).
  std::uint8_t ListedSidecarOf(const std::string& item, std::string& sidecar) const;

  // Makes the listing follow the move of `from` to `to` as if it succeeds; returns what the move
  // needs of it and what UnlistMove needs to take it back.
  std::uint8_t ListMove(const std::string& from, const std::string& to);
  void UnlistMove(const std::string& from, const std::string& to, std::uint8_t step);

  // Appends the log line of a rename about to be made: what the file at `from` is now.
  void AppendLogLineBefore(std::string& lines, const std::string& from, const std::string& to) const;

  // Writes the batch's lines at the end of the log, after the renames made so far, and puts them
  // on the disk; `lineEnds` gets where each line ends in the log (nothing without a log).
  Status WriteLogAhead(const Batch& batch, const PathList& snapshot, std::vector<std::uint64_t>& lineEnds);

 private:
  ItemCache& cache_;
  const RenameRunOptions& options_;
  ListedNames& names_;
  RenameRunResult& result_;
  MoveJournal journal_;
  // The log on the disk, open for the lines of the batches after the first, and its size through
  // its first line and through the line of the last rename made.
  AppendingFile log_;
  std::uint64_t logHeaderSize_ = 0;
  std::uint64_t logMade_ = 0;
  bool logAhead_ = false;  // the run has written the log
  std::optional<std::string> logBefore_;
  LateSidecarLook ownLate_;
  LateSidecarLook& late_;       // the caller's, or ownLate_
  std::string sidecarFrom_;     // ListMove's, kept for its room
  std::set<std::size_t> gone_;  // positions counted once, though a batch may be named again
};

}  // namespace relicor
