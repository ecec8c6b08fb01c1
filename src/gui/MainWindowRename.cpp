#include "gui/MainWindow.h"

// The rename run from the menu: the question with what it would rename, the run, what it did, and
// the offer to undo it.

#include <QApplication>
#include <optional>

#include "gui/GuiText.h"
#include "gui/MainWindowBusy.h"
#include "gui/MessageBoxes.h"
#include "gui/RenameSummary.h"
#include "pool/RenameLog.h"
#include "pool/RenameRun.h"

namespace relicor {

void MainWindow::OnRenameRun() {
  if (busy_) return;
  // What the run would rename: loading the pool and the sent directory takes a while.
  std::optional<Result<RenamePlan>> plan;
  {
    BusyScope busy(*this);
    plan.emplace(session_->PlanRename());
  }
  Sync();
  if (!*plan) {
    MessageBoxes::Error(this, MessageToQt(plan->error()));
    return;
  }
  if (!MessageBoxes::AskYesNo(this, MessageToQt(session_->RenameQuestionOf(**plan)), /*defaultNo=*/true))
    return;

  std::optional<Result<RenameRunResult>> run;
  {
    BusyScope busy(*this);
    run.emplace(session_->RunRename());
    RereadFileList();
  }
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
  {
    BusyScope busy(*this);
    undone.emplace(session_->UndoRename());
    RereadFileList();
  }
  Sync();
  if (!*undone) {
    MessageBoxes::Error(this, MessageToQt(undone->error()));
    return;
  }
  const RenameSummary summary = SummariseUndo(**undone);
  MessageBoxes::InformationWithDetails(this, summary.text, summary.details);
}

}  // namespace relicor
