#include <gtest/gtest.h>

#include <string>

#include "identify/MailLink.h"

namespace relicor {
namespace {

TEST(MailLink, OnlyWhatWouldEndOrSplitTheSubjectIsPercentEncoded) {
  // clang-format off
  const struct { std::string path, subject; } rows[] = {
      {"SWORD0001.ITM",                                   "SWORD0001.ITM"},
      {"give&cc=thief@evil.example&body=x.ITM",           "give%26cc=thief@evil.example%26body=x.ITM"},
      {"50%#1.ITM",                                       "50%25%231.ITM"},
      {std::string("a\tb\rc\nd\x7F\x01.ITM"),             "a%09b%0Dc%0Ad%7F%01.ITM"},
      {"sub/A b?=+;,@.ITM",                               "sub/A b?=+;,@.ITM"},   // kept as today
      {"<q>\"x\".ITM",                                    "&lt;q&gt;&quot;x&quot;.ITM"},  // escaped after
      {"P\xF6ol \xDF \x80.ITM",                           "P\xF6ol \xDF \x80.ITM"},  // Windows-1252
  };
  // clang-format on
  for (const auto& row : rows) {
    EXPECT_EQ(MailSubjectText(row.path), row.subject) << row.path;
    EXPECT_EQ(MailLinkTail(row.path, "GOLD SWORD"),
              "?subject=Itempool-" + row.subject + "\">GOLD SWORD:</A></B></TD>");
    EXPECT_EQ(MailLinkTail(row.path, "\"A<B>&C\" D"),
              "?subject=Itempool-" + row.subject + "\">&quot;A&lt;B&gt;&amp;C&quot; D:</A></B></TD>");
  }
}

// Every line closes its link and shows the item, within 255 characters, and never cuts a %XX or a
// character reference.
void ExpectClosedLink(const std::string& line, const std::string& shown) {
  EXPECT_LE(line.size(), 255u) << line;
  const std::string end = "\">" + shown + ":</A></B></TD>";
  ASSERT_GE(line.size(), end.size()) << line;
  EXPECT_EQ(line.substr(line.size() - end.size()), end) << line;
  const std::string subject = line.substr(0, line.size() - end.size());
  const std::size_t percent = subject.rfind('%');
  if (percent != std::string::npos) {
    EXPECT_GE(subject.size(), percent + 3) << line;
  }
  const std::size_t amp = subject.rfind('&');
  if (amp != std::string::npos) {
    EXPECT_NE(subject.find(';', amp), std::string::npos) << line;
  }
}

TEST(MailLink, ATooLongSubjectIsCutInItsTextAndTheLinkStillCloses) {
  const std::string longName = std::string(240, 'n') + ".ITM";
  const std::string deep =
      "a/bb/ccc/dddd/eeeee/ffffff/ggggggg/hhhhhhhh/iiiiiiiii/jjjjjjjjjj/kkkkkkkkkkk/"
      "llllllllllll/mmmmmmmmmmmmm/nnnnnnnnnnnnnn/ooooooooooooooo/pppppppppppppppp/X.ITM";
  const std::string line = MailLinkTail(longName, "GOLD SWORD");
  ExpectClosedLink(line, "GOLD SWORD");
  EXPECT_EQ(line.size(), 255u);
  EXPECT_EQ(line.rfind("?subject=Itempool-nnnn", 0), 0u);
  ExpectClosedLink(MailLinkTail(deep, "RING OF THE ZODIAC"), "RING OF THE ZODIAC");
  // The cut never splits an encoded byte or a reference, whatever the length.
  for (std::size_t n = 200; n < 240; ++n) {
    ExpectClosedLink(MailLinkTail(std::string(n, 'x') + "&&&&\"\"\"\"%%%%.ITM", "A&B"), "A&amp;B");
  }
}

TEST(MailLink, ANameTooLongForTheLineIsCutWholeReferencesOnly) {
  // 64 quote marks are 384 characters escaped: the subject goes, the name is cut, the link closes.
  const std::string line = MailLinkTail("A.ITM", std::string(64, '"'));
  EXPECT_LE(line.size(), 255u);
  EXPECT_EQ(line.rfind("?subject=Itempool-\">&quot;", 0), 0u) << line;
  EXPECT_EQ(line.substr(line.size() - 20), "&quot;:</A></B></TD>") << line;
  EXPECT_EQ((line.size() - 34) % 6, 0u) << line;
}

// Appended to a page, the line is the same and its limit counts from where it starts.
TEST(MailLink, AppendedToAPageTheLineIsTheSame) {
  const std::string page = "<TD NOWRAP><B><A HREF=\"mailto:keeper@example.org";
  for (std::size_t n = 200; n < 240; n += 3) {
    const std::string path = std::string(n, 'x') + "&&\"\"%%.ITM";
    for (const std::string& name : {std::string("A&B"), std::string("GOLD SWORD"), std::string(64, '"')}) {
      std::string out = page;
      AppendMailLinkTail(out, path, name);
      EXPECT_EQ(out, page + MailLinkTail(path, name)) << n << " " << name;
    }
  }
}

}  // namespace
}  // namespace relicor
