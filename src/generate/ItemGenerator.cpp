#include "generate/ItemGenerator.h"

#include <array>
#include <numeric>
#include <span>
#include <vector>

#include "generate/GameData109.h"
#include "generate/GameRandom.h"

namespace relicor::gen {
namespace {

constexpr std::int32_t kGoldSmallLimit = 1000;
constexpr std::int32_t kGoldMediumLimit = 2500;
constexpr std::int32_t kIndestructible = 255;
constexpr std::size_t kUniqueSlots = 128;  // the unique search wraps at this many rows

// The shareware game lacks the medium and heavy armours and six scrolls; its item index counts
// only the rows it has. Returns the full game's row of a shareware index, or -1.
constexpr int SharewareRow(int index) {
  int i = index;
  if (i >= 62) i += 9;
  if (i >= 96) i += 1;
  if (i >= 98) i += 1;
  if (i >= 99) i += 1;
  if (i >= 101) i += 1;
  if (i >= 102) i += 1;
  if (i >= 104) i += 1;
  return i < static_cast<int>(kGameItemIndexCount) ? i : -1;
}

constexpr bool IsShareware(GameMode mode) {
  return mode == GameMode::kShareware || mode == GameMode::kSharewareMultiplayer;
}

// The rows of the item list a game has, in its own index order.
const std::vector<int>& ItemList(GameMode mode) {
  static const std::vector<int> kFull = [] {
    std::vector<int> rows(kGameItemIndexCount);
    std::iota(rows.begin(), rows.end(), 0);
    return rows;
  }();
  static const std::vector<int> kShareware = [] {
    std::vector<int> rows;
    for (int i = 0; SharewareRow(i) >= 0; ++i) rows.push_back(SharewareRow(i));
    return rows;
  }();
  return IsShareware(mode) ? kShareware : kFull;
}

class Generator {
 public:
  explicit Generator(GameMode mode)
      : mode_(mode),
        rows_(ItemList(mode)),
        spells_(IsShareware(mode) ? std::span<const SpellRow>(kSpellsShareware)
                                  : std::span<const SpellRow>(kSpells)) {}

  // Every decision that differs between single player and multiplayer asks here.
  bool SinglePlayer() const {
    modeUsed_ = true;
    return mode_ == GameMode::kSinglePlayer || mode_ == GameMode::kShareware;
  }
  bool ModeUsed() const { return modeUsed_; }
  // The seed names no unique item; the unique is made only in single player.
  bool UnknownUnique() const { return unknownUnique_; }
  bool SinglePlayerOnly() const { return singlePlayerOnly_; }
  int ListSize() const { return static_cast<int>(rows_.size()); }
  const BaseItemRow& Row(int index) const { return kBaseItems[rows_[index]]; }

  GenerateResult Recreate(int index, std::uint16_t ci, std::int32_t seed, std::int32_t goldValue) {
    if (index < 0 || index >= ListSize()) {
      return {std::nullopt, "base item " + std::to_string(index) + " does not exist in 1.09"};
    }
    if (index == idi::kGold) {
      PlainItem(index);
      it_.seed = seed;
      it_.createInfo = ci;
      it_.value = goldValue;
      it_.cursor = goldValue >= kGoldMediumLimit  ? icurs::kGoldLarge
                   : goldValue <= kGoldSmallLimit ? icurs::kGoldSmall
                                                  : icurs::kGoldMedium;
      it_.goldValueFromFile = true;
      return Done();
    }
    if (index == idi::kEar) {
      PlainItem(index);
      it_.seed = seed;
      it_.createInfo = ci;
      it_.ear = true;
      // The first six letters of the name, each in 7 bits; a zero letter ends the name.
      const std::uint32_t s = static_cast<std::uint32_t>(seed);
      const std::uint8_t letters[] = {
          static_cast<std::uint8_t>((ci >> 8) & 0x7F), static_cast<std::uint8_t>(ci & 0x7F),
          static_cast<std::uint8_t>((s >> 24) & 0x7F), static_cast<std::uint8_t>((s >> 16) & 0x7F),
          static_cast<std::uint8_t>((s >> 8) & 0x7F),  static_cast<std::uint8_t>(s & 0x7F)};
      it_.plainName = "Ear of ";
      for (const std::uint8_t c : letters) {
        if (c == 0) break;
        it_.plainName.push_back(static_cast<char>(c));
      }
      return Done();
    }
    if (ci == 0) {  // starting items: the plain base item
      PlainItem(index);
      it_.seed = seed;
      return Done();
    }
    if (ci & cf::kTown) return RecreateTown(index, ci, seed);
    if ((ci & cf::kUseful) == cf::kUseful) {
      Useful(seed, ci & cf::kLevel);
      return Done();
    }
    int uper = 0;
    if (ci & cf::kUper1) uper = 1;
    if (ci & cf::kUper15) uper = 15;
    SetupAll(index, seed, ci & cf::kLevel, uper, (ci & cf::kOnlyGood) != 0, (ci & cf::kUnique) != 0,
             (ci & cf::kPregen) != 0);
    return Done();
  }

