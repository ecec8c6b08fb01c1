// Pools in the main window: the sent directory chosen with a directory dialog, the recent pools
// of the file menu (kept in RELICOR.INI beside every other key), and the empty state of a window
// without items, which takes dropped item files.

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <filesystem>
#include <memory>

#include "MainWindowFixture.h"
#include "gui/MainWindow.h"

namespace relicor::test {

class MainWindowPoolsTest : public QObject, protected MainWindowFixture {
  Q_OBJECT

 private:
  static QStringList RecentPools(MainWindow& form) {
    QStringList pools;
    auto* menu = form.findChild<QMenu*>("MNURecentPools");
    for (QAction* action : menu->actions()) pools << action->data().toString();
    return pools;
  }
  QString Dir(const std::string& name) const { return PathToQt(home_->dir().file(name)); }

 private slots:
  void initTestCase() { InterceptMessageBoxes(); }
  void init() { NewHome(); }
  void cleanup() { DropHome(); }

  void sentDirectoryIsChosenWithADialog() {
    home_->dir().mkdir("OUT");
    auto form = Start();
    QAction* choose = Action(form.get(), "MNUChooseSentDir");
    QCOMPARE(choose->parent()->objectName(), QString("MNUDatei"));
    QString offered;
    form->SetDirectoryChooser([&offered](const QString& start) {
      offered = start;
      return QString();  // cancelled
    });
    choose->trigger();
    QCOMPARE(offered, Dir("ITMOUT"));
    QCOMPARE(form->session().settings().pathToSent, home_->dir().file("ITMOUT"));

    form->SetDirectoryChooser([this](const QString&) { return Dir("OUT") + "/"; });
    choose->trigger();
    QCOMPARE(form->session().settings().pathToSent, home_->dir().file("OUT"));
    // The browser stays where it is: choosing the sent directory is no change of directory.
    QCOMPARE(form->session().currentDirectory(), home_->pool());
    QVERIFY(MessageBoxes::requests().empty());
    QVERIFY(form->close());
    QCOMPARE(IniValues(home_->ReadIni()).at("PathToSent"), home_->dir().file("OUT"));
  }

  void recentPoolsAreKeptBesideTheOtherKeys() {
    home_->dir().mkdir("OTHER");
    home_->dir().mkdir("THIRD");
    home_->dir().write("RELICOR.INI", "[RELICOR]\r\nSomeoneElsesKey=kept\r\n[Other]\r\nA=1\r\n");
    {
      auto form = Start();
      QCOMPARE(RecentPools(*form), QStringList{Dir("POOL")});
      form->SetDirectoryChooser([this](const QString&) { return Dir("OTHER"); });
      Action(form.get(), "MNUOpenPool")->trigger();
      form->SetDirectoryChooser([this](const QString&) { return Dir("THIRD"); });
      Action(form.get(), "MNUOpenPool")->trigger();
      form->SetDirectoryChooser([this](const QString&) { return Dir("OTHER"); });
      Action(form.get(), "MNUOpenPool")->trigger();  // a pool opened again moves to the top
      QCOMPARE(RecentPools(*form), (QStringList{Dir("OTHER"), Dir("THIRD"), Dir("POOL")}));
      QVERIFY(form->close());
    }
    const auto values = IniValues(home_->ReadIni());
    QCOMPARE(values.at("RecentPool1"), home_->dir().file("OTHER"));
    QCOMPARE(values.at("RecentPool2"), home_->dir().file("THIRD"));
    QCOMPARE(values.at("RecentPool3"), home_->pool());
    QCOMPARE(values.count("RecentPool4"), std::size_t{0});
    QCOMPARE(values.at("SomeoneElsesKey"), std::string("kept"));
    QCOMPARE(values.at("A"), std::string("1"));

    // The next start lists them; choosing one opens it.
    std::filesystem::remove(home_->dir().file("THIRD"));
    auto form = Start();
    QCOMPARE(RecentPools(*form), (QStringList{Dir("OTHER"), Dir("THIRD"), Dir("POOL")}));
    auto* menu = form->findChild<QMenu*>("MNURecentPools");
    QCOMPARE(menu->actions().at(2)->text(), "&3 " + Dir("POOL"));
    menu->actions().at(2)->trigger();
    QCOMPARE(form->session().settings().pathToPool, home_->pool());
    QCOMPARE(form->session().currentDirectory(), home_->pool());
    QCOMPARE(RecentPools(*form), (QStringList{Dir("POOL"), Dir("OTHER"), Dir("THIRD")}));

    // One that is gone is told and leaves the list; the pool stays.
    menu->actions().at(2)->trigger();
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{1});
    QCOMPARE(MessageBoxes::requests().front().kind, MessageBoxes::Kind::kError);
    QCOMPARE(MessageBoxes::requests().front().text, Dir("THIRD") + ": no such directory");
    QCOMPARE(RecentPools(*form), (QStringList{Dir("POOL"), Dir("OTHER")}));
    QCOMPARE(form->session().settings().pathToPool, home_->pool());
    QVERIFY(form->close());
    const auto after = IniValues(home_->ReadIni());
    QCOMPARE(after.at("RecentPool2"), home_->dir().file("OTHER"));
    QCOMPARE(after.at("RecentPool3"), std::string());
  }

  void emptyPoolSaysWhatToDoAndTakesDroppedItems() {
    // A first start: no settings, and the pool directory is not there yet; the window opens where
    // the program was started.
    std::filesystem::remove(home_->pool());
    home_->dir().mkdir("IN");
    home_->dir().mkdir("START");
    const QString started = QDir::currentPath();
    QDir::setCurrent(Dir("START"));
    const auto back = qScopeGuard([&started] { QDir::setCurrent(started); });
    const std::string dropped = home_->WriteItem("Bow.ITM", BowItem(), "IN");
    auto form = Start();
    auto* empty = form->findChild<QWidget*>("EmptyState");
    QVERIFY2(empty->isVisible(),
             qPrintable(PathToQt(form->session().currentDirectory()) + ": " + Texts(Files(*form)).join(' ')));
    QCOMPARE(form->findChild<QLabel*>("EmptyStateText")->text(),
             QString("Open a pool, or drop ITM files here"));
    QCOMPARE(empty->geometry(), Files(*form)->viewport()->rect());

    // Its button opens a pool.
    bool asked = false;
    form->SetDirectoryChooser([&asked](const QString&) {
      asked = true;
      return QString();
    });
    QTest::mouseClick(form->findChild<QPushButton*>("EmptyStateOpenPool"), Qt::LeftButton);
    QVERIFY(asked);

    // A dropped item file is copied in and listed.
    Drop(*form, {PathToQt(dropped)});
    QCOMPARE(Texts(Files(*form)), QStringList{"Bow.ITM"});
    QVERIFY(!empty->isVisible());
    QVERIFY(std::filesystem::exists(home_->dir().file("START/Bow.ITM")));
    QVERIFY(std::filesystem::exists(dropped));
  }

  void poolWithItemsShowsNoEmptyState() {
    home_->WriteItem("Bow.ITM", BowItem());
    auto form = Start();
    QVERIFY(!form->findChild<QWidget*>("EmptyState")->isVisible());
    home_->dir().mkdir("EMPTY");
    form->ChangeDirectory(Dir("EMPTY"));
    QVERIFY(form->findChild<QWidget*>("EmptyState")->isVisible());
  }
};

}  // namespace relicor::test

QTEST_MAIN(relicor::test::MainWindowPoolsTest)
#include "MainWindowPoolsTest.moc"
