// The manual: F1 opens the HTML manual made from the README, found beside the program in the
// build tree or under share/doc when installed; the HTML manual and the manual page relicor(1)
// name every shortcut the menus define.

#include <QAction>
#include <QFile>
#include <QKeySequence>
#include <QTest>
#include <memory>

#include "GuiTestSupport.h"
#include "gui/DesktopOpener.h"
#include "gui/MainWindow.h"
#include "gui/UserManual.h"

namespace relicor::test {

class ManualTest : public QObject {
  Q_OBJECT

 private:
  static QString Read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
  }

 private slots:
  void initTestCase() { InterceptMessageBoxes(); }

  void everyShortcutOfTheMenusIsInTheManualAndTheManualPage() {
    const QString manual = Read(RELICOR_MANUAL_PATH);
    const QString manPage = Read(RELICOR_MAN_PAGE_PATH);
    QVERIFY2(manual.startsWith("<!DOCTYPE html>"), RELICOR_MANUAL_PATH);
    QVERIFY(manual.contains("<h3 id=\"keyboard-shortcuts\">Keyboard shortcuts</h3>"));
    QVERIFY(manPage.contains(".SH SHORTCUTS"));

    GuiHome home;
    FixedClock clock(TestNow());
    MainWindow form(home.programDir(), clock);
    QStringList shortcuts;
    for (const QAction* action : form.findChildren<QAction*>()) {
      for (const QKeySequence& key : action->shortcuts())
        shortcuts << key.toString(QKeySequence::PortableText);
    }
    QVERIFY(shortcuts.contains("F1"));
    QVERIFY(shortcuts.contains("Ctrl+O"));
    for (const QString& key : shortcuts) {
      QVERIFY2(manual.contains(key), qPrintable("the HTML manual lacks " + key));
      QVERIFY2(manPage.contains(key), qPrintable("relicor(1) lacks " + key));
    }
  }

  void theManualIsFoundInTheBuildTreeOrWhereItIsInstalled() {
    TempDir dir;
    dir.mkdir("bin");
    QCOMPARE(UserManualPath(PathToQt(dir.file("bin"))), QString());
    dir.mkdir("share");
    dir.mkdir("share/doc");
    dir.mkdir("share/doc/relicor");
    dir.write("share/doc/relicor/relicor-manual.html", "<!DOCTYPE html>");
    QCOMPARE(UserManualPath(PathToQt(dir.file("bin"))),
             PathToQt(dir.file("share/doc/relicor/relicor-manual.html")));
    dir.mkdir("bin/doc");
    dir.write("bin/doc/relicor-manual.html", "<!DOCTYPE html>");
    QCOMPARE(UserManualPath(PathToQt(dir.file("bin"))), PathToQt(dir.file("bin/doc/relicor-manual.html")));
  }

  // F1 opens the manual in the browser; where there is none (the test programs' directory) it
  // says so instead of doing nothing.
  void f1OpensTheManualOrSaysWhyNot() {
    GuiHome home;
    FixedClock clock(TestNow());
    MainWindow form(home.programDir(), clock);
    QAction* manual = Action(&form, "MNUManual");
    QVERIFY(manual != nullptr);
    QCOMPARE(manual->shortcut(), QKeySequence(QKeySequence::HelpContents));
    QList<QUrl> opened;
    DesktopOpener::SetHook([&opened](const QUrl& url) {
      opened << url;
      return true;
    });
    MessageBoxes::ClearRequests();
    manual->trigger();
    DesktopOpener::SetHook({});
    if (UserManualPath(QCoreApplication::applicationDirPath()).isEmpty()) {
      QVERIFY(opened.isEmpty());
      QCOMPARE(MessageBoxes::requests().size(), std::size_t{1});
      QVERIFY(MessageBoxes::requests().front().text.contains("man relicor"));
    } else {
      QCOMPARE(opened.size(), 1);
      QVERIFY(opened.front().toLocalFile().endsWith(kManualFileName));
    }
  }
};

}  // namespace relicor::test

QTEST_MAIN(relicor::test::ManualTest)
#include "ManualTest.moc"
