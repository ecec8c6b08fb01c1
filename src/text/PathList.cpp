#include "text/PathList.h"

#include "text/Path.h"

namespace relicor {

void PathList::Add(std::string_view path) {
  const std::size_t cut = path.find_last_of(kPathSeparator);
  const std::size_t end = cut == std::string_view::npos ? 0 : cut;
  const std::string_view directory = path.substr(0, end);
  // Paths come a directory at a time: the last one's number is tried first.
  if (directories_.empty() || directories_[last_] != directory) {
    const auto [number, added] = numbers_.Insert(directory, static_cast<std::uint32_t>(directories_.size()));
    if (added) directories_.emplace_back(directory);
    last_ = *number;
  }
  rests_.Add(path.substr(end));
  directoryOf_.push_back(last_);
}

void PathList::Get(std::size_t i, std::string& path) const {
  const std::string_view rest = rests_[i];
  path.assign(directories_[directoryOf_[i]]);
  path.append(rest);
}

}  // namespace relicor
