// relicor: the desktop application.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <string>

#include "gui/GuiText.h"
#include "gui/Icons.h"
#include "gui/TForm1.h"
#include "platform/Clock.h"
#include "platform/ProgramDir.h"

namespace {

// The program's own directory holds RELICOR.INI and IDENT.ID; an installed program cannot write
// there and keeps them in the user's configuration directory instead.
std::string HomeDirectory() {
  const std::string programDir = relicor::ProgramDir();
  const QFileInfo info(relicor::PathToQt(programDir));
  if (info.isDir() && info.isWritable()) return programDir;
  const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/relicor";
  QDir().mkpath(config);
  return relicor::PathFromQt(config) + "/";
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("relicor");
  QApplication::setWindowIcon(relicor::AppIcon());

  relicor::SystemClock clock;
  relicor::TForm1 window(HomeDirectory(), clock);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    window.move(screen->availableGeometry().center() - window.rect().center());
  }
  window.show();
  return QApplication::exec();
}
