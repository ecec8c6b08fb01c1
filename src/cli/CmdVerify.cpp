#include <algorithm>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "platform/FileSystem.h"
#include "pool/ScanDirectory.h"
#include "shell/SeedCheck.h"
#include "text/Cp1252.h"

namespace relicor::cli {

namespace {

// A file to check, or a path that could not be listed with the reason.
struct Target {
  std::string path;
  std::string error;
};

// The ITM files of `dir` in name order, then those of its subdirectories when asked (hidden and
// linked directories left out, so a link cannot lead the walk in a circle).
void WalkDirectory(const std::string& dir, bool recursive, std::vector<Target>& targets) {
  auto entries = ListDirectory(dir);
  if (!entries) {
    targets.push_back({dir, entries.error()});
    return;
  }
  std::sort(entries->begin(), entries->end(),
            [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
  const std::string prefix = dir.empty() || dir.back() == '/' ? dir : dir + "/";
  for (const DirEntry& entry : *entries)
    if (!entry.isDirectory && IsItemFileName(entry.name)) targets.push_back({prefix + entry.name, {}});
  if (!recursive) return;
  for (const DirEntry& entry : *entries)
    if (entry.isDirectory && !entry.isHidden && !entry.isSymlink)
      WalkDirectory(prefix + entry.name, true, targets);
}

struct Tally {
  int genuine = 0;
  int edited = 0;
  int notReproducible = 0;
  int notItems = 0;

  void Count(Verdict verdict) {
    switch (verdict) {
      case Verdict::kGenuine:
        ++genuine;
        break;
      case Verdict::kEdited:
        ++edited;
        break;
      case Verdict::kNotReproducible:
        ++notReproducible;
        break;
      case Verdict::kNotAnItem:
        ++notItems;
        break;
    }
  }
};

nlohmann::json Entry(const std::string& path, const SeedVerdict& v) {
  nlohmann::json entry;
  entry["file"] = path;
  entry["verdict"] = std::string(VerdictKey(v.verdict));
  nlohmann::json differences = nlohmann::json::array();
  for (const auto& d : v.differences) {
    nlohmann::json difference{
        {"field", d.field}, {"file", Cp1252ToUtf8(d.file)}, {"game", Cp1252ToUtf8(d.game)}};
    if (!d.note.empty()) difference["limit"] = Cp1252ToUtf8(d.note);
    differences.push_back(difference);
  }
  entry["differences"] = differences;
  nlohmann::json play = nlohmann::json::array();
  for (const auto& c : v.playState)
    play.push_back(
        {{"field", c.field}, {"file", c.file}, {"game", c.game}, {"how", c.how}, {"steps", c.steps}});
  entry["playState"] = play;
  if (v.verdict == Verdict::kNotReproducible) entry["reason"] = Cp1252ToUtf8(v.reason);
  if (!v.modes.empty()) {
    nlohmann::json modes = nlohmann::json::array();
    for (const gen::GameMode mode : v.modes) modes.push_back(std::string(gen::GameModeName(mode)));
    entry["game"] = modes;
  }
  return entry;
}

}  // namespace

// verify [--json] [--recursive] [--max-steps N] PATH...: the seed verdict of each file (of each
// directory's ITM files) and a summary. Exit 0 when every file is genuine, 1 when any is not or
// could not be read.
int CmdVerify(CliContext& ctx) {
  const bool json = ctx.command.json;
  if (ctx.args.empty()) return UsageError(ctx, "verify takes one or more ITM files or directories");
  gen::CheckOptions options;
  options.maxSteps = ctx.command.maxSteps;

  int status = kExitOk;
  Tally tally;
  nlohmann::json list = nlohmann::json::array();
  // The text lines show the way through a long list themselves; the JSON comes at the end, so a
  // terminal sees a progress line meanwhile. Each path argument is an equal share of the way, its
  // files (a directory's) equal shares of that.
  CliUi progress(ctx);
  double done = 0;
  auto tell = [&](const std::string& path, const Result<SeedVerdict>& checked, double share) {
    if (json) progress.ProgressSet(static_cast<int>(100 * done));
    done += share;
    if (!checked) {
      tally.Count(Verdict::kNotAnItem);
      status = kExitFailed;
      if (json)
        list.push_back({{"file", path},
                        {"verdict", std::string(VerdictKey(Verdict::kNotAnItem))},
                        {"reason", checked.error()},
                        {"differences", nlohmann::json::array()},
                        {"playState", nlohmann::json::array()}});
      else
        Fail(ctx, checked.error());
      return;
    }
    const SeedVerdict& v = *checked;
    tally.Count(v.verdict);
    if (v.verdict != Verdict::kGenuine) status = kExitFailed;
    if (json)
      list.push_back(Entry(path, v));
    else
      ctx.out << path << ": " << Cp1252ToUtf8(VerdictText(v)) << '\n';
  };
  const double argumentShare = 1.0 / static_cast<double>(ctx.args.size());
  // The files of a directory argument, read ahead while earlier ones are checked; a path that
  // could not be listed is told in its place.
  auto checkDirectory = [&](const std::string& dir) {
    std::vector<Target> targets;
    WalkDirectory(dir, ctx.command.recursive, targets);
    const double share = argumentShare / static_cast<double>(targets.size());
    for (std::size_t first = 0; first < targets.size();) {
      std::size_t end = first;
      while (end < targets.size() && targets[end].error.empty()) ++end;
      CheckItemFiles(
          end - first, [&](std::size_t k) -> const std::string& { return targets[first + k].path; }, options,
          [&](std::size_t k, const Result<SeedVerdict>& checked) {
            tell(targets[first + k].path, checked, share);
          });
      if (end < targets.size())
        tell(targets[end].path, Result<SeedVerdict>(MakeError(targets[end].error)), share);
      first = end + 1;
    }
  };
  // Every argument is read as an item file, ahead as the files of a directory are; one that cannot
  // be read so and is a directory (or a link to one) is walked in its place. So a file argument
  // is opened and read once, and its type is asked only when the read does not give a record.
  CheckItemFiles(
      ctx.args.size(), [&](std::size_t k) -> const std::string& { return ctx.args[k]; }, options,
      [&](std::size_t k, const Result<SeedVerdict>& checked) {
        if (!checked && DirectoryExists(ctx.args[k]))
          checkDirectory(ctx.args[k]);
        else
          tell(ctx.args[k], checked, argumentShare);
      });
  if (json) {
    progress.EndProgress();
    ctx.out << list.dump(2) << '\n';
  } else {
    ctx.out << tally.genuine << " genuine, " << tally.edited << " edited, " << tally.notReproducible
            << " not reproducible, " << tally.notItems << " not item files\n";
  }
  return status;
}

}  // namespace relicor::cli
