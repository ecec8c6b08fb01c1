#pragma once
// Windows-1252 <-> UTF-8, for the edges (terminal, GUI). The core keeps Windows-1252 bytes.

#include <string>
#include <string_view>

namespace relicor {

std::string Cp1252ToUtf8(std::string_view bytes);

// Characters that Windows-1252 cannot hold become '?'; malformed UTF-8 bytes too.
std::string Utf8ToCp1252(std::string_view utf8);

}  // namespace relicor
