#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "text/Cp1252.h"
#include "text/DateText.h"

namespace relicor {
namespace {

TEST(DateText, DayZeroIs30December1899) {
  EXPECT_EQ(DateText(0), "30.12.1899");
  EXPECT_EQ(DateText(1), "31.12.1899");
  EXPECT_EQ(DateText(2), "01.01.1900");
  EXPECT_EQ(DateText(-1), "29.12.1899");
}

TEST(DateText, KnownDays) {
  EXPECT_EQ(DateText(36526), "01.01.2000");
  EXPECT_EQ(DateText(46363), "07.12.2026");
  EXPECT_EQ(DateText(36585), "29.02.2000");
}

TEST(DateText, TimeIsTheFraction) {
  EXPECT_EQ(TimeText(36526.5), "12:00:00");
  EXPECT_EQ(DateTimeText(36526.75), "01.01.2000 18:00:00");
  EXPECT_EQ(TimeText(36526 + (3600.0 * 23 + 60 * 59 + 59) / 86400), "23:59:59");
  // A negative value: the date is the whole part, the time the fraction's absolute value.
  EXPECT_EQ(DateTimeText(-1.25), "29.12.1899 06:00:00");
}

TEST(DateText, OutsideTheCalendarHasNoText) {
  EXPECT_FALSE(DateText(kMaxDateTime));
  EXPECT_FALSE(DateText(kMinDateTime - 1));
  EXPECT_FALSE(DateText(1e300));
  EXPECT_EQ(DateText(kMinDateTime), "01.01.0001");
  EXPECT_EQ(DateText(kMaxDateTime - 0.5), "31.12.9999");
}

// The date and time appended in one go are the date text and the time text with a blank between,
// at the calendar's edges, for negative values and across many fractions of a day; outside the
// calendar nothing is appended.
TEST(DateText, AppendedDateTimeIsDateBlankTime) {
  std::vector<DateTime> values{kMinDateTime, kMinDateTime + 0.999999, -1.25, -0.5, 0, 0.999999999, 36526.75,
                               46365.99999,  kMaxDateTime - 1e-9};
  for (int i = 0; i < 2000; ++i) values.push_back(kMinDateTime + 0.123 + i * 1800.123456789);
  for (const DateTime t : values) {
    std::string text = "x";
    ASSERT_TRUE(AppendDateTimeText(text, t)) << t;
    EXPECT_EQ(text, "x" + *DateText(t) + " " + *TimeText(t)) << t;
    EXPECT_EQ(DateTimeText(t), text.substr(1)) << t;
  }
  for (const DateTime t : {kMaxDateTime, kMinDateTime - 1, 1e300, std::nan("")}) {
    std::string text = "x";
    EXPECT_FALSE(AppendDateTimeText(text, t)) << t;
    EXPECT_EQ(text, "x");
    EXPECT_FALSE(DateTimeText(t));
  }
}

TEST(DateText, SafeDateTextFallsBackToToday) {
  EXPECT_EQ(SafeDateText(36526.9, 46363), "01.01.2000");
  EXPECT_EQ(SafeDateText(1e12, 46363), "07.12.2026");
  EXPECT_EQ(SafeDateText(std::numeric_limits<double>::quiet_NaN(), 46363), "07.12.2026");
}

TEST(DateText, ParseAcceptsExactlyOneDate) {
  EXPECT_EQ(ParseDate("01.01.2000"), 36526.0);
  EXPECT_EQ(ParseDate(" 07.12.2026 "), 46363.0);
  EXPECT_EQ(ParseDate("29.02.2000"), 36585.0);
  for (const char* bad : {"", "1.1.2000", "01.01.2000 12:00:00", "01.01.2000x", "32.01.2000", "29.02.2001",
                          "00.01.2000", "01.13.2000", "01-01-2000", "aa.bb.cccc", "01.01.0000"}) {
    EXPECT_FALSE(ParseDate(bad)) << bad;
  }
}

TEST(DateText, RoundTripsEveryDayOfALeapYear) {
  for (int day = 36526; day < 36526 + 366; ++day) {
    const auto text = DateText(day);
    ASSERT_TRUE(text);
    EXPECT_EQ(ParseDate(*text), day) << *text;
  }
}

TEST(Cp1252, ConvertsBothWays) {
  EXPECT_EQ(Cp1252ToUtf8("gr\xFC\xDF"
                         "e"),
            "gr\xC3\xBC\xC3\x9F"
            "e");
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(Utf8ToCp1252("\xE2\x82\xAC"), "\x80");
  EXPECT_EQ(Utf8ToCp1252("\xE2\x98\x83"), "?");  // snowman: not in Windows-1252
  EXPECT_EQ(Utf8ToCp1252("ab\xC3"), "ab?");      // cut-off sequence
  // Plain ASCII is taken over whole, and so is the ASCII before the first other byte.
  EXPECT_EQ(Utf8ToCp1252("/pool/ShortSword0001.ITM"), "/pool/ShortSword0001.ITM");
  EXPECT_EQ(Utf8ToCp1252(""), "");
  EXPECT_EQ(Utf8ToCp1252("/pool/J\xC3\xB6rg\x7F.ITM"), "/pool/J\xF6rg\x7F.ITM");
  EXPECT_EQ(Utf8ToCp1252(std::string("\xC3\xA4") + "bc"), std::string("\xE4") + "bc");
  EXPECT_EQ(Utf8ToCp1252("abc\x80"), "abc?");  // a lone continuation byte
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

}  // namespace
}  // namespace relicor
