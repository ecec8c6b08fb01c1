#pragma once
// What the rename run and its undo tell the keeper.

#include <string>
#include <string_view>

#include "pool/RenameLog.h"
#include "pool/RenameRun.h"

namespace relicor {

// What the rename run answers when the keeper did not say Yes.
inline constexpr std::string_view kRenameDeclinedText = "rename run not started";

// Summaries for the keeper: one line per file ("renamed A -> B", "kept A: reason"), then the
// counts ("3 renamed, 5 kept, 1 failed") and where the log is.
std::string RenamePlanText(const RenamePlan& plan);
std::string RenameSummaryText(const RenameRunResult& result);
std::string UndoSummaryText(const RenameUndoResult& result);

}  // namespace relicor
