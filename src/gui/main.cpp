// relicor: the desktop application. Files given on the command line (the desktop's "open with")
// open their directory with the first of them selected.

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>

#include "gui/GuiText.h"
#include "gui/Icons.h"
#include "gui/MainWindow.h"
#include "platform/Clock.h"
#include "platform/ProgramDir.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("relicor");
  QApplication::setWindowIcon(relicor::AppIcon());

  relicor::SystemClock clock;
  relicor::MainWindow window(relicor::HomeDirectory(), clock);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    window.move(screen->availableGeometry().center() - window.rect().center());
  }
  window.show();
  window.OpenPaths(QApplication::arguments().mid(1));
  return QApplication::exec();
}
