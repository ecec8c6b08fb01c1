// Dates: the strict "dd.mm.yyyy" reading of sidecar dates, the texts of any date-time value and
// the local date-time of any file time.
//
// Input: a mode byte, then for mode 0 a date text, for mode 1 a date-time value (8 bytes), for
// mode 2 a file time (8 bytes of seconds since 1970, 4 of nanoseconds).

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "FuzzInput.h"
#include "platform/Clock.h"
#include "text/DateText.h"

namespace {

using namespace relicor;

template <typename T>
T Read(fuzz::FuzzInput& in) {
  T value{};
  const std::string_view bytes = in.Take(sizeof(T));
  std::memcpy(&value, bytes.data(), bytes.size());
  return value;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// The texts of a value: a date text has 10 characters, and reads back as the value's day.
void CheckTexts(DateTime t) {
  const auto date = DateText(t);
  const auto time = TimeText(t);
  const auto both = DateTimeText(t);
  fuzz::Expect(date.has_value() == time.has_value() && date.has_value() == both.has_value(),
               "a value has some texts but not others");
  const DateTime today = EncodeDateTime(CivilDateTime{2026, 12, 5, 0, 0, 0, 0});
  const std::string safe = SafeDateText(t, today);
  if (!date) {
    fuzz::Expect(safe == "05.12.2026", "a value without a date did not give today");
    return;
  }
  fuzz::Expect(date->size() == 10 && time->size() == 8 && *both == *date + " " + *time, "a malformed text");
  fuzz::Expect(safe == *date, "the safe text differs from the date");
  const auto day = ParseDate(*date);
  fuzz::Expect(day.has_value(), "a written date cannot be read");
  fuzz::Expect(*day == std::trunc(t), "a written date reads as another day");
  // Taken apart and put together again, the value has the same texts.
  const DateTime back = EncodeDateTime(*DecodeDateTime(t));
  fuzz::Expect(DateTimeText(back) == both, "a value does not survive its parts");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput in(data, size);
  switch (in.Byte() % 3) {
    case 0: {
      const std::string_view text = in.Rest();
      const auto day = ParseDate(text);
      if (day) {
        fuzz::Expect(DateText(*day) == std::string(TrimBlanks(text)), "a date reads as another date");
        CheckTexts(*day);
      }
      break;
    }
    case 1:
      CheckTexts(Read<double>(in));
      break;
    case 2: {
      const auto seconds = Read<std::int64_t>(in);
      const auto nanoseconds = Read<std::uint32_t>(in) % 1000000000U;
      // As the file layer takes a file's modification time.
      CheckTexts(LocalDateTimeFromUnix(static_cast<double>(seconds) + nanoseconds / 1e9));
      break;
    }
  }
  return 0;
}
