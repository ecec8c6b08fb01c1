#pragma once
// Benchmarks of hostile files: what a member list or sidecars built to be slow cost a command.
//
//   relicor-bench members N [DIR]    PLAYERS.TXT of N names in reverse order: the time to load it,
//                                    and of a whole relicor-cli command (members list)
//   relicor-bench sidecars N [DIR]   N items, each with a 1 MiB sidecar of line breaks: the memory
//                                    one such sidecar costs when read, and the peak of an export

#include <string>

namespace relicor::bench {

// True when `what` is one of these benchmarks; `status` then holds its exit status.
bool RunHostile(const std::string& what, int n, const std::string& base, int& status);

}  // namespace relicor::bench
