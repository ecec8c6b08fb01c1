#include "text/TextList.h"

#include <cstring>
#include <stdexcept>

namespace relicor {

std::uint32_t TextList::Store(std::string_view text) {
  if (text.size() >= kBlockBytes || text.find('\0') != std::string_view::npos)
    throw std::length_error("TextList: a text too long for a block, or one holding a NUL");
  if (used_ + text.size() + 1 > kBlockBytes) {
    if (blocks_.size() >= (std::size_t{1} << (32 - kPlaceBits))) throw std::length_error("TextList: full");
    blocks_.emplace_back(kBlockBytes);
    used_ = 0;
  }
  char* at = blocks_.back().data() + used_;
  std::memcpy(at, text.data(), text.size());
  at[text.size()] = '\0';
  const auto place = static_cast<std::uint32_t>(((blocks_.size() - 1) << kPlaceBits) | used_);
  used_ += text.size() + 1;
  return place;
}

}  // namespace relicor