 private:
  GenerateResult Done() { return {std::move(it_), {}, modeUsed_}; }

  // The base item with nothing drawn, as a hero starts with it.
  void PlainItem(int index) {
    const BaseItemRow& b = Row(index);
    it_ = GeneratedItem{};
    it_.type = b.type;
    it_.cursor = b.cursor;
    it_.plainName = std::string(b.name);
    it_.identifiedName = it_.plainName;
    it_.location = b.location;
    it_.itemClass = b.itemClass;
    it_.minDamage = b.minDamage;
    it_.maxDamage = b.maxDamage;
    it_.armor = b.minArmor;
    it_.miscId = b.miscId;
    it_.spell = b.spell;
    if (b.miscId == misc::kStaff) it_.charges = 40;
    it_.maxCharges = it_.charges;
    it_.durability = b.durability;
    it_.maxDurability = b.durability;
    it_.minStr = static_cast<std::int8_t>(b.minStr);
    it_.minMag = static_cast<std::uint8_t>(b.minMag);
    it_.minDex = static_cast<std::int8_t>(b.minDex);
    it_.value = b.value;
    it_.price = b.value;
    it_.baseIndex = index;
    it_.uniqueIndexKnown = true;  // the hero's items start cleared
  }

  // The base item's attributes with its armour drawn; books draw their spell.
  void Attributes(int index, int level) {
    const BaseItemRow& b = Row(index);
    it_ = GeneratedItem{};
    it_.uniqueIndexKnown = false;  // the game leaves the unique index of the slot as it was
    it_.type = b.type;
    it_.cursor = b.cursor;
    it_.plainName = std::string(b.name);
    it_.identifiedName = it_.plainName;
    it_.location = b.location;
    it_.itemClass = b.itemClass;
    it_.minDamage = b.minDamage;
    it_.maxDamage = b.maxDamage;
    it_.armor = b.minArmor + rnd_.Draw(b.maxArmor - b.minArmor + 1);
    it_.flags = b.flags;
    it_.miscId = b.miscId;
    it_.spell = b.spell;
    it_.value = b.value;
    it_.price = b.value;
    it_.durability = b.durability;
    it_.maxDurability = b.durability;
    it_.minStr = static_cast<std::int8_t>(b.minStr);
    it_.minMag = static_cast<std::uint8_t>(b.minMag);
    it_.minDex = static_cast<std::int8_t>(b.minDex);
    it_.baseIndex = index;
    if (it_.miscId == misc::kBook) BookSpell(level);
    // Gold is never rebuilt through here: a gold item keeps the amount it holds.
  }

  // Walks the spell list round and round from Firebolt, counting the spells of at most `level`
  // (by the book or staff level that `levelOf` names; -1: none), and returns the one the count
  // `remaining` ends on. Single player skips the multiplayer-only spells.
  int CountSpells(int remaining, int level, std::int8_t SpellRow::*levelOf) const {
    int s = spell::kFirebolt;
    int chosen = spell::kFirebolt;
    while (remaining > 0) {
      const int needed = spells_[s].*levelOf;
      if (needed != -1 && level >= needed) {
        --remaining;
        chosen = s;
      }
      ++s;
      if (SinglePlayer() && s == spell::kResurrect) s = spell::kTelekinesis;
      if (SinglePlayer() && s == spell::kHealother) s = spell::kFlare;
      if (s == static_cast<int>(spells_.size())) s = spell::kFirebolt;
    }
    return chosen;
  }

  void BookSpell(int level) {
    if (level == 0) level = 1;
    const int remaining = rnd_.Draw(static_cast<int>(spells_.size())) + 1;
    if (IsShareware(mode_) && level > 5) level = 5;
    const int chosen = CountSpells(remaining, level, &SpellRow::bookLevel);
    const SpellRow& sp = spells_[chosen];
    it_.plainName += sp.name;
    it_.identifiedName += sp.name;
    it_.spell = chosen;
    it_.minMag = static_cast<std::uint8_t>(sp.minInt);
    it_.value += sp.bookCost;
    it_.price += sp.bookCost;
    if (sp.type == stype::kFire) it_.cursor = icurs::kBookRed;
    if (sp.type == stype::kLightning) it_.cursor = icurs::kBookBlue;
    if (sp.type == stype::kMagic) it_.cursor = icurs::kBookGrey;
  }

