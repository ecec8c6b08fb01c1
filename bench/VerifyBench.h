#pragma once

#include <string>
#include <vector>

namespace relicor::bench {

// Writes N items of the 1.09 generator to `dir` (V0.ITM, V1.ITM, ...) unless it holds them
// already, and returns their paths. `edited`: each price one gold piece above the game's.
std::vector<std::string> WriteGenuinePool(const std::string& dir, int n, bool edited);

// Times `relicor-cli verify` over N genuine items under `base` and the floor in the same run.
int RunVerify(int n, const std::string& base);

}  // namespace relicor::bench
