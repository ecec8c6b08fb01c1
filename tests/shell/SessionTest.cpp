#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/FaultInjection.h"
#include "platform/FileSystem.h"
#include "shell/DebugLog.h"
#include "shell/Session.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"
#include "text/DateText.h"

namespace relicor {
namespace {

using test::RecordBuilder;
using test::TempDir;

class RecordingUi final : public SessionUi {
 public:
  void Notify(std::string_view message) override { messages.emplace_back(message); }
  bool Confirm(std::string_view question) override {
    questions.emplace_back(question);
    return answer;
  }
  void ShowItemDump(const ItemRecord& record, bool decimalView) override {
    dumps.push_back(record.Name() + (decimalView ? " decimal" : " hex"));
  }
  void HideItemDump() override { dumps.emplace_back("hidden"); }
  std::vector<std::string> messages;
  std::vector<std::string> dumps;
  std::vector<std::string> questions;
  bool answer = true;
};

// A program directory, a pool with two items and a session over them, started at a fixed time.
class SessionTest : public ::testing::Test {
 protected:
  SessionTest() : clock(*ParseDate("07.12.2026") + 0.5) {
    home = dir.mkdir("home") + "/";
    pool = dir.mkdir("pool");
    dir.write("pool/B.ITM",
              RecordBuilder().ident(2).itemClass(12).baseItem(151).name("ring").price(1000).bytes());
    dir.write("pool/a.itm",
              RecordBuilder().ident(1).itemClass(13).baseItem(154).name("amulet").price(1200).bytes());
    dir.write("pool/notes.txt", "x");
    dir.write("pool/.hidden.ITM", RecordBuilder().bytes());
    dir.mkdir("pool/SUB.ITM");
    dir.write("home/RELICOR.INI", "[RELICOR]\r\nPathToPool=" + pool + "\r\n");
  }

  std::unique_ptr<Session> Start() {
    auto session = std::make_unique<Session>(home, clock, ui);
    session->Start();
    return session;
  }

