#pragma once
// Builds item records for tests, field by field at their offsets.

#include <cstdint>
#include <string>
#include <string_view>

#include "item/ItemRecord.h"

namespace relicor::test {

class RecordBuilder {
 public:
  // A blank record with the "ITM0" signature, no prefix and no suffix.
  RecordBuilder();

  RecordBuilder& signature(std::string_view four);
  RecordBuilder& ident(std::uint32_t v) { return u32(offset::kIdent, v); }
  RecordBuilder& createInfo(std::uint8_t v) { return u8(offset::kCreateInfo, v); }
  RecordBuilder& source(std::uint8_t v) { return u8(offset::kSource, v); }
  RecordBuilder& itemClass(std::uint8_t v) { return u8(offset::kItemClass, v); }
  RecordBuilder& identified(std::uint8_t v) { return u8(offset::kIdentified, v); }
  RecordBuilder& plainName(std::string_view text) {
    return textAt(offset::kPlainName, offset::kPlainNameEnd, text);
  }
  RecordBuilder& name(std::string_view text) {
    return textAt(offset::kIdentifiedName, offset::kIdentifiedNameEnd, text);
  }
  RecordBuilder& price(std::int32_t v) { return u32(offset::kPrice, static_cast<std::uint32_t>(v)); }
  RecordBuilder& minDamage(std::uint8_t v) { return u8(offset::kMinDamage, v); }
  RecordBuilder& maxDamage(std::uint8_t v) { return u8(offset::kMaxDamage, v); }
  RecordBuilder& armorClass(std::int16_t v) { return i16(offset::kArmorClass, v); }
  RecordBuilder& effectFlags(std::uint32_t v) { return u32(offset::kEffectFlags, v); }
  RecordBuilder& effect(int bit);
  RecordBuilder& useEffect(std::uint8_t v) { return u8(offset::kUseEffect, v); }
  RecordBuilder& spell(std::uint8_t v) { return u8(offset::kSpell, v); }
  RecordBuilder& charges(std::uint8_t v) { return u8(offset::kCharges, v); }
  RecordBuilder& maxCharges(std::uint8_t v) { return u8(offset::kMaxCharges, v); }
  RecordBuilder& durability(std::uint8_t v) { return u8(offset::kDurability, v); }
  RecordBuilder& maxDurability(std::uint8_t v) { return u8(offset::kMaxDurability, v); }
  RecordBuilder& pctDamage(std::int16_t v) { return i16(offset::kPctDamage, v); }
  RecordBuilder& pctToHit(std::int16_t v) { return i16(offset::kPctToHit, v); }
  RecordBuilder& pctArmor(std::int16_t v) { return i16(offset::kPctArmor, v); }
  RecordBuilder& addStrength(std::int16_t v) { return i16(offset::kAddStrength, v); }
  RecordBuilder& addMagic(std::int16_t v) { return i16(offset::kAddMagic, v); }
  RecordBuilder& addDexterity(std::int16_t v) { return i16(offset::kAddDexterity, v); }
  RecordBuilder& addVitality(std::int16_t v) { return i16(offset::kAddVitality, v); }
  RecordBuilder& resFire(std::uint8_t v) { return u8(offset::kResFire, v); }
  RecordBuilder& resLightning(std::uint8_t v) { return u8(offset::kResLightning, v); }
  RecordBuilder& resMagic(std::uint8_t v) { return u8(offset::kResMagic, v); }
  RecordBuilder& addMana(std::int16_t v) { return i16(offset::kAddMana, v); }
  RecordBuilder& addHitPoints(std::int16_t v) { return i16(offset::kAddHitPoints, v); }
  RecordBuilder& addDamage(std::int16_t v) { return i16(offset::kAddDamage, v); }
  RecordBuilder& damageFromEnemies(std::int16_t v) { return i16(offset::kDamageFromEnemies, v); }
  RecordBuilder& lightRadius(std::int16_t v) { return i16(offset::kLightRadius, v); }
  RecordBuilder& spellLevels(std::uint8_t v) { return u8(offset::kSpellLevels, v); }
  RecordBuilder& uniqueIndex(std::uint8_t v) { return u8(offset::kUniqueIndex, v); }
  RecordBuilder& fireDamage(std::int16_t lo, std::int16_t hi) {
    return i16(offset::kFireDamageMin, lo).i16(offset::kFireDamageMax, hi);
  }
  RecordBuilder& lightningDamage(std::int16_t lo, std::int16_t hi) {
    return i16(offset::kLightningDamageMin, lo).i16(offset::kLightningDamageMax, hi);
  }
  RecordBuilder& prefixPower(std::uint8_t v) { return u8(offset::kPrefixPower, v); }
  RecordBuilder& suffixPower(std::uint8_t v) { return u8(offset::kSuffixPower, v); }
  RecordBuilder& affixValueA(std::int16_t v) { return i16(offset::kAffixValueA, v); }
  RecordBuilder& affixValueB(std::int16_t v) { return i16(offset::kAffixValueB, v); }
  RecordBuilder& quality(std::uint8_t v) { return u8(offset::kQuality, v); }
  RecordBuilder& reqStrength(std::uint8_t v) { return u8(offset::kReqStrength, v); }
  RecordBuilder& reqMagic(std::uint8_t v) { return u8(offset::kReqMagic, v); }
  RecordBuilder& reqDexterity(std::uint8_t v) { return u8(offset::kReqDexterity, v); }
  RecordBuilder& baseItem(std::uint8_t v) { return u8(offset::kBaseItem, v); }

  // Fields of the game's item structure that the system does not read, at their offsets.
  RecordBuilder& createInfoWord(std::uint16_t v) {
    return u8(offset::kCreateInfo, v & 0xFF).u8(offset::kSource, v >> 8);
  }
  // Quality 0 normal, 1 magic, 2 unique; location: where the item is worn; category: weapon, armour,
  // misc, gold, quest.
  RecordBuilder& magical(std::uint8_t v) { return u8(offset::kMagical, v); }
  RecordBuilder& location(std::uint8_t v) { return u8(offset::kLocation, v); }
  RecordBuilder& category(std::uint8_t v) { return u8(offset::kCategory, v); }
  RecordBuilder& cursor(std::int32_t v) { return i32(offset::kCursor, v); }
  RecordBuilder& baseValue(std::int32_t v) { return i32(offset::kBaseValue, v); }
  RecordBuilder& enemyArmor(std::int32_t v) { return i32(offset::kEnemyArmor, v); }
  RecordBuilder& affixMultA(std::int32_t v) { return i32(offset::kAffixMultA, v); }
  RecordBuilder& affixMultB(std::int32_t v) { return i32(offset::kAffixMultB, v); }

  // Raw access for bytes the system does not interpret.
  RecordBuilder& u8(std::size_t at, std::uint8_t v);
  RecordBuilder& i16(std::size_t at, std::int16_t v);
  RecordBuilder& u32(std::size_t at, std::uint32_t v);
  RecordBuilder& i32(std::size_t at, std::int32_t v) { return u32(at, static_cast<std::uint32_t>(v)); }
  RecordBuilder& textAt(std::size_t from, std::size_t end, std::string_view text);

  ItemRecord build() const { return record_; }
  std::string bytes() const { return std::string(record_.view()); }

 private:
  ItemRecord record_;
};

}  // namespace relicor::test
