// The seed check benchmark: `relicor-cli verify` over a pool of genuine items made by the 1.09
// generator (dungeon drops, uniques, shop items), against reading every file once.

#include "VerifyBench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/Cli.h"
#include "generate/ItemGenerator.h"
#include "platform/FileSystem.h"
#include "support/GeneratedRecord.h"

namespace fs = std::filesystem;

namespace relicor::bench {
namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Creation infos of the common paths, each at a level its source stores: monster drops (1-30)
// with the unique chance of a monster or a unique monster; premium and Wirt's stock (1-30);
// Griswold's and Adria's stock (6-16).
std::uint16_t CreateInfoFor(std::uint32_t r) {
  const std::uint16_t level = static_cast<std::uint16_t>(1 + r % 30);
  const std::uint16_t townLevel = static_cast<std::uint16_t>(6 + r % 11);
  switch ((r >> 8) % 8) {
    case 0:
      return townLevel | gen::cf::kSmith;
    case 1:
      return level | gen::cf::kSmithPremium;
    case 2:
      return level | gen::cf::kBoy;
    case 3:
      return townLevel | gen::cf::kWitch;
    case 4:
      return level | gen::cf::kUper15 | gen::cf::kOnlyGood;
    default:
      return level | gen::cf::kUper1;
  }
}

}  // namespace

std::vector<std::string> WriteGenuinePool(const std::string& dir, int n, bool edited) {
  std::vector<std::string> files;
  fs::create_directories(dir);
  std::uint32_t state = 4711;
  auto next = [&state] { return state = state * 1103515245u + 12345u; };
  const bool exists = fs::exists(dir + "/V" + std::to_string(n - 1) + ".ITM");
  for (int i = 0; i < n; ++i) {
    const std::string path = dir + "/V" + std::to_string(i) + ".ITM";
    files.push_back(path);
    if (exists) continue;
    for (;;) {
      const auto seed = static_cast<std::int32_t>(next() & 0x7FFFFFFF);
      const std::int32_t index = static_cast<std::int32_t>(next() % 156);
      const auto result = gen::GenerateItem(index, CreateInfoFor(next()), seed, gen::GameMode::kSinglePlayer);
      if (!result.item || result.item->baseIndex == 0 || result.item->baseIndex == 23) continue;
      ItemRecord record = test::GeneratedRecord(*result.item);
      if (edited) {  // one gold piece more in the price, as a hand edit leaves it
        const std::uint32_t price = record.ReadU32LE(offset::kPrice) + 1;
        for (std::size_t b = 0; b < 4; ++b)
          record.bytes()[offset::kPrice + b] = static_cast<std::uint8_t>(price >> (8 * b));
      }
      std::ofstream(path, std::ios::binary)
          .write(reinterpret_cast<const char*>(record.bytes().data()),
                 static_cast<std::streamsize>(record.bytes().size()));
      break;
    }
  }
  return files;
}

int RunVerify(int n, const std::string& base) {
  const auto files = WriteGenuinePool(base + "/verify-" + std::to_string(n), n, false);
  std::vector<std::string> args{"verify"};
  args.insert(args.end(), files.begin(), files.end());
  // Three rounds, the verify and the floor taking turns; the best time of each counts, so a
  // busy machine disturbs the ratio less.
  double seconds = 1e9;
  double floor = 1e9;
  std::size_t bytes = 0;
  for (int round = 0; round < 3; ++round) {
    std::ostringstream out, err;
    auto t0 = std::chrono::steady_clock::now();
    const int status = cli::RunCli(args, out, err);
    seconds = std::min(seconds, Seconds(t0));
    if (status != 0) {
      std::cerr << "verify found items that are not genuine:\n" << out.str().substr(0, 2000) << err.str();
      return 1;
    }
    t0 = std::chrono::steady_clock::now();
    bytes = 0;
    for (const auto& path : files) {
      auto head = ReadFileHead(path, 4096);
      if (head) bytes += head->size();
    }
    floor = std::min(floor, Seconds(t0));
  }
  std::printf("%-10s %7d items: %8.3f s   floor %8.3f s   ratio %.2f\n", "verify", n, seconds, floor,
              floor > 0 ? seconds / floor : 0.0);
  return bytes > 0 ? 0 : 1;
}

}  // namespace relicor::bench
