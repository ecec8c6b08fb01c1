#include "shell/Session.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <set>
#include <utility>

#include "html/CreatePages.h"
#include "html/SearchPage.h"
#include "identify/ItemReport.h"
#include "platform/DirectoryLock.h"
#include "platform/FileStamp.h"
#include "platform/FileSystem.h"
#include "pool/LateSidecars.h"
#include "pool/MoveJournal.h"
#include "pool/QuickAssign.h"
#include "pool/RenameRun.h"
#include "pool/ScanDirectory.h"
#include "pool/SendItem.h"
#include "shell/CommandTexts.h"
#include "shell/DebugLog.h"
#include "shell/Members.h"
#include "shell/OutputList.h"
#include "shell/SeedCheck.h"
#include "shell/TextExport.h"
#include "text/ByteText.h"
#include "text/Cp1252.h"
#include "text/Path.h"
#include "validate/DupeCheck.h"

namespace relicor {

struct Session::Impl {
  Impl(std::string dir, const Clock& c, SessionUi& u)
      : programDir(std::move(dir)),
        clock(c),
        ui(u),
        cache(clock),
        database(programDir + kDatabaseFileName),
        debugLog(
            clock, [this] { return flags.debugFile; }, [this] { return settings.pathToPool; },
            [this](const std::string& message) { ui.Notify(message); }) {
    settings = DefaultSettings(programDir);
    cache.SetWarn([this](const std::string& message) { ui.Notify(message); });
  }

  std::string programDir;
  // Pool commands hold it still for their run.
  RunClock clock;
  SessionUi& ui;
  DateTime startTime = 0;
  Settings settings;
  OptionFlags flags;
  ItemCache cache;
  Database database;
  MemberList members;
  // The member list as PLAYERS.TXT held it when it was last read or written: saving applies only
  // this run's changes to the file as it is then.
  MemberList loadedMembers;
  // The settings as this run read them (keys another program changed since are taken over where
  // this run left them as they were): shutdown writes this run's changes only.
  Settings loadedSettings;
  // What PLAYERS.TXT and RELICOR.INI were when they were last read or written.
  FileStamp membersStamp = kUnknownFileStamp;
  FileStamp settingsStamp = kUnknownFileStamp;
  // Counts the times the member list, the database and the options were read again from their files
  // (or the pool changed), for the windows that show them.
  std::uint64_t membersRead = 0;
  std::uint64_t databaseRead = 0;
  std::uint64_t optionsRead = 0;
  DebugLog debugLog;
  // The report of the current item and the output list that shows it.
  ItemReport current;
  std::vector<std::string> outputList;

  std::set<std::string> tidiedDirectories;  // see Lock
  // What the last PlanRename was made from, for the RunRename after it.
  std::shared_ptr<const RenamePlanBasis> renamePlan;
  std::string currentDir;
  std::vector<std::string> fileNames;
  int selectedIndex = -1;
  bool directoryRead = false;

  // What the text-mode reports of an item in `directory` are made from.
  // What the reads of export, publish and the duplicate check ask of the files.
  ItemFileDate ItemDates() const {
    return flags.oneCommand ? ItemFileDate::kOnlyWhereNeeded : ItemFileDate::kRead;
  }

  TextReports TextReportsIn(const std::string& directory) {
    TextReports reports{
        cache, database, {}, [this](const std::string& path) { ui.Notify(NotAnItemText(path)); }, {}};
    // Without the diagnostic file a report's diagnostic lines go nowhere: a run need not hand them over.
    if (flags.debugFile) reports.debugLine = [this](std::string_view line) { debugLog.WriteDebugLine(line); };
    reports.options.debugLines = flags.debugFile;
    reports.options.additionalInfo = flags.additionalInfo;
    reports.options.vkMode = flags.vkMode;
    reports.options.startTime = startTime;
    reports.options.today = clock.Now();
    reports.options.directory = directory;
    return reports;
  }

  // The data window follows the report of an item: its record, or hidden.
  void ShowDump(const ItemEntry& entry) {
    if (flags.dumpWindow) {
      ui.ShowItemDump(entry.Record(), flags.decimalView);
    } else {
      ui.HideItemDump();
    }
  }

  // The report of one file, on the screen.
  Status Report(const std::string& path, const std::string& directory) {
    outputList.clear();
    Status built = ReportItemFile(TextReportsIn(directory), path, nullptr, current);
    if (current.isItem) ShowDump(*cache.CurrentEntry());
    ShowInOutputList(current, outputList);
    return built;
  }

  // The subdirectories of the directory that ReadFileList read last (hidden ones left out).
  std::vector<std::string> listedSubdirectories;
  // The sidecars of the directory that ReadFileList read last, for a run that follows at once.
  std::optional<SidecarListing> listedSidecars;
  // What the lock of the command under way listed of its directory, for the command's own walk.
  std::optional<HeldListing> heldListing;

  static std::string ListedDirectory(const std::string& dir) {
    return dir.empty() ? std::string(1, kPathSeparator) : dir;
  }

