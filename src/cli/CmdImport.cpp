#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "shell/SaveImport.h"
#include "text/Cp1252.h"

namespace relicor::cli {

namespace {

// "3,5,12" (blanks allowed) as a set of numbers from 1; nothing for anything else.
std::optional<std::set<int>> ParseSelection(const std::string& text) {
  std::set<int> numbers;
  std::size_t at = 0;
  while (at <= text.size()) {
    const std::size_t comma = std::min(text.find(',', at), text.size());
    std::string part = text.substr(at, comma - at);
    while (!part.empty() && part.front() == ' ') part.erase(part.begin());
    while (!part.empty() && part.back() == ' ') part.pop_back();
    if (part.empty() || part.size() > 9 || part.find_first_not_of("0123456789") != std::string::npos)
      return std::nullopt;
    const int n = std::stoi(part);
    if (n < 1) return std::nullopt;
    numbers.insert(n);
    at = comma + 1;
  }
  return numbers;
}

std::string_view OutcomeKey(ImportOutcome outcome) {
  switch (outcome) {
    case ImportOutcome::kImported:
      return "imported";
    case ImportOutcome::kAlreadyInPool:
      return "already-in-pool";
    case ImportOutcome::kNotSelected:
      return "not-selected";
    case ImportOutcome::kSkipped:
      return "skipped";
    case ImportOutcome::kFailed:
      return "failed";
  }
  return "";
}

}  // namespace

// import [--sender NAME] [--into DIR] [--select N,...] [--dry-run] [--json] SAVE...
// Exit 0 when every save was read (even when nothing new came in), 1 when a save was refused or
// an item could not be written.
int CmdImport(CliContext& ctx) {
  if (ctx.args.empty()) return UsageError(ctx, "import takes one or more save games");
  SaveImportOptions options;
  options.dryRun = ctx.command.dryRun;
  options.into = ctx.command.into;
  if (!ctx.command.select.empty()) {
    auto selection = ParseSelection(ctx.command.select);
    if (!selection)
      return UsageError(ctx,
                        "--select takes item numbers from 1, separated by commas: " + ctx.command.select);
    options.select = std::move(*selection);
  }
  CliSession cli(ctx);
  Session& session = *cli.session;
  if (!ctx.command.sender.empty()) {
    const std::string sender = Utf8ToCp1252(ctx.command.sender);
    options.sender = session.FindMember(sender).value_or(sender);
  }
  options.progress = [&](std::size_t done, std::size_t total) {
    cli.ui.ProgressSet(total > 0 ? static_cast<int>(done * 100 / total) : 100);
  };
  auto result = ImportSaves(session, ctx.args, options);
  cli.ui.EndProgress();
  if (!result) return Fail(ctx, result.error());
  for (const std::string& line : result->repaired) PrintMessage(ctx.err, "repaired: " + line);

  int status = kExitOk;
  nlohmann::json saves = nlohmann::json::array();
  for (const SaveImportEntry& save : result->saves) {
    if (!save.error.empty()) {
      status = Fail(ctx, save.error);
      if (ctx.command.json) saves.push_back({{"file", save.path}, {"error", save.error}});
      continue;
    }
    if (ctx.command.json) {
      nlohmann::json items = nlohmann::json::array();
      for (const ImportedItem& item : save.items) {
        nlohmann::json entry{{"place", item.place}, {"outcome", std::string(OutcomeKey(item.outcome))}};
        if (item.number > 0) entry["number"] = item.number;
        if (item.outcome != ImportOutcome::kSkipped) {
          entry["name"] = Cp1252ToUtf8(item.name);
          entry["key"] = item.key;
          entry["verdict"] = Cp1252ToUtf8(item.verdict);
        }
        if (!item.file.empty()) entry["file"] = item.file;
        if (!item.reason.empty()) entry["reason"] = item.reason;
        items.push_back(std::move(entry));
      }
      saves.push_back({{"file", save.path},
                       {"kind", save.kind},
                       {"hero", Cp1252ToUtf8(save.heroName)},
                       {"sender", Cp1252ToUtf8(save.sender)},
                       {"items", std::move(items)}});
    } else {
      std::string head = save.path + ": " + save.kind;
      if (!save.heroName.empty()) head += " " + Cp1252ToUtf8(save.heroName);
      if (!save.sender.empty()) head += ", sender " + Cp1252ToUtf8(save.sender);
      PrintMessage(ctx.out, head);
      for (const ImportedItem& item : save.items)
        PrintMessage(ctx.out, "  " + SaveImportLine(item, result->dryRun));
    }
    for (const ImportedItem& item : save.items)
      if (item.outcome == ImportOutcome::kFailed) status = kExitFailed;
  }
  if (ctx.command.json) {
    nlohmann::json out{{"directory", result->directory},
                       {"dryRun", result->dryRun},
                       {"saves", std::move(saves)},
                       {"imported", result->Count(ImportOutcome::kImported)},
                       {"alreadyInPool", result->Count(ImportOutcome::kAlreadyInPool)},
                       {"skipped", result->Count(ImportOutcome::kSkipped)},
                       {"failed", result->Count(ImportOutcome::kFailed)},
                       {"refused", result->Refused()}};
    ctx.out << out.dump(2) << '\n';
  } else {
    PrintMessage(ctx.out, SaveImportSummary(*result));
  }
  return status;
}

}  // namespace relicor::cli
