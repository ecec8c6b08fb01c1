#include "WholeCommand.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "PoolGenerator.h"
#include "Process.h"
#include "VerifyBench.h"

namespace fs = std::filesystem;

namespace relicor::bench {

namespace {

bool IsVerify(const std::string& command) {
  return command == "verify" || command == "verify-edited" || command == "verify-dir" ||
         command == "verify-edited-dir";
}

// Items one field off the game's: verify finds every one of them (exit status 1).
bool IsEdited(const std::string& command) {
  return command == "verify-edited" || command == "verify-edited-dir";
}

std::string Sized(const WholeOptions& o, const std::string& what) {
  return o.dir + "/" + what + "-" + std::to_string(o.items);
}

std::uintmax_t SizeOf(const std::string& path) {
  std::error_code ec;
  const auto size = fs::file_size(path, ec);
  return ec ? 0 : size;
}

// The bytes of the pages and the stylesheet in `dir`.
std::uintmax_t PageBytes(const std::string& dir) {
  std::uintmax_t total = 0;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dir, ec)) {
    const std::string ext = entry.path().extension().string();
    if (entry.is_regular_file() && (ext == ".htm" || ext == ".css")) total += entry.file_size();
  }
  return total;
}

std::string ReadText(const std::string& path, std::size_t limit) {
  std::ifstream in(path, std::ios::binary);
  std::string text(limit, '\0');
  in.read(text.data(), static_cast<std::streamsize>(limit));
  text.resize(static_cast<std::size_t>(in.gcount()));
  return text;
}

// The file names of a verify pool, relative to it (so that a million fit on one command line).
std::vector<std::string> VerifyFiles(const WholeOptions& o) {
  std::vector<std::string> files;
  files.reserve(static_cast<std::size_t>(o.items));
  for (int i = 0; i < o.items; ++i) files.push_back("V" + std::to_string(i) + ".ITM");
  return files;
}

// A command line of a few megabytes (verify's file names) needs a larger stack limit, which
// the kernel's argument limit follows (a quarter of it).
void RaiseArgumentLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_STACK, &limit) != 0) return;
  const rlim_t wanted = rlim_t{512} << 20;
  if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < wanted) {
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? wanted : std::min(wanted, limit.rlim_max);
    (void)setrlimit(RLIMIT_STACK, &limit);
  }
}

// The rename run renames its pool: every run starts from a fresh copy of the unrenamed one, made
// of hard links (renaming a link leaves the generated pool's names alone, and the files stay in
// the cache; copying a hundred thousand files before every run took minutes).
std::string ResetRenamePool(const WholeOptions& o, const std::string& master) {
  const std::string work = Sized(o, "rename");
  fs::remove_all(work);
  fs::create_directories(work);
  for (const auto& entry : fs::directory_iterator(master))
    fs::create_hard_link(entry.path(), work / entry.path().filename());
  // Written out before the run, so that the write-back of the new names does not fall into its time.
  const int fd = open(work.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    (void)syncfs(fd);
    close(fd);
  }
  return work;
}

struct Series {
  std::vector<double> wall, user, system, ratio;
  std::vector<long> peak;
  void Add(const ProcessRun& run) {
    wall.push_back(run.wallSeconds);
    user.push_back(run.userSeconds);
    system.push_back(run.systemSeconds);
    peak.push_back(run.peakKiB);
  }
};

class Bench {
 public:
  explicit Bench(const WholeOptions& o) : o_(o), pool_(PreparePool(o)) {
    fs::create_directories(o.dir + "/home");
    if (IsVerify(o.command)) RaiseArgumentLimit();
  }

  // One run of relicor-cli; false (and its standard error printed) when it failed.
  bool Cli(ProcessRun& run, const std::string& pool) {
    const std::uintmax_t before = SizeOf(pool + "/DUPECHK.TXT");
    const std::string out = o_.dir + "/cli.out", err = o_.dir + "/cli.err";
    run = RunProcess(CliArguments(o_, pool), IsVerify(o_.command) ? pool : std::string(), out, err);
    const bool found = o_.command == "dupecheck" || IsEdited(o_.command);  // exit 1: found some
    if (run.exitStatus != 0 && !(found && run.exitStatus == 1)) {
      std::cerr << o_.command << " " << o_.items << ": relicor-cli ended with " << run.exitStatus << "\n"
                << ReadText(err, 2000);
      return false;
    }
    if (o_.command == "export") outputBytes_ = SizeOf(pool + "/ITMLIST.TXT");
    if (o_.command == "publish") outputBytes_ = PageBytes(pool);
    if (o_.command == "dupecheck") outputBytes_ = SizeOf(pool + "/DUPECHK.TXT") - before;
    if (IsVerify(o_.command)) outputBytes_ = SizeOf(out);
    return true;
  }

