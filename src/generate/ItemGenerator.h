#pragma once
// The 1.09 item generator: rebuilds an item from its seed, its creation info and its base item
// index exactly as the game does when it loads an item, choosing the generation path by the
// creation flags.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "item/CreationSources.h"

namespace relicor::gen {

// The creation info's flags, as the game names them.
namespace cf = ::relicor::cf;

// The game the item was made in. Single player and multiplayer differ in spell choice, the
// unique rule, Pepin's, Adria's and Griswold's stock; the shareware game has fewer items and
// spells, and plays both.
enum class GameMode : std::uint8_t { kSinglePlayer, kMultiplayer, kShareware, kSharewareMultiplayer };

// The mode's bit in a set of games (item/CreationSources.h).
std::uint8_t GameBit(GameMode mode);
std::string_view GameModeName(GameMode mode);

// The fields of the 1.09 item structure that generation sets, with the game's own widths.
struct GeneratedItem {
  std::int32_t seed = 0;
  std::uint16_t createInfo = 0;
  std::int32_t type = 0;
  std::int8_t magical = 0;
  std::string plainName;       // the name shown while the item is unidentified
  std::string identifiedName;  // the name shown once it is identified
  std::int8_t location = 0;
  std::int8_t itemClass = 0;
  std::int32_t cursor = 0;
  std::int32_t value = 0;
  std::int32_t price = 0;
  std::int32_t minDamage = 0;
  std::int32_t maxDamage = 0;
  std::int32_t armor = 0;
  std::uint32_t flags = 0;
  std::int32_t miscId = 0;
  std::int32_t spell = 0;
  std::int32_t charges = 0;
  std::int32_t maxCharges = 0;
  std::int32_t durability = 0;
  std::int32_t maxDurability = 0;
  std::int32_t pctDamage = 0;
  std::int32_t pctToHit = 0;
  std::int32_t pctArmor = 0;
  std::int32_t strength = 0;
  std::int32_t magic = 0;
  std::int32_t dexterity = 0;
  std::int32_t vitality = 0;
  std::int32_t resFire = 0;
  std::int32_t resLightning = 0;
  std::int32_t resMagic = 0;
  std::int32_t mana = 0;
  std::int32_t hitPoints = 0;
  std::int32_t damage = 0;
  std::int32_t damageFromEnemies = 0;
  std::int32_t lightRadius = 0;
  std::int8_t spellLevels = 0;
  std::int32_t uniqueIndex = 0;
  std::int32_t fireMin = 0;
  std::int32_t fireMax = 0;
  std::int32_t lightningMin = 0;
  std::int32_t lightningMax = 0;
  std::int32_t targetArmor = 0;
  std::int8_t prefixPower = -1;
  std::int8_t suffixPower = -1;
  std::int32_t valueAdd1 = 0;
  std::int32_t valueMult1 = 0;
  std::int32_t valueAdd2 = 0;
  std::int32_t valueMult2 = 0;
  std::int8_t minStr = 0;
  std::uint8_t minMag = 0;
  std::int8_t minDex = 0;
  std::int32_t baseIndex = 0;

  // What the inputs do not decide.
  bool uniqueIndexKnown = false;   // the game leaves the unique index of other items as it was
  bool playerDependent = false;    // a unique power read the owner's stats (life, armour, resistance)
  bool goldValueFromFile = false;  // gold keeps the amount it is given
  // An ear: its name holds the victim's name, whose first six letters are the seed and the
  // creation info; its value is the victim's level and its graphic the victim's class.
  bool ear = false;
};

struct GenerateResult {
  std::optional<GeneratedItem> item;
  std::string reason;        // set when there is no item
  bool modeMatters = false;  // a choice differed between single player and multiplayer
};

// Rebuilds the item of base index `baseIndex` from `seed` and `createInfo` in `mode`.
// `goldValue` is the amount of a gold item (the one input the seed does not give).
GenerateResult GenerateItem(std::int32_t baseIndex, std::uint16_t createInfo, std::int32_t seed,
                            GameMode mode, std::int32_t goldValue = 0);

// The item type, class and use effect of base index `baseIndex` in `mode`'s item list, which
// every item the game makes from that index has (a town item or a useful drop takes its base
// from the seed instead); nothing when the list has no such index.
struct BaseKind {
  std::int32_t type = 0;
  std::int8_t itemClass = 0;
  std::int32_t use = 0;
};
std::optional<BaseKind> BaseKindOf(std::int32_t baseIndex, GameMode mode);

// True when the game would shorten `name` because it is too wide for the item box.
bool NameTooWide(std::string_view name);

}  // namespace relicor::gen
