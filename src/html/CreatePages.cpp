#include "html/CreatePages.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

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

// The list entries of one page class, in page order, found in the page classes of the entries
// (0: on no page) as the page is made, with the two after the current one: the list of classes
// takes a byte per entry, where lists of the entries of each class would take four. An item that
// is not on a page would be reported on every page without writing or counting anything, so only
// the members of a page are reported.
class PageMembers {
 public:
  PageMembers(const std::vector<std::uint8_t>& classes, int pageClass)
      : classes_(classes), pageClass_(static_cast<std::uint8_t>(pageClass)) {
    for (std::size_t k = 0; k < ahead_.size(); ++k) ahead_[k] = Find(k == 0 ? 0 : ahead_[k - 1] + 1);
  }
  bool AtEnd() const { return ahead_[0] >= classes_.size(); }
  // The current entry, and the one `n` places after it (the size of the list past the last).
  std::size_t Current() const { return ahead_[0]; }
  std::size_t After(std::size_t n) const { return ahead_[n]; }
  void Next() {
    for (std::size_t k = 0; k + 1 < ahead_.size(); ++k) ahead_[k] = ahead_[k + 1];
    ahead_.back() = Find(ahead_.back() + 1);
  }

 private:
  std::size_t Find(std::size_t from) const {
    if (from >= classes_.size()) return classes_.size();
    const void* found = std::memchr(classes_.data() + from, pageClass_, classes_.size() - from);
    return found != nullptr
               ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - classes_.data())
               : classes_.size();
  }

  const std::vector<std::uint8_t>& classes_;
  std::uint8_t pageClass_;
  std::array<std::size_t, 3> ahead_{};
};

// Asks the processor to fetch the cache entries of the items after the current one of a page
// while it is reported: a page's items lie scattered in memory, and each report would wait for
// them. The entry two items on is fetched, and the blocks of the entry one item on (fetched the
// time before), so that no fetch waits for another.
// Made part of the loop it serves: the compiler drops a call that only prefetches.
[[gnu::always_inline]] inline void PrefetchItemsAfter(const std::vector<ScannedItem>& items,
                                                      const PageMembers& onPage) {
#if defined(__GNUC__)
  if (onPage.After(2) < items.size()) __builtin_prefetch(items[onPage.After(2)].entry);
  if (onPage.After(1) < items.size()) {
    for (const void* block : items[onPage.After(1)].entry->Blocks()) {
      if (block != nullptr) __builtin_prefetch(block);
    }
  }
#else
  (void)items;
  (void)onPage;
#endif
}

// Gives the memory that was taken and given back (the reads of the scan, the sort's lists) back to
// the system, so that what the pages take comes on top of what the run holds, not on top of what
// it once held.
void ReturnFreedMemory() {
#if defined(__GLIBC__)
  (void)malloc_trim(0);
#endif
}

// One class page of the run: the detail or the brief page of a page class. One thread makes them
// in the order of the jobs: every detail page, then every brief page.
struct PageJob {
  bool brief = false;
  int pageClass = 0;
  std::size_t weight = 0;               // how long the page takes to make, roughly
  std::int32_t itemCount = 0;           // what the entrance page reads: the items on the page
  std::int32_t newArrivals = 0;         // and the new ones among them
  std::string file;                     // the page, once it is closed
  std::vector<std::string> debugLines;  // of a page made beside another
  Status written;                       // a failure to write the page
};

std::vector<PageJob> PageJobs(const std::vector<std::uint8_t>& classes) {
  std::array<std::size_t, kClassCount> members{};
  for (const std::uint8_t pageClass : classes) ++members[pageClass];
  std::vector<PageJob> jobs;
  for (const bool brief : {false, true}) {
    for (const int pageClass : kPageClasses) {
      PageJob job;
      job.brief = brief;
      job.pageClass = pageClass;
      // A brief row takes about two thirds of the time of a detail row; the page's frame a little.
      job.weight = members[static_cast<std::size_t>(pageClass)] * (brief ? 2 : 3) + 64;
      jobs.push_back(std::move(job));
    }
  }
  return jobs;
}

// What a thread needs to make pages: its page file and its room for the reports, kept from page
// to page.
struct PageMaker {
  PublishContext& ctx;
  const std::vector<ScannedItem>& items;
  const std::vector<std::uint8_t>& classes;  // the page class of each item
  PageFile& page;
  bool keepDebugLines = false;
  ItemReport report{};
  std::string path{};
  ReportLines heldDebugLines{};

