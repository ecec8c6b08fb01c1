#include "identify/ItemReport.h"

#include <algorithm>

#include "identify/EffectPass.h"
#include "identify/MailLink.h"
#include "identify/ReportText.h"
#include "text/ByteText.h"
#include "text/Hex.h"
#include "text/Path.h"

namespace relicor {

namespace {

constexpr std::size_t kFileShownLength = 64;
constexpr std::string_view kDupeMarker = "*** DUPE DETECT: THIS ITEM IS A REGISTERED DUPE OR A HACK";
constexpr std::size_t kSeparatorLength = 34;

bool BelongsToPage(const ItemRecord& item, int pageClass) {
  if (pageClass == kUniquePageClass) {
    return item.IsUnique();
  }
  return !item.IsUnique() && item.ItemClass() == pageClass;
}

}  // namespace

std::string PagePath(std::string_view path, std::string_view pageRoot) {
  std::string_view root = pageRoot;
  while (root.size() > 1 && root.back() == kPathSeparator) root.remove_suffix(1);
  if (!root.empty() && path.size() > root.size() && path.substr(0, root.size()) == root &&
      (path[root.size()] == kPathSeparator || root.back() == kPathSeparator)) {
    path.remove_prefix(root.size());
    while (!path.empty() && path.front() == kPathSeparator) path.remove_prefix(1);
    return std::string(path);
  }
  return std::string(FileNamePart(path));
}

namespace {

// The row that opens an item in the page: a request link by mail that shows the item's name.
void WriteItemNameCell(ReportContext& ctx, const std::string& path, const ItemRecord& item) {
  LineSink& sink = ctx.sink;
  sink.WritePageLine("<TR>");
  sink.WritePageText("<TD NOWRAP><B><A HREF=\"mailto:");
  sink.WritePageText(ctx.options.mailAddress);
  // Path and name come from the pool: encoded and escaped, so that they cannot become markup or
  // another part of the mail.
  sink.WritePageLine(
      MailLinkTail(PathToCp1252(PagePath(path, ctx.page.pageRoot)), UpperCaseAscii(item.Name())));
  sink.SetFirstCellWritten(true);
}

// True when the upper-case form of `path` (UpperCaseDE) contains `upper`, a text of capital ASCII
// letters: only a and A give A, so comparing with ASCII letters folded is the same.
bool PathContainsUpper(std::string_view path, std::string_view upper) {
  const auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  return std::search(path.begin(), path.end(), upper.begin(), upper.end(),
                     [&](char a, char b) { return fold(a) == b; }) != path.end();
}

// The report's state before an item is loaded.
void StartReport(ReportContext& ctx) {
  ctx.findings.Reset();
  ctx.sink.ClearOutput();
  ctx.sink.SetPendingLabels(0);
}

// The report of the current item of the cache.
ReportOutcome ReportCurrentItem(ReportContext& ctx, const std::string& path, const std::string& directory) {
  LineSink& sink = ctx.sink;
  const ReportOptions& options = ctx.options;
  PageState& page = ctx.page;
  const ItemRecord item = ctx.cache.CurrentItem();
  const ItemMeta meta = ctx.cache.CurrentMeta();
  if (!item.HasSignature()) {
    return ReportOutcome::kNoSignature;
  }

  const bool html = sink.Html();
  if (html && !BelongsToPage(item, page.pageClass)) {
    return ReportOutcome::kNotOnPage;
  }

  if (ctx.dumpDisplay != nullptr) {
    if (options.dumpWindow) {
      ctx.dumpDisplay->ShowItemDump(item, options.decimalView);
    } else {
      ctx.dumpDisplay->HideItemDump();
    }
  }

  const bool isNew = IsNewItem(ctx.startTime, meta.addedItem);
  const bool hidden = html && PathContainsUpper(path, "HIDDEN");
  if (html) {
    if (!hidden) {
      WriteItemNameCell(ctx, path, item);
    }
    if (isNew) {
      sink.SetPendingLabels(1);
      if (page.pageClass >= 0 && page.pageClass < kClassCount) {
        ++page.newArrivals[static_cast<std::size_t>(page.pageClass)];
      }
    }
  }
  ++page.totalCount;
  if (hidden) {
    return ReportOutcome::kReported;
  }

  const PassOptions passOptions{options.vkMode, options.additionalInfo, html};
  EffectPass pass(item, passOptions, ctx.findings, sink, ctx.debugLog);

  if (!html) {
    const std::size_t from = directory.size() + 1;
    // The path goes into Windows-1252 text (the output list, ITMLIST.TXT).
    sink.WriteReportLine("File : " + (from < path.size()
                                          ? PathToCp1252(path.substr(from)).substr(0, kFileShownLength)
                                          : std::string()));
    sink.WriteReportLine(UpperCaseAscii(item.Name()));
    if (options.additionalInfo) {
      sink.WriteReportLine(UpperCaseAscii(item.PlainName()));
    }
  }

  pass.UniqueChecks();

  if (!item.IsIdentified() && !page.briefMode) {
    sink.WriteReportLine("unidentified");
  }

  if (!html) {
    sink.WriteReportLine("Price " + std::to_string(item.Price()));
    if (options.additionalInfo) {
      sink.WriteReportLine("PreAddInfo " + WordToHex(static_cast<std::uint16_t>(item.PreAddInfo())));
      sink.WriteReportLine("SufAddInfo " + WordToHex(static_cast<std::uint16_t>(item.SufAddInfo())));
    }
  }

  const bool shortInfo = html && PathContainsUpper(path, "SHORTINF");
  if (!page.briefMode && !shortInfo) {
    if (ctx.database.IsRegistered(item.ItemKey())) {
      sink.WriteReportLine(kDupeMarker);
      ctx.findings.status = StatusColour::kRed;
    }
    pass.EffectSection();
  }

  if (html) {
    sink.WriteReportLine("<I><FONT CLASS=\"SM\"> by " + HtmlEscape(meta.senderName) +
                         (page.briefMode && isNew ? "  =NEW=</FONT></I>" : "</FONT></I>"));
    if (!page.briefMode) {
      sink.WriteReportLine("&nbsp;");
    }
    return ReportOutcome::kReported;
  }

  const DateTime today = ctx.clock.Now();
  sink.WriteReportLine("by " + meta.senderName);
  if (meta.points4Item) {
    sink.WriteReportLine("Point4Item dated " + SafeDateText(meta.points4ItemAt, today));
  }
  sink.WriteReportLine("Added " + SafeDateText(meta.addedItem, today));

  sink.WriteReportLine(std::string(kSeparatorLength, '-'));
  pass.SourceAndLevelLines();
  pass.FinalPrice();
  pass.NameCheck();
  return ReportOutcome::kReported;
}

}  // namespace

bool IsNewItem(DateTime startTime, DateTime addedItem) {
  return startTime - addedItem < kNewItemDays;
}

Result<ReportOutcome> ReportItem(ReportContext& ctx, const std::string& path, const std::string& directory) {
  StartReport(ctx);
  Result<LoadStatus> loaded =
      ctx.sidecars != nullptr ? ctx.cache.LoadItem(path, *ctx.sidecars) : ctx.cache.LoadItem(path);
  if (!loaded) {
    return MakeError(loaded.error());
  }
  if (*loaded == LoadStatus::kNotAnItem) {
    return ReportOutcome::kNotAnItem;
  }
  return ReportCurrentItem(ctx, path, directory);
}

ReportOutcome ReportItem(ReportContext& ctx, const std::string& path, const std::string& directory,
                         const ItemEntry& cached) {
  StartReport(ctx);
  ctx.cache.MakeCurrent(cached);
  return ReportCurrentItem(ctx, path, directory);
}

}  // namespace relicor