  std::vector<std::string> FloorArguments(const std::string& pool) const {
    if (o_.command == "rename") return {o_.renameFloor, pool};
    return {o_.floor, pool, o_.dir + "/floor.out", std::to_string(outputBytes_)};
  }

  bool Floor(ProcessRun& run, const std::string& pool) {
    run = RunProcess(FloorArguments(pool), {}, {}, o_.dir + "/floor.err");
    if (run.exitStatus != 0) {
      std::cerr << o_.command << " " << o_.items << ": the floor ended with " << run.exitStatus << "\n"
                << ReadText(o_.dir + "/floor.err", 2000);
      return false;
    }
    return true;
  }

  std::string Pool() { return o_.command == "rename" ? ResetRenamePool(o_, pool_) : pool_; }

  // The peak memory of the command over a pool of one item: what it takes whatever the pool's
  // size (its code, its threads and their buffers), so that the rest is what the items take.
  long BasePeak() {
    WholeOptions one = o_;
    one.items = 1;
    std::string pool;
    if (IsVerify(o_.command)) {
      pool = PreparePool(one);
    } else {
      pool = Sized(one, "pool");
      // A rename run names its one item: made anew each time, it finds it misnamed again.
      if (o_.command == "rename") fs::remove_all(pool);
      WritePool(PoolSpec{pool, 1, 4711, 3, o_.command == "rename"});
    }
    return RunProcess(CliArguments(one, pool), IsVerify(o_.command) ? pool : std::string()).peakKiB;
  }

  int Run() {
    const bool withFloor = !(o_.command == "rename" ? o_.renameFloor : o_.floor).empty();
    ProcessRun run;
    // Warm-up: the cache holds the pool, and the output's size is known for the floor.
    if (!Cli(run, Pool()) || (withFloor && !Floor(run, Pool()))) return 1;
    Series cli, floor;
    for (int r = 0; r < o_.runs; ++r) {
      ProcessRun a, b;
      // Taking turns which goes first, so that neither always finds the other's leftovers.
      const bool cliFirst = r % 2 == 0;
      if (cliFirst && !Cli(a, Pool())) return 1;
      if (withFloor && !Floor(b, Pool())) return 1;
      if (!cliFirst && !Cli(a, Pool())) return 1;
      cli.Add(a);
      if (!withFloor) continue;
      floor.Add(b);
      cli.ratio.push_back(b.wallSeconds > 0 ? a.wallSeconds / b.wallSeconds : 0);
    }
    const long base = BasePeak();
    std::vector<double> peaks(cli.peak.begin(), cli.peak.end());
    const double peakKiB = Median(peaks);
    const double wall = Median(cli.wall), floorWall = Median(floor.wall);
    std::string ratios;
    char buffer[32];
    for (double q : cli.ratio) {
      std::snprintf(buffer, sizeof buffer, "%s%.2f", ratios.empty() ? "" : " ", q);
      ratios += buffer;
    }
    std::printf("%-13s %8d %8.3f %6.2f %6.2f %8.3f %6.2f %6.2f %6.2f %8.2f %7.0f %7.0f   (%s)\n",
                o_.command.c_str(), o_.items, wall, Median(cli.user), Median(cli.system), floorWall,
                Median(floor.user), Median(floor.system), floorWall > 0 ? wall / floorWall : 0.0,
                wall * 1e6 / o_.items, peakKiB / 1024,
                (peakKiB - static_cast<double>(base)) * 1024 / o_.items, ratios.c_str());
    std::fflush(stdout);
    return 0;
  }

 private:
  const WholeOptions& o_;
  std::string pool_;
  std::uintmax_t outputBytes_ = 0;
};

}  // namespace

std::string PreparePool(const WholeOptions& o) {
  if (IsVerify(o.command)) {
    const std::string pool = Sized(o, IsEdited(o.command) ? "verify-edited" : "verify");
    (void)WriteGenuinePool(pool, o.items, IsEdited(o.command));
    return pool;
  }
  const bool rename = o.command == "rename";
  const std::string pool = rename ? Sized(o, "pool") + "-same" : Sized(o, "pool");
  WritePool(PoolSpec{pool, o.items, 4711, 3, rename});
  return pool;
}

