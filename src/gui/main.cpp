// relicor: the desktop application.

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

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
  return QApplication::exec();
}
