#pragma once
// Names that appear in watched directories, told after the fact: a long run that keeps its own
// picture of a directory learns what others put there without reading the directory again.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace relicor {

// Watches directories for names that come: made, linked or renamed into them. Names that go, and
// writes to files already there, are not told. Where the system cannot watch, Watch says so and
// the caller has to look for itself.
class DirectoryWatch {
 public:
  // Told to `missed` when names may have come unseen in every watched directory (more came at once
  // than the system keeps for the reader).
  static constexpr int kEveryDirectory = -1;

  DirectoryWatch() = default;
  ~DirectoryWatch();
  DirectoryWatch(const DirectoryWatch&) = delete;
  DirectoryWatch& operator=(const DirectoryWatch&) = delete;

  // Starts watching `dir`: the number its names are told with, or nothing when it cannot be
  // watched. The same directory under two paths has one number.
  std::optional<int> Watch(const std::string& dir);
  // Stops watching the directory of `number`.
  void Stop(int number);

  // Tells every name that came since the last call, with its directory's number, and the
  // directories in which names may have come unseen: one whose watch ended (it was removed), or
  // every one (kEveryDirectory). The system keeps a limited number of names for the reader, so a
  // caller that expects many calls this often.
  void Drain(const std::function<void(int number, std::string_view name)>& came,
             const std::function<void(int number)>& missed);

 private:
  int fd_ = -1;
  std::vector<char> buffer_;
};

}  // namespace relicor
