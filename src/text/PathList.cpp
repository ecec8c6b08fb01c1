#include "text/PathList.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <stdexcept>

#include "text/Path.h"

namespace relicor {

namespace {

constexpr std::uint32_t kNumbered = std::uint32_t{1} << 31;
constexpr unsigned kPatternShift = 16;
constexpr std::uint32_t kMostPatterns = std::uint32_t{1} << 15;
constexpr unsigned kWidthShift = 14;
constexpr std::size_t kMostDigits = 4;  // their value stays below 2^14
constexpr std::uint32_t kValueMask = (std::uint32_t{1} << kWidthShift) - 1;
// Patterns that few names share cost more than the names' texts: a list makes a new one only while
// it has fewer than this many and a quarter as many as its paths.
constexpr std::size_t kPatternsBeforeSharing = 64;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

void PathList::Add(std::string_view path) {
  const std::size_t cut = path.find_last_of(kPathSeparator);
  const std::size_t end = cut == std::string_view::npos ? 0 : cut;
  const std::string_view directory = path.substr(0, end);
  // First the rest, which may be refused: the list is unchanged then.
  const std::uint32_t code = CodeOf(path.substr(end));
  // Paths come a directory at a time: most continue the last run.
  if (runs_.empty() || directories_[runs_.back().directory] != directory) {
    const auto [number, added] = numbers_.Insert(directory, static_cast<std::uint32_t>(directories_.size()));
    if (added) directories_.emplace_back(directory);
    runs_.push_back({static_cast<std::uint32_t>(codes_.size()), *number});
  }
  codes_.push_back(code);
}

std::uint32_t PathList::CodeOf(std::string_view rest) {
  // The last digits of the stem (before the extension, after the separator), four at most.
  const std::size_t nameStart = rest.empty() || rest.front() != kPathSeparator ? 0 : 1;
  std::size_t digitsEnd = rest.rfind('.');
  if (digitsEnd == std::string_view::npos || digitsEnd < nameStart) digitsEnd = rest.size();
  std::size_t digitsStart = digitsEnd;
  while (digitsStart > nameStart && digitsEnd - digitsStart < kMostDigits && IsDigit(rest[digitsStart - 1]))
    --digitsStart;
  // A name too long for the texts, or one holding a NUL, is refused as a text of its own.
  if (digitsStart < digitsEnd && rest.size() < TextList::kBlockBytes &&
      rest.find('\0') == std::string_view::npos) {
    const std::string_view head = rest.substr(0, digitsStart);
    const std::string_view tail = rest.substr(digitsEnd);
    patternKey_.assign(head);
    patternKey_.push_back('\0');
    patternKey_.append(tail);
    const std::uint32_t* known = patternNumbers_.Find(patternKey_);
    if (known == nullptr && patterns_.size() < kMostPatterns &&
        (patterns_.size() < kPatternsBeforeSharing || 4 * patterns_.size() < codes_.size())) {
      const Pattern pattern{texts_.Store(head), texts_.Store(tail)};
      if (((pattern.head | pattern.tail) & kNumbered) != 0) throw std::length_error("PathList: full");
      known = patternNumbers_.Insert(patternKey_, static_cast<std::uint32_t>(patterns_.size())).first;
      patterns_.push_back(pattern);
    }
    if (known != nullptr) {
      std::uint32_t value = 0;
      for (std::size_t k = digitsStart; k < digitsEnd; ++k)
        value = value * 10 + static_cast<std::uint32_t>(rest[k] - '0');
      const auto width = static_cast<std::uint32_t>(digitsEnd - digitsStart - 1);
      return kNumbered | (*known << kPatternShift) | (width << kWidthShift) | value;
    }
  }
  const std::uint32_t place = texts_.Store(rest);
  if ((place & kNumbered) != 0) throw std::length_error("PathList: full");
  return place;
}

void PathList::AppendRest(std::uint32_t code, std::string& path) const {
  if ((code & kNumbered) == 0) {
    path.append(texts_.At(code));
    return;
  }
  const Pattern& pattern = patterns_[(code & ~kNumbered) >> kPatternShift];
  path.append(texts_.At(pattern.head));
  std::array<char, kMostDigits> digits{};
  const std::size_t width = ((code >> kWidthShift) & 3U) + 1;
  std::uint32_t value = code & kValueMask;
  for (std::size_t k = width; k-- > 0; value /= 10) digits[k] = static_cast<char>('0' + value % 10);
  path.append(digits.data(), width);
  path.append(texts_.At(pattern.tail));
}

std::uint32_t PathList::DirectoryNumberOf(std::size_t i) const {
  // The last run that starts at or before path i.
  const auto after = std::upper_bound(runs_.begin(), runs_.end(), i,
                                      [](std::size_t at, const Run& run) { return at < run.first; });
  return std::prev(after)->directory;
}

}  // namespace relicor
