#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "identify/ItemReport.h"
#include "item/ItemRecord.h"
#include "platform/Clock.h"
#include "pool/ItemCache.h"
#include "support/RecordBuilder.h"
#include "support/ReportLines.h"
#include "support/TempDir.h"
#include "text/DateText.h"
#include "validate/Database.h"

namespace relicor {
namespace {

using test::RecordBuilder;
using test::TempDir;
using Lines = std::vector<std::string>;

DateTime Day(int year, int month, int day, int hour = 0) {
  return EncodeDateTime(CivilDateTime{year, month, day, hour, 0, 0, 0});
}

// A short sword with a gold prefix, as the game makes it.
RecordBuilder GoldSword() {
  return RecordBuilder()
      .ident(0x00A1B2C3)
      .itemClass(1)
      .baseItem(114)
      .identified(1)
      .name("gold sword")
      .plainName("short sword")
      .price(3576)
      .minDamage(2)
      .maxDamage(6)
      .durability(20)
      .maxDurability(20)
      .pctToHit(25)
      .prefixPower(0)
      .source(1)
      .createInfo(5);
}

constexpr const char* kConanSidecar =
    "[Iteminfos]\r\nSenderName=Conan\r\nPoints4Item=1\r\nPoints4ItemAt=02.12.2026\r\nAddedItem=01.12."
    "2026\r\n";

class ItemReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    options.startTime = clock.Now();
    options.today = clock.Now();
    options.directory = dir.path();
  }

  // Writes an ITM file (and its sidecar when given) and returns the item's full path.
  std::string Item(const std::string& name, const ItemRecord& record, const std::string& sidecar = "") {
    const std::string path = dir.write(name, record.view());
    if (!sidecar.empty()) dir.write(name.substr(0, name.size() - 3) + "IT0", sidecar);
    return path;
  }

  // Loads the item and builds its report; false for a record without signature.
  bool Report(const std::string& path) {
    const auto loaded = cache.LoadItem(path);
    EXPECT_TRUE(loaded.ok() && *loaded == LoadStatus::kLoaded) << path;
    if (!loaded.ok() || cache.CurrentEntry() == nullptr) return false;
    BuildReport(*cache.CurrentEntry(), options, database, report);
    return report.isItem;
  }

  void Page(bool brief = false) { options.mode = brief ? ReportMode::kBriefPage : ReportMode::kPage; }
  void Text() { options.mode = ReportMode::kText; }
  Lines Out() const { return test::LinesOf(report.lines); }
  Lines Debug() const { return test::LinesOf(report.debugLines); }

  TempDir dir;
  FixedClock clock{Day(2026, 12, 6, 12)};
  ItemCache cache{clock};
  Database database{dir.file("IDENT.ID")};
  ReportOptions options;
  ItemReport report;
};

TEST_F(ItemReportTest, TextReportWithAdditionalInfo) {
  options.additionalInfo = true;
  const std::string path = Item("GOLD.ITM", GoldSword().build(), kConanSidecar);
  EXPECT_TRUE(Report(path));
  EXPECT_EQ(Out(),
            (Lines{"File : GOLD.ITM", "GOLD SWORD", "SHORT SWORD", "Price 3576", "PreAddInfo 0000",
                   "SufAddInfo 0000", "Damage     2-6", "Durability 20/20", "+25% to Hit", "by Conan",
                   "Point4Item dated 02.12.2026", "Added 01.12.2026", "----------------------------------",
                   "Ursprung:  Monster/Dungeon", "Monster-Basislevel war 5", "calc. price 3576 / 5364",
                   "name resolve [GOLD SWORD]", "type [SHORT SWORD]", ""}));
  EXPECT_TRUE(Debug().empty());
  EXPECT_EQ(report.status, StatusColour::kGreen);
  EXPECT_TRUE(report.findings.empty());
}

