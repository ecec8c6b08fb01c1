#pragma once
// One judgement of an item for the keeper: the seed verdict together with what the item report
// found, so that the screen never shows two verdicts side by side ("genuine (single player) · 036",
// "edited: price file 42001, game 42000 · 043"). Texts are Windows-1252.

#include <string>
#include <vector>

#include "identify/ItemReport.h"
#include "shell/SeedCheck.h"

namespace relicor {

// The rule codes the report raised, each once, in the order raised, as the report writes them
// ("036", "100040"), with "registered dupe" first when the database holds the item.
std::vector<std::string> ReportFindingsOf(const ItemReport& report, bool registered);

// The verdict's words (VerdictText), then " · " and the report's findings when it raised any.
std::string JudgementText(const SeedVerdict& verdict, const ItemReport& report, bool registered);

}  // namespace relicor
