#pragma once
// The time source. The session owns one, so tests can fix "now".

#include "text/DateText.h"

namespace relicor {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime Now() const = 0;
};

// Local wall-clock time.
class SystemClock final : public Clock {
 public:
  DateTime Now() const override;
};

// A clock that stands still at a set time (for tests and reproducible runs).
class FixedClock final : public Clock {
 public:
  explicit FixedClock(DateTime now) : now_(now) {}
  DateTime Now() const override { return now_; }
  void Set(DateTime now) { now_ = now; }

 private:
  DateTime now_;
};

// Converts seconds since the Unix epoch to a local date-time.
DateTime LocalDateTimeFromUnix(double unixSeconds);

}  // namespace relicor