TEST_F(ItemReportTest, TextReportPlain) {
  const ItemRecord record =
      GoldSword().identified(0).price(10).pctDamage(200).prefixPower(2).useEffect(99).build();
  const std::string path = Item("sub/GOLD.ITM", record, "[Iteminfos]\r\nAddedItem=28.02.2025\r\n");
  EXPECT_TRUE(Report(path));
  EXPECT_EQ(Out(), (Lines{"File : sub/GOLD.ITM", "GOLD SWORD", "unidentified", "Price 10", "Damage     2-6",
                          "Durability 20/20", "+200% Damage", "*** HACK DETECTED 013: TOO MUCH %DAMAGE 200",
                          "+25% to Hit", "*** HACK DETECTED 016: HACKED %TO HIT EFFECT 25", "by ",
                          "Added 28.02.2025", "----------------------------------",
                          "Ursprung:  Monster/Dungeon", "Monster-Basislevel war 5"}));
  // The unknown use effect shows (and colours) only with additional information.
  EXPECT_EQ(report.status, StatusColour::kRed);
  EXPECT_EQ(report.lastFindingCode, 16);
  EXPECT_EQ(Debug(), (Lines{"PRICE GOLD SWORD" + std::string(22, ' ') + " internal 10 Gris 120 Wirt 180",
                            "NAME SWORD GOLD SWORD"}));

  // A run without a debug log leaves the diagnostic lines out, and nothing else, with additional
  // information (which shows the resolved name) or without.
  for (const bool additionalInfo : {false, true}) {
    options.additionalInfo = additionalInfo;
    options.debugLines = true;
    Report(path);
    const Lines withDiagnostics = Out();
    options.debugLines = false;
    Report(path);
    EXPECT_EQ(Out(), withDiagnostics);
    EXPECT_TRUE(Debug().empty());
    EXPECT_EQ(report.status, StatusColour::kRed);
  }
}

TEST_F(ItemReportTest, TheReportIsAValueWithItsFindingsAndDiagnostics) {
  const ItemRecord record = GoldSword().price(10).pctDamage(200).prefixPower(2).build();
  const std::string path = Item("sub/GOLD.ITM", record, kConanSidecar);
  ASSERT_TRUE(cache.LoadItem(path));
  const ItemReport built = BuildReport(*cache.CurrentEntry(), options, database);
  EXPECT_TRUE(built.isItem);
  EXPECT_EQ(built.lines[0], "File : sub/GOLD.ITM");
  EXPECT_EQ(built.lines.size(), 15u);
  EXPECT_EQ(built.findings, (std::vector<RaisedFinding>{{13, 200}, {16, 25}}));
  EXPECT_EQ(built.status, StatusColour::kRed);
  EXPECT_EQ(built.lastFindingCode, 16);
  EXPECT_EQ(test::LinesOf(built.debugLines),
            (Lines{"PRICE GOLD SWORD" + std::string(22, ' ') + " internal 10 Gris 120 Wirt 180",
                   "NAME SWORD GOLD SWORD"}));
  EXPECT_EQ(built.name, "GOLD SWORD");
  EXPECT_TRUE(built.isNew);
  EXPECT_FALSE(built.hidden);

  // Built again into the same value: nothing of the first item stays.
  ItemReport reused = built;
  ASSERT_TRUE(cache.LoadItem(Item("Hidden/B.ITM", GoldSword().build())));
  options.mode = ReportMode::kBriefPage;
  BuildReport(*cache.CurrentEntry(), options, database, reused);
  EXPECT_TRUE(reused.isItem);
  EXPECT_TRUE(reused.hidden);
  EXPECT_TRUE(reused.lines.empty());
  EXPECT_TRUE(reused.findings.empty());
  EXPECT_TRUE(reused.debugLines.empty());
  EXPECT_EQ(reused.status, StatusColour::kGreen);
  EXPECT_TRUE(reused.isNew);  // no sidecar: added at the file's date, just now

  ASSERT_TRUE(cache.LoadItem(Item("ODD.ITM", GoldSword().signature("ITM1").build())));
  BuildReport(*cache.CurrentEntry(), options, database, reused);
  EXPECT_FALSE(reused.isItem);
  EXPECT_TRUE(reused.lines.empty());
}

TEST_F(ItemReportTest, WrongSignatureGivesAnEmptyReport) {
  const std::string path = Item("ODD.ITM", GoldSword().signature("ITM1").build(), kConanSidecar);
  EXPECT_FALSE(Report(path));
  EXPECT_TRUE(Out().empty());
  Page();
  EXPECT_FALSE(Report(path));
  EXPECT_TRUE(Out().empty());
  EXPECT_FALSE(report.isNew);
  EXPECT_EQ(report.status, StatusColour::kGreen);
}

TEST_F(ItemReportTest, PageLinesOfANewItem) {
  options.additionalInfo = true;  // changes nothing in a page
  const std::string path = Item("GOLD.ITM", GoldSword().build(), kConanSidecar);
  Page();
  EXPECT_TRUE(Report(path));
  EXPECT_EQ(Out(), (Lines{"Damage     2-6", "Durability 20/20", "+25% to Hit",
                          "<I><FONT CLASS=\"SM\"> by Conan</FONT></I>", "&nbsp;"}));
  EXPECT_TRUE(report.isNew);
  EXPECT_FALSE(report.hidden);
  EXPECT_EQ(report.name, "GOLD SWORD");
  EXPECT_TRUE(Debug().empty());
}

