#pragma once
// The text export: the reports of every ITM file of a directory in one text list.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "identify/ItemReport.h"
#include "platform/Result.h"
#include "pool/ItemCache.h"
#include "pool/ItemReadAhead.h"
#include "pool/Sidecar.h"
#include "validate/Database.h"

namespace relicor {

inline constexpr std::string_view kExportFileName = "ITMLIST.TXT";
inline constexpr std::string_view kExportTitle = "Relicor item list";

// The export file is written in pieces of about this size.
inline constexpr std::size_t kExportFlushBytes = 1 << 17;

// Appends the report's lines to the export text, each ending with CR LF, then its seed verdict
// line when it has one. Every control byte of the first line (the file line, which holds the file
// name) is written as '?': a line break in a name would split the line.
void AppendExportText(std::string& text, const ItemReport& report);

// What the text-mode reports of a command are made from, and where what they tell besides their
// lines goes.
struct TextReports {
  ItemCache& cache;
  const Database& database;
  ReportOptions options;
  std::function<void(const std::string& path)> notAnItem;  // a file shorter than an item; may be empty
  std::function<void(std::string_view line)> debugLine;    // the diagnostic lines; may be empty
};

// Loads the item at `path` (through `sidecars`, a listing of its directory made just before, and
// `ahead`, the reads of a known list of files, when given) and builds its report into `report`,
// its diagnostic lines told. A file shorter than an
// item is told and gives an empty report; a file that cannot be read is an error and gives one
// too.
Status ReportItemFile(const TextReports& reports, const std::string& path, const SidecarListing* sidecars,
                      ItemReport& report, ItemReadAhead* ahead = nullptr);

// One export: the files of a directory, in the file list's order, into ITMLIST.TXT there.
struct TextExportRun {
  std::string directory;  // the file list's directory; empty for the root
  const std::vector<std::string>& fileNames;
  const SidecarListing* sidecars;  // the directory's listing, made just before; may be null
  bool seedCheck = false;          // each report is followed by its seed verdict line
  std::function<void(int percent)> progress;
  ItemFileDate itemDates = ItemFileDate::kRead;  // what the reads ask of the files (see ItemFileDate)
};

// Where an export ended: whether it began (the list was created and its title written; before
// that nothing changed), the file reported last (the one selected afterwards) and the cache entry
// of the last file that held an item (the data window shows it).
struct TextExportEnd {
  bool began = false;
  int selected = -1;
  const ItemEntry* lastItem = nullptr;
};

// Writes ITMLIST.TXT: the title, an empty line, then the report of each file. `report` holds the
// report of the file reported last afterwards (it is left alone when there is none). A failed write leaves
// the earlier list in place; a file that cannot be read stops the export, and the list then holds the lines
// written up to it. The message names the list.
Result<std::string> WriteTextExport(const TextReports& reports, const TextExportRun& run, ItemReport& report,
                                    TextExportEnd& end);

}  // namespace relicor
