#include "gui/MainWindow.h"

// Browsing: the drive selector, the directory tree, the file list, and how the window follows the
// session's browsing state.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStorageInfo>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <algorithm>

#include "gui/AppInfo.h"
#include "gui/ElidedLabel.h"
#include "gui/GuiText.h"
#include "gui/MessageBoxes.h"
#include "identify/ItemReport.h"
#include "saves/SaveArchive.h"
#include "shell/ItemImport.h"
#include "shell/ItemJudgement.h"
#include "shell/SeedCheck.h"
#include "text/ByteText.h"

namespace relicor {
namespace {

// What a drop copied, and why the rest was not copied, one file a line.
QString ImportSummary(const ItemImport& copied, const QString& directory) {
  using Outcome = ItemImport::Outcome;
  const int count = copied.Count(Outcome::kCopied);
  QStringList lines{count == 1 ? MainWindow::tr("1 file copied into %1").arg(directory)
                               : MainWindow::tr("%1 files copied into %2").arg(count).arg(directory)};
  for (const ItemImport::Entry& entry : copied.entries) {
    const QString name = PathToQt(entry.name);
    switch (entry.outcome) {
      case Outcome::kCopied:
        lines << MainWindow::tr("copied: %1").arg(name);
        break;
      case Outcome::kExists:
        lines << MainWindow::tr("not copied, a file of that name is already there: %1").arg(name);
        break;
      case Outcome::kSameFile:
        lines << MainWindow::tr("not copied, it is already there: %1").arg(name);
        break;
      case Outcome::kNotItemFile:
        lines << MainWindow::tr("not copied, not an ITM file: %1").arg(PathToQt(entry.source));
        break;
      case Outcome::kFailed:
        lines << MainWindow::tr("not copied: %1").arg(PathToQt(entry.error));
        break;
    }
  }
  return lines.join('\n');
}

}  // namespace

void MainWindow::FillDrives() {
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
void MainWindow::EnterPoolDirectory() {
  const std::string pool = session_->settings().pathToPool;
  if (!session_->SetCurrentDirectory(pool)) {
    // An unusable pool directory falls back to the program's own, silently; the browser stays
    // where it is.
    session_->settings().pathToPool = ShortString(WithoutTrailingSeparator(session_->programDir()));
    if (session_->currentDirectory().empty())
      (void)session_->SetCurrentDirectory(PathFromQt(QDir::currentPath()));
  } else if (!pool.empty()) {
    RememberPool();
  }
  Sync();
}
void MainWindow::ChangeDirectory(const QString& directory) {
  if (busy_) return;
  const Status changed = session_->SetCurrentDirectory(PathFromQt(directory));
  if (!changed) MessageBoxes::Error(this, MessageToQt(changed.error()));
  Sync();
}

void MainWindow::FileSelected(int row) {
  if (busy_ || row == session_->selectedIndex()) return;
  // A file that cannot be read (or is no item) says so in the status bar: the keeper goes on
  // browsing without a box to close for every such file.
  statusBar()->clearMessage();
  browsing_ = true;
  const Status reported = session_->SelectFile(row);
  browsing_ = false;
  if (!reported) ShowStatusMessage(MessageToQt(reported.error()));
  Sync();
}

std::string MainWindow::SelectedName() const {
  const int selected = session_->selectedIndex();
  if (selected < 0 || selected >= static_cast<int>(session_->fileNames().size())) return {};
  return session_->fileNames()[static_cast<std::size_t>(selected)];
}

void MainWindow::ShowFile(const std::string& name) {
  const std::vector<std::string>& names = session_->fileNames();
  const auto found = name.empty() ? names.end() : std::find(names.begin(), names.end(), name);
  const int row = found == names.end() ? -1 : static_cast<int>(found - names.begin());
  // Reported anew even when it stays selected: the command may have changed the item.
  browsing_ = true;
  const Status reported = session_->SelectFile(row);
  browsing_ = false;
  if (!reported) ShowStatusMessage(MessageToQt(reported.error()));
}

void MainWindow::RereadFileList() {
  if (const Status reread = session_->RereadFileList(); !reread)
    MessageBoxes::Error(this, MessageToQt(reread.error()));
  shownDirectory_.clear();  // its subdirectories may have changed too
}

void MainWindow::RefreshFileList() {
  // A long command changes the directory itself and reads it when it ends; look again later.
  if (busy_) {
    refreshTimer_->start();
    return;
  }
  refreshTimer_->stop();
  if (const Status reread = session_->RefreshFileList(); !reread)
    ShowStatusMessage(MessageToQt(reread.error()));
  shownDirectory_.clear();  // its subdirectories may have changed too
  Sync();
}

void MainWindow::WatchCurrentDirectory() {
  const QString current = PathToQt(session_->currentDirectory());
  const QStringList watched = watcher_->directories();
  if (watched.size() == 1 && watched.front() == current) return;
  if (!watched.isEmpty()) watcher_->removePaths(watched);
  if (!current.isEmpty()) watcher_->addPath(current);
}

void MainWindow::ShowStatusMessage(const QString& text) {
  statusBar()->showMessage(text);
}

void MainWindow::OpenPaths(const QStringList& paths) {
  if (paths.isEmpty()) return;
  const QFileInfo info(paths.front());
  if (!info.exists()) {
    MessageBoxes::Error(this, tr("%1: no such file or directory").arg(paths.front()));
    return;
  }
  if (info.isDir()) {
    ChangeDirectory(info.absoluteFilePath());
    return;
  }
  ChangeDirectory(info.absolutePath());
  if (WithoutTrailingSeparator(session_->currentDirectory()) != PathFromQt(info.absolutePath())) return;
  const std::vector<std::string>& names = session_->fileNames();
  const auto found = std::find(names.begin(), names.end(), PathFromQt(info.fileName()));
  if (found != names.end()) FileSelected(static_cast<int>(found - names.begin()));
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!busy_ && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) paths << url.toLocalFile();
  }
  if (paths.isEmpty()) return;
  event->acceptProposedAction();
  // A save game (told by its content) is imported; every other file goes the way of item files.
  QStringList items;
  QStringList saves;
  for (const QString& path : paths) (saves::StartsLikeSaveArchive(PathFromQt(path)) ? saves : items) << path;
  if (!items.isEmpty()) CopyItemFilesIn(items);
  if (!saves.isEmpty()) ImportSavesIn(saves);
}

