#include <ostream>

#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "platform/DirectoryLock.h"
#include "pool/MoveJournal.h"

namespace relicor::cli {

// Shows the move journal of the pool; discards or finishes it on request. It never repairs on its
// own: the journal may be one the repair refuses, which is why the keeper looks at it here.
int CmdJournal(CliContext& ctx) {
  const std::string what = ctx.args.empty() ? std::string("show") : ctx.args.front();
  if (ctx.args.size() > 1) return UsageError(ctx, "journal takes show, discard or finish");
  if (what != "show" && what != "discard" && what != "finish")
    return UsageError(ctx,
                      "unknown journal command " + what + DidYouMean(what, {"show", "discard", "finish"}));
  CliSession cli(ctx, Repair::kNo);
  const std::string dir = cli.session->JournalDirectory();
  const std::string& sentDir = cli.session->settings().pathToSent;
  auto lock = DirectoryLock::Acquire(dir);
  if (!lock && (lock.kind() != ErrorKind::kLockFailed || !ctx.options.noLock)) return Fail(ctx, lock.error());
  if (!lock) cli.ui.Notify(lock.error() + "; going on without the lock");

  const JournalState state = InspectJournal(dir, sentDir);
  for (const std::string& line : DescribeJournal(state)) PrintMessage(ctx.out, line);
  if (what == "show") return !state.present || state.verdict ? kExitOk : kExitFailed;
  if (what == "discard") {
    if (auto discarded = DiscardJournal(dir); !discarded) return Fail(ctx, discarded.error());
    PrintMessage(ctx.out, "removed " + state.path);
    return kExitOk;
  }
  auto finished = FinishJournal(dir);
  if (!finished) return Fail(ctx, finished.error());
  for (const std::string& line : *finished) PrintMessage(ctx.out, "repaired: " + line);
  PrintMessage(ctx.out, "finished " + state.path);
  return kExitOk;
}

}  // namespace relicor::cli
