#include "gui/MainWindow.h"

// The main window's construction, layout, window events and what it shows for the session.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QProgressDialog>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>
#include <limits>

#include "Version.h"
#include "gui/DatabaseWindow.h"
#include "gui/ElidedLabel.h"
#include "gui/GuiText.h"
#include "gui/Icons.h"
#include "gui/ItemDumpWindow.h"
#include "gui/Language.h"
#include "gui/MainWindowBusy.h"
#include "gui/MembersWindow.h"
#include "gui/MessageBoxes.h"
#include "gui/PublishOptionsDialog.h"
#include "gui/WindowPlacement.h"
#include "platform/IniFile.h"
#include "platform/Settings.h"

namespace relicor {
namespace {

constexpr int kFileListWidth = 161;
constexpr int kFileListMinimumWidth = 80;
constexpr int kLowerPanelHeight = 248;
constexpr int kProgressMaximum = 100;
constexpr int kWindowWidth = 900;
constexpr int kWindowHeight = 620;
constexpr int kPoolStatusWidth = 420;
// A directory that changes reads again this long after its last change.
constexpr int kRefreshDelayMs = 150;

// The note. A word joiner after each hyphen of the address keeps the address on one line; the
// joiner is not drawn.
QString NoteText() {
  QString address =
      QString::fromLatin1(kMaintainerAddress.data(), static_cast<qsizetype>(kMaintainerAddress.size()));
  address.replace('-', QString("-") + QChar(0x2060));
  return QCoreApplication::translate(
             "relicor::MainWindow",
             "NOTE : PLEASE REPORT ANY ERRORS OR MISSING ATTRIBUTES TO \"%1\"!! SEND ERROR "
             "DESCRIPTION AND PLEASE THE ITM-FILE TOO (I WILL USE IT ONLY FOR TESTING PURPOSES).")
      .arg(address);
}

// A timer that the watcher's changes start: a burst of changes ends in one timeout.
QTimer* DelayedOnChange(QFileSystemWatcher* watcher) {
  auto* timer = new QTimer(watcher);
  timer->setSingleShot(true);
  timer->setInterval(kRefreshDelayMs);
  QObject::connect(watcher, &QFileSystemWatcher::directoryChanged, timer, qOverload<>(&QTimer::start));
  return timer;
}

QFont FixedFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setStyleHint(QFont::TypeWriter);
  return font;
}
}  // namespace

MainWindow::MainWindow(std::string programDir, const Clock& clock, QWidget* parent)
    : QMainWindow(parent), session_(std::make_unique<Session>(std::move(programDir), clock, *this)) {
  setObjectName("Form1");
  language_ = std::make_unique<LanguageSwitcher>();
  language_->Apply(ReadLanguageChoice(session_->programDir()));
  setWindowTitle(QString("Relicor ") + kVersion);
  setWindowIcon(AppIcon());
  BuildMenu();
  BuildControls();
  LoadRecentPools();
  // Large enough for the report columns and the note with desktop fonts (and never below what the
  // controls need, so the window keeps the size it is centred with).
  const QSize least = minimumSizeHint();
  resize(std::max(kWindowWidth, least.width()), std::max(kWindowHeight, least.height()));
  FitOnScreenWhenShown(this, Placement::kKeepPlace);  // a small or scaled screen bounds it

  // The creation handler; then what a killed run left in the pool is repaired, and told.
  session_->Start();
  if (const Status recovered = session_->RecoverPool(); !recovered)
    MessageBoxes::Error(this, MessageToQt(recovered.error()));
  {
    const QSignalBlocker blockMail(mailAddress_);
    mailAddress_->setText(ToQt(session_->settings().mailAddress));
    mailAddress_->setCursorPosition(0);
  }
  mnuSub_->setChecked(session_->settings().htmlScanSub);
  FillDrives();
  SyncFlags();
  SyncCommands();

  // The pool is live: files that arrive or go are shown without a click; F5 reads it by hand.
  statusBar()->setObjectName("StatusBar1");
  poolStatus_ = new QLabel(statusBar());
  poolStatus_->setObjectName("PoolStatus");
  // A long pool path is cut at the field's width (the tooltip holds it whole), never widening the
  // window.
  poolStatus_->setMaximumWidth(kPoolStatusWidth);
  poolStatus_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  poolStatus_->setMinimumWidth(kPoolStatusWidth / 2);
  statusBar()->addPermanentWidget(poolStatus_);
  setAcceptDrops(true);
  watcher_ = new QFileSystemWatcher(this);
  refreshTimer_ = DelayedOnChange(watcher_);
  connect(refreshTimer_, &QTimer::timeout, this, &MainWindow::RefreshFileList);
  auto* refresh = new QAction(tr("Refresh"), this);
  refresh->setObjectName("ActionRefresh");
  refresh->setShortcut(QKeySequence(Qt::Key_F5));
  connect(refresh, &QAction::triggered, this, &MainWindow::RefreshFileList);
  addAction(refresh);
  // Another program changing PLAYERS.TXT, IDENT.ID or RELICOR.INI is followed.
  homeWatcher_ = new QFileSystemWatcher(this);
  checkTimer_ = DelayedOnChange(homeWatcher_);
  connect(checkTimer_, &QTimer::timeout, this, &MainWindow::CheckFiles);

  // The other windows, created hidden in this order; the options dialog last.
  itemDumpWindow_ = new ItemDumpWindow(this);
  membersWindow_ = new MembersWindow(*session_, this);
  databaseWindow_ = new DatabaseWindow(*session_, this);
  optionsDialog_ = new PublishOptionsDialog(*session_, this);
  shownDatabaseRead_ = session_->DatabaseReadCount();
  shownOptionsRead_ = session_->OptionsReadCount();
  // Escape closes each secondary window, as it closes a dialog.
  for (QWidget* window : std::initializer_list<QWidget*>{itemDumpWindow_, membersWindow_, databaseWindow_}) {
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, window, &QWidget::close);
  }
  WatchHomeDirectories();
  SyncPool();
}

