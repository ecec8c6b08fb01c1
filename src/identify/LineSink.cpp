#include "identify/LineSink.h"

#include <utility>

namespace relicor {

LineSink::LineSink() {
  SetLabel(1, kNewLabel);
}

void LineSink::WriteReportLine(std::string_view text) {
  if (outputListOn_) outputList_.emplace_back(text);
  if (textExport_) {
    exportText_ += text;
    exportText_ += kLineEnd;
  }
  if (html_) {
    WriteHtmlRow(text);
  }
}

void LineSink::WriteHtmlRow(std::string_view text) {
  if (pendingLabels_ > 0 && !firstCellWritten_) {
    pageText_ += "<TR><TD>";
    pageText_ += Label(pendingLabels_);
    WritePageLine("</TD>");
    firstCellWritten_ = true;
    --pendingLabels_;
  }
  if (!firstCellWritten_) {
    WritePageLine("<TR>");
    WritePageLine("<TD></TD>");
  }
  firstCellWritten_ = false;
  pageText_ += "<TD>";
  pageText_ += text;
  WritePageLine("</TD>");
  WritePageLine("</TR>");
}

std::string LineSink::TakeExportText() {
  return std::exchange(exportText_, std::string());
}

std::string LineSink::TakePageText() {
  return std::exchange(pageText_, std::string());
}

void LineSink::WritePageLine(std::string_view text) {
  pageText_ += text;
  pageText_ += kLineEnd;
}

void LineSink::WritePageText(std::string_view text) {
  pageText_ += text;
}

std::string_view LineSink::Label(int index) const {
  if (index < 1 || static_cast<std::size_t>(index) > kLabelCount) {
    return {};
  }
  return labels_[static_cast<std::size_t>(index) - 1];
}

void LineSink::SetLabel(int index, std::string_view text) {
  if (index < 1 || static_cast<std::size_t>(index) > kLabelCount) {
    return;
  }
  labels_[static_cast<std::size_t>(index) - 1] = std::string(text.substr(0, kLabelCapacity));
}

}  // namespace relicor