  // The listing the lock took a moment ago (`held`) serves when it is of `dir`.
  Result<std::vector<std::string>> ReadFileList(const std::string& dir,
                                                std::optional<HeldListing>* held = nullptr) {
    std::optional<WalkedDirectory> taken = TakeHeldListing(ListedDirectory(dir), held);
    auto entries = taken ? Result<std::vector<DirEntry>>(std::move(*taken->entries))
                         : ListDirectory(ListedDirectory(dir));
    if (!entries) return entries.failure();
    listedSidecars.emplace(*entries);
    // The subdirectories come from the same listing, so the browser needs no second one.
    std::vector<DirEntry> directories;
    for (const DirEntry& entry : *entries) {
      if (entry.isDirectory && !entry.isHidden) directories.push_back(entry);
    }
    SortDirectoryEntries(directories);
    listedSubdirectories.clear();
    listedSubdirectories.reserve(directories.size());
    for (DirEntry& entry : directories) listedSubdirectories.push_back(std::move(entry.name));
    // Only the listed item files are sorted: they keep the order they have among all entries.
    std::erase_if(*entries, [](const DirEntry& entry) {
      return entry.isDirectory || entry.isHidden || !IsItemFileName(entry.name);
    });
    std::vector<std::string> names;
    names.reserve(entries->size());
    for (const std::size_t i : DirectoryOrder(*entries)) names.push_back(std::move((*entries)[i].name));
    return names;
  }

  // The sidecars of `dir` as it is now; nothing when it cannot be listed.
  static std::optional<SidecarListing> ListSidecars(const std::string& dir) {
    auto entries = ListDirectory(ListedDirectory(dir));
    if (!entries) return std::nullopt;
    return SidecarListing(*entries);
  }

  // The directory whose lock and journal a pool command uses: the pool directory, or the program
  // directory when no pool directory is set.
  std::string WorkDirectory() const {
    return settings.pathToPool.empty() ? WithoutTrailingSeparator(programDir) : settings.pathToPool;
  }

  // Takes the lock of `dir` for one command; tells what it repaired.
  // A directory's stale temporary files are looked for at the session's first lock of it (a CLI
  // command's start, the GUI's first command there): each look lists the whole directory, and a
  // pool of 100,000 items is not listed twice for one command. Scans remove those they list too.
  // `beforeListing` is called just before that look lists `dir`.
  Result<PoolLock> Lock(const std::string& dir, std::chrono::milliseconds wait = kLockWait,
                        std::function<void()> beforeListing = {}) {
    PoolLockOptions options;
    options.wait = wait;
    options.beforeListing = std::move(beforeListing);
    options.tidy = tidiedDirectories.count(dir) == 0 ? Tidy::kYes : Tidy::kNo;
    options.sentDir = settings.pathToSent;
    options.lockRequired = !flags.noLock;
    heldListing.reset();
    auto held = LockPool(dir, options);
    if (!held) return held;
    if (held->listing) {
      heldListing.emplace(HeldListing{dir, std::exchange(held->listing, std::nullopt).value()});
      EnsureTrailingBackslash(heldListing->dir);
    }
    BeginCommand();
    tidiedDirectories.insert(dir);
    if (!held->warning.empty()) ui.Notify(held->warning);
    for (const std::string& line : held->repaired) ui.Notify("repaired: " + line);
    return held;
  }

  std::string SettingsFile() const {
    return JoinPath(WithoutTrailingSeparator(programDir), kSettingsFileName);
  }

  FileStamp MembersFileStamp() const {
    return settings.pathToPool.empty() ? kNoFileStamp : StampOfFile(MembersFilePath(settings.pathToPool));
  }

  void ReloadMembers() {
    // The stamp comes first: a file changed while it is read is read again at the next look.
    membersStamp = MembersFileStamp();
    std::string problem;
    LoadMembers(members, settings.pathToPool, &problem);
    if (!problem.empty()) ui.Notify(problem);
    loadedMembers = members;
    ++membersRead;
  }

  bool MemberChangesPending() const { return members.Names() != loadedMembers.Names(); }

  // This run's changes of the member list (against loadedMembers) applied to `onDisk`.
  MemberList WithMemberChanges(MemberList onDisk) const {
    for (const std::string& name : loadedMembers.Names()) {
      if (!members.Contains(name)) onDisk.Remove(name);
    }
    for (const std::string& name : members.Names()) {
      if (!loadedMembers.Contains(name)) onDisk.Add(name);
    }
    return onDisk;
  }

  // Reads PLAYERS.TXT again when another program changed it, keeping this run's unsaved changes.
  bool RefreshMembers() {
    const FileStamp now = MembersFileStamp();
    if (now == membersStamp) return false;
    membersStamp = now;
    MemberList onDisk;
    LoadMembers(onDisk, settings.pathToPool);
    members = WithMemberChanges(onDisk);
    loadedMembers = std::move(onDisk);
    ++membersRead;
    return true;
  }

