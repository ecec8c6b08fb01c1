#include "identify/ItemReport.h"

#include <algorithm>

#include "identify/EffectPass.h"
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
  // Path and name come from the pool: escaped, so that they cannot become markup.
  std::string link = "?subject=Itempool-";
  AppendHtmlEscaped(link, PathToCp1252(PagePath(path, ctx.page.pageRoot)));
  link += "\">";
  AppendHtmlEscaped(link, UpperCaseAscii(item.Name()));
  link += ":</A></B></TD>";
  if (link.size() <= kTextCapacity) {
    sink.WritePageLine(link);
  } else {
    sink.WritePageLine(ShortHtml(link, kTextCapacity));
  }
  sink.SetFirstCellWritten(true);
}

// True when the upper-case form of `path` (UpperCaseDE) contains `upper`, a text of capital ASCII
// letters: only a and A give A, so comparing with ASCII letters folded is the same.
bool PathContainsUpper(std::string_view path, std::string_view upper) {
  const auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  return std::search(path.begin(), path.end(), upper.begin(), upper.end(),
                     [&](char a, char b) { return fold(a) == b; }) != path.end();
}

// The same for the path of `entry`: its directory ends with a separator, which none of the words
// holds, so a word never runs from the directory into the file name.
bool EntryPathContainsUpper(const ItemEntry& entry, std::string_view upper) {
  return PathContainsUpper(entry.Directory(), upper) || PathContainsUpper(entry.FileName(), upper);
}

// "File : " and the path below `directory`, at most 64 characters of it.
std::string FileLine(const ItemEntry& entry, const std::string& directory) {
  const std::string path = entry.Path();
  const std::size_t from = directory.size() + 1;
  // The path goes into Windows-1252 text (the output list, ITMLIST.TXT).
  return "File : " +
         (from < path.size() ? PathToCp1252(path.substr(from)).substr(0, kFileShownLength) : std::string());
}

// The report's state before an item is loaded.
void StartReport(ReportContext& ctx) {
  ctx.findings.Reset();
  ctx.sink.ClearOutput();
  ctx.sink.SetPendingLabels(0);
}

// Writes the report of the current item of the cache into the line sink, as the report wrote it
// before it was a value.
ReportOutcome ReplayReport(ReportContext& ctx, const std::string& path, const std::string& directory,
                           const ItemEntry* entry) {
  LineSink& sink = ctx.sink;
  PageState& page = ctx.page;
  if (entry == nullptr || !ctx.cache.CurrentItem().HasSignature()) {
    return ReportOutcome::kNoSignature;
  }
  const ItemRecord& item = ctx.cache.CurrentItem();
  const bool html = sink.Html();
  if (html && !BelongsToPage(item, page.pageClass)) {
    return ReportOutcome::kNotOnPage;
  }
  if (ctx.dumpDisplay != nullptr) {
    if (ctx.options.dumpWindow) {
      ctx.dumpDisplay->ShowItemDump(item, ctx.options.decimalView);
    } else {
      ctx.dumpDisplay->HideItemDump();
    }
  }

  ReportOptions options = ctx.options;
  options.mode = !html ? ReportMode::kText : page.briefMode ? ReportMode::kBriefPage : ReportMode::kPage;
  options.startTime = ctx.startTime;
  options.today = ctx.clock.Now();
  options.directory = directory;
  const ItemReport report = BuildReport(*entry, options, ctx.database);
  ctx.findings.status = report.status;
  ctx.findings.lastFindingCode = report.lastFindingCode;
  if (html) {
    if (!report.hidden) {
      WriteItemNameCell(ctx, path, item);
    }
    if (report.isNew) {
      sink.SetPendingLabels(1);
      if (page.pageClass >= 0 && page.pageClass < kClassCount) {
        ++page.newArrivals[static_cast<std::size_t>(page.pageClass)];
      }
    }
  }
  ++page.totalCount;
  for (const std::string_view line : report.lines) sink.WriteReportLine(line);
  if (ctx.debugLog != nullptr) {
    for (const std::string_view line : report.debugLines) ctx.debugLog->WriteDebugLine(line);
  }
  return ReportOutcome::kReported;
}

}  // namespace

