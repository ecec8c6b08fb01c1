#include "identify/PriceCalc.h"

#include <cmath>
#include <cstdlib>

namespace relicor {

std::int32_t WrapAdd(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

std::int32_t WrapMul(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

std::int32_t RoundExtended(long double x) {
  // The default rounding mode rounds ties to even.
  const long double r = std::nearbyintl(x);
  const auto wide = static_cast<std::int64_t>(r);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(wide)));
}

std::int32_t PriceInterpolation(std::int32_t v, std::int32_t lo, std::int32_t hi, std::int32_t range) {
  const long double scaledRange = static_cast<long double>(range);
  if (lo == hi) {
    const long double whole =
        std::truncl(static_cast<long double>(static_cast<std::int64_t>(v) - lo) * 0.01L);
    return RoundExtended(whole * 0.01L * scaledRange - 0.1L);
  }
  if (v == hi) {
    return range;
  }
  // As the game scales a roll: whole percent of the way from lo to hi, then that share of the
  // range, both divisions truncating.
  const std::int64_t distance = std::llabs(static_cast<long long>(v) - lo);
  const std::int64_t span = std::llabs(static_cast<long long>(hi) - lo);
  const std::int64_t percent = 100 * distance / span;
  // percent * range / 100 without overflow for any value: whole hundreds first.
  const std::int64_t share = percent / 100 * range + percent % 100 * range / 100;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(share)));
}

void PriceAccumulators::Add(std::int32_t multiplier, std::int32_t price) {
  anyAffix = true;
  multiplierSum = WrapAdd(multiplierSum, multiplier);
  priceSum = WrapAdd(priceSum, price);
}

void PriceAccumulators::AddRow(const AffixRow& row, std::int32_t value) {
  if (row.MaxValue < 0) {
    // A harmful row holds the game's roll negated: its largest roll is its most negative value.
    AddReversedRow(row, value);
    return;
  }
  Add(row.Multiplier, row.PriceAdd);
  rangeSum = WrapAdd(rangeSum, PriceInterpolation(value, row.MinValue, row.MaxValue, row.PriceRange));
}

void PriceAccumulators::AddReversedRow(const AffixRow& row, std::int32_t value) {
  Add(row.Multiplier, row.PriceAdd);
  rangeSum = WrapAdd(rangeSum, PriceInterpolation(value, row.MaxValue, row.MinValue, row.PriceRange));
}

ComputedPrices ComputePrices(const PriceAccumulators& acc) {
  if (!acc.anyAffix && acc.chargesPrice == 0) {
    // Nothing changed the base item: its price is the base item's value as it stands.
    return {acc.basePrice, WrapMul(3, acc.basePrice) / 2};
  }
  const std::int32_t m = acc.multiplierSum;
  std::int32_t g = 0;
  if (m < 0) {
    // The game divides the item's value (base and charges together) by the sum, truncating.
    const std::int64_t value = WrapAdd(acc.basePrice, acc.chargesPrice);
    const auto share =
        static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value / m)));
    g = WrapAdd(WrapAdd(share, acc.priceSum), acc.rangeSum);
  } else {
    g = WrapAdd(WrapAdd(acc.priceSum, acc.rangeSum), WrapMul(acc.basePrice, m));
    g = WrapAdd(g, WrapMul(acc.chargesPrice, m));
  }
  if (g < 1) {
    g = 1;
  }
  return {g, WrapMul(3, g) / 2};
}

}  // namespace relicor