  // Reads RELICOR.INI again when another program changed it: the options this run did not change
  // take the file's values (the directories, the subdirectories flag and the mail address stay as
  // the run has them until shutdown).
  bool RefreshOptions() {
    const FileStamp now = StampOfFile(SettingsFile());
    if (now == settingsStamp) return false;
    settingsStamp = now;
    const Settings onDisk = LoadSettings(SettingsFile(), programDir);
    const HtmlOptionValues ours = settings.html;
    settings.html = MergeHtmlOptions(ours, loadedSettings.html, onDisk.html);
    // A key left as it was read now is as the file has it; a key this run changed keeps the value
    // it was read with, so it still counts as changed.
    loadedSettings.html = MergeHtmlOptions(loadedSettings.html, ours, onDisk.html);
    ++optionsRead;
    return true;
  }

  // Before a command: the item cache checks each item it is asked for against its files once more
  // (one stat of the item and one of its sidecar, at the first load in the command), and the member
  // list, the database and the options are read again where another program changed their files
  // (one stat each).
  void BeginCommand() {
    cache.NewCommand();
    RefreshMembers();
    if (auto reloaded = database.ReloadIfChanged(); !reloaded) {
      ui.Notify(reloaded.error());
    } else if (*reloaded) {
      ++databaseRead;
    }
    RefreshOptions();
  }

  // Saves this run's changes of the member list (against loadedMembers) into PLAYERS.TXT as it
  // is now, under the pool's lock.
  Status SaveMemberChanges() {
    if (settings.pathToPool.empty()) return MakeError(std::string(kNoPoolDirectoryForMembersText));
    auto held = Lock(settings.pathToPool);
    if (!held) return held.failure();
    MemberList onDisk;
    LoadMembers(onDisk, settings.pathToPool);
    onDisk = WithMemberChanges(std::move(onDisk));
    if (auto saved = SaveMembers(onDisk, settings.pathToPool); !saved) return saved;
    membersStamp = MembersFileStamp();
    members = onDisk;
    loadedMembers = onDisk;
    return {};
  }

  RenameRunOptions RenameOptions();
  // The rename run for a Yes given on the command line (RenameRunAnswered), under one lock.
  Result<RenameRunResult> RenameAnswered();
  // The run of RenameRun, its question asked unless `yesGiven`.
  Result<RenameRunResult> RenameRunOrAsk(Session& session, bool yesGiven);
  // The file-selection event without the look at the files first (a run of them).
  Status Select(int index);
  // Reads the file list of `directory` unless it is the current one already read.
  Status ChangeDirectory(const std::string& directory, std::optional<HeldListing>* held = nullptr);

