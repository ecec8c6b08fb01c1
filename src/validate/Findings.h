#pragma once
// Findings: a broken validity rule, given as rule code and value, turned into one report line
// with a fixed alarm header. The formatter also colours the status panel (only the first finding
// of a report chooses the colour) and keeps the last finding code.
//
// Hack findings use the codes 1-43. Definition findings (the built-in tables have no row for what
// the item claims to be) are raised as 100000 + code and shown with a header of their own.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace relicor {

enum class StatusColour : std::uint8_t { kGreen, kRed, kPurple, kAqua };

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;

  friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

// Green when a report starts, red for a hack or a registered dupe, purple for an incomplete
// internal definition, aqua for an unknown use effect.
constexpr Rgb StatusRgb(StatusColour colour) {
  switch (colour) {
    case StatusColour::kGreen:
      return {0, 128, 0};
    case StatusColour::kRed:
      return {255, 0, 0};
    case StatusColour::kPurple:
      return {128, 0, 128};
    case StatusColour::kAqua:
      return {0, 255, 255};
  }
  return {};
}

// Codes above this are definition findings; the catalogue text is that of code - this offset.
inline constexpr std::int32_t kDefinitionFindingOffset = 100000;

// Codes the report raises for its rules (the catalogue index of each is the code itself, or the
// code reduced by kDefinitionFindingOffset).
namespace rule {
inline constexpr std::int32_t kIndestructible = 1;
inline constexpr std::int32_t kSourceHackCode = 2;
inline constexpr std::int32_t kInvalidSpellCharges = 3;
inline constexpr std::int32_t kTooMuchCharges = 4;
inline constexpr std::int32_t kTooMuchMana = 5;
inline constexpr std::int32_t kHackedMana = 6;
inline constexpr std::int32_t kTooMuchHitPoints = 7;
inline constexpr std::int32_t kHackedHitPoints = 8;
inline constexpr std::int32_t kTooMuchDamagePoints = 9;
inline constexpr std::int32_t kHackedDamagePoints = 10;
inline constexpr std::int32_t kTooMuchResist = 11;
inline constexpr std::int32_t kHackedResist = 12;
inline constexpr std::int32_t kTooMuchPctDamage = 13;
inline constexpr std::int32_t kHackedPctDamage = 14;
inline constexpr std::int32_t kTooMuchPctToHit = 15;
inline constexpr std::int32_t kHackedPctToHit = 16;
inline constexpr std::int32_t kTooMuchPctArmor = 17;
inline constexpr std::int32_t kHackedPctArmor = 18;
inline constexpr std::int32_t kTooMuchAllAttributes = 19;
inline constexpr std::int32_t kHackedAllAttributes = 20;
inline constexpr std::int32_t kTooMuchStrength = 21;
inline constexpr std::int32_t kHackedStrength = 22;
inline constexpr std::int32_t kTooMuchMagic = 23;
inline constexpr std::int32_t kHackedMagic = 24;
inline constexpr std::int32_t kTooMuchDexterity = 25;
inline constexpr std::int32_t kHackedDexterity = 26;
inline constexpr std::int32_t kTooMuchVitality = 27;
inline constexpr std::int32_t kHackedVitality = 28;
inline constexpr std::int32_t kHackedSpeed = 30;
inline constexpr std::int32_t kHackedRecovery = 31;
inline constexpr std::int32_t kHackedDamageReductionEffect = 32;
inline constexpr std::int32_t kHackedDamageReduction = 33;
inline constexpr std::int32_t kHackedUniqueType = 34;
inline constexpr std::int32_t kUniqueDefinitionMissed = 100035;
inline constexpr std::int32_t kSinglePlayerItem = 36;
inline constexpr std::int32_t kNotInMultiplayer = 37;
inline constexpr std::int32_t kNeverInGame = 38;
inline constexpr std::int32_t kItemTypeMismatch = 39;
inline constexpr std::int32_t kItemTypeUndefined = 100040;
inline constexpr std::int32_t kPrefixNotFromGriswold = 41;
inline constexpr std::int32_t kSuffixNotFromGriswold = 42;  // no rule raises it
inline constexpr std::int32_t kExceedsPriceLimit = 43;
}  // namespace rule

// How a finding's value is appended to the catalogue text.
enum class FindingValue : std::uint8_t {
  kNone,      // not shown
  kDecimal,   // signed decimal, no plus sign
  kHexByte,   // lowest byte, 2 uppercase hex digits
  kHexBytes,  // lowest byte, "/", second-lowest byte, 2 hex digits each
};

struct RuleRow {
  std::string_view text;  // exact, trailing blanks included; empty: code without a text
  FindingValue value = FindingValue::kNone;
};

inline constexpr std::size_t kRuleCatalogueSize = 44;  // codes 0-43

