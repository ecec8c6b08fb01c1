#pragma once

#include <string>
#include <string_view>

namespace relicor {

// The directory of an executable path, with a trailing separator: the first 127 characters of
// the path, cut after the last separator.
std::string ProgramDirFromExecutable(std::string_view executablePath);

}  // namespace relicor