  std::string PathOf(int index) const {
    if (index < 0 || index >= static_cast<int>(fileNames.size())) return {};
    return JoinPath(currentDir == std::string(1, kPathSeparator) ? "" : currentDir,
                    fileNames[static_cast<std::size_t>(index)]);
  }
};

Session::Session(std::string programDir, const Clock& clock, SessionUi& ui)
    : impl_(std::make_unique<Impl>(std::move(programDir), clock, ui)) {}

Session::~Session() = default;

void Session::Start() {
  Impl& s = *impl_;
  s.startTime = s.clock.Now();
  if (auto loaded = s.database.Load(); !loaded) s.ui.Notify(loaded.error());
  const std::string iniPath = s.SettingsFile();
  s.settingsStamp = StampOfFile(iniPath);
  std::string problem;
  s.settings = LoadSettings(iniPath, s.programDir, &problem);
  if (!problem.empty()) s.ui.Notify(problem);
  s.loadedSettings = s.settings;
  // A directory that does not fit is never used shortened: it would name another directory.
  for (auto [key, dir] :
       {std::pair{"PathToPool", &s.settings.pathToPool}, std::pair{"PathToSent", &s.settings.pathToSent}}) {
    if (auto fits = CheckDirectoryLength(*dir); !fits) {
      s.ui.Notify(std::string(key) + " in " + iniPath + ": " + fits.error() + "; not used");
      dir->clear();
    }
  }
  s.ReloadMembers();
  // Temporary files a killed run left beside RELICOR.INI and IDENT.ID, under that directory's lock;
  // when another Relicor holds it, they wait for the next start.
  const std::string home = WithoutTrailingSeparator(s.programDir);
  if (auto held = DirectoryLock::Acquire(home, std::chrono::milliseconds(0)); held && held->held()) {
    for (const std::string& line : RemoveLeftovers(home)) s.ui.Notify("repaired: " + line);
  }
}

std::string Session::JournalDirectory() const {
  return impl_->WorkDirectory();
}

Status Session::RecoverPool() {
  Impl& s = *impl_;
  if (s.settings.pathToPool.empty() || !DirectoryExists(s.settings.pathToPool)) return {};
  // Only a pool that nobody writes now: a journal another Relicor holds the lock for is its own,
  // live one; the next command that takes the lock repairs whatever that run leaves.
  auto held = s.Lock(s.settings.pathToPool, std::chrono::milliseconds(0));
  if (!held && held.kind() == ErrorKind::kLockBusy) return {};
  if (!held) return held.failure();
  return {};
}

Status Session::SaveMemberList() {
  return impl_->SaveMemberChanges();
}

Status Session::Shutdown() {
  Impl& s = *impl_;
  if (auto saved = s.SaveMemberChanges(); !saved) s.ui.Notify(saved.error());
  return WriteSettings();
}

Status Session::WriteSettings() {
  Impl& s = *impl_;
  const std::string iniPath = s.SettingsFile();
  auto held = DirectoryLock::Acquire(WithoutTrailingSeparator(s.programDir));
  if (!held) return held.failure();
  // Every key is written: this run's value where the run changed it, otherwise the file's value as
  // it is now (another program may have changed it), or the default where the file has none.
  const Settings onDisk = LoadSettings(iniPath, s.programDir);
  const Settings merged = MergeSettings(s.settings, s.loadedSettings, onDisk);
  if (auto saved = SaveSettings(iniPath, merged); !saved) return saved;
  s.settings = merged;
  s.loadedSettings = merged;
  s.settingsStamp = StampOfFile(iniPath);
  return {};
}

void Session::CheckFiles() {
  impl_->BeginCommand();
}

std::uint64_t Session::MembersReadCount() const {
  return impl_->membersRead;
}
std::uint64_t Session::DatabaseReadCount() const {
  return impl_->databaseRead;
}
std::uint64_t Session::OptionsReadCount() const {
  return impl_->optionsRead;
}

const std::string& Session::programDir() const {
  return impl_->programDir;
}
const Clock& Session::clock() const {
  return impl_->clock;
}
DateTime Session::startTime() const {
  return impl_->startTime;
}
Settings& Session::settings() {
  return impl_->settings;
}
OptionFlags& Session::flags() {
  return impl_->flags;
}
const std::map<std::string, ItemRecord>& Session::DatabaseEntries() const {
  return impl_->database.entries();
}
bool Session::DatabaseModified() const {
  return impl_->database.modified();
}
bool Session::RemoveFromDatabase(const std::string& itemKey) {
  return impl_->database.Remove(itemKey);
}
Status Session::SaveDatabase() {
  return impl_->database.Save();
}
const std::string& Session::DatabasePath() const {
  return impl_->database.filePath();
}
std::optional<ItemRecord> Session::CachedRecord(const std::string& path) const {
  const ItemEntry* entry = impl_->cache.Find(path);
  if (entry == nullptr) return std::nullopt;
  return entry->Record();
}
bool Session::IsInDatabase(const std::string& itemKey) const {
  return impl_->database.IsRegistered(itemKey);
}

Result<std::vector<Session::CachedItem>> Session::LoadPoolAndSentItems() {
  Impl& s = *impl_;
  const std::string pool = WithoutTrailingSeparator(s.settings.pathToPool);
  if (pool.empty()) return MakeError(std::string(kNoPoolDirectoryText));
  ScanOptions scan;
  scan.recursive = true;
  scan.unreadable = [](const std::string&) {};
  scan.skippedDirectory = [](const std::string&) {};
  if (auto scanned = ScanDirectory(s.cache, pool, scan, nullptr); !scanned) return scanned.failure();
  const std::string sent = WithoutTrailingSeparator(s.settings.pathToSent);
  if (!sent.empty() && DirectoryExists(sent)) {
    ScanOptions sentScan = scan;
    sentScan.recursive = s.settings.htmlScanSub;
    if (auto scanned = ScanDirectory(s.cache, sent, sentScan, nullptr); !scanned) return scanned.failure();
  }
  std::vector<CachedItem> items;
  for (std::string& path : s.cache.Paths()) {
    const ItemEntry* entry = s.cache.Find(path);
    std::string key = entry != nullptr ? entry->Record().ItemKey() : std::string();
    items.push_back({std::move(path), std::move(key)});
  }
  return items;
}

Status Session::LoadIntoCache(const std::string& path) {
  auto loaded = impl_->cache.LoadItem(path);
  if (!loaded) return loaded.failure();
  return {};
}

void Session::SetDebugFile(bool on) {
  impl_->flags.debugFile = on;
  if (on) impl_->flags.additionalInfo = true;
}

void Session::SetAdditionalInfo(bool on) {
  impl_->flags.additionalInfo = on;
  if (!on) impl_->flags.debugFile = false;
}

const std::vector<std::string>& Session::Members() const {
  return impl_->members.Names();
}
bool Session::AddMember(const std::string& name) {
  // A line break would make two names of one in PLAYERS.TXT.
  if (name.find_first_of("\r\n") != std::string::npos) return false;
  return impl_->members.Add(name);
}
bool Session::RemoveMember(const std::string& name) {
  return impl_->members.Remove(name);
}

Result<std::string> Session::AddMemberToFile(const std::string& name) {
  Impl& s = *impl_;
  const std::string& poolDir = s.settings.pathToPool;
  if (poolDir.empty()) return MakeError(std::string(kNoPoolDirectoryForMembersText));
  if (name.empty()) return MakeError("a member name must not be empty");
  if (name.find_first_of("\r\n") != std::string::npos) return MakeError("a member name must be one line");
  auto held = s.Lock(poolDir);
  if (!held) return held.failure();
  s.ReloadMembers();
  if (!s.members.Add(name))
    return MakeError(Cp1252ToUtf8(name) + " is already in the member list " + MembersFilePath(poolDir));
  if (auto saved = SaveMembers(s.members, poolDir); !saved) {
    s.members = s.loadedMembers;
    return saved.failure();
  }
  s.loadedMembers = s.members;
  return "added " + Cp1252ToUtf8(name) + " to " + MembersFilePath(poolDir);
}

Result<std::string> Session::RemoveMemberFromFile(const std::string& name) {
  Impl& s = *impl_;
  const std::string& poolDir = s.settings.pathToPool;
  if (poolDir.empty()) return MakeError(std::string(kNoPoolDirectoryForMembersText));
  auto held = s.Lock(poolDir);
  if (!held) return held.failure();
  s.ReloadMembers();
  if (!s.members.Remove(name))
    return MakeError(Cp1252ToUtf8(name) + " is not in the member list " + MembersFilePath(poolDir));
  if (auto saved = SaveMembers(s.members, poolDir); !saved) {
    s.members = s.loadedMembers;
    return saved.failure();
  }
  s.loadedMembers = s.members;
  return "removed " + Cp1252ToUtf8(name) + " from " + MembersFilePath(poolDir);
}

std::optional<std::string> Session::FindMember(const std::string& name) const {
  const std::string* found = impl_->members.Find(name);
  if (found == nullptr) return std::nullopt;
  return *found;
}

Status Session::SetCurrentDirectory(const std::string& directory) {
  return impl_->ChangeDirectory(directory);
}

Status Session::Impl::ChangeDirectory(const std::string& directory, std::optional<HeldListing>* held) {
  Impl& s = *this;
  const std::string dir = WithoutTrailingSeparator(directory);
  if (s.directoryRead && dir == s.currentDir) return {};
  auto names = s.ReadFileList(dir, held);
  if (!names) return names.failure();
  s.currentDir = dir;
  s.fileNames = std::move(*names);
  s.directoryRead = true;
  s.selectedIndex = -1;
  s.outputList.clear();
  return {};
}

const std::string& Session::currentDirectory() const {
  return impl_->currentDir;
}

Status Session::RereadFileList() {
  Impl& s = *impl_;
  if (!s.directoryRead) return {};
  auto names = s.ReadFileList(s.currentDir);
  if (!names) return names.failure();
  s.fileNames = std::move(*names);
  s.selectedIndex = -1;
  s.outputList.clear();
  return {};
}

Status Session::RefreshFileList() {
  Impl& s = *impl_;
  if (!s.directoryRead) return {};
  auto names = s.ReadFileList(s.currentDir);
  if (!names) return names.failure();
  std::string selected;
  if (s.selectedIndex >= 0) selected = s.fileNames[static_cast<std::size_t>(s.selectedIndex)];
  s.fileNames = std::move(*names);
  s.selectedIndex = -1;
  if (!selected.empty()) {
    const auto found = std::find(s.fileNames.begin(), s.fileNames.end(), selected);
    if (found != s.fileNames.end()) s.selectedIndex = static_cast<int>(found - s.fileNames.begin());
  }
  if (s.selectedIndex < 0) s.outputList.clear();
  return {};
}

const std::vector<std::string>& Session::subdirectoryNames() const {
  return impl_->listedSubdirectories;
}

const std::vector<std::string>& Session::fileNames() const {
  return impl_->fileNames;
}
int Session::selectedIndex() const {
  return impl_->selectedIndex;
}

Status Session::SelectFile(int index) {
  impl_->BeginCommand();
  return impl_->Select(index);
}

Status Session::Impl::Select(int index) {
  Impl& s = *this;
  s.outputList.clear();
  s.selectedIndex = (index >= 0 && index < static_cast<int>(s.fileNames.size())) ? index : -1;
  if (s.selectedIndex < 0) return {};
  return s.Report(s.PathOf(s.selectedIndex), s.currentDir);
}

std::string Session::SelectedPath() const {
  return impl_->PathOf(impl_->selectedIndex);
}

bool Session::SendingAvailable() const {
  const Impl& s = *impl_;
  return s.directoryRead && !s.settings.pathToPool.empty() &&
         s.currentDir == WithoutTrailingSeparator(s.settings.pathToPool);
}

Status Session::ReportFile(const std::string& path, const std::string& directory) {
  // Its sidecar would be named by another rule than an item file's.
  if (!HasItemExtension(path)) return MakeError(NotItemFileNameText(path));
  impl_->cache.NewCommand();
  return impl_->Report(path, directory);
}

const std::vector<std::string>& Session::OutputLines() const {
  return impl_->outputList;
}
StatusColour Session::statusColour() const {
  return impl_->current.status;
}
const ItemReport& Session::CurrentReport() const {
  return impl_->current;
}
const ItemRecord& Session::CurrentItem() const {
  return impl_->cache.CurrentItem();
}

Result<std::string> Session::ExportItemList() {
  return ExportItemList(impl_->currentDir);
}

Result<std::string> Session::ExportItemList(const std::string& directory, bool seedCheck) {
  Impl& s = *impl_;
  s.listedSidecars.reset();
  auto held = s.Lock(WithoutTrailingSeparator(directory));
  if (!held) return held.failure();
  const RunClock::Hold clockStill(s.clock);
  const Status changed = s.ChangeDirectory(directory, &s.heldListing);
  s.heldListing.reset();
  if (!changed) return changed.failure();
  // Which items have a sidecar: from the listing just read, or (for a list read earlier) anew.
  std::optional<SidecarListing> sidecars = std::exchange(s.listedSidecars, std::nullopt);
  if (!sidecars) sidecars = Impl::ListSidecars(s.currentDir);
  const TextExportRun run{s.currentDir == std::string(1, kPathSeparator) ? std::string() : s.currentDir,
                          s.fileNames,
                          sidecars ? &*sidecars : nullptr,
                          seedCheck,
                          [&s](int percent) { s.ui.ProgressSet(percent); },
                          s.ItemDates()};
  TextExportEnd end;
  auto written = WriteTextExport(s.TextReportsIn(s.currentDir), run, s.current, end);
  s.ui.ProgressSet(0);
  if (!end.began) return written;  // nothing was selected or reported
  // The last file reported stays selected, its report on the screen, as after selecting it.
  s.selectedIndex = end.selected;
  if (end.lastItem != nullptr) s.ShowDump(*end.lastItem);
  if (end.selected >= 0) ShowInOutputList(s.current, s.outputList);
  return written;
}

Result<std::string> Session::CreatePages() {
  return CreatePages(impl_->currentDir);
}

Result<std::string> Session::CreatePages(const std::string& directory) {
  auto summary = PublishPages(directory);
  if (!summary) return summary.failure();
  return PagesWrittenText(summary->files, summary->items, summary->entrancePage);
}

Result<Session::PublishSummary> Session::PublishPages(const std::string& directory, bool seedCheck) {
  Impl& s = *impl_;
  const std::string outputDir = WithoutTrailingSeparator(directory);
  auto held = s.Lock(outputDir);
  if (!held) return held.failure();
  const RunClock::Hold clockStill(s.clock);
  const std::string sentDir = s.settings.pathToSent;
  const std::string poolDir = s.settings.pathToPool;
  const std::string programDir = s.programDir;
  PublishReports reports(s.cache, s.database, s.clock);
  reports.options.additionalInfo = s.flags.additionalInfo;
  reports.options.vkMode = s.flags.vkMode;
  reports.options.startTime = s.startTime;
  reports.mailAddress = s.settings.mailAddress;
  reports.debugLine = [&s](std::string_view line) { s.debugLog.WriteDebugLine(line); };
  reports.options.debugLines = s.flags.debugFile;
  PublishContext ctx{reports,
                     s.settings.html,
                     outputDir,
                     s.settings.htmlScanSub,
                     sentDir,
                     poolDir,
                     programDir,
                     s.members.Names(),
                     [&s](std::string_view, std::size_t done, std::size_t total) {
                       if (total == 0) {
                         s.ui.ProgressStep();
                       } else {
                         s.ui.ProgressSet(static_cast<int>(done * 100 / total));
                       }
                     },
                     [&s](const std::string& path) { s.ui.Notify(NotAnItemText(path)); },
                     [&s](const std::string& reason) { s.ui.Notify(reason); },
                     [&s](const std::string& reason) { s.ui.Notify(reason); }};
  if (seedCheck) ctx.seedVerdict = [](const ItemRecord& record) { return SeedCheckLine(record); };
  ctx.heldListing = &s.heldListing;
  ctx.itemDates = s.ItemDates();
  auto summary = relicor::CreatePages(ctx);
  s.heldListing.reset();
  s.ui.ProgressSet(0);
  if (!summary) return summary.failure();
  const std::string searchPage =
      s.settings.html.searchPage ? JoinPath(outputDir, SearchPageFileName(s.settings.html)) : std::string();
  return PublishSummary{outputDir, summary->files.size(), summary->itemCount,
                        summary->files.empty() ? outputDir : summary->files.back(), searchPage};
}

Status CheckDirectoryLength(const std::string& directory) {
  if (directory.size() <= kTextCapacity) return {};
  return MakeError("the path is longer than " + std::to_string(kTextCapacity) + " characters: " + directory);
}

Status Session::SetPoolDirectoryToCurrent() {
  return SetPoolDirectory(impl_->currentDir);
}
Status Session::SetSentDirectoryToCurrent() {
  return SetSentDirectory(impl_->currentDir);
}

Status Session::SetPoolDirectory(const std::string& directory, PoolRepair repair) {
  Impl& s = *impl_;
  if (auto fits = CheckDirectoryLength(directory); !fits) return fits;
  // The member list's changes of this run belong to the pool they were made in: they are saved
  // there before the other pool's list is read (a failure is told; the change goes on).
  if (s.MemberChangesPending() && !s.settings.pathToPool.empty() && directory != s.settings.pathToPool) {
    if (auto saved = s.SaveMemberChanges(); !saved) s.ui.Notify(saved.error());
  }
  s.settings.pathToPool = directory;
  s.ReloadMembers();
  return repair == PoolRepair::kNow ? RecoverPool() : Status{};
}

Status Session::SetSentDirectory(const std::string& directory) {
  if (auto fits = CheckDirectoryLength(directory); !fits) return fits;
  impl_->settings.pathToSent = directory;
  return {};
}

Result<std::string> Session::CheckDuplicates() {
  auto result = RunDuplicateCheck();
  if (!result) return result.failure();
  return result->message;
}

Result<DupeCheckResult> Session::RunDuplicateCheck() {
  Impl& s = *impl_;
  if (s.settings.pathToPool.empty()) return MakeError(std::string(kNoPoolDirectoryText));
  auto held = s.Lock(s.settings.pathToPool);
  if (!held) return held.failure();
  const RunClock::Hold clockStill(s.clock);
  auto result = CheckForDuplicateItems(
      s.cache, s.database, s.settings.pathToPool, s.settings.pathToSent, s.settings.htmlScanSub, s.clock,
      [&s] { s.ui.ProgressStep(); }, [&s](const std::string& message) { s.ui.Notify(message); },
      &s.heldListing, s.ItemDates());
  s.heldListing.reset();
  s.ui.ProgressSet(0);
  return result;
}

Result<SenderList> Session::CreateSenderList(DateTime since) {
  Impl& s = *impl_;
  if (s.settings.pathToPool.empty()) return MakeError(std::string(kNoPoolDirectoryText));
  auto held = s.Lock(s.settings.pathToPool);
  if (!held) return held.failure();
  const RunClock::Hold clockStill(s.clock);
  SenderScan scan;
  scan.poolDir = s.settings.pathToPool;
  scan.sentDir = s.settings.pathToSent;
  scan.subdirectories = s.settings.htmlScanSub;
  scan.since = since;
  scan.members = Members();
  scan.progressStep = [&s] { s.ui.ProgressStep(); };
  scan.warn = [&s](const std::string& message) { s.ui.Notify(message); };
  auto list = CountSenders(s.cache, scan);
  s.ui.ProgressSet(0);
  if (!list) return list;
  if (auto written = WriteSenderList(*list, s.settings.pathToPool, s.clock.Now()); !written)
    return written.failure();
  return list;
}

Result<std::string> Session::QuickSenderAssign(const std::string& path, const std::string& member) {
  if (path.empty()) return std::string();
  auto held = impl_->Lock(impl_->WorkDirectory());
  if (!held) return held.failure();
  return AssignSummaryText(relicor::QuickSenderAssign(impl_->cache, path, member));
}

Result<std::string> Session::QuickPointAssign(const std::string& path) {
  if (path.empty()) return std::string();
  auto held = impl_->Lock(impl_->WorkDirectory());
  if (!held) return held.failure();
  return AssignSummaryText(relicor::QuickPointAssign(impl_->cache, impl_->clock, path));
}

Result<std::string> Session::QuickDateAssign(const std::string& path) {
  if (path.empty()) return std::string();
  auto held = impl_->Lock(impl_->WorkDirectory());
  if (!held) return held.failure();
  return AssignSummaryText(relicor::QuickDateAssign(impl_->cache, impl_->clock, path));
}

Result<std::string> Session::PrepareItemToSend(const std::string& path, const std::string& member) {
  Impl& s = *impl_;
  if (path.empty() || member.empty()) return std::string();
  auto held = s.Lock(s.WorkDirectory());
  if (!held) return held.failure();
  auto result =
      relicor::PrepareItemToSend(s.cache, s.clock, path, member, s.settings.pathToSent, s.WorkDirectory());
  if (!result) return result.failure();
  switch (result->outcome) {
    case SendOutcome::kSent:
      return SentText(*result);
    case SendOutcome::kNothingSelected:
      return std::string();  // nothing selected: nothing happens
    case SendOutcome::kNotAnItem:
      return MakeError(NotAnItemText(path));
  }
  return std::string();
}

RenameRunOptions Session::Impl::RenameOptions() {
  RenameRunOptions options;
  options.poolDir = settings.pathToPool;
  options.sentDir = settings.pathToSent;
  options.subdirectories = settings.htmlScanSub;
  options.journalDir = WorkDirectory();
  options.logDir = WorkDirectory();
  options.runTime = clock.Now();
  options.confirm = [] { return true; };
  options.scanStep = [this] { ui.ProgressStep(); };
  options.skippedDirectory = [this](const std::string& reason) { ui.Notify(reason); };
  options.progress = [this](std::size_t position, std::size_t maximum) {
    ui.ProgressSet(maximum > 0 ? static_cast<int>(position * 100 / maximum) : 0);
  };
  return options;
}

Result<RenamePlan> Session::PlanRename() {
  Impl& s = *impl_;
  // The scan runs under the lock, so a send or another rename cannot move a listed file away
  // before it is read; the lock is let go again before the keeper is asked.
  auto held = s.Lock(s.WorkDirectory());
  if (!held) return held.failure();
  const RunClock::Hold clockStill(s.clock);
  s.renamePlan.reset();
  auto plan = PlanRenameRun(s.cache, s.RenameOptions());
  if (plan) s.renamePlan = plan->basis;
  s.ui.ProgressSet(0);
  return plan;
}

std::string Session::RenameQuestionOf(const RenamePlan& plan) const {
  return RenameQuestion(impl_->settings.pathToPool, impl_->settings.pathToSent, plan);
}

std::string Session::RenameLogDirectory() const {
  return impl_->WorkDirectory();
}

Result<RenameRunResult> Session::RunRename() {
  Impl& s = *impl_;
  auto held = s.Lock(s.WorkDirectory());
  if (!held) return held.failure();
  const RunClock::Hold clockStill(s.clock);
  const std::shared_ptr<const RenamePlanBasis> plan = std::exchange(s.renamePlan, nullptr);
  auto result = StartRenameRun(s.cache, s.RenameOptions(), plan.get());
  s.ui.ProgressSet(0);
  return result;
}

Result<RenameUndoResult> Session::UndoRename() {
  Impl& s = *impl_;
  auto held = s.Lock(s.WorkDirectory());
  if (!held) return held.failure();
  return UndoRenameRun(s.cache, s.WorkDirectory(), s.WorkDirectory());
}

Result<RenameRunResult> Session::Impl::RenameAnswered() {
  // The run takes the listing of the lock's look for stale temporary files, if there is one, and
  // the names that come after it are told to its look for late sidecars: it is watching from
  // before that listing.
  LateSidecarLook late;
  auto held = Lock(WorkDirectory(), kLockWait, [&] {
    late.WatchBeforeListing(settings.pathToPool);
    late.WatchBeforeListing(settings.pathToSent);
  });
  if (!held) return held.failure();
  const RunClock::Hold clockStill(clock);
  renamePlan.reset();
  RenameRunOptions options = RenameOptions();
  options.held = &heldListing;
  options.lateSidecars = &late;
  if (flags.oneCommand) {
    // Nothing looks at the entries after the run: no sidecar identities, no key list, no moved items.
    options.itemDates = ItemFileDate::kReadSidecarUnstamped;
    cache.ForgetMovedItems();
    cache.KeepOnlyNamesAndKeys();
  }
  auto result = RenameRunAnswered(cache, options);
  heldListing.reset();
  ui.ProgressSet(0);
  return result;
}

Result<RenameRunResult> Session::Impl::RenameRunOrAsk(Session& session, bool yesGiven) {
  if (yesGiven) return RenameAnswered();
  // The keeper is asked between the plan and the run, holding no lock: no other Relicor waits on
  // an open question.
  auto plan = session.PlanRename();
  if (!plan) return plan.failure();
  if (!ui.Confirm(session.RenameQuestionOf(*plan)))
    return MakeError(ErrorKind::kDeclined, std::string(kRenameDeclinedText));
  return session.RunRename();
}

namespace {

// A file that kept its name against the run's will is a failure of the run.
bool RenameRunFailed(const RenameRunResult& result) {
  return !result.failed.empty() || !result.logError.empty();
}

}  // namespace

Result<std::string> Session::RenameRun(bool yesGiven) {
  Result<RenameRunResult> result = impl_->RenameRunOrAsk(*this, yesGiven);
  if (!result) return result.failure();
  std::string text = RenameSummaryText(*result);
  const bool failed = RenameRunFailed(*result);
  // The summary names every rename: it is handed on without a copy, and the run's own list goes.
  result = RenameRunResult();
  if (failed) return MakeError(std::move(text));
  return text;
}

Status Session::RenameRun(bool yesGiven, const std::function<void(std::string_view)>& write) {
  const Result<RenameRunResult> result = impl_->RenameRunOrAsk(*this, yesGiven);
  if (!result) return result.failure();
  if (RenameRunFailed(*result)) return MakeError(RenameSummaryText(*result));
  WriteRenameSummary(*result, write);
  return {};
}

Result<std::string> Session::AddToDatabase(const std::string& path) {
  Impl& s = *impl_;
  if (!s.ui.Confirm(kAddItemQuestion)) return std::string();
  if (path.empty()) return std::string();
  if (!HasItemExtension(path)) return MakeError(NotItemFileNameText(path));
  s.BeginCommand();
  auto loaded = s.cache.LoadItem(path);
  if (!loaded) return loaded.failure();
  if (*loaded == LoadStatus::kNotAnItem) return MakeError(NotAnItemText(path));
  auto added = s.database.AddRecord(s.cache.CurrentItem());
  if (!added) return added.failure();
  if (!*added) return AlreadyInDatabase();
  return AddedToDatabaseText(s.cache.CurrentItem().ItemKey(), s.database.filePath());
}

}  // namespace relicor
