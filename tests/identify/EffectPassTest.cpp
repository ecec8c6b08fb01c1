#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "identify/EffectPass.h"
#include "item/ItemRecord.h"
#include "support/RecordBuilder.h"
#include "support/ReportLines.h"

namespace relicor {
namespace {

using test::RecordBuilder;
using Lines = std::vector<std::string>;

struct PassRun {
  Lines lines;
  Lines debug;
  FindingState findings;
  AffixSlots slots;
  PriceAccumulators price;
};

enum class Parts { kEffects, kUnique, kTrailer };

PassRun RunPass(const ItemRecord& item, PassOptions options, Parts parts = Parts::kEffects) {
  ItemReport report;
  PassRun run;
  EffectPass pass(item, options, report);
  if (parts == Parts::kUnique) {
    pass.UniqueChecks();
  } else {
    pass.EffectSection();
    if (parts == Parts::kTrailer) {
      pass.SourceAndLevelLines();
      pass.FinalPrice();
      pass.NameCheck();
    }
  }
  run.lines = test::LinesOf(report.lines);
  run.debug = test::LinesOf(report.debugLines);
  run.findings = FindingState{report.status, report.lastFindingCode};
  run.slots = pass.slots();
  run.price = pass.accumulators();
  return run;
}

constexpr PassOptions kNormal{};
constexpr PassOptions kVk{true, false, false};
constexpr PassOptions kInfo{false, true, false};
constexpr PassOptions kVkInfo{true, true, false};

// A short sword (base item 114, class 1, base price 120) that keeps its durability.
RecordBuilder Sword() {
  return RecordBuilder().itemClass(1).baseItem(114).durability(20).maxDurability(20);
}

TEST(EffectPassTest, GoldSwordLinesNameAndPrice) {
  const ItemRecord item = Sword()
                              .name("gold sword")
                              .minDamage(2)
                              .maxDamage(6)
                              .pctToHit(25)
                              .prefixPower(0)
                              .source(1)
                              .createInfo(5)
                              .build();
  const PassRun run = RunPass(item, kInfo, Parts::kTrailer);
  EXPECT_EQ(run.lines,
            (Lines{"Damage     2-6", "Durability 20/20", "+25% to Hit", "Ursprung:  Monster/Dungeon",
                   "Monster-Basislevel war 5", "calc. price 3576 / 5364", "name resolve [GOLD SWORD]",
                   "type [SHORT SWORD]", ""}));
  // gold (21-30, 2100, 900, x9): P(25) = Round(44 * 0.01 * 900 - 0.1) = 396.
  EXPECT_EQ(run.price.rangeSum, 396);
  // The stored price 0 matches neither computed price.
  EXPECT_EQ(run.debug,
            (Lines{"PRICE GOLD SWORD" + std::string(22, ' ') + " internal 0 Gris 3576 Wirt 5364"}));
  EXPECT_EQ(run.findings.status, StatusColour::kGreen);
}

TEST(EffectPassTest, StoredPriceWithinOneOfAComputedPriceIsAccepted) {
  // bronze (1-5, 100, 400, x2) on a cap (base price 15): 530 / 795.
  const auto cap = [](std::int32_t stored) {
    return RecordBuilder()
        .itemClass(7)
        .baseItem(48)
        .durability(5)
        .maxDurability(5)
        .name("bronze cap")
        .pctToHit(5)
        .prefixPower(0)
        .price(stored)
        .build();
  };
  EXPECT_TRUE(RunPass(cap(531), kNormal, Parts::kTrailer).debug.empty());
  EXPECT_TRUE(RunPass(cap(529), kNormal, Parts::kTrailer).debug.empty());
  EXPECT_TRUE(RunPass(cap(796), kNormal, Parts::kTrailer).debug.empty());
  EXPECT_EQ(RunPass(cap(532), kNormal, Parts::kTrailer).debug,
            (Lines{"PRICE BRONZE CAP" + std::string(22, ' ') + " internal 532 Gris 530 Wirt 795"}));
}

TEST(EffectPassTest, AllAttributesUseTheirOwnTable) {
  const ItemRecord item =
      Sword().addStrength(5).addMagic(5).addDexterity(5).addVitality(5).suffixPower(27).build();
  const PassRun run = RunPass(item, kNormal);
  EXPECT_EQ(run.lines, (Lines{"Durability 20/20", "+5 to all Attributes"}));
  EXPECT_EQ(run.slots.suffix, "the moon");
}

TEST(EffectPassTest, SingleAttributesInOrderLastNameStays) {
  const ItemRecord item = Sword().addStrength(31).addDexterity(-3).suffixPower(23).build();
  const PassRun run = RunPass(item, kNormal);
  EXPECT_EQ(run.lines, (Lines{"Durability 20/20", "+31 Strength", "*** HACK DETECTED 021: TOO MUCH TO STR 31",
                              "*** HACK DETECTED 022: HACKED STR EFFECT 31", "-3 Dexterity"}));
  EXPECT_EQ(run.slots.suffix, "atrophy");
}

TEST(EffectPassTest, DexterityAboveLimit) {
  const PassRun run = RunPass(Sword().addDexterity(31).suffixPower(23).build(), kNormal);
  EXPECT_EQ(run.lines,
            (Lines{"Durability 20/20", "+31 Dexterity", "*** HACK DETECTED 025: TOO MUCH TO DEX 31"}));
}

TEST(EffectPassTest, SingleResistsLastNameStays) {
  const ItemRecord item = Sword().resFire(30).resLightning(30).prefixPower(9).build();
  const PassRun run = RunPass(item, kNormal);
  EXPECT_EQ(run.lines, (Lines{"Durability 20/20", "+30% Res Fire",
                              "*** HACK DETECTED 012: HACKED RESIST EFFECT 30", "+30% Res Lightning"}));
  EXPECT_EQ(run.slots.prefix, "azure");
}

TEST(EffectPassTest, ResistAll) {
  const PassRun run =
      RunPass(Sword().resFire(40).resLightning(40).resMagic(40).prefixPower(8).build(), kNormal);
  EXPECT_EQ(run.lines,
            (Lines{"Durability 20/20", "+40% Res All", "*** HACK DETECTED 012: HACKED RESIST EFFECT 40"}));
  EXPECT_EQ(run.slots.prefix, "obsidian");
  EXPECT_EQ(run.price.prefixLevel, 24);
}

TEST(EffectPassTest, ResistLimitFollowsVkMode) {
  const ItemRecord item = Sword().resMagic(70).prefixPower(10).build();
  EXPECT_EQ(RunPass(item, kNormal).lines,
            (Lines{"Durability 20/20", "+70% Res Magic", "*** HACK DETECTED 011: TOO MUCH RESIST 70"}));
  const PassRun vk = RunPass(item, kVk);
  EXPECT_EQ(vk.lines, (Lines{"Durability 20/20", "+70% Res Magic"}));
  EXPECT_EQ(vk.slots.prefix, "diamond");
}

TEST(EffectPassTest, HitPointsSearchBackward) {
  const PassRun run = RunPass(Sword().addHitPoints(30 * 64).suffixPower(31).build(), kNormal);
  EXPECT_EQ(run.lines, (Lines{"Durability 20/20", "+30 Hit Points"}));
  EXPECT_EQ(run.slots.suffix, "the wolf");
  EXPECT_EQ(run.price.priceSum, 4100);  // only the row found is priced
}

TEST(EffectPassTest, ManaBonusIsScaledAndSearchedBackward) {
  const PassRun run = RunPass(Sword().addMana(30 * 64 + 63).prefixPower(35).build(), kNormal);
  EXPECT_EQ(run.lines,
            (Lines{"Durability 20/20", "+30 Mana", "*** HACK DETECTED 006: HACKED MANA EFFECT 30"}));
  EXPECT_EQ(run.slots.prefix, "serpent's");
  const PassRun negative = RunPass(Sword().addMana(-1).prefixPower(33).build(), kNormal);
  EXPECT_EQ(negative.lines, (Lines{"Durability 20/20", "-1 Mana"}));
  EXPECT_EQ(negative.slots.prefix, "frog's");
}

TEST(EffectPassTest, PercentDamageLimitIsStrict) {
  EXPECT_EQ(RunPass(Sword().pctDamage(175).prefixPower(3).build(), kNormal).lines,
            (Lines{"Durability 20/20", "+175% Damage"}));
  EXPECT_EQ(RunPass(Sword().pctDamage(176).prefixPower(3).build(), kNormal).lines,
            (Lines{"Durability 20/20", "+176% Damage", "*** HACK DETECTED 013: TOO MUCH %DAMAGE 176"}));
  const PassRun weak = RunPass(Sword().pctDamage(-25).prefixPower(2).build(), kNormal);
  EXPECT_EQ(weak.lines, (Lines{"Durability 20/20", "-25% Damage"}));
  EXPECT_EQ(weak.slots.prefix, "weak");
}

TEST(EffectPassTest, CombinedPrefixNamesFromTwoTables) {
  // Power 4: damage from the combined table, to-hit name only.
  const PassRun run = RunPass(Sword().pctDamage(40).pctToHit(35).prefixPower(4).build(), kNormal);
  EXPECT_EQ(run.lines, (Lines{"Durability 20/20", "+40% Damage", "+35% to Hit"}));
  EXPECT_EQ(run.slots.prefix, "knight's");
  EXPECT_EQ(run.price.priceSum, 1100);  // "fine" of the combined table; the name table adds nothing
}

TEST(EffectPassTest, WrongPowersRaiseHackedRules) {
  const PassRun run =
      RunPass(Sword().pctDamage(40).pctToHit(10).pctArmor(30).prefixPower(255).build(), kNormal);
  EXPECT_EQ(run.lines,
            (Lines{"Durability 20/20", "+40% Damage", "*** HACK DETECTED 014: HACKED %DAMAGE EFFECT 40",
                   "+10% to Hit", "*** HACK DETECTED 016: HACKED %TO HIT EFFECT 10", "+30% Armor",
                   "*** HACK DETECTED 018: HACKED %TO ARMOR EFFECT 30"}));
  // Percent armour is named whatever the power.
  EXPECT_EQ(run.slots.prefix, "fine");
}

TEST(EffectPassTest, UniqueItemSkipsRulesButKeepsSomeNames) {
  const ItemRecord item = Sword()
                              .quality(1)
                              .uniqueIndex(8)
                              .baseItem(31)
                              .effect(effect::kSteal3Life)
                              .effect(effect::kFastAttack)
                              .pctDamage(300)
                              .damageFromEnemies(-3)
                              .lightningDamage(1, 10)
                              .suffixPower(43)
                              .affixValueA(8000)
                              .build();
  const PassRun run = RunPass(item, kNormal);
  EXPECT_EQ(run.lines, (Lines{"steals 3% Life", "Fast Attack", "Durability 20/20", "+300% Damage",
                              "1-10 Lightning Damage", "UNIQUE ITEM"}));
  EXPECT_EQ(run.slots.suffix, "lightning");
  EXPECT_EQ(run.slots.prefix, "");
  // The speed suffix is priced, the steal effect is not.
  EXPECT_EQ(run.price.multiplierSum, 4 + 4);
  EXPECT_EQ(run.price.priceSum, 4000 + 8000);
  EXPECT_EQ(run.findings.status, StatusColour::kGreen);
}

TEST(EffectPassTest, UniqueChecks) {
  // helm of sprits: base item 50 only.
  const auto helm = [](std::uint8_t base) {
    return RecordBuilder().quality(1).uniqueIndex(63).itemClass(7).baseItem(base).build();
  };
  EXPECT_EQ(RunPass(helm(50), kInfo, Parts::kUnique).lines, (Lines{"++ UNIQUE:\"helm of sprits\" 3F 32"}));
  EXPECT_EQ(RunPass(helm(51), kNormal, Parts::kUnique).lines,
            (Lines{"*** HACK DETECTED 034: HACKED UNIQUE ITEM TYPE 33"}));
  // The butcher's cleaver: single player, on the cleaver (base item 6) only.
  const ItemRecord cleaver = RecordBuilder().quality(1).uniqueIndex(0).baseItem(9).build();
  EXPECT_EQ(RunPass(cleaver, kNormal, Parts::kUnique).lines,
            (Lines{"*** HACK DETECTED 036: THIS IS A SINGLE PLAYER ITEM",
                   "*** HACK DETECTED 034: HACKED UNIQUE ITEM TYPE 09"}));
  // A unique index without a row: no definition.
  EXPECT_EQ(
      RunPass(RecordBuilder().quality(1).uniqueIndex(95).baseItem(9).build(), kNormal, Parts::kUnique).lines,
      (Lines{"*** INCOMPLETE INTERNAL DEFINTION 100035: INTERNAL UNIQUE DEFINITION MISSED 09"}));
  // The mangler is not in multiplayer (sharp beak is given there); lightforge neither.
  EXPECT_EQ(RunPass(RecordBuilder().quality(1).uniqueIndex(36).baseItem(127).build(), kNormal, Parts::kUnique)
                .lines,
            (Lines{"*** HACK DETECTED 037: ITEM CANNOT BE FOUND IN DIABLO MULTIPLAYER"}));
  EXPECT_EQ(
      RunPass(RecordBuilder().quality(1).uniqueIndex(9).baseItem(131).build(), kNormal, Parts::kUnique).lines,
      (Lines{"*** HACK DETECTED 037: ITEM CANNOT BE FOUND IN DIABLO MULTIPLAYER"}));
  // An index without a row.
  EXPECT_EQ(
      RunPass(RecordBuilder().quality(1).uniqueIndex(200).baseItem(7).build(), kInfo, Parts::kUnique).lines,
      (Lines{"++ UNIQUE:\"\" C8 07",
             "*** INCOMPLETE INTERNAL DEFINTION 100035: INTERNAL UNIQUE DEFINITION MISSED 07"}));
  // Not a unique item: nothing; in HTML mode no "++ UNIQUE:" line.
  EXPECT_TRUE(RunPass(Sword().uniqueIndex(63).build(), kInfo, Parts::kUnique).lines.empty());
  EXPECT_TRUE(RunPass(helm(50), PassOptions{false, true, true}, Parts::kUnique).lines.empty());
}

TEST(EffectPassTest, UniqueVkRowsAndIndestructible) {
  // V&K: unique 72 is "the strongshot" on base item 145, which may not be indestructible.
  const ItemRecord item = RecordBuilder()
                              .quality(1)
                              .uniqueIndex(72)
                              .itemClass(3)
                              .baseItem(145)
                              .durability(255)
                              .name("the strongshot")
                              .build();
  EXPECT_EQ(RunPass(item, kVk, Parts::kUnique).lines, Lines{});
  const PassRun run = RunPass(item, kVkInfo, Parts::kTrailer);
  EXPECT_EQ(
      run.lines,
      (Lines{"Indestructible", "*** HACK DETECTED 001: INDESTRUCTIBLE - MAY BE LEGIT IF SELF DONE IN GAME ",
             "UNIQUE ITEM", "Ursprung: Unique Monster", "Monster-Basislevel war 0", "calc. price 0 / 0",
             "name resolve [THE STRONGSHOT]", "type [LONG WAR BOW]", ""}));
  EXPECT_TRUE(run.debug.empty());
  // Normally 72 is "leather of aut", which may be indestructible.
  const ItemRecord leather =
      RecordBuilder().quality(1).uniqueIndex(72).itemClass(6).baseItem(59).durability(0).build();
  EXPECT_EQ(RunPass(leather, kNormal).lines, (Lines{"Indestructible", "UNIQUE ITEM"}));
}

TEST(EffectPassTest, IndestructibleLines) {
  EXPECT_EQ(RunPass(Sword().durability(0).suffixPower(37).build(), kNormal).lines, (Lines{"Indestructible"}));
  EXPECT_EQ(RunPass(Sword().durability(254).build(), kNormal).lines, (Lines{"Durability 254/20"}));
  // Rings, amulets and books never show it, and get no rule for it.
  const ItemRecord ring = RecordBuilder().itemClass(12).baseItem(151).durability(255).build();
  EXPECT_EQ(RunPass(ring, kNormal).lines, Lines{});
}

TEST(EffectPassTest, ClassCheck) {
  EXPECT_EQ(
      RunPass(RecordBuilder().itemClass(10).baseItem(113).durability(1).maxDurability(1).build(), kNormal)
          .lines,
      (Lines{"*** HACK DETECTED 039: INTERNAL ITEM TYPE MISMATCH 0A/71", "Durability 1/1"}));
  EXPECT_EQ(RunPass(RecordBuilder().itemClass(12).baseItem(40).durability(255).build(), kNormal).lines,
            (Lines{"*** INCOMPLETE INTERNAL DEFINTION 100040: INTERNAL ITEM TYPE 0C/28"}));
  // The rows beyond the game's items are all zero: class 0, so a book passes there.
  EXPECT_EQ(RunPass(RecordBuilder().itemClass(0).baseItem(200).durability(255).build(), kNormal).lines,
            Lines{});
  // V&K base item 96 is a precious ring of class 0.
  EXPECT_EQ(RunPass(RecordBuilder().itemClass(0).baseItem(96).durability(255).build(), kVk).lines, Lines{});
}

TEST(EffectPassTest, FlagLinesInOrder) {
  RecordBuilder builder = Sword().suffixPower(58).armorClass(-3);
  for (int bit = 0; bit < 32; ++bit) {
    if (bit < 21 || bit > 23) builder.effect(bit);
  }
  const PassRun run = RunPass(builder.build(), kNormal);
  EXPECT_EQ(run.lines, (Lines{"Armorclass -3",
                              "stealth life",
                              "constantly lose life",
                              "knocks target back",
                              "steals 3% Mana",
                              "steals 5% Mana",
                              "steals 3% Life",
                              "steals 5% Life",
                              "Quick Attack",
                              "Fast Attack",
                              "Faster Attack",
                              "Fastest Attack",
                              "Fast Block",
                              "Lightning Arrows",
                              "Attacker takes 1-3 Damage",
                              "Lose all Mana",
                              "absorpes half trap damage",
                              "+200% Damage vs. Demons",
                              "All Resistances equals 0",
                              "Durability 20/20"}));
  EXPECT_EQ(run.slots.suffix, "thieves");
  EXPECT_EQ(RunPass(Sword().effect(effect::kAttackerTakesDamage).build(), kVk).lines,
            (Lines{"Attacker takes 1-50 Damage", "Durability 20/20"}));
}

TEST(EffectPassTest, SpeedAndRecoveryRules) {
  EXPECT_EQ(RunPass(Sword().effect(effect::kQuickAttack).effect(effect::kFastAttack).build(), kNormal).lines,
            (Lines{"Quick Attack", "Fast Attack", "*** HACK DETECTED 030: HACKED SPEED EFFECT",
                   "Durability 20/20"}));
  // The V&K crossbow may be fast without the suffix.
  const ItemRecord crossbow = RecordBuilder()
                                  .itemClass(3)
                                  .baseItem(143)
                                  .durability(9)
                                  .maxDurability(9)
                                  .effect(effect::kFastestAttack)
                                  .build();
  EXPECT_EQ(RunPass(crossbow, kVk).lines, (Lines{"Fastest Attack", "Durability 9/9"}));
  EXPECT_EQ(RunPass(crossbow, kNormal).lines,
            (Lines{"Fastest Attack", "*** HACK DETECTED 030: HACKED SPEED EFFECT", "Durability 9/9"}));
  EXPECT_EQ(
      RunPass(Sword().effect(effect::kFasterHitRecovery).suffixPower(58).build(), kNormal).lines,
      (Lines{"Faster Hit Recovery", "*** HACK DETECTED 031: HACKED RECOVERY EFFECT", "Durability 20/20"}));
  EXPECT_EQ(RunPass(Sword().effect(effect::kFasterHitRecovery).suffixPower(59).build(), kNormal).slots.suffix,
            "stability");
}

TEST(EffectPassTest, UseEffectLines) {
  const auto line = [](std::uint8_t code, std::uint8_t spell = 0) {
    bool known = true;
    std::string text = UseEffectLine(code, spell, known);
    return known ? text : "?" + text;
  };
  EXPECT_EQ(line(0), "");
  EXPECT_EQ(line(2), "fills up Life to max");
  EXPECT_EQ(line(13), "increase Vitality by one");
  EXPECT_EQ(line(21, 14), "Scroll of Chain Lightning");
  EXPECT_EQ(line(24, 16), "learn ?doom serpents?");
  EXPECT_EQ(line(24, 99), "learn ");
  EXPECT_EQ(line(43), "Ear");
  EXPECT_EQ(line(99), "?Info 4 unknown 63");
  // The use effects of the game's potions, targeted scrolls and the spectral elixir.
  EXPECT_EQ(line(3), "restores some Life");
  EXPECT_EQ(line(6), "restores some Mana");
  EXPECT_EQ(line(18), "restores some Life and Mana");
  EXPECT_EQ(line(19), "fills up Life and Mana to max");
  EXPECT_EQ(line(22, 32), "Scroll of Resurrect");
  EXPECT_EQ(line(22, 6), "Scroll of Fire Wall");
  EXPECT_EQ(line(44), "increase all Attributes by three");
  for (std::uint8_t code : {1, 4, 5, 8, 9, 14, 15, 16, 17, 20, 28, 45}) {
    EXPECT_EQ(line(code)[0], '?') << int{code};
  }

  const ItemRecord potion = RecordBuilder().itemClass(0).baseItem(83).durability(255).useEffect(99).build();
  const PassRun run = RunPass(potion, kInfo);
  EXPECT_EQ(run.lines, (Lines{"Info 4 unknown 63"}));
  EXPECT_EQ(run.findings.status, StatusColour::kAqua);
  EXPECT_EQ(RunPass(potion, kNormal).lines, Lines{});
  EXPECT_EQ(RunPass(potion, PassOptions{false, true, true}).lines, Lines{});
}

TEST(EffectPassTest, StaffCharges) {
  const auto staff = [](std::uint8_t spell, std::uint8_t most) {
    return RecordBuilder()
        .itemClass(10)
        .baseItem(147)
        .durability(30)
        .maxDurability(30)
        .spell(spell)
        .charges(3)
        .maxCharges(most);
  };
  // Apocalypse: at most 12 charges, 20 in V&K mode, three times that with power 15.
  EXPECT_EQ(RunPass(staff(24, 13).build(), kNormal).lines,
            (Lines{"3/13 Apocalypse-Charges", "*** HACK DETECTED 004: TOO MUCH CHARGES FOR THIS SPELL",
                   "Durability 30/30"}));
  EXPECT_EQ(RunPass(staff(24, 13).build(), kVk).lines,
            (Lines{"3/13 Apocalypse-Charges", "Durability 30/30"}));
  EXPECT_EQ(RunPass(staff(24, 36).prefixPower(15).build(), kNormal).lines,
            (Lines{"3/36 Apocalypse-Charges", "Durability 30/30"}));

  // plentiful: twice the multiplier, charges price halved.
  const PassRun plentiful = RunPass(staff(1, 40).prefixPower(15).affixValueA(2000).build(), kNormal);
  EXPECT_EQ(plentiful.slots.prefix, "plentiful");
  EXPECT_EQ(plentiful.slots.suffix, "Firebolt");
  EXPECT_EQ(plentiful.price.chargesPrice, 10 * 40 / 2);
  const PassRun bountiful = RunPass(staff(3, 20).prefixPower(15).affixValueA(3000).build(), kNormal);
  EXPECT_EQ(bountiful.slots.prefix, "bountiful");
  EXPECT_EQ(bountiful.price.chargesPrice, 30 * 20 / 3);
  EXPECT_EQ(bountiful.price.multiplierSum, 3);

  // Charges on another class: rule 3, but the spell still names the suffix.
  const PassRun sword = RunPass(Sword().spell(2).charges(1).maxCharges(1).build(), kNormal);
  EXPECT_EQ(sword.lines, (Lines{"1/1 Healing-Charges", "*** HACK DETECTED 003: INVALID SPELL CHARGES ENTRY",
                                "Durability 20/20"}));
  EXPECT_EQ(sword.slots.suffix, "Healing");
  EXPECT_EQ(sword.price.chargesPrice, 0);
  EXPECT_EQ(
      RunPass(staff(37, 1).build(), kNormal).lines,
      (Lines{"3/1 -Charges", "*** HACK DETECTED 003: INVALID SPELL CHARGES ENTRY", "Durability 30/30"}));
}

TEST(EffectPassTest, DamageFromEnemies) {
  const PassRun normal = RunPass(Sword().damageFromEnemies(-7).suffixPower(29).build(), kNormal);
  EXPECT_EQ(normal.lines, (Lines{"Durability 20/20", "-7 Damage from Enemies",
                                 "*** HACK DETECTED 032: HACKED DAMAGE REDUCTION EFFECT"}));
  EXPECT_EQ(normal.slots.suffix, "");
  const PassRun osmosis = RunPass(Sword().damageFromEnemies(-6).suffixPower(30).build(), kNormal);
  EXPECT_EQ(osmosis.slots.suffix, "osmosis");
  EXPECT_EQ(osmosis.price.rangeSum, 2500);
  // V&K: the prefix power is accepted and names the prefix.
  const PassRun vk = RunPass(Sword().damageFromEnemies(-14).prefixPower(29).build(), kVk);
  EXPECT_EQ(vk.lines, (Lines{"Durability 20/20", "-14 Damage from Enemies"}));
  EXPECT_EQ(vk.slots.prefix, "absorbing");
  EXPECT_EQ(RunPass(Sword().damageFromEnemies(2).build(), kNormal).lines,
            (Lines{"Durability 20/20", "+2 Damage from Enemies",
                   "*** HACK DETECTED 033: HACKED DAMAGE REDUCTION"}));
}

TEST(EffectPassTest, LightRadiusSpellLevelsAndRequirements) {
  const PassRun run = RunPass(
      Sword().lightRadius(-4).spellLevels(2).reqStrength(25).reqMagic(3).reqDexterity(40).build(), kNormal);
  EXPECT_EQ(run.lines, (Lines{"Durability 20/20", "-40% light radius", "+2 higher spells", "required 25 Str",
                              "required 3 Mag", "required 40 Dex"}));
  EXPECT_EQ(run.slots.suffix, "the dark");
  EXPECT_EQ(run.slots.prefix, "arch-angel's");
  EXPECT_EQ(run.price.multiplierSum, -3 + 3);
  // A low byte of 0 is no light radius at all.
  EXPECT_EQ(RunPass(Sword().lightRadius(256).build(), kNormal).lines, (Lines{"Durability 20/20"}));
  // Other values show the line but name nothing.
  const PassRun three = RunPass(Sword().lightRadius(3).build(), kNormal);
  EXPECT_EQ(three.lines, (Lines{"Durability 20/20", "+30% light radius"}));
  EXPECT_EQ(three.slots.suffix, "");
}

TEST(EffectPassTest, TheDarkIsClampedToOne) {
  const ItemRecord item = RecordBuilder()
                              .itemClass(4)
                              .baseItem(132)
                              .durability(5)
                              .maxDurability(5)
                              .lightRadius(-4)
                              .name("mace of the dark")
                              .price(1)
                              .build();
  const PassRun run = RunPass(item, kInfo, Parts::kTrailer);
  EXPECT_EQ(run.lines[4], "calc. price 1 / 1");
  EXPECT_TRUE(run.debug.empty());
}

TEST(EffectPassTest, FireAndLightning) {
  const PassRun flaming =
      RunPass(Sword().fireDamage(1, 10).prefixPower(16).affixValueA(5000).build(), kNormal);
  EXPECT_EQ(flaming.lines, (Lines{"Durability 20/20", "1-10 Fire Damage"}));
  EXPECT_EQ(flaming.slots.prefix, "flaming");
  // No prefix: the values swap, so the suffix value is the first one.
  const PassRun burning =
      RunPass(Sword().fireDamage(2, 12).suffixPower(42).affixValueA(6000).build(), kNormal);
  EXPECT_EQ(burning.slots.suffix, "burning");
  const PassRun unknown = RunPass(Sword().name("Fiery Sword").fireDamage(2, 12).build(), kNormal);
  EXPECT_EQ(unknown.debug, (Lines{"ID NOT FOUND FIERY SWORD"}));
  const PassRun both = RunPass(Sword()
                                   .lightningDamage(1, 20)
                                   .prefixPower(17)
                                   .suffixPower(43)
                                   .affixValueA(10000)
                                   .affixValueB(12000)
                                   .build(),
                               kNormal);
  EXPECT_EQ(both.lines, (Lines{"Durability 20/20", "1-20 Lightning Damage"}));
  EXPECT_EQ(both.slots.prefix, "lightning");
  EXPECT_EQ(both.slots.suffix, "thunder");
}

TEST(EffectPassTest, SuffixesFromAffixValues) {
  EXPECT_EQ(RunPass(Sword().suffixPower(37).affixValueA(600).build(), kNormal).slots.suffix, "the ages");
  EXPECT_EQ(RunPass(Sword().suffixPower(57).prefixPower(1).affixValueB(4000).build(), kNormal).slots.suffix,
            "bashing");
  EXPECT_EQ(RunPass(Sword().effect(effect::kKnockback).suffixPower(53).build(), kNormal).slots.suffix,
            "the bear");
}

TEST(EffectPassTest, SourceAndLevelLines) {
  const auto trailer = [](std::uint8_t source, std::uint8_t createInfo, PassOptions options) {
    ItemReport report;
    const ItemRecord item = RecordBuilder().source(source).createInfo(createInfo).build();
    EffectPass pass(item, options, report);
    pass.SourceAndLevelLines();
    return test::LinesOf(report.lines);
  };
  EXPECT_EQ(trailer(1, 0x4C, kNormal), (Lines{"Ursprung:  Monster/Dungeon", "Dungeon-Level war 6"}));
  EXPECT_EQ(trailer(2, 0x4C, kNormal), (Lines{"Ursprung:  Unique Item", "Monster-Basislevel war 12",
                                              "das Monster war auch ein Unique :)"}));
  // No drop flag: the game keeps whatever level its item slot held (quest items, shop potions).
  EXPECT_EQ(trailer(0, 35, kNormal), (Lines{"Ursprung: Unique Monster", "Monster-Basislevel war 35"}));
  EXPECT_EQ(trailer(0, 35, kVk), (Lines{"Ursprung: Unique Monster", "Monster-Basislevel war 35"}));
  EXPECT_EQ(trailer(3, 30, kNormal),
            (Lines{"Ursprung:  Monster/Dungeon Unique Item", "Monster-Basislevel war 30"}));
  // Objects' items reach twice the deepest dungeon level, 32.
  EXPECT_EQ(trailer(1, 32, kNormal), (Lines{"Ursprung:  Monster/Dungeon", "Monster-Basislevel war 32"}));
  EXPECT_EQ(trailer(1, 33, kNormal),
            (Lines{"Ursprung:  Monster/Dungeon", "*** HACK DETECTED 002: SOURCE HACK CODE 33"}));
  EXPECT_EQ(trailer(1, 33, kVk), (Lines{"Ursprung:  Monster/Dungeon", "Monster-Basislevel war 33"}));
  EXPECT_EQ(trailer(8, 60, kNormal), (Lines{"Ursprung:  Griswold (magic)"}));
  EXPECT_EQ(trailer(0x80, 60, kNormal), (Lines{"Ursprung: "}));
}

TEST(EffectPassTest, VendorLimits) {
  // emerald (41-50, level 31) on a ring plus the whale: g = 117160, w = 175740.
  const auto ring = [](std::uint8_t source) {
    return RecordBuilder()
        .itemClass(12)
        .baseItem(151)
        .durability(255)
        .source(source)
        .resFire(45)
        .resLightning(45)
        .resMagic(45)
        .prefixPower(11)
        .addHitPoints(100 * 64)
        .suffixPower(31)
        .name("emerald ring of the whale")
        .price(117160)
        .build();
  };
  const PassRun griswold = RunPass(ring(8), kInfo, Parts::kTrailer);
  EXPECT_EQ(griswold.lines, (Lines{"+45% Res All", "+100 Hit Points", "Ursprung:  Griswold (magic)",
                                   "*** HACK DETECTED 041: ITEM PREFIX NOT AVAILABLE FROM GRISWOLD 31",
                                   "calc. price 117160 / 175740", "name resolve [EMERALD RING OF THE WHALE]",
                                   "type [RING]", ""}));
  EXPECT_TRUE(griswold.debug.empty());
  const PassRun wirt = RunPass(ring(16), kInfo, Parts::kTrailer);
  EXPECT_EQ(wirt.lines[3], "*** HACK DETECTED 043: ITEM EXCEEDS PRICE LIMIT");
  // Without additional information no rule and no price line.
  EXPECT_EQ(RunPass(ring(8), kNormal, Parts::kTrailer).lines,
            (Lines{"+45% Res All", "+100 Hit Points", "Ursprung:  Griswold (magic)"}));
}

TEST(EffectPassTest, NameComparison) {
  // The full name without suffix is accepted too.
  EXPECT_TRUE(RunPass(Sword().name("Gold Short Sword").pctToHit(25).prefixPower(0).price(3576).build(),
                      kNormal, Parts::kTrailer)
                  .debug.empty());
  EXPECT_EQ(RunPass(Sword().name("Iron Sword").pctToHit(25).prefixPower(0).price(3576).build(), kNormal,
                    Parts::kTrailer)
                .debug,
            (Lines{"NAME GOLD SWORD IRON SWORD"}));
  // V&K base item 96 resolves with the short name "ring".
  const ItemRecord precious = RecordBuilder()
                                  .itemClass(0)
                                  .baseItem(96)
                                  .name("ring of the fox")
                                  .durability(255)
                                  .addHitPoints(12 * 64)
                                  .suffixPower(31)
                                  .price(200460)
                                  .build();
  const PassRun run = RunPass(precious, kVkInfo, Parts::kTrailer);
  EXPECT_EQ(run.lines[run.lines.size() - 3], "name resolve [RING OF THE FOX]");
  EXPECT_EQ(run.lines[run.lines.size() - 2], "type [PRECIOUS RING]");
  EXPECT_TRUE(run.debug.empty());
}

TEST(EffectPassTest, AssembleNames) {
  const BaseItemRow bow{"bow", "long battle bow", 3, 1000};
  AffixSlots slots;
  EXPECT_EQ(AssembleNames(slots, bow, nullptr).resolved, "bow");
  slots.SetPrefix("king's");
  slots.SetSuffix("haste");
  const ResolvedNames names = AssembleNames(slots, bow, nullptr);
  EXPECT_EQ(names.resolved, "king's bow of haste");
  EXPECT_EQ(names.alternative, "king's long battle bow");
  const std::string_view unique = "the needler";
  EXPECT_EQ(AssembleNames(slots, bow, &unique).resolved, "the needler");
  EXPECT_EQ(AssembleNames(slots, bow, &unique).alternative, "king's long battle bow");
  EXPECT_TRUE(NameMatches(names, "KING'S BOW OF HASTE"));
  EXPECT_TRUE(NameMatches(names, "king's long battle bow"));
}

}  // namespace
}  // namespace relicor

