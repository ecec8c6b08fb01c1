#include "gui/MainWindow.h"

// The menu and its commands: how a command runs (a long one blocks input), and the handlers.

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QFileDialog>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QUrl>
#include <optional>

#include "gui/AppInfo.h"
#include "gui/DatabaseWindow.h"
#include "gui/DesktopOpener.h"
#include "gui/GuiText.h"
#include "gui/MainWindowBusy.h"
#include "gui/MembersWindow.h"
#include "gui/MessageBoxes.h"
#include "gui/PublishOptionsDialog.h"
#include "gui/SenderListWindow.h"
#include "gui/UserManual.h"
#include "pool/ItemCache.h"
#include "validate/Database.h"

namespace relicor {
QAction* MainWindow::AddCommand(QMenu* menu, const char* name, const QString& caption,
                                void (MainWindow::*handler)()) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  // While a long command runs, shortcuts take no effect either.
  connect(action, &QAction::triggered, this, [this, handler] {
    if (!busy_) (this->*handler)();
  });
  return action;
}

void MainWindow::BuildMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("MainMenu1");

  QMenu* datei = bar->addMenu(tr("&Datei"));
  datei->setObjectName("MNUDatei");
  QAction* openPool = AddCommand(datei, "MNUOpenPool", tr("&Open Pool…"), &MainWindow::OnOpenPool);
  openPool->setShortcut(QKeySequence::Open);
  recentPools_ = datei->addMenu(tr("Recent &Pools"));
  recentPools_->setObjectName("MNURecentPools");
  AddCommand(datei, "MNUChooseSentDir", tr("Choose Sent &Directory…"), &MainWindow::OnChooseSentDir);
  AddCommand(datei, "MNUImportSave", tr("Import from save game…"), &MainWindow::OnImportSave);
  AddCommand(datei, "MNUOptions", tr("Einstellungen"), &MainWindow::OnOptions);
  datei->addSeparator();
  QAction* exit = AddCommand(datei, "MNUExit", tr("Beenden"), &MainWindow::OnExit);
  exit->setShortcuts({QKeySequence(Qt::ALT | Qt::Key_F4), QKeySequence(Qt::CTRL | Qt::Key_Q)});

  QMenu* text = bar->addMenu(tr("&Text"));
  text->setObjectName("MNUText");
  AddCommand(text, "MNUTextCreate", tr("Start Creation"), &MainWindow::OnTextCreate);

  QMenu* html = bar->addMenu(tr("&HTML"));
  html->setObjectName("MNUHtml");
  AddCommand(html, "MNUSetPoolDir", tr("Set &Pool-Directory"), &MainWindow::OnSetPoolDir);
  AddCommand(html, "MNUSetSentDir", tr("Set &Sent-Directory"), &MainWindow::OnSetSentDir);
  mnuSub_ = AddCommand(html, "MNUSub", tr("&Subdirectories"), &MainWindow::OnSubdirectories);
  mnuSub_->setCheckable(true);
  html->addSeparator();
  AddCommand(html, "MNUStartCreate", tr("St&art creation"), &MainWindow::OnStartCreate);

  QMenu* view = bar->addMenu(tr("&View"));
  view->setObjectName("MNUView");
  AddCommand(view, "MNUMembers", tr("&Members"), &MainWindow::OnMembers);

  QMenu* extras = bar->addMenu(tr("E&xtras"));
  extras->setObjectName("MNUExtras");
  // The function keys also work while the Members window is the active one: the keeper picks a
  // member there and presses F9.
  auto functionKey = [](QAction* action, Qt::Key key) {
    action->setShortcut(key);
    action->setShortcutContext(Qt::ApplicationShortcut);
    return action;
  };
  functionKey(AddCommand(extras, "MNUQuickSender", tr("Quick Sender Assign"), &MainWindow::OnQuickSender),
              Qt::Key_F9);
  AddCommand(extras, "MNUQuickPoint", tr("Quick Point Assign"), &MainWindow::OnQuickPoint);
  AddCommand(extras, "MNUQuickDate", tr("Quick Date Assign"), &MainWindow::OnQuickDate);
  mnuMarkPublic_ = functionKey(
      AddCommand(extras, "MNUMarkPublic", tr("Mark as PUBLIC"), &MainWindow::OnMarkPublic), Qt::Key_F10);
  functionKey(AddCommand(extras, "MNUMarkClanOnly", tr("Mark as CLAN-ONLY"), &MainWindow::OnMarkClanOnly),
              Qt::Key_F11);
  extras->addSeparator();
  mnuPrepareSend_ =
      AddCommand(extras, "MNUPrepareSend", tr("Prepare Item to send"), &MainWindow::OnPrepareSend);
  mnuCreateSenderlist_ =
      AddCommand(extras, "MNUCreateSenderlist", tr("Create Senderlist"), &MainWindow::OnCreateSenderlist);
  extras->addSeparator();
  AddCommand(extras, "MNUCheckDupes", tr("Check for duplicate items"), &MainWindow::OnCheckDuplicates);
  AddCommand(extras, "MNURenameRun", tr("Start Rename Run"), &MainWindow::OnRenameRun);

  QMenu* database = bar->addMenu(tr("D&atabase"));
  database->setObjectName("MNUDatabase");
  mnuAddDupe_ =
      AddCommand(database, "MNUAddDupe", tr("&Add to dupe&&hackbase"), &MainWindow::OnAddToDatabase);
  AddCommand(database, "MNUViewDupe", tr("V&iew dupe&&hackbase"), &MainWindow::OnViewDatabase);

  QMenu* help = bar->addMenu(tr("&Help"));
  help->setObjectName("MNUHelp");
  QAction* manual = help->addAction(tr("Relicor &Manual"), this, [this] { OpenUserManual(this); });
  manual->setObjectName("MNUManual");
  manual->setShortcut(QKeySequence::HelpContents);
  AddCommand(help, "MNUAbout", tr("&About Relicor"), &MainWindow::OnAbout);
}
std::optional<std::string> MainWindow::RunCommand(const std::function<Result<std::string>()>& command,
                                                  unsigned traits, const QString& busyText) {
  if (busy_) return std::nullopt;
  countedPool_.clear();  // the command may add or take items
  const std::string selected = SelectedName();
  std::optional<Result<std::string>> result;
  bool cancelled = false;
  if (traits & kLong) {
    BusyScope busy(*this, busyText, BusyScope::Cancel::kYes);
    try {
      result.emplace(command());
    } catch (const CommandCancelled&) {
      cancelled = true;
    }
  } else {
    result.emplace(command());
  }
  progress_->setValue(0);
  ShowFile(selected);
  Sync();
  if (cancelled) {
    ShowStatusMessage(tr("Cancelled: nothing was written."));
    return std::nullopt;
  }
  if (!result->ok()) {
    if (result->kind() == ErrorKind::kAlreadyInDatabase) {
      MessageBoxes::Information(this, MessageToQt(result->error()));
    } else {
      MessageBoxes::Error(this, MessageToQt(result->error()));
    }
    return std::nullopt;
  }
  if ((traits & kTellsResult) && !result->value().empty())
    MessageBoxes::Information(this, MessageToQt(result->value()));
  return std::move(result->value());
}

