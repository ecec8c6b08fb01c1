#include "cli/Cli.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <functional>
#include <ostream>
#include <string_view>

#include "Version.h"
#include "cli/Commands.h"
#include "platform/FileSystem.h"
#include "shell/Session.h"

namespace relicor::cli {

namespace {

struct Command {
  std::string_view name;
  std::string_view description;
  std::string_view arguments;      // the name of its arguments in its help; empty: it takes none
  std::string_view argumentsHelp;  // what they are
  int (*run)(CliContext&);
};

// clang-format off
constexpr Command kCommands[] = {
    // name         description                                   arguments    argumentsHelp                                   run
    {"dump",      "the 25-line dump of an item record",           "FILE",      "the ITM file",                                 CmdDump},
    {"report",    "the report of each file",                      "FILE",      "ITM files",                                    CmdReport},
    {"export",    "the text export DIR/ITMLIST.TXT",              "DIR",       "default: the pool directory (or the current directory when no pool is set)", CmdExport},
    {"publish",   "the HTML pages of DIR",                        "DIR",       "default: the pool directory (or the current directory when no pool is set)", CmdPublish},
    {"dupecheck", "the pool duplicate check (exit 1: found some)", "",         "",                                             CmdDupeCheck},
    {"assign",    "the quick assign commands",                    "WORDS",     "sender FILE MEMBER | points FILE | date FILE", CmdAssign},
    {"send",      "hand an item out to a member",                 "WORDS",     "FILE MEMBER",                                  CmdSend},
    {"rename",    "rename the item files after their items",     "",          "",                                             CmdRename},
    {"db",        "the dupe-and-hack database",                   "WORDS",     "list | add FILE | remove KEY",                 CmdDb},
    {"members",   "the member list",                              "WORDS",     "list | add NAME | remove NAME",                CmdMembers},
    {"verify",    "the seed verdict of each file",                "PATH",      "ITM files and directories of them",            CmdVerify},
    {"senders",   "who sent how many items in (SENDERS.TXT)",     "",          "",                                             CmdSenders},
    {"journal",   "show, discard or finish the move journal",     "WORDS",     "[show] | discard | finish",                    CmdJournal},
    {"import",    "the items of save games into the pool",        "SAVE",      "save games (heroes, stashes)",                 CmdImport},
};
// clang-format on

// Options of the whole program that take a value (their value is the next argument unless
// written as --option=value).
constexpr std::string_view kValueOptions[] = {"--home", "--pool", "--sent"};

std::size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// The command word among `args` (the first argument that is no option and no option's value).
std::optional<std::string> CommandWord(const std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") return i + 1 < args.size() ? std::optional(args[i + 1]) : std::nullopt;
    if (arg.empty() || arg[0] != '-') return arg;
    if (std::find(std::begin(kValueOptions), std::end(kValueOptions), arg) != std::end(kValueOptions)) ++i;
  }
  return std::nullopt;
}

}  // namespace

namespace {

template <typename Words>
std::string NearestWord(std::string_view typed, const Words& words) {
  std::string best;
  std::size_t bestDistance = 3;  // more than two edits away is no likely typo
  for (const std::string_view word : words) {
    const std::size_t distance = EditDistance(typed, word);
    if (distance < bestDistance) {
      bestDistance = distance;
      best = word;
    }
  }
  return best;
}

}  // namespace

std::string SuggestCommand(std::string_view word) {
  std::vector<std::string_view> names;
  for (const Command& command : kCommands) names.push_back(command.name);
  return NearestWord(word, names);
}

std::string DidYouMean(std::string_view typed, std::initializer_list<std::string_view> words) {
  const std::string nearest = NearestWord(typed, words);
  return nearest.empty() ? std::string() : "; did you mean " + nearest + "?";
}

int Fail(CliContext& ctx, const std::string& message) {
  ctx.err << "relicor-cli: " << message << '\n';
  return kExitFailed;
}

int UsageError(CliContext& ctx, const std::string& message) {
  ctx.err << "relicor-cli: " << message << "\n(see relicor-cli --help)\n";
  return kExitUsage;
}

