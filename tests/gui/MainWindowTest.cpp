// The main window: start-up and shutdown, browsing, reports, check boxes, the command table.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <filesystem>
#include <memory>

#include "MainWindowFixture.h"
#include "Version.h"
#include "gui/DatabaseWindow.h"
#include "gui/ItemDumpWindow.h"
#include "gui/MainWindow.h"
#include "gui/MembersWindow.h"
#include "gui/PublishOptionsDialog.h"
#include "platform/DirectoryLock.h"
#include "validate/Database.h"

namespace relicor::test {
namespace {

// The report of `path` as a session of its own gives it (as the command line prints it).
std::vector<std::string> ReferenceReport(const GuiHome& home, const std::string& path,
                                         const OptionFlags& flags) {
  FixedClock clock(TestNow());
  SessionUi ui;
  Session session(home.programDir(), clock, ui);
  session.Start();
  session.flags() = flags;
  session.flags().debugFile = false;
  (void)session.ReportFile(path, home.pool());
  return session.OutputLines();
}

// The report lines the output list shows, without the verdict that closes them.
QStringList ReportShown(MainWindow& form) {
  QStringList lines = Texts(form.findChild<QListWidget*>("ListBox1"));
  if (!lines.isEmpty() && lines.back().startsWith("Verdict: ")) lines.removeLast();
  return lines;
}

QColor PanelColour(MainWindow& form) {
  return form.findChild<QFrame*>("Panel4")->palette().color(QPalette::Window);
}

}  // namespace

class MainWindowTest : public QObject, protected MainWindowFixture {
  Q_OBJECT

 private:
  static QCheckBox* Box(MainWindow& form, const char* name) { return form.findChild<QCheckBox*>(name); }

 private slots:
  void initTestCase() { InterceptMessageBoxes(); }

  void init() { NewHome(); }
  void cleanup() { DropHome(); }

  void firstStartShowsDefaultsAndCloseWritesAllKeys() {
    auto form = Start();
    QCOMPARE(form->windowTitle(),
             QString("Relicor ") + kVersion + " - " + PathToQt(home_->pool()) + " (0 items)");
    QVERIFY(Action(form.get(), "MNUSub")->isChecked());
    QCOMPARE(form->findChild<QLineEdit*>("MailAddress")->text(), QString());
    QVERIFY(Box(*form, "CBDebug")->isChecked());
    QVERIFY(!Box(*form, "CBAddInfo")->isChecked());
    QVERIFY(!Box(*form, "CBAddInfo")->isEnabled());
    QVERIFY(!Box(*form, "CBVK")->isChecked());
    QVERIFY(!Box(*form, "CBDumpView")->isChecked());
    QVERIFY(!Box(*form, "CBDec")->isChecked());
    QCOMPARE(form->optionsDialog()->findChild<QLineEdit*>("HTML_FONTFACE")->text(), QString("arial"));
    QCOMPARE(form->session().settings().pathToPool, home_->pool());
    QCOMPARE(form->session().settings().pathToSent, home_->programDir() + "ITMOUT");
    QCOMPARE(form->session().currentDirectory(), home_->pool());
    // The other windows were created hidden.
    QVERIFY(!form->dataWindow()->isVisible());
    QVERIFY(!form->membersWindow()->isVisible());
    QVERIFY(!form->optionsDialog()->isVisible());
    QVERIFY(Output(*form)->count() == 0);

    QVERIFY(form->close());
    const auto values = IniValues(home_->ReadIni());
    // and the window's own, with the pool as the recent one
    QCOMPARE(values.size(), kSettingsKeyCount + kWindowKeyCount + 1);
    for (std::string_view key : kSettingsKeys) QVERIFY2(values.count(std::string(key)) == 1, key.data());
    QCOMPARE(values.at("PathToPool"), home_->pool());
    QCOMPARE(values.at("PathToSent"), home_->programDir() + "ITMOUT");
    QCOMPARE(values.at("HTMLScanSub"), std::string("1"));
    QCOMPARE(values.at("MailAddress"), std::string());
    QCOMPARE(values.at("HTML_BGColor"), std::string("#000000"));
    QCOMPARE(values.at("filePrefix"), std::string("itm"));
    QCOMPARE(values.at("HeaderURL1Name"), std::string());
  }

