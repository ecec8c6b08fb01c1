#pragma once
// The session: all state the main window owns for a run (settings, option flags, member list,
// item cache, database, browsing state, the current report) and every menu command as a function
// over it. The GUI and the CLI both drive a Session; nothing here knows about widgets.
//
// Texts: report lines, item names, sidecar values and member names are Windows-1252; paths are the
// file system's own bytes (UTF-8 on Linux). Messages for the keeper (the texts commands return,
// their errors, Notify and Confirm) are UTF-8: paths as they are, Windows-1252 texts converted.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "item/ItemRecord.h"
#include "platform/Clock.h"
#include "platform/Result.h"
#include "platform/Settings.h"
#include "pool/ItemCache.h"
#include "pool/RenameLog.h"
#include "pool/RenameRun.h"
#include "shell/RenameTexts.h"
#include "shell/SenderList.h"
#include "validate/Database.h"
#include "validate/DupeCheck.h"
#include "validate/Findings.h"

namespace relicor {

struct ItemReport;

// The main window's check boxes.
struct OptionFlags {
  bool vkMode = false;          // CBVK
  bool debugFile = true;        // CBDebug (the GUI starts with it on; the CLI turns it off)
  bool additionalInfo = false;  // CBAddInfo
  bool dumpWindow = false;      // CBDumpView
  bool decimalView = false;     // CBDec
  bool noLock = false;          // the keeper's --no-lock: a lock that cannot be taken is told, not fatal
  // The session runs one command and ends: the entries its reads make are not looked at again, so
  // export, publish and the duplicate check ask the files only for what their output needs.
  bool oneCommand = false;
};

// What a front end provides to the session. Every call has a harmless default.
class SessionUi {
 public:
  virtual ~SessionUi() = default;
  // One step of a directory scan (the progress bar goes one up, or back to 0 at its maximum).
  virtual void ProgressStep() {}
  // Sets the progress bar (0-100).
  virtual void ProgressSet(int /*position*/) {}
  // A message for the keeper (information or a warning that does not stop the work).
  virtual void Notify(std::string_view /*message*/) {}
  // A Yes/No question; true for Yes.
  virtual bool Confirm(std::string_view /*question*/) { return false; }
  // The data window.
  virtual void ShowItemDump(const ItemRecord& /*record*/, bool /*decimalView*/) {}
  virtual void HideItemDump() {}
};

// An error naming `directory` when it is longer than a directory setting may be (255 characters).
Status CheckDirectoryLength(const std::string& directory);

// When setting the pool directory repairs what a killed run left there: at once, or at the first
// command's lock of the pool.
enum class PoolRepair : bool { kNow, kAtFirstLock };

class Session {
 public:
  // `programDir` ends with a separator (RELICOR.INI, IDENT.ID and rules.txt live there).
  Session(std::string programDir, const Clock& clock, SessionUi& ui);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Start-up: start time, database, settings, member list. Problems are told through Notify;
  // start-up itself never fails. A pool or sent directory in the settings that is longer than a
  // path may be (255 characters) is told and not used.
  void Start();
  // Finishes or undoes what a killed run left in the pool directory (an interrupted move, stale
  // temporary files) and tells what it repaired. Called by the front ends at start; setting the
  // pool directory does it too. A pool that another Relicor is writing now is left to it; an
  // error when the pool cannot be repaired.
  Status RecoverPool();
  // Shutdown: saves the member list (its changes of this run, into PLAYERS.TXT as it is then; a
  // failure is told, the close goes on) and writes all fifteen settings keys: the keys this run
  // changed with its values, every other one as RELICOR.INI holds it then (its default where the
  // file has none). An error means the settings could not be written ("nach ... kann nicht
  // geschrieben werden"): the caller keeps the program running.
  Status Shutdown();
  // The settings part of the shutdown, at once (the options dialog's OK and Apply): all fifteen
  // keys merged with RELICOR.INI as it is now, the same error.
  Status WriteSettings();

  // Looks at the files the session holds in memory, as every command does before it runs: the item
  // cache checks each cached item against its files (size, time, inode of the item file and of its
  // sidecar, one stat each) at its first load in the command, and reads again what changed;
  // PLAYERS.TXT, IDENT.ID and RELICOR.INI are looked at (one stat each) and read again when another
  // program changed them: the member list and the database keep this run's unsaved changes on top
  // of the file, the options this run did not change take the file's values.
  void CheckFiles();
  // Count the times the member list (also for another pool directory), the database and the
  // options were read again: a window that shows one of them fills itself again when it moved.
  std::uint64_t MembersReadCount() const;
  std::uint64_t DatabaseReadCount() const;
  std::uint64_t OptionsReadCount() const;

