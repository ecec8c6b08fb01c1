#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "identify/ItemReport.h"
#include "item/ItemRecord.h"
#include "platform/Clock.h"
#include "pool/ItemCache.h"
#include "support/RecordBuilder.h"
#include "support/RecordingDebug.h"
#include "support/TempDir.h"
#include "text/DateText.h"
#include "validate/Database.h"

namespace relicor {
namespace {

using test::RecordBuilder;
using test::TempDir;
using Lines = std::vector<std::string>;

using test::RecordingDebug;

class RecordingDump : public ItemDumpDisplay {
 public:
  void ShowItemDump(const ItemRecord& record, bool decimalView) override {
    shown = true;
    decimal = decimalView;
    signature = std::string(record.Signature());
  }
  void HideItemDump() override { shown = false; }
  bool shown = false;
  bool decimal = false;
  std::string signature;
};

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
    ctx.startTime = clock.Now();
    ctx.debugLog = &debug;
    ctx.dumpDisplay = &dump;
    ctx.options.mailAddress = "keeper@example.org";
  }

  // Writes an ITM file (and its sidecar when given) and returns the item's full path.
  std::string Item(const std::string& name, const ItemRecord& record, const std::string& sidecar = "") {
    const std::string path = dir.write(name, record.view());
    if (!sidecar.empty()) dir.write(name.substr(0, name.size() - 3) + "IT0", sidecar);
    return path;
  }

  ReportOutcome Report(const std::string& path) {
    auto result = ReportItem(ctx, path, dir.path());
    EXPECT_TRUE(result.ok()) << result.error();
    return result.ok() ? *result : ReportOutcome::kNotAnItem;
  }

  void Html(int pageClass, bool brief = false) {
    sink.SetHtml(true);
    ctx.page.pageClass = pageClass;
    ctx.page.briefMode = brief;
  }

  TempDir dir;
  FixedClock clock{Day(2026, 12, 6, 12)};
  ItemCache cache{clock};
  Database database{dir.file("IDENT.ID")};
  LineSink sink;
  RecordingDebug debug;
  RecordingDump dump;
  ReportContext ctx{cache, database, sink, clock};
};

TEST_F(ItemReportTest, TextReportWithAdditionalInfo) {
  ctx.options.additionalInfo = true;
  const std::string path = Item("GOLD.ITM", GoldSword().build(), kConanSidecar);
  EXPECT_EQ(Report(path), ReportOutcome::kReported);
  EXPECT_EQ(sink.OutputList(),
            (Lines{"File : GOLD.ITM", "GOLD SWORD", "SHORT SWORD", "Price 3576", "PreAddInfo 0000",
                   "SufAddInfo 0000", "Damage     2-6", "Durability 20/20", "+25% to Hit", "by Conan",
                   "Point4Item dated 02.12.2026", "Added 01.12.2026", "----------------------------------",
                   "Ursprung:  Monster/Dungeon", "Monster-Basislevel war 5", "calc. price 3576 / 5364",
                   "name resolve [GOLD SWORD]", "type [SHORT SWORD]", ""}));
  EXPECT_TRUE(debug.lines.empty());
  EXPECT_EQ(ctx.findings.status, StatusColour::kGreen);
  EXPECT_EQ(ctx.page.totalCount, 1);
}

TEST_F(ItemReportTest, TextReportPlain) {
  const ItemRecord record =
      GoldSword().identified(0).price(10).pctDamage(200).prefixPower(2).useEffect(99).build();
  const std::string path = Item("sub/GOLD.ITM", record, "[Iteminfos]\r\nAddedItem=28.02.2025\r\n");
  EXPECT_EQ(Report(path), ReportOutcome::kReported);
  EXPECT_EQ(sink.OutputList(),
            (Lines{"File : sub/GOLD.ITM", "GOLD SWORD", "unidentified", "Price 10", "Damage     2-6",
                   "Durability 20/20", "+200% Damage", "*** HACK DETECTED 013: TOO MUCH %DAMAGE 200",
                   "+25% to Hit", "*** HACK DETECTED 016: HACKED %TO HIT EFFECT 25", "by ",
                   "Added 28.02.2025", "----------------------------------", "Ursprung:  Monster/Dungeon",
                   "Monster-Basislevel war 5"}));
  // The unknown use effect shows (and colours) only with additional information.
  EXPECT_EQ(ctx.findings.status, StatusColour::kRed);
  EXPECT_EQ(ctx.findings.lastFindingCode, 16);
  EXPECT_EQ(debug.lines, (Lines{"PRICE GOLD SWORD" + std::string(22, ' ') + " internal 10 Gris 120 Wirt 180",
                                "NAME SWORD GOLD SWORD"}));
}

