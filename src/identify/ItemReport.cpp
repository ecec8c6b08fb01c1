#include "identify/ItemReport.h"

#include "identify/EffectPass.h"
#include "identify/ReportText.h"
#include "text/ByteText.h"
#include "text/Hex.h"
#include "text/Path.h"

namespace relicor {

namespace {

constexpr std::size_t kFileShownLength = 64;
constexpr std::string_view kDupeMarker = "*** DUPE DETECT: THIS ITEM IS A REGISTERED DUPE OR A HACK";
constexpr std::string_view kSeparator = "----------------------------------";
static_assert(kSeparator.size() == 34);

// True when the upper-case form of `path` (UpperCaseDE) contains `upper`, a text of capital ASCII
// letters: only a and A give A, so comparing with ASCII letters folded is the same.
bool PathContainsUpper(std::string_view path, std::string_view upper) {
  if (upper.empty()) return true;
  if (path.size() < upper.size()) return false;
  // Clearing bit 5 turns a small ASCII letter into its capital, and only the letter's two cases
  // give that capital: one operation and one comparison a byte.
  const auto folded = [](char c) { return static_cast<char>(c & ~0x20); };
  const char first = upper.front();
  const std::size_t lastStart = path.size() - upper.size();
  for (std::size_t at = 0; at <= lastStart; ++at) {
    if (folded(path[at]) != first) continue;
    std::size_t matched = 1;
    while (matched < upper.size() && folded(path[at + matched]) == upper[matched]) ++matched;
    if (matched == upper.size()) return true;
  }
  return false;
}

// The last directory text a word was looked for in, and whether it holds the word. Directory
// texts are shared by the entries of a directory and stay for the whole run: the same text is
// the same directory.
struct DirectoryWord {
  const std::string* directory = nullptr;
  bool contains = false;
};

// The same for the path of `entry`: its directory ends with a separator, which none of the words
// holds, so a word never runs from the directory into the file name. The answer for the directory
// is kept in `last` (a pool's items share a few directories).
bool EntryPathContainsUpper(const ItemEntry& entry, std::string_view upper, DirectoryWord& last) {
  const std::string& directory = entry.Directory();
  if (last.directory != &directory) last = {&directory, PathContainsUpper(directory, upper)};
  return last.contains || PathContainsUpper(entry.FileName(), upper);
}

// Per thread: pages are made on two threads at once.
thread_local DirectoryWord lastHidden;
thread_local DirectoryWord lastShortInfo;

// "File : " and the path below `directory`, at most 64 characters of it.
void AddFileLine(ReportLines& lines, const ItemEntry& entry, const std::string& directory) {
  constexpr std::string_view kHead = "File : ";
  // The entry's path is its directory (with the separator at its end) and its name; the part
  // shown starts after `directory` and the separator that follows it.
  std::string_view inDirectory = entry.Directory();
  std::string_view name = entry.FileName();
  const std::size_t from = directory.size() + 1;
  if (from >= inDirectory.size() + name.size()) {
    lines.Add(kHead);
    return;
  }
  if (from <= inDirectory.size()) {
    inDirectory.remove_prefix(from);
  } else {
    name.remove_prefix(from - inDirectory.size());
    inDirectory = {};
  }
  // The path goes into Windows-1252 text (the output list, ITMLIST.TXT); ASCII reads the same
  // in both.
  if (IsAscii(inDirectory) && IsAscii(name)) {
    inDirectory = inDirectory.substr(0, kFileShownLength);
    lines.Add(kHead, inDirectory, name.substr(0, kFileShownLength - inDirectory.size()));
    return;
  }
  const std::string path = entry.Path();
  lines.Add(kHead, PathToCp1252(path.substr(from)).substr(0, kFileShownLength));
}

}  // namespace

bool IsNewItem(DateTime startTime, DateTime addedItem) {
  return startTime - addedItem < kNewItemDays;
}

void ItemReport::Clear() {
  isItem = false;
  lines.Clear();
  findings.clear();
  status = StatusColour::kGreen;
  lastFindingCode = 0;
  debugLines.Clear();
  name.clear();
  isNew = false;
  hidden = false;
  verdict.clear();
}

ItemReport BuildReport(const ItemEntry& entry, const ReportOptions& options, const Database& database) {
  ItemReport report;
  BuildReport(entry, options, database, report);
  return report;
}

void BuildReport(const ItemEntry& entry, const ReportOptions& options, const Database& database,
                 ItemReport& report) {
  report.Clear();
  const ItemRecord item = entry.Record();
  if (!item.HasSignature()) {
    return;
  }
  report.isItem = true;
  const ItemMeta meta = entry.Meta();
  const bool page = options.mode != ReportMode::kText;
  const bool brief = options.mode == ReportMode::kBriefPage;
  report.isNew = IsNewItem(options.startTime, meta.addedItem);
  // Assigned where it is: the report keeps the room of its name from item to item.
  report.name.assign(item.NameView());
  for (char& c : report.name) c = AsciiUpper(c);
  report.hidden = page && EntryPathContainsUpper(entry, "HIDDEN", lastHidden);
  if (report.hidden) {
    return;
  }
  ReportLines& lines = report.lines;
  EffectPass pass(item, PassOptions{options.vkMode, options.additionalInfo, page, options.debugLines},
                  report);

  if (!page) {
    AddFileLine(lines, entry, options.directory);
    lines.Add(report.name);
    if (options.additionalInfo) {
      lines.Add(UpperCaseAscii(item.PlainNameView()));
    }
  }

  pass.UniqueChecks();

  if (!item.IsIdentified() && !brief) {
    lines.Add("unidentified");
  }

  if (!page) {
    lines.Add("Price ", DecimalText(item.Price()));
    if (options.additionalInfo) {
      lines.Add("PreAddInfo ", WordToHex(static_cast<std::uint16_t>(item.PreAddInfo())));
      lines.Add("SufAddInfo ", WordToHex(static_cast<std::uint16_t>(item.SufAddInfo())));
    }
  }

  const bool shortInfo = page && EntryPathContainsUpper(entry, "SHORTINF", lastShortInfo);
  if (!brief && !shortInfo) {
    if (database.IsRegistered(item.ItemKey())) {
      lines.Add(kDupeMarker);
      report.status = StatusColour::kRed;
    }
    pass.EffectSection();
  }

  if (page) {
    lines.Add("<I><FONT CLASS=\"SM\"> by ", HtmlEscape(meta.senderName),
              brief && report.isNew ? "  =NEW=</FONT></I>" : "</FONT></I>");
    if (!brief) {
      lines.Add("&nbsp;");
    }
    return;
  }

  lines.Add("by ", meta.senderName);
  if (meta.points4Item) {
    lines.Add("Point4Item dated ", SafeDateText(meta.points4ItemAt, options.today));
  }
  lines.Add("Added ", SafeDateText(meta.addedItem, options.today));

  lines.Add(kSeparator);
  pass.SourceAndLevelLines();
  pass.FinalPrice();
  pass.NameCheck();
}

}  // namespace relicor
