#include <unistd.h>

#include <iostream>

#include "cli/Cli.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

int main(int argc, char** argv) {
#if defined(__GLIBC__)
  // A run over a large pool frees large blocks as it goes (directory listings, the journal's
  // batches, tables that grew): with a fixed threshold such blocks are mapped on their own and go
  // back to the system when freed. The C library's own threshold rises with every large block
  // freed, so that later ones come from the heap and stay with the process to its end.
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
  std::vector<std::string> args(argv + 1, argv + argc);
  std::ios::sync_with_stdio(false);
  const int status = relicor::cli::RunCli(args, std::cout, std::cerr, isatty(STDERR_FILENO) != 0,
                                          isatty(STDIN_FILENO) != 0, true);
  std::cout.flush();
  return status;
}
