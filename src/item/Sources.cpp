#include "item/Sources.h"

namespace relicor {

std::string SourceText(std::uint8_t source) {
  if (source == 0) {
    return std::string{kSourceNames[0]};
  }
  std::string text;
  for (std::size_t bit = 0; bit + 1 < kSourceNameCount; ++bit) {
    if ((source & (1u << bit)) != 0) {
      text += ' ';
      text += kSourceNames[bit + 1];
    }
  }
  return text;
}

}  // namespace relicor
