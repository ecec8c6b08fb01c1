#pragma once
// A file's identity as one number: its size, modification time, inode and device. A file that
// another program replaced, rewrote or touched has another stamp; one that was only renamed (on
// the same file system) keeps its stamp.

#include <cstdint>
#include <string>

namespace relicor {

using FileStamp = std::uint64_t;

// Nothing is at the path.
inline constexpr FileStamp kNoFileStamp = 0;
// The identity is not known (it could not be read): never equal to a file's stamp.
inline constexpr FileStamp kUnknownFileStamp = 1;

// The stamp of the file's own status fields (never kNoFileStamp or kUnknownFileStamp).
FileStamp MakeFileStamp(std::uint64_t size, std::int64_t modifiedSeconds, std::int64_t modifiedNanoseconds,
                        std::uint64_t inode, std::uint64_t device);

// One stat of `path`: the stamp of what is there (a link itself, not what it leads to, unless
// `followLink`), kNoFileStamp when nothing is there, kUnknownFileStamp when it cannot be looked at.
FileStamp StampOfFile(const std::string& path, bool followLink = false);

}  // namespace relicor