  TempDir dir;
  FixedClock clock;
  RecordingUi ui;
  std::string home;
  std::string pool;
};

TEST_F(SessionTest, FileListHoldsItemFilesOfAnyCaseSortedWithoutRegardToCase) {
  auto session = Start();
  ASSERT_TRUE(session->SetCurrentDirectory(pool));
  EXPECT_EQ(session->fileNames(), (std::vector<std::string>{"a.itm", "B.ITM"}));
  EXPECT_EQ(session->selectedIndex(), -1);
  EXPECT_TRUE(session->OutputLines().empty());
}

TEST_F(SessionTest, RefreshKeepsTheSelectedFileWhileItIsThere) {
  auto session = Start();
  ASSERT_TRUE(session->SetCurrentDirectory(pool).ok());
  EXPECT_EQ(session->subdirectoryNames(), std::vector<std::string>{"SUB.ITM"});
  ASSERT_TRUE(session->SelectFile(1).ok());  // B.ITM
  const std::vector<std::string> report = session->OutputLines();
  ASSERT_FALSE(report.empty());

  // A file that sorts before it arrives, with subdirectories of both letter cases and a hidden one.
  dir.write("pool/A0.ITM", RecordBuilder().ident(3).bytes());
  dir.mkdir("pool/zeta");
  dir.mkdir("pool/Alpha");
  dir.mkdir("pool/.cache");
  ASSERT_TRUE(session->RefreshFileList().ok());
  EXPECT_EQ(session->fileNames(), (std::vector<std::string>{"a.itm", "A0.ITM", "B.ITM"}));
  EXPECT_EQ(session->selectedIndex(), 2);
  EXPECT_EQ(session->OutputLines(), report);  // not reported again
  EXPECT_EQ(session->subdirectoryNames(), (std::vector<std::string>{"Alpha", "SUB.ITM", "zeta"}));

  // It goes: nothing is selected and its report goes with it.
  std::filesystem::remove(dir.file("pool/B.ITM"));
  ASSERT_TRUE(session->RefreshFileList().ok());
  EXPECT_EQ(session->selectedIndex(), -1);
  EXPECT_TRUE(session->OutputLines().empty());
  EXPECT_EQ(session->SelectedPath(), "");
}

TEST_F(SessionTest, ExportWritesTitleEmptyLineAndEveryReportWithCrLf) {
  auto session = Start();
  auto exported = session->ExportItemList(pool);
  ASSERT_TRUE(exported) << exported.error();
  const std::string text = dir.read("pool/ITMLIST.TXT");
  EXPECT_EQ(text.substr(0, 21), "Relicor item list\r\n\r\n");
  const auto a = text.find("File : a.itm\r\nAMULET\r\n");
  const auto b = text.find("File : B.ITM\r\nRING\r\n");
  ASSERT_NE(a, std::string::npos) << text;
  ASSERT_NE(b, std::string::npos) << text;
  EXPECT_LT(a, b);
  EXPECT_EQ(text.find('\n', 0), text.find("\r\n", 0) + 1);
  // The last file stays selected with its report on the screen.
  EXPECT_EQ(session->selectedIndex(), 1);
  EXPECT_EQ(session->OutputLines().front(), "File : B.ITM");

  // A second export replaces the list instead of appending to it.
  ASSERT_TRUE(session->ExportItemList(pool));
  EXPECT_EQ(dir.read("pool/ITMLIST.TXT"), text);
}

TEST_F(SessionTest, TheDataWindowFollowsTheReportedItemAndTheOption) {
  dir.write("pool/C.ITM", RecordBuilder().signature("ITM1").name("odd").bytes());
  auto session = Start();
  ASSERT_TRUE(session->SetCurrentDirectory(pool));  // a.itm, B.ITM, C.ITM
  session->flags().dumpWindow = true;
  session->flags().decimalView = true;
  ASSERT_TRUE(session->SelectFile(0));
  session->flags().decimalView = false;
  ASSERT_TRUE(session->SelectFile(1));
  ASSERT_TRUE(session->SelectFile(2));  // no signature: the window is left as it is
  session->flags().dumpWindow = false;
  ASSERT_TRUE(session->SelectFile(0));
  EXPECT_EQ(ui.dumps, (std::vector<std::string>{"amulet decimal", "ring hex", "hidden"}));
  // An export leaves the window showing the last item it reported.
  ui.dumps.clear();
  session->flags().dumpWindow = true;
  ASSERT_TRUE(session->ExportItemList(pool));
  EXPECT_EQ(ui.dumps, (std::vector<std::string>{"ring hex"}));
  EXPECT_EQ(session->selectedIndex(), 2);
  EXPECT_TRUE(session->OutputLines().empty());
}

TEST_F(SessionTest, ExportOfADirectoryWithoutItemsHasTwoLines) {
  auto session = Start();
  const auto empty = dir.mkdir("empty");
  ASSERT_TRUE(session->ExportItemList(empty));
  EXPECT_EQ(dir.read("empty/ITMLIST.TXT"), "Relicor item list\r\n\r\n");
  EXPECT_TRUE(session->OutputLines().empty());
  EXPECT_EQ(session->selectedIndex(), -1);
}

TEST_F(SessionTest, ExportSkipsFilesThatAreNotItemsAndSaysSo) {
  dir.write("pool/C.ITM", std::string(399, 'x'));
  auto session = Start();
  ASSERT_TRUE(session->ExportItemList(pool));
  const std::string text = dir.read("pool/ITMLIST.TXT");
  EXPECT_EQ(text.find("C.ITM"), std::string::npos);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].find("C.ITM: not an item file"), std::string::npos);
}