TEST_F(ItemReportTest, ShortFileIsNoItemAndWritesNothing) {
  const std::string good = Item("GOLD.ITM", GoldSword().build());
  const std::string shortFile = dir.write("SHORT.ITM", GoldSword().bytes().substr(0, 399));
  Report(good);
  ASSERT_FALSE(sink.OutputList().empty());
  EXPECT_EQ(Report(shortFile), ReportOutcome::kNotAnItem);
  EXPECT_TRUE(sink.OutputList().empty());
  EXPECT_EQ(cache.Find(shortFile), nullptr);
  EXPECT_EQ(ctx.page.totalCount, 1);
  // Not even in HTML mode, where the previous item's bytes must not be reported in its place.
  Html(1);
  EXPECT_EQ(Report(shortFile), ReportOutcome::kNotAnItem);
  EXPECT_EQ(sink.PageText(), "");
}

TEST_F(ItemReportTest, MissingFileIsAnErrorNamingTheFile) {
  const std::string path = dir.file("GONE.ITM");
  auto result = ReportItem(ctx, path, dir.path());
  ASSERT_FALSE(result.ok());
  EXPECT_NE(result.error().find(path), std::string::npos) << result.error();
  EXPECT_TRUE(sink.OutputList().empty());
}

TEST_F(ItemReportTest, WrongSignatureWritesAndCountsNothing) {
  const std::string path = Item("ODD.ITM", GoldSword().signature("ITM1").build(), kConanSidecar);
  EXPECT_EQ(Report(path), ReportOutcome::kNoSignature);
  EXPECT_TRUE(sink.OutputList().empty());
  Html(1);
  EXPECT_EQ(Report(path), ReportOutcome::kNoSignature);
  EXPECT_EQ(sink.PageText(), "");
  EXPECT_EQ(ctx.page.totalCount, 0);
  EXPECT_EQ(ctx.findings.status, StatusColour::kGreen);
}

TEST_F(ItemReportTest, HtmlDetailRowsOfANewItem) {
  ctx.options.additionalInfo = true;  // changes nothing in a page
  const std::string path = Item("GOLD.ITM", GoldSword().build(), kConanSidecar);
  Html(1);
  EXPECT_EQ(Report(path), ReportOutcome::kReported);
  EXPECT_EQ(sink.PageText(),
            "<TR>\r\n"
            "<TD NOWRAP><B><A HREF=\"mailto:keeper@example.org?subject=Itempool-"
            "GOLD.ITM"  // never the keeper's own directories
            "\">GOLD SWORD:</A></B></TD>\r\n"
            "<TD>Damage     2-6</TD>\r\n</TR>\r\n"
            "<TR><TD>= New =</TD>\r\n<TD>Durability 20/20</TD>\r\n</TR>\r\n"
            "<TR>\r\n<TD></TD>\r\n<TD>+25% to Hit</TD>\r\n</TR>\r\n"
            "<TR>\r\n<TD></TD>\r\n<TD><I><FONT CLASS=\"SM\"> by Conan</FONT></I></TD>\r\n</TR>\r\n"
            "<TR>\r\n<TD></TD>\r\n<TD>&nbsp;</TD>\r\n</TR>\r\n");
  EXPECT_EQ(sink.OutputList(), (Lines{"Damage     2-6", "Durability 20/20", "+25% to Hit",
                                      "<I><FONT CLASS=\"SM\"> by Conan</FONT></I>", "&nbsp;"}));
  EXPECT_EQ(ctx.page.newArrivals[1], 1);
  EXPECT_EQ(ctx.page.totalCount, 1);
  EXPECT_TRUE(debug.lines.empty());
}

