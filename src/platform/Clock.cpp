#include "platform/Clock.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace relicor {

namespace {

// 01.01.0001 00:00:00 and 31.12.9999 23:59:59 UTC, the ends of the calendar.
constexpr double kEarliestUnixSeconds = -62135596800.0;
constexpr double kLatestUnixSeconds = 253402300799.0;

}  // namespace

DateTime LocalDateTimeFromUnix(double unixSeconds) {
  // A file system may hold any 64-bit time; one beyond the calendar is taken as its end.
  unixSeconds =
      std::isnan(unixSeconds) ? 0.0 : std::clamp(unixSeconds, kEarliestUnixSeconds, kLatestUnixSeconds);
  const auto whole = static_cast<std::time_t>(std::floor(unixSeconds));
  const double fraction = unixSeconds - std::floor(unixSeconds);
  std::tm local{};
  localtime_r(&whole, &local);
  CivilDateTime c;
  c.year = local.tm_year + 1900;
  c.month = local.tm_mon + 1;
  c.day = local.tm_mday;
  c.hour = local.tm_hour;
  c.minute = local.tm_min;
  c.second = local.tm_sec;
  c.millisecond = static_cast<int>(fraction * 1000.0);
  return EncodeDateTime(c);
}

DateTime SystemClock::Now() const {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  return LocalDateTimeFromUnix(static_cast<double>(ts.tv_sec) + ts.tv_nsec / 1e9);
}

}  // namespace relicor
