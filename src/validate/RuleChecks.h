#pragma once
// The rules a legitimate item keeps, as checks over its record: each gives the rules the item
// breaks (a rule code of Findings.h and the value it is about), in the order a report shows them.
// The report calls each check where it writes the effect the rule is about.

#include <array>
#include <cstddef>
#include <cstdint>

#include "item/ItemRecord.h"

namespace relicor {

// Highest creation level V&K mode accepts for an item from the dungeon; otherwise each source's
// own levels count (item/CreationSources.h).
inline constexpr int kLevelLimitVk = 42;

// The base item that is exempt from the speed rule in V&K mode.
inline constexpr int kVkSpeedExemptBaseItem = 143;

// Above this price neither vendor sells an item; above this level Griswold sells no prefix.
inline constexpr std::int32_t kVendorPriceLimit = 140000;
inline constexpr std::int32_t kVendorLevelLimit = 30;

// The staff class: only staffs hold charges of a spell, and only they reach the last mana rows.
inline constexpr std::uint8_t kStaffClass = 10;

// Power byte values of the affixes the rules expect.
namespace power {
inline constexpr std::uint8_t kBear = 53;
inline constexpr std::uint8_t kSpeed = 58;
inline constexpr std::uint8_t kRecovery = 59;
inline constexpr std::uint8_t kPlentyCharges = 15;
inline constexpr std::uint8_t kFireDamage = 16;
inline constexpr std::uint8_t kLightningDamage = 17;
inline constexpr std::uint8_t kDurability = 35;
inline constexpr std::uint8_t kDurabilityCurse = 36;
inline constexpr std::uint8_t kIndestructible = 37;
inline constexpr std::uint8_t kFireArrows = 42;
inline constexpr std::uint8_t kLightningArrows = 43;
inline constexpr std::uint8_t kThorns = 45;
inline constexpr std::uint8_t kTargetArmor = 57;
inline constexpr std::uint8_t kFastBlock = 60;
inline constexpr std::uint8_t kResistAll = 11;
inline constexpr std::uint8_t kResFire = 8;
inline constexpr std::uint8_t kResLightning = 9;
inline constexpr std::uint8_t kResMagic = 10;
inline constexpr std::uint8_t kFlatDamage = 61;
}  // namespace power

// True only in V&K mode for base item 143.
bool VkSpeedExemption(int baseItem, bool vkMode);

// A rule the item breaks: its code and the value the finding shows.
struct RuleBreach {
  std::int32_t code = 0;
  std::int32_t value = 0;
};

// What one check found: at most two breaches, in order.
class RuleBreaches {
 public:
  void Add(std::int32_t code, std::int32_t value) { found_[count_++] = {code, value}; }
  const RuleBreach* begin() const { return found_.data(); }
  const RuleBreach* end() const { return found_.data() + count_; }
  bool empty() const { return count_ == 0; }

 private:
  std::array<RuleBreach, 2> found_{};
  std::size_t count_ = 0;
};

// The effects whose value has a limit (the highest value of its affix table) and whose affix
// power byte must be one of the affixes that give it.
enum class RuledEffect : std::uint8_t {
  kPctDamage,
  kPctToHit,
  kPctArmor,
  kAllAttributes,
  kStrength,
  kMagic,
  kDexterity,
  kVitality,
  kResistAll,
  kResFire,
  kResLightning,
  kResMagic,
  kMana,
  kHitPoints,
  kFlatDamage,
  kDamageFromEnemies,
};

// A non-unique item's effect of `value`: more than its affix table gives ("too much"), or an
// affix power that does not give it ("hacked"). Damage from enemies has a lowest value instead.
RuleBreaches EffectRules(RuledEffect effect, const ItemRecord& item, std::int32_t value, bool vkMode);

// A unique item: one its availability keeps out of the game, and a base item outside the
// unique's own (or a unique the tables do not define).
RuleBreaches UniqueRules(const ItemRecord& item, bool vkMode);

// A class that is not its base item's (or a base item the tables do not define).
RuleBreaches ItemTypeRules(const ItemRecord& item, bool vkMode);

// A non-unique item that shows an attack speed effect without the speed suffix, or a hit
// recovery effect without the recovery suffix.
RuleBreaches AttackSpeedRules(const ItemRecord& item, bool vkMode);
RuleBreaches HitRecoveryRules(const ItemRecord& item);

// A non-unique item with charges: charges of a spell on anything but a staff (or of no spell),
// or more charges than the spell takes (three times as many with the charges prefix).
RuleBreaches ChargesRules(const ItemRecord& item, bool vkMode);

// An indestructible item whose suffix (or unique) does not make it so.
RuleBreaches IndestructibleRules(const ItemRecord& item, bool vkMode);

// An item from the dungeon with a creation level that none of its sources reaches (in V&K mode:
// above kLevelLimitVk).
RuleBreaches SourceLevelRules(const ItemRecord& item, bool vkMode);

// An item bought from Griswold with a prefix above his level or a price above the limit, or from
// Wirt above the limit; `prefixLevel`, `griswold` and `wirt` are the computed ones.
RuleBreaches VendorRules(const ItemRecord& item, std::int32_t prefixLevel, std::int32_t griswold,
                         std::int32_t wirt);

}  // namespace relicor
