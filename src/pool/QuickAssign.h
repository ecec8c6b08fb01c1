#pragma once
// One-key bookkeeping for the selected item: who sent it in, that points were given for it, and
// the date it was added to the pool. Each command changes one or two fields of the item's
// metadata and stores the whole metadata in the item's sidecar.
//
// The window-level steps stay with the caller: showing the Members window when it is hidden
// (instead of assigning), and showing the report of the selected file again afterwards. An empty
// selected file or member text means nothing is selected. The caller holds the pool's lock; each
// command reads the item's sidecar again before it changes it, and refuses a path that does not
// end in ".ITM".

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "platform/Result.h"
#include "pool/ItemCache.h"

namespace relicor {

enum class AssignOutcome : std::uint8_t {
  kAssigned,               // the fields were set and the sidecar written
  kNoFileSelected,         // nothing happened
  kNoMemberSelected,       // the item was loaded, nothing changed
  kNotAnItem,              // the file holds no item record: nothing to record
  kSenderAlreadyRecorded,  // a recorded sender is never replaced
  kDateAlreadyAssigned,    // the added date differs from the file date: assigned before
};

// A sidecar key the command set, with the text the sidecar now holds for it.
struct SidecarField {
  std::string_view key;
  std::string value;
};

struct AssignResult {
  AssignOutcome outcome = AssignOutcome::kNoFileSelected;
  std::string sidecarPath;            // when assigned
  std::vector<SidecarField> changed;  // when assigned
};

// "Quick Sender Assign" (F9): SenderName := the first 18 characters of the member's name, only
// while the item has no sender.
Result<AssignResult> QuickSenderAssign(ItemCache& cache, const std::string& selectedFile,
                                       const std::string& selectedMember);

// "Quick Point Assign": Points4Item := true, Points4ItemAt := now (again on every use).
Result<AssignResult> QuickPointAssign(ItemCache& cache, const Clock& clock, const std::string& selectedFile);

// "Quick Date Assign": AddedItem := now, only while AddedItem is exactly the file date, so the
// date is assigned once per item.
Result<AssignResult> QuickDateAssign(ItemCache& cache, const Clock& clock, const std::string& selectedFile);

// Stores the current metadata for `path`. When the sidecar cannot be written, the cache entry gets
// `before` back, so the cache keeps matching the file and the command can be tried again; the
// write's error is returned.
Status StoreItemInfoOrRevert(ItemCache& cache, const std::string& path, const ItemMeta& before);

}  // namespace relicor
