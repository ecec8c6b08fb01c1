#include "text/PathList.h"

#include <algorithm>
#include <iterator>

#include "text/Path.h"

namespace relicor {

void PathList::Add(std::string_view path) {
  const std::size_t cut = path.find_last_of(kPathSeparator);
  const std::size_t end = cut == std::string_view::npos ? 0 : cut;
  const std::string_view directory = path.substr(0, end);
  // Paths come a directory at a time: most continue the last run.
  if (!runs_.empty() && directories_[runs_.back().directory] == directory) {
    rests_.Add(path.substr(end));
    return;
  }
  const auto [number, added] = numbers_.Insert(directory, static_cast<std::uint32_t>(directories_.size()));
  if (added) directories_.emplace_back(directory);
  // A TextList holds fewer than 2^32 texts: each takes a byte at least, and its blocks 4 GiB. When
  // the rest is refused, the run stays without a path: the next path continues it or starts a run
  // at the same place, which then holds (the later of two runs at one place is the one found).
  runs_.push_back({static_cast<std::uint32_t>(rests_.size()), *number});
  rests_.Add(path.substr(end));
}

std::uint32_t PathList::DirectoryNumberOf(std::size_t i) const {
  // The last run that starts at or before path i.
  const auto after = std::upper_bound(runs_.begin(), runs_.end(), i,
                                      [](std::size_t at, const Run& run) { return at < run.first; });
  return std::prev(after)->directory;
}

void PathList::Get(std::size_t i, std::string& path) const {
  const std::string_view rest = rests_[i];
  path.assign(directories_[DirectoryNumberOf(i)]);
  path.append(rest);
}

}  // namespace relicor
