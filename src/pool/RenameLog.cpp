#include "pool/RenameLog.h"

#include <algorithm>
#include <set>

#include "platform/FileSystem.h"
#include "pool/MoveJournal.h"
#include "text/Path.h"

namespace relicor {

namespace {

constexpr std::string_view kArrow = " -> ";
constexpr std::size_t kItemKeyLength = 10;
constexpr std::string_view kLineBreak = "\r\n";

// "dd.mm.yyyy hh:mm:ss"
bool IsDateTimeText(std::string_view text) {
  constexpr std::string_view kForm = "00.00.0000 00:00:00";
  if (text.size() != kForm.size()) return false;
  for (std::size_t i = 0; i < kForm.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (kForm[i] == '0' ? !digit : text[i] != kForm[i]) return false;
  }
  return true;
}

// Splits "old -> new": a renamed item stays in its directory, so the arrow is the one whose two
// sides have the same directory (a directory name may hold an arrow of its own).
std::optional<std::pair<std::string, std::string>> SplitRename(std::string_view text) {
  for (std::size_t at = text.find(kArrow); at != std::string_view::npos; at = text.find(kArrow, at + 1)) {
    const std::string_view from = text.substr(0, at);
    const std::string_view to = text.substr(at + kArrow.size());
    if (!from.empty() && !to.empty() && DirectoryPart(from) == DirectoryPart(to)) {
      return std::pair{std::string(from), std::string(to)};
    }
  }
  return std::nullopt;
}

std::optional<RenameLogEntry> ParseEntry(std::string_view line) {
  const std::size_t tab = line.rfind('\t');
  if (tab == std::string_view::npos) return std::nullopt;
  const std::string_view stamp = line.substr(tab + 1);
  if (stamp.size() < kItemKeyLength + 1 || stamp[kItemKeyLength] != ' ') return std::nullopt;
  const std::string_view fileDate = stamp.substr(kItemKeyLength + 1);
  if (!IsDateTimeText(fileDate)) return std::nullopt;
  auto paths = SplitRename(line.substr(0, tab));
  if (!paths) return std::nullopt;
  return RenameLogEntry{PathFromCp1252(paths->first), PathFromCp1252(paths->second),
                        std::string(stamp.substr(0, kItemKeyLength)), std::string(fileDate)};
}

// True when the file at `path` is the item the entry names (the same item key and file date).
bool HoldsLoggedItem(const std::string& path, const RenameLogEntry& entry) {
  auto head = ReadFileHeadAndTime(path, kItemRecordSize);
  return head && head->data.size() >= kItemRecordSize &&
         ItemRecord::FromBytes(head->data).ItemKey() == entry.itemKey &&
         DateTimeText(head->modified).value_or("") == entry.fileDate;
}

// Why the item at `entry.to` may not go back to `entry.from`, or nothing. `occupied` tells whether
// a name is taken as the undo has left things so far.
template <typename Occupied>
std::optional<std::string> RefusalOf(const RenameLogEntry& entry, const Occupied& occupied) {
  // A '?' stands for a character the Windows-1252 log could not hold: the name is not known.
  if (entry.from.find('?') != std::string::npos || entry.to.find('?') != std::string::npos) {
    return "the log cannot hold the file name exactly";
  }
  if (!FileExists(entry.to)) return entry.to + " is gone";
  auto head = ReadFileHeadAndTime(entry.to, kItemRecordSize);
  if (!head) return head.error();
  if (head->data.size() < kItemRecordSize || ItemRecord::FromBytes(head->data).ItemKey() != entry.itemKey ||
      DateTimeText(head->modified).value_or("") != entry.fileDate) {
    return entry.to + " changed since the rename run";
  }
  if (occupied(entry.from)) return "its old name " + entry.from + " is taken";
  if (PathOccupied(SidecarPath(entry.to)) && occupied(SidecarPath(entry.from))) {
    return "its old sidecar name " + SidecarPath(entry.from) + " is taken";
  }
  return std::nullopt;
}

}  // namespace

std::string RenameLogPath(const std::string& dir) {
  return JoinPath(dir, kRenameLogFileName);
}

void AppendRenameLogHeader(std::string& text, std::string_view runTime) {
  text += runTime;
  text += kLineBreak;
}

namespace {

void AppendLogPath(std::string& text, std::string_view path) {
  // ASCII reads the same in both: most paths are taken over whole.
  if (std::all_of(path.begin(), path.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    text += path;
  } else {
    text += PathToCp1252(path);
  }
}

void AppendLogLineStart(std::string& text, std::string_view from, std::string_view to,
                        std::string_view itemKey) {
  AppendLogPath(text, from);
  text += kArrow;
  AppendLogPath(text, to);
  text += '\t';
  text += itemKey;
  text += ' ';
}

}  // namespace

void AppendRenameLogLine(std::string& text, const RenameLogEntry& entry) {
  AppendLogLineStart(text, entry.from, entry.to, entry.itemKey);
  text += entry.fileDate;
  text += kLineBreak;
}

void AppendRenameLogLine(std::string& text, std::string_view from, std::string_view to,
                         std::string_view itemKey, DateTime fileDate) {
  AppendLogLineStart(text, from, to, itemKey);
  (void)AppendDateTimeText(text, fileDate);
  text += kLineBreak;
}

std::string RenameLogText(const RenameLog& log) {
  std::string text;
  AppendRenameLogHeader(text, log.runTime);
  for (const RenameLogEntry& entry : log.entries) AppendRenameLogLine(text, entry);
  return text;
}

std::optional<RenameLog> ParseRenameLog(std::string_view text) {
  RenameLog log;
  bool first = true;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (first) {
      if (!IsDateTimeText(line)) return std::nullopt;
      log.runTime = std::string(line);
      first = false;
      continue;
    }
    if (auto entry = ParseEntry(line)) log.entries.push_back(std::move(*entry));
  }
  if (first) return std::nullopt;
  return log;
}

Status WriteRenameLog(const std::string& dir, const RenameLog& log) {
  return AtomicReplaceFile(RenameLogPath(dir), RenameLogText(log));
}

Status WriteRenameLogText(const std::string& dir, std::string_view text) {
  return AtomicReplaceFile(RenameLogPath(dir), text);
}

Result<std::optional<RenameLog>> ReadRenameLog(const std::string& dir) {
  const std::string path = RenameLogPath(dir);
  auto text = ReadWholeFileIfPresent(path);
  if (!text) return text.failure();
  if (!*text) return std::optional<RenameLog>();
  auto log = ParseRenameLog(**text);
  if (!log) return MakeError(path + ": not a rename log (its first line is no date and time)");
  return std::optional<RenameLog>(std::move(*log));
}

RenameLogEntry RenameLogEntryOf(const ItemCache& cache, const std::string& from, const std::string& to) {
  RenameLogEntry entry{from, to, {}, {}};
  if (const ItemEntry* item = cache.Find(to)) {
    entry.itemKey = item->ItemKey();
    entry.fileDate = DateTimeText(item->FileDate()).value_or("");
  }
  return entry;
}

Result<RenameUndoResult> UndoRenameRun(ItemCache& cache, const std::string& logDir,
                                       const std::string& journalDir) {
  RenameUndoResult result;
  auto read = ReadRenameLog(logDir);
  if (!read) return read.failure();
  if (!*read) return result;
  const RenameLog& log = **read;
  result.logFound = true;
  result.runTime = log.runTime;

  // Last rename first: a later item may have taken the name an earlier one left.
  std::set<std::string> freed;  // names the undo moves away from
  std::set<std::string> taken;  // names it moves to
  auto occupied = [&](const std::string& path) {
    return taken.count(path) != 0 || (freed.count(path) == 0 && PathOccupied(path));
  };
  std::vector<PlannedMove> moves;
  std::set<const RenameLogEntry*> kept;  // entries the log keeps
  for (auto it = log.entries.rbegin(); it != log.entries.rend(); ++it) {
    // The log is written ahead of each batch: a run killed in one names renames it never made.
    if (!PathOccupied(it->to) && FileExists(it->from) && HoldsLoggedItem(it->from, *it)) {
      ++result.neverMade;
      continue;
    }
    if (auto refusal = RefusalOf(*it, occupied)) {
      result.refused.push_back({it->to, it->from, *refusal});
      kept.insert(&*it);
      continue;
    }
    moves.push_back({it->to, it->from});
    for (const std::string& path : {it->to, SidecarPath(it->to)}) {
      freed.insert(path);
      taken.erase(path);
    }
    for (const std::string& path : {it->from, SidecarPath(it->from)}) {
      taken.insert(path);
      freed.erase(path);
    }
  }

  MoveJournal journal(journalDir);
  if (!moves.empty()) {
    if (auto recorded = journal.Record(moves); !recorded) return recorded.failure();
  }
  for (const PlannedMove& move : moves) {
    const Status moved = cache.MoveItem(move.from, move.to);
    if (moved) {
      result.restored.push_back({move.from, move.to, {}});
      continue;
    }
    if (!PathOccupied(move.from) && PathOccupied(move.to)) {
      return MakeError(ErrorKind::kJournalStuck, moved.error() + "; " + journal.path() +
                                                     " keeps the move for the next command to finish");
    }
    result.refused.push_back({move.from, move.to, moved.error()});
    for (const RenameLogEntry& entry : log.entries) {
      if (entry.to == move.from) kept.insert(&entry);
    }
  }
  if (auto cleared = journal.Clear(); !cleared) return cleared.failure();

  // The log keeps what could not go back, in the run's order.
  RenameLog rest{log.runTime, {}};
  for (const RenameLogEntry& entry : log.entries) {
    if (kept.count(&entry) != 0) rest.entries.push_back(entry);
  }
  if (rest.entries.empty()) {
    if (auto removed = RemoveFile(RenameLogPath(logDir)); !removed) return removed.failure();
  } else if (auto written = WriteRenameLog(logDir, rest); !written) {
    return written.failure();
  }
  return result;
}

}  // namespace relicor
