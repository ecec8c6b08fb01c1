#include "text/ByteText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

#include "text/Path.h"

namespace relicor {

std::string ShortString(std::string_view text, std::size_t capacity) {
  return std::string(text.substr(0, capacity));
}

std::string ZeroPadNumber(std::int32_t value, int width) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < width) {
    digits.insert(0, static_cast<std::size_t>(width) - digits.size(), ' ');
  }
  // Every blank becomes a zero, as the padding did (a negative number keeps its sign after the zeros).
  std::replace(digits.begin(), digits.end(), ' ', '0');
  return digits;
}

std::string& ReplaceChar(std::string& text, char find, char replacement) {
  std::replace(text.begin(), text.end(), find, replacement);
  return text;
}

std::string& CutAfterLastBackslash(std::string& path) {
  const auto pos = path.find_last_of(kPathSeparator);
  if (pos != std::string::npos) {
    path.resize(pos + 1);
  }
  return path;
}

std::string& EnsureTrailingBackslash(std::string& path) {
  if (!path.empty() && path.back() != kPathSeparator) {
    path.push_back(kPathSeparator);
  }
  return path;
}

std::string WithoutTrailingSeparator(std::string dir) {
  while (dir.size() > 1 && dir.back() == kPathSeparator) dir.pop_back();
  return dir;
}

std::string PadRight(std::string_view text, std::size_t width) {
  std::string result(text.substr(0, width));
  result.resize(width, ' ');
  return result;
}

std::string UpperCaseAscii(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = AsciiUpper(c);
  return result;
}

std::string UpperCaseDE(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    const auto b = static_cast<unsigned char>(c);
    if (b == 0xE4 || b == 0xF6 || b == 0xFC) {  // ä ö ü
      c = static_cast<char>(b - 0x20);
    } else {
      c = AsciiUpper(c);
    }
  }
  return result;
}

std::string SignedText(std::int32_t value) {
  std::string text = std::to_string(value);
  return value > 0 ? "+" + text : text;
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

DecimalText::DecimalText(std::int32_t value, bool plusSign) : digits_{} {
  char* out = digits_.data();
  if (plusSign && value > 0) *out++ = '+';
  out = std::to_chars(out, digits_.data() + digits_.size(), value).ptr;
  size_ = static_cast<std::size_t>(out - digits_.data());
}

namespace {

// a-z folded to A-Z; every other byte stays.
constexpr std::array<unsigned char, 256> MakeFoldTable() {
  std::array<unsigned char, 256> table{};
  for (int i = 0; i < 256; ++i)
    table[static_cast<std::size_t>(i)] = static_cast<unsigned char>(AsciiUpper(static_cast<char>(i)));
  return table;
}
constexpr std::array<unsigned char, 256> kFold = MakeFoldTable();

}  // namespace

int CompareTextNoCase(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  std::size_t i = 0;
  // Sorted paths share long prefixes: skip the bytes that are equal as they stand, 8 at a time.
  while (i + 8 <= n && std::memcmp(a.data() + i, b.data() + i, 8) == 0) i += 8;
  for (; i < n; ++i) {
    const unsigned char ca = kFold[static_cast<unsigned char>(a[i])];
    const unsigned char cb = kFold[static_cast<unsigned char>(b[i])];
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareTextNoCase(a, b) == 0;
}

}  // namespace relicor
