#include "text/Path.h"

#include "text/ByteText.h"
#include "text/Cp1252.h"

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

std::string_view PathToCp1252(std::string_view path, std::string& converted) {
  if (IsAscii(path)) return path;
  converted = PathToCp1252(path);
  return converted;
}

#ifdef _WIN32
// Paths are kept as Windows-1252 bytes there already.
std::string PathToCp1252(std::string_view path) {
  return std::string(path);
}
std::string PathFromCp1252(std::string_view text) {
  return std::string(text);
}
#else
std::string PathToCp1252(std::string_view path) {
  return Utf8ToCp1252(path);
}
std::string PathFromCp1252(std::string_view text) {
  return Cp1252ToUtf8(text);
}
#endif

std::string ProgramDirFromExecutable(std::string_view executablePath) {
  std::string dir = ShortString(executablePath, kProgramDirCapacity);
  return CutAfterLastBackslash(dir);
}

}  // namespace relicor
