#pragma once
// Everything a publishing run reads and writes, passed in by the session.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "identify/ItemReport.h"
#include "platform/Settings.h"

namespace relicor {

// Progress of a run: step `done` of `total` in the named stage (a page's file name, or "scan"
// with `total` 0 while directories are walked).
using PublishProgress = std::function<void(std::string_view stage, std::size_t done, std::size_t total)>;

struct PublishContext {
  // The item report with the item cache, the line sink, the clock, the start time of the run and
  // the page state whose counters the entrance page reads.
  ReportContext& report;
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
};

}  // namespace relicor
