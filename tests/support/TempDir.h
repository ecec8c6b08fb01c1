#pragma once
// A fresh directory under the system's temporary directory, removed with everything in it.

#include <set>
#include <string>
#include <string_view>

namespace relicor::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + separator + name
  std::string file(std::string_view name) const;
  // Writes `content` to `name` (creating directories on the way) and returns the full path.
  std::string write(std::string_view name, std::string_view content) const;
  std::string mkdir(std::string_view name) const;
  std::string read(std::string_view name) const;

 private:
  std::string path_;
};

// The names of the entries of `dir` (not of its subdirectories), sorted.
std::set<std::string> FileNames(const std::string& dir);

}  // namespace relicor::test
