#include "pool/SendItem.h"

#include "platform/FileSystem.h"
#include "pool/MoveJournal.h"
#include "pool/Sidecar.h"
#include "text/ByteText.h"
#include "text/Path.h"

namespace relicor {

namespace {

constexpr std::string_view kSendToKey = kSidecarKeys[1];
constexpr std::string_view kSentAtKey = kSidecarKeys[6];

SendResult Ended(SendOutcome outcome, std::string message = {}) {
  SendResult result;
  result.outcome = outcome;
  result.message = std::move(message);
  return result;
}

// Puts the sidecar of `path` back as it was before the send: its earlier bytes, or no file.
std::string RestoreSidecar(const std::string& path, bool existed, const std::string& content) {
  const Status restored = existed ? AtomicReplaceFile(path, content) : RemoveFile(path);
  return restored ? std::string() : restored.error();
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
  if (sentDir.empty()) return Ended(SendOutcome::kRefused, std::string(kNoSentDirectoryText));
  if (!DirectoryExists(sentDir)) {
    return Ended(SendOutcome::kRefused, std::string(kSentDirectoryMissingText) + sentDir);
  }

  if (!HasItemExtension(selectedFile)) return MakeError(NotItemFileNameText(selectedFile));

  auto loaded = cache.LoadItem(selectedFile);
  if (!loaded) return MakeError(loaded.error());
  if (*loaded != LoadStatus::kLoaded) return Ended(SendOutcome::kNotAnItem);
  // The sidecar as it is now: another run may have written it since it was first read.
  cache.RefreshSidecar(selectedFile);

  SendResult result;
  result.source = selectedFile;
  result.destination = SendDestination(sentDir, selectedFile);

  // A send that cannot end in the sent directory records nothing.
  auto moveFailed = [&](std::string reason) {
    result.outcome = SendOutcome::kMoveFailed;
    result.message = std::string(kMoveFailedText);
    result.reason = std::move(reason);
    return result;
  };
  if (result.destination != selectedFile) {
    for (const std::string& taken : {result.destination, SidecarPath(result.destination)}) {
      if (PathOccupied(taken)) return moveFailed(taken + " already exists");
    }
  }

  const std::string sidecar = SidecarPath(selectedFile);
  auto content = ReadSidecarText(sidecar);
  if (!content) return MakeError(content.error());
  const bool hadSidecar = content->has_value();
  const std::string oldSidecar = hadSidecar ? **content : std::string();

  const DateTime now = clock.Now();
  ItemMeta& meta = cache.CurrentMeta();
  const ItemMeta before = meta;
  meta.sendTo = ShortString(selectedMember, kMemberNameCapacity);
  meta.sentAt = now;
  result.written = {{kSendToKey, meta.sendTo}, {kSentAtKey, SafeDateText(now, now)}};
  if (auto stored = StoreItemInfoOrRevert(cache, selectedFile, before); !stored) {
    return MakeError(stored.error());
  }

  std::string reason;
  MoveJournal journal(journalDir);
  if (auto recorded = journal.Record({{selectedFile, result.destination}}); !recorded) {
    reason = recorded.error();
  } else if (cache.MoveItem(selectedFile, result.destination, &reason) == 0) {
    reason.clear();
  } else if (!PathOccupied(selectedFile) && PathOccupied(result.destination)) {
    // The item moved, its sidecar could not follow, and the item could not go back: the journal
    // stays, so the next command brings the two together.
    return MakeError(reason + "; " + journal.path() + " keeps the move for the next command to finish");
  } else if (reason.empty()) {
    reason = "the item file could not be moved";
  }
  if (auto cleared = journal.Clear(); !cleared && reason.empty()) {
    // The move is done; only its record could not be removed (the next command repairs nothing).
    result.outcome = SendOutcome::kSent;
    result.message = cleared.error();
    return result;
  }
  if (!reason.empty()) {
    // The item stayed in the pool: its cache entry and its sidecar get their earlier values back.
    cache.CurrentMeta() = before;
    (void)cache.StoreItemInfo(selectedFile);
    if (std::string notRestored = RestoreSidecar(sidecar, hadSidecar, oldSidecar); !notRestored.empty()) {
      reason += "; " + notRestored;
    }
    result.written.clear();
    return moveFailed(reason);
  }
  result.outcome = SendOutcome::kSent;
  return result;
}

}  // namespace relicor
