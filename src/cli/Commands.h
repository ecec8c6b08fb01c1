#pragma once
// The relicor-cli commands, one function each.

#include "cli/CliContext.h"

namespace relicor::cli {

int CmdDump(CliContext& ctx);

}  // namespace relicor::cli
