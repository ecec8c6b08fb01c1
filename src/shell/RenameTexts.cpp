#include "shell/RenameTexts.h"

#include "text/ByteText.h"

namespace relicor {

std::string RenameQuestion(std::string_view poolDir, std::string_view sentDir) {
  std::string text = "This function will autoname all files in \"";
  text.append(poolDir);
  text.append("\" and \"");
  text.append(sentDir);
  text.append("\" by their item names. Continue?");
  return ShortString(text, kTextCapacity);
}

std::string RenameQuestion(std::string_view poolDir, std::string_view sentDir, const RenamePlan& plan) {
  std::string text = RenameQuestion(poolDir, sentDir);
  if (plan.renames.empty()) {
    text += "\nNo file needs a new name (" + std::to_string(plan.handled) + " item files).";
    return text;
  }
  text += "\n" + std::to_string(plan.renames.size()) + " of " + std::to_string(plan.handled) +
          " item files will be renamed:";
  for (const auto& [dir, count] : plan.perDirectory) text += "\n" + std::to_string(count) + " in " + dir;
  return text;
}

std::string RenamePlanText(const RenamePlan& plan) {
  std::string text;
  for (const auto& step : plan.renames) text += step.from + " -> " + step.to + "\n";
  text += std::to_string(plan.renames.size()) + " of " + std::to_string(plan.handled) +
          " item files would be renamed; nothing was changed";
  return text;
}

namespace {

// The summary is handed on in pieces of about this size.
constexpr std::size_t kSummaryPieceBytes = std::size_t{64} * 1024;

}  // namespace

void WriteRenameSummary(const RenameRunResult& result, const std::function<void(std::string_view)>& write) {
  std::string piece;
  piece.reserve(kSummaryPieceBytes + 1024);
  auto handOn = [&] {
    if (piece.size() < kSummaryPieceBytes) return;
    write(piece);
    piece.clear();
  };
  RenameStepList::Step step;
  for (std::size_t i = 0; i < result.renamed.size(); ++i) {
    result.renamed.Get(i, step);
    piece += "renamed ";
    piece += step.from;
    piece += " -> ";
    piece += step.to;
    piece += '\n';
    handOn();
  }
  for (const auto& step : result.failed) {
    piece += "failed " + step.from + ": " + step.reason + "\n";
    handOn();
  }
  piece += std::to_string(result.renamed.size()) + " renamed, " + std::to_string(result.kept()) + " kept, " +
           std::to_string(result.failed.size()) + " failed";
  if (!result.logPath.empty()) piece += "; undo with the log " + result.logPath;
  if (!result.logError.empty()) piece += "; the rename log could not be written: " + result.logError;
  write(piece);
}

std::string RenameSummaryText(const RenameRunResult& result) {
  std::string text;
  // One line per renamed file: made at its size, not grown to twice it.
  std::size_t size = 128;
  for (const auto& step : result.renamed) size += step.from.size() + step.to.size() + 13;
  text.reserve(size);
  WriteRenameSummary(result, [&text](std::string_view piece) { text += piece; });
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
