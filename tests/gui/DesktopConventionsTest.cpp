// The desktop's conventions: the sender list, the command line's --help and --version, the Help
// menu's About box, Ctrl+Q, "Open Pool…" with Ctrl+O, the pool in the title and the status bar,
// and Escape on every secondary window.

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QDialog>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QSplitter>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <memory>

#include "MainWindowFixture.h"
#include "Version.h"
#include "gui/AppInfo.h"
#include "gui/DatabaseWindow.h"
#include "gui/ItemDumpWindow.h"
#include "gui/MainWindow.h"
#include "gui/MembersWindow.h"
#include "gui/SenderListWindow.h"

namespace relicor::test {

class DesktopConventionsTest : public QObject, protected MainWindowFixture {
  Q_OBJECT

 private:
  // An item in the pool (or `sub`) with a sidecar.
  void SentIn(const std::string& name, std::uint32_t ident, const std::string& sender,
              const std::string& added, bool points, const std::string& sub = "POOL") {
    home_->WriteItem(name, SwordItem().ident(ident), sub);
    home_->dir().write(sub + "/" + name.substr(0, name.size() - 3) + "IT0",
                       "[Iteminfos]\r\nSenderName=" + sender + "\r\nPoints4Item=" + (points ? "1" : "0") +
                           "\r\nAddedItem=" + added + "\r\n");
  }

  static QStringList Row(const QTableWidget* table, int row) {
    return {table->item(row, 0)->text(), table->item(row, 1)->text(), table->item(row, 2)->text()};
  }

 private slots:
  void initTestCase() { InterceptMessageBoxes(); }
  void init() { NewHome(); }
  void cleanup() { DropHome(); }

  void senderListCountsFromThePickedDayAndShowsATable() {
    home_->dir().write("POOL/PLAYERS.TXT", "alice\r\n");
    home_->dir().mkdir("ITMOUT");
    SentIn("a.ITM", 1, "alice", "01.03.2024", true);
    SentIn("b.ITM", 2, "alice", "29.02.2024", false);  // the day before: not counted
    SentIn("c.ITM", 3, "zed", "10.03.2024", false, "ITMOUT");
    auto form = Start();
    auto* picker = form->findChild<QDateEdit*>("DateTimePicker1");
    QCOMPARE(picker->date(), QDate(2024, 2, 15));  // a month before the clock's day
    picker->setDate(QDate(2024, 3, 1));
    QVERIFY(Action(form.get(), "MNUCreateSenderlist")->isEnabled());
    Action(form.get(), "MNUCreateSenderlist")->trigger();
    QVERIFY(MessageBoxes::requests().empty());
    SenderListWindow* window = form->senderListWindow();
    QVERIFY(window != nullptr && window->isVisible());
    const QTableWidget* table = window->table();
    QCOMPARE(table->rowCount(), 3);
    QCOMPARE(Row(table, 0), (QStringList{"alice", "1", "1"}));
    QCOMPARE(Row(table, 1), (QStringList{"zed (not a member)", "1", "0"}));
    QCOMPARE(Row(table, 2), (QStringList{"Total", "2", "1"}));
    QVERIFY(
        home_->dir().read("POOL/SENDERS.TXT").starts_with("Senderlist since 01.03.2024 (made 15.03.2024 "));
    QTest::keyClick(window, Qt::Key_Escape);
    QVERIFY(!window->isVisible());
  }

  void senderListWithoutAPoolSaysSo() {
    home_->dir().write("RELICOR.INI", "[RELICOR]\r\nPathToPool=\r\n");
    auto form = Start();
    Action(form.get(), "MNUCreateSenderlist")->trigger();
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{1});
    QCOMPARE(MessageBoxes::requests().front().kind, MessageBoxes::Kind::kError);
    QCOMPARE(MessageBoxes::requests().front().text, QString("No Pool-Directory assigned!"));
    QVERIFY(form->senderListWindow() == nullptr);
  }

