#include "validate/Findings.h"

#include "text/ByteText.h"
#include "text/Hex.h"

namespace relicor {

namespace {

std::string RenderValue(FindingValue how, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  switch (how) {
    case FindingValue::kNone:
      return {};
    case FindingValue::kDecimal:
      return std::to_string(value);
    case FindingValue::kHexByte:
      return ByteToHex(static_cast<std::uint8_t>(bits & 0xFF));
    case FindingValue::kHexBytes:
      return ByteToHex(static_cast<std::uint8_t>(bits & 0xFF)) + "/" +
             ByteToHex(static_cast<std::uint8_t>((bits >> 8) & 0xFF));
  }
  return {};
}

}  // namespace

RuleRow RuleOf(std::int32_t code) {
  if (code < 0 || static_cast<std::size_t>(code) >= kRuleCatalogueSize) {
    return {};
  }
  return kRuleCatalogue[static_cast<std::size_t>(code)];
}

std::string FormatFinding(FindingState& state, std::int32_t code, std::int32_t value) {
  std::string line;
  if (code > kDefinitionFindingOffset) {
    line = std::string(kDefinitionHeader) + ZeroPadNumber(code, 3) + ": ";
    if (state.lastFindingCode == 0) {
      state.status = StatusColour::kPurple;
    }
    code -= kDefinitionFindingOffset;
  } else {
    line = std::string(kHackHeader) + ZeroPadNumber(code, 3) + ": ";
    if (state.lastFindingCode == 0) {
      state.status = StatusColour::kRed;
    }
  }
  state.lastFindingCode = code;

  const RuleRow row = RuleOf(code);
  if (!row.text.empty()) {
    line += row.text;
    line += RenderValue(row.value, value);
  }
  return line;
}

}  // namespace relicor