  void CalcPrice() {
    int v = it_.valueMult1 + it_.valueMult2;
    if (v > 0) v *= it_.value;
    if (v < 0) v = it_.value / v;
    v = it_.valueAdd1 + it_.valueAdd2 + v;
    if (v <= 0) v = 1;
    it_.price = v;
  }

  int RandomIn(int low, int high) { return low + rnd_.Draw(high - low + 1); }

  static int PriceValue(int r, int p1, int p2, int minv, int maxv) {
    if (p1 == p2) return minv;
    if (minv == maxv) return minv;
    return minv + (maxv - minv) * (100 * (r - p1) / (p2 - p1)) / 100;
  }

  // One power with its parameters; adds its price parts to the first free pair.
  void ApplyPower(int power, int p1, int p2, int minv, int maxv, int mult) {
    int r = RandomIn(p1, p2);
    int r2 = 0;
    switch (power) {
      case power::kTohit:
        it_.pctToHit += r;
        break;
      case power::kTohitCurse:
        it_.pctToHit -= r;
        break;
      case power::kDamp:
        it_.pctDamage += r;
        break;
      case power::kDampCurse:
        it_.pctDamage -= r;
        break;
      case power::kTohitDamp: {
        r = RandomIn(p1, p2);
        it_.pctDamage += r;
        // The to-hit part follows the damage band the prefix starts at.
        static constexpr std::array<std::array<int, 3>, 9> kBands{{{20, 1, 5},
                                                                   {36, 6, 10},
                                                                   {51, 11, 15},
                                                                   {66, 16, 20},
                                                                   {81, 21, 30},
                                                                   {96, 31, 40},
                                                                   {111, 41, 50},
                                                                   {126, 51, 75},
                                                                   {151, 76, 100}}};
        for (const auto& band : kBands)
          if (p1 == band[0]) r2 = RandomIn(band[1], band[2]);
        it_.pctToHit += r2;
        break;
      }
      case power::kTohitDampCurse:
        it_.pctDamage -= r;
        if (p1 == 25) r2 = RandomIn(1, 5);
        if (p1 == 50) r2 = RandomIn(6, 10);
        it_.pctToHit -= r2;
        break;
      case power::kAcp:
        it_.pctArmor += r;
        break;
      case power::kAcpCurse:
        it_.pctArmor -= r;
        break;
      case power::kSetac:
        it_.armor = r;
        break;
      case power::kAcCurse:
        it_.armor -= r;
        break;
      case power::kFireres:
        it_.resFire += r;
        break;
      case power::kLightres:
        it_.resLightning += r;
        break;
      case power::kMagicres:
        it_.resMagic += r;
        break;
      case power::kAllres:
        it_.resFire += r;
        it_.resLightning += r;
        it_.resMagic += r;
        if (it_.resFire < 0) it_.resFire = 0;
        if (it_.resLightning < 0) it_.resLightning = 0;
        if (it_.resMagic < 0) it_.resMagic = 0;
        break;
      case power::kSpllvladd:
        it_.spellLevels = static_cast<std::int8_t>(r);
        break;
      case power::kCharges:
        it_.charges *= p1;
        it_.maxCharges = it_.charges;
        break;
      case power::kSpell:
        it_.spell = p1;
        it_.charges = p1;  // 1.09 stores the spell number as the charges here
        it_.maxCharges = p2;
        break;
      case power::kFiredam:
        it_.flags |= flag::kFiredam;
        it_.fireMin = p1;
        it_.fireMax = p2;
        break;
      case power::kLightdam:
        it_.flags |= flag::kLightdam;
        it_.lightningMin = p1;
        it_.lightningMax = p2;
        break;
      case power::kStr:
        it_.strength += r;
        break;
      case power::kStrCurse:
        it_.strength -= r;
        break;
      case power::kMag:
        it_.magic += r;
        break;
      case power::kMagCurse:
        it_.magic -= r;
        break;
      case power::kDex:
        it_.dexterity += r;
        break;
      case power::kDexCurse:
        it_.dexterity -= r;
        break;
      case power::kVit:
        it_.vitality += r;
        break;
      case power::kVitCurse:
        it_.vitality -= r;
        break;
      case power::kAttribs:
        it_.strength += r;
        it_.magic += r;
        it_.dexterity += r;
        it_.vitality += r;
        break;
      case power::kAttribsCurse:
        it_.strength -= r;
        it_.magic -= r;
        it_.dexterity -= r;
        it_.vitality -= r;
        break;
      case power::kGethitCurse:
        it_.damageFromEnemies += r;
        break;
      case power::kGethit:
        it_.damageFromEnemies -= r;
        break;
      case power::kLife:
        it_.hitPoints += r << 6;
        break;
      case power::kLifeCurse:
        it_.hitPoints -= r << 6;
        break;
      case power::kMana:
        it_.mana += r << 6;
        break;
      case power::kManaCurse:
        it_.mana -= r << 6;
        break;
      case power::kDur:
        r2 = r * it_.maxDurability / 100;
        it_.maxDurability += r2;
        it_.durability += r2;
        break;
      case power::kDurCurse:
        it_.maxDurability -= r * it_.maxDurability / 100;
        if (it_.maxDurability < 1) it_.maxDurability = 1;
        it_.durability = it_.maxDurability;
        break;
      case power::kIndestructible:
        it_.durability = kIndestructible;
        it_.maxDurability = kIndestructible;
        break;
      case power::kLight:
        it_.lightRadius += p1;
        break;
      case power::kLightCurse:
        it_.lightRadius -= p1;
        break;
      case power::kFireArrows:
        it_.flags |= flag::kFireArrows;
        it_.fireMin = p1;
        it_.fireMax = p2;
        break;
      case power::kLightArrows:
        it_.flags |= flag::kLightArrows;
        it_.lightningMin = p1;
        it_.lightningMax = p2;
        break;
      case power::kThorns:
        it_.flags |= flag::kThorns;
        break;
      case power::kNomana:
        it_.flags |= flag::kNomana;
        break;
      case power::kNohealplr:
        it_.flags |= flag::kNohealplr;
        break;
      case power::kAbshalftrap:
        it_.flags |= flag::kAbshalftrap;
        break;
      case power::kKnockback:
        it_.flags |= flag::kKnockback;
        break;
      case power::k3xdamvdem:
        it_.flags |= flag::k3xdamvdem;
        break;
      case power::kAllreszero:
        it_.flags |= flag::kAllreszero;
        break;
      case power::kNohealmon:
        it_.flags |= flag::kNohealmon;
        break;
      case power::kStealmana:
        if (p1 == 3) it_.flags |= flag::kStealmana3;
        if (p1 == 5) it_.flags |= flag::kStealmana5;
        break;
      case power::kSteallife:
        if (p1 == 3) it_.flags |= flag::kSteallife3;
        if (p1 == 5) it_.flags |= flag::kSteallife5;
        break;
      case power::kTargac:
        it_.targetArmor += r;
        break;
      case power::kFastattack:
        if (p1 == 1) it_.flags |= flag::kQuickattack;
        if (p1 == 2) it_.flags |= flag::kFastattack;
        if (p1 == 3) it_.flags |= flag::kFasterattack;
        if (p1 == 4) it_.flags |= flag::kFastestattack;
        break;
      case power::kFastrecover:
        if (p1 == 1) it_.flags |= flag::kFastrecover;
        if (p1 == 2) it_.flags |= flag::kFasterrecover;
        if (p1 == 3) it_.flags |= flag::kFastestrecover;
        break;
      case power::kFastblock:
        it_.flags |= flag::kFastblock;
        break;
      case power::kDammod:
        it_.damage += r;
        break;
      case power::kRndarrowvel:
        it_.flags |= flag::kRndarrowvel;
        break;
      case power::kSetdam:
        it_.minDamage = p1;
        it_.maxDamage = p2;
        break;
      case power::kSetdur:
        it_.durability = p1;
        it_.maxDurability = p1;
        break;
      case power::kFastswing:
        it_.flags |= flag::kFasterattack;
        break;
      case power::kOnehand:
        it_.location = static_cast<std::int8_t>(iloc::kOnehand);
        break;
      case power::kDrainlife:
        it_.flags |= flag::kDrainlife;
        break;
      case power::kRndsteallife:
        it_.flags |= flag::kRndsteallife;
        break;
      case power::kInfravision:
        it_.flags |= flag::kInfravision;
        break;
      case power::kNominstr:
        it_.minStr = 0;
        break;
      case power::kInvcurs:
        it_.cursor = p1;
        break;
      // These three read the owner's armour, mana or level when the item is made or loaded.
      case power::kAddaclife:
      case power::kAddmanaac:
      case power::kFireresclvl:
        it_.playerDependent = true;
        break;
      default:
        break;
    }
    if (it_.valueAdd1 != 0 || it_.valueMult1 != 0) {
      it_.valueAdd2 = PriceValue(r, p1, p2, minv, maxv);
      it_.valueMult2 = mult;
    } else {
      it_.valueAdd1 = PriceValue(r, p1, p2, minv, maxv);
      it_.valueMult1 = mult;
    }
  }

