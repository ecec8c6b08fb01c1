#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "text/Cp1252.h"

namespace relicor::cli {

// Counts the senders since --since (every item without it), writes SENDERS.TXT in the pool and
// prints the list (or its JSON shape).
int CmdSenders(CliContext& ctx) {
  if (!ctx.args.empty()) return UsageError(ctx, "senders takes no arguments, only --since DATE and --json");
  DateTime since = kMinDateTime;
  if (ctx.command.since) {
    const auto parsed = ParseDate(*ctx.command.since);
    if (!parsed) return UsageError(ctx, "--since: not a date (dd.mm.yyyy): " + *ctx.command.since);
    since = *parsed;
  }
  CliSession cli(ctx);
  if (cli.session->settings().pathToPool.empty()) return Fail(ctx, "No Pool-Directory assigned!");
  auto list = cli.session->CreateSenderList(since);
  cli.ui.EndProgress();
  if (!list) return Fail(ctx, list.error());
  if (ctx.command.json) {
    nlohmann::json senders = nlohmann::json::array();
    for (const SenderTally& sender : list->senders) {
      senders.push_back({{"name", Cp1252ToUtf8(sender.name)},
                         {"member", sender.member},
                         {"items", sender.items},
                         {"points", sender.points}});
    }
    const nlohmann::json shape = {
        {"since", SafeDateText(since, cli.clock.Now())},
        {"file", list->filePath},
        {"senders", senders},
        {"withoutSender", {{"items", list->withoutSender}, {"points", list->withoutSenderPoints}}},
        {"total", {{"items", list->items}, {"points", list->points}}}};
    ctx.out << shape.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    return kExitOk;
  }
  const std::string text = SenderListText(*list, cli.clock.Now());
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    PrintLine(ctx.out, std::string_view(text).substr(start, end - start));
    start = end == std::string::npos ? text.size() : end + 2;
  }
  PrintMessage(ctx.out, "Senderlist in " + list->filePath);
  return kExitOk;
}

}  // namespace relicor::cli
