#pragma once
// The price the report computes for an item from its base price and the affixes recognised while
// its effects are described: the Griswold price and the Wirt price (one and a half times it).
//
// The accumulators are 32-bit integers whose arithmetic wraps on overflow. The scaling steps use
// extended precision (long double), and rounding goes to the nearest integer with ties to even.

#include <cstdint>

#include "item/AffixTables.h"
#include "validate/RuleChecks.h"  // the vendors' limits

namespace relicor {

// a + b and a * b with 32-bit two's-complement wrap-around.
std::int32_t WrapAdd(std::int32_t a, std::int32_t b);
std::int32_t WrapMul(std::int32_t a, std::int32_t b);

// Round(x) of extended precision: nearest integer, ties to even, wrapped to 32 bits.
std::int32_t RoundExtended(long double x);

// The share of `range` that value `v` earns by its place between `lo` and `hi`:
//   lo = hi:  Round(Int((v - lo) * 0.01) * 0.01 * range - 0.1)
//   v = hi:   range
//   else:     Int(Int(|v - lo| * 100 / |hi - lo|) * range / 100), as the game scales a roll
// (both divisions truncate: 33 percent of 5 is 1).
std::int32_t PriceInterpolation(std::int32_t v, std::int32_t lo, std::int32_t hi, std::int32_t range);

struct PriceAccumulators {
  std::int32_t multiplierSum = 0;
  std::int32_t priceSum = 0;
  std::int32_t rangeSum = 0;
  std::int32_t basePrice = 0;
  std::int32_t chargesPrice = 0;
  std::int32_t prefixLevel = 0;  // Level of the last matched resist-all row
  bool anyAffix = false;         // some affix (or effect priced like one) was added

  // A fixed contribution: multiplier and price part.
  void Add(std::int32_t multiplier, std::int32_t price);
  // A table row matched with `value`: its multiplier, its fixed price and its range share. A row
  // of negative values (a harmful affix) is scaled from its upper bound, as AddReversedRow.
  void AddRow(const AffixRow& row, std::int32_t value);
  // A damage reduction row: bounds exchanged, so the most negative value earns the full range.
  void AddReversedRow(const AffixRow& row, std::int32_t value);
};

struct ComputedPrices {
  std::int32_t griswold = 0;
  std::int32_t wirt = 0;
};

// Steps 1-4 of the final price: base and charges part (their sum divided by a negative multiplier
// sum, truncating toward zero as the game does; multiplied otherwise), fixed parts and range
// shares; at least 1; Wirt = 3 * Griswold div 2.
// An item without any affix and without charges is priced at its base price as the game does
// (a potion 50, a falchion 250, a quest item 0); a staff's charges alone give the game's 1.
ComputedPrices ComputePrices(const PriceAccumulators& acc);

}  // namespace relicor