  void ApplyAffix(const AffixRow& a) {
    ApplyPower(a.power, a.param1, a.param2, a.minValue, a.maxValue, a.multValue);
  }

  static std::string Prefixed(std::string_view prefix, std::string_view name) {
    return std::string(prefix) + " " + std::string(name);
  }
  static std::string Suffixed(std::string_view name, std::string_view suffix) {
    return std::string(name) + " of " + std::string(suffix);
  }

  void MagicPowers(int minLevel, int maxLevel, std::uint32_t types, bool onlyGood) {
    int pre = rnd_.Draw(4);
    int post = rnd_.Draw(3);
    if (pre != 0 && post == 0) {
      if (rnd_.Draw(2) != 0)
        post = 1;
      else
        pre = 0;
    }
    int prefix = -1;
    int suffix = -1;
    std::uint8_t goodEvil = goe::kAny;
    if (!onlyGood && rnd_.Draw(3) != 0) onlyGood = true;
    std::array<int, 256> pool;
    if (pre == 0) {
      int n = 0;
      for (int j = 0; kPrefixes[j].power != -1; ++j) {
        const AffixRow& a = kPrefixes[j];
        if (!(types & a.itemTypes)) continue;
        if (a.minLevel < minLevel || a.minLevel > maxLevel) continue;
        if (onlyGood && !a.onlyGoodOk) continue;
        if (types == plt::kStaff && a.power == power::kCharges) continue;
        pool[n++] = j;
        if (a.doubleChance) pool[n++] = j;
      }
      if (n != 0) {
        prefix = pool[rnd_.Draw(n)];
        const AffixRow& a = kPrefixes[prefix];
        it_.identifiedName = Prefixed(a.name, it_.identifiedName);
        it_.magical = 1;
        ApplyAffix(a);
        it_.prefixPower = a.power;
        goodEvil = a.goodEvil;
      }
    }
    if (post != 0) {
      int n = 0;
      for (int j = 0; kSuffixes[j].power != -1; ++j) {
        const AffixRow& a = kSuffixes[j];
        if (!(types & a.itemTypes)) continue;
        if (a.minLevel < minLevel || a.minLevel > maxLevel) continue;
        if ((goodEvil | a.goodEvil) == (goe::kGood | goe::kEvil)) continue;
        if (onlyGood && !a.onlyGoodOk) continue;
        pool[n++] = j;
      }
      if (n != 0) {
        suffix = pool[rnd_.Draw(n)];
        const AffixRow& a = kSuffixes[suffix];
        it_.identifiedName = Suffixed(it_.identifiedName, a.name);
        it_.magical = 1;
        ApplyAffix(a);
        it_.suffixPower = a.power;
      }
    }
    if (NameTooWide(it_.identifiedName)) {
      it_.identifiedName = std::string(Row(it_.baseIndex).shortName);
      if (prefix != -1) it_.identifiedName = Prefixed(kPrefixes[prefix].name, it_.identifiedName);
      if (suffix != -1) it_.identifiedName = Suffixed(it_.identifiedName, kSuffixes[suffix].name);
    }
    if (prefix != -1 || suffix != -1) CalcPrice();
  }