// Menu handlers.

void MainWindow::OnOptions() {
  CheckFiles();
  optionsDialog_->exec();
}

void MainWindow::OnOpenPool() {
  const QString chosen = ChooseDirectory(tr("Open Pool"), PathToQt(session_->settings().pathToPool));
  if (!chosen.isEmpty()) OpenPool(chosen);
}

QString MainWindow::ChooseDirectory(const QString& title, const QString& start) {
  return chooseDirectory_ ? chooseDirectory_(start) : QFileDialog::getExistingDirectory(this, title, start);
}

void MainWindow::SetDirectoryChooser(std::function<QString(const QString& start)> chooser) {
  chooseDirectory_ = std::move(chooser);
}

void MainWindow::OnAbout() {
  MessageBoxes::Information(this, AboutText());
}

void MainWindow::OnExit() {
  close();
}

void MainWindow::OnTextCreate() {
  RunCommand([this] { return session_->ExportItemList(); }, kLong | kTellsResult,
             tr("Writing the item list") + QChar(0x2026));
}

void MainWindow::OnSetPoolDir() {
  if (const Status set = session_->SetPoolDirectoryToCurrent(); !set)
    MessageBoxes::Error(this, MessageToQt(set.error()));
  else
    RememberPool();
  Sync();
}

void MainWindow::OnSetSentDir() {
  if (const Status set = session_->SetSentDirectoryToCurrent(); !set)
    MessageBoxes::Error(this, MessageToQt(set.error()));
  Sync();
}

void MainWindow::OnSubdirectories() {
  session_->settings().htmlScanSub = mnuSub_->isChecked();
}

void MainWindow::OnStartCreate() {
  std::string entrance;
  const std::optional<std::string> told = RunCommand(
      [this, &entrance]() -> Result<std::string> {
        auto written = session_->PublishPages(session_->currentDirectory());
        if (!written) return written.failure();
        entrance = written->entrancePage;
        return tr("%1 files, %2 items written to %3\nentrance page: %4")
            .arg(written->files)
            .arg(written->items)
            .arg(PathToQt(written->directory), PathToQt(written->entrancePage))
            .toStdString();
      },
      kLong, tr("Writing the pages") + QChar(0x2026));
  if (told && MessageBoxes::InformationWithOffer(this, MessageToQt(*told), tr("Open entrance page")))
    OpenPage(PathToQt(entrance));
}

void MainWindow::OpenPage(const QString& page) {
  if (!DesktopOpener::Open(QUrl::fromLocalFile(page)))
    MessageBoxes::Error(this, tr("The browser could not be started for %1").arg(page));
}

void MainWindow::OnMembers() {
  CheckFiles();
  if (!membersWindow_->isVisible()) membersWindow_->show();
}

void MainWindow::RunAssign(const std::function<Result<std::string>(const std::string&)>& assign) {
  const std::string path = session_->SelectedPath();
  if (path.empty()) return;
  // The item's report is shown anew afterwards, as after every command.
  RunCommand([&] { return assign(path); }, kShort);
}