  void editedMailAddressAndSubdirectoriesReachTheSettingsFile() {
    auto form = Start();
    auto* mail = form->findChild<QLineEdit*>("MailAddress");
    mail->setText(QString::fromUtf8("jörg@clan.example"));
    Action(form.get(), "MNUSub")->trigger();
    QVERIFY(!Action(form.get(), "MNUSub")->isChecked());
    QVERIFY(form->close());
    const auto values = IniValues(home_->ReadIni());
    QCOMPARE(values.at("MailAddress"), std::string("j\xF6rg@clan.example"));  // Windows-1252
    QCOMPARE(values.at("HTMLScanSub"), std::string("0"));
  }

  void missingPoolFallsBackToProgramDirectory() {
    home_->dir().write("RELICOR.INI", "[RELICOR]\r\nPathToPool=" + home_->dir().file("GONE") + "\r\n");
    auto form = Start();
    QCOMPARE(form->session().settings().pathToPool, home_->dir().path());
    QCOMPARE(form->session().currentDirectory(), PathFromQt(QDir::currentPath()));
  }

  void fileListShowsItemFilesSortedWithoutCase() {
    home_->WriteItem("b.itm", SwordItem());
    home_->WriteItem("A.ITM", SwordItem());
    home_->WriteItem("c.Itm", SwordItem());
    home_->WriteItem(".hidden.ITM", SwordItem());
    home_->dir().write("POOL/notes.txt", "x");
    home_->dir().mkdir("POOL/D.ITM");
    auto form = Start();
    QCOMPARE(Texts(Files(*form)), (QStringList{"A.ITM", "b.itm", "c.Itm"}));
    QCOMPARE(Files(*form)->currentRow(), -1);
  }

  void focusAloneSelectsNoFile() {
    home_->WriteItem("A.ITM", SwordItem());
    home_->WriteItem("B.ITM", BowItem());
    home_->WriteItem("SUB/C.ITM", SwordItem(), "POOL");
    auto form = Start();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    auto* mail = form->findChild<QLineEdit*>("MailAddress");
    for (int round = 0; round < 2; ++round) {
      // The file list takes the focus (the window comes back, the keeper tabs into it).
      mail->setFocus(Qt::TabFocusReason);
      Files(*form)->setFocus(Qt::TabFocusReason);
      QVERIFY(Files(*form)->hasFocus());
      QCOMPARE(form->session().selectedIndex(), -1);
      QCOMPARE(Output(*form)->count(), 0);
      // The first key press selects the first file.
      QTest::keyClick(Files(*form), Qt::Key_Down);
      QCOMPARE(form->session().selectedIndex(), 0);
      QVERIFY(Output(*form)->count() > 0);
      // The same after a change of directory.
      form->ChangeDirectory(PathToQt(home_->dir().file("POOL/SUB")));
      QCOMPARE(Texts(Files(*form)), QStringList{"C.ITM"});
    }
  }

  void selectingItemShowsTheSessionsReport() {
    const std::string bow = home_->WriteItem("Bow.ITM", BowItem());
    home_->WriteItem("Sword.ITM", SwordItem());
    auto form = Start();
    const QColor before = PanelColour(*form);
    QVERIFY(before != QColor(0, 128, 0));

    Files(*form)->setCurrentRow(0);
    const QStringList expected = ToQtLines(ReferenceReport(*home_, bow, form->session().flags()));
    QVERIFY(!expected.isEmpty());
    QCOMPARE(ReportShown(*form), expected);
    QCOMPARE(PanelColour(*form), QColor(0, 128, 0));
    QVERIFY(Action(form.get(), "MNUAddDupe")->isEnabled());

    // A change of directory clears the selection and the output list.
    form->ChangeDirectory(PathToQt(home_->dir().path()));
    QCOMPARE(Output(*form)->count(), 0);
    QVERIFY(!Action(form.get(), "MNUAddDupe")->isEnabled());
  }

  void registeredDupeTurnsStatusRed() {
    home_->dir().write("IDENT.ID", EncodeDatabaseRecord(SwordItem().build()));
    home_->WriteItem("Sword.ITM", SwordItem());
    auto form = Start();
    Files(*form)->setCurrentRow(0);
    QVERIFY(Texts(Output(*form)).contains("*** DUPE DETECT: THIS ITEM IS A REGISTERED DUPE OR A HACK"));
    QCOMPARE(PanelColour(*form), QColor(255, 0, 0));
  }

