#include <filesystem>
#include <ostream>

#include "cli/CliSession.h"
#include "cli/Commands.h"
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

}  // namespace

int CmdReport(CliContext& ctx) {
  if (ctx.args.empty()) return UsageError(ctx, "report takes one or more ITM files");
  CliSession cli(ctx);
  int status = kExitOk;
  for (const auto& arg : ctx.args) {
    const std::string path = WithDirectory(arg);
    const bool notifiedBefore = cli.ui.notified();
    if (auto reported = cli.session->ReportFile(path, DirectoryOf(path)); !reported) {
      status = Fail(ctx, reported.error());
      continue;
    }
    if (!notifiedBefore && cli.ui.notified()) status = kExitFailed;
    for (const auto& line : cli.session->OutputLines()) PrintLine(ctx.out, line);
  }
  return status;
}

int CmdExport(CliContext& ctx) {
  // --seed-check: each report is followed by its seed verdict line.
  const bool seedCheck = !ctx.args.empty() && ctx.args.front() == "--seed-check";
  if (seedCheck) ctx.args.erase(ctx.args.begin());
  if (ctx.args.size() > 1) return UsageError(ctx, "export takes at most one directory");
  const std::string dir = ctx.args.empty() ? std::filesystem::current_path().string() : ctx.args.front();
  CliSession cli(ctx);
  auto exported = cli.session->ExportItemList(dir, seedCheck);
  cli.ui.EndProgress();
  if (!exported) return Fail(ctx, exported.error());
  PrintLine(ctx.out, *exported);
  return kExitOk;
}

}  // namespace relicor::cli
