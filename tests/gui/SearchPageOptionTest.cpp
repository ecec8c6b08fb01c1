// The options dialog's "Search page" check box: off at first, shown from the settings, and a
// change goes straight to the session's options as every other field does.

#include <QCheckBox>
#include <QTest>

#include "GuiTestSupport.h"
#include "gui/MainWindow.h"
#include "gui/PublishOptionsDialog.h"

namespace relicor::test {

class SearchPageOptionTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { InterceptMessageBoxes(); }

  void offByDefaultAndTakenAtOnce() {
    GuiHome home;
    FixedClock clock(TestNow());
    MainWindow form(home.programDir(), clock);
    auto* box = form.optionsDialog()->findChild<QCheckBox*>("CBSearchPage");
    QVERIFY(box != nullptr);
    QCOMPARE(box->text(), QString("Search page"));
    QVERIFY(!box->isChecked());
    box->setChecked(true);
    QVERIFY(form.session().settings().html.searchPage);
    box->setChecked(false);
    QVERIFY(!form.session().settings().html.searchPage);
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
