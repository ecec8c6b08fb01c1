#pragma once
// Synthetic pools for the benchmarks: items with fields drawn across the tables' ranges,
// some with sidecars, reproducible from a seed.

#include <cstdint>
#include <random>
#include <string>

#include "support/RecordBuilder.h"

namespace relicor::bench {

// One item: a random base item of a defined class with random affix values.
test::RecordBuilder RandomItem(std::mt19937& random, std::uint32_t ident);

struct PoolSpec {
  std::string directory;
  int itemCount = 0;
  std::uint32_t seed = 1;
  int sidecarEvery = 3;   // every n-th item gets a sidecar
  bool sameName = false;  // every item carries the same name (for the rename run)
};

// Writes the pool unless it already holds the item count; returns the number of files written.
int WritePool(const PoolSpec& spec);

}  // namespace relicor::bench
