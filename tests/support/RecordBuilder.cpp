#include "support/RecordBuilder.h"

#include <algorithm>

namespace relicor::test {

RecordBuilder::RecordBuilder() {
  signature("ITM0");
  prefixPower(kNoAffix);
  suffixPower(kNoAffix);
}

RecordBuilder& RecordBuilder::signature(std::string_view four) {
  for (std::size_t i = 0; i < 4; ++i) {
    record_.bytes()[offset::kSignature + i] = i < four.size() ? static_cast<std::uint8_t>(four[i]) : 0;
  }
  return *this;
}

RecordBuilder& RecordBuilder::effect(int bit) {
  record_.bytes()[offset::kEffectFlags + static_cast<std::size_t>(bit / 8)] |=
      static_cast<std::uint8_t>(1u << (bit % 8));
  return *this;
}

RecordBuilder& RecordBuilder::u8(std::size_t at, std::uint8_t v) {
  record_.bytes()[at] = v;
  return *this;
}

RecordBuilder& RecordBuilder::i16(std::size_t at, std::int16_t v) {
  const auto u = static_cast<std::uint16_t>(v);
  record_.bytes()[at] = static_cast<std::uint8_t>(u & 0xFF);
  record_.bytes()[at + 1] = static_cast<std::uint8_t>(u >> 8);
  return *this;
}

RecordBuilder& RecordBuilder::u32(std::size_t at, std::uint32_t v) {
  for (std::size_t i = 0; i < 4; ++i) record_.bytes()[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  return *this;
}

RecordBuilder& RecordBuilder::textAt(std::size_t from, std::size_t end, std::string_view text) {
  std::fill(record_.bytes().begin() + static_cast<std::ptrdiff_t>(from),
            record_.bytes().begin() + static_cast<std::ptrdiff_t>(end), 0);
  const std::size_t n = std::min(text.size(), end - from - 1);
  std::copy_n(reinterpret_cast<const std::uint8_t*>(text.data()), n,
              record_.bytes().begin() + static_cast<std::ptrdiff_t>(from));
  return *this;
}

}  // namespace relicor::test
