#include <ostream>

#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "text/Cp1252.h"

namespace relicor::cli {

namespace {

int Finish(CliContext& ctx, CliSession& cli, const Result<std::string>& result) {
  cli.ui.EndProgress();
  if (!result) return Fail(ctx, result.error());
  if (!result->empty()) ctx.out << Cp1252ToUtf8(*result) << '\n';
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

int CmdDupeCheck(CliContext& ctx) {
  if (!ctx.args.empty()) return UsageError(ctx, "dupecheck takes no arguments");
  CliSession cli(ctx);
  if (cli.session->settings().pathToPool.empty()) return Fail(ctx, "No Pool-Directory assigned!");
  return Finish(ctx, cli, cli.session->CheckDuplicates());
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
  return UsageError(ctx, "unknown assign command " + what);
}

int CmdSend(CliContext& ctx) {
  if (ctx.args.size() != 2) return UsageError(ctx, "send takes FILE MEMBER");
  CliSession cli(ctx);
  const auto member = KnownMember(ctx, *cli.session, ctx.args[1]);
  if (!member) return kExitFailed;
  return Finish(ctx, cli, cli.session->PrepareItemToSend(ctx.args[0], *member));
}

int CmdRename(CliContext& ctx) {
  bool yes = false;
  for (const auto& arg : ctx.args) {
    if (arg == "--yes") {
      yes = true;
    } else {
      return UsageError(ctx, "rename takes only --yes");
    }
  }
  if (!yes && !ctx.inIsTerminal) return UsageError(ctx, "rename asks before it starts: use --yes without a terminal");
  CliSession cli(ctx);
  cli.ui.SetAssumeYes(yes);
  return Finish(ctx, cli, cli.session->RenameRun());
}

}  // namespace relicor::cli
