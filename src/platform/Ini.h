#pragma once
// A pure model of an INI text with the profile semantics the system expects: sections and keys
// are found without regard to letter case, a missing key gives the caller's default, a present
// but empty key gives the empty text. Every line the model does not edit (unknown sections and
// keys, comments, blank lines, their order) is written back byte for byte.
//
// Reading accepts CR LF, CR or LF line ends; lines the model writes or edits end with CR LF.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace relicor {

class Ini {
 public:
  Ini() = default;

  static Ini Parse(std::string_view text);
  std::string Serialize() const;

  // The raw value of `key` in `section` (blanks around it removed), or nothing when the section
  // or the key is missing. Of repeated sections or keys the first counts.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;

  // Every key of the first section named `section` with its value (blanks removed), in the order
  // of the text, repeated keys each time: one pass for a caller that reads many keys.
  std::vector<std::pair<std::string_view, std::string_view>> KeyValues(std::string_view section) const;
  // Sets `key` in `section`: an existing key line is rewritten in place; a missing key is added
  // after the last key of the section; a missing section is added at the end of the text.
  // A value is kept up to its first line break (a value cannot span lines).
  void Set(std::string_view section, std::string_view key, std::string_view value);

  // Section names in the order of the text (first spelling of each).
  std::vector<std::string> Sections() const;
  // Key names of the first section of that name, in the order of the text.
  std::vector<std::string> Keys(std::string_view section) const;

  bool empty() const { return lines_.empty(); }

 private:
  enum class LineKind : std::uint8_t { kOther, kSection, kKey };

  // A line of the text, or a run of lines that are neither section headers nor keys (blank
  // lines, comments, other text): such a run is one entry, so that a text of a million line
  // breaks is one entry too. Its text lies in text_, inner line ends included; so do the name of
  // a section or key and the value of a key, found once when the line is read or made.
  struct Line {
    std::uint32_t begin = 0;  // where its text starts in text_
    std::uint32_t size = 0;   // its text's length, without its own line end
    LineKind kind = LineKind::kOther;
    bool terminated = true;    // the (last) line had a line end (only the text's last may lack one)
    std::uint32_t nameAt = 0;  // where its name starts in text_, and its length
    std::uint32_t nameSize = 0;
    std::uint32_t valueAt = 0;  // where its value starts in text_, and its length
    std::uint32_t valueSize = 0;
  };

  std::string_view TextOf(const Line& line) const;
  // A section's or key's name, blanks removed.
  std::string_view NameOf(const Line& line) const;
  // A key's value, blanks removed.
  std::string_view ValueOf(const Line& line) const;
  // A line whose text is appended to text_.
  Line NewLine(std::string_view text, LineKind kind);
  // Notes where `name` and `value`, views into text_, lie.
  void NoteParts(Line& line, std::string_view name, std::string_view value) const;
  // Index of the first section header named `section`, or lines_.size().
  std::size_t FindSection(std::string_view section) const;
  // One past the last line belonging to the section that starts at `header`.
  std::size_t SectionEnd(std::size_t header) const;
  void InsertLine(std::size_t at, Line line);

  // The text the lines are taken from: the parsed text, then the text of lines written since.
  // Texts of up to 4 GiB.
  std::string text_;
  std::vector<Line> lines_;
};

// The profile reading rules.

// A text value is read up to this many characters.
inline constexpr std::size_t kProfileTextLimit = 1023;

// The first kProfileTextLimit characters of `value`.
std::string ProfileText(std::string_view value);

// A 32-bit integer: decimal with an optional sign; hexadecimal when the text has more than two
// characters and begins with "0x" or "0X", or when it begins with "$" (after an optional sign).
// Anything else, the empty text included, is not a number.
std::optional<std::int32_t> ParseProfileInteger(std::string_view text);

// The reading of a value that may be missing: the text up to the limit, or the default.
std::string ProfileString(const std::optional<std::string>& value, std::string_view defaultValue);
// The integer of a value, or the default when it is missing or not a number.
std::int32_t ProfileInteger(const std::optional<std::string>& value, std::int32_t defaultValue);
// A boolean is an integer that counts as true when it is not 0.
bool ProfileBool(const std::optional<std::string>& value, bool defaultValue);
// How a boolean is written: "1" or "0".
std::string ProfileBoolText(bool value);

}  // namespace relicor
