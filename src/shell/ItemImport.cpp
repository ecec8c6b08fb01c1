#include "shell/ItemImport.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/FileSystem.h"
#include "pool/ScanDirectory.h"

namespace relicor {
namespace {

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error) && !error;
}

void CopyOne(ItemImport::Entry& entry, const std::string& directory) {
  const std::string target = directory + "/" + entry.name;
  std::error_code error;
  if (entry.name.empty() || !IsItemFileName(entry.name) ||
      !std::filesystem::is_regular_file(entry.source, error)) {
    entry.outcome = ItemImport::Outcome::kNotItemFile;
    return;
  }
  if (SameFile(entry.source, target)) {
    entry.outcome = ItemImport::Outcome::kSameFile;
    return;
  }
  if (PathOccupied(target)) {
    entry.outcome = ItemImport::Outcome::kExists;
    return;
  }
  auto content = ReadWholeFile(entry.source);
  if (!content) {
    entry.error = content.error();
    return;
  }
  const std::string temp = TemporaryFileName(target);
  if (const Status written = AtomicReplaceFile(temp, *content); !written) {
    entry.error = written.error();
    return;
  }
  if (const Status moved = MoveFileNoReplace(temp, target); !moved) {
    (void)RemoveFile(temp);
    // Someone else gave a file this name in the meantime: it stays theirs.
    entry.outcome = PathOccupied(target) ? ItemImport::Outcome::kExists : ItemImport::Outcome::kFailed;
    if (entry.outcome == ItemImport::Outcome::kFailed) entry.error = moved.error();
    return;
  }
  entry.outcome = ItemImport::Outcome::kCopied;
}

}  // namespace

int ItemImport::Count(Outcome outcome) const {
  return static_cast<int>(std::count_if(entries.begin(), entries.end(),
                                        [outcome](const Entry& e) { return e.outcome == outcome; }));
}

ItemImport CopyItemFilesInto(const std::vector<std::string>& sources, const std::string& directory) {
  ItemImport result;
  result.entries.reserve(sources.size());
  for (const std::string& source : sources) {
    ItemImport::Entry& entry = result.entries.emplace_back();
    entry.source = source;
    entry.name = BaseName(source);
    // Two dropped files of one name: the first is copied, the second finds the name taken.
    CopyOne(entry, directory);
  }
  return result;
}

}  // namespace relicor
