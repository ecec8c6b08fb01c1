#include "html/CreatePages.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "html/HistoryPages.h"
#include "html/ItemRows.h"
#include "html/PageWriter.h"
#include "html/SearchPage.h"
#include "html/Stylesheet.h"
#include "text/ByteText.h"
#include "text/Path.h"

namespace relicor {

namespace {

// The list entries of each page class. An item that is not on a page would be reported on every
// page without writing or counting anything, so only the members of a page are reported.
std::array<std::vector<std::uint32_t>, kClassCount> PageMembers(const std::vector<ScannedItem>& items) {
  std::array<std::vector<std::uint32_t>, kClassCount> members;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (const int pageClass = PageClassOfItem(items[i].entry->Record()); pageClass != 0) {
      members[static_cast<std::size_t>(pageClass)].push_back(static_cast<std::uint32_t>(i));
    }
  }
  return members;
}

// Asks the processor to fetch the cache entries of the items after item `k` of a page while item
// `k` is reported: a page's items lie scattered in memory, and each report would wait for them.
// The entry two items on is fetched, and the blocks of the entry one item on (fetched the time
// before), so that no fetch waits for another.
void PrefetchItemsAfter(const std::vector<ScannedItem>& items, const std::vector<std::uint32_t>& onPage,
                        std::size_t k) {
#if defined(__GNUC__)
  if (k + 2 < onPage.size()) __builtin_prefetch(items[onPage[k + 2]].entry);
  if (k + 1 < onPage.size()) {
    for (const void* block : items[onPage[k + 1]].entry->Blocks()) {
      if (block != nullptr) __builtin_prefetch(block);
    }
  }
#else
  (void)items;
  (void)onPage;
  (void)k;
#endif
}

// The detail and the brief page of every page class, each written to its file while the next
// one is made. The report's debug lines of the page being made are held until the page before it
// is in its file, so that a run stopped by a page that could not be written has written none for
// a later page, just as when every page is in its file before the next one is made.
Status WriteClassPages(PublishContext& ctx, const std::vector<ScannedItem>& items, PageFile& page,
                       PublishSummary& summary) {
  PublishReports& reports = ctx.report;
  PageCounts& counts = reports.page;
  const auto members = PageMembers(items);
  const ItemRowOptions rowOptions{reports.mailAddress, ctx.outputDir};
  ReportOptions options = reports.options;
  ItemReport report;  // its room is kept from item to item, as the path's
  std::string path;
  ReportLines heldDebugLines;

  for (const bool brief : {false, true}) {
    counts.totalCount = 0;
    options.mode = brief ? ReportMode::kBriefPage : ReportMode::kPage;
    for (const int pageClass : kPageClasses) {
      std::int32_t& newArrivals = counts.newArrivals[static_cast<std::size_t>(pageClass)];
      newArrivals = 0;
      const std::string fileName = ClassPageFileName(ctx.options, brief, pageClass);
      page.WritePageHead(JoinPath(ctx.outputDir, fileName), ctx.options);
      WriteNavigationBar(page, ctx.options, pageClass, brief);
      WriteClassTabs(page, ctx.options, pageClass, brief);

      const auto& onPage = members[static_cast<std::size_t>(pageClass)];
      // With the search page, the rows of a detail page carry the ids its results link to.
      const bool rowIds = ctx.options.searchPage && !brief;
      std::size_t rowsOnPage = 0;
      for (std::size_t k = 0; k < onPage.size(); ++k) {
        const std::size_t i = onPage[k];
        PrefetchItemsAfter(items, onPage, k);
        if (ctx.progress) ctx.progress(fileName, i, items.size());
        // Every listed item was loaded by the scan, and the cache keeps it for the whole run.
        const ItemEntry& entry = *items[i].entry;
        BuildReport(entry, options, reports.database, report);
        if (!report.isItem) continue;
        ++counts.totalCount;
        if (report.isNew) ++newArrivals;
        path = entry.Directory();
        path += entry.FileName();
        const bool hasRows = !report.hidden;
        if (hasRows) ++rowsOnPage;
        AppendItemRows(page.Text(), report, path, rowOptions,
                       rowIds && hasRows ? SearchRowId(rowsOnPage) : std::string());
        if (reports.debugLine) {
          for (const std::string_view line : report.debugLines) heldDebugLines.Add(line);
        }
        page.SpillIfLarge();
      }

      WritePageEnd(page);
      if (auto before = page.Finish(); !before) return before;
      for (const std::string_view line : heldDebugLines) reports.debugLine(line);
      heldDebugLines.Clear();
      const std::string written = page.Path();
      if (auto closed = page.CloseBehind(); !closed) return closed;
      summary.files.push_back(written);
    }
  }
  return page.Finish();
}

// The search page's four files, over every item of the run (those on no class page too).
Status WriteSearchPage(PublishContext& ctx, const std::vector<ScannedItem>& items, FileSetWriter& set,
                       PublishSummary& summary) {
  PublishReports& reports = ctx.report;
  ReportOptions options = reports.options;
  options.mode = ReportMode::kPage;
  const std::string dataName = SearchDataFileName(ctx.options);
  SearchIndex index;
  ItemReport report;
  std::string path;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (ctx.progress) ctx.progress(dataName, i, items.size());
    const ItemEntry& entry = *items[i].entry;
    BuildReport(entry, options, reports.database, report);
    if (!report.isItem || report.hidden) continue;
    path = entry.Directory();
    path += entry.FileName();
    const std::string verdict = ctx.seedVerdict ? ctx.seedVerdict(entry.Record()) : std::string();
    index.Add(entry, report, PathToCp1252(PagePath(path, ctx.outputDir)), verdict);
  }
  const std::pair<std::string, std::string> files[] = {
      {SearchStyleFileName(ctx.options), SearchStyleText()},
      {SearchScriptFileName(ctx.options), SearchScriptText()},
      {dataName, index.DataScript(ctx.options, reports.mailAddress)},
      {SearchPageFileName(ctx.options), SearchPageText(ctx.options)},
  };
  for (const auto& [name, text] : files) {
    const std::string file = JoinPath(ctx.outputDir, name);
    if (auto written = set.AddFile(file, text); !written) return written;
    summary.files.push_back(file);
  }
  return {};
}

}  // namespace

