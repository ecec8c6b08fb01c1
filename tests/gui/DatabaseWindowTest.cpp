// The database window: the list by name, the selected entry's key parts, Delete and Save with
// their confirmations, and the close query.

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>

#include "GuiTestSupport.h"
#include "gui/DatabaseWindow.h"
#include "gui/MainWindow.h"
#include "shell/Session.h"
#include "validate/Database.h"

namespace relicor::test {

class DatabaseWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TempDir> dir_;
  FixedClock clock_{TestNow()};
  SessionUi ui_;
  std::unique_ptr<Session> session_;
  std::unique_ptr<DatabaseWindow> window_;

  // A session started in `dir` (its IDENT.ID loaded).
  std::unique_ptr<Session> StartedSession(const TempDir& dir) {
    auto session = std::make_unique<Session>(dir.path() + "/", clock_, ui_);
    session->Start();
    return session;
  }

  std::string FilePath() const { return dir_->file("IDENT.ID"); }
  std::uintmax_t FileSize() const { return std::filesystem::file_size(FilePath()); }
  QPushButton* Button(const char* name) { return window_->findChild<QPushButton*>(name); }
  QString Label(const char* name) { return window_->findChild<QLabel*>(name)->text(); }
  void Select(const QString& text) {
    const auto found = window_->list()->findItems(text, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    window_->list()->setCurrentItem(found.front());
  }

 private slots:
  void initTestCase() { InterceptMessageBoxes(); }

  void init() {
    MessageBoxes::Reset();
    dir_ = std::make_unique<TempDir>();
    std::string file;
    file += EncodeDatabaseRecord(RecordBuilder().ident(255).itemClass(12).name("zeta blade").build());
    file += EncodeDatabaseRecord(RecordBuilder().ident(7).itemClass(1).name("Alpha Ring").build());
    file += EncodeDatabaseRecord(RecordBuilder().ident(9).itemClass(2).name("").build());
    file += EncodeDatabaseRecord(RecordBuilder().ident(3).itemClass(4).name("\xE4xe").build());  // "äxe"
    dir_->write("IDENT.ID", file);
    session_ = StartedSession(*dir_);
    window_ = std::make_unique<DatabaseWindow>(*session_);
  }

  void cleanup() {
    window_.reset();
    session_.reset();
    dir_.reset();
  }

  void showListsUpperCasedNamesSorted() {
    QCOMPARE(window_->windowTitle(), QString("Database Dupes&Hacks"));
    window_->show();
    // Only a-z are upper-cased; an empty name still counts.
    QCOMPARE(Texts(window_->list()), (QStringList{"", "ALPHA RING", QString::fromUtf8("äXE"), "ZETA BLADE"}));
    QCOMPARE(Label("Panel3"), QString("4 entries loaded"));
    QCOMPARE(Label("LBID"), QString("ID"));
    QCOMPARE(Label("LBTYPE"), QString("Type"));
    const char* const buttons[][3] = {{"BTDelete", "Delete", "Delete Item from Database"},
                                      {"BTSave", "Save", "Save List to Database"},
                                      {"BTClose", "Close", "Close this window"}};
    int lastY = -1;
    for (const auto& [name, caption, hint] : buttons) {
      QCOMPARE(Button(name)->text(), QString(caption));
      QCOMPARE(Button(name)->toolTip(), QString(hint));
      QVERIFY2(Button(name)->y() > lastY, name);  // one below the other in this order
      lastY = Button(name)->y();
    }
    QVERIFY(window_->findChild<QLabel*>("LBID")->font().bold());
    QVERIFY(window_->findChild<QLabel*>("LBTYPE")->font().bold());
  }

  void namesSortWithoutRegardToCaseAndAccents() {
    std::string file;
    std::uint32_t ident = 100;
    for (const char* name :
         {"zeta", "Sr", "\xDF", "\xD6l", "oak", "\xC4rger", "sz", "Alpha", "\xE4xe", "ALPHA"})
      file += EncodeDatabaseRecord(RecordBuilder().ident(ident++).itemClass(1).name(name).build());
    dir_->write("IDENT.ID", file);
    const std::unique_ptr<Session> session = StartedSession(*dir_);
    DatabaseWindow window(*session);
    window.show();
    // Ä and ä stand with A, Ö with O, ß as SS; equal names keep their bytes' order.
    const QStringList expected{"ALPHA",
                               "ALPHA",
                               QString::fromUtf8("ÄRGER"),
                               QString::fromUtf8("äXE"),
                               "OAK",
                               QString::fromUtf8("ÖL"),
                               "SR",
                               QString::fromUtf8("ß"),
                               "SZ",
                               "ZETA"};
    QCOMPARE(Texts(window.list()), expected);
  }

  void selectionShowsKeyParts() {
    window_->show();
    Select("ZETA BLADE");
    QCOMPARE(Label("LBID"), QString("Item 000000FF"));
    QCOMPARE(Label("LBTYPE"), QString("Type 0C"));
    Select("ALPHA RING");
    QCOMPARE(Label("LBID"), QString("Item 00000007"));
    QCOMPARE(Label("LBTYPE"), QString("Type 01"));
  }

  void deleteAsksAndKeepsTheFileUntilSaved() {
    window_->show();
    QVERIFY(!Button("BTDelete")->isEnabled());
    QVERIFY(!Button("BTSave")->isEnabled());
    Select("ZETA BLADE");
    QVERIFY(Button("BTDelete")->isEnabled());

    MessageBoxes::PushAnswer(QMessageBox::No);
    Button("BTDelete")->click();
    QCOMPARE(MessageBoxes::requests().back().text, QString("Are you sure to remove item from list?"));
    QCOMPARE(window_->list()->count(), 4);
    QVERIFY(!session_->DatabaseModified());

    MessageBoxes::PushAnswer(QMessageBox::Yes);
    Button("BTDelete")->click();
    QCOMPARE(Texts(window_->list()), (QStringList{"", "ALPHA RING", QString::fromUtf8("äXE")}));
    QCOMPARE(session_->DatabaseEntries().count("000000FF0C"), std::size_t{0});
    QVERIFY(session_->DatabaseModified());
    QCOMPARE(FileSize(), std::uintmax_t{1600});
    QVERIFY(Button("BTSave")->isEnabled());

    // The remaining entries still show their own keys.
    Select("ALPHA RING");
    QCOMPARE(Label("LBID"), QString("Item 00000007"));

    MessageBoxes::PushAnswer(QMessageBox::No);
    Button("BTSave")->click();
    QCOMPARE(MessageBoxes::requests().back().text,
             QString("Are you sure write the current loaded list to database file?"));
    QCOMPARE(FileSize(), std::uintmax_t{1600});

    MessageBoxes::PushAnswer(QMessageBox::Yes);
    Button("BTSave")->click();
    QCOMPARE(FileSize(), std::uintmax_t{1200});
    QVERIFY(!session_->DatabaseModified());
    QVERIFY(!Button("BTSave")->isEnabled());
    Database reread(FilePath());
    QVERIFY(reread.Load().ok());
    QCOMPARE(reread.entries().size(), std::size_t{3});
  }

  void closeQueryOffersToSave() {
    window_->show();
    Select("ALPHA RING");
    MessageBoxes::PushAnswer(QMessageBox::Yes);
    Button("BTDelete")->click();

    MessageBoxes::PushAnswer(QMessageBox::Cancel);
    QVERIFY(!window_->close());
    QCOMPARE(MessageBoxes::requests().back().text, QString("Do you want to save made changes to Database?"));
    QVERIFY(window_->isVisible());

    MessageBoxes::PushAnswer(QMessageBox::No);
    QVERIFY(window_->close());
    QVERIFY(session_->DatabaseModified());
    QCOMPARE(FileSize(), std::uintmax_t{1600});

    window_->show();
    MessageBoxes::PushAnswer(QMessageBox::Yes);
    Button("BTClose")->click();
    QVERIFY(!window_->isVisible());
    QVERIFY(!session_->DatabaseModified());
    QCOMPARE(FileSize(), std::uintmax_t{1200});

    // Without changes the window closes without asking.
    window_->show();
    MessageBoxes::ClearRequests();
    QVERIFY(window_->close());
    QVERIFY(MessageBoxes::requests().empty());
  }

  // The program's database window while the command line works on IDENT.ID: a record it removed
  // does not come back with the keeper's save, and one it added is shown once the window looks.
  void anEntryAnotherProgramRemovedDoesNotComeBack() {
    GuiHome home;
    home.dir().write("IDENT.ID", dir_->read("IDENT.ID"));
    const std::string path = home.dir().file("IDENT.ID");
    FixedClock clock(TestNow());
    auto form = std::make_unique<MainWindow>(home.programDir(), clock);
    form->show();
    Action(form.get(), "MNUViewDupe")->trigger();
    DatabaseWindow* window = form->databaseWindow();
    QCOMPARE(window->list()->count(), 4);

    Database cli(path);
    QVERIFY(cli.Load().ok());
    QVERIFY(cli.Remove("0000000701"));  // ALPHA RING
    QVERIFY(cli.Save().ok());

    const auto zeta = window->list()->findItems("ZETA BLADE", Qt::MatchExactly);
    QCOMPARE(zeta.size(), 1);
    window->list()->setCurrentItem(zeta.front());
    MessageBoxes::PushAnswer(QMessageBox::Yes);
    window->DeleteSelected();
    MessageBoxes::PushAnswer(QMessageBox::Yes);
    window->SaveList();
    Database saved(path);
    QVERIFY(saved.Load().ok());
    QVERIFY(!saved.IsRegistered("0000000701"));
    QVERIFY(!saved.IsRegistered("000000FF0C"));
    QCOMPARE(saved.entries().size(), std::size_t{2});
    QCOMPARE(Texts(window->list()), (QStringList{"", QString::fromUtf8("äXE")}));

    QVERIFY(*cli.AddRecord(RecordBuilder().ident(11).itemClass(3).name("new bow").build()));
    Action(form.get(), "MNUViewDupe")->trigger();
    QCOMPARE(Texts(window->list()), (QStringList{"", QString::fromUtf8("äXE"), "NEW BOW"}));
    QVERIFY(form->session().DatabaseEntries().count("0000000B03"));
  }
};

}  // namespace relicor::test

QTEST_MAIN(relicor::test::DatabaseWindowTest)
#include "DatabaseWindowTest.moc"