  // State.
  const std::string& programDir() const;
  const Clock& clock() const;
  DateTime startTime() const;
  Settings& settings();  // pool and sent directory, subdirectories flag, mail address, HTML options
  OptionFlags& flags();

  // The database (IDENT.ID) for the windows and the command line: its entries by item key,
  // whether the list holds removals not saved yet, taking an entry out of the list (false when
  // there is none), saving the list (Database::Save), and the file's path.
  const std::map<std::string, ItemRecord>& DatabaseEntries() const;
  bool DatabaseModified() const;
  bool RemoveFromDatabase(const std::string& itemKey);
  Status SaveDatabase();
  const std::string& DatabasePath() const;
  // The item record the cache holds for `path`, or nothing.
  std::optional<ItemRecord> CachedRecord(const std::string& path) const;
  bool IsInDatabase(const std::string& itemKey) const;

  // An item file the item cache holds, with its record's item key.
  struct CachedItem {
    std::string path;
    std::string itemKey;
  };
  // Loads the pool directory's whole tree and the sent directory (its subdirectories when the
  // subdirectories flag is on; none when it is not set or does not exist) into the item cache,
  // passing over unreadable files and directories quietly, and gives every item file the cache
  // holds then, sorted by path: the files a rename run would name. An error when the pool is not
  // set or a directory cannot be listed.
  Result<std::vector<CachedItem>> LoadPoolAndSentItems();
  // Loads one item file into the item cache (a file just written there), as the next command
  // would find it.
  Status LoadIntoCache(const std::string& path);

  // Check-box rules: checking "Debugging File" checks "Additional Info"; unchecking
  // "Additional Info" unchecks "Debugging File".
  void SetDebugFile(bool on);
  void SetAdditionalInfo(bool on);

  // Member list (sorted without regard to letter case, duplicates dropped).
  const std::vector<std::string>& Members() const;
  bool AddMember(const std::string& name);     // false when already present or holding a line break
  bool RemoveMember(const std::string& name);  // false when not present
  // The member list's own spelling of `name` (letter case ignored), or nothing.
  std::optional<std::string> FindMember(const std::string& name) const;
  // Saves this run's changes of the member list into PLAYERS.TXT as the file is now (names another
  // run added there stay), under the pool's lock.
  Status SaveMemberList();
  // Adds or removes one name in PLAYERS.TXT at once, under the pool's lock, with the file read
  // again first; the member list then is the file's. An error for a name that is already there
  // (not there), or that cannot be saved.
  Result<std::string> AddMemberToFile(const std::string& name);
  Result<std::string> RemoveMemberFromFile(const std::string& name);

  // Browsing: the current directory and its ITM files (any letter case of the extension,
  // ordinary visible files, sorted by name without regard to letter case).
  // Changing to a directory other than the current one (letter case ignored) re-reads the file
  // list, selects nothing, clears the output and disables sending.
  Status SetCurrentDirectory(const std::string& directory);
  const std::string& currentDirectory() const;
  // Reads the current directory's file list anew (after files were moved or renamed); nothing
  // is selected afterwards.
  Status RereadFileList();
  // Reads the file list anew when the directory changed on disk: the selected file stays
  // selected (its report stays) while it is still there; otherwise nothing is selected and the
  // output is cleared.
  Status RefreshFileList();
  // The current directory's subdirectories (hidden ones left out), from the listing that gave the
  // file list, sorted by name without regard to letter case.
  const std::vector<std::string>& subdirectoryNames() const;
  const std::vector<std::string>& fileNames() const;
  int selectedIndex() const;
  // The file-selection event: clears the output; reports the selected file (index -1: nothing).
  Status SelectFile(int index);
  // Full path of the selected file, or empty.
  std::string SelectedPath() const;
  // "Prepare Item to send" and "Mark as PUBLIC": available while the current directory is the
  // pool directory.
  bool SendingAvailable() const;

  // The item report of one file. `directory` is the one the path is shown against.
  // A file shorter than 400 bytes gives no lines and a Notify; a missing or unreadable file is
  // an error, and so is a path that does not end in ".ITM".
  Status ReportFile(const std::string& path, const std::string& directory);
  const std::vector<std::string>& OutputLines() const;
  StatusColour statusColour() const;
  // The report of the last item reported on the screen (its findings, its status).
  const ItemReport& CurrentReport() const;
  const ItemRecord& CurrentItem() const;

