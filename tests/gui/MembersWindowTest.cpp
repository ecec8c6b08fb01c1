// The Members window: an editing copy of the member list whose changes reach the member list when
// the window is hidden; it follows the member list when that is read again.

#include <QListWidget>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <memory>

#include "GuiTestSupport.h"
#include "gui/MainWindow.h"
#include "gui/MembersWindow.h"
#include "shell/Session.h"

namespace relicor::test {

class MembersWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<GuiHome> home_;
  std::unique_ptr<FixedClock> clock_;
  std::unique_ptr<SessionUi> ui_;
  std::unique_ptr<Session> session_;
  std::unique_ptr<MembersWindow> window_;

  QToolButton* Button(const char* name) { return window_->findChild<QToolButton*>(name); }
  QStringList Members() { return ToQtNames(session_->Members()); }

 private slots:
  void initTestCase() { InterceptMessageBoxes(); }

  void init() {
    MessageBoxes::Reset();
    home_ = std::make_unique<GuiHome>();
    home_->dir().write("POOL/PLAYERS.TXT", "Bob\r\nalice\r\n");
    clock_ = std::make_unique<FixedClock>(TestNow());
    ui_ = std::make_unique<SessionUi>();
    session_ = std::make_unique<Session>(home_->programDir(), *clock_, *ui_);
    session_->Start();
    window_ = std::make_unique<MembersWindow>(*session_);
  }

  void cleanup() {
    window_.reset();
    session_.reset();
  }

  void showCopiesTheMemberList() {
    QCOMPARE(window_->windowTitle(), QString("Members"));
    QVERIFY(window_->windowFlags() & Qt::WindowStaysOnTopHint);
    window_->show();
    QCOMPARE(Texts(window_->list()), (QStringList{"alice", "Bob"}));
  }

  void addedNamesReachTheMemberListWhenHidden() {
    window_->show();
    MessageBoxes::PushTextAnswer(QString("Zed"));
    Button("SpeedButton1")->click();
    QCOMPARE(MessageBoxes::requests().back().title, QString("Add Member"));
    QCOMPARE(MessageBoxes::requests().back().text, QString("Enter name"));
    QCOMPARE(Texts(window_->list()), (QStringList{"alice", "Bob", "Zed"}));
    QCOMPARE(Members(), (QStringList{"alice", "Bob"}));

    MessageBoxes::PushTextAnswer(QString("  aaron "));  // blanks are kept
    Button("SpeedButton1")->click();
    Button("SpeedButton3")->click();  // close: hides and copies back
    QVERIFY(!window_->isVisible());
    QCOMPARE(Members(), (QStringList{"  aaron ", "alice", "Bob", "Zed"}));
  }

  void cancelledOrEmptyInputChangesNothing() {
    window_->show();
    MessageBoxes::PushTextAnswer(std::nullopt);
    Button("SpeedButton1")->click();
    MessageBoxes::PushTextAnswer(QString());
    Button("SpeedButton1")->click();
    QCOMPARE(Texts(window_->list()), (QStringList{"alice", "Bob"}));
  }

  void namesEqualButForCaseKeepTheFirstInWindowOrder() {
    window_->show();
    window_->list()->setCurrentRow(0);
    MessageBoxes::PushAnswer(QMessageBox::Yes);
    Button("SpeedButton2")->click();  // deletes alice
    for (const char* name : {"ALICE", "alice", "bob"}) {
      MessageBoxes::PushTextAnswer(QString(name));
      Button("SpeedButton1")->click();
    }
    QCOMPARE(Texts(window_->list()), (QStringList{"Bob", "ALICE", "alice", "bob"}));
    window_->hide();
    QCOMPARE(Members(), (QStringList{"ALICE", "Bob"}));
  }

  void deleteIsEnabledWhileANameIsSelected() {
    window_->show();
    QToolButton* remove = Button("SpeedButton2");
    QVERIFY(!remove->isEnabled());
    window_->list()->setCurrentRow(1);
    QVERIFY(remove->isEnabled());
    QCOMPARE(window_->SelectedMember(), std::optional<std::string>("Bob"));
    // The keeper is asked first; No keeps the name.
    remove->click();
    QCOMPARE(MessageBoxes::requests().back().text, QString("Remove Bob from the member list?"));
    QVERIFY(MessageBoxes::requests().back().defaultNo);
    QCOMPARE(Texts(window_->list()), (QStringList{"alice", "Bob"}));
    MessageBoxes::PushAnswer(QMessageBox::Yes);
    remove->click();
    QCOMPARE(Texts(window_->list()), QStringList{"alice"});
    window_->list()->clearSelection();
    window_->list()->setCurrentRow(-1);
    QVERIFY(!remove->isEnabled());
    QCOMPARE(window_->SelectedMember(), std::nullopt);
  }

