// relicor-screenshots OUTDIR [--language NAME] [--translations DIR]: draws every window of the
// desktop offscreen over a small pool of our own items and writes one PNG per window into OUTDIR,
// each named after the language and the window ("classic-main.png"). Not a test: the pictures
// are for the manual and for reviews. NAME is Classic (the texts in the code), English or Deutsch
// (relicor_en.qm / relicor_de.qm from DIR, by default the build tree's translations).

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QTextStream>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <functional>
#include <memory>

#include "GuiTestSupport.h"
#include "gui/DatabaseWindow.h"
#include "gui/ItemDumpWindow.h"
#include "gui/MainWindow.h"
#include "gui/MembersWindow.h"
#include "gui/PublishOptionsDialog.h"
#include "gui/SaveImportDialog.h"
#include "gui/SenderListWindow.h"

namespace {

using relicor::MainWindow;
using relicor::MessageBoxes;
namespace test = relicor::test;

class Shooter {
 public:
  Shooter(QString dir, QString prefix) : dir_(std::move(dir)), prefix_(std::move(prefix)) {}

  void Shoot(QWidget* window, const QString& name, const QString& shows) {
    QCoreApplication::processEvents();
    const QString file = QDir(dir_).filePath(prefix_ + "-" + name + ".png");
    if (!window->grab().save(file)) {
      std::fprintf(stderr, "relicor-screenshots: %s could not be written\n", qPrintable(file));
      failed_ = true;
      return;
    }
    std::printf("%s\t%dx%d\t%s\n", qPrintable(file), window->width(), window->height(), qPrintable(shows));
  }

  // A modal box or dialog that `open` shows: drawn, then closed.
  void ShootModal(const std::function<void()>& open, const QString& name, const QString& shows) {
    QTimer::singleShot(50, [this, name, shows] {
      if (QWidget* box = QApplication::activeModalWidget()) {
        Shoot(box, name, shows);
        box->close();
      }
    });
    open();
  }

  bool failed() const { return failed_; }

