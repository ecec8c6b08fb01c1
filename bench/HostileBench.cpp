#include "HostileBench.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <vector>

#include "cli/Cli.h"
#include "platform/Clock.h"
#include "pool/ItemCache.h"
#include "pool/Sidecar.h"
#include "shell/Members.h"
#include "support/RecordBuilder.h"

namespace fs = std::filesystem;

namespace relicor::bench {

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
}

// The peak memory of this process so far, in MiB.
double PeakMiB() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Runs `work` in a child process and gives how far it raised the child's peak memory, in MiB.
double PeakRiseOf(const std::function<void()>& work) {
  int pipe[2];
  if (::pipe(pipe) != 0) return -1;
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipe[0]);
    const double before = PeakMiB();
    work();
    const double rise = PeakMiB() - before;
    (void)!::write(pipe[1], &rise, sizeof rise);
    ::_exit(0);
  }
  ::close(pipe[1]);
  double rise = -1;
  (void)!::read(pipe[0], &rise, sizeof rise);
  ::close(pipe[0]);
  ::waitpid(child, nullptr, 0);
  return rise;
}

int RunMembers(int n, const std::string& base) {
  const std::string pool = base + "/hostile-members-" + std::to_string(n);
  const std::string home = base + "/hostile-home";
  fs::create_directories(pool);
  fs::create_directories(home);
  std::string text;
  char name[32];
  for (int i = n; i > 0; --i) {
    std::snprintf(name, sizeof name, "Member%07d\r\n", i);
    text += name;
  }
  WriteFile(pool + "/PLAYERS.TXT", text);

  auto t0 = std::chrono::steady_clock::now();
  MemberList members;
  LoadMembers(members, pool);
  const double load = Seconds(t0);
  if (members.size() != static_cast<std::size_t>(n)) {
    std::cerr << "loaded " << members.size() << " names of " << n << "\n";
    return 1;
  }
  t0 = std::chrono::steady_clock::now();
  std::ostringstream out, err;
  const int status = cli::RunCli({"--home", home, "--pool", pool, "members", "list"}, out, err);
  const double command = Seconds(t0);
  if (status != 0) {
    std::cerr << err.str();
    return 1;
  }
  std::printf("members   %7d names in reverse order: load %.3f s, relicor-cli members list %.3f s\n", n, load,
              command);
  return 0;
}

int RunSidecars(int n, const std::string& base) {
  const std::string pool = base + "/hostile-sidecars-" + std::to_string(n);
  const std::string home = base + "/hostile-home";
  fs::remove_all(pool);
  fs::create_directories(pool);
  fs::create_directories(home);
  const std::string breaks(kMaxSidecarBytes, '\n');
  for (int i = 0; i < n; ++i) {
    const std::string stem = pool + "/I" + std::to_string(i);
    WriteFile(
        stem + ".ITM",
        test::RecordBuilder().ident(static_cast<std::uint32_t>(i)).itemClass(1).name("Short Sword").bytes());
    WriteFile(stem + ".IT0", breaks);
  }
  const std::string one = pool + "/I0.ITM";
  const double read = PeakRiseOf([&] {
    SystemClock clock;
    ItemCache cache(clock);
    (void)cache.LoadItem(one);
  });
  const double exported = PeakRiseOf([&] {
    std::ostringstream out, err;
    (void)cli::RunCli({"--home", home, "--pool", pool, "export", pool}, out, err);
  });
  std::printf(
      "sidecars  %7d items, each a 1 MiB sidecar of line breaks: one read %.1f MiB, export %.1f MiB\n", n,
      read, exported);
  return 0;
}

}  // namespace

bool RunHostile(const std::string& what, int n, const std::string& base, int& status) {
  if (what == "members") {
    status = RunMembers(n, base);
    return true;
  }
  if (what == "sidecars") {
    status = RunSidecars(n, base);
    return true;
  }
  return false;
}

}  // namespace relicor::bench
