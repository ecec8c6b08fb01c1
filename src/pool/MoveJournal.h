#pragma once
// The journal of moves: before an item and its sidecar are moved or renamed, the moves are
// recorded durably in one small file in the pool directory (RELICOR.JNL); after the last one the
// journal is removed. A run that was killed between two renames leaves its journal behind, and the
// next command finishes or undoes each recorded move, so that every item stands beside its own
// sidecar again.

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DirectoryLock.h"
#include "platform/Result.h"

namespace relicor {

inline constexpr std::string_view kJournalFileName = "RELICOR.JNL";

// An item file's move; its sidecar (SidecarPath) moves with it.
struct PlannedMove {
  std::string from;
  std::string to;
};

// The journal text: a header line, one line per move ("from" TAB "to", with \ \t \r \n written as
// \\ \t \r \n), and an end line. Parse gives nothing for a text that is not a whole journal.
std::string JournalText(const std::vector<PlannedMove>& moves);
std::optional<std::vector<PlannedMove>> ParseJournal(std::string_view text);

class MoveJournal {
 public:
  // A journal in `dir` (the pool directory).
  explicit MoveJournal(const std::string& dir);
  MoveJournal(const MoveJournal&) = delete;
  MoveJournal& operator=(const MoveJournal&) = delete;

  // Records the moves about to be made (they replace the ones recorded before, whose directories
  // are flushed first, so those moves are on the disk before their record goes).
  Status Record(const std::vector<PlannedMove>& moves);
  // After the last move: flushes the directories of the recorded moves and removes the journal.
  Status Clear();

  const std::string& path() const { return path_; }

 private:
  Status FlushTouched();

  std::string dir_;
  std::string path_;
  std::set<std::string> touched_;
  bool recorded_ = false;
};

// Finishes or undoes the moves of a journal left in `dir`, then removes it. Each line of the
// result says what was repaired; none when there was no journal (or nothing to repair). A journal
// that cannot be read, or a move that cannot be repaired, is an error naming the file; the
// journal then stays for the next try.
Result<std::vector<std::string>> RecoverMoves(const std::string& dir);

// The lock of a directory that holds pool files, taken for one command: waits for another Relicor
// (then kBusyText), repairs what a killed run left (FinishFileSet, RecoverMoves) and, unless `tidy` is off,
// removes stale temporary files of killed runs (which lists the whole directory). `repaired` says
// what was repaired.
struct PoolLock {
  DirectoryLock lock;
  std::vector<std::string> repaired;
};
enum class Tidy : bool { kNo = false, kYes = true };
Result<PoolLock> LockPool(const std::string& dir, std::chrono::milliseconds wait = kLockWait,
                          Tidy tidy = Tidy::kYes);

}  // namespace relicor
