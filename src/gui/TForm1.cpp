#include "gui/TForm1.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>
#include <optional>

#include "Version.h"
#include "shell/SeedCheck.h"
#include "gui/GuiText.h"
#include "gui/Icons.h"
#include "gui/MessageBoxes.h"
#include "gui/TDupeForm.h"
#include "gui/TForm2.h"
#include "gui/TForm5.h"
#include "gui/TIOptions.h"
#include "pool/ItemCache.h"
#include "text/Stri.h"
#include "validate/Database.h"

namespace relicor {
namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kFileListWidth = 161;
constexpr int kLowerPanelHeight = 248;
constexpr int kProgressMaximum = 100;
constexpr int kWindowWidth = 900;
constexpr int kWindowHeight = 620;

// The note. A word joiner after each hyphen of the address keeps the address on one line; the
// joiner is not drawn.
QString NoteText() {
  QString address =
      QString::fromLatin1(kMaintainerAddress.data(), static_cast<qsizetype>(kMaintainerAddress.size()));
  address.replace('-', QString("-") + QChar(0x2060));
  return QString(
             "NOTE : PLEASE REPORT ANY ERRORS OR MISSING ATTRIBUTES TO \"%1\"!! SEND ERROR "
             "DESCRIPTION AND PLEASE THE ITM-FILE TOO (I WILL USE IT ONLY FOR TESTING PURPOSES).")
      .arg(address);
}

// The path without a trailing separator (the root stays "/").
std::string WithoutTrailingSeparator(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

QFont FixedFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setStyleHint(QFont::TypeWriter);
  return font;
}

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
class TForm1::BusyScope {
 public:
  explicit BusyScope(TForm1& window) : window_(window) {
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
  TForm1& window_;
  InputBlocker blocker_;
};

TForm1::TForm1(std::string programDir, const Clock& clock, QWidget* parent)
    : QMainWindow(parent), session_(std::make_unique<Session>(std::move(programDir), clock, *this)) {
  setObjectName("Form1");
  setWindowTitle(QString("Relicor ") + kVersion);
  setWindowIcon(AppIcon());
  BuildMenu();
  BuildControls();
  // Large enough for the report columns and the note with desktop fonts (and never below what the
  // controls need, so the window keeps the size it is centred with).
  const QSize least = minimumSizeHint();
  resize(std::max(kWindowWidth, least.width()), std::max(kWindowHeight, least.height()));

  // The creation handler; then what a killed run left in the pool is repaired, and told.
  session_->Start();
  if (const Status recovered = session_->RecoverPool(); !recovered) MessageBoxes::Error(this, ToQt(recovered.error()));
  {
    const QSignalBlocker blockMail(mailAddress_);
    mailAddress_->setText(ToQt(session_->settings().mailAddress));
    mailAddress_->setCursorPosition(0);
  }
  mnuSub_->setChecked(session_->settings().htmlScanSub);
  // "Create Senderlist" has no action, and its date stays unused.
  mnuCreateSenderlist_->setEnabled(false);
  datePicker_->setEnabled(false);
  FillDrives();
  SyncFlags();
  SyncCommands();

  // The other windows, created hidden in this order; the options dialog last.
  form2_ = new TForm2(this);
  form5_ = new TForm5(*session_, this);
  dupeForm_ = new TDUPEFORM(session_->database(), this);
  options_ = new TIOPTIONS(*session_, this);
}

TForm1::~TForm1() {
  // The windows that work on the session go before it.
  delete options_;
  delete dupeForm_;
  delete form5_;
  delete form2_;
  delete takeCentralWidget();
}

QAction* TForm1::AddCommand(QMenu* menu, const char* name, const QString& caption,
                            void (TForm1::*handler)()) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  // While a long command runs, shortcuts take no effect either.
  connect(action, &QAction::triggered, this, [this, handler] {
    if (!busy_) (this->*handler)();
  });
  return action;
}

void TForm1::BuildMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("MainMenu1");

