// Whole text-mode reports, line by line, for items whose lines are easy to get wrong: unique
// items with their checks, the V&K table rows and exemptions, prices that hit a tie or a vendor
// limit, and the debug lines with their padding. Every expected line is worked out by hand.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "identify/ItemReport.h"
#include "item/ItemRecord.h"
#include "platform/Clock.h"
#include "pool/ItemCache.h"
#include "support/RecordBuilder.h"
#include "support/ReportLines.h"
#include "support/TempDir.h"
#include "text/DateText.h"
#include "validate/Database.h"

namespace relicor {
namespace {

using test::RecordBuilder;
using test::TempDir;
using Lines = std::vector<std::string>;

constexpr const char* kSidecar =
    "[Iteminfos]\r\nSenderName=Conan\r\nPoints4Item=1\r\nPoints4ItemAt=02.12.2026\r\nAddedItem=01.12."
    "2026\r\n";

// The bookkeeping lines every case shares (from kSidecar), with the separator.
Lines Bookkeeping() {
  return {"by Conan", "Point4Item dated 02.12.2026", "Added 01.12.2026", std::string(34, '-')};
}

Lines Join(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

struct GoldenCase {
  std::string label;  // also the file name, label + ".ITM"
  ItemRecord item;
  bool vkMode;
  bool additionalInfo;
  Lines lines;
  Lines debug;
  StatusColour status;
};

std::ostream& operator<<(std::ostream& out, const GoldenCase& c) {
  return out << c.label;
}

// Naj's light plate bought from Griswold: a unique item whose affixes still add up to a price
// above the vendor limit. The limit rule runs on the computed price; the shown price is then 0.
ItemRecord NajsPlate() {
  return RecordBuilder()
      .quality(1)
      .uniqueIndex(77)
      .itemClass(9)
      .baseItem(67)
      .identified(1)
      .name("naj's light plate")
      .plainName("plate mail")
      .armorClass(50)
      .effect(effect::kKnockback)
      .effect(effect::kFastestAttack)
      .effect(effect::kFastestHitRecovery)
      .suffixPower(53)
      .durability(40)
      .maxDurability(60)
      .pctArmor(60)
      .reqStrength(90)
      .source(8)
      .createInfo(10)
      .build();
}

// Unique 72 on a long war bow: "leather of aut" (base item 59, may be indestructible) normally,
// "the strongshot" (base item 145, not indestructible) in V&K mode.
ItemRecord Strongshot() {
  return RecordBuilder()
      .quality(1)
      .uniqueIndex(72)
      .itemClass(3)
      .baseItem(145)
      .identified(1)
      .name("the strongshot")
      .plainName("long war bow")
      .durability(255)
      .source(2)
      .createInfo(0x4C)
      .build();
}

// A long battle bow (base item 143) with the fastest attack under the wrong suffix power, 70%
// fire resistance and creation level 35: three rules normally, none in V&K mode.
ItemRecord HasteBow() {
  return RecordBuilder()
      .itemClass(3)
      .baseItem(143)
      .identified(1)
      .name("bow of haste")
      .plainName("long battle bow")
      .price(32000)
      .minDamage(3)
      .maxDamage(10)
      .effect(effect::kFastestAttack)
      .effect(effect::kAttackerTakesDamage)
      .suffixPower(0)
      .durability(30)
      .maxDurability(40)
      .resFire(70)
      .prefixPower(8)
      .source(1)
      .createInfo(35)
      .build();
}

// A long staff (base price 100) whose multiplier sum is -2: plentiful +2, weakness -2, the
// night -2. Firebolt 10 x 5 charges, halved to 25: Round(25 / -2) = Round(-12.5) = -12 (ties to
// even), and Round(100 / -2) = -50; g = -50 + 2000 + 0 - 12 = 1938, w = 2907.
ItemRecord NightStaff() {
  return RecordBuilder()
      .itemClass(10)
      .baseItem(147)
      .identified(1)
      .name("plentiful staff of the night")
      .plainName("long staff")
      .price(1938)
      .spell(1)
      .charges(2)
      .maxCharges(5)
      .prefixPower(15)
      .affixValueA(2000)
      .addStrength(-3)
      .suffixPower(19)
      .lightRadius(-2)
      .durability(20)
      .maxDurability(30)
      .source(1)
      .createInfo(0x4C)
      .build();
}

// Fire damage without a fire affix and a name longer than the 32 characters of the price line.
ItemRecord FierySword() {
  return RecordBuilder()
      .itemClass(1)
      .baseItem(114)
      .identified(1)
      .name("the fiery sword of a long forgotten kingdom")
      .price(5)
      .durability(20)
      .maxDurability(20)
      .fireDamage(1, 5)
      .source(4)
      .build();
}

std::vector<GoldenCase> Cases() {
  return {
      {"NAJ",
       NajsPlate(),
       false,
       true,
       Join({{"File : NAJ.ITM", "NAJ'S LIGHT PLATE", "PLATE MAIL", "++ UNIQUE:\"naj's light plate\" 4D 43",
              "Price 0", "PreAddInfo 0000", "SufAddInfo 0000", "Armorclass 50", "knocks target back",
              "Fastest Attack", "Fastest Hit Recovery", "Durability 40/60", "+60% Armor", "UNIQUE ITEM",
              "required 90 Str"},
             Bookkeeping(),
             // m = 2 + 16 + 8, s = 750 + 16000 + 8000: g = 24750 + 4600 * 26 = 144350.
             {"Ursprung:  Griswold (magic)", "*** HACK DETECTED 043: ITEM EXCEEDS PRICE LIMIT",
              "calc. price 0 / 0", "name resolve [NAJ'S LIGHT PLATE]", "type [PLATE MAIL]", ""}}),
       {},
       StatusColour::kRed},
      {"AUT",
       Strongshot(),
       false,
       true,
       Join({{"File : AUT.ITM", "THE STRONGSHOT", "LONG WAR BOW", "++ UNIQUE:\"leather of aut\" 48 91",
              "*** HACK DETECTED 034: HACKED UNIQUE ITEM TYPE 91", "Price 0", "PreAddInfo 0000",
              "SufAddInfo 0000", "Indestructible", "UNIQUE ITEM"},
             Bookkeeping(),
             {"Ursprung:  Unique Item", "Monster-Basislevel war 12", "das Monster war auch ein Unique :)",
              "calc. price 0 / 0", "name resolve [LEATHER OF AUT]", "type [LONG WAR BOW]", ""}}),
       {"NAME LEATHER OF AUT THE STRONGSHOT"},
       StatusColour::kRed},
      {"STRONG",
       Strongshot(),
       true,
       true,
       Join({{"File : STRONG.ITM", "THE STRONGSHOT", "LONG WAR BOW", "++ UNIQUE:\"the strongshot\" 48 91",
              "Price 0", "PreAddInfo 0000", "SufAddInfo 0000", "Indestructible",
              "*** HACK DETECTED 001: INDESTRUCTIBLE - MAY BE LEGIT IF SELF DONE IN GAME ", "UNIQUE ITEM"},
             Bookkeeping(),
             {"Ursprung:  Unique Item", "Monster-Basislevel war 12", "das Monster war auch ein Unique :)",
              "calc. price 0 / 0", "name resolve [THE STRONGSHOT]", "type [LONG WAR BOW]", ""}}),
       {},
       StatusColour::kRed},
      {"BOW",
       HasteBow(),
       false,
       true,
       Join({{"File : BOW.ITM", "BOW OF HASTE", "LONG BATTLE BOW", "Price 32000", "PreAddInfo 0000",
              "SufAddInfo 0000", "Damage     3-10", "Fastest Attack",
              "*** HACK DETECTED 030: HACKED SPEED EFFECT", "Attacker takes 1-3 Damage", "Durability 30/40",
              "+70% Res Fire", "*** HACK DETECTED 011: TOO MUCH RESIST 70"},
             Bookkeeping(),
             // 70 lies in no fire resist row: only haste counts, 16000 + 1000 * 16.
             {"Ursprung:  Monster/Dungeon", "*** HACK DETECTED 002: SOURCE HACK CODE 35",
              "calc. price 32000 / 48000", "name resolve [BOW OF HASTE]", "type [LONG BATTLE BOW]", ""}}),
       {},
       StatusColour::kRed},
      {"CROSSBOW",
       HasteBow(),
       true,
       true,
       Join({{"File : CROSSBOW.ITM", "BOW OF HASTE", "LONG BATTLE BOW", "Price 32000", "PreAddInfo 0000",
              "SufAddInfo 0000", "Damage     3-10", "Fastest Attack", "Attacker takes 1-50 Damage",
              "Durability 30/40", "+70% Res Fire"},
             Bookkeeping(),
             // ruby (51-75 in V&K mode): P(70, 51, 75, 2900) = Round(79 * 0.01 * 2900 - 0.1) = 2291;
             // g = 16000 + 17100 + 2291 + 1000 * 21 = 56391, w = 169173 div 2 = 84586.
             {"Ursprung:  Monster/Dungeon", "Monster-Basislevel war 35", "calc. price 56391 / 84586",
              "name resolve [RUBY BOW OF HASTE]", "type [CROSSBOW]", ""}}),
       {"PRICE BOW OF HASTE" + std::string(20, ' ') + " internal 32000 Gris 56391 Wirt 84586",
        "NAME RUBY BOW OF HASTE BOW OF HASTE"},
       StatusColour::kGreen},
      {"STAFF",
       NightStaff(),
       false,
       true,
       Join({{"File : STAFF.ITM", "PLENTIFUL STAFF OF THE NIGHT", "LONG STAFF", "Price 1938",
              "PreAddInfo 07D0", "SufAddInfo 0000", "2/5 Firebolt-Charges", "Durability 20/30", "-3 Strength",
              "-20% light radius"},
             Bookkeeping(),
             {"Ursprung:  Monster/Dungeon", "Dungeon-Level war 6", "calc. price 1938 / 2907",
              "name resolve [PLENTIFUL STAFF OF THE NIGHT]", "type [LONG STAFF]", ""}}),
       {},
       StatusColour::kGreen},
      {"FIERY",
       FierySword(),
       false,
       false,
       Join({{"File : FIERY.ITM", "THE FIERY SWORD OF A LONG FORGOTTEN KINGDOM", "Price 5",
              "Durability 20/20", "1-5 Fire Damage"},
             Bookkeeping(),
             {"Ursprung:  Griswold (normal)"}}),
       {"ID NOT FOUND THE FIERY SWORD OF A LONG FORGOTTEN KINGDOM",
        "PRICE THE FIERY SWORD OF A LONG FORGOT internal 5 Gris 120 Wirt 180",
        "NAME SWORD THE FIERY SWORD OF A LONG FORGOTTEN KINGDOM"},
       StatusColour::kGreen},
  };
}

class ReportGoldenTest : public ::testing::TestWithParam<GoldenCase> {
 protected:
  TempDir dir;
  FixedClock clock{EncodeDateTime(CivilDateTime{2026, 12, 6, 12, 0, 0, 0})};
  ItemCache cache{clock};
  Database database{dir.file("IDENT.ID")};
};

// Loads the file and builds its report in text mode.
ItemReport ReportOf(ItemCache& cache, const Database& database, const std::string& path,
                    ReportOptions options) {
  const auto loaded = cache.LoadItem(path);
  EXPECT_TRUE(loaded.ok() && *loaded == LoadStatus::kLoaded) << path;
  if (!loaded.ok() || cache.CurrentEntry() == nullptr) return {};
  return BuildReport(*cache.CurrentEntry(), options, database);
}

TEST_P(ReportGoldenTest, LinesDebugLinesAndStatus) {
  const GoldenCase& c = GetParam();
  const std::string name = c.label + ".ITM";
  const std::string path = dir.write(name, c.item.view());
  dir.write(c.label + ".IT0", kSidecar);
  ReportOptions options;
  options.startTime = clock.Now();
  options.today = clock.Now();
  options.directory = dir.path();
  options.vkMode = c.vkMode;
  options.additionalInfo = c.additionalInfo;
  const ItemReport report = ReportOf(cache, database, path, options);
  EXPECT_TRUE(report.isItem);
  EXPECT_EQ(test::LinesOf(report.lines), c.lines);
  EXPECT_EQ(test::LinesOf(report.debugLines), c.debug);
  EXPECT_EQ(report.status, c.status);
}

INSTANTIATE_TEST_SUITE_P(Items, ReportGoldenTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return info.param.label; });

// The status panel: the first finding of a report picks red or purple; an unknown use effect
// turns it aqua whenever it comes, and a finding after it is still the first finding.
struct ColourCase {
  std::string label;
  ItemRecord item;
  StatusColour status;
};

std::ostream& operator<<(std::ostream& out, const ColourCase& c) {
  return out << c.label;
}

RecordBuilder Potion() {
  return RecordBuilder().itemClass(0).baseItem(83).durability(255).useEffect(99).name("elixir");
}

std::vector<ColourCase> ColourCases() {
  return {
      {"UnknownUseEffectAlone", Potion().build(), StatusColour::kAqua},
      // The class check (39) comes before the use effect line: aqua wins.
      {"HackThenUnknownUseEffect", Potion().itemClass(1).build(), StatusColour::kAqua},
      // An undefined base item (100040) before it: aqua too.
      {"DefinitionThenUnknownUseEffect", Potion().baseItem(40).build(), StatusColour::kAqua},
      // A percent damage rule after the use effect line is the first finding: red.
      {"UnknownUseEffectThenHack", Potion().pctDamage(50).build(), StatusColour::kRed},
      {"KnownUseEffectThenHack", Potion().useEffect(2).pctDamage(50).build(), StatusColour::kRed},
      {"DefinitionFirstThenHack", Potion().useEffect(0).baseItem(40).pctDamage(50).build(),
       StatusColour::kPurple},
  };
}

class ReportColourTest : public ::testing::TestWithParam<ColourCase> {
 protected:
  TempDir dir;
  FixedClock clock{EncodeDateTime(CivilDateTime{2026, 12, 6, 12, 0, 0, 0})};
  ItemCache cache{clock};
  Database database{dir.file("IDENT.ID")};
};

TEST_P(ReportColourTest, StatusAfterTheReport) {
  const ColourCase& c = GetParam();
  ReportOptions options;
  options.additionalInfo = true;
  const std::string path = dir.write(c.label + ".ITM", c.item.view());
  EXPECT_EQ(ReportOf(cache, database, path, options).status, c.status);
  // Without additional information the use effect is not looked at.
  options.additionalInfo = false;
  EXPECT_NE(ReportOf(cache, database, path, options).status, StatusColour::kAqua);
}

INSTANTIATE_TEST_SUITE_P(Items, ReportColourTest, ::testing::ValuesIn(ColourCases()),
                         [](const auto& info) { return info.param.label; });

}  // namespace
}  // namespace relicor