  // Menu commands. Each returns what the keeper is told on success (may be empty).
  // "&Text" / "Start Creation": ITMLIST.TXT in `directory` (default: the current directory).
  Result<std::string> ExportItemList();
  // With `seedCheck`, each report is followed by its seed verdict line ("Seed check: ...").
  Result<std::string> ExportItemList(const std::string& directory, bool seedCheck = false);
  // "St&art creation": the pages in `directory` (default: the current directory).
  Result<std::string> CreatePages();
  Result<std::string> CreatePages(const std::string& directory);
  // The same, saying what it wrote.
  struct PublishSummary {
    std::string directory;     // where the pages are
    std::size_t files = 0;     // files written (stylesheet and pages)
    std::size_t items = 0;     // items on the pages
    std::string entrancePage;  // the entrance page's path
    std::string searchPage;    // the search page's path; empty when the option is off
  };
  // With `seedCheck`, the search page shows each item's seed verdict.
  Result<PublishSummary> PublishPages(const std::string& directory, bool seedCheck = false);
  // "Set &Pool-Directory" / "Set &Sent-Directory": the current directory becomes it. A directory
  // longer than 255 characters is refused (CheckDirectoryLength), never cut. Setting the pool
  // reloads the member list (after saving this run's changes of it into the pool it leaves) and
  // repairs the pool (RecoverPool).
  Status SetPoolDirectoryToCurrent();
  Status SetSentDirectoryToCurrent();
  // kAtFirstLock: the repair is left to the first command's lock of the pool (see Repair in the
  // command line's session).
  Status SetPoolDirectory(const std::string& directory, PoolRepair repair = PoolRepair::kNow);
  Status SetSentDirectory(const std::string& directory);
  // "Check for duplicate items".
  Result<std::string> CheckDuplicates();
  // The same, with what it found (the pairs and the registered dupes).
  Result<DupeCheckResult> RunDuplicateCheck();
  // "Create Senderlist": per sender, the items and points sent in since the day of `since`, over
  // the pool (its subdirectories when the flag is on) and the sent directory (CountSenders), and
  // SENDERS.TXT written in the pool directory.
  Result<SenderList> CreateSenderList(DateTime since);
  // "Quick Sender Assign", "Quick Point Assign", "Quick Date Assign" for `path`.
  Result<std::string> QuickSenderAssign(const std::string& path, const std::string& member);
  Result<std::string> QuickPointAssign(const std::string& path);
  Result<std::string> QuickDateAssign(const std::string& path);
  // "Prepare Item to send".
  Result<std::string> PrepareItemToSend(const std::string& path, const std::string& member);
  // "Start Rename Run": PlanRename, the question (RenameQuestionOf, through Confirm; any answer
  // but Yes ends it with an error of the kind kDeclined and kRenameDeclinedText), RunRename, and the summary
  // (RenameSummaryText). The run renames the files of the pool and the sent directory and every other item
  // file the cache holds. With `yesGiven` (the keeper said Yes on the command line) there is no
  // question: the run looks at the files and renames them under one lock (RenameRunAnswered).
  Result<std::string> RenameRun(bool yesGiven = false);
  // The same, handing the summary of a run that succeeded to `write` in pieces (WriteRenameSummary)
  // rather than whole; a failed run's summary is its error, and nothing is written.
  Status RenameRun(bool yesGiven, const std::function<void(std::string_view)>& write);
  // The steps, for a front end that shows them itself. PlanRename is the dry run: it loads the
  // pool and the sent directory and says what the run would rename, changing nothing.
  Result<RenamePlan> PlanRename();
  // The question for `plan`: which directories, how many files in each.
  std::string RenameQuestionOf(const RenamePlan& plan) const;
  // The run without a question, under the pool's lock and its journal; it writes RENAME.LOG in the
  // pool directory (the program directory when no pool is set) when it renamed anything. Right
  // after PlanRename, while nothing has changed since, it makes the plan's moves.
  Result<RenameRunResult> RunRename();
  // Reverts the last run that RENAME.LOG holds (items whose files changed since are left, and
  // stay in the log), sidecars with their items, under the pool's lock and its journal.
  Result<RenameUndoResult> UndoRename();
  // The directory of the move journal (and the pool's lock): the pool directory, or the program
  // directory when no pool is set.
  std::string JournalDirectory() const;
  // The rename log's directory.
  std::string RenameLogDirectory() const;
  // "&Add to dupe&&hackbase" for `path` (asks through Confirm).
  Result<std::string> AddToDatabase(const std::string& path);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace relicor
