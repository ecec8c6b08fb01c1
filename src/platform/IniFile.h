#pragma once
// An INI file on disk around the pure model: every read goes to the file at that moment, every
// write reads the file, changes the model and replaces the file at once (atomically), so other
// sections, keys and comments survive.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Ini.h"
#include "platform/Result.h"

namespace relicor {

// An INI file of the program is read only up to this size.
inline constexpr std::size_t kMaxIniFileBytes = std::size_t{1} << 20;

class IniFile {
 public:
  explicit IniFile(std::string path) : path_(std::move(path)) {}

  const std::string& path() const { return path_; }

  // The file as a model. A missing file (or a missing directory on the way) is an empty model;
  // a file that exists but cannot be read is an error naming the file and the reason: a symbolic
  // link is never followed, and a file larger than kMaxIniFileBytes is not read.
  Result<Ini> Load() const;

  // Replaces the file with the model's text in one atomic replace.
  Status Save(const Ini& ini) const;

  // Reads the file, lets `edit` change the model and writes it back with one replace. A file
  // that exists but cannot be read is not overwritten: the error is returned.
  Status Update(const std::function<void(Ini&)>& edit) const;

  // Profile reads: a missing or unreadable file, section or key gives the default.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const;
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

  // Profile writes: each goes to the file at once.
  Status WriteString(std::string_view section, std::string_view key, std::string_view value) const;
  Status WriteInteger(std::string_view section, std::string_view key, std::int32_t value) const;
  Status WriteBool(std::string_view section, std::string_view key, bool value) const;

 private:
  std::optional<std::string> Raw(std::string_view section, std::string_view key) const;

  std::string path_;
};

}  // namespace relicor
