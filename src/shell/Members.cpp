#include "shell/Members.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/FileSystem.h"
#include "text/ByteText.h"
#include "text/Path.h"

namespace relicor {

namespace {

bool LessNoCase(const std::string& a, std::string_view b) {
  return CompareTextNoCase(a, b) < 0;
}

// True when something stands at `path` (a file, a directory, a link that leads nowhere usable).
bool SomethingAt(const std::string& path) {
  std::error_code ec;
  return std::filesystem::status(path, ec).type() != std::filesystem::file_type::not_found;
}

}  // namespace

bool MemberList::Add(std::string_view name) {
  const auto it = std::lower_bound(names_.begin(), names_.end(), name, LessNoCase);
  if (it != names_.end() && EqualsNoCase(*it, name)) return false;
  names_.insert(it, std::string(name));
  return true;
}

bool MemberList::Contains(std::string_view name) const {
  const auto it = std::lower_bound(names_.begin(), names_.end(), name, LessNoCase);
  return it != names_.end() && EqualsNoCase(*it, name);
}

const std::string* MemberList::Find(std::string_view name) const {
  const auto it = std::lower_bound(names_.begin(), names_.end(), name, LessNoCase);
  return it != names_.end() && EqualsNoCase(*it, name) ? &*it : nullptr;
}

bool MemberList::Remove(std::string_view name) {
  const auto it = std::lower_bound(names_.begin(), names_.end(), name, LessNoCase);
  if (it == names_.end() || !EqualsNoCase(*it, name)) return false;
  names_.erase(it);
  return true;
}

std::string MembersFilePath(const std::string& poolDir) {
  return JoinPath(poolDir, kMembersFileName);
}

void LoadMembers(MemberList& members, const std::string& poolDir) {
  members.Clear();
  if (poolDir.empty()) return;
  auto text = ReadWholeFile(MembersFilePath(poolDir));
  if (!text) return;
  const std::string_view rest = *text;
  std::size_t start = 0;
  while (start < rest.size()) {
    const std::size_t end = rest.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      members.Add(rest.substr(start));
      break;
    }
    members.Add(rest.substr(start, end - start));
    start = end + 1;
    if (rest[end] == '\r' && start < rest.size() && rest[start] == '\n') ++start;
  }
}

Status SaveMembers(const MemberList& members, const std::string& poolDir) {
  // Without a pool directory the list would land in the root directory.
  if (poolDir.empty()) return MakeError(std::string(kNoPoolDirectoryForMembersText));
  const std::string path = MembersFilePath(poolDir);
  // A list that could not be read was loaded as an empty one: replacing the file would lose it.
  if (auto old = ReadWholeFile(path); !old && SomethingAt(path)) {
    return MakeError(old.error() + "; " + path + " is left as it is");
  }
  std::string text;
  for (const std::string& name : members.Names()) {
    text += name;
    text += "\r\n";
  }
  return AtomicReplaceFile(path, text);
}

}  // namespace relicor