// The catalogue, indexed by code. Codes 0 and 29 have no text. "DEFINTION" in the definition
// header below is spelled so on purpose: published pages and logs carry it.
// clang-format off
inline constexpr std::array<RuleRow, kRuleCatalogueSize> kRuleCatalogue{{
  // text                                                    value
  {"",                                                       FindingValue::kNone},      // 0
  {"INDESTRUCTIBLE - MAY BE LEGIT IF SELF DONE IN GAME ",    FindingValue::kNone},      // 1
  {"SOURCE HACK CODE ",                                      FindingValue::kDecimal},   // 2
  {"INVALID SPELL CHARGES ENTRY",                            FindingValue::kNone},      // 3
  {"TOO MUCH CHARGES FOR THIS SPELL",                        FindingValue::kNone},      // 4
  {"TOO MUCH MANA ",                                         FindingValue::kDecimal},   // 5
  {"HACKED MANA EFFECT ",                                    FindingValue::kDecimal},   // 6
  {"TOO MUCH HITPOINTS ",                                    FindingValue::kDecimal},   // 7
  {"HACKED HIT POINT EFFECT ",                               FindingValue::kDecimal},   // 8
  {"TOO MUCH DAMAGE POINTS ",                                FindingValue::kDecimal},   // 9
  {"HACKED DAMAGE POINT EFFECT ",                            FindingValue::kDecimal},   // 10
  {"TOO MUCH RESIST ",                                       FindingValue::kDecimal},   // 11
  {"HACKED RESIST EFFECT ",                                  FindingValue::kDecimal},   // 12
  {"TOO MUCH %DAMAGE ",                                      FindingValue::kDecimal},   // 13
  {"HACKED %DAMAGE EFFECT ",                                 FindingValue::kDecimal},   // 14
  {"TOO MUCH %TO HIT ",                                      FindingValue::kDecimal},   // 15
  {"HACKED %TO HIT EFFECT ",                                 FindingValue::kDecimal},   // 16
  {"TOO MUCH %TO ARMOR ",                                    FindingValue::kDecimal},   // 17
  {"HACKED %TO ARMOR EFFECT ",                               FindingValue::kDecimal},   // 18
  {"TOO MUCH TO ALL ATTRIBUTES ",                            FindingValue::kDecimal},   // 19
  {"HACKED ALL ATTRIBUTES EFFECT ",                          FindingValue::kDecimal},   // 20
  {"TOO MUCH TO STR ",                                       FindingValue::kDecimal},   // 21
  {"HACKED STR EFFECT ",                                     FindingValue::kDecimal},   // 22
  {"TOO MUCH TO MAG ",                                       FindingValue::kDecimal},   // 23
  {"HACKED MAG EFFECT ",                                     FindingValue::kDecimal},   // 24
  {"TOO MUCH TO DEX ",                                       FindingValue::kDecimal},   // 25
  {"HACKED DEX EFFECT ",                                     FindingValue::kDecimal},   // 26
  {"TOO MUCH TO VIT ",                                       FindingValue::kDecimal},   // 27
  {"HACKED VIT EFFECT ",                                     FindingValue::kDecimal},   // 28
  {"",                                                       FindingValue::kNone},      // 29
  {"HACKED SPEED EFFECT",                                    FindingValue::kNone},      // 30
  {"HACKED RECOVERY EFFECT",                                 FindingValue::kNone},      // 31
  {"HACKED DAMAGE REDUCTION EFFECT",                         FindingValue::kNone},      // 32
  {"HACKED DAMAGE REDUCTION",                                FindingValue::kNone},      // 33
  {"HACKED UNIQUE ITEM TYPE ",                               FindingValue::kHexByte},   // 34
  {"INTERNAL UNIQUE DEFINITION MISSED ",                     FindingValue::kHexByte},   // 35
  {"THIS IS A SINGLE PLAYER ITEM",                           FindingValue::kNone},      // 36
  {"ITEM CANNOT BE FOUND IN DIABLO MULTIPLAYER",             FindingValue::kNone},      // 37
  {"THIS ITEM NEVER OCCURS IN GAME",                         FindingValue::kNone},      // 38
  {"INTERNAL ITEM TYPE MISMATCH ",                           FindingValue::kHexBytes},  // 39
  {"INTERNAL ITEM TYPE ",                                    FindingValue::kHexBytes},  // 40
  {"ITEM PREFIX NOT AVAILABLE FROM GRISWOLD ",               FindingValue::kDecimal},   // 41
  {"ITEM SUFFIX NOT AVAILABLE FROM GRISWOLD ",               FindingValue::kDecimal},   // 42
  {"ITEM EXCEEDS PRICE LIMIT",                               FindingValue::kNone},      // 43
}};
// clang-format on

inline constexpr std::string_view kHackHeader = "*** HACK DETECTED ";
inline constexpr std::string_view kDefinitionHeader = "*** INCOMPLETE INTERNAL DEFINTION ";

// What a report's findings leave behind: the status panel colour and the last finding code
// (a definition finding's code reduced by kDefinitionFindingOffset).
struct FindingState {
  StatusColour status = StatusColour::kGreen;
  std::int32_t lastFindingCode = 0;

  // The start of every report: green, no finding yet.
  void Reset() {
    status = StatusColour::kGreen;
    lastFindingCode = 0;
  }
};

// The catalogue row of `code`; an empty row for a code the catalogue does not know.
RuleRow RuleOf(std::int32_t code);

// The report line of the finding (`code`, `value`). Sets the status colour when this is the first
// finding of the report (last finding code 0), then sets the last finding code. Accepts any code;
// one without a catalogue text yields the header alone.
std::string FormatFinding(FindingState& state, std::int32_t code, std::int32_t value);

}  // namespace relicor