TEST_F(ItemReportTest, BriefPageLinesOfANewUniqueItem) {
  // The needler on a long bow: wrong base item; unidentified is not shown in brief mode.
  const ItemRecord record = RecordBuilder()
                                .quality(1)
                                .uniqueIndex(11)
                                .itemClass(3)
                                .baseItem(140)
                                .name("the needler")
                                .durability(0)
                                .build();
  const std::string path = Item("NEEDLER.ITM", record, kConanSidecar);
  Page(true);
  EXPECT_TRUE(Report(path));
  EXPECT_EQ(Out(), (Lines{"*** HACK DETECTED 034: HACKED UNIQUE ITEM TYPE 8C",
                          "<I><FONT CLASS=\"SM\"> by Conan  =NEW=</FONT></I>"}));
  EXPECT_TRUE(report.isNew);
  // Not new: the plain ending.
  options.startTime = Day(2027, 1, 1);
  Report(path);
  EXPECT_EQ(Out().back(), "<I><FONT CLASS=\"SM\"> by Conan</FONT></I>");
  EXPECT_FALSE(report.isNew);
}

TEST_F(ItemReportTest, HiddenItemsHaveNoLinesInAPage) {
  const std::string path = Item("Hidden/GOLD.ITM", GoldSword().build(), kConanSidecar);
  Page();
  EXPECT_TRUE(Report(path));
  EXPECT_TRUE(report.hidden);
  EXPECT_TRUE(report.isNew);  // it still counts as new
  EXPECT_TRUE(Out().empty());
  Text();
  Report(path);
  EXPECT_FALSE(report.hidden);
  EXPECT_EQ(Out().front(), "File : Hidden/GOLD.ITM");
}

TEST_F(ItemReportTest, ShortInfoPathShowsNoEffects) {
  ASSERT_TRUE(database.AddRecord(GoldSword().identified(0).build()).ok());
  const std::string path = Item("shortinf/GOLD.ITM", GoldSword().identified(0).build(), kConanSidecar);
  Page();
  options.startTime = Day(2027, 1, 1);
  Report(path);
  EXPECT_EQ(Out(), (Lines{"unidentified", "<I><FONT CLASS=\"SM\"> by Conan</FONT></I>", "&nbsp;"}));
  EXPECT_EQ(report.status, StatusColour::kGreen);
  // In text mode the word means nothing.
  Text();
  Report(path);
  EXPECT_EQ(Out()[4], "*** DUPE DETECT: THIS ITEM IS A REGISTERED DUPE OR A HACK");
}

TEST_F(ItemReportTest, RegisteredDupeIsMarkedBeforeTheEffects) {
  ASSERT_TRUE(database.AddRecord(GoldSword().build()).ok());
  const std::string path = Item("GOLD.ITM", GoldSword().build(), kConanSidecar);
  Report(path);
  const Lines lines = Out();
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[3], "*** DUPE DETECT: THIS ITEM IS A REGISTERED DUPE OR A HACK");
  EXPECT_EQ(lines[4], "Damage     2-6");
  EXPECT_EQ(report.status, StatusColour::kRed);
  EXPECT_EQ(report.lastFindingCode, 0);
  EXPECT_TRUE(report.findings.empty());
}

TEST_F(ItemReportTest, DupeMarkerThenDefinitionFindingTurnsPurple) {
  const ItemRecord record = GoldSword().baseItem(40).build();  // a row the game has no item for
  ASSERT_TRUE(database.AddRecord(record).ok());
  Report(Item("ODD.ITM", record));
  EXPECT_EQ(report.status, StatusColour::kPurple);
}

TEST_F(ItemReportTest, NewMeansLessThanFourteenDays) {
  const std::string path = Item("GOLD.ITM", GoldSword().build(), kConanSidecar);  // added 01.12.2026
  Page(true);
  options.startTime = Day(2026, 12, 15);
  Report(path);
  EXPECT_FALSE(report.isNew);
  EXPECT_EQ(Out().back(), "<I><FONT CLASS=\"SM\"> by Conan</FONT></I>");
  options.startTime = Day(2026, 12, 1) + 13.9;
  Report(path);
  EXPECT_TRUE(report.isNew);
  EXPECT_TRUE(IsNewItem(Day(2026, 11, 30), Day(2026, 12, 1)));  // added after the start
}

