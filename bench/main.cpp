// Benchmarks over synthetic pools.
//
// The whole command, as a keeper runs it: relicor-cli as a separate process, each run followed
// or preceded by the floor (a plain C program doing only the file work that cannot be avoided),
// medians (scripts/bench.sh builds the floors and runs these):
//
//   relicor-bench whole COMMAND N DIR --cli PATH [--floor PATH] [--rename-floor PATH] [--runs R]
//   relicor-bench strace COMMAND N DIR --cli PATH --floor PATH [--rename-floor PATH]
//       (the system calls per item of both, counted by strace -f -c)
//   COMMAND: export, publish, dupecheck, rename, verify (genuine items, each named), verify-edited,
//            verify-dir, verify-edited-dir (the pool's directory named)
//
// In the benchmark's own process, the command through the session against a floor measured
// right after it in the same process:
//
//   relicor-bench export N [DIR]     text export of an N-item pool
//   relicor-bench publish N [DIR]    HTML creation of an N-item pool
//   relicor-bench dupecheck N [DIR]  pool duplicate check of an N-item pool
//   relicor-bench rename N [DIR]     rename run over N items that all carry the same name
//   relicor-bench verify N [DIR]     relicor-cli verify of N genuine items
//   relicor-bench saves N [DIR]      reading N heroes and a 100-page stash as the import does
//   relicor-bench members N [DIR], relicor-bench sidecars N [DIR]: hostile files (HostileBench.h)
//   relicor-bench names N            the rename run's naming of N items of one name (no files)

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "HostileBench.h"
#include "PoolGenerator.h"
#include "SaveBench.h"
#include "VerifyBench.h"
#include "WholeCommand.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "pool/RenameRun.h"
#include "shell/Session.h"
#include "text/ByteText.h"

namespace fs = std::filesystem;
using relicor::bench::PoolSpec;
using relicor::bench::WritePool;

namespace {

class QuietUi final : public relicor::SessionUi {
 public:
  bool Confirm(std::string_view) override { return true; }
};

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Reads every item file and sidecar under `dir` once, as any work over the pool must.
std::size_t ReadAllItems(const std::string& dir) {
  std::size_t bytes = 0;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    const auto ext = entry.path().extension();
    if (!entry.is_regular_file() || (ext != ".ITM" && ext != ".IT0")) continue;
    auto head = relicor::ReadFileHead(entry.path().string(), 4096);
    if (head) bytes += head->size();
  }
  return bytes;
}

// Writes `bytes` bytes to a file in `dir` in 1 MiB pieces, as an output of that size needs.
void WriteBytes(const std::string& path, std::size_t bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const std::string chunk(1 << 20, 'x');
  while (bytes > 0) {
    const std::size_t n = std::min(bytes, chunk.size());
    out.write(chunk.data(), static_cast<std::streamsize>(n));
    bytes -= n;
  }
}

std::size_t TreeBytes(const std::string& dir, const std::string& ext) {
  std::size_t total = 0;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    if (entry.is_regular_file() && (ext.empty() || entry.path().extension() == ext))
      total += entry.file_size();
  }
  return total;
}

void Report(const char* what, int n, double seconds, double floor) {
  std::printf("%-10s %7d items: %8.3f s   floor %8.3f s   ratio %.2f\n", what, n, seconds, floor,
              floor > 0 ? seconds / floor : 0.0);
}

int Run(const std::string& what, int n, const std::string& base) {
  const std::string pool = base + "/pool-" + std::to_string(n) + (what == "rename" ? "-same" : "");
  const std::string home = base + "/home";
  fs::create_directories(home);
  PoolSpec spec{pool, n, 4711, 3, what == "rename"};
  if (what == "rename") fs::remove_all(pool);
  WritePool(spec);

  relicor::SystemClock clock;
  QuietUi ui;
  relicor::Session session(home + "/", clock, ui);
  session.Start();
  (void)session.SetPoolDirectory(pool);
  (void)session.SetSentDirectory(base + "/no-sent");
  session.flags().debugFile = false;

  if (what == "export") {
    auto t0 = std::chrono::steady_clock::now();
    auto result = session.ExportItemList(pool);
    const double seconds = Seconds(t0);
    if (!result) {
      std::cerr << result.error() << "\n";
      return 1;
    }
    const std::size_t size = fs::file_size(pool + "/ITMLIST.TXT");
    t0 = std::chrono::steady_clock::now();
    ReadAllItems(pool);
    WriteBytes(base + "/floor.out", size);
    Report("export", n, seconds, Seconds(t0));
    return 0;
  }
  if (what == "publish") {
    const std::string out = base + "/pages-" + std::to_string(n);
    fs::create_directories(out);
    session.settings().htmlScanSub = false;
    auto t0 = std::chrono::steady_clock::now();
    auto result = session.CreatePages(pool);
    const double seconds = Seconds(t0);
    if (!result) {
      std::cerr << result.error() << "\n";
      return 1;
    }
    const std::size_t size = TreeBytes(pool, ".htm") + TreeBytes(pool, ".css");
    t0 = std::chrono::steady_clock::now();
    ReadAllItems(pool);
    WriteBytes(base + "/floor.out", size);
    Report("publish", n, seconds, Seconds(t0));
    return 0;
  }
  if (what == "dupecheck") {
    session.settings().htmlScanSub = false;
    auto t0 = std::chrono::steady_clock::now();
    auto result = session.CheckDuplicates();
    const double seconds = Seconds(t0);
    if (!result) {
      std::cerr << result.error() << "\n";
      return 1;
    }
    t0 = std::chrono::steady_clock::now();
    ReadAllItems(pool);
    Report("dupecheck", n, seconds, Seconds(t0));
    return 0;
  }
  if (what == "rename") {
    session.settings().htmlScanSub = false;
    auto t0 = std::chrono::steady_clock::now();
    auto result = session.RenameRun();
    const double seconds = Seconds(t0);
    if (!result) {
      std::cerr << result.error() << "\n";
      return 1;
    }
    // The floor: reading every item file and sidecar once and renaming each of them once (the
    // run renames every item here, and its sidecar with it). The names are taken before the first
    // rename, so that no renamed file is listed and renamed again.
    const std::string copy = base + "/rename-floor";
    fs::remove_all(copy);
    fs::create_directories(copy);
    for (const auto& entry : fs::directory_iterator(pool))
      fs::copy(entry.path(), copy / entry.path().filename());
    t0 = std::chrono::steady_clock::now();
    ReadAllItems(copy);
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(copy)) {
      const auto ext = entry.path().extension();
      if (ext == ".ITM" || ext == ".IT0") files.push_back(entry.path());
    }
    int i = 0;
    for (const fs::path& file : files) {
      fs::rename(file, fs::path(copy) / ("R" + std::to_string(i++) + file.extension().string()));
    }
    Report("rename", n, seconds, Seconds(t0));
    return 0;
  }
  std::cerr << "unknown benchmark " << what << "\n";
  return 2;
}

