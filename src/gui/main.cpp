// relicor: the desktop application. Files given on the command line (the desktop's "open with")
// open their directory with the first of them selected; --help and --version print and end
// without a window.

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <cstdio>

#include "gui/AppInfo.h"
#include "gui/GuiText.h"
#include "gui/Icons.h"
#include "gui/MainWindow.h"
#include "platform/Clock.h"
#include "platform/ProgramDir.h"

int main(int argc, char* argv[]) {
  // Read before the application starts, so that they need no display.
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const relicor::StartupRequest request = relicor::ParseStartup(arguments);
  if (request.exitCode) {
    std::fputs(request.text.toLocal8Bit().constData(), stdout);
    return *request.exitCode;
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName("relicor");
  QApplication::setWindowIcon(relicor::AppIcon());

  relicor::SystemClock clock;
  relicor::MainWindow window(relicor::HomeDirectory(), clock);
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!window.RestoreWindowState() && screen != nullptr) {
    window.move(screen->availableGeometry().center() - window.rect().center());
  }
  window.show();
  window.OpenPaths(relicor::ParseStartup(QApplication::arguments().mid(1)).paths);
  return QApplication::exec();
}
