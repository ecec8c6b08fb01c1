#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "PublishFixture.h"
#include "html/PageWriter.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"
#include "text/ByteText.h"

namespace relicor {
namespace {

using test::CrLfLines;
using test::RecordBuilder;
using test::TempDir;

TEST(PageWriterTest, PageClassOfItem) {
  struct Case {
    int itemClass;
    bool unique;
    int page;
  };
  // clang-format off
  const Case cases[] = {
      {0, false, 0}, {1, false, 1}, {2, false, 2}, {10, false, 10}, {11, false, 0}, {12, false, 12},
      {13, false, 13}, {14, false, 0}, {15, false, 0}, {255, false, 0},
      {0, true, 14}, {1, true, 14}, {11, true, 14}, {200, true, 14},
  };
  // clang-format on
  for (const Case& c : cases) {
    RecordBuilder item;
    item.itemClass(static_cast<std::uint8_t>(c.itemClass)).quality(c.unique ? 1 : 0);
    EXPECT_EQ(PageClassOfItem(item.build()), c.page) << "class " << c.itemClass << " unique " << c.unique;
  }
  EXPECT_EQ(PageClassOfItem(RecordBuilder().signature("ITM1").itemClass(1).build()), 0);
  EXPECT_EQ(PageClassOfItem(RecordBuilder().signature("ITM1").quality(1).build()), 0);
}

// The lines a page has collected so far.
std::vector<std::string> Collected(PageFile& page) {
  return CrLfLines(page.Text());
}

TEST(PageWriterTest, ClassTabsShowTheGroupOfThePage) {
  struct Case {
    int pageClass;
    std::vector<std::string> tabs;
  };
  const Case cases[] = {
      {1, {"Sword", "Axe", "Bow", "Club"}},
      {4, {"Sword", "Axe", "Bow", "Club"}},
      {6, {"Armor", "Mail", "Plate"}},
      {9, {"Armor", "Mail", "Plate"}},
      {5, {"Shield"}},
      {7, {"Helm"}},
      {10, {"Staff"}},
      {12, {"Ring"}},
      {13, {"Amulet"}},
      {14, {"UNIQUE"}},
  };
  for (const Case& c : cases) {
    PageFile page;
    page.WritePageHead("/nowhere/x.htm", HtmlOptionValues{});
    page.Text().clear();
    WriteClassTabs(page, HtmlOptionValues{}, c.pageClass, true);
    const auto lines = Collected(page);
    ASSERT_EQ(lines.size(), c.tabs.size() + 6) << c.pageClass;
    EXPECT_EQ(lines[0], "<CENTER><TABLE COLS=" + std::to_string(c.tabs.size()) + " WIDTH=\"60%\" >");
    for (std::size_t i = 0; i < c.tabs.size(); ++i) {
      const std::string& line = lines[2 + i];
      const bool own = std::string(ClassName(c.pageClass)) == c.tabs[i];
      if (own) {
        EXPECT_EQ(line, "<TD><CENTER><FONT COLOR=\"#FF0000\">[-" + c.tabs[i] + "-]</FONT></CENTER></TD>");
      } else {
        EXPECT_NE(line.find("HREF=\"itms"), std::string::npos) << line;
        EXPECT_NE(line.find("[-" + c.tabs[i] + "-]</A>"), std::string::npos) << line;
      }
    }
    EXPECT_EQ(lines.back(), "<CENTER><TABLE COLS=2 WIDTH=\"60%\">");
  }
}

TEST(PageWriterTest, BriefNavigationBarLinksToTheDetailTwinAndBriefPages) {
  PageFile page;
  HtmlOptionValues options;
  options.headerUrl1 = "http://clan.example/";
  options.headerUrl1Name = "<b>Clan</b>";
  page.WritePageHead("/nowhere/x.htm", options);
  page.Text().clear();
  WriteNavigationBar(page, options, 7, true);
  const std::vector<std::string> expected = {
      "<CENTER><TABLE WIDTH=\"75%\">",
      "<TR>",
      "<TD NOWRAP>",
      "<CENTER>",
      "<A HREF=\"itm-IP2.htm\">ZUM EINGANG</A>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;<A "
      "HREF=\"itm7Helm.htm\">Details "
      "bitte!</A>&nbsp;&nbsp;",
      "<A HREF=\"itm-IPH.htm\">HISTORY</A>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;",
      "<A HREF=\"http://clan.example/\"><b>Clan</b></A>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;",
      "</TD></TR><TD NOWRAP CLASS=\"INV1\">",
      "<A CLASS=\"INV1\" HREF=\"itms1Sword.htm\">Weapon</A>&nbsp;&nbsp; |&nbsp;&nbsp;",
      "<A CLASS=\"INV1\" HREF=\"itms5Shield.htm\">Shield</A>&nbsp;&nbsp; |&nbsp;&nbsp;",
      "<A CLASS=\"INV1\" HREF=\"itms6Armor.htm\">Armor</A>&nbsp;&nbsp; |&nbsp;&nbsp;",
      "<A CLASS=\"INV1\" HREF=\"itms7Helm.htm\">Helm</A>&nbsp;&nbsp; |&nbsp;&nbsp;",
      "<A CLASS=\"INV1\" HREF=\"itms10Staff.htm\">Staff</A>&nbsp;&nbsp; |&nbsp;&nbsp;",
      "<A CLASS=\"INV1\" HREF=\"itms12Ring.htm\">Ring</A>&nbsp;&nbsp; |&nbsp;&nbsp;",
      "<A CLASS=\"INV1\" HREF=\"itms13Amulet.htm\">Amulet</A>&nbsp;&nbsp; |&nbsp;&nbsp;",
      "<A CLASS=\"INV1\" HREF=\"itms14UNIQUE.htm\">UNIQUES</A>&nbsp;&nbsp; |&nbsp;&nbsp;",
      "</TD>",
      "</TR>",
      "</TABLE></CENTER>",
      "<CENTER>&nbsp;</CENTER>",
  };
  EXPECT_EQ(Collected(page), expected);
}

TEST(PageWriterTest, ExtraLinkOnlyWithAnAddress) {
  PageFile page;
  HtmlOptionValues options;
  options.headerUrl1Name = "Clan";
  page.WritePageHead("/nowhere/x.htm", options);
  page.Text().clear();
  WriteNavigationBar(page, options, 1, false);
  const std::string text = page.Text();
  EXPECT_EQ(text.find("Clan"), std::string::npos);
  EXPECT_EQ(CrLfLines(text).size(), 19u);
}

TEST(PageWriterTest, PageReachesItsFileOnlyWhenClosed) {
  TempDir tmp;
  const std::string path = tmp.write("page.htm", "old page\r\n");
  {
    PageFile page;
    HtmlOptionValues options;
    options.bgColor = "red";
    page.WritePageHead(path, options);
    EXPECT_TRUE(page.IsOpen());
    page.WriteLine("<TR>");
    page.WriteLine("<TD></TD>");
    page.WriteLine("<TD>a row</TD>");
    page.WriteLine("</TR>");
    EXPECT_EQ(tmp.read("page.htm"), "old page\r\n");
    ASSERT_TRUE(page.Close().ok());
    EXPECT_FALSE(page.IsOpen());
    EXPECT_TRUE(page.Text().empty());
    EXPECT_EQ(tmp.read("page.htm"),
              "<HTML>\r\n<HEAD>\r\n   <TITLE>Items</TITLE>\r\n"
              "<LINK HREF=\"itmip.css\" REL=\"stylesheet\" TITLE=\"PoolStyle\">\r\n</HEAD>\r\n"
              "<BODY BGCOLOR=red>\r\n<CENTER>&nbsp;</CENTER>\r\n"
              "<TR>\r\n<TD></TD>\r\n<TD>a row</TD>\r\n</TR>\r\n");

    // A page that is dropped leaves the file as it was.
    page.WritePageHead(path, HtmlOptionValues{});
    page.WriteLine("half a page");
  }
  EXPECT_NE(tmp.read("page.htm").find("a row"), std::string::npos);
}

TEST(PageWriterTest, FailedCloseNamesTheFileAndSwitchesHtmlOff) {
  // A large page went on to its file while it was made; its failure too comes at the close.
  for (const bool large : {false, true}) {
    SCOPED_TRACE(large ? "large page" : "small page");
    TempDir tmp;
    tmp.write("afile", "x");
    PageFile page;
    const std::string path = tmp.file("afile") + "/itm1Sword.htm";
    page.WritePageHead(path, HtmlOptionValues{});
    if (large) {
      page.WriteLine(std::string(kPageSpillBytes, 'x'));
      page.SpillIfLarge();
    }
    const auto closed = page.Close();
    ASSERT_FALSE(closed.ok());
    EXPECT_NE(closed.error().find(path), std::string::npos) << closed.error();
    EXPECT_FALSE(page.IsOpen());
  }
}

TEST(PageWriterTest, EqualNamesInReverseScanOrderOthersByName) {
  std::vector<ItemEntry> entries;
  for (const auto& [name, path] : std::vector<std::pair<std::string, std::string>>{{"b", "p1"},
                                                                                   {"Axe", "p2"},
                                                                                   {"axe", "p3"},
                                                                                   {"B", "p4"},
                                                                                   {"AXE", "p5"},
                                                                                   {"Cap", "p6"},
                                                                                   {"", "p7"}}) {
    entries.emplace_back(path, RecordBuilder().name(name).build(), ItemMeta{});
  }
  std::vector<ScannedItem> items;
  for (const ItemEntry& entry : entries) items.push_back({&entry});
  SortPageItems(items);
  std::vector<std::string> paths;
  for (const ScannedItem& item : items) paths.emplace_back(item.path());
  EXPECT_EQ(paths, (std::vector<std::string>{"p7", "p5", "p3", "p2", "p4", "p1", "p6"}));
}

TEST(PageWriterTest, TwoThreadsSortAsOneAndGiveEachItemsPageClass) {
  // Enough items for two halves; equal names (in any letter case) in both halves, and items of
  // every class, unique or not, so that a wrong merge or a class of the wrong item shows.
  const std::string names[] = {"Axe", "axe", "Cap", "", "Short Bow", "AXE", "cap of the Magi"};
  std::vector<ItemEntry> entries;
  entries.reserve(5000);
  for (int i = 0; i < 5000; ++i) {
    RecordBuilder item;
    item.name(names[static_cast<std::size_t>(i * 7919 % 7)]).itemClass(static_cast<std::uint8_t>(i % 16));
    if (i % 5 == 0) item.quality(1);
    entries.emplace_back("p" + std::to_string(i), item.build(), ItemMeta{});
  }
  std::vector<ScannedItem> one;
  for (const ItemEntry& entry : entries) one.push_back({&entry});
  std::vector<ScannedItem> two = one;
  const std::vector<std::uint8_t> oneClasses = SortPageItemsWithClasses(one, false);
  const std::vector<std::uint8_t> twoClasses = SortPageItemsWithClasses(two, true);
  ASSERT_EQ(one.size(), two.size());
  for (std::size_t i = 0; i < one.size(); ++i) {
    ASSERT_EQ(one[i].entry, two[i].entry) << i;
    ASSERT_EQ(twoClasses[i], PageClassOfItem(two[i].entry->Record())) << i;
    if (i > 0) {
      ASSERT_LE(CompareTextNoCase(one[i - 1].name(), one[i].name()), 0) << i;
    }
  }
  EXPECT_EQ(oneClasses, twoClasses);
  // Equal names in the reverse of the list's order: the first of the empty names is the last listed.
  std::size_t lastEmpty = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].Record().Name().empty()) lastEmpty = i;
  }
  EXPECT_EQ(one.front().entry, &entries[lastEmpty]);
}

