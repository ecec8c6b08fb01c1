#include <ostream>

#include "cli/Commands.h"
#include "item/ItemDump.h"
#include "item/ItemFile.h"

namespace relicor::cli {

int CmdDump(CliContext& ctx) {
  const bool decimal = ctx.options.decimal || ctx.command.decimal;
  const std::vector<std::string>& files = ctx.args;
  if (files.size() != 1) return UsageError(ctx, "dump takes one ITM file");
  auto item = ReadItemFile(files.front());
  if (!item) return Fail(ctx, item.error());
  if (item->status != ItemFileStatus::kItem) return Fail(ctx, NotAnItemMessage(files.front(), item->size));
  for (const auto& line : ItemDumpLines(item->record, decimal)) ctx.out << line << '\n';
  return kExitOk;
}

}  // namespace relicor::cli
