#include "html/CreatePages.h"

#include <array>

#include "html/HistoryPages.h"
#include "html/PageWriter.h"
#include "html/Stylesheet.h"
#include "text/Path.h"
#include "text/Stri.h"

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

// The list entries of each page class. An item that is not on a page would be reported on every
// page without writing or counting anything, so only the members of a page are reported.
std::array<std::vector<std::size_t>, kClassCount> PageMembers(const ItemCache& cache,
                                                              const std::vector<ScannedItem>& items) {
  std::array<std::vector<std::size_t>, kClassCount> members;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const ItemEntry* entry = cache.Find(items[i].path);
    if (entry == nullptr) continue;
    if (const int pageClass = PageClassOfItem(entry->record); pageClass != 0) {
      members[static_cast<std::size_t>(pageClass)].push_back(i);
    }
  }
  return members;
}

}  // namespace

Result<PublishSummary> CreatePages(PublishContext& ctx) {
  ReportContext& report = ctx.report;
  PageState& state = report.page;
  BriefModeGuard briefGuard(state);
  PageFile page(report.sink);
  PublishSummary summary;

  const std::string stylesheet = JoinPath(ctx.outputDir, StylesheetFileName(ctx.options));
  if (auto written = WriteStylesheet(ctx.outputDir, ctx.options); !written) return MakeError(written.error());
  summary.files.push_back(stylesheet);

  std::vector<ScannedItem> items;
  {
    ScanOptions scan;
    scan.recursive = ctx.scanSubdirectories;
    if (ctx.progress) scan.progressStep = [&ctx] { ctx.progress("scan", 0, 0); };
    scan.notAnItem = ctx.notAnItem;
    if (auto scanned = ScanDirectory(report.cache, ctx.outputDir, scan, &items); !scanned) {
      return MakeError(scanned.error());
    }
  }
  SortPageItems(items);
  summary.itemCount = items.size();
  const auto members = PageMembers(report.cache, items);

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
      for (const std::size_t i : onPage) {
        if (ctx.progress) ctx.progress(fileName, i, items.size());
        std::string directory = items[i].path;
        CutAfterLastBackslash(directory);
        if (auto reported = ReportItem(report, items[i].path, directory); !reported) {
          return MakeError(reported.error());
        }
      }
      state.briefMode = false;

      WritePageEnd(page);
      const std::string path = page.Path();
      if (auto closed = page.Close(); !closed) return MakeError(closed.error());
      summary.files.push_back(path);
    }
  }

  if (auto history = WriteHistoryPage(ctx, page); !history) return MakeError(history.error());
  summary.files.push_back(JoinPath(ctx.outputDir, HistoryPageFileName(ctx.options)));
  if (auto entrance = WriteEntrancePage(ctx, page); !entrance) return MakeError(entrance.error());
  summary.files.push_back(JoinPath(ctx.outputDir, EntrancePageFileName(ctx.options)));
  return summary;
}

}  // namespace relicor
