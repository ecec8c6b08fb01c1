#pragma once
// The order in which lists of item names are shown: without regard to letter case, and with the
// accented letters of Windows-1252 among their base letters (ä and Ä with A, ß as SS).

#include <string>
#include <string_view>

namespace relicor {

// The text folded for sorting: capitals without accents, ligatures spelt out.
std::string NameSortKey(std::string_view cp1252);

// True when `a` stands before `b`: by their sort keys, and bytewise where the keys are equal.
bool NameLess(std::string_view a, std::string_view b);

}  // namespace relicor
