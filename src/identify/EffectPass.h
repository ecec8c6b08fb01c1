#pragma once
// The single pass over an item's effects: for each effect in a fixed order it writes the effect
// line, the finding lines of the rules it breaks (the checks of validate/RuleChecks.h), the affix name it
// stands for (prefix or suffix slot) and its price parts. Around it: the unique checks of the report header,
// and the origin, price and name lines of the report trailer.

#include <cstdint>
#include <string>
#include <string_view>

#include "identify/ItemReport.h"
#include "identify/NameResolver.h"
#include "identify/PriceCalc.h"
#include "item/ItemRecord.h"
#include "validate/Findings.h"
#include "validate/RuleChecks.h"

namespace relicor {

struct PassOptions {
  bool vkMode = false;
  bool additionalInfo = false;
  bool htmlMode = false;
  bool debugLines = true;  // the diagnostic lines are made
};

// The line of a use effect code, or an empty text for code 0. `known` is set to false for a code
// without a text of its own ("Info 4 unknown " and the code in hex).
std::string UseEffectLine(std::uint8_t useEffect, std::uint8_t spell, bool& known);

class EffectPass {
 public:
  // The pass adds its lines, findings and diagnostic lines to `report` and sets its status.
  EffectPass(const ItemRecord& item, PassOptions options, ItemReport& report);

  // Header of a unique item: the "++ UNIQUE:" line (additional information, text mode) and the
  // availability and base item checks. Nothing for other items.
  void UniqueChecks();

  // The effect section: class check, effect lines and their rules, with affix names and price
  // parts in the same order.
  void EffectSection();

  // "Ursprung: " and the level lines.
  void SourceAndLevelLines();

  // The computed prices, the vendor limit rules and "calc. price " (additional information), and
  // the debug line for a stored price that matches neither computed price.
  void FinalPrice();

  // Assembles the resolved name, shows it and the type (additional information) and writes the
  // debug line for a stored name that matches neither the resolved nor the alternative name.
  void NameCheck();

  const AffixSlots& slots() const { return slots_; }
  const PriceAccumulators& accumulators() const { return price_; }

 private:
  // A report line (a diagnostic line) made of texts and numbers in turn (ReportLines::Add).
  template <typename... Parts>
  void Line(const Parts&... parts) {
    report_.lines.Add(parts...);
  }
  void Finding(std::int32_t code, std::int32_t value);
  // The findings of a rule check (validate/RuleChecks.h), in order.
  void Raise(const RuleBreaches& found);
  template <typename... Parts>
  void Debug(const Parts&... parts) {
    report_.debugLines.Add(parts...);
  }

  void StealAndSpeedEffects(bool unique);
  void ChargesLine(bool unique);
  void DurabilityLines();
  void PercentEffects(bool unique);
  void AttributeEffects(bool unique);
  void ResistEffects(bool unique);
  void BonusEffects(bool unique);
  void ElementalEffects(bool unique);

  const ItemRecord& item_;
  PassOptions options_;
  ItemReport& report_;
  AffixSlots slots_;
  PriceAccumulators price_;
};

}  // namespace relicor
