#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "html/ItemRows.h"

namespace relicor {
namespace {

ItemReport Report(std::string_view name, const std::vector<std::string>& lines, bool isNew = false) {
  ItemReport report;
  report.isItem = true;
  report.name = name;
  report.isNew = isNew;
  for (const std::string& line : lines) report.lines.Add(line);
  return report;
}

constexpr ItemRowOptions kOptions{"keeper@example.org", "/pool"};

TEST(ItemRowsTest, NameCellThenOneRowPerLineAndTheNewLabelInTheSecondRow) {
  std::string page = "head\r\n";
  AppendItemRows(page,
                 Report("GOLD SWORD",
                        {"Damage     2-6", "Durability 20/20", "",
                         "<I><FONT CLASS=\"SM\"> by Conan</FONT></I>", "&nbsp;"},
                        true),
                 "/pool/sub/GOLD.ITM", kOptions);
  EXPECT_EQ(page,
            "head\r\n"
            "<TR>\r\n"
            "<TD NOWRAP><B><A HREF=\"mailto:keeper@example.org?subject=Itempool-sub/GOLD.ITM\">GOLD "
            "SWORD:</A></B></TD>\r\n"
            "<TD>Damage     2-6</TD>\r\n</TR>\r\n"
            "<TR><TD>= New =</TD>\r\n<TD>Durability 20/20</TD>\r\n</TR>\r\n"
            "<TR>\r\n<TD></TD>\r\n<TD></TD>\r\n</TR>\r\n"
            "<TR>\r\n<TD></TD>\r\n<TD><I><FONT CLASS=\"SM\"> by Conan</FONT></I></TD>\r\n</TR>\r\n"
            "<TR>\r\n<TD></TD>\r\n<TD>&nbsp;</TD>\r\n</TR>\r\n");
  // An item that is not new has no label; a hidden one and a record without signature no rows.
  std::string old;
  AppendItemRows(old, Report("CAP", {"a", "b"}), "/pool/CAP.ITM", kOptions);
  EXPECT_EQ(old.find("= New ="), std::string::npos);
  EXPECT_EQ(old.substr(old.find("</TD>\r\n") + 7),
            "<TD>a</TD>\r\n</TR>\r\n<TR>\r\n<TD></TD>\r\n<TD>b</TD>\r\n</TR>\r\n");
  ItemReport hidden = Report("CAP", {}, true);
  hidden.hidden = true;
  std::string none;
  AppendItemRows(none, hidden, "/pool/Hidden/CAP.ITM", kOptions);
  AppendItemRows(none, ItemReport{}, "/pool/ODD.ITM", kOptions);
  EXPECT_EQ(none, "");
}

// The rows take exactly their own bytes, after whatever the page held, for reports long and short.
TEST(ItemRowsTest, RowsEndWhereTheirLastLineEnds) {
  for (const bool isNew : {false, true}) {
    for (const std::size_t count : {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{40}}) {
      std::vector<std::string> lines;
      std::string rows;
      for (std::size_t i = 0; i < count; ++i) {
        lines.push_back(std::string(i * 13 % 300, static_cast<char>('a' + i % 26)));
        if (i == 1 && isNew) rows += "<TR><TD>= New =</TD>\r\n";
        if (i > 0 && !(i == 1 && isNew)) rows += "<TR>\r\n<TD></TD>\r\n";
        rows += "<TD>" + lines.back() + "</TD>\r\n</TR>\r\n";
      }
      std::string page(5000, 'p');
      AppendItemRows(page, Report("CAP", lines, isNew), "/pool/CAP.ITM", kOptions);
      const std::size_t nameCellEnd = page.find("</A></B></TD>\r\n") + 15;
      EXPECT_EQ(page.substr(0, 5000), std::string(5000, 'p'));
      EXPECT_EQ(page.substr(nameCellEnd), rows) << count << " " << isNew;
    }
  }
}

TEST(ItemRowsTest, PathAndNameAreEscapedTheMailAddressIsTheKeepers) {
  std::string page;
  AppendItemRows(page, Report("<B>\"X\"&Y", {"x"}), "/pool/A&B<.ITM",
                 ItemRowOptions{"a&b@example.org", "/pool"});
  // In the subject "&" is percent-encoded: it would start another part of the mail.
  EXPECT_NE(page.find("mailto:a&b@example.org?subject=Itempool-"
                      "A%26B&lt;.ITM\">&lt;B&gt;&quot;X&quot;&amp;Y:</A></B></TD>\r\n"),
            std::string::npos)
      << page;
}

TEST(ItemRowsTest, PathsGoIntoPagesAsWindows1252) {
  // "Pöol ß €" in UTF-8, as the file system gives it.
  std::string page;
  AppendItemRows(page, Report("A", {"x"}), "/pool/P\xC3\xB6ol \xC3\x9F \xE2\x82\xAC/A.ITM", kOptions);
  EXPECT_NE(page.find("?subject=Itempool-P\xF6ol \xDF \x80/A.ITM\""), std::string::npos) << page;
}

TEST(ItemRowsTest, ATooLongLinkLosesTheEndOfItsSubjectAndStillClosesBeforeTheRows) {
  // Deep directories and an escaped name: the line would run past 255 characters.
  std::string page;
  AppendItemRows(page, Report(std::string(20, '&'), {"Damage     2-6"}),
                 "/pool/" + std::string(150, 'd') + "/" + std::string(90, 'e') + "/X.ITM", kOptions);
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

}  // namespace
}  // namespace relicor
