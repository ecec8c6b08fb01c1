// The main window's seed verdict beside the status colour.

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <memory>

#include "GuiTestSupport.h"
#include "generate/SeedCheck.h"
#include "gui/MainWindow.h"
#include "support/GameItems.h"

namespace relicor::test {

class MainWindowSeedCheckTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<GuiHome> home_;
  std::unique_ptr<FixedClock> clock_;

  static QString Verdict(MainWindow& form) { return form.findChild<QLabel*>("SeedCheckLabel")->text(); }
  static QListWidget* Files(MainWindow& form) { return form.findChild<QListWidget*>("FileListBox1"); }
  static QStringList Lines(MainWindow& form) {
    QStringList lines;
    auto* list = form.findChild<QListWidget*>("ListBox1");
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

  void init() {
    MessageBoxes::Reset();
    home_ = std::make_unique<GuiHome>();
    clock_ = std::make_unique<FixedClock>(TestNow());
  }

  void cleanup() { home_.reset(); }

  void selectedItemShowsItsVerdictBesideTheColour() {
    WriteSword("A_Genuine.ITM", 13119, 91);
    WriteSword("B_Edited.ITM", 13120, 95);
    home_->WriteItem("C_Made.ITM", SwordItem());
    auto form = std::make_unique<MainWindow>(home_->programDir(), *clock_);
    form->show();
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
