#pragma once
// What every relicor-cli command gets: the global options and the output streams.

#include <initializer_list>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace relicor::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct GlobalOptions {
  std::optional<std::string> home;  // program directory
  std::optional<std::string> pool;
  std::optional<std::string> sent;
  bool vk = false;
  bool info = false;
  std::optional<bool> debugFile;
  std::optional<bool> subdirs;
  bool decimal = false;
  bool noLock = false;  // a lock that cannot be taken (other than a busy one) is told, not fatal
};

// The options of the commands (each command reads those it has).
struct CommandOptions {
  bool json = false;            // report, dupecheck, db list, members list, verify, import
  bool yes = false;             // rename
  bool dryRun = false;          // rename, import
  bool undo = false;            // rename
  bool seedCheck = false;       // export, publish
  bool searchPage = false;      // publish
  bool decimal = false;         // dump
  std::string sender;           // import
  std::string into;             // import
  std::string select;           // import: "N,N,..."
  bool recursive = false;       // verify
  std::optional<int> maxSteps;  // verify

  std::optional<std::string> since;  // senders: the first day counted (dd.mm.yyyy)
};

struct CliContext {
  GlobalOptions options;
  std::vector<std::string> args;  // the command's own arguments (its words and files)
  CommandOptions command;
  std::ostream& out;
  std::ostream& err;
  bool errIsTerminal = false;  // progress lines only on a terminal
  bool inIsTerminal = false;
  bool processEnds = false;  // see RunCli
};

// "; did you mean X?" for the word among `words` that `typed` most likely meant (at most two
// letters off), or empty.
std::string DidYouMean(std::string_view typed, std::initializer_list<std::string_view> words);

// Writes "relicor-cli: <message>" to standard error and returns kExitFailed.
int Fail(CliContext& ctx, const std::string& message);
// Writes "relicor-cli: <message>" and a hint to --help to standard error; returns kExitUsage.
int UsageError(CliContext& ctx, const std::string& message);

}  // namespace relicor::cli
