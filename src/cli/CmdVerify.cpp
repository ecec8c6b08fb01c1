#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "shell/SeedCheck.h"
#include "text/Cp1252.h"

namespace relicor::cli {

// verify [--json] FILE...: the seed verdict of each file. Exit 0 when every file is genuine,
// 1 when any is not or could not be read.
int CmdVerify(CliContext& ctx) {
  const bool json = ctx.command.json;
  const std::vector<std::string>& files = ctx.args;
  if (files.empty()) return UsageError(ctx, "verify takes one or more ITM files");

  int status = kExitOk;
  nlohmann::json list = nlohmann::json::array();
  for (const auto& path : files) {
    auto checked = CheckItemFile(path);
    if (!checked) {
      status = Fail(ctx, checked.error());
      continue;
    }
    const SeedVerdict& v = *checked;
    if (v.verdict != Verdict::kGenuine) status = kExitFailed;
    if (!json) {
      ctx.out << path << ": " << Cp1252ToUtf8(VerdictText(v)) << '\n';
      continue;
    }
    nlohmann::json entry;
    entry["file"] = path;
    entry["verdict"] = std::string(VerdictKey(v.verdict));
    nlohmann::json differences = nlohmann::json::array();
    for (const auto& d : v.differences)
      differences.push_back(
          {{"field", d.field}, {"file", Cp1252ToUtf8(d.file)}, {"game", Cp1252ToUtf8(d.game)}});
    entry["differences"] = differences;
    if (v.verdict == Verdict::kNotReproducible) entry["reason"] = v.reason;
    if (v.mode) entry["game"] = std::string(gen::GameModeName(*v.mode));
    list.push_back(entry);
  }
  if (json) ctx.out << list.dump(2) << '\n';
  return status;
}

}  // namespace relicor::cli