// Thousands of names, some held by many items, some by one, names that begin other names and
// names alike but for letter case: the order is that of a stable sort of the reversed list by the
// names in capitals, with one thread and with two.
TEST(PageWriterTest, ManyNamesSortAsAStableSortOfTheNamesInCapitals) {
  std::vector<ItemEntry> entries;
  entries.reserve(9000);
  for (int i = 0; i < 9000; ++i) {
    const int n = i % 3 == 0 ? i % 11 : i * 7919 % 4001;
    std::string name = n % 5 == 0 ? "Ring" : "ring";
    name += std::string(static_cast<std::size_t>(n % 4), 'x') + std::to_string(n / 4);
    if (n == 0) name.clear();
    entries.emplace_back("p" + std::to_string(i), RecordBuilder().name(name).build(), ItemMeta{});
  }
  std::vector<ScannedItem> expected;
  expected.reserve(entries.size());
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) expected.push_back({&*entry});
  std::stable_sort(expected.begin(), expected.end(), [](const ScannedItem& a, const ScannedItem& b) {
    return UpperCaseAscii(a.entry->Record().Name()) < UpperCaseAscii(b.entry->Record().Name());
  });
  for (const bool twoThreads : {false, true}) {
    std::vector<ScannedItem> items;
    items.reserve(entries.size());
    for (const ItemEntry& entry : entries) items.push_back({&entry});
    (void)SortPageItemsWithClasses(items, twoThreads);
    ASSERT_EQ(items.size(), expected.size());
    for (std::size_t i = 0; i < items.size(); ++i)
      ASSERT_EQ(items[i].entry, expected[i].entry) << twoThreads << i;
  }
}

