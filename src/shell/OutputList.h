#pragma once
// The output list: the lines of the current item's report as the main window shows them.

#include <string>
#include <vector>

#include "identify/ItemReport.h"

namespace relicor {

// Replaces `list` with the report's lines, then its seed verdict line when it has one.
void ShowInOutputList(const ItemReport& report, std::vector<std::string>& list);

}  // namespace relicor