  void vkModeChangesTheNextReport() {
    const std::string ring = home_->WriteItem("Ring.ITM", RingItem());
    home_->WriteItem("Sword.ITM", SwordItem());
    auto form = Start();
    Box(*form, "CBDebug")->click();  // off and on again: "Additional Info" follows, and with it
    Box(*form, "CBDebug")->click();  // the type line that shows what base item 96 is
    Files(*form)->setCurrentRow(0);
    const QStringList normal = Texts(Output(*form));
    QVERIFY(normal.contains("type [SCROLL OF PHASING]"));
    QCOMPARE(PanelColour(*form), QColor(0, 128, 0));

    Box(*form, "CBVK")->click();
    QVERIFY(form->session().flags().vkMode);
    QCOMPARE(Texts(Output(*form)), normal);  // no report until a file is selected again

    Files(*form)->setCurrentRow(1);
    Files(*form)->setCurrentRow(0);
    const QStringList vk = ReportShown(*form);
    QVERIFY(vk != normal);
    QCOMPARE(vk, ToQtLines(ReferenceReport(*home_, ring, form->session().flags())));
    QCOMPARE(PanelColour(*form), QColor(0, 128, 0));
  }

  void debuggingFileChecksAdditionalInfo() {
    const std::string sword = home_->WriteItem("Sword.ITM", SwordItem());
    auto form = Start();
    QCheckBox* debug = Box(*form, "CBDebug");
    QCheckBox* info = Box(*form, "CBAddInfo");
    debug->click();  // off: "Additional Info" stays off
    QVERIFY(!debug->isChecked());
    QVERIFY(!info->isChecked());
    debug->click();  // on: "Additional Info" follows
    QVERIFY(info->isChecked());
    QVERIFY(form->session().flags().additionalInfo);
    debug->click();  // off again: "Additional Info" stays on
    QVERIFY(!debug->isChecked());
    QVERIFY(info->isChecked());

    Files(*form)->setCurrentRow(0);
    QCOMPARE(ReportShown(*form), ToQtLines(ReferenceReport(*home_, sword, form->session().flags())));
  }

  void layoutTextsHintsAndOrder() {
    auto form = Start();
    QCOMPARE(form->findChild<QWidget*>("DriveComboBox1")->toolTip(), QString("change current drive"));
    QCOMPARE(form->findChild<QWidget*>("DirectoryListBox1")->toolTip(),
             QString("double-click to change directory"));
    QCOMPARE(form->findChild<QLabel*>("Label1")->text(), QString("Send Itemrequest to"));
    QVERIFY(form->findChild<QLabel*>("Label2")->font().bold());
    QCOMPARE(Files(*form)->width(), 161);

    // The check boxes stand one below the other in this order.
    QStringList captions;
    int lastY = -1;
    for (const char* name : {"CBVK", "CBDebug", "CBAddInfo", "CBDumpView", "CBDec"}) {
      QCheckBox* box = Box(*form, name);
      captions << box->text();
      QVERIFY2(box->y() > lastY, name);
      lastY = box->y();
    }
    QCOMPARE(captions,
             (QStringList{"V&&K-Mode", "Debugging File", "Additional Info", "Dump window", "decimal view"}));

    // The note: blue, word-wrapped, naming the maintainer's address in double quotes.
    auto* note = form->findChild<QLabel*>("Label3");
    QCOMPARE(
        note->text().remove(QChar(0x2060)),  // word joiners keep the address on one line
        QString(
            "NOTE : PLEASE REPORT ANY ERRORS OR MISSING ATTRIBUTES TO \"relicor-bugs@example.org\"!! SEND "
            "ERROR DESCRIPTION AND PLEASE THE ITM-FILE TOO (I WILL USE IT ONLY FOR TESTING PURPOSES)."));
    QVERIFY(note->wordWrap());
    QCOMPARE(note->palette().color(QPalette::WindowText), QColor(0, 0, 255));

    // The status panel runs along the bottom with the progress bar inside.
    auto* progress = form->findChild<QProgressBar*>("ProgressBar1");
    QCOMPARE(progress->parentWidget()->objectName(), QString("Panel4"));
    QCOMPARE(progress->minimum(), 0);
    QCOMPARE(progress->maximum(), 100);
    auto top = [&form](const QWidget* widget) { return widget->mapTo(form.get(), QPoint(0, 0)).y(); };
    QVERIFY(top(form->findChild<QFrame*>("Panel4")) > top(Box(*form, "CBDec")));
    QVERIFY(top(form->findChild<QFrame*>("Panel4")) > top(Output(*form)));
  }

