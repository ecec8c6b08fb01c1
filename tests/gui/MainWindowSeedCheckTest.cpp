// The main window's verdict beside the status colour: the seed check and the report as one text.

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <memory>

#include "MainWindowFixture.h"
#include "generate/GameData109.h"
#include "generate/SeedCheck.h"
#include "gui/MainWindow.h"
#include "support/GameItems.h"

namespace relicor::test {

class MainWindowSeedCheckTest : public QObject, protected MainWindowFixture {
  Q_OBJECT

 private:
  // The whole verdict (the label shows as much of it as fits).
  static QString Verdict(MainWindow& form) { return form.findChild<QLabel*>("SeedCheckLabel")->toolTip(); }
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
      RecordEdit(r).i32(offset::kPrice, price).i32(offset::kPctDamage, pctDamage);
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
    QCOMPARE(Verdict(*form), QString("genuine"));
    // The report's own lines, then the whole verdict.
    const QStringList genuineLines = Lines(*form);
    QVERIFY(genuineLines.size() > 1);
    QCOMPARE(genuineLines.back(), QString("Verdict: genuine"));
    for (const QString& line : genuineLines.mid(0, genuineLines.size() - 1))
      QVERIFY(!line.startsWith("Verdict"));

    // An edited item names each field with the file's and the game's value.
    Files(*form)->setCurrentRow(1);
    QVERIFY2(Verdict(*form).startsWith("edited: price file 13120, game 13119; %damage file 95, game 91"),
             qPrintable(Verdict(*form)));
    QCOMPARE(Lines(*form).size(), genuineLines.size());
    QCOMPARE(Lines(*form).back(), "Verdict: " + Verdict(*form));

    // An item the report finds hacked: the verdict and the report's rule codes as one text.
    Files(*form)->setCurrentRow(2);
    QVERIFY2(Verdict(*form).contains(QString(QChar(0xB7)) + " 014, 016, 020"), qPrintable(Verdict(*form)));

    // A change of directory clears the selection and the verdict.
    form->ChangeDirectory(PathToQt(home_->dir().path()));
    QCOMPARE(Verdict(*form), QString());
    QCOMPARE(Lines(*form), QStringList());
  }

  void singlePlayerQuestItemIsGenuineWithItsRule() {
    for (const GameItem& item : GameItems()) {
      const ItemRecord r = GameItemRecord(item);
      if (r.ReadI32LE(offset::kUseEffect) != gen::misc::kUnique) continue;
      home_->dir().write("POOL/Quest.ITM", std::string(r.view()));
      break;
    }
    auto form = Start();
    Files(*form)->setCurrentRow(0);
    QCOMPARE(Verdict(*form), QString("genuine (single player) ") + QChar(0xB7) + " 036");
    QVERIFY(Lines(*form).join('\n').contains("HACK DETECTED 036"));
  }

  void registeredDupeIsNamedInTheVerdict() {
    WriteSword("A_Genuine.ITM", 13119, 91);
    auto form = Start();
    MessageBoxes::PushAnswer(QMessageBox::Yes);
    Files(*form)->setCurrentRow(0);
    Action(form.get(), "MNUAddDupe")->trigger();
    QCOMPARE(Verdict(*form), QString("genuine ") + QChar(0xB7) + " registered dupe");
  }

  void longVerdictIsCutAndNeverWidensTheWindow() {
    for (const GameItem& item : GameItems()) {
      if (item.seed != 545145866u) continue;
      ItemRecord r = GameItemRecord(item);
      // Every value off by a little: a verdict far longer than any window.
      RecordEdit(r)
          .i32(offset::kPrice, 99999)
          .i32(offset::kPctDamage, 97)
          .i32(offset::kBaseValue, 77777)
          .i32(offset::kMinDamage, 9)
          .i32(offset::kMaxDamage, 99)
          .i32(offset::kArmorClass, 55);
      home_->dir().write("POOL/Long.ITM", std::string(r.view()));
    }
    auto form = Start();
    QTest::qWait(50);
    const int width = form->width();
    Files(*form)->setCurrentRow(0);
    QTest::qWait(50);
    QCOMPARE(form->width(), width);
    auto* label = form->findChild<QLabel*>("SeedCheckLabel");
    const QString whole = Verdict(*form);
    QVERIFY2(whole.size() > 150, qPrintable(whole));
    QVERIFY(label->text() != whole);
    QVERIFY2(label->text().endsWith(QChar(0x2026)), qPrintable(label->text()));
    QVERIFY(whole.startsWith(label->text().chopped(1)));
    QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
    QCOMPARE(Lines(*form).back(), "Verdict: " + whole);
  }
};

}  // namespace relicor::test

QTEST_MAIN(relicor::test::MainWindowSeedCheckTest)
#include "MainWindowSeedCheckTest.moc"
