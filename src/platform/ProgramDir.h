#pragma once

#include <string>
#include <string_view>

namespace relicor {

// The running program's directory, with a trailing separator.
std::string ProgramDir();

// Where RELICOR.INI and IDENT.ID live: the program's own directory while it is writable (a
// program unpacked into a folder of its own), otherwise the user's configuration directory
// ($XDG_CONFIG_HOME/relicor/, or ~/.config/relicor/), created when missing. An installed
// program cannot write beside its executable. Both front ends use this one rule, so the
// desktop application and relicor-cli read the same settings.
std::string HomeDirectory();

// The rule itself, with its inputs given: the program directory, $XDG_CONFIG_HOME and $HOME
// (empty when unset). Returns the configuration directory with a trailing separator, or the
// program directory when that is writable. Creates the configuration directory.
std::string HomeDirectoryFor(std::string_view programDir, std::string_view xdgConfigHome,
                             std::string_view home);

}  // namespace relicor
