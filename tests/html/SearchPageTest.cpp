// g++ 12 warns falsely inside std::regex's automaton when it is built with the sanitizers
// ("may be used uninitialized" in std::function's move); the warning is off for this file only.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>

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

// The JSON inside the data file's string literal.
std::string DataJson(const std::string& script) {
  const std::string open = "var RELICOR_SEARCH = JSON.parse('";
  const std::size_t from = script.find(open);
  const std::size_t to = script.rfind("');\r\n");
  if (from == std::string::npos || to == std::string::npos || to < from) return "<malformed>";
  std::string json;
  for (std::size_t i = from + open.size(); i < to; ++i) {
    if (script[i] == '\\') ++i;  // the literal's only escape: a doubled backslash
    json += script[i];
  }
  return json;
}

// The data holds every item that has a signature and is not hidden, potions, scrolls and books
// too, in the order of the class pages: each copy's row number names its row group there.
TEST_F(SearchPageTest, DataListsEveryShownItemWithItsRowOnItsPage) {
  test::WriteSamplePublication(tmp);
  tmp.write("out/NOTANITEM.ITM", std::string(400, 'x'));
  options.searchPage = true;
  Publish();
  const std::string script = OutText("itm-search.js");
  EXPECT_EQ(std::count(script.begin(), script.end(), '\n'), 2);
  const std::string json = DataJson(script);
  std::size_t shown = 0;
  for (const test::SampleFile& file : test::SamplePublication()) {
    if (file.relPath.rfind("out/", 0) == 0 && file.relPath.find("Hidden") == std::string::npos) ++shown;
  }
  EXPECT_EQ(json.rfind("{\"count\":" + std::to_string(shown) + ",\"mail\":\"keeper@example.org\",", 0), 0u)
      << json;
  EXPECT_NE(json.find("\"14\":\"itm14UNIQUE.htm\""), std::string::npos);
  // Each entry: [name, class, quality, price, page, [lines], verdict, findings, newest, [copies]].
  const std::regex entry(
      R"re(\[([0-9]+),([0-9]+),([0-2]),(-?[0-9]+),([0-9]+),\[[0-9,]*\],(-?[0-9]+),([01]),(-?[0-9]+),\[((?:[0-9]+,-?[0-9]+,-?[0-9]+,[0-9]+,"[^"]*",[0-9]+,?)+)\]\])re");
  const std::regex copy(R"re([0-9]+,-?[0-9]+,-?[0-9]+,[0-9]+,"([^"]*)",([0-9]+))re");
  std::map<int, std::set<int>> rowsOfPage;
  std::size_t copies = 0;
  std::size_t entries = 0;
  bool noPage = false;
  bool threeCopies = false;
  for (auto it = std::sregex_iterator(json.begin(), json.end(), entry); it != std::sregex_iterator(); ++it) {
    ++entries;
    const int page = std::stoi((*it)[5]);
    noPage = noPage || page == 0;
    const std::string list = (*it)[9];
    std::size_t ofEntry = 0;
    for (auto c = std::sregex_iterator(list.begin(), list.end(), copy); c != std::sregex_iterator(); ++c) {
      ++ofEntry;
      const int row = std::stoi((*c)[2]);
      EXPECT_EQ(row == 0, page == 0) << (*c)[1];
      if (page != 0) {
        EXPECT_TRUE(rowsOfPage[page].insert(row).second) << "row " << row << " twice";
      }
    }
    threeCopies = threeCopies || ofEntry == 3;
    copies += ofEntry;
  }
  EXPECT_EQ(copies, shown);
  EXPECT_EQ(entries, shown - 2);  // an item and its two copies are one entry
  EXPECT_TRUE(threeCopies);
  EXPECT_TRUE(noPage);
  // The row numbers of a page are 1 to n, and the page has exactly these ids.
  for (const auto& [page, rows] : rowsOfPage) {
    EXPECT_EQ(*rows.rbegin(), static_cast<int>(rows.size())) << page;
    const std::string text = OutText(ClassPageFileName(options, false, page));
    EXPECT_NE(text.find("<TR ID=\"r" + std::to_string(rows.size()) + "\">"), std::string::npos) << page;
    EXPECT_EQ(text.find("<TR ID=\"r" + std::to_string(rows.size() + 1) + "\">"), std::string::npos) << page;
  }
  EXPECT_EQ(json.find("SHORTINF"), std::string::npos);
  EXPECT_NE(json.find("\"ShortInf\""), std::string::npos);  // its directory
}

TEST_F(SearchPageTest, VerdictsOnlyWhenTheRunChecksSeeds) {
  tmp.write("out/a.ITM", RecordBuilder().itemClass(1).identified(1).name("Blade").bytes());
  options.searchPage = true;
  Publish();
  EXPECT_NE(DataJson(OutText("itm-search.js")).find("\"verdicts\":[],"), std::string::npos);
  seedVerdict = [](const ItemRecord& record) { return "Seed check: " + record.Name(); };
  Publish();
  EXPECT_NE(DataJson(OutText("itm-search.js")).find("\"verdicts\":[\"Seed check: Blade\"],"),
            std::string::npos);
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
  const std::string script = OutText("itm-search.js");
  for (const char c : script) {
    ASSERT_TRUE(c == '\r' || c == '\n' || (c >= 0x20 && c < 0x7F))
        << "not ASCII: " << int(static_cast<unsigned char>(c));
  }
  // The string literal holds no quote of its own kind before its end.
  EXPECT_EQ(script.find('\''), script.find("JSON.parse('") + 11);
  EXPECT_EQ(script.find('\'', script.find('\'') + 1), script.rfind("');"));
  const std::string data = DataJson(script);
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
  EXPECT_NE(page.find("<script src=\"a%22b-search.js\" defer></script>"), std::string::npos);
  EXPECT_NE(page.find("<script src=\"a%22b-searchui.js\" defer></script>"), std::string::npos);
  EXPECT_EQ(page.find("<script>"), std::string::npos);  // no script in the page itself
  EXPECT_EQ(page.find(" style="), std::string::npos);
  // Every line ends with CR LF.
  EXPECT_EQ(std::count(page.begin(), page.end(), '\n'), std::count(page.begin(), page.end(), '\r'));
  for (const std::string& text : {SearchScriptText(), SearchStyleText()}) {
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), std::count(text.begin(), text.end(), '\r'));
  }
}