void MainWindow::CopyItemFilesIn(const QStringList& paths) {
  if (busy_ || session_->currentDirectory().empty()) return;
  std::vector<std::string> sources;
  sources.reserve(static_cast<std::size_t>(paths.size()));
  for (const QString& path : paths) sources.push_back(PathFromQt(path));
  const std::string directory = session_->currentDirectory();
  const ItemImport copied = CopyItemFilesInto(sources, directory);
  RefreshFileList();
  MessageBoxes::Information(this, ImportSummary(copied, PathToQt(directory)));
}

void MainWindow::Sync() {
  SyncWindows();
  WatchHomeDirectories();
  SyncDirectory();
  SyncFiles();
  SyncOutput();
  SyncStatus();
  SyncFlags();
  SyncCommands();
  SyncPool();
}

std::optional<qsizetype> MainWindow::PoolItemCount() {
  const std::string& pool = session_->settings().pathToPool;
  if (pool.empty()) return std::nullopt;
  if (pool == session_->currentDirectory()) return static_cast<qsizetype>(session_->fileNames().size());
  const QString poolText = PathToQt(pool);
  if (poolText != countedPool_) {
    countedPool_ = poolText;
    const QDir dir(poolText);
    countedPoolItems_ =
        dir.exists() ? std::optional<qsizetype>(dir.entryList({"*.ITM"}, QDir::Files).size()) : std::nullopt;
  }
  return countedPoolItems_;
}

void MainWindow::SyncPool() {
  const QString pool = PathToQt(session_->settings().pathToPool);
  const std::optional<qsizetype> count = PoolItemCount();
  setWindowTitle(WindowTitle(pool, count));
  poolStatus_->setText(PoolStatusText(pool, count));
  poolStatus_->setToolTip(poolStatus_->text());
}

