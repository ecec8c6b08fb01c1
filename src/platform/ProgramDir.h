#pragma once

#include <string>

namespace relicor {

// The running program's directory, with a trailing separator.
std::string ProgramDir();

}  // namespace relicor
