#include "pool/QuickAssign.h"

#include <optional>
#include <utility>

#include "pool/Sidecar.h"
#include "text/ByteText.h"

namespace relicor {

namespace {

constexpr std::string_view kSenderNameKey = kSidecarKeys[0];
constexpr std::string_view kPoints4ItemKey = kSidecarKeys[2];
constexpr std::string_view kPoints4ItemAtKey = kSidecarKeys[4];
constexpr std::string_view kAddedItemKey = kSidecarKeys[5];

// The common frame: an empty selection does nothing; otherwise the selected file becomes the
// current item. Returns the outcome that ends the command early, if any.
Result<std::optional<AssignOutcome>> LoadSelected(ItemCache& cache, const std::string& selectedFile) {
  if (selectedFile.empty()) return std::optional<AssignOutcome>(AssignOutcome::kNoFileSelected);
  if (!HasItemExtension(selectedFile)) return MakeError(NotItemFileNameText(selectedFile));
  auto loaded = cache.LoadItem(selectedFile);
  if (!loaded) return loaded.failure();
  if (*loaded != LoadStatus::kLoaded) return std::optional<AssignOutcome>(AssignOutcome::kNotAnItem);
  // The change starts from the sidecar as it is now: another run may have written it since.
  cache.RefreshSidecar(selectedFile);
  return std::optional<AssignOutcome>();
}

AssignResult Ended(AssignOutcome outcome) {
  AssignResult result;
  result.outcome = outcome;
  return result;
}

// Stores the changed metadata and describes what was written.
Result<AssignResult> Store(ItemCache& cache, const std::string& path, const ItemMeta& before,
                           std::vector<SidecarField> changed) {
  if (auto stored = StoreItemInfoOrRevert(cache, path, before); !stored) return stored.failure();
  AssignResult result;
  result.outcome = AssignOutcome::kAssigned;
  result.sidecarPath = SidecarPath(path);
  result.changed = std::move(changed);
  return result;
}

std::string StoredDate(DateTime t, DateTime today) {
  return SafeDateText(t, today);
}

}  // namespace

Status StoreItemInfoOrRevert(ItemCache& cache, const std::string& path, const ItemMeta& before) {
  auto stored = cache.StoreItemInfo(path);
  if (stored) return stored;
  // The cache took the new values before the write failed; storing the earlier values puts them
  // back in the cache (and into the file, should it be writable again).
  cache.CurrentMeta() = before;
  (void)cache.StoreItemInfo(path);
  return stored;
}

Result<AssignResult> QuickSenderAssign(ItemCache& cache, const std::string& selectedFile,
                                       const std::string& selectedMember) {
  auto ended = LoadSelected(cache, selectedFile);
  if (!ended) return ended.failure();
  if (*ended) return Ended(**ended);
  if (selectedMember.empty()) return Ended(AssignOutcome::kNoMemberSelected);

  ItemMeta& meta = cache.CurrentMeta();
  if (!meta.senderName.empty()) return Ended(AssignOutcome::kSenderAlreadyRecorded);
  const ItemMeta before = meta;
  meta.senderName = ShortString(selectedMember, kMemberNameCapacity);
  return Store(cache, selectedFile, before, {{kSenderNameKey, meta.senderName}});
}

Result<AssignResult> QuickPointAssign(ItemCache& cache, const Clock& clock, const std::string& selectedFile) {
  auto ended = LoadSelected(cache, selectedFile);
  if (!ended) return ended.failure();
  if (*ended) return Ended(**ended);

  const DateTime now = clock.Now();
  ItemMeta& meta = cache.CurrentMeta();
  const ItemMeta before = meta;
  meta.points4Item = true;
  meta.points4ItemAt = now;
  return Store(cache, selectedFile, before,
               {{kPoints4ItemKey, "1"}, {kPoints4ItemAtKey, StoredDate(meta.points4ItemAt, now)}});
}

Result<AssignResult> QuickDateAssign(ItemCache& cache, const Clock& clock, const std::string& selectedFile) {
  auto ended = LoadSelected(cache, selectedFile);
  if (!ended) return ended.failure();
  if (*ended) return Ended(**ended);

  ItemMeta& meta = cache.CurrentMeta();
  // Only an item whose sidecar gave no added date still has the file date here; once assigned,
  // the date differs (the time of assignment in this run, midnight of that day after a restart).
  if (meta.addedItem != meta.fileDate) return Ended(AssignOutcome::kDateAlreadyAssigned);
  const DateTime now = clock.Now();
  const ItemMeta before = meta;
  meta.addedItem = now;
  return Store(cache, selectedFile, before, {{kAddedItemKey, StoredDate(meta.addedItem, now)}});
}

}  // namespace relicor
