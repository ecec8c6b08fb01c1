#include "identify/EffectPass.h"

#include <algorithm>
#include <array>
#include <span>

#include "identify/ReportText.h"
#include "item/AffixTables.h"
#include "item/BaseItems.h"
#include "item/CreationSources.h"
#include "item/Sources.h"
#include "item/SpellTables.h"
#include "item/Uniques.h"
#include "text/ByteText.h"
#include "text/Hex.h"

namespace relicor {

namespace {

// Effect bits that carry a suffix of their own, with its price parts.
struct FlagAffix {
  int bit;
  std::string_view line;
  std::string_view name;
  std::int32_t multiplier;
  std::int32_t price;
};

// The steal effects: their price parts come from the leech rows, and only for non-unique items.
struct StealAffix {
  int bit;
  std::string_view line;
  std::string_view name;
  LeechRow row;
};

// clang-format off
constexpr std::array<StealAffix, 4> kStealAffixes{{
  // bit                    line               name         leech row
  {effect::kSteal3Mana,     "steals 3% Mana",  "the bat",   LeechRow::kMana3},  // 0
  {effect::kSteal5Mana,     "steals 5% Mana",  "vampires",  LeechRow::kMana5},  // 1
  {effect::kSteal3Life,     "steals 3% Life",  "the leech", LeechRow::kLife3},  // 2
  {effect::kSteal5Life,     "steals 5% Life",  "blood",     LeechRow::kLife5},  // 3
}};

constexpr std::array<FlagAffix, 4> kAttackSpeed{{
  // bit                      line              name         multiplier  price
  {effect::kQuickAttack,      "Quick Attack",   "readiness", 2,          2000},   // 0
  {effect::kFastAttack,       "Fast Attack",    "swiftness", 4,          4000},   // 1
  {effect::kFasterAttack,     "Faster Attack",  "speed",     8,          8000},   // 2
  {effect::kFastestAttack,    "Fastest Attack", "haste",     16,         16000},  // 3
}};

constexpr std::array<FlagAffix, 3> kHitRecovery{{
  // bit                          line                    name         multiplier  price
  {effect::kFastHitRecovery,      "Fast Hit Recovery",    "balance",   2,          2000},  // 0
  {effect::kFasterHitRecovery,    "Faster Hit Recovery",  "stability", 4,          4000},  // 1
  {effect::kFastestHitRecovery,   "Fastest Hit Recovery", "harmony",   8,          8000},  // 2
}};
// clang-format on

// Affixes known by their power and their fixed price part alone (the affix value of their side):
// the game gives each of them one price part whatever it rolled. Other affixes reach some of the
// same values ("+3 Strength" also has 600): where the value names one suffix alone (`byValue`:
// no other suffix of the game holds it, or the item's fire or lightning damage names the arrow
// suffix), the row counts whatever the power byte holds, unless that names another suffix of the
// game; the power decides only between rows that share the value.
struct ValueAffix {
  std::uint8_t power;
  std::int32_t value;
  std::string_view name;
  std::int32_t multiplier;
  bool byValue;
};

// clang-format off
constexpr std::array<ValueAffix, 11> kValueSuffixes{{
  // power                    value   name             multiplier  byValue
  {power::kDurability,        100,    "sturdiness",    2,          false},  // 0
  {power::kDurability,        200,    "craftsmanship", 2,          false},  // 1
  {power::kDurability,        300,    "structure",     2,          true},   // 2
  {power::kDurability,        750,    "many",          2,          false},  // 3
  {power::kDurability,        1500,   "plenty",        3,          false},  // 4
  {power::kIndestructible,    600,    "the ages",      5,          false},  // 5
  {power::kThorns,            500,    "thorns",        2,          true},   // 6
  {power::kTargetArmor,       1000,   "piercing",      3,          false},  // 7
  {power::kTargetArmor,       2000,   "puncturing",    6,          false},  // 8
  {power::kTargetArmor,       4000,   "bashing",       12,         false},  // 9
  {power::kFastBlock,         4000,   "blocking",      4,          false},  // 10
}};

// The suffixes of fire arrows (rows 0-2) and lightning arrows (rows 3-5): the item's fire or
// lightning damage names the kind, the value the row.
constexpr std::array<ValueAffix, 6> kArrowSuffixes{{
  // power                    value   name             multiplier  byValue
  {power::kFireArrows,        2000,   "flame",         2,          true},  // 0
  {power::kFireArrows,        4000,   "fire",          4,          true},  // 1
  {power::kFireArrows,        6000,   "burning",       6,          true},  // 2
  {power::kLightningArrows,   6000,   "shock",         2,          true},  // 3
  {power::kLightningArrows,   8000,   "lightning",     4,          true},  // 4
  {power::kLightningArrows,   12000,  "thunder",       6,          true},  // 5
}};

// The power bytes of the game's suffixes (the suffix table in itemdat.cpp): strength to vitality and
// their curses (19-26), all attributes (27, 28), damage taken (29, 30), life (31, 32),
// durability (35-37), light (38, 39), arrows (42, 43), thorns (45), no mana (46), half trap damage
// (52), knockback (53), steal mana and life (55, 56), target armour (57), attack speed (58), hit
// recovery (59), fast block (60) and damage (61).
constexpr std::array<std::uint8_t, 32> kGameSuffixPowers{
    19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 35, 36, 37, 38, 39, 42, 43, 45, 46, 52, 53, 55, 56, 57,
    58, 59, 60, 61};
// clang-format on

const ValueAffix* FindValueAffix(std::span<const ValueAffix> affixes, std::uint8_t power,
                                 std::int32_t value) {
  const ValueAffix* byValue = nullptr;
  for (const ValueAffix& affix : affixes) {
    if (affix.value != value) continue;
    if (affix.power == power) return &affix;
    if (affix.byValue) byValue = &affix;
  }
  const bool namesAnother =
      std::find(kGameSuffixPowers.begin(), kGameSuffixPowers.end(), power) != kGameSuffixPowers.end();
  return namesAnother ? nullptr : byValue;
}

// Lowered durability: "fragility" leaves a maximum durability of 1, "brittleness" (26-75%) more.
constexpr std::uint8_t kFragileDurability = 1;

constexpr std::uint8_t kBookUseEffect = 24;
constexpr std::uint8_t kStartingStaff = 5;
constexpr std::uint8_t kBookClass = 0;
constexpr std::uint8_t kRingClass = 12;
constexpr std::uint8_t kAmuletClass = 13;
constexpr int kLastSpell = kSpellCount - 1;

bool InRange(std::uint8_t value, std::uint8_t lo, std::uint8_t hi) {
  return lo <= value && value <= hi;
}

DecimalText Plain(std::int32_t value) {
  return DecimalText(value);
}

DecimalText Signed(std::int32_t value) {
  return DecimalText(value, true);
}

// The price part the game gives an affix of `row` for the effect value `v`: the fixed part plus
// the range scaled by the value's whole percentage between the row's bounds.
std::int32_t GameAffixValue(const AffixRow& row, std::int32_t v) {
  if (row.MinValue == row.MaxValue) {
    return row.PriceAdd;
  }
  return row.PriceAdd + row.PriceRange * (100 * (v - row.MinValue) / (row.MaxValue - row.MinValue)) / 100;
}

// The backward first match, except where two rows share the value (mana 15 and 30, hit points
// 30): then the row whose price part is the item's affix value, if one is.
const AffixRow* MatchByAffixValue(std::span<const AffixRow> rows, std::int32_t value,
                                  std::int32_t affixValue) {
  const AffixRow* found = MatchBackward(rows, value);
  if (found == nullptr || GameAffixValue(*found, value) == affixValue) {
    return found;
  }
  for (const AffixRow& row : rows) {
    if (&row != found && row.Matches(value) && GameAffixValue(row, value) == affixValue) {
      return &row;
    }
  }
  return found;
}

}  // namespace

std::string UseEffectLine(std::uint8_t useEffect, std::uint8_t spell, bool& known) {
  known = true;
  switch (useEffect) {
    case 0:
      return {};
    case 2:
      return "fills up Life to max";
    case 3:
      return "restores some Life";
    case 6:
      return "restores some Mana";
    case 7:
      return "fills up Mana to max";
    case 10:
      return "increase Strength by one";
    case 11:
      return "increase Magic by one";
    case 12:
      return "increase Dexterity by one";
    case 13:
      return "increase Vitality by one";
    case 18:
      return "restores some Life and Mana";
    case 19:
      return "fills up Life and Mana to max";
    case 21:
    case 22:  // a scroll cast at a target
      return ShortString("Scroll of " + std::string(SpellName(spell)), 26);
    case 23:
      return "Staff";
    case 24:
      return ShortString("learn " + std::string(SpellName(spell)), 22);
    case 25:
      return "ring";
    case 26:
      return "amulet";
    case 27:
      return "single player unique";
    case 42:
      return "map of the stars";
    case 43:
      return "Ear";
    case 44:
      return "increase all Attributes by three";
    default:
      known = false;
      return "Info 4 unknown " + ByteToHex(useEffect);
  }
}

EffectPass::EffectPass(const ItemRecord& item, PassOptions options, ItemReport& report)
    : item_(item), options_(options), report_(report) {}

void EffectPass::Finding(std::int32_t code, std::int32_t value) {
  FindingState state{report_.status, report_.lastFindingCode};
  report_.lines.Add(FormatFinding(state, code, value));
  report_.status = state.status;
  report_.lastFindingCode = state.lastFindingCode;
  report_.findings.push_back({code, value});
}

void EffectPass::Raise(const RuleBreaches& found) {
  for (const RuleBreach& breach : found) Finding(breach.code, breach.value);
}

void EffectPass::UniqueChecks() {
  if (!item_.IsUnique()) {
    return;
  }
  const UniqueRow unique = UniqueOf(item_.UniqueIndex(), options_.vkMode);
  if (options_.additionalInfo && !options_.htmlMode) {
    // The name is cut so that the text up to its end holds at most 43 characters.
    const std::string head = ShortString("++ UNIQUE:\"" + std::string(unique.Name), 43);
    Line(head, "\" ", ByteToHex(item_.UniqueIndex()), " ", ByteToHex(item_.BaseItem()));
  }
  Raise(UniqueRules(item_, options_.vkMode));
}

void EffectPass::EffectSection() {
  const bool unique = item_.IsUnique();
  const bool vk = options_.vkMode;
  const BaseItemRow base = BaseItemOf(item_.BaseItem(), vk);

  Raise(ItemTypeRules(item_, vk));
  price_ = PriceAccumulators{};
  price_.basePrice = base.BasePrice;

  if (item_.MinDamage() != 0) {
    Line("Damage     ", Plain(item_.MinDamage()), "-", Plain(item_.MaxDamage()));
  }
  if (item_.ArmorClass() != 0) {
    Line("Armorclass ", Plain(item_.ArmorClass()));
  }
  if (item_.HasEffect(effect::kStealthLife)) {
    Line("stealth life");
  }
  if (item_.HasEffect(effect::kConstantlyLoseLife)) {
    Line("constantly lose life");
  }
  if (item_.HasEffect(effect::kKnockback)) {
    Line("knocks target back");
    if (item_.SuffixPower() == power::kBear) {
      slots_.SetSuffix("the bear");
      price_.Add(2, 750);
    }
  }
  StealAndSpeedEffects(unique);

  if (item_.HasEffect(effect::kFastBlock)) {
    Line("Fast Block");
  }
  if (item_.HasEffect(effect::kLightningArrows)) {
    Line("Lightning Arrows");
  }
  if (item_.HasEffect(effect::kAttackerTakesDamage)) {
    Line(vk ? "Attacker takes 1-50 Damage" : "Attacker takes 1-3 Damage");
  }
  if (item_.HasEffect(effect::kLoseAllMana)) {
    Line("Lose all Mana");
    slots_.SetSuffix("corruption");
    price_.Add(2, -1000);
  }
  if (item_.HasEffect(effect::kHalfTrapDamage)) {
    // "absorpes" is the system's own spelling; published pages carry it.
    Line("absorpes half trap damage");
    slots_.SetSuffix("thieves");
    price_.Add(2, 1500);
  }
  if (item_.HasEffect(effect::kDamageVsDemons)) {
    Line("+200% Damage vs. Demons");
  }
  if (item_.HasEffect(effect::kAllResistancesZero)) {
    Line("All Resistances equals 0");
  }

  if (options_.additionalInfo && !options_.htmlMode) {
    bool known = true;
    const std::string useLine = UseEffectLine(item_.UseEffect(), item_.Spell(), known);
    if (!useLine.empty()) {
      Line(useLine);
    }
    if (!known) {
      report_.status = StatusColour::kAqua;
    }
  }

  ChargesLine(unique);
  if (item_.UseEffect() == kBookUseEffect && !unique) {
    // A book is named after its spell ("Book of Firebolt") and costs what the spell adds.
    slots_.SetSuffix(SpellName(item_.Spell()));
    price_.basePrice = WrapAdd(price_.basePrice, BookPrice(item_.Spell()));
  }
  DurabilityLines();
  PercentEffects(unique);
  AttributeEffects(unique);
  ResistEffects(unique);
  BonusEffects(unique);
  ElementalEffects(unique);

  if (unique) {
    Line("UNIQUE ITEM");
  }
  if (item_.ReqStrength() != 0) {
    Line("required ", Plain(item_.ReqStrength()), " Str");
  }
  if (item_.ReqMagic() != 0) {
    Line("required ", Plain(item_.ReqMagic()), " Mag");
  }
  if (item_.ReqDexterity() != 0) {
    Line("required ", Plain(item_.ReqDexterity()), " Dex");
  }
}

void EffectPass::StealAndSpeedEffects(bool unique) {
  for (const StealAffix& steal : kStealAffixes) {
    if (item_.HasEffect(steal.bit)) {
      Line(steal.line);
      slots_.SetSuffix(steal.name);
      if (!unique) {
        // The leech rows have no price range, so only multiplier and fixed price count.
        const AffixRow& row = LeechAffix(steal.row);
        price_.Add(row.Multiplier, row.PriceAdd);
      }
    }
  }

  bool anySpeed = false;
  for (const FlagAffix& speed : kAttackSpeed) {
    if (item_.HasEffect(speed.bit)) {
      anySpeed = true;
      Line(speed.line);
      slots_.SetSuffix(speed.name);
      price_.Add(speed.multiplier, speed.price);
    }
  }
  if (anySpeed && !unique) Raise(AttackSpeedRules(item_, options_.vkMode));

  bool anyRecovery = false;
  for (const FlagAffix& recovery : kHitRecovery) {
    if (item_.HasEffect(recovery.bit)) {
      anyRecovery = true;
      Line(recovery.line);
      slots_.SetSuffix(recovery.name);
      price_.Add(recovery.multiplier, recovery.price);
    }
  }
  if (anyRecovery && !unique) Raise(HitRecoveryRules(item_));
}

void EffectPass::ChargesLine(bool unique) {
  const std::uint8_t maxCharges = item_.MaxCharges();
  if (maxCharges == 0) {
    return;
  }
  const std::uint8_t spell = item_.Spell();
  Line(Plain(item_.Charges()), "/", Plain(maxCharges), " ", SpellName(spell), "-Charges");
  if (unique) {
    return;
  }
  Raise(ChargesRules(item_, options_.vkMode));
  const bool staffSpell = item_.ItemClass() == kStaffClass && spell <= kLastSpell;
  if (staffSpell) {
    // The Sorcerer's starting staff is priced at its base item's value, its charges included.
    if (item_.BaseItem() != kStartingStaff) {
      price_.chargesPrice = WrapMul(ChargePrice(spell), maxCharges);
    }
    // Other prefixes reach 2000 and 3000 too (Raven's, Crimson): only the charges prefix counts.
    if (item_.PrefixPower() == power::kPlentyCharges) {
      if (item_.PreAddInfo() == 2000) {
        slots_.SetPrefix("plentiful");
        price_.Add(2, 2000);
        price_.chargesPrice /= 2;
      } else if (item_.PreAddInfo() == 3000) {
        slots_.SetPrefix("bountiful");
        price_.Add(3, 3000);
        price_.chargesPrice /= 3;
      }
    }
  }
  // Charged items of any class get the spell as their suffix.
  slots_.SetSuffix(SpellName(spell));
}

void EffectPass::DurabilityLines() {
  if (item_.IsIndestructible()) {
    const std::uint8_t itemClass = item_.ItemClass();
    if (itemClass != kBookClass && itemClass != kRingClass && itemClass != kAmuletClass) {
      Line("Indestructible");
      Raise(IndestructibleRules(item_, options_.vkMode));
    }
  } else {
    Line("Durability ", Plain(item_.Durability()), "/", Plain(item_.MaxDurability()));
  }

  const std::uint8_t suffixPower = item_.SuffixPower();
  if (suffixPower == power::kDurabilityCurse) {
    const bool fragile = item_.MaxDurability() == kFragileDurability;
    slots_.SetSuffix(fragile ? "fragility" : "brittleness");
    price_.Add(fragile ? -4 : -2, 0);
  } else if (const ValueAffix* affix = FindValueAffix(kValueSuffixes, suffixPower, item_.SufAddInfo())) {
    slots_.SetSuffix(affix->name);
    price_.Add(affix->multiplier, affix->value);
  }
}

void EffectPass::PercentEffects(bool unique) {
  const bool vk = options_.vkMode;
  const std::uint8_t prefixPower = item_.PrefixPower();

  if (const std::int32_t value = item_.PctDamage(); value != 0) {
    Line(Signed(value), "% Damage");
    if (!unique) {
      Raise(EffectRules(RuledEffect::kPctDamage, item_, value, vk));
      const auto table = InRange(prefixPower, 2, 3) ? AffixTable::kPctDamage : AffixTable::kCombinedDamage;
      if (InRange(prefixPower, 2, 5)) {
        ForEachMatch(AffixRows(table, vk), value, [&](const AffixRow& row) {
          slots_.SetPrefix(row.Name);
          price_.AddRow(row, value);
        });
      }
    }
  }

  if (const std::int32_t value = item_.PctToHit(); value != 0) {
    Line(Signed(value), "% to Hit");
    if (!unique) {
      Raise(EffectRules(RuledEffect::kPctToHit, item_, value, vk));
      const bool plain = InRange(prefixPower, 0, 1);
      const bool combined = InRange(prefixPower, 4, 5);
      if (plain) {
        ForEachMatch(AffixRows(AffixTable::kToHit, vk), value, [&](const AffixRow& row) {
          slots_.SetPrefix(row.Name);
          price_.AddRow(row, value);
        });
      } else if (combined) {
        // The combined prefix is priced with the damage; this table gives the name only.
        ForEachMatch(AffixRows(AffixTable::kToHitName, vk), value,
                     [&](const AffixRow& row) { slots_.SetPrefix(row.Name); });
      }
    }
  }

  if (const std::int32_t value = item_.PctArmor(); value != 0) {
    Line(Signed(value), "% Armor");
    if (!unique) {
      Raise(EffectRules(RuledEffect::kPctArmor, item_, value, vk));
      ForEachMatch(AffixRows(AffixTable::kPctArmor, vk), value, [&](const AffixRow& row) {
        slots_.SetPrefix(row.Name);
        price_.AddRow(row, value);
      });
    }
  }
}

void EffectPass::AttributeEffects(bool unique) {
  const bool vk = options_.vkMode;
  const std::int32_t strength = item_.AddStrength();

  const bool allAttributes = strength != 0 && strength == item_.AddMagic() &&
                             strength == item_.AddDexterity() && strength == item_.AddVitality();
  if (allAttributes) {
    Line(Signed(strength), " to all Attributes");
    if (!unique) {
      Raise(EffectRules(RuledEffect::kAllAttributes, item_, strength, vk));
      ForEachMatch(AffixRows(AffixTable::kAllAttributes, vk), strength, [&](const AffixRow& row) {
        slots_.SetSuffix(row.Name);
        price_.AddRow(row, strength);
      });
    }
    return;
  }

  struct Attribute {
    std::int32_t value;
    std::string_view line;
    AffixTable table;
    RuledEffect effect;
  };
  // clang-format off
  const std::array<Attribute, 4> attributes{{
    // value               line          table                   rules
    {strength,             " Strength",  AffixTable::kStrength,   RuledEffect::kStrength},   // 0
    {item_.AddMagic(),     " Magic",     AffixTable::kMagic,      RuledEffect::kMagic},      // 1
    {item_.AddDexterity(), " Dexterity", AffixTable::kDexterity,  RuledEffect::kDexterity},  // 2
    {item_.AddVitality(),  " Vitality",  AffixTable::kVitality,   RuledEffect::kVitality},   // 3
  }};
  // clang-format on
  for (const Attribute& attribute : attributes) {
    const std::int32_t value = attribute.value;
    if (value == 0) {
      continue;
    }
    Line(Signed(value), attribute.line);
    if (unique) {
      continue;
    }
    Raise(EffectRules(attribute.effect, item_, value, vk));
    ForEachMatch(AffixRows(attribute.table, vk), value, [&](const AffixRow& row) {
      slots_.SetSuffix(row.Name);
      price_.AddRow(row, value);
    });
  }
}

void EffectPass::ResistEffects(bool unique) {
  const bool vk = options_.vkMode;
  const std::int32_t fire = item_.ResFire();

  const bool resistAll = fire != 0 && fire == item_.ResLightning() && fire == item_.ResMagic();
  if (resistAll) {
    Line(Signed(fire), "% Res All");
    if (!unique) {
      Raise(EffectRules(RuledEffect::kResistAll, item_, fire, vk));
      ForEachMatch(AffixRows(AffixTable::kResAll, vk), fire, [&](const AffixRow& row) {
        slots_.SetPrefix(row.Name);
        price_.AddRow(row, fire);
        price_.prefixLevel = row.Level;
      });
    }
    return;
  }

  struct Resist {
    std::int32_t value;
    std::string_view line;
    AffixTable table;
    RuledEffect effect;
  };
  // clang-format off
  const std::array<Resist, 3> resists{{
    // value                 line                table                     rules
    {fire,                   "% Res Fire",       AffixTable::kResFire,      RuledEffect::kResFire},       // 0
    {item_.ResLightning(),   "% Res Lightning",  AffixTable::kResLightning, RuledEffect::kResLightning},  // 1
    {item_.ResMagic(),       "% Res Magic",      AffixTable::kResMagic,     RuledEffect::kResMagic},      // 2
  }};
  // clang-format on
  for (const Resist& resist : resists) {
    const std::int32_t value = resist.value;
    if (value == 0) {
      continue;
    }
    Line(Signed(value), resist.line);
    if (unique) {
      continue;
    }
    Raise(EffectRules(resist.effect, item_, value, vk));
    ForEachMatch(AffixRows(resist.table, vk), value, [&](const AffixRow& row) {
      slots_.SetPrefix(row.Name);
      price_.AddRow(row, value);
    });
  }
}

void EffectPass::BonusEffects(bool unique) {
  const bool vk = options_.vkMode;
  const std::uint8_t suffixPower = item_.SuffixPower();

  if (const std::int32_t mana = item_.ManaBonus(); mana != 0) {
    Line(Signed(mana), " Mana");
    if (!unique) {
      Raise(EffectRules(RuledEffect::kMana, item_, mana, vk));
      // Searched from the last row: of two rows holding the value the later one names it, unless
      // the prefix's price part says it is the earlier one.
      if (const AffixRow* row =
              MatchByAffixValue(AffixRows(AffixTable::kMana, vk), mana, item_.PreAddInfo())) {
        slots_.SetPrefix(row->Name);
        price_.AddRow(*row, mana);
      }
    }
  }

  if (const std::int32_t hitPoints = item_.HitPointBonus(); hitPoints != 0) {
    Line(Signed(hitPoints), " Hit Points");
    if (!unique) {
      Raise(EffectRules(RuledEffect::kHitPoints, item_, hitPoints, vk));
      if (const AffixRow* row =
              MatchByAffixValue(AffixRows(AffixTable::kHitPoints, vk), hitPoints, item_.SufAddInfo())) {
        slots_.SetSuffix(row->Name);
        price_.AddRow(*row, hitPoints);
      }
    }
  }

  if (const std::int32_t damage = item_.AddDamage(); damage != 0) {
    Line(Signed(damage), " to Damage");
    if (!unique) {
      Raise(EffectRules(RuledEffect::kFlatDamage, item_, damage, vk));
      ForEachMatch(AffixRows(AffixTable::kFlatDamage, vk), damage, [&](const AffixRow& row) {
        slots_.SetSuffix(row.Name);
        price_.AddRow(row, damage);
      });
    }
  }

  if (const std::int32_t fromEnemies = item_.DamageFromEnemies(); fromEnemies != 0 && !unique) {
    Line(Signed(fromEnemies), " Damage from Enemies");
    Raise(EffectRules(RuledEffect::kDamageFromEnemies, item_, fromEnemies, vk));
    const bool suffix = InRange(suffixPower, 29, 30);
    // The first matching row counts: the doubled last row of the normal table is never reached.
    if (const AffixRow* row = MatchForwardFirst(AffixRows(AffixTable::kDamageReduction, vk), fromEnemies)) {
      if (suffix) {
        slots_.SetSuffix(row->Name);
      } else {
        slots_.SetPrefix(row->Name);
      }
      price_.AddReversedRow(*row, fromEnemies);
    }
  }

  if (item_.HasLightRadius()) {
    Line(Signed(item_.LightRadiusPercent()), "% light radius");
    if (!unique) {
      switch (item_.LightRadius()) {
        case -4:
          slots_.SetSuffix("the dark");
          price_.Add(-3, 0);
          break;
        case -2:
          slots_.SetSuffix("the night");
          price_.Add(-2, 0);
          break;
        case 2:
          slots_.SetSuffix("light");
          price_.Add(2, 750);
          break;
        case 4:
          slots_.SetSuffix("radiance");
          price_.Add(3, 1500);
          break;
        default:
          break;
      }
    }
  }

  if (const std::int32_t spellLevels = item_.SpellLevels(); spellLevels != 0) {
    Line(Signed(spellLevels), " higher spells");
    if (!unique) {
      if (const AffixRow* row = MatchDirect(AffixRows(AffixTable::kSpellLevel, vk), spellLevels)) {
        slots_.SetPrefix(row->Name);
        price_.AddRow(*row, spellLevels - 1);
      }
    }
  }
}

void EffectPass::ElementalEffects(bool unique) {
  // The prefixes count only next to their own power: other affixes reach the same values (Topaz
  // 5000, Meteoric 10000). The damage names the kind of the arrow suffix.
  const std::span<const ValueAffix> arrowRows(kArrowSuffixes);
  if (item_.FireDamageMin() != 0) {
    const ValueAffix* arrows = FindValueAffix(arrowRows.first(3), item_.SuffixPower(), item_.SufAddInfo());
    Line(Plain(item_.FireDamageMin()), "-", Plain(item_.FireDamageMax()), " Fire Damage");
    if (!unique) {
      if (item_.PrefixPower() == power::kFireDamage && item_.PreAddInfo() == 5000) {
        slots_.SetPrefix("flaming");
        price_.Add(2, 5000);
      } else if (arrows != nullptr) {
        slots_.SetSuffix(arrows->name);
        price_.Add(arrows->multiplier, arrows->value);
      } else if (options_.debugLines) {
        Debug("ID NOT FOUND ", UpperCaseAscii(item_.NameView()));
      }
    }
  }

  if (item_.LightningDamageMin() != 0) {
    Line(Plain(item_.LightningDamageMin()), "-", Plain(item_.LightningDamageMax()), " Lightning Damage");
    const ValueAffix* arrows = FindValueAffix(arrowRows.subspan(3), item_.SuffixPower(), item_.SufAddInfo());
    if (arrows != nullptr) {
      slots_.SetSuffix(arrows->name);
      price_.Add(arrows->multiplier, arrows->value);
    }
    if (item_.PrefixPower() == power::kLightningDamage && item_.PreAddInfo() == 10000) {
      slots_.SetPrefix("lightning");
      price_.Add(2, 10000);
    }
  }
}

void EffectPass::SourceAndLevelLines() {
  Line(ShortString("Ursprung: " + SourceText(item_.Source())));
  if (item_.Source() >= 4) {
    return;
  }
  const RuleBreaches levelRules = SourceLevelRules(item_, options_.vkMode);
  Raise(levelRules);
  // A level no source stores is not shown.
  if (levelRules.empty()) {
    if (item_.DungeonLevelFlag()) {
      Line("Dungeon-Level war ", Plain(item_.ShownDungeonLevel()));
    } else {
      Line("Monster-Basislevel war ", Plain(item_.CreationLevel()));
    }
  }
  if (item_.UniqueMonsterMark()) {
    Line("das Monster war auch ein Unique :)");
  }
}

void EffectPass::FinalPrice() {
  const bool unique = item_.IsUnique();
  const ComputedPrices computed = ComputePrices(price_);
  std::int32_t griswold = computed.griswold;
  std::int32_t wirt = computed.wirt;

  if (options_.additionalInfo) Raise(VendorRules(item_, price_.prefixLevel, griswold, wirt));
  if (unique) {
    griswold = UniqueOf(item_.UniqueIndex(), options_.vkMode).Price;
    wirt = 0;
  }
  if (options_.additionalInfo) {
    Line("calc. price ", Plain(griswold), " / ", Plain(wirt));
  }

  // Differences wrap like the rest of the price arithmetic.
  const auto far = [](std::int32_t a, std::int32_t b) {
    const std::int32_t d = WrapAdd(a, WrapMul(b, -1));
    return d > 1 || (d < -1 && d != INT32_MIN);
  };
  const std::int32_t stored = item_.Price();
  if (options_.debugLines && far(stored, griswold) && far(stored, wirt) && !unique) {
    Debug("PRICE ", PadRight(UpperCaseAscii(item_.NameView()), 32), " internal ", Plain(stored), " Gris ",
          Plain(griswold), " Wirt ", Plain(wirt));
  }
}

void EffectPass::NameCheck() {
  // The resolved name goes into a line of additional information and into a diagnostic line.
  if (!options_.additionalInfo && !options_.debugLines) return;
  const BaseItemRow base = BaseItemOf(item_.BaseItem(), options_.vkMode);
  const UniqueRow unique = UniqueOf(item_.UniqueIndex(), options_.vkMode);
  const ResolvedNames names = AssembleNames(slots_, base, item_.IsUnique() ? &unique.Name : nullptr);
  if (options_.additionalInfo) {
    Line("name resolve [", UpperCaseAscii(names.resolved), "]");
  }
  if (options_.debugLines && !NameMatches(names, item_.NameView())) {
    Debug("NAME ", UpperCaseAscii(names.resolved), " ", UpperCaseAscii(item_.NameView()));
  }
  if (options_.additionalInfo) {
    Line("type [", UpperCaseAscii(base.FullName), "]");
    Line("");
  }
}

}  // namespace relicor
