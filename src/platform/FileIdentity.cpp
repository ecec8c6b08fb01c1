#include "platform/FileIdentity.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

#include "platform/FileSystem.h"

namespace relicor {

std::optional<FileIdentity> IdentityOf(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return std::nullopt;
  return FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

Result<std::string> RealDirectory(const std::string& dir) {
  const std::unique_ptr<char, decltype(&std::free)> real(::realpath(dir.empty() ? "." : dir.c_str(), nullptr),
                                                         &std::free);
  if (!real) {
    const int err = errno;
    return MakeError(ErrorKind::kOther, "cannot find the directory " + dir + ": " + SystemErrorText(err),
                     err);
  }
  return std::string(real.get());
}

bool IsNormalAbsolutePath(std::string_view path) {
  if (path == "/") return true;
  if (path.empty() || path.front() != '/') return false;
  std::size_t start = 1;
  for (;;) {
    const std::size_t end = path.find('/', start);
    const std::string_view part = path.substr(start, end == std::string_view::npos ? end : end - start);
    if (part.empty() || part == "." || part == "..") return false;
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
}

}  // namespace relicor
