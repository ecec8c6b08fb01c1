#include "pool/LateSidecars.h"

#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "platform/FileSystem.h"
#include "text/ByteText.h"
#include "text/Path.h"

namespace relicor {

namespace {

// Watching costs the system memory for each directory; a pool of more directories than this has
// the rest read at every look.
constexpr std::size_t kMostWatchedDirectories = 1024;

}  // namespace

void LateSidecarLook::Note(const ListedNames& names) {
  if (byWatch_.empty()) return;
  std::string path;
  watch_.Drain(
      [&](int number, std::string_view name) {
        const auto range = byWatch_.equal_range(number);
        for (auto it = range.first; it != range.second; ++it) {
          Directory& directory = *it->second;
          if (directory.changed || IsTemporaryFileName(name)) continue;
          path.assign(directory.path).push_back(kPathSeparator);
          path += name;
          if (!names.Holds(path)) directory.changed = true;
        }
      },
      [&](int number) {
        for (auto& watched : byWatch_) {
          if (number == DirectoryWatch::kEveryDirectory || watched.first == number)
            watched.second->changed = true;
        }
      });
}

std::pair<LateSidecarLook::Directory*, bool> LateSidecarLook::Watched(const std::string& dir) {
  auto [place, first] = directories_.try_emplace(dir);
  Directory& state = place->second;
  if (first) {
    state.path = dir;
    const std::string listed = dir.empty() ? std::string(1, kPathSeparator) : dir;
    if (byWatch_.size() < kMostWatchedDirectories) state.watch = watch_.Watch(listed);
    if (state.watch) byWatch_.emplace(*state.watch, &state);
  }
  return {&state, first};
}

void LateSidecarLook::WatchBeforeListing(const std::string& dir) {
  if (dir.empty()) return;
  // As the listing names the directory, and the moves name it after that: without its last
  // separator.
  std::string listed = dir;
  EnsureTrailingBackslash(listed);
  listed.pop_back();
  (void)Watched(listed);
}

void LateSidecarLook::StopWatching(Directory& directory) {
  if (!directory.watch) return;
  const auto range = byWatch_.equal_range(*directory.watch);
  for (auto it = range.first; it != range.second;) {
    it = it->second == &directory ? byWatch_.erase(it) : std::next(it);
  }
  // The same directory under another path keeps its watch.
  if (byWatch_.count(*directory.watch) == 0) watch_.Stop(*directory.watch);
  directory.watch.reset();
}

Status LateSidecarLook::Move(ItemCache& cache, const UnlistedMoves& moved, ListedNames& names,
                             const MoveJournal& journal) {
  Note(names);
  // The moves by directory, as their places in `moved`, kept only for a directory that is read.
  // Each is watched before it is read: what comes while it is read is told too. One watched since
  // before the run's listing needs no read until a name comes that the listing does not hold.
  struct Group {
    Directory* state;
    bool read;
    std::vector<std::uint32_t> moves;
  };
  std::map<std::string, Group, std::less<>> byDirectory;
  for (std::size_t m = 0; m < moved.size(); ++m) {
    const std::string_view dir = moved.FromDirectory(m);
    auto known = byDirectory.find(dir);
    if (known == byDirectory.end()) {
      std::string path(dir);
      auto [watched, first] = Watched(path);
      const bool read = first || !watched->watch || watched->changed;
      known = byDirectory.emplace(std::move(path), Group{watched, read, {}}).first;
    }
    // A batch holds fewer moves than that.
    if (known->second.read) known->second.moves.push_back(static_cast<std::uint32_t>(m));
  }
  for (const auto& directory : byDirectory) {
    const std::string& dir = directory.first;
    const Group& group = directory.second;
    if (!group.read) continue;
    const std::string listed = dir.empty() ? std::string(1, kPathSeparator) : dir;
    Directory& state = *group.state;
    ++reads_;
    state.changed = false;
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
    for (const std::size_t m : group.moves) {
      const std::string name = SidecarPath(moved.From(m)).substr(dir.size() + 1);
      items.insert(UpperCaseAscii(std::string_view(name).substr(0, name.size() - 3)) + "ITM");
      sidecars.emplace(name, m);
    }
    std::unordered_set<std::string> owned;  // folded item names that are there
    // Whether a name not known stays after the sidecars have moved.
    bool strays = false;
    const bool listedAgain = read && VisitDirectory(listed, [&](const DirEntry& entry) {
                               if (const auto it = sidecars.find(entry.name); it != sidecars.end()) {
                                 found.push_back(it->second);
                               } else if (!strays) {
                                 path.resize(dir.size() + 1);
                                 path += entry.name;
                                 strays = !names.Holds(path);
                               }
                               std::string folded = UpperCaseAscii(entry.name);
                               if (items.count(folded) != 0) owned.insert(std::move(folded));
                               return true;
                             });
    if (!listedAgain) {
      // Without a listing each is looked for.
      found.clear();
      owned.clear();
      for (const std::size_t m : group.moves) {
        if (PathOccupied(SidecarPath(moved.From(m)))) found.push_back(m);
      }
      for (const std::string& item : items) {
        if (names.Occupied(JoinPath(dir, item))) owned.insert(item);
      }
    }
    for (const std::size_t m : found) {
      const std::string sidecarFrom = SidecarPath(moved.From(m));
      const std::string name = sidecarFrom.substr(dir.size() + 1);
      if (owned.count(UpperCaseAscii(std::string_view(name).substr(0, name.size() - 3)) + "ITM") != 0) {
        strays = true;
        continue;
      }
      const std::string to = moved.To(m);
      const std::string sidecarTo = SidecarPath(to);
      if (auto movedSidecar = MoveFileNoReplace(sidecarFrom, sidecarTo); !movedSidecar) {
        return MakeError(movedSidecar.error() + "; " + journal.path() +
                         " keeps the move for the next command to finish");
      }
      names.Add(sidecarTo);
      cache.RefreshSidecar(to);
    }
    // A name the system will not tell again stays unknown: every later look reads the directory.
    if (!listedAgain || strays) StopWatching(state);
  }
  return {};
}

}  // namespace relicor
