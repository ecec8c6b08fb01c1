#include "html/SearchPage.h"

#include <cmath>

#include "html/PageWriter.h"
#include "html/PublishOptions.h"
#include "html/SearchAssets.h"
#include "identify/ReportText.h"
#include "item/ItemClasses.h"
#include "text/Cp1252.h"
#include "text/Path.h"

namespace relicor {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr char kHexDigits[] = "0123456789abcdef";

// The by line and the closing "&nbsp;" end every item's detail rows; the search page shows the
// sender and the dates from the bookkeeping itself.
constexpr std::string_view kByLineStart = "<I><FONT CLASS=\"SM\"> by ";
constexpr std::string_view kRowsEnd = "&nbsp;";

void AppendUnicodeEscape(std::string& out, std::uint32_t code) {
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out += kHexDigits[(code >> shift) & 0xF];
}

// The code point of the UTF-8 sequence at `at` (which Cp1252ToUtf8 wrote, so it is well formed),
// and moves `at` past it.
std::uint32_t NextCodePoint(std::string_view utf8, std::size_t& at) {
  const auto byte = [&](std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(utf8[i]));
  };
  const std::uint32_t first = byte(at);
  if (first < 0x80 || at + 1 >= utf8.size()) {
    ++at;
    return first;
  }
  if (first < 0xE0) {
    const std::uint32_t code = ((first & 0x1F) << 6) | (byte(at + 1) & 0x3F);
    at += 2;
    return code;
  }
  if (at + 2 >= utf8.size()) {
    at = utf8.size();
    return 0xFFFD;
  }
  const std::uint32_t code = ((first & 0x0F) << 12) | ((byte(at + 1) & 0x3F) << 6) | (byte(at + 2) & 0x3F);
  at += 3;
  return code;
}

// A number in the data: plain decimal.
void AppendNumber(std::string& out, std::int64_t value) {
  out += std::to_string(value);
}

// Day number of a date-time (whole days since 30 Dec 1899); the page writes it as dd.mm.yyyy.
std::int64_t DayNumber(DateTime t) {
  if (!std::isfinite(t) || std::fabs(t) > 3.0e6) return 0;
  return static_cast<std::int64_t>(std::floor(t));
}

void AppendLine(std::string& out, std::string_view text) {
  out += text;
  out += kCrLf;
}

// The text with its LF line ends made CR LF.
std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace

std::string SearchPageFileName(const HtmlOptionValues& options) {
  return OutputPrefix(options, false) + "-search.htm";
}

std::string SearchDataFileName(const HtmlOptionValues& options) {
  return OutputPrefix(options, false) + "-search.js";
}

std::string SearchScriptFileName(const HtmlOptionValues& options) {
  return OutputPrefix(options, false) + "-searchui.js";
}

std::string SearchStyleFileName(const HtmlOptionValues& options) {
  return OutputPrefix(options, false) + "-search.css";
}

std::string SearchRowId(std::size_t ordinal) {
  return "r" + std::to_string(ordinal);
}

void AppendScriptString(std::string& out, std::string_view text) {
  const std::string utf8 = Cp1252ToUtf8(text);
  out += '"';
  for (std::size_t at = 0; at < utf8.size();) {
    const std::uint32_t code = NextCodePoint(utf8, at);
    const bool plain = code >= 0x20 && code < 0x7F && code != '"' && code != '\\' && code != '<' &&
                       code != '>' && code != '&' && code != '\'';
    if (plain) {
      out += static_cast<char>(code);
    } else {
      AppendUnicodeEscape(out, code);
    }
  }
  out += '"';
}

int SearchQuality(const ItemRecord& record) {
  if (record.IsUnique()) return 2;
  if (record.PrefixPower() != kNoAffix || record.SuffixPower() != kNoAffix) return 1;
  return 0;
}

std::uint32_t SearchIndex::Table::Index(std::string_view text) {
  const auto [it, added] = index_.try_emplace(std::string(text), static_cast<std::uint32_t>(texts_.size()));
  if (added) texts_.emplace_back(text);
  return it->second;
}

void SearchIndex::Table::AppendTo(std::string& out) const {
  out += '[';
  for (std::size_t i = 0; i < texts_.size(); ++i) {
    if (i > 0) out += ',';
    AppendScriptString(out, texts_[i]);
  }
  out += ']';
}

void SearchIndex::Add(const ItemEntry& entry, const ItemReport& report, std::string_view pagePath,
                      std::string_view verdict) {
  if (!report.isItem || report.hidden) return;
  const ItemRecord record = entry.Record();
  const ItemMeta meta = entry.Meta();

  // The rows of the class page without the by line and the closing line.
  std::size_t lineCount = report.lines.size();
  if (lineCount > 0 && report.lines[lineCount - 1] == kRowsEnd) --lineCount;
  if (lineCount > 0 && report.lines[lineCount - 1].substr(0, kByLineStart.size()) == kByLineStart)
    --lineCount;

  const std::size_t slash = pagePath.rfind(kPathSeparator);
  const std::string_view directory =
      slash == std::string_view::npos ? std::string_view() : pagePath.substr(0, slash);
  const std::string_view fileName = slash == std::string_view::npos ? pagePath : pagePath.substr(slash + 1);

  // [name, class, quality, price, page class, [lines], sender, added, points, directory, file, verdict]
  std::string& out = items_;
  out += '[';
  AppendNumber(out, names_.Index(record.Name()));
  out += ',';
  AppendNumber(out, record.ItemClass());
  out += ',';
  AppendNumber(out, SearchQuality(record));
  out += ',';
  AppendNumber(out, record.Price());
  out += ',';
  AppendNumber(out, PageClassOfItem(record));
  out += ",[";
  for (std::size_t i = 0; i < lineCount; ++i) {
    if (i > 0) out += ',';
    AppendNumber(out, lines_.Index(report.lines[i]));
  }
  out += "],";
  AppendNumber(out, senders_.Index(meta.senderName));
  out += ',';
  AppendNumber(out, DayNumber(meta.addedItem));
  out += ',';
  AppendNumber(out, meta.points4Item ? DayNumber(meta.points4ItemAt) : 0);
  out += ',';
  AppendNumber(out, directories_.Index(directory));
  out += ',';
  AppendScriptString(out, fileName);
  out += ',';
  AppendNumber(out, verdict.empty() ? -1 : static_cast<std::int64_t>(verdicts_.Index(verdict)));
  out += "],\r\n";
  ++count_;
}