MainWindow::~MainWindow() {
  // The windows that work on the session go before it.
  delete optionsDialog_;
  delete databaseWindow_;
  delete membersWindow_;
  delete itemDumpWindow_;
  // The file list's viewport reports its last events while the list is taken down: the empty
  // state no longer follows it then.
  if (emptyState_ != nullptr) fileList_->viewport()->removeEventFilter(this);
  emptyState_ = nullptr;
  delete takeCentralWidget();
}

void MainWindow::BuildControls() {
  auto* central = new QWidget(this);
  central->setObjectName("CentralWidget");

  fileList_ = new QListWidget(central);
  fileList_->setObjectName("FileListBox1");
  fileList_->setMinimumWidth(kFileListMinimumWidth);
  fileList_->setSelectionMode(QAbstractItemView::SingleSelection);
  fileList_->setUniformItemSizes(true);
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
  drives_->setToolTip(tr("change current drive"));
  connect(drives_, &QComboBox::activated, this, [this](int index) {
    if (index >= 0) ChangeDirectory(drives_->itemData(index, kPathRole).toString());
  });

  directories_ = new QTreeWidget(lower);
  directories_->setObjectName("DirectoryListBox1");
  directories_->setToolTip(tr("double-click to change directory"));
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

  auto* mailLabel = new QLabel(tr("Send Itemrequest to"), lower);
  mailLabel->setObjectName("Label1");
  mailAddress_ = new QLineEdit(lower);
  mailAddress_->setObjectName("MailAddress");
  mailLabel->setBuddy(mailAddress_);
  connect(mailAddress_, &QLineEdit::textChanged, this,
          [this](const QString& text) { session_->settings().mailAddress = FromQt(text); });
  auto* dateLabel = new QLabel(tr("Senderlist from"), lower);
  dateLabel->setObjectName("Label2");
  QFont bold = dateLabel->font();
  bold.setBold(true);
  dateLabel->setFont(bold);
  // The sender list counts the last month unless the keeper picks another first day.
  const CivilDateTime today = DecodeDateTime(session_->clock().Now()).value_or(CivilDateTime{});
  datePicker_ = new QDateEdit(QDate(today.year, today.month, today.day).addMonths(-1), lower);
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
  cbVk_ = makeBox("CBVK", tr("V&&K-Mode"));
  cbDebug_ = makeBox("CBDebug", tr("Debugging File"));
  cbAddInfo_ = makeBox("CBAddInfo", tr("Additional Info"));
  cbAddInfo_->setEnabled(false);  // follows "Debugging File" only
  cbDumpView_ = makeBox("CBDumpView", tr("Dump window"));
  cbDec_ = makeBox("CBDec", tr("decimal view"));
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
      // It opens with the selected item's dump, not blank until the next selection.
      if (session_->selectedIndex() >= 0 && session_->CurrentItem().Signature() == "ITM0")
        ShowItemDump(session_->CurrentItem(), session_->flags().decimalView);
      itemDumpWindow_->show();
    } else {
      itemDumpWindow_->hide();
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
  statusLayout->addWidget(progress_, 1);
  // The verdict takes the room beside the progress bar and is cut to it, never widening the window.
  seedCheck_ = new ElidedLabel(statusPanel_);
  seedCheck_->setObjectName("SeedCheckLabel");
  seedCheck_->setAccessibleName(tr("Verdict"));
  statusLayout->addWidget(seedCheck_, 2);

  auto* lowerPanel = new QWidget(central);
  lowerPanel->setFixedHeight(kLowerPanelHeight);
  auto* lowerLayout = new QVBoxLayout(lowerPanel);
  lowerLayout->setContentsMargins(0, 0, 0, 0);
  lowerLayout->setSpacing(2);
  lowerLayout->addWidget(lower, 1);
  lowerLayout->addWidget(statusPanel_);
  lower->setParent(lowerPanel);

  auto* rightPane = new QWidget(central);
  auto* right = new QVBoxLayout(rightPane);
  right->setContentsMargins(0, 0, 0, 0);
  right->setSpacing(2);
  right->addWidget(output_, 1);
  right->addWidget(lowerPanel);

  auto* layout = new QHBoxLayout(central);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  // The file list and the rest share the width through a splitter the keeper can move; the window's
  // extra width goes to the report.
  splitter_ = new QSplitter(Qt::Horizontal, central);
  splitter_->setObjectName("Splitter1");
  splitter_->setChildrenCollapsible(false);
  splitter_->setHandleWidth(4);
  splitter_->addWidget(fileList_);
  splitter_->addWidget(rightPane);
  splitter_->setStretchFactor(0, 0);
  splitter_->setStretchFactor(1, 1);
  splitter_->setSizes({kFileListWidth, kWindowWidth - kFileListWidth});
  layout->addWidget(splitter_, 1);
  setCentralWidget(central);
  BuildEmptyState();
}