TEST_F(SessionTest, ExportThatCannotBeWrittenLeavesTheOldListAndSelection) {
  auto session = Start();
  ASSERT_TRUE(session->SetCurrentDirectory(pool));
  ASSERT_TRUE(session->SelectFile(0));
  dir.mkdir("pool/ITMLIST.TXT");  // a directory where the list goes
  auto exported = session->ExportItemList(pool);
  ASSERT_FALSE(exported);
  EXPECT_NE(exported.error().find("ITMLIST.TXT"), std::string::npos) << exported.error();
}

TEST_F(SessionTest, DebugLogGetsOneSessionHeaderAndCrLfLines) {
  // A stored name that differs from the resolved one gives a NAME line.
  dir.write("pool/B.ITM",
            RecordBuilder().ident(2).itemClass(12).baseItem(151).name("fancy ring").price(1000).bytes());
  auto session = Start();
  session->flags().debugFile = true;
  ASSERT_TRUE(session->SetCurrentDirectory(pool));
  ASSERT_TRUE(session->SelectFile(1));
  ASSERT_TRUE(session->SelectFile(0));
  ASSERT_TRUE(session->SelectFile(1));
  EXPECT_EQ(dir.read("pool/RELICORDBG.TXT"),
            "New DBG session 07.12.2026 12:00:00\r\n"
            "NAME RING FANCY RING\r\n"
            "NAME RING FANCY RING\r\n");
}

TEST_F(SessionTest, DebugLogIsNotCreatedWithoutDiagnostics) {
  auto session = Start();
  session->flags().debugFile = true;
  ASSERT_TRUE(session->ExportItemList(pool));
  EXPECT_FALSE(FileExists(pool + "/RELICORDBG.TXT"));
}

TEST_F(SessionTest, UnwritableDebugLogIsToldOnceAndTheWorkGoesOn) {
  dir.write("pool/B.ITM", RecordBuilder().ident(2).itemClass(12).baseItem(151).name("fancy ring").bytes());
  dir.write("pool/a.itm", RecordBuilder().ident(1).itemClass(12).baseItem(151).name("odd ring").bytes());
  auto session = Start();
  session->flags().debugFile = true;
  (void)session->SetPoolDirectory(dir.file("no-such-pool"));
  ASSERT_TRUE(session->ExportItemList(pool));
  EXPECT_NE(dir.read("pool/ITMLIST.TXT").find("File : B.ITM"), std::string::npos);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].find("RELICORDBG.TXT"), std::string::npos) << ui.messages[0];
}

TEST_F(SessionTest, CheckBoxRules) {
  auto session = Start();
  session->SetDebugFile(false);
  EXPECT_FALSE(session->flags().additionalInfo);
  session->SetDebugFile(true);
  EXPECT_TRUE(session->flags().additionalInfo);
  session->SetDebugFile(false);
  EXPECT_TRUE(session->flags().additionalInfo);
  session->SetAdditionalInfo(false);
  EXPECT_FALSE(session->flags().debugFile);
}

TEST_F(SessionTest, SendingIsAvailableOnlyInThePoolDirectory) {
  auto session = Start();
  ASSERT_TRUE(session->SetCurrentDirectory(pool + "/"));
  EXPECT_TRUE(session->SendingAvailable());
  ASSERT_TRUE(session->SetCurrentDirectory(home));
  EXPECT_FALSE(session->SendingAvailable());
}

TEST_F(SessionTest, SetPoolDirectoryReloadsTheMemberList) {
  dir.write("other/PLAYERS.TXT", "zora\r\nAnton\r\n");
  auto session = Start();
  EXPECT_TRUE(session->Members().empty());
  (void)session->SetPoolDirectory(dir.file("other"));
  EXPECT_EQ(session->Members(), (std::vector<std::string>{"Anton", "zora"}));
  (void)session->SetPoolDirectory(pool);
  EXPECT_TRUE(session->Members().empty());
}

