#include "gui/RenameSummary.h"

#include <QCoreApplication>
#include <QStringList>

#include "gui/GuiText.h"
#include "pool/RenameLog.h"
#include "pool/RenameRun.h"

namespace relicor {
namespace {

// The context of this file's texts in the translations.
struct RenameTexts {
  Q_DECLARE_TR_FUNCTIONS(relicor::RenameSummary)
};

}  // namespace

RenameSummary SummariseRenameRun(const RenameRunResult& result) {
  RenameSummary summary;
  summary.text = RenameTexts::tr("%1 renamed, %2 kept, %3 failed")
                     .arg(result.renamed.size())
                     .arg(result.kept())
                     .arg(result.failed.size());
  if (!result.logPath.empty())
    summary.text += "\n" + RenameTexts::tr("rename log: %1").arg(PathToQt(result.logPath));
  if (!result.logError.empty())
    summary.text +=
        "\n" + RenameTexts::tr("the rename log could not be written: %1").arg(MessageToQt(result.logError));
  QStringList lines;
  lines.reserve(static_cast<qsizetype>(result.renamed.size()) + static_cast<qsizetype>(result.failed.size()));
  for (const auto& step : result.renamed) lines << PathToQt(step.from) + " -> " + PathToQt(step.to);
  for (const RenameStep& step : result.failed)
    lines << RenameTexts::tr("not renamed %1: %2").arg(PathToQt(step.from), MessageToQt(step.reason));
  summary.details = lines.join('\n');
  return summary;
}

RenameSummary SummariseUndo(const RenameUndoResult& result) {
  RenameSummary summary;
  if (!result.logFound) {
    summary.text = RenameTexts::tr("There is no rename run to undo.");
    return summary;
  }
  summary.text = RenameTexts::tr("%1 restored, %2 left as they are")
                     .arg(result.restored.size())
                     .arg(result.refused.size());
  QStringList lines;
  for (const UndoStep& step : result.restored) lines << PathToQt(step.from) + " -> " + PathToQt(step.to);
  for (const UndoStep& step : result.refused)
    lines << RenameTexts::tr("left %1: %2").arg(PathToQt(step.from), MessageToQt(step.reason));
  summary.details = lines.join('\n');
  return summary;
}

}  // namespace relicor
