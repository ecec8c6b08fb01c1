#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "cli/FileUrl.h"
#include "shell/Members.h"
#include "text/Cp1252.h"

namespace relicor::cli {

int CmdPublish(CliContext& ctx) {
  if (ctx.args.size() > 1) return UsageError(ctx, "publish takes at most one directory");
  CliSession cli(ctx, RepairInOutputDirectory(ctx));
  const std::string dir = ctx.args.empty() ? DefaultOutputDirectory(*cli.session) : ctx.args.front();
  if (ctx.command.searchPage) cli.session->settings().html.searchPage = true;
  auto published = cli.session->PublishPages(dir, ctx.command.seedCheck);
  cli.ui.EndProgress();
  if (!published) return Fail(ctx, published.error());
  PrintMessage(ctx.out, "Pages written to " + published->directory + ": " + std::to_string(published->files) +
                            " files, " + std::to_string(published->items) + " items");
  PrintMessage(ctx.out, "Entrance page: " + FileUrl(published->entrancePage));
  if (!published->searchPage.empty()) PrintMessage(ctx.out, "Search page: " + FileUrl(published->searchPage));
  return kExitOk;
}

int CmdMembers(CliContext& ctx) {
  if (ctx.args.empty()) return UsageError(ctx, "members takes list, add NAME or remove NAME");
  const std::string sub = ctx.args.front();
  if (sub == "list") {
    if (ctx.args.size() != 1) return UsageError(ctx, "members list takes no arguments");
    CliSession cli(ctx);
    if (ctx.command.json) {
      nlohmann::json names = nlohmann::json::array();
      for (const auto& name : cli.session->Members()) names.push_back(Cp1252ToUtf8(name));
      ctx.out << names.dump(2) << '\n';
      return kExitOk;
    }
    for (const auto& name : cli.session->Members()) PrintLine(ctx.out, name);
    return kExitOk;
  }
  if (sub != "add" && sub != "remove")
    return UsageError(ctx, "unknown members command " + sub + DidYouMean(sub, {"list", "add", "remove"}));
  if (ctx.args.size() != 2) return UsageError(ctx, "members " + sub + " takes one name");
  CliSession cli(ctx);
  const std::string name = Utf8ToCp1252(ctx.args[1]);
  auto changed = sub == "add" ? cli.session->AddMemberToFile(name) : cli.session->RemoveMemberFromFile(name);
  if (!changed) return Fail(ctx, changed.error());
  PrintMessage(ctx.out, *changed);
  return kExitOk;
}

}  // namespace relicor::cli
