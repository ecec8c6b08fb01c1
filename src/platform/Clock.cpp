#include "platform/Clock.h"

#include <cmath>
#include <ctime>

namespace relicor {

DateTime LocalDateTimeFromUnix(double unixSeconds) {
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
