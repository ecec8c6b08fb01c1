// The options dialog's "Search page" check box: off at first, shown from the settings, and a
// draft like every other field until Apply or OK (which write RELICOR.INI) or Cancel.

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include "GuiTestSupport.h"
#include "gui/MainWindow.h"
#include "gui/PublishOptionsDialog.h"

namespace relicor::test {

class SearchPageOptionTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { InterceptMessageBoxes(); }

  void offByDefaultAndADraftUntilApplied() {
    GuiHome home;
    FixedClock clock(TestNow());
    MainWindow form(home.programDir(), clock);
    PublishOptionsDialog* dialog = form.optionsDialog();
    auto* box = dialog->findChild<QCheckBox*>("CBSearchPage");
    auto* apply = dialog->findChild<QPushButton*>("BitBtnApply");
    QVERIFY(box != nullptr && apply != nullptr);
    QCOMPARE(box->text(), QString("Search page"));
    QVERIFY(!box->isChecked());
    QVERIFY(!apply->isEnabled());
    box->setChecked(true);
    QVERIFY(apply->isEnabled());
    QVERIFY(!form.session().settings().html.searchPage);
    apply->click();
    QVERIFY(form.session().settings().html.searchPage);
    QVERIFY(home.ReadIni().find("SearchPage=1\r\n") != std::string::npos);
    box->setChecked(false);
    dialog->reject();  // Cancel puts the applied value back
    QVERIFY(box->isChecked());
    QVERIFY(form.session().settings().html.searchPage);
  }

  void shownFromTheSettings() {
    GuiHome home;
    home.dir().write("RELICOR.INI", "[RELICOR]\r\nSearchPage=1\r\n");
    FixedClock clock(TestNow());
    MainWindow form(home.programDir(), clock);
    QVERIFY(form.optionsDialog()->findChild<QCheckBox*>("CBSearchPage")->isChecked());
  }
};

}  // namespace relicor::test

QTEST_MAIN(relicor::test::SearchPageOptionTest)
#include "SearchPageOptionTest.moc"
