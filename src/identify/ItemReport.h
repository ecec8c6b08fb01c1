#pragma once
// The item report: loads one ITM file and writes the lines that describe it (header, verdicts,
// effects, bookkeeping, origin, price and name checks) through the line sink. With the sink's
// HTML switch on it writes the item into the page being created (HTML mode): only the items of
// the page class, with an item-name cell in front, in the detail or the brief form.

#include <array>
#include <cstdint>
#include <string>

#include "identify/LineSink.h"
#include "item/ItemClasses.h"
#include "platform/Clock.h"
#include "platform/Result.h"
#include "pool/ItemCache.h"
#include "validate/Database.h"
#include "validate/Findings.h"

namespace relicor {

// An item added less than this many days before the start of the run is new.
inline constexpr double kNewItemDays = 14.0;

// The page class that gathers the unique items of every class.
inline constexpr int kUniquePageClass = 14;

struct ReportOptions {
  bool dumpWindow = false;      // "Dump window"
  bool decimalView = false;     // "decimal view"
  bool additionalInfo = false;  // "Additional Info"
  bool vkMode = false;          // "V&K-Mode"
  std::string mailAddress;      // the request address of the item-name cell
};

// Set by the HTML creation before each report; the counters are read back by it.
struct PageState {
  int pageClass = 0;  // 0-14
  bool briefMode = false;
  std::array<std::int32_t, kClassCount> newArrivals{};  // per page class
  std::int32_t totalCount = 0;
  // The published directory: the mail link names an item by its path relative to it, so a
  // public page never shows the keeper's own directories.
  std::string pageRoot;
};

// The path of an item as a page shows it: relative to `pageRoot` when it lies inside, otherwise
// its file name alone.
std::string PagePath(std::string_view path, std::string_view pageRoot);

struct ReportContext {
  ReportContext(ItemCache& itemCache, const Database& db, LineSink& lineSink, const Clock& now)
      : cache(itemCache), database(db), sink(lineSink), clock(now) {}

  ReportOptions options;
  PageState page;
  DateTime startTime = 0;  // start of the run; decides which items are new

  ItemCache& cache;
  const Database& database;
  LineSink& sink;
  const Clock& clock;  // "today" for dates that cannot be written

  DebugLineSink* debugLog = nullptr;       // may be null: diagnostic lines are dropped
  ItemDumpDisplay* dumpDisplay = nullptr;  // may be null
  // Set by a run over one directory that has just listed it: the items reported are in that
  // directory, and a sidecar the listing does not hold is not looked for. May be null.
  const SidecarListing* sidecars = nullptr;

  // Written by the report: status colour and last finding code.
  FindingState findings;
};

enum class ReportOutcome : std::uint8_t {
  kReported,     // lines were written (none, in HTML mode, for a hidden item)
  kNotAnItem,    // the file is shorter than an item record: no lines; the caller tells the user
  kNoSignature,  // the record does not start with "ITM0": no lines
  kNotOnPage,    // HTML mode: the item does not belong to the page class; nothing written or counted
};

// Reports the item at `path`. `directory` is the directory the "File : " line shows the path
// against. An error only when the file cannot be loaded (missing or unreadable); the message
// names the file and the reason.
Result<ReportOutcome> ReportItem(ReportContext& ctx, const std::string& path, const std::string& directory);

// The same for an item whose cache entry the caller holds (from ItemCache::Find or a scan): the
// entry becomes the current item without a search of the cache.
ReportOutcome ReportItem(ReportContext& ctx, const std::string& path, const std::string& directory,
                         const ItemEntry& cached);

// True when an item added at `addedItem` counts as new in a run started at `startTime`.
bool IsNewItem(DateTime startTime, DateTime addedItem);

}  // namespace relicor
