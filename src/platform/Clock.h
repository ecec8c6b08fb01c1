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

// A clock that a run over many items holds still: while it is held, it gives the time at which
// the outermost hold began, so the run reads the system time once and all its items get one "now".
class RunClock final : public Clock {
 public:
  explicit RunClock(const Clock& source) : source_(source) {}
  DateTime Now() const override { return holds_ > 0 ? heldAt_ : source_.Now(); }

  class Hold {
   public:
    explicit Hold(RunClock& clock) : clock_(clock) {
      if (clock_.holds_++ == 0) clock_.heldAt_ = clock_.source_.Now();
    }
    ~Hold() { --clock_.holds_; }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    RunClock& clock_;
  };

 private:
  const Clock& source_;
  int holds_ = 0;
  DateTime heldAt_ = 0;
};

// Converts seconds since the Unix epoch to a local date-time.
DateTime LocalDateTimeFromUnix(double unixSeconds);

}  // namespace relicor