  QMenu* datei = bar->addMenu("&Datei");
  datei->setObjectName("MNUDatei");
  AddCommand(datei, "MNUOptions", "Einstellungen", &TForm1::OnOptions);
  datei->addSeparator();
  QAction* exit = AddCommand(datei, "MNUExit", "Beenden", &TForm1::OnExit);
  exit->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));

  QMenu* text = bar->addMenu("&Text");
  text->setObjectName("MNUText");
  AddCommand(text, "MNUTextCreate", "Start Creation", &TForm1::OnTextCreate);

  QMenu* html = bar->addMenu("&HTML");
  html->setObjectName("MNUHtml");
  AddCommand(html, "MNUSetPoolDir", "Set &Pool-Directory", &TForm1::OnSetPoolDir);
  AddCommand(html, "MNUSetSentDir", "Set &Sent-Directory", &TForm1::OnSetSentDir);
  mnuSub_ = AddCommand(html, "MNUSub", "&Subdirectories", &TForm1::OnSubdirectories);
  mnuSub_->setCheckable(true);
  html->addSeparator();
  AddCommand(html, "MNUStartCreate", "St&art creation", &TForm1::OnStartCreate);

  QMenu* view = bar->addMenu("&View");
  view->setObjectName("MNUView");
  AddCommand(view, "MNUMembers", "&Members", &TForm1::OnMembers);

  QMenu* extras = bar->addMenu("E&xtras");
  extras->setObjectName("MNUExtras");
  // The function keys also work while the Members window is the active one: the keeper picks a
  // member there and presses F9.
  auto functionKey = [](QAction* action, Qt::Key key) {
    action->setShortcut(key);
    action->setShortcutContext(Qt::ApplicationShortcut);
    return action;
  };
  functionKey(AddCommand(extras, "MNUQuickSender", "Quick Sender Assign", &TForm1::OnQuickSender),
              Qt::Key_F9);
  AddCommand(extras, "MNUQuickPoint", "Quick Point Assign", &TForm1::OnQuickPoint);
  AddCommand(extras, "MNUQuickDate", "Quick Date Assign", &TForm1::OnQuickDate);
  mnuMarkPublic_ =
      functionKey(AddCommand(extras, "MNUMarkPublic", "Mark as PUBLIC", &TForm1::OnMarkPublic), Qt::Key_F10);
  functionKey(AddCommand(extras, "MNUMarkClanOnly", "Mark as CLAN-ONLY", &TForm1::OnMarkClanOnly),
              Qt::Key_F11);
  extras->addSeparator();
  mnuPrepareSend_ = AddCommand(extras, "MNUPrepareSend", "Prepare Item to send", &TForm1::OnPrepareSend);
  mnuCreateSenderlist_ =
      AddCommand(extras, "MNUCreateSenderlist", "Create Senderlist", &TForm1::OnCreateSenderlist);
  extras->addSeparator();
  AddCommand(extras, "MNUCheckDupes", "Check for duplicate items", &TForm1::OnCheckDuplicates);
  AddCommand(extras, "MNURenameRun", "Start Rename Run", &TForm1::OnRenameRun);

  QMenu* database = bar->addMenu("D&atabase");
  database->setObjectName("MNUDatabase");
  mnuAddDupe_ = AddCommand(database, "MNUAddDupe", "&Add to dupe&&hackbase", &TForm1::OnAddToDatabase);
  AddCommand(database, "MNUViewDupe", "V&iew dupe&&hackbase", &TForm1::OnViewDatabase);
}

