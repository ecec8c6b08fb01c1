#include "platform/Ini.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "text/ByteText.h"

namespace relicor {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view UpToLineBreak(std::string_view text) {
  return text.substr(0, text.find_first_of("\r\n"));
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

namespace {

// What a line is, and where its name and value lie in it.
struct LineParts {
  std::uint8_t kind = 0;  // 0 other, 1 section, 2 key (Ini::LineKind)
  std::string_view name;
  std::string_view value;
};

LineParts ParseLine(std::string_view text, bool inSection) {
  LineParts parts;
  const std::string_view trimmed = Trim(text);
  if (trimmed.empty() || trimmed.front() == ';') return parts;
  if (trimmed.front() == '[') {
    const auto close = trimmed.find(']');
    if (close == std::string_view::npos) return parts;
    parts.kind = 1;
    parts.name = Trim(trimmed.substr(1, close - 1));
    return parts;
  }
  const auto equals = trimmed.find('=');
  if (!inSection || equals == std::string_view::npos) return parts;
  const std::string_view name = Trim(trimmed.substr(0, equals));
  if (name.empty()) return parts;
  parts.kind = 2;
  parts.name = name;
  parts.value = Trim(trimmed.substr(equals + 1));
  return parts;
}

}  // namespace

namespace {

// Where the line that starts at `from` ends: the first CR or LF from there on, or npos.
std::size_t FindLineEnd(std::string_view text, std::size_t from) {
  if (from >= text.size()) return std::string_view::npos;
  const char* const start = text.data() + from;
  const std::size_t rest = text.size() - from;
  const void* const lineFeed = std::memchr(start, '\n', rest);
  const std::size_t before =
      lineFeed != nullptr ? static_cast<std::size_t>(static_cast<const char*>(lineFeed) - start) : rest;
  // A CR before the LF ends the line there.
  if (const void* const cr = std::memchr(start, '\r', before); cr != nullptr) {
    return from + static_cast<std::size_t>(static_cast<const char*>(cr) - start);
  }
  return lineFeed != nullptr ? from + before : std::string_view::npos;
}

// How many LF the text holds.
std::size_t CountLineFeeds(std::string_view text) {
  std::size_t count = 0;
  for (const char* at = text.data();
       const void* found = std::memchr(at, '\n', text.size() - static_cast<std::size_t>(at - text.data()));) {
    ++count;
    at = static_cast<const char*>(found) + 1;
  }
  return count;
}

}  // namespace

Ini Ini::Parse(std::string_view text) {
  Ini ini;
  ini.text_ = std::string(text);
  const std::string_view all = ini.text_;
  // A line per line end at most, and one after the last.
  ini.lines_.reserve(CountLineFeeds(all) + 1);
  bool inSection = false;
  std::size_t pos = 0;
  while (pos < all.size()) {
    const auto end = FindLineEnd(all, pos);
    const std::size_t lineEnd = end == std::string_view::npos ? all.size() : end;
    const LineParts parts = ParseLine(all.substr(pos, lineEnd - pos), inSection);
    const auto kind = static_cast<LineKind>(parts.kind);
    if (kind == LineKind::kSection) inSection = true;
    if (kind == LineKind::kOther && !ini.lines_.empty() && ini.lines_.back().kind == LineKind::kOther) {
      // The run before takes this line in, with the line end between them.
      Line& run = ini.lines_.back();
      run.size = static_cast<std::uint32_t>(lineEnd - run.begin);
    } else {
      ini.lines_.push_back(
          {static_cast<std::uint32_t>(pos), static_cast<std::uint32_t>(lineEnd - pos), kind, true});
      ini.NoteParts(ini.lines_.back(), parts.name, parts.value);
    }
    ini.lines_.back().terminated = end != std::string_view::npos;
    if (end == std::string_view::npos) break;
    pos = end + 1;
    if (all[end] == '\r' && pos < all.size() && all[pos] == '\n') ++pos;
  }
  return ini;
}

std::string Ini::Serialize() const {
  std::string out;
  out.reserve(text_.size() + lines_.size() * kLineEnd.size());
  for (const Line& line : lines_) {
    const std::string_view text = TextOf(line);
    if (line.kind != LineKind::kOther) {
      out += text;
    } else {
      // Every line of a run ends with CR LF, as every line the model writes.
      std::size_t pos = 0;
      for (auto end = FindLineEnd(text, 0); end != std::string_view::npos; end = FindLineEnd(text, pos)) {
        out.append(text, pos, end - pos);
        out += kLineEnd;
        pos = end + 1;
        if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
      }
      out.append(text, pos);
    }
    if (line.terminated) out += kLineEnd;
  }
  return out;
}

std::string_view Ini::TextOf(const Line& line) const {
  return std::string_view(text_).substr(line.begin, line.size);
}

std::string_view Ini::NameOf(const Line& line) const {
  return std::string_view(text_).substr(line.nameAt, line.nameSize);
}

std::string_view Ini::ValueOf(const Line& line) const {
  return std::string_view(text_).substr(line.valueAt, line.valueSize);
}

Ini::Line Ini::NewLine(std::string_view text, LineKind kind) {
  Line line{static_cast<std::uint32_t>(text_.size()), static_cast<std::uint32_t>(text.size()), kind, true};
  text_ += text;
  const LineParts parts = ParseLine(TextOf(line), true);
  NoteParts(line, parts.name, parts.value);
  return line;
}

void Ini::NoteParts(Line& line, std::string_view name, std::string_view value) const {
  // Both are views into text_ (or empty).
  const auto placeOf = [this](std::string_view part) {
    return part.empty() ? std::uint32_t{0} : static_cast<std::uint32_t>(part.data() - text_.data());
  };
  line.nameAt = placeOf(name);
  line.nameSize = static_cast<std::uint32_t>(name.size());
  line.valueAt = placeOf(value);
  line.valueSize = static_cast<std::uint32_t>(value.size());
}

std::size_t Ini::FindSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == LineKind::kSection && EqualsNoCase(NameOf(lines_[i]), section)) return i;
  }
  return lines_.size();
}

