#pragma once
// Date-times for tests, written as the calendar says them.

#include "text/DateText.h"

namespace relicor::test {

inline DateTime Day(int day, int month, int year, int hour = 0, int minute = 0) {
  return EncodeDateTime(CivilDateTime{year, month, day, hour, minute, 0, 0});
}

}  // namespace relicor::test
