#include <gtest/gtest.h>

#include "identify/ReportText.h"

namespace relicor {
namespace {

TEST(ReportTextTest, HtmlEscape) {
  EXPECT_EQ(HtmlEscape("a<b>&\"c\"'"), "a&lt;b&gt;&amp;&quot;c&quot;'");
  EXPECT_EQ(HtmlEscape("plain \xE4"), "plain \xE4");
}

TEST(ReportTextTest, ShortHtmlDropsABrokenReference) {
  EXPECT_EQ(ShortHtml("ab&amp;cd", 9), "ab&amp;cd");
  EXPECT_EQ(ShortHtml("ab&amp;cd", 7), "ab&amp;");
  EXPECT_EQ(ShortHtml("ab&amp;cd", 6), "ab");
  EXPECT_EQ(ShortHtml("ab&quot;", 7), "ab");
  EXPECT_EQ(ShortHtml("abcdefgh", 5), "abcde");
}

}  // namespace
}  // namespace relicor
