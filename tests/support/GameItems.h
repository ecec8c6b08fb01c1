#pragma once
// Real items of the 1.09 game, as the game made them: the original-Diablo items of a reference
// set of packed items (single player, shareware and multiplayer games) with every field the game
// gave each unpacked item. Converted by tools/convert-pack-items.py; the base item is the 1.09
// index.

#include <cstdint>
#include <span>

#include "item/ItemRecord.h"

namespace relicor::test {

enum class GameList : std::uint8_t { kSinglePlayer, kSpawn, kMultiplayer };

struct GameItem {
  GameList list;
  // Packed inputs.
  std::uint32_t seed;
  std::uint16_t createInfo;
  std::uint8_t baseItem;  // 1.09 index
  std::uint8_t identified;
  std::uint8_t packedDurability, packedMaxDurability, packedCharges, packedMaxCharges;
  // The unpacked item.
  const char* name;       // identified name
  const char* plainName;  // unidentified name
  std::int8_t quality;    // 0 normal, 1 magic, 2 unique
  std::int8_t type;       // item type code (0 misc .. 13 amulet)
  std::int8_t category;   // 1 weapon, 2 armour, 3 misc, 4 gold, 5 quest
  std::int8_t location;
  std::int32_t cursor;
  std::int32_t value;      // price
  std::int32_t baseValue;  // value before the affixes
  std::int32_t minDamage, maxDamage, armorClass;
  std::uint32_t flags;
  std::int32_t miscId, spell, charges, maxCharges, durability, maxDurability;
  std::int32_t pctDamage, pctToHit, pctArmor, strength, magic, dexterity, vitality;
  std::int32_t resFire, resLightning, resMagic, mana, hitPoints, damage, damageFromEnemies, light;
  std::int32_t spellLevels, uniqueId;
  std::int32_t fireMin, fireMax, lightningMin, lightningMax;
  std::int32_t prefixPower, suffixPower;
  std::int32_t affixValueA, affixMultA, affixValueB, affixMultB;
  std::int32_t reqStrength, reqMagic, reqDexterity;
};

// Every item of the set, in the set's order.
std::span<const GameItem> GameItems();

// The 400-byte ITM record the game would have written for the item.
ItemRecord GameItemRecord(const GameItem& item);

}  // namespace relicor::test
