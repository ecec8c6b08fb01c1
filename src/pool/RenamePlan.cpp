#include <algorithm>
#include <memory>

#include "pool/ListedNames.h"
#include "pool/RenameRun.h"
#include "text/ByteText.h"
#include "text/Path.h"
#include "text/TextTable.h"

namespace relicor {

Result<RenamePlan> PlanRenameRun(ItemCache& cache, const RenameRunOptions& options) {
  ListedNames names;
  if (auto scanned = ScanForRename(cache, options, names); !scanned) return scanned.failure();
  RenamePlan plan;
  auto basis = std::make_shared<RenamePlanBasis>();
  basis->snapshot = CachedItemPathList(cache);
  const PathList& snapshot = basis->snapshot;
  basis->listingDigest = names.Digest();
  FileNameIndex index;
  index.Reserve(snapshot.size());
  for (std::size_t position = 0; position < snapshot.size(); ++position) index.Add(snapshot[position]);
  // As in the run, a name whose file is still on the disk is taken, and so is every name an
  // earlier rename was given.
  TextSet taken;
  auto occupied = [&](const std::string& path) { return taken.Contains(path) || names.Occupied(path); };
  std::string path;
  for (std::size_t position = 0; position < snapshot.size(); ++position) {
    snapshot.Get(position, path);
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

}  // namespace relicor
