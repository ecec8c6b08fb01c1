#include <gtest/gtest.h>

#include "item/ItemRecord.h"
#include "support/RecordBuilder.h"

namespace relicor {
namespace {

using test::RecordBuilder;

TEST(ItemRecord, FieldsAreReadAtTheirOffsetsLittleEndian) {
  const ItemRecord r = RecordBuilder()
                           .ident(0x00A1B2C3)
                           .itemClass(12)
                           .price(-5)
                           .armorClass(-300)
                           .pctDamage(175)
                           .addStrength(-8)
                           .fireDamage(1, 300)
                           .baseItem(151)
                           .build();
  EXPECT_TRUE(r.HasSignature());
  EXPECT_EQ(r.Ident(), 0x00A1B2C3u);
  EXPECT_EQ(r.ItemClass(), 12);
  EXPECT_EQ(r.Price(), -5);
  EXPECT_EQ(r.ArmorClass(), -300);
  EXPECT_EQ(r.PctDamage(), 175);
  EXPECT_EQ(r.AddStrength(), -8);
  EXPECT_EQ(r.FireDamageMin(), 1);
  EXPECT_EQ(r.FireDamageMax(), 300);
  EXPECT_EQ(r.BaseItem(), 151);
  EXPECT_EQ(r.ItemKey(), "00A1B2C30C");
}

TEST(ItemRecord, OnlyTheLowByteOfAWiderGameFieldCounts) {
  // The game's field for the item class is wider; a value of 0x0101 is seen as 1.
  const ItemRecord r = RecordBuilder().itemClass(1).u8(offset::kItemClass + 1, 1).build();
  EXPECT_EQ(r.ItemClass(), 1);
}

TEST(ItemRecord, ItemKeysOfDifferentIdentsDiffer) {
  const auto a = RecordBuilder().ident(0xFFFF0001u).itemClass(1).build();
  const auto b = RecordBuilder().ident(1).itemClass(1).build();
  EXPECT_EQ(a.ItemKey(), "FFFF000101");
  EXPECT_EQ(b.ItemKey(), "0000000101");
}

TEST(ItemRecord, SignatureMustBeITM0) {
  EXPECT_FALSE(RecordBuilder().signature("ITM1").build().HasSignature());
  EXPECT_FALSE(RecordBuilder().signature("itm0").build().HasSignature());
}

TEST(ItemRecord, NamesAreZeroTerminatedWithinTheirFields) {
  const auto r = RecordBuilder().plainName("Short Sword").name("King's Short Sword").build();
  EXPECT_EQ(r.PlainName(), "Short Sword");
  EXPECT_EQ(r.Name(), "King's Short Sword");
  // A name without terminator ends before the price field.
  auto full = RecordBuilder().build();
  for (std::size_t i = offset::kIdentifiedName; i < offset::kIdentifiedNameEnd; ++i) full.bytes()[i] = 'A';
  EXPECT_EQ(full.Name(), std::string(offset::kIdentifiedNameEnd - offset::kIdentifiedName, 'A'));
}

TEST(ItemRecord, IdentifiedWhenFlagIsOneOrClassIsBook) {
  EXPECT_TRUE(RecordBuilder().itemClass(1).identified(1).build().IsIdentified());
  EXPECT_FALSE(RecordBuilder().itemClass(1).identified(0).build().IsIdentified());
  EXPECT_FALSE(RecordBuilder().itemClass(1).identified(2).build().IsIdentified());
  EXPECT_TRUE(RecordBuilder().itemClass(0).identified(0).build().IsIdentified());
}

TEST(ItemRecord, IndestructibleAtZeroAnd255Only) {
  for (const auto& [durability, expected] :
       {std::pair{0, true}, std::pair{255, true}, std::pair{254, false}, std::pair{1, false}}) {
    EXPECT_EQ(RecordBuilder().durability(static_cast<std::uint8_t>(durability)).build().IsIndestructible(),
              expected)
        << durability;
  }
}

TEST(ItemRecord, LevelsAndUniqueMonsterMark) {
  struct Case {
    std::uint8_t createInfo;
    std::uint8_t source;
    int level;
    bool dungeonFlag;
    bool uniqueMonster;
  };
  for (const Case& c : {Case{30, 1, 30, false, false}, Case{0x40 | 25, 1, 25, true, false},
                        Case{0x40 | 25, 2, 25, false, true}, Case{0x80 | 10, 2, 10, false, true},
                        Case{0x80 | 10, 1, 10, false, false}, Case{63, 2, 63, false, false}}) {
    const auto r = RecordBuilder().createInfo(c.createInfo).source(c.source).build();
    EXPECT_EQ(r.CreationLevel(), c.level);
    EXPECT_EQ(r.DungeonLevelFlag(), c.dungeonFlag) << int(c.createInfo) << "/" << int(c.source);
    EXPECT_EQ(r.UniqueMonsterMark(), c.uniqueMonster) << int(c.createInfo) << "/" << int(c.source);
    EXPECT_EQ(r.ShownDungeonLevel(), c.level / 2);
  }
}

TEST(ItemRecord, ManaAndHitPointsShiftWithSign) {
  for (const auto& [raw, expected] : {std::pair{-640, -10}, std::pair{63, 0}, std::pair{-1, -1},
                                      std::pair{64, 1}, std::pair{-65, -2}, std::pair{6400, 100}}) {
    const auto r = RecordBuilder()
                       .addMana(static_cast<std::int16_t>(raw))
                       .addHitPoints(static_cast<std::int16_t>(raw))
                       .build();
    EXPECT_EQ(r.ManaBonus(), expected) << raw;
    EXPECT_EQ(r.HitPointBonus(), expected) << raw;
  }
}

TEST(ItemRecord, LightRadiusNeedsANonZeroLowByte) {
  EXPECT_FALSE(RecordBuilder().lightRadius(256).build().HasLightRadius());
  EXPECT_TRUE(RecordBuilder().lightRadius(2).build().HasLightRadius());
  EXPECT_TRUE(RecordBuilder().lightRadius(-2).build().HasLightRadius());
  EXPECT_EQ(RecordBuilder().lightRadius(-2).build().LightRadiusPercent(), -20);
}

TEST(ItemRecord, NoPrefixSwapsTheAffixValues) {
  const auto withPrefix = RecordBuilder().prefixPower(3).affixValueA(11).affixValueB(22).build();
  EXPECT_EQ(withPrefix.PreAddInfo(), 11);
  EXPECT_EQ(withPrefix.SufAddInfo(), 22);
  const auto noPrefix = RecordBuilder().prefixPower(kNoAffix).affixValueA(11).affixValueB(22).build();
  EXPECT_EQ(noPrefix.PreAddInfo(), 22);
  EXPECT_EQ(noPrefix.SufAddInfo(), 11);
}

TEST(ItemRecord, EffectBitsByByteAndBit) {
  const auto r = RecordBuilder().effect(effect::kSteal3Mana).effect(effect::kAllResistancesZero).build();
  EXPECT_TRUE(r.HasEffect(13));
  EXPECT_TRUE(r.HasEffect(31));
  EXPECT_FALSE(r.HasEffect(14));
  EXPECT_EQ(r.bytes()[offset::kEffectFlags + 1], 0x20);  // bit 13 = bit 5 of the second byte
  EXPECT_EQ(r.bytes()[offset::kEffectFlags + 3], 0x80);
  EXPECT_EQ(r.EffectFlags(), (1u << 13) | (1u << 31));
}

}  // namespace
}  // namespace relicor
