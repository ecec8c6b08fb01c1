#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "PublishFixture.h"
#include "html/CreatePages.h"
#include "html/ItemRows.h"
#include "html/PageWriter.h"
#include "pool/ItemReadAhead.h"
#include "pool/ScanDirectory.h"
#include "support/RecordingDebug.h"
#include "text/ByteText.h"
#include "text/Path.h"

namespace relicor {
namespace {

using test::Bookkeeping;
using test::CrLfLines;
using test::RecordBuilder;

class CreatePagesTest : public test::PublishFixture {
 protected:
  PublishSummary Publish() {
    PublishContext ctx = Context();
    auto result = CreatePages(ctx);
    EXPECT_TRUE(result.ok()) << (result.ok() ? "" : result.error());
    return result.ok() ? *result : PublishSummary{};
  }

  std::set<std::string> OutFiles() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(out)) {
      if (entry.is_regular_file()) names.insert(entry.path().filename().string());
    }
    return names;
  }

  // The item rows of a class page: what stands between the tabs and the page end.
  std::string Rows(const std::string& name) const {
    const std::string text = OutText(name);
    const std::string open = "<CENTER><TABLE COLS=2 WIDTH=\"60%\">\r\n";
    const std::string end = "</TABLE></CENTER>\r\n</BODY>\r\n</HTML>\r\n";
    const std::size_t from = text.find(open);
    if (from == std::string::npos || text.size() < end.size() ||
        text.compare(text.size() - end.size(), end.size(), end) != 0) {
      return "<malformed page>";
    }
    return text.substr(from + open.size(), text.size() - end.size() - from - open.size());
  }

  static RecordBuilder Item(std::string_view name, int itemClass, bool unique = false) {
    RecordBuilder item;
    item.name(name).plainName(name).itemClass(static_cast<std::uint8_t>(itemClass)).identified(1);
    if (unique) item.quality(1);
    return item;
  }
};

const std::vector<std::string> kAxePageStart = {
    "<HTML>",
    "<HEAD>",
    "   <TITLE>Items</TITLE>",
    "<LINK HREF=\"itmip.css\" REL=\"stylesheet\" TITLE=\"PoolStyle\">",
    "</HEAD>",
    "<BODY BGCOLOR=#000000>",
    "<CENTER>&nbsp;</CENTER>",
    "<CENTER><TABLE WIDTH=\"75%\">",
    "<TR>",
    "<TD NOWRAP>",
    "<CENTER>",
    "<A HREF=\"itm-IP2.htm\">ZUM EINGANG</A>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;<A HREF=\"itms2Axe.htm\">Nur "
    "Namen "
    "anzeigen!</A>&nbsp;&nbsp;",
    "<A HREF=\"itm-IPH.htm\">HISTORY</A>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;",
    "</TD></TR><TD NOWRAP CLASS=\"INV1\">",
    "<A CLASS=\"INV1\" HREF=\"itm1Sword.htm\">Weapon</A>&nbsp;&nbsp; |&nbsp;&nbsp;",
    "<A CLASS=\"INV1\" HREF=\"itm5Shield.htm\">Shield</A>&nbsp;&nbsp; |&nbsp;&nbsp;",
    "<A CLASS=\"INV1\" HREF=\"itm6Armor.htm\">Armor</A>&nbsp;&nbsp; |&nbsp;&nbsp;",
    "<A CLASS=\"INV1\" HREF=\"itm7Helm.htm\">Helm</A>&nbsp;&nbsp; |&nbsp;&nbsp;",
    "<A CLASS=\"INV1\" HREF=\"itm10Staff.htm\">Staff</A>&nbsp;&nbsp; |&nbsp;&nbsp;",
    "<A CLASS=\"INV1\" HREF=\"itm12Ring.htm\">Ring</A>&nbsp;&nbsp; |&nbsp;&nbsp;",
    "<A CLASS=\"INV1\" HREF=\"itm13Amulet.htm\">Amulet</A>&nbsp;&nbsp; |&nbsp;&nbsp;",
    "<A CLASS=\"INV1\" HREF=\"itm14UNIQUE.htm\">UNIQUES</A>&nbsp;&nbsp; |&nbsp;&nbsp;",
    "</TD>",
    "</TR>",
    "</TABLE></CENTER>",
    "<CENTER>&nbsp;</CENTER>",
    "<CENTER><TABLE COLS=4 WIDTH=\"60%\" >",
    "<TR>",
    "<TD><CENTER><A HREF=\"itm1Sword.htm\">[-Sword-]</A></CENTER></TD>",
    "<TD><CENTER><FONT COLOR=\"#FF0000\">[-Axe-]</FONT></CENTER></TD>",
    "<TD><CENTER><A HREF=\"itm3Bow.htm\">[-Bow-]</A></CENTER></TD>",
    "<TD><CENTER><A HREF=\"itm4Club.htm\">[-Club-]</A></CENTER></TD>",
    "</TR>",
    "</TABLE></CENTER>",
    "<CENTER>&nbsp;</CENTER>",
    "<CENTER><TABLE COLS=2 WIDTH=\"60%\">",
};

