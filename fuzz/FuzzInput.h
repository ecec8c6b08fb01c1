#pragma once
// Reads a fuzzer's input front to back: the harnesses take their switches and lengths from the
// first bytes and leave the rest to the unit under test.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace relicor::fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

  // The next byte, or 0 when the input is used up.
  std::uint8_t Byte() {
    if (rest_.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return b;
  }

  // The next `count` bytes, fewer when the input ends first.
  std::string_view Take(std::size_t count) {
    const std::string_view taken = rest_.substr(0, count);
    rest_.remove_prefix(taken.size());
    return taken;
  }

  std::string_view Rest() const { return rest_; }

 private:
  std::string_view rest_;
};

// Stops the run with a message when an expectation about the unit's output does not hold; the
// fuzzer keeps the input as a finding.
[[noreturn]] void Fail(std::string_view what);

inline void Expect(bool holds, std::string_view what) {
  if (!holds) Fail(what);
}

// A fresh directory in the temporary directory (TMPDIR; scripts/fuzz.sh points it into memory)
// that the process removes when it ends; harnesses that need files write them there.
const std::string& ScratchDirectory();

}  // namespace relicor::fuzz
