#include <gtest/gtest.h>

#include <cstdint>

#include "identify/PriceCalc.h"

namespace relicor {
namespace {

struct InterpolationCase {
  std::int32_t v, lo, hi, range, expected;
};

class InterpolationTest : public ::testing::TestWithParam<InterpolationCase> {};

TEST_P(InterpolationTest, Share) {
  const InterpolationCase& c = GetParam();
  EXPECT_EQ(PriceInterpolation(c.v, c.lo, c.hi, c.range), c.expected)
      << "P(" << c.v << ", " << c.lo << ", " << c.hi << ", " << c.range << ")";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InterpolationTest,
    ::testing::Values(InterpolationCase{3, 1, 5, 800, 400},  // 50 % of 800
                      InterpolationCase{2, 1, 5, 800, 200},  // 25 %
                      InterpolationCase{5, 1, 5, 400, 400},  // v = hi: the full range
                      InterpolationCase{1, 1, 5, 400, 0}, InterpolationCase{7, 7, 7, 0, 0},  // lo = hi
                      InterpolationCase{7, 7, 7, 900, 0}, InterpolationCase{30, 21, 30, 900, 900},
                      InterpolationCase{25, 21, 30, 900, 396},  // Int(44.4) = 44 -> 395.9
                      InterpolationCase{2, 1, 3, 7, 3},         // 3.5 - 0.1 rounds to 3, not 4
                      InterpolationCase{16, 10, 20, 1000, 600},
                      InterpolationCase{-6, -5, -6, 2500, 2500},  // reversed bounds, v = hi
                      InterpolationCase{-5, -5, -6, 2500, 0},
                      InterpolationCase{28, 21, 46, 100, 28},  // 7/25*100 truncated
                      InterpolationCase{3, 1, 3, 1, 1}, InterpolationCase{13, 10, 20, 5, 1},  // 1.5 truncated
                      // The game truncates where rounding would go up: grand 41-55 (range 80) at
                      // 49 is 57 % -> 45.6 -> 45; 33 % of 5 is 1.65 -> 1; 98 % of 100 exactly 98.
                      InterpolationCase{49, 41, 55, 80, 45}, InterpolationCase{4, 1, 10, 5, 1},
                      InterpolationCase{50, 1, 51, 100, 98},
                      // Hacked values far outside the row do not overflow: 429496729500 % of the
                      // range, wrapped to 32 bits like the other price sums.
                      InterpolationCase{INT32_MAX, INT32_MIN, INT32_MIN + 1, INT32_MAX, -INT32_MAX}));

// The game's price of an item that no affix changed is its base item's value (a falchion 250, a
// quest item 0); a staff's charges alone are priced like an affix, which gives the game's 1.
TEST(PriceCalcTest, PlainItemCostsItsBasePrice) {
  PriceAccumulators acc;
  acc.basePrice = 2000;
  EXPECT_EQ(ComputePrices(acc).griswold, 2000);
  EXPECT_EQ(ComputePrices(acc).wirt, 3000);
  acc.basePrice = 0;
  EXPECT_EQ(ComputePrices(acc).griswold, 0);
  PriceAccumulators staff;
  staff.basePrice = 30;
  staff.chargesPrice = 500;
  EXPECT_EQ(ComputePrices(staff).griswold, 1);
  // Affixes whose multipliers cancel still leave the affix formula.
  PriceAccumulators cancelled;
  cancelled.basePrice = 300;
  cancelled.Add(2, 0);
  cancelled.Add(-2, 0);
  EXPECT_EQ(ComputePrices(cancelled).griswold, 1);
}

// A harmful row's range share grows towards its most negative value, as the game rolls it:
// hyena's -25..-11 (100 + 900 scaled) at -20 is 64 percent of the way from -11.
TEST(PriceCalcTest, HarmfulRowIsScaledFromItsUpperBound) {
  PriceAccumulators acc;
  acc.AddRow(AffixRow{-25, -11, "hyena's", 100, 900, -2, 0}, -20);
  EXPECT_EQ(acc.priceSum, 100);
  EXPECT_EQ(acc.rangeSum, 576);  // Round(64 * 0.01 * 900 - 0.1)
  EXPECT_EQ(acc.multiplierSum, -2);
}

TEST(PriceCalcTest, BronzeItem) {
  // "+5% to Hit": row bronze (1-5, 100, 400, x2) on a base price of 15.
  PriceAccumulators acc;
  acc.basePrice = 15;
  acc.AddRow(AffixRow{1, 5, "bronze", 100, 400, 2, 0}, 5);
  const ComputedPrices p = ComputePrices(acc);
  EXPECT_EQ(p.griswold, 530);
  EXPECT_EQ(p.wirt, 795);
}

TEST(PriceCalcTest, NegativeMultiplierDividesTheBaseAndIsClamped) {
  PriceAccumulators acc;
  acc.basePrice = 300;
  acc.Add(-3, 0);
  EXPECT_EQ(ComputePrices(acc).griswold, 1);

  PriceAccumulators dark;
  dark.basePrice = 3000;
  dark.chargesPrice = 50;
  dark.Add(-4, 2000);
  // (3000 + 50) / -4 = -762 (truncated) + 2000 = 1238.
  EXPECT_EQ(ComputePrices(dark).griswold, 1238);
  EXPECT_EQ(ComputePrices(dark).wirt, 1857);
}

// The game divides base and charges together by a negative multiplier sum and truncates toward
// zero: Azure Rags of trouble (rags 5, azure x2 price part 2298, trouble x-10) costs 2298, since
// 5 / -8 is 0; a staff of base 30 and charges 70 under x-4 loses 25, not 8 + 18.
TEST(PriceCalcTest, NegativeMultiplierTruncatesTowardZero) {
  PriceAccumulators rags;
  rags.basePrice = 5;
  rags.Add(2, 2298);
  rags.Add(-10, 0);
  EXPECT_EQ(ComputePrices(rags).griswold, 2298);
  PriceAccumulators staff;
  staff.basePrice = 30;
  staff.chargesPrice = 70;
  staff.Add(-4, 1000);
  EXPECT_EQ(ComputePrices(staff).griswold, 975);
  PriceAccumulators wrapped;  // a hacked sum of -1 under the smallest base does not trap
  wrapped.basePrice = INT32_MIN;
  wrapped.Add(-1, 0);
  EXPECT_EQ(ComputePrices(wrapped).griswold, 1);
}

TEST(PriceCalcTest, ReversedRowEarnsTheRangeAtTheMostNegativeValue) {
  const AffixRow osmosis{-6, -5, "osmosis", 7500, 2500, 20, 0};
  PriceAccumulators acc;
  acc.AddReversedRow(osmosis, -6);
  EXPECT_EQ(acc.rangeSum, 2500);
  EXPECT_EQ(acc.priceSum, 7500);
  EXPECT_EQ(acc.multiplierSum, 20);
}

TEST(PriceCalcTest, ArithmeticWraps) {
  EXPECT_EQ(WrapAdd(INT32_MAX, 1), INT32_MIN);
  EXPECT_EQ(WrapMul(0x40000000, 4), 0);
  PriceAccumulators acc;
  acc.basePrice = 0x40000000;
  acc.Add(1, 0);
  // g = 2^30; 3 * g wraps to -2^30, so Wirt is -2^29.
  const ComputedPrices p = ComputePrices(acc);
  EXPECT_EQ(p.griswold, 0x40000000);
  EXPECT_EQ(p.wirt, -0x20000000);
}

}  // namespace
}  // namespace relicor
