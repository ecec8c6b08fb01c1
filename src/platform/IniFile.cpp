#include "platform/IniFile.h"

#include "platform/FileSystem.h"

namespace relicor {

Result<Ini> IniFile::Load() const {
  // A missing file, or a missing directory on the way (or a file standing where a directory is
  // expected), is an empty model.
  auto text = ReadSmallFileNoFollow(path_, kMaxIniFileBytes);
  if (!text) return text.failure();
  if (!*text) return Ini();
  return Ini::Parse(**text);
}

Status IniFile::Save(const Ini& ini) const {
  return AtomicReplaceFile(path_, ini.Serialize());
}

Status IniFile::Update(const std::function<void(Ini&)>& edit) const {
  auto ini = Load();
  if (!ini) return ini.failure();
  edit(*ini);
  return Save(*ini);
}

std::optional<std::string> IniFile::Raw(std::string_view section, std::string_view key) const {
  auto ini = Load();
  if (!ini) return std::nullopt;
  return ini->Get(section, key);
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
  return ProfileString(Raw(section, key), defaultValue);
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                                  std::int32_t defaultValue) const {
  return ProfileInteger(Raw(section, key), defaultValue);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return ProfileBool(Raw(section, key), defaultValue);
}

Status IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) const {
  return Update([&](Ini& ini) { ini.Set(section, key, value); });
}

Status IniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) const {
  return WriteString(section, key, std::to_string(value));
}

Status IniFile::WriteBool(std::string_view section, std::string_view key, bool value) const {
  return WriteString(section, key, ProfileBoolText(value));
}

}  // namespace relicor
