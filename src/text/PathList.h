#pragma once
// A list of many paths (the paths of a pool, the renames of a run) that keeps each directory once:
// a path is the rest of it (from the directory's last separator on), and the list notes where the
// paths of another directory start. Paths come a directory at a time, so a path in a pool costs
// its file name's bytes and five more instead of the whole path and a heap block of its own.
// A file name whose stem ends in digits, as a renamed item's does ("Ring0012.ITM"), costs four
// bytes: the text before its last four digits and the text after them are kept once, as a pattern
// the names of the same item share, and the name keeps the pattern's number and those digits.

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
  std::size_t size() const { return codes_.size(); }
  bool empty() const { return codes_.empty(); }
  // Makes room for `count` paths in all.
  void Reserve(std::size_t count) { codes_.reserve(count); }

  // Adds `path` at the end. Throws std::length_error for a file name of 64 KiB or one holding a
  // NUL, and when the list's texts take 2 GiB; the list is as before then.
  void Add(std::string_view path);

  // The i-th path, whole.
  std::string operator[](std::size_t i) const {
    std::string path;
    Get(i, path);
    return path;
  }
  // The same into `path`, which keeps its room for the next one.
  void Get(std::size_t i, std::string& path) const {
    path.assign(Directory(i));
    AppendRest(codes_[i], path);
  }

  // The i-th path's directory (before its last separator, as DirectoryPart gives it; valid while
  // the list lives) and the rest (the separator and the file name; the whole path when it has no
  // separator).
  std::string_view Directory(std::size_t i) const { return directories_[DirectoryNumberOf(i)]; }
  // Appends the i-th path to `path`.
  void AppendTo(std::size_t i, std::string& path) const {
    path.append(Directory(i));
    AppendRest(codes_[i], path);
  }
  std::string Rest(std::size_t i) const {
    std::string rest;
    AppendRest(codes_[i], rest);
    return rest;
  }

 private:
  std::deque<std::string> directories_;  // by number; a deque keeps each text in its place
  TextTable<std::uint32_t> numbers_;     // the number of each directory
  // A directory's paths from `first` on, up to the next run's first path.
  struct Run {
    std::uint32_t first;
    std::uint32_t directory;
  };
  std::vector<Run> runs_;
  // Each path's rest: the place of its text in texts_, or, with kNumbered set, the number of its
  // pattern, how many digits it has there (less one) and their value.
  std::vector<std::uint32_t> codes_;
  TextList texts_;
  // The texts before and after the digits, as places in texts_.
  struct Pattern {
    std::uint32_t head;
    std::uint32_t tail;
  };
  std::vector<Pattern> patterns_;
  TextTable<std::uint32_t> patternNumbers_;  // by head, a NUL and tail
  std::string patternKey_;

  std::uint32_t DirectoryNumberOf(std::size_t i) const;
  std::uint32_t CodeOf(std::string_view rest);
  void AppendRest(std::uint32_t code, std::string& path) const;
};

}  // namespace relicor
