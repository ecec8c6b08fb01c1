#include <unistd.h>

#include <iostream>

#include "cli/Cli.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::ios::sync_with_stdio(false);
  const int status = relicor::cli::RunCli(args, std::cout, std::cerr, isatty(STDERR_FILENO) != 0,
                                          isatty(STDIN_FILENO) != 0, true);
  std::cout.flush();
  return status;
}
