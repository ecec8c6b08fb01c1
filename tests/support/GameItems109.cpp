#include "support/GameItems109.h"

#include <algorithm>
#include <string_view>

#include "generate/SeedCheck.h"

namespace relicor::test {
namespace {

namespace layout = gen::layout;

enum class Fix : std::uint8_t { kName, kPlainName, kPriceAddA, kPriceAddB, kBaseValue, kLocation, kFlags, kReqMagic };

struct Correction {
  std::uint32_t seed;
  Fix field;
  std::int64_t value;
  const char* text;
};

// clang-format off
// Names: 1.09 measures a magic name in the small font without letter spacing and uses the base
// item's short name when it reaches 125 pixels ("Falchion of speed" is 127: "Sword of speed");
// the later engine measures another font. Staffs get "Staff of SPELL" the same way.
// Price parts: a power whose price range is one value (the curses) adds that value, 0 for most;
// a staff's value counts the charges before a prefix multiplies them.
// The Grandfather is one-handed (its power moves it); the Long War Bow's fire arrows set only
// the fire arrows bit; the Sorcerer's starting staff needs the base item's 20 magic.
const Correction kCorrections[] = {
    {545145866u, Fix::kName, 0, "Brutal Sword of gore"},  // Brutal Long Sword of gore
    {844854815u, Fix::kName, 0, "Shield of the ages"},  // Tower Shield of the ages
    {1151513535u, Fix::kName, 0, "Sapphire Shield"},  // Sapphire Large Shield
    {896239556u, Fix::kName, 0, "Jade Helm of the wolf"},  // Jade Great Helm of the wolf
    {1642744332u, Fix::kName, 0, "Sword of the bat"},  // Bastard Sword of the bat
    {1384620228u, Fix::kName, 0, "Plate of giants"},  // Breast Plate of giants
    {1133884051u, Fix::kName, 0, "Sword of vim"},  // Long Sword of vim
    {1743897351u, Fix::kPlainName, 0, "Staff of Holy Bolt"},  // Frog's Staff of Holy Bolt
    {1743897351u, Fix::kPriceAddA, 0, nullptr},  // Frog's Staff of Holy Bolt
    {429107209u, Fix::kReqMagic, 20, nullptr},  // Short Staff of Charged Bolt
    {466015738u, Fix::kPlainName, 0, "Staff of Charged Bolt"},  // Short Staff of Charged Bolt
    {466015738u, Fix::kName, 0, "Staff of Charged Bolt"},  // Short Staff of Charged Bolt
    {888855755u, Fix::kName, 0, "Armor of protection"},  // Quilted Armor of protection
    {557339094u, Fix::kName, 0, "Staff of haste"},  // War Staff of haste
    {1684844665u, Fix::kPlainName, 0, "Staff of Lightning"},  // White Staff of Lightning
    {981895960u, Fix::kName, 0, "Ivory Axe of blood"},  // Ivory Great Axe of blood
    {1140525626u, Fix::kPriceAddA, 0, nullptr},  // Short Bow of atrophy
    {1140525626u, Fix::kName, 0, "Bow of atrophy"},  // Short Bow of atrophy
    {1187758333u, Fix::kPriceAddB, 0, nullptr},  // Brass Dagger of weakness
    {1283803700u, Fix::kPriceAddA, 0, nullptr},  // Clumsy Short Bow
    {1283803700u, Fix::kName, 0, "Clumsy Bow"},  // Clumsy Short Bow
    {1317748726u, Fix::kPriceAddB, 0, nullptr},  // Tin Short Sword of the fool
    {1317748726u, Fix::kName, 0, "Tin Sword of the fool"},  // Tin Short Sword of the fool
    {1331764286u, Fix::kPriceAddA, 0, nullptr},  // Club of paralysis
    {1375639122u, Fix::kPlainName, 0, "Staff of Lightning"},  // Dull Staff of Lightning
    {1375639122u, Fix::kPriceAddA, 0, nullptr},  // Dull Staff of Lightning
    {145523894u, Fix::kName, 0, "Sword of speed"},  // Falchion of speed
    {1527777846u, Fix::kPriceAddA, 0, nullptr},  // Bent Falchion
    {1655088363u, Fix::kPlainName, 0, "Staff of Firebolt"},  // Plentiful Staff of Firebolt
    {1655088363u, Fix::kBaseValue, 520, nullptr},  // Plentiful Staff of Firebolt
    {1655088363u, Fix::kPriceAddA, 2000, nullptr},  // Plentiful Staff of Firebolt
    {1679472538u, Fix::kPriceAddA, 0, nullptr},  // Dagger of illness
    {1812092773u, Fix::kPriceAddA, -1000, nullptr},  // Cape of corruption
    {1965885799u, Fix::kPriceAddA, 0, nullptr},  // Sabre of trouble
    {1970135469u, Fix::kPriceAddA, 0, nullptr},  // Cap of tears
    {1979635474u, Fix::kPriceAddA, 0, nullptr},  // Tin Club
    {2008721689u, Fix::kPriceAddB, 0, nullptr},  // Rusted Cape of dyslexia
    {2082373839u, Fix::kPriceAddA, 0, nullptr},  // Cap of pain
    {278391972u, Fix::kPriceAddB, 0, nullptr},  // Clumsy Sabre of fragility
    {308974695u, Fix::kPriceAddA, 0, nullptr},  // Useless Dagger
    {588501657u, Fix::kPlainName, 0, "Staff of Fire Wall"},  // Bountiful Staff of Fire Wall
    {588501657u, Fix::kBaseValue, 990, nullptr},  // Bountiful Staff of Fire Wall
    {588501657u, Fix::kPriceAddA, 3000, nullptr},  // Bountiful Staff of Fire Wall
    {640482348u, Fix::kPriceAddA, 0, nullptr},  // Mace of frailty
    {715324531u, Fix::kPriceAddA, 0, nullptr},  // Weak Short Bow
    {715324531u, Fix::kName, 0, "Weak Bow"},  // Weak Short Bow
    {794222370u, Fix::kName, 0, "Staff of readiness"},  // Short Staff of readiness
    {583181782u, Fix::kLocation, 1, nullptr},  // The Grandfather
    {1488997713u, Fix::kName, 0, "Shield of thorns"},  // Gothic Shield of thorns
    {951404319u, Fix::kName, 0, "King's Sword"},  // King's Bastard Sword
    {18974604u, Fix::kName, 0, "Knight's Sword"},  // Knight's Broad Sword
    {1535190647u, Fix::kName, 0, "Lord's Sword of precision"},  // Lord's Falchion of precision
    {1813930929u, Fix::kName, 0, "Fine Bow of the pit"},  // Fine Long Bow of the pit
    {1158010141u, Fix::kFlags, 8, nullptr},  // Emerald Bow of burning
    {2060036013u, Fix::kPlainName, 0, "Staff of Firebolt"},  // Short Staff of Firebolt
    {2060036013u, Fix::kName, 0, "Staff of Firebolt"},  // Short Staff of Firebolt
};
// clang-format on

}  // namespace

RecordEdit& RecordEdit::i32(std::size_t at, std::int32_t v) {
  for (int i = 0; i < 4; ++i) r_.bytes()[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
  return *this;
}

RecordEdit& RecordEdit::u8(std::size_t at, std::uint8_t v) {
  r_.bytes()[at] = v;
  return *this;
}

RecordEdit& RecordEdit::text(std::size_t at, std::string_view s) {
  std::fill_n(r_.bytes().begin() + static_cast<std::ptrdiff_t>(at), layout::kNameLength, 0);
  std::copy_n(s.begin(), std::min(s.size(), layout::kNameLength - 1), r_.bytes().begin() + static_cast<std::ptrdiff_t>(at));
  return *this;
}

ItemRecord GameItemRecord109(const GameItem& item) {
  ItemRecord r = GameItemRecord(item);
  RecordEdit e(r);
  for (const Correction& c : kCorrections) {
    if (c.seed != item.seed) continue;
    const auto v = static_cast<std::int32_t>(c.value);
    switch (c.field) {
      case Fix::kName: e.text(layout::kIdentifiedName, c.text); break;
      case Fix::kPlainName: e.text(layout::kName, c.text); break;
      case Fix::kPriceAddA: e.i32(layout::kValueAdd1, v); break;
      case Fix::kPriceAddB: e.i32(layout::kHeader + 344, v); break;
      case Fix::kBaseValue: e.i32(layout::kValue, v); break;
      case Fix::kLocation: e.u8(layout::kLocation, static_cast<std::uint8_t>(v)); break;
      case Fix::kFlags: e.i32(layout::kFlags, v); break;
      case Fix::kReqMagic: e.u8(layout::kMinMag, static_cast<std::uint8_t>(v)); break;
    }
  }
  return r;
}

bool RaisedDurability(const GameItem& item) {
  return item.seed == 1452181783u || item.seed == 846169922u || item.seed == 18974604u;
}

}  // namespace relicor::test