  // Makes the page of `job` in the page file, up to its end; its debug lines are held. False when
  // `stop` said to stop between two items (the page is dropped). Progress is told when `progress`.
  bool Make(PageJob& job, bool progress, const std::function<bool()>& stop) {
    const PublishReports& reports = ctx.report;
    const ItemRowOptions rowOptions{reports.mailAddress, ctx.outputDir};
    ReportOptions options = reports.options;
    options.mode = job.brief ? ReportMode::kBriefPage : ReportMode::kPage;
    job.itemCount = 0;
    job.newArrivals = 0;
    heldDebugLines.Clear();
    const std::string fileName = ClassPageFileName(ctx.options, job.brief, job.pageClass);
    page.WritePageHead(JoinPath(ctx.outputDir, fileName), ctx.options);
    WriteNavigationBar(page, ctx.options, job.pageClass, job.brief);
    WriteClassTabs(page, ctx.options, job.pageClass, job.brief);

    // With the search page, the rows of a detail page carry the ids its results link to.
    const bool rowIds = ctx.options.searchPage && !job.brief;
    std::size_t rowsOnPage = 0;
    for (PageMembers onPage(classes, job.pageClass); !onPage.AtEnd(); onPage.Next()) {
      if (stop && stop()) {
        page.Abandon();
        return false;
      }
      const std::size_t i = onPage.Current();
      PrefetchItemsAfter(items, onPage);
      if (progress && ctx.progress) ctx.progress(fileName, i, items.size());
      // Every listed item was loaded by the scan, and the cache keeps it for the whole run.
      const ItemEntry& entry = *items[i].entry;
      BuildReport(entry, options, reports.database, report);
      if (!report.isItem) continue;
      ++job.itemCount;
      if (report.isNew) ++job.newArrivals;
      path = entry.Directory();
      path += entry.FileName();
      const bool hasRows = !report.hidden;
      if (hasRows) ++rowsOnPage;
      AppendItemRows(page.Text(), report, path, rowOptions,
                     rowIds && hasRows ? SearchRowId(rowsOnPage) : std::string());
      if (keepDebugLines) {
        for (const std::string_view line : report.debugLines) heldDebugLines.Add(line);
      }
      page.SpillIfLarge();
    }
    WritePageEnd(page);
    return true;
  }
};

// The class pages on this thread, one after the other, each written to its file while the next
// one is made. The debug lines of the page being made are told once the page before it is in its
// file, so that a run stopped by a page that could not be written has told none for a later page.
Status WritePagesInTurn(PageMaker& maker, std::vector<PageJob>& jobs,
                        const std::function<void(std::string_view)>& debugLine) {
  maker.keepDebugLines = static_cast<bool>(debugLine);
  for (PageJob& job : jobs) {
    (void)maker.Make(job, true, {});
    if (auto before = maker.page.Finish(); !before) return before;
    for (const std::string_view line : maker.heldDebugLines) debugLine(line);
    job.file = maker.page.Path();
    if (auto closed = maker.page.CloseBehind(); !closed) return closed;
  }
  return maker.page.Finish();
}

// The jobs two threads share: each takes the next in the order of their weights, heaviest first,
// so that both end at about the same time. A page that cannot be written ends the other thread's
// pages that one thread would have made after it; those before it are still made, so that the run
// tells what one thread tells and names the same failure.
class SharedPageJobs {
 public:
  explicit SharedPageJobs(std::vector<PageJob>& jobs) : jobs_(jobs), failedAt_(jobs.size()) {
    order_.resize(jobs.size());
    for (std::size_t k = 0; k < order_.size(); ++k) order_[k] = k;
    std::stable_sort(order_.begin(), order_.end(),
                     [&jobs](std::size_t a, std::size_t b) { return jobs[a].weight > jobs[b].weight; });
  }

