#pragma once
// The pool duplicate check: loads every item file of the pool and the sent directory, then writes
// to DUPECHK.TXT in the pool directory each pair of files that hold the same item and each file
// whose item the dupe and hack database knows. Item files and sidecars stay as they are.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "platform/Result.h"
#include "pool/ItemCache.h"
#include "pool/ScanDirectory.h"
#include "validate/Database.h"

namespace relicor {

inline constexpr const char* kDupeCheckLogName = "DUPECHK.TXT";
inline constexpr std::string_view kNoPoolDirectoryText = "No Pool-Directory assigned!";
inline constexpr std::string_view kDupeCheckDoneText = "Dupe check log in ";

// Two files that hold one item (neighbours in the key list), and a file whose item the database
// knows. Paths are the file system's own.
struct DuplicatePair {
  std::string itemKey;
  std::string first;
  std::string second;
};
// Two files whose items share seed, creation info and base item but not the item key: one item
// made twice, one of them changed since (an edited copy of a dupe).
struct SameSeedPair {
  std::string itemKey;  // the first file's
  std::string first;
  std::string second;
};
struct KnownDupe {
  std::string itemKey;
  std::string path;
};

struct DupeCheckResult {
  std::string logPath;
  std::string message;  // "Dupe check log in " + the log's path
  std::size_t duplicatedLines = 0;
  std::size_t dupeHackLines = 0;
  std::vector<DuplicatePair> duplicates;  // one per "DUPLICATED " line, in log order
  std::vector<SameSeedPair> sameSeed;     // one per "SAME SEED  " line, in log order
  std::vector<KnownDupe> knownDupes;      // one per "DUPE/HACK  " line, in log order
};

// The block one run appends to the log (lines end with CR LF), from the key list as it stands:
// the header (with the current date and time), a "DUPLICATED " line for every neighbouring pair with one item
// key, a "SAME SEED  " line for every neighbouring pair (in the order of seed, creation info and
// base item) that shares those but not the item key, a "DUPE/HACK  " line for every text whose key is
// registered, and the closing line. Paths go into the log in Windows-1252. When `found` is given, its
// counters and lists are filled.
std::string DupeCheckLog(const ItemCache& cache, const Database& database, const Clock& clock,
                         std::size_t* duplicatedLines = nullptr, std::size_t* dupeHackLines = nullptr,
                         DupeCheckResult* found = nullptr);

// "Check for duplicate items". An empty pool directory is an error with kNoPoolDirectoryText,
// before anything is loaded or written. A directory that does not exist yields no files; a file
// that cannot be read, or a log that cannot be written, is an error naming the file.
// `progressStep` is called once per directory the scans enter. An item file that cannot be read
// (a dangling link, a FIFO, no rights) takes no part, and neither do the items of a subdirectory
// that cannot be listed; each is told through `warn` and the check goes on. The caller holds the
// pool's lock.
Result<DupeCheckResult> CheckForDuplicateItems(ItemCache& cache, const Database& database,
                                               const std::string& poolDir, const std::string& sentDir,
                                               bool subdirectories, const Clock& clock,
                                               const std::function<void()>& progressStep = {},
                                               const std::function<void(const std::string&)>& warn = {},
                                               std::optional<HeldListing>* held = nullptr,
                                               ItemFileDate itemDates = ItemFileDate::kRead);

// A text with every control byte (a line break among them) written as '?', so that one file name
// stays on one line of a log.
std::string OneLineText(std::string_view text);

}  // namespace relicor