  void StaffPower(int level, int spellIndex, bool onlyGood) {
    const int roll = rnd_.Draw(10);
    int prefix = -1;
    if (roll == 0 || onlyGood) {
      std::array<int, 256> pool;
      int n = 0;
      for (int j = 0; kPrefixes[j].power != -1; ++j) {
        const AffixRow& a = kPrefixes[j];
        if (!(a.itemTypes & plt::kStaff) || a.minLevel > level) continue;
        if (onlyGood && !a.onlyGoodOk) continue;
        pool[n++] = j;
        if (a.doubleChance) pool[n++] = j;
      }
      if (n != 0) {
        prefix = pool[rnd_.Draw(n)];
        const AffixRow& a = kPrefixes[prefix];
        it_.identifiedName = Prefixed(a.name, it_.identifiedName);
        it_.magical = 1;
        ApplyAffix(a);
        it_.prefixPower = a.power;
      }
    }
    if (NameTooWide(it_.identifiedName)) {
      it_.identifiedName = std::string(Row(it_.baseIndex).shortName);
      if (prefix != -1) it_.identifiedName = Prefixed(kPrefixes[prefix].name, it_.identifiedName);
      it_.identifiedName = Suffixed(it_.identifiedName, spells_[spellIndex].name);
      if (it_.magical == 0) it_.plainName = it_.identifiedName;
    }
    CalcPrice();
  }

