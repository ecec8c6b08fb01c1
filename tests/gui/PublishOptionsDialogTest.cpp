// The options dialog: design values, the eleven keys read at start-up and written at shutdown,
// typing limits, OK / Cancel / Apply, the colour and font pickers, and applied edits that take
// effect at the next page creation.

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <functional>
#include <memory>

#include "GuiTestSupport.h"
#include "gui/MainWindow.h"
#include "gui/PublishOptionsDialog.h"

namespace relicor::test {
namespace {

struct FieldValue {
  const char* field;
  const char* value;
};

}  // namespace

class PublishOptionsDialogTest : public QObject {
  Q_OBJECT

 private:
  static QLineEdit* Field(MainWindow& form, const char* name) {
    return form.optionsDialog()->findChild<QLineEdit*>(name);
  }

 private slots:
  void initTestCase() { InterceptMessageBoxes(); }

  void designValuesWithoutSettings() {
    GuiHome home;
    FixedClock clock(TestNow());
    MainWindow form(home.programDir(), clock);
    PublishOptionsDialog* dialog = form.optionsDialog();
    QCOMPARE(dialog->windowTitle(), QString("Options"));
    QCOMPARE(dialog->findChild<QTabWidget*>()->tabText(0), QString("HTML"));
    const FieldValue expected[] = {
        {"HTML_FONTFACE", "arial"},  {"HTML_FONTSIZE", "10pt"},
        {"HTML_FONTSIZE2", "8pt"},   {"HTML_COLOR", "#C0C0C0"},
        {"HTML_BGCOLOR", "#000000"}, {"HTML_LINKCOLOR", "#C00000"},
        {"HTML_HLCOLOR", "#F0F0F0"}, {"HTML_HLBG", "#606000"},
        {"edFILEPREFIX", "itm"},     {"edURL1", ""},
        {"edURLNAME1", ""},          {"HTML_LFONTFACE", "arial"},
        {"HTML_LFONTSIZE", "10pt"},  {"HTML_BGPIC", ""},
    };
    for (const FieldValue& row : expected) {
      QVERIFY2(Field(form, row.field) != nullptr, row.field);
      QCOMPARE(Field(form, row.field)->text(), QString(row.value));
    }
    QVERIFY(!Field(form, "HTML_BGPIC")->isEnabled());
    bool backgroundLabel = false;
    for (QLabel* label : dialog->findChildren<QLabel*>()) {
      if (label->text() == "BACKGROUN&D") backgroundLabel = label->buddy() == Field(form, "HTML_BGPIC");
    }
    QVERIFY(backgroundLabel);
  }