TEST_F(ItemReportTest, HtmlBriefRowsOfANewUniqueItem) {
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
  Html(kUniquePageClass, true);
  EXPECT_EQ(Report(path), ReportOutcome::kReported);
  EXPECT_EQ(sink.OutputList(), (Lines{"*** HACK DETECTED 034: HACKED UNIQUE ITEM TYPE 8C",
                                      "<I><FONT CLASS=\"SM\"> by Conan  =NEW=</FONT></I>"}));
  EXPECT_EQ(ctx.page.newArrivals[kUniquePageClass], 1);
  // Not new: the plain ending.
  ctx.startTime = Day(2027, 1, 1);
  Report(path);
  EXPECT_EQ(sink.OutputList().back(), "<I><FONT CLASS=\"SM\"> by Conan</FONT></I>");
  EXPECT_EQ(ctx.page.newArrivals[kUniquePageClass], 1);
  EXPECT_EQ(ctx.page.totalCount, 2);
}

TEST_F(ItemReportTest, HtmlPageMembership) {
  const std::string uniqueBow = Item(
      "U.ITM", RecordBuilder().quality(1).uniqueIndex(10).itemClass(3).baseItem(138).durability(9).build());
  const std::string bow = Item("B.ITM", RecordBuilder().itemClass(3).baseItem(138).durability(9).build());
  Html(3);
  EXPECT_EQ(Report(uniqueBow), ReportOutcome::kNotOnPage);
  EXPECT_EQ(sink.PageText(), "");
  EXPECT_EQ(Report(bow), ReportOutcome::kReported);
  EXPECT_NE(sink.TakePageText(), "");
  Html(kUniquePageClass);
  EXPECT_EQ(Report(bow), ReportOutcome::kNotOnPage);
  EXPECT_EQ(Report(uniqueBow), ReportOutcome::kReported);
  EXPECT_EQ(ctx.page.totalCount, 2);
  // In text mode every class is reported.
  sink.SetHtml(false);
  EXPECT_EQ(Report(uniqueBow), ReportOutcome::kReported);
}

TEST_F(ItemReportTest, HiddenItemsAreCountedButWriteNothing) {
  const std::string path = Item("Hidden/GOLD.ITM", GoldSword().build(), kConanSidecar);
  Html(1);
  EXPECT_EQ(Report(path), ReportOutcome::kReported);
  EXPECT_EQ(sink.PageText(), "");
  EXPECT_TRUE(sink.OutputList().empty());
  EXPECT_EQ(ctx.page.totalCount, 1);
  EXPECT_EQ(ctx.page.newArrivals[1], 1);
  sink.SetHtml(false);
  Report(path);
  EXPECT_EQ(sink.OutputList().front(), "File : Hidden/GOLD.ITM");
}

TEST_F(ItemReportTest, ShortInfoPathShowsNoEffects) {
  ASSERT_TRUE(database.AddRecord(GoldSword().identified(0).build()).ok());
  const std::string path = Item("shortinf/GOLD.ITM", GoldSword().identified(0).build(), kConanSidecar);
  Html(1);
  ctx.startTime = Day(2027, 1, 1);
  Report(path);
  EXPECT_EQ(sink.OutputList(),
            (Lines{"unidentified", "<I><FONT CLASS=\"SM\"> by Conan</FONT></I>", "&nbsp;"}));
  EXPECT_NE(sink.PageText().find("GOLD SWORD:</A>"), std::string::npos);
  EXPECT_EQ(ctx.findings.status, StatusColour::kGreen);
  // In text mode the word means nothing.
  sink.SetHtml(false);
  Report(path);
  EXPECT_EQ(sink.OutputList()[4], "*** DUPE DETECT: THIS ITEM IS A REGISTERED DUPE OR A HACK");
}

TEST_F(ItemReportTest, RegisteredDupeIsMarkedBeforeTheEffects) {
  ASSERT_TRUE(database.AddRecord(GoldSword().build()).ok());
  const std::string path = Item("GOLD.ITM", GoldSword().build(), kConanSidecar);
  Report(path);
  const Lines& lines = sink.OutputList();
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[3], "*** DUPE DETECT: THIS ITEM IS A REGISTERED DUPE OR A HACK");
  EXPECT_EQ(lines[4], "Damage     2-6");
  EXPECT_EQ(ctx.findings.status, StatusColour::kRed);
  EXPECT_EQ(ctx.findings.lastFindingCode, 0);
}

