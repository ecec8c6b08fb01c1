// The data window: the dump of the current item in hex and decimal view, shown and hidden by the
// "Dump window" check box and by reports.

#include <QCheckBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <memory>

#include "GuiTestSupport.h"
#include "gui/ItemDumpWindow.h"
#include "gui/MainWindow.h"

namespace relicor::test {

class ItemDumpWindowTest : public QObject {
  Q_OBJECT

 private:
  static QStringList MemoLines(ItemDumpWindow* window) { return window->memo()->toPlainText().split('\n'); }

 private slots:
  void initTestCase() { InterceptMessageBoxes(); }

  void dumpReplacesTheWholeText() {
    ItemDumpWindow window;
    QCOMPARE(window.windowTitle(), QString("Data Window"));
    QVERIFY(!window.isVisible());
    const ItemRecord record = SwordItem().build();
    window.ShowItemDump(record, false);
    QVERIFY(window.isVisible());
    window.ShowItemDump(record, false);
    const QStringList lines = MemoLines(&window);
    QCOMPARE(lines.size(), 25);
    QVERIFY(lines.front().startsWith("000: 49 54 4D 30 "));
    QVERIFY(lines.back().startsWith("384: "));
    QVERIFY(lines.front().endsWith(' '));
    QCOMPARE(lines.front().size(), 5 + 16 * 3);

    window.ShowItemDump(record, true);
    const QStringList decimal = MemoLines(&window);
    QCOMPARE(decimal.size(), 25);
    QVERIFY(decimal.front().startsWith("000: 073 084 077 048 "));
    QCOMPARE(decimal[1].left(5), QString("016: "));
    QCOMPARE(decimal.front().size(), 5 + 16 * 4);
    QVERIFY(window.memo()->font().bold());
    QVERIFY(!window.memo()->isReadOnly());
  }

  void checkBoxAndReportsShowAndHideTheWindow() {
    GuiHome home;
    home.WriteItem("A.ITM", SwordItem());
    home.WriteItem("B.ITM", BowItem());
    FixedClock clock(TestNow());
    MainWindow form(home.programDir(), clock);
    form.show();
    auto* dumpBox = form.findChild<QCheckBox*>("CBDumpView");
    auto* files = form.findChild<QListWidget*>("FileListBox1");

    dumpBox->click();
    QVERIFY(form.dataWindow()->isVisible());
    files->setCurrentRow(0);
    QVERIFY(MemoLines(form.dataWindow()).front().startsWith("000: 49 54 4D 30 00 "));
    QCOMPARE(MemoLines(form.dataWindow())[2].left(29), QString("032: 4D 3C 2B 1A 1E 01 00 00 "));

    form.findChild<QCheckBox*>("CBDec")->click();
    files->setCurrentRow(1);
    QCOMPARE(MemoLines(form.dataWindow())[2].left(37), QString("032: 238 255 192 000 012 001 000 000 "));

    dumpBox->click();
    QVERIFY(!form.dataWindow()->isVisible());

    // A report with the box unchecked hides a data window that is open.
    form.dataWindow()->show();
    files->setCurrentRow(0);
    QVERIFY(!form.dataWindow()->isVisible());

    // Hiding the main window hides the data window too.
    dumpBox->click();
    QVERIFY(form.dataWindow()->isVisible());
    form.hide();
    QVERIFY(!form.dataWindow()->isVisible());
  }

  // Opened with an item selected, the window shows that item at once, each line with the names
  // of the fields that start in it.
  void opensWithTheSelectedItemAndItsFieldNames() {
    GuiHome home;
    home.WriteItem("A.ITM", SwordItem());
    FixedClock clock(TestNow());
    MainWindow form(home.programDir(), clock);
    form.show();
    form.findChild<QListWidget*>("FileListBox1")->setCurrentRow(0);
    QVERIFY(!form.dataWindow()->isVisible());
    form.findChild<QCheckBox*>("CBDumpView")->click();
    QVERIFY(form.dataWindow()->isVisible());
    const QStringList lines = MemoLines(form.dataWindow());
    QCOMPARE(lines.size(), 25);
    QVERIFY2(lines.front().startsWith("000: 49 54 4D 30 00 "), qPrintable(lines.front()));
    QCOMPARE(lines[2].left(29), QString("032: 4D 3C 2B 1A 1E 01 00 00 "));
    const QStringList names = form.dataWindow()->fieldNames()->toPlainText().split('\n');
    QCOMPARE(names.size(), 25);
    QCOMPARE(names.front(), QString("Signature"));
    QCOMPARE(names[2], QString("Ident, CreateInfo, Source, ItemClass"));
    QCOMPARE(names.back(), QString("ReqStrength, ReqMagic, ReqDexterity, BaseItem"));
    // Both columns are on screen side by side, and scroll as one.
    QWidget* memo = form.dataWindow()->memo();
    QWidget* beside = form.dataWindow()->fieldNames();
    QVERIFY(beside->mapTo(form.dataWindow(), QPoint(0, 0)).x() >= memo->width());
    QVERIFY(beside->width() > 0);
    form.dataWindow()->resize(form.dataWindow()->width(), 120);
    QCoreApplication::processEvents();
    QVERIFY(form.dataWindow()->memo()->verticalScrollBar()->maximum() >= 5);
    form.dataWindow()->memo()->verticalScrollBar()->setValue(5);
    QCOMPARE(form.dataWindow()->fieldNames()->verticalScrollBar()->value(), 5);

    // Nothing selected: the window opens empty of dumps.
    MainWindow other(home.programDir(), clock);
    other.show();
    other.findChild<QCheckBox*>("CBDumpView")->click();
    QVERIFY(other.dataWindow()->memo()->toPlainText().isEmpty());
  }

  void opensBesideTheMainWindow() {
    const QRect screen(0, 0, 1920, 1080);
    const QSize size(514, 428);
    struct Case {
      QRect main;
      QPoint expected;
    };
    const Case cases[] = {
        {QRect(100, 50, 900, 620), QPoint(1008, 50)},    // room on the right
        {QRect(1000, 80, 900, 620), QPoint(478, 80)},    // none on the right: on the left
        {QRect(200, 50, 1600, 620), QPoint(1406, 50)},   // room on neither side: at the right edge
        {QRect(100, 900, 900, 620), QPoint(1008, 652)},  // kept on the screen at the bottom
        {QRect(100, -40, 900, 620), QPoint(1008, 0)},    // and at the top
    };
    for (const Case& c : cases) QCOMPARE(BesidePosition(c.main, size, screen), c.expected);

    // Shown from the main window, the data window stands where the rule puts it.
    GuiHome home;
    FixedClock clock(TestNow());
    MainWindow form(home.programDir(), clock);
    form.show();
    const QRect area = form.screen()->availableGeometry();
    form.findChild<QCheckBox*>("CBDumpView")->click();
    QCOMPARE(form.dataWindow()->pos(),
             BesidePosition(form.frameGeometry(), form.dataWindow()->frameGeometry().size(), area));
  }
};

}  // namespace relicor::test

QTEST_MAIN(relicor::test::ItemDumpWindowTest)
#include "ItemDumpWindowTest.moc"
