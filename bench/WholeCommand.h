#pragma once
// Whole-process benchmarks: relicor-cli as an installed program runs it, a separate process per
// run, against a plain C program that does only the file work any program must do (the floor),
// the two taking turns on the same pool; medians.

#include <string>
#include <vector>

namespace relicor::bench {

struct WholeOptions {
  std::string command;      // export, publish, dupecheck, rename, verify, verify-edited, verify-dir,
                            // verify-edited-dir
  int items = 0;            // item files in the pool
  std::string dir;          // where the pools, outputs and the empty program directory live
  std::string cli;          // path of relicor-cli
  std::string floor;        // the floor program: POOL OUTFILE BYTES (empty: no floor is run)
  std::string renameFloor;  // the rename run's floor: POOL (reads and renames every file once)
  int runs = 3;
};

// The pool a command works on, written unless it is there already.
std::string PreparePool(const WholeOptions& options);

// The relicor-cli command line of a run over `pool`.
std::vector<std::string> CliArguments(const WholeOptions& options, const std::string& pool);

// Times the command and its floor in turn, and prints one line: the medians of wall clock, user
// and system time of both, their ratio, the time per item and the command's peak memory.
// Returns 0, or 1 when a run failed (its standard error is printed).
int RunWhole(const WholeOptions& options);

// Runs the command and its floor once each under `strace -f -c` and prints, per system call,
// the calls per item of both. Returns 0, or 1 when a run failed.
int RunStraceCount(const WholeOptions& options);

// One row of a `strace -c` summary.
struct SyscallCount {
  std::string name;
  long calls = 0;
  long errors = 0;
  double seconds = 0;
};

// The rows of a `strace -c` summary (the total row left out).
std::vector<SyscallCount> ParseStraceSummary(const std::string& text);

}  // namespace relicor::bench
