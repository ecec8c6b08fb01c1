#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "text/ByteText.h"
#include "text/Cp1252.h"
#include "text/Hex.h"

namespace relicor::cli {

namespace {

int DbList(CliContext& ctx, Session& session) {
  nlohmann::json list = nlohmann::json::array();
  for (const auto& [key, record] : session.DatabaseEntries()) {
    std::string name = record.Name();
    if (ctx.command.json) {
      list.push_back({{"key", key}, {"name", Cp1252ToUtf8(name)}});
      continue;
    }
    PrintLine(ctx.out, key + "  " + UpperCaseAscii(name));
  }
  if (ctx.command.json) {
    ctx.out << list.dump(2) << '\n';
    return kExitOk;
  }
  PrintLine(ctx.out, std::to_string(session.DatabaseEntries().size()) + " entries loaded");
  return kExitOk;
}

}  // namespace

int CmdDb(CliContext& ctx) {
  if (ctx.args.empty()) return UsageError(ctx, "db takes list, add FILE or remove KEY");
  const std::string sub = ctx.args.front();
  if (sub == "list") {
    if (ctx.args.size() != 1) return UsageError(ctx, "db list takes no arguments");
    CliSession cli(ctx);
    return DbList(ctx, *cli.session);
  }
  if (sub == "add") {
    if (ctx.args.size() != 2) return UsageError(ctx, "db add takes one ITM file");
    CliSession cli(ctx);
    cli.ui.SetAssumeYes(true);  // the command itself is the keeper's yes
    auto added = cli.session->AddToDatabase(ctx.args[1]);
    if (!added) return Fail(ctx, added.error());
    PrintMessage(ctx.out, *added);
    return kExitOk;
  }
  if (sub == "remove") {
    if (ctx.args.size() != 2) return UsageError(ctx, "db remove takes one item key");
    CliSession cli(ctx);
    const std::string key = UpperCaseAscii(ctx.args[1]);
    Session& session = *cli.session;
    if (!session.RemoveFromDatabase(key))
      return Fail(ctx, "no entry with the key " + key + " in " + session.DatabasePath());
    if (auto saved = session.SaveDatabase(); !saved) return Fail(ctx, saved.error());
    PrintMessage(ctx.out, "removed " + key + " from " + session.DatabasePath());
    return kExitOk;
  }
  return UsageError(ctx, "unknown db command " + sub + DidYouMean(sub, {"list", "add", "remove"}));
}

}  // namespace relicor::cli