  void namesAddedWhileTheWindowStaysOpenAreNotSaved() {
    window_.reset();
    session_.reset();
    for (bool hideFirst : {false, true}) {
      auto form = std::make_unique<MainWindow>(home_->programDir(), *clock_);
      form->show();
      form->membersWindow()->show();
      MessageBoxes::PushTextAnswer(QString(hideFirst ? "Kim" : "Zed"));
      form->membersWindow()->AddMember();
      if (hideFirst) form->membersWindow()->hide();
      QVERIFY(form->close());
      form.reset();
      const std::string saved = home_->dir().read("POOL/PLAYERS.TXT");
      QCOMPARE(saved, std::string(hideFirst ? "alice\r\nBob\r\nKim\r\n" : "alice\r\nBob\r\n"));
    }
  }

  // The window opened while the pool directory held no member list; then the pool is set. Hiding
  // the window must not carry its empty list into the new pool's PLAYERS.TXT.
  void aPoolChangeRefillsTheWindowAndEmptiesNoMemberList() {
    window_.reset();
    session_.reset();
    home_->dir().mkdir("EMPTY");
    home_->dir().write("RELICOR.INI", "[RELICOR]\r\nPathToPool=" + home_->dir().file("EMPTY") + "\r\n");
    auto form = std::make_unique<MainWindow>(home_->programDir(), *clock_);
    form->show();
    MembersWindow* members = form->membersWindow();
    Action(form.get(), "MNUMembers")->trigger();
    QVERIFY(members->isVisible());
    QCOMPARE(Texts(members->list()), QStringList{});
    MessageBoxes::PushTextAnswer(QString("Zed"));
    members->AddMember();  // the keeper's own change goes with the window

    form->ChangeDirectory(QString::fromStdString(home_->pool()));
    Action(form.get(), "MNUSetPoolDir")->trigger();
    QCOMPARE(Texts(members->list()), (QStringList{"alice", "Bob", "Zed"}));
    members->close();
    QCOMPARE(ToQtNames(form->session().Members()), (QStringList{"alice", "Bob", "Zed"}));
    QVERIFY(form->close());
    form.reset();
    QCOMPARE(home_->dir().read("POOL/PLAYERS.TXT"), std::string("alice\r\nBob\r\nZed\r\n"));
    QVERIFY(!std::filesystem::exists(home_->dir().file("EMPTY/PLAYERS.TXT")));
  }

  // Another program (the command line) changes PLAYERS.TXT while the window is open: the window
  // shows its names, and hiding it carries only the keeper's changes.
  void namesAnotherProgramChangedSurviveTheWindow() {
    window_->show();
    MessageBoxes::PushTextAnswer(QString("Zed"));
    window_->AddMember();
    home_->dir().write("POOL/PLAYERS.TXT.new", "Bob\r\nalice\r\nCarl\r\n");
    std::filesystem::rename(home_->dir().file("POOL/PLAYERS.TXT.new"), home_->dir().file("POOL/PLAYERS.TXT"));
    session_->CheckFiles();
    window_->FollowMemberList();
    QCOMPARE(Texts(window_->list()), (QStringList{"alice", "Bob", "Carl", "Zed"}));
    window_->list()->setCurrentRow(1);
    MessageBoxes::PushAnswer(QMessageBox::Yes);
    window_->DeleteMember();  // Bob
    window_->hide();
    QCOMPARE(Members(), (QStringList{"alice", "Carl", "Zed"}));
    QVERIFY(session_->SaveMemberList());
    QCOMPARE(home_->dir().read("POOL/PLAYERS.TXT"), std::string("alice\r\nCarl\r\nZed\r\n"));
  }
};

}  // namespace relicor::test

QTEST_MAIN(relicor::test::MembersWindowTest)
#include "MembersWindowTest.moc"
