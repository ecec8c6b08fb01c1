#pragma once
// The 400-byte item record of an ITM file. The raw bytes are the single source of truth; every
// field is read at its offset with an explicit width, and derived values are computed on access.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace relicor {

inline constexpr std::size_t kItemRecordSize = 400;
using ItemBytes = std::array<std::uint8_t, kItemRecordSize>;

// Field offsets. From offset 32 on, the record holds the game's own item structure, seed first;
// the game writes most of its numbers 4 bytes wide, and the system reads some of them narrower
// (the byte or the 16 bits at the offset). Fields the system only carries along (position,
// location, category, graphic, base value, ...) are named for the seed check, which compares
// them with a rebuilt item, and for the writer of rebuilt items.
namespace offset {
inline constexpr std::size_t kSignature = 0;
inline constexpr std::size_t kGameItem = 32;  // where the game's item structure starts
inline constexpr std::size_t kIdent = 32;     // the item's seed
inline constexpr std::size_t kCreateInfo = 36;
inline constexpr std::size_t kSource = 37;     // the creation info's high byte
inline constexpr std::size_t kItemClass = 40;  // the item type
inline constexpr std::size_t kPosition = 44;   // x, then y at 48
inline constexpr std::size_t kIdentified = 88;
inline constexpr std::size_t kMagical = 92;  // the game's quality: 0 plain, 1 magic, 2 unique
// The two names: the plain name the game shows while the item is unidentified (the base item's
// name), and the identified name with its affixes or the unique's name (Name()).
inline constexpr std::size_t kPlainName = 93;
inline constexpr std::size_t kPlainNameEnd = 157;  // text runs up to offset 156
inline constexpr std::size_t kIdentifiedName = 157;
inline constexpr std::size_t kIdentifiedNameEnd = 232;  // text ends before offset 232
inline constexpr std::size_t kLocation = 221;           // where the item is worn
inline constexpr std::size_t kCategory = 222;           // 1 weapon, 2 armour, 3 other, 4 gold, 5 quest item
inline constexpr std::size_t kCursor = 224;             // the item's graphic
inline constexpr std::size_t kBaseValue = 228;          // the base item's value; a gold pile's amount
inline constexpr std::size_t kPrice = 232;
inline constexpr std::size_t kMinDamage = 236;
inline constexpr std::size_t kMaxDamage = 240;
inline constexpr std::size_t kArmorClass = 244;
inline constexpr std::size_t kEffectFlags = 248;
inline constexpr std::size_t kUseEffect = 252;
inline constexpr std::size_t kSpell = 256;
inline constexpr std::size_t kCharges = 260;
inline constexpr std::size_t kMaxCharges = 264;
inline constexpr std::size_t kDurability = 268;
inline constexpr std::size_t kMaxDurability = 272;
inline constexpr std::size_t kPctDamage = 276;
inline constexpr std::size_t kPctToHit = 280;
inline constexpr std::size_t kPctArmor = 284;
inline constexpr std::size_t kAddStrength = 288;
inline constexpr std::size_t kAddMagic = 292;
inline constexpr std::size_t kAddDexterity = 296;
inline constexpr std::size_t kAddVitality = 300;
inline constexpr std::size_t kResFire = 304;
inline constexpr std::size_t kResLightning = 308;
inline constexpr std::size_t kResMagic = 312;
inline constexpr std::size_t kAddMana = 316;
inline constexpr std::size_t kAddHitPoints = 320;
inline constexpr std::size_t kAddDamage = 324;
inline constexpr std::size_t kDamageFromEnemies = 328;
inline constexpr std::size_t kLightRadius = 332;
inline constexpr std::size_t kSpellLevels = 336;
inline constexpr std::size_t kRequest = 337;  // play state
inline constexpr std::size_t kUniqueIndex = 340;
inline constexpr std::size_t kFireDamageMin = 344;
inline constexpr std::size_t kFireDamageMax = 348;
inline constexpr std::size_t kLightningDamageMin = 352;
inline constexpr std::size_t kLightningDamageMax = 356;
inline constexpr std::size_t kEnemyArmor = 360;  // the target's armour the item ignores
inline constexpr std::size_t kPrefixPower = 364;
inline constexpr std::size_t kSuffixPower = 365;
// The affixes' price parts: each value to add, then the factor it is multiplied by.
inline constexpr std::size_t kAffixValueA = 368;
inline constexpr std::size_t kAffixMultA = 372;
inline constexpr std::size_t kAffixValueB = 376;
inline constexpr std::size_t kAffixMultB = 380;
inline constexpr std::size_t kQuality = 380;  // the low byte of kAffixMultB
inline constexpr std::size_t kReqStrength = 384;
inline constexpr std::size_t kReqMagic = 385;
inline constexpr std::size_t kReqDexterity = 386;
inline constexpr std::size_t kStatFlag = 388;  // play state: whether the owner can use it
inline constexpr std::size_t kBaseItem = 392;
}  // namespace offset

