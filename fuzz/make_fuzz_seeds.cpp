// Writes the seed corpora of the fuzz harnesses: items made with the record builder (every base
// item, every affix table row at both ends, every unique, every spell, every effect bit), sidecar
// and settings texts, IDENT.ID files, member lists and dates.
//
//   make-fuzz-seeds CORPUS_DIR
//
// CORPUS_DIR/<harness>/ receives the seeds of each harness (item_report, ini, ident_id, players, journal,
// dates); files already there are replaced.

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "item/AffixTables.h"
#include "item/BaseItems.h"
#include "item/SpellTables.h"
#include "item/Uniques.h"
#include "platform/Settings.h"
#include "pool/MoveJournal.h"
#include "pool/RenameLog.h"
#include "pool/Sidecar.h"
#include "support/RecordBuilder.h"
#include "text/DateText.h"
#include "validate/Database.h"

namespace fs = std::filesystem;
using relicor::test::RecordBuilder;

namespace {

class Corpus {
 public:
  Corpus(const fs::path& root, const std::string& harness) : dir_(root / harness) {
    fs::create_directories(dir_);
  }
  void Add(const std::string& bytes) {
    char name[32];
    std::snprintf(name, sizeof name, "seed-%05zu", count_++);
    std::ofstream out(dir_ / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::size_t count() const { return count_; }

 private:
  fs::path dir_;
  std::size_t count_ = 0;
};

// A weapon, armour piece or jewel of a base item as a shop would sell it.
RecordBuilder Base(std::uint32_t ident, int baseItem) {
  const auto row = relicor::BaseItemOf(baseItem, false);
  RecordBuilder item;
  item.ident(ident)
      .itemClass(row.Class == relicor::kUndefinedBaseItemClass ? 0 : row.Class)
      .baseItem(static_cast<std::uint8_t>(baseItem))
      .identified(1)
      .createInfo(20)
      .source(1)
      .plainName(row.FullName)
      .name(row.FullName)
      .price(row.BasePrice);
  item.durability(30).maxDurability(40).minDamage(2).maxDamage(8).armorClass(6);
  return item;
}

// Sets the field an affix table is read from (prefix or suffix power left to the caller).
using FieldSetter = std::function<void(RecordBuilder&, std::int32_t)>;

std::int16_t I16(std::int32_t v) {
  return static_cast<std::int16_t>(v);
}
std::uint8_t U8(std::int32_t v) {
  return static_cast<std::uint8_t>(v);
}

struct TableField {
  relicor::AffixTable table;
  FieldSetter set;
};

std::vector<TableField> TableFields() {
  using relicor::AffixTable;
  return {
      {AffixTable::kStrength, [](RecordBuilder& b, std::int32_t v) { b.addStrength(I16(v)); }},
      {AffixTable::kMagic, [](RecordBuilder& b, std::int32_t v) { b.addMagic(I16(v)); }},
      {AffixTable::kDexterity, [](RecordBuilder& b, std::int32_t v) { b.addDexterity(I16(v)); }},
      {AffixTable::kVitality, [](RecordBuilder& b, std::int32_t v) { b.addVitality(I16(v)); }},
      {AffixTable::kAllAttributes,
       [](RecordBuilder& b, std::int32_t v) {
         b.addStrength(I16(v)).addMagic(I16(v)).addDexterity(I16(v)).addVitality(I16(v));
       }},
      {AffixTable::kHitPoints, [](RecordBuilder& b, std::int32_t v) { b.addHitPoints(I16(v * 64)); }},
      {AffixTable::kMana, [](RecordBuilder& b, std::int32_t v) { b.addMana(I16(v * 64)); }},
      {AffixTable::kFlatDamage, [](RecordBuilder& b, std::int32_t v) { b.addDamage(I16(v)); }},
      {AffixTable::kDamageReduction, [](RecordBuilder& b, std::int32_t v) { b.damageFromEnemies(I16(v)); }},
      {AffixTable::kToHitName, [](RecordBuilder& b, std::int32_t v) { b.pctToHit(I16(v)); }},
      {AffixTable::kCombinedDamage, [](RecordBuilder& b, std::int32_t v) { b.pctDamage(I16(v)); }},
      {AffixTable::kToHit, [](RecordBuilder& b, std::int32_t v) { b.pctToHit(I16(v)); }},
      {AffixTable::kPctDamage, [](RecordBuilder& b, std::int32_t v) { b.pctDamage(I16(v)); }},
      {AffixTable::kPctArmor, [](RecordBuilder& b, std::int32_t v) { b.pctArmor(I16(v)); }},
      {AffixTable::kResMagic, [](RecordBuilder& b, std::int32_t v) { b.resMagic(U8(v)); }},
      {AffixTable::kResFire, [](RecordBuilder& b, std::int32_t v) { b.resFire(U8(v)); }},
      {AffixTable::kResLightning, [](RecordBuilder& b, std::int32_t v) { b.resLightning(U8(v)); }},
      {AffixTable::kResAll,
       [](RecordBuilder& b, std::int32_t v) { b.resFire(U8(v)).resLightning(U8(v)).resMagic(U8(v)); }},
      {AffixTable::kSpellLevel, [](RecordBuilder& b, std::int32_t v) { b.spellLevels(U8(v)); }},
  };
}

std::string SidecarText(const std::string& sender, const std::string& sendTo, bool points,
                        const std::string& date) {
  return "[Iteminfos]\r\nSenderName=" + sender + "\r\nSendTo=" + sendTo +
         "\r\nPoints4Item=" + (points ? "1" : "0") + "\r\npublic=0\r\nPoints4ItemAt=" + date +
         "\r\nAddedItem=" + date + "\r\nSentAt=" + date + "\r\n";
}

// The report harness's input: switches, page class, file name, record, sidecar.
std::string ReportInput(std::size_t index, const relicor::ItemRecord& record, const std::string& sidecar) {
  static const char* const kNames[] = {"KingsSword", "Item", "a&b <i>", "Bow"};
  const std::string name = kNames[index % 4];
  std::string input;
  input += static_cast<char>((index * 37) & 0xFF);
  input += static_cast<char>(record.IsUnique() ? 14 : record.ItemClass());
  input += static_cast<char>(name.size());
  input += name;
  input += std::string(record.view());
  input += sidecar;
  return input;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make-fuzz-seeds CORPUS_DIR\n";
    return 2;
  }
  const fs::path root = argv[1];

  // Items.
  std::vector<relicor::ItemRecord> items;
  for (int base = 0; base < relicor::kBaseItemCount; ++base) {
    if (relicor::BaseItemOf(base, false).Class == relicor::kUndefinedBaseItemClass && base > 160) continue;
    items.push_back(Base(0x01000000U + static_cast<std::uint32_t>(base), base).build());
  }
  std::uint32_t ident = 0x02000000;
  for (const TableField& field : TableFields()) {
    for (const bool vk : {false, true}) {
      if (vk && !relicor::HasVkVariant(field.table)) continue;
      std::uint8_t power = 0;
      for (const relicor::AffixRow& row : relicor::AffixRows(field.table, vk)) {
        for (const std::int32_t value : {row.MinValue, row.MaxValue}) {
          RecordBuilder item = Base(++ident, 114);  // short sword
          field.set(item, value);
          item.prefixPower(power).suffixPower(static_cast<std::uint8_t>(power + 20));
          items.push_back(item.build());
        }
        ++power;
      }
    }
  }
  for (int unique = 0; unique < relicor::kUniqueCount; ++unique) {
    const auto row = relicor::UniqueOf(unique, false);
    RecordBuilder item = Base(0x03000000U + static_cast<std::uint32_t>(unique), row.BaseItemLow);
    item.quality(1).uniqueIndex(static_cast<std::uint8_t>(unique)).name(row.Name).source(2).createInfo(30);
    items.push_back(item.build());
  }
  for (int spell = 0; spell < relicor::kSpellCount; ++spell) {
    const auto s = static_cast<std::uint8_t>(spell);
    items.push_back(Base(0x04000000U + s, 147)
                        .spell(s)
                        .charges(10)
                        .maxCharges(U8(relicor::MaxChargesOf(spell, false)))
                        .build());
    items.push_back(RecordBuilder()
                        .ident(0x05000000U + s)
                        .itemClass(0)
                        .baseItem(109)
                        .createInfo(8)
                        .source(1)
                        .spell(s)
                        .useEffect(24)
                        .build());
  }
  for (int bit = 0; bit < 32; ++bit) {
    items.push_back(Base(0x06000000U + static_cast<std::uint32_t>(bit), 114)
                        .effect(bit)
                        .suffixPower(U8(40 + bit))
                        .build());
  }
  items.push_back(
      Base(0x07000001, 124).prefixPower(3).pctDamage(300).name("Godly Great Sword").price(200000).build());
  items.push_back(Base(0x07000002, 114).identified(0).prefixPower(3).pctDamage(40).build());
  items.push_back(Base(0x07000003, 114).durability(255).maxDurability(255).build());
  items.push_back(Base(0x07000004, 114).fireDamage(1, 10).lightningDamage(2, 20).build());
  items.push_back(Base(0x07000005, 114).signature("XXXX").build());

  const std::vector<std::string> sidecars = {
      "",
      SidecarText("Alrik", "", true, "01.12.2026"),
      SidecarText("Birte <b>", "Corvin", false, "29.02.2024"),
      SidecarText("ABCDEFGHIJKLMNOPQRSTUVWXYZ", "", true, "31.12.9999"),
      "[Iteminfos]\nSenderName=Dagny\npublic=1\nAddedItem=1.12.2026\n",
  };

  Corpus report(root, "item_report");
  for (std::size_t i = 0; i < items.size(); ++i)
    report.Add(ReportInput(i, items[i], sidecars[i % sidecars.size()]));

  // INI texts: a selector, a value, then the text.
  Corpus ini(root, "ini");
  auto addIni = [&](std::uint8_t selector, const std::string& value, const std::string& text) {
    ini.Add(std::string(1, static_cast<char>(selector)) + static_cast<char>(value.size()) + value + text);
  };
  for (std::size_t i = 0; i < sidecars.size(); ++i)
    addIni(static_cast<std::uint8_t>(i), "Conan", sidecars[i]);
  addIni(0x80, "/home/keeper/pool",
         "[RELICOR]\r\nPathToPool=/home/keeper/pool\r\nPathToSent=/home/keeper/sent\r\nHTMLScanSub=1\r\n"
         "MailAddress=keeper@example.org\r\nHTML_Fontface=arial\r\nHTML_Fontsize=10pt\r\nfilePrefix=itm\r\n"
         "[Other]\r\n; a comment\r\nkey = value \r\n");
  addIni(0x83, "0x10", "[relicor]\nHTMLScanSub=$FF\n[RELICOR]\nHTMLScanSub=-1\n");
  addIni(2, "1", "junk line\r\n[Iteminfos\r\n[ Iteminfos ]\r\n Points4Item = 0x7FFFFFFF \r\n=nothing\r");
  addIni(5, "05.12.2026", "[Iteminfos]\rAddedItem= 05.12.2026 \rSentAt=32.01.2026");

  // IDENT.ID files: complemented records, a torn tail, a key twice.
  Corpus database(root, "ident_id");
  std::string stored;
  for (std::size_t i = 0; i < items.size() && i < 6; ++i) {
    stored += relicor::EncodeDatabaseRecord(items[i * 40 % items.size()]);
    database.Add(stored);
  }
  database.Add(stored + stored.substr(0, 123));
  database.Add(relicor::EncodeDatabaseRecord(items[1]) + relicor::EncodeDatabaseRecord(items[1]));
  database.Add("");

  Corpus players(root, "players");
  auto addPlayers = [&](const std::string& name, const std::string& text) {
    players.Add(std::string(1, static_cast<char>(name.size())) + name + text);
  };
  addPlayers("Egon", "Alrik\r\nBirte\r\nCorvin\r\nDagny\r\n");
  addPlayers("alrik", "Alrik\nbirte\nBIRTE\n\ncorvin");
  addPlayers("", "Zora\rYann\r\r\nXaver\n\r");
  addPlayers("\xC4gir", "\xE4gir\r\n\xC4GIR\r\n~tilde\r\n_under\r\n");

  Corpus dates(root, "dates");
  for (const char* text :
       {"01.12.2026", " 29.02.2024 ", "31.12.9999", "01.01.0001", "30.12.1899", "29.02.1900"}) {
    dates.Add(std::string(1, '\0') + text);
  }
  for (const double t : {0.0, 46361.5, -1.25, 2958465.999999, -693593.0, 1e300}) {
    std::string bytes(1, '\1');
    bytes.append(reinterpret_cast<const char*>(&t), sizeof t);
    dates.Add(bytes);
  }
  for (const std::int64_t seconds : {std::int64_t{0}, std::int64_t{1796472000}, std::int64_t{-2208988800}}) {
    std::string bytes(1, '\2');
    bytes.append(reinterpret_cast<const char*>(&seconds), sizeof seconds);
    bytes.append(4, '\0');
    dates.Add(bytes);
  }

  Corpus journals(root, "journal");
  relicor::Journal journal;
  journal.directories = {{"/home/keeper/pool", {2049, 131073}}, {"/home/keeper/sent", {2049, 131074}}};
  journal.moves = {{"/home/keeper/pool/a.ITM", "/home/keeper/pool/ShortSword0001.ITM"},
                   {"/home/keeper/pool/tab\tname.ITM", "/home/keeper/sent/tab\tname.ITM",
                    relicor::SendStamp{"Bob", "06.12.2026"}}};
  journals.Add(std::string(1, '\0') + relicor::JournalText(journal));
  journal.legacy = true;
  journals.Add(std::string(1, '\0') + relicor::JournalText(journal));
  journals.Add(std::string(1, '\0') + "RELICOR MOVES 2\r\nEND\r\n");
  relicor::RenameLog renameLog{
      "06.12.2026 10:11:12",
      {{"/p/a -> b/x.ITM", "/p/a -> b/ShortSword0001.ITM", "0000000101", "05.12.2026 09:00:00"},
       {"/p/\xE4.ITM", "/p/Dagger0001.ITM", "0000000203", "01.01.2026 00:00:00"}}};
  journals.Add(std::string(1, '\1') + relicor::RenameLogText(renameLog));
  journals.Add(std::string(1, '\1') + "06.12.2026 10:11:12\nno entry\n");

  std::cout << "seeds: item_report " << report.count() << ", ini " << ini.count() << ", ident_id "
            << database.count() << ", players " << players.count() << ", dates " << dates.count()
            << ", journal " << journals.count() << "\n";
  return 0;
}
