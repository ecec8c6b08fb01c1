#pragma once
// Sending an item: the recipient and the date go into the item's sidecar, and the ITM file moves
// with its sidecar from the pool into the sent directory.
//
// The window-level steps stay with the caller: showing the Members window when it is hidden
// (instead of sending), the message box, and reading the file list's directory again afterwards.
// An empty selected file or member text means nothing is selected.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "platform/Result.h"
#include "pool/ItemCache.h"
#include "pool/QuickAssign.h"

namespace relicor {

// The messages of the command.
inline constexpr std::string_view kMoveFailedText = "Konnte Datei nicht verschieben";
inline constexpr std::string_view kNoSentDirectoryText = "No Sent-Directory assigned!";
inline constexpr std::string_view kSentDirectoryMissingText = "The Sent-Directory does not exist: ";

enum class SendOutcome : std::uint8_t {
  kSent,             // recorded and moved
  kNothingSelected,  // no file or no member selected: nothing happened
  kNotAnItem,        // the file holds no item record: nothing recorded or moved
};

struct SendResult {
  SendOutcome outcome = SendOutcome::kNothingSelected;
  std::string source;
  std::string destination;
  std::vector<SidecarField> written;  // SendTo and SentAt, when sent
};

// Where `itemPath` goes in `sentDir`: the sent directory joined with the item's file name.
std::string SendDestination(std::string_view sentDir, std::string_view itemPath);

// "Prepare Item to send": SendTo := the first 18 characters of the member's name, SentAt := now,
// and the item and its sidecar move into `sentDir`, as one step: the move is recorded in the
// journal in `journalDir` (the pool directory) with the recipient and the date, the item and its
// sidecar move, and only then the sidecar at its new place gets the two values. A run killed on the
// way leaves the item unsent in the pool or sent with its recipient (the journal's repair finishes
// it). A move never replaces a file there; a move that fails, or a sidecar that cannot be written
// at the new place (the item then goes back), changes nothing: an error of the kind kMoveFailed,
// kMoveFailedText and the reason in brackets. No sent directory, or one that does not exist, is an
// error of the kind kNoSentDirectory (nothing recorded or moved). A move the journal has to finish
// is kJournalStuck. The caller holds the pool's lock; the sidecar is read again before it is
// changed. A path that does not end in ".ITM" is refused.
Result<SendResult> PrepareItemToSend(ItemCache& cache, const Clock& clock, const std::string& selectedFile,
                                     const std::string& selectedMember, const std::string& sentDir,
                                     const std::string& journalDir);

}  // namespace relicor