  // The pages one thread makes until no job is left, or `stopped` says so. The thread with
  // `progress` tells progress.
  void Work(PageMaker& maker, bool progress, const std::stop_token* stopped) {
    maker.keepDebugLines = static_cast<bool>(maker.ctx.report.debugLine);
    // A page the page file still writes is one of an earlier step of the run: its failure is the
    // run's first.
    if (auto before = maker.page.Finish(); !before) Fail(0, std::move(before));
    std::size_t closed = 0;  // the job whose page is written behind
    for (;;) {
      const std::size_t k = next_.fetch_add(1);
      if (k >= order_.size()) break;
      const std::size_t at = order_[k];
      const auto stop = [this, at, stopped] {
        return (stopped != nullptr && stopped->stop_requested()) || at > failedAt_.load();
      };
      if (stop()) continue;
      PageJob& job = jobs_[at];
      if (!maker.Make(job, progress, stop)) continue;
      job.debugLines.assign(maker.heldDebugLines.begin(), maker.heldDebugLines.end());
      job.file = maker.page.Path();
      if (auto before = maker.page.CloseBehind(); !before) Fail(closed, std::move(before));
      closed = at;
    }
    if (auto last = maker.page.Finish(); !last) Fail(closed, std::move(last));
  }

  // The first page, in the order of the jobs, that could not be written (jobs.size(): none).
  std::size_t FailedAt() const { return failedAt_.load(); }

 private:
  void Fail(std::size_t at, Status failure) {
    jobs_[at].written = std::move(failure);
    std::size_t was = failedAt_.load();
    while (at < was && !failedAt_.compare_exchange_weak(was, at)) {
    }
  }

  std::vector<PageJob>& jobs_;
  std::vector<std::size_t> order_;
  std::atomic<std::size_t> next_{0};
  std::atomic<std::size_t> failedAt_;
};

// The detail and the brief page of every page class. With a second core, two threads make them;
// what the run writes and tells is what one thread writes and tells.
Status WriteClassPages(PublishContext& ctx, const std::vector<ScannedItem>& items,
                       const std::vector<std::uint8_t>& classes, PageFile& page, PublishSummary& summary) {
  PublishReports& reports = ctx.report;
  std::vector<PageJob> jobs = PageJobs(classes);
  PageMaker maker{ctx, items, classes, page};
  Status written = [&]() -> Status {
    if (ReadAheadThreads(items.size()) == 0) return WritePagesInTurn(maker, jobs, reports.debugLine);
    SharedPageJobs shared(jobs);
    {
      // The second thread is stopped and waited for however this thread leaves (a cancelled run).
      std::jthread beside;
      try {
        beside = std::jthread([&](const std::stop_token& stopped) {
          PageFile besidePage(page.Set());
          PageMaker besideMaker{ctx, items, classes, besidePage};
          shared.Work(besideMaker, false, &stopped);
        });
      } catch (const std::system_error&) {
        return WritePagesInTurn(maker, jobs, reports.debugLine);  // no thread to be had
      }
      shared.Work(maker, true, nullptr);
    }
    const std::size_t failedAt = shared.FailedAt();
    if (reports.debugLine) {
      for (std::size_t at = 0; at < jobs.size() && at <= failedAt; ++at) {
        for (const std::string& line : jobs[at].debugLines) reports.debugLine(line);
      }
    }
    return failedAt < jobs.size() ? jobs[failedAt].written : Status{};
  }();
  if (!written) return written;
  for (const PageJob& job : jobs) summary.files.push_back(job.file);
  PageCounts counts;
  for (const PageJob& job : jobs) {
    if (!job.brief) continue;
    counts.totalCount += job.itemCount;
    counts.newArrivals[static_cast<std::size_t>(job.pageClass)] = job.newArrivals;
  }
  reports.page = counts;
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
  std::string converted;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (ctx.progress) ctx.progress(dataName, i, items.size());
    const ItemEntry& entry = *items[i].entry;
    BuildReport(entry, options, reports.database, report);
    if (!report.isItem || report.hidden) continue;
    path = entry.Directory();
    path += entry.FileName();
    const std::string verdict = ctx.seedVerdict ? ctx.seedVerdict(entry.Record()) : std::string();
    index.Add(entry, report, PathToCp1252(PagePathView(path, ctx.outputDir), converted), verdict);
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
    scan.itemDates = ctx.itemDates;
    if (auto scanned = ScanDirectory(ctx.report.cache, ctx.outputDir, scan, &items); !scanned) {
      return scanned.failure();
    }
  }
  ReturnFreedMemory();
  const std::vector<std::uint8_t> classes =
      SortPageItemsWithClasses(items, ReadAheadThreads(items.size()) > 0);
  ReturnFreedMemory();
  summary.itemCount = items.size();
  if (auto written = WriteClassPages(ctx, items, classes, page, summary); !written) return written.failure();
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
