#include "platform/FileStamp.h"

#include <sys/stat.h>

#include <cerrno>
#include <initializer_list>

namespace relicor {

namespace {

std::uint64_t Mix(std::uint64_t hash, std::uint64_t value) {
  hash ^= value + 0x9E3779B97F4A7C15ULL + (hash << 6) + (hash >> 2);
  hash ^= hash >> 31;
  hash *= 0xBF58476D1CE4E5B9ULL;
  hash ^= hash >> 29;
  return hash;
}

}  // namespace

FileStamp MakeFileStamp(std::uint64_t size, std::int64_t modifiedSeconds, std::int64_t modifiedNanoseconds,
                        std::uint64_t inode, std::uint64_t device) {
  std::uint64_t hash = 0x84222325CBF29CE4ULL;
  for (const std::uint64_t part : {size, static_cast<std::uint64_t>(modifiedSeconds),
                                   static_cast<std::uint64_t>(modifiedNanoseconds), inode, device})
    hash = Mix(hash, part);
  // Two values are marks of their own.
  return hash > kUnknownFileStamp ? hash : hash + 2;
}

FileStamp StampOfFile(const std::string& path, bool followLink) {
  struct stat st {};
  const int done = followLink ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
  if (done != 0) return errno == ENOENT || errno == ENOTDIR ? kNoFileStamp : kUnknownFileStamp;
  return MakeFileStamp(static_cast<std::uint64_t>(st.st_size), st.st_mtim.tv_sec, st.st_mtim.tv_nsec,
                       static_cast<std::uint64_t>(st.st_ino), static_cast<std::uint64_t>(st.st_dev));
}

}  // namespace relicor