  void StaffSpell(int level, bool onlyGood) {
    if (rnd_.Draw(4) == 0) {
      MagicPowers(level >> 1, level, plt::kStaff, onlyGood);
      return;
    }
    int l = level >> 1;
    if (l == 0) l = 1;
    const int remaining = rnd_.Draw(static_cast<int>(spells_.size())) + 1;
    // The shareware game caps the level of the staff's prefix, not of its spell.
    if (IsShareware(mode_) && level > 10) level = 10;
    const int chosen = CountSpells(remaining, l, &SpellRow::staffLevel);
    const SpellRow& sp = spells_[chosen];
    std::string name = Suffixed(it_.plainName, sp.name);
    if (NameTooWide(name)) name = Suffixed("Staff", sp.name);
    it_.plainName = name;
    it_.identifiedName = name;
    it_.spell = chosen;
    it_.charges = sp.staffMin + rnd_.Draw(sp.staffMax - sp.staffMin + 1);
    it_.maxCharges = it_.charges;
    it_.minMag = static_cast<std::uint8_t>(sp.minInt);
    const int v = it_.charges * sp.staffCost / 5;
    it_.value += v;
    it_.price += v;
    StaffPower(level, chosen, onlyGood);
  }

  void Bonus(int minLevel, int maxLevel, bool onlyGood) {
    if (it_.itemClass == iclass::kGold) return;
    if (minLevel > 25) minLevel = 25;
    switch (it_.type) {
      case itype::kSword:
      case itype::kAxe:
      case itype::kMace:
        MagicPowers(minLevel, maxLevel, plt::kWeap, onlyGood);
        break;
      case itype::kBow:
        MagicPowers(minLevel, maxLevel, plt::kBow, onlyGood);
        break;
      case itype::kShield:
        MagicPowers(minLevel, maxLevel, plt::kShld, onlyGood);
        break;
      case itype::kLarmor:
      case itype::kHelm:
      case itype::kMarmor:
      case itype::kHarmor:
        MagicPowers(minLevel, maxLevel, plt::kArmo, onlyGood);
        break;
      case itype::kStaff:
        StaffSpell(maxLevel, onlyGood);
        break;
      case itype::kRing:
      case itype::kAmulet:
        MagicPowers(minLevel, maxLevel, plt::kMisc, onlyGood);
        break;
      default:
        break;
    }
  }

  void MakeUnique(int uid) {
    const UniqueRow& u = kUniques[uid];
    for (int k = 0; k < u.powerCount && k < 6; ++k) {
      const UniquePower& p = u.powers[k];
      ApplyPower(p.power, p.param1, p.param2, 0, 0, 1);
    }
    it_.identifiedName = std::string(u.name);
    it_.price = u.value;
    if (it_.miscId == misc::kUnique) it_.seed = uid;
    it_.uniqueIndex = uid;
    it_.uniqueIndexKnown = true;
    it_.magical = 2;
    it_.createInfo |= cf::kUnique;
  }

  // The unique this item becomes, or -1. Without the unique flag a single player game has
  // already found every unique the draw could give (or the item would be unique).
  int PickUnique(int level, int uper, bool recreate) {
    if (rnd_.Draw(100) > uper) return -1;
    std::array<bool, kUniqueSlots> ok{};
    int count = 0;
    const int base = Row(it_.baseIndex).uniqueBase;
    for (int j = 0; kUniques[j].uniqueBase != -1; ++j) {
      if (kUniques[j].uniqueBase == base && level >= kUniques[j].minLevel && (recreate || !SinglePlayer())) {
        ok[j] = true;
        ++count;
      }
    }
    if (count == 0) return -1;
    rnd_.Draw(10);  // drawn and not used: the last candidate is always the one
    int uid = 0;
    while (count > 0) {
      if (ok[uid]) --count;
      if (count > 0) uid = (uid + 1) % static_cast<int>(kUniqueSlots);
    }
    return uid;
  }

  void RandomDurability() {
    // Only the current durability is drawn: it is play state and not compared.
    if (it_.durability != 0 && it_.durability != kIndestructible)
      it_.durability = rnd_.Draw(it_.maxDurability >> 1) + (it_.maxDurability >> 2) + 1;
  }