TEST(SearchPageText, APrefixWithUrlSignsStillLinksTheFilesBesideThePage) {
  struct Case {
    const char* prefix;
    const char* data;      // the data script's src
    const char* entrance;  // the entrance page's href
  };
  const Case cases[] = {
      {"itm", "itm-search.js", "itm-IP2.htm"},
      {"a#b", "a%23b-search.js", "a%23b-IP2.htm"},  // not a fragment
      {"a?b", "a%3Fb-search.js", "a%3Fb-IP2.htm"},  // not a query
      {"%41", "%2541-search.js", "%2541-IP2.htm"},  // not an escape
      {"x:y", "x%3Ay-search.js", "x%3Ay-IP2.htm"},  // not a scheme
      {"a b", "a%20b-search.js", "a%20b-IP2.htm"},
      {"&'<", "%26%27%3C-search.js", "%26%27%3C-IP2.htm"},
      {"\xe4", "%C3%A4-search.js", "%C3%A4-IP2.htm"},  // Windows-1252 a-umlaut, as UTF-8
  };
  for (const Case& c : cases) {
    HtmlOptionValues options;
    options.filePrefix = c.prefix;
    const std::string page = SearchPageText(options);
    EXPECT_NE(page.find(std::string("<script src=\"") + c.data + "\" defer>"), std::string::npos) << c.prefix;
    EXPECT_NE(page.find(std::string("<a href=\"") + c.entrance + "\">ZUM EINGANG</a>"), std::string::npos)
        << c.prefix;
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