  void labelsStandInTwoColumns() {
    GuiHome home;
    FixedClock clock(TestNow());
    MainWindow form(home.programDir(), clock);
    PublishOptionsDialog* dialog = form.optionsDialog();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    // Each field's label, by the field it names; the columns top to bottom.
    const FieldValue left[] = {
        {"HTML_FONTFACE", "default font face"}, {"HTML_FONTSIZE", "default font size"},
        {"HTML_FONTSIZE2", "small font size"},  {"HTML_COLOR", "default font color"},
        {"HTML_BGPIC", "BACKGROUN&D"},          {"HTML_BGCOLOR", "BGCOLOR"},
        {"edFILEPREFIX", "file prefix"},        {"edURL1", "add URL"},
        {"edURLNAME1", "add URL Name"},
    };
    const FieldValue right[] = {
        {"HTML_LFONTFACE", "link font face"},  {"HTML_LFONTSIZE", "link font size"},
        {"HTML_LINKCOLOR", "link font color"}, {"HTML_HLCOLOR", "highlight font"},
        {"HTML_HLBG", "highlight bgcolor"},
    };
    auto labelOf = [dialog](const char* field) -> QLabel* {
      for (QLabel* label : dialog->findChildren<QLabel*>()) {
        if (label->buddy() != nullptr && label->buddy()->objectName() == field) return label;
      }
      return nullptr;
    };
    auto place = [dialog](const QWidget* widget) { return widget->mapTo(dialog, QPoint(0, 0)); };
    int rightColumnX = -1;
    for (const FieldValue& row : right) {
      QLabel* label = labelOf(row.field);
      QVERIFY2(label != nullptr, row.field);
      QCOMPARE(label->text(), QString(row.value));
      rightColumnX = place(label->buddy()).x();
    }
    int lastY = -1;
    for (const FieldValue& row : left) {
      QLabel* label = labelOf(row.field);
      QVERIFY2(label != nullptr, row.field);
      QCOMPARE(label->text(), QString(row.value));
      QVERIFY2(place(label).y() > lastY, row.field);
      QVERIFY2(place(label).x() < rightColumnX, row.field);
      lastY = place(label).y();
    }
    lastY = -1;
    for (const FieldValue& row : right) {
      QVERIFY2(place(labelOf(row.field)).y() > lastY, row.field);
      lastY = place(labelOf(row.field)).y();
    }
    auto* ok = dialog->findChild<QPushButton*>("BitBtn1");
    QCOMPARE(ok->text(), QString("OK"));
    QVERIFY(place(ok).y() > place(Field(form, "edURLNAME1")).y());
    dialog->hide();
  }

  void elevenKeysRoundTrip() {
    GuiHome home;
    home.dir().write("RELICOR.INI",
                     "[RELICOR]\r\nHTML_Fontface=verdana\r\nHTML_Fontsize=11pt\r\nHTML_Fontsize2=7pt\r\n"
                     "HTML_Color=\r\nHTML_BGColor=#101010\r\nHTML_LinkColor=red\r\nHTML_INV1Color=#FFFFFF\r\n"
                     "HTML_INV1BGColor=#202020\r\nfilePrefix=abcd\r\nHeaderURL1=http://clan.example/\r\n"
                     "HeaderURL1Name=Clan\r\n");
    FixedClock clock(TestNow());
    auto form = std::make_unique<MainWindow>(home.programDir(), clock);
    const FieldValue read[] = {
        {"HTML_FONTFACE", "verdana"}, {"HTML_FONTSIZE", "11pt"},
        {"HTML_FONTSIZE2", "7pt"},    {"HTML_COLOR", ""},
        {"HTML_BGCOLOR", "#101010"},  {"HTML_LINKCOLOR", "red"},
        {"HTML_HLCOLOR", "#FFFFFF"},  {"HTML_HLBG", "#202020"},
        {"edFILEPREFIX", "abcd"},     {"edURL1", "http://clan.example/"},
        {"edURLNAME1", "Clan"},
    };
    for (const FieldValue& row : read) QCOMPARE(Field(*form, row.field)->text(), QString(row.value));

    // Typing is limited to three characters of prefix; a longer stored one was kept whole.
    QLineEdit* prefix = Field(*form, "edFILEPREFIX");
    prefix->clear();
    QTest::keyClicks(prefix, "wxyz");
    QCOMPARE(prefix->text(), QString("wxy"));
    QLineEdit* colour = Field(*form, "HTML_BGCOLOR");
    colour->clear();
    QTest::keyClicks(colour, "#ABCDEF0");
    QCOMPARE(colour->text(), QString("#ABCDEF"));
    QLineEdit* name = Field(*form, "edURLNAME1");
    name->setText(QString::fromUtf8("Über"));
    form->optionsDialog()->findChild<QPushButton*>("BitBtn1")->click();

    form->show();
    QVERIFY(form->close());
    const auto values = IniValues(home.ReadIni());
    QCOMPARE(values.at("HTML_Fontface"), std::string("verdana"));
    QCOMPARE(values.at("HTML_Color"), std::string());
    QCOMPARE(values.at("HTML_BGColor"), std::string("#ABCDEF"));
    QCOMPARE(values.at("HTML_LinkColor"), std::string("red"));
    QCOMPARE(values.at("HTML_INV1BGColor"), std::string("#202020"));
    QCOMPARE(values.at("filePrefix"), std::string("wxy"));
    QCOMPARE(values.at("HeaderURL1"), std::string("http://clan.example/"));
    QCOMPARE(values.at("HeaderURL1Name"), std::string("\xDC"
                                                      "ber"));

    // The next start reads them back.
    form = std::make_unique<MainWindow>(home.programDir(), clock);
    QCOMPARE(Field(*form, "edFILEPREFIX")->text(), QString("wxy"));
    QCOMPARE(Field(*form, "edURLNAME1")->text(), QString::fromUtf8("Über"));
  }

