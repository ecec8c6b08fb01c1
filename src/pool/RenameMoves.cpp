#include "pool/RenameMoves.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <exception>
#include <system_error>
#include <thread>

#include "platform/FaultInjection.h"
#include "platform/FileSystem.h"
#include "text/TextTable.h"

namespace relicor {

namespace {

// How many moves one journal record holds at most, and how large its text may grow (every byte of
// a path counted twice, as an escaped one is written). Each record costs flushes of the disk, so
// a record holds many moves; the repair after a crash reads at most the one record.
constexpr std::size_t kRenameBatchSize = 8192;
constexpr std::size_t kRenameBatchBytesPerMove = 512;
// A run over a large pool takes larger records, a sixth of its items each: a record's flushes put
// on the disk every block of the directories the moves before it changed, and a large pool's
// directory has many, so a run takes about 6 records whatever its size, and writes about as many
// directory blocks per move over a million items as over a hundred thousand (a run over 100,000
// items takes 6 records instead of 13; over 1,000,000, 6 instead of 31). A batch costs memory for
// each of its moves, so the batches of a run over `items` items take no more memory per item than
// those of a run over 6 * kRenameBatchSize items.
constexpr std::size_t kItemsPerBatchMove = 6;

// The look for late sidecars takes note of the names that came this often during a batch's moves,
// before the system has more of them than it keeps (two for a move with a sidecar).
constexpr std::size_t kNoteLateSidecarsEvery = 4096;
// The log is written in pieces of about this size.
constexpr std::size_t kLogPieceBytes = std::size_t{64} * 1024;
// The moves are let go to the thread that makes them this many at a time, and it tells of those it
// has made as often.
constexpr std::size_t kMovesLetGoAtOnce = 256;
constexpr std::size_t kMovesToldAtOnce = 64;

// What the listing knew of a move as it was let go, in one byte: how its sidecar was seen (two
// bits), the spelling of that sidecar's extension (two bits), and which of the listing's names the
// move changed, so that a move that fails, and those after it, can be taken back.
constexpr unsigned kSpellingShift = 2;
constexpr std::uint8_t kFromRemoved = 1U << 4;
constexpr std::uint8_t kToAdded = 1U << 5;
constexpr std::uint8_t kSidecarRemoved = 1U << 6;
constexpr std::uint8_t kSidecarAdded = 1U << 7;

ItemCache::SidecarSeen SeenOf(std::uint8_t step) {
  return static_cast<ItemCache::SidecarSeen>(step & 3U);
}

// The spellings of a sidecar's extension the listing may hold, the usual one first.
constexpr std::array<std::string_view, 4> kSidecarSpellings = {"IT0", "it0", "It0", "iT0"};

void SpellSidecar(std::string& sidecar, std::uint8_t spelling) {
  sidecar.replace(sidecar.size() - 3, 3, kSidecarSpellings[spelling]);
}

// Makes a batch's moves of files, in order, until one fails: on a thread of its own, so that the
// thread that named them keeps the listing, the cache and the renames up to date meanwhile; or,
// while a test plans faults of the file layer, at once on the caller's thread, so that the file
// operations keep one order.
class FileMover {
 public:
  struct Failure {
    std::size_t step = 0;
    Error error;
    bool stuck = false;  // the item moved and could go neither on nor back
  };

  FileMover(const PathList& snapshot, const std::vector<std::uint32_t>& positions, const PathList& targets,
            const std::vector<std::uint8_t>& steps, bool aside)
      : snapshot_(snapshot), positions_(positions), targets_(targets), steps_(steps), aside_(aside) {
    sidecarMoved_.resize(steps.size());
    if (steps.empty()) {
      progress_.store(1U);
      told_.store(1U);
    } else if (aside_) {
      try {
        thread_ = std::thread([this] { Run(); });
      } catch (const std::system_error&) {
        aside_ = false;  // no thread to be had: the moves are made here
      }
    }
  }
  ~FileMover() {
    if (!thread_.joinable()) return;
    cancelled_.store(true);
    released_.store(steps_.size(), std::memory_order_release);
    released_.notify_one();
    thread_.join();
  }
  FileMover(const FileMover&) = delete;
  FileMover& operator=(const FileMover&) = delete;

