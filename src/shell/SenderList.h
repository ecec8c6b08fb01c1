#pragma once
// The sender list: who sent how many items in, and for how many of them points were given, since
// a date. Counted from the sidecars of the pool (and its subdirectories when asked) and of the
// sent directory, where an item handed out later still counts for the one who sent it in.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "platform/Result.h"
#include "pool/ItemCache.h"

namespace relicor {

inline constexpr std::string_view kSenderListFileName = "SENDERS.TXT";
inline constexpr std::string_view kNotAMemberText = "(not a member)";

struct SenderTally {
  std::string name;  // the member list's spelling for a member, else as the sidecars hold it
  bool member = false;
  std::size_t items = 0;
  std::size_t points = 0;  // items among them with Points4Item set
};

struct SenderList {
  DateTime since = 0;  // the first day counted (its time of day is ignored)
  // Most items first; equal counts by name without regard to letter case.
  std::vector<SenderTally> senders;
  std::size_t items = 0;          // items counted, with and without a sender
  std::size_t points = 0;         // of them with points
  std::size_t withoutSender = 0;  // items added since the date that name no sender
  std::size_t withoutSenderPoints = 0;
  std::string filePath;  // SENDERS.TXT, once written
};

struct SenderScan {
  std::string poolDir;
  std::string sentDir;  // may be empty or missing: then only the pool counts
  bool subdirectories = false;
  DateTime since = 0;
  std::vector<std::string> members;
  std::function<void()> progressStep;
  // A file or directory the count could not read (it is left out, the count goes on).
  std::function<void(const std::string&)> warn;
};

// Loads the items of the pool (recursive when asked) and the sent directory (its own files only)
// and counts, per sender, the items whose AddedItem falls on or after the day of `since`. An item
// that both walks reach (a sent directory inside the pool) counts once. A sender is a member when
// the member list holds the name, letter case ignored, as the sidecar can hold it (18 characters);
// its items count under the member list's spelling. An error when the pool directory is not set or
// cannot be listed.
Result<SenderList> CountSenders(ItemCache& cache, const SenderScan& scan);

// The text of SENDERS.TXT (Windows-1252, CR LF): a title with the date and the time it was made, a
// head, one line per sender (name, "(not a member)" after it when so, items, points), the totals.
std::string SenderListText(const SenderList& list, DateTime madeAt);

// Writes SENDERS.TXT in the pool directory (one atomic replace) and notes its path in `list`.
Status WriteSenderList(SenderList& list, const std::string& poolDir, DateTime madeAt);

}  // namespace relicor
