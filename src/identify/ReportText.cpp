#include "identify/ReportText.h"

namespace relicor {

std::string HtmlEscape(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  AppendHtmlEscaped(result, text);
  return result;
}

void AppendHtmlEscaped(std::string& out, std::string_view text) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::string_view reference;
    switch (text[i]) {
      case '&':
        reference = "&amp;";
        break;
      case '<':
        reference = "&lt;";
        break;
      case '>':
        reference = "&gt;";
        break;
      case '"':
        reference = "&quot;";
        break;
      default:
        continue;
    }
    out.append(text, start, i - start);
    out += reference;
    start = i + 1;
  }
  out.append(text, start);
}

std::string ShortHtml(std::string_view text, std::size_t capacity) {
  if (text.size() <= capacity) {
    return std::string(text);
  }
  std::string_view kept = text.substr(0, capacity);
  // A reference is at most 6 bytes ("&quot;"); look back that far for an unterminated one.
  const std::size_t amp = kept.find_last_of('&');
  if (amp != std::string_view::npos && kept.find(';', amp) == std::string_view::npos &&
      kept.size() - amp < 6) {
    const std::string_view rest = text.substr(amp);
    for (const std::string_view ref : {"&amp;", "&lt;", "&gt;", "&quot;"}) {
      if (rest.substr(0, ref.size()) == ref) {
        kept = kept.substr(0, amp);
        break;
      }
    }
  }
  return std::string(kept);
}

}  // namespace relicor