  void SetupAll(int index, std::int32_t seed, int level, int uper, bool onlyGood, bool recreate,
                bool pregen) {
    rnd_.Seed(seed);
    Attributes(index, level >> 1);
    it_.seed = seed;
    it_.createInfo = static_cast<std::uint16_t>(level);
    if (pregen) it_.createInfo |= cf::kPregen;
    if (onlyGood) it_.createInfo |= cf::kOnlyGood;
    if (uper == 15)
      it_.createInfo |= cf::kUper15;
    else if (uper == 1)
      it_.createInfo |= cf::kUper1;
    if (it_.miscId != misc::kUnique) {
      int bonusLevel = -1;
      if (rnd_.Draw(100) <= 10 || rnd_.Draw(100) <= level) bonusLevel = level;
      if (bonusLevel == -1 &&
          (it_.miscId == misc::kStaff || it_.miscId == misc::kRing || it_.miscId == misc::kAmulet))
        bonusLevel = level;
      if (onlyGood) bonusLevel = level;
      if (uper == 15) bonusLevel = level + 4;
      if (bonusLevel != -1) {
        const int uid = PickUnique(bonusLevel, uper, recreate);
        if (uid == -1)
          Bonus(bonusLevel >> 1, bonusLevel, onlyGood);
        else
          MakeUnique(uid);
      }
      if (it_.magical != 2) RandomDurability();
    } else if (it_.location != iloc::kUnequipable) {
      // Quest uniques: the seed is the unique's index. Only a single player game makes them:
      // their quests are single player quests, and the Butcher and
      // the Skeleton King drop theirs only there.
      if (seed < 0 || seed >= static_cast<std::int32_t>(kUniques.size()) - 1) {
        unknownUnique_ = true;
        return;
      }
      if (!SinglePlayer()) {
        singlePlayerOnly_ = true;
        return;
      }
      MakeUnique(seed);
    }
  }

  void Useful(std::int32_t seed, int level) {
    rnd_.Seed(seed);
    int index = rnd_.Draw(2) != 0 ? idi::kHeal : idi::kMana;
    if (level > 1 && rnd_.Draw(3) == 0) index = idi::kPortal;
    Attributes(index, level);
    it_.seed = seed;
    it_.createInfo = static_cast<std::uint16_t>(level + cf::kUseful);
  }

  // Store choices: the candidates of each vendor, in item list order.
  bool SmithOk(const BaseItemRow& b) const {
    return b.type != itype::kMisc && b.type != itype::kGold && b.type != itype::kFood &&
           b.type != itype::kStaff && b.type != itype::kRing && b.type != itype::kAmulet;
  }
  bool PremiumOk(const BaseItemRow& b) const {
    if (b.type == itype::kMisc || b.type == itype::kGold || b.type == itype::kFood || b.type == itype::kStaff)
      return false;
    if (!SinglePlayer() && (b.type == itype::kRing || b.type == itype::kAmulet)) return false;
    return true;
  }
  bool WitchOk(const BaseItemRow& b) const {
    bool ok = b.type == itype::kMisc || b.type == itype::kStaff;
    if (b.miscId == misc::kMana || b.miscId == misc::kFullmana) ok = false;
    if (b.spell == spell::kTown) ok = false;
    if (b.miscId == misc::kFullheal || b.miscId == misc::kHeal) ok = false;
    if (SinglePlayer() && (b.spell == spell::kResurrect || b.spell == spell::kHealother)) ok = false;
    return ok;
  }
  bool HealerOk(const BaseItemRow& b) const {
    if (b.type != itype::kMisc) return false;
    bool ok = false;
    if (b.miscId == misc::kScroll && b.spell == spell::kHeal) ok = true;
    if (b.miscId == misc::kScrollt && b.spell == spell::kResurrect && !SinglePlayer()) ok = false;
    if (b.miscId == misc::kScrollt && b.spell == spell::kHealother && !SinglePlayer()) ok = true;
    if (SinglePlayer() && (b.miscId == misc::kElixstr || b.miscId == misc::kElixmag ||
                           b.miscId == misc::kElixdex || b.miscId == misc::kElixvit))
      ok = true;
    if (b.miscId == misc::kFullheal) ok = true;  // overruled below, as in the game
    if (b.miscId == misc::kRejuv || b.miscId == misc::kFullrejuv) ok = true;
    if (b.miscId == misc::kHeal || b.miscId == misc::kFullheal || b.miscId == misc::kMana ||
        b.miscId == misc::kFullmana)
      ok = false;
    return ok;
  }

  template <typename Accept>
  int Choose(Accept accept, bool doubleChance) {
    std::array<int, 2 * kGameItemIndexCount> pool;
    int n = 0;
    for (int i = 1; i < ListSize(); ++i) {
      const BaseItemRow& b = Row(i);
      if (b.drop == drop::kNever || !accept(b)) continue;
      pool[n++] = i;
      if (doubleChance && b.drop == drop::kDouble) pool[n++] = i;
    }
    if (n == 0) return -1;
    return pool[rnd_.Draw(n)];
  }

