#pragma once
// Sidecars that came after the rename run listed their directory, brought to their moved items.

#include <vector>

#include "platform/Result.h"
#include "pool/ItemCache.h"
#include "pool/ListedNames.h"
#include "pool/MoveJournal.h"
#include "text/PathList.h"

namespace relicor {

// After a batch of moves, the sidecars of moved items that the run's listing did not hold: another
// program may have written one since. Instead of looking for each, the run lists each directory
// once, while the batch's journal record still holds its moves, and moves every such sidecar it
// finds to its item, unless an item file there has that sidecar name too (it then stays beside
// that item). Nothing is replaced: a sidecar that cannot follow is an error, and the journal
// stays, so the next command brings the two together.
struct UnlistedMoves {
  PathList from;  // where each moved item was
  PathList to;    // where it went, at the same place
};
Status MoveLateSidecars(ItemCache& cache, const UnlistedMoves& moved, ListedNames& names,
                        const MoveJournal& journal);

}  // namespace relicor
