// Writes the bundled sample pool: synthetic items made with the record builder.
//
//   make-sample-pool EXAMPLES_DIR
//
// EXAMPLES_DIR/pool    about thirty items of every class, with sidecars, PLAYERS.TXT, rules.txt,
//                      a HIDDEN and a SHORTINF subdirectory
// EXAMPLES_DIR/sent    items already sent, with their sidecars
// EXAMPLES_DIR/home    the program directory of the demo: IDENT.ID with one registered dupe
//
// Legitimate items get the name and the price the report computes for them, so they pass the
// name and price checks; the hacked items are left as they are made.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "identify/EffectPass.h"
#include "identify/NameResolver.h"
#include "identify/PriceCalc.h"
#include "item/BaseItems.h"
#include "item/Uniques.h"
#include "support/RecordBuilder.h"
#include "validate/Findings.h"

namespace fs = std::filesystem;
using relicor::test::RecordBuilder;

namespace {

struct Sidecar {
  std::string sender;
  std::string sendTo;
  bool points = false;
  std::string pointsAt = "01.12.2026";
  std::string added = "01.12.2026";
  std::string sentAt = "01.12.2026";
};

struct SampleItem {
  std::string file;
  RecordBuilder item;
  bool legit = true;  // give it the computed name and price
  const Sidecar* sidecar = nullptr;
};

void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The name and the Griswold price the report works out for the item.
void MakeLegit(RecordBuilder& builder) {
  const relicor::ItemRecord record = builder.build();
  relicor::ItemReport report;
  relicor::EffectPass pass(record, relicor::PassOptions{}, report);
  pass.UniqueChecks();
  pass.EffectSection();
  const auto base = relicor::BaseItemOf(record.BaseItem(), false);
  std::string name;
  if (record.IsUnique()) {
    const auto unique = relicor::UniqueOf(record.UniqueIndex(), false);
    name = std::string(unique.Name);
  } else {
    name = relicor::AssembleNames(pass.slots(), base, nullptr).resolved;
  }
  builder.name(name);
  if (!record.IsUnique()) builder.price(relicor::ComputePrices(pass.accumulators()).griswold);
}

std::string SidecarText(const Sidecar& s) {
  return "[Iteminfos]\r\nSenderName=" + s.sender + "\r\nSendTo=" + s.sendTo +
         "\r\nPoints4Item=" + (s.points ? "1" : "0") + "\r\npublic=0\r\nPoints4ItemAt=" + s.pointsAt +
         "\r\nAddedItem=" + s.added + "\r\nSentAt=" + s.sentAt + "\r\n";
}

// A normal weapon or armour piece of a base item, identified, with durability.
RecordBuilder Base(std::uint32_t ident, std::uint8_t itemClass, std::uint8_t baseItem,
                   std::uint8_t level = 20) {
  RecordBuilder item;
  item.ident(ident).itemClass(itemClass).baseItem(baseItem).identified(1).createInfo(level).source(1);
  item.durability(30).maxDurability(40);
  return item;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make-sample-pool EXAMPLES_DIR\n";
    return 2;
  }
  const fs::path root = argv[1];
  const fs::path pool = root / "pool";
  const fs::path sent = root / "sent";
  const fs::path home = root / "home";
  for (const auto& dir : {pool, sent, home}) fs::remove_all(dir);

  const Sidecar fromAlrik{"Alrik", "", true, "20.11.2026", "20.11.2026", "20.11.2026"};
  const Sidecar fromBirte{"Birte", "", false, "01.12.2026", "02.12.2026", "02.12.2026"};
  const Sidecar fromCorvin{"Corvin", "", true, "05.12.2026", "05.12.2026", "05.12.2026"};
  const Sidecar fromDagny{"Dagny", "", false, "10.10.2026", "10.10.2026", "10.10.2026"};
  const Sidecar toBirte{"Alrik", "Birte", true, "15.11.2026", "01.11.2026", "28.11.2026"};
  const Sidecar toCorvin{"Dagny", "Corvin", false, "01.11.2026", "20.10.2026", "03.12.2026"};
  const Sidecar toAlrik{"Birte", "Alrik", false, "01.11.2026", "20.10.2026", "30.11.2026"};

  std::vector<SampleItem> items;
  auto add = [&](std::string file, RecordBuilder item, const Sidecar* sidecar = nullptr, bool legit = true) {
    items.push_back({std::move(file), std::move(item), legit, sidecar});
  };

