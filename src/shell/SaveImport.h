#pragma once
// Importing the items of save games into the pool: each item becomes an ITM file under the name
// the rename run gives it, with a sidecar naming its sender (the hero, or a member the keeper
// names) and today as its added date, written under the pool's lock and its move journal so a
// run that is killed leaves every item whole beside its own sidecar. An item whose key the pool
// already holds is not imported again.

#include <cstddef>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Result.h"
#include "saves/SaveGame.h"
#include "shell/Session.h"

namespace relicor {

struct SaveImportOptions {
  std::string sender;  // Windows-1252; empty: each save's hero name
  std::string into;    // a directory inside the pool; empty: the pool directory
  // The numbers a dry run gave (from 1, over the items of all saves in the order given); empty:
  // every item.
  std::set<int> select;
  bool dryRun = false;
  // Called with (items done, items to do) as the import goes on.
  std::function<void(std::size_t, std::size_t)> progress;
};

enum class ImportOutcome : std::uint8_t {
  kImported,       // written (a dry run: would be)
  kAlreadyInPool,  // the pool holds an item of the same key
  kNotSelected,    // left out by the selection
  kSkipped,        // cannot be imported (`reason`)
  kFailed,         // writing failed (`reason`)
};

struct ImportedItem {
  int number = 0;  // 0 for an item that cannot be imported
  std::string place;
  std::string name;     // Windows-1252
  std::string key;      // item key, empty for a skipped item
  std::string verdict;  // Windows-1252 ("genuine", "edited: ...")
  ImportOutcome outcome = ImportOutcome::kSkipped;
  std::string file;    // where it went (imported) or where the pool holds it (already)
  std::string reason;  // kSkipped, kFailed
};

struct SaveImportEntry {
  std::string path;
  std::string error;  // the save was refused (one line naming it and why)
  std::string kind;   // "single player hero", "multiplayer stash", ...
  std::string heroName;
  std::string sender;
  std::vector<ImportedItem> items;
};

struct SaveImportResult {
  std::vector<SaveImportEntry> saves;
  std::vector<std::string> repaired;  // what the pool lock repaired first
  std::string directory;              // where the items went
  bool dryRun = false;

  std::size_t Count(ImportOutcome outcome) const;
  std::size_t Refused() const;
};

// Reads every save, then imports what is selected. An error (nothing written) when no pool is
// set, `into` does not lie inside the pool, a number selected is not one of the saves' items,
// the pool is busy or cannot be scanned; a save that is refused is told in its entry and the
// others are imported.
Result<SaveImportResult> ImportSaves(Session& session, const std::vector<std::string>& saves,
                                     const SaveImportOptions& options);

// One line per item: "3 inventory 2: Short Sword (genuine): imported as FILE", "... already in
// the pool: KEY in FILE", "... skipped: REASON"; UTF-8.
std::string SaveImportLine(const ImportedItem& item, bool dryRun);
// "4 imported, 1 already in the pool, 0 skipped, 1 save refused" (a dry run: "would be imported").
std::string SaveImportSummary(const SaveImportResult& result);

}  // namespace relicor
