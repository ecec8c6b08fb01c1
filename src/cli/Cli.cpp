#include "cli/Cli.h"

#include <functional>
#include <ostream>
#include <string_view>

#include "Version.h"
#include "cli/Commands.h"
#include "shell/Session.h"

namespace relicor::cli {

namespace {

struct Command {
  std::string_view name;
  std::function<int(CliContext&)> run;
};

const std::vector<Command>& CommandTable() {
  static const std::vector<Command> kCommands = {
      {"dump", CmdDump},         {"report", CmdReport}, {"export", CmdExport}, {"publish", CmdPublish},
      {"dupecheck", CmdDupeCheck}, {"assign", CmdAssign}, {"send", CmdSend},     {"rename", CmdRename},
      {"db", CmdDb},             {"members", CmdMembers}, {"verify", CmdVerify},
  };
  return kCommands;
}

}  // namespace

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
         "Global options:\n"
         "  --home DIR            program directory (RELICOR.INI, IDENT.ID, rules.txt)\n"
         "  --pool DIR            pool directory\n"
         "  --sent DIR            sent directory\n"
         "  --vk                  V&K mode on\n"
         "  --info                Additional Info on\n"
         "  --debug-file          write the debug log RELICORDBG.TXT\n"
         "  --no-debug-file       do not write the debug log (default)\n"
         "  --subdirs             include subdirectories\n"
         "  --no-subdirs          do not include subdirectories\n"
         "  --decimal             decimal view for dump\n"
         "  -h, --help            this text\n"
         "  --version             the version\n"
         "\n"
         "Commands:\n"
         "  dump [--decimal] FILE          the 25-line dump of an item record\n"
         "  report FILE...                 the report of each file\n"
         "  export [--seed-check] [DIR]    the text export DIR/ITMLIST.TXT (default: current directory)\n"
         "  publish [DIR]                  the HTML pages of DIR (default: current directory)\n"
         "  dupecheck                      the pool duplicate check (appends to DUPECHK.TXT)\n"
         "  assign sender FILE MEMBER      Quick Sender Assign\n"
         "  assign points FILE             Quick Point Assign\n"
         "  assign date FILE               Quick Date Assign\n"
         "  send FILE MEMBER               Prepare Item to send\n"
         "  rename [--yes]                 the rename run (asks unless --yes)\n"
         "  db list | add FILE | remove KEY    the dupe-and-hack database\n"
         "  members list | add NAME | remove NAME    the member list\n"
         "  verify [--json] FILE...        the seed verdict of each file (genuine, edited, not reproducible)\n"
         "\n"
         "Exit status: 0 success, 1 the command failed (or verify found a file that is not genuine),\n"
         "2 usage error.\n";
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool errIsTerminal,
           bool inIsTerminal) {
  CliContext ctx{GlobalOptions{}, {}, out, err, errIsTerminal, inIsTerminal};
  std::size_t i = 0;
  auto valueOf = [&](const std::string& option) -> std::optional<std::string> {
    if (i + 1 >= args.size()) return std::nullopt;
    (void)option;
    return args[++i];
  };
  for (; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.empty() || arg[0] != '-') break;
    if (arg == "-h" || arg == "--help") {
      out << UsageText();
      return kExitOk;
    }
    if (arg == "--version") {
      out << "relicor-cli " << kVersion << '\n';
      return kExitOk;
    }
    if (arg == "--home" || arg == "--pool" || arg == "--sent") {
      auto value = valueOf(arg);
      if (!value) return UsageError(ctx, arg + " needs a directory");
      (arg == "--home" ? ctx.options.home : arg == "--pool" ? ctx.options.pool : ctx.options.sent) = *value;
    } else if (arg == "--vk") {
      ctx.options.vk = true;
    } else if (arg == "--info") {
      ctx.options.info = true;
    } else if (arg == "--debug-file") {
      ctx.options.debugFile = true;
    } else if (arg == "--no-debug-file") {
      ctx.options.debugFile = false;
    } else if (arg == "--subdirs") {
      ctx.options.subdirs = true;
    } else if (arg == "--no-subdirs") {
      ctx.options.subdirs = false;
    } else if (arg == "--decimal") {
      ctx.options.decimal = true;
    } else {
      return UsageError(ctx, "unknown option " + arg);
    }
  }
  if (i >= args.size()) return UsageError(ctx, "no command given");
  // A directory that does not fit is refused, never cut: cut, it would name another directory.
  for (const auto& [option, dir] : {std::pair{"--pool", &ctx.options.pool}, std::pair{"--sent", &ctx.options.sent}}) {
    if (!*dir) continue;
    if (auto fits = CheckDirectoryLength(**dir); !fits) return Fail(ctx, std::string(option) + ": " + fits.error());
  }
  const std::string& name = args[i];
  ctx.args.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
  for (const auto& command : CommandTable()) {
    if (command.name == name) return command.run(ctx);
  }
  return UsageError(ctx, "unknown command " + name);
}

}  // namespace relicor::cli
