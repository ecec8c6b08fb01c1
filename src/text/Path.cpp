#include "text/Path.h"

namespace relicor {

std::string JoinPath(std::string_view dir, std::string_view name) {
  std::string path(dir);
  path.push_back(kPathSeparator);
  path.append(name);
  return path;
}

std::string_view FileNamePart(std::string_view path) {
  const auto pos = path.find_last_of(kPathSeparator);
  return pos == std::string_view::npos ? path : path.substr(pos + 1);
}

std::string_view DirectoryPart(std::string_view path) {
  const auto pos = path.find_last_of(kPathSeparator);
  return pos == std::string_view::npos ? std::string_view{} : path.substr(0, pos);
}

}  // namespace relicor
