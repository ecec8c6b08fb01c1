#include "gui/MainWindow.h"

// Importing from save games: the file menu's command and a save dropped onto the window.

#include <QStringList>

#include "gui/GuiText.h"
#include "gui/MainWindowBusy.h"
#include "gui/MessageBoxes.h"
#include "gui/SaveImportDialog.h"
#include "shell/SaveImport.h"

namespace relicor {

void MainWindow::OnImportSave() {
  const QStringList saves = SaveImportDialog::ChooseSaves(this, PathToQt(session_->currentDirectory()));
  if (!saves.isEmpty()) ImportSavesIn(saves);
}

void MainWindow::ImportSavesIn(const QStringList& paths) {
  if (busy_) return;
  std::vector<std::string> saves;
  for (const QString& path : paths) saves.push_back(PathFromQt(path));

  SaveImportOptions options;
  options.dryRun = true;
  auto preview = relicor::ImportSaves(*session_, saves, options);
  if (!preview) {
    MessageBoxes::Error(this, MessageToQt(preview.error()));
    return;
  }
  if (preview->Count(ImportOutcome::kImported) == 0) {
    // Nothing new: say why, item by item, without asking.
    QStringList lines;
    for (const SaveImportEntry& save : preview->saves) {
      lines << PathToQt(save.path) + (save.error.empty() ? ": " + MessageToQt(save.kind) : QString());
      if (!save.error.empty()) lines << "  " + tr("refused: %1").arg(MessageToQt(save.error));
      for (const ImportedItem& item : save.items) lines << "  " + MessageToQt(SaveImportLine(item, true));
    }
    MessageBoxes::InformationWithDetails(
        this, tr("Nothing new to import.") + "\n" + MessageToQt(SaveImportSummary(*preview)),
        lines.join('\n'));
    return;
  }

  SaveImportDialog dialog(this, *preview, session_->Members());
  if (!dialog.Ask()) return;
  options.dryRun = false;
  options.select = dialog.Selected();
  options.sender = dialog.Sender();
  if (options.select.empty()) return;

  Result<SaveImportResult> result = MakeError(std::string());
  {
    BusyScope busy(*this, tr("Importing") + QChar(0x2026));
    options.progress = [this](std::size_t done, std::size_t total) {
      ProgressSet(total > 0 ? static_cast<int>(done * 100 / total) : 100);
    };
    result = relicor::ImportSaves(*session_, saves, options);
  }
  RefreshFileList();
  if (!result) {
    MessageBoxes::Error(this, MessageToQt(result.error()));
    return;
  }
  QStringList lines;
  for (const std::string& repaired : result->repaired) lines << tr("repaired: %1").arg(MessageToQt(repaired));
  for (const SaveImportEntry& save : result->saves) {
    lines << PathToQt(save.path) + (save.error.empty() ? ": " + MessageToQt(save.kind) : QString());
    if (!save.error.empty()) lines << "  " + tr("refused: %1").arg(MessageToQt(save.error));
    for (const ImportedItem& item : save.items) {
      if (item.outcome != ImportOutcome::kNotSelected)
        lines << "  " + MessageToQt(SaveImportLine(item, false));
    }
  }
  MessageBoxes::InformationWithDetails(
      this, MessageToQt(SaveImportSummary(*result)) + "\n" + tr("into %1").arg(PathToQt(result->directory)),
      lines.join('\n'));
}

}  // namespace relicor
