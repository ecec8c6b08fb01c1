#pragma once
// Runs a program as a separate process and measures it as the shell's `time` would: wall clock,
// user and system time, peak resident memory.

#include <string>
#include <vector>

namespace relicor::bench {

struct ProcessRun {
  double wallSeconds = 0;
  double userSeconds = 0;
  double systemSeconds = 0;
  long peakKiB = 0;
  int exitStatus = -1;  // the program's exit status; -1 when it did not run or a signal ended it
};

// Runs `argv` (argv[0] a path) in `workDir` (empty: this process's), standard output to
// `stdoutPath` and standard error to `stderrPath` (empty: /dev/null), and waits for it.
ProcessRun RunProcess(const std::vector<std::string>& argv, const std::string& workDir = {},
                      const std::string& stdoutPath = {}, const std::string& stderrPath = {});

// The median of `values` (the mean of the middle two for an even count; 0 for none).
double Median(std::vector<double> values);

}  // namespace relicor::bench