// The rename run's naming alone: N items of one name take the numbers 1 to N, each found
// without walking the names before it (the time per item stays flat as N grows).
int RunNames(int n) {
  relicor::FileNameIndex index;
  for (int i = 0; i < n; ++i) index.Add("/p/in" + std::to_string(i) + ".ITM");
  const relicor::ItemEntry entry("/p/new.ITM", relicor::test::RecordBuilder().name("Short Sword").build(),
                                 relicor::ItemMeta{});
  const auto t0 = std::chrono::steady_clock::now();
  std::string name;
  for (int i = 0; i < n; ++i) {  // as the run uses the index, without the files
    const std::string own = "/p/in" + std::to_string(i) + ".ITM";
    name = relicor::NewItemFileName(entry, own, index);
    index.Remove(own);
    index.Add("/p/" + name);
  }
  const double seconds = Seconds(t0);
  if (name != "ShortSword" + relicor::ZeroPadNumber(n, 4) + ".ITM") {
    std::cerr << "names: the last item got " << name << "\n";
    return 1;
  }
  std::printf("%-10s %7d items: %8.3f s   %.2f us per item\n", "names", n, seconds, seconds * 1e6 / n);
  return 0;
}

// relicor-bench whole|strace COMMAND N DIR --cli PATH [--floor PATH] [--rename-floor PATH] [--runs R]
int RunWholeCommand(int argc, char** argv) {
  if (argc < 5) return 2;
  relicor::bench::WholeOptions options;
  options.command = argv[2];
  options.items = std::stoi(argv[3]);
  options.dir = argv[4];
  for (int i = 5; i + 1 < argc; i += 2) {
    const std::string option = argv[i], value = argv[i + 1];
    if (option == "--cli")
      options.cli = value;
    else if (option == "--floor")
      options.floor = value;
    else if (option == "--rename-floor")
      options.renameFloor = value;
    else if (option == "--runs")
      options.runs = std::stoi(value);
    else
      return 2;
  }
  if (options.cli.empty() || options.items < 1 || options.runs < 1) return 2;
  fs::create_directories(options.dir);
  const std::string what = argv[1];
  return what == "strace" ? relicor::bench::RunStraceCount(options) : relicor::bench::RunWhole(options);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && (std::string(argv[1]) == "whole" || std::string(argv[1]) == "strace")) {
    const int status = RunWholeCommand(argc, argv);
    if (status == 2)
      std::cerr << "usage: relicor-bench whole|strace COMMAND N DIR --cli PATH [--floor PATH] "
                   "[--rename-floor PATH] [--runs R]\n";
    return status;
  }
  if (argc < 3) {
    std::cerr << "usage: relicor-bench export|publish|dupecheck|rename|verify|saves|members|sidecars|names N "
                 "[DIR]\n"
                 "       relicor-bench whole|strace COMMAND N DIR --cli PATH [--floor PATH] ...\n";
    return 2;
  }
  if (std::string(argv[1]) == "names") return RunNames(std::stoi(argv[2]));
  fs::path base = fs::temp_directory_path() / "relicor-bench";
  if (argc > 3) base = argv[3];
  fs::create_directories(base);
  if (std::string(argv[1]) == "saves") return relicor::bench::RunSaves(std::stoi(argv[2]), base.string());
  if (std::string(argv[1]) == "verify") return relicor::bench::RunVerify(std::stoi(argv[2]), base.string());
  if (int status = 0; relicor::bench::RunHostile(argv[1], std::stoi(argv[2]), base.string(), status))
    return status;
  return Run(argv[1], std::stoi(argv[2]), base.string());
}
