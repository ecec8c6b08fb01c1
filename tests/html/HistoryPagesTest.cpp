#include <gtest/gtest.h>

#include <filesystem>

#include "PublishFixture.h"
#include "html/HistoryPages.h"

namespace relicor {
namespace {

using test::At;
using test::Bookkeeping;
using test::RecordBuilder;

TEST(HistoryDayNumberTest, RoundsToTheNearestDayHalvesToEven) {
  const DateTime start = At(2026, 3, 10);
  struct Case {
    double daysBefore;
    double day;
  };
  // clang-format off
  const Case cases[] = {
      {0.0, 0}, {0.375, 0}, {0.5, 0}, {0.625, 1}, {1.5, 2}, {2.5, 2}, {3.5, 4},
      {-0.5, 0}, {-0.625, -1}, {60.25, 60}, {60.5, 60}, {60.75, 61}, {61.0, 61},
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(HistoryDayNumber(start, start - c.daysBefore), c.day) << c.daysBefore;
  }
}

TEST(RankSendersTest, HighestFirstTiesInMemberOrderCaseMatters) {
  const std::vector<std::string> members = {"alice", "Bob", "carl", "Dora", "Eve"};
  const std::vector<std::string> senders = {"Dora", "Bob", "bob", "Dora", "carl",
                                            "",     "Bob", "Eve", "Eve",  "x"};
  const auto ranking = RankSenders(members, senders);
  std::vector<std::pair<std::string, int>> got;
  for (const auto& r : ranking) got.emplace_back(r.name, r.count);
  EXPECT_EQ(got,
            (std::vector<std::pair<std::string, int>>{{"Bob", 2}, {"Dora", 2}, {"Eve", 2}, {"carl", 1}}));
  EXPECT_TRUE(RankSenders({}, senders).empty());
}

TEST(SplitTextLinesTest, EveryLineEnd) {
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
      {"\r\n", {""}},
      {"a\n\nb\n", {"a", "", "b"}},
      {"a\n\r", {"a", ""}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitTextLines(c.text), c.lines) << c.text;
}

class HistoryPagesTest : public test::PublishFixture {
 protected:
  Status History() {
    PublishContext ctx = Context();
    PageFile page(sink);
    return WriteHistoryPage(ctx, page);
  }
  Status Entrance() {
    PublishContext ctx = Context();
    PageFile page(sink);
    return WriteEntrancePage(ctx, page);
  }
  void Sent(const std::string& file, std::string_view name, const Bookkeeping& book) {
    AddItem("sent/" + file, RecordBuilder().name(name).itemClass(1), book);
  }
};

const std::vector<std::string> kHead = {
    "<HTML>",
    "<HEAD>",
    "   <TITLE>Items</TITLE>",
    "<LINK HREF=\"itmip.css\" REL=\"stylesheet\" TITLE=\"PoolStyle\">",
    "</HEAD>",
    "<BODY BGCOLOR=#000000>",
    "<CENTER>&nbsp;</CENTER>",
};

std::vector<std::string> Concat(std::vector<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const std::vector<std::string> kHistoryTitle = {
    "<CENTER>&nbsp;<BR>",  "<B CLASS=\"INV1\">&nbsp;&nbsp;Item-Pool History&nbsp;&nbsp;</B><BR>",
    "&nbsp;<BR></CENTER>", "<CENTER><TABLE COLS=2 WIDTH=\"60%\" >",
    "&nbsp;<BR>",
};

const std::vector<std::string> kHistoryTableHead = {
    "</TABLE></CENTER>",
    "<CENTER><TABLE COLS=4 WIDTH=\"90%\" >",
    "&nbsp;<BR>",
    "<TR>",
    "<TD><B>Am</B></TD>",
    "<TD><B>Item</B></TD>",
    "<TD><B>von</B></TD>",
    "<TD><B>an</B></TD>",
    "</TR>",
    "&nbsp;<BR>",
};

TEST_F(HistoryPagesTest, RankingAndSixtyOneDaysNewestFirst) {
  // The run starts on 10.03.2026 at 09:00; sidecar dates are midnight.
  members = {"alice", "Bob", "carl", "Dora"};
  Sent("1.ITM", "Short Bow", {"Dora", "alice", "", "10.03.2026"});    // day 0
  Sent("2.ITM", "Axe", {"Bob", "carl", "", "09.03.2026"});            // day 1
  Sent("3.ITM", "Long Bow", {"Dora", "Bob", "", "09.03.2026"});       // day 1
  Sent("4.ITM", "Cap", {"Bob", "Dora", "", "08.01.2026"});            // day 61: not listed
  Sent("5.ITM", "Helm", {"bob", "Dora", "", "11.03.2026"});           // day -1: not listed
  Sent("6.ITM", "Ring", {"carl", "", "", "09.01.2026"});              // day 60
  Sent("7.ITM", "Amulet", {"", "", "", "08.03.2026"});                // day 2, no sender
  tmp.write("sent/sub/8.ITM", RecordBuilder().name("Deep").bytes());  // subdirectories do not count
  ASSERT_TRUE(History().ok());
  const auto expected =
      Concat({kHead,
              kHistoryTitle,
              {
                  "<TR>",
                  "<TD><B>Bob</B></TD>",
                  "<TD><B>2</B></TD>",
                  "</TR>",
                  "<TR>",
                  "<TD><B>Dora</B></TD>",
                  "<TD><B>2</B></TD>",
                  "</TR>",
                  "<TR>",
                  "<TD><B>carl</B></TD>",
                  "<TD><B>1</B></TD>",
                  "</TR>",
              },
              kHistoryTableHead,
              {
                  "<TR><TD>10.03.2026</TD>", "<TD>SHORT BOW</TD>", "<TD>Dora</TD>", "<TD>alice</TD></TR>",
                  "<TR><TD>09.03.2026</TD>", "<TD>AXE</TD>",       "<TD>Bob</TD>",  "<TD>carl</TD></TR>",
                  "<TR><TD>09.03.2026</TD>", "<TD>LONG BOW</TD>",  "<TD>Dora</TD>", "<TD>Bob</TD></TR>",
                  "<TR><TD>08.03.2026</TD>", "<TD>AMULET</TD>",    "<TD></TD>",     "<TD></TD></TR>",
                  "<TR><TD>09.01.2026</TD>", "<TD>RING</TD>",      "<TD>carl</TD>", "<TD></TD></TR>",
                  "</TABLE></CENTER>",
              }});
  EXPECT_EQ(OutLines("itm-IPH.htm"), expected);
  EXPECT_FALSE(sink.Html());
  EXPECT_EQ(members, (std::vector<std::string>{"alice", "Bob", "carl", "Dora"}));
}

TEST_F(HistoryPagesTest, ItemSentTodayIsListedBeforeAndAfterNoon) {
  Sent("1.ITM", "Axe", {"", "", "", "10.03.2026"});
  for (const int hour : {9, 15}) {
    report.startTime = At(2026, 3, 10, hour);
    ASSERT_TRUE(History().ok());
    EXPECT_NE(OutText("itm-IPH.htm").find("<TD>AXE</TD>"), std::string::npos) << hour;
  }
}

TEST_F(HistoryPagesTest, NoSentDirectoryGivesAnEmptyHistory) {
  members = {"Bob"};
  const auto empty = Concat({kHead, kHistoryTitle, kHistoryTableHead, {"</TABLE></CENTER>"}});
  for (const std::string& dir : {std::string(), tmp.file("missing")}) {
    sent = dir;
    ASSERT_TRUE(History().ok()) << dir;
    EXPECT_EQ(OutLines("itm-IPH.htm"), empty) << dir;
  }
}

const std::vector<std::string> kGroupBar = {
    "<CENTER><TABLE WIDTH=\"75%\" >",
    "<TR>",
    "<TD NOWRAP CLASS=\"INV1\">",
    "<CENTER>",
    "<A CLASS=\"INV1\" HREF=\"itms1Sword.htm\">Weapon</A>&nbsp;&nbsp; |&nbsp;&nbsp;",
    "<A CLASS=\"INV1\" HREF=\"itms5Shield.htm\">Shield</A>&nbsp;&nbsp; |&nbsp;&nbsp;",
    "<A CLASS=\"INV1\" HREF=\"itms6Armor.htm\">Armor</A>&nbsp;&nbsp; |&nbsp;&nbsp;",
    "<A CLASS=\"INV1\" HREF=\"itms7Helm.htm\">Helm</A>&nbsp;&nbsp; |&nbsp;&nbsp;",
    "<A CLASS=\"INV1\" HREF=\"itms10Staff.htm\">Staff</A>&nbsp;&nbsp; |&nbsp;&nbsp;",
    "<A CLASS=\"INV1\" HREF=\"itms12Ring.htm\">Ring</A>&nbsp;&nbsp; |&nbsp;&nbsp;",
    "<A CLASS=\"INV1\" HREF=\"itms13Amulet.htm\">Amulet</A>&nbsp;&nbsp; |&nbsp;&nbsp;",
    "<A CLASS=\"INV1\" HREF=\"itms14UNIQUE.htm\">UNIQUES</A>&nbsp;&nbsp; |&nbsp;&nbsp;",
    "</CENTER>",
    "</TD>",
    "</TR>",
    "</TABLE></CENTER>",
    "<CENTER>&nbsp;</CENTER>",
};

const std::string kUnderscores(71, '_');

std::vector<std::string> InformationBlock(const std::string& total, const std::vector<std::string>& arrivals,
                                          const std::vector<std::string>& rules) {
  std::vector<std::string> lines = {
      "<CENTER><P>" + kUnderscores,
      "<BR>&nbsp;<BR>",
      total + " Items sind vorhanden<BR>",
      "<B> NEU EINGETROFFEN!</B><FONT CLASS=\"SM\">  (Stand 10.03.2026 09:30:00)</FONT></CENTER>",
      "<CENTER><TABLE COLS=1 WIDTH=\"60%\" >",
      "<TR><TD>&nbsp;<BR>",
  };
  lines.insert(lines.end(), arrivals.begin(), arrivals.end());
  for (const char* line : {"<BR></TD></TR>", "</TABLE></CENTER>"}) lines.emplace_back(line);
  lines.push_back("<CENTER>" + kUnderscores + "</CENTER>");
  lines.emplace_back("<CENTER>&nbsp;</CENTER>");
  lines.emplace_back("<CENTER><TABLE COLS=1 WIDTH=\"66%\" BGCOLOR=\"#000000\" >");
  for (const std::string& rule : rules) lines.push_back("<TR><TD>" + rule + "</TD></TR>");
  lines.emplace_back("</TABLE></CENTER>");
  return lines;
}

TEST_F(HistoryPagesTest, EntrancePageWithCountsAndRules) {
  tmp.write("pool/rules.txt", "Keine <B>Dupes</B>!\r\nFair & friendly\nLast");
  tmp.write("home/rules.txt", "not this one\r\n");
  report.page.totalCount = 42;
  report.page.newArrivals[1] = 3;
  report.page.newArrivals[11] = 9;  // Gold has no page and is never listed
  report.page.newArrivals[14] = 1;
  report.page.newArrivals[0] = 5;  // nor Book
  ASSERT_TRUE(Entrance().ok());
  const auto expected =
      Concat({kHead, kGroupBar,
              InformationBlock(
                  "42", {"<FONT SIZE=-1> 3  Sword(s) -- </FONT>", "<FONT SIZE=-1> 1  UNIQUE(s) -- </FONT>"},
                  {"Keine <B>Dupes</B>!", "Fair & friendly", "Last"})});
  EXPECT_EQ(OutLines("itm-IP2.htm"), expected);
  EXPECT_EQ(kUnderscores.size(), 71u);
  EXPECT_FALSE(sink.Html());
}

TEST_F(HistoryPagesTest, RulesFromTheProgramDirectoryWhenThePoolHasNone) {
  tmp.write("home/rules.txt", "");
  ASSERT_TRUE(Entrance().ok());
  EXPECT_EQ(OutLines("itm-IP2.htm"), Concat({kHead, kGroupBar, InformationBlock("0", {}, {})}));
  tmp.write("home/rules.txt", "Be nice\r\n");
  ASSERT_TRUE(Entrance().ok());
  EXPECT_EQ(OutLines("itm-IP2.htm"), Concat({kHead, kGroupBar, InformationBlock("0", {}, {"Be nice"})}));
}

TEST_F(HistoryPagesTest, ALinkedOrOversizedRulesFileIsNotPublished) {
  tmp.write("private.txt", "my bank password\r\n");
  std::filesystem::create_symlink(tmp.file("private.txt"), tmp.file("pool/rules.txt"));
  tmp.write("home/rules.txt", std::string(kMaxRulesFileBytes + 1, 'r'));
  std::vector<std::string> told;
  PublishContext ctx = Context();
  ctx.warn = [&told](const std::string& reason) { told.push_back(reason); };
  PageFile page(sink);
  ASSERT_TRUE(WriteEntrancePage(ctx, page).ok());
  EXPECT_EQ(OutLines("itm-IP2.htm"), Concat({kHead, kGroupBar}));
  EXPECT_EQ(
      told,
      (std::vector<std::string>{
          tmp.file("pool/rules.txt") + " is a symbolic link: not followed: the rules are not read from it",
          tmp.file("home/rules.txt") + " holds more than 1048576 bytes: the rules are not read from it"}));
  // The program directory's rules stand in for a pool's that is not read.
  tmp.write("home/rules.txt", "Be nice\r\n");
  told.clear();
  ASSERT_TRUE(WriteEntrancePage(ctx, page).ok());
  EXPECT_EQ(OutLines("itm-IP2.htm"), Concat({kHead, kGroupBar, InformationBlock("0", {}, {"Be nice"})}));
  EXPECT_EQ(told.size(), 1u);
}

TEST_F(HistoryPagesTest, NoRulesFileLeavesOutTheInformationBlock) {
  report.page.totalCount = 7;
  report.page.newArrivals[3] = 2;
  ASSERT_TRUE(Entrance().ok());
  EXPECT_EQ(OutLines("itm-IP2.htm"), Concat({kHead, kGroupBar}));
}

TEST_F(HistoryPagesTest, UnwritablePageNamesTheFile) {
  tmp.mkdir("out/itm-IP2.htm");
  const auto written = Entrance();
  ASSERT_FALSE(written.ok());
  EXPECT_NE(written.error().find(out + "/itm-IP2.htm"), std::string::npos) << written.error();
  EXPECT_FALSE(sink.Html());
}

}  // namespace
}  // namespace relicor
