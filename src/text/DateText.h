#pragma once
// Date-times as the system keeps them: a double count of days since 30 Dec 1899, the fraction
// being the time of day (local time). Texts are fixed: "dd.mm.yyyy", "hh:mm:ss" and
// "dd.mm.yyyy hh:mm:ss".

#include <optional>
#include <string>
#include <string_view>

namespace relicor {

using DateTime = double;

struct CivilDateTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// Earliest and latest day that can be written as a date (01.01.0001 and 31.12.9999).
inline constexpr double kMinDateTime = -693593.0;
inline constexpr double kMaxDateTime = 2958466.0;  // exclusive

std::optional<CivilDateTime> DecodeDateTime(DateTime t);
DateTime EncodeDateTime(const CivilDateTime& c);

// "dd.mm.yyyy", or nothing for a value outside the calendar's range.
std::optional<std::string> DateText(DateTime t);
// "hh:mm:ss", or nothing for a value outside the calendar's range.
std::optional<std::string> TimeText(DateTime t);
// "dd.mm.yyyy hh:mm:ss", or nothing for a value outside the calendar's range.
std::optional<std::string> DateTimeText(DateTime t);
// The same at the end of `text`; false, and nothing appended, outside the calendar's range.
bool AppendDateTimeText(std::string& text, DateTime t);

// The date text of `t`; when `t` cannot be written as a date, the date text of `today`.
std::string SafeDateText(DateTime t, DateTime today);

// Reads exactly one "dd.mm.yyyy" date (surrounding blanks allowed) and nothing else.
std::optional<DateTime> ParseDate(std::string_view text);

}  // namespace relicor