TEST_F(CreatePagesTest, EmptyDirectoryGivesTheWholeFileSet) {
  const PublishSummary summary = Publish();
  std::set<std::string> expected = {"itmip.css", "itm-IPH.htm", "itm-IP2.htm"};
  for (const int c : kPageClasses) {
    expected.insert("itm" + std::to_string(c) + std::string(ClassName(c)) + ".htm");
    expected.insert("itms" + std::to_string(c) + std::string(ClassName(c)) + ".htm");
  }
  ASSERT_EQ(expected.size(), 29u);
  EXPECT_EQ(OutFiles(), expected);
  EXPECT_EQ(summary.files.size(), 29u);
  EXPECT_EQ(summary.files.front(), out + "/itmip.css");
  EXPECT_EQ(summary.files.back(), out + "/itm-IP2.htm");
  EXPECT_EQ(summary.itemCount, 0u);
  EXPECT_EQ(Rows("itms1Sword.htm"), "");
}

TEST_F(CreatePagesTest, AxePageBeginsWithHeadNavigationAndTabs) {
  Publish();
  const auto lines = OutLines("itm2Axe.htm");
  ASSERT_EQ(lines.size(), kAxePageStart.size() + 3);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 36), kAxePageStart);
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 36, lines.end()),
            (std::vector<std::string>{"</TABLE></CENTER>", "</BODY>", "</HTML>"}));
  EXPECT_EQ(OutText("itmip.css"),
            "BODY, TD, P { font-family: arial; font-size: 10pt; color: #C0C0C0; "
            "background: #000000;}\r\nA:link, A:visited  { text-decoration: none; color: "
            "#C00000;}\r\n.INV1 {color: #F0F0F0; background: #606000}\r\n.SM {font-size: 8pt}\r\n");
}

TEST_F(CreatePagesTest, ItemsAreListedOnTheirClassPageOnly) {
  AddItem("out/a.ITM", Item("Great Axe", 2));
  AddItem("out/b.ITM", Item("Sword of Fate", 1, true));  // unique: only on the UNIQUE pages
  AddItem("out/c.ITM", Item("Gold", 11));
  AddItem("out/d.ITM", Item("Book of Fire", 0));
  AddItem("out/e.ITM", Item("Blade", 1));
  Publish();
  const auto holds = [&](const std::string& page, std::string_view name) {
    return Rows(page).find(std::string(name)) != std::string::npos;
  };
  EXPECT_TRUE(holds("itm2Axe.htm", "GREAT AXE"));
  EXPECT_TRUE(holds("itms2Axe.htm", "GREAT AXE"));
  EXPECT_TRUE(holds("itm1Sword.htm", "BLADE"));
  EXPECT_FALSE(holds("itm1Sword.htm", "SWORD OF FATE"));
  EXPECT_TRUE(holds("itm14UNIQUE.htm", "SWORD OF FATE"));
  EXPECT_TRUE(holds("itms14UNIQUE.htm", "SWORD OF FATE"));
  for (const int c : kPageClasses) {
    for (const bool brief : {false, true}) {
      const std::string page = ClassPageFileName(options, brief, c);
      EXPECT_FALSE(holds(page, "GOLD")) << page;
      EXPECT_FALSE(holds(page, "BOOK OF FIRE")) << page;
      if (c != 2) {
        EXPECT_FALSE(holds(page, "GREAT AXE")) << page;
      }
    }
  }
  EXPECT_EQ(report.page.totalCount, 3);
}

