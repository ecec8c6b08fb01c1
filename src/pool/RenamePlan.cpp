#include <algorithm>
#include <memory>

#include "pool/ListedNames.h"
#include "pool/RenameRun.h"
#include "text/ByteText.h"
#include "text/Path.h"
#include "text/TextTable.h"

namespace relicor {

std::string RenameQuestion(std::string_view poolDir, std::string_view sentDir) {
  std::string text = "This function will autoname all files in \"";
  text.append(poolDir);
  text.append("\" and \"");
  text.append(sentDir);
  text.append("\" by their item names. Continue?");
  return ShortString(text, kTextCapacity);
}

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

}  // namespace relicor
