#pragma once
// Which file or directory a path names: its device and inode, and the one spelling of a directory
// without links, "." or "..", so that two paths can be told to be the same file, and a record of
// paths (the move journal) names the same places from any working directory.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Result.h"

namespace relicor {

struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool operator==(const FileIdentity&) const = default;
};

// The identity of what is at `path` (a link itself, not what it leads to); nothing when nothing is.
std::optional<FileIdentity> IdentityOf(const std::string& path);

// `dir` as an absolute path without links, "." or ".." (realpath); an error when it does not exist.
Result<std::string> RealDirectory(const std::string& dir);

// True for "/" and for an absolute path whose every part is a name: no empty part (no "//", no
// trailing separator), no "." and no "..".
bool IsNormalAbsolutePath(std::string_view path);

}  // namespace relicor
