#pragma once
// The item report: what one ITM file's item is, in lines (header, verdicts, effects, bookkeeping,
// origin, price and name checks), with the findings it raised and the status they leave. It is a
// value: BuildReport computes it from a cache entry, and small renderers write it where it goes
// (the output list, the text export, the rows of a page). In page mode it holds the lines of the
// item's rows, in the detail or the brief form.

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "item/ItemClasses.h"
#include "platform/Clock.h"
#include "pool/ItemCache.h"
#include "validate/Database.h"
#include "validate/Findings.h"

namespace relicor {

// An item added less than this many days before the start of the run is new.
inline constexpr double kNewItemDays = 14.0;

// The lines of a report, kept in one text with the end of each line: adding a line allocates
// nothing once the text and the list of ends have room for it, and a report that is built again
// into the same value keeps that room.
class ReportLines {
 public:
  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;
    Iterator() = default;
    Iterator(const ReportLines* lines, std::size_t index) : lines_(lines), index_(index) {}
    std::string_view operator*() const { return (*lines_)[index_]; }
    Iterator& operator++() {
      ++index_;
      return *this;
    }
    Iterator operator++(int) {
      Iterator before = *this;
      ++index_;
      return before;
    }
    friend bool operator==(const Iterator&, const Iterator&) = default;

   private:
    const ReportLines* lines_ = nullptr;
    std::size_t index_ = 0;
  };

  void Add(std::string_view line) {
    text_ += line;
    ends_.push_back(text_.size());
  }
  // Adds one line made of `parts`, one after the other, written straight into the lines' text.
  template <typename... Parts>
  requires(sizeof...(Parts) > 1 &&
           (std::convertible_to<const Parts&, std::string_view> && ...)) void Add(const Parts&... parts) {
    (text_.append(std::string_view(parts)), ...);
    ends_.push_back(text_.size());
  }
  // Empties the lines and keeps their room.
  void Clear() {
    text_.clear();
    ends_.clear();
  }
  std::size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }
  std::string_view operator[](std::size_t i) const {
    const std::size_t start = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(text_).substr(start, ends_[i] - start);
  }
  std::string_view back() const { return (*this)[size() - 1]; }
  Iterator begin() const { return {this, 0}; }
  Iterator end() const { return {this, size()}; }
  // The characters of every line together, without line ends.
  std::size_t TextSize() const { return text_.size(); }

 private:
  std::string text_;
  std::vector<std::size_t> ends_;
};

// A rule the item breaks, as the report raised it.
struct RaisedFinding {
  std::int32_t code = 0;
  std::int32_t value = 0;
  friend bool operator==(const RaisedFinding&, const RaisedFinding&) = default;
};

struct ItemReport {
  // False when the record does not start with "ITM0": the report is empty and counts nothing.
  bool isItem = false;
  ReportLines lines;
  std::vector<RaisedFinding> findings;  // in the order the report raised them
  // Green at the start; the first finding, the dupe marker and an unknown use effect set it.
  StatusColour status = StatusColour::kGreen;
  std::int32_t lastFindingCode = 0;  // a definition finding's code less kDefinitionFindingOffset
  // Diagnostic lines for the debug log (a name or a price that does not match the computed one).
  ReportLines debugLines;
  // The stored name in capitals, as the header and the page's name cell show it.
  std::string name;
  // Added less than kNewItemDays before the start of the run.
  bool isNew = false;
  // Page mode: the path names a HIDDEN directory or file; the item is counted but has no rows.
  bool hidden = false;
  // The seed verdict line, added by a caller that asks for it (the report itself never checks
  // the seed); empty otherwise.
  std::string verdict;

  // Empties the report for the next item and keeps the room of its texts.
  void Clear();
};

enum class ReportMode : std::uint8_t {
  kText,       // the output list and the text export
  kPage,       // the rows of a detail page
  kBriefPage,  // the rows of a brief page
};

struct ReportOptions {
  ReportMode mode = ReportMode::kText;
  bool additionalInfo = false;  // "Additional Info"
  bool vkMode = false;          // "V&K-Mode"
  DateTime startTime = 0;       // start of the run; decides which items are new
  DateTime today = 0;           // for the dates of bookkeeping that cannot be written
  // The diagnostic lines (debugLines) are made: a run without a debug log needs none.
  bool debugLines = true;
  // Text mode: the "File : " line shows the item's path below this directory.
  std::string directory;
};

// The report of a cached item.
ItemReport BuildReport(const ItemEntry& entry, const ReportOptions& options, const Database& database);
// The same into `report`, which keeps the room of its texts (a run over many items).
void BuildReport(const ItemEntry& entry, const ReportOptions& options, const Database& database,
                 ItemReport& report);

// True when an item added at `addedItem` counts as new in a run started at `startTime`.
bool IsNewItem(DateTime startTime, DateTime addedItem);

}  // namespace relicor