TEST_F(CreatePagesTest, CountersAndRowsAsIfEveryItemWereOfferedToEveryPage) {
  // New (added 13.9 days or less before the start), old, hidden, short-info and unique items.
  const Bookkeeping fresh{"Bob", "", "01.03.2026", ""};  // 9.375 days before the start
  const Bookkeeping stale{"Al", "", "24.02.2026", ""};   // 14.375 days
  AddItem("out/a.ITM", Item("Axe", 2), fresh);
  AddItem("out/b.ITM", Item("axe", 2), stale);
  AddItem("out/sub/c.ITM", Item("Ring", 12), fresh);
  AddItem("out/Hidden/d.ITM", Item("Hidden Ring", 12), fresh);
  AddItem("out/ShortInf/e.ITM", Item("Cap", 7), stale);
  AddItem("out/f.ITM", Item("Unique Axe", 2, true), fresh);
  AddItem("out/g.ITM", Item("Gold", 11), fresh);
  AddItem("out/h.ITM", RecordBuilder().signature("ITM1").name("Broken").itemClass(2));
  tmp.write("out/short.ITM", "ITM0 too short");
  Publish();

  // The same run done the long way: every listed item offered to every page, and reported there
  // when it belongs to it (unique items to the unique page, the others to their class's).
  ItemCache refCache(clock);
  PageCounts ref;
  std::vector<ScannedItem> items;
  ScanOptions scan;
  scan.recursive = true;
  ASSERT_TRUE(ScanDirectory(refCache, out, scan, &items).ok());
  SortPageItems(items);
  for (const bool brief : {false, true}) {
    ReportOptions reportOptions = report.options;
    reportOptions.mode = brief ? ReportMode::kBriefPage : ReportMode::kPage;
    ref.totalCount = 0;
    for (const int c : kPageClasses) {
      ref.newArrivals[static_cast<std::size_t>(c)] = 0;
      std::string rows;
      for (const ScannedItem& item : items) {
        const ItemRecord record = item.entry->Record();
        if (!record.HasSignature()) continue;
        if (c == kUniquePageClass ? !record.IsUnique() : record.IsUnique() || record.ItemClass() != c)
          continue;
        const ItemReport built = BuildReport(*item.entry, reportOptions, database);
        ++ref.totalCount;
        if (built.isNew) ++ref.newArrivals[static_cast<std::size_t>(c)];
        AppendItemRows(rows, built, item.path(), ItemRowOptions{report.mailAddress, out});
      }
      const std::string page = ClassPageFileName(options, brief, c);
      EXPECT_EQ(Rows(page), rows) << page;
    }
  }
  EXPECT_EQ(report.page.totalCount, ref.totalCount);
  EXPECT_EQ(report.page.newArrivals, ref.newArrivals);

  EXPECT_EQ(report.page.totalCount, 6);  // a, b, c, d (hidden), e, f
  EXPECT_EQ(report.page.newArrivals[2], 1);
  EXPECT_EQ(report.page.newArrivals[12], 2);  // the hidden ring counts
  EXPECT_EQ(report.page.newArrivals[14], 1);
  EXPECT_EQ(report.page.newArrivals[7], 0);
  EXPECT_EQ(Rows("itm12Ring.htm").find("HIDDEN RING"), std::string::npos);
}

