#include <gtest/gtest.h>

#include <fstream>

#include "saves/SaveCodec.h"
#include "saves/SaveGame.h"
#include "support/SaveBuilder.h"
#include "support/TempDir.h"

namespace relicor::saves {
namespace {

using test::HeroBuilder;
using test::PackOf;
using test::TempDir;

constexpr std::string_view kSingle = "xrgyrkj1";
constexpr std::string_view kMulti = "szqnlsk1";

// A magic sword, a plain ring and a potion, made on dungeon level 20.
const std::uint16_t kDungeon = 20;

std::int32_t FieldAt(const ItemRecord& r, std::size_t at) {
  const auto& b = r.bytes();
  return static_cast<std::int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 |
                                   static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::string TextAt(const ItemRecord& r, std::size_t at) {
  return std::string(reinterpret_cast<const char*>(r.bytes().data() + at));
}

std::string WriteHero(const TempDir& dir, const std::string& name, const std::string& plain,
                      std::string_view password = kSingle, std::vector<ArchiveEntry> more = {}) {
  const std::string path = dir.file(name);
  more.insert(more.begin(), {"hero", test::Encoded(plain, password)});
  test::WriteSave(path, more);
  return path;
}

TEST(SaveGameTest, HeroGivesBodyInventoryUpToItsCountAndBelt) {
  TempDir dir;
  HeroBuilder hero;
  hero.name("Gorefeast")
      .body(4, PackOf(3, kDungeon, 1001))
      .inventory(0, PackOf(50, kDungeon, 1002))
      .inventory(1, PackOf(60, kDungeon, 1003))
      .inventory(2, PackOf(70, kDungeon, 1004))  // a ghost: 1.09 leaves it after the count
      .inventoryCount(2)
      .belt(7, PackOf(24, kDungeon, 1005));
  const std::string path = WriteHero(dir, "single_0.sv", hero.bytes());

  auto save = ReadSaveGame(path);
  ASSERT_TRUE(save) << save.error();
  EXPECT_EQ(save->kind, SaveKind::kHero);
  EXPECT_EQ(save->mode, SaveMode::kSinglePlayer);
  EXPECT_FALSE(save->devilutionX);
  EXPECT_EQ(save->heroName, "Gorefeast");
  ASSERT_EQ(save->items.size(), 4u);
  const std::pair<ItemPlace, int> places[] = {
      {ItemPlace::kBody, 4}, {ItemPlace::kInventory, 0}, {ItemPlace::kInventory, 1}, {ItemPlace::kBelt, 7}};
  const std::uint32_t seeds[] = {1001, 1002, 1003, 1005};
  for (std::size_t i = 0; i < 4; ++i) {
    const SaveItem& item = save->items[i];
    EXPECT_EQ(item.place, places[i].first) << i;
    EXPECT_EQ(item.slot, places[i].second) << i;
    EXPECT_EQ(FieldAt(item.record, 32), static_cast<std::int32_t>(seeds[i])) << i;
    EXPECT_EQ(TextAt(item.record, 0).substr(0, 4), "ITM0");
    EXPECT_EQ(item.verdict.verdict, gen::Verdict::kGenuine) << i;
  }
  EXPECT_TRUE(save->skipped.empty());
}

TEST(SaveGameTest, RebuildsAsTheGeneratorMakesItWithPlayStateFromThePack) {
  TempDir dir;
  auto pack = PackOf(50, kDungeon, 424242);
  pack.identifiedAndQuality = 0 | (pack.identifiedAndQuality & ~1);  // not identified
  pack.durability = pack.maxDurability > 1 ? pack.maxDurability - 1 : pack.maxDurability;
  const std::string path = WriteHero(dir, "x", HeroBuilder().name("A").body(0, pack).bytes());
  auto save = ReadSaveGame(path);
  ASSERT_TRUE(save) << save.error();
  ASSERT_EQ(save->items.size(), 1u);
  const auto made = gen::GenerateItem(50, kDungeon, 424242, gen::GameMode::kSinglePlayer);
  ItemRecord expected = RecordOfItem(*made.item);
  const ItemRecord& got = save->items[0].record;
  // Every byte but identified and durability as the generator makes it.
  for (std::size_t i = 0; i < kItemRecordSize; ++i) {
    if (i >= 88 && i < 92) continue;
    if (i >= 268 && i < 272) continue;
    EXPECT_EQ(got.bytes()[i], expected.bytes()[i]) << "byte " << i;
  }
  EXPECT_EQ(FieldAt(got, 88), 0);
  EXPECT_EQ(FieldAt(got, 268), pack.durability);
  EXPECT_EQ(FieldAt(got, 392), 50);
}

// The writer of rebuilt items and the item record's reader agree on every field: each generated
// field gets a value of its own, and each is found at the game's offset for it, read where the
// record's reader looks.
TEST(SaveGameTest, EveryRebuiltFieldIsReadBackWhereTheGameKeepsIt) {
  struct FieldCase {
    const char* field;
    std::size_t at;  // the game's offset in the record
    void (*set)(gen::GeneratedItem&, int);
    std::int64_t (*read)(const ItemRecord&);
  };
  // clang-format off
#define FIELD(member, at, reader)                                                                 \
  FieldCase{#member, at,                                                                          \
            [](gen::GeneratedItem& g, int v) { g.member = static_cast<decltype(g.member)>(v); },  \
            [](const ItemRecord& r) -> std::int64_t { return r.reader; }}
  // clang-format on
  const FieldCase cases[] = {
      FIELD(seed, 32, Ident()),
      FIELD(type, 40, ItemClass()),
      FIELD(magical, 92, ReadU8(offset::kMagical)),
      FIELD(location, 221, ReadU8(offset::kLocation)),
      FIELD(itemClass, 222, ReadU8(offset::kCategory)),
      FIELD(cursor, 224, ReadI32LE(offset::kCursor)),
      FIELD(value, 228, ReadI32LE(offset::kBaseValue)),
      FIELD(price, 232, Price()),
      FIELD(minDamage, 236, MinDamage()),
      FIELD(maxDamage, 240, MaxDamage()),
      FIELD(armor, 244, ArmorClass()),
      FIELD(flags, 248, EffectFlags()),
      FIELD(miscId, 252, UseEffect()),
      FIELD(spell, 256, Spell()),
      FIELD(charges, 260, Charges()),
      FIELD(maxCharges, 264, MaxCharges()),
      FIELD(durability, 268, Durability()),
      FIELD(maxDurability, 272, MaxDurability()),
      FIELD(pctDamage, 276, PctDamage()),
      FIELD(pctToHit, 280, PctToHit()),
      FIELD(pctArmor, 284, PctArmor()),
      FIELD(strength, 288, AddStrength()),
      FIELD(magic, 292, AddMagic()),
      FIELD(dexterity, 296, AddDexterity()),
      FIELD(vitality, 300, AddVitality()),
      FIELD(resFire, 304, ResFire()),
      FIELD(resLightning, 308, ResLightning()),
      FIELD(resMagic, 312, ResMagic()),
      FIELD(mana, 316, AddMana()),
      FIELD(hitPoints, 320, AddHitPoints()),
      FIELD(damage, 324, AddDamage()),
      FIELD(damageFromEnemies, 328, DamageFromEnemies()),
      FIELD(lightRadius, 332, LightRadius()),
      FIELD(spellLevels, 336, SpellLevels()),
      FIELD(uniqueIndex, 340, UniqueIndex()),
      FIELD(fireMin, 344, FireDamageMin()),
      FIELD(fireMax, 348, FireDamageMax()),
      FIELD(lightningMin, 352, LightningDamageMin()),
      FIELD(lightningMax, 356, LightningDamageMax()),
      FIELD(targetArmor, 360, ReadI32LE(offset::kEnemyArmor)),
      FIELD(prefixPower, 364, PrefixPower()),
      FIELD(suffixPower, 365, SuffixPower()),
      FIELD(valueAdd1, 368, AffixValueA()),
      FIELD(valueMult1, 372, ReadI32LE(offset::kAffixMultA)),
      FIELD(valueAdd2, 376, AffixValueB()),
      FIELD(valueMult2, 380, Quality()),
      FIELD(minStr, 384, ReqStrength()),
      FIELD(minMag, 385, ReqMagic()),
      FIELD(minDex, 386, ReqDexterity()),
      FIELD(baseIndex, 392, BaseItem()),
  };
#undef FIELD
  gen::GeneratedItem g;
  // Values that fit every reader's width, and differ from each other and from zero.
  const auto valueOf = [](std::size_t i) { return static_cast<int>(10 + i); };
  for (std::size_t i = 0; i < std::size(cases); ++i) cases[i].set(g, valueOf(i));
  g.createInfo = 0x4321;
  g.plainName = "Short Sword";
  g.identifiedName = "Short Sword of the Fox";
  const ItemRecord r = RecordOfItem(g);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(cases[i].read(r), valueOf(i)) << cases[i].field;
    EXPECT_EQ(r.ReadU8(cases[i].at), valueOf(i)) << cases[i].field << " at " << cases[i].at;
  }
  EXPECT_EQ(r.CreateInfo(), 0x21);
  EXPECT_EQ(r.Source(), 0x43);
  EXPECT_EQ(r.ReadU8(37), 0x43);
  EXPECT_EQ(r.PlainName(), "Short Sword");
  EXPECT_EQ(TextAt(r, 93), "Short Sword");
  EXPECT_EQ(r.Name(), "Short Sword of the Fox");
  EXPECT_EQ(TextAt(r, 157), "Short Sword of the Fox");
}

TEST(SaveGameTest, PasswordTellsTheMode) {
  TempDir dir;
  const std::pair<std::string_view, SaveMode> cases[] = {
      {"xrgyrkj1", SaveMode::kSinglePlayer},
      {"szqnlsk1", SaveMode::kMultiplayer},
      {"adslhfb1", SaveMode::kSharewareSingle},
      {"lshbkfg1", SaveMode::kSharewareMulti},
  };
  int n = 0;
  for (const auto& [password, mode] : cases) {
    const gen::GameMode gameMode = IsShareware(mode)                ? gen::GameMode::kShareware
                                   : mode == SaveMode::kMultiplayer ? gen::GameMode::kMultiplayer
                                                                    : gen::GameMode::kSinglePlayer;
    // Named like another kind on purpose: the content decides.
    const std::string path =
        WriteHero(dir, "multi_" + std::to_string(n++) + ".sv",
                  HeroBuilder().name("M").body(0, PackOf(70, kDungeon, 77, gameMode)).bytes(), password);
    auto save = ReadSaveGame(path);
    ASSERT_TRUE(save) << save.error();
    EXPECT_EQ(save->mode, mode) << password;
    ASSERT_EQ(save->items.size(), 1u);
    EXPECT_EQ(save->items[0].verdict.verdict, gen::Verdict::kGenuine) << password;
  }
}

TEST(SaveGameTest, GoldKeepsItsAmountAndAnEarCarriesTheVictimsName) {
  TempDir dir;
  test::PackedItemSpec gold;
  gold.seed = 5;
  gold.baseIndex = 0;
  gold.value = 1234;
  // "Ear of Bloodymary", level 17, a rogue (class 1 in bits 6-7 of the value).
  const std::string victim = "Bloodymary";
  test::PackedItemSpec ear;
  ear.baseIndex = 23;
  ear.createInfo = static_cast<std::uint16_t>(victim[0] << 8 | victim[1]);
  ear.seed = static_cast<std::uint32_t>(victim[2]) << 24 | static_cast<std::uint32_t>(victim[3]) << 16 |
             static_cast<std::uint32_t>(victim[4]) << 8 | static_cast<std::uint32_t>(victim[5]);
  ear.identifiedAndQuality = static_cast<std::uint8_t>(victim[6]);
  ear.durability = static_cast<std::uint8_t>(victim[7]);
  ear.maxDurability = static_cast<std::uint8_t>(victim[8]);
  ear.charges = static_cast<std::uint8_t>(victim[9]);
  ear.value = 17 | 1 << 6;
  const std::string path = WriteHero(
      dir, "e", HeroBuilder().name("B").inventory(0, gold).inventory(1, ear).inventoryCount(2).bytes(),
      kMulti);
  auto save = ReadSaveGame(path);
  ASSERT_TRUE(save) << save.error();
  ASSERT_EQ(save->items.size(), 2u);
  EXPECT_EQ(FieldAt(save->items[0].record, 32 + 196), 1234);  // value
  EXPECT_EQ(TextAt(save->items[1].record, 32 + 61), "Ear of Bloodymary");
  EXPECT_EQ(FieldAt(save->items[1].record, 32 + 196), 17);
  EXPECT_EQ(FieldAt(save->items[1].record, 32 + 192), 20);  // the rogue's ear
  EXPECT_EQ(save->items[1].verdict.verdict, gen::Verdict::kGenuine);
}

TEST(SaveGameTest, HellfireAndDebugItemsAreSkippedWithTheirReason) {
  TempDir dir;
  auto hellfire = PackOf(50, kDungeon, 9);
  hellfire.buff = 1;
  auto forced = PackOf(60, kDungeon, 10);
  forced.buff = 4;
  auto missing = PackOf(50, kDungeon, 11);
  missing.baseIndex = 400;
  const std::string path =
      WriteHero(dir, "h", HeroBuilder().name("C").body(0, hellfire).body(1, forced).body(2, missing).bytes());
  auto save = ReadSaveGame(path);
  ASSERT_TRUE(save) << save.error();
  EXPECT_TRUE(save->items.empty());
  ASSERT_EQ(save->skipped.size(), 3u);
  EXPECT_EQ(save->skipped[0].reason, "a Hellfire item");
  EXPECT_EQ(save->skipped[1].reason, "a unique forced by a debug command, not made by the game");
  EXPECT_EQ(save->skipped[2].reason, "not reproducible: base item 400 does not exist in 1.09");
}

TEST(SaveGameTest, DevilutionXStoredCopyIsComparedWithTheRebuiltItem) {
  TempDir dir;
  const auto sword = gen::GenerateItem(50, kDungeon, 31337, gen::GameMode::kSinglePlayer);
  const auto ring = gen::GenerateItem(60, kDungeon, 31338, gen::GameMode::kSinglePlayer);
  std::vector<std::string> stored(55, test::EmptyStoredItem());
  stored[0] = test::StoredItem(*sword.item);
  gen::GeneratedItem edited = *ring.item;
  edited.price += 1000;
  stored[7] = test::StoredItem(edited);
  const std::string hero = HeroBuilder()
                               .name("D")
                               .body(0, PackOf(50, kDungeon, 31337))
                               .inventory(0, PackOf(60, kDungeon, 31338))
                               .inventoryCount(1)
                               .bytes();
  const std::string path = WriteHero(dir, "d", hero, kSingle,
                                     {{"heroitems", test::Encoded(test::HeroItemsFile(stored), kSingle)}});
  auto save = ReadSaveGame(path);
  ASSERT_TRUE(save) << save.error();
  EXPECT_TRUE(save->devilutionX);
  ASSERT_EQ(save->items.size(), 2u);  // each hero item once
  EXPECT_EQ(save->items[0].verdict.verdict, gen::Verdict::kGenuine);
  EXPECT_FALSE(save->items[0].storedCopyDiffers);
  EXPECT_EQ(save->items[1].verdict.verdict, gen::Verdict::kEdited);
  EXPECT_TRUE(save->items[1].storedCopyDiffers);
  ASSERT_FALSE(save->items[1].verdict.differences.empty());
  EXPECT_EQ(save->items[1].verdict.differences[0].field, "price");
}

TEST(SaveGameTest, StashItemsAreTakenAsStoredOnTheirPages) {
  TempDir dir;
  std::vector<std::string> items;
  for (int i = 0; i < 3; ++i)
    items.push_back(
        test::StoredItem(*gen::GenerateItem(50 + i, kDungeon, 700 + i, gen::GameMode::kSinglePlayer).item));
  gen::GeneratedItem edited = *gen::GenerateItem(60, kDungeon, 800, gen::GameMode::kSinglePlayer).item;
  edited.pctDamage = 300;
  items.push_back(test::StoredItem(edited));
  test::StashPage first{0, std::vector<std::uint16_t>(100, 0)};
  first.cells[0] = 1;
  first.cells[1] = 1;  // an item covers several cells
  first.cells[50] = 2;
  test::StashPage third{2, std::vector<std::uint16_t>(100, 0)};
  third.cells[9] = 3;
  third.cells[99] = 4;
  const std::string stash = test::StashFile({first, third}, items, 5000);
  const std::string path = dir.file("stash.sv");
  test::WriteSave(path, {{"spstashitems", test::Encoded(stash, kSingle)}});

  auto save = ReadSaveGame(path);
  ASSERT_TRUE(save) << save.error();
  EXPECT_EQ(save->kind, SaveKind::kStash);
  EXPECT_TRUE(save->heroName.empty());
  ASSERT_EQ(save->items.size(), 4u);
  const int pages[] = {1, 1, 3, 3};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(save->items[i].place, ItemPlace::kStash);
    EXPECT_EQ(save->items[i].slot, pages[i]) << i;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(save->items[i].record.bytes().data()) + 32, 368),
              items[i])
        << i;
  }
  EXPECT_EQ(save->items[2].verdict.verdict, gen::Verdict::kGenuine);
  EXPECT_EQ(save->items[3].verdict.verdict, gen::Verdict::kEdited);  // never repaired
  EXPECT_EQ(PlaceText(ItemPlace::kStash, 3), "stash page 3");
}