namespace relicor {
namespace {

// Suffixes the game gives a fixed price part, known by their power and that part: one case each,
// with the price parts they add.
TEST(EffectPassTest, SuffixesKnownByPowerAndValue) {
  struct Case {
    std::uint8_t power;
    std::int16_t value;
    std::string_view name;
    std::int32_t multiplier;
  };
  const std::vector<Case> cases = {
      {35, 100, "sturdiness", 2}, {35, 200, "craftsmanship", 2}, {35, 300, "structure", 2},
      {35, 750, "many", 2},       {35, 1500, "plenty", 3},       {37, 600, "the ages", 5},
      {45, 500, "thorns", 2},     {57, 1000, "piercing", 3},     {57, 2000, "puncturing", 6},
      {57, 4000, "bashing", 12},  {60, 4000, "blocking", 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name));
    const PassRun run = RunPass(Sword().suffixPower(c.power).affixValueA(c.value).build(), kNormal);
    EXPECT_EQ(run.slots.suffix, c.name);
    EXPECT_EQ(run.price.multiplierSum, c.multiplier);
    EXPECT_EQ(run.price.priceSum, c.value);
  }
  // Lowered durability: a maximum of 1 is fragility, more is brittleness.
  const PassRun fragile =
      RunPass(Sword().durability(1).maxDurability(1).prefixPower(5).suffixPower(36).build(), kNormal);
  EXPECT_EQ(fragile.slots.suffix, "fragility");
  EXPECT_EQ(fragile.price.multiplierSum, -4);
  const PassRun brittle = RunPass(Sword().durability(9).maxDurability(9).suffixPower(36).build(), kNormal);
  EXPECT_EQ(brittle.slots.suffix, "brittleness");
  EXPECT_EQ(brittle.price.multiplierSum, -2);
}

// Values that other affixes reach too are decided by the power codes.
TEST(EffectPassTest, AmbiguousValuesAreDecidedByThePowers) {
  // +3 Strength has the price part 600, as "the ages" has.
  const PassRun strength = RunPass(Sword().suffixPower(19).addStrength(3).affixValueA(600).build(), kNormal);
  EXPECT_EQ(strength.slots.suffix, "strength");
  EXPECT_EQ(strength.price.multiplierSum, 2);
  // Meteoric 80 (10000) on a bow with lightning arrows is no "lightning" prefix.
  const PassRun meteoric = RunPass(Sword()
                                       .pctToHit(80)
                                       .prefixPower(0)
                                       .affixValueA(10000)
                                       .lightningDamage(1, 10)
                                       .suffixPower(43)
                                       .affixValueB(8000)
                                       .build(),
                                   kNormal);
  EXPECT_EQ(meteoric.slots.prefix, "meteoric");
  EXPECT_EQ(meteoric.slots.suffix, "lightning");
  // "speed" (8000) next to lightning damage of a prefix stays "speed".
  const PassRun speed = RunPass(Sword()
                                    .effect(effect::kFasterAttack)
                                    .suffixPower(58)
                                    .affixValueB(8000)
                                    .lightningDamage(2, 20)
                                    .prefixPower(17)
                                    .affixValueA(10000)
                                    .build(),
                                kNormal);
  EXPECT_EQ(speed.slots.suffix, "speed");
  EXPECT_EQ(speed.slots.prefix, "lightning");
  // Topaz 15 (5000) with fire arrows: the suffix names it, not "flaming".
  const PassRun topaz = RunPass(Sword()
                                    .resFire(15)
                                    .resLightning(15)
                                    .resMagic(15)
                                    .prefixPower(11)
                                    .affixValueA(5000)
                                    .fireDamage(1, 6)
                                    .suffixPower(42)
                                    .affixValueB(4000)
                                    .build(),
                                kNormal);
  EXPECT_EQ(topaz.slots.prefix, "topaz");
  EXPECT_EQ(topaz.slots.suffix, "fire");
  for (const auto& [suffix, value] : {std::pair{"flame", 2000}, std::pair{"burning", 6000}}) {
    EXPECT_EQ(
        RunPass(
            Sword().fireDamage(1, 3).suffixPower(42).affixValueA(static_cast<std::int16_t>(value)).build(),
            kNormal)
            .slots.suffix,
        suffix);
  }
  EXPECT_EQ(
      RunPass(Sword().lightningDamage(1, 6).suffixPower(43).affixValueA(6000).build(), kNormal).slots.suffix,
      "shock");
  // Crimson 30 (3000) and Raven's 20 (2000) on charged staffs are no charges prefixes.
  const auto staff = [] {
    return RecordBuilder()
        .itemClass(10)
        .baseItem(146)
        .durability(20)
        .maxDurability(20)
        .spell(1)
        .charges(40)
        .maxCharges(40);
  };
  const PassRun crimson = RunPass(staff().resFire(30).prefixPower(8).affixValueA(3000).build(), kNormal);
  EXPECT_EQ(crimson.slots.prefix, "crimson");
  EXPECT_EQ(crimson.price.chargesPrice, 10 * 40);
  const PassRun raven = RunPass(staff().addMana(20 * 64).prefixPower(33).affixValueA(2000).build(), kNormal);
  EXPECT_EQ(raven.slots.prefix, "raven's");
  EXPECT_EQ(raven.price.chargesPrice, 10 * 40);
}

// Mana above 60 (wyrm's, hydra's) comes only on staffs.
TEST(EffectPassTest, ManaAboveSixtyOnlyOnStaffs) {
  const auto item = [](std::uint8_t itemClass, std::uint8_t base) {
    return RecordBuilder().itemClass(itemClass).baseItem(base).durability(255).prefixPower(33).addMana(80 *
                                                                                                       64);
  };
  const PassRun staff = RunPass(item(10, 150).build(), kNormal);
  EXPECT_EQ(staff.lines, (Lines{"Indestructible",
                                "*** HACK DETECTED 001: INDESTRUCTIBLE - MAY BE LEGIT IF SELF DONE IN GAME ",
                                "+80 Mana"}));
  EXPECT_EQ(staff.slots.prefix, "wyrm's");
  EXPECT_EQ(RunPass(item(12, 151).build(), kNormal).lines,
            (Lines{"+80 Mana", "*** HACK DETECTED 005: TOO MUCH MANA 80"}));
  EXPECT_EQ(RunPass(item(12, 151).addMana(60 * 64).build(), kNormal).lines, (Lines{"+60 Mana"}));
  EXPECT_EQ(RunPass(item(10, 150).addMana(101 * 64).build(), kNormal).lines[3],
            "*** HACK DETECTED 005: TOO MUCH MANA 101");
}

// Mana 15 and 30 and hit points 30 lie in two rows each; the affix value tells which.
TEST(EffectPassTest, SharedValuesFollowTheAffixValue) {
  const auto mana = [](std::int16_t affixValue) {
    return RunPass(RecordBuilder()
                       .itemClass(12)
                       .baseItem(151)
                       .addMana(15 * 64)
                       .prefixPower(33)
                       .affixValueA(affixValue)
                       .build(),
                   kNormal)
        .slots.prefix;
  };
  EXPECT_EQ(mana(1000), "spider's");  // the top of 10-15
  EXPECT_EQ(mana(1100), "raven's");   // the bottom of 15-20
  EXPECT_EQ(mana(0), "raven's");      // no price part of either: the later row, as before
  const auto hitPoints = [](std::int16_t affixValue) {
    return RunPass(RecordBuilder()
                       .itemClass(12)
                       .baseItem(151)
                       .addHitPoints(30 * 64)
                       .suffixPower(31)
                       .affixValueA(affixValue)
                       .build(),
                   kNormal)
        .slots.suffix;
  };
  EXPECT_EQ(hitPoints(4000), "the eagle");
  EXPECT_EQ(hitPoints(4100), "the wolf");
}

// Plain items cost their base value, books add their spell, and the Sorcerer's starting staff
// is priced at its base value, charges included; a dungeon staff with charges alone costs 1.
TEST(EffectPassTest, GamePricesOfItemsWithoutAffixes) {
  const auto price = [](const RecordBuilder& item) {
    const PassRun run = RunPass(item.build(), kInfo, Parts::kTrailer);
    for (const std::string& line : run.lines) {
      if (line.rfind("calc. price ", 0) == 0) return line;
    }
    return std::string();
  };
  EXPECT_EQ(price(RecordBuilder().itemClass(1).baseItem(115).durability(10).maxDurability(20)),
            "calc. price 250 / 375");
  EXPECT_EQ(price(RecordBuilder().itemClass(0).baseItem(24).useEffect(3)), "calc. price 50 / 75");
  EXPECT_EQ(price(RecordBuilder().itemClass(0).baseItem(21)), "calc. price 0 / 0");
  EXPECT_EQ(price(RecordBuilder().itemClass(0).baseItem(109).useEffect(24).spell(6)),
            "calc. price 6000 / 9000");
  EXPECT_EQ(price(RecordBuilder()
                      .itemClass(10)
                      .baseItem(5)
                      .spell(30)
                      .charges(9)
                      .maxCharges(40)
                      .durability(25)
                      .maxDurability(25)),
            "calc. price 520 / 780");
  EXPECT_EQ(price(RecordBuilder()
                      .itemClass(10)
                      .baseItem(146)
                      .spell(30)
                      .charges(50)
                      .maxCharges(50)
                      .durability(25)
                      .maxDurability(25)),
            "calc. price 1 / 1");
}

TEST(EffectPassTest, BooksAreNamedAfterTheirSpell) {
  const ItemRecord book =
      RecordBuilder().itemClass(0).baseItem(110).useEffect(24).spell(6).name("Book of Fire Wall").build();
  const PassRun run = RunPass(book, kNormal, Parts::kTrailer);
  EXPECT_EQ(run.slots.suffix, "Fire Wall");
  EXPECT_EQ(run.debug,
            (Lines{"PRICE BOOK OF FIRE WALL" + std::string(15, ' ') + " internal 0 Gris 6000 Wirt 9000"}));
}

}  // namespace
}  // namespace relicor

