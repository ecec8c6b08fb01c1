// The main window after another program (the command line, a second Relicor) changed the pool or
// the program directory while it ran: its commands work on the files as they are then, never on
// what the window read before.

#include <QAction>
#include <QDir>
#include <QListWidget>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <memory>

#include "MainWindowFixture.h"
#include "gui/DesktopOpener.h"
#include "gui/MainWindow.h"

namespace relicor::test {

class MainWindowExternalChangesTest : public QObject, protected MainWindowFixture {
  Q_OBJECT

 private:
  // Every page the publishing wrote into the pool, one after the other.
  std::string Pages() const {
    std::string pages;
    for (const QString& name : QDir(PathToQt(home_->pool())).entryList({"*.htm"}, QDir::Files))
      pages += home_->dir().read("POOL/" + PathFromQt(name));
    return pages;
  }

 private slots:
  void initTestCase() {
    InterceptMessageBoxes();
    DesktopOpener::SetHook([](const QUrl&) { return true; });
  }
  void cleanupTestCase() { DesktopOpener::SetHook({}); }
  void init() { NewHome(); }
  void cleanup() { DropHome(); }

  // The ring the window showed is sent away by the command line, and a sword is copied in under its
  // name and given a sender there: the pages show the sword; a bow that takes the name next is
  // named after the bow by the rename run.
  void anItemReplacedUnderItsNameIsReadAgainBeforePublishingAndRenaming() {
    home_->WriteItem("ring.ITM", RingItem());
    home_->dir().write("POOL/ring.IT0", "[Iteminfos]\r\nSenderName=alice\r\n");
    auto form = Start();
    Files(*form)->setCurrentRow(0);
    QVERIFY(Texts(Output(*form)).contains("by alice"));

    home_->dir().mkdir("AWAY");
    std::filesystem::rename(home_->dir().file("POOL/ring.ITM"), home_->dir().file("AWAY/ring.ITM"));
    std::filesystem::rename(home_->dir().file("POOL/ring.IT0"), home_->dir().file("AWAY/ring.IT0"));
    home_->WriteItem("ring.ITM", SwordItem());
    home_->dir().write("POOL/ring.IT0", "[Iteminfos]\r\nSenderName=bob\r\n");

    Action(form.get(), "MNUStartCreate")->trigger();
    const std::string pages = Pages();
    QVERIFY(!pages.empty());
    QVERIFY2(pages.find("alice") == std::string::npos, "the ring's sender is on a page");
    QVERIFY(pages.find("by bob") != std::string::npos);
    QVERIFY(pages.find("KING'S SHORT SWORD OF THE ZODIAC") != std::string::npos);

    // Once more before the rename run: the sword goes, a bow comes under the same name.
    home_->dir().mkdir("AWAY2");
    std::filesystem::rename(home_->dir().file("POOL/ring.ITM"), home_->dir().file("AWAY2/ring.ITM"));
    home_->WriteItem("ring.ITM", BowItem());
    MessageBoxes::PushAnswer(QMessageBox::Yes);
    Action(form.get(), "MNURenameRun")->trigger();
    const QStringList onDisk = QDir(PathToQt(home_->pool())).entryList({"*.ITM"}, QDir::Files);
    QCOMPARE(onDisk.size(), 1);
    QCOMPARE(onDisk.front(), QString("LongBattleBow0001.ITM"));
    QCOMPARE(home_->dir().read("POOL/" + PathFromQt(onDisk.front())), BowItem().bytes());
  }

  // A sender the command line assigned while the window showed the item is in the next report.
  void aSidecarChangedByAnotherProgramIsInTheNextReport() {
    home_->WriteItem("Sword.ITM", SwordItem());
    home_->WriteItem("Bow.ITM", BowItem());
    auto form = Start();
    Files(*form)->setCurrentRow(1);
    QVERIFY(!Texts(Output(*form)).contains("by carl"));
    home_->dir().write("POOL/Sword.IT0", "[Iteminfos]\r\nSenderName=carl\r\n");
    Files(*form)->setCurrentRow(0);
    Files(*form)->setCurrentRow(1);
    QVERIFY2(Texts(Output(*form)).contains("by carl"), qPrintable(Texts(Output(*form)).join('|')));
  }
};

}  // namespace relicor::test

QTEST_MAIN(relicor::test::MainWindowExternalChangesTest)
#include "MainWindowExternalChangesTest.moc"
