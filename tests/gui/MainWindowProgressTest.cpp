// Long commands show their progress in a dialog after a second and can be cancelled there: a
// cancelled command leaves every file as it was and the window as it was.

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <memory>

#include "MainWindowFixture.h"
#include "gui/MainWindow.h"

namespace relicor::test {

class MainWindowProgressTest : public QObject, protected MainWindowFixture {
  Q_OBJECT

 private:
  // The pool's files, each with its content.
  std::map<QString, std::string> PoolFiles() const {
    std::map<QString, std::string> files;
    const QDir pool(PathToQt(home_->pool()));
    for (const QString& name : pool.entryList(QDir::Files | QDir::Hidden | QDir::System))
      files[name] = home_->dir().read("POOL/" + name.toStdString());
    return files;
  }

  void WritePool(int count) {
    for (int i = 0; i < count; ++i) {
      const std::string name = "Item" + std::to_string(1000 + i) + ".ITM";
      home_->WriteItem(name, BowItem().ident(0x100000u + static_cast<std::uint32_t>(i)));
    }
  }

  // Presses Cancel in the progress dialog as soon as the command shows it its progress; returns
  // what the dialog said it does and whether it had a Cancel at all.
  struct Seen {
    QString label;
    int minimumDuration = -1;
    bool cancelled = false;
  };
  static void CancelWhenAsked(MainWindow& form, Seen& seen) {
    auto* poll = new QTimer(&form);
    poll->setInterval(0);
    QObject::connect(poll, &QTimer::timeout, poll, [&form, &seen, poll] {
      auto* dialog = form.findChild<QProgressDialog*>("ProgressDialog");
      if (dialog == nullptr) return;
      seen.label = dialog->labelText();
      seen.minimumDuration = dialog->minimumDuration();
      dialog->cancel();
      seen.cancelled = true;
      poll->deleteLater();
    });
    poll->start();
  }

 private slots:
  void initTestCase() { InterceptMessageBoxes(); }
  void init() { NewHome(); }
  void cleanup() { DropHome(); }

  void cancelledCommandsLeaveTheFilesAsTheyWere_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("label");
    QTest::newRow("publish") << "MNUStartCreate"
                             << "Writing the pages";
    QTest::newRow("export") << "MNUTextCreate"
                            << "Writing the item list";
    QTest::newRow("dupecheck") << "MNUCheckDupes"
                               << "Looking for duplicate items";
    QTest::newRow("senders") << "MNUCreateSenderlist"
                             << "Counting the senders";
    QTest::newRow("rename") << "MNURenameRun"
                            << "Looking at the item files";
  }
  void cancelledCommandsLeaveTheFilesAsTheyWere() {
    QFETCH(QString, command);
    QFETCH(QString, label);
    WritePool(40);
    home_->dir().write("POOL/ITMLIST.TXT", "the list before\r\n");
    auto form = Start();
    Files(*form)->setCurrentRow(3);
    const QStringList report = Texts(Output(*form));
    const std::map<QString, std::string> before = PoolFiles();

    Seen seen;
    CancelWhenAsked(*form, seen);
    Action(form.get(), command.toUtf8().constData())->trigger();
    QVERIFY(seen.cancelled);
    QCOMPARE(seen.label, label + QChar(0x2026));
    QCOMPARE(seen.minimumDuration, 1000);  // quick commands never show it
    QVERIFY(form->findChild<QProgressDialog*>("ProgressDialog") == nullptr);

    // Nothing written, no temporary file left, no message box; the keeper is told in the status bar.
    QCOMPARE(PoolFiles(), before);
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{0});
    QVERIFY2(form->statusBar()->currentMessage().startsWith("Cancelled: nothing was"),
             qPrintable(form->statusBar()->currentMessage()));
    QCOMPARE(Files(*form)->currentRow(), 3);
    QCOMPARE(Texts(Output(*form)), report);
    QVERIFY(Action(form.get(), "MNUStartCreate")->isEnabled());
    QVERIFY(form->menuBar()->isEnabled());

    // Not cancelled, the same command runs to its end (the rename run up to its question).
    MessageBoxes::PushAnswer(QMessageBox::No);
    Action(form.get(), command.toUtf8().constData())->trigger();
    for (const MessageBoxes::Request& request : MessageBoxes::requests())
      QVERIFY2(request.kind != MessageBoxes::Kind::kError, qPrintable(request.text));
    if (command == "MNURenameRun") {
      QCOMPARE(MessageBoxes::requests().front().kind, MessageBoxes::Kind::kQuestion);
    } else {
      QVERIFY(PoolFiles() != before);
    }
  }
};

}  // namespace relicor::test

QTEST_MAIN(relicor::test::MainWindowProgressTest)
#include "MainWindowProgressTest.moc"