namespace relicor {
namespace {

std::string CalcPriceLine(const ItemRecord& item) {
  const PassRun run = RunPass(item, kInfo, Parts::kTrailer);
  for (const std::string& line : run.lines)
    if (line.rfind("calc. price ", 0) == 0) return line;
  return {};
}

// A value that names one suffix alone resolves whatever the power byte holds; where the power
// names another suffix of the game that holds the same value (the wolf's 6000), the power decides.
TEST(EffectPassTest, ValuesThatNameOneSuffixResolveWithoutTheirPower) {
  const auto falchion = [] {
    return RecordBuilder().itemClass(1).baseItem(115).durability(30).maxDurability(30);
  };
  const struct {
    const char* what;
    ItemRecord item;
    const char* suffix;
    const char* price;
  } cases[] = {
      {"structure", falchion().suffixPower(0).affixValueA(300).build(), "structure",
       "calc. price 800 / 1200"},
      {"thorns", falchion().suffixPower(0).affixValueA(500).build(), "thorns", "calc. price 1000 / 1500"},
      {"burning", falchion().suffixPower(0).affixValueA(6000).fireDamage(1, 16).build(), "burning",
       "calc. price 7500 / 11250"},
      {"shock", falchion().suffixPower(0).affixValueA(6000).lightningDamage(1, 6).build(), "shock",
       "calc. price 6500 / 9750"},
      {"structure with its power", falchion().suffixPower(35).affixValueA(300).build(), "structure",
       "calc. price 800 / 1200"},
      // The wolf (hit points, power 31) holds 6000 too.
      {"the wolf's power", falchion().suffixPower(31).affixValueA(6000).fireDamage(1, 16).build(), "",
       "calc. price 250 / 375"},
      // Strength, magic, dexterity and vitality reach 600 too: the ages counts only by its power.
      {"the ages without its power", falchion().suffixPower(0).affixValueA(600).build(), "",
       "calc. price 250 / 375"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RunPass(c.item, kInfo, Parts::kTrailer).slots.suffix, c.suffix) << c.what;
    EXPECT_EQ(CalcPriceLine(c.item), c.price) << c.what;
  }
}

// Spells no 1.09 book teaches keep their book cost: that no such book drops is the seed check's.
TEST(EffectPassTest, BooksOfSpellsWithoutA109BookKeepTheirPrice) {
  const struct {
    int spell;
    const char* price;
  } cases[] = {{18, "calc. price 21000 / 31500"},
               {24, "calc. price 30000 / 45000"},
               {25, "calc. price 26000 / 39000"},
               {32, "calc. price 4000 / 6000"}};
  for (const auto& c : cases)
    EXPECT_EQ(CalcPriceLine(RecordBuilder().itemClass(0).baseItem(109).useEffect(24).spell(c.spell).build()),
              c.price)
        << c.spell;
}

}  // namespace
}  // namespace relicor