TEST_F(ItemReportTest, DupeMarkerThenDefinitionFindingTurnsPurple) {
  const ItemRecord record = GoldSword().baseItem(40).build();  // a row the game has no item for
  ASSERT_TRUE(database.AddRecord(record).ok());
  Report(Item("ODD.ITM", record));
  EXPECT_EQ(ctx.findings.status, StatusColour::kPurple);
}

TEST_F(ItemReportTest, NewMeansLessThanFourteenDays) {
  const std::string path = Item("GOLD.ITM", GoldSword().build(), kConanSidecar);  // added 01.12.2026
  Html(1, true);
  ctx.startTime = Day(2026, 12, 15);
  Report(path);
  EXPECT_EQ(ctx.page.newArrivals[1], 0);
  EXPECT_EQ(sink.OutputList().back(), "<I><FONT CLASS=\"SM\"> by Conan</FONT></I>");
  ctx.startTime = Day(2026, 12, 1) + 13.9;
  Report(path);
  EXPECT_EQ(ctx.page.newArrivals[1], 1);
  EXPECT_TRUE(IsNewItem(Day(2026, 11, 30), Day(2026, 12, 1)));  // added after the start
}

TEST_F(ItemReportTest, PageTextFromFilesIsEscaped) {
  const ItemRecord record = GoldSword().name("<b>\"x\"&y").build();
  const std::string path =
      Item("A&B<.ITM", record, "[Iteminfos]\r\nSenderName=<i>Eve&Co\r\nAddedItem=01.12.2026\r\n");
  ctx.options.mailAddress = "a&b@example.org";  // the keeper's own setting stays as it is
  Html(1);
  Report(path);
  const std::string& page = sink.PageText();
  // In the subject "&" is percent-encoded: it would start another part of the mail.
  EXPECT_NE(page.find("mailto:a&b@example.org?subject=Itempool-"
                      "A%26B&lt;.ITM\">&lt;B&gt;&quot;X&quot;&amp;Y:</A></B></TD>\r\n"),
            std::string::npos)
      << page;
  EXPECT_NE(page.find("<TD><I><FONT CLASS=\"SM\"> by &lt;i&gt;Eve&amp;Co</FONT></I></TD>"),
            std::string::npos);
  EXPECT_EQ(page.find("<i>Eve"), std::string::npos);
  // Text mode shows the texts as they are.
  sink.SetHtml(false);
  Report(path);
  EXPECT_EQ(sink.OutputList()[1], "<B>\"X\"&Y");
  EXPECT_EQ(sink.OutputList()[6], "by <i>Eve&Co");
}

TEST_F(ItemReportTest, ATooLongLinkLosesTheEndOfItsSubjectAndStillClosesBeforeTheRows) {
  // Deep directories and an escaped name: the line would run past 255 characters.
  const ItemRecord record = GoldSword().name(std::string(20, '&')).build();
  const std::string path = Item(std::string(150, 'd') + "/" + std::string(90, 'e') + "/X.ITM", record);
  Html(1);
  ctx.page.pageRoot = dir.path();
  Report(path);
  const std::string& page = sink.PageText();
  const std::size_t start = page.find("?subject=");
  const std::string line = page.substr(start, page.find("\r\n", start) - start);
  EXPECT_EQ(line.size(), 255u);
  // 255 less the markup (34) and the name (100) leaves 121 characters of the path.
  EXPECT_EQ(line.rfind("?subject=Itempool-" + std::string(121, 'd') + "\">&amp;", 0), 0u) << line;
  std::string shown;
  for (int i = 0; i < 20; ++i) shown += "&amp;";
  EXPECT_EQ(line.substr(line.size() - shown.size() - 16), "\">" + shown + ":</A></B></TD>") << line;
  // The item's rows follow the closed link.
  EXPECT_EQ(page.substr(start + line.size(), 22), "\r\n<TD>Damage     2-6</") << page;
}

TEST(PagePath, APageNamesAnItemBelowThePublishedDirectoryOnly) {
  // clang-format off
  const struct { std::string_view path, root, shown; } rows[] = {
      {"/home/k/pool/A.ITM",        "/home/k/pool",   "A.ITM"},
      {"/home/k/pool/A.ITM",        "/home/k/pool/",  "A.ITM"},
      {"/home/k/pool/sub/A.ITM",    "/home/k/pool",   "sub/A.ITM"},
      {"/home/k/pool2/A.ITM",       "/home/k/pool",   "A.ITM"},   // outside: the name alone
      {"/home/k/pool/A.ITM",        "",               "A.ITM"},
      {"/A.ITM",                    "/",              "A.ITM"},
  };
  // clang-format on
  for (const auto& row : rows)
    EXPECT_EQ(PagePath(row.path, row.root), row.shown) << row.path << " " << row.root;
}

