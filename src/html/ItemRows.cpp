#include "html/ItemRows.h"

#include <cstring>

#include "identify/MailLink.h"
#include "identify/ReportText.h"
#include "text/ByteText.h"
#include "text/Path.h"

namespace relicor {

namespace {

constexpr std::string_view kCrLf = "\r\n";

void AppendLine(std::string& page, std::string_view text) {
  page += text;
  page += kCrLf;
}

// The row that opens an item: the request link by mail, with the item's name.
void AppendNameCell(std::string& page, const ItemReport& report, std::string_view path,
                    const ItemRowOptions& options, std::string_view rowId) {
  if (rowId.empty()) {
    AppendLine(page, "<TR>");
  } else {
    page += "<TR ID=\"";
    page += rowId;
    AppendLine(page, "\">");
  }
  page += "<TD NOWRAP><B><A HREF=\"mailto:";
  page += options.mailAddress;
  // Path and name come from the pool: encoded and escaped, so that they cannot become markup or
  // another part of the mail; a line too long loses the end of the subject, never the markup.
  std::string converted;
  AppendMailLinkTail(page, PathToCp1252(PagePathView(path, options.pageRoot), converted), report.name);
  page += kCrLf;
}

}  // namespace

std::string PagePath(std::string_view path, std::string_view pageRoot) {
  return std::string(PagePathView(path, pageRoot));
}

std::string_view PagePathView(std::string_view path, std::string_view pageRoot) {
  std::string_view root = pageRoot;
  while (root.size() > 1 && root.back() == kPathSeparator) root.remove_suffix(1);
  if (!root.empty() && path.size() > root.size() && path.substr(0, root.size()) == root &&
      (path[root.size()] == kPathSeparator || root.back() == kPathSeparator)) {
    path.remove_prefix(root.size());
    while (!path.empty() && path.front() == kPathSeparator) path.remove_prefix(1);
    return path;
  }
  return FileNamePart(path);
}

void AppendItemRows(std::string& page, const ItemReport& report, std::string_view path,
                    const ItemRowOptions& options, std::string_view rowId) {
  if (!report.isItem || report.hidden) return;
  AppendNameCell(page, report, path, options, rowId);
  constexpr std::string_view kLabelStart = "<TR><TD>";
  constexpr std::string_view kCellEnd = "</TD>\r\n";
  constexpr std::string_view kEmptyFirstCell = "<TR>\r\n<TD></TD>\r\n";
  constexpr std::string_view kCellStart = "<TD>";
  constexpr std::string_view kRowEnd = "</TD>\r\n</TR>\r\n";
  // The rows are written into room made for the most a line can bring: the label's cell, an empty
  // first cell and its own cell.
  constexpr std::size_t kMostPerLine = kLabelStart.size() + kNewLabel.size() + kCellEnd.size() +
                                       kEmptyFirstCell.size() + kCellStart.size() + kRowEnd.size();
  const ReportLines& lines = report.lines;
  const std::size_t start = page.size();
  page.resize(start + lines.TextSize() + lines.size() * kMostPerLine);
  char* out = page.data() + start;
  const auto put = [&out](std::string_view text) {
    std::memcpy(out, text.data(), text.size());
    out += text.size();
  };
  bool firstCellWritten = true;
  bool labelPending = report.isNew;
  for (const std::string_view line : lines) {
    if (labelPending && !firstCellWritten) {
      put(kLabelStart);
      put(kNewLabel);
      put(kCellEnd);
      firstCellWritten = true;
      labelPending = false;
    }
    if (!firstCellWritten) put(kEmptyFirstCell);
    firstCellWritten = false;
    put(kCellStart);
    put(line);
    put(kRowEnd);
  }
  page.resize(static_cast<std::size_t>(out - page.data()));
}

}  // namespace relicor