TEST_F(ItemReportTest, PageLinesEscapeTheSenderAndTextLinesShowItAsItIs) {
  const ItemRecord record = GoldSword().name("<b>\"x\"&y").build();
  const std::string path =
      Item("A&B<.ITM", record, "[Iteminfos]\r\nSenderName=<i>Eve&Co\r\nAddedItem=01.12.2026\r\n");
  Page();
  Report(path);
  EXPECT_EQ(Out().back(), "&nbsp;");
  EXPECT_EQ(Out()[Out().size() - 2], "<I><FONT CLASS=\"SM\"> by &lt;i&gt;Eve&amp;Co</FONT></I>");
  EXPECT_EQ(report.name, "<B>\"X\"&Y");  // the page's name cell escapes it
  Text();
  Report(path);
  EXPECT_EQ(Out()[1], "<B>\"X\"&Y");
  EXPECT_EQ(Out()[6], "by <i>Eve&Co");
}

TEST_F(ItemReportTest, PathsGoIntoLinesAsWindows1252) {
  // "Pöol ß €" in UTF-8, as the file system gives it.
  const std::string path = Item("P\xC3\xB6ol \xC3\x9F \xE2\x82\xAC/A.ITM", GoldSword().build());
  Report(path);
  EXPECT_EQ(Out().front(), "File : P\xF6ol \xDF \x80/A.ITM");
}

TEST_F(ItemReportTest, FileLineShowsThePathBelowTheDirectory) {
  const std::string path = Item("SUB/SWORD.ITM", GoldSword().build());
  Report(path);
  EXPECT_EQ(Out().front(), "File : SUB/SWORD.ITM");
  const std::string longName = std::string(70, 'L') + ".ITM";
  Report(Item(longName, GoldSword().build()));
  EXPECT_EQ(Out().front(), "File : " + longName.substr(0, 64));

  // The 64 characters are counted in Windows-1252, across the directories and the name.
  std::string umlauts;  // "ä" 40 times in UTF-8
  for (int i = 0; i < 40; ++i) umlauts += "\xC3\xA4";
  const struct {
    std::string path;
    std::string shown;
  } cases[] = {
      {std::string(60, 'D') + "/SWORD.ITM", std::string(60, 'D') + "/SWO"},
      {std::string(63, 'E') + "/A.ITM", std::string(63, 'E') + "/"},
      {std::string(64, 'F') + "/A.ITM", std::string(64, 'F')},
      {umlauts + "/A.ITM", std::string(40, '\xE4') + "/A.ITM"},
      {std::string(30, 'g') + "/" + umlauts + ".ITM", std::string(30, 'g') + "/" + std::string(33, '\xE4')},
  };
  for (const auto& c : cases) {
    Report(Item(c.path, GoldSword().build()));
    EXPECT_EQ(Out().front(), "File : " + c.shown) << c.path;
  }
}

TEST_F(ItemReportTest, HiddenAndShortInfoInAnyLetterCase) {
  // The words count in the path as written in capitals: "hIdDeN" and "ShortInf" as well.
  struct Case {
    std::string path;
    bool rows;
    bool effects;
  };
  // clang-format off
  const std::vector<Case> cases = {
      {"hIdDeN/A.ITM",      false, false},  // 0
      {"x/ShortInf/A.ITM",  true,  false},  // 1
      {"shortinfo/A.ITM",   true,  false},  // 2
      {"HIDDE/N/A.ITM",     true,  true},   // 3
      {"SHORT-INF/A.ITM",   true,  true},   // 4
      {"HID.ITM",           true,  true},   // 5
      {"a.HIDDEN.ITM",      false, false},  // 6: in the file name too
      {"HIDHIDDEN/A.ITM",   false, false},  // 7: after a start that broke off
      {"x/A.ITM.hidden",    false, false},  // 8: at the very end
      {"\xC8IDDEN/A.ITM",   true,  true},   // 9: a letter with a mark is not its plain letter
      {"HID\xC4" "EN/A.ITM", true,  true},   // 10: nor is a byte with the high bit
      {"HID@EN/A.ITM",      true,  true},   // 11: nor the byte before the capitals
  };
  // clang-format on
  std::vector<std::string> paths;
  paths.reserve(cases.size());
  for (const Case& c : cases) paths.push_back(Item(c.path, GoldSword().build()));
  Page();
  // Backwards too: what one directory or file name gave is not carried to the next item.
  for (const bool backwards : {false, true}) {
    for (std::size_t k = 0; k < cases.size(); ++k) {
      const std::size_t i = backwards ? cases.size() - 1 - k : k;
      const Case& c = cases[i];
      Report(paths[i]);
      EXPECT_EQ(!report.hidden, c.rows) << c.path;
      EXPECT_EQ(!Out().empty(), c.rows) << c.path;
      const Lines lines = Out();
      EXPECT_EQ(std::find(lines.begin(), lines.end(), "Damage     2-6") != lines.end(), c.effects) << c.path;
    }
  }
}

}  // namespace
}  // namespace relicor
