#pragma once

#include <string>

namespace relicor::bench {

// Times `relicor-cli verify` over N genuine items under `base` and the floor in the same run.
int RunVerify(int n, const std::string& base);

}  // namespace relicor::bench
