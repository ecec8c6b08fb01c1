#include "gui/MainWindow.h"

// The pool and the sent directory chosen with the desktop's directory dialog, the recent pools of
// the file menu, and the file list's empty state.

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/GuiText.h"
#include "gui/MessageBoxes.h"
#include "platform/Ini.h"
#include "platform/IniFile.h"
#include "platform/Settings.h"

namespace relicor {
namespace {

std::string RecentPoolKey(int number) {
  return std::string(kRecentPoolKeyPrefix) + std::to_string(number);
}

// The path as a pool is kept: without a trailing separator (the root stays "/").
QString PoolPath(QString path) {
  while (path.size() > 1 && path.endsWith('/')) path.chop(1);
  return path;
}

}  // namespace

void MainWindow::OpenPool(const QString& directory) {
  if (!QFileInfo(directory).isDir()) {
    MessageBoxes::Error(this, tr("%1: no such directory").arg(directory));
    recentPoolList_.removeAll(PoolPath(directory));
    FillRecentPools();
    return;
  }
  if (const Status set = session_->SetPoolDirectory(PathFromQt(PoolPath(directory))); !set) {
    MessageBoxes::Error(this, MessageToQt(set.error()));
    Sync();
    return;
  }
  ChangeDirectory(directory);
  RememberPool();
  Sync();
}

void MainWindow::OnChooseSentDir() {
  const QString chosen =
      ChooseDirectory(tr("Choose Sent Directory"), PathToQt(session_->settings().pathToSent));
  if (chosen.isEmpty()) return;
  if (const Status set = session_->SetSentDirectory(PathFromQt(PoolPath(chosen))); !set)
    MessageBoxes::Error(this, MessageToQt(set.error()));
  else
    ShowStatusMessage(tr("Sent directory: %1").arg(PoolPath(chosen)));
  Sync();
}

void MainWindow::LoadRecentPools() {
  const IniFile file(SettingsFilePath());
  recentPoolList_.clear();
  for (int number = 1; number <= kRecentPoolCount; ++number) {
    const std::string path = file.ReadString(kSettingsSection, RecentPoolKey(number), "");
    if (path.empty()) break;
    const QString pool = PoolPath(PathToQt(path));
    if (!recentPoolList_.contains(pool)) recentPoolList_ << pool;
  }
  FillRecentPools();
}

void MainWindow::RememberPool() {
  const QString pool = PoolPath(PathToQt(session_->settings().pathToPool));
  if (pool.isEmpty()) return;
  recentPoolList_.removeAll(pool);
  recentPoolList_.prepend(pool);
  while (recentPoolList_.size() > kRecentPoolCount) recentPoolList_.removeLast();
  FillRecentPools();
}

void MainWindow::FillRecentPools() {
  if (recentPools_ == nullptr) return;
  recentPools_->clear();
  int number = 0;
  for (const QString& pool : recentPoolList_) {
    ++number;
    // The first nine take their number as access key; an ampersand of the path is shown as one.
    QString caption = QString(pool).replace('&', "&&");
    if (number <= 9) caption = QString("&%1 %2").arg(number).arg(caption);
    QAction* action = recentPools_->addAction(caption);
    action->setObjectName(QString("MNURecentPool%1").arg(number));
    action->setData(pool);
    connect(action, &QAction::triggered, this, [this, pool] {
      if (!busy_) OpenPool(pool);
    });
  }
  recentPools_->setEnabled(!recentPoolList_.isEmpty());
}

void MainWindow::PutRecentPools(Ini& ini) const {
  for (int number = 1; number <= kRecentPoolCount; ++number) {
    const std::string path =
        number <= recentPoolList_.size() ? PathFromQt(recentPoolList_[number - 1]) : std::string();
    // Keys of a longer list before are emptied, not left behind.
    if (!path.empty() || ini.Get(kSettingsSection, RecentPoolKey(number)))
      ini.Set(kSettingsSection, RecentPoolKey(number), path);
  }
}

void MainWindow::BuildEmptyState() {
  emptyState_ = new QWidget(fileList_->viewport());
  emptyState_->setObjectName("EmptyState");
  auto* layout = new QVBoxLayout(emptyState_);
  layout->setContentsMargins(8, 8, 8, 8);
  auto* text = new QLabel(tr("Open a pool, or drop ITM files here"), emptyState_);
  text->setObjectName("EmptyStateText");
  text->setWordWrap(true);
  text->setAlignment(Qt::AlignCenter);
  text->setEnabled(false);  // drawn in the gray of a hint
  auto* open = new QPushButton(tr("Open Pool") + QChar(0x2026), emptyState_);
  open->setObjectName("EmptyStateOpenPool");
  connect(open, &QPushButton::clicked, this, [this] {
    if (!busy_) OnOpenPool();
  });
  layout->addStretch();
  layout->addWidget(text);
  layout->addWidget(open, 0, Qt::AlignHCenter);
  layout->addStretch();
  fileList_->viewport()->installEventFilter(this);
  emptyState_->hide();
}

void MainWindow::SyncEmptyState() {
  if (emptyState_ == nullptr) return;
  const bool empty = session_->fileNames().empty();
  if (empty) emptyState_->setGeometry(fileList_->viewport()->rect());
  emptyState_->setVisible(empty);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // The empty state covers the file list's area whatever its size.
  if (emptyState_ != nullptr && watched == fileList_->viewport() && event->type() == QEvent::Resize)
    emptyState_->setGeometry(fileList_->viewport()->rect());
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace relicor
