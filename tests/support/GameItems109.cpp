#include "support/GameItems109.h"

#include <algorithm>
#include <string_view>

#include "generate/SeedCheck.h"

namespace relicor::test {
namespace {

namespace layout = gen::layout;

enum class Fix : std::uint8_t { kPriceAddA, kPriceAddB, kLocation, kFlags, kReqMagic };

struct Correction {
  std::uint32_t seed;
  Fix field;
  std::int64_t value;
};

// clang-format off
// Price parts: a power whose price range is one value (the curses) adds that value, 0 for most,
// whatever the price comes to.
// The Grandfather is one-handed (its power moves it); the Long War Bow's fire arrows set only
// the fire arrows bit; the Sorcerer's starting staff needs the base item's 20 magic.
const Correction kCorrections[] = {
    {1743897351u, Fix::kPriceAddA, 0},  // Frog's Staff of Holy Bolt
    {429107209u, Fix::kReqMagic, 20},  // Short Staff of Charged Bolt
    {1140525626u, Fix::kPriceAddA, 0},  // Short Bow of atrophy
    {1187758333u, Fix::kPriceAddB, 0},  // Brass Dagger of weakness
    {1283803700u, Fix::kPriceAddA, 0},  // Clumsy Short Bow
    {1317748726u, Fix::kPriceAddB, 0},  // Tin Short Sword of the fool
    {1331764286u, Fix::kPriceAddA, 0},  // Club of paralysis
    {1375639122u, Fix::kPriceAddA, 0},  // Dull Staff of Lightning
    {1527777846u, Fix::kPriceAddA, 0},  // Bent Falchion
    {1679472538u, Fix::kPriceAddA, 0},  // Dagger of illness
    {1812092773u, Fix::kPriceAddA, -1000},  // Cape of corruption
    {1965885799u, Fix::kPriceAddA, 0},  // Sabre of trouble
    {1970135469u, Fix::kPriceAddA, 0},  // Cap of tears
    {1979635474u, Fix::kPriceAddA, 0},  // Tin Club
    {2008721689u, Fix::kPriceAddB, 0},  // Rusted Cape of dyslexia
    {2082373839u, Fix::kPriceAddA, 0},  // Cap of pain
    {278391972u, Fix::kPriceAddB, 0},  // Clumsy Sabre of fragility
    {308974695u, Fix::kPriceAddA, 0},  // Useless Dagger
    {640482348u, Fix::kPriceAddA, 0},  // Mace of frailty
    {715324531u, Fix::kPriceAddA, 0},  // Weak Short Bow
    {583181782u, Fix::kLocation, 1},  // The Grandfather
    {1158010141u, Fix::kFlags, 8},  // Emerald Bow of burning
};
// clang-format on

}  // namespace

RecordEdit& RecordEdit::i32(std::size_t at, std::int32_t v) {
  for (int i = 0; i < 4; ++i)
    r_.bytes()[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
  return *this;
}

RecordEdit& RecordEdit::u8(std::size_t at, std::uint8_t v) {
  r_.bytes()[at] = v;
  return *this;
}

RecordEdit& RecordEdit::text(std::size_t at, std::string_view s) {
  std::fill_n(r_.bytes().begin() + static_cast<std::ptrdiff_t>(at), layout::kNameLength, 0);
  std::copy_n(s.begin(), std::min(s.size(), layout::kNameLength - 1),
              r_.bytes().begin() + static_cast<std::ptrdiff_t>(at));
  return *this;
}

ItemRecord GameItemRecord109(const GameItem& item) {
  ItemRecord r = GameItemRecord(item);
  RecordEdit e(r);
  for (const Correction& c : kCorrections) {
    if (c.seed != item.seed) continue;
    const auto v = static_cast<std::int32_t>(c.value);
    switch (c.field) {
      case Fix::kPriceAddA:
        e.i32(layout::kValueAdd1, v);
        break;
      case Fix::kPriceAddB:
        e.i32(layout::kHeader + 344, v);
        break;
      case Fix::kLocation:
        e.u8(layout::kLocation, static_cast<std::uint8_t>(v));
        break;
      case Fix::kFlags:
        e.i32(layout::kFlags, v);
        break;
      case Fix::kReqMagic:
        e.u8(layout::kMinMag, static_cast<std::uint8_t>(v));
        break;
    }
  }
  return r;
}

bool RaisedDurability(const GameItem& item) {
  return item.seed == 1452181783u || item.seed == 846169922u || item.seed == 18974604u;
}

}  // namespace relicor::test
