#pragma once
// Real items of the 1.09 game, as the game made them: the original-Diablo items of a reference
// set of packed items (single player, shareware and multiplayer games) with every field the game
// gave each unpacked item. Converted by tools/convert-pack-items.py; the base item is the 1.09
// index.

#include <cstdint>
#include <span>
#include <string_view>

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

// The three items (Griswold premium and Wirt) whose maximum durability of 60 is above what any
// 1.09 path gives them: the reference set raised it.
bool RaisedDurability(const GameItem& item);

// Named writes into an existing record, at the offsets of the game's item structure: for tests
// that change one field of a real item.
class RecordEdit {
 public:
  explicit RecordEdit(ItemRecord& r) : r_(r) {}
  RecordEdit& i32(std::size_t at, std::int32_t v);
  RecordEdit& u8(std::size_t at, std::uint8_t v);
  RecordEdit& text(std::size_t at, std::string_view s);  // a 64-byte zero-terminated name

 private:
  ItemRecord& r_;
};

}  // namespace relicor::test