  void menuTableCaptionsShortcutsSeparators() {
    auto form = Start();
    QStringList rows;
    for (QAction* menuAction : form->menuBar()->actions()) {
      for (QAction* action : menuAction->menu()->actions()) {
        const QString caption = action->isSeparator() ? "-" : action->text();
        rows << menuAction->text() + " | " + caption + " | " +
                    action->shortcut().toString(QKeySequence::PortableText);
      }
    }
    const QStringList expected{
        QString("&Datei | &Open Pool") + QChar(0x2026) + " | Ctrl+O",
        "&Datei | Recent &Pools | ",
        QString("&Datei | Choose Sent &Directory") + QChar(0x2026) + " | ",
        "&Datei | Import from save game… | ",
        "&Datei | Einstellungen | ",
        "&Datei | - | ",
        "&Datei | Beenden | Alt+F4",
        "&Text | Start Creation | ",
        "&HTML | Set &Pool-Directory | ",
        "&HTML | Set &Sent-Directory | ",
        "&HTML | &Subdirectories | ",
        "&HTML | - | ",
        "&HTML | St&art creation | ",
        "&View | &Members | ",
        "E&xtras | Quick Sender Assign | F9",
        "E&xtras | Quick Point Assign | ",
        "E&xtras | Quick Date Assign | ",
        "E&xtras | Mark as PUBLIC | F10",
        "E&xtras | Mark as CLAN-ONLY | F11",
        "E&xtras | - | ",
        "E&xtras | Prepare Item to send | ",
        "E&xtras | Create Senderlist | ",
        "E&xtras | - | ",
        "E&xtras | Check for duplicate items | ",
        "E&xtras | Start Rename Run | ",
        "D&atabase | &Add to dupe&&hackbase | ",
        "D&atabase | V&iew dupe&&hackbase | ",
        "&Help | Relicor &Manual | F1",
        "&Help | &About Relicor | ",
    };
    QCOMPARE(rows, expected);
    QVERIFY(Action(form.get(), "MNUSub")->isCheckable());
    QVERIFY(Action(form.get(), "MNUCreateSenderlist")->isEnabled());
    QVERIFY(form->findChild<QWidget*>("DateTimePicker1")->isEnabled());
  }

  void functionKeysTriggerEnabledCommands() {
    home_->WriteItem("Sword.ITM", SwordItem());
    home_->dir().mkdir("POOL/SUB");
    auto form = Start();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));