TEST_F(CreatePagesTest, EqualNamesAppearInReverseScanOrder) {
  AddItem("out/1.ITM", Item("Club", 4), {"First", "", "", ""});
  AddItem("out/2.ITM", Item("CLUB", 4), {"Second", "", "", ""});
  AddItem("out/0.ITM", Item("Bone Club", 4), {"Third", "", "", ""});
  Publish();
  const std::string rows = Rows("itms4Club.htm");
  const std::size_t first = rows.find("by First");
  const std::size_t second = rows.find("by Second");
  const std::size_t third = rows.find("by Third");
  ASSERT_NE(first, std::string::npos);
  ASSERT_NE(second, std::string::npos);
  ASSERT_NE(third, std::string::npos);
  EXPECT_LT(third, second);
  EXPECT_LT(second, first);
}

TEST_F(CreatePagesTest, FilesWhoseNamesDifferOnlyInLetterCaseAreTwoItems) {
  AddItem("out/X.ITM", Item("Kings Sword", 1), {"Alice", "", "", ""});
  AddItem("out/x.ITM", Item("Deadly Axe", 2), {"Bob", "", "", ""});
  Publish();
  const std::string swords = Rows("itm1Sword.htm");
  const std::string axes = Rows("itm2Axe.htm");
  EXPECT_NE(swords.find("Itempool-X.ITM\">KINGS SWORD:"), std::string::npos) << swords;
  EXPECT_EQ(swords.find(out), std::string::npos) << "a page never shows the keeper's directories";
  EXPECT_EQ(swords.find("/x.ITM"), std::string::npos) << swords;
  EXPECT_NE(axes.find("Itempool-x.ITM\">DEADLY AXE:"), std::string::npos) << axes;
  EXPECT_NE(axes.find("by Bob"), std::string::npos) << axes;
  EXPECT_EQ(report.page.totalCount, 2);
}

TEST_F(CreatePagesTest, SubdirectoriesOnlyWithTheFlag) {
  AddItem("out/sub/a.ITM", Item("Deep Axe", 2));
  AddItem("out/.hid/b.ITM", Item("Secret Axe", 2));
  subdirs = false;
  Publish();
  EXPECT_EQ(Rows("itm2Axe.htm").find("DEEP AXE"), std::string::npos);
  subdirs = true;
  Publish();
  EXPECT_NE(Rows("itm2Axe.htm").find("DEEP AXE"), std::string::npos);
  EXPECT_EQ(Rows("itm2Axe.htm").find("SECRET AXE"), std::string::npos);
}

TEST_F(CreatePagesTest, HostileTextsNeverBecomeMarkup) {
  const std::string hostile = "<script>alert(1)</script>";
  const Bookkeeping book{"<script>x", "<script>y", "09.03.2026", "09.03.2026"};
  AddItem("out/a.ITM", Item(hostile, 1), book);
  AddItem("out/<script>b.ITM", Item(hostile, 1, true), book);
  AddItem("out/<script>dir/c.ITM", Item(hostile, 12), book);
  AddItem("sent/d.ITM", Item(hostile, 5), book);
  AddItem("sent/<script>e.ITM", Item(hostile, 5), book);
  members = {"<script>x", "Bob"};
  Publish();
  std::size_t pages = 0;
  for (const auto& entry : std::filesystem::directory_iterator(out)) {
    const std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".htm" && ext != ".css")) continue;
    ++pages;
    const std::string text = UpperCaseDE(OutText(entry.path().filename().string()));
    EXPECT_EQ(text.find("<SCRIPT"), std::string::npos) << entry.path();
  }
  EXPECT_EQ(pages, 29u);
  // The items are there, escaped.
  EXPECT_NE(OutText("itm-IPH.htm").find("&lt;SCRIPT&gt;ALERT(1)&lt;/SCRIPT&gt;"), std::string::npos);
  EXPECT_NE(OutText("itm-IPH.htm").find("<TD><B>&lt;script&gt;x</B></TD>"), std::string::npos);
  EXPECT_NE(Rows("itm1Sword.htm").find("&lt;SCRIPT&gt;ALERT(1)&lt;/SCRIPT&gt;"), std::string::npos);
}

