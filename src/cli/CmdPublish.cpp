#include <filesystem>
#include <ostream>

#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "shell/Members.h"
#include "text/Cp1252.h"

namespace relicor::cli {

int CmdPublish(CliContext& ctx) {
  if (ctx.args.size() > 1) return UsageError(ctx, "publish takes at most one directory");
  const std::string dir = ctx.args.empty() ? std::filesystem::current_path().string() : ctx.args.front();
  CliSession cli(ctx);
  auto published = cli.session->CreatePages(dir);
  cli.ui.EndProgress();
  if (!published) return Fail(ctx, published.error());
  PrintLine(ctx.out, *published);
  return kExitOk;
}

int CmdMembers(CliContext& ctx) {
  if (ctx.args.empty()) return UsageError(ctx, "members takes list, add NAME or remove NAME");
  const std::string sub = ctx.args.front();
  if (sub == "list") {
    if (ctx.args.size() != 1) return UsageError(ctx, "members list takes no arguments");
    CliSession cli(ctx);
    for (const auto& name : cli.session->Members()) PrintLine(ctx.out, name);
    return kExitOk;
  }
  if (sub != "add" && sub != "remove") return UsageError(ctx, "unknown members command " + sub);
  if (ctx.args.size() != 2) return UsageError(ctx, "members " + sub + " takes one name");
  CliSession cli(ctx);
  const std::string name = Utf8ToCp1252(ctx.args[1]);
  auto changed = sub == "add" ? cli.session->AddMemberToFile(name) : cli.session->RemoveMemberFromFile(name);
  if (!changed) return Fail(ctx, Cp1252ToUtf8(changed.error()));
  PrintLine(ctx.out, *changed);
  return kExitOk;
}

}  // namespace relicor::cli