std::string MainWindow::SettingsFilePath() const {
  return SettingsPath(session_->programDir());
}

void MainWindow::SaveWindowState() {
  // The place of the frame (as move() takes it) and the size of the window within it.
  const QRect normal = isMaximized() || isFullScreen() ? normalGeometry() : QRect(pos(), size());
  const QList<int> sizes = splitter_->sizes();
  // The window's own keys beside the settings; every other key of the file stays. A file that
  // cannot be written only loses the window's place.
  (void)IniFile(SettingsFilePath()).Update([&](Ini& ini) {
    const auto put = [&ini](std::string_view key, int value) {
      ini.Set(kSettingsSection, key, std::to_string(value));
    };
    put(kWindowLeftKey, normal.x());
    put(kWindowTopKey, normal.y());
    put(kWindowWidthKey, normal.width());
    put(kWindowHeightKey, normal.height());
    put(kWindowMaximizedKey, isMaximized() ? 1 : 0);
    if (!sizes.isEmpty()) put(kFileListWidthKey, sizes.front());
    PutRecentPools(ini);
  });
}

bool MainWindow::RestoreWindowState() {
  const IniFile file(SettingsFilePath());
  const auto read = [&file](std::string_view key) -> std::optional<int> {
    const std::int32_t value =
        file.ReadInteger(kSettingsSection, key, std::numeric_limits<std::int32_t>::min());
    if (value == std::numeric_limits<std::int32_t>::min()) return std::nullopt;
    return value;
  };
  if (const auto width = read(kFileListWidthKey); width && *width >= kFileListMinimumWidth) {
    const int total = std::max(splitter_->width(), *width + kFileListWidth);
    splitter_->setSizes({*width, total - *width});
  }
  const auto left = read(kWindowLeftKey), top = read(kWindowTopKey);
  const auto keptWidth = read(kWindowWidthKey), keptHeight = read(kWindowHeightKey);
  if (!left || !top || !keptWidth || !keptHeight || *keptWidth <= 0 || *keptHeight <= 0) return false;
  // The screen that holds most of the kept place; none (a screen that is gone, a changed scaling):
  // the window starts as on a first run.
  const QRect kept(*left, *top, *keptWidth, *keptHeight);
  const QScreen* best = nullptr;
  qint64 bestArea = 0;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect common = screen->availableGeometry().intersected(kept);
    const qint64 area = qint64(common.width()) * common.height();
    if (area > bestArea) {
      best = screen;
      bestArea = area;
    }
  }
  if (best == nullptr) return false;
  // Never larger than the screen, and wholly on it, frame included.
  const QRect available = best->availableGeometry();
  const QSize frame = frameGeometry().size() - size();
  resize(kept.size().expandedTo(minimumSizeHint()).boundedTo(available.size() - frame));
  const QSize outer = size() + frame;
  const int x = std::clamp(kept.x(), available.left(),
                           std::max(available.left(), available.right() + 1 - outer.width()));
  const int y = std::clamp(kept.y(), available.top(),
                           std::max(available.top(), available.bottom() + 1 - outer.height()));
  move(x, y);
  if (read(kWindowMaximizedKey).value_or(0) != 0) setWindowState(windowState() | Qt::WindowMaximized);
  return true;
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (firstShown_ || event->spontaneous()) return;
  firstShown_ = true;
  EnterPoolDirectory();
}
void MainWindow::hideEvent(QHideEvent* event) {
  QMainWindow::hideEvent(event);
  if (!event->spontaneous() && itemDumpWindow_ != nullptr) itemDumpWindow_->hide();
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // Back from another program (the command line, an editor): what it changed is shown.
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) CheckFiles();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (busy_) {
    event->ignore();
    return;
  }
  if (!shutDown_) {
    const Status saved = session_->Shutdown();
    if (!saved) {
      // The settings could not be written: the program keeps running so nothing is lost.
      MessageBoxes::Error(this, MessageToQt(saved.error()));
      event->ignore();
      return;
    }
    shutDown_ = true;
    SaveWindowState();
    // The other windows go with the main window without their own checks: the database window
    // does not ask about unsaved changes, and nothing can keep the program running without its
    // main window.
    for (QWidget* window : std::initializer_list<QWidget*>{databaseWindow_, membersWindow_, itemDumpWindow_})
      window->hide();
  }
  event->accept();
}
void MainWindow::WatchHomeDirectories() {
  if (homeWatcher_ == nullptr) return;
  QString programDir = PathToQt(session_->programDir());
  while (programDir.size() > 1 && programDir.endsWith('/')) programDir.chop(1);
  QStringList wanted{programDir};
  if (!session_->settings().pathToPool.empty()) wanted << PathToQt(session_->settings().pathToPool);
  wanted.removeDuplicates();
  QStringList watched = homeWatcher_->directories();
  watched.sort();
  wanted.sort();
  if (watched == wanted) return;
  if (!watched.isEmpty()) homeWatcher_->removePaths(watched);
  for (const QString& dir : wanted) {
    if (QFileInfo(dir).isDir()) homeWatcher_->addPath(dir);
  }
}

