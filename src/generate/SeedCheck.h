#pragma once
// The seed check: rebuilds an item record from its seed, creation info and base item index and
// compares every field the game generates with the record. Before the rebuild it asks whether
// any game's source stores the item's creation level. Play state (position, animation,
// identified, current durability and charges, and the like) is not compared; a maximum
// durability or charge count below the generated one is wear, never an edit. What the game's
// shrines do to an item for good (more maximum durability, damage or armour) is play state,
// counted in the fewest shrine visits that reach the file's value.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "generate/ItemGenerator.h"
#include "item/ItemRecord.h"

namespace relicor::gen {

enum class Verdict : std::uint8_t { kGenuine, kEdited, kNotReproducible, kNotAnItem };

struct FieldDifference {
  std::string field;
  std::string file;
  std::string game;
  std::string note;  // set where the game gives no single value: what it gives instead
};

// A value the game's own play made: the field, both values, how the game reaches the file's
// value and the fewest steps that do.
struct PlayChange {
  std::string field;
  std::string file;
  std::string game;
  std::string how;  // "at least 4 Hidden shrines"
  int steps = 0;
};

struct SeedVerdict {
  Verdict verdict = Verdict::kNotAnItem;
  std::vector<FieldDifference> differences;  // kEdited
  std::vector<PlayChange> playState;         // kGenuine
  std::string reason;                        // kNotReproducible
  // The games that make the item, where only some of them do (empty: every game).
  std::vector<GameMode> modes;
};

struct CheckOptions {
  // More play-state steps than this make an item edited.
  std::optional<int> maxSteps;
};

// The verdict of one 400-byte record (the caller checks the signature and the length).
SeedVerdict CheckRecord(const ItemRecord& record, const CheckOptions& options = {});

// The 1.09 item structure that follows the 32-byte header of an ITM record: offsets of the
// fields that generation sets.
namespace layout {
inline constexpr std::size_t kHeader = 32;
inline constexpr std::size_t kSeed = kHeader + 0;
inline constexpr std::size_t kCreateInfo = kHeader + 4;
inline constexpr std::size_t kType = kHeader + 8;
inline constexpr std::size_t kX = kHeader + 12;
inline constexpr std::size_t kIdentified = kHeader + 56;
inline constexpr std::size_t kMagical = kHeader + 60;
inline constexpr std::size_t kName = kHeader + 61;
inline constexpr std::size_t kIdentifiedName = kHeader + 125;
inline constexpr std::size_t kNameLength = 64;
inline constexpr std::size_t kLocation = kHeader + 189;
inline constexpr std::size_t kClass = kHeader + 190;
inline constexpr std::size_t kCursor = kHeader + 192;
inline constexpr std::size_t kValue = kHeader + 196;
inline constexpr std::size_t kPrice = kHeader + 200;
inline constexpr std::size_t kMinDamage = kHeader + 204;
inline constexpr std::size_t kMaxDamage = kHeader + 208;
inline constexpr std::size_t kArmor = kHeader + 212;
inline constexpr std::size_t kFlags = kHeader + 216;
inline constexpr std::size_t kMiscId = kHeader + 220;
inline constexpr std::size_t kSpell = kHeader + 224;
inline constexpr std::size_t kCharges = kHeader + 228;
inline constexpr std::size_t kMaxCharges = kHeader + 232;
inline constexpr std::size_t kDurability = kHeader + 236;
inline constexpr std::size_t kMaxDurability = kHeader + 240;
inline constexpr std::size_t kPctDamage = kHeader + 244;
inline constexpr std::size_t kSpellLevels = kHeader + 304;
inline constexpr std::size_t kRequest = kHeader + 305;
inline constexpr std::size_t kUniqueIndex = kHeader + 308;
inline constexpr std::size_t kPrefixPower = kHeader + 332;
inline constexpr std::size_t kSuffixPower = kHeader + 333;
inline constexpr std::size_t kValueAdd1 = kHeader + 336;
inline constexpr std::size_t kMinStr = kHeader + 352;
inline constexpr std::size_t kMinMag = kHeader + 353;
inline constexpr std::size_t kMinDex = kHeader + 354;
inline constexpr std::size_t kStatFlag = kHeader + 356;
inline constexpr std::size_t kBaseIndex = kHeader + 360;
}  // namespace layout

}  // namespace relicor::gen
