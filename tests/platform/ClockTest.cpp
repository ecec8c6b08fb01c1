#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <string>

#include "platform/Clock.h"
#include "text/DateText.h"

namespace relicor {
namespace {

// Runs the tests in UTC and puts the machine's time zone back afterwards.
class LocalDateTimeFromUnixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* tz = std::getenv("TZ")) saved_ = tz;
    ::setenv("TZ", "UTC0", 1);
    ::tzset();
  }
  void TearDown() override {
    if (saved_) {
      ::setenv("TZ", saved_->c_str(), 1);
    } else {
      ::unsetenv("TZ");
    }
    ::tzset();
  }

 private:
  std::optional<std::string> saved_;
};

TEST_F(LocalDateTimeFromUnixTest, FileTimesWithinAndBeyondTheCalendar) {
  struct Case {
    double unixSeconds;
    const char* text;
  };
  // clang-format off
  const Case cases[] = {
      {0.0,                                               "01.01.1970 00:00:00"},
      {1796472000.5,                                      "05.12.2026 12:00:00"},
      {-2209161600.0,                                     "30.12.1899 00:00:00"},
      {253402300799.0,                                    "31.12.9999 23:59:59"},
      {-62135596800.0,                                    "01.01.0001 00:00:00"},
      // A file system holds any 64-bit time (tmpfs takes 2^63 - 1 seconds): held at the ends.
      {static_cast<double>(std::numeric_limits<std::int64_t>::max()), "31.12.9999 23:59:59"},
      {static_cast<double>(std::numeric_limits<std::int64_t>::min()), "01.01.0001 00:00:00"},
      {1e300,                                             "31.12.9999 23:59:59"},
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(DateTimeText(LocalDateTimeFromUnix(c.unixSeconds)), c.text) << c.unixSeconds;
  }
}

}  // namespace
}  // namespace relicor
