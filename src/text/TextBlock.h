#pragma once
// A block of bytes for the texts of a TextList or TextTable. Its bytes are not set when it is made:
// the texts fill it from the front, and the pages of a block no text has reached yet are never
// touched, so a list's last block costs only what its texts take.

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace relicor {

// Makes the elements of a vector without setting them (a char is left as the memory holds it).
template <class T>
struct UnsetAllocator : std::allocator<T> {
  UnsetAllocator() = default;
  template <class U>
  explicit UnsetAllocator(const UnsetAllocator<U>& /*other*/) noexcept {}
  template <class U>
  void construct(U* at) noexcept {
    ::new (static_cast<void*>(at)) U;
  }
  template <class U, class... Args>
  void construct(U* at, Args&&... args) {
    ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
  }
};

using TextBlock = std::vector<char, UnsetAllocator<char>>;

}  // namespace relicor
