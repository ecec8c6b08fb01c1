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

namespace relicor {

// Paths are the file system's own bytes (UTF-8 on Linux). Where a path goes into a Windows-1252
// text (a file the system writes, a report line, a page), it is converted: characters that
// Windows-1252 cannot hold become '?'.
std::string PathToCp1252(std::string_view path);
// The same as a view: `path` itself where it is ASCII (which reads the same in both), else the
// converted text, kept in `converted`.
std::string_view PathToCp1252(std::string_view path, std::string& converted);
// A path read back from a Windows-1252 text.
std::string PathFromCp1252(std::string_view text);

// The directory of an executable path, with a trailing separator: the first 127 characters of
// the path, cut after the last separator.
std::string ProgramDirFromExecutable(std::string_view executablePath);

}  // namespace relicor
