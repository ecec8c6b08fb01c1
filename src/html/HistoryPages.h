#pragma once
// The history page (what went out of the sent directory in the last two months, and the members
// ranked by the items they sent in) and the entrance page (group bar, number of items, new
// arrivals and the clan's rules).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "html/PageWriter.h"
#include "html/PublishContext.h"
#include "platform/Result.h"
#include "text/DateText.h"

namespace relicor {

// Items sent on day numbers 0 to 60 are listed.
inline constexpr int kHistoryDays = 61;
inline constexpr std::size_t kRuleLength = 71;  // underscores of the entrance page's rules

// The clan's rules for the entrance page, looked for in the pool directory, then in the program
// directory; a file larger than kMaxRulesFileBytes is left unread.
inline constexpr std::string_view kRulesFileName = "rules.txt";
inline constexpr std::size_t kMaxRulesFileBytes = std::size_t{1} << 20;

// prefix + "-IPH.htm" and prefix + "-IP2.htm".
std::string HistoryPageFileName(const HtmlOptionValues& options);
std::string EntrancePageFileName(const HtmlOptionValues& options);

// Start time minus the sending date, rounded to whole days (a half to the even number).
double HistoryDayNumber(DateTime startTime, DateTime sentAt);

struct SenderCount {
  std::string name;
  std::int32_t count = 0;
};

// For each member, the number of `senderNames` equal to it (letter case included); the members
// with at least one, highest count first, equal counts in member-list order.
std::vector<SenderCount> RankSenders(const std::vector<std::string>& members,
                                     const std::vector<std::string>& senderNames);

// The lines of a text file: CR LF, a lone CR or a lone LF ends a line; a last line without an
// end counts, an end at the very end adds no empty line.
std::vector<std::string> SplitTextLines(std::string_view text);

// Writes the history page from the items directly in the sent directory. An error (an item that
// cannot be read, a page that cannot be written) names the file.
Status WriteHistoryPage(PublishContext& ctx, PageFile& page);

// Writes the entrance page with the counters of the class pages. Without a rules.txt in the pool
// directory or the program directory the information block is left out.
Status WriteEntrancePage(PublishContext& ctx, PageFile& page);

}  // namespace relicor
