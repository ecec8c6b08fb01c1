#include "text/DateText.h"

#include <cmath>

namespace relicor {

namespace {

// Days from 01.01.1970 for a proleptic Gregorian date (after H. Hinnant's civil algorithms).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& year, int& month, int& day) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (month <= 2));
}

// 30.12.1899 counted from 01.01.1970.
constexpr long long kEpochOffset = -25569;

bool InRange(DateTime t) {
  return std::isfinite(t) && t >= kMinDateTime && t < kMaxDateTime;
}

// Writes `value` (0 to 10^digits - 1, as a decoded date's parts are) with `digits` digits,
// zeros in front.
char* PutDigits(char* out, int value, int digits) {
  for (int i = digits - 1; i >= 0; --i) {
    out[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  return out + digits;
}

// Three parts of `digits` digits each with `separator` between them ("dd.mm.yyyy", "hh:mm:ss").
std::string ThreeParts(int first, int second, int third, char separator, int lastDigits) {
  std::string text(6 + static_cast<std::size_t>(lastDigits), separator);
  char* out = PutDigits(text.data(), first, 2) + 1;
  out = PutDigits(out, second, 2) + 1;
  PutDigits(out, third, lastDigits);
  return text;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

std::optional<CivilDateTime> DecodeDateTime(DateTime t) {
  if (!InRange(t)) return std::nullopt;
  CivilDateTime c;
  // The date is the whole part (towards zero); the time of day is the fraction's absolute value.
  const double whole = std::trunc(t);
  CivilFromDays(static_cast<long long>(whole) + kEpochOffset, c.year, c.month, c.day);
  long long ms = std::llround(std::fabs(t - whole) * 86400000.0);
  if (ms >= 86400000) ms = 86399999;
  c.hour = static_cast<int>(ms / 3600000);
  c.minute = static_cast<int>(ms / 60000 % 60);
  c.second = static_cast<int>(ms / 1000 % 60);
  c.millisecond = static_cast<int>(ms % 1000);
  return c;
}

DateTime EncodeDateTime(const CivilDateTime& c) {
  const long long days =
      DaysFromCivil(c.year, static_cast<unsigned>(c.month), static_cast<unsigned>(c.day)) - kEpochOffset;
  const double time =
      (c.hour * 3600000.0 + c.minute * 60000.0 + c.second * 1000.0 + c.millisecond) / 86400000.0;
  return days >= 0 ? static_cast<double>(days) + time : static_cast<double>(days) - time;
}

std::optional<std::string> DateText(DateTime t) {
  const auto c = DecodeDateTime(t);
  if (!c) return std::nullopt;
  return ThreeParts(c->day, c->month, c->year, '.', 4);
}

std::optional<std::string> TimeText(DateTime t) {
  const auto c = DecodeDateTime(t);
  if (!c) return std::nullopt;
  return ThreeParts(c->hour, c->minute, c->second, ':', 2);
}

std::optional<std::string> DateTimeText(DateTime t) {
  std::string text;
  if (!AppendDateTimeText(text, t)) return std::nullopt;
  return text;
}

bool AppendDateTimeText(std::string& text, DateTime t) {
  const auto c = DecodeDateTime(t);
  if (!c) return false;
  const std::size_t at = text.size();
  text.resize(at + 19);
  char* out = PutDigits(text.data() + at, c->day, 2);
  *out++ = '.';
  out = PutDigits(out, c->month, 2);
  *out++ = '.';
  out = PutDigits(out, c->year, 4);
  *out++ = ' ';
  out = PutDigits(out, c->hour, 2);
  *out++ = ':';
  out = PutDigits(out, c->minute, 2);
  *out++ = ':';
  PutDigits(out, c->second, 2);
  return true;
}

std::string SafeDateText(DateTime t, DateTime today) {
  if (auto text = DateText(t)) return *text;
  return DateText(today).value_or("");
}

std::optional<DateTime> ParseDate(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.size() != 10 || text[2] != '.' || text[5] != '.') return std::nullopt;
  auto number = [&](std::size_t from, std::size_t count) -> int {
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
      if (text[i] < '0' || text[i] > '9') return -1;
      value = value * 10 + (text[i] - '0');
    }
    return value;
  };
  const int day = number(0, 2);
  const int month = number(3, 2);
  const int year = number(6, 4);
  if (day < 1 || month < 1 || month > 12 || year < 1) return std::nullopt;
  if (day > DaysInMonth(year, month)) return std::nullopt;
  CivilDateTime c;
  c.year = year;
  c.month = month;
  c.day = day;
  return EncodeDateTime(c);
}

}  // namespace relicor
