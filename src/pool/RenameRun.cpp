#include "pool/RenameRun.h"

#include "pool/ListedNames.h"
#include "pool/RenameMoves.h"

namespace relicor {

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

  auto listed = ListForRun(cache, options);
  if (!listed) return listed.failure();
  RenameMoves run(cache, options, *listed, result);
  // The plan's names hold while the cache and the listings are as the plan found them.
  const bool planHolds = plan != nullptr && plan->reusable && plan->listingDigest == listed->Digest() &&
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
  if (auto scanned = ScanForRename(cache, options, names); !scanned) return scanned.failure();
  RenameMoves run(cache, options, names, result);
  const PathList snapshot = CachedItemPathList(cache);
  if (auto finished = FinishRun(run, snapshot, 0, options, result); !finished) return finished.failure();
  return result;
}

}  // namespace relicor
