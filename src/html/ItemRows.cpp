#include "html/ItemRows.h"

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
  bool firstCellWritten = true;
  bool labelPending = report.isNew;
  for (const std::string_view line : report.lines) {
    if (labelPending && !firstCellWritten) {
      page += "<TR><TD>";
      page += kNewLabel;
      AppendLine(page, "</TD>");
      firstCellWritten = true;
      labelPending = false;
    }
    if (!firstCellWritten) {
      AppendLine(page, "<TR>");
      AppendLine(page, "<TD></TD>");
    }
    firstCellWritten = false;
    page += "<TD>";
    page += line;
    AppendLine(page, "</TD>");
    AppendLine(page, "</TR>");
  }
}

}  // namespace relicor