TEST_F(CreatePagesTest, FailedPageStopsTheRunAndNamesTheFile) {
  AddItem("out/a.ITM", Item("Axe", 2));
  tmp.write("out/itm6Armor.htm", "old armour page\r\n");
  tmp.mkdir("out/itm5Shield.htm");  // a directory where the page should go
  PublishContext ctx = Context();
  const auto result = CreatePages(ctx);
  ASSERT_FALSE(result.ok());
  EXPECT_NE(result.error().find(out + "/itm5Shield.htm"), std::string::npos) << result.error();
  // The pages are put in place together: a run that stops leaves every file as it was.
  EXPECT_FALSE(std::filesystem::exists(out + "/itm2Axe.htm"));
  EXPECT_EQ(OutText("itm6Armor.htm"), "old armour page\r\n");
  EXPECT_FALSE(std::filesystem::exists(out + "/itm-IP2.htm"));
  for (const std::string& name : test::FileNames(out)) {
    EXPECT_EQ(name.find(".tmp-"), std::string::npos) << name;
    EXPECT_NE(name, "PUBLISH.JNL");
  }
}

TEST_F(CreatePagesTest, UnwritableOutputStopsBeforeAnyPage) {
  const std::string file = tmp.write("afile", "x");
  const std::string bad = file;
  PublishContext ctx{report, options, bad, subdirs, sent, pool, home, members, {}, {}};
  const auto result = CreatePages(ctx);
  ASSERT_FALSE(result.ok());
  EXPECT_NE(result.error().find(file + "/itmip.css"), std::string::npos) << result.error();
}

TEST_F(CreatePagesTest, AFailedPageStopsTheDebugLinesOfLaterPages) {
  // Items with fire damage that no affix explains leave a debug line in the detail pages.
  AddItem("out/a.ITM", Item("Axe", 2).fireDamage(1, 2));
  AddItem("out/s.ITM", Item("Shield", 5).fireDamage(1, 2));
  AddItem("out/m.ITM", Item("Mail", 8).fireDamage(1, 2));
  test::RecordingDebug debug;
  report.debugLine = [&debug](std::string_view line) { debug.WriteDebugLine(line); };
  {
    PublishContext ctx = Context();
    ASSERT_TRUE(CreatePages(ctx).ok());
  }
  EXPECT_EQ(debug.lines,
            (std::vector<std::string>{"ID NOT FOUND AXE", "ID NOT FOUND SHIELD", "ID NOT FOUND MAIL"}));

  debug.lines.clear();
  std::filesystem::remove(out + "/itm5Shield.htm");
  tmp.mkdir("out/itm5Shield.htm");  // a directory where the page should go
  PublishContext ctx = Context();
  const auto result = CreatePages(ctx);
  ASSERT_FALSE(result.ok());
  EXPECT_NE(result.error().find(out + "/itm5Shield.htm"), std::string::npos) << result.error();
  // As if each page were in its file before the next is made: nothing of the mail page.
  EXPECT_EQ(debug.lines, (std::vector<std::string>{"ID NOT FOUND AXE", "ID NOT FOUND SHIELD"}));
}

