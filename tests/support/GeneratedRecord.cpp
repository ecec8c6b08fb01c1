#include "support/GeneratedRecord.h"

#include "generate/SeedCheck.h"
#include "saves/SaveGame.h"
#include "support/GameItems.h"

namespace relicor::test {

ItemRecord GeneratedRecord(const gen::GeneratedItem& g, bool identified) {
  ItemRecord r = saves::RecordOfItem(g);
  RecordEdit(r).i32(offset::kIdentified, identified ? 1 : 0);
  return r;
}

}  // namespace relicor::test
