// After every command the main window shows the item as it now is: the file list, the selection
// (kept by file name), the report pane and the status panel with its verdict agree.

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <functional>
#include <memory>

#include "MainWindowFixture.h"
#include "gui/MainWindow.h"
#include "gui/MembersWindow.h"

namespace relicor::test {

// What the window shows of the selected item.
struct Shown {
  QString selected;  // the selected file name, empty for none
  QStringList report;
  QColor colour;
  QString verdict;
  friend bool operator==(const Shown&, const Shown&) = default;
};

char* toString(const Shown& shown) {
  const QString text =
      QString("selected '%1', colour %2, verdict '%3', report:\n  %4")
          .arg(shown.selected, shown.colour.name(), shown.verdict, shown.report.join("\n  "));
  return qstrdup(text.toUtf8().constData());
}

class MainWindowOneStateTest : public QObject, protected MainWindowFixture {
  Q_OBJECT

 private:
  static Shown ShownBy(MainWindow& form) {
    Shown shown;
    const QList<QListWidgetItem*> selected = Files(form)->selectedItems();
    if (!selected.isEmpty()) shown.selected = selected.front()->text();
    shown.report = Texts(Output(form));
    shown.colour = form.findChild<QFrame*>("Panel4")->palette().color(QPalette::Window);
    shown.verdict = form.findChild<QLabel*>("SeedCheckLabel")->toolTip();
    return shown;
  }
  static int RowOf(MainWindow& form, const QString& name) {
    const QList<QListWidgetItem*> found = Files(form)->findItems(name, Qt::MatchExactly);
    return found.isEmpty() ? -1 : Files(form)->row(found.front());
  }
  static void Select(MainWindow& form, const QString& name) {
    const int row = RowOf(form, name);
    QVERIFY2(row >= 0, qPrintable(name));
    Files(form)->setCurrentRow(row);
  }
  // Nothing selected: an empty report and the panel in its own colour, without a verdict.
  static void VerifyNothingShown(MainWindow& form) {
    const Shown shown = ShownBy(form);
    QCOMPARE(shown.selected, QString());
    QCOMPARE(shown.report, QStringList());
    QCOMPARE(shown.colour, QApplication::palette(form.findChild<QFrame*>("Panel4")).color(QPalette::Window));
    QCOMPARE(shown.verdict, QString());
  }

  void WritePool() {
    home_->WriteItem("A_Sword.ITM", SwordItem());
    home_->WriteItem("B_Bow.ITM", BowItem());
    home_->WriteItem("C_Ring.ITM", RingItem());
  }

  // Selects `name`, runs `command`, and expects the window to show the same item as before.
  void VerifyKeptOver(const QString& name, const std::function<void(MainWindow&)>& command) {
    WritePool();
    auto form = Start();
    Select(*form, name);
    const Shown before = ShownBy(*form);
    QCOMPARE(before.selected, name);
    QVERIFY(!before.report.isEmpty());
    QVERIFY(!before.verdict.isEmpty());
    command(*form);
    QCOMPARE(ShownBy(*form), before);
    // And still after the window followed what the command changed on disk.
    QTest::qWait(400);
    QCOMPARE(ShownBy(*form), before);
  }

 private slots:
  void initTestCase() { InterceptMessageBoxes(); }
  void init() { NewHome(); }
  void cleanup() { DropHome(); }

  void pageCreationKeepsTheSelectedItemOnScreen_data() {
    QTest::addColumn<QString>("name");
    for (const char* name : {"A_Sword.ITM", "B_Bow.ITM", "C_Ring.ITM"}) QTest::newRow(name) << QString(name);
  }
  void pageCreationKeepsTheSelectedItemOnScreen() {
    QFETCH(QString, name);
    VerifyKeptOver(name, [](MainWindow& form) {
      Action(&form, "MNUStartCreate")->trigger();
      QVERIFY(QFileInfo::exists(PathToQt(form.session().settings().pathToPool + "/itm-IP2.htm")));
    });
  }

  void textExportKeepsTheSelection() {
    VerifyKeptOver("A_Sword.ITM", [this](MainWindow& form) {
      Action(&form, "MNUTextCreate")->trigger();
      QVERIFY(!home_->dir().read("POOL/ITMLIST.TXT").empty());
    });
  }

  void duplicateCheckKeepsTheSelection() {
    VerifyKeptOver("B_Bow.ITM", [](MainWindow& form) { Action(&form, "MNUCheckDupes")->trigger(); });
  }