void TForm1::BuildControls() {
  auto* central = new QWidget(this);
  central->setObjectName("CentralWidget");

  fileList_ = new QListWidget(central);
  fileList_->setObjectName("FileListBox1");
  fileList_->setFixedWidth(kFileListWidth);
  fileList_->setSelectionMode(QAbstractItemView::SingleSelection);
  // A file counts as selected when the keeper selects it; the list's focus alone (which makes the
  // first name current) selects nothing.
  connect(fileList_, &QListWidget::itemSelectionChanged, this, [this] {
    const QList<QListWidgetItem*> selected = fileList_->selectedItems();
    FileSelected(selected.isEmpty() ? -1 : fileList_->row(selected.front()));
  });

  output_ = new QListWidget(central);
  output_->setObjectName("ListBox1");
  output_->setFont(FixedFont());
  output_->setUniformItemSizes(true);
  output_->setSelectionMode(QAbstractItemView::SingleSelection);

  // The lower panel: browser, mail address and date, check boxes, note; the status panel below.
  auto* lower = new QWidget(central);
  lower->setObjectName("Panel1");
  controls_ = lower;

  drives_ = new QComboBox(lower);
  drives_->setObjectName("DriveComboBox1");
  drives_->setToolTip("change current drive");
  connect(drives_, &QComboBox::activated, this, [this](int index) {
    if (index >= 0) ChangeDirectory(drives_->itemData(index, kPathRole).toString());
  });

  directories_ = new QTreeWidget(lower);
  directories_->setObjectName("DirectoryListBox1");
  directories_->setToolTip("double-click to change directory");
  directories_->setHeaderHidden(true);
  directories_->setRootIsDecorated(false);
  directories_->setIndentation(10);
  directories_->setItemsExpandable(false);
  directories_->setExpandsOnDoubleClick(false);
  directories_->setStyleSheet("QTreeView::branch { image: none; border-image: none; }");
  // The tree is rebuilt by the change, so the change runs after the click has been handled.
  connect(directories_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    const QString path = item->data(0, kPathRole).toString();
    QMetaObject::invokeMethod(
        this, [this, path] { ChangeDirectory(path); }, Qt::QueuedConnection);
  });

  auto* browser = new QVBoxLayout;
  browser->setSpacing(3);
  browser->addWidget(drives_);
  browser->addWidget(directories_, 1);

  auto* mailLabel = new QLabel("Send Itemrequest to", lower);
  mailLabel->setObjectName("Label1");
  mailAddress_ = new QLineEdit(lower);
  mailAddress_->setObjectName("MailAddress");
  mailLabel->setBuddy(mailAddress_);
  connect(mailAddress_, &QLineEdit::textChanged, this,
          [this](const QString& text) { session_->settings().mailAddress = FromQt(text); });
  auto* dateLabel = new QLabel("Senderlist from", lower);
  dateLabel->setObjectName("Label2");
  QFont bold = dateLabel->font();
  bold.setBold(true);
  dateLabel->setFont(bold);
  datePicker_ = new QDateEdit(QDate::currentDate(), lower);
  datePicker_->setObjectName("DateTimePicker1");
  datePicker_->setDisplayFormat("dd.MM.yyyy");
  datePicker_->setCalendarPopup(true);
  auto* fields = new QVBoxLayout;
  fields->setSpacing(3);
  fields->addWidget(mailLabel);
  fields->addWidget(mailAddress_);
  fields->addSpacing(10);
  fields->addWidget(dateLabel);
  fields->addWidget(datePicker_);
  fields->addStretch();

  auto makeBox = [lower](const char* name, const QString& caption) {
    auto* box = new QCheckBox(caption, lower);
    box->setObjectName(name);
    return box;
  };
  cbVk_ = makeBox("CBVK", "V&&K-Mode");
  cbDebug_ = makeBox("CBDebug", "Debugging File");
  cbAddInfo_ = makeBox("CBAddInfo", "Additional Info");
  cbAddInfo_->setEnabled(false);  // follows "Debugging File" only
  cbDumpView_ = makeBox("CBDumpView", "Dump window");
  cbDec_ = makeBox("CBDec", "decimal view");
  auto* boxes = new QVBoxLayout;
  boxes->setSpacing(2);
  for (QCheckBox* box : {cbVk_, cbDebug_, cbAddInfo_, cbDumpView_, cbDec_}) boxes->addWidget(box);
  boxes->addStretch();
  connect(cbVk_, &QCheckBox::toggled, this, [this](bool on) { session_->flags().vkMode = on; });
  connect(cbDebug_, &QCheckBox::clicked, this, [this](bool on) {
    session_->SetDebugFile(on);
    SyncFlags();
  });
  connect(cbAddInfo_, &QCheckBox::toggled, this, [this](bool on) {
    session_->SetAdditionalInfo(on);
    SyncFlags();
  });
  connect(cbDumpView_, &QCheckBox::clicked, this, [this](bool on) {
    session_->flags().dumpWindow = on;
    if (on) {
      form2_->show();
    } else {
      form2_->hide();
    }
  });
  connect(cbDec_, &QCheckBox::toggled, this, [this](bool on) { session_->flags().decimalView = on; });

  auto* note = new QLabel(NoteText(), lower);
  note->setObjectName("Label3");
  note->setTextFormat(Qt::PlainText);
  note->setWordWrap(true);
  note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QPalette notePalette = note->palette();
  notePalette.setColor(QPalette::WindowText, QColor(0, 0, 255));
  note->setPalette(notePalette);

  auto* columns = new QHBoxLayout(lower);
  columns->setContentsMargins(4, 4, 4, 2);
  columns->setSpacing(8);
  columns->addLayout(browser, 5);
  columns->addLayout(fields, 4);
  columns->addLayout(boxes, 0);
  columns->addWidget(note, 4);

  statusPanel_ = new QFrame(central);
  statusPanel_->setObjectName("Panel4");
  statusPanel_->setFrameShape(QFrame::StyledPanel);
  statusPanel_->setAutoFillBackground(true);
  progress_ = new QProgressBar(statusPanel_);
  progress_->setObjectName("ProgressBar1");
  progress_->setRange(0, kProgressMaximum);
  progress_->setValue(0);
  progress_->setTextVisible(false);
  progress_->setFixedHeight(14);
  auto* statusLayout = new QHBoxLayout(statusPanel_);
  statusLayout->setContentsMargins(6, 5, 6, 5);
  statusLayout->addWidget(progress_);
  seedCheck_ = new QLabel(statusPanel_);
  seedCheck_->setObjectName("SeedCheckLabel");
  statusLayout->addWidget(seedCheck_);

  auto* lowerPanel = new QWidget(central);
  lowerPanel->setFixedHeight(kLowerPanelHeight);
  auto* lowerLayout = new QVBoxLayout(lowerPanel);
  lowerLayout->setContentsMargins(0, 0, 0, 0);
  lowerLayout->setSpacing(2);
  lowerLayout->addWidget(lower, 1);
  lowerLayout->addWidget(statusPanel_);
  lower->setParent(lowerPanel);

  auto* right = new QVBoxLayout;
  right->setContentsMargins(0, 0, 0, 0);
  right->setSpacing(2);
  right->addWidget(output_, 1);
  right->addWidget(lowerPanel);

  auto* layout = new QHBoxLayout(central);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  layout->addWidget(fileList_);
  layout->addLayout(right, 1);
  setCentralWidget(central);
}

