#pragma once
// What the rename run and its undo tell the keeper.

#include <functional>
#include <string>
#include <string_view>

#include "pool/RenameLog.h"
#include "pool/RenameRun.h"

namespace relicor {

// What the rename run answers when the keeper did not say Yes.
inline constexpr std::string_view kRenameDeclinedText = "rename run not started";

// The question asked before the run, cut to 255 characters like every working text.
std::string RenameQuestion(std::string_view poolDir, std::string_view sentDir);

// The question with what the run is about to do: the question above, then how many files would
// be renamed in which directory.
std::string RenameQuestion(std::string_view poolDir, std::string_view sentDir, const RenamePlan& plan);

// Summaries for the keeper: one line per file ("renamed A -> B", "kept A: reason"), then the
// counts ("3 renamed, 5 kept, 1 failed") and where the log is.
std::string RenamePlanText(const RenamePlan& plan);
std::string RenameSummaryText(const RenameRunResult& result);
// The same summary handed to `write` in pieces of about 64 KiB as it is made: a run over a large
// pool names every file it renamed, and its summary need not be held whole.
void WriteRenameSummary(const RenameRunResult& result, const std::function<void(std::string_view)>& write);
std::string UndoSummaryText(const RenameUndoResult& result);

}  // namespace relicor
