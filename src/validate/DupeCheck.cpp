#include "validate/DupeCheck.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "platform/FileSystem.h"
#include "pool/ScanDirectory.h"
#include "text/Path.h"

namespace relicor {

namespace {

// A key list text starts with the 10-character item key (8 hex digits of Ident, 2 of ItemClass).
constexpr std::size_t kItemKeyLength = 10;
constexpr std::string_view kLineEnd = "\r\n";

// The path without "." components and repeated separators: two spellings of one path that the
// two scans can produce (for instance "./pool/sent/A.ITM" and "pool/sent/A.ITM").
std::string PlainPath(std::string_view path) {
  std::string plain;
  std::size_t pos = 0;
  const bool absolute = !path.empty() && path.front() == kPathSeparator;
  while (pos <= path.size()) {
    std::size_t end = path.find(kPathSeparator, pos);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view part = path.substr(pos, end - pos);
    if (!part.empty() && part != ".") {
      if (!plain.empty() || absolute) plain.push_back(kPathSeparator);
      plain.append(part);
    }
    pos = end + 1;
  }
  return plain;
}

// One file reached under two spellings is not a duplicate of itself.
bool SameFile(std::string_view a, std::string_view b) {
  return PlainPath(a.substr(kItemKeyLength)) == PlainPath(b.substr(kItemKeyLength));
}

// The current date and time as the log writes it: "dd.mm.yyyy hh:mm:ss".
std::string TimeStamp(const Clock& clock) {
  return DateTimeText(clock.Now()).value_or("");
}

// What the game makes an item from: its seed and creation info (offsets 32-37) and its base item
// index (392-395). Files that share them hold one item, whatever else differs.
std::array<std::uint8_t, 10> ItemIdentity(const ItemRecord& record) {
  std::array<std::uint8_t, 10> identity{};
  for (std::size_t i = 0; i < 6; ++i) identity[i] = record.ReadU8(32 + i);
  for (std::size_t i = 0; i < 4; ++i) identity[6 + i] = record.ReadU8(392 + i);
  return identity;
}

void AppendLine(std::string& log, std::string_view line) {
  log.append(line);
  log.append(kLineEnd);
}

}  // namespace

std::string OneLineText(std::string_view text) {
  std::string line(text);
  for (char& c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = '?';
  }
  return line;
}

std::string DupeCheckLog(const ItemCache& cache, const Database& database, const Clock& clock,
                         std::size_t* duplicatedLines, std::size_t* dupeHackLines, DupeCheckResult* found) {
  std::string log;
  AppendLine(log, TimeStamp(clock) + " Start check");
  AppendLine(log, "DUPLICATED will mark files with same Item in it");
  AppendLine(log, "DUPE/HACK  will mark files with known dupes/hacks");
  AppendLine(log, "SAME SEED  will mark files with one item made twice");
  AppendLine(log, "");

  // The list is sorted, so all texts with one key stand together: three files with one item give
  // two lines, for the pairs (1, 2) and (2, 3). Texts are made only where keys meet.
  const ItemKeyList& keyList = cache.KeyList();
  std::size_t duplicated = 0;
  for (std::size_t i = 0; i + 1 < keyList.size(); ++i) {
    if (keyList.KeyNumber(i) != keyList.KeyNumber(i + 1)) continue;
    const std::string text = keyList.Text(i);
    const std::string next = keyList.Text(i + 1);
    if (SameFile(text, next)) continue;
    AppendLine(log, "DUPLICATED " + OneLineText(PathToCp1252(text)) + "--" + OneLineText(PathToCp1252(next)));
    ++duplicated;
    if (found != nullptr) {
      found->duplicates.push_back(
          {text.substr(0, kItemKeyLength), text.substr(kItemKeyLength), next.substr(kItemKeyLength)});
    }
  }

  // One item made twice whose copies no longer share the item key: neighbours in the order of
  // what the game makes the item from. Pairs with one key stand in the DUPLICATED lines already.
  std::vector<std::pair<std::array<std::uint8_t, 10>, std::uint32_t>> made;
  made.reserve(keyList.size());
  for (std::size_t i = 0; i < keyList.size(); ++i) {
    if (const ItemEntry* entry = keyList.EntryAt(i))
      made.emplace_back(ItemIdentity(entry->Record()), static_cast<std::uint32_t>(i));
  }
  std::stable_sort(made.begin(), made.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 0; i + 1 < made.size(); ++i) {
    if (made[i].first != made[i + 1].first ||
        keyList.KeyNumber(made[i].second) == keyList.KeyNumber(made[i + 1].second))
      continue;
    const std::string text = keyList.Text(made[i].second);
    const std::string next = keyList.Text(made[i + 1].second);
    if (SameFile(text, next)) continue;
    AppendLine(log, "SAME SEED  " + OneLineText(PathToCp1252(text)) + "--" +
                        OneLineText(PathToCp1252(next.substr(kItemKeyLength))));
    if (found != nullptr)
      found->sameSeed.push_back(
          {text.substr(0, kItemKeyLength), text.substr(kItemKeyLength), next.substr(kItemKeyLength)});
  }
  made = {};

  std::size_t dupeHack = 0;
  for (std::size_t i = 0; i < keyList.size(); ++i) {
    if (!database.IsRegistered(keyList.Key(i))) continue;
    const std::string text = keyList.Text(i);
    AppendLine(log, "DUPE/HACK  " + OneLineText(PathToCp1252(text)));
    ++dupeHack;
    if (found != nullptr)
      found->knownDupes.push_back({text.substr(0, kItemKeyLength), text.substr(kItemKeyLength)});
  }

  AppendLine(log, " done checking " + TimeStamp(clock));
  if (duplicatedLines != nullptr) *duplicatedLines = duplicated;
  if (dupeHackLines != nullptr) *dupeHackLines = dupeHack;
  return log;
}

Result<DupeCheckResult> CheckForDuplicateItems(ItemCache& cache, const Database& database,
                                               const std::string& poolDir, const std::string& sentDir,
                                               bool subdirectories, const Clock& clock,
                                               const std::function<void()>& progressStep,
                                               const std::function<void(const std::string&)>& warn,
                                               std::optional<HeldListing>* held, ItemFileDate itemDates) {
  if (poolDir.empty()) return MakeError(std::string(kNoPoolDirectoryText));

  ScanOptions scan;
  scan.recursive = subdirectories;
  scan.progressStep = progressStep;
  // The check skips a file it cannot read, and a directory it cannot list.
  scan.unreadable = [&warn](const std::string& reason) {
    if (warn) warn(reason);
  };
  scan.skippedDirectory = scan.unreadable;
  scan.held = held;  // the pool's listing, when its lock just took one
  scan.itemDates = itemDates;
  for (const std::string* dir : {&poolDir, &sentDir}) {
    if (dir->empty() || !DirectoryExists(*dir)) continue;
    if (auto scanned = ScanDirectory(cache, *dir, scan, nullptr); !scanned) return scanned.failure();
  }

  DupeCheckResult result;
  result.logPath = JoinPath(poolDir, kDupeCheckLogName);
  const std::string log =
      DupeCheckLog(cache, database, clock, &result.duplicatedLines, &result.dupeHackLines, &result);
  if (auto written = AppendToFile(result.logPath, log); !written) return written.failure();
  result.message = std::string(kDupeCheckDoneText) + result.logPath;
  return result;
}

}  // namespace relicor
