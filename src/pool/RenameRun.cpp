#include "pool/RenameRun.h"

#include <limits>
#include <stdexcept>
#include <utility>

#include "pool/ListedNames.h"
#include "pool/RenameMoves.h"
#include "text/Path.h"

namespace relicor {

void RenameStepList::Reserve(std::size_t count) {
  if (fromSources_) {
    sourceAt_.reserve(count);
    toNames_.Reserve(count);
  } else {
    from_.Reserve(count);
    to_.Reserve(count);
  }
}

void RenameStepList::Add(std::string_view from, std::string_view to) {
  if (fromSources_) throw std::logic_error("RenameStepList: a path of its own in a list of sources");
  from_.Add(from);
  to_.Add(to);
}

void RenameStepList::AddFromSource(std::size_t source, std::string_view sourceDirectory,
                                   std::string_view to) {
  if (!fromSources_) throw std::logic_error("RenameStepList: a source in a list of paths of its own");
  if (source > std::numeric_limits<std::uint32_t>::max())
    throw std::length_error("RenameStepList: too many sources");
  // The directory as a PathList cuts it: before the last separator.
  const std::size_t cut = to.find_last_of(kPathSeparator);
  const std::size_t end = cut == std::string_view::npos ? 0 : cut;
  if (to.substr(0, end) != sourceDirectory)
    throw std::logic_error("RenameStepList: a rename into another directory than its source's");
  toNames_.Add(to.substr(end));
  sourceAt_.push_back(static_cast<std::uint32_t>(source));
}

namespace {

// Names and moves the snapshot's items from `next` on, then writes the final log and clears the
// journal.
Status FinishRun(RenameMoves& run, const PathList& snapshot, std::size_t next,
                 const RenameRunOptions& options, RenameRunResult& result) {
  if (next < snapshot.size()) {
    if (auto named = run.NameAndMove(snapshot, next); !named) return named;
  }
  run.WriteFinalLog();
  if (auto cleared = run.journal().Clear(); !cleared) return cleared;
  result.handled = snapshot.size() - run.gone();
  if (options.progress) options.progress(snapshot.size(), snapshot.size());
  return {};
}

}  // namespace

Result<RenameRunResult> StartRenameRun(ItemCache& cache, const RenameRunOptions& options,
                                       const RenamePlanBasis* plan) {
  RenameRunResult result;
  if (!options.confirm || !options.confirm()) return result;
  result.confirmed = true;

  ListedNames names;
  RenameMoves run(cache, options, names, result);
  run.WatchBeforeListing();
  auto listed = ListForRun(cache, options);
  if (!listed) return listed.failure();
  names = std::move(*listed);
  // The plan's names hold while the cache and the listings are as the plan found them.
  const bool planHolds = plan != nullptr && plan->reusable && plan->listingDigest == names.Digest() &&
                         plan->cachePathChanges == cache.PathChanges();
  // Renaming changes the cache but not the snapshot, so every file is handled once.
  PathList ownSnapshot;
  if (!planHolds) ownSnapshot = CachedItemPathList(cache);
  const PathList& snapshot = planHolds ? plan->snapshot : ownSnapshot;

  std::size_t next = 0;
  if (planHolds) {
    auto made = run.MakePlannedMoves(*plan);
    if (!made) return made.failure();
    next = *made;
  }
  if (auto finished = FinishRun(run, snapshot, next, options, result); !finished) return finished.failure();
  return result;
}

Result<RenameRunResult> RenameRunAnswered(ItemCache& cache, const RenameRunOptions& options) {
  RenameRunResult result;
  result.confirmed = true;
  ListedNames names;
  // Every path the run may rename is in its snapshot: the renames keep where their sources stand
  // there, and the snapshot goes with them.
  result.renamed = RenameStepList::FromSources();
  RenameMoves run(cache, options, names, result);
  run.WatchBeforeListing();
  if (auto scanned = ScanForRename(cache, options, names); !scanned) return scanned.failure();
  PathList snapshot = CachedItemPathList(cache);
  if (auto finished = FinishRun(run, snapshot, 0, options, result); !finished) return finished.failure();
  result.renamed.SetSources(std::move(snapshot));
  return result;
}

}  // namespace relicor
