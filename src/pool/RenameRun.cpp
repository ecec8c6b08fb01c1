#include "pool/RenameRun.h"

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "platform/FileSystem.h"
#include "pool/MoveJournal.h"
#include "pool/RenameLog.h"
#include "pool/ScanDirectory.h"
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

std::string RenameQuestion(std::string_view poolDir, std::string_view sentDir) {
  std::string text = "This function will autoname all files in \"";
  text.append(poolDir);
  text.append("\" and \"");
  text.append(sentDir);
  text.append("\" by their item names. Continue?");
  return ShortString(text, kTextCapacity);
}

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
  constexpr char kNameBreaks[] = {kPathSeparator, ':', '\0'};
  const std::size_t cut = path.find_last_of(kNameBreaks);
  std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? name : name.substr(0, dot);
}

std::size_t FileNameIndex::Count(std::string_view stem) const {
  const std::uint32_t* count = stemCount_.Find(stem);
  return count == nullptr ? 0 : *count;
}

void FileNameIndex::Reserve(std::size_t count) {
  paths_.Reserve(paths_.size() + count);
  stemCount_.Reserve(stemCount_.size() + count);
}

void FileNameIndex::Add(std::string_view path) {
  if (!paths_.Insert(path).second) return;
  ++*stemCount_.Insert(FileNameStem(path), 0).first;
}