void TForm1::FillDrives() {
  QStringList roots{"/"};
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir())
      roots << volume.rootPath();
  }
  roots.removeDuplicates();
  roots.sort();
  const QSignalBlocker block(drives_);
  drives_->clear();
  for (const QString& root : roots)
    drives_->addItem(style()->standardIcon(QStyle::SP_DriveHDIcon), root, root);
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (firstShown_ || event->spontaneous()) return;
  firstShown_ = true;
  EnterPoolDirectory();
}

void TForm1::EnterPoolDirectory() {
  const std::string pool = session_->settings().pathToPool;
  if (!session_->SetCurrentDirectory(pool)) {
    // An unusable pool directory falls back to the program's own, silently; the browser stays
    // where it is.
    session_->settings().pathToPool = ShortString(WithoutTrailingSeparator(session_->programDir()));
    if (session_->currentDirectory().empty())
      (void)session_->SetCurrentDirectory(PathFromQt(QDir::currentPath()));
  }
  Sync();
}

void TForm1::hideEvent(QHideEvent* event) {
  QMainWindow::hideEvent(event);
  if (!event->spontaneous() && form2_ != nullptr) form2_->hide();
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (busy_) {
    event->ignore();
    return;
  }
  if (!shutDown_) {
    const Status saved = session_->Shutdown();
    if (!saved) {
      // The settings could not be written: the program keeps running so nothing is lost.
      MessageBoxes::Error(this, ToQt(saved.error()));
      event->ignore();
      return;
    }
    shutDown_ = true;
    // The other windows go with the main window without their own checks: the database window
    // does not ask about unsaved changes, and nothing can keep the program running without its
    // main window.
    for (QWidget* window : std::initializer_list<QWidget*>{dupeForm_, form5_, form2_}) window->hide();
  }
  event->accept();
}

void TForm1::ChangeDirectory(const QString& directory) {
  if (busy_) return;
  const Status changed = session_->SetCurrentDirectory(PathFromQt(directory));
  if (!changed) MessageBoxes::Error(this, ToQt(changed.error()));
  Sync();
}

void TForm1::FileSelected(int row) {
  if (busy_ || row == session_->selectedIndex()) return;
  const Status reported = session_->SelectFile(row);
  if (row >= 0) reportRan_ = true;
  if (!reported) MessageBoxes::Error(this, ToQt(reported.error()));
  Sync();
}

