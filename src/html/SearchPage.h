#pragma once
// The search page: one more page beside the class pages when the "Search page" option is on. It
// lists every item of the publication (potions, scrolls and books too) and lets a member search,
// filter and sort them in the browser. Four files, all written with the rest of the run's set:
//   prefix + "-search.htm"    the page (UTF-8; a content security policy allows only its own files)
//   prefix + "-search.js"     the items, as data (pure ASCII: every other character is \uXXXX)
//   prefix + "-searchui.js"   the page's code
//   prefix + "-search.css"    its look
// The data keeps each text once (names, report lines, senders, directories, verdicts) in tables
// the items refer to by number, so a pool of 100,000 items stays a few megabytes.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "identify/ItemReport.h"
#include "item/ItemClasses.h"
#include "platform/Settings.h"
#include "pool/ItemCache.h"

namespace relicor {

std::string SearchPageFileName(const HtmlOptionValues& options);
std::string SearchDataFileName(const HtmlOptionValues& options);
std::string SearchScriptFileName(const HtmlOptionValues& options);
std::string SearchStyleFileName(const HtmlOptionValues& options);

// The id of the `ordinal`-th row group (counted from 1) on a detail class page: the search page's
// results link to it. Only items that have rows count.
std::string SearchRowId(std::size_t ordinal);

// A relative link to a file beside the page: `utf8Name` with every byte but letters, digits and
// "-._~" written as %XX (a prefix may hold "#", "?", "%", blanks or a colon).
std::string FileNameUrl(std::string_view utf8Name);

// Appends `text` (Windows-1252 bytes) as a JavaScript string literal in double quotes that holds
// only printable ASCII: quotes, backslash, < > & ', control characters and every character beyond
// ASCII (U+2028 and U+2029 among them) are written as \uXXXX, so the literal can neither end the
// string nor the script element, whatever encoding the file is read in.
void AppendScriptString(std::string& out, std::string_view text);

// The item's quality as the search page names it: 0 normal, 1 magic (a prefix or a suffix),
// 2 unique.
int SearchQuality(const ItemRecord& record);

// The items of a publication as the search page's data. Items a member cannot tell apart (same
// name, class, quality, price, report lines and verdict) are one entry with the bookkeeping and
// place of each copy. Entries keep the order of their first copy: the order of the class pages,
// so the data is in name order without sorting.
class SearchIndex {
 public:
  // Adds one item. `report` is its report in detail page mode (its lines are the rows of its class
  // page); `pagePath` its path as the pages name it (Windows-1252); `verdict` its seed verdict line
  // or empty. An item without the signature or hidden is left out, as it has no rows. Items must
  // come in the order of the class pages: the n-th item added of a page class is the n-th on its
  // page (SearchRowId(n)).
  void Add(const ItemEntry& entry, const ItemReport& report, std::string_view pagePath,
           std::string_view verdict = {});

  std::size_t size() const { return count_; }
  std::size_t EntryCount() const { return entries_.size(); }

  // The data file's text: the data as JSON, read by JSON.parse from one string literal (quicker
  // for a browser than a script literal of the same data); CR LF line ends.
  std::string DataScript(const HtmlOptionValues& options, std::string_view mailAddress) const;

 private:
  class Table {
   public:
    std::uint32_t Index(std::string_view text);
    void AppendTo(std::string& out) const;

   private:
    std::unordered_map<std::string, std::uint32_t> index_;
    std::vector<std::string> texts_;
  };

  struct Entry {
    std::string head;         // [name, class, quality, price, page class, [lines], verdict, findings
    std::int64_t newest = 0;  // the latest day a copy was added
    std::string copies;       // per copy: sender, added, points, directory, file, row number
  };

  Table names_;
  Table lines_;
  Table senders_;
  Table directories_;
  Table verdicts_;
  std::unordered_map<std::string, std::size_t> entryOfKey_;
  std::vector<Entry> entries_;
  std::array<std::size_t, kClassCount> rowsOfPage_{};
  std::array<bool, 256> classes_{};  // the item classes that occur
  std::size_t count_ = 0;
};

// The page's own text (the names of its other files in it); CR LF line ends.
std::string SearchPageText(const HtmlOptionValues& options);
// The page's code and look; CR LF line ends.
std::string SearchScriptText();
std::string SearchStyleText();

// The entrance page's link to the search page.
std::string SearchLinkLine(const HtmlOptionValues& options);

}  // namespace relicor
