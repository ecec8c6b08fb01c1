#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace relicor::cli {

// Runs relicor-cli with `args` (without the program name). Returns the exit status.
// `processEnds`: the process ends after the run, which takes back the memory of the run's items
// at once: it is not freed item by item.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool errIsTerminal = false, bool inIsTerminal = false, bool processEnds = false);

std::string UsageText();

// The command a mistyped word most likely meant (at most two letters off), or empty.
std::string SuggestCommand(std::string_view word);

}  // namespace relicor::cli
