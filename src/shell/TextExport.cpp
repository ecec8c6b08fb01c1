#include "shell/TextExport.h"

namespace relicor {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// Appends `line` with every control byte written as '?'.
void AppendOneLine(std::string& text, std::string_view line) {
  const std::size_t start = text.size();
  text += line;
  for (std::size_t i = start; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x20 || byte == 0x7F) text[i] = '?';
  }
}

}  // namespace

void AppendExportText(std::string& text, const ItemReport& report) {
  bool first = true;
  for (const std::string_view line : report.lines) {
    if (first) {
      AppendOneLine(text, line);
      first = false;
    } else {
      text += line;
    }
    text += kCrLf;
  }
  if (!report.verdict.empty()) {
    text += report.verdict;
    text += kCrLf;
  }
}

}  // namespace relicor
