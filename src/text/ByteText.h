#pragma once
// String operations on single-byte (Windows-1252) texts.
//
// Texts are byte strings. Where a value is stored into a field of limited capacity, only the
// first capacity bytes are kept, silently (ShortString).

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace relicor {

// Capacities of the fixed-size text fields.
inline constexpr std::size_t kTextCapacity = 255;        // paths and working texts
inline constexpr std::size_t kProgramDirCapacity = 127;  // the program directory
inline constexpr std::size_t kMemberNameCapacity = 18;   // member names in an item entry

// The first `capacity` bytes of `text`.
std::string ShortString(std::string_view text, std::size_t capacity = kTextCapacity);
// The same of a text made for it, cut where it is.
template <typename Text>
requires std::same_as<Text, std::string> std::string ShortString(Text&& text,
                                                                 std::size_t capacity = kTextCapacity) {
  if (text.size() > capacity) text.resize(capacity);
  return std::forward<Text>(text);
}

// Decimal text of `value`, at least `width` characters, left-padded with '0' (never cut).
std::string ZeroPadNumber(std::int32_t value, int width);

// Replaces every `find` byte in `text` by `replacement`; returns the same text.
std::string& ReplaceChar(std::string& text, char find, char replacement);

// Cuts the path after its last separator, which stays as the last character.
// A path without separator, or an empty one, is left unchanged.
std::string& CutAfterLastBackslash(std::string& path);

// Appends a separator to a non-empty path that does not end with one. An empty path stays empty.
std::string& EnsureTrailingBackslash(std::string& path);

// A directory text without trailing separators (the root stays the one separator).
std::string WithoutTrailingSeparator(std::string dir);

// Exactly `width` characters: `text` padded with blanks, or its first `width` characters.
std::string PadRight(std::string_view text, std::size_t width);
// The same of a text made for it, padded or cut where it is.
template <typename Text>
requires std::same_as<Text, std::string> std::string PadRight(Text&& text, std::size_t width) {
  text.resize(width, ' ');
  return std::forward<Text>(text);
}

// a-z to A-Z; every other byte stays (the one ASCII upper-casing of the program).
constexpr char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
// A-Z to a-z; every other byte stays.
constexpr char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// `text` with AsciiUpper on every byte (item names are compared and shown this way; Windows-1252
// letters stay as they are).
std::string UpperCaseAscii(std::string_view text);
// The same of a text made for it, changed where it is.
template <typename Text>
requires std::same_as<Text, std::string> std::string UpperCaseAscii(Text&& text) {
  for (char& c : text) c = AsciiUpper(c);
  return std::forward<Text>(text);
}

// a-z to A-Z and the German umlauts ä ö ü to Ä Ö Ü; every other byte (ß included) is kept.
std::string UpperCaseDE(std::string_view text);

// Decimal text of `value` with a '+' in front of positive values.
std::string SignedText(std::int32_t value);

// The decimal text of a whole number, held in the value itself: as std::to_string writes it, or
// with `plusSign` as SignedText does. For texts put together from parts without a string for
// each number.
class DecimalText {
 public:
  explicit DecimalText(std::int32_t value, bool plusSign = false);
  // A part of a text, as a view of the digits.
  // NOLINTNEXTLINE(google-explicit-constructor)
  operator std::string_view() const { return {digits_.data(), size_}; }

 private:
  std::array<char, 12> digits_;  // "-2147483648" and "+2147483647" have 11
  std::size_t size_ = 0;
};

// True when every byte of `text` is below 0x80.
bool IsAscii(std::string_view text);

// ASCII-only case-insensitive comparison, as the sorted lists of the system use it.
int CompareTextNoCase(std::string_view a, std::string_view b);
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace relicor
