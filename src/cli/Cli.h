#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace relicor::cli {

// Runs relicor-cli with `args` (without the program name). Returns the exit status.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool errIsTerminal = false,
           bool inIsTerminal = false);

std::string UsageText();

}  // namespace relicor::cli