    QTest::keyClick(form.get(), Qt::Key_F9);  // the Members window was hidden: only shown
    QVERIFY(form->membersWindow()->isVisible());
    form->membersWindow()->hide();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));

    QSignalSpy publicSpy(Action(form.get(), "MNUMarkPublic"), &QAction::triggered);
    QSignalSpy clanSpy(Action(form.get(), "MNUMarkClanOnly"), &QAction::triggered);
    Files(*form)->setCurrentRow(0);
    const QStringList report = Texts(Output(*form));
    QTest::keyClick(form.get(), Qt::Key_F10);
    QTest::keyClick(form.get(), Qt::Key_F11);
    QCOMPARE(publicSpy.count(), 1);
    QCOMPARE(clanSpy.count(), 1);
    QCOMPARE(Texts(Output(*form)), report);  // marking changes nothing
    QVERIFY(!QFileInfo::exists(PathToQt(home_->dir().file("POOL/Sword.IT0"))));

    // Outside the pool directory "Mark as PUBLIC" is disabled and ignores its key.
    form->ChangeDirectory(PathToQt(home_->dir().file("POOL/SUB")));
    QTest::keyClick(form.get(), Qt::Key_F10);
    QCOMPARE(publicSpy.count(), 1);
  }

  void sendingCommandsFollowThePoolDirectory() {
    home_->dir().mkdir("POOL/SUB");
    auto form = Start();
    QAction* prepare = Action(form.get(), "MNUPrepareSend");
    QAction* mark = Action(form.get(), "MNUMarkPublic");
    QVERIFY(prepare->isEnabled());
    QVERIFY(mark->isEnabled());

    // A double-click on a subdirectory of the directory list enters it.
    auto* tree = form->findChild<QTreeWidget*>("DirectoryListBox1");
    const auto found = tree->findItems("SUB", Qt::MatchExactly | Qt::MatchRecursive);
    QCOMPARE(found.size(), 1);
    emit tree->itemActivated(found.front(), 0);
    QCoreApplication::processEvents();
    QCOMPARE(form->session().currentDirectory(), home_->dir().file("POOL/SUB"));
    QVERIFY(!prepare->isEnabled());
    QVERIFY(!mark->isEnabled());

    form->ChangeDirectory(PathToQt(home_->pool()));
    QVERIFY(prepare->isEnabled());
    QVERIFY(mark->isEnabled());
  }

  void addToDatabaseAsksAndRefusesRepeats() {
    home_->WriteItem("Sword.ITM", SwordItem());
    auto form = Start();
    QAction* add = Action(form.get(), "MNUAddDupe");
    QVERIFY(!add->isEnabled());
    Files(*form)->setCurrentRow(0);
    QVERIFY(add->isEnabled());

    MessageBoxes::PushAnswer(QMessageBox::No);
    add->trigger();
    QVERIFY(form->session().DatabaseEntries().empty());

    MessageBoxes::PushAnswer(QMessageBox::Yes);
    add->trigger();
    QCOMPARE(form->session().DatabaseEntries().size(), std::size_t{1});
    QCOMPARE(std::filesystem::file_size(home_->dir().file("IDENT.ID")), std::uintmax_t{400});

    MessageBoxes::ClearRequests();
    MessageBoxes::PushAnswer(QMessageBox::Yes);
    add->trigger();
    QVERIFY(ShownTexts().contains("The selected Item is already in database!"));
    QCOMPARE(std::filesystem::file_size(home_->dir().file("IDENT.ID")), std::uintmax_t{400});
  }

  void setPoolDirectoryReloadsMembers() {
    home_->dir().write("POOL/PLAYERS.TXT", "Bob\r\nalice\r\nBob\r\n");
    home_->dir().write("OTHER/PLAYERS.TXT", "Zed\r\n");
    home_->dir().mkdir("EMPTY");
    auto form = Start();
    QCOMPARE(ToQtNames(form->session().Members()), (QStringList{"alice", "Bob"}));

    form->ChangeDirectory(PathToQt(home_->dir().file("EMPTY")));
    Action(form.get(), "MNUSetPoolDir")->trigger();
    QVERIFY(form->session().Members().empty());

    form->ChangeDirectory(PathToQt(home_->dir().file("OTHER")));
    QVERIFY(!Action(form.get(), "MNUPrepareSend")->isEnabled());
    Action(form.get(), "MNUSetPoolDir")->trigger();
    QCOMPARE(ToQtNames(form->session().Members()), QStringList{"Zed"});
    QVERIFY(Action(form.get(), "MNUPrepareSend")->isEnabled());

    Action(form.get(), "MNUSetSentDir")->trigger();
    form->session().AddMember("Amy");
    QVERIFY(form->close());
    const auto values = IniValues(home_->ReadIni());
    QCOMPARE(values.at("PathToPool"), home_->dir().file("OTHER"));
    QCOMPARE(values.at("PathToSent"), home_->dir().file("OTHER"));
    QCOMPARE(home_->dir().read("OTHER/PLAYERS.TXT"), std::string("Amy\r\nZed\r\n"));
  }

  void settingsWriteFailureKeepsTheWindowOpen() {
    home_->dir().mkdir("RELICOR.INI");  // a directory where the settings file should be
    auto form = Start();
    QVERIFY(!form->close());
    QVERIFY(form->isVisible());
    const QString expected =
        QString("nach %1 kann nicht geschrieben werden").arg(PathToQt(home_->programDir() + "RELICOR.INI"));
    QVERIFY2(ShownTexts().contains(expected), qPrintable(ShownTexts().join(" / ")));

    std::filesystem::remove(home_->dir().file("RELICOR.INI"));
    QVERIFY(form->close());
    QCOMPARE(IniValues(home_->ReadIni()).size(), kSettingsKeyCount + kWindowKeyCount + 1);
  }

  void textExportWritesTheListOrNamesTheFile() {
    home_->WriteItem("Sword.ITM", SwordItem());
    auto form = Start();
    Action(form.get(), "MNUTextCreate")->trigger();
    QVERIFY(QFileInfo::exists(PathToQt(home_->dir().file("POOL/ITMLIST.TXT"))));
    QVERIFY(Files(*form)->isEnabled());
    QVERIFY(form->menuBar()->isEnabled());

    std::filesystem::remove(home_->dir().file("POOL/ITMLIST.TXT"));
    home_->dir().mkdir("POOL/ITMLIST.TXT");
    MessageBoxes::ClearRequests();
    Action(form.get(), "MNUTextCreate")->trigger();
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{1});
    QCOMPARE(MessageBoxes::requests().front().kind, MessageBoxes::Kind::kError);
    QVERIFY(MessageBoxes::requests().front().text.contains("ITMLIST.TXT"));
    QVERIFY(Files(*form)->isEnabled());
  }

  void quickSenderAssignTakesTheSelectedMember() {
    home_->dir().write("POOL/PLAYERS.TXT", "Bob\r\n");
    home_->WriteItem("Sword.ITM", SwordItem());
    auto form = Start();
    Files(*form)->setCurrentRow(0);
    QAction* assign = Action(form.get(), "MNUQuickSender");
    assign->trigger();  // shows the Members window, assigns nothing
    QVERIFY(form->membersWindow()->isVisible());
    QVERIFY(!QFileInfo::exists(PathToQt(home_->dir().file("POOL/Sword.IT0"))));

    assign->trigger();  // no member selected: nothing
    QVERIFY(!QFileInfo::exists(PathToQt(home_->dir().file("POOL/Sword.IT0"))));

    form->membersWindow()->list()->setCurrentRow(0);
    assign->trigger();
    QCOMPARE(IniValues(home_->dir().read("POOL/Sword.IT0")).at("SenderName"), std::string("Bob"));
  }

  void prepareItemToSendMovesTheItemOrSaysWhyNot() {
    home_->dir().write("POOL/PLAYERS.TXT", "Bob\r\n");
    home_->WriteItem("Bow.ITM", BowItem());
    home_->WriteItem("Sword.ITM", SwordItem());
    auto form = Start();
    QAction* prepare = Action(form.get(), "MNUPrepareSend");
    prepare->trigger();  // only shows the Members window
    QVERIFY(form->membersWindow()->isVisible());
    form->membersWindow()->list()->setCurrentRow(0);

    // No sent directory yet: the keeper is told which directory is missing; the item stays.
    Files(*form)->setCurrentRow(1);
    prepare->trigger();
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{1});
    QCOMPARE(MessageBoxes::requests().front().kind, MessageBoxes::Kind::kError);
    QVERIFY2(MessageBoxes::requests().front().text.contains(PathToQt(home_->dir().file("ITMOUT"))),
             qPrintable(MessageBoxes::requests().front().text));
    QCOMPARE(Texts(Files(*form)), (QStringList{"Bow.ITM", "Sword.ITM"}));

    home_->dir().mkdir("ITMOUT");
    prepare->trigger();
    QVERIFY(QFileInfo::exists(PathToQt(home_->dir().file("ITMOUT/Sword.ITM"))));
    QVERIFY(!QFileInfo::exists(PathToQt(home_->dir().file("POOL/Sword.ITM"))));
    QCOMPARE(Texts(Files(*form)), QStringList{"Bow.ITM"});
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{1});  // success says nothing
  }

  void renameRunAsksFirstAndTheFileListFollows() {
    home_->WriteItem("x1.ITM", SwordItem());
    auto form = Start();
    QAction* rename = Action(form.get(), "MNURenameRun");
    MessageBoxes::PushAnswer(QMessageBox::No);
    rename->trigger();
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{1});
    QCOMPARE(MessageBoxes::requests().front().kind, MessageBoxes::Kind::kQuestion);
    QCOMPARE(Texts(Files(*form)), QStringList{"x1.ITM"});

    MessageBoxes::PushAnswer(QMessageBox::Yes);
    rename->trigger();
    const QStringList onDisk = QDir(PathToQt(home_->pool())).entryList({"*.ITM"}, QDir::Files);
    QCOMPARE(onDisk.size(), 1);
    QVERIFY(onDisk.front() != "x1.ITM");
    QCOMPARE(Texts(Files(*form)), onDisk);
    QVERIFY(Files(*form)->isEnabled());
  }

  void duplicateCheckTellsWhereItsLogIs() {
    home_->WriteItem("A.ITM", SwordItem());
    home_->WriteItem("B.ITM", SwordItem());
    auto form = Start();
    Action(form.get(), "MNUCheckDupes")->trigger();
    QVERIFY(QFileInfo::exists(PathToQt(home_->dir().file("POOL/DUPECHK.TXT"))));
    QVERIFY(home_->dir().read("POOL/DUPECHK.TXT").find("DUPLICATED ") != std::string::npos);
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{1});
    QCOMPARE(MessageBoxes::requests().front().kind, MessageBoxes::Kind::kInformation);
    QVERIFY2(MessageBoxes::requests().front().text.startsWith(
                 "Found 1 duplicate, 0 known dupes.\nDupe check log in "),
             qPrintable(MessageBoxes::requests().front().text));
    QCOMPARE(form->findChild<QProgressBar*>("ProgressBar1")->value(), 0);
  }
  void quickAssignsShowTheNewReport() {
    home_->dir().write("POOL/PLAYERS.TXT", "Bob\r\n");
    const std::string sword = home_->WriteItem("Sword.ITM", SwordItem());
    auto form = Start();
    Files(*form)->setCurrentRow(0);
    const QColor verdict = PanelColour(*form);
    QVERIFY(!Texts(Output(*form)).contains("Added 15.03.2024"));

    Action(form.get(), "MNUQuickPoint")->trigger();
    QVERIFY2(Texts(Output(*form)).contains("Point4Item dated 15.03.2024"),
             qPrintable(Texts(Output(*form)).join('|')));
    Action(form.get(), "MNUQuickDate")->trigger();
    QVERIFY(Texts(Output(*form)).contains("Added 15.03.2024"));
    Action(form.get(), "MNUMembers")->trigger();
    form->membersWindow()->list()->setCurrentRow(0);
    Action(form.get(), "MNUQuickSender")->trigger();
    QVERIFY(Texts(Output(*form)).contains("by Bob"));
    // Exactly what a fresh report of the changed item gives.
    QCOMPARE(ReportShown(*form), ToQtLines(ReferenceReport(*home_, sword, form->session().flags())));
    QCOMPARE(PanelColour(*form), verdict);
    QVERIFY(MessageBoxes::requests().empty());
  }

  void functionKeysWorkWhileTheMembersWindowIsActive() {
    home_->dir().write("POOL/PLAYERS.TXT", "Bob\r\n");
    home_->WriteItem("Sword.ITM", SwordItem());
    auto form = Start();
    Files(*form)->setCurrentRow(0);
    Action(form.get(), "MNUMembers")->trigger();
    MembersWindow* members = form->membersWindow();
    members->list()->setCurrentRow(0);
    members->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(members));
    QTest::keyClick(members->list(), Qt::Key_F9);
    QCOMPARE(IniValues(home_->dir().read("POOL/Sword.IT0")).at("SenderName"), std::string("Bob"));
    QVERIFY(Texts(Output(*form)).contains("by Bob"));
  }

  void anEmptyMemberLineIsNoSelectedName() {
    home_->dir().write("POOL/PLAYERS.TXT", "\r\nBob\r\n");
    home_->dir().mkdir("ITMOUT");
    home_->WriteItem("Sword.ITM", SwordItem());
    auto form = Start();
    Files(*form)->setCurrentRow(0);
    Action(form.get(), "MNUMembers")->trigger();
    QCOMPARE(Texts(form->membersWindow()->list()), (QStringList{"", "Bob"}));
    form->membersWindow()->list()->setCurrentRow(0);
    Action(form.get(), "MNUQuickSender")->trigger();
    Action(form.get(), "MNUPrepareSend")->trigger();
    QVERIFY2(MessageBoxes::requests().empty(), qPrintable(ShownTexts().join(" / ")));
    QVERIFY(!QFileInfo::exists(PathToQt(home_->dir().file("POOL/Sword.IT0"))));
    QVERIFY(QFileInfo::exists(PathToQt(home_->dir().file("POOL/Sword.ITM"))));
  }

  void aMoveThatFailsShowsItsErrorWithTheErrorSymbol() {
    home_->dir().write("POOL/PLAYERS.TXT", "Bob\r\n");
    home_->WriteItem("Sword.ITM", SwordItem());
    home_->WriteItem("Sword.ITM", BowItem(), "ITMOUT");
    auto form = Start();
    Files(*form)->setCurrentRow(0);
    Action(form.get(), "MNUMembers")->trigger();
    form->membersWindow()->list()->setCurrentRow(0);
    Action(form.get(), "MNUPrepareSend")->trigger();
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{1});
    QCOMPARE(MessageBoxes::requests().front().kind, MessageBoxes::Kind::kError);
    QVERIFY2(MessageBoxes::requests().front().text.startsWith("Konnte Datei nicht verschieben"),
             qPrintable(MessageBoxes::requests().front().text));
    QVERIFY(QFileInfo::exists(PathToQt(home_->dir().file("POOL/Sword.ITM"))));
  }

  void closingTheMainWindowTakesTheOtherWindowsWithoutTheirChecks() {
    home_->dir().write("IDENT.ID", EncodeDatabaseRecord(SwordItem().build()));
    auto form = Start();
    Action(form.get(), "MNUViewDupe")->trigger();
    Action(form.get(), "MNUMembers")->trigger();
    DatabaseWindow* database = form->databaseWindow();
    QVERIFY(database->isVisible());
    database->list()->setCurrentRow(0);
    MessageBoxes::PushAnswer(QMessageBox::Yes);
    database->DeleteSelected();
    QVERIFY(form->session().DatabaseModified());
    MessageBoxes::ClearRequests();

    QVERIFY(form->close());
    QVERIFY(!database->isVisible());
    QVERIFY(!form->membersWindow()->isVisible());
    QVERIFY2(MessageBoxes::requests().empty(), qPrintable(ShownTexts().join(" / ")));
    // The deletion was never saved.
    QCOMPARE(std::filesystem::file_size(home_->dir().file("IDENT.ID")), std::uintmax_t{400});
  }

  void noWindowTakesInputWhileALongCommandRuns() {
    home_->dir().write("POOL/PLAYERS.TXT", "alice\r\nBob\r\n");
    home_->WriteItem("A.ITM", SwordItem());
    home_->WriteItem("B.ITM", BowItem());
    auto form = Start();
    Action(form.get(), "MNUMembers")->trigger();
    MembersWindow* members = form->membersWindow();
    MessageBoxes::PushTextAnswer(QString("Zed"));
    members->AddMember();  // reaches the member list when the window is hidden
    auto* close = members->findChild<QToolButton*>("SpeedButton3");
    bool clicked = false;
    QTimer::singleShot(0, members, [&] {
      clicked = true;
      QTest::mouseClick(close, Qt::LeftButton);
    });
    Action(form.get(), "MNUTextCreate")->trigger();
    QVERIFY(clicked);
    QVERIFY(members->isVisible());
    QCOMPARE(ToQtNames(form->session().Members()), (QStringList{"alice", "Bob"}));

    // Afterwards the window takes its input again.
    QTest::mouseClick(close, Qt::LeftButton);
    QVERIFY(!members->isVisible());
    QCOMPARE(ToQtNames(form->session().Members()), (QStringList{"alice", "Bob", "Zed"}));
  }

  void startRepairsAnInterruptedMoveAndSaysSo() {
    // A run was killed after it renamed Old.ITM to New.ITM, before the sidecar followed.
    home_->WriteItem("New.ITM", SwordItem());
    home_->dir().write("POOL/Old.IT0", "[Iteminfos]\r\nSenderName=Bob\r\n");
    home_->dir().write("POOL/RELICOR.JNL", "RELICOR MOVES 1\r\n" + home_->dir().file("POOL/Old.ITM") + "\t" +
                                               home_->dir().file("POOL/New.ITM") + "\r\nEND\r\n");
    home_->dir().write("RELICOR.INI", "[RELICOR]\r\nPathToPool=" + home_->pool() + "\r\n");
    auto form = Start();
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{1});
    QVERIFY2(MessageBoxes::requests().front().text.startsWith("repaired: moved the sidecar "),
             qPrintable(MessageBoxes::requests().front().text));
    QCOMPARE(IniValues(home_->dir().read("POOL/New.IT0")).at("SenderName"), std::string("Bob"));
    QVERIFY(!QFileInfo::exists(PathToQt(home_->dir().file("POOL/RELICOR.JNL"))));
  }

  void aBusyPoolIsShownAndTheLockIsTakenPerCommand() {
    home_->WriteItem("Sword.ITM", SwordItem());
    auto form = Start();
    Files(*form)->setCurrentRow(0);
    {
      auto other = DirectoryLock::Acquire(home_->pool(), std::chrono::milliseconds(0));
      QVERIFY(other && other->held());
      Action(form.get(), "MNUQuickPoint")->trigger();
    }
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{1});
    QCOMPARE(MessageBoxes::requests().front().kind, MessageBoxes::Kind::kError);
    QVERIFY(MessageBoxes::requests().front().text.startsWith("pool is busy: another Relicor is writing"));
    QVERIFY(!QFileInfo::exists(PathToQt(home_->dir().file("POOL/Sword.IT0"))));
    // Between commands the window holds no lock: another Relicor can write the pool.
    auto between = DirectoryLock::Acquire(home_->pool(), std::chrono::milliseconds(0));
    QVERIFY(between && between->held());
    between->Release();
    Action(form.get(), "MNUQuickPoint")->trigger();
    QCOMPARE(IniValues(home_->dir().read("POOL/Sword.IT0")).at("Points4Item"), std::string("1"));
  }
};

}  // namespace relicor::test

QTEST_MAIN(relicor::test::MainWindowTest)
#include "MainWindowTest.moc"