std::vector<std::string> CliArguments(const WholeOptions& o, const std::string& pool) {
  // The pool directory itself: more file names than the kernel passes to a program (a million).
  if (o.command == "verify-dir" || o.command == "verify-edited-dir") return {o.cli, "verify", "."};
  if (IsVerify(o.command)) {
    std::vector<std::string> argv{o.cli, "verify"};
    for (std::string& file : VerifyFiles(o)) argv.push_back(std::move(file));
    return argv;
  }
  std::vector<std::string> argv{o.cli, "--home", o.dir + "/home",    "--pool",
                                pool,  "--sent", o.dir + "/no-sent", "--no-subdirs"};
  if (o.command == "export") argv.insert(argv.end(), {"export", pool});
  if (o.command == "publish") argv.insert(argv.end(), {"publish", pool});  // pages of the items beside them
  if (o.command == "dupecheck") argv.emplace_back("dupecheck");
  if (o.command == "rename") argv.insert(argv.end(), {"rename", "--yes"});
  return argv;
}

int RunWhole(const WholeOptions& options) {
  return Bench(options).Run();
}

std::vector<SyscallCount> ParseStraceSummary(const std::string& text) {
  // Rows between the two dashed rules: % time, seconds, usecs/call, calls, [errors], syscall.
  std::vector<SyscallCount> rows;
  std::istringstream in(text);
  std::string line;
  int rules = 0;
  while (std::getline(in, line)) {
    if (line.rfind("------", 0) == 0) {
      ++rules;
      continue;
    }
    if (rules != 1) continue;
    std::istringstream fields(line);
    std::vector<std::string> f;
    for (std::string field; fields >> field;) f.push_back(field);
    if (f.size() != 5 && f.size() != 6) continue;
    SyscallCount row;
    row.name = f.back();
    row.seconds = std::stod(f[1]);
    row.calls = std::stol(f[3]);
    row.errors = f.size() == 6 ? std::stol(f[4]) : 0;
    rows.push_back(row);
  }
  return rows;
}

int RunStraceCount(const WholeOptions& o) {
  Bench bench(o);
  ProcessRun run;
  if (!bench.Cli(run, bench.Pool())) return 1;  // the output's size, for the floor
  const std::string cliSummary = o.dir + "/strace-cli.txt", floorSummary = o.dir + "/strace-floor.txt";
  auto traced = [&](std::vector<std::string> argv, const std::string& summary, const std::string& workDir) {
    argv.insert(argv.begin(), {"/usr/bin/strace", "-f", "-c", "-o", summary});
    run = RunProcess(argv, workDir, o.dir + "/traced.out", o.dir + "/traced.err");
    if (run.exitStatus == 0 || (run.exitStatus == 1 && (o.command == "dupecheck" || IsEdited(o.command))))
      return true;
    std::cerr << "strace " << argv[5] << ": ended with " << run.exitStatus << "\n"
              << ReadText(o.dir + "/traced.err", 2000);
    return false;
  };
  const std::string pool = bench.Pool();
  if (!traced(CliArguments(o, pool), cliSummary, IsVerify(o.command) ? pool : std::string())) return 1;
  if (!traced(bench.FloorArguments(bench.Pool()), floorSummary, {})) return 1;
  const auto cliRows = ParseStraceSummary(ReadText(cliSummary, 1 << 20));
  const auto floorRows = ParseStraceSummary(ReadText(floorSummary, 1 << 20));
  // Every call either side makes, the most frequent first.
  std::vector<SyscallCount> rows = cliRows;
  for (const auto& row : floorRows) {
    if (std::none_of(rows.begin(), rows.end(), [&](const SyscallCount& r) { return r.name == row.name; }))
      rows.push_back(SyscallCount{row.name, 0, 0, 0});
  }
  std::stable_sort(rows.begin(), rows.end(),
                   [](const SyscallCount& a, const SyscallCount& b) { return a.calls > b.calls; });
  auto find = [](const std::vector<SyscallCount>& rows, const std::string& name) {
    for (const auto& row : rows)
      if (row.name == name) return row;
    return SyscallCount{name, 0, 0, 0};
  };
  const double n = o.items;
  long cliTotal = 0, floorTotal = 0;
  std::printf("%s, %d items: system calls per item (strace -f -c)\n", o.command.c_str(), o.items);
  std::printf("  %-18s %10s %10s %8s   %10s %10s\n", "call", "relicor", "floor", "errors", "relicor s",
              "floor s");
  for (const SyscallCount& a : rows) {
    const SyscallCount b = find(floorRows, a.name);
    cliTotal += a.calls;
    floorTotal += b.calls;
    std::printf("  %-18s %10.3f %10.3f %8ld   %10.3f %10.3f\n", a.name.c_str(), a.calls / n, b.calls / n,
                a.errors, a.seconds, b.seconds);
  }
  std::printf("  %-18s %10.3f %10.3f\n\n", "total", cliTotal / n, floorTotal / n);
  return 0;
}

}  // namespace relicor::bench
