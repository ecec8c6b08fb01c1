// The main window's seed verdict beside the status colour.

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <memory>

#include "MainWindowFixture.h"
#include "generate/SeedCheck.h"
#include "gui/MainWindow.h"
#include "support/GameItems.h"

namespace relicor::test {

class MainWindowSeedCheckTest : public QObject, protected MainWindowFixture {
  Q_OBJECT

 private:
  static QString Verdict(MainWindow& form) { return form.findChild<QLabel*>("SeedCheckLabel")->text(); }
  static QStringList Lines(MainWindow& form) {
    QStringList lines;
    QListWidget* list = Output(form);
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
  }

  void WriteSword(const std::string& name, std::int32_t price, std::int32_t pctDamage) {
    for (const GameItem& item : GameItems()) {
      if (item.seed != 545145866u) continue;  // Brutal Long Sword of gore
      ItemRecord r = GameItemRecord(item);
      RecordEdit(r).i32(gen::layout::kPrice, price).i32(gen::layout::kPctDamage, pctDamage);
      home_->dir().write("POOL/" + name, std::string(r.view()));
    }
  }

 private slots:
  void initTestCase() { InterceptMessageBoxes(); }

  void init() { NewHome(); }
  void cleanup() { DropHome(); }

  void selectedItemShowsItsVerdictBesideTheColour() {
    WriteSword("A_Genuine.ITM", 13119, 91);
    WriteSword("B_Edited.ITM", 13120, 95);
    home_->WriteItem("C_Made.ITM", SwordItem());
    auto form = Start();
    QCOMPARE(Verdict(*form), QString());

    Files(*form)->setCurrentRow(0);
    QCOMPARE(Verdict(*form), QString("Seed check: genuine"));
    const QStringList genuineLines = Lines(*form);
    QVERIFY(!genuineLines.isEmpty());
    for (const QString& line : genuineLines) QVERIFY(!line.contains("Seed check"));

    Files(*form)->setCurrentRow(1);
    QCOMPARE(Verdict(*form), QString("Seed check: edited: price, %damage"));
    // The report's lines are those of the same item without the check.
    QCOMPARE(Lines(*form).size(), genuineLines.size());

    Files(*form)->setCurrentRow(2);
    QVERIFY(Verdict(*form).startsWith("Seed check: "));
    QVERIFY(Verdict(*form) != QString("Seed check: genuine"));

    // A change of directory clears the selection and the verdict.
    form->ChangeDirectory(PathToQt(home_->dir().path()));
    QCOMPARE(Verdict(*form), QString());
  }
};

}  // namespace relicor::test

QTEST_MAIN(relicor::test::MainWindowSeedCheckTest)
#include "MainWindowSeedCheckTest.moc"
