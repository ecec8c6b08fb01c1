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
  ++count_;

  // The rows of the class page without the by line and the closing line.
  std::size_t lineCount = report.lines.size();
  if (lineCount > 0 && report.lines[lineCount - 1] == kRowsEnd) --lineCount;
  if (lineCount > 0 && report.lines[lineCount - 1].substr(0, kByLineStart.size()) == kByLineStart)
    --lineCount;
  bool findings = false;
  for (std::size_t i = 0; i < lineCount; ++i) findings = findings || report.lines[i].substr(0, 3) == "***";

  const int pageClass = PageClassOfItem(record);
  const std::size_t row = pageClass > 0 ? ++rowsOfPage_[static_cast<std::size_t>(pageClass)] : 0;
  classes_[record.ItemClass()] = true;

  // [name, class, quality, price, page class, [lines], verdict, findings
  std::string head = "[";
  AppendNumber(head, names_.Index(record.Name()));
  head += ',';
  AppendNumber(head, record.ItemClass());
  head += ',';
  AppendNumber(head, SearchQuality(record));
  head += ',';
  AppendNumber(head, record.Price());
  head += ',';
  AppendNumber(head, pageClass);
  head += ",[";
  for (std::size_t i = 0; i < lineCount; ++i) {
    if (i > 0) head += ',';
    AppendNumber(head, lines_.Index(report.lines[i]));
  }
  head += "],";
  AppendNumber(head, verdict.empty() ? -1 : static_cast<std::int64_t>(verdicts_.Index(verdict)));
  head += findings ? ",1" : ",0";

  const auto [found, added] = entryOfKey_.try_emplace(head, entries_.size());
  if (added) entries_.push_back({std::move(head), 0, {}});
  Entry& group = entries_[found->second];

  const std::size_t slash = pagePath.rfind(kPathSeparator);
  const std::string_view directory =
      slash == std::string_view::npos ? std::string_view() : pagePath.substr(0, slash);
  const std::string_view fileName = slash == std::string_view::npos ? pagePath : pagePath.substr(slash + 1);
  const std::int64_t addedDay = DayNumber(meta.addedItem);
  if (group.copies.empty() || addedDay > group.newest) group.newest = addedDay;
  // sender, added, points, directory, file, row number on the class page
  std::string& out = group.copies;
  if (!out.empty()) out += ',';
  AppendNumber(out, senders_.Index(meta.senderName));
  out += ',';
  AppendNumber(out, addedDay);
  out += ',';
  AppendNumber(out, meta.points4Item ? DayNumber(meta.points4ItemAt) : 0);
  out += ',';
  AppendNumber(out, directories_.Index(directory));
  out += ',';
  AppendScriptString(out, fileName);
  out += ',';
  AppendNumber(out, static_cast<std::int64_t>(row));
}

std::string SearchIndex::DataScript(const HtmlOptionValues& options, std::string_view mailAddress) const {
  std::string json;
  json.reserve(std::size_t{1} << 20);
  json += "{\"count\":";
  AppendNumber(json, static_cast<std::int64_t>(count_));
  json += ",\"mail\":";
  AppendScriptString(json, mailAddress);
  json += ",\"pages\":{";
  bool first = true;
  for (const int pageClass : kPageClasses) {
    if (!first) json += ',';
    first = false;
    json += '"';
    AppendNumber(json, pageClass);
    json += "\":";
    AppendScriptString(json, ClassPageFileName(options, false, pageClass));
  }
  json += "},\"classes\":{";
  first = true;
  for (std::size_t code = 0; code < classes_.size(); ++code) {
    if (!classes_[code]) continue;
    if (!first) json += ',';
    first = false;
    json += '"';
    AppendNumber(json, static_cast<std::int64_t>(code));
    json += "\":";
    const std::string_view name =
        code < static_cast<std::size_t>(kClassCount) ? ClassName(static_cast<int>(code)) : "";
    AppendScriptString(json, name.empty() ? std::string_view("Other") : name);
  }
  json += "},\"names\":";
  names_.AppendTo(json);
  json += ",\"lines\":";
  lines_.AppendTo(json);
  json += ",\"senders\":";
  senders_.AppendTo(json);
  json += ",\"dirs\":";
  directories_.AppendTo(json);
  json += ",\"verdicts\":";
  verdicts_.AppendTo(json);
  // [name, class, quality, price, page class, [lines], verdict, findings, newest, [copies]]
  json += ",\"entries\":[";
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (i > 0) json += ',';
    const Entry& entry = entries_[i];
    json += entry.head;
    json += ',';
    AppendNumber(json, entry.newest);
    json += ",[";
    json += entry.copies;
    json += "]]";
  }
  json += "]}";

  // The JSON goes into a string literal in single quotes: it holds no quote of that kind and no
  // line end (AppendScriptString wrote every one as \uXXXX), so only its backslashes are doubled.
  std::string out;
  out.reserve(json.size() + json.size() / 8 + 256);
  AppendLine(out, "// The items of the pool for the search page, written by the publishing run.");
  out += "var RELICOR_SEARCH = JSON.parse('";
  for (const char c : json) {
    if (c == '\\') out += '\\';
    out += c;
  }
  AppendLine(out, "');");
  return out;
}

// Percent-encoded, a prefix holding "#", "?", "%", a blank or a colon still names the file
// instead of starting a fragment, a query or a scheme.
std::string FileNameUrl(std::string_view utf8Name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string url;
  url.reserve(utf8Name.size());
  for (const char c : utf8Name) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                       (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
                       byte == '~';
    if (plain) {
      url += c;
    } else {
      url += '%';
      url += kHex[byte >> 4];
      url += kHex[byte & 0x0F];
    }
  }
  return url;
}

std::string SearchPageText(const HtmlOptionValues& options) {
  const std::string p = OutputPrefix(options, false);
  const auto attr = [](const std::string& fileName) {
    return HtmlEscape(FileNameUrl(Cp1252ToUtf8(fileName)));
  };
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