bool IsNewItem(DateTime startTime, DateTime addedItem) {
  return startTime - addedItem < kNewItemDays;
}

void ItemReport::Clear() {
  isItem = false;
  lines.Clear();
  findings.clear();
  status = StatusColour::kGreen;
  lastFindingCode = 0;
  debugLines.Clear();
  name.clear();
  isNew = false;
  hidden = false;
  verdict.clear();
}

ItemReport BuildReport(const ItemEntry& entry, const ReportOptions& options, const Database& database) {
  ItemReport report;
  BuildReport(entry, options, database, report);
  return report;
}

void BuildReport(const ItemEntry& entry, const ReportOptions& options, const Database& database,
                 ItemReport& report) {
  report.Clear();
  const ItemRecord item = entry.Record();
  if (!item.HasSignature()) {
    return;
  }
  report.isItem = true;
  const ItemMeta meta = entry.Meta();
  const bool page = options.mode != ReportMode::kText;
  const bool brief = options.mode == ReportMode::kBriefPage;
  report.isNew = IsNewItem(options.startTime, meta.addedItem);
  report.name = UpperCaseAscii(item.Name());
  report.hidden = page && EntryPathContainsUpper(entry, "HIDDEN");
  if (report.hidden) {
    return;
  }
  ReportLines& lines = report.lines;
  EffectPass pass(item, PassOptions{options.vkMode, options.additionalInfo, page}, report);

  if (!page) {
    lines.Add(FileLine(entry, options.directory));
    lines.Add(report.name);
    if (options.additionalInfo) {
      lines.Add(UpperCaseAscii(item.PlainName()));
    }
  }

  pass.UniqueChecks();

  if (!item.IsIdentified() && !brief) {
    lines.Add("unidentified");
  }

  if (!page) {
    lines.Add("Price " + std::to_string(item.Price()));
    if (options.additionalInfo) {
      lines.Add("PreAddInfo " + WordToHex(static_cast<std::uint16_t>(item.PreAddInfo())));
      lines.Add("SufAddInfo " + WordToHex(static_cast<std::uint16_t>(item.SufAddInfo())));
    }
  }

  const bool shortInfo = page && EntryPathContainsUpper(entry, "SHORTINF");
  if (!brief && !shortInfo) {
    if (database.IsRegistered(item.ItemKey())) {
      lines.Add(kDupeMarker);
      report.status = StatusColour::kRed;
    }
    pass.EffectSection();
  }

  if (page) {
    lines.Add("<I><FONT CLASS=\"SM\"> by " + HtmlEscape(meta.senderName) +
              (brief && report.isNew ? "  =NEW=</FONT></I>" : "</FONT></I>"));
    if (!brief) {
      lines.Add("&nbsp;");
    }
    return;
  }

  lines.Add("by " + meta.senderName);
  if (meta.points4Item) {
    lines.Add("Point4Item dated " + SafeDateText(meta.points4ItemAt, options.today));
  }
  lines.Add("Added " + SafeDateText(meta.addedItem, options.today));

  lines.Add(std::string(kSeparatorLength, '-'));
  pass.SourceAndLevelLines();
  pass.FinalPrice();
  pass.NameCheck();
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
  return ReplayReport(ctx, path, directory, ctx.cache.CurrentEntry());
}

ReportOutcome ReportItem(ReportContext& ctx, const std::string& path, const std::string& directory,
                         const ItemEntry& cached) {
  StartReport(ctx);
  ctx.cache.MakeCurrent(cached);
  return ReplayReport(ctx, path, directory, &cached);
}

}  // namespace relicor
