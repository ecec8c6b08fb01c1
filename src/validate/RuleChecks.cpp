#include "validate/RuleChecks.h"

#include "item/AffixTables.h"
#include "item/BaseItems.h"
#include "item/CreationSources.h"
#include "item/SpellTables.h"
#include "item/Uniques.h"
#include "validate/Findings.h"

namespace relicor {

namespace {

constexpr int kLastSpell = kSpellCount - 1;

bool InRange(std::uint8_t value, std::uint8_t lo, std::uint8_t hi) {
  return lo <= value && value <= hi;
}

// What each limited effect is checked against: its table (whose highest value is the limit), its
// two codes, and whether the prefix or the suffix power must give it.
struct EffectRule {
  AffixTable table;
  std::int32_t tooMuch;
  std::int32_t hacked;
};

EffectRule RuleOf(RuledEffect effect) {
  switch (effect) {
    case RuledEffect::kPctDamage:
      return {AffixTable::kPctDamage, rule::kTooMuchPctDamage, rule::kHackedPctDamage};
    case RuledEffect::kPctToHit:
      return {AffixTable::kToHit, rule::kTooMuchPctToHit, rule::kHackedPctToHit};
    case RuledEffect::kPctArmor:
      return {AffixTable::kPctArmor, rule::kTooMuchPctArmor, rule::kHackedPctArmor};
    case RuledEffect::kAllAttributes:
      return {AffixTable::kAllAttributes, rule::kTooMuchAllAttributes, rule::kHackedAllAttributes};
    case RuledEffect::kStrength:
      return {AffixTable::kStrength, rule::kTooMuchStrength, rule::kHackedStrength};
    case RuledEffect::kMagic:
      return {AffixTable::kMagic, rule::kTooMuchMagic, rule::kHackedMagic};
    case RuledEffect::kDexterity:
      return {AffixTable::kDexterity, rule::kTooMuchDexterity, rule::kHackedDexterity};
    case RuledEffect::kVitality:
      return {AffixTable::kVitality, rule::kTooMuchVitality, rule::kHackedVitality};
    case RuledEffect::kResistAll:
      return {AffixTable::kResAll, rule::kTooMuchResist, rule::kHackedResist};
    case RuledEffect::kResFire:
      return {AffixTable::kResFire, rule::kTooMuchResist, rule::kHackedResist};
    case RuledEffect::kResLightning:
      return {AffixTable::kResLightning, rule::kTooMuchResist, rule::kHackedResist};
    case RuledEffect::kResMagic:
      return {AffixTable::kResMagic, rule::kTooMuchResist, rule::kHackedResist};
    case RuledEffect::kMana:
      return {AffixTable::kMana, rule::kTooMuchMana, rule::kHackedMana};
    case RuledEffect::kHitPoints:
      return {AffixTable::kHitPoints, rule::kTooMuchHitPoints, rule::kHackedHitPoints};
    case RuledEffect::kFlatDamage:
      return {AffixTable::kFlatDamage, rule::kTooMuchDamagePoints, rule::kHackedDamagePoints};
    case RuledEffect::kDamageFromEnemies:
      return {AffixTable::kDamageReduction, rule::kHackedDamageReductionEffect, rule::kHackedDamageReduction};
  }
  return {AffixTable::kPctDamage, 0, 0};
}

// Whether the item's affix powers give `effect`.
bool PowerGives(RuledEffect effect, const ItemRecord& item, bool vkMode) {
  const std::uint8_t prefix = item.PrefixPower();
  const std::uint8_t suffix = item.SuffixPower();
  switch (effect) {
    case RuledEffect::kPctDamage:
      return InRange(prefix, 2, 5);
    case RuledEffect::kPctToHit:
      return InRange(prefix, 0, 1) || InRange(prefix, 4, 5);  // plain or combined with damage
    case RuledEffect::kPctArmor:
      return InRange(prefix, 6, 7);
    case RuledEffect::kAllAttributes:
      return InRange(suffix, 27, 28);
    case RuledEffect::kStrength:
      return InRange(suffix, 19, 20);
    case RuledEffect::kMagic:
      return InRange(suffix, 21, 22);
    case RuledEffect::kDexterity:
      return InRange(suffix, 23, 24);
    case RuledEffect::kVitality:
      return InRange(suffix, 25, 26);
    case RuledEffect::kResistAll:
      return prefix == power::kResistAll;
    case RuledEffect::kResFire:
      return prefix == power::kResFire;
    case RuledEffect::kResLightning:
      return prefix == power::kResLightning;
    case RuledEffect::kResMagic:
      return prefix == power::kResMagic;
    case RuledEffect::kMana:
      return InRange(prefix, 33, 34);
    case RuledEffect::kHitPoints:
      return InRange(suffix, 31, 32);
    case RuledEffect::kFlatDamage:
      return suffix == power::kFlatDamage;
    case RuledEffect::kDamageFromEnemies:
      // A suffix; in V&K mode a prefix of the same powers too.
      return InRange(suffix, 29, 30) || (vkMode && InRange(prefix, 29, 30));
  }
  return true;
}

}  // namespace

bool VkSpeedExemption(int baseItem, bool vkMode) {
  return vkMode && baseItem == kVkSpeedExemptBaseItem;
}

RuleBreaches EffectRules(RuledEffect effect, const ItemRecord& item, std::int32_t value, bool vkMode) {
  const EffectRule rule = RuleOf(effect);
  RuleBreaches found;
  if (effect == RuledEffect::kDamageFromEnemies) {
    if (value < AffixLimit(rule.table, vkMode)) found.Add(rule.tooMuch, value);
  } else {
    std::int32_t limit = AffixLimit(rule.table, vkMode);
    if (effect == RuledEffect::kMana && item.ItemClass() != kStaffClass) {
      // Wyrm's and hydra's (the last two rows) come only on staffs; other items end with dragon's.
      const auto manaRows = AffixRows(AffixTable::kMana, vkMode);
      limit = manaRows[manaRows.size() - 3].MaxValue;
    }
    if (value > limit) found.Add(rule.tooMuch, value);
  }
  if (!PowerGives(effect, item, vkMode)) found.Add(rule.hacked, value);
  return found;
}

RuleBreaches UniqueRules(const ItemRecord& item, bool vkMode) {
  RuleBreaches found;
  const UniqueRow unique = UniqueOf(item.UniqueIndex(), vkMode);
  switch (unique.Availability) {
    case kUniqueSinglePlayerOnly:
      found.Add(rule::kSinglePlayerItem, 0);
      break;
    case kUniqueNotInMultiplayer:
      found.Add(rule::kNotInMultiplayer, 0);
      break;
    case kUniqueNeverInGame:
      found.Add(rule::kNeverInGame, 0);
      break;
    default:
      break;
  }
  const std::uint8_t baseItem = item.BaseItem();
  if (unique.BaseItemLow == kNoBaseItem) {
    found.Add(rule::kUniqueDefinitionMissed, baseItem);
  } else if (baseItem < unique.BaseItemLow || baseItem > unique.BaseItemHigh) {
    found.Add(unique.BaseItemHigh == kNoBaseItem ? rule::kUniqueDefinitionMissed : rule::kHackedUniqueType,
              baseItem);
  }
  return found;
}

RuleBreaches ItemTypeRules(const ItemRecord& item, bool vkMode) {
  RuleBreaches found;
  const BaseItemRow base = BaseItemOf(item.BaseItem(), vkMode);
  if (base.Class != item.ItemClass()) {
    const std::int32_t value = item.BaseItem() * 256 + item.ItemClass();
    found.Add(base.Class == kUndefinedBaseItemClass ? rule::kItemTypeUndefined : rule::kItemTypeMismatch,
              value);
  }
  return found;
}

RuleBreaches AttackSpeedRules(const ItemRecord& item, bool vkMode) {
  RuleBreaches found;
  if (item.SuffixPower() != power::kSpeed && !VkSpeedExemption(item.BaseItem(), vkMode))
    found.Add(rule::kHackedSpeed, 0);
  return found;
}

RuleBreaches HitRecoveryRules(const ItemRecord& item) {
  RuleBreaches found;
  if (item.SuffixPower() != power::kRecovery) found.Add(rule::kHackedRecovery, 0);
  return found;
}

RuleBreaches ChargesRules(const ItemRecord& item, bool vkMode) {
  RuleBreaches found;
  const std::uint8_t spell = item.Spell();
  const bool staffSpell = item.ItemClass() == kStaffClass && spell <= kLastSpell;
  if (!staffSpell) {
    found.Add(rule::kInvalidSpellCharges, 0);
  } else {
    const std::int32_t most = MaxChargesOf(spell, vkMode);
    const std::int32_t limit = item.PrefixPower() == power::kPlentyCharges ? 3 * most : most;
    if (item.MaxCharges() > limit) found.Add(rule::kTooMuchCharges, 0);
  }
  return found;
}

RuleBreaches IndestructibleRules(const ItemRecord& item, bool vkMode) {
  RuleBreaches found;
  // A durability suffix can lift the durability to exactly 255, which the game treats as
  // indestructible.
  const bool allowed = item.SuffixPower() == power::kIndestructible ||
                       (item.SuffixPower() == power::kDurability && item.MaxDurability() == 255) ||
                       (item.IsUnique() && UniqueOf(item.UniqueIndex(), vkMode).MayBeIndestructible == 1);
  if (!allowed) found.Add(rule::kIndestructible, 0);
  return found;
}

RuleBreaches SourceLevelRules(const ItemRecord& item, bool vkMode) {
  RuleBreaches found;
  // The level a source stores (V&K mode keeps its own limit): a level no game's source of these
  // flags stores is a hack.
  const int level = item.CreationLevel();
  const std::uint16_t createInfo = static_cast<std::uint16_t>(item.CreateInfo() | item.Source() << 8);
  const bool unreachable =
      vkMode ? kLevelLimitVk < level : GamesReachingLevel(SourcesOf(createInfo), level) == 0;
  if (unreachable) found.Add(rule::kSourceHackCode, item.CreationLevel());
  return found;
}

RuleBreaches VendorRules(const ItemRecord& item, std::int32_t prefixLevel, std::int32_t griswold,
                         std::int32_t wirt) {
  RuleBreaches found;
  if (item.Source() == 8) {
    if (prefixLevel > kVendorLevelLimit) found.Add(rule::kPrefixNotFromGriswold, prefixLevel);
    if (griswold > kVendorPriceLimit) found.Add(rule::kExceedsPriceLimit, griswold);
  }
  if (item.Source() == 16 && wirt > kVendorPriceLimit) found.Add(rule::kExceedsPriceLimit, wirt);
  return found;
}

}  // namespace relicor