TEST_F(SessionTest, ShutdownWritesMembersAndAllSettingsKeys) {
  auto session = Start();
  session->AddMember("Birte");
  session->AddMember("alrik");
  ASSERT_TRUE(session->Shutdown());
  EXPECT_EQ(dir.read("pool/PLAYERS.TXT"), "alrik\r\nBirte\r\n");
  const std::string ini = dir.read("home/RELICOR.INI");
  for (const char* key :
       {"PathToPool=", "PathToSent=", "HTMLScanSub=1", "MailAddress=", "HTML_Fontface=arial",
        "HTML_INV1BGColor=#606000", "filePrefix=itm", "HeaderURL1Name="}) {
    EXPECT_NE(ini.find(key), std::string::npos) << key;
  }
}

TEST_F(SessionTest, ShutdownReportsASettingsFileThatCannotBeWritten) {
  auto session = Start();
  std::filesystem::remove(home + "RELICOR.INI");
  dir.mkdir("home/RELICOR.INI");  // a directory where the settings file goes
  auto closed = session->Shutdown();
  ASSERT_FALSE(closed);
  EXPECT_EQ(closed.error(), "nach " + home + "RELICOR.INI kann nicht geschrieben werden");
}

TEST_F(SessionTest, ARenameRunTheKeeperDeclinesChangesNothingAndSaysSoByKind) {
  auto session = Start();
  ui.answer = false;
  auto renamed = session->RenameRun();
  ASSERT_FALSE(renamed);
  EXPECT_EQ(renamed.kind(), ErrorKind::kDeclined);  // the command line exits failed on it
  EXPECT_EQ(renamed.error(), "rename run not started");
  EXPECT_EQ(ui.questions.size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(pool + "/B.ITM"));
  EXPECT_TRUE(std::filesystem::exists(pool + "/a.itm"));
}

TEST_F(SessionTest, AddToDatabaseAsksThenRefusesASecondCopy) {
  auto session = Start();
  const std::string path = pool + "/B.ITM";
  auto added = session->AddToDatabase(path);
  ASSERT_TRUE(added) << added.error();
  EXPECT_EQ(ui.questions, (std::vector<std::string>{"Are you sure to add this item?"}));
  EXPECT_TRUE(session->DatabaseEntries().count("000000020C"));
  auto again = session->AddToDatabase(path);
  ASSERT_FALSE(again);
  EXPECT_EQ(again.error(), "The selected Item is already in database!");
  EXPECT_EQ(again.kind(), ErrorKind::kAlreadyInDatabase);  // the window shows it as a notice
  ui.answer = false;
  auto refused = session->AddToDatabase(pool + "/a.itm");
  ASSERT_TRUE(refused);
  EXPECT_FALSE(session->DatabaseEntries().count("000000010D"));
}

