#pragma once
// Everything a publishing run reads and writes, passed in by the session.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "identify/ItemReport.h"
#include "item/ItemClasses.h"
#include "platform/Clock.h"
#include "platform/Settings.h"
#include "pool/ItemCache.h"
#include "pool/ScanDirectory.h"
#include "validate/Database.h"

namespace relicor {

// The counters of the class pages, read by the entrance page: the items on the pages of one
// variant and the new ones per page class.
struct PageCounts {
  std::array<std::int32_t, kClassCount> newArrivals{};  // per page class
  std::int32_t totalCount = 0;
};

// What the item reports of a publishing run are made from, and the counters they leave.
struct PublishReports {
  PublishReports(ItemCache& itemCache, const Database& db, const Clock& now)
      : cache(itemCache), database(db), clock(now) {}

  ItemCache& cache;
  const Database& database;
  const Clock& clock;
  // Additional information, V&K mode and the start of the run (which items are new); the run sets
  // the mode of each page.
  ReportOptions options;
  std::string mailAddress;  // the request address of the item-name cells
  // Takes the reports' diagnostic lines for the debug log; may be empty (they are dropped).
  std::function<void(std::string_view line)> debugLine;
  PageCounts page;
};

// Progress of a run: step `done` of `total` in the named stage (a page's file name, or "scan"
// with `total` 0 while directories are walked).
using PublishProgress = std::function<void(std::string_view stage, std::size_t done, std::size_t total)>;

struct PublishContext {
  // The item reports with the item cache, the database, the clock, the start time of the run and
  // the counters the entrance page reads.
  PublishReports& report;
  const HtmlOptionValues& options;
  const std::string& outputDir;             // scanned for items; every file of the run goes there
  bool scanSubdirectories;                  // "&Subdirectories"
  const std::string& sentDir;               // the history's items; empty or missing: empty history
  const std::string& poolDir;               // first place of rules.txt
  const std::string& programDir;            // second place of rules.txt (ends with a separator)
  const std::vector<std::string>& members;  // the member list, in its order
  PublishProgress progress;                 // may be empty
  // Told about each file that is too short to be an item (it is skipped); may be empty.
  std::function<void(const std::string& path)> notAnItem;
  // Told about each subdirectory whose items are left out because it cannot be listed (no
  // rights, a path too long for the system); may be empty.
  std::function<void(const std::string& reason)> skippedDirectory = {};
  // Told about a file the run leaves unread (a rules file that is a link or too large); may be
  // empty.
  std::function<void(const std::string& reason)> warn = {};
  // The seed verdict line of an item for the search page ("Seed check: ..."); empty: the run
  // checks no seeds.
  std::function<std::string(const ItemRecord& record)> seedVerdict = {};
  // What the run's lock listed of the output directory a moment ago (may be null): the scan takes
  // it instead of listing again.
  std::optional<HeldListing>* heldListing = nullptr;
  // What the scans' reads ask of the item files (see ItemFileDate).
  ItemFileDate itemDates = ItemFileDate::kRead;
};

}  // namespace relicor