// Each name field's size, its terminator included.
inline constexpr std::size_t kNameFieldSize = 64;
static_assert(offset::kPlainNameEnd - offset::kPlainName == kNameFieldSize);

// Effect bits of `EffectFlags` that the system reads.
namespace effect {
inline constexpr int kStealthLife = 1;
inline constexpr int kConstantlyLoseLife = 6;
inline constexpr int kKnockback = 11;
inline constexpr int kSteal3Mana = 13;
inline constexpr int kSteal5Mana = 14;
inline constexpr int kSteal3Life = 15;
inline constexpr int kSteal5Life = 16;
inline constexpr int kQuickAttack = 17;
inline constexpr int kFastAttack = 18;
inline constexpr int kFasterAttack = 19;
inline constexpr int kFastestAttack = 20;
inline constexpr int kFastHitRecovery = 21;
inline constexpr int kFasterHitRecovery = 22;
inline constexpr int kFastestHitRecovery = 23;
inline constexpr int kFastBlock = 24;
inline constexpr int kLightningArrows = 25;
inline constexpr int kAttackerTakesDamage = 26;
inline constexpr int kLoseAllMana = 27;
inline constexpr int kHalfTrapDamage = 28;
inline constexpr int kNoLine29 = 29;
inline constexpr int kDamageVsDemons = 30;
inline constexpr int kAllResistancesZero = 31;
}  // namespace effect

inline constexpr std::uint8_t kNoAffix = 255;      // PrefixPower / SuffixPower: none
inline constexpr std::uint8_t kSourceMonster = 2;  // Source value with special level rules

class ItemRecord {
 public:
  ItemRecord() { bytes_.fill(0); }
  explicit ItemRecord(const ItemBytes& bytes) : bytes_(bytes) {}
  // The first 400 bytes of `data` (missing bytes are zero).
  static ItemRecord FromBytes(std::string_view data);

  const ItemBytes& bytes() const { return bytes_; }
  ItemBytes& bytes() { return bytes_; }
  std::string_view view() const { return {reinterpret_cast<const char*>(bytes_.data()), bytes_.size()}; }

  // Raw little-endian reads.
  std::uint8_t ReadU8(std::size_t at) const { return bytes_[at]; }
  std::int16_t ReadI16LE(std::size_t at) const;
  std::int32_t ReadI32LE(std::size_t at) const;
  std::uint32_t ReadU32LE(std::size_t at) const;