// Every bad input: one error naming the file and the reason.
TEST(SaveGameTest, BadInputIsRefusedWithItsReason) {
  TempDir dir;
  const std::string goodHero = HeroBuilder().name("E").body(0, PackOf(50, kDungeon, 1)).bytes();
  struct Case {
    std::string name;
    std::string expected;  // part of the message
  };
  std::vector<Case> cases;

  dir.write("notes.sv", "just some text, long enough to have a header of thirty-two bytes");
  cases.push_back({"notes.sv", "not a save game"});
  dir.write("tiny.sv", "MPQ");
  cases.push_back({"tiny.sv", "not a save game"});

  test::WriteSave(dir.file("cut.sv"), {{"hero", test::Encoded(goodHero, kSingle)}});
  {
    std::string whole = dir.read("cut.sv");
    dir.write("cut.sv", whole.substr(0, whole.size() - 100));
  }
  cases.push_back({"cut.sv", "cut short"});

  test::WriteSave(dir.file("nohero.sv"), {{"game", test::Encoded("RETL", kSingle)}});
  cases.push_back({"nohero.sv", "no hero and no stash"});

  test::WriteSave(dir.file("password.sv"), {{"hero", test::Encoded(goodHero, "qwertzu1")}});
  cases.push_back({"password.sv", "does not decode with any password"});

  HeroBuilder marked;
  marked.name("F").byte(1216, 1);
  test::WriteSave(dir.file("hfmark.sv"), {{"hero", test::Encoded(marked.bytes(), kSingle)}});
  cases.push_back({"hfmark.sv", "a Hellfire hero"});

  test::WriteSave(dir.file("hfgame.sv"), {{"hero", test::Encoded(goodHero, kSingle)},
                                          {"game", test::Encoded("HELF and more", kSingle)}});
  cases.push_back({"hfgame.sv", "a Hellfire game"});
  test::WriteSave(dir.file("shgame.sv"),
                  {{"hero", test::Encoded(goodHero, kSingle)}, {"game", test::Encoded("SHLF", kSingle)}});
  cases.push_back({"shgame.sv", "a Hellfire game"});

  test::WriteSave(dir.file("hfitems.sv"),
                  {{"hero", test::Encoded(goodHero, kSingle)},
                   {"heroitems", test::Encoded(test::HeroItemsFile(
                                                   std::vector<std::string>(55, test::EmptyStoredItem()), 1),
                                               kSingle)}});
  cases.push_back({"hfitems.sv", "a Hellfire hero"});

  test::WriteSave(dir.file("single_1.hsv"), {{"hero", test::Encoded(goodHero, kSingle)}});
  cases.push_back({"single_1.hsv", "a Hellfire save"});

  test::WriteSave(dir.file("short.sv"), {{"hero", test::Encoded(goodHero.substr(0, 1000), kSingle)}});
  cases.push_back({"short.sv", "damaged hero: 1000 bytes"});

  test::WriteSave(dir.file("count.sv"),
                  {{"hero", test::Encoded(HeroBuilder().inventoryCount(41).bytes(), kSingle)}});
  cases.push_back({"count.sv", "an inventory of 41 items"});

  test::WriteSave(dir.file("hfstash.sv"),
                  {{"spstashitems", test::Encoded(test::StashFile({}, {std::string(372, '\0')}), kSingle)}});
  cases.push_back({"hfstash.sv", "a Hellfire stash"});
  test::WriteSave(dir.file("badstash.sv"),
                  {{"spstashitems", test::Encoded(test::StashFile({}, {std::string(300, '\0')}), kSingle)}});
  cases.push_back({"badstash.sv", "damaged stash"});

  // A stash that names two pages but ends within the second.
  std::string cutPages =
      test::StashFile({{0, std::vector<std::uint16_t>(100, 0)}, {1, std::vector<std::uint16_t>(100, 0)}}, {});
  cutPages.resize(9 + 2 * 204 - 5);  // more than two pages of bytes in all, yet not from its ninth byte on
  test::WriteSave(dir.file("cutpages.sv"), {{"spstashitems", test::Encoded(cutPages, kSingle)}});
  cases.push_back({"cutpages.sv", "damaged stash"});
  std::string newer = test::StashFile({}, {});
  newer[0] = 1;
  test::WriteSave(dir.file("newer.sv"), {{"mpstashitems", test::Encoded(newer, kMulti)}});
  cases.push_back({"newer.sv", "a stash of a newer version"});

  dir.mkdir("folder.sv");
  cases.push_back({"folder.sv", "not a regular file"});
  cases.push_back({"missing.sv", "No such file"});

  for (const Case& c : cases) {
    auto save = ReadSaveGame(dir.file(c.name));
    ASSERT_FALSE(save) << c.name;
    EXPECT_NE(save.error().find(dir.file(c.name)), std::string::npos) << save.error();
    EXPECT_NE(save.error().find(c.expected), std::string::npos) << c.name << ": " << save.error();
  }
}

}  // namespace
}  // namespace relicor::saves

