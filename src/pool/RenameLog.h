#pragma once
// The rename log: every rename run that renamed files writes RENAME.LOG in the pool directory
// (Windows-1252, CR LF, replaced as a whole), ahead of each batch of renames with the renames
// about to be made, and at its end with those it made: the date and time of the run, then one line
// per renamed item, "old -> new", followed by a tab and what the renamed file was then (its item key
// and file date). Undo reverts the run the log holds: each item goes back to its old name, its
// sidecar with it, unless the file changed since (it is gone, holds another item or has another
// date) or its old name is taken.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"
#include "pool/ItemCache.h"
#include "text/DateText.h"

namespace relicor {

inline constexpr std::string_view kRenameLogFileName = "RENAME.LOG";

struct RenameLogEntry {
  std::string from;      // the item's path before the run
  std::string to;        // its path after the run
  std::string itemKey;   // the renamed file's item key
  std::string fileDate;  // its file date, "dd.mm.yyyy hh:mm:ss"
};

struct RenameLog {
  std::string runTime;  // "dd.mm.yyyy hh:mm:ss"
  std::vector<RenameLogEntry> entries;
};

std::string RenameLogPath(const std::string& dir);

// The log text (paths converted to Windows-1252) and back. Parse gives nothing for a text whose
// first line is not a date and time; lines that are not entries are left out.
std::string RenameLogText(const RenameLog& log);
std::optional<RenameLog> ParseRenameLog(std::string_view text);

// The parts of the log text, for a writer that keeps them as text: the first line (the run time)
// and one entry's line, each with its line break.
void AppendRenameLogHeader(std::string& text, std::string_view runTime);
void AppendRenameLogLine(std::string& text, const RenameLogEntry& entry);
// The same of an entry's parts, its file date as a date (none when it cannot be written).
void AppendRenameLogLine(std::string& text, std::string_view from, std::string_view to,
                         std::string_view itemKey, DateTime fileDate);

// Writes the log into `dir` (one atomic replace).
Status WriteRenameLog(const std::string& dir, const RenameLog& log);
// The same for a log text made of those parts.
Status WriteRenameLogText(const std::string& dir, std::string_view text);
// The log of `dir`; nothing when there is none. An error for a log that cannot be read or is
// not a rename log.
Result<std::optional<RenameLog>> ReadRenameLog(const std::string& dir);

// The entry for a renamed item as the cache holds it at its new path (key and file date).
RenameLogEntry RenameLogEntryOf(const ItemCache& cache, const std::string& from, const std::string& to);

struct UndoStep {
  std::string from;    // where the item was (its name after the run)
  std::string to;      // its name before the run
  std::string reason;  // why it was left as it is; empty when it went back
};

struct RenameUndoResult {
  bool logFound = false;  // false: there was no run to undo
  std::string runTime;
  std::vector<UndoStep> restored;
  std::vector<UndoStep> refused;
  std::size_t neverMade = 0;  // renames the log named ahead that a killed run never made
};

// Reverts the run that the log of `logDir` holds, last rename first. The moves are recorded in the
// journal of `journalDir` first; the caller holds its lock. Afterwards the log holds only the
// refused entries (and is removed when there are none), so a second undo tries only those again.
Result<RenameUndoResult> UndoRenameRun(ItemCache& cache, const std::string& logDir,
                                       const std::string& journalDir);

}  // namespace relicor