std::string SearchIndex::DataScript(const HtmlOptionValues& options, std::string_view mailAddress) const {
  std::string out;
  out.reserve(items_.size() + (std::size_t{1} << 16));
  AppendLine(out, "// The items of the pool for the search page, written by the publishing run.");
  out += "var RELICOR_SEARCH = {\r\n\"mail\":";
  AppendScriptString(out, mailAddress);
  out += ",\r\n\"pages\":{";
  bool first = true;
  for (const int pageClass : kPageClasses) {
    if (!first) out += ',';
    first = false;
    out += '"';
    AppendNumber(out, pageClass);
    out += "\":";
    AppendScriptString(out, ClassPageFileName(options, false, pageClass));
  }
  out += "},\r\n\"classes\":[";
  for (int code = 0; code < kClassCount; ++code) {
    if (code > 0) out += ',';
    AppendScriptString(out, ClassName(code));
  }
  out += "],\r\n\"names\":";
  names_.AppendTo(out);
  out += ",\r\n\"lines\":";
  lines_.AppendTo(out);
  out += ",\r\n\"senders\":";
  senders_.AppendTo(out);
  out += ",\r\n\"dirs\":";
  directories_.AppendTo(out);
  out += ",\r\n\"verdicts\":";
  verdicts_.AppendTo(out);
  out += ",\r\n\"items\":[\r\n";
  out += items_;  // each row ends with a comma, which a script array allows after its last element
  AppendLine(out, "]};");
  return out;
}

std::string SearchPageText(const HtmlOptionValues& options) {
  const std::string p = OutputPrefix(options, false);
  const auto attr = [](const std::string& fileName) { return HtmlEscape(Cp1252ToUtf8(fileName)); };
  std::string page = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta http-equiv="Content-Security-Policy" content="default-src 'none'; script-src 'self'; style-src 'self'; base-uri 'none'; form-action 'none'">
<meta name="viewport" content="width=device-width, initial-scale=1">
<meta name="referrer" content="no-referrer">
<title>Item-Pool: search</title>
<link rel="stylesheet" href="@CSS@">
<script src="@DATA@" defer></script>
<script src="@CODE@" defer></script>
</head>
<body>
<header>
<nav aria-label="Pool pages"><a href="@ENTRANCE@">ZUM EINGANG</a> <a href="@HISTORY@">HISTORY</a></nav>
<h1>Item-Pool search</h1>
</header>
<main>
<form id="controls" role="search" aria-label="Search the items">
<div class="field wide"><label for="q">Name or effect</label><input id="q" name="q" type="search" autocomplete="off" spellcheck="false" placeholder="e.g. sword of the"></div>
<div class="field"><label for="class">Class</label><select id="class" name="class"><option value="">All classes</option></select></div>
<div class="field"><label for="quality">Quality</label><select id="quality" name="quality"><option value="">All</option><option value="normal">Normal</option><option value="magic">Magic</option><option value="unique">Unique</option></select></div>
<div class="field"><label for="sort">Sort by</label><select id="sort" name="sort"><option value="name">Name</option><option value="price">Price, highest first</option><option value="price-asc">Price, lowest first</option><option value="date">Newest first</option></select></div>
<div class="field check"><input id="findings" name="findings" type="checkbox"><label for="findings">Only items with findings</label></div>
</form>
<p id="count" role="status" aria-live="polite">Loading the items&#8230;</p>
<ol id="results" aria-label="Items found"></ol>
<p><button id="more" type="button" hidden>Show more</button></p>
<noscript><p>This page needs JavaScript to search the items; the class pages list them without it.</p></noscript>
</main>
</body>
</html>
)";
  const auto put = [&page](std::string_view key, const std::string& value) {
    const std::size_t at = page.find(key);
    if (at != std::string::npos) page.replace(at, key.size(), value);
  };
  put("@CSS@", attr(SearchStyleFileName(options)));
  put("@DATA@", attr(SearchDataFileName(options)));
  put("@CODE@", attr(SearchScriptFileName(options)));
  put("@ENTRANCE@", attr(p + "-IP2.htm"));
  put("@HISTORY@", attr(p + "-IPH.htm"));
  return WithCrLf(page);
}

std::string SearchScriptText() {
  return WithCrLf(kSearchScript);
}

std::string SearchStyleText() {
  return WithCrLf(kSearchStyle);
}

std::string SearchLinkLine(const HtmlOptionValues& options) {
  return "<CENTER><A HREF=\"" + HtmlEscape(SearchPageFileName(options)) +
         "\">ITEMS SUCHEN / SEARCH</A></CENTER>";
}

}  // namespace relicor
