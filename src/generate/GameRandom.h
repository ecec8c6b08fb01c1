#pragma once
// The game's random number generator: a 32-bit linear congruential generator whose state is the
// item seed. Every draw advances the state once.

#include <cstdint>

namespace relicor::gen {

class GameRandom {
 public:
  explicit GameRandom(std::int32_t seed = 0) : state_(static_cast<std::uint32_t>(seed)) {}

  void Seed(std::int32_t seed) { state_ = static_cast<std::uint32_t>(seed); }
  std::int32_t State() const { return static_cast<std::int32_t>(state_); }

  // Advances the state and returns its absolute value (the most negative state stays negative,
  // as the game's absolute value leaves it).
  std::int32_t NextSeed() {
    state_ = state_ * 0x015A4E35u + 1u;
    const auto s = static_cast<std::int32_t>(state_);
    return s == INT32_MIN ? s : (s < 0 ? -s : s);
  }

  // A number from 0 to limit - 1; 0 without a draw when limit is not positive. Small limits use
  // the high half of the state.
  std::int32_t Draw(std::int32_t limit) {
    if (limit <= 0) return 0;
    if (limit < 0xFFFF) return (NextSeed() >> 16) % limit;
    return NextSeed() % limit;
  }

 private:
  std::uint32_t state_;
};

}  // namespace relicor::gen