  void menuShowsTheDialogModallyAndOkClosesIt() {
    GuiHome home;
    FixedClock clock(TestNow());
    MainWindow form(home.programDir(), clock);
    form.show();
    bool wasModal = false;
    QTimer::singleShot(0, &form, [&form, &wasModal] {
      wasModal = form.optionsDialog()->isVisible() && form.optionsDialog()->isModal();
      form.optionsDialog()->findChild<QPushButton*>("BitBtn1")->click();
    });
    Action(&form, "MNUOptions")->trigger();
    QVERIFY(wasModal);
    QVERIFY(!form.optionsDialog()->isVisible());
  }

  // The fields are a draft: typing changes neither the session nor RELICOR.INI; Cancel and Escape
  // put the applied values back and leave the file byte for byte; Apply and OK write it.
  void editsTakeEffectOnlyAtOkOrApply() {
    GuiHome home;
    const std::string before = "[RELICOR]\r\nHTML_Color=#111111\r\nUnknown=kept\r\n[Other]\r\nA=1\r\n";
    home.dir().write("RELICOR.INI", before);
    FixedClock clock(TestNow());
    MainWindow form(home.programDir(), clock);
    form.show();
    PublishOptionsDialog* dialog = form.optionsDialog();
    QLineEdit* colour = Field(form, "HTML_COLOR");
    auto* apply = dialog->findChild<QPushButton*>("BitBtnApply");
    QVERIFY(!apply->isEnabled());

    // Cancel, then Escape, each after typing in the open dialog.
    const auto typeAnd = [&](const std::function<void()>& leave) {
      QTimer::singleShot(0, dialog, [&] {
        colour->setText("#ABCDEF");
        QCOMPARE(form.session().settings().html.color, std::string("#111111"));
        QVERIFY(apply->isEnabled());
        leave();
      });
      Action(&form, "MNUOptions")->trigger();
      QVERIFY(!dialog->isVisible());
      QCOMPARE(colour->text(), QString("#111111"));
      QCOMPARE(form.session().settings().html.color, std::string("#111111"));
      QCOMPARE(home.ReadIni(), before);
    };
    typeAnd([&] { dialog->findChild<QPushButton*>("BitBtnCancel")->click(); });
    typeAnd([&] { QTest::keyClick(dialog, Qt::Key_Escape); });

    // Apply writes and leaves the dialog open; OK writes and closes it.
    QTimer::singleShot(0, dialog, [&] {
      colour->setText("#ABCDEF");
      apply->click();
      QVERIFY(dialog->isVisible());
      QVERIFY(!apply->isEnabled());
      QCOMPARE(form.session().settings().html.color, std::string("#ABCDEF"));
      QCOMPARE(IniValues(home.ReadIni()).at("HTML_Color"), std::string("#ABCDEF"));
      Field(form, "edFILEPREFIX")->setText("ab");
      dialog->findChild<QPushButton*>("BitBtn1")->click();
    });
    Action(&form, "MNUOptions")->trigger();
    QVERIFY(!dialog->isVisible());
    const auto values = IniValues(home.ReadIni());
    QCOMPARE(values.at("filePrefix"), std::string("ab"));
    QCOMPARE(values.at("Unknown"), std::string("kept"));
    QCOMPARE(values.at("A"), std::string("1"));
    QCOMPARE(form.session().settings().html.filePrefix, std::string("ab"));
  }