 private:
  QString dir_;
  QString prefix_;
  bool failed_ = false;
};

// The program directory with a pool of three items, two members and a sent directory.
void FillHome(const test::GuiHome& home) {
  home.WriteItem("King's Short Sword of the Zodiac.ITM", test::SwordItem());
  home.WriteItem("Long Battle Bow.ITM", test::BowItem());
  home.WriteItem("Precious Ring.ITM", test::RingItem());
  home.dir().write("POOL/King's Short Sword of the Zodiac.IT0",
                   "[Iteminfos]\r\nSenderName=alice\r\nPoints4Item=1\r\nAddedItem=01.03.2024\r\n");
  home.dir().write("POOL/PLAYERS.TXT", "alice\r\nbob\r\n");
  home.dir().mkdir("ITMOUT");
  home.dir().write("RELICOR.INI", "[RELICOR]\r\nPathToPool=" + home.pool() +
                                      "\r\nPathToSent=" + home.dir().file("ITMOUT") + "\r\n");
}

int Run(const QString& outDir, const QString& language) {
  const QString prefix = language.toLower();
  Shooter shooter(outDir, prefix);
  relicor::FixedClock clock(test::TestNow());

  // The empty state: a first start without a pool.
  {
    test::GuiHome home;
    home.dir().write("RELICOR.INI", "[RELICOR]\r\nPathToPool=\r\n");
    MainWindow form(home.programDir(), clock);
    form.resize(1000, 680);
    form.show();
    shooter.Shoot(&form, "main-empty", "the main window at a first start, no pool");
    form.close();
  }

  test::GuiHome home;
  FillHome(home);
  MainWindow form(home.programDir(), clock);
  form.resize(1000, 680);
  form.show();
  form.findChild<QListWidget*>("FileListBox1")->setCurrentRow(0);
  shooter.Shoot(&form, "main", "the main window over a pool of three items, the sword's report");

  form.findChild<QCheckBox*>("CBDumpView")->click();
  shooter.Shoot(form.dataWindow(), "data-window", "the data window: the sword's bytes and field names");
  form.findChild<QCheckBox*>("CBDumpView")->click();

  test::Action(&form, "MNUMembers")->trigger();
  shooter.Shoot(form.membersWindow(), "members", "the Members window with two members");
  form.membersWindow()->close();

  test::Action(&form, "MNUViewDupe")->trigger();
  shooter.Shoot(form.databaseWindow(), "database", "the dupe and hack database window (empty)");
  form.databaseWindow()->close();

  shooter.ShootModal([&] { test::Action(&form, "MNUOptions")->trigger(); }, "options",
                     "the Options dialog with OK, Cancel, Apply and the pickers");

  test::Action(&form, "MNUCreateSenderlist")->trigger();
  if (form.senderListWindow() != nullptr) {
    shooter.Shoot(form.senderListWindow(), "sender-list", "the sender list since 15.02.2024");
    form.senderListWindow()->close();
  }

  relicor::SaveImportDialog import(&form, relicor::SaveImportResult{}, {"alice", "bob"});
  import.show();
  shooter.Shoot(&import, "import", "the import dialog (no save chosen)");
  import.close();

  MessageBoxes::SetIntercept(false);
  shooter.ShootModal([&] { test::Action(&form, "MNUAbout")->trigger(); }, "about", "Help > About Relicor");
  QStringList moves;
  for (int i = 1; i <= 60; ++i) moves << QString("POOL/Item%1.ITM -> POOL/Sword of the Zodiac %1.ITM").arg(i);
  shooter.ShootModal(
      [&] {
        MessageBoxes::InformationWithDetails(&form, "60 restored, 0 left as they are", moves.join('\n'));
      },
      "box-details", "a result box: one line, the list behind Show Details");
  MessageBoxes::SetIntercept(true);
  form.close();
  return shooter.failed() ? 1 : 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  // Offscreen, the pictures are of a 1366x768 screen.
  const QString screen =
      QDir::temp().filePath(QString("relicor-shots-%1.json").arg(QCoreApplication::applicationPid()));
  if (QFile file(screen); file.open(QIODevice::WriteOnly)) {
    file.write(R"({"screens": [{"name": "shots", "x": 0, "y": 0, "width": 1366, "height": 768}]})");
    file.close();
    if (qgetenv("QT_QPA_PLATFORM").isEmpty() || qgetenv("QT_QPA_PLATFORM") == "offscreen")
      qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screen.toLocal8Bit());
  }
  QApplication app(argc, argv);
  QFile::remove(screen);
  QStringList args = QApplication::arguments().mid(1);
  QString language = "Classic";
  QString translations = QDir(QApplication::applicationDirPath()).filePath("translations");
  QString outDir;
  for (int i = 0; i < args.size(); ++i) {
    if (args[i] == "--language" && i + 1 < args.size()) {
      language = args[++i];
    } else if (args[i] == "--translations" && i + 1 < args.size()) {
      translations = args[++i];
    } else if (outDir.isEmpty() && !args[i].startsWith("--")) {
      outDir = args[i];
    } else {
      outDir.clear();
      break;
    }
  }
  if (outDir.isEmpty()) {
    std::fputs(
        "usage: relicor-screenshots OUTDIR [--language Classic|English|Deutsch] [--translations DIR]\n",
        stderr);
    return 2;
  }
  if (!QDir().mkpath(outDir)) {
    std::fprintf(stderr, "relicor-screenshots: %s cannot be made\n", qPrintable(outDir));
    return 1;
  }
  QTranslator translator;
  const QString code = language == "English" ? "en" : language == "Deutsch" ? "de" : "";
  if (language != "Classic" && code.isEmpty()) {
    std::fprintf(stderr, "relicor-screenshots: unknown language %s\n", qPrintable(language));
    return 2;
  }
  if (!code.isEmpty()) {
    if (!translator.load("relicor_" + code, translations)) {
      std::fprintf(stderr, "relicor-screenshots: no relicor_%s.qm in %s\n", qPrintable(code),
                   qPrintable(translations));
      return 1;
    }
    QCoreApplication::installTranslator(&translator);
  }
  // Boxes a window raises on its own are answered; the pictures of boxes show real ones.
  MessageBoxes::SetIntercept(true);
  return Run(outDir, language);
}
