#include "shell/RenameTexts.h"

namespace relicor {

std::string RenamePlanText(const RenamePlan& plan) {
  std::string text;
  for (const auto& step : plan.renames) text += step.from + " -> " + step.to + "\n";
  text += std::to_string(plan.renames.size()) + " of " + std::to_string(plan.handled) +
          " item files would be renamed; nothing was changed";
  return text;
}

std::string RenameSummaryText(const RenameRunResult& result) {
  std::string text;
  for (const auto& step : result.renamed) {
    text += "renamed ";
    text += step.from;
    text += " -> ";
    text += step.to;
    text += '\n';
  }
  for (const auto& step : result.failed) text += "failed " + step.from + ": " + step.reason + "\n";
  text += std::to_string(result.renamed.size()) + " renamed, " + std::to_string(result.kept()) + " kept, " +
          std::to_string(result.failed.size()) + " failed";
  if (!result.logPath.empty()) text += "; undo with the log " + result.logPath;
  if (!result.logError.empty()) text += "; the rename log could not be written: " + result.logError;
  return text;
}

std::string UndoSummaryText(const RenameUndoResult& result) {
  if (!result.logFound) return "no rename run to undo";
  std::string text;
  for (const auto& step : result.restored) text += "restored " + step.from + " -> " + step.to + "\n";
  for (const auto& step : result.refused) text += "left " + step.from + ": " + step.reason + "\n";
  text += "rename run of " + result.runTime + ": " + std::to_string(result.restored.size()) + " restored, " +
          std::to_string(result.refused.size()) + " left as they are";
  return text;
}

}  // namespace relicor