void MainWindow::SyncDirectory() {
  WatchCurrentDirectory();
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
  const QString prefix = current == "/" ? current : current + "/";
  for (const std::string& name : session_->subdirectoryNames()) {
    const QString sub = PathToQt(name);
    auto* child = new QTreeWidgetItem(currentItem, QStringList{sub});
    child->setIcon(0, closed);
    child->setData(0, kPathRole, prefix + sub);
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

void MainWindow::SyncFiles() {
  const std::vector<std::string>& names = session_->fileNames();
  const QSignalBlocker block(fileList_);
  if (names != shownFiles_) {
    shownFiles_ = names;
    // All names in one call (a directory may hold 100,000 files); a refresh keeps the scrolling.
    const int scrolled = fileList_->verticalScrollBar()->value();
    QStringList shown;
    shown.reserve(static_cast<qsizetype>(names.size()));
    // Decoded as PathToQt decodes a name (Qt takes file names on Linux as UTF-8, whatever the
    // locale), but directly: through the locale's decoder and a copied byte array each name costs
    // three times as much.
    for (const std::string& name : names)
      shown << QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    fileList_->clear();
    fileList_->addItems(shown);
    fileList_->verticalScrollBar()->setValue(scrolled);
  }
  SyncEmptyState();
  const int selected = session_->selectedIndex();
  if (selected >= 0) {
    if (fileList_->currentRow() != selected) fileList_->setCurrentRow(selected);
  } else {
    // No current name either: the first key press then selects the first name.
    fileList_->clearSelection();
    fileList_->setCurrentIndex(QModelIndex());
  }
}

void MainWindow::SyncOutput() {
  const std::vector<std::string>& lines = session_->OutputLines();
  const QString judgement = Judgement();
  if (lines == shownOutput_ && judgement == shownJudgement_) return;
  shownOutput_ = lines;
  shownJudgement_ = judgement;
  output_->clear();
  for (const std::string& line : lines) output_->addItem(ToQt(line));
  // The whole verdict closes the report on the screen (the report's own lines stay as the text
  // export and the pages write them).
  if (!lines.empty() && !judgement.isEmpty()) output_->addItem(tr("Verdict: %1").arg(judgement));
}

QString MainWindow::Judgement() {
  // A long command reports other items meanwhile: the selected one is judged again at its end.
  if (busy_) return judgement_;
  const std::string path = session_->SelectedPath();
  const std::optional<ItemRecord> cached = path.empty() ? std::nullopt : session_->CachedRecord(path);
  if (!cached) {
    judgedFrom_.clear();
    judgement_.clear();
    return {};
  }
  const ItemRecord& record = *cached;
  const ItemReport& report = session_->CurrentReport();
  const bool registered = record.HasSignature() && session_->IsInDatabase(record.ItemKey());
  // The seed check rebuilds the item: it runs again only when the item or the findings changed.
  std::string from(record.view());
  for (const RaisedFinding& finding : report.findings) from += "," + std::to_string(finding.code);
  from += registered ? "R" : "-";
  if (from != judgedFrom_) {
    judgedFrom_ = std::move(from);
    judgement_ = ToQt(JudgementText(CheckItem(record), report, registered));
  }
  return judgement_;
}

void MainWindow::SyncStatus() {
  // The colour and the verdict are those of the selected item; with nothing selected, neither.
  QPalette palette = statusPanel_->palette();
  if (session_->selectedIndex() >= 0) {
    const Rgb rgb = StatusRgb(session_->statusColour());
    palette.setColor(QPalette::Window, QColor(rgb.r, rgb.g, rgb.b));
  } else {
    palette.setColor(QPalette::Window, QApplication::palette(statusPanel_).color(QPalette::Window));
  }
  statusPanel_->setPalette(palette);
  seedCheck_->SetFullText(Judgement());
}

void MainWindow::SyncFlags() {
  const OptionFlags& flags = session_->flags();
  for (auto [box, on] : {std::pair{cbVk_, flags.vkMode}, std::pair{cbDebug_, flags.debugFile},
                         std::pair{cbAddInfo_, flags.additionalInfo},
                         std::pair{cbDumpView_, flags.dumpWindow}, std::pair{cbDec_, flags.decimalView}}) {
    const QSignalBlocker block(box);
    box->setChecked(on);
  }
}

void MainWindow::SyncCommands() {
  const bool sending = session_->SendingAvailable();
  mnuMarkPublic_->setEnabled(sending);
  mnuPrepareSend_->setEnabled(sending);
  mnuAddDupe_->setEnabled(session_->selectedIndex() >= 0);
}
}  // namespace relicor