// A name is selected in the Members window (an empty line of the member list is no name).
std::optional<std::string> MainWindow::SelectedMemberName() const {
  std::optional<std::string> member = membersWindow_->SelectedMember();
  if (member && member->empty()) return std::nullopt;
  return member;
}

void MainWindow::OnQuickSender() {
  if (!membersWindow_->isVisible()) {
    membersWindow_->show();
    return;
  }
  const std::optional<std::string> member = SelectedMemberName();
  if (!member) return;
  RunAssign([this, &member](const std::string& path) { return session_->QuickSenderAssign(path, *member); });
}

void MainWindow::OnQuickPoint() {
  RunAssign([this](const std::string& path) { return session_->QuickPointAssign(path); });
}

void MainWindow::OnQuickDate() {
  RunAssign([this](const std::string& path) { return session_->QuickDateAssign(path); });
}

// Marking an item public or clan-only changes nothing yet.
void MainWindow::OnMarkPublic() {}
void MainWindow::OnMarkClanOnly() {}

void MainWindow::OnPrepareSend() {
  if (!membersWindow_->isVisible()) {
    membersWindow_->show();
    return;
  }
  const std::string path = session_->SelectedPath();
  const std::optional<std::string> member = SelectedMemberName();
  if (path.empty() || !member) return;
  RunCommand(
      [this, &path, &member] {
        Result<std::string> sent = session_->PrepareItemToSend(path, *member);
        if (sent) RereadFileList();
        return sent;
      },
      kShort);
}

void MainWindow::OnCreateSenderlist() {
  const QDate date = datePicker_->date();
  const DateTime since = EncodeDateTime(CivilDateTime{date.year(), date.month(), date.day(), 0, 0, 0, 0});
  std::optional<SenderList> counted;
  RunCommand(
      [this, since, &counted]() -> Result<std::string> {
        auto list = session_->CreateSenderList(since);
        if (!list) return list.failure();
        counted = std::move(*list);
        return std::string();
      },
      kLong, tr("Counting the senders") + QChar(0x2026));
  if (!counted) return;
  if (senderListWindow_ == nullptr) senderListWindow_ = new SenderListWindow(this);
  senderListWindow_->Show(*counted);
}

void MainWindow::OnCheckDuplicates() {
  std::optional<DupeCheckResult> found;
  const std::optional<std::string> done = RunCommand(
      [this, &found]() -> Result<std::string> {
        auto result = session_->RunDuplicateCheck();
        if (!result) return result.failure();
        found = std::move(*result);
        return found->message;
      },
      kLong, tr("Looking for duplicate items") + QChar(0x2026));
  if (!done || !found) return;
  const QString log = MessageToQt(found->message);
  const std::size_t pairs = found->duplicates.size();
  const std::size_t known = found->knownDupes.size();
  const std::size_t copies = found->sameSeed.size();
  if (pairs == 0 && known == 0 && copies == 0) {
    MessageBoxes::Information(this, tr("No duplicates and no known dupes found.") + "\n" + log);
    return;
  }
  // What was found, one line each, behind the summary; the offer opens the log.
  QStringList lines;
  for (const DuplicatePair& pair : found->duplicates)
    lines
        << tr("duplicate %1: %2 -- %3").arg(ToQt(pair.itemKey), PathToQt(pair.first), PathToQt(pair.second));
  for (const SameSeedPair& pair : found->sameSeed)
    lines
        << tr("same seed %1: %2 -- %3").arg(ToQt(pair.itemKey), PathToQt(pair.first), PathToQt(pair.second));
  for (const KnownDupe& dupe : found->knownDupes)
    lines << tr("known dupe %1: %2").arg(ToQt(dupe.itemKey), PathToQt(dupe.path));
  QString summary = (pairs == 1 ? tr("1 duplicate") : tr("%1 duplicates").arg(pairs)) + ", " +
                    (known == 1 ? tr("1 known dupe") : tr("%1 known dupes").arg(known));
  if (copies > 0)
    summary +=
        ", " + (copies == 1 ? tr("1 edited copy of an item") : tr("%1 edited copies of items").arg(copies));
  if (!MessageBoxes::InformationWithOffer(this, tr("Found %1.").arg(summary) + "\n" + log, tr("Open log"),
                                          lines.join('\n')))
    return;
  const QString logPath = PathToQt(found->logPath);
  if (!DesktopOpener::Open(QUrl::fromLocalFile(logPath)))
    MessageBoxes::Error(this, tr("No program could be started to show %1").arg(logPath));
}

void MainWindow::OnAddToDatabase() {
  const std::string path = session_->SelectedPath();
  if (path.empty()) return;
  RunCommand([this, &path] { return session_->AddToDatabase(path); }, kShort);
  if (databaseWindow_->isVisible()) databaseWindow_->Reload();
}

void MainWindow::OnViewDatabase() {
  CheckFiles();
  if (!databaseWindow_->isVisible()) databaseWindow_->show();
}

}  // namespace relicor