  // Lets the moves before `count` go; their steps are set.
  void Release(std::size_t count) {
    released_.store(count, std::memory_order_release);
    if (aside_) {
      released_.notify_one();
    } else if (count == steps_.size()) {
      Run();
    }
  }
  // How many moves have been made.
  std::size_t Made() const { return progress_.load(std::memory_order_acquire) >> 1; }
  // True once no more moves will be made: all were, or one failed.
  bool Stopped() const { return (progress_.load(std::memory_order_acquire) & 1U) != 0; }
  // Waits until more than `made` moves have been made or the mover has stopped; how many were.
  // The mover tells of its moves kMovesToldAtOnce at a time, so a wait that is not over at once
  // lasts until the next of those: the waiting thread then follows that many moves in one go,
  // rather than being woken for every move.
  std::size_t WaitBeyond(std::size_t made) const {
    for (;;) {
      const std::size_t told = told_.load(std::memory_order_acquire);
      const std::size_t progress = progress_.load(std::memory_order_acquire);
      if ((progress >> 1) > made || (progress & 1U) != 0) return progress >> 1;
      told_.wait(told, std::memory_order_acquire);
    }
  }
  // For a move made: whether a sidecar moved along.
  bool SidecarMoved(std::size_t step) const { return sidecarMoved_[step] != 0; }
  // Once stopped: the move that failed, or null.
  const Failure* failure() const { return failure_ ? &*failure_ : nullptr; }
  // Once stopped: throws what the moves threw, if they did.
  void Rethrow() const {
    if (thrown_) std::rethrow_exception(thrown_);
  }

 private:
  void Run() {
    std::string from;
    std::string to;
    std::size_t k = 0;
    try {
      for (; k < steps_.size(); ++k) {
        for (std::size_t released = released_.load(std::memory_order_acquire); released <= k;
             released = released_.load(std::memory_order_acquire)) {
          released_.wait(released, std::memory_order_acquire);
        }
        if (cancelled_.load()) break;
        snapshot_.Get(positions_[k], from);
        targets_.Get(k, to);
        auto moved = ItemCache::MoveItemFiles(from, to, SeenOf(steps_[k]));
        if (!moved) {
          failure_ = Failure{k, moved.failure(), !PathOccupied(from) && PathOccupied(to)};
          break;
        }
        sidecarMoved_[k] = *moved ? 1 : 0;
        if (k + 1 < steps_.size()) {
          progress_.store((k + 1) << 1, std::memory_order_release);
          if ((k + 1) % kMovesToldAtOnce == 0) Tell((k + 1) << 1);
        }
      }
    } catch (...) {
      // Out of memory, say: whether the move was made is not known, so the run ends as the
      // exception goes on, and the journal stays for the next command.
      thrown_ = std::current_exception();
    }
    progress_.store((k << 1) | 1U, std::memory_order_release);
    Tell((k << 1) | 1U);
  }

  void Tell(std::size_t progress) {
    told_.store(progress, std::memory_order_release);
    told_.notify_one();
  }

