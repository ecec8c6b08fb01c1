#include "html/HistoryPages.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "html/PublishOptions.h"
#include "html/SearchPage.h"
#include "identify/ReportText.h"
#include "item/ItemClasses.h"
#include "platform/FileSystem.h"
#include "text/ByteText.h"
#include "text/Path.h"

namespace relicor {

namespace {

const std::string kRule(kRuleLength, '_');

void Progress(const PublishContext& ctx, std::string_view stage, std::size_t done, std::size_t total) {
  if (ctx.progress) ctx.progress(stage, done, total);
}

// The rules file: the pool directory's, else the program directory's; nothing when neither can
// be read. Without a pool directory only the program directory is tried. A file that is there
// but is not read (a link, which is never followed, not a regular file, too large) is told.
std::optional<std::string> ReadRulesFile(const PublishContext& ctx) {
  std::string programDir = ctx.programDir;
  EnsureTrailingBackslash(programDir);
  for (const std::string& path : {ctx.poolDir.empty() ? std::string() : JoinPath(ctx.poolDir, kRulesFileName),
                                  programDir + std::string(kRulesFileName)}) {
    if (path.empty()) continue;
    auto text = ReadSmallFileNoFollow(path, kMaxRulesFileBytes);
    if (text && *text) return std::move(**text);
    if (!text && ctx.warn) ctx.warn(text.error() + ": the rules are not read from it");
  }
  return std::nullopt;
}

}  // namespace

std::string HistoryPageFileName(const HtmlOptionValues& options) {
  return OutputPrefix(options, false) + "-IPH.htm";
}

std::string EntrancePageFileName(const HtmlOptionValues& options) {
  return OutputPrefix(options, false) + "-IP2.htm";
}

double HistoryDayNumber(DateTime startTime, DateTime sentAt) {
  // nearbyint rounds halves to the even number in the default rounding mode.
  return std::nearbyint(startTime - sentAt);
}

std::vector<SenderCount> RankSenders(const std::vector<std::string>& members,
                                     const std::vector<std::string>& senderNames) {
  std::vector<SenderCount> ranking;
  for (const std::string& member : members) {
    const auto count = std::count(senderNames.begin(), senderNames.end(), member);
    if (count > 0) ranking.push_back({member, static_cast<std::int32_t>(count)});
  }
  std::stable_sort(ranking.begin(), ranking.end(),
                   [](const SenderCount& a, const SenderCount& b) { return a.count > b.count; });
  return ranking;
}

std::vector<std::string> SplitTextLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

Status WriteHistoryPage(PublishContext& ctx, PageFile& page) {
  ItemCache& cache = ctx.report.cache;
  const HtmlOptionValues& options = ctx.options;

  // A sent directory that is not set or does not exist gives an empty history.
  std::vector<ScannedItem> items;
  if (DirectoryExists(ctx.sentDir)) {
    ScanOptions scan;
    scan.recursive = false;
    if (ctx.progress) scan.progressStep = [&ctx] { ctx.progress("scan", 0, 0); };
    scan.notAnItem = ctx.notAnItem;
    scan.skippedDirectory = ctx.skippedDirectory;
    scan.itemDates = ctx.itemDates;
    if (auto scanned = ScanDirectory(cache, ctx.sentDir, scan, &items); !scanned) return scanned;
  }
  SortPageItems(items);

  // The bookkeeping of every listed item (each was loaded by the scan).
  std::vector<const ItemEntry*> entries;
  entries.reserve(items.size());
  for (const ScannedItem& item : items) entries.push_back(item.entry);

  const std::string fileName = HistoryPageFileName(options);
  page.WritePageHead(JoinPath(ctx.outputDir, fileName), options);
  page.WriteLine("<CENTER>&nbsp;<BR>");
  page.WriteLine("<B CLASS=\"INV1\">&nbsp;&nbsp;Item-Pool History&nbsp;&nbsp;</B><BR>");
  page.WriteLine("&nbsp;<BR></CENTER>");

  std::vector<std::string> senders;
  senders.reserve(entries.size());
  for (const ItemEntry* entry : entries) senders.push_back(entry->Meta().senderName);
  page.WriteLine("<CENTER><TABLE COLS=2 WIDTH=\"60%\" >");
  page.WriteLine("&nbsp;<BR>");
  for (const SenderCount& sender : RankSenders(ctx.members, senders)) {
    page.WriteLine("<TR>");
    page.WriteLine("<TD><B>" + HtmlEscape(sender.name) + "</B></TD>");
    page.WriteLine("<TD><B>" + std::to_string(sender.count) + "</B></TD>");
    page.WriteLine("</TR>");
  }

  page.WriteLine("</TABLE></CENTER>");
  page.WriteLine("<CENTER><TABLE COLS=4 WIDTH=\"90%\" >");
  page.WriteLine("&nbsp;<BR>");
  page.WriteLine("<TR>");
  page.WriteLine("<TD><B>Am</B></TD>");
  page.WriteLine("<TD><B>Item</B></TD>");
  page.WriteLine("<TD><B>von</B></TD>");
  page.WriteLine("<TD><B>an</B></TD>");
  page.WriteLine("</TR>");
  page.WriteLine("&nbsp;<BR>");

  // Newest first; within one day in list order. Each item's day is worked out once.
  std::vector<std::vector<std::size_t>> byDay(kHistoryDays);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    Progress(ctx, fileName, i, entries.size());
    const double day = HistoryDayNumber(ctx.report.options.startTime, entries[i]->Meta().sentAt);
    if (day >= 0 && day < kHistoryDays) byDay[static_cast<std::size_t>(day)].push_back(i);
  }
  const DateTime today = ctx.report.clock.Now();
  for (const auto& day : byDay) {
    for (const std::size_t i : day) {
      const ItemMeta meta = entries[i]->Meta();
      page.WriteLine("<TR><TD>" + SafeDateText(meta.sentAt, today) + "</TD>");
      page.WriteLine("<TD>" + HtmlEscape(UpperCaseAscii(entries[i]->Record().Name())) + "</TD>");
      page.WriteLine("<TD>" + HtmlEscape(meta.senderName) + "</TD>");
      page.WriteLine("<TD>" + HtmlEscape(meta.sendTo) + "</TD></TR>");
    }
  }
  // The page ends here, without closing body and html tags.
  page.WriteLine("</TABLE></CENTER>");
  return page.Close();
}