TEST_F(ItemReportTest, PathsGoIntoPagesAndLinesAsWindows1252) {
  // "Pöol ß €" in UTF-8, as the file system gives it.
  const std::string path = Item("P\xC3\xB6ol \xC3\x9F \xE2\x82\xAC/A.ITM", GoldSword().build());
  Report(path);
  EXPECT_EQ(sink.OutputList().front(), "File : P\xF6ol \xDF \x80/A.ITM");
  Html(1);
  ctx.page.pageRoot = dir.path();
  Report(path);
  EXPECT_NE(sink.PageText().find("?subject=Itempool-P\xF6ol \xDF \x80/A.ITM\""), std::string::npos)
      << sink.PageText();
}

TEST_F(ItemReportTest, FileLineShowsThePathBelowTheDirectory) {
  const std::string path = Item("SUB/SWORD.ITM", GoldSword().build());
  Report(path);
  EXPECT_EQ(sink.OutputList().front(), "File : SUB/SWORD.ITM");
  const std::string longName = std::string(70, 'L') + ".ITM";
  Report(Item(longName, GoldSword().build()));
  EXPECT_EQ(sink.OutputList().front(), "File : " + longName.substr(0, 64));
}

TEST_F(ItemReportTest, DumpWindowFollowsTheOption) {
  const std::string path = Item("GOLD.ITM", GoldSword().build());
  ctx.options.dumpWindow = true;
  ctx.options.decimalView = true;
  Report(path);
  EXPECT_TRUE(dump.shown);
  EXPECT_TRUE(dump.decimal);
  EXPECT_EQ(dump.signature, "ITM0");
  ctx.options.dumpWindow = false;
  Report(path);
  EXPECT_FALSE(dump.shown);
}

TEST_F(ItemReportTest, RunsWithoutDebugLogAndDumpWindow) {
  ctx.debugLog = nullptr;
  ctx.dumpDisplay = nullptr;
  ctx.options.dumpWindow = true;
  EXPECT_EQ(Report(Item("GOLD.ITM", GoldSword().name("nonsense").fireDamage(1, 2).build())),
            ReportOutcome::kReported);
  EXPECT_EQ(sink.OutputList().size(), 12u);
}

TEST_F(ItemReportTest, CachedEntryReportsAsItsPath) {
  const std::string gold = Item("GOLD.ITM", GoldSword().build(), kConanSidecar);
  const std::string other = Item("OTHER.ITM", GoldSword().ident(7).name("other sword").build());
  ASSERT_TRUE(cache.LoadItem(gold));
  const ItemEntry* entry = cache.CurrentEntry();
  ASSERT_NE(entry, nullptr);
  for (const bool brief : {false, true}) {
    Html(1, brief);
    Report(gold);
    const std::string byPath = sink.TakePageText();
    const Lines linesByPath = sink.OutputList();
    ASSERT_TRUE(cache.LoadItem(other));  // another current item in between
    EXPECT_EQ(ReportItem(ctx, gold, dir.path(), *entry), ReportOutcome::kReported);
    EXPECT_EQ(sink.TakePageText(), byPath) << brief;
    EXPECT_EQ(sink.OutputList(), linesByPath) << brief;
    EXPECT_EQ(cache.CurrentItem().Name(), "gold sword");
    EXPECT_EQ(cache.CurrentMeta().senderName, "Conan");
  }
  EXPECT_EQ(ctx.page.totalCount, 4);
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
  };
  // clang-format on
  for (const Case& c : cases) {
    const std::string path = Item(c.path, GoldSword().build());
    Html(1);
    Report(path);
    const std::string page = sink.TakePageText();
    EXPECT_EQ(!page.empty(), c.rows) << c.path;
    EXPECT_EQ(page.find("Damage") != std::string::npos, c.effects) << c.path;
  }
}

}  // namespace
}  // namespace relicor