TEST(PageWriterTest, PagesClosedBehindReachTheirFilesInOrderAndNoneAfterAFailure) {
  TempDir tmp;
  tmp.write("afile", "x");
  const std::string first = tmp.file("first.htm");
  const std::string failing = tmp.file("afile") + "/itm1Sword.htm";
  const std::string third = tmp.write("third.htm", "old third\r\n");
  PageFile page;
  page.WritePageHead(first, HtmlOptionValues{});
  page.WriteLine("first");
  ASSERT_TRUE(page.CloseBehind().ok());
  EXPECT_FALSE(page.IsOpen());
  EXPECT_TRUE(page.Text().empty());
  ASSERT_TRUE(page.Finish().ok());
  EXPECT_NE(tmp.read("first.htm").find("first\r\n"), std::string::npos);

  page.WritePageHead(failing, HtmlOptionValues{});
  ASSERT_TRUE(page.CloseBehind().ok());  // its own failure comes later
  page.WritePageHead(third, HtmlOptionValues{});
  page.WriteLine("third");
  const auto closed = page.CloseBehind();
  ASSERT_FALSE(closed.ok());
  EXPECT_NE(closed.error().find(failing), std::string::npos) << closed.error();
  EXPECT_FALSE(page.IsOpen());
  EXPECT_TRUE(page.Text().empty());
  EXPECT_TRUE(page.Finish().ok());
  EXPECT_EQ(tmp.read("third.htm"), "old third\r\n");  // dropped

  // A page closed at once waits for the one closed behind it first.
  page.WritePageHead(failing, HtmlOptionValues{});
  ASSERT_TRUE(page.CloseBehind().ok());
  page.WritePageHead(third, HtmlOptionValues{});
  EXPECT_FALSE(page.Close().ok());
  EXPECT_EQ(tmp.read("third.htm"), "old third\r\n");
}

