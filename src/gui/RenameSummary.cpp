#include "gui/RenameSummary.h"

#include <QStringList>

#include "gui/GuiText.h"
#include "pool/RenameRun.h"

namespace relicor {

RenameSummary SummariseRenameRun(const RenameRunResult& result) {
  const std::size_t changed = result.renamed.size() + result.failed.size();
  const std::size_t kept = result.handled > changed ? result.handled - changed : 0;
  RenameSummary summary;
  summary.text = QString("%1 renamed, %2 kept, %3 failed")
                     .arg(result.renamed.size())
                     .arg(kept)
                     .arg(result.failed.size());
  QStringList lines;
  for (const RenameStep& step : result.renamed) lines << PathToQt(step.from) + " -> " + PathToQt(step.to);
  for (const RenameStep& step : result.failed)
    lines << "not renamed " + PathToQt(step.from) + ": " + PathToQt(step.reason);
  summary.details = lines.join('\n');
  return summary;
}

}  // namespace relicor
