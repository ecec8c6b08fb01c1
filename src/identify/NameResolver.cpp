#include "identify/NameResolver.h"

#include "identify/ReportText.h"
#include "text/ByteText.h"

namespace relicor {

void AffixSlots::SetPrefix(std::string_view name) {
  prefix = ShortString(name);
}

void AffixSlots::SetSuffix(std::string_view name) {
  suffix = ShortString(name);
}

ResolvedNames AssembleNames(const AffixSlots& slots, const BaseItemRow& base,
                            const std::string_view* uniqueName) {
  std::string suffix = slots.suffix;
  if (!suffix.empty()) {
    suffix = ShortString(" of " + suffix);
  }
  std::string prefix = slots.prefix;
  if (!prefix.empty()) {
    prefix = ShortString(prefix + " ");
  }
  ResolvedNames names;
  names.resolved = ShortString(prefix + std::string(base.ShortName) + suffix);
  names.alternative = ShortString(prefix + std::string(base.FullName));
  if (uniqueName != nullptr) {
    names.resolved = ShortString(*uniqueName);
  } else {
    names.fullName = ShortString(prefix + std::string(base.FullName) + suffix);
  }
  return names;
}

bool NameMatches(const ResolvedNames& names, std::string_view storedName) {
  // Upper-cased alike (a-z as A-Z), compared without copies.
  return EqualsNoCase(names.resolved, storedName) || EqualsNoCase(names.alternative, storedName) ||
         (!names.fullName.empty() && EqualsNoCase(names.fullName, storedName));
}

}  // namespace relicor
