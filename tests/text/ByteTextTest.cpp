#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <string_view>

#include "text/ByteText.h"
#include "text/Path.h"

namespace relicor {
namespace {

std::string P(std::string s) {
  // Test paths are written with '/'; the native separator replaces it.
  for (char& c : s) {
    if (c == '/') c = kPathSeparator;
  }
  return s;
}

TEST(ByteText, ZeroPadNumber) {
  struct Case {
    std::int32_t value;
    int width;
    const char* expected;
  };
  for (const Case& c :
       {Case{0, 3, "000"}, Case{7, 3, "007"}, Case{16, 3, "016"}, Case{384, 3, "384"}, Case{1234, 3, "1234"},
        Case{255, 3, "255"}, Case{12, 4, "0012"}, Case{99999, 4, "99999"}}) {
    EXPECT_EQ(ZeroPadNumber(c.value, c.width), c.expected) << c.value << " width " << c.width;
  }
}

TEST(ByteText, ReplaceCharChangesEveryOccurrenceInPlace) {
  std::string text = "a b  c ";
  EXPECT_EQ(&ReplaceChar(text, ' ', '_'), &text);
  EXPECT_EQ(text, "a_b__c_");
}

TEST(ByteText, CutAfterLastBackslash) {
  struct Case {
    std::string in;
    std::string out;
  };
  for (const Case& c : {Case{"/games/pool/a.itm", "/games/pool/"}, Case{"noseparator", "noseparator"},
                        Case{"/", "/"}, Case{"", ""}, Case{"/games/pool/", "/games/pool/"}}) {
    std::string path = P(c.in);
    CutAfterLastBackslash(path);
    EXPECT_EQ(path, P(c.out)) << c.in;
  }
}

TEST(ByteText, EnsureTrailingBackslash) {
  for (const auto& [in, out] : {std::pair{"", ""}, std::pair{"/x", "/x/"}, std::pair{"/x/", "/x/"}}) {
    std::string path = P(in);
    EnsureTrailingBackslash(path);
    EXPECT_EQ(path, P(out)) << in;
  }
}

TEST(ByteText, PadRightPadsOrCuts) {
  EXPECT_EQ(PadRight("AB", 4), "AB  ");
  EXPECT_EQ(PadRight("ABCDEF", 4), "ABCD");
  EXPECT_EQ(PadRight("", 3), "   ");
  EXPECT_EQ(PadRight("X", 32).size(), 32u);
}

TEST(ByteText, AsciiCaseChangesOnlyTheTwentySixLettersOfEachCase) {
  for (int i = 0; i < 256; ++i) {
    const char c = static_cast<char>(i);
    EXPECT_EQ(AsciiUpper(c), i >= 'a' && i <= 'z' ? static_cast<char>(i - 32) : c) << i;
    EXPECT_EQ(AsciiLower(c), i >= 'A' && i <= 'Z' ? static_cast<char>(i + 32) : c) << i;
  }
  // Windows-1252 letters (ä, é, ß) stay; only a-z change.
  EXPECT_EQ(UpperCaseAscii("az`{@[\xE4\xE9\xDF"), "AZ`{@[\xE4\xE9\xDF");
}

TEST(ByteText, UpperCaseDEFoldsAsciiAndUmlautsOnly) {
  // grüße in Windows-1252: g r 0xFC 0xDF e
  EXPECT_EQ(UpperCaseDE("gr\xFC\xDF"
                        "e"),
            "GR\xDC\xDF"
            "E");
  EXPECT_EQ(UpperCaseDE("\xE4\xF6\xFC"), "\xC4\xD6\xDC");
  // Other accented letters stay.
  EXPECT_EQ(UpperCaseDE("\xE9\xE0"), "\xE9\xE0");
  EXPECT_EQ(UpperCaseDE("c:/pool/hidden/x.itm"), "C:/POOL/HIDDEN/X.ITM");
}

TEST(ByteText, SignedText) {
  EXPECT_EQ(SignedText(5), "+5");
  EXPECT_EQ(SignedText(0), "0");
  EXPECT_EQ(SignedText(-3), "-3");
}

TEST(ByteText, PathsAreConvertedOnlyWhereTheyAreNotAscii) {
  EXPECT_TRUE(IsAscii(""));
  EXPECT_TRUE(IsAscii("sub/A\x7F.ITM"));
  EXPECT_FALSE(IsAscii("sub/\x80.ITM"));
  std::string converted;
  const std::string ascii = "sub/A\x7F.ITM";
  EXPECT_EQ(PathToCp1252(ascii, converted).data(), ascii.data());
  EXPECT_TRUE(converted.empty());
  const std::string utf8 = "P\xC3\xB6ol \xE2\x82\xAC/A.ITM";
  EXPECT_EQ(PathToCp1252(utf8, converted), "P\xF6ol \x80/A.ITM");
  EXPECT_EQ(PathToCp1252(utf8, converted), PathToCp1252(utf8));
}

TEST(ByteText, DecimalTextWritesWhatTheStringFormsWrite) {
  for (const std::int32_t value : {0, 1, -1, 9, 10, -10, 99999, 2147483647, -2147483647, INT32_MIN}) {
    EXPECT_EQ(std::string_view(DecimalText(value)), std::to_string(value));
    EXPECT_EQ(std::string_view(DecimalText(value, true)), SignedText(value));
  }
}

TEST(ByteText, ShortStringKeepsTheFirstCapacityBytes) {
  EXPECT_EQ(ShortString(std::string(300, 'x')).size(), 255u);
  EXPECT_EQ(ShortString("abcdefghijklmnopqrstuvwxyz", kMemberNameCapacity), "abcdefghijklmnopqr");
}

// A text made for the call is changed where it is: the result is the one a view of it gives,
// on both sides of every limit and for texts too long to be kept inside a string.
TEST(ByteText, TextsMadeForTheCallComeOutAsViewsOfThemDo) {
  const std::string texts[] = {
      "", "a", "ab\xE4z", std::string(17, 'q'), "Ring of the Zodiac", std::string(300, 'k')};
  for (const std::string& text : texts) {
    for (const std::size_t limit : {std::size_t{0}, std::size_t{1}, std::size_t{4}, std::size_t{18},
                                    std::size_t{32}, std::size_t{255}}) {
      EXPECT_EQ(ShortString(std::string(text), limit), ShortString(std::string_view(text), limit))
          << text << limit;
      EXPECT_EQ(PadRight(std::string(text), limit), PadRight(std::string_view(text), limit)) << text << limit;
    }
    EXPECT_EQ(ShortString(std::string(text)), ShortString(std::string_view(text))) << text;
    EXPECT_EQ(UpperCaseAscii(std::string(text)), UpperCaseAscii(std::string_view(text))) << text;
  }
}

TEST(ByteText, CompareTextNoCaseFoldsAsciiLetters) {
  EXPECT_EQ(CompareTextNoCase("abc", "ABC"), 0);
  EXPECT_LT(CompareTextNoCase("abc", "ABD"), 0);
  EXPECT_GT(CompareTextNoCase("abcd", "ABC"), 0);
  EXPECT_TRUE(EqualsNoCase("Sword.ITM", "SWORD.itm"));
  EXPECT_FALSE(EqualsNoCase("Sword.ITM", "Sword.IT0"));
}

TEST(Path, ProgramDirIsTheDirectoryOfTheFirst127Characters) {
  EXPECT_EQ(ProgramDirFromExecutable(P("/tools/relicor")), P("/tools/"));
  // A path longer than 127 characters: only the first 127 count.
  const std::string longDir = P("/" + std::string(120, 'd') + "/");  // 122 characters
  const std::string exe = longDir + "sub" + P("/") + "relicor";      // separator at position 126
  EXPECT_EQ(ProgramDirFromExecutable(exe), longDir + "sub" + P("/"));
  const std::string longer = longDir + "subdir" + P("/") + "relicor";  // separator beyond 127
  EXPECT_EQ(ProgramDirFromExecutable(longer), longDir);
}

TEST(Path, JoinAndSplit) {
  EXPECT_EQ(JoinPath(P("/pool"), "A.ITM"), P("/pool/A.ITM"));
  EXPECT_EQ(FileNamePart(P("/pool/A.ITM")), "A.ITM");
  EXPECT_EQ(DirectoryPart(P("/pool/A.ITM")), P("/pool"));
  EXPECT_EQ(DirectoryPart("A.ITM"), "");
}

}  // namespace
}  // namespace relicor
