#include "shell/Members.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/FileSystem.h"
#include "text/ByteText.h"
#include "text/Path.h"

namespace relicor {

namespace {

// True when something stands at `path` (a file, a directory, a link that leads nowhere usable).
bool SomethingAt(const std::string& path) {
  std::error_code ec;
  return std::filesystem::status(path, ec).type() != std::filesystem::file_type::not_found;
}

bool LessNoCase(const std::string& a, std::string_view b) {
  return CompareTextNoCase(a, b) < 0;
}

}  // namespace

bool MemberList::Add(std::string_view name) {
  const auto it = std::lower_bound(names_.begin(), names_.end(), name, LessNoCase);
  if (it != names_.end() && EqualsNoCase(*it, name)) return false;
  names_.insert(it, std::string(name));
  return true;
}

void MemberList::AddAll(std::vector<std::string> names) {
  // Of equal names the one added first stays: a stable sort keeps them in the order given, behind
  // the list's own.
  std::stable_sort(names.begin(), names.end(),
                   [](const std::string& a, const std::string& b) { return CompareTextNoCase(a, b) < 0; });
  std::vector<std::string> merged;
  merged.reserve(names_.size() + names.size());
  auto mine = names_.begin();
  for (std::string& name : names) {
    while (mine != names_.end() && CompareTextNoCase(*mine, name) < 0) merged.push_back(std::move(*mine++));
    if (mine != names_.end() && EqualsNoCase(*mine, name)) continue;
    if (!merged.empty() && EqualsNoCase(merged.back(), name)) continue;
    merged.push_back(std::move(name));
  }
  while (mine != names_.end()) merged.push_back(std::move(*mine++));
  names_ = std::move(merged);
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

std::vector<std::string> MemberNamesOf(std::string_view text) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      names.emplace_back(text.substr(start));
      break;
    }
    names.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return names;
}

namespace {

Result<std::optional<std::string>> ReadMembersFile(const std::string& path) {
  return ReadSmallFileNoFollow(path, kMaxMembersFileBytes);
}

}  // namespace

void LoadMembers(MemberList& members, const std::string& poolDir, std::string* problem) {
  members.Clear();
  if (poolDir.empty()) return;
  auto text = ReadMembersFile(MembersFilePath(poolDir));
  if (!text) {
    if (problem != nullptr) *problem = text.error() + ": the member list is not read";
    return;
  }
  if (*text) members.AddAll(MemberNamesOf(**text));
}

Status SaveMembers(const MemberList& members, const std::string& poolDir) {
  // Without a pool directory the list would land in the root directory.
  if (poolDir.empty()) return MakeError(std::string(kNoPoolDirectoryForMembersText));
  const std::string path = MembersFilePath(poolDir);
  // A list that could not be read was loaded as an empty one: replacing the file would lose it.
  if (auto old = ReadMembersFile(path); !old && SomethingAt(path)) {
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