  GenerateResult RecreateTown(int index, std::uint16_t ci, std::int32_t seed) {
    const int level = ci & cf::kLevel;
    std::uint16_t flag = 0;
    if (ci & cf::kSmith) {
      flag = cf::kSmith;
      rnd_.Seed(seed);
      const int chosen =
          Choose([&](const BaseItemRow& b) { return SmithOk(b) && level >= b.minMonsterLevel; }, true);
      if (chosen < 0) return {std::nullopt, "Griswold has no item for this level"};
      Attributes(chosen, level);
    } else if (ci & cf::kSmithPremium) {
      flag = cf::kSmithPremium;
      rnd_.Seed(seed);
      const int chosen = Choose(
          [&](const BaseItemRow& b) {
            return PremiumOk(b) && b.minMonsterLevel >= (level >> 2) && b.minMonsterLevel <= level;
          },
          false);
      if (chosen < 0) return {std::nullopt, "Griswold has no premium item for this level"};
      Attributes(chosen, level);
      Bonus(level >> 1, level, true);
    } else if (ci & cf::kBoy) {
      flag = cf::kBoy;
      rnd_.Seed(seed);
      const int chosen =
          Choose([&](const BaseItemRow& b) { return PremiumOk(b) && level >= b.minMonsterLevel; }, false);
      if (chosen < 0) return {std::nullopt, "Wirt has no item for this level"};
      Attributes(chosen, level);
      Bonus(level, 2 * level, true);
    } else if (ci & cf::kWitch) {
      flag = cf::kWitch;
      if (index == idi::kMana || index == idi::kFullmana || index == idi::kPortal) {
        Attributes(index, level);
      } else {
        rnd_.Seed(seed);
        const int chosen =
            Choose([&](const BaseItemRow& b) { return WitchOk(b) && level >= b.minMonsterLevel; }, false);
        if (chosen < 0) return {std::nullopt, "Adria has no item for this level"};
        Attributes(chosen, level);
        int bonusLevel = -1;
        if (rnd_.Draw(100) <= 5) bonusLevel = 2 * level;
        if (bonusLevel == -1 && it_.miscId == misc::kStaff) bonusLevel = 2 * level;
        if (bonusLevel != -1) Bonus(bonusLevel >> 1, bonusLevel, true);
      }
    } else {
      flag = cf::kHealer;
      if (index == idi::kHeal || index == idi::kFullheal || index == idi::kResurrect) {
        Attributes(index, level);
      } else {
        rnd_.Seed(seed);
        const int chosen =
            Choose([&](const BaseItemRow& b) { return HealerOk(b) && level >= b.minMonsterLevel; }, false);
        if (chosen < 0) return {std::nullopt, "Pepin has no item for this level"};
        Attributes(chosen, level);
      }
    }
    it_.seed = seed;
    it_.createInfo = static_cast<std::uint16_t>(level | flag);
    return Done();
  }

 private:
  bool unknownUnique_ = false;
  bool singlePlayerOnly_ = false;
  mutable bool modeUsed_ = false;
  GameMode mode_;
  const std::vector<int>& rows_;
  std::span<const SpellRow> spells_;
  GameRandom rnd_;
  GeneratedItem it_;
};

}  // namespace

std::string_view GameModeName(GameMode mode) {
  switch (mode) {
    case GameMode::kSinglePlayer:
      return "single player";
    case GameMode::kMultiplayer:
      return "multiplayer";
    case GameMode::kShareware:
      return "shareware single player";
    case GameMode::kSharewareMultiplayer:
      return "shareware multiplayer";
  }
  return {};
}

std::uint8_t GameBit(GameMode mode) {
  switch (mode) {
    case GameMode::kSinglePlayer:
      return games::kSinglePlayer;
    case GameMode::kMultiplayer:
      return games::kMultiplayer;
    case GameMode::kShareware:
      return games::kSharewareSingle;
    case GameMode::kSharewareMultiplayer:
      return games::kSharewareMulti;
  }
  return 0;
}

bool NameTooWide(std::string_view name) {
  int width = 0;
  for (const char c : name) {
    width += kCharWidths[static_cast<std::uint8_t>(c)];
    if (width >= 125) return true;
  }
  return false;
}

std::optional<BaseKind> BaseKindOf(std::int32_t baseIndex, GameMode mode) {
  const std::vector<int>& rows = ItemList(mode);
  if (baseIndex < 0 || baseIndex >= static_cast<std::int32_t>(rows.size())) return std::nullopt;
  const BaseItemRow& b = kBaseItems[rows[static_cast<std::size_t>(baseIndex)]];
  return BaseKind{b.type, b.itemClass, b.miscId};
}

GenerateResult GenerateItem(std::int32_t baseIndex, std::uint16_t createInfo, std::int32_t seed,
                            GameMode mode, std::int32_t goldValue) {
  Generator g(mode);
  GenerateResult result = g.Recreate(baseIndex, createInfo, seed, goldValue);
  if (g.UnknownUnique()) return {std::nullopt, "the seed names no unique item"};
  if (g.SinglePlayerOnly()) return {std::nullopt, "a quest unique is made only in single player", true};
  return result;
}

}  // namespace relicor::gen
