#include <gtest/gtest.h>

#include "generate/GameRandom.h"
#include "generate/ItemGenerator.h"
#include "generate/SeedCheck.h"
#include "support/GameItems.h"
#include "support/GeneratedRecord.h"

namespace relicor::gen {
namespace {

using test::GeneratedRecord;
using test::RecordEdit;

TEST(GameRandomTest, DrawsFollowTheGamesSequence) {
  // State 0 advances to 1, then 1 * 0x015A4E35 + 1; small limits use the high half.
  GameRandom r(0);
  EXPECT_EQ(r.NextSeed(), 1);
  EXPECT_EQ(r.NextSeed(), 0x015A4E36);
  EXPECT_EQ(r.Draw(0), 0) << "no draw for a limit of 0";
  EXPECT_EQ(r.State(), 0x015A4E36);
  GameRandom s(0x015A4E36);
  const std::int32_t next = s.NextSeed();
  GameRandom t(0x015A4E36);
  EXPECT_EQ(t.Draw(100), (next >> 16) % 100);
  GameRandom u(0x015A4E36);
  EXPECT_EQ(u.Draw(0x10000), next % 0x10000) << "large limits use the whole state";
}

TEST(GameRandomTest, MostNegativeStateStaysNegative) {
  // The state that advances to 0x80000000: its absolute value is itself, as in the game.
  GameRandom r(0);
  // Find a predecessor by inverting the generator: x = (y - 1) * inverse(0x015A4E35).
  std::uint32_t inverse = 1;
  for (int i = 0; i < 31; ++i) inverse *= 2 - 0x015A4E35u * inverse;  // Newton step for the inverse
  const auto before = static_cast<std::int32_t>((0x80000000u - 1u) * inverse);
  r.Seed(before);
  EXPECT_EQ(r.NextSeed(), INT32_MIN);
}

// A single item: the record the generator's item makes is genuine, for every path.
TEST(ItemGeneratorTest, RebuiltItemsOfEveryPathAreGenuine) {
  const std::uint16_t paths[] = {
      20 | cf::kUper1,
      24 | cf::kUper15 | cf::kOnlyGood,
      30 | cf::kUper1 | cf::kUnique,
      12 | cf::kSmith,
      20 | cf::kSmithPremium,
      25 | cf::kBoy,
      14 | cf::kWitch,
      10 | cf::kHealer,
      4 | cf::kUseful,
      6 | cf::kPregen | cf::kUper1,
  };
  int built = 0;
  for (const GameMode mode : {GameMode::kSinglePlayer, GameMode::kMultiplayer, GameMode::kShareware,
                              GameMode::kSharewareMultiplayer}) {
    for (std::uint16_t ci : paths) {
      // The shareware game's single player stocks its three shops at level 6 only.
      if (mode == GameMode::kShareware && (ci & (cf::kSmith | cf::kWitch | cf::kHealer)))
        ci = static_cast<std::uint16_t>((ci & ~cf::kLevel) | 6);
      for (std::int32_t seed = 1; seed < 400; seed += 7) {
        const std::int32_t index = seed % 157;
        const GenerateResult result = GenerateItem(index, ci, seed * 7919, mode);
        if (!result.item || index == 0) continue;
        const SeedVerdict v = CheckRecord(GeneratedRecord(*result.item));
        EXPECT_EQ(v.verdict, Verdict::kGenuine)
            << GameModeName(mode) << " ci " << ci << " seed " << seed * 7919 << " index " << index;
        ++built;
      }
    }
  }
  EXPECT_GT(built, 1200);
}

TEST(ItemGeneratorTest, ShopsChooseTheirOwnBaseItem) {
  // Griswold, Wirt, Adria and Pepin draw the base item from the seed: the index given is not used.
  for (const std::uint16_t ci : {std::uint16_t(12 | cf::kSmith), std::uint16_t(20 | cf::kBoy),
                                 std::uint16_t(14 | cf::kWitch), std::uint16_t(10 | cf::kHealer)}) {
    const auto a = GenerateItem(50, ci, 123456, GameMode::kSinglePlayer);
    const auto b = GenerateItem(60, ci, 123456, GameMode::kSinglePlayer);
    ASSERT_TRUE(a.item && b.item);
    EXPECT_EQ(a.item->baseIndex, b.item->baseIndex) << ci;
  }
}

TEST(ItemGeneratorTest, GoldKeepsItsAmountAndShowsItsPile) {
  const struct {
    std::int32_t value;
    std::int32_t cursor;
  } cases[] = {{1, 4}, {1000, 4}, {1001, 5}, {2499, 5}, {2500, 6}, {5000, 6}};
  for (const auto& c : cases) {
    const auto gold = GenerateItem(0, 0x0106, 99, GameMode::kSinglePlayer, c.value);
    ASSERT_TRUE(gold.item);
    EXPECT_EQ(gold.item->cursor, c.cursor) << c.value;
    ItemRecord r = GeneratedRecord(*gold.item);
    EXPECT_EQ(CheckRecord(r).verdict, Verdict::kGenuine) << c.value;
    RecordEdit(r).i32(offset::kCursor, c.cursor == 6 ? 4 : 6);
    EXPECT_EQ(CheckRecord(r).verdict, Verdict::kEdited) << c.value;
  }
  ItemRecord tooMuch = GeneratedRecord(*GenerateItem(0, 0, 1, GameMode::kSinglePlayer, 6000).item);
  EXPECT_EQ(CheckRecord(tooMuch).verdict, Verdict::kEdited) << "a pile holds at most 5000";
}

TEST(ItemGeneratorTest, EveryGeneratedFieldIsCompared) {
  // A magic item with two affixes: each field, changed alone, is named.
  const auto result = GenerateItem(120, 26 | cf::kUper1, 545145866, GameMode::kSinglePlayer);
  ASSERT_TRUE(result.item);
  const ItemRecord base = GeneratedRecord(*result.item);
  ASSERT_EQ(CheckRecord(base).verdict, Verdict::kGenuine);
  const struct {
    std::size_t offset;
    const char* field;
  } fields[] = {
      {offset::kItemClass, "item type"},
      {offset::kCursor, "graphic"},
      {offset::kBaseValue, "base value"},
      {offset::kMinDamage, "min damage"},
      {offset::kArmorClass, "armor"},
      {offset::kUseEffect, "use effect"},
      {offset::kSpell, "spell"},
      {offset::kPctToHit, "%to hit"},
      {offset::kPctArmor, "%armor"},
      {offset::kAddStrength, "strength"},
      {offset::kAddMagic, "magic"},
      {offset::kAddDexterity, "dexterity"},
      {offset::kAddVitality, "vitality"},
      {offset::kResFire, "fire resistance"},
      {offset::kResLightning, "lightning resistance"},
      {offset::kResMagic, "magic resistance"},
      {offset::kAddMana, "mana"},
      {offset::kAddHitPoints, "hit points"},
      {offset::kDamageFromEnemies, "damage from enemies"},
      {offset::kLightRadius, "light radius"},
      {offset::kFireDamageMin, "fire damage min"},
      {offset::kFireDamageMax, "fire damage max"},
      {offset::kLightningDamageMin, "lightning damage min"},
      {offset::kLightningDamageMax, "lightning damage max"},
      {offset::kEnemyArmor, "target armor"},
      {offset::kAffixValueA, "price part add 1"},
      {offset::kAffixMultA, "price part mult 1"},
      {offset::kAffixValueB, "price part add 2"},
      {offset::kAffixMultB, "price part mult 2"},
  };
  for (const auto& f : fields) {
    ItemRecord r = base;
    RecordEdit(r).i32(f.offset, r.ReadI32LE(f.offset) + 1);
    const SeedVerdict v = CheckRecord(r);
    ASSERT_EQ(v.verdict, Verdict::kEdited) << f.field;
    EXPECT_EQ(v.differences.front().field, f.field);
  }
  for (const auto& [offset, field] :
       {std::pair{offset::kMagical, "quality"}, std::pair{offset::kLocation, "location"},
        std::pair{offset::kCategory, "item class"}, std::pair{offset::kSpellLevels, "spell levels"},
        std::pair{offset::kPrefixPower, "prefix power"}, std::pair{offset::kSuffixPower, "suffix power"},
        std::pair{offset::kReqMagic, "required magic"},
        std::pair{offset::kReqDexterity, "required dexterity"}}) {
    ItemRecord r = base;
    RecordEdit(r).u8(offset, static_cast<std::uint8_t>(r.ReadU8(offset) + 1));
    const SeedVerdict v = CheckRecord(r);
    ASSERT_EQ(v.verdict, Verdict::kEdited) << field;
    EXPECT_EQ(v.differences.front().field, field);
  }
  ItemRecord r = base;
  // A weapon's maximum damage below its minimum: no shrine goes there.
  RecordEdit(r).i32(offset::kMaxDamage, r.ReadI32LE(offset::kMinDamage) - 1);
  ASSERT_EQ(CheckRecord(r).verdict, Verdict::kEdited);
  EXPECT_EQ(CheckRecord(r).differences.front().field, "max damage");
  r = base;
  RecordEdit(r).text(offset::kPlainName, "Long Sword!");
  EXPECT_EQ(CheckRecord(r).differences.front().field, "plain name");
}

}  // namespace
}  // namespace relicor::gen

