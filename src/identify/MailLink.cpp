#include "identify/MailLink.h"

#include <algorithm>

namespace relicor {

namespace {

constexpr std::string_view kSubjectStart = "?subject=Itempool-";
constexpr std::string_view kNameStart = "\">";
constexpr std::string_view kLinkEnd = ":</A></B></TD>";
constexpr std::size_t kNoLimit = std::string::npos / 2;

bool NeedsPercent(unsigned char c) {
  return c == '%' || c == '&' || c == '#' || c < 0x20 || c == 0x7F;
}

// The character reference HTML needs for `c`, or nothing.
std::string_view HtmlReference(unsigned char c) {
  switch (c) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '"':
      return "&quot;";
    default:
      return {};
  }
}

// The form of one byte of the shown name: itself, or its character reference.
std::string_view NameUnit(unsigned char c, char (&buffer)[4]) {
  if (const std::string_view reference = HtmlReference(c); !reference.empty()) return reference;
  buffer[0] = static_cast<char>(c);
  return std::string_view(buffer, 1);
}

// The form of one byte of the subject: %XX for what would end or split the subject, else as in
// the name.
std::string_view SubjectUnit(unsigned char c, char (&buffer)[4]) {
  constexpr std::string_view kHex = "0123456789ABCDEF";
  if (!NeedsPercent(c)) return NameUnit(c, buffer);
  buffer[0] = '%';
  buffer[1] = kHex[c >> 4];
  buffer[2] = kHex[c & 0x0F];
  return std::string_view(buffer, 3);
}

// Bytes whose form is the byte itself.
bool PlainInName(unsigned char c) {
  return c != '&' && c != '<' && c != '>' && c != '"';
}
bool PlainInSubject(unsigned char c) {
  return PlainInName(c) && !NeedsPercent(c);
}

// The forms as function objects, so that the walk over a text asks them without a call.
constexpr auto kNameUnit = [](unsigned char c, char (&buffer)[4]) { return NameUnit(c, buffer); };
constexpr auto kSubjectUnit = [](unsigned char c, char (&buffer)[4]) { return SubjectUnit(c, buffer); };
constexpr auto kPlainInName = [](unsigned char c) { return PlainInName(c); };
constexpr auto kPlainInSubject = [](unsigned char c) { return PlainInSubject(c); };

// The units of `text` (each byte's form, from `unit`) that fit into `room` characters, whole.
// A run of bytes that `plain` says stand for themselves goes in at once, as far as it fits.
template <typename Unit, typename Plain>
void AppendWholeUnits(std::string& out, std::string_view text, std::size_t room, Unit unit, Plain plain) {
  const std::size_t limit = out.size() + room;
  char buffer[4];
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = at;
    while (end < text.size() && plain(static_cast<unsigned char>(text[end]))) ++end;
    if (end > at) {
      const std::size_t fits = std::min(end - at, limit - out.size());
      out.append(text.data() + at, fits);
      if (fits < end - at) return;
      at = end;
      continue;
    }
    const std::string_view form = unit(static_cast<unsigned char>(text[at]), buffer);
    if (out.size() + form.size() > limit) return;
    out += form;
    ++at;
  }
}

}  // namespace

std::string MailSubjectText(std::string_view subject) {
  std::string out;
  out.reserve(subject.size());
  AppendWholeUnits(out, subject, kNoLimit, kSubjectUnit, kPlainInSubject);
  return out;
}

std::string MailLinkTail(std::string_view pagePath, std::string_view shownName, std::size_t capacity) {
  std::string line;
  AppendMailLinkTail(line, pagePath, shownName, capacity);
  return line;
}

void AppendMailLinkTail(std::string& out, std::string_view pagePath, std::string_view shownName,
                        std::size_t capacity) {
  const std::size_t markup = kSubjectStart.size() + kNameStart.size() + kLinkEnd.size();
  std::size_t nameSize = 0;
  for (const char c : shownName) {
    const std::string_view reference = HtmlReference(static_cast<unsigned char>(c));
    nameSize += reference.empty() ? 1 : reference.size();
  }
  out += kSubjectStart;
  if (markup + nameSize <= capacity) {
    AppendWholeUnits(out, pagePath, capacity - markup - nameSize, kSubjectUnit, kPlainInSubject);
    out += kNameStart;
    AppendWholeUnits(out, shownName, kNoLimit, kNameUnit, kPlainInName);
  } else {
    out += kNameStart;
    AppendWholeUnits(out, shownName, capacity > markup ? capacity - markup : 0, kNameUnit, kPlainInName);
  }
  out += kLinkEnd;
}

}  // namespace relicor