Status WriteEntrancePage(PublishContext& ctx, PageFile& page) {
  const HtmlOptionValues& options = ctx.options;
  const std::string ps = OutputPrefix(options, true);

  page.WritePageHead(JoinPath(ctx.outputDir, EntrancePageFileName(options)), options);
  page.WriteLine("<CENTER><TABLE WIDTH=\"75%\" >");
  page.WriteLine("<TR>");
  page.WriteLine("<TD NOWRAP CLASS=\"INV1\">");
  page.WriteLine("<CENTER>");
  for (const int group : kBarGroups) page.WriteLine(GroupLinkLine(ps, group));
  page.WriteLine("</CENTER>");
  page.WriteLine("</TD>");
  page.WriteLine("</TR>");
  page.WriteLine("</TABLE></CENTER>");
  if (options.searchPage) page.WriteLine(SearchLinkLine(options));
  page.WriteLine("<CENTER>&nbsp;</CENTER>");

  if (const auto rules = ReadRulesFile(ctx)) {
    const PageCounts& counters = ctx.report.page;
    const std::string now = DateTimeText(ctx.report.clock.Now()).value_or("");
    page.WriteLine("<CENTER><P>" + kRule);
    page.WriteLine("<BR>&nbsp;<BR>");
    page.WriteLine(std::to_string(counters.totalCount) + " Items sind vorhanden<BR>");
    page.WriteLine("<B> NEU EINGETROFFEN!</B><FONT CLASS=\"SM\">  (Stand " + now + ")</FONT></CENTER>");
    page.WriteLine("<CENTER><TABLE COLS=1 WIDTH=\"60%\" >");
    page.WriteLine("<TR><TD>&nbsp;<BR>");
    for (const int c : kPageClasses) {
      const std::int32_t count = counters.newArrivals[static_cast<std::size_t>(c)];
      if (count <= 0) continue;
      page.WriteLine("<FONT SIZE=-1> " + std::to_string(count) + "  " + std::string(ClassName(c)) +
                     "(s) -- </FONT>");
    }
    page.WriteLine("<BR></TD></TR>");
    page.WriteLine("</TABLE></CENTER>");
    page.WriteLine("<CENTER>" + kRule + "</CENTER>");
    page.WriteLine("<CENTER>&nbsp;</CENTER>");
    page.WriteLine("<CENTER><TABLE COLS=1 WIDTH=\"66%\" BGCOLOR=\"#000000\" >");
    // The keeper's own lines, markup included, go in as they stand.
    for (const std::string& line : SplitTextLines(*rules)) page.WriteLine("<TR><TD>" + line + "</TD></TR>");
    page.WriteLine("</TABLE></CENTER>");
  }
  // The page ends here, without closing body and html tags.
  return page.Close();
}

}  // namespace relicor