  // Weapons.
  add("KingsSword.ITM",
      Base(0x1A2B3C4D, 1, 114, 30)
          .minDamage(2)
          .maxDamage(6)
          .prefixPower(4)
          .pctDamage(160)
          .pctToHit(90)
          .suffixPower(27)
          .addStrength(18)
          .addMagic(18)
          .addDexterity(18)
          .addVitality(18),
      &fromAlrik);
  add("DeadlyAxe.ITM",
      Base(0x00C0FFEE, 2, 126)
          .minDamage(4)
          .maxDamage(12)
          .prefixPower(2)
          .pctDamage(65)
          .suffixPower(61)
          .addDamage(6),
      &fromBirte);
  add("GoldBow.ITM",
      Base(0x0BADB0B0, 3, 141)
          .minDamage(1)
          .maxDamage(10)
          .prefixPower(0)
          .pctToHit(28)
          .suffixPower(23)
          .addDexterity(9),
      &fromCorvin);
  add("SwiftMace.ITM", Base(0x31415926, 4, 131).minDamage(1).maxDamage(8).suffixPower(58).effect(18));
  add("Claymore.ITM", Base(0x27182818, 1, 117).minDamage(1).maxDamage(12));
  add("LongWarBow.ITM",
      Base(0x16180339, 3, 145).minDamage(1).maxDamage(14).suffixPower(31).addHitPoints(25 * 64), &fromDagny);
  // Armour, shields and helms.
  add("StrongShield.ITM",
      Base(0x10203040, 5, 73).armorClass(10).prefixPower(6).pctArmor(55).suffixPower(25).addVitality(7),
      &fromAlrik);
  add("RedLeather.ITM", Base(0x50607080, 6, 59).armorClass(12).prefixPower(8).resFire(25));
  add("ObsidianHelm.ITM",
      Base(0x0A0B0C0D, 7, 51).armorClass(9).prefixPower(11).resFire(20).resLightning(20).resMagic(20),
      &fromBirte);
  add("ChainOfTheWolf.ITM", Base(0x11223344, 8, 63).armorClass(20).suffixPower(31).addHitPoints(35 * 64));
  add("PlateOfTheAges.ITM",
      Base(0x55667788, 9, 67)
          .armorClass(45)
          .prefixPower(7)
          .pctArmor(120)
          .suffixPower(37)
          .durability(255)
          .maxDurability(255),
      &fromCorvin);
  add("Cape.ITM", Base(0x13572468, 6, 54).armorClass(3));
  // Staff, jewellery, book.
  add("FireStaff.ITM",
      Base(0x24681357, 10, 147)
          .minDamage(2)
          .maxDamage(4)
          .spell(1)
          .charges(40)
          .maxCharges(60)
          .prefixPower(33)
          .addMana(20 * 64),
      &fromDagny);
  add("RingOfMagic.ITM",
      RecordBuilder()
          .ident(0x600DF00D)
          .itemClass(12)
          .baseItem(151)
          .identified(1)
          .createInfo(18)
          .source(1)
          .prefixPower(9)
          .resLightning(20)
          .suffixPower(21)
          .addMagic(10),
      &fromAlrik);
  add("AmuletOfLife.ITM", RecordBuilder()
                              .ident(0x7E7E7E7E)
                              .itemClass(13)
                              .baseItem(154)
                              .identified(1)
                              .createInfo(22)
                              .source(1)
                              .prefixPower(33)
                              .addMana(25 * 64)
                              .suffixPower(31)
                              .addHitPoints(30 * 64));
  add("BookOfHealing.ITM", RecordBuilder()
                               .ident(0x0B00C002)
                               .itemClass(0)
                               .baseItem(109)
                               .createInfo(8)
                               .source(1)
                               .spell(2)
                               .useEffect(24));
  add("Unidentified.ITM",
      Base(0x0FACE0FF, 1, 120).identified(0).minDamage(2).maxDamage(10).prefixPower(3).pctDamage(40));
  // Uniques.
  add("TheRiftBow.ITM",
      Base(0x0D1F7B0B, 3, 138)
          .quality(1)
          .uniqueIndex(10)
          .minDamage(1)
          .maxDamage(4)
          .pctToHit(10)
          .addStrength(-3),
      &fromBirte);
  add("TheDefender.ITM",
      Base(0x0DEFE4D0, 1, 119)
          .quality(1)
          .uniqueIndex(21)
          .minDamage(1)
          .maxDamage(8)
          .armorClass(5)
          .resFire(10)
          .resLightning(10)
          .resMagic(10),
      &fromCorvin);
  add("GibbousMoon.ITM", Base(0x0A00D000, 1, 121)
                             .quality(1)
                             .uniqueIndex(24)
                             .minDamage(3)
                             .maxDamage(10)
                             .addMana(15 * 64)
                             .pctDamage(25));
  // Hacked items: left with their own names and prices.
  add("HackedSword.ITM",
      Base(0x0BAD0001, 1, 124, 40)
          .minDamage(4)
          .maxDamage(30)
          .prefixPower(3)
          .pctDamage(300)
          .name("Godly Great Sword")
          .price(200000)
          .plainName("Great Sword"),
      &fromDagny, false);
  add("WrongPower.ITM",
      Base(0x0BAD0002, 7, 53).armorClass(15).prefixPower(8).resMagic(45).name("Ruby Great Helm").price(9000),
      nullptr, false);
  add("SinglePlayerRing.ITM",
      RecordBuilder()
          .ident(0x0BAD0003)
          .itemClass(12)
          .baseItem(8)
          .identified(1)
          .quality(1)
          .uniqueIndex(2)
          .createInfo(20)
          .source(2)
          .name("Empyrean Band")
          .price(8000),
      nullptr, false);
  add("StrangePotion.ITM",
      RecordBuilder()
          .ident(0x0BAD0004)
          .itemClass(0)
          .baseItem(84)
          .createInfo(5)
          .source(1)
          .useEffect(99)
          .name("elixir of magic")
          .price(5000),
      nullptr, false);
  // The registered dupe: the same item key as DeadlyAxe.ITM (IDENT.ID holds it).
  add("DeadlyAxeCopy.ITM",
      Base(0x00C0FFEE, 2, 126)
          .minDamage(4)
          .maxDamage(12)
          .prefixPower(2)
          .pctDamage(65)
          .suffixPower(61)
          .addDamage(6),
      &fromCorvin);
  // Subdirectories the pages treat in their own ways.
  add("HIDDEN/SecretRing.ITM",
      RecordBuilder()
          .ident(0x5EC7E700)
          .itemClass(12)
          .baseItem(152)
          .identified(1)
          .createInfo(10)
          .source(1)
          .suffixPower(19)
          .addStrength(5),
      &fromAlrik);
  add("SHORTINF/PlainSword.ITM",
      Base(0x5407F000, 1, 114).minDamage(2).maxDamage(6).prefixPower(0).pctToHit(12), &fromBirte);

