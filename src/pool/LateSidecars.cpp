#include "pool/LateSidecars.h"

#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "text/ByteText.h"
#include "text/Path.h"

namespace relicor {

Status MoveLateSidecars(ItemCache& cache, const std::vector<MoveJournal::MovePaths>& moved,
                        ListedNames& names, const MoveJournal& journal) {
  std::map<std::string, std::vector<const MoveJournal::MovePaths*>> byDirectory;
  for (const MoveJournal::MovePaths& move : moved)
    byDirectory[std::string(DirectoryPart(*move.from))].push_back(&move);
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
    std::unordered_map<std::string, const MoveJournal::MovePaths*> sidecars;  // by file name
    std::unordered_set<std::string> items;  // file names that would own one of them, folded
    std::vector<const MoveJournal::MovePaths*> found;
    for (const MoveJournal::MovePaths* move : group) {
      const std::string name = SidecarPath(*move->from).substr(dir.size() + 1);
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
      for (const MoveJournal::MovePaths* move : group) {
        if (PathOccupied(SidecarPath(*move->from))) found.push_back(move);
      }
      for (const std::string& item : items) {
        if (names.Occupied(JoinPath(dir, item))) owned.insert(item);
      }
    }
    for (const MoveJournal::MovePaths* move : found) {
      const std::string sidecarFrom = SidecarPath(*move->from);
      const std::string name = sidecarFrom.substr(dir.size() + 1);
      if (owned.count(UpperCaseAscii(std::string_view(name).substr(0, name.size() - 3)) + "ITM") != 0)
        continue;
      const std::string sidecarTo = SidecarPath(*move->to);
      if (auto movedSidecar = MoveFileNoReplace(sidecarFrom, sidecarTo); !movedSidecar) {
        return MakeError(movedSidecar.error() + "; " + journal.path() +
                         " keeps the move for the next command to finish");
      }
      names.Add(sidecarTo);
      cache.RefreshSidecar(*move->to);
    }
  }
  return {};
}

}  // namespace relicor