std::size_t Ini::SectionEnd(std::size_t header) const {
  std::size_t i = header + 1;
  while (i < lines_.size() && lines_[i].kind != LineKind::kSection) ++i;
  return i;
}

std::optional<std::string> Ini::Get(std::string_view section, std::string_view key) const {
  const std::size_t header = FindSection(section);
  if (header == lines_.size()) return std::nullopt;
  const std::size_t end = SectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    if (lines_[i].kind != LineKind::kKey) continue;
    if (EqualsNoCase(NameOf(lines_[i]), key)) return std::string(ValueOf(lines_[i]));
  }
  return std::nullopt;
}

std::vector<std::pair<std::string_view, std::string_view>> Ini::KeyValues(std::string_view section) const {
  std::vector<std::pair<std::string_view, std::string_view>> keys;
  const std::size_t header = FindSection(section);
  if (header == lines_.size()) return keys;
  const std::size_t end = SectionEnd(header);
  keys.reserve(end - header - 1);
  for (std::size_t i = header + 1; i < end; ++i) {
    if (lines_[i].kind != LineKind::kKey) continue;
    keys.emplace_back(NameOf(lines_[i]), ValueOf(lines_[i]));
  }
  return keys;
}

void Ini::InsertLine(std::size_t at, Line line) {
  // The line before a new one needs a line end of its own.
  if (at > 0) lines_[at - 1].terminated = true;
  line.terminated = true;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), line);
}

void Ini::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string_view cleanValue = UpToLineBreak(value);
  const std::string_view cleanKey = Trim(UpToLineBreak(key));
  std::size_t header = FindSection(section);
  if (header == lines_.size()) {
    const std::string name(Trim(UpToLineBreak(section)));
    InsertLine(lines_.size(), NewLine("[" + name + "]", LineKind::kSection));
  }
  const std::size_t end = SectionEnd(header);
  std::size_t insertAt = header + 1;
  for (std::size_t i = header + 1; i < end; ++i) {
    if (lines_[i].kind != LineKind::kKey) continue;
    const std::string name(NameOf(lines_[i]));
    if (EqualsNoCase(name, cleanKey)) {
      // The key keeps the spelling it has in the file.
      const bool terminated = lines_[i].terminated;
      lines_[i] = NewLine(name + "=" + std::string(cleanValue), LineKind::kKey);
      lines_[i].terminated = terminated;
      return;
    }
    insertAt = i + 1;
  }
  InsertLine(insertAt, NewLine(std::string(cleanKey) + "=" + std::string(cleanValue), LineKind::kKey));
}

std::vector<std::string> Ini::Sections() const {
  std::vector<std::string> names;
  for (const Line& line : lines_) {
    if (line.kind != LineKind::kSection) continue;
    const std::string_view name = NameOf(line);
    bool seen = false;
    for (const std::string& known : names) seen = seen || EqualsNoCase(known, name);
    if (!seen) names.emplace_back(name);
  }
  return names;
}

std::vector<std::string> Ini::Keys(std::string_view section) const {
  std::vector<std::string> names;
  const std::size_t header = FindSection(section);
  if (header == lines_.size()) return names;
  const std::size_t end = SectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    if (lines_[i].kind == LineKind::kKey) names.emplace_back(NameOf(lines_[i]));
  }
  return names;
}

std::string ProfileText(std::string_view value) {
  return std::string(value.substr(0, kProfileTextLimit));
}

std::optional<std::int32_t> ParseProfileInteger(std::string_view text) {
  std::string hexForm;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    hexForm = "$" + std::string(text.substr(2));
    text = hexForm;
  }
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  if (text.front() == '$') {
    text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
      const int digit = HexDigit(c);
      if (digit < 0) return std::nullopt;
      value = value * 16 + static_cast<std::uint64_t>(digit);
      if (value > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    }
    // A hexadecimal value is a 32-bit pattern: $FFFFFFFF is -1.
    auto bits = static_cast<std::uint32_t>(value);
    if (negative) bits = ~bits + 1U;
    return static_cast<std::int32_t>(bits);
  }
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::string ProfileString(const std::optional<std::string>& value, std::string_view defaultValue) {
  return ProfileText(value ? std::string_view(*value) : defaultValue);
}

std::int32_t ProfileInteger(const std::optional<std::string>& value, std::int32_t defaultValue) {
  if (!value) return defaultValue;
  return ParseProfileInteger(ProfileText(*value)).value_or(defaultValue);
}

bool ProfileBool(const std::optional<std::string>& value, bool defaultValue) {
  return ProfileInteger(value, defaultValue ? 1 : 0) != 0;
}

std::string ProfileBoolText(bool value) {
  return value ? "1" : "0";
}

}  // namespace relicor
