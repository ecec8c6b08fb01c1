#pragma once
// The ITM record of an item the 1.09 generator rebuilt: every generated field at its offset in
// the game's item structure, with the "ITM0" header. For tests and benchmarks that need many
// genuine items.

#include "generate/ItemGenerator.h"
#include "item/ItemRecord.h"

namespace relicor::test {

ItemRecord GeneratedRecord(const gen::GeneratedItem& item, bool identified = true);

}  // namespace relicor::test
