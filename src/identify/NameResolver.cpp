#include "identify/NameResolver.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

#include "identify/ReportText.h"
#include "text/ByteText.h"

namespace relicor {

void AffixSlots::SetPrefix(std::string_view name) {
  prefix = ShortString(name);
}

void AffixSlots::SetSuffix(std::string_view name) {
  suffix = ShortString(name);
}

namespace {

// The parts one after the other, cut to a working text's capacity as ShortString cuts: made in
// one piece of memory.
std::string Joined(std::initializer_list<std::string_view> parts) {
  std::size_t size = 0;
  for (const std::string_view part : parts) size += part.size();
  std::string text;
  text.reserve(std::min(size, kTextCapacity));
  for (const std::string_view part : parts) text.append(part.substr(0, kTextCapacity - text.size()));
  return text;
}

}  // namespace

ResolvedNames AssembleNames(const AffixSlots& slots, const BaseItemRow& base,
                            const std::string_view* uniqueName) {
  const std::string suffix = slots.suffix.empty() ? std::string() : Joined({" of ", slots.suffix});
  const std::string prefix = slots.prefix.empty() ? std::string() : Joined({slots.prefix, " "});
  ResolvedNames names;
  names.alternative = Joined({prefix, base.FullName});
  if (uniqueName != nullptr) {
    names.resolved = ShortString(*uniqueName);
  } else {
    names.resolved = Joined({prefix, base.ShortName, suffix});
    names.fullName = Joined({prefix, base.FullName, suffix});
  }
  return names;
}

bool NameMatches(const ResolvedNames& names, std::string_view storedName) {
  // Upper-cased alike (a-z as A-Z), compared without copies.
  return EqualsNoCase(names.resolved, storedName) || EqualsNoCase(names.alternative, storedName) ||
         (!names.fullName.empty() && EqualsNoCase(names.fullName, storedName));
}

}  // namespace relicor
