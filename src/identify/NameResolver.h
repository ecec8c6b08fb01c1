#pragma once
// The name an item ought to have: the prefix and suffix slots that the recognised affixes write
// while the effects are described, joined with the base item's short name (or replaced by the
// unique name), and its comparison with the stored name.

#include <string>
#include <string_view>

#include "item/BaseItems.h"

namespace relicor {

// The last writer of each slot wins.
struct AffixSlots {
  std::string prefix;
  std::string suffix;

  void SetPrefix(std::string_view name);
  void SetSuffix(std::string_view name);
  void Clear() {
    prefix.clear();
    suffix.clear();
  }
};

struct ResolvedNames {
  std::string resolved;     // prefix + " " + short name + " of " + suffix, or the unique name
  std::string alternative;  // prefix + " " + full name, without suffix
  // prefix + " " + full name + " of " + suffix: the name the game gives an item whose whole name
  // fits its panel (only the resolved name, with the short name, otherwise). Empty for a unique.
  std::string fullName;
};

// Joins the slots with the base item row. `uniqueName` replaces the resolved name of a unique
// item (pass nullptr for any other item).
ResolvedNames AssembleNames(const AffixSlots& slots, const BaseItemRow& base,
                            const std::string_view* uniqueName);

// True when the stored name equals, upper-cased, the resolved, the alternative or the full name.
bool NameMatches(const ResolvedNames& names, std::string_view storedName);

}  // namespace relicor