std::string UsageText() {
  return "Usage: relicor-cli [global options] COMMAND [arguments]\n"
         "\n"
         "Global options (before or after the command; --opt=value or --opt value):\n"
         "  --home DIR            program directory (RELICOR.INI, IDENT.ID, rules.txt); must exist\n"
         "  --pool DIR            pool directory\n"
         "  --sent DIR            sent directory\n"
         "  --vk                  V&K mode on\n"
         "  --info                Additional Info on\n"
         "  --debug-file          write the debug log RELICORDBG.TXT\n"
         "  --no-debug-file       do not write the debug log (default)\n"
         "  --subdirs             include subdirectories\n"
         "  --no-subdirs          do not include subdirectories\n"
         "  --decimal             decimal view for dump\n"
         "  --no-lock             go on without the pool's lock when it cannot be taken (a network\n"
         "                        file system without locks); another Relicor writing still stops it\n"
         "  -h, --help            this text (COMMAND --help: the command's own)\n"
         "  --version             the version\n"
         "  --                    what follows is no option (a file named -x.ITM)\n"
         "\n"
         "Commands:\n"
         "  dump [--decimal] FILE          the 25-line dump of an item record\n"
         "  report [--json] FILE...        the report of each file\n"
         "  export [--seed-check] [DIR]    the text export DIR/ITMLIST.TXT (default: the pool directory,\n"
         "                                 or the current directory when no pool is set)\n"
         "  publish [DIR]                  the HTML pages of DIR (default as for export)\n"
         "  dupecheck [--json]             the pool duplicate check (appends to DUPECHK.TXT); prints each\n"
         "                                 duplicate, item made twice and known dupe\n"
         "  assign sender FILE MEMBER      Quick Sender Assign\n"
         "  assign points FILE             Quick Point Assign\n"
         "  assign date FILE               Quick Date Assign\n"
         "  send FILE MEMBER               Prepare Item to send\n"
         "  rename [--yes]                 the rename run (asks unless --yes; writes RENAME.LOG)\n"
         "  rename --dry-run               what the rename run would rename; changes nothing\n"
         "  rename --undo                  reverts the last rename run (RENAME.LOG)\n"
         "  db list [--json] | add FILE | remove KEY    the dupe-and-hack database\n"
         "  members list [--json] | add NAME | remove NAME    the member list\n"
         "  verify [--json] [--recursive] [--max-steps N] PATH...\n"
         "                                 the seed verdict of each file (genuine, edited, not\n"
         "                                 reproducible) and a summary; a directory: its ITM files\n"
         "                                 (--recursive: and its subdirectories'); --max-steps: more\n"
         "                                 play-state steps than N are an edit\n"
         "  senders [--since DATE] [--json]\n"
         "                                 per sender: the items and points sent in since DATE\n"
         "                                 (dd.mm.yyyy; default: all); writes the pool's SENDERS.TXT\n"
         "  journal [show]                 what the move journal RELICOR.JNL holds and what the next\n"
         "                                 command does with it\n"
         "  journal discard                shows it, then removes it (no file it names is touched)\n"
         "  journal finish                 shows it, then finishes or undoes its moves\n"
         "  import [--sender NAME] [--into DIR] [--select N,...] [--dry-run] [--json] SAVE...\n"
         "                                 the items of save games (heroes, stashes) into the pool\n"
         "\n"
         "Exit status: 0 success; 1 the command failed, a check found what it looks for (dupecheck\n"
         "found duplicates, verify a file that is not genuine) or the keeper declined; 2 usage error.\n";
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool errIsTerminal,
           bool inIsTerminal, bool processEnds) {
  CliContext ctx{GlobalOptions{}, {}, CommandOptions{}, out, err, errIsTerminal, inIsTerminal, processEnds};

  // A mistyped command is told with the command it most likely meant.
  if (const auto word = CommandWord(args)) {
    const bool known = std::any_of(std::begin(kCommands), std::end(kCommands),
                                   [&](const Command& command) { return command.name == *word; });
    if (!known) {
      const std::string suggestion = SuggestCommand(*word);
      return UsageError(ctx, "unknown command " + *word +
                                 (suggestion.empty() ? std::string() : "; did you mean " + suggestion + "?"));
    }
  }

  CLI::App app("Relicor: the item pool keeper's tool", "relicor-cli");
  app.set_help_flag("-h,--help", "this text");
  app.set_version_flag("--version", std::string("relicor-cli ") + kVersion);
  app.fallthrough();  // global options after the command too
  app.require_subcommand(1);

  std::string home, pool, sent;
  // Given twice, the last one holds.
  CLI::Option* homeOption = app.add_option("--home", home, "program directory")
                                ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  CLI::Option* poolOption =
      app.add_option("--pool", pool, "pool directory")->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  CLI::Option* sentOption =
      app.add_option("--sent", sent, "sent directory")->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.add_flag("--vk", ctx.options.vk, "V&K mode on");
  app.add_flag("--info", ctx.options.info, "Additional Info on");
  app.add_flag_callback(
      "--debug-file", [&] { ctx.options.debugFile = true; }, "write the debug log");
  app.add_flag_callback(
      "--no-debug-file", [&] { ctx.options.debugFile = false; }, "no debug log (default)");
  app.add_flag_callback(
      "--subdirs", [&] { ctx.options.subdirs = true; }, "include subdirectories");
  app.add_flag_callback(
      "--no-subdirs", [&] { ctx.options.subdirs = false; }, "no subdirectories");
  app.add_flag("--decimal", ctx.options.decimal, "decimal view for dump");
  app.add_flag("--no-lock", ctx.options.noLock, "go on when the pool's lock cannot be taken (not when busy)");

  std::vector<std::pair<CLI::App*, const Command*>> subcommands;
  for (const Command& command : kCommands) {
    CLI::App* sub = app.add_subcommand(std::string(command.name), std::string(command.description));
    if (!command.arguments.empty()) {
      sub->add_option(std::string(command.arguments), ctx.args, std::string(command.argumentsHelp));
    }
    sub->footer(
        "Global options (--home, --pool, --sent, ...) may stand before or after the command: see "
        "relicor-cli --help.");
    const std::string_view name = command.name;
    if (name == "dump") sub->add_flag("--decimal", ctx.command.decimal, "decimal view");
    if (name == "report" || name == "dupecheck" || name == "db" || name == "members" || name == "verify" ||
        name == "import" || name == "senders") {
      sub->add_flag("--json", ctx.command.json, "machine-readable output (JSON, see the README)");
    }
    if (name == "verify") {
      sub->add_flag("--recursive", ctx.command.recursive, "the ITM files of subdirectories too");
      sub->add_option("--max-steps", ctx.command.maxSteps, "more play-state steps than N are an edit")
          ->check(CLI::NonNegativeNumber);
    }
    if (name == "export")
      sub->add_flag("--seed-check", ctx.command.seedCheck, "each report with its seed verdict");
    if (name == "publish") {
      sub->add_flag("--search-page", ctx.command.searchPage,
                    "also write the search page (the \"Search page\" option, for this run)");
      sub->add_flag("--seed-check", ctx.command.seedCheck, "the search page shows each item's seed verdict");
    }
    if (name == "senders") {
      sub->add_option_function<std::string>(
          "--since", [&ctx](const std::string& date) { ctx.command.since = date; },
          "count items added on or after DATE (dd.mm.yyyy)");
    }
    if (name == "rename") {
      sub->add_flag("--yes", ctx.command.yes, "do not ask");
      sub->add_flag("--dry-run", ctx.command.dryRun, "say what would be renamed; change nothing");
      sub->add_flag("--undo", ctx.command.undo, "revert the last rename run");
    }
    if (name == "import") {
      sub->add_option("--sender", ctx.command.sender, "the sender recorded (default: the hero's name)");
      sub->add_option("--into", ctx.command.into, "a directory inside the pool (default: the pool)");
      sub->add_option("--select", ctx.command.select,
                      "only the items of these numbers (as --dry-run numbers them)");
      sub->add_flag("--dry-run", ctx.command.dryRun,
                    "list the items and what would be imported; write nothing");
    }
    subcommands.emplace_back(sub, &command);
  }

  try {
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    const auto selected = app.get_subcommands();
    out << (selected.empty() ? UsageText() : selected.front()->help("relicor-cli"));
    return kExitOk;
  } catch (const CLI::CallForAllHelp&) {
    out << UsageText();
    return kExitOk;
  } catch (const CLI::CallForVersion&) {
    out << "relicor-cli " << kVersion << '\n';
    return kExitOk;
  } catch (const CLI::RequiredError&) {
    return UsageError(ctx, "no command given");
  } catch (const CLI::ParseError& e) {
    return UsageError(ctx, e.what());
  }

  if (*homeOption) {
    if (home.empty() || !DirectoryExists(home)) return UsageError(ctx, "--home: no such directory: " + home);
    ctx.options.home = home;
  }
  if (*poolOption) ctx.options.pool = pool;
  if (*sentOption) ctx.options.sent = sent;
  // A directory that does not fit is refused, never cut: cut, it would name another directory.
  for (const auto& [option, dir] :
       {std::pair{"--pool", &ctx.options.pool}, std::pair{"--sent", &ctx.options.sent}}) {
    if (!*dir) continue;
    if (auto fits = CheckDirectoryLength(**dir); !fits)
      return Fail(ctx, std::string(option) + ": " + fits.error());
  }
  for (const auto& [sub, command] : subcommands) {
    if (sub->parsed()) return command->run(ctx);
  }
  return UsageError(ctx, "no command given");
}

}  // namespace relicor::cli
