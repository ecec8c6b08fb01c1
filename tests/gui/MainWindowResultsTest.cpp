// The main window says what its long commands did: how many pages and items were published (with
// a button that opens the entrance page in the browser), where the item list went, and what a
// rename run renamed, kept and could not rename.

#include <QAction>
#include <QListWidget>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <memory>

#include "MainWindowFixture.h"
#include "gui/DesktopOpener.h"
#include "gui/MainWindow.h"

namespace relicor::test {

class MainWindowResultsTest : public QObject, protected MainWindowFixture {
  Q_OBJECT

 private:
  QList<QUrl> opened_;
  bool openWorks_ = true;

 private slots:
  void initTestCase() {
    InterceptMessageBoxes();
    DesktopOpener::SetHook([this](const QUrl& url) {
      opened_ << url;
      return openWorks_;
    });
  }
  void cleanupTestCase() { DesktopOpener::SetHook({}); }

  void init() {
    NewHome();
    opened_.clear();
    openWorks_ = true;
  }

  void cleanup() { DropHome(); }

  void pageCreationCountsFilesAndItemsAndOffersTheEntrancePage() {
    home_->WriteItem("Sword.ITM", SwordItem());
    home_->WriteItem("Bow.ITM", BowItem());
    home_->WriteItem("Ring.ITM", RingItem());
    auto form = Start();
    const QString entrance = PathToQt(home_->dir().file("POOL/itm-IP2.htm"));

    // Taken: the entrance page opens in the browser.
    MessageBoxes::PushAnswer(MessageBoxes::kOfferTaken);
    Action(form.get(), "MNUStartCreate")->trigger();
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{1});
    QCOMPARE(MessageBoxes::requests().front().kind, MessageBoxes::Kind::kInformation);
    const QString told = MessageBoxes::requests().front().text;
    QVERIFY2(told.contains("29 files, 3 items"), qPrintable(told));
    QVERIFY(QFileInfo::exists(entrance));
    QCOMPARE(opened_, QList<QUrl>{QUrl::fromLocalFile(entrance)});

    // Left: nothing opens.
    MessageBoxes::Reset();
    Action(form.get(), "MNUStartCreate")->trigger();
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{1});
    QCOMPARE(opened_.size(), 1);