// The files of `dir` that are not `keep`: temporary files a page left behind.
std::vector<std::string> OtherFiles(const TempDir& dir, const std::string& keep) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    if (entry.path().filename() != keep) names.push_back(entry.path().filename().string());
  }
  return names;
}

TEST(PageWriterTest, ALargePageGoesOnToItsFileInPiecesAndArrivesWholeOnlyAtItsClose) {
  // Rows of a page larger than one spill, with a spill after each, as the publishing run does.
  const std::string row(1000, 'r');
  for (const bool behind : {false, true}) {
    SCOPED_TRACE(behind ? "closed behind" : "closed at once");
    TempDir tmp;
    const std::string path = tmp.write("page.htm", "old page\r\n");
    PageFile page;
    page.WritePageHead(path, HtmlOptionValues{});
    std::string expected = page.Text();
    for (int i = 0; i < 3000; ++i) {
      page.WriteLine(row + std::to_string(i));
      expected += row + std::to_string(i) + "\r\n";
      page.SpillIfLarge();
      ASSERT_LT(page.Text().size(), kPageSpillBytes + row.size() + 10);
    }
    EXPECT_EQ(tmp.read("page.htm"), "old page\r\n");
    EXPECT_EQ(OtherFiles(tmp, "page.htm").size(), 1u);  // the page's temporary file
    ASSERT_TRUE(behind ? page.CloseBehind().ok() && page.Finish().ok() : page.Close().ok());
    EXPECT_TRUE(tmp.read("page.htm") == expected);
    EXPECT_TRUE(OtherFiles(tmp, "page.htm").empty());
  }
}

TEST(PageWriterTest, ADroppedLargePageLeavesTheFileAndNoTemporaryFile) {
  TempDir tmp;
  const std::string path = tmp.write("page.htm", "old page\r\n");
  {
    PageFile page;
    page.WritePageHead(path, HtmlOptionValues{});
    page.WriteLine(std::string(kPageSpillBytes, 'x'));
    page.SpillIfLarge();
    EXPECT_EQ(OtherFiles(tmp, "page.htm").size(), 1u);
    // The next page drops this one.
    page.WritePageHead(tmp.file("next.htm"), HtmlOptionValues{});
    EXPECT_TRUE(OtherFiles(tmp, "page.htm").empty());
    page.WriteLine(std::string(kPageSpillBytes, 'y'));
    page.SpillIfLarge();
  }  // and the end of the run drops the next one
  EXPECT_EQ(tmp.read("page.htm"), "old page\r\n");
  EXPECT_TRUE(OtherFiles(tmp, "page.htm").empty());
}

}  // namespace
}  // namespace relicor
