#pragma once
// A relicor-cli command run in a child process that is killed at a chosen point of its file
// operations, for the tests that check what a killed command leaves behind.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "platform/FaultInjection.h"

namespace relicor::cli {

// Runs relicor-cli in a child process that is killed (SIGKILL) just before its `killAt`th
// rename, removal or flush, in the working directory `cwd` when one is given. True when the kill
// came, false when the command ran to its end first (with `endStatus`).
inline bool KilledRun(const std::vector<std::string>& args, int killAt, const std::string& cwd = {},
                      int endStatus = 0) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (!cwd.empty() && ::chdir(cwd.c_str()) != 0) ::_exit(3);
    faults::KillAt(faults::Bit(faults::FileOp::kRename) | faults::Bit(faults::FileOp::kUnlink) |
                       faults::Bit(faults::FileOp::kFsync),
                   killAt);
    std::ostringstream out, err;
    const int status = RunCli(args, out, err);
    ::_exit(status);
  }
  int raw = 0;
  ::waitpid(child, &raw, 0);
  if (WIFSIGNALED(raw)) {
    EXPECT_EQ(WTERMSIG(raw), SIGKILL);
    return true;
  }
  EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == endStatus) << "the command ended otherwise than expected";
  return false;
}

}  // namespace relicor::cli