  // Values another program wrote come into the open dialog under the keeper's edits.
  void valuesReadAgainKeepTheKeepersEdits() {
    GuiHome home;
    FixedClock clock(TestNow());
    MainWindow form(home.programDir(), clock);
    PublishOptionsDialog* dialog = form.optionsDialog();
    dialog->show();
    Field(form, "HTML_COLOR")->setText("#ABCDEF");
    HtmlOptionValues theirs;
    theirs.fontface = "verdana";
    theirs.color = "#222222";
    dialog->ShowValues(theirs);
    QCOMPARE(Field(form, "HTML_FONTFACE")->text(), QString("verdana"));
    QCOMPARE(Field(form, "HTML_COLOR")->text(), QString("#ABCDEF"));
    dialog->findChild<QPushButton*>("BitBtnCancel")->click();
    QCOMPARE(Field(form, "HTML_COLOR")->text(), QString("#C0C0C0"));
  }

  // A settings file that cannot be written: OK says so and the dialog stays open with the values.
  void okThatCannotWriteKeepsTheDialogOpen() {
    GuiHome home;
    home.dir().mkdir("RELICOR.INI");  // a directory where the file should be
    FixedClock clock(TestNow());
    MainWindow form(home.programDir(), clock);
    MessageBoxes::ClearRequests();
    PublishOptionsDialog* dialog = form.optionsDialog();
    dialog->show();
    Field(form, "HTML_COLOR")->setText("#ABCDEF");
    dialog->findChild<QPushButton*>("BitBtn1")->click();
    QVERIFY(dialog->isVisible());
    QCOMPARE(Field(form, "HTML_COLOR")->text(), QString("#ABCDEF"));
    QVERIFY(!MessageBoxes::requests().empty());
    QVERIFY2(MessageBoxes::requests().back().text.contains("kann nicht geschrieben werden"),
             qPrintable(ShownTexts().join(" / ")));
    dialog->hide();
  }

  // The colour pickers start at the field's colour and leave "#RRGGBB" in upper case, the stored
  // format; the font picker sets the face and the size in points.
  void pickersLeaveTheStoredFormat() {
    GuiHome home;
    FixedClock clock(TestNow());
    MainWindow form(home.programDir(), clock);
    PublishOptionsDialog* dialog = form.optionsDialog();
    dialog->show();
    Field(form, "HTML_LINKCOLOR")->setText("red");
    QColor startedAt;
    QTimer::singleShot(0, dialog, [&startedAt] {
      auto* picker = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
      QVERIFY(picker != nullptr);
      startedAt = picker->currentColor();
      picker->setCurrentColor(QColor(0x12, 0xab, 0xcd));
      picker->accept();
    });
    dialog->findChild<QToolButton*>("HTML_LINKCOLOR_PICK")->click();
    QCOMPARE(startedAt, QColor(Qt::red));
    QCOMPARE(Field(form, "HTML_LINKCOLOR")->text(), QString("#12ABCD"));

    // Cancelled: the field stays.
    QTimer::singleShot(0, dialog, [] { QApplication::activeModalWidget()->close(); });
    dialog->findChild<QToolButton*>("HTML_HLBG_PICK")->click();
    QCOMPARE(Field(form, "HTML_HLBG")->text(), QString("#606000"));

    QString family;
    QTimer::singleShot(0, dialog, [&family] {
      auto* picker = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
      QVERIFY(picker != nullptr);
      QFont font = picker->currentFont();
      font.setPointSize(12);
      picker->setCurrentFont(font);
      family = picker->currentFont().family();
      picker->accept();
    });
    dialog->findChild<QToolButton*>("HTML_FONTFACE_PICK")->click();
    QCOMPARE(Field(form, "HTML_FONTFACE")->text(), family);
    QCOMPARE(Field(form, "HTML_FONTSIZE")->text(), QString("12pt"));
    dialog->findChild<QPushButton*>("BitBtn1")->click();
    QCOMPARE(form.session().settings().html.linkColor, std::string("#12ABCD"));
    QCOMPARE(form.session().settings().html.fontsize, std::string("12pt"));
  }

