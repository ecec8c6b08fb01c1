#pragma once
// A list of many paths (the paths of a pool, the renames of a run) that keeps each directory once:
// a path is the rest of it (from the directory's last separator on) in a TextList, and the list
// notes where the paths of another directory start. Paths come a directory at a time, so a path in
// a pool costs its file name's bytes and five more instead of the whole path and a heap block of
// its own.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "text/TextList.h"
#include "text/TextTable.h"

namespace relicor {

class PathList {
 public:
  std::size_t size() const { return rests_.size(); }
  bool empty() const { return rests_.empty(); }
  // Makes room for `count` paths in all.
  void Reserve(std::size_t count) { rests_.Reserve(count); }

  // Adds `path` at the end. Throws std::length_error where TextList does (a file name of 64 KiB).
  void Add(std::string_view path);

  // The i-th path, whole.
  std::string operator[](std::size_t i) const {
    std::string path;
    Get(i, path);
    return path;
  }
  // The same into `path`, which keeps its room for the next one.
  void Get(std::size_t i, std::string& path) const;

  // The i-th path's directory (before its last separator, as DirectoryPart gives it) and the rest
  // (the separator and the file name; the whole path when it has no separator). Both stay valid
  // while the list lives.
  std::string_view Directory(std::size_t i) const { return directories_[DirectoryNumberOf(i)]; }
  std::string_view Rest(std::size_t i) const { return rests_[i]; }

 private:
  std::deque<std::string> directories_;  // by number; a deque keeps each text in its place
  TextTable<std::uint32_t> numbers_;     // the number of each directory
  // A directory's paths from `first` on, up to the next run's first path.
  struct Run {
    std::uint32_t first;
    std::uint32_t directory;
  };
  std::vector<Run> runs_;
  TextList rests_;

  std::uint32_t DirectoryNumberOf(std::size_t i) const;
};

}  // namespace relicor