  std::vector<SampleItem> sentItems;
  auto addSent = [&](std::string file, RecordBuilder item, const Sidecar* sidecar) {
    sentItems.push_back({std::move(file), std::move(item), true, sidecar});
  };
  addSent("BlueShield.ITM", Base(0x5E070001, 5, 72).armorClass(6).prefixPower(10).resMagic(15), &toBirte);
  addSent("RingOfVigor.ITM",
          RecordBuilder()
              .ident(0x5E070002)
              .itemClass(12)
              .baseItem(153)
              .identified(1)
              .createInfo(14)
              .source(1)
              .suffixPower(25)
              .addVitality(12),
          &toCorvin);
  addSent("FalchionOfHaste.ITM",
          Base(0x5E070003, 1, 115).minDamage(4).maxDamage(8).suffixPower(58).effect(20), &toAlrik);

  auto writeAll = [](const fs::path& dir, std::vector<SampleItem>& list) {
    for (auto& sample : list) {
      if (sample.legit) MakeLegit(sample.item);
      const fs::path path = dir / sample.file;
      WriteFile(path, sample.item.bytes());
      if (sample.sidecar != nullptr) {
        fs::path sidecarPath = path;
        sidecarPath.replace_extension(".IT0");
        WriteFile(sidecarPath, SidecarText(*sample.sidecar));
      }
    }
  };
  writeAll(pool, items);
  writeAll(sent, sentItems);

  // Not an item: too short.
  WriteFile(pool / "Fragment.ITM", std::string(120, '\0'));
  WriteFile(pool / "PLAYERS.TXT", "Alrik\r\nBirte\r\nCorvin\r\nDagny\r\n");
  WriteFile(pool / "rules.txt",
            "Items are lent, not given: bring them back when you leave the clan.\r\n"
            "<B>No dupes, no hacks.</B> Registered items are removed from the pool.\r\n");

  // IDENT.ID: the registered dupe, every byte complemented.
  std::string stored = items[24].item.bytes();
  for (char& c : stored) c = static_cast<char>(~static_cast<unsigned char>(c));
  WriteFile(home / "IDENT.ID", stored);

  std::cout << "sample pool written to " << root.string() << " (" << items.size() << " items, "
            << sentItems.size() << " sent)\n";
  return 0;
}
