#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>

#include "PublishFixture.h"
#include "SamplePublication.h"
#include "html/CreatePages.h"
#include "html/HistoryPages.h"
#include "html/PageWriter.h"
#include "html/SearchPage.h"

namespace relicor {
namespace {

using test::RecordBuilder;

const std::string kGoldenDir = RELICOR_HTML_GOLDEN_DIR;

// The pages of a run (every file but the items and their sidecars), by name.
std::map<std::string, std::string> PagesIn(const std::string& dir) {
  std::map<std::string, std::string> pages;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    const std::string ext = entry.path().extension().string();
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file() || name.front() == '.' || ext == ".ITM" || ext == ".IT0" || ext == ".txt")
      continue;
    std::ifstream in(entry.path(), std::ios::binary);
    pages[name] = std::string(std::istreambuf_iterator<char>(in), {});
  }
  return pages;
}

class SearchPageTest : public test::PublishFixture {
 protected:
  SearchPageTest() {
    members = test::kSampleMembers;
    report.mailAddress = "keeper@example.org";
  }

  PublishSummary Publish() {
    PublishContext ctx = Context();
    ctx.seedVerdict = seedVerdict;
    auto result = CreatePages(ctx);
    EXPECT_TRUE(result.ok()) << (result.ok() ? "" : result.error());
    return result.ok() ? *result : PublishSummary{};
  }

  std::function<std::string(const ItemRecord&)> seedVerdict;
};

// With the option off, the run writes the very pages it wrote before the search page existed:
// the same files, byte for byte.
TEST_F(SearchPageTest, OffTheRunWritesTheSamePagesAsBefore) {
  test::WriteSamplePublication(tmp);
  Publish();
  const auto golden = PagesIn(kGoldenDir);
  ASSERT_EQ(golden.size(), 29u);
  const auto pages = PagesIn(out);
  ASSERT_EQ(pages.size(), golden.size());
  for (const auto& [name, text] : golden) {
    ASSERT_TRUE(pages.count(name)) << name;
    EXPECT_EQ(pages.at(name), text) << name;
  }
}

// With it on, the run adds the search page's four files, an id on the first row of each item of a
// detail page and one link on the entrance page; everything else stays as it was.
TEST_F(SearchPageTest, OnTheRunAddsOnlyTheSearchFilesRowIdsAndTheEntranceLink) {
  test::WriteSamplePublication(tmp);
  options.searchPage = true;
  const PublishSummary summary = Publish();
  const auto golden = PagesIn(kGoldenDir);
  auto pages = PagesIn(out);
  for (const char* name : {"itm-search.htm", "itm-search.js", "itm-searchui.js", "itm-search.css"}) {
    EXPECT_TRUE(pages.count(name)) << name;
    EXPECT_NE(std::find(summary.files.begin(), summary.files.end(), out + "/" + name), summary.files.end())
        << name;
    pages.erase(name);
  }
  ASSERT_EQ(pages.size(), golden.size());
  const std::regex rowId(R"re(<TR ID="r([0-9]+)">)re");
  for (const auto& [name, text] : golden) {
    std::string page = pages.at(name);
    if (name == "itm-IP2.htm") {
      const std::string link = SearchLinkLine(options) + "\r\n";
      const std::size_t at = page.find(link);
      ASSERT_NE(at, std::string::npos);
      EXPECT_EQ(page.substr(at - 19, 19), "</TABLE></CENTER>\r\n");  // right below the group bar
      page.erase(at, link.size());
    }
    // The ids count the items of each page from 1.
    std::size_t expected = 1;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), rowId); it != std::sregex_iterator();
         ++it) {
      EXPECT_EQ((*it)[1].str(), std::to_string(expected++)) << name;
    }
    if (name.rfind("itms", 0) == 0) {
      EXPECT_EQ(expected, 1u) << "a brief page has no ids: " << name;
    }
    EXPECT_EQ(std::regex_replace(page, rowId, "<TR>"), text) << name;
  }
  EXPECT_GT(std::count(pages.at("itm14UNIQUE.htm").begin(), pages.at("itm14UNIQUE.htm").end(), '\n'), 0);
  EXPECT_NE(pages.at("itm14UNIQUE.htm").find("<TR ID=\"r1\">"), std::string::npos);
}

