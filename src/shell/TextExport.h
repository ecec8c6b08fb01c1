#pragma once
// The text export: the reports of every ITM file of a directory in one text list.

#include <cstddef>
#include <string>
#include <string_view>

#include "identify/ItemReport.h"

namespace relicor {

inline constexpr std::string_view kExportFileName = "ITMLIST.TXT";
inline constexpr std::string_view kExportTitle = "Relicor item list";

// The export file is written in pieces of about this size.
inline constexpr std::size_t kExportFlushBytes = 1 << 20;

// Appends the report's lines to the export text, each ending with CR LF, then its seed verdict
// line when it has one. Every control byte of the first line (the file line, which holds the file
// name) is written as '?': a line break in a name would split the line.
void AppendExportText(std::string& text, const ItemReport& report);

}  // namespace relicor
