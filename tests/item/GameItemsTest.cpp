// The real-item test data: every row is read back through the record's accessors, so a row that
// lands at a wrong offset or with a wrong width shows here.

#include <gtest/gtest.h>

#include <string>

#include "item/ItemRecord.h"
#include "support/GameItems.h"

namespace relicor::test {
namespace {

TEST(GameItemsTest, TheSetHoldsTheThreeListsOfOriginalDiabloItems) {
  int single = 0, spawn = 0, multi = 0;
  for (const GameItem& item : GameItems()) {
    single += item.list == GameList::kSinglePlayer;
    spawn += item.list == GameList::kSpawn;
    multi += item.list == GameList::kMultiplayer;
  }
  EXPECT_EQ(single, 91);
  EXPECT_EQ(spawn, 2);
  EXPECT_EQ(multi, 5);
}

TEST(GameItemsTest, EveryRecordReadsBackItsFields) {
  for (const GameItem& item : GameItems()) {
    SCOPED_TRACE(item.name);
    const ItemRecord r = GameItemRecord(item);
    EXPECT_TRUE(r.HasSignature());
    EXPECT_EQ(r.Ident(), item.seed);
    EXPECT_EQ(r.CreateInfo() | (r.Source() << 8), item.createInfo);
    EXPECT_EQ(r.ItemClass(), item.type);
    EXPECT_EQ(r.Identified(), item.identified);
    EXPECT_EQ(r.Name(), std::string(item.name));
    EXPECT_EQ(r.PlainName(), std::string(item.plainName));
    EXPECT_EQ(r.Price(), item.value);
    EXPECT_EQ(r.ArmorClass(), item.armorClass);
    EXPECT_EQ(r.EffectFlags(), item.flags);
    EXPECT_EQ(r.UseEffect(), item.miscId);
    EXPECT_EQ(r.Durability(), item.packedDurability);
    EXPECT_EQ(r.MaxDurability(), item.packedMaxDurability);
    EXPECT_EQ(r.Charges(), item.packedCharges);
    EXPECT_EQ(r.MaxCharges(), item.packedMaxCharges);
    EXPECT_EQ(r.AddMana(), item.mana);
    EXPECT_EQ(r.AddHitPoints(), item.hitPoints);
    EXPECT_EQ(r.UniqueIndex(), item.uniqueId);
    EXPECT_EQ(static_cast<std::int8_t>(r.PrefixPower()), item.prefixPower);
    EXPECT_EQ(static_cast<std::int8_t>(r.SuffixPower()), item.suffixPower);
    EXPECT_EQ(r.BaseItem(), item.baseItem);
    // Wide fields carry the game's sign extension.
    EXPECT_EQ(r.ReadI32LE(offset::kAddMana), item.mana);
    EXPECT_EQ(r.ReadI32LE(offset::kDamageFromEnemies), item.damageFromEnemies);
  }
}

TEST(GameItemsTest, PricesFollowTheGamesPriceParts) {
  for (const GameItem& item : GameItems()) {
    if (item.quality != 1) continue;
    SCOPED_TRACE(item.name);
    int v = item.affixMultA + item.affixMultB;
    if (v > 0) v *= item.baseValue;
    if (v < 0) v = item.baseValue / v;
    v += item.affixValueA + item.affixValueB;
    EXPECT_EQ(v <= 0 ? 1 : v, item.value);
  }
}

TEST(GameItemsTest, UniquesAreMarkedByTheirSecondPowersMultiplier) {
  const ItemRecord veil = GameItemRecord(GameItems()[40]);
  EXPECT_EQ(veil.Name(), "Veil of Steel");
  EXPECT_TRUE(veil.IsUnique());
  EXPECT_EQ(veil.ReadU8(92), 2);  // the game's quality byte
}

}  // namespace
}  // namespace relicor::test
