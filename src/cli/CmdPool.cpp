#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "text/Cp1252.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace relicor::cli {

namespace {

int Finish(CliContext& ctx, CliSession& cli, const Result<std::string>& result) {
  cli.ui.EndProgress();
  if (!result) return Fail(ctx, result.error());
  if (!result->empty()) PrintMessage(ctx.out, *result);
  return kExitOk;
}

// The member list's spelling of `name`, or a failure that says how to add it.
std::optional<std::string> KnownMember(CliContext& ctx, Session& session, const std::string& name) {
  auto member = session.FindMember(Utf8ToCp1252(name));
  if (!member) {
    Fail(ctx, "unknown member " + name + " (add it with: relicor-cli members add " + name + ")");
  }
  return member;
}

}  // namespace

// Prints each duplicate pair and each registered dupe (as the log holds them, paths as they are);
// exit 1 when it found any.
int CmdDupeCheck(CliContext& ctx) {
  if (!ctx.args.empty()) return UsageError(ctx, "dupecheck takes no arguments");
  CliSession cli(ctx, Repair::kByCommand);  // its lock is the pool's
  if (cli.session->settings().pathToPool.empty()) return Fail(ctx, "No Pool-Directory assigned!");
  auto result = cli.session->RunDuplicateCheck();
  cli.ui.EndProgress();
  if (!result) return Fail(ctx, result.error());
  const bool found = !result->duplicates.empty() || !result->sameSeed.empty() || !result->knownDupes.empty();
  if (ctx.command.json) {
    nlohmann::json duplicates = nlohmann::json::array();
    for (const auto& pair : result->duplicates) {
      duplicates.push_back({{"key", pair.itemKey}, {"first", pair.first}, {"second", pair.second}});
    }
    nlohmann::json sameSeed = nlohmann::json::array();
    for (const auto& pair : result->sameSeed)
      sameSeed.push_back({{"key", pair.itemKey}, {"first", pair.first}, {"second", pair.second}});
    nlohmann::json known = nlohmann::json::array();
    for (const auto& dupe : result->knownDupes) known.push_back({{"key", dupe.itemKey}, {"file", dupe.path}});
    const nlohmann::json shape = {
        {"log", result->logPath}, {"duplicates", duplicates}, {"sameSeed", sameSeed}, {"knownDupes", known}};
    ctx.out << shape.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    return found ? kExitFailed : kExitOk;
  }
  for (const auto& pair : result->duplicates) {
    PrintMessage(ctx.out, "DUPLICATED " + pair.itemKey + pair.first + "--" + pair.itemKey + pair.second);
  }
  for (const auto& pair : result->sameSeed)
    PrintMessage(ctx.out, "SAME SEED  " + pair.itemKey + pair.first + "--" + pair.second);
  for (const auto& dupe : result->knownDupes) PrintMessage(ctx.out, "DUPE/HACK  " + dupe.itemKey + dupe.path);
  PrintMessage(ctx.out, result->message);
  return found ? kExitFailed : kExitOk;
}

int CmdAssign(CliContext& ctx) {
  if (ctx.args.empty()) return UsageError(ctx, "assign takes sender FILE MEMBER, points FILE or date FILE");
  const std::string what = ctx.args.front();
  if (what == "sender") {
    if (ctx.args.size() != 3) return UsageError(ctx, "assign sender takes FILE MEMBER");
    CliSession cli(ctx);
    const auto member = KnownMember(ctx, *cli.session, ctx.args[2]);
    if (!member) return kExitFailed;
    return Finish(ctx, cli, cli.session->QuickSenderAssign(ctx.args[1], *member));
  }
  if (what == "points" || what == "date") {
    if (ctx.args.size() != 2) return UsageError(ctx, "assign " + what + " takes FILE");
    CliSession cli(ctx);
    return Finish(ctx, cli,
                  what == "points" ? cli.session->QuickPointAssign(ctx.args[1])
                                   : cli.session->QuickDateAssign(ctx.args[1]));
  }
  return UsageError(ctx, "unknown assign command " + what + DidYouMean(what, {"sender", "points", "date"}));
}

int CmdSend(CliContext& ctx) {
  if (ctx.args.size() != 2) return UsageError(ctx, "send takes FILE MEMBER");
  CliSession cli(ctx);
  const auto member = KnownMember(ctx, *cli.session, ctx.args[1]);
  if (!member) return kExitFailed;
  return Finish(ctx, cli, cli.session->PrepareItemToSend(ctx.args[0], *member));
}

int CmdRename(CliContext& ctx) {
  const CommandOptions& o = ctx.command;
  if (!ctx.args.empty()) return UsageError(ctx, "rename takes no arguments, only --yes, --dry-run or --undo");
  if (int(o.yes) + int(o.dryRun) + int(o.undo) > 1)
    return UsageError(ctx, "rename takes one of --yes, --dry-run, --undo");
  if (o.dryRun) {
    CliSession cli(ctx);
    auto plan = cli.session->PlanRename();
    cli.ui.EndProgress();
    if (!plan) return Fail(ctx, plan.error());
    PrintMessage(ctx.out, RenamePlanText(*plan));
    return kExitOk;
  }
  if (o.undo) {
    CliSession cli(ctx);
    auto undone = cli.session->UndoRename();
    if (!undone) return Fail(ctx, undone.error());
    if (!undone->logFound)
      return Fail(ctx, "no rename run to undo (no " + std::string(kRenameLogFileName) + " in " +
                           cli.session->RenameLogDirectory() + ")");
    PrintMessage(ctx.out, UndoSummaryText(*undone));
    return undone->refused.empty() ? kExitOk : kExitFailed;
  }
  if (!o.yes && !ctx.inIsTerminal)
    return UsageError(ctx, "rename asks before it starts: use --yes without a terminal");
#if defined(__GLIBC__)
  // A rename run over a large pool frees large blocks while its memory still grows (listings,
  // batches of moves, tables laid out anew): with a fixed threshold such blocks are mapped on
  // their own and go back to the system when freed. The C library's own threshold rises with
  // every large block freed, so that later ones come from the heap and stay with the process.
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
  // Its lock is the pool's: the repair and the look for stale temporary files come with it, and the
  // run takes that look's listing of the pool instead of listing it again.
  CliSession cli(ctx, Repair::kByCommand);
  cli.ui.SetAssumeYes(o.yes);
  // The summary of a large run is written as it is made: it names every file renamed.
  auto renamed = cli.session->RenameRun(o.yes, [&](std::string_view piece) {
    cli.ui.EndProgress();
    ctx.out << piece;
  });
  cli.ui.EndProgress();
  if (!renamed && renamed.kind() == ErrorKind::kDeclined) {
    // The keeper said no: nothing was done, and a script must not go on as if it was.
    PrintMessage(ctx.out, renamed.error());
    return kExitFailed;
  }
  if (!renamed) return Fail(ctx, renamed.error());
  ctx.out << '\n';
  return kExitOk;
}

}  // namespace relicor::cli