// The database operations the window and the command line use, one step after another: what
// each step answers, the entries listed afterwards (in item key order), whether removals wait for
// a save, and how many records IDENT.ID holds.
TEST_F(SessionTest, DatabaseOperationsStepByStep) {
  dir.write("pool/C.ITM", RecordBuilder().ident(1).itemClass(2).name("cap").bytes());  // key 0000000102
  enum class Op { kAdd, kRemove, kSave };
  struct Step {
    Op op;
    std::string argument;  // an item file in the pool, or an item key
    bool ok;
    ErrorKind kind;  // of a failed step
    std::vector<std::string> listed;
    bool modified;
    std::size_t recordsInFile;
  };
  const std::vector<Step> steps = {
      {Op::kAdd, "B.ITM", true, ErrorKind::kOther, {"000000020C"}, false, 1},
      {Op::kAdd, "a.itm", true, ErrorKind::kOther, {"000000010D", "000000020C"}, false, 2},
      {Op::kAdd, "C.ITM", true, ErrorKind::kOther, {"0000000102", "000000010D", "000000020C"}, false, 3},
      // The same item twice, also under another name.
      {Op::kAdd,
       "B.ITM",
       false,
       ErrorKind::kAlreadyInDatabase,
       {"0000000102", "000000010D", "000000020C"},
       false,
       3},
      {Op::kAdd, "notes.txt", false, ErrorKind::kOther, {"0000000102", "000000010D", "000000020C"}, false, 3},
      // Removing waits for the save; a key that is not there (or not any more) changes nothing.
      {Op::kRemove, "000000010D", true, ErrorKind::kOther, {"0000000102", "000000020C"}, true, 3},
      {Op::kRemove, "000000010D", false, ErrorKind::kOther, {"0000000102", "000000020C"}, true, 3},
      {Op::kRemove, "FFFFFFFF01", false, ErrorKind::kOther, {"0000000102", "000000020C"}, true, 3},
      {Op::kSave, "", true, ErrorKind::kOther, {"0000000102", "000000020C"}, false, 2},
      // A removed item can be added again.
      {Op::kAdd, "a.itm", true, ErrorKind::kOther, {"0000000102", "000000010D", "000000020C"}, false, 3},
  };
  auto session = Start();
  std::size_t number = 0;
  for (const Step& step : steps) {
    SCOPED_TRACE("step " + std::to_string(++number) + ": " + step.argument);
    bool ok = false;
    ErrorKind kind = ErrorKind::kOther;
    switch (step.op) {
      case Op::kAdd: {
        auto added = session->AddToDatabase(pool + "/" + step.argument);
        ok = added.ok();
        if (!ok) kind = added.kind();
        break;
      }
      case Op::kRemove:
        ok = session->RemoveFromDatabase(step.argument);
        break;
      case Op::kSave:
        ok = session->SaveDatabase().ok();
        break;
    }
    EXPECT_EQ(ok, step.ok);
    EXPECT_EQ(kind, step.kind);
    std::vector<std::string> listed;
    for (const auto& [key, record] : session->DatabaseEntries()) listed.push_back(key);
    EXPECT_EQ(listed, step.listed);
    for (const std::string& key : step.listed) EXPECT_TRUE(session->IsInDatabase(key)) << key;
    EXPECT_EQ(session->DatabaseModified(), step.modified);
    EXPECT_EQ(dir.read("home/IDENT.ID").size(), step.recordsInFile * kItemRecordSize);
  }
  EXPECT_EQ(session->DatabasePath(), home + "IDENT.ID");
}

