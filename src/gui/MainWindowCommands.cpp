#include "gui/MainWindow.h"

// The menu and its commands: how a command runs (a long one blocks input), and the handlers.

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>
#include <optional>

#include "gui/DatabaseWindow.h"
#include "gui/DesktopOpener.h"
#include "gui/GuiText.h"
#include "gui/MembersWindow.h"
#include "gui/MessageBoxes.h"
#include "gui/PublishOptionsDialog.h"
#include "html/HistoryPages.h"
#include "pool/ItemCache.h"
#include "validate/Database.h"

namespace relicor {
namespace {

bool SameMeta(const ItemMeta& a, const ItemMeta& b) {
  return a.fileDate == b.fileDate && a.senderName == b.senderName && a.sendTo == b.sendTo &&
         a.points4Item == b.points4Item && a.isPublic == b.isPublic && a.points4ItemAt == b.points4ItemAt &&
         a.addedItem == b.addedItem && a.sentAt == b.sentAt;
}

std::optional<ItemMeta> MetaOf(const ItemCache& cache, const std::string& path) {
  const ItemEntry* entry = cache.Find(path);
  if (entry == nullptr) return std::nullopt;
  return entry->meta;
}

// Swallows the keeper's input to every window of the program (the Members and database windows
// too, so nothing changes the lists a long command is working on); a message box that the
// command itself shows still takes its answer.
class InputBlocker final : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!event->spontaneous() || !watched->isWidgetType()) return false;
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::Wheel:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::ContextMenu:
      case QEvent::Close:
        break;
      default:
        return false;
    }
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && static_cast<QWidget*>(watched)->window() == modal) return false;
    event->ignore();  // a close request is refused
    return true;
  }
};

}  // namespace

// While a long command runs: no window takes input, the main window keeps painting.
class MainWindow::BusyScope {
 public:
  explicit BusyScope(MainWindow& window) : window_(window) {
    window_.busy_ = true;
    for (QWidget* w : Controls()) w->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    qApp->installEventFilter(&blocker_);
  }
  ~BusyScope() {
    qApp->removeEventFilter(&blocker_);
    QApplication::restoreOverrideCursor();
    for (QWidget* w : Controls()) w->setEnabled(true);
    window_.busy_ = false;
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  std::vector<QWidget*> Controls() const {
    return {window_.menuBar(), window_.fileList_, window_.output_, window_.controls_};
  }
  MainWindow& window_;
  InputBlocker blocker_;
};QAction* MainWindow::AddCommand(QMenu* menu, const char* name, const QString& caption,
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

  QMenu* datei = bar->addMenu("&Datei");
  datei->setObjectName("MNUDatei");
  AddCommand(datei, "MNUOptions", "Einstellungen", &MainWindow::OnOptions);
  datei->addSeparator();
  QAction* exit = AddCommand(datei, "MNUExit", "Beenden", &MainWindow::OnExit);
  exit->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));

  QMenu* text = bar->addMenu("&Text");
  text->setObjectName("MNUText");
  AddCommand(text, "MNUTextCreate", "Start Creation", &MainWindow::OnTextCreate);

  QMenu* html = bar->addMenu("&HTML");
  html->setObjectName("MNUHtml");
  AddCommand(html, "MNUSetPoolDir", "Set &Pool-Directory", &MainWindow::OnSetPoolDir);
  AddCommand(html, "MNUSetSentDir", "Set &Sent-Directory", &MainWindow::OnSetSentDir);
  mnuSub_ = AddCommand(html, "MNUSub", "&Subdirectories", &MainWindow::OnSubdirectories);
  mnuSub_->setCheckable(true);
  html->addSeparator();
  AddCommand(html, "MNUStartCreate", "St&art creation", &MainWindow::OnStartCreate);

  QMenu* view = bar->addMenu("&View");
  view->setObjectName("MNUView");
  AddCommand(view, "MNUMembers", "&Members", &MainWindow::OnMembers);

  QMenu* extras = bar->addMenu("E&xtras");
  extras->setObjectName("MNUExtras");
  // The function keys also work while the Members window is the active one: the keeper picks a
  // member there and presses F9.
  auto functionKey = [](QAction* action, Qt::Key key) {
    action->setShortcut(key);
    action->setShortcutContext(Qt::ApplicationShortcut);
    return action;
  };
  functionKey(AddCommand(extras, "MNUQuickSender", "Quick Sender Assign", &MainWindow::OnQuickSender),
              Qt::Key_F9);
  AddCommand(extras, "MNUQuickPoint", "Quick Point Assign", &MainWindow::OnQuickPoint);
  AddCommand(extras, "MNUQuickDate", "Quick Date Assign", &MainWindow::OnQuickDate);
  mnuMarkPublic_ =
      functionKey(AddCommand(extras, "MNUMarkPublic", "Mark as PUBLIC", &MainWindow::OnMarkPublic), Qt::Key_F10);
  functionKey(AddCommand(extras, "MNUMarkClanOnly", "Mark as CLAN-ONLY", &MainWindow::OnMarkClanOnly),
              Qt::Key_F11);
  extras->addSeparator();
  mnuPrepareSend_ = AddCommand(extras, "MNUPrepareSend", "Prepare Item to send", &MainWindow::OnPrepareSend);
  mnuCreateSenderlist_ =
      AddCommand(extras, "MNUCreateSenderlist", "Create Senderlist", &MainWindow::OnCreateSenderlist);
  extras->addSeparator();
  AddCommand(extras, "MNUCheckDupes", "Check for duplicate items", &MainWindow::OnCheckDuplicates);
  AddCommand(extras, "MNURenameRun", "Start Rename Run", &MainWindow::OnRenameRun);

  QMenu* database = bar->addMenu("D&atabase");
  database->setObjectName("MNUDatabase");
  mnuAddDupe_ = AddCommand(database, "MNUAddDupe", "&Add to dupe&&hackbase", &MainWindow::OnAddToDatabase);
  AddCommand(database, "MNUViewDupe", "V&iew dupe&&hackbase", &MainWindow::OnViewDatabase);
}
void MainWindow::RunCommand(const std::function<Result<std::string>()>& command, unsigned traits) {
  if (busy_) return;
  std::optional<Result<std::string>> result;
  if (traits & kLong) {
    BusyScope busy(*this);
    result.emplace(command());
  } else {
    result.emplace(command());
  }
  if (traits & kReports) reportRan_ = true;
  Sync();
  if (!result->ok()) {
    if (result->error() == kAlreadyInDatabaseText) {
      MessageBoxes::Information(this, ToQt(result->error()));
    } else {
      MessageBoxes::Error(this, ToQt(result->error()));
    }
  } else if (traits & kOffersPages) {
    if (MessageBoxes::InformationWithOffer(this, ToQt(result->value()), "Open entrance page")) OpenEntrancePage();
  } else if ((traits & kTellsResult) && !result->value().empty()) {
    MessageBoxes::Information(this, ToQt(result->value()));
  }
}
// Menu handlers.