Result<PublishSummary> CreatePages(PublishContext& ctx) {
  // The files of the run are put in place together at its end: a run that stops or is killed
  // leaves the pages of one run, never a mix.
  FileSetWriter set(ctx.outputDir);
  PageFile page(&set);
  PublishSummary summary;

  const std::string stylesheet = JoinPath(ctx.outputDir, StylesheetFileName(ctx.options));
  if (auto written = set.AddFile(stylesheet, StylesheetText(ctx.options)); !written) {
    return written.failure();
  }
  summary.files.push_back(stylesheet);

  std::vector<ScannedItem> items;
  {
    ScanOptions scan;
    scan.recursive = ctx.scanSubdirectories;
    if (ctx.progress) scan.progressStep = [&ctx] { ctx.progress("scan", 0, 0); };
    scan.notAnItem = ctx.notAnItem;
    scan.skippedDirectory = ctx.skippedDirectory;
    scan.held = ctx.heldListing;
    if (auto scanned = ScanDirectory(ctx.report.cache, ctx.outputDir, scan, &items); !scanned) {
      return scanned.failure();
    }
  }
  SortPageItems(items);
  summary.itemCount = items.size();
  if (auto written = WriteClassPages(ctx, items, page, summary); !written) return written.failure();
  if (ctx.options.searchPage) {
    if (auto written = WriteSearchPage(ctx, items, set, summary); !written) return written.failure();
  }

  if (auto history = WriteHistoryPage(ctx, page); !history) return history.failure();
  summary.files.push_back(JoinPath(ctx.outputDir, HistoryPageFileName(ctx.options)));
  if (auto entrance = WriteEntrancePage(ctx, page); !entrance) return entrance.failure();
  summary.files.push_back(JoinPath(ctx.outputDir, EntrancePageFileName(ctx.options)));
  if (auto finished = page.Finish(); !finished) return finished.failure();
  if (auto committed = set.Commit(); !committed) return committed.failure();
  return summary;
}

}  // namespace relicor
