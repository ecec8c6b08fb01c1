#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "text/Cp1252.h"
#include "text/Path.h"

namespace relicor::cli {

namespace {

// A path with a directory part, so the report's file line can show it against that directory.
std::string WithDirectory(const std::string& path) {
  if (path.find(kPathSeparator) != std::string::npos) return path;
  return std::string(".") + kPathSeparator + path;
}

// The directory a file's report shows its path against.
std::string DirectoryOf(const std::string& path) {
  return std::string(DirectoryPart(path));
}

std::string_view StatusName(StatusColour colour) {
  switch (colour) {
    case StatusColour::kGreen:
      return "green";
    case StatusColour::kRed:
      return "red";
    case StatusColour::kPurple:
      return "purple";
    case StatusColour::kAqua:
      return "aqua";
  }
  return "green";
}

}  // namespace

int CmdReport(CliContext& ctx) {
  if (ctx.args.empty()) return UsageError(ctx, "report takes one or more ITM files");
  CliSession cli(ctx);
  int status = kExitOk;
  nlohmann::json list = nlohmann::json::array();
  for (const auto& arg : ctx.args) {
    const std::string path = WithDirectory(arg);
    const bool notifiedBefore = cli.ui.notified();
    if (auto reported = cli.session->ReportFile(path, DirectoryOf(path)); !reported) {
      status = Fail(ctx, reported.error());
      if (ctx.command.json) list.push_back({{"file", arg}, {"error", reported.error()}});
      continue;
    }
    const bool notAnItem = !notifiedBefore && cli.ui.notified();
    if (notAnItem) status = kExitFailed;
    if (!ctx.command.json) {
      for (const auto& line : cli.session->OutputLines()) PrintLine(ctx.out, line);
      continue;
    }
    nlohmann::json entry = {{"file", arg}};
    if (notAnItem) {
      entry["error"] = "not an item file";
    } else {
      const ItemRecord& item = cli.session->CurrentItem();
      entry["name"] = Cp1252ToUtf8(item.Name());
      entry["key"] = item.ItemKey();
      entry["status"] = std::string(StatusName(cli.session->statusColour()));
      nlohmann::json lines = nlohmann::json::array();
      for (const auto& line : cli.session->OutputLines()) lines.push_back(Cp1252ToUtf8(line));
      entry["lines"] = lines;
    }
    list.push_back(entry);
  }
  if (ctx.command.json) ctx.out << list.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  return status;
}

int CmdExport(CliContext& ctx) {
  // --seed-check: each report is followed by its seed verdict line.
  if (ctx.args.size() > 1) return UsageError(ctx, "export takes at most one directory");
  CliSession cli(ctx, RepairInOutputDirectory(ctx));
  const std::string dir = ctx.args.empty() ? DefaultOutputDirectory(*cli.session) : ctx.args.front();
  auto exported = cli.session->ExportItemList(dir, ctx.command.seedCheck);
  cli.ui.EndProgress();
  if (!exported) return Fail(ctx, exported.error());
  PrintMessage(ctx.out, *exported);
  return kExitOk;
}

}  // namespace relicor::cli