void FileNameIndex::Remove(std::string_view path) {
  if (!paths_.Erase(path)) return;
  const std::string_view stem = FileNameStem(path);
  std::uint32_t* count = stemCount_.Find(stem);
  if (count == nullptr) return;
  if (--*count != 0) return;
  stemCount_.Erase(stem);
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
  if (paths_.Contains(ownPath)) {
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

namespace {

// How many moves one journal record holds at most, and how large its text may grow (every byte of
// a path counted twice, as an escaped one is written). Each record costs flushes of the disk, so
// a record holds many moves; the repair after a crash reads at most the one record.
constexpr std::size_t kRenameBatchSize = 65536;
constexpr std::size_t kRenameBatchBytes = std::size_t{16} * 1024 * 1024;

// Which names the listed directories hold, kept up to date as the run moves files, so that
// whether a name is taken is answered from memory rather than by asking the file system name by
// name. It answers as a look at the disk would: a path in a directory that was not listed, or in
// one whose file system holds names in other letter case as one name, is looked at on the disk.
class ListedNames {
 public:
  // Adds the entries of `dir` (ending in the path separator) as a listing gave them.
  void AddDirectory(const std::string& dir, const std::vector<DirEntry>& entries) {
    paths_.Reserve(paths_.size() + entries.size());
    digest_ += Scrambled(std::hash<std::string_view>{}(dir));
    std::string path = dir;
    for (const DirEntry& entry : entries) {
      path.resize(dir.size());
      path += entry.name;
      Add(path);
      digest_ += Scrambled(std::hash<std::string_view>{}(path));
    }
    if (TellsCaseApart(dir, entries)) directories_.Insert(DirectoryPart(dir));
  }

  // A digest of every directory listed and every name its listing held, in any order: two looks
  // at the same directories that give the same digest found the same names (moves since do not
  // count).
  std::uint64_t Digest() const { return digest_; }
  // How many answers of Occupied came from the disk rather than from the listings.
  std::size_t DiskLooks() const { return diskLooks_; }

  // True for a path in a listed directory.
  bool Listed(std::string_view path) const { return directories_.Contains(DirectoryPart(path)); }

  // True when anything is at `path`.
  bool Occupied(const std::string& path) const {
    if (!Listed(path)) {
      ++diskLooks_;
      return PathOccupied(path);
    }
    return paths_.Contains(path);
  }

  // True when the listing holds `path` itself (in a listed directory).
  bool Holds(std::string_view path) const { return paths_.Contains(path); }

  void Add(std::string_view path) { paths_.Insert(path); }
  void Remove(std::string_view path) { paths_.Erase(path); }

 private:
  // Whether the file system of `dir` tells names in other letter case apart: a listed name with
  // the case of its letters swapped, which the listing does not hold, is looked at once. When
  // nothing can be asked so, the directory counts as one that does not.
  bool TellsCaseApart(const std::string& dir, const std::vector<DirEntry>& entries) const {
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
      if (!letters || paths_.Contains(swapped)) continue;
      return !PathOccupied(swapped);
    }
    return false;
  }

  // Spreads the bits of a hash code over the whole word, so that a sum of them is a fair digest.
  static std::uint64_t Scrambled(std::uint64_t value) {
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9u;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBu;
    return value ^ (value >> 31);
  }

  TextSet directories_;
  TextSet paths_;
  std::uint64_t digest_ = 0;
  mutable std::size_t diskLooks_ = 0;
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

// After a batch of moves, the sidecars of moved items that the run's listing did not hold: another
// program may have written one since. Instead of looking for each, the run lists each directory
// once, while the batch's journal record still holds its moves, and moves every such sidecar it
// finds to its item, unless an item file there has that sidecar name too (it then stays beside
// that item). Nothing is replaced: a sidecar that cannot follow is an error, and the journal
// stays, so the next command brings the two together.
Status MoveLateSidecars(ItemCache& cache, const std::vector<PlannedMove>& moved, ListedNames& names,
                        const MoveJournal& journal) {
  std::map<std::string, std::vector<const PlannedMove*>> byDirectory;
  for (const PlannedMove& move : moved) byDirectory[std::string(DirectoryPart(move.from))].push_back(&move);
  for (const auto& [dir, group] : byDirectory) {
    auto entries = ListDirectory(dir.empty() ? std::string(1, kPathSeparator) : dir);
    // A late sidecar is a name that the run's listing, which follows the run's own moves, does not
    // hold. Where every name is known, there is none.
    if (entries) {
      bool allKnown = true;
      std::string path = dir + kPathSeparator;
      for (const DirEntry& entry : *entries) {
        path.resize(dir.size() + 1);
        path += entry.name;
        if (!names.Holds(path)) {
          allKnown = false;
          break;
        }
      }
      if (allKnown) continue;
    }
    std::unordered_map<std::string, const PlannedMove*> sidecars;  // by file name
    std::unordered_set<std::string> items;  // file names that would own one of them, folded
    std::vector<const PlannedMove*> found;
    for (const PlannedMove* move : group) {
      const std::string name = SidecarPath(move->from).substr(dir.size() + 1);
      items.insert(UpperCaseAscii(std::string_view(name).substr(0, name.size() - 3)) + "ITM");
      sidecars.emplace(name, move);
    }
    std::unordered_set<std::string> owned;  // folded item names that are there
    if (entries) {
      for (const DirEntry& entry : *entries) {
        if (const auto it = sidecars.find(entry.name); it != sidecars.end()) found.push_back(it->second);
        std::string folded = UpperCaseAscii(entry.name);
        if (items.count(folded) != 0) owned.insert(std::move(folded));
      }
    } else {
      // Without a listing each is looked for.
      for (const PlannedMove* move : group) {
        if (PathOccupied(SidecarPath(move->from))) found.push_back(move);
      }
      for (const std::string& item : items) {
        if (names.Occupied(JoinPath(dir, item))) owned.insert(item);
      }
    }
    for (const PlannedMove* move : found) {
      const std::string sidecarFrom = SidecarPath(move->from);
      const std::string name = sidecarFrom.substr(dir.size() + 1);
      if (owned.count(UpperCaseAscii(std::string_view(name).substr(0, name.size() - 3)) + "ITM") != 0)
        continue;
      const std::string sidecarTo = SidecarPath(move->to);
      if (auto movedSidecar = MoveFileNoReplace(sidecarFrom, sidecarTo); !movedSidecar) {
        return MakeError(movedSidecar.error() + "; " + journal.path() +
                         " keeps the move for the next command to finish");
      }
      names.Add(sidecarTo);
      cache.RefreshSidecar(move->to);
    }
  }
  return {};
}

// Loads every ITM file of both directories into the cache (a missing directory yields no files),
// and notes the names the listings held.
Status ScanForRename(ItemCache& cache, const RenameRunOptions& options, ListedNames& names) {
  ScanOptions scan;
  scan.recursive = options.subdirectories;
  scan.progressStep = options.scanStep;
  scan.skippedDirectory = options.skippedDirectory;
  scan.listed = [&names](const std::string& dir, const std::vector<DirEntry>& entries) {
    names.AddDirectory(dir, entries);
  };
  for (const std::string* dir : {&options.poolDir, &options.sentDir}) {
    if (dir->empty() || !DirectoryExists(*dir)) continue;
    if (auto scanned = ScanDirectory(cache, *dir, scan, nullptr); !scanned) return scanned;
  }
  return {};
}

// How a walk over the directories of the run deals with what it finds.
struct ListingWalk {
  bool recursive = false;
  // Called once per directory entered.
  std::function<void()> step;
  // Told about a subdirectory that cannot be listed.
  std::function<void(const std::string& reason)> skipped;
  // Called with each directory (ending in the path separator) and its entries.
  std::function<Status(const std::string& dir, const std::vector<DirEntry>& entries)> listed;
};

// Lists `directory` and, when recursive, its visible subdirectories (links to directories are not
// followed), subdirectories in name order, as the scan walks them.
Status WalkListings(const std::string& directory, const ListingWalk& walk, bool isSubdirectory) {
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
    if (auto sub = WalkListings(dir + entry.name, walk, true); !sub) return sub;
  }
  return {};
}

Status WalkRenameDirectories(const RenameRunOptions& options, const ListingWalk& walk) {
  for (const std::string* dir : {&options.poolDir, &options.sentDir}) {
    if (dir->empty() || !DirectoryExists(*dir)) continue;
    if (auto walked = WalkListings(*dir, walk, false); !walked) return walked;
  }
  return {};
}

// The run's look at both directories, under the lock its moves are made under, as a scan of them
// would see them: item files that are not in the cache yet (they came after the plan's scan) are
// loaded, in name order; those the cache holds are taken from it, as a scan takes them, without
// reading them again. Leftover temporary files of killed runs are removed. A file that cannot be
// read stops the run with an error naming it.
Result<ListedNames> ListForRun(ItemCache& cache, const RenameRunOptions& options) {
  ListedNames names;
  ListingWalk walk;
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

// The moves of one run, made in batches: the names of a batch are chosen as if every move before
// them succeeds, recorded in the journal, then made. A move that fails ends its batch; the items
// after it are named again in the next batch, from the names the files really have. The run's
// listing follows the moves.
class RenameMoves {
 public:
  RenameMoves(ItemCache& cache, const RenameRunOptions& options, ListedNames& names, RenameRunResult& result)
      : cache_(cache),
        options_(options),
        names_(names),
        result_(result),
        journal_(options.journalDir.empty() ? options.poolDir : options.journalDir) {}

  MoveJournal& journal() { return journal_; }
  // Snapshot paths that had gone when the run came to them.
  std::size_t gone() const { return gone_.size(); }

  // Makes the moves of a plan that still holds. Returns the snapshot position from which the
  // items are to be named again (after a move that failed), or the snapshot's size.
  Result<std::size_t> MakePlannedMoves(const RenamePlanBasis& plan) {
    const std::vector<std::string>& snapshot = plan.snapshot;
    std::size_t m = 0;
    while (m < plan.moves.size()) {
      std::vector<Step> batch;
      std::size_t journalBytes = 0;
      for (; m < plan.moves.size() && batch.size() < kRenameBatchSize && journalBytes < kRenameBatchBytes;
           ++m) {
        const RenamePlanBasis::Move& move = plan.moves[m];
        if (options_.progress) options_.progress(move.position, snapshot.size());
        const std::string& from = snapshot[move.position];
        journalBytes += 2 * (from.size() + move.target.size()) + 4;
        batch.push_back({move.position, from, move.target});
      }
      // Where the batch ends in the snapshot: at its last move, unless it is the last batch.
      const std::size_t end = m < plan.moves.size() ? batch.back().position + 1 : snapshot.size();
      auto made = MakeBatch(batch, snapshot, end);
      if (!made) return made.failure();
      if (!made->recorded) return snapshot.size();
      if (made->failed) return batch[*made->failed].position + 1;
    }
    return snapshot.size();
  }

  // Names and moves the snapshot's items from position `next` on.
  Status NameAndMove(const std::vector<std::string>& snapshot, std::size_t next) {
    // The index holds the paths the cache holds: the snapshot's until a move takes them away (a
    // failed move puts them back).
    FileNameIndex index;
    const std::vector<std::string> moved = next == 0 ? std::vector<std::string>() : CachedItemPaths(cache_);
    const std::vector<std::string>& held = next == 0 ? snapshot : moved;
    index.Reserve(held.size());
    for (const std::string& path : held) index.Add(path);
    while (next < snapshot.size()) {
      std::vector<Step> batch;
      TextSet moving;  // the batch's sources: no target of the batch may be one
      std::size_t journalBytes = 0;
      std::size_t i = next;
      for (; i < snapshot.size() && batch.size() < kRenameBatchSize && journalBytes < kRenameBatchBytes;
           ++i) {
        if (options_.progress) options_.progress(i, snapshot.size());
        const std::string& path = snapshot[i];
        // A cached file that has gone away since it was loaded (another command moved it) is no
        // longer the run's to rename.
        if (!names_.Occupied(path)) {
          gone_.insert(i);
          continue;
        }
        auto loaded = cache_.LoadItem(path);
        if (!loaded) {
          result_.failed.push_back({path, {}, loaded.error()});
          continue;
        }
        const ItemEntry* own = cache_.CurrentEntry();
        if (*loaded != LoadStatus::kLoaded || own == nullptr) continue;
        const std::string target = FreeRenameTarget(*own, path, index, names_);
        if (target == path) continue;
        if (moving.Contains(target)) break;  // named again once that source has moved
        index.Remove(path);
        index.Add(target);
        moving.Insert(path);
        journalBytes += 2 * (path.size() + target.size()) + 4;
        batch.push_back({i, path, target});
      }
      next = i;
      if (batch.empty()) continue;
      auto made = MakeBatch(batch, snapshot, i);
      if (!made) return made.failure();
      if (!made->recorded) return {};
      if (made->failed) {
        // The names chosen from the failed move on assumed it: they are chosen again.
        const std::size_t k = *made->failed;
        for (std::size_t m = batch.size(); m-- > k;) {
          index.Remove(batch[m].to);
          index.Add(batch[m].from);
        }
        next = batch[k].position + 1;
      }
    }
    return {};
  }

 private:
  struct Step {
    std::size_t position;  // of the source in the snapshot
    std::string from;
    std::string to;
  };
  struct BatchEnd {
    bool recorded = true;               // false: the journal could not hold the batch; the run stops
    std::optional<std::size_t> failed;  // the step that failed; the steps after it were not made
  };

  // Records `batch` in the journal and makes its moves. When the journal cannot hold it, nothing of
  // it is moved, and every snapshot path from `end` on fails as well. An error stops the run.
  Result<BatchEnd> MakeBatch(const std::vector<Step>& batch, const std::vector<std::string>& snapshot,
                             std::size_t end) {
    std::vector<PlannedMove> moves;
    moves.reserve(batch.size());
    for (const Step& step : batch) moves.push_back({step.from, step.to, std::nullopt});
    std::vector<RenameLogEntry> planned;
    planned.reserve(batch.size());
    for (const Step& step : batch) planned.push_back(LogEntryBefore(step.from, step.to));
    auto stop = [&](const std::string& reason) {
      for (const Step& step : batch) result_.failed.push_back({step.from, step.to, reason});
      for (std::size_t k = end; k < snapshot.size(); ++k) result_.failed.push_back({snapshot[k], {}, reason});
      return BatchEnd{false, std::nullopt};
    };
    // The log goes ahead of the batch (the renames made so far and the batch's), so that a run
    // killed in the batch can be undone; a log that cannot be written stops the run here.
    if (auto logged = WriteLogAhead(planned); !logged) {
      result_.logError = logged.error();
      return stop(logged.error());
    }
    if (auto recorded = journal_.Record(moves); !recorded) return stop(recorded.error());
    names_.Add(journal_.path());  // a file the run made, not one that came
    BatchEnd outcome;
    std::vector<PlannedMove> unlisted;  // moved items whose sidecar the listing did not hold
    for (std::size_t k = 0; k < batch.size(); ++k) {
      const Step& step = batch[k];
      const std::string sidecarFrom = ListedSidecarOf(step.from);
      const ItemCache::SidecarSeen seen = !names_.Listed(step.from)   ? ItemCache::SidecarSeen::kUnknown
                                          : names_.Holds(sidecarFrom) ? ItemCache::SidecarSeen::kListed
                                                                      : ItemCache::SidecarSeen::kNotListed;
      const Status moved = cache_.MoveItem(step.from, step.to, seen);
      if (moved) {
        result_.renamed.push_back({step.from, step.to, {}});
        logged_.push_back(planned[k]);
        names_.Remove(step.from);
        names_.Add(step.to);
        if (seen == ItemCache::SidecarSeen::kListed) {
          names_.Remove(sidecarFrom);
          names_.Add(SidecarPath(step.to));
        } else if (seen == ItemCache::SidecarSeen::kNotListed) {
          unlisted.push_back({step.from, step.to});
        }
        continue;
      }
      if (!PathOccupied(step.from) && PathOccupied(step.to)) {
        // The item moved, its sidecar could not follow, and the item could not go back: the
        // journal stays, so the next command brings the two together.
        return MakeError(ErrorKind::kJournalStuck, moved.error() + "; " + journal_.path() +
                                                       " keeps the move for the next command to finish");
      }
      result_.failed.push_back({step.from, step.to, moved.error()});
      outcome.failed = k;
      break;
    }
    if (auto late = MoveLateSidecars(cache_, unlisted, names_, journal_); !late) {
      return late.failure();
    }
    return outcome;
  }

  // The sidecar of `item` as the run's listing holds it: the usual spelling, or another letter case
  // of its extension; the usual spelling when the listing holds none.
  std::string ListedSidecarOf(const std::string& item) const {
    std::string sidecar = SidecarPath(item);
    if (names_.Holds(sidecar)) return sidecar;
    for (std::string& other : OtherSidecarSpellings(item)) {
      if (names_.Holds(other)) return other;
    }
    return sidecar;
  }

  // The log entry of a rename about to be made: what the file at `from` is now.
  RenameLogEntry LogEntryBefore(const std::string& from, const std::string& to) const {
    RenameLogEntry entry{from, to, {}, {}};
    if (const ItemEntry* item = cache_.Find(from)) {
      entry.itemKey = item->Record().ItemKey();
      entry.fileDate = DateTimeText(item->FileDate()).value_or("");
    }
    return entry;
  }

  Status WriteLogAhead(const std::vector<RenameLogEntry>& planned) {
    if (options_.logDir.empty()) return {};
    if (!logAhead_) {
      // What the log held before the run, for a run that ends up renaming nothing.
      auto before = ReadWholeFileIfPresent(RenameLogPath(options_.logDir));
      logBefore_ = before ? *before : std::nullopt;
    }
    RenameLog log{DateTimeText(options_.runTime).value_or(""), logged_};
    log.entries.insert(log.entries.end(), planned.begin(), planned.end());
    if (auto written = WriteRenameLog(options_.logDir, log); !written) return written;
    logAhead_ = true;
    return {};
  }

 public:
  // The log as the run ends: the renames it made; the log before it when it made none.
  void WriteFinalLog() {
    if (options_.logDir.empty() || !logAhead_) return;
    const std::string path = RenameLogPath(options_.logDir);
    Status written;
    if (!logged_.empty()) {
      written =
          WriteRenameLog(options_.logDir, RenameLog{DateTimeText(options_.runTime).value_or(""), logged_});
    } else if (logBefore_) {
      written = AtomicReplaceFile(path, *logBefore_);
    } else {
      written = RemoveFile(path);
    }
    if (!written) {
      result_.logError = written.error();
    } else if (!logged_.empty()) {
      result_.logPath = path;
    }
  }

 private:
  ItemCache& cache_;
  const RenameRunOptions& options_;
  ListedNames& names_;
  RenameRunResult& result_;
  MoveJournal journal_;
  std::vector<RenameLogEntry> logged_;  // the renames made
  bool logAhead_ = false;               // the run has written the log
  std::optional<std::string> logBefore_;
  std::set<std::size_t> gone_;  // positions counted once, though a batch may be named again
};

}  // namespace

std::string RenameQuestion(std::string_view poolDir, std::string_view sentDir, const RenamePlan& plan) {
  std::string text = RenameQuestion(poolDir, sentDir);
  if (plan.renames.empty()) {
    text += "\nNo file needs a new name (" + std::to_string(plan.handled) + " item files).";
    return text;
  }
  text += "\n" + std::to_string(plan.renames.size()) + " of " + std::to_string(plan.handled) +
          " item files will be renamed:";
  for (const auto& [dir, count] : plan.perDirectory) text += "\n" + std::to_string(count) + " in " + dir;
  return text;
}

Result<RenamePlan> PlanRenameRun(ItemCache& cache, const RenameRunOptions& options) {
  ListedNames names;
  if (auto scanned = ScanForRename(cache, options, names); !scanned) return scanned.failure();
  RenamePlan plan;
  auto basis = std::make_shared<RenamePlanBasis>();
  basis->snapshot = CachedItemPaths(cache);
  const std::vector<std::string>& snapshot = basis->snapshot;
  basis->listingDigest = names.Digest();
  FileNameIndex index;
  index.Reserve(snapshot.size());
  for (const std::string& path : snapshot) index.Add(path);
  // As in the run, a name whose file is still on the disk is taken, and so is every name an
  // earlier rename was given.
  TextSet taken;
  auto occupied = [&](const std::string& path) { return taken.Contains(path) || names.Occupied(path); };
  for (std::size_t position = 0; position < snapshot.size(); ++position) {
    const std::string& path = snapshot[position];
    // The run takes a path its listing does not hold for gone.
    if (!names.Holds(path)) basis->reusable = false;
    // Every path of the snapshot is cached: its entry is all the naming needs.
    const ItemEntry* own = cache.Find(path);
    if (own == nullptr) continue;
    ++plan.handled;
    // The index holds `path`: the snapshot's paths are in it until they are given a new name.
    std::string target;
    for (;;) {
      target = RenameTarget(path, NewItemFileName(*own, path, index));
      if (target == path || (!occupied(target) && !occupied(SidecarPath(target)))) break;
      index.Add(target);
    }
    if (target == path) continue;
    index.Remove(path);
    index.Add(target);
    taken.Insert(target);
    taken.Insert(SidecarPath(target));
    const std::string dir(DirectoryPart(path));
    auto counted = std::find_if(plan.perDirectory.begin(), plan.perDirectory.end(),
                                [&](const auto& row) { return row.first == dir; });
    if (counted == plan.perDirectory.end()) {
      plan.perDirectory.emplace_back(dir, 1);
    } else {
      ++counted->second;
    }
    plan.renames.push_back({path, target, {}});
    basis->moves.push_back({position, target});
  }
  basis->cachePathChanges = cache.PathChanges();
  basis->reusable = names.DiskLooks() == 0;
  plan.basis = std::move(basis);
  return plan;
}

Result<RenameRunResult> StartRenameRun(ItemCache& cache, const RenameRunOptions& options,
                                       const RenamePlanBasis* plan) {
  RenameRunResult result;
  if (!options.confirm || !options.confirm(RenameQuestion(options.poolDir, options.sentDir))) return result;
  result.confirmed = true;

  auto listed = ListForRun(cache, options);
  if (!listed) return listed.failure();
  RenameMoves run(cache, options, *listed, result);
  // The plan's names hold while the cache and the listings are as the plan found them.
  const bool planHolds = plan != nullptr && plan->reusable && plan->listingDigest == listed->Digest() &&
                         plan->cachePathChanges == cache.PathChanges();
  // Renaming changes the cache but not the snapshot, so every file is handled once.
  std::vector<std::string> ownSnapshot;
  if (!planHolds) ownSnapshot = CachedItemPaths(cache);
  const std::vector<std::string>& snapshot = planHolds ? plan->snapshot : ownSnapshot;

  std::size_t next = 0;
  if (planHolds) {
    auto made = run.MakePlannedMoves(*plan);
    if (!made) return made.failure();
    next = *made;
  }
  if (next < snapshot.size()) {
    if (auto named = run.NameAndMove(snapshot, next); !named) return named.failure();
  }
  run.WriteFinalLog();
  if (auto cleared = run.journal().Clear(); !cleared) return cleared.failure();
  result.handled = snapshot.size() - run.gone();
  if (options.progress) options.progress(snapshot.size(), snapshot.size());
  return result;
}

}  // namespace relicor