// With threads, the brief pages are made beside the detail pages: a run that a page stops, or
// that is cancelled from its progress, ends as it ends on one thread.
TEST_F(CreatePagesTest, ThreadsEndARunAsOneThreadDoes) {
  struct Cancelled {};
  const struct {
    const char* what;
    std::string blocked;  // a directory where this page should go
    bool cancel;
    std::vector<std::string> debugLines;
  } kCases[] = {
      {"whole run", "", false, {"ID NOT FOUND AXE", "ID NOT FOUND SHIELD", "ID NOT FOUND MAIL"}},
      {"detail page fails", "itm5Shield.htm", false, {"ID NOT FOUND AXE", "ID NOT FOUND SHIELD"}},
      {"brief page fails",
       "itms5Shield.htm",
       false,
       {"ID NOT FOUND AXE", "ID NOT FOUND SHIELD", "ID NOT FOUND MAIL"}},
      {"cancelled", "", true, {}},
      // The heaviest page, which a second thread takes first: the lighter pages before it are made.
      {"heaviest page fails",
       "itm12Ring.htm",
       false,
       {"ID NOT FOUND AXE", "ID NOT FOUND SHIELD", "ID NOT FOUND MAIL"}},
  };
  // Enough items for threads: three leave a debug line on their detail page.
  AddItem("out/a.ITM", Item("Axe", 2).fireDamage(1, 2));
  AddItem("out/s.ITM", Item("Shield", 5).fireDamage(1, 2));
  AddItem("out/m.ITM", Item("Mail", 8).fireDamage(1, 2));
  for (int i = 0; i < 8; ++i)
    AddItem("out/r" + std::to_string(i) + ".ITM", Item("Ring " + std::to_string(i), 12));
  for (const auto& c : kCases) {
    std::map<ReadAheadMode, std::string> outcomes;
    for (const ReadAheadMode mode : {ReadAheadMode::kOff, ReadAheadMode::kOn}) {
      SCOPED_TRACE(std::string(c.what) + (mode == ReadAheadMode::kOn ? ", threads" : ", one thread"));
      for (const std::string& name : test::FileNames(out)) {
        if (!IsItemFileName(name)) std::filesystem::remove_all(out + "/" + name);
      }
      if (!c.blocked.empty()) tmp.mkdir("out/" + c.blocked);
      test::RecordingDebug debug;
      report.debugLine = [&debug](std::string_view line) { debug.WriteDebugLine(line); };
      PublishContext ctx = Context();
      if (c.cancel)
        ctx.progress = [](std::string_view, std::size_t, std::size_t total) {
          if (total > 0) throw Cancelled{};
        };
      SetReadAheadMode(mode);
      std::string outcome;
      try {
        const auto result = CreatePages(ctx);
        outcome = result ? std::to_string(result->files.size()) + " files" : result.error();
      } catch (const Cancelled&) {
        outcome = "cancelled";
      }
      SetReadAheadMode(ReadAheadMode::kAuto);
      EXPECT_EQ(debug.lines, c.debugLines);
      if (!c.blocked.empty()) {
        EXPECT_NE(outcome.find(out + "/" + c.blocked), std::string::npos) << outcome;
      }
      // A run that stops puts no page in place.
      EXPECT_EQ(std::filesystem::exists(out + "/itm2Axe.htm"), c.blocked.empty() && !c.cancel) << outcome;
      for (const std::string& name : test::FileNames(out)) outcome += " " + name;
      outcomes[mode] = outcome;
    }
    EXPECT_EQ(outcomes[ReadAheadMode::kOff], outcomes[ReadAheadMode::kOn]) << c.what;
  }
}

// Every file of the run, by name, with its text.
std::map<std::string, std::string> FilesIn(const std::string& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (IsItemFileName(name)) continue;
    if (!entry.is_regular_file()) {
      files[name] = "<not a file>";
      continue;
    }
    std::ifstream in(entry.path(), std::ios::binary);
    files[name] = std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return files;
}

