#include "gui/MainWindow.h"

// The rename run from the menu: the question with what it would rename, the run, what it did, and
// the offer to undo it.

#include <QApplication>
#include <QProgressBar>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gui/GuiText.h"
#include "gui/MainWindowBusy.h"
#include "gui/MessageBoxes.h"
#include "gui/RenameSummary.h"
#include "pool/RenameLog.h"
#include "pool/RenameRun.h"
#include "text/Path.h"

namespace relicor {
namespace {

// The file name that the file at `path` has after `moves` (each from one path to another): its
// own when none of them moved it, empty when there is no file or it left its directory.
template <typename Steps>
std::string NameAfter(const std::string& path, const Steps& moves) {
  const std::size_t dirEnd = path.find_last_of(kPathSeparator);
  if (path.empty() || dirEnd == std::string::npos) return {};
  for (const auto& move : moves) {
    const std::string_view from = move.from;
    const std::string_view to = move.to;
    if (from != path) continue;
    const std::size_t cut = to.find_last_of(kPathSeparator);
    if (cut != dirEnd || to.substr(0, cut) != std::string_view(path).substr(0, dirEnd)) return {};
    return std::string(to.substr(cut + 1));
  }
  return path.substr(dirEnd + 1);
}

}  // namespace

void MainWindow::OnRenameRun() {
  if (busy_) return;
  // What the run would rename: loading the pool and the sent directory takes a while.
  std::optional<Result<RenamePlan>> plan;
  bool cancelled = false;
  {
    BusyScope busy(*this, tr("Looking at the item files") + QChar(0x2026), BusyScope::Cancel::kYes);
    try {
      plan.emplace(session_->PlanRename());
    } catch (const CommandCancelled&) {
      cancelled = true;
    }
  }
  progress_->setValue(0);
  ShowFile(SelectedName());
  Sync();
  if (cancelled) {
    ShowStatusMessage(tr("Cancelled: nothing was renamed."));
    return;
  }
  if (!*plan) {
    MessageBoxes::Error(this, MessageToQt(plan->error()));
    return;
  }
  if (!MessageBoxes::AskYesNo(this, MessageToQt(session_->RenameQuestionOf(**plan)), /*defaultNo=*/true))
    return;

  std::optional<Result<RenameRunResult>> run;
  const std::string selected = session_->SelectedPath();
  {
    BusyScope busy(*this, tr("Renaming") + QChar(0x2026));
    run.emplace(session_->RunRename());
    RereadFileList();
  }
  // The selected file stays selected under its new name.
  ShowFile(*run ? NameAfter(selected, (*run)->renamed) : NameAfter(selected, RenameStepList{}));
  Sync();
  if (!*run) {
    MessageBoxes::Error(this, MessageToQt(run->error()));
    return;
  }
  const RenameSummary summary = SummariseRenameRun(**run);
  if ((*run)->renamed.empty()) {
    MessageBoxes::Information(this, summary.text);
  } else if (MessageBoxes::InformationWithOffer(this, summary.text, tr("Undo"), summary.details)) {
    UndoRenameRun();
  }
}

void MainWindow::UndoRenameRun() {
  if (busy_) return;
  std::optional<Result<RenameUndoResult>> undone;
  const std::string selected = session_->SelectedPath();
  {
    BusyScope busy(*this, tr("Undoing the rename run") + QChar(0x2026));
    undone.emplace(session_->UndoRename());
    RereadFileList();
  }
  ShowFile(NameAfter(selected, *undone ? (*undone)->restored : std::vector<UndoStep>{}));
  Sync();
  if (!*undone) {
    MessageBoxes::Error(this, MessageToQt(undone->error()));
    return;
  }
  const RenameSummary summary = SummariseUndo(**undone);
  MessageBoxes::InformationWithDetails(this, summary.text, summary.details);
}

}  // namespace relicor
