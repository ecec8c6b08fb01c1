#include "pool/RenameMoves.h"

#include <algorithm>

#include "platform/FileSystem.h"
#include "text/TextTable.h"

namespace relicor {

namespace {

// How many moves one journal record holds at most, and how large its text may grow (every byte of
// a path counted twice, as an escaped one is written). Each record costs flushes of the disk, so
// a record holds many moves; the repair after a crash reads at most the one record.
constexpr std::size_t kRenameBatchSize = 8192;
constexpr std::size_t kRenameBatchBytes = std::size_t{4} * 1024 * 1024;
// The look for late sidecars takes note of the names that came this often during a batch's moves,
// before the system has more of them than it keeps (two for a move with a sidecar).
constexpr std::size_t kNoteLateSidecarsEvery = 4096;
// The log is written in pieces of about this size.
constexpr std::size_t kLogPieceBytes = std::size_t{64} * 1024;

// The target for `entry` at `path`: the lowest free number whose file name is free on the disk too.
// A name whose item file or sidecar is there (a sidecar left by an interrupted run, or one made by
// hand) counts as taken, as a cached name does, so a renamed item never adopts a strange sidecar.
std::string FreeRenameTarget(const ItemEntry& entry, const std::string& path, FileNameIndex& index,
                             const ListedNames& names) {
  for (;;) {
    std::string target = RenameTarget(path, NewItemFileName(entry, path, index));
    if (target == path) return target;
    if (!names.Occupied(target) && !names.Occupied(SidecarPath(target))) return target;
    index.Add(target);
  }
}

}  // namespace

void RenameMoves::Batch::Add(std::size_t position, std::string_view from, std::string_view to,
                             const ItemEntry* entry) {
  journalBytes += 2 * (from.size() + to.size()) + 4;
  positions.push_back(position);
  targets.Add(to);
  entries.push_back(entry);
}

void RenameMoves::Batch::Reserve(std::size_t count) {
  positions.reserve(std::min(count, kRenameBatchSize));
  targets.Reserve(std::min(count, kRenameBatchSize));
  entries.reserve(std::min(count, kRenameBatchSize));
}

bool RenameMoves::Batch::Full() const {
  return targets.size() >= kRenameBatchSize || journalBytes >= kRenameBatchBytes;
}

Result<std::size_t> RenameMoves::MakePlannedMoves(const RenamePlanBasis& plan) {
  const PathList& snapshot = plan.snapshot;
  // Room for every rename at once: made batch by batch, the list would be copied at each, and
  // hold the renames twice while it is.
  result_.renamed.Reserve(result_.renamed.size() + plan.moves.size());
  std::size_t m = 0;
  while (m < plan.moves.size()) {
    Batch batch;
    batch.Reserve(plan.moves.size() - m);
    for (; m < plan.moves.size() && !batch.Full(); ++m) {
      const RenamePlanBasis::Move& move = plan.moves[m];
      if (options_.progress) options_.progress(move.position, snapshot.size());
      batch.Add(move.position, snapshot[move.position], move.target);
    }
    // Where the batch ends in the snapshot: at its last move, unless it is the last batch.
    const std::size_t end = m < plan.moves.size() ? batch.positions.back() + 1 : snapshot.size();
    auto made = MakeBatch(batch, snapshot, end);
    if (!made) return made.failure();
    if (!made->recorded) return snapshot.size();
    if (made->failed) return batch.positions[*made->failed] + 1;
  }
  return snapshot.size();
}

Status RenameMoves::NameAndMove(const PathList& snapshot, std::size_t next) {
  // The index holds the paths the cache holds: the snapshot's until a move takes them away (a
  // failed move puts them back).
  FileNameIndex index;
  if (next == 0) {
    index.Reserve(snapshot.size());
    std::string held;
    for (std::size_t i = 0; i < snapshot.size(); ++i) {
      snapshot.Get(i, held);
      index.Add(held);
    }
  } else {
    const std::vector<std::string> held = CachedItemPaths(cache_);
    index.Reserve(held.size());
    for (const std::string& path : held) index.Add(path);
  }
  result_.renamed.Reserve(result_.renamed.size() + snapshot.size() - next);
  std::string path;
  while (next < snapshot.size()) {
    Batch batch;
    batch.Reserve(snapshot.size() - next);
    std::size_t i = next;
    for (; i < snapshot.size() && !batch.Full(); ++i) {
      if (options_.progress) options_.progress(i, snapshot.size());
      snapshot.Get(i, path);
      // A cached file that has gone away since it was loaded (another command moved it) is no
      // longer the run's to rename.
      if (!names_.Occupied(path)) {
        gone_.insert(i);
        continue;
      }
      // An item the run's look at the files has loaded or checked is named from its entry as it is.
      const ItemEntry* own = cache_.FindChecked(path);
      if (own == nullptr) {
        auto loaded = cache_.LoadItem(path);
        if (!loaded) {
          result_.failed.push_back({path, {}, loaded.error()});
          continue;
        }
        own = cache_.CurrentEntry();
        if (*loaded != LoadStatus::kLoaded || own == nullptr) continue;
      }
      const std::string target = FreeRenameTarget(*own, path, index, names_);
      if (target == path) continue;
      // No target is a source of the batch: a source is on the disk and in the listing until it
      // has moved, and a name taken so is never a target.
      index.Remove(path);
      index.Add(target);
      batch.Add(i, path, target, own);
    }
    next = i;
    if (batch.size() == 0) continue;
    auto made = MakeBatch(batch, snapshot, i);
    if (!made) return made.failure();
    if (!made->recorded) return {};
    if (made->failed) {
      // The names chosen from the failed move on assumed it: they are chosen again.
      const std::size_t k = *made->failed;
      for (std::size_t m = batch.size(); m-- > k;) {
        index.Remove(batch.targets[m]);
        index.Add(snapshot[batch.positions[m]]);
      }
      next = batch.positions[k] + 1;
    }
  }
  return {};
}

Result<RenameMoves::BatchEnd> RenameMoves::MakeBatch(const Batch& batch, const PathList& snapshot,
                                                     std::size_t end) {
  auto fromOf = [&](std::size_t k) { return snapshot[batch.positions[k]]; };
  // Line k of the batch ends at lineEnds[k] in the log. The moves are made in order until one
  // fails, so the log is cut after the line of the last move made.
  std::vector<std::uint64_t> lineEnds;
  auto stop = [&](const std::string& reason) {
    for (std::size_t k = 0; k < batch.size(); ++k)
      result_.failed.push_back({fromOf(k), batch.targets[k], reason});
    for (std::size_t k = end; k < snapshot.size(); ++k) result_.failed.push_back({snapshot[k], {}, reason});
    return BatchEnd{false, std::nullopt};
  };
  // The log goes ahead of the batch (the renames made so far and the batch's), so that a run
  // killed in the batch can be undone; a log that cannot be written stops the run here.
  if (auto logged = WriteLogAhead(batch, snapshot, lineEnds); !logged) {
    result_.logError = logged.error();
    return stop(logged.error());
  }
  // Files the run made, not ones that came: the look for late sidecars knows them.
  if (!options_.logDir.empty()) names_.Add(RenameLogPath(options_.logDir));
  std::string recordedFrom;  // the journal reads each move before it asks for the next
  std::string recordedTo;
  auto recorded = journal_.Record(batch.size(), [&](std::size_t k) {
    snapshot.Get(batch.positions[k], recordedFrom);
    batch.targets.Get(k, recordedTo);
    return MoveJournal::MovePaths{&recordedFrom, &recordedTo};
  });
  if (!recorded) return stop(recorded.error());
  names_.Add(journal_.path());
  BatchEnd outcome;
  UnlistedMoves unlisted(snapshot, batch.targets);  // moved items whose sidecar the listing did not hold
  std::string from;
  std::string to;
  for (std::size_t k = 0; k < batch.size(); ++k) {
    snapshot.Get(batch.positions[k], from);
    batch.targets.Get(k, to);
    const std::string sidecarFrom = ListedSidecarOf(from);
    const ItemCache::SidecarSeen seen = !names_.Listed(from)        ? ItemCache::SidecarSeen::kUnknown
                                        : names_.Holds(sidecarFrom) ? ItemCache::SidecarSeen::kListed
                                                                    : ItemCache::SidecarSeen::kNotListed;
    if (k % kNoteLateSidecarsEvery == kNoteLateSidecarsEvery - 1) late_.Note(names_);
    const Status moved = cache_.MoveItem(from, to, seen);
    if (moved) {
      if (result_.renamed.BySource()) {
        result_.renamed.AddFromSource(batch.positions[k], to);
      } else {
        result_.renamed.Add(from, to);
      }
      if (!lineEnds.empty()) logMade_ = lineEnds[k];
      names_.Remove(from);
      names_.Add(to);
      if (seen == ItemCache::SidecarSeen::kListed) {
        names_.Remove(sidecarFrom);
        names_.Add(SidecarPath(to));
      } else if (seen == ItemCache::SidecarSeen::kNotListed) {
        unlisted.Add(batch.positions[k], k);
      }
      continue;
    }
    if (!PathOccupied(from) && PathOccupied(to)) {
      // The item moved, its sidecar could not follow, and the item could not go back: the
      // journal stays, so the next command brings the two together.
      return MakeError(ErrorKind::kJournalStuck, moved.error() + "; " + journal_.path() +
                                                     " keeps the move for the next command to finish");
    }
    result_.failed.push_back({from, to, moved.error()});
    outcome.failed = k;
    break;
  }
  if (auto late = late_.Move(cache_, unlisted, names_, journal_); !late) {
    return late.failure();
  }
  return outcome;
}

std::string RenameMoves::ListedSidecarOf(const std::string& item) const {
  std::string sidecar = SidecarPath(item);
  if (!names_.HoldsOtherSidecarSpellings() || names_.Holds(sidecar)) return sidecar;
  // The other letter cases of the extension (as OtherSidecarSpellings gives them), tried in the
  // one text: most items have no sidecar, and each is asked about.
  const std::size_t at = sidecar.size() - 3;
  for (const std::string_view extension : {"it0", "It0", "iT0"}) {
    sidecar.replace(at, 3, extension);
    if (names_.Holds(sidecar)) return sidecar;
  }
  sidecar.replace(at, 3, "IT0");
  return sidecar;
}

void RenameMoves::AppendLogLineBefore(std::string& lines, std::string_view from, std::string_view to,
                                      const ItemEntry* item) const {
  if (item == nullptr) item = cache_.Find(std::string(from));
  if (item == nullptr) {
    AppendRenameLogLine(lines, {std::string(from), std::string(to), {}, {}});
    return;
  }
  AppendRenameLogLine(lines, from, to, item->ItemKey(), item->FileDate());
}

Status RenameMoves::WriteLogAhead(const Batch& batch, const PathList& snapshot,
                                  std::vector<std::uint64_t>& lineEnds) {
  lineEnds.clear();
  if (options_.logDir.empty()) return {};
  lineEnds.reserve(batch.size());
  // The first batch makes the log anew through a temporary file, so that the log before the run
  // stays whole until the new one is on the disk; the batches after it add their lines at its end.
  const std::string path = RenameLogPath(options_.logDir);
  AtomicFileWriter first(path);
  std::string piece;
  std::uint64_t size = logMade_;
  if (!logAhead_) {
    // What the log held before the run, for a run that ends up renaming nothing.
    auto before = ReadWholeFileIfPresent(path);
    logBefore_ = before ? *before : std::nullopt;
    if (auto opened = first.Open(); !opened) return opened;
    AppendRenameLogHeader(piece, DateTimeText(options_.runTime).value_or(""));
    size = logHeaderSize_ = logMade_ = piece.size();
  } else if (auto cut = log_.CutAt(logMade_); !cut) {
    // Lines of moves that a failed one stopped go before the next batch's.
    return cut;
  }
  auto put = [&]() -> Status {
    Status written = logAhead_ ? log_.Write(piece) : first.Write(piece);
    piece.clear();
    return written;
  };
  std::string from;
  std::string to;
  for (std::size_t k = 0; k < batch.size(); ++k) {
    const std::size_t start = piece.size();
    snapshot.Get(batch.positions[k], from);
    batch.targets.Get(k, to);
    AppendLogLineBefore(piece, from, to, batch.entries[k]);
    size += piece.size() - start;
    lineEnds.push_back(size);
    if (piece.size() >= kLogPieceBytes) {
      if (auto written = put(); !written) return written;
    }
  }
  if (auto written = put(); !written) return written;
  if (logAhead_) return log_.Flush();
  if (auto committed = first.Commit(); !committed) return committed;
  logAhead_ = true;
  return log_.Open(path);
}

void RenameMoves::WriteFinalLog() {
  if (options_.logDir.empty() || !logAhead_) return;
  const std::string path = RenameLogPath(options_.logDir);
  const bool renamedAny = logMade_ > logHeaderSize_;
  Status written;
  if (renamedAny) {
    // The log ends after the line of the last rename made.
    written = log_.CutAt(logMade_);
    if (written) written = log_.Flush();
    log_.Close();
  } else {
    log_.Close();
    written = logBefore_ ? AtomicReplaceFile(path, *logBefore_) : RemoveFile(path);
  }
  if (!written) {
    result_.logError = written.error();
  } else if (renamedAny) {
    result_.logPath = path;
  }
}

}  // namespace relicor