  void helpAndVersionPrintAndEnd() {
    const StartupRequest version = ParseStartup({"--version"});
    QCOMPARE(version.exitCode, std::optional<int>(0));
    QCOMPARE(version.text, QString("relicor ") + kVersion + "\n");
    for (const QString& help : {QString("-h"), QString("--help")}) {
      const StartupRequest request = ParseStartup({"x.ITM", help});
      QCOMPARE(request.exitCode, std::optional<int>(0));
      QVERIFY(request.text.startsWith("Usage: relicor [FILE|DIR]..."));
    }
    const StartupRequest files = ParseStartup({"a.ITM", "--", "--help"});
    QVERIFY(!files.exitCode);
    QCOMPARE(files.paths, (QStringList{"a.ITM", "--help"}));

    // The program itself: no display is needed, and it ends at once.
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM");
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    program.setProcessEnvironment(environment);
    program.start(RELICOR_GUI_PATH, {"--version"});
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(QString::fromLocal8Bit(program.readAllStandardOutput()), QString("relicor ") + kVersion + "\n");
  }

  void aboutTellsVersionLicenceAndHomePage() {
    auto form = Start();
    QAction* about = Action(form.get(), "MNUAbout");
    QVERIFY(about != nullptr);
    QCOMPARE(about->parent()->objectName(), QString("MNUHelp"));
    about->trigger();
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{1});
    const QString text = MessageBoxes::requests().front().text;
    QVERIFY(text.startsWith(QString("Relicor ") + kVersion));
    QVERIFY(text.contains(kLicence));
    QVERIFY(text.contains(kHomePage));
  }

  void ctrlQQuits() {
    auto form = Start();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QVERIFY(Action(form.get(), "MNUExit")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Q)));
    QTest::keyClick(form.get(), Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!form->isVisible());
    QVERIFY(home_->ReadIni().find("PathToPool=") != std::string::npos);  // a normal shutdown
  }

  void openPoolSetsThePoolAndShowsItInTitleAndStatusBar() {
    home_->WriteItem("one.ITM", SwordItem());
    home_->WriteItem("two.ITM", BowItem(), "OTHER");
    home_->WriteItem("three.ITM", RingItem(), "OTHER");
    home_->dir().write("OTHER/PLAYERS.TXT", "carl\r\n");
    auto form = Start();
    const QString pool = PathToQt(home_->pool());
    QCOMPARE(form->windowTitle(), QString("Relicor ") + kVersion + " - " + pool + " (1 item)");
    auto* status = form->findChild<QLabel*>("PoolStatus");
    QCOMPARE(status->text(), "Pool: " + pool + " - 1 item");

    QAction* open = Action(form.get(), "MNUOpenPool");
    QCOMPARE(open->shortcut(), QKeySequence(QKeySequence::Open));
    QCOMPARE(open->parent()->objectName(), QString("MNUDatei"));
    QString offered;
    form->SetDirectoryChooser([&offered](const QString& start) {
      offered = start;
      return QString();  // cancelled: nothing changes
    });
    open->trigger();
    QCOMPARE(offered, pool);
    QCOMPARE(form->session().settings().pathToPool, home_->pool());

    const QString other = PathToQt(home_->dir().file("OTHER"));
    form->SetDirectoryChooser([&other](const QString&) { return other; });
    open->trigger();
    QCOMPARE(form->session().settings().pathToPool, home_->dir().file("OTHER"));
    QCOMPARE(PathToQt(form->session().currentDirectory()), other);
    QCOMPARE(form->session().Members(), std::vector<std::string>{"carl"});
    QVERIFY(form->windowTitle().startsWith("Relicor"));
    QCOMPARE(form->windowTitle(), QString("Relicor ") + kVersion + " - " + other + " (2 items)");
    QCOMPARE(status->text(), "Pool: " + other + " - 2 items");

    // Browsing elsewhere keeps the pool's count.
    form->ChangeDirectory(pool);
    QCOMPARE(status->text(), "Pool: " + other + " - 2 items");
  }

  void theTitleSaysWhenNoPoolIsSet() {
    home_->dir().write("RELICOR.INI", "[RELICOR]\r\nPathToPool=\r\n");
    auto form = Start();
    QCOMPARE(form->windowTitle(), QString("Relicor ") + kVersion + " - no pool");
    QVERIFY(form->findChild<QLabel*>("PoolStatus")->text().startsWith("No pool"));
  }

  void undoResultListsTheFilesInTheDetailsOnly() {
    for (std::uint32_t i = 0; i < 40; ++i)
      home_->WriteItem("x" + std::to_string(i) + ".ITM", SwordItem().ident(i));
    auto form = Start();
    MessageBoxes::PushAnswer(QMessageBox::Yes);
    MessageBoxes::PushAnswer(MessageBoxes::kOfferTaken);
    Action(form.get(), "MNURenameRun")->trigger();
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{3});
    const MessageBoxes::Request& undone = MessageBoxes::requests()[2];
    QVERIFY2(undone.text.startsWith("40 restored"), qPrintable(undone.text));
    QVERIFY2(undone.text.count('\n') <= 2, qPrintable(undone.text));
    QCOMPARE(undone.details.count(" -> "), 40);
  }

  void aBoxWithALongListFitsASmallScreen() {
    QStringList lines;
    for (int i = 0; i < 300; ++i) lines << QString("POOL/Item%1.ITM -> POOL/Sword%1.ITM").arg(i);
    int height = 0;
    QTimer::singleShot(0, [&height] {
      QWidget* box = QApplication::activeModalWidget();
      QVERIFY(box != nullptr);
      height = box->frameGeometry().height();
      qobject_cast<QDialog*>(box)->accept();
    });
    MessageBoxes::SetIntercept(false);
    MessageBoxes::InformationWithDetails(nullptr, "300 restored, 0 left as they are", lines.join('\n'));
    MessageBoxes::SetIntercept(true);
    QVERIFY2(height > 0 && height < 900, qPrintable(QString::number(height)));
  }

  void placeSizeAndFileListWidthAreKeptBesideUnknownKeys() {
    home_->dir().write("RELICOR.INI", "[RELICOR]\r\nMyOwnKey=1\r\n[Other]\r\nx=y\r\n");
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QSize kept;
    {
      auto form = Start();
      form->resize(screen.size() - QSize(40, 40));
      form->move(screen.topLeft() + QPoint(3, 4));
      auto* splitter = form->findChild<QSplitter*>("Splitter1");
      QVERIFY(splitter != nullptr);
      splitter->setSizes({130, splitter->width() - 130});
      kept = form->size();
      QVERIFY(form->close());
    }
    const std::string ini = home_->ReadIni();
    for (const std::string& line : {std::string("MyOwnKey=1\r\n"), std::string("[Other]\r\nx=y\r\n"),
                                    "WindowWidth=" + std::to_string(kept.width()) + "\r\n",
                                    std::string("FileListWidth=130\r\n"), std::string("PathToPool=")}) {
      QVERIFY2(ini.find(line) != std::string::npos, ini.c_str());
    }

    auto again = Start();
    QVERIFY(again->RestoreWindowState());
    QCOMPARE(again->size(), kept);
    QCOMPARE(again->pos(), screen.topLeft() + QPoint(3, 4));
    QCOMPARE(Files(*again)->width(), 130);
  }

  void aPlaceOffEveryScreenIsNotTakenAndASizeIsBoundedByTheScreen() {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    home_->dir().write(
        "RELICOR.INI",
        "[RELICOR]\r\nWindowLeft=20000\r\nWindowTop=20000\r\nWindowWidth=900\r\nWindowHeight=700\r\n");
    {
      auto form = Start();
      QVERIFY(!form->RestoreWindowState());
    }
    home_->dir().write(
        "RELICOR.INI",
        "[RELICOR]\r\nWindowLeft=-100\r\nWindowTop=0\r\nWindowWidth=9000\r\nWindowHeight=7000\r\n");
    auto form = Start();
    QVERIFY(form->RestoreWindowState());
    QVERIFY(screen.contains(form->frameGeometry()));
  }

  void escapeClosesEverySecondaryWindow() {
    auto form = Start();
    for (QWidget* window :
         std::initializer_list<QWidget*>{form->dataWindow(), form->membersWindow(), form->databaseWindow()}) {
      window->show();
      window->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(window));
      QTest::keyClick(window, Qt::Key_Escape);
      QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
    }
    QVERIFY(form->isVisible());
  }
};

}  // namespace relicor::test

QTEST_MAIN(relicor::test::DesktopConventionsTest)
#include "DesktopConventionsTest.moc"
