#pragma once
// The archive a save game is kept in: the game's classic archive format (version 0, encrypted
// hash and block tables, files imploded, no list of names), read through StormLib. Files are
// found by their known names.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"

namespace relicor::saves {

class SaveArchive {
 public:
  // Opens `path`. An error for a path that is no ordinary readable file, a file that is no
  // archive of the game's kind, and one cut short (shorter than its header or its tables say,
  // as a save copied while the game writes it). Errors name the file.
  static Result<SaveArchive> Open(const std::string& path);

  SaveArchive(SaveArchive&& other) noexcept;
  SaveArchive& operator=(SaveArchive&& other) noexcept;
  ~SaveArchive();

  const std::string& path() const { return path_; }
  bool Has(std::string_view name) const;
  // The stored bytes of file `name` (still encoded by the game's codec): nothing when the
  // archive does not hold it; an error when it cannot be read or is larger than `maxBytes`.
  Result<std::optional<std::string>> Read(std::string_view name, std::size_t maxBytes) const;

 private:
  SaveArchive(std::string path, void* handle) : path_(std::move(path)), handle_(handle) {}
  std::string path_;
  void* handle_ = nullptr;
};

// True when `path` is a readable file that starts like an archive of the game's kind (a dropped
// file is taken for a save game by this, not by its name).
bool StartsLikeSaveArchive(const std::string& path);

// Writes an archive as the game does (version 0, 4,096-byte sectors, files imploded, no list
// of names). For test saves and benchmarks.
struct ArchiveEntry {
  std::string name;
  std::string data;
};
Status WriteSaveArchive(const std::string& path, const std::vector<ArchiveEntry>& files,
                        std::size_t hashTableSize = 16);

}  // namespace relicor::saves
