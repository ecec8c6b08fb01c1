#pragma once
// The journal of moves: before an item and its sidecar are moved or renamed, the moves are
// recorded durably in one small file in the pool directory (RELICOR.JNL); after the last one the
// journal is removed. A run that was killed between two renames leaves its journal behind, and the
// next command finishes or undoes each recorded move, so that every item stands beside its own
// sidecar again.
//
// The journal names every path absolutely, in directories without links, and lists those
// directories with their device and inode. The repair obeys a journal only when every path lies
// directly in one of its directories, each of them is the pool or the sent directory or below
// them and still the directory it was, and no path is moved from (or to) twice; anything else is
// refused with an error of its own kind, and the journal stays for the keeper to look at
// (InspectJournal) and then discard or finish.

#include <cstddef>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DirectoryLock.h"
#include "platform/FileIdentity.h"
#include "platform/FileSystem.h"
#include "platform/Result.h"

namespace relicor {

inline constexpr std::string_view kJournalFileName = "RELICOR.JNL";
// How the keeper clears a journal the repair does not obey.
inline constexpr std::string_view kJournalHelpText =
    "see what it holds with: relicor-cli journal; then remove it with: relicor-cli journal discard, or "
    "finish its moves with: relicor-cli journal finish";

// What a send writes into the item's sidecar at its new place once the item is there: the
// recipient (Windows-1252) and the sending date as date text.
struct SendStamp {
  std::string sendTo;
  std::string sentAt;
};

// An item file's move; its sidecar (SidecarPath) moves with it. A send's move carries its stamp.
struct PlannedMove {
  std::string from;
  std::string to;
  std::optional<SendStamp> send = std::nullopt;
};

struct JournalDirectory {
  std::string path;  // absolute, without links, "." or ".."
  FileIdentity identity;
};

struct Journal {
  std::vector<JournalDirectory> directories;
  std::vector<PlannedMove> moves;
  // Written by an earlier version ("RELICOR MOVES 1": moves only): its directories are those of its
  // paths, and their identity is not known.
  bool legacy = false;
};

// The journal text: a header line, one line per directory ("DIR", its path, device and inode),
// one per move ("MOVE" from to, or "SEND" from to recipient date), fields separated by tabs with
// \ TAB CR LF written as \\ \t \r \n, and an end line. Parse gives nothing for a text that is not
// a whole journal. An earlier version's journal ("RELICOR MOVES 1", a line "from" TAB "to" per
// move) is read too (and written for one marked legacy).
std::string JournalText(const Journal& journal);
std::optional<Journal> ParseJournal(std::string_view text);

class MoveJournal {
 public:
  // A journal in `dir` (the pool directory).
  explicit MoveJournal(const std::string& dir);
  MoveJournal(const MoveJournal&) = delete;
  MoveJournal& operator=(const MoveJournal&) = delete;

  // Records the moves about to be made (they replace the ones recorded before, whose directories
  // are flushed first, so those moves are on the disk before their record goes). The paths may be
  // relative; the journal holds them absolute.
  Status Record(const std::vector<PlannedMove>& moves);
  // The same for `count` moves that the caller holds elsewhere: `moveAt(i)` gives the paths of the
  // i-th (and its stamp, for a send), which must stay while the record is made.
  struct MovePaths {
    const std::string* from;
    const std::string* to;
    const SendStamp* send = nullptr;
  };
  Status Record(std::size_t count, const std::function<MovePaths(std::size_t)>& moveAt);
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

// Whether the repair may obey `journal` (read from `journalPath`): every path absolute and normal,
// in one of the journal's directories, no move from or to a path twice; with `roots` (the pool and
// sent directories, as RealDirectory gives them) each directory must also be one of them or below
// one, and still have the identity the journal gives it. Errors of kind kJournalRefused or
// kJournalForeign.
Status CheckJournal(const Journal& journal, const std::string& journalPath,
                    const std::vector<std::string>* roots);

// Finishes or undoes the moves of a journal left in `dir`, then removes it. Each line of the
// result says what was repaired; none when there was no journal (or nothing to repair). A journal
// that cannot be read (kJournalUnreadable), that the repair may not obey (CheckJournal, with `dir`
// and `sentDir` as roots), or a move that cannot be repaired (kJournalStuck) is an error naming
// the file; the journal then stays. The repair never removes a file that is the other path of its
// own move (same device and inode).
Result<std::vector<std::string>> RecoverMoves(const std::string& dir, const std::string& sentDir = {});

// What the keeper sees of a journal left in `dir`.
struct JournalState {
  std::string path;
  bool present = false;
  std::string text;                // as it is on the disk (when it could be read)
  std::optional<Journal> journal;  // nothing: not a whole journal
  Status verdict;                  // whether the repair obeys it, or why not
};
JournalState InspectJournal(const std::string& dir, const std::string& sentDir);
// The state in lines: the file, its directories and moves, and what the repair would do.
std::vector<std::string> DescribeJournal(const JournalState& state);
// Removes the journal of `dir` without touching a file it names.
Status DiscardJournal(const std::string& dir);
// Repairs as RecoverMoves does, whatever directories the journal names (the keeper has seen
// them); its paths must still be absolute and normal, each in one of its directories.
Result<std::vector<std::string>> FinishJournal(const std::string& dir);

// The lock of a directory that holds pool files, taken for one command: waits for another Relicor
// (then kBusyText), repairs what a killed run left (FinishFileSet, RecoverMoves) and, unless `tidy` is off,
// removes stale temporary files of killed runs in it and in the sent directory (which lists the
// whole directory). `repaired` says what was repaired.
struct PoolLock {
  DirectoryLock lock;
  std::vector<std::string> repaired;
  std::string warning;  // why the command goes on without the lock (lockRequired off)
  // The entries of the directory as the look for stale temporary files listed them (those it
  // removed left out): a command that walks the directory under this lock needs no second listing.
  std::optional<std::vector<DirEntry>> listing;
};
enum class Tidy : bool { kNo = false, kYes = true };
struct PoolLockOptions {
  std::chrono::milliseconds wait = kLockWait;
  Tidy tidy = Tidy::kYes;
  std::string sentDir;  // the journal may name it too; its leftovers are removed as well
  // Off (the keeper's --no-lock): a lock that cannot be taken for any reason but another holder
  // is told in `warning`, and the command goes on without it.
  bool lockRequired = true;
  // Called just before the tidy look lists `dir` (the listing the lock hands on).
  std::function<void()> beforeListing;
};
Result<PoolLock> LockPool(const std::string& dir, const PoolLockOptions& options);
Result<PoolLock> LockPool(const std::string& dir, std::chrono::milliseconds wait = kLockWait,
                          Tidy tidy = Tidy::kYes);

// Removes the temporary files that killed runs left in `dir`; what it removed, in words. With
// `listing`, it receives the entries listed, without those removed (nothing when `dir` could not
// be listed).
std::vector<std::string> RemoveLeftovers(const std::string& dir,
                                         std::optional<std::vector<DirEntry>>* listing = nullptr);

}  // namespace relicor
