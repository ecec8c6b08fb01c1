#pragma once
// The main window: the directory and file browser, the output list, the option check boxes, the
// status panel and every command of the menu. It owns the session and the other windows; it shows
// the session's state and forwards every event to it.

#include <QMainWindow>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"
#include "shell/Session.h"

class QAction;
class QPushButton;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QFileSystemWatcher;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QProgressBar;
class QProgressDialog;
class QSplitter;
class QTimer;
class QTreeWidget;

namespace relicor {

class Ini;
class DatabaseWindow;
class ElidedLabel;
class ItemDumpWindow;
class LanguageSwitcher;
class MembersWindow;
class PublishOptionsDialog;
class SenderListWindow;

// The maintainer's address that the note names.
inline constexpr std::string_view kMaintainerAddress = "relicor-bugs@example.org";

// The window's own keys in RELICOR.INI, beside the settings.
inline constexpr std::string_view kWindowLeftKey = "WindowLeft";
inline constexpr std::string_view kWindowTopKey = "WindowTop";
inline constexpr std::string_view kWindowWidthKey = "WindowWidth";
inline constexpr std::string_view kWindowHeightKey = "WindowHeight";
inline constexpr std::string_view kWindowMaximizedKey = "WindowMaximized";
inline constexpr std::string_view kFileListWidthKey = "FileListWidth";
inline constexpr std::size_t kWindowKeyCount = 6;
// The recent pools, newest first: RecentPool1 ... RecentPool8 (an empty value ends the list).
inline constexpr std::string_view kRecentPoolKeyPrefix = "RecentPool";
inline constexpr int kRecentPoolCount = 8;

class MainWindow : public QMainWindow, public SessionUi {
  Q_OBJECT

 public:
  // Start-up: runs the creation handler (the session's start), then creates the data window, the
  // Members window, the database window and the options dialog, all hidden.
  MainWindow(std::string programDir, const Clock& clock, QWidget* parent = nullptr);
  ~MainWindow() override;

  Session& session() { return *session_; }
  ItemDumpWindow* dataWindow() const { return itemDumpWindow_; }
  MembersWindow* membersWindow() const { return membersWindow_; }
  DatabaseWindow* databaseWindow() const { return databaseWindow_; }
  PublishOptionsDialog* optionsDialog() const { return optionsDialog_; }
  // The sender list's window, once "Create Senderlist" made one.
  SenderListWindow* senderListWindow() const { return senderListWindow_; }

  // The directory list's change of directory (a double-click, a drive, a command).
  void ChangeDirectory(const QString& directory);
  // Opens the directory of the first of `paths` with that file selected (a directory opens
  // itself): the files the program was started with.
  void OpenPaths(const QStringList& paths);
  // Reads the current directory again; the selected file stays selected while it is there. F5,
  // and on its own shortly after the directory changed on disk.
  void RefreshFileList();
  // "Open Pool…": asks for a directory through `chooser` (the desktop's directory dialog unless a
  // test gives another; an empty answer changes nothing).
  void SetDirectoryChooser(std::function<QString(const QString& start)> chooser);
  // Puts the window where and as large as it was at the last close (RELICOR.INI), kept on a screen
  // that is there now, and the file list as wide. False when no place was kept or it lies on no
  // screen: the caller places the window.
  bool RestoreWindowState();
  // Copies dropped ITM files into the current directory (never replacing a file) and says what
  // was copied.
  void CopyItemFilesIn(const QStringList& paths);
  // Imports the items of save games into the pool: lists them in the import dialog, imports
  // what the keeper checks and says what came in.
  void ImportSavesIn(const QStringList& paths);

  // SessionUi.
  void ProgressStep() override;
  void ProgressSet(int position) override;
  void Notify(std::string_view message) override;
  bool Confirm(std::string_view question) override;
  void ShowItemDump(const ItemRecord& record, bool decimalView) override;
  void HideItemDump() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class BusyScope;
  // The data role that holds a drive's or a directory's path.
  static constexpr int kPathRole = Qt::UserRole;

  void BuildMenu();
  void BuildControls();
  QAction* AddCommand(QMenu* menu, const char* name, const QString& caption, void (MainWindow::*handler)());

  // The show handler's move to the pool directory.
  void EnterPoolDirectory();
  void FileSelected(int row);
  // The name of the selected file, or empty.
  std::string SelectedName() const;
  // Selects `name` in the current directory and reports it as it now is; nothing is selected
  // when it is not there. Every command ends with it, so the screen shows the item it left.
  void ShowFile(const std::string& name);
  // The verdict of the selected item as one judgement (the seed check with the report's
  // findings); empty while nothing is selected.
  QString Judgement();
  // Reads the file list of the current directory again, after commands that move or rename files.
  void RereadFileList();
  // Watches the current directory (and only it) for changes.
  void WatchCurrentDirectory();
  // Looks at the files the session holds (another program may have changed them) and brings the
  // windows that show them in line: on activation, and when the pool or program directory changes.
  void CheckFiles();
  // Fills the Members window, the database window and the options dialog again where the session
  // read their data again.
  void SyncWindows();
  // Watches the pool and the program directory.
  void WatchHomeDirectories();
  // A message for the keeper that needs no answer, in the status bar.
  void ShowStatusMessage(const QString& text);

  // Brings every control in line with the session.
  void Sync();
  void SyncDirectory();
  void SyncFiles();
  void SyncOutput();
  void SyncStatus();
  void SyncFlags();
  void SyncCommands();
  // The pool and its item count in the title and the status bar.
  void SyncPool();
  // Keeps the window's place, size and file list width in RELICOR.INI (at the close).
  void SaveWindowState();
  std::string SettingsFilePath() const;
  std::optional<qsizetype> PoolItemCount();
  void FillDrives();