// The data holds every item that has a signature and is not hidden, potions, scrolls and books
// too, in the order of the class pages; the n-th item of a page class is the n-th row group there.
TEST_F(SearchPageTest, DataListsEveryShownItemInPageOrder) {
  test::WriteSamplePublication(tmp);
  tmp.write("out/NOTANITEM.ITM", std::string(400, 'x'));
  options.searchPage = true;
  Publish();
  const std::string data = OutText("itm-search.js");
  const std::size_t itemsAt = data.find("\"items\":[\r\n");
  ASSERT_NE(itemsAt, std::string::npos);
  const auto rows = test::CrLfLines(data.substr(itemsAt));
  // "items":[, the rows, the end.
  std::size_t outItems = 0;
  for (const test::SampleFile& file : test::SamplePublication()) {
    if (file.relPath.rfind("out/", 0) == 0 && file.relPath.find("Hidden") == std::string::npos) ++outItems;
  }
  ASSERT_EQ(rows.size(), outItems + 2);
  EXPECT_EQ(rows.back(), "]};");
  // Rows without a page (class 0 and 11) are there.
  const std::regex row(
      R"(^\[([0-9]+),([0-9]+),([0-2]),(-?[0-9]+),([0-9]+),\[[0-9,]*\],[0-9]+,-?[0-9]+,-?[0-9]+,[0-9]+,"[^"]*",-?[0-9]+\],$)");
  std::map<int, int> perPage;
  bool noPage = false;
  for (std::size_t i = 1; i + 1 < rows.size(); ++i) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(rows[i], m, row)) << rows[i];
    const int page = std::stoi(m[5]);
    if (page == 0) noPage = true;
    if (page != 0) ++perPage[page];
  }
  EXPECT_TRUE(noPage);
  // As many row groups with ids on each detail page as the data has items of that page class.
  for (const auto& [page, count] : perPage) {
    const std::string text = OutText(ClassPageFileName(options, false, page));
    EXPECT_NE(text.find("<TR ID=\"r" + std::to_string(count) + "\">"), std::string::npos) << page;
    EXPECT_EQ(text.find("<TR ID=\"r" + std::to_string(count + 1) + "\">"), std::string::npos) << page;
  }
  EXPECT_EQ(data.find("SHORTINF"), std::string::npos);
  EXPECT_NE(data.find("\"ShortInf\""), std::string::npos);  // its directory
  EXPECT_NE(data.find("\"mail\":\"keeper@example.org\""), std::string::npos);
  EXPECT_NE(data.find("\"14\":\"itm14UNIQUE.htm\""), std::string::npos);
}

TEST_F(SearchPageTest, VerdictsOnlyWhenTheRunChecksSeeds) {
  tmp.write("out/a.ITM", RecordBuilder().itemClass(1).identified(1).name("Blade").bytes());
  options.searchPage = true;
  Publish();
  EXPECT_NE(OutText("itm-search.js").find("\"verdicts\":[],"), std::string::npos);
  seedVerdict = [](const ItemRecord& record) { return "Seed check: " + record.Name(); };
  Publish();
  EXPECT_NE(OutText("itm-search.js").find("\"verdicts\":[\"Seed check: Blade\"],"), std::string::npos);
}

