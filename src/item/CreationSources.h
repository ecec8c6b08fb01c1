#pragma once
// Where the game makes items and at which creation levels: the flags of an item's creation info
// name its source, and each source stores its levels in its own way. The seed check and the
// report's level rule both ask here whether any game could have made an item at its level.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace relicor {

// The creation info: the record's `CreateInfo` byte (level and the first two flags) and its
// `Source` byte (the other flags) as one 16-bit word.
namespace cf {
inline constexpr std::uint16_t kLevel = 0x003F;
inline constexpr std::uint16_t kOnlyGood = 0x0040;
inline constexpr std::uint16_t kUper15 = 0x0080;
inline constexpr std::uint16_t kUper1 = 0x0100;
inline constexpr std::uint16_t kUnique = 0x0200;
inline constexpr std::uint16_t kSmith = 0x0400;
inline constexpr std::uint16_t kSmithPremium = 0x0800;
inline constexpr std::uint16_t kBoy = 0x1000;
inline constexpr std::uint16_t kWitch = 0x2000;
inline constexpr std::uint16_t kHealer = 0x4000;
inline constexpr std::uint16_t kPregen = 0x8000;
inline constexpr std::uint16_t kUseful = kUper15 | kUper1;
inline constexpr std::uint16_t kTown = kSmith | kSmithPremium | kBoy | kWitch | kHealer;
}  // namespace cf

// The games an item is made in, as a set of bits.
namespace games {
inline constexpr std::uint8_t kSinglePlayer = 0x01;
inline constexpr std::uint8_t kMultiplayer = 0x02;
inline constexpr std::uint8_t kSharewareSingle = 0x04;
inline constexpr std::uint8_t kSharewareMulti = 0x08;
inline constexpr std::uint8_t kAll = 0x0F;
}  // namespace games

// Levels `low` to `high`, every `step`th one (2: the even levels), in the games `games`.
struct LevelSpan {
  std::uint8_t low;
  std::uint8_t high;
  std::uint8_t step;
  std::uint8_t games;
};

struct CreationSource {
  std::string_view what;  // "a monster drop"
  std::array<LevelSpan, 2> spans;
  std::uint8_t spanCount;
};

// The sources whose flags the creation info carries; empty where the flags limit nothing (a
// starting item, an item placed when a level is built, a shop's potions and scrolls, a quest
// unique: these keep the level the game's item slot happened to hold).
std::vector<const CreationSource*> SourcesOf(std::uint16_t createInfo);

// The games in which one of these sources stores `level` (all games when nothing limits it).
std::uint8_t GamesReachingLevel(std::span<const CreationSource* const> sources, int level);

// "a monster drop is made at level 1–30, an object's item at an even level 2–32"
// (Windows-1252: the dash is 0x96).
std::string LevelLimitText(std::span<const CreationSource* const> sources);

}  // namespace relicor