void TForm1::RereadFileList() {
  if (const Status reread = session_->RereadFileList(); !reread)
    MessageBoxes::Error(this, ToQt(reread.error()));
  shownDirectory_.clear();  // its subdirectories may have changed too
}

void TForm1::Sync() {
  SyncDirectory();
  SyncFiles();
  SyncOutput();
  SyncStatus();
  SyncFlags();
  SyncCommands();
}

void TForm1::SyncDirectory() {
  const QString current = PathToQt(session_->currentDirectory());
  if (current == shownDirectory_) return;
  shownDirectory_ = current;

  const QSignalBlocker block(directories_);
  directories_->clear();
  if (current.isEmpty()) return;
  const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);

  // The path from the root down to the current directory, then its subdirectories.
  QStringList parts = current.split('/', Qt::SkipEmptyParts);
  auto* item = new QTreeWidgetItem(directories_, QStringList{"/"});
  item->setIcon(0, open);
  item->setData(0, kPathRole, QString("/"));
  QString path;
  for (const QString& part : parts) {
    path += "/" + part;
    item = new QTreeWidgetItem(item, QStringList{part});
    item->setIcon(0, open);
    item->setData(0, kPathRole, path);
  }
  QTreeWidgetItem* currentItem = item;
  const QDir dir(current);
  for (const QString& sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
    auto* child = new QTreeWidgetItem(currentItem, QStringList{sub});
    child->setIcon(0, closed);
    child->setData(0, kPathRole, dir.filePath(sub));
  }
  directories_->expandAll();
  directories_->setCurrentItem(currentItem);
  directories_->scrollToItem(currentItem);

  // The drive selector shows the mount point that holds the directory.
  int best = -1;
  int bestLength = -1;
  for (int i = 0; i < drives_->count(); ++i) {
    const QString root = drives_->itemData(i, kPathRole).toString();
    const bool holds = root == "/" || current == root || current.startsWith(root + "/");
    if (holds && root.size() > bestLength) {
      best = i;
      bestLength = static_cast<int>(root.size());
    }
  }
  const QSignalBlocker blockDrives(drives_);
  drives_->setCurrentIndex(best);
}

void TForm1::SyncFiles() {
  const std::vector<std::string>& names = session_->fileNames();
  const QSignalBlocker block(fileList_);
  if (names != shownFiles_) {
    shownFiles_ = names;
    fileList_->clear();
    for (const std::string& name : names) fileList_->addItem(PathToQt(name));
  }
  const int selected = session_->selectedIndex();
  if (selected >= 0) {
    if (fileList_->currentRow() != selected) fileList_->setCurrentRow(selected);
  } else {
    // No current name either: the first key press then selects the first name.
    fileList_->clearSelection();
    fileList_->setCurrentIndex(QModelIndex());
  }
}

void TForm1::SyncOutput() {
  const std::vector<std::string>& lines = session_->OutputLines();
  if (lines == shownOutput_) return;
  shownOutput_ = lines;
  output_->clear();
  for (const std::string& line : lines) output_->addItem(ToQt(line));
}

void TForm1::SyncStatus() {
  QPalette palette = statusPanel_->palette();
  if (reportRan_) {
    const Rgb rgb = StatusRgb(session_->statusColour());
    palette.setColor(QPalette::Window, QColor(rgb.r, rgb.g, rgb.b));
  } else {
    palette.setColor(QPalette::Window, QApplication::palette(statusPanel_).color(QPalette::Window));
  }
  statusPanel_->setPalette(palette);
  // The seed verdict of the selected item; the report's lines stay as they are.
  QString verdict;
  if (reportRan_ && !session_->SelectedPath().empty()) {
    if (auto checked = CheckItemFile(session_->SelectedPath()); checked)
      verdict = ToQt(VerdictSummary(*checked));
  }
  seedCheck_->setText(verdict);
}

void TForm1::SyncFlags() {
  const OptionFlags& flags = session_->flags();
  for (auto [box, on] : {std::pair{cbVk_, flags.vkMode}, std::pair{cbDebug_, flags.debugFile},
                         std::pair{cbAddInfo_, flags.additionalInfo},
                         std::pair{cbDumpView_, flags.dumpWindow}, std::pair{cbDec_, flags.decimalView}}) {
    const QSignalBlocker block(box);
    box->setChecked(on);
  }
}

