#include "platform/Ini.h"

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

Ini::Line Ini::ParseLine(std::string_view text, bool inSection) {
  Line line;
  line.text = std::string(text);
  const std::string_view trimmed = Trim(text);
  if (trimmed.empty() || trimmed.front() == ';') return line;
  if (trimmed.front() == '[') {
    const auto close = trimmed.find(']');
    if (close == std::string_view::npos) return line;
    line.kind = LineKind::kSection;
    line.name = std::string(Trim(trimmed.substr(1, close - 1)));
    return line;
  }
  const auto equals = trimmed.find('=');
  if (!inSection || equals == std::string_view::npos) return line;
  const std::string_view name = Trim(trimmed.substr(0, equals));
  if (name.empty()) return line;
  line.kind = LineKind::kKey;
  line.name = std::string(name);
  line.value = std::string(Trim(trimmed.substr(equals + 1)));
  return line;
}

Ini Ini::Parse(std::string_view text) {
  Ini ini;
  bool inSection = false;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto end = text.find_first_of("\r\n", pos);
    Line line;
    if (end == std::string_view::npos) {
      line = ParseLine(text.substr(pos), inSection);
      line.terminated = false;
      pos = text.size();
    } else {
      line = ParseLine(text.substr(pos, end - pos), inSection);
      pos = end + 1;
      if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
    }
    if (line.kind == LineKind::kSection) inSection = true;
    ini.lines_.push_back(std::move(line));
  }
  return ini;
}

std::string Ini::Serialize() const {
  std::string out;
  for (const Line& line : lines_) {
    out += line.text;
    if (line.terminated) out += kLineEnd;
  }
  return out;
}

std::size_t Ini::FindSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == LineKind::kSection && EqualsNoCase(lines_[i].name, section)) return i;
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
    if (lines_[i].kind == LineKind::kKey && EqualsNoCase(lines_[i].name, key)) return lines_[i].value;
  }
  return std::nullopt;
}

void Ini::InsertLine(std::size_t at, Line line) {
  // The line before a new one needs a line end of its own.
  if (at > 0) lines_[at - 1].terminated = true;
  line.terminated = true;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

void Ini::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string_view cleanValue = UpToLineBreak(value);
  const std::string_view cleanKey = Trim(UpToLineBreak(key));
  std::size_t header = FindSection(section);
  if (header == lines_.size()) {
    Line head;
    head.kind = LineKind::kSection;
    head.name = std::string(Trim(UpToLineBreak(section)));
    head.text = "[" + head.name + "]";
    InsertLine(lines_.size(), std::move(head));
  }
  const std::size_t end = SectionEnd(header);
  std::size_t insertAt = header + 1;
  for (std::size_t i = header + 1; i < end; ++i) {
    Line& line = lines_[i];
    if (line.kind != LineKind::kKey) continue;
    if (EqualsNoCase(line.name, cleanKey)) {
      // The key keeps the spelling it has in the file.
      line.value = std::string(Trim(cleanValue));
      line.text = line.name + "=" + std::string(cleanValue);
      return;
    }
    insertAt = i + 1;
  }
  Line added;
  added.kind = LineKind::kKey;
  added.name = std::string(cleanKey);
  added.value = std::string(Trim(cleanValue));
  added.text = added.name + "=" + std::string(cleanValue);
  InsertLine(insertAt, std::move(added));
}

bool Ini::HasSection(std::string_view section) const {
  return FindSection(section) != lines_.size();
}

std::vector<std::string> Ini::Sections() const {
  std::vector<std::string> names;
  for (const Line& line : lines_) {
    if (line.kind != LineKind::kSection) continue;
    bool seen = false;
    for (const std::string& name : names) seen = seen || EqualsNoCase(name, line.name);
    if (!seen) names.push_back(line.name);
  }
  return names;
}

std::vector<std::string> Ini::Keys(std::string_view section) const {
  std::vector<std::string> names;
  const std::size_t header = FindSection(section);
  if (header == lines_.size()) return names;
  const std::size_t end = SectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    if (lines_[i].kind == LineKind::kKey) names.push_back(lines_[i].name);
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
