#include "gui/UserManual.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "gui/DesktopOpener.h"
#include "gui/MessageBoxes.h"

namespace relicor {

QString UserManualPath(const QString& programDir) {
  const QDir dir(programDir);
  for (const QString& candidate : {dir.filePath(QString("doc/") + kManualFileName),
                                   dir.filePath(QString("../share/doc/relicor/") + kManualFileName)}) {
    if (QFileInfo(candidate).isFile()) return QDir::cleanPath(QFileInfo(candidate).absoluteFilePath());
  }
  return {};
}

void OpenUserManual(QWidget* parent) {
  const QString path = UserManualPath(QCoreApplication::applicationDirPath());
  if (path.isEmpty()) {
    MessageBoxes::Error(parent,
                        QCoreApplication::translate("relicor::UserManual",
                                                    "The user manual is not installed beside the "
                                                    "program. \"man relicor\" shows the manual page."));
    return;
  }
  if (!DesktopOpener::Open(QUrl::fromLocalFile(path)))
    MessageBoxes::Error(
        parent, QCoreApplication::translate("relicor::UserManual", "The browser could not be started for %1")
                    .arg(path));
}

}  // namespace relicor
