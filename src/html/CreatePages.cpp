#include "html/CreatePages.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "html/HistoryPages.h"
#include "html/PageWriter.h"
#include "html/Stylesheet.h"
#include "text/ByteText.h"
#include "text/Path.h"

namespace relicor {

namespace {

// Brief mode is off whenever the run leaves, however it leaves.
class BriefModeGuard {
 public:
  explicit BriefModeGuard(PageState& page) : page_(page) {}
  ~BriefModeGuard() { page_.briefMode = false; }
  BriefModeGuard(const BriefModeGuard&) = delete;
  BriefModeGuard& operator=(const BriefModeGuard&) = delete;

 private:
  PageState& page_;
};

// The item reports of a publishing run go to the pages only: nobody reads thousands of them in
// the output list. The list is switched back on however the run leaves.
class OutputListPause {
 public:
  explicit OutputListPause(LineSink& sink) : sink_(sink), on_(sink.OutputListOn()) {
    sink_.SetOutputList(false);
  }
  ~OutputListPause() { sink_.SetOutputList(on_); }
  OutputListPause(const OutputListPause&) = delete;
  OutputListPause& operator=(const OutputListPause&) = delete;

 private:
  LineSink& sink_;
  bool on_;
};

// Keeps the report's debug lines of the page being made until the page before it is in its
// file, so that a run stopped by a page that could not be written has written none for a later
// page, just as when every page is in its file before the next one is made.
class HeldDebugLines final : public DebugLineSink {
 public:
  explicit HeldDebugLines(DebugLineSink& log) : log_(log) {}
  void WriteDebugLine(std::string_view text) override { lines_.emplace_back(text); }
  void Release() {
    for (const std::string& line : lines_) log_.WriteDebugLine(line);
    lines_.clear();
  }

 private:
  DebugLineSink& log_;
  std::vector<std::string> lines_;
};

// Gives the report its own debug log back however the run leaves.
class DebugLogGuard {
 public:
  explicit DebugLogGuard(ReportContext& report) : report_(report), log_(report.debugLog) {}
  ~DebugLogGuard() { report_.debugLog = log_; }
  DebugLogGuard(const DebugLogGuard&) = delete;
  DebugLogGuard& operator=(const DebugLogGuard&) = delete;

 private:
  ReportContext& report_;
  DebugLineSink* log_;
};

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
// one is made.
Status WriteClassPages(PublishContext& ctx, const std::vector<ScannedItem>& items, PageFile& page,
                       PublishSummary& summary) {
  ReportContext& report = ctx.report;
  PageState& state = report.page;
  state.pageRoot = ctx.outputDir;
  const auto members = PageMembers(items);
  std::string path;
  std::string directory;
  DebugLogGuard debugLogGuard(report);
  std::optional<HeldDebugLines> heldDebugLines;
  if (report.debugLog != nullptr) report.debugLog = &heldDebugLines.emplace(*report.debugLog);

  for (const bool brief : {false, true}) {
    state.totalCount = 0;
    for (const int pageClass : kPageClasses) {
      state.newArrivals[static_cast<std::size_t>(pageClass)] = 0;
      state.pageClass = pageClass;
      const std::string fileName = ClassPageFileName(ctx.options, brief, pageClass);
      page.WritePageHead(JoinPath(ctx.outputDir, fileName), ctx.options);
      WriteNavigationBar(page, ctx.options, pageClass, brief);
      WriteClassTabs(page, ctx.options, pageClass, brief);

      state.briefMode = brief;
      const auto& onPage = members[static_cast<std::size_t>(pageClass)];
      for (std::size_t k = 0; k < onPage.size(); ++k) {
        const std::size_t i = onPage[k];
        PrefetchItemsAfter(items, onPage, k);
        if (ctx.progress) ctx.progress(fileName, i, items.size());
        const ItemEntry& entry = *items[i].entry;
        path = entry.Directory();  // the buffers' room is kept from item to item
        path += entry.FileName();
        directory = path;
        CutAfterLastBackslash(directory);
        // Every listed item was loaded by the scan, and the cache keeps it for the whole run.
        (void)ReportItem(report, path, directory, entry);
        page.SpillIfLarge();
      }
      state.briefMode = false;

      WritePageEnd(page);
      if (auto before = page.Finish(); !before) return before;
      if (heldDebugLines) heldDebugLines->Release();
      const std::string written = page.Path();
      if (auto closed = page.CloseBehind(); !closed) return closed;
      summary.files.push_back(written);
    }
  }
  return page.Finish();
}

}  // namespace

Result<PublishSummary> CreatePages(PublishContext& ctx) {
  ReportContext& report = ctx.report;
  PageState& state = report.page;
  BriefModeGuard briefGuard(state);
  OutputListPause outputListPause(report.sink);
  // The files of the run are put in place together at its end: a run that stops or is killed
  // leaves the pages of one run, never a mix.
  FileSetWriter set(ctx.outputDir);
  PageFile page(report.sink, &set);
  PublishSummary summary;

  const std::string stylesheet = JoinPath(ctx.outputDir, StylesheetFileName(ctx.options));
  if (auto written = set.AddFile(stylesheet, StylesheetText(ctx.options)); !written) {
    return MakeError(written.error());
  }
  summary.files.push_back(stylesheet);

  std::vector<ScannedItem> items;
  {
    ScanOptions scan;
    scan.recursive = ctx.scanSubdirectories;
    if (ctx.progress) scan.progressStep = [&ctx] { ctx.progress("scan", 0, 0); };
    scan.notAnItem = ctx.notAnItem;
    scan.skippedDirectory = ctx.skippedDirectory;
    if (auto scanned = ScanDirectory(report.cache, ctx.outputDir, scan, &items); !scanned) {
      return MakeError(scanned.error());
    }
  }
  SortPageItems(items);
  summary.itemCount = items.size();
  if (auto written = WriteClassPages(ctx, items, page, summary); !written) return MakeError(written.error());

  if (auto history = WriteHistoryPage(ctx, page); !history) return MakeError(history.error());
  summary.files.push_back(JoinPath(ctx.outputDir, HistoryPageFileName(ctx.options)));
  if (auto entrance = WriteEntrancePage(ctx, page); !entrance) return MakeError(entrance.error());
  summary.files.push_back(JoinPath(ctx.outputDir, EntrancePageFileName(ctx.options)));
  if (auto finished = page.Finish(); !finished) return MakeError(finished.error());
  if (auto committed = set.Commit(); !committed) return MakeError(committed.error());
  return summary;
}

}  // namespace relicor
