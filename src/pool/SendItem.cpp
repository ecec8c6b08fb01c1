#include "pool/SendItem.h"

#include <cmath>

#include "platform/FileSystem.h"
#include "pool/MoveJournal.h"
#include "pool/Sidecar.h"
#include "text/ByteText.h"
#include "text/Path.h"

namespace relicor {

namespace {

constexpr std::string_view kSendToKey = kSidecarKeys[1];
constexpr std::string_view kSentAtKey = kSidecarKeys[6];

SendResult Ended(SendOutcome outcome) {
  SendResult result;
  result.outcome = outcome;
  return result;
}

// A send that cannot end in the sent directory records nothing; `reason` says why.
Error MoveFailed(const std::string& destination, const std::string& reason) {
  return Error{ErrorKind::kMoveFailed, destination, "cannot move", 0,
               std::string(kMoveFailedText) + (reason.empty() ? "" : " (" + reason + ")")};
}

}  // namespace

std::string SendDestination(std::string_view sentDir, std::string_view itemPath) {
  while (!sentDir.empty() && sentDir.back() == kPathSeparator) sentDir.remove_suffix(1);
  return JoinPath(sentDir, FileNamePart(itemPath));
}

Result<SendResult> PrepareItemToSend(ItemCache& cache, const Clock& clock, const std::string& selectedFile,
                                     const std::string& selectedMember, const std::string& sentDir,
                                     const std::string& journalDir) {
  if (selectedFile.empty() || selectedMember.empty()) return Ended(SendOutcome::kNothingSelected);
  // Without a sent directory the destination would be the root of the file system.
  if (sentDir.empty()) return MakeError(ErrorKind::kNoSentDirectory, std::string(kNoSentDirectoryText));
  if (!DirectoryExists(sentDir)) {
    return Error{
        ErrorKind::kNoSentDirectory, sentDir, {}, 0, std::string(kSentDirectoryMissingText) + sentDir};
  }

  if (!HasItemExtension(selectedFile)) return MakeError(NotItemFileNameText(selectedFile));

  auto loaded = cache.LoadItem(selectedFile);
  if (!loaded) return loaded.failure();
  if (*loaded != LoadStatus::kLoaded) return Ended(SendOutcome::kNotAnItem);
  // The sidecar as it is now: another run may have written it since it was first read.
  cache.RefreshSidecar(selectedFile);

  SendResult result;
  result.source = selectedFile;
  result.destination = SendDestination(sentDir, selectedFile);

  auto moveFailed = [&](const std::string& reason) { return MoveFailed(result.destination, reason); };
  if (result.destination != selectedFile) {
    for (const std::string& taken : {result.destination, SidecarPath(result.destination)}) {
      if (PathOccupied(taken)) return moveFailed(taken + " already exists");
    }
  }
  // A sidecar that cannot be read (a link, too large) could not carry the recipient.
  if (auto content = ReadSidecarText(FindSidecarPath(selectedFile)); !content) return content.failure();

  // The send is one step: the journal holds the move with the recipient and the date, which the
  // sidecar gets only once the item is in the sent directory. A run killed on the way leaves the
  // unsent item as it was, or the sent one with its recipient (the next command finishes it).
  const DateTime now = clock.Now();
  const std::string sendTo = ShortString(selectedMember, kMemberNameCapacity);
  const std::string sentAt = SafeDateText(now, now);
  MoveJournal journal(journalDir);
  const std::string keeps = "; " + journal.path() + " keeps the move for the next command to finish";
  if (auto recorded = journal.Record({{selectedFile, result.destination, SendStamp{sendTo, sentAt}}});
      !recorded)
    return moveFailed(recorded.error());
  if (const Status moved = cache.MoveItem(selectedFile, result.destination); !moved) {
    // The item moved, its sidecar could not follow, and the item could not go back.
    if (!PathOccupied(selectedFile) && PathOccupied(result.destination))
      return MakeError(ErrorKind::kJournalStuck, moved.error() + keeps);
    std::string reason = moved.error().empty() ? "the item file could not be moved" : moved.error();
    if (auto cleared = journal.Clear(); !cleared) reason += "; " + cleared.error();
    return moveFailed(reason);
  }
  // The moved entry is the current item, with the bookkeeping of the moved sidecar. The sidecar
  // keeps the day only, and so does the entry, as a load of the sidecar would give it.
  const std::string sidecarThere = SidecarPath(result.destination);
  auto arrived = ReadSidecarText(sidecarThere);  // the bookkeeping as it came
  if (!arrived) return MakeError(ErrorKind::kJournalStuck, arrived.error() + keeps);
  ItemMeta& meta = cache.CurrentMeta();
  meta.sendTo = sendTo;
  meta.sentAt = std::floor(now);
  if (auto stored = cache.StoreItemInfo(result.destination); !stored) {
    // The item goes back unsent, its sidecar as it came (a write that failed late may be in place).
    std::string why = stored.error();
    const Status restored = *arrived                     ? AtomicReplaceFile(sidecarThere, **arrived)
                            : PathOccupied(sidecarThere) ? RemoveFile(sidecarThere)
                                                         : Status();
    if (!restored) return MakeError(ErrorKind::kJournalStuck, why + "; " + restored.error() + keeps);
    if (const Status back = cache.MoveItem(result.destination, selectedFile); !back)
      return MakeError(ErrorKind::kJournalStuck, why + "; " + back.error() + keeps);
    if (auto cleared = journal.Clear(); !cleared) why += "; " + cleared.error();
    return moveFailed(why);
  }
  if (auto cleared = journal.Clear(); !cleared)
    return MakeError(ErrorKind::kJournalStuck, cleared.error() + keeps);
  result.written = {{kSendToKey, sendTo}, {kSentAtKey, sentAt}};
  result.outcome = SendOutcome::kSent;
  return result;
}

}  // namespace relicor