// What a save import finds before it writes: the pool's whole tree and the sent directory (its
// subdirectories only with the flag), each item file with its key; a file too short to be an
// item is not one.
TEST_F(SessionTest, LoadPoolAndSentItemsListsWhatARenameRunWouldName) {
  dir.write("pool/deep/D.ITM", RecordBuilder().ident(4).itemClass(3).bytes());
  dir.write("sent/S.ITM", RecordBuilder().ident(5).itemClass(3).bytes());
  dir.write("sent/old/T.ITM", RecordBuilder().ident(6).itemClass(3).bytes());
  dir.write("pool/short.ITM", "too short");
  struct Case {
    bool subdirectories;
    std::vector<std::string> paths;
    std::vector<std::string> keys;
  };
  const std::vector<Case> cases = {
      {false,
       {"pool/.hidden.ITM", "pool/a.itm", "pool/B.ITM", "pool/deep/D.ITM", "sent/S.ITM"},
       {"0000000000", "000000010D", "000000020C", "0000000403", "0000000503"}},
      {true,
       {"pool/.hidden.ITM", "pool/a.itm", "pool/B.ITM", "pool/deep/D.ITM", "sent/old/T.ITM", "sent/S.ITM"},
       {"0000000000", "000000010D", "000000020C", "0000000403", "0000000603", "0000000503"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.subdirectories ? "with subdirectories" : "without subdirectories");
    auto session = Start();
    ASSERT_TRUE(session->SetSentDirectory(dir.file("sent")));
    session->settings().htmlScanSub = c.subdirectories;
    auto items = session->LoadPoolAndSentItems();
    ASSERT_TRUE(items) << items.error();
    std::vector<std::string> paths;
    std::vector<std::string> keys;
    for (const Session::CachedItem& item : *items) {
      paths.push_back(item.path.substr(dir.path().size() + 1));
      keys.push_back(item.itemKey);
    }
    std::vector<std::string> wantedPaths = c.paths;
    std::sort(wantedPaths.begin(), wantedPaths.end());
    std::vector<std::string> gotPaths = paths;
    std::sort(gotPaths.begin(), gotPaths.end());
    EXPECT_EQ(gotPaths, wantedPaths);
    for (std::size_t i = 0; i < c.paths.size(); ++i) {
      const auto at = std::find(paths.begin(), paths.end(), c.paths[i]);
      ASSERT_NE(at, paths.end()) << c.paths[i];
      EXPECT_EQ(keys[static_cast<std::size_t>(at - paths.begin())], c.keys[i]) << c.paths[i];
    }
    // A file written afterwards is there once it is loaded.
    const std::string later = dir.write("pool/E.ITM", RecordBuilder().ident(7).itemClass(3).bytes());
    ASSERT_TRUE(session->LoadIntoCache(later));
    EXPECT_EQ(session->CachedRecord(later)->ItemKey(), "0000000703");
    std::filesystem::remove(later);
  }
  // Without a pool there is nothing to load.
  dir.write("home/RELICOR.INI", "[RELICOR]\r\n");
  auto session = Start();
  EXPECT_FALSE(session->LoadPoolAndSentItems());
}

TEST_F(SessionTest, ExportReadsTheSidecarsAsTheDirectoryIsWhenItStarts) {
  auto session = Start();
  ASSERT_TRUE(session->SetCurrentDirectory(pool));
  // Written after the file list was read: the export still finds it.
  dir.write("pool/B.IT0", "[Iteminfos]\r\nSenderName=Bob\r\n");
  ASSERT_TRUE(session->ExportItemList(pool));
  const std::string list = dir.read("pool/ITMLIST.TXT");
  EXPECT_NE(list.find("\r\nby Bob\r\n"), std::string::npos) << list;
  EXPECT_NE(list.find("\r\nby \r\n"), std::string::npos) << list;  // a.itm has none
  // A later report of an item outside the export looks for its sidecar as always.
  dir.write("pool/C.ITM", RecordBuilder().ident(3).itemClass(12).baseItem(151).name("c").price(1).bytes());
  dir.write("pool/C.IT0", "[Iteminfos]\r\nSenderName=Cid\r\n");
  ASSERT_TRUE(session->ReportFile(pool + "/C.ITM", pool));
  const auto& lines = session->OutputLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "by Cid"), lines.end());
}

}  // namespace
}  // namespace relicor

