#include "html/CreatePages.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <system_error>
#include <thread>

#include "html/HistoryPages.h"
#include "html/ItemRows.h"
#include "html/PageWriter.h"
#include "html/SearchPage.h"
#include "html/Stylesheet.h"
#include "pool/ItemReadAhead.h"
#include "text/ByteText.h"
#include "text/Path.h"

namespace relicor {

namespace {

// The list entries of each page class. An item that is not on a page would be reported on every
// page without writing or counting anything, so only the members of a page are reported.
using PageMemberLists = std::array<std::vector<std::uint32_t>, kClassCount>;
PageMemberLists PageMembers(const std::vector<ScannedItem>& items) {
  PageMemberLists members;
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

// What one pass over the page classes wrote and counted: the detail pages, or the brief pages.
struct PagePass {
  bool brief = false;
  PageCounts counts;                    // what the entrance page reads (the same in both passes)
  std::vector<std::string> files;       // the pages, in the order they were closed
  std::vector<std::string> debugLines;  // the debug lines of a pass made beside another
};

// The pages of one pass, each written to its file while the next one is made. The report's debug
// lines of the page being made are held until the page before it is in its file, so that a run
// stopped by a page that could not be written has written none for a later page, just as when
// every page is in its file before the next one is made (`debugLine` may be empty: they are
// dropped). Progress is told when `progress` is set. A stop asked for ends the pass between two
// items (with no error: the caller knows why).
Status WritePagePass(PublishContext& ctx, const std::vector<ScannedItem>& items,
                     const PageMemberLists& members, PageFile& page, PagePass& pass,
                     const std::function<void(std::string_view)>& debugLine, bool progress,
                     const std::stop_token* stop) {
  const PublishReports& reports = ctx.report;
  PageCounts& counts = pass.counts;
  const ItemRowOptions rowOptions{reports.mailAddress, ctx.outputDir};
  ReportOptions options = reports.options;
  options.mode = pass.brief ? ReportMode::kBriefPage : ReportMode::kPage;
  ItemReport report;  // its room is kept from item to item, as the path's
  std::string path;
  ReportLines heldDebugLines;
  counts.totalCount = 0;
  for (const int pageClass : kPageClasses) {
    std::int32_t& newArrivals = counts.newArrivals[static_cast<std::size_t>(pageClass)];
    newArrivals = 0;
    const std::string fileName = ClassPageFileName(ctx.options, pass.brief, pageClass);
    page.WritePageHead(JoinPath(ctx.outputDir, fileName), ctx.options);
    WriteNavigationBar(page, ctx.options, pageClass, pass.brief);
    WriteClassTabs(page, ctx.options, pageClass, pass.brief);

    const auto& onPage = members[static_cast<std::size_t>(pageClass)];
    // With the search page, the rows of a detail page carry the ids its results link to.
    const bool rowIds = ctx.options.searchPage && !pass.brief;
    std::size_t rowsOnPage = 0;
    for (std::size_t k = 0; k < onPage.size(); ++k) {
      if (stop != nullptr && stop->stop_requested()) return {};
      const std::size_t i = onPage[k];
      PrefetchItemsAfter(items, onPage, k);
      if (progress && ctx.progress) ctx.progress(fileName, i, items.size());
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
      if (debugLine) {
        for (const std::string_view line : report.debugLines) heldDebugLines.Add(line);
      }
      page.SpillIfLarge();
    }

    WritePageEnd(page);
    if (auto before = page.Finish(); !before) return before;
    for (const std::string_view line : heldDebugLines) debugLine(line);
    heldDebugLines.Clear();
    const std::string written = page.Path();
    if (auto closed = page.CloseBehind(); !closed) return closed;
    pass.files.push_back(written);
  }
  return page.Finish();
}

// The detail and the brief page of every page class. With a second core, the brief pages are
// made beside the detail pages; what the run writes and tells is what one thread writes and
// tells: the brief pages' debug lines follow the detail pages', and none are told when a detail
// page could not be written.
Status WriteClassPages(PublishContext& ctx, const std::vector<ScannedItem>& items, PageFile& page,
                       PublishSummary& summary) {
  PublishReports& reports = ctx.report;
  const PageMemberLists members = PageMembers(items);
  PagePass detail;
  PagePass brief;
  brief.brief = true;
  const auto oneAfterTheOther = [&]() -> Status {
    for (PagePass* pass : {&detail, &brief}) {
      if (auto written = WritePagePass(ctx, items, members, page, *pass, reports.debugLine, true, nullptr);
          !written) {
        return written;
      }
      summary.files.insert(summary.files.end(), pass->files.begin(), pass->files.end());
    }
    reports.page = brief.counts;
    return {};
  };
  if (ReadAheadThreads(items.size()) == 0) return oneAfterTheOther();
  // The brief pages on a thread of their own, which is stopped and waited for however this thread
  // leaves (a cancelled run, a page that could not be written).
  Status briefWritten;
  std::function<void(std::string_view)> keepLine;
  if (reports.debugLine) keepLine = [&brief](std::string_view line) { brief.debugLines.emplace_back(line); };
  {
    std::jthread beside;
    try {
      beside = std::jthread([&](const std::stop_token& stopped) {
        PageFile briefPage(page.Set());
        briefWritten = WritePagePass(ctx, items, members, briefPage, brief, keepLine, false, &stopped);
      });
    } catch (const std::system_error&) {
      return oneAfterTheOther();  // no thread to be had
    }
    if (auto written = WritePagePass(ctx, items, members, page, detail, reports.debugLine, true, nullptr);
        !written) {
      return written;
    }
    beside.join();
  }
  summary.files.insert(summary.files.end(), detail.files.begin(), detail.files.end());
  for (const std::string& line : brief.debugLines) reports.debugLine(line);
  if (!briefWritten) return briefWritten;
  summary.files.insert(summary.files.end(), brief.files.begin(), brief.files.end());
  reports.page = brief.counts;
  return {};
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
