// The main window keeps up with its directory: files that arrive appear on their own, F5 reads
// the directory by hand, dropped ITM files are copied in (never replacing one), files named on
// the command line open selected, and a bad file tells its trouble in the status bar.

#include <QAction>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>
#include <filesystem>
#include <memory>

#include "MainWindowFixture.h"
#include "gui/MainWindow.h"

namespace relicor::test {

class MainWindowLivePoolTest : public QObject, protected MainWindowFixture {
  Q_OBJECT

 private:
  static QString SelectedName(MainWindow& form) {
    const QList<QListWidgetItem*> selected = Files(form)->selectedItems();
    return selected.isEmpty() ? QString() : selected.front()->text();
  }
  static void Select(MainWindow& form, const QString& name) {
    const QList<QListWidgetItem*> found = Files(form)->findItems(name, Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    Files(form)->setCurrentItem(found.front());
  }

 private slots:
  void initTestCase() { InterceptMessageBoxes(); }

  void init() { NewHome(); }
  void cleanup() { DropHome(); }

  void fileCopiedIntoTheDirectoryAppearsAndSelectionStays() {
    home_->WriteItem("B.ITM", SwordItem());
    auto form = Start();
    Select(*form, "B.ITM");
    const QStringList report = Texts(Output(*form));
    QVERIFY(!report.isEmpty());

    home_->WriteItem("A.ITM", BowItem());
    home_->dir().mkdir("POOL/NewFolder");
    QTRY_COMPARE_WITH_TIMEOUT(Texts(Files(*form)), (QStringList{"A.ITM", "B.ITM"}), 5000);
    QCOMPARE(SelectedName(*form), QString("B.ITM"));
    QCOMPARE(Texts(Output(*form)), report);  // the report is not run again
    // The new subdirectory shows in the browser too.
    auto* tree = form->findChild<QTreeWidget*>("DirectoryListBox1");
    QTRY_VERIFY(!tree->findItems("NewFolder", Qt::MatchExactly | Qt::MatchRecursive).isEmpty());

    // The selected file goes: nothing is selected and its report goes with it.
    std::filesystem::remove(home_->dir().file("POOL/B.ITM"));
    QTRY_COMPARE_WITH_TIMEOUT(Texts(Files(*form)), QStringList{"A.ITM"}, 5000);
    QCOMPARE(SelectedName(*form), QString());
    QVERIFY(Texts(Output(*form)).isEmpty());
    QVERIFY(MessageBoxes::requests().empty());
  }

  void f5ReadsTheDirectoryAtOnce() {
    home_->WriteItem("B.ITM", SwordItem());
    auto form = Start();
    Select(*form, "B.ITM");
    QAction* refresh = Action(form.get(), "ActionRefresh");
    QVERIFY(refresh != nullptr);
    QCOMPARE(refresh->shortcut(), QKeySequence(Qt::Key_F5));

    // No event loop runs between the write and the check: only F5 can have read the file.
    home_->WriteItem("C.ITM", BowItem());
    refresh->trigger();
    QCOMPARE(Texts(Files(*form)), (QStringList{"B.ITM", "C.ITM"}));
    QCOMPARE(SelectedName(*form), QString("B.ITM"));
  }

  void dropCopiesItemFilesAndNeverReplaces() {
    home_->WriteItem("TAKEN.ITM", SwordItem());
    auto form = Start();
    const std::string bow = BowItem().bytes();
    const QString fresh = PathToQt(home_->dir().write("in/FRESH.ITM", bow));
    const QString taken = PathToQt(home_->dir().write("in/TAKEN.ITM", bow));
    const QString notes = PathToQt(home_->dir().write("in/notes.txt", "hello"));

    Drop(*form, {fresh, taken, notes});

    QCOMPARE(Texts(Files(*form)), (QStringList{"FRESH.ITM", "TAKEN.ITM"}));
    QCOMPARE(home_->dir().read("POOL/FRESH.ITM"), bow);
    QCOMPARE(home_->dir().read("POOL/TAKEN.ITM"), SwordItem().bytes());  // kept as it was
    QVERIFY(!std::filesystem::exists(home_->dir().file("POOL/notes.txt")));
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{1});
    QCOMPARE(MessageBoxes::requests().front().kind, MessageBoxes::Kind::kInformation);
    const QStringList told = MessageBoxes::requests().front().text.split('\n');
    const QStringList expected{
        "1 file copied into " + PathToQt(home_->pool()),
        "copied: FRESH.ITM",
        "not copied, a file of that name is already there: TAKEN.ITM",
        "not copied, not an ITM file: " + notes,
    };
    QCOMPARE(told, expected);
  }

  void filesOnTheCommandLineOpenTheirDirectorySelected() {
    home_->WriteItem("POOL.ITM", SwordItem());
    const std::string elsewhere = home_->dir().mkdir("Ankünfte");
    home_->WriteItem("X.ITM", SwordItem(), "Ankünfte");
    home_->WriteItem("Y.ITM", BowItem(), "Ankünfte");
    auto form = Start();
    QCOMPARE(Texts(Files(*form)), QStringList{"POOL.ITM"});

    form->OpenPaths({PathToQt(elsewhere + "/Y.ITM")});
    QCOMPARE(PathToQt(form->session().currentDirectory()), PathToQt(elsewhere));
    QCOMPARE(Texts(Files(*form)), (QStringList{"X.ITM", "Y.ITM"}));
    QCOMPARE(SelectedName(*form), QString("Y.ITM"));
    QVERIFY2(Texts(Output(*form)).join('\n').contains("LONG BATTLE BOW"),
             qPrintable(Texts(Output(*form)).join('\n')));

    // A directory opens itself.
    form->OpenPaths({PathToQt(home_->pool())});
    QCOMPARE(Texts(Files(*form)), QStringList{"POOL.ITM"});
    QCOMPARE(SelectedName(*form), QString());
    QVERIFY(MessageBoxes::requests().empty());
  }

  void badFileToldInTheStatusBarNotInABox() {
    home_->WriteItem("A.ITM", SwordItem());
    home_->dir().write("POOL/B.ITM", "short");
    auto form = Start();
    Select(*form, "B.ITM");
    QVERIFY(MessageBoxes::requests().empty());
    const QString told = form->statusBar()->currentMessage();
    QVERIFY2(told.contains("B.ITM"), qPrintable(told));
    // The next good file clears it.
    Select(*form, "A.ITM");
    QCOMPARE(form->statusBar()->currentMessage(), QString());
    QVERIFY(!Texts(Output(*form)).isEmpty());
    QVERIFY(MessageBoxes::requests().empty());
  }
};

}  // namespace relicor::test

QTEST_MAIN(relicor::test::MainWindowLivePoolTest)
#include "MainWindowLivePoolTest.moc"