// Texts from items, sidecars, file and directory names and the mail address reach the data only
// as script strings that cannot end the string or the script, and never reach the page itself.
TEST_F(SearchPageTest, HostileTextsStayData) {
  const std::string hostile = "</script><script>alert('x')</script>\"\\&";
  tmp.write("out/<script>dir/<b>x.ITM", RecordBuilder().itemClass(1).identified(1).name(hostile).bytes());
  tmp.write("out/<script>dir/<b>x.IT0", "[Iteminfos]\r\nSenderName=<img src=x>\r\n");
  tmp.write("out/b.ITM", RecordBuilder().itemClass(0).identified(1).name("Potion \x85\xe4\x80").bytes());
  report.mailAddress = "a@b\"</script>";
  options.searchPage = true;
  Publish();
  const std::string data = OutText("itm-search.js");
  for (const char c : data) {
    ASSERT_TRUE(c == '\r' || c == '\n' || (c >= 0x20 && c < 0x7F))
        << "not ASCII: " << int(static_cast<unsigned char>(c));
  }
  for (const char* raw : {"<", ">", "&", "'"}) EXPECT_EQ(data.find(raw), std::string::npos) << raw;
  EXPECT_NE(data.find("\\u003c/script\\u003e\\u003cscript\\u003ealert(\\u0027x\\u0027)\\u003c/"
                      "script\\u003e\\u0022\\u005c\\u0026"),
            std::string::npos);
  EXPECT_NE(data.find("\\u003cimg src=x\\u003e"), std::string::npos);
  EXPECT_NE(data.find("\"\\u003cscript\\u003edir\""), std::string::npos);
  EXPECT_NE(data.find("\"\\u003cb\\u003ex.ITM\""), std::string::npos);
  EXPECT_NE(data.find("\"a@b\\u0022\\u003c/script\\u003e\""), std::string::npos);
  EXPECT_NE(data.find("Potion \\u2026\\u00e4\\u20ac"), std::string::npos);
  const std::string page = OutText("itm-search.htm");
  for (const char* text : {"alert", "<img", "<b>", "a@b"})
    EXPECT_EQ(page.find(text), std::string::npos) << text;
  // The page's code puts texts in as text only.
  const std::string code = OutText("itm-searchui.js");
  EXPECT_EQ(code.find("innerHTML"), std::string::npos);
  EXPECT_EQ(code.find("insertAdjacentHTML"), std::string::npos);
  EXPECT_EQ(code.find("document.write"), std::string::npos);
}

TEST(SearchScriptString, EscapesEverythingThatCouldEndTheStringOrTheScript) {
  struct Case {
    std::string text;
    std::string literal;
  };
  const Case cases[] = {
      {"", "\"\""},
      {"Sword of the Ages", "\"Sword of the Ages\""},
      {"\"", "\"\\u0022\""},
      {"\\", "\"\\u005c\""},
      {"'", "\"\\u0027\""},
      {"</script>", "\"\\u003c/script\\u003e\""},
      {"&amp;", "\"\\u0026amp;\""},
      {"a\r\nb\t\x7f", "\"a\\u000d\\u000ab\\u0009\\u007f\""},
      {std::string("\0", 1), "\"\\u0000\""},
      {"\xe4\xf6\xfc\xdf", "\"\\u00e4\\u00f6\\u00fc\\u00df\""},  // Windows-1252 umlauts
      {"\x80\x85\x99", "\"\\u20ac\\u2026\\u2122\""},             // the 0x80-0x9F block
      {"\xa0\xff", "\"\\u00a0\\u00ff\""},
  };
  for (const Case& c : cases) {
    std::string out;
    AppendScriptString(out, c.text);
    EXPECT_EQ(out, c.literal) << c.text;
  }
}

TEST(SearchPageText, DeclaresItsEncodingViewportAndPolicy) {
  HtmlOptionValues options;
  options.filePrefix = "a\"b";
  const std::string page = SearchPageText(options);
  EXPECT_EQ(page.rfind("<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n", 0),
            0u);
  EXPECT_NE(page.find("content=\"default-src 'none'; script-src 'self'; style-src 'self';"),
            std::string::npos);
  EXPECT_NE(page.find("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"),
            std::string::npos);
  EXPECT_NE(page.find("<script src=\"a&quot;b-search.js\" defer></script>"), std::string::npos);
  EXPECT_NE(page.find("<script src=\"a&quot;b-searchui.js\" defer></script>"), std::string::npos);
  EXPECT_EQ(page.find("<script>"), std::string::npos);  // no script in the page itself
  EXPECT_EQ(page.find(" style="), std::string::npos);
  // Every line ends with CR LF.
  EXPECT_EQ(std::count(page.begin(), page.end(), '\n'), std::count(page.begin(), page.end(), '\r'));
  for (const std::string& text : {SearchScriptText(), SearchStyleText()}) {
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), std::count(text.begin(), text.end(), '\r'));
  }
}

TEST_F(SearchPageTest, AFailedSearchFileLeavesTheOldSetWhole) {
  test::WriteSamplePublication(tmp);
  Publish();
  const auto before = PagesIn(out);
  tmp.mkdir("out/itm-search.js");  // a directory where the data should go
  options.searchPage = true;
  PublishContext ctx = Context();
  const auto result = CreatePages(ctx);
  ASSERT_FALSE(result.ok());
  EXPECT_NE(result.error().find("itm-search.js"), std::string::npos) << result.error();
  EXPECT_EQ(PagesIn(out), before);
}

}  // namespace
}  // namespace relicor