namespace relicor {
namespace {

TEST_F(SessionTest, ShutdownSavesThisRunsMemberChangesIntoTheFileAsItIsThen) {
  dir.write("pool/PLAYERS.TXT", "Bob\r\nCarl\r\n");
  auto session = Start();
  ASSERT_TRUE(session->AddMember("Dora"));
  ASSERT_TRUE(session->RemoveMember("Carl"));
  // Meanwhile another run adds Eve.
  dir.write("pool/PLAYERS.TXT", "Bob\r\nCarl\r\nEve\r\n");
  ASSERT_TRUE(session->Shutdown());
  EXPECT_EQ(dir.read("pool/PLAYERS.TXT"), "Bob\r\nDora\r\nEve\r\n");
}

TEST_F(SessionTest, AFailedSettingsWriteKeepsTheOldFile) {
  auto session = Start();
  const std::string before = dir.read("home/RELICOR.INI");
  session->settings().mailAddress = "new@example.org";
  for (const auto op :
       {faults::FileOp::kOpen, faults::FileOp::kWrite, faults::FileOp::kFsync, faults::FileOp::kRename}) {
    faults::Inject({op, ENOSPC, "RELICOR.INI", 0, -1});
    const Status saved = session->Shutdown();
    faults::Clear();
    ASSERT_FALSE(saved);
    EXPECT_EQ(saved.error(), "nach " + home + "RELICOR.INI kann nicht geschrieben werden");
    EXPECT_EQ(dir.read("home/RELICOR.INI"), before);
    for (const auto& entry : std::filesystem::directory_iterator(dir.file("home"))) {
      EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
    }
  }
}

TEST_F(SessionTest, ADirectoryLongerThanAPathMayBeIsRefusedWhole) {
  auto session = Start();
  const std::string longDir = pool + "/" + std::string(300, 'x');
  const Status set = session->SetPoolDirectory(longDir);
  ASSERT_FALSE(set);
  EXPECT_EQ(set.error(), "the path is longer than 255 characters: " + longDir);
  EXPECT_EQ(session->settings().pathToPool, pool);
  EXPECT_FALSE(session->SetSentDirectory(longDir));
  EXPECT_TRUE(session->SetSentDirectory(std::string(255, 's')));
}

TEST_F(SessionTest, SettingThePoolRepairsAnInterruptedMoveAndSaysSo) {
  dir.write("pool/NEW.ITM", "moved item");
  dir.write("pool/OLD.IT0", "[Iteminfos]\r\nSenderName=Bob\r\n");
  ASSERT_TRUE(AtomicReplaceFile(
      dir.file("pool/RELICOR.JNL"),
      "RELICOR MOVES 1\r\n" + dir.file("pool/OLD.ITM") + "\t" + dir.file("pool/NEW.ITM") + "\r\nEND\r\n"));
  auto session = Start();
  ASSERT_TRUE(session->SetPoolDirectory(pool));
  EXPECT_EQ(dir.read("pool/NEW.IT0"), "[Iteminfos]\r\nSenderName=Bob\r\n");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].rfind("repaired: moved the sidecar " + dir.file("pool/OLD.IT0"), 0), 0u)
      << ui.messages[0];
}

// Before each command the session follows what another program changed: the member list with this
// run's unsaved changes kept on top, the options this run did not change. Leaving a pool saves
// the run's member changes there instead of dropping them.
TEST_F(SessionTest, CommandsFollowOtherProgramsAndAPoolChangeKeepsTheMemberChanges) {
  dir.write("pool/PLAYERS.TXT", "Bob\r\n");
  auto session = Start();
  ASSERT_TRUE(session->AddMember("Dora"));
  dir.write("pool/PLAYERS.TXT", "Bob\r\nEve\r\n");
  dir.write("home/RELICOR.INI", "[RELICOR]\r\nPathToPool=" + pool + "\r\nHTML_Color=red\r\n");
  session->settings().html.linkColor = "blue";
  const auto membersRead = session->MembersReadCount();
  ASSERT_TRUE(session->SelectFile(0));  // a command
  EXPECT_EQ(session->Members(), (std::vector<std::string>{"Bob", "Dora", "Eve"}));
  EXPECT_EQ(session->MembersReadCount(), membersRead + 1);
  EXPECT_EQ(session->settings().html.color, "red");
  EXPECT_EQ(session->settings().html.linkColor, "blue");
  ASSERT_TRUE(session->SelectFile(0));
  EXPECT_EQ(session->MembersReadCount(), membersRead + 1) << "nothing changed since";

  dir.write("other/PLAYERS.TXT", "zora\r\n");
  ASSERT_TRUE(session->SetPoolDirectory(dir.file("other")));
  EXPECT_EQ(dir.read("pool/PLAYERS.TXT"), "Bob\r\nDora\r\nEve\r\n");
  EXPECT_EQ(session->Members(), (std::vector<std::string>{"zora"}));
  ASSERT_TRUE(session->Shutdown());
  EXPECT_EQ(dir.read("other/PLAYERS.TXT"), "zora\r\n");
  const std::string ini = dir.read("home/RELICOR.INI");
  EXPECT_NE(ini.find("HTML_Color=red\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("HTML_LinkColor=blue\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("PathToPool=" + dir.file("other") + "\r\n"), std::string::npos) << ini;
}

}  // namespace
}  // namespace relicor