  // Fields.
  std::string_view Signature() const { return view().substr(offset::kSignature, 4); }
  bool HasSignature() const { return Signature() == "ITM0"; }
  std::uint32_t Ident() const { return ReadU32LE(offset::kIdent); }
  std::uint8_t CreateInfo() const { return ReadU8(offset::kCreateInfo); }
  std::uint8_t Source() const { return ReadU8(offset::kSource); }
  std::uint8_t ItemClass() const { return ReadU8(offset::kItemClass); }
  std::uint8_t Identified() const { return ReadU8(offset::kIdentified); }
  std::string PlainName() const { return TextAt(offset::kPlainName, offset::kPlainNameEnd); }
  std::string Name() const { return TextAt(offset::kIdentifiedName, offset::kIdentifiedNameEnd); }
  // The same texts as views into the record: valid as long as the record is and stays unchanged.
  std::string_view PlainNameView() const { return TextViewAt(offset::kPlainName, offset::kPlainNameEnd); }
  std::string_view NameView() const {
    return TextViewAt(offset::kIdentifiedName, offset::kIdentifiedNameEnd);
  }
  std::int32_t Price() const { return ReadI32LE(offset::kPrice); }
  std::uint8_t MinDamage() const { return ReadU8(offset::kMinDamage); }
  std::uint8_t MaxDamage() const { return ReadU8(offset::kMaxDamage); }
  std::int16_t ArmorClass() const { return ReadI16LE(offset::kArmorClass); }
  std::uint32_t EffectFlags() const { return ReadU32LE(offset::kEffectFlags); }
  bool HasEffect(int bit) const { return (bytes_[offset::kEffectFlags + bit / 8] >> (bit % 8)) & 1; }
  std::uint8_t UseEffect() const { return ReadU8(offset::kUseEffect); }
  std::uint8_t Spell() const { return ReadU8(offset::kSpell); }
  std::uint8_t Charges() const { return ReadU8(offset::kCharges); }
  std::uint8_t MaxCharges() const { return ReadU8(offset::kMaxCharges); }
  std::uint8_t Durability() const { return ReadU8(offset::kDurability); }
  std::uint8_t MaxDurability() const { return ReadU8(offset::kMaxDurability); }
  std::int16_t PctDamage() const { return ReadI16LE(offset::kPctDamage); }
  std::int16_t PctToHit() const { return ReadI16LE(offset::kPctToHit); }
  std::int16_t PctArmor() const { return ReadI16LE(offset::kPctArmor); }
  std::int16_t AddStrength() const { return ReadI16LE(offset::kAddStrength); }
  std::int16_t AddMagic() const { return ReadI16LE(offset::kAddMagic); }
  std::int16_t AddDexterity() const { return ReadI16LE(offset::kAddDexterity); }
  std::int16_t AddVitality() const { return ReadI16LE(offset::kAddVitality); }
  std::uint8_t ResFire() const { return ReadU8(offset::kResFire); }
  std::uint8_t ResLightning() const { return ReadU8(offset::kResLightning); }
  std::uint8_t ResMagic() const { return ReadU8(offset::kResMagic); }
  std::int16_t AddMana() const { return ReadI16LE(offset::kAddMana); }
  std::int16_t AddHitPoints() const { return ReadI16LE(offset::kAddHitPoints); }
  std::int16_t AddDamage() const { return ReadI16LE(offset::kAddDamage); }
  std::int16_t DamageFromEnemies() const { return ReadI16LE(offset::kDamageFromEnemies); }
  std::int16_t LightRadius() const { return ReadI16LE(offset::kLightRadius); }
  std::uint8_t SpellLevels() const { return ReadU8(offset::kSpellLevels); }
  std::uint8_t UniqueIndex() const { return ReadU8(offset::kUniqueIndex); }
  std::int16_t FireDamageMin() const { return ReadI16LE(offset::kFireDamageMin); }
  std::int16_t FireDamageMax() const { return ReadI16LE(offset::kFireDamageMax); }
  std::int16_t LightningDamageMin() const { return ReadI16LE(offset::kLightningDamageMin); }
  std::int16_t LightningDamageMax() const { return ReadI16LE(offset::kLightningDamageMax); }
  std::uint8_t PrefixPower() const { return ReadU8(offset::kPrefixPower); }
  std::uint8_t SuffixPower() const { return ReadU8(offset::kSuffixPower); }
  std::int16_t AffixValueA() const { return ReadI16LE(offset::kAffixValueA); }
  std::int16_t AffixValueB() const { return ReadI16LE(offset::kAffixValueB); }
  std::uint8_t Quality() const { return ReadU8(offset::kQuality); }
  std::uint8_t ReqStrength() const { return ReadU8(offset::kReqStrength); }
  std::uint8_t ReqMagic() const { return ReadU8(offset::kReqMagic); }
  std::uint8_t ReqDexterity() const { return ReadU8(offset::kReqDexterity); }
  std::uint8_t BaseItem() const { return ReadU8(offset::kBaseItem); }

  // Derived values.
  std::string ItemKey() const;  // 8 hex digits of Ident + 2 of ItemClass
  static std::string KeyOf(std::uint32_t ident, std::uint8_t itemClass);  // the same of the two
  bool IsIdentified() const { return Identified() == 1 || ItemClass() == 0; }
  bool IsUnique() const { return Quality() == 1; }
  bool IsIndestructible() const { return Durability() == 0 || Durability() == 255; }
  int CreationLevel() const { return CreateInfo() & 0x3F; }
  bool DungeonLevelFlag() const { return (CreateInfo() & 0x40) != 0 && Source() != kSourceMonster; }
  int ShownDungeonLevel() const { return CreationLevel() / 2; }
  bool UniqueMonsterMark() const { return CreateInfo() > 63 && Source() == kSourceMonster; }
  int ManaBonus() const { return AddMana() >> 6; }  // arithmetic shift: rounds towards minus infinity
  int HitPointBonus() const { return AddHitPoints() >> 6; }
  bool HasLightRadius() const { return (LightRadius() & 0xFF) != 0; }
  int LightRadiusPercent() const { return LightRadius() * 10; }
  int PreAddInfo() const { return PrefixPower() == kNoAffix ? AffixValueB() : AffixValueA(); }
  int SufAddInfo() const { return PrefixPower() == kNoAffix ? AffixValueA() : AffixValueB(); }

 private:
  // Zero-terminated text from `from`, ending at the terminator or before `end`.
  std::string TextAt(std::size_t from, std::size_t end) const;
  std::string_view TextViewAt(std::size_t from, std::size_t end) const;

  ItemBytes bytes_;
};

static_assert(sizeof(ItemBytes) == kItemRecordSize);

}  // namespace relicor
