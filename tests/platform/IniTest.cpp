#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Ini.h"

namespace relicor {
namespace {

TEST(IniTest, UntouchedLinesSurviveAndLineEndsBecomeCrLf) {
  const std::string text =
      "; kept comment\r\n\r\n[Other]\r\n  Spaced Key  =  spaced value  \r\nno equals sign\r\n[S]\r\nk=v\r\n";
  EXPECT_EQ(Ini::Parse(text).Serialize(), text);

  const Ini mixed = Ini::Parse("[A]\nx=1\ry=2\r\nz=3");
  EXPECT_EQ(mixed.Get("A", "y"), "2");
  EXPECT_EQ(mixed.Serialize(), "[A]\r\nx=1\r\ny=2\r\nz=3");  // the last line had no line end
  Ini extended = mixed;
  extended.Set("A", "w", "4");
  EXPECT_EQ(extended.Serialize(), "[A]\r\nx=1\r\ny=2\r\nz=3\r\nw=4\r\n");
}

TEST(IniTest, LookupIgnoresLetterCaseAndBlanks) {
  const Ini ini = Ini::Parse(
      "stray=outside\r\n[Iteminfos]\r\n;SenderName=comment\r\n  sendername =  Bob  \r\n"
      "SenderName=second\r\nEmpty=\r\n[iteminfos]\r\nLate=1\r\n");
  EXPECT_EQ(ini.Get("ITEMINFOS", "SENDERNAME"), "Bob");  // first key of the first section
  EXPECT_EQ(ini.Get("Iteminfos", "Empty"), "");          // present but empty
  EXPECT_EQ(ini.Get("Iteminfos", "Missing"), std::nullopt);
  EXPECT_EQ(ini.Get("Iteminfos", "Late"), std::nullopt);  // in a repeated section
  EXPECT_EQ(ini.Get("", "stray"), std::nullopt);          // keys before any section count nowhere
}

TEST(IniTest, SetRewritesInPlaceAddsAfterLastKeyAndAppendsSections) {
  Ini ini = Ini::Parse("[A]\r\none = 1\r\n; note\r\n\r\n[B]\r\nb=x\r\n");
  ini.Set("a", "ONE", "uno");  // keeps the file's spelling of the key
  ini.Set("A", "two", "2");
  ini.Set("C", "c", "");
  ini.Set("C", "d", "first\r\n[Injected]\r\nx=1");  // a value cannot break the file apart
  EXPECT_EQ(ini.Serialize(),
            "[A]\r\none=uno\r\ntwo=2\r\n; note\r\n\r\n[B]\r\nb=x\r\n[C]\r\nc=\r\nd=first\r\n");
}

TEST(IniTest, RunsOfOtherLinesAreKeptWholeAroundEdits) {
  // Blank lines, comments, stray text and broken headers between keys, with every kind of line end;
  // a text without any key or section; a text ending in a run without a line end.
  const std::string text = "\n\r\n; c\rjunk\n[broken\n[S]\n\n\nk=1\r\n;x\r\r\nm = 2\n\n\n";
  Ini ini = Ini::Parse(text);
  EXPECT_EQ(ini.Serialize(),
            "\r\n\r\n; c\r\njunk\r\n[broken\r\n[S]\r\n\r\n\r\nk=1\r\n;x\r\n\r\nm = 2\r\n\r\n\r\n");
  EXPECT_EQ(ini.Get("S", "m"), "2");
  EXPECT_EQ(ini.Keys("S"), (std::vector<std::string>{"k", "m"}));
  ini.Set("S", "k", "one");
  ini.Set("S", "n", "3");
  ini.Set("T", "t", "4");
  EXPECT_EQ(ini.Serialize(),
            "\r\n\r\n; c\r\njunk\r\n[broken\r\n[S]\r\n\r\n\r\nk=one\r\n;x\r\n\r\nm = "
            "2\r\nn=3\r\n\r\n\r\n[T]\r\nt=4\r\n");
  EXPECT_EQ(Ini::Parse(std::string(100000, '\n')).Serialize().size(), 200000u);
  Ini tail = Ini::Parse("[S]\r\nk=1\r\n;a\n;b");
  tail.Set("S", "j", "2");
  EXPECT_EQ(tail.Serialize(), "[S]\r\nk=1\r\nj=2\r\n;a\r\n;b");
  EXPECT_EQ(Ini::Parse("x\n[A]\n[b]\n[a]\n").Sections(), (std::vector<std::string>{"A", "b"}));
}

// Names and values are found where the text is read or written and come back whole however the
// text moves: a text short enough to sit inside its string, an Ini copied and moved, and a text
// that grows with every key set.
TEST(IniTest, NamesAndValuesComeBackAfterTheTextMovesAndGrows) {
  std::optional<Ini> held = Ini::Parse("[A]\nk= v ");
  Ini moved = std::move(*held);
  held.reset();
  const Ini copy = moved;  // NOLINT(performance-unnecessary-copy-initialization): the copy is what is tried
  using Pairs = std::vector<std::pair<std::string_view, std::string_view>>;
  EXPECT_EQ(copy.KeyValues("a"), (Pairs{{"k", "v"}}));
  EXPECT_EQ(moved.Get("A", "K"), "v");

  Ini grown = Ini::Parse("[S]\r\n first = 1 \r\n");
  for (int i = 0; i < 1000; ++i)
    grown.Set("S", "key" + std::to_string(i), std::string(static_cast<std::size_t>(i % 40), 'v'));
  grown.Set("S", "FIRST", " one ");
  grown.Set("T", " spaced key ", "x=y");
  const auto values = grown.KeyValues("s");
  ASSERT_EQ(values.size(), 1001u);
  EXPECT_EQ(values[0], (std::pair<std::string_view, std::string_view>{"first", "one"}));
  for (int i = 0; i < 1000; ++i) {
    EXPECT_EQ(values[static_cast<std::size_t>(i) + 1].first, "key" + std::to_string(i));
    EXPECT_EQ(values[static_cast<std::size_t>(i) + 1].second,
              std::string(static_cast<std::size_t>(i % 40), 'v'));
  }
  EXPECT_EQ(grown.Get("t", "SPACED KEY"), "x=y");
  EXPECT_EQ(Ini::Parse(grown.Serialize()).KeyValues("S"), values);
}

TEST(IniTest, IntegerReading) {
  struct Case {
    const char* text;
    std::optional<std::int32_t> value;
  };
  const Case cases[] = {
      {"0", 0},
      {"2", 2},
      {"-5", -5},
      {"+7", 7},
      {"0x0", 0},
      {"0x1", 1},
      {"0X1f", 31},
      {"$10", 16},
      {"-$10", -16},
      {"0xFFFFFFFF", -1},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"", std::nullopt},
      {"abc", std::nullopt},
      {"yes", std::nullopt},
      {"0x", std::nullopt},
      {"$", std::nullopt},
      {"12a", std::nullopt},
      {"1.5", std::nullopt},
      {"00x1", std::nullopt},
      {" 5", std::nullopt},
      {"0x1g", std::nullopt},
      {"2147483648", std::nullopt},
      {"0x100000000", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseProfileInteger(c.text), c.value);
  }
}

TEST(IniTest, BooleansAndTexts) {
  EXPECT_TRUE(ProfileBool(std::string("abc"), true));  // not a number: the default
  EXPECT_TRUE(ProfileBool(std::string(""), true));
  EXPECT_FALSE(ProfileBool(std::string("0x0"), true));
  EXPECT_EQ(ProfileBoolText(true), "1");
  EXPECT_EQ(ProfileBoolText(false), "0");
  EXPECT_EQ(ProfileString(std::nullopt, "def"), "def");
  EXPECT_EQ(ProfileString(std::string(""), "def"), "");
  EXPECT_EQ(ProfileString(std::string(2000, 'x'), "def"), std::string(kProfileTextLimit, 'x'));
}

}  // namespace
}  // namespace relicor