namespace relicor::gen {
namespace {

TEST(ItemGeneratorTest, AdriasBooksMayNeedMoreMagicForTheBuyer) {
  // Find a book in Adria's stock.
  for (std::int32_t seed = 1; seed < 5000; ++seed) {
    const auto result = GenerateItem(1, 10 | cf::kWitch, seed, GameMode::kSinglePlayer);
    if (!result.item || result.item->miscId != 24) continue;
    const int need = result.item->minMag;
    ItemRecord r = test::GeneratedRecord(*result.item);
    test::RecordEdit(r).u8(offset::kReqMagic, static_cast<std::uint8_t>(need + 20 * need / 100));
    EXPECT_EQ(CheckRecord(r).verdict, Verdict::kGenuine) << "one level in the spell";
    test::RecordEdit(r).u8(offset::kReqMagic, static_cast<std::uint8_t>(need + 1));
    EXPECT_EQ(CheckRecord(r).verdict, Verdict::kEdited);
    return;
  }
  FAIL() << "no book in Adria's stock";
}

}  // namespace
}  // namespace relicor::gen

namespace relicor::gen {
namespace {

TEST(ItemGeneratorTest, AnEarsSeedAndCreationInfoAreTheStartOfItsName) {
  // "Ear of Mephisto": the creation info holds "Me", the seed "phis", the rest is the victim's.
  const std::uint16_t ci = ('M' << 8) | 'e';
  const std::int32_t seed = ('p' << 24) | ('h' << 16) | ('i' << 8) | 's';
  const auto ear = GenerateItem(23, ci, seed, GameMode::kMultiplayer);
  ASSERT_TRUE(ear.item);
  EXPECT_EQ(ear.item->plainName, "Ear of Mephis");
  ItemRecord r = test::GeneratedRecord(*ear.item);
  test::RecordEdit(r)
      .text(offset::kPlainName, "Ear of Mephisto")
      .i32(offset::kBaseValue, 37)
      .i32(offset::kCursor, 20);
  EXPECT_EQ(CheckRecord(r).verdict, Verdict::kGenuine);

  ItemRecord renamed = r;
  test::RecordEdit(renamed).text(offset::kPlainName, "Ear of Diablo");
  SeedVerdict v = CheckRecord(renamed);
  ASSERT_EQ(v.verdict, Verdict::kEdited);
  EXPECT_EQ(v.differences.front().field, "plain name");

  ItemRecord levelled = r;
  test::RecordEdit(levelled).i32(offset::kBaseValue, 64);
  v = CheckRecord(levelled);
  ASSERT_EQ(v.verdict, Verdict::kEdited);
  EXPECT_EQ(v.differences.front().field, "base value");
}

}  // namespace
}  // namespace relicor::gen