  const PathList& snapshot_;
  const std::vector<std::uint32_t>& positions_;
  const PathList& targets_;
  const std::vector<std::uint8_t>& steps_;
  bool aside_;
  std::vector<std::uint8_t> sidecarMoved_;
  std::optional<Failure> failure_;
  std::exception_ptr thrown_;
  std::atomic<std::size_t> released_{0};
  // Twice the moves made, and 1 once the mover has stopped; and the same as last told to a thread
  // that waits (every kMovesToldAtOnce moves, and as the mover stops).
  std::atomic<std::size_t> progress_{0};
  mutable std::atomic<std::size_t> told_{0};
  std::atomic<bool> cancelled_{false};
  std::thread thread_;
};

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

std::size_t RenameBatchMoves(std::size_t items) {
  return std::max(items / kItemsPerBatchMove, kRenameBatchSize);
}

void RenameMoves::Batch::Add(std::size_t position, std::string_view from, std::string_view to) {
  journalBytes += 2 * (from.size() + to.size()) + 4;
  // A snapshot holds fewer paths than that: its texts take less than 4 GiB.
  positions.push_back(static_cast<std::uint32_t>(position));
  targets.Add(to);
}

void RenameMoves::Batch::Reserve(std::size_t count) {
  positions.reserve(std::min(count, most));
  targets.Reserve(std::min(count, most));
}

bool RenameMoves::Batch::Full() const {
  return targets.size() >= most || journalBytes >= most * kRenameBatchBytesPerMove;
}

Result<std::size_t> RenameMoves::MakePlannedMoves(const RenamePlanBasis& plan) {
  const PathList& snapshot = plan.snapshot;
  // Room for every rename at once: made batch by batch, the list would be copied at each, and
  // hold the renames twice while it is.
  result_.renamed.Reserve(result_.renamed.size() + plan.moves.size());
  std::size_t m = 0;
  while (m < plan.moves.size()) {
    Batch batch(RenameBatchMoves(snapshot.size()), false);
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
  // Names the item at snapshot position `i` into `batch`: nothing for one that keeps its name, has
  // gone or cannot be loaded. False, with nothing done, for one that would have to be loaded first
  // when `mayLoad` is false.
  auto nameItem = [&](Batch& batch, std::size_t i, bool mayLoad) {
    snapshot.Get(i, path);
    // A cached file that has gone away since it was loaded (another command moved it) is no
    // longer the run's to rename.
    if (!names_.Occupied(path)) {
      gone_.insert(i);
      return true;
    }
    // An item the run's look at the files has loaded or checked is named from its entry as it is.
    const ItemEntry* own = cache_.FindChecked(path);
    if (own == nullptr) {
      if (!mayLoad) return false;
      auto loaded = cache_.LoadItem(path);
      if (!loaded) {
        result_.failed.push_back({path, {}, loaded.error()});
        return true;
      }
      own = cache_.CurrentEntry();
      if (*loaded != LoadStatus::kLoaded || own == nullptr) return true;
    }
    const std::string target = FreeRenameTarget(*own, path, index, names_);
    if (target == path) return true;
    // No target is a source of the batch: a source is on the disk and in the listing until it
    // has moved, and a name taken so is never a target.
    index.Remove(path);
    index.Add(target);
    batch.Add(i, path, target);
    return true;
  };
  // The names chosen for `batch` from its move `k` on are taken back.
  auto unname = [&](const Batch& batch, std::size_t k) {
    for (std::size_t m = batch.size(); m-- > k;) {
      index.Remove(batch.targets[m]);
      index.Add(snapshot[batch.positions[m]]);
    }
  };
  // The batch holds the items named from `next` up to `i`.
  const std::size_t batchMoves = RenameBatchMoves(snapshot.size());
  Batch batch(batchMoves, true);
  std::size_t i = next;
  while (next < snapshot.size()) {
    batch.Reserve(snapshot.size() - next);
    for (; i < snapshot.size() && !batch.Full(); ++i) {
      if (options_.progress) options_.progress(i, snapshot.size());
      (void)nameItem(batch, i, true);
    }
    if (batch.size() == 0) {
      next = i;
      continue;
    }
    // While the batch's files move, the next batch is named as if all of them move; an item that
    // would have to be loaded first waits for them.
    Batch ahead(batchMoves, true);
    std::size_t aheadEnd = i;
    bool aheadWaits = false;
    auto nameAhead = [&] {
      if (aheadWaits || aheadEnd >= snapshot.size() || ahead.Full()) return false;
      if (ahead.size() == 0) ahead.Reserve(snapshot.size() - aheadEnd);
      if (options_.progress) options_.progress(aheadEnd, snapshot.size());
      if (!nameItem(ahead, aheadEnd, false)) {
        aheadWaits = true;
        return false;
      }
      ++aheadEnd;
      return true;
    };
    auto made = MakeBatch(batch, snapshot, i, nameAhead);
    if (!made) return made.failure();
    if (!made->recorded) return {};
    if (made->failed) {
      // The names chosen from the failed move on assumed it: they are chosen again.
      unname(ahead, 0);
      const std::size_t k = *made->failed;
      unname(batch, k);
      next = i = batch.positions[k] + 1;
      batch = Batch(batchMoves, true);
      continue;
    }
    next = i;
    batch = std::move(ahead);
    i = aheadEnd;
  }
  return {};
}

Result<RenameMoves::BatchEnd> RenameMoves::MakeBatch(const Batch& batch, const PathList& snapshot,
                                                     std::size_t end,
                                                     const std::function<bool()>& alongside) {
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
  // Every item is loaded before the files move; one that cannot be ends the batch there, as its
  // move would.
  std::size_t movable = batch.size();
  std::optional<Error> unloaded;
  for (std::size_t k = 0; !batch.named && k < batch.size(); ++k) {
    snapshot.Get(batch.positions[k], from);
    if (cache_.Find(from) != nullptr) continue;
    if (auto loaded = cache_.LoadItem(from); !loaded) {
      movable = k;
      unloaded = loaded.failure();
      break;
    }
  }

  // The listing follows each move as it is let go, as if it succeeds; a move that fails takes back
  // what it and the moves let go after it did.
  std::vector<std::uint8_t> steps(movable);
  FileMover mover(snapshot, batch.positions, batch.targets, steps, !faults::Planned());
  std::size_t released = 0;
  auto release = [&](std::size_t count) {
    for (; released < count; ++released) {
      snapshot.Get(batch.positions[released], from);
      batch.targets.Get(released, to);
      steps[released] = ListMove(from, to);
    }
    mover.Release(released);
  };
  std::size_t followed = 0;
  for (;;) {
    if (released < movable && !mover.Stopped()) release(std::min(released + kMovesLetGoAtOnce, movable));
    std::size_t made = mover.Made();
    if (made == followed && released == movable && !mover.Stopped()) {
      // Nothing to follow yet: the other work, one step at a time, or a wait.
      if (alongside && alongside()) continue;
      made = mover.WaitBeyond(followed);
    }
    for (; followed < made; ++followed) {
      snapshot.Get(batch.positions[followed], from);
      batch.targets.Get(followed, to);
      const ItemCache::SidecarSeen seen = SeenOf(steps[followed]);
      cache_.FollowMove(from, to, seen, mover.SidecarMoved(followed));
      if (result_.renamed.BySource()) {
        result_.renamed.AddFromSource(batch.positions[followed],
                                      snapshot.Directory(batch.positions[followed]), to);
      } else {
        result_.renamed.Add(from, to);
      }
      if (!lineEnds.empty()) logMade_ = lineEnds[followed];
      if (seen == ItemCache::SidecarSeen::kNotListed) unlisted.Add(batch.positions[followed], followed);
      if (followed % kNoteLateSidecarsEvery == kNoteLateSidecarsEvery - 1) late_.Note(names_);
    }
    if (mover.Stopped() && followed == mover.Made()) break;
  }
  mover.Rethrow();
  if (const auto* failure = mover.failure()) {
    const std::size_t k = failure->step;
    for (std::size_t m = released; m-- > k;) {
      snapshot.Get(batch.positions[m], from);
      batch.targets.Get(m, to);
      UnlistMove(from, to, steps[m]);
    }
    snapshot.Get(batch.positions[k], from);
    batch.targets.Get(k, to);
    cache_.FollowFailedMove(from);
    if (failure->stuck) {
      // The item moved, its sidecar could not follow, and the item could not go back: the
      // journal stays, so the next command brings the two together.
      return MakeError(ErrorKind::kJournalStuck, failure->error.message + "; " + journal_.path() +
                                                     " keeps the move for the next command to finish");
    }
    result_.failed.push_back({from, to, failure->error.message});
    outcome.failed = k;
  } else if (unloaded) {
    snapshot.Get(batch.positions[movable], from);
    batch.targets.Get(movable, to);
    result_.failed.push_back({from, to, unloaded->message});
    outcome.failed = movable;
  }
  if (auto late = late_.Move(cache_, unlisted, names_, journal_); !late) {
    return late.failure();
  }
  return outcome;
}

void RenameMoves::WatchBeforeListing() {
  for (const std::string* dir : {&options_.poolDir, &options_.sentDir}) late_.WatchBeforeListing(*dir);
}

std::uint8_t RenameMoves::ListedSidecarOf(const std::string& item, std::string& sidecar) const {
  sidecar = SidecarPath(item);
  if (!names_.HoldsOtherSidecarSpellings() || names_.Holds(sidecar)) return 0;
  // The other letter cases of the extension, tried in the one text: most items have no sidecar,
  // and each is asked about.
  for (std::size_t spelling = 1; spelling < kSidecarSpellings.size(); ++spelling) {
    SpellSidecar(sidecar, static_cast<std::uint8_t>(spelling));
    if (names_.Holds(sidecar)) return static_cast<std::uint8_t>(spelling);
  }
  SpellSidecar(sidecar, 0);
  return 0;
}

std::uint8_t RenameMoves::ListMove(const std::string& from, const std::string& to) {
  std::string& sidecarFrom = sidecarFrom_;
  const std::uint8_t spelling = ListedSidecarOf(from, sidecarFrom);
  const ItemCache::SidecarSeen seen = !names_.Listed(from)        ? ItemCache::SidecarSeen::kUnknown
                                      : names_.Holds(sidecarFrom) ? ItemCache::SidecarSeen::kListed
                                                                  : ItemCache::SidecarSeen::kNotListed;
  std::uint8_t step = static_cast<std::uint8_t>(static_cast<unsigned>(seen) | (spelling << kSpellingShift));
  if (names_.Remove(from)) step |= kFromRemoved;
  if (names_.Add(to)) step |= kToAdded;
  if (seen == ItemCache::SidecarSeen::kListed) {
    if (names_.Remove(sidecarFrom)) step |= kSidecarRemoved;
    if (names_.Add(SidecarPath(to))) step |= kSidecarAdded;
  }
  return step;
}

void RenameMoves::UnlistMove(const std::string& from, const std::string& to, std::uint8_t step) {
  if ((step & kSidecarAdded) != 0) names_.Remove(SidecarPath(to));
  if ((step & kSidecarRemoved) != 0) {
    sidecarFrom_ = SidecarPath(from);
    SpellSidecar(sidecarFrom_, static_cast<std::uint8_t>((step >> kSpellingShift) & 3U));
    names_.Add(sidecarFrom_);
  }
  if ((step & kToAdded) != 0) names_.Remove(to);
  if ((step & kFromRemoved) != 0) names_.Add(from);
}

void RenameMoves::AppendLogLineBefore(std::string& lines, const std::string& from,
                                      const std::string& to) const {
  const ItemEntry* item = cache_.Find(from);
  if (item == nullptr) {
    AppendRenameLogLine(lines, {from, to, {}, {}});
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
    AppendLogLineBefore(piece, from, to);
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
