#include "Process.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>

namespace relicor::bench {

namespace {

double Seconds(const timeval& t) {
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

// In the child: points `fd` at `path` (or /dev/null); failures end the child.
void Redirect(int fd, const std::string& path) {
  const int file =
      open(path.empty() ? "/dev/null" : path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (file < 0 || dup2(file, fd) < 0) _exit(127);
}

}  // namespace

ProcessRun RunProcess(const std::vector<std::string>& argv, const std::string& workDir,
                      const std::string& stdoutPath, const std::string& stderrPath) {
  ProcessRun run;
  if (argv.empty()) return run;
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);

  std::fflush(nullptr);
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid < 0) return run;
  if (pid == 0) {
    Redirect(STDOUT_FILENO, stdoutPath);
    Redirect(STDERR_FILENO, stderrPath);
    if (!workDir.empty() && chdir(workDir.c_str()) != 0) _exit(127);
    execv(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  while (wait4(pid, &status, 0, &usage) < 0) {
    if (errno != EINTR) return run;
  }
  run.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.userSeconds = Seconds(usage.ru_utime);
  run.systemSeconds = Seconds(usage.ru_stime);
  run.peakKiB = usage.ru_maxrss;
  run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace relicor::bench
