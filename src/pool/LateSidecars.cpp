#include "pool/LateSidecars.h"

#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "text/ByteText.h"
#include "text/Path.h"

namespace relicor {

Status MoveLateSidecars(ItemCache& cache, const UnlistedMoves& moved, ListedNames& names,
                        const MoveJournal& journal) {
  // The moves by directory, as their places in `moved`.
  std::map<std::string, std::vector<std::size_t>, std::less<>> byDirectory;
  for (std::size_t m = 0; m < moved.from.size(); ++m) {
    const std::string_view dir = moved.from.Directory(m);
    auto known = byDirectory.find(dir);
    if (known == byDirectory.end())
      known = byDirectory.emplace(std::string(dir), std::vector<std::size_t>()).first;
    known->second.push_back(m);
  }
  for (const auto& directory : byDirectory) {
    const std::string& dir = directory.first;
    const std::vector<std::size_t>& group = directory.second;
    const std::string listed = dir.empty() ? std::string(1, kPathSeparator) : dir;
    // A late sidecar is a name that the run's listing, which follows the run's own moves, does not
    // hold. Where every name is known, there is none. The directory is read a name at a time,
    // without keeping its listing, and read again only when it holds a name not known.
    bool allKnown = true;
    std::string path = dir + kPathSeparator;
    const Status read = VisitDirectory(listed, [&](const DirEntry& entry) {
      path.resize(dir.size() + 1);
      path += entry.name;
      allKnown = names.Holds(path);
      return allKnown;
    });
    if (read && allKnown) continue;
    std::unordered_map<std::string, std::size_t> sidecars;  // by file name: the move's place
    std::unordered_set<std::string> items;                  // file names that would own one of them, folded
    std::vector<std::size_t> found;
    for (const std::size_t m : group) {
      const std::string name = SidecarPath(moved.from[m]).substr(dir.size() + 1);
      items.insert(UpperCaseAscii(std::string_view(name).substr(0, name.size() - 3)) + "ITM");
      sidecars.emplace(name, m);
    }
    std::unordered_set<std::string> owned;  // folded item names that are there
    const bool listedAgain = read && VisitDirectory(listed, [&](const DirEntry& entry) {
                               if (const auto it = sidecars.find(entry.name); it != sidecars.end())
                                 found.push_back(it->second);
                               std::string folded = UpperCaseAscii(entry.name);
                               if (items.count(folded) != 0) owned.insert(std::move(folded));
                               return true;
                             });
    if (!listedAgain) {
      // Without a listing each is looked for.
      found.clear();
      owned.clear();
      for (const std::size_t m : group) {
        if (PathOccupied(SidecarPath(moved.from[m]))) found.push_back(m);
      }
      for (const std::string& item : items) {
        if (names.Occupied(JoinPath(dir, item))) owned.insert(item);
      }
    }
    for (const std::size_t m : found) {
      const std::string sidecarFrom = SidecarPath(moved.from[m]);
      const std::string name = sidecarFrom.substr(dir.size() + 1);
      if (owned.count(UpperCaseAscii(std::string_view(name).substr(0, name.size() - 3)) + "ITM") != 0)
        continue;
      const std::string to(moved.to[m]);
      const std::string sidecarTo = SidecarPath(to);
      if (auto movedSidecar = MoveFileNoReplace(sidecarFrom, sidecarTo); !movedSidecar) {
        return MakeError(movedSidecar.error() + "; " + journal.path() +
                         " keeps the move for the next command to finish");
      }
      names.Add(sidecarTo);
      cache.RefreshSidecar(to);
    }
  }
  return {};
}

}  // namespace relicor