void TForm1::SyncCommands() {
  const bool sending = session_->SendingAvailable();
  mnuMarkPublic_->setEnabled(sending);
  mnuPrepareSend_->setEnabled(sending);
  mnuAddDupe_->setEnabled(session_->selectedIndex() >= 0);
}

void TForm1::RunCommand(const std::function<Result<std::string>()>& command, unsigned traits) {
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
  } else if ((traits & kTellsResult) && !result->value().empty()) {
    MessageBoxes::Information(this, ToQt(result->value()));
  }
}

// SessionUi.

void TForm1::ProgressStep() {
  const int next = progress_->value() + 1;
  progress_->setValue(next > progress_->maximum() ? 0 : next);
  SyncOutput();
  QCoreApplication::processEvents();
}

void TForm1::ProgressSet(int position) {
  progress_->setValue(std::clamp(position, 0, kProgressMaximum));
  QCoreApplication::processEvents();
}

void TForm1::Notify(std::string_view message) {
  MessageBoxes::Information(this, ToQt(message));
}

bool TForm1::Confirm(std::string_view question) {
  return MessageBoxes::AskYesNo(this, ToQt(question));
}

void TForm1::ShowItemDump(const ItemRecord& record, bool decimalView) {
  if (form2_ != nullptr) form2_->ShowItemDump(record, decimalView);
}

void TForm1::HideItemDump() {
  if (form2_ != nullptr && form2_->isVisible()) form2_->hide();
}

// Menu handlers.

void TForm1::OnOptions() {
  options_->exec();
}

void TForm1::OnExit() {
  close();
}

void TForm1::OnTextCreate() {
  RunCommand([this] { return session_->ExportItemList(); }, kLong | kReports);
}

void TForm1::OnSetPoolDir() {
  if (const Status set = session_->SetPoolDirectoryToCurrent(); !set) MessageBoxes::Error(this, ToQt(set.error()));
  Sync();
}

void TForm1::OnSetSentDir() {
  if (const Status set = session_->SetSentDirectoryToCurrent(); !set) MessageBoxes::Error(this, ToQt(set.error()));
  Sync();
}

void TForm1::OnSubdirectories() {
  session_->settings().htmlScanSub = mnuSub_->isChecked();
}

void TForm1::OnStartCreate() {
  RunCommand([this] { return session_->CreatePages(); }, kLong | kReports);
}

void TForm1::OnMembers() {
  if (!form5_->isVisible()) form5_->show();
}

void TForm1::RunAssign(const std::function<Result<std::string>(const std::string&)>& assign) {
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
std::optional<std::string> TForm1::SelectedMemberName() const {
  std::optional<std::string> member = form5_->SelectedMember();
  if (member && member->empty()) return std::nullopt;
  return member;
}

void TForm1::OnQuickSender() {
  if (!form5_->isVisible()) {
    form5_->show();
    return;
  }
  const std::optional<std::string> member = SelectedMemberName();
  if (!member) return;
  RunAssign([this, &member](const std::string& path) { return session_->QuickSenderAssign(path, *member); });
}

void TForm1::OnQuickPoint() {
  RunAssign([this](const std::string& path) { return session_->QuickPointAssign(path); });
}

void TForm1::OnQuickDate() {
  RunAssign([this](const std::string& path) { return session_->QuickDateAssign(path); });
}

// Marking an item public or clan-only changes nothing yet.
void TForm1::OnMarkPublic() {}
void TForm1::OnMarkClanOnly() {}

void TForm1::OnPrepareSend() {
  if (!form5_->isVisible()) {
    form5_->show();
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
void TForm1::OnCreateSenderlist() {}

void TForm1::OnCheckDuplicates() {
  RunCommand([this] { return session_->CheckDuplicates(); }, kLong | kTellsResult);
}

void TForm1::OnRenameRun() {
  RunCommand(
      [this] {
        Result<std::string> renamed = session_->RenameRun();
        RereadFileList();
        return renamed;
      },
      kLong);
}

void TForm1::OnAddToDatabase() {
  const std::string path = session_->SelectedPath();
  if (path.empty()) return;
  RunCommand([this, &path] { return session_->AddToDatabase(path); }, kShort);
  if (dupeForm_->isVisible()) dupeForm_->Reload();
}

void TForm1::OnViewDatabase() {
  if (!dupeForm_->isVisible()) dupeForm_->show();
}

}  // namespace relicor
