#include "gui/RenameSummary.h"

#include <QStringList>

#include "gui/GuiText.h"
#include "pool/RenameLog.h"
#include "pool/RenameRun.h"

namespace relicor {

RenameSummary SummariseRenameRun(const RenameRunResult& result) {
  RenameSummary summary;
  summary.text = QString("%1 renamed, %2 kept, %3 failed")
                     .arg(result.renamed.size())
                     .arg(result.kept())
                     .arg(result.failed.size());
  if (!result.logPath.empty()) summary.text += "\nrename log: " + PathToQt(result.logPath);
  if (!result.logError.empty())
    summary.text += "\nthe rename log could not be written: " + MessageToQt(result.logError);
  QStringList lines;
  for (const RenameStep& step : result.renamed) lines << PathToQt(step.from) + " -> " + PathToQt(step.to);
  for (const RenameStep& step : result.failed)
    lines << "not renamed " + PathToQt(step.from) + ": " + MessageToQt(step.reason);
  summary.details = lines.join('\n');
  return summary;
}

RenameSummary SummariseUndo(const RenameUndoResult& result) {
  RenameSummary summary;
  if (!result.logFound) {
    summary.text = "There is no rename run to undo.";
    return summary;
  }
  summary.text =
      QString("%1 restored, %2 left as they are").arg(result.restored.size()).arg(result.refused.size());
  QStringList lines;
  for (const UndoStep& step : result.restored) lines << PathToQt(step.from) + " -> " + PathToQt(step.to);
  for (const UndoStep& step : result.refused)
    lines << "left " + PathToQt(step.from) + ": " + MessageToQt(step.reason);
  summary.details = lines.join('\n');
  return summary;
}

}  // namespace relicor