void MainWindow::OnOptions() {
  optionsDialog_->exec();
}

void MainWindow::OnExit() {
  close();
}

void MainWindow::OnTextCreate() {
  RunCommand([this] { return session_->ExportItemList(); }, kLong | kReports | kTellsResult);
}

void MainWindow::OnSetPoolDir() {
  if (const Status set = session_->SetPoolDirectoryToCurrent(); !set) MessageBoxes::Error(this, ToQt(set.error()));
  Sync();
}

void MainWindow::OnSetSentDir() {
  if (const Status set = session_->SetSentDirectoryToCurrent(); !set) MessageBoxes::Error(this, ToQt(set.error()));
  Sync();
}

void MainWindow::OnSubdirectories() {
  session_->settings().htmlScanSub = mnuSub_->isChecked();
}

void MainWindow::OnStartCreate() {
  RunCommand([this] { return session_->CreatePages(); }, kLong | kReports | kOffersPages);
}

void MainWindow::OpenEntrancePage() {
  const std::string& directory = session_->currentDirectory();
  const std::string name = EntrancePageFileName(session_->settings().html);
  const QString page = PathToQt(directory == "/" ? directory + name : directory + "/" + name);
  if (!DesktopOpener::Open(QUrl::fromLocalFile(page)))
    MessageBoxes::Error(this, "The browser could not be started for " + page);
}

void MainWindow::OnMembers() {
  if (!membersWindow_->isVisible()) membersWindow_->show();
}

void MainWindow::RunAssign(const std::function<Result<std::string>(const std::string&)>& assign) {
  const std::string path = session_->SelectedPath();
  if (path.empty()) return;
  const std::optional<ItemMeta> before = MetaOf(session_->cache(), path);
  RunCommand(
      [&] {
        Result<std::string> assigned = assign(path);
        // A command that changed the item shows its report anew, as on a new selection.
        const std::optional<ItemMeta> after = MetaOf(session_->cache(), path);
        if (assigned && after && !(before && SameMeta(*before, *after))) {
          if (const Status reported = session_->SelectFile(session_->selectedIndex()); !reported)
            return Result<std::string>(MakeError(reported.error()));
        }
        return assigned;
      },
      kReports);
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
      kReports);
}

// The sender list is not built; the command stays disabled.
void MainWindow::OnCreateSenderlist() {}

void MainWindow::OnCheckDuplicates() {
  RunCommand([this] { return session_->CheckDuplicates(); }, kLong | kTellsResult);
}

void MainWindow::OnRenameRun() {
  RunCommand(
      [this] {
        Result<std::string> renamed = session_->RenameRun();
        RereadFileList();
        return renamed;
      },
      kLong);
}

void MainWindow::OnAddToDatabase() {
  const std::string path = session_->SelectedPath();
  if (path.empty()) return;
  RunCommand([this, &path] { return session_->AddToDatabase(path); }, kShort);
  if (databaseWindow_->isVisible()) databaseWindow_->Reload();
}

void MainWindow::OnViewDatabase() {
  if (!databaseWindow_->isVisible()) databaseWindow_->show();
}

}  // namespace relicor