  void editedPrefixNamesTheNextStylesheet() {
    GuiHome home;
    home.WriteItem("Sword.ITM", SwordItem());
    FixedClock clock(TestNow());
    MainWindow form(home.programDir(), clock);
    form.show();
    QLineEdit* prefix = Field(form, "edFILEPREFIX");
    prefix->clear();
    QTest::keyClicks(prefix, "ab");
    form.optionsDialog()->findChild<QPushButton*>("BitBtnApply")->click();
    Action(&form, "MNUStartCreate")->trigger();
    QVERIFY2(QFileInfo::exists(PathToQt(home.dir().file("POOL/abip.css"))),
             qPrintable(ShownTexts().join(" / ")));
  }

  // Another program (a second Relicor closing) writes RELICOR.INI while this one runs: at this
  // run's shutdown a key it changed keeps its value, a key only this run changed gets this run's
  // value, a key the file no longer has gets its default; the dialog shows the other program's
  // values once the window looks at the program directory again.
  void settingsAnotherProgramChangedSurviveShutdown() {
    GuiHome home;
    home.dir().write(
        "RELICOR.INI",
        "[RELICOR]\r\nHTML_Fontface=verdana\r\nHTML_Color=#111111\r\nMailAddress=old@clan.example\r\n");
    FixedClock clock(TestNow());
    auto form = std::make_unique<MainWindow>(home.programDir(), clock);
    form->show();
    QCOMPARE(Field(*form, "HTML_COLOR")->text(), QString("#111111"));
    // A value this run changed and has not written yet.
    form->session().settings().html.headerUrl1 = "http://mine.example/";

    home.dir().write("RELICOR.INI.new",
                     "[RELICOR]\r\nHTML_Color=#222222\r\nHeaderURL1=http://theirs.example/\r\n"
                     "HeaderURL1Name=Theirs\r\nMailAddress=new@clan.example\r\n[Other]\r\nKept=1\r\n");
    std::filesystem::rename(home.dir().file("RELICOR.INI.new"), home.dir().file("RELICOR.INI"));
    QTimer::singleShot(0, form.get(), [&form] { form->optionsDialog()->accept(); });
    Action(form.get(), "MNUOptions")->trigger();
    QCOMPARE(Field(*form, "HTML_COLOR")->text(), QString("#222222"));
    QCOMPARE(Field(*form, "edURLNAME1")->text(), QString("Theirs"));
    QCOMPARE(Field(*form, "edURL1")->text(), QString("http://mine.example/"));

    QVERIFY(form->close());
    const auto values = IniValues(home.ReadIni());
    // the fifteen keys, the window's own, the pool as the recent one and the other section's one
    QCOMPARE(values.size(), std::size_t{17} + kWindowKeyCount);
    QCOMPARE(values.at("HTML_Color"), std::string("#222222"));
    QCOMPARE(values.at("HeaderURL1Name"), std::string("Theirs"));
    QCOMPARE(values.at("MailAddress"), std::string("new@clan.example"));
    QCOMPARE(values.at("HeaderURL1"), std::string("http://mine.example/"));
    QCOMPARE(values.at("HTML_Fontface"), std::string("arial"));
    QCOMPARE(values.at("Kept"), std::string("1"));
  }
};

}  // namespace relicor::test

QTEST_MAIN(relicor::test::PublishOptionsDialogTest)
#include "PublishOptionsDialogTest.moc"
