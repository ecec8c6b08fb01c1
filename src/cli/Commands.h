#pragma once
// The relicor-cli commands, one function each.

#include "cli/CliContext.h"

namespace relicor::cli {

int CmdDump(CliContext& ctx);
int CmdReport(CliContext& ctx);
int CmdExport(CliContext& ctx);
int CmdPublish(CliContext& ctx);
int CmdDupeCheck(CliContext& ctx);
int CmdAssign(CliContext& ctx);
int CmdSend(CliContext& ctx);
int CmdRename(CliContext& ctx);
int CmdDb(CliContext& ctx);
int CmdMembers(CliContext& ctx);
int CmdVerify(CliContext& ctx);
int CmdSenders(CliContext& ctx);
int CmdJournal(CliContext& ctx);
int CmdImport(CliContext& ctx);

}  // namespace relicor::cli