  void droppedFilesKeepTheSelection() {
    home_->dir().mkdir("IN");
    const std::string dropped = home_->WriteItem("D_Other.ITM", BowItem().ident(0x0D0D0D0D), "IN");
    VerifyKeptOver("B_Bow.ITM", [&](MainWindow& form) {
      Drop(form, {PathToQt(dropped)});
      QVERIFY(RowOf(form, "D_Other.ITM") >= 0);
    });
  }

  void assignShowsTheItemAsItNowIs() {
    WritePool();
    auto form = Start();
    Select(*form, "B_Bow.ITM");
    const QStringList before = Texts(Output(*form));
    Action(form.get(), "MNUQuickDate")->trigger();
    Action(form.get(), "MNUQuickPoint")->trigger();
    const Shown after = ShownBy(*form);
    QCOMPARE(after.selected, QString("B_Bow.ITM"));
    QVERIFY(after.report != before);
    // The report the window shows is the one a fresh selection gives.
    Files(*form)->setCurrentRow(-1);
    Select(*form, "B_Bow.ITM");
    QCOMPARE(ShownBy(*form), after);
  }

  void renameRunFollowsTheSelectedFile() {
    home_->WriteItem("x1.ITM", SwordItem());
    home_->WriteItem("x2.ITM", BowItem());
    auto form = Start();
    Select(*form, "x2.ITM");
    const Shown before = ShownBy(*form);

    MessageBoxes::PushAnswer(QMessageBox::Yes);
    Action(form.get(), "MNURenameRun")->trigger();
    Shown after = ShownBy(*form);
    QCOMPARE(after.selected, QString("LongBattleBow0001.ITM"));
    QCOMPARE(after.colour, before.colour);
    QCOMPARE(after.verdict, before.verdict);
    QVERIFY(after.report.join('\n').contains("LongBattleBow0001.ITM"));
    // The same as a fresh selection of the new name.
    Files(*form)->setCurrentRow(-1);
    Select(*form, "LongBattleBow0001.ITM");
    QCOMPARE(ShownBy(*form), after);

    // The undo takes the selection back with the name.
    MessageBoxes::Reset();
    MessageBoxes::PushAnswer(QMessageBox::Yes);
    MessageBoxes::PushAnswer(MessageBoxes::kOfferTaken);
    Action(form.get(), "MNURenameRun")->trigger();  // nothing left to rename: no undo offered
    QCOMPARE(ShownBy(*form).selected, QString("LongBattleBow0001.ITM"));
  }

  void undoFollowsTheSelectedFileBack() {
    home_->WriteItem("x1.ITM", SwordItem());
    home_->WriteItem("x2.ITM", BowItem());
    auto form = Start();
    Select(*form, "x2.ITM");
    const Shown before = ShownBy(*form);
    MessageBoxes::PushAnswer(QMessageBox::Yes);
    MessageBoxes::PushAnswer(MessageBoxes::kOfferTaken);
    Action(form.get(), "MNURenameRun")->trigger();
    QCOMPARE(ShownBy(*form), before);
  }

  void renameRunWithTheSelectedFileGoneShowsNothing() {
    home_->WriteItem("x1.ITM", SwordItem());
    auto form = Start();
    Select(*form, "x1.ITM");
    // The selected file goes before the run: its report goes with it.
    QFile::remove(PathToQt(home_->dir().file("POOL/x1.ITM")));
    home_->WriteItem("x2.ITM", BowItem());
    MessageBoxes::PushAnswer(QMessageBox::Yes);
    Action(form.get(), "MNURenameRun")->trigger();
    VerifyNothingShown(*form);
  }

  void sentItemLeavesNothingSelected() {
    WritePool();
    home_->dir().mkdir("ITMOUT");
    home_->dir().write("POOL/PLAYERS.TXT", "Alice\r\n");
    auto form = Start();
    form->membersWindow()->show();
    form->membersWindow()->list()->setCurrentRow(0);
    Select(*form, "B_Bow.ITM");
    Action(form.get(), "MNUPrepareSend")->trigger();
    QCOMPARE(RowOf(*form, "B_Bow.ITM"), -1);
    VerifyNothingShown(*form);
  }
};

}  // namespace relicor::test

QTEST_MAIN(relicor::test::MainWindowOneStateTest)
#include "MainWindowOneStateTest.moc"
