#pragma once
// Path texts. The system builds paths by joining a directory, the native separator and a name.

#include <string>
#include <string_view>

namespace relicor {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// `dir` + separator + `name`, as the system joins paths (no normalisation).
std::string JoinPath(std::string_view dir, std::string_view name);

// The last component of a path (everything after the last separator).
std::string_view FileNamePart(std::string_view path);

// The path up to (not including) the last separator; empty when there is none.
std::string_view DirectoryPart(std::string_view path);

}  // namespace relicor
