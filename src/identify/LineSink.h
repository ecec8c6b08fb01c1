#pragma once
// The line sink: every line of an item report goes through WriteReportLine, which appends it to
// the output list and, while their switches are on, to the text export and as a table row to the
// HTML page being written. Export and page are kept in memory (CR LF after every line); their
// owners flush them to disk between items, so a write here never fails.
//
// Besides the sink, the report has two call-outs that the session implements: the debug log
// (DebugLineSink) and the data window (ItemDumpDisplay).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "item/ItemRecord.h"

namespace relicor {

inline constexpr std::string_view kLineEnd = "\r\n";

// Labels placed in the first cell of an item's rows, indexed from 1 by the pending-labels
// counter. Only entry 1 is ever used.
inline constexpr std::size_t kLabelCount = 1;
inline constexpr std::size_t kLabelCapacity = 31;
inline constexpr std::string_view kNewLabel = "= New =";

class LineSink {
 public:
  LineSink();

  // The line sink. An empty text adds an empty line (and in HTML an empty second cell). The text
  // goes to the page as it stands: the caller escapes what it takes from files.
  void WriteReportLine(std::string_view text);

  // Output list (the GUI shows it).
  const std::vector<std::string>& OutputList() const { return outputList_; }
  void ClearOutput() { outputList_.clear(); }
  // While off, report lines do not go to the output list (a run that writes every item to a file
  // and shows none of them).
  void SetOutputList(bool on) { outputListOn_ = on; }
  bool OutputListOn() const { return outputListOn_; }

  // Text export: while on, every report line is added to the export text.
  void SetTextExport(bool on) { textExport_ = on; }
  bool TextExport() const { return textExport_; }
  const std::string& ExportText() const { return exportText_; }
  // Returns the export text written so far and empties it (for the export owner's flush).
  std::string TakeExportText();
  // Empties the export text and keeps its room for the text to come.
  void ClearExportText() { exportText_.clear(); }

  // HTML page: while on, every report line becomes a table row of two cells.
  void SetHtml(bool on) { html_ = on; }
  bool Html() const { return html_; }
  const std::string& PageText() const { return pageText_; }
  std::string TakePageText();
  // Empties the page text and keeps its room for the text to come (for the page owner's flush).
  void ClearPageText() { pageText_.clear(); }
  // Direct writes to the page (page heads, the item-name cell): with and without line end.
  void WritePageLine(std::string_view text);
  void WritePageText(std::string_view text);

  // HTML row state.
  bool FirstCellWritten() const { return firstCellWritten_; }
  void SetFirstCellWritten(bool written) { firstCellWritten_ = written; }
  int PendingLabels() const { return pendingLabels_; }
  void SetPendingLabels(int count) { pendingLabels_ = count; }
  // Label `index` (1-based); empty for an index without a label.
  std::string_view Label(int index) const;
  // Sets label `index` (1-based), keeping its first 31 characters; ignored outside the table.
  void SetLabel(int index, std::string_view text);

 private:
  void WriteHtmlRow(std::string_view text);

  std::vector<std::string> outputList_;
  bool outputListOn_ = true;
  bool textExport_ = false;
  std::string exportText_;
  bool html_ = false;
  std::string pageText_;
  bool firstCellWritten_ = false;
  int pendingLabels_ = 0;
  std::array<std::string, kLabelCount> labels_;
};

// The debug log. The session decides whether anything is written (the "Debugging File" option),
// writes its session header and deals with a file that cannot be written; the report never waits
// for an answer.
class DebugLineSink {
 public:
  virtual ~DebugLineSink() = default;
  virtual void WriteDebugLine(std::string_view text) = 0;
};

// The data window: shows the raw record of the reported item, or is hidden.
class ItemDumpDisplay {
 public:
  virtual ~ItemDumpDisplay() = default;
  virtual void ShowItemDump(const ItemRecord& record, bool decimalView) = 0;
  virtual void HideItemDump() = 0;
};

}  // namespace relicor
