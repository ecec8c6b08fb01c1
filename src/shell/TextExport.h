#pragma once
// The text export: the reports of every ITM file of a directory in one text list.

#include <string_view>

namespace relicor {

inline constexpr std::string_view kExportFileName = "ITMLIST.TXT";
inline constexpr std::string_view kExportTitle = "Relicor item list";

// The export file is written in pieces of about this size.
inline constexpr std::size_t kExportFlushBytes = 1 << 20;

}  // namespace relicor
