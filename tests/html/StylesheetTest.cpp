#include <gtest/gtest.h>

#include "html/PublishOptions.h"
#include "html/Stylesheet.h"
#include "support/TempDir.h"

namespace relicor {
namespace {

using test::TempDir;

TEST(StylesheetTest, DesignValuesGiveFourLines) {
  TempDir tmp;
  ASSERT_TRUE(WriteStylesheet(tmp.path(), HtmlOptionValues{}).ok());
  EXPECT_EQ(tmp.read("itmip.css"),
            "BODY, TD, P { font-family: arial; font-size: 10pt; color: #C0C0C0; background: #000000;}\r\n"
            "A:link, A:visited  { text-decoration: none; color: #C00000;}\r\n"
            ".INV1 {color: #F0F0F0; background: #606000}\r\n"
            ".SM {font-size: 8pt}\r\n");
}

TEST(StylesheetTest, OptionalPartsFollowTheirFields) {
  struct Case {
    const char* what;
    void (*change)(HtmlOptionValues&);
    const char* expected;
  };
  const Case cases[] = {
      {"optional fields empty",
       [](HtmlOptionValues& o) { o.fontface = o.fontsize = o.color = o.linkColor = o.fontsize2 = ""; },
       "BODY, TD, P { background: #000000;}\r\n"
       ".INV1 {color: #F0F0F0; background: #606000}\r\n"},
      {"background and highlight empty",
       [](HtmlOptionValues& o) { o.bgColor = o.inv1Color = o.inv1BgColor = ""; },
       "BODY, TD, P { font-family: arial; font-size: 10pt; color: #C0C0C0; background: ;}\r\n"
       "A:link, A:visited  { text-decoration: none; color: #C00000;}\r\n"
       ".INV1 {color: ; background: }\r\n"
       ".SM {font-size: 8pt}\r\n"},
      {"values as typed",
       [](HtmlOptionValues& o) {
         o.color = "red";
         o.fontface = "Times New Roman, serif";
       },
       "BODY, TD, P { font-family: Times New Roman, serif; font-size: 10pt; color: red; background: "
       "#000000;}\r\n"
       "A:link, A:visited  { text-decoration: none; color: #C00000;}\r\n"
       ".INV1 {color: #F0F0F0; background: #606000}\r\n"
       ".SM {font-size: 8pt}\r\n"},
  };
  for (const Case& c : cases) {
    HtmlOptionValues options;
    c.change(options);
    EXPECT_EQ(StylesheetText(options), c.expected) << c.what;
  }
}

TEST(StylesheetTest, FileNameFollowsThePrefix) {
  TempDir tmp;
  HtmlOptionValues options;
  options.filePrefix = "ab";
  ASSERT_TRUE(WriteStylesheet(tmp.path(), options).ok());
  EXPECT_EQ(tmp.read("abip.css"), StylesheetText(options));
  options.filePrefix = "";
  EXPECT_EQ(StylesheetFileName(options), "ip.css");
  EXPECT_EQ(OutputPrefix(options, true), "s");
  options.filePrefix = "itm";
  EXPECT_EQ(OutputPrefix(options, false), "itm");
  EXPECT_EQ(OutputPrefix(options, true), "itms");
}

TEST(StylesheetTest, UnwritableDirectoryNamesTheFile) {
  TempDir tmp;
  tmp.write("afile", "x");
  const auto written = WriteStylesheet(tmp.file("afile"), HtmlOptionValues{});
  ASSERT_FALSE(written.ok());
  EXPECT_NE(written.error().find(tmp.file("afile") + "/itmip.css"), std::string::npos) << written.error();
}

}  // namespace
}  // namespace relicor
