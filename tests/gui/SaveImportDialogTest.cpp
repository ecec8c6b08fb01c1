// Importing from save games in the window: the file menu's command and a save dropped onto the
// window open the import dialog (the save's items with check boxes, the sender), and a result box
// says what came in, item by item in its details.

#include <QAction>
#include <QComboBox>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>
#include <memory>

#include "MainWindowFixture.h"
#include "gui/MainWindow.h"
#include "gui/SaveImportDialog.h"
#include "support/SaveBuilder.h"

namespace relicor::test {

class SaveImportDialogTest : public QObject, protected MainWindowFixture {
  Q_OBJECT

 private:
  // A hero with four items: a sword worn, two in the inventory, a potion in the belt.
  std::string WriteHero(const std::string& name) const {
    HeroBuilder hero;
    hero.name("Gorefeast")
        .body(4, PackOf(3, 20, 1001))
        .inventory(0, PackOf(50, 20, 1002))
        .inventory(1, PackOf(60, 20, 1003))
        .inventoryCount(2)
        .belt(0, PackOf(24, 20, 1005));
    const std::string path = home_->dir().file(name);
    WriteSave(path, {{"hero", Encoded(hero.bytes(), "xrgyrkj1")}});
    return path;
  }

  int PoolItems() const {
    int n = 0;
    for (const std::string& name : FileNames(home_->pool())) n += name.ends_with(".ITM") ? 1 : 0;
    return n;
  }

  static QTreeWidgetItem* Row(SaveImportDialog& dialog, int number) {
    auto* tree = dialog.findChild<QTreeWidget*>("ImportItems");
    for (int t = 0; t < tree->topLevelItemCount(); ++t)
      for (int i = 0; i < tree->topLevelItem(t)->childCount(); ++i)
        if (tree->topLevelItem(t)->child(i)->text(0) == QString::number(number))
          return tree->topLevelItem(t)->child(i);
    return nullptr;
  }

 private slots:
  void initTestCase() { InterceptMessageBoxes(); }
  void init() { NewHome(); }
  void cleanup() {
    SaveImportDialog::SetTestAnswer({});
    DropHome();
  }

  void menuImportsTheCheckedItemsWithTheSenderChosen() {
    const std::string save = WriteHero("single_0.sv");
    auto form = Start();
    form->session().AddMember("Keeperin");
    SaveImportDialog::SetTestSaves({PathToQt(save)});
    int asked = 0;
    SaveImportDialog::SetTestAnswer([&](SaveImportDialog& dialog) {
      ++asked;
      // Four new items, each checked; the hero is the sender until another is chosen.
      for (int n = 1; n <= 4; ++n) {
        QTreeWidgetItem* row = Row(dialog, n);
        if (row == nullptr || row->checkState(0) != Qt::Checked || row->text(4) != "new") return false;
      }
      auto* sender = dialog.findChild<QComboBox*>("SenderName");
      if (sender->currentText() != "Gorefeast" || sender->findText("Keeperin") < 0) return false;
      Row(dialog, 2)->setCheckState(0, Qt::Unchecked);
      sender->setCurrentIndex(sender->findText("Keeperin"));
      return true;
    });
    form->findChild<QAction*>("MNUImportSave")->trigger();

    QCOMPARE(asked, 1);
    QCOMPARE(PoolItems(), 3);
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{1});
    const MessageBoxes::Request& told = MessageBoxes::requests().front();
    QCOMPARE(told.kind, MessageBoxes::Kind::kInformation);
    QVERIFY2(told.text.startsWith("3 imported, 0 already in the pool, 0 skipped"), qPrintable(told.text));
    QCOMPARE(told.details.count("imported as "), 3);
    QVERIFY(!told.details.contains("not selected"));
    // The sidecars name the member chosen.
    int withSender = 0;
    for (const std::string& name : FileNames(home_->pool()))
      if (name.ends_with(".IT0"))
        withSender += home_->dir().read("POOL/" + name).find("SenderName=Keeperin\r\n") != std::string::npos;
    QCOMPARE(withSender, 3);
    // The file list shows them.
    QCOMPARE(Files(*form)->count(), 3);
  }

  void droppedSaveIsImportedAndASecondDropBringsNothing() {
    const std::string save = WriteHero("renamed.dat");
    auto form = Start();
    int asked = 0;
    SaveImportDialog::SetTestAnswer([&](SaveImportDialog&) { return ++asked > 0; });
    Drop(*form, {PathToQt(save)});
    QCOMPARE(asked, 1);
    QCOMPARE(PoolItems(), 4);

    MessageBoxes::ClearRequests();
    Drop(*form, {PathToQt(save)});
    QCOMPARE(asked, 1);  // nothing new: no dialog
    QCOMPARE(PoolItems(), 4);
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{1});
    QVERIFY(MessageBoxes::requests().front().text.startsWith("Nothing new to import."));
    QCOMPARE(MessageBoxes::requests().front().details.count("already in the pool: "), 4);
  }

  void cancelledDialogWritesNothing() {
    const std::string save = WriteHero("h.sv");
    auto form = Start();
    SaveImportDialog::SetTestAnswer([](SaveImportDialog&) { return false; });
    SaveImportDialog::SetTestSaves({PathToQt(save)});
    form->findChild<QAction*>("MNUImportSave")->trigger();
    QCOMPARE(PoolItems(), 0);
    QVERIFY(MessageBoxes::requests().empty());
  }

  void refusedSaveIsTold() {
    const std::string bad = home_->dir().write("bad.sv", std::string("MPQ\x1A", 4) + std::string(60, '\0'));
    auto form = Start();
    SaveImportDialog::SetTestAnswer([](SaveImportDialog&) { return true; });
    Drop(*form, {PathToQt(bad)});
    QCOMPARE(PoolItems(), 0);
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{1});
    QVERIFY2(MessageBoxes::requests().front().details.contains("refused: " + PathToQt(bad)),
             qPrintable(MessageBoxes::requests().front().details));
  }
};

}  // namespace relicor::test

QTEST_MAIN(relicor::test::SaveImportDialogTest)
#include "SaveImportDialogTest.moc"
