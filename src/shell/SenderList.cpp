#include "shell/SenderList.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "platform/FileSystem.h"
#include "pool/ScanDirectory.h"
#include "text/ByteText.h"
#include "text/Path.h"
#include "validate/DupeCheck.h"

namespace relicor {

namespace {

// The longest name a sidecar holds.
constexpr std::size_t kSenderNameCapacity = 18;
constexpr std::size_t kNameColumn = kSenderNameCapacity + 1 + kNotAMemberText.size() + 2;
constexpr std::size_t kNumberColumn = 8;

struct TextLessNoCase {
  bool operator()(const std::string& a, const std::string& b) const { return CompareTextNoCase(a, b) < 0; }
};

std::string PadRight(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

std::string PadLeft(const std::string& text, std::size_t width) {
  return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

std::string Row(const std::string& name, const std::string& items, const std::string& points) {
  return PadRight(name, kNameColumn) + PadLeft(items, kNumberColumn) + PadLeft(points, kNumberColumn) +
         "\r\n";
}

}  // namespace

Result<SenderList> CountSenders(ItemCache& cache, const SenderScan& scan) {
  if (scan.poolDir.empty()) return MakeError(std::string(kNoPoolDirectoryText));

  ScanOptions options;
  options.progressStep = scan.progressStep;
  options.unreadable = [&scan](const std::string& reason) {
    if (scan.warn) scan.warn(reason);
  };
  options.skippedDirectory = options.unreadable;

  std::vector<ScannedItem> items;
  options.recursive = scan.subdirectories;
  if (auto scanned = ScanDirectory(cache, scan.poolDir, options, &items); !scanned) return scanned.failure();
  std::vector<std::string> paths;
  paths.reserve(items.size());
  for (const ScannedItem& item : items) paths.push_back(item.path());
  if (!scan.sentDir.empty() && DirectoryExists(scan.sentDir)) {
    items.clear();
    options.recursive = false;
    if (auto scanned = ScanDirectory(cache, scan.sentDir, options, &items); !scanned)
      return scanned.failure();
    for (const ScannedItem& item : items) paths.push_back(item.path());
  }

  // The members by the name a sidecar holds for them (letter case ignored); the first one stays.
  std::map<std::string, const std::string*, TextLessNoCase> members;
  for (const std::string& name : scan.members) members.emplace(name.substr(0, kSenderNameCapacity), &name);
  const auto memberOf = [&members](const std::string& sender) -> const std::string* {
    const auto found = members.find(sender);
    return found != members.end() ? found->second : nullptr;
  };

  SenderList list;
  list.since = scan.since;
  const double firstDay = std::floor(scan.since);
  std::set<std::string, PathLess> counted;
  std::vector<SenderTally> senders;
  for (const std::string& path : paths) {
    if (!counted.insert(path).second) continue;
    const ItemEntry* entry = cache.Find(path);
    if (entry == nullptr) continue;
    const ItemMeta meta = entry->Meta();
    if (std::floor(meta.addedItem) < firstDay) continue;
    ++list.items;
    if (meta.points4Item) ++list.points;
    if (meta.senderName.empty()) {
      ++list.withoutSender;
      if (meta.points4Item) ++list.withoutSenderPoints;
      continue;
    }
    const std::string* member = memberOf(meta.senderName);
    const std::string name = member != nullptr ? *member : meta.senderName;
    auto sender = std::find_if(senders.begin(), senders.end(),
                               [&name](const SenderTally& s) { return s.name == name; });
    if (sender == senders.end()) {
      senders.push_back(SenderTally{name, member != nullptr, 0, 0});
      sender = std::prev(senders.end());
    }
    ++sender->items;
    if (meta.points4Item) ++sender->points;
  }
  std::stable_sort(senders.begin(), senders.end(), [](const SenderTally& a, const SenderTally& b) {
    if (a.items != b.items) return a.items > b.items;
    const int byName = CompareTextNoCase(a.name, b.name);
    return byName != 0 ? byName < 0 : a.name < b.name;
  });
  list.senders = std::move(senders);
  return list;
}

std::string SenderListText(const SenderList& list, DateTime madeAt) {
  std::string text = "Senderlist since " + SafeDateText(list.since, madeAt) + " (made " +
                     DateTimeText(madeAt).value_or(SafeDateText(madeAt, madeAt)) + ")\r\n\r\n";
  text += Row("Sender", "Items", "Points");
  for (const SenderTally& sender : list.senders) {
    const std::string name = sender.member ? sender.name : sender.name + " " + std::string(kNotAMemberText);
    text += Row(name, std::to_string(sender.items), std::to_string(sender.points));
  }
  if (list.withoutSender > 0)
    text += Row("(no sender)", std::to_string(list.withoutSender), std::to_string(list.withoutSenderPoints));
  text += "\r\n" + Row("Total", std::to_string(list.items), std::to_string(list.points));
  return text;
}

Status WriteSenderList(SenderList& list, const std::string& poolDir, DateTime madeAt) {
  if (poolDir.empty()) return MakeError(std::string(kNoPoolDirectoryText));
  const std::string path = JoinPath(poolDir, kSenderListFileName);
  if (auto written = AtomicReplaceFile(path, SenderListText(list, madeAt)); !written) return written;
  list.filePath = path;
  return {};
}

}  // namespace relicor
