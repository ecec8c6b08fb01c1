#include "support/GeneratedRecord.h"

#include "generate/SeedCheck.h"
#include "support/GameItems.h"
#include "support/RecordBuilder.h"

namespace relicor::test {

ItemRecord GeneratedRecord(const gen::GeneratedItem& g, bool identified) {
  namespace layout = gen::layout;
  ItemRecord r = RecordBuilder().build();
  RecordEdit e(r);
  const std::size_t h = layout::kHeader;
  e.i32(layout::kSeed, g.seed)
      .u8(layout::kCreateInfo, static_cast<std::uint8_t>(g.createInfo & 0xFF))
      .u8(layout::kCreateInfo + 1, static_cast<std::uint8_t>(g.createInfo >> 8))
      .i32(layout::kType, g.type)
      .i32(layout::kIdentified, identified ? 1 : 0)
      .u8(layout::kMagical, static_cast<std::uint8_t>(g.magical))
      .text(layout::kName, g.name)
      .text(layout::kIdentifiedName, g.identifiedName)
      .u8(layout::kLocation, static_cast<std::uint8_t>(g.location))
      .u8(layout::kClass, static_cast<std::uint8_t>(g.itemClass))
      .i32(layout::kCursor, g.cursor)
      .i32(layout::kValue, g.value)
      .i32(layout::kPrice, g.price)
      .i32(layout::kMinDamage, g.minDamage)
      .i32(layout::kMaxDamage, g.maxDamage)
      .i32(layout::kArmor, g.armor)
      .i32(layout::kFlags, static_cast<std::int32_t>(g.flags))
      .i32(layout::kMiscId, g.miscId)
      .i32(layout::kSpell, g.spell)
      .i32(layout::kCharges, g.charges)
      .i32(layout::kMaxCharges, g.maxCharges)
      .i32(layout::kDurability, g.durability)
      .i32(layout::kMaxDurability, g.maxDurability)
      .i32(layout::kPctDamage, g.pctDamage)
      .i32(h + 248, g.pctToHit)
      .i32(h + 252, g.pctArmor)
      .i32(h + 256, g.strength)
      .i32(h + 260, g.magic)
      .i32(h + 264, g.dexterity)
      .i32(h + 268, g.vitality)
      .i32(h + 272, g.resFire)
      .i32(h + 276, g.resLightning)
      .i32(h + 280, g.resMagic)
      .i32(h + 284, g.mana)
      .i32(h + 288, g.hitPoints)
      .i32(h + 292, g.damage)
      .i32(h + 296, g.damageFromEnemies)
      .i32(h + 300, g.lightRadius)
      .u8(layout::kSpellLevels, static_cast<std::uint8_t>(g.spellLevels))
      .i32(layout::kUniqueIndex, g.uniqueIndex)
      .i32(h + 312, g.fireMin)
      .i32(h + 316, g.fireMax)
      .i32(h + 320, g.lightningMin)
      .i32(h + 324, g.lightningMax)
      .i32(h + 328, g.targetArmor)
      .u8(layout::kPrefixPower, static_cast<std::uint8_t>(g.prefixPower))
      .u8(layout::kSuffixPower, static_cast<std::uint8_t>(g.suffixPower))
      .i32(layout::kValueAdd1, g.valueAdd1)
      .i32(h + 340, g.valueMult1)
      .i32(h + 344, g.valueAdd2)
      .i32(h + 348, g.valueMult2)
      .u8(layout::kMinStr, static_cast<std::uint8_t>(g.minStr))
      .u8(layout::kMinMag, g.minMag)
      .u8(layout::kMinDex, static_cast<std::uint8_t>(g.minDex))
      .i32(layout::kBaseIndex, g.baseIndex);
  return r;
}

}  // namespace relicor::test
