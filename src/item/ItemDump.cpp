#include "item/ItemDump.h"

#include <array>

#include "text/ByteText.h"
#include "text/Hex.h"

namespace relicor {
namespace {

constexpr std::size_t kRecordFieldCount = 49;

// clang-format off
//   name                  offset
constexpr std::array<RecordFieldName, kRecordFieldCount> kRecordFieldNames{{
    {"Signature",          offset::kSignature},           //  0
    {"Ident",              offset::kIdent},               //  1
    {"CreateInfo",         offset::kCreateInfo},          //  2
    {"Source",             offset::kSource},              //  3
    {"ItemClass",          offset::kItemClass},           //  4
    {"Identified",         offset::kIdentified},          //  5
    {"PlainName",          offset::kPlainName},           //  6
    {"Name",               offset::kIdentifiedName},      //  7
    {"Price",              offset::kPrice},               //  8
    {"MinDamage",          offset::kMinDamage},           //  9
    {"MaxDamage",          offset::kMaxDamage},           // 10
    {"ArmorClass",         offset::kArmorClass},          // 11
    {"EffectFlags",        offset::kEffectFlags},         // 12
    {"UseEffect",          offset::kUseEffect},           // 13
    {"Spell",              offset::kSpell},               // 14
    {"Charges",            offset::kCharges},             // 15
    {"MaxCharges",         offset::kMaxCharges},          // 16
    {"Durability",         offset::kDurability},          // 17
    {"MaxDurability",      offset::kMaxDurability},       // 18
    {"PctDamage",          offset::kPctDamage},           // 19
    {"PctToHit",           offset::kPctToHit},            // 20
    {"PctArmor",           offset::kPctArmor},            // 21
    {"AddStrength",        offset::kAddStrength},         // 22
    {"AddMagic",           offset::kAddMagic},            // 23
    {"AddDexterity",       offset::kAddDexterity},        // 24
    {"AddVitality",        offset::kAddVitality},         // 25
    {"ResFire",            offset::kResFire},             // 26
    {"ResLightning",       offset::kResLightning},        // 27
    {"ResMagic",           offset::kResMagic},            // 28
    {"AddMana",            offset::kAddMana},             // 29
    {"AddHitPoints",       offset::kAddHitPoints},        // 30
    {"AddDamage",          offset::kAddDamage},           // 31
    {"DamageFromEnemies",  offset::kDamageFromEnemies},   // 32
    {"LightRadius",        offset::kLightRadius},         // 33
    {"SpellLevels",        offset::kSpellLevels},         // 34
    {"UniqueIndex",        offset::kUniqueIndex},         // 35
    {"FireDamageMin",      offset::kFireDamageMin},       // 36
    {"FireDamageMax",      offset::kFireDamageMax},       // 37
    {"LightningDamageMin", offset::kLightningDamageMin},  // 38
    {"LightningDamageMax", offset::kLightningDamageMax},  // 39
    {"PrefixPower",        offset::kPrefixPower},         // 40
    {"SuffixPower",        offset::kSuffixPower},         // 41
    {"AffixValueA",        offset::kAffixValueA},         // 42
    {"AffixValueB",        offset::kAffixValueB},         // 43
    {"Quality",            offset::kQuality},             // 44
    {"ReqStrength",        offset::kReqStrength},         // 45
    {"ReqMagic",           offset::kReqMagic},            // 46
    {"ReqDexterity",       offset::kReqDexterity},        // 47
    {"BaseItem",           offset::kBaseItem},            // 48
}};
// clang-format on

}  // namespace

std::span<const RecordFieldName> RecordFieldNames() {
  return kRecordFieldNames;
}

std::vector<std::string> ItemDumpFieldLines() {
  std::vector<std::string> lines(kItemRecordSize / kDumpBytesPerLine);
  for (const RecordFieldName& field : RecordFieldNames()) {
    std::string& line = lines[field.offset / kDumpBytesPerLine];
    if (!line.empty()) line += ", ";
    line += field.name;
  }
  return lines;
}

std::vector<std::string> ItemDumpLines(const ItemRecord& record, bool decimalView) {
  std::vector<std::string> lines;
  lines.reserve(kItemRecordSize / kDumpBytesPerLine);
  std::string collected;
  for (std::size_t i = 0; i < kItemRecordSize; ++i) {
    const std::uint8_t b = record.bytes()[i];
    collected += decimalView ? ZeroPadNumber(b, 3) : ByteToHex(b);
    collected += ' ';
    if (i % kDumpBytesPerLine == kDumpBytesPerLine - 1) {
      lines.push_back(ZeroPadNumber(static_cast<std::int32_t>(i - (kDumpBytesPerLine - 1)), 3) + ": " +
                      collected);
      collected.clear();
    }
  }
  return lines;
}

}  // namespace relicor