  // How a command runs: a long one takes no input while it runs but keeps the window painted; one
  // that tells its result shows its success text. Errors are always shown. Afterwards the file
  // that was selected is selected again (when it is still there) and shown as it now is.
  // Returns the success text, or nothing when the command failed (or could not start).
  enum CommandTrait : unsigned { kShort = 0, kLong = 1, kTellsResult = 4 };
  // A long command can be cancelled; `busyText` says what it does while it runs.
  std::optional<std::string> RunCommand(const std::function<Result<std::string>()>& command, unsigned traits,
                                        const QString& busyText = {});
  // Mirrors the progress bar in the progress dialog; ends the command when the keeper cancelled.
  void FollowProgress();
  // The rename run's steps: the question (No on Return), the run, what it did with the offer to
  // undo it; and the undo.
  void UndoRenameRun();
  // A quick assign command on the selected file.
  void RunAssign(const std::function<Result<std::string>(const std::string&)>& assign);
  std::optional<std::string> SelectedMemberName() const;
  // Opens a published page in the browser.
  void OpenPage(const QString& page);

  // The desktop's directory dialog (or the test's chooser); empty when cancelled.
  QString ChooseDirectory(const QString& title, const QString& start);
  // Makes `directory` the pool and shows it; an error is told.
  void OpenPool(const QString& directory);
  // The recent pools: read from RELICOR.INI at the start, the pool in use first, written at the
  // close beside the window's place.
  void LoadRecentPools();
  void RememberPool();
  void FillRecentPools();
  void PutRecentPools(Ini& ini) const;
  // The file list's empty state: what to do when it lists no item.
  void BuildEmptyState();
  void SyncEmptyState();

  // Menu handlers.
  void OnOpenPool();
  void OnChooseSentDir();
  void OnAbout();
  void OnOptions();
  void OnImportSave();
  void OnExit();
  void OnTextCreate();
  void OnSetPoolDir();
  void OnSetSentDir();
  void OnSubdirectories();
  void OnStartCreate();
  void OnMembers();
  void OnQuickSender();
  void OnQuickPoint();
  void OnQuickDate();
  void OnMarkPublic();
  void OnMarkClanOnly();
  void OnPrepareSend();
  void OnCreateSenderlist();
  void OnCheckDuplicates();
  void OnRenameRun();
  void OnAddToDatabase();
  void OnViewDatabase();

  std::unique_ptr<Session> session_;
  // The language chosen in RELICOR.INI, loaded before the first text is made.
  std::unique_ptr<LanguageSwitcher> language_;

  QListWidget* fileList_ = nullptr;
  QListWidget* output_ = nullptr;
  QWidget* controls_ = nullptr;  // the lower panel's controls
  QComboBox* drives_ = nullptr;
  QTreeWidget* directories_ = nullptr;
  QLineEdit* mailAddress_ = nullptr;
  QDateEdit* datePicker_ = nullptr;
  QCheckBox* cbVk_ = nullptr;
  QCheckBox* cbDebug_ = nullptr;
  QCheckBox* cbAddInfo_ = nullptr;
  QCheckBox* cbDumpView_ = nullptr;
  QCheckBox* cbDec_ = nullptr;
  QFrame* statusPanel_ = nullptr;
  ElidedLabel* seedCheck_ = nullptr;  // the verdict of the selected item, beside the colour
  QProgressBar* progress_ = nullptr;
  QProgressDialog* progressDialog_ = nullptr;  // while a long command runs
  bool cancellable_ = false;                   // and it takes a Cancel
  QLabel* poolStatus_ = nullptr;
  QSplitter* splitter_ = nullptr;  // the pool and its item count, in the status bar

  QFileSystemWatcher* watcher_ = nullptr;
  QTimer* refreshTimer_ = nullptr;             // gathers the changes of a burst into one refresh
  QFileSystemWatcher* homeWatcher_ = nullptr;  // the pool and the program directory
  QTimer* checkTimer_ = nullptr;               // gathers their changes into one look

  QMenu* recentPools_ = nullptr;
  QStringList recentPoolList_;
  QWidget* emptyState_ = nullptr;  // over the file list while it is empty

  QAction* mnuSub_ = nullptr;
  QAction* mnuMarkPublic_ = nullptr;
  QAction* mnuPrepareSend_ = nullptr;
  QAction* mnuCreateSenderlist_ = nullptr;
  QAction* mnuAddDupe_ = nullptr;

  ItemDumpWindow* itemDumpWindow_ = nullptr;
  MembersWindow* membersWindow_ = nullptr;
  DatabaseWindow* databaseWindow_ = nullptr;
  PublishOptionsDialog* optionsDialog_ = nullptr;
  SenderListWindow* senderListWindow_ = nullptr;

  std::function<QString(const QString& start)> chooseDirectory_;
  // The item count of the pool while it is not the current directory (listed once per command).
  QString countedPool_;
  std::optional<qsizetype> countedPoolItems_;

  QString shownDirectory_;
  std::vector<std::string> shownFiles_;
  std::vector<std::string> shownOutput_;
  QString shownJudgement_;
  std::uint64_t shownDatabaseRead_ = 0;
  std::uint64_t shownOptionsRead_ = 0;
  bool firstShown_ = false;
  // The judgement shown, and what it was made from (the record, the findings).
  std::string judgedFrom_;
  QString judgement_;
  bool shutDown_ = false;
  bool busy_ = false;
  bool browsing_ = false;  // a file selection is being reported: its messages go to the status bar
};

}  // namespace relicor