namespace relicor::saves {
namespace {

// Damaged copies of a good save (a byte changed anywhere, the file cut anywhere): each is read or
// refused with a line naming it, never more.
TEST(SaveGameTest, DamagedCopiesAreReadOrRefusedNeverMore) {
  TempDir dir;
  const std::string hero = HeroBuilder()
                               .name("G")
                               .body(0, PackOf(50, kDungeon, 5))
                               .inventory(0, PackOf(60, kDungeon, 6))
                               .inventoryCount(1)
                               .bytes();
  const std::string good = dir.file("good.sv");
  test::WriteSave(good, {{"hero", test::Encoded(hero, kSingle)}});
  const std::string bytes = dir.read("good.sv");
  const std::string copy = dir.file("copy.sv");
  int refused = 0;
  for (std::size_t at = 0; at < bytes.size(); at += 7) {
    std::string changed = bytes;
    changed[at] = static_cast<char>(changed[at] ^ 0x5A);
    dir.write("copy.sv", changed);
    auto save = ReadSaveGame(copy);
    if (!save) {
      ++refused;
      EXPECT_EQ(save.error().rfind(copy, 0), 0u) << save.error();
    }
  }
  for (std::size_t size = 0; size < bytes.size(); size += 16) {
    dir.write("copy.sv", bytes.substr(0, size));
    auto save = ReadSaveGame(copy);
    ASSERT_FALSE(save) << "cut to " << size << " bytes";
    EXPECT_NE(save.error().find(copy), std::string::npos) << save.error();
  }
  EXPECT_GT(refused, 0);
}

}  // namespace
}  // namespace relicor::saves