void MainWindow::CheckFiles() {
  // A command looks itself when it starts; a long one's own changes are no news; after the
  // shutdown nothing is read any more.
  if (shutDown_) return;
  if (busy_ || membersWindow_ == nullptr) {
    if (checkTimer_ != nullptr && busy_) checkTimer_->start();
    return;
  }
  session_->CheckFiles();
  SyncWindows();
}

void MainWindow::SyncWindows() {
  if (membersWindow_ == nullptr) return;  // still being made
  membersWindow_->FollowMemberList();
  if (session_->DatabaseReadCount() != shownDatabaseRead_) {
    shownDatabaseRead_ = session_->DatabaseReadCount();
    if (databaseWindow_->isVisible()) databaseWindow_->Reload();
  }
  if (session_->OptionsReadCount() != shownOptionsRead_) {
    shownOptionsRead_ = session_->OptionsReadCount();
    optionsDialog_->ShowValues(session_->settings().html);
  }
}

// SessionUi.

void MainWindow::ProgressStep() {
  const int next = progress_->value() + 1;
  progress_->setValue(next > progress_->maximum() ? 0 : next);
  SyncOutput();
  FollowProgress();
}

void MainWindow::ProgressSet(int position) {
  progress_->setValue(std::clamp(position, 0, kProgressMaximum));
  // Back to 0 is how a command ends, after its writes: it is no place to stop.
  if (position <= 0) {
    QCoreApplication::processEvents();
    return;
  }
  FollowProgress();
}

void MainWindow::FollowProgress() {
  if (progressDialog_ != nullptr) progressDialog_->setValue(progress_->value());
  QCoreApplication::processEvents();
  // The command ends here, before it writes anything for good.
  if (cancellable_ && progressDialog_ != nullptr && progressDialog_->wasCanceled()) throw CommandCancelled{};
}

void MainWindow::Notify(std::string_view message) {
  // A bad file met while browsing is told where it does not stop the browsing.
  if (browsing_) {
    ShowStatusMessage(MessageToQt(message));
  } else {
    MessageBoxes::Information(this, MessageToQt(message));
  }
}

bool MainWindow::Confirm(std::string_view question) {
  return MessageBoxes::AskYesNo(this, MessageToQt(question));
}

void MainWindow::ShowItemDump(const ItemRecord& record, bool decimalView) {
  if (itemDumpWindow_ != nullptr) itemDumpWindow_->ShowItemDump(record, decimalView);
}

void MainWindow::HideItemDump() {
  if (itemDumpWindow_ != nullptr && itemDumpWindow_->isVisible()) itemDumpWindow_->hide();
}

}  // namespace relicor