// Two threads share the pages, the heaviest first: whichever class outweighs the others, every
// page is written once, with the bytes, counters and debug lines of a run on one thread.
TEST_F(CreatePagesTest, TwoThreadsWriteEveryPageOnceAsOneThreadDoes) {
  const struct {
    const char* what;
    int rings;  // the heavy class
    int eachOther;
  } kPools[] = {{"one heavy class", 150, 1}, {"every class alike", 0, 3}};
  for (const auto& pool : kPools) {
    SCOPED_TRACE(pool.what);
    std::filesystem::remove_all(out);
    tmp.mkdir("out");
    for (int i = 0; i < pool.rings; ++i) AddItem("out/r" + std::to_string(i) + ".ITM", Item("Ring", 12));
    for (int c = 0; c < 16; ++c) {
      for (int i = 0; i < pool.eachOther; ++i) {
        AddItem("out/c" + std::to_string(c) + "-" + std::to_string(i) + ".ITM",
                Item("Thing " + std::to_string(i), c, i == 0).fireDamage(1, 2),
                {"", "", i == 1 ? "10.03.2026" : "", ""});
      }
    }
    std::map<ReadAheadMode, std::string> outcomes;
    std::map<ReadAheadMode, std::map<std::string, std::string>> files;
    for (const ReadAheadMode mode : {ReadAheadMode::kOff, ReadAheadMode::kOn}) {
      for (const std::string& name : test::FileNames(out)) {
        if (!IsItemFileName(name)) std::filesystem::remove(out + "/" + name);
      }
      test::RecordingDebug debug;
      report.debugLine = [&debug](std::string_view line) { debug.WriteDebugLine(line); };
      SetReadAheadMode(mode);
      const PublishSummary summary = Publish();
      SetReadAheadMode(ReadAheadMode::kAuto);
      std::string outcome;
      for (const std::string& file : summary.files) outcome += std::string(FileNamePart(file)) + " ";
      for (const std::string& line : debug.lines) outcome += "\n" + line;
      outcome += "\ntotal " + std::to_string(report.page.totalCount) + " new";
      for (const std::int32_t n : report.page.newArrivals) outcome += " " + std::to_string(n);
      outcomes[mode] = outcome;
      files[mode] = FilesIn(out);
    }
    EXPECT_EQ(outcomes[ReadAheadMode::kOff], outcomes[ReadAheadMode::kOn]);
    EXPECT_EQ(files[ReadAheadMode::kOff].size(), 29u);
    for (const auto& [name, text] : files[ReadAheadMode::kOff]) {
      EXPECT_TRUE(files[ReadAheadMode::kOn][name] == text) << name;
    }
    EXPECT_EQ(files[ReadAheadMode::kOff].size(), files[ReadAheadMode::kOn].size());
  }
}

// A page that cannot be written ends the pages being made on the other thread, large ones that
// have gone on to their temporary files in part too: none is put in place or left half written.
TEST_F(CreatePagesTest, AFailedPageEndsTheOtherThreadAndLeavesNoHalfWrittenPage) {
  // Rows enough for the ring pages to go on to their files while they are made.
  for (int i = 0; i < 300; ++i) AddItem("out/r" + std::to_string(i) + ".ITM", Item("Ring", 12));
  AddItem("out/s.ITM", Item("Sword", 1));
  for (const ReadAheadMode mode : {ReadAheadMode::kOff, ReadAheadMode::kOn}) {
    SCOPED_TRACE(mode == ReadAheadMode::kOn ? "threads" : "one thread");
    std::filesystem::remove_all(out + "/itm1Sword.htm");
    Publish();
    const auto before = FilesIn(out);
    ASSERT_GT(before.at("itm12Ring.htm").size(), kPageSpillBytes);
    std::filesystem::remove(out + "/itm1Sword.htm");
    tmp.mkdir("out/itm1Sword.htm");  // a directory where the first page should go
    SetReadAheadMode(mode);
    PublishContext ctx = Context();
    const auto result = CreatePages(ctx);
    SetReadAheadMode(ReadAheadMode::kAuto);
    ASSERT_FALSE(result.ok());
    EXPECT_NE(result.error().find(out + "/itm1Sword.htm"), std::string::npos) << result.error();
    auto after = FilesIn(out);
    after["itm1Sword.htm"] = before.at("itm1Sword.htm");
    EXPECT_TRUE(after == before);  // no temporary file, no journal, every page as it was
    for (const auto& [name, text] : after)
      EXPECT_TRUE(before.count(name) == 1 && before.at(name) == text) << name;
  }
}

}  // namespace
}  // namespace relicor
