#include "item/SpellTables.h"

namespace relicor {

namespace {

const SpellRow* FindSpell(int spell) {
  if (spell < 0 || spell >= kSpellCount) {
    return nullptr;
  }
  return &kSpellTable[static_cast<std::size_t>(spell)];
}

}  // namespace

std::string_view SpellName(int spell) {
  const SpellRow* row = FindSpell(spell);
  return row != nullptr ? row->name : std::string_view{};
}

std::int32_t ChargePrice(int spell) {
  const SpellRow* row = FindSpell(spell);
  return row != nullptr ? row->chargePrice : 0;
}

std::int32_t MaxChargesOf(int spell, bool vkMode) {
  const SpellRow* row = FindSpell(spell);
  if (row == nullptr) {
    return 0;
  }
  return vkMode ? row->maxChargesVk : row->maxChargesNormal;
}

std::int32_t BookPrice(int spell) {
  const SpellRow* row = FindSpell(spell);
  return row != nullptr ? row->bookPrice : 0;
}

}  // namespace relicor