    // A browser that cannot be started is told, naming the page.
    MessageBoxes::Reset();
    openWorks_ = false;
    MessageBoxes::PushAnswer(MessageBoxes::kOfferTaken);
    Action(form.get(), "MNUStartCreate")->trigger();
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{2});
    QCOMPARE(MessageBoxes::requests().back().kind, MessageBoxes::Kind::kError);
    QVERIFY(MessageBoxes::requests().back().text.contains(entrance));
  }

  void failedPageCreationOffersNothing() {
    home_->WriteItem("Sword.ITM", SwordItem());
    auto form = Start();
    home_->dir().mkdir("POOL/itmip.css");  // the stylesheet cannot be written
    MessageBoxes::PushAnswer(MessageBoxes::kOfferTaken);
    Action(form.get(), "MNUStartCreate")->trigger();
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{1});
    QCOMPARE(MessageBoxes::requests().front().kind, MessageBoxes::Kind::kError);
    QVERIFY(opened_.isEmpty());
  }

  void textExportSaysWhereTheListWent() {
    home_->WriteItem("Sword.ITM", SwordItem());
    auto form = Start();
    Action(form.get(), "MNUTextCreate")->trigger();
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{1});
    QCOMPARE(MessageBoxes::requests().front().kind, MessageBoxes::Kind::kInformation);
    const QString told = MessageBoxes::requests().front().text;
    QVERIFY2(told.contains(PathToQt(home_->dir().file("POOL/ITMLIST.TXT"))), qPrintable(told));
  }

  void duplicateCheckCountsWhatItFoundAndOffersTheLog() {
    home_->WriteItem("Sword.ITM", SwordItem());
    auto form = Start();
    // Nothing found: said so, with where the log is.
    Action(form.get(), "MNUCheckDupes")->trigger();
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{1});
    const QString log = PathToQt(home_->dir().file("POOL/DUPECHK.TXT"));
    QCOMPARE(MessageBoxes::requests().front().text,
             "No duplicates and no known dupes found.\nDupe check log in " + log);

    // Two copies of one item, and a copy known to the database.
    home_->WriteItem("SwordCopy.ITM", SwordItem());
    home_->WriteItem("Bow.ITM", BowItem());
    MessageBoxes::Reset();
    MessageBoxes::PushAnswer(QMessageBox::Yes);
    form->RefreshFileList();
    Files(*form)->setCurrentRow(0);  // Bow.ITM
    Action(form.get(), "MNUAddDupe")->trigger();
    MessageBoxes::Reset();
    MessageBoxes::PushAnswer(MessageBoxes::kOfferTaken);
    Action(form.get(), "MNUCheckDupes")->trigger();
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{1});
    const MessageBoxes::Request told = MessageBoxes::requests().front();
    QCOMPARE(told.text, "Found 1 duplicate, 1 known dupe.\nDupe check log in " + log);
    const QStringList details = told.details.split('\n');
    QCOMPARE(details.size(), 2);
    QVERIFY2(details[0].startsWith("duplicate 1A2B3C4D01: "), qPrintable(details[0]));
    QVERIFY(details[0].contains("Sword.ITM -- ") && details[0].contains("SwordCopy.ITM"));
    QCOMPARE(details[1], "known dupe 00C0FFEE03: " + PathToQt(home_->dir().file("POOL/Bow.ITM")));
    QCOMPARE(opened_, QList<QUrl>{QUrl::fromLocalFile(log)});
  }

  void renameRunSaysWhatItDidAndOffersUndo() {
    home_->WriteItem("x1.ITM", SwordItem());
    home_->WriteItem("LongBattleBow0001.ITM", BowItem());  // already named after its item
    auto form = Start();
    const QString renamed = "KingsShortSwordoftheZodiac0001.ITM";

    // Yes, then the offer left: the files keep their new names.
    MessageBoxes::PushAnswer(QMessageBox::Yes);
    Action(form.get(), "MNURenameRun")->trigger();
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{2});
    const MessageBoxes::Request question = MessageBoxes::requests()[0];
    QCOMPARE(question.kind, MessageBoxes::Kind::kQuestion);
    QVERIFY(question.defaultNo);
    const MessageBoxes::Request told = MessageBoxes::requests()[1];
    QCOMPARE(told.kind, MessageBoxes::Kind::kInformation);
    QVERIFY2(told.text.startsWith("1 renamed, 1 kept, 0 failed\nrename log: "), qPrintable(told.text));
    QCOMPARE(told.details, PathToQt(home_->dir().file("POOL/x1.ITM")) + " -> " +
                               PathToQt(home_->dir().file("POOL/" + renamed.toStdString())));
    QCOMPARE(Texts(Files(*form)), (QStringList{renamed, "LongBattleBow0001.ITM"}));

    // A second run has nothing left to rename, so nothing to undo.
    MessageBoxes::Reset();
    MessageBoxes::PushAnswer(QMessageBox::Yes);
    MessageBoxes::PushAnswer(MessageBoxes::kOfferTaken);  // not offered, so not taken
    Action(form.get(), "MNURenameRun")->trigger();
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{2});
    QCOMPARE(Texts(Files(*form)), (QStringList{renamed, "LongBattleBow0001.ITM"}));
    QVERIFY2(MessageBoxes::requests()[1].text.startsWith("0 renamed, 2 kept, 0 failed"),
             qPrintable(MessageBoxes::requests()[1].text));
  }

  void undoOfferedAfterTheRunPutsTheNamesBack() {
    home_->WriteItem("x1.ITM", SwordItem());
    home_->WriteItem("x2.ITM", BowItem());
    auto form = Start();
    MessageBoxes::PushAnswer(QMessageBox::Yes);
    MessageBoxes::PushAnswer(MessageBoxes::kOfferTaken);
    Action(form.get(), "MNURenameRun")->trigger();
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{3});
    QVERIFY2(MessageBoxes::requests()[1].text.startsWith("2 renamed, 0 kept, 0 failed"),
             qPrintable(MessageBoxes::requests()[1].text));
    const QString undone = MessageBoxes::requests()[2].text;
    QVERIFY2(undone.startsWith("2 restored, 0 left as they are"), qPrintable(undone));
    QCOMPARE(Texts(Files(*form)), (QStringList{"x1.ITM", "x2.ITM"}));
    QCOMPARE(home_->dir().read("POOL/x1.ITM"), SwordItem().bytes());
    QCOMPARE(home_->dir().read("POOL/x2.ITM"), BowItem().bytes());
  }

  void declinedRenameChangesNothing() {
    home_->WriteItem("x1.ITM", SwordItem());
    auto form = Start();
    Action(form.get(), "MNURenameRun")->trigger();  // the question's default: No
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{1});
    QCOMPARE(Texts(Files(*form)), QStringList{"x1.ITM"});
    QVERIFY(!std::filesystem::exists(home_->dir().file("POOL/RENAME.LOG")));
  }
};

}  // namespace relicor::test

QTEST_MAIN(relicor::test::MainWindowResultsTest)
#include "MainWindowResultsTest.moc"
