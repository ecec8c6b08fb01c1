#pragma once

#include <string>

namespace relicor::bench {

// Times reading N heroes (every slot filled) and one stash of 100 pages, rebuilt and judged as
// the import does, against reading every save file once, under `base`.
int RunSaves(int n, const std::string& base);

}  // namespace relicor::bench
