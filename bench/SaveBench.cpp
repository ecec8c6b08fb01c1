// The save game benchmark: heroes with every slot filled and a stash of 100 full pages, read as
// the import reads them (archive, codec, unpacking, the rebuild and the seed check of each item),
// against reading every save file once.

#include "SaveBench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "generate/ItemGenerator.h"
#include "platform/FileSystem.h"
#include "saves/SaveArchive.h"
#include "saves/SaveCodec.h"
#include "saves/SaveGame.h"
#include "support/SaveBuilder.h"

namespace fs = std::filesystem;

namespace relicor::bench {
namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Items the generator makes: dungeon drops of levels 1-30 of the first 156 base items.
struct Maker {
  std::uint32_t state = 4711;
  std::uint32_t Next() { return state = state * 1103515245u + 12345u; }
  std::optional<gen::GeneratedItem> Item(std::int32_t* index, std::uint16_t* ci, std::int32_t* seed) {
    for (;;) {
      *seed = static_cast<std::int32_t>(Next() & 0x7FFFFFFF);
      *index = static_cast<std::int32_t>(1 + Next() % 155);
      *ci = static_cast<std::uint16_t>((2 + Next() % 58) | gen::cf::kUper1);
      if (*index == 23) continue;
      auto made = gen::GenerateItem(*index, *ci, *seed, gen::GameMode::kSinglePlayer);
      if (made.item) return made.item;
    }
  }
};

std::vector<std::string> WriteSaves(const std::string& dir, int n) {
  fs::create_directories(dir);
  std::vector<std::string> files;
  Maker maker;
  const std::string stash = dir + "/stash.sv";
  const bool exists = fs::exists(stash);
  for (int i = 0; i < n; ++i) {
    const std::string path = dir + "/single_" + std::to_string(i) + ".sv";
    files.push_back(path);
    if (exists) continue;
    test::HeroBuilder hero;
    hero.name("Hero" + std::to_string(i)).inventoryCount(40);
    std::int32_t index = 0, seed = 0;
    std::uint16_t ci = 0;
    for (int slot = 0; slot < 55; ++slot) {
      maker.Item(&index, &ci, &seed);
      const test::PackedItemSpec pack = test::PackOf(index, ci, seed);
      if (slot < 7)
        hero.body(slot, pack);
      else if (slot < 47)
        hero.inventory(slot - 7, pack);
      else
        hero.belt(slot - 47, pack);
    }
    test::WriteSave(path, {{"hero", test::Encoded(hero.bytes(), "xrgyrkj1")}}, 2048);
  }
  files.push_back(stash);
  if (!exists) {
    std::vector<test::StashPage> pages;
    std::vector<std::string> items;
    for (std::uint32_t page = 0; page < 100; ++page) {
      test::StashPage p{page, std::vector<std::uint16_t>(100, 0)};
      for (int cell = 0; cell < 100; ++cell) {
        std::int32_t index = 0, seed = 0;
        std::uint16_t ci = 0;
        items.push_back(test::StoredItem(*maker.Item(&index, &ci, &seed)));
        p.cells[static_cast<std::size_t>(cell)] = static_cast<std::uint16_t>(items.size());
      }
      pages.push_back(std::move(p));
    }
    test::WriteSave(stash, {{"spstashitems", test::Encoded(test::StashFile(pages, items), "xrgyrkj1")}},
                    2048);
  }
  return files;
}

}  // namespace

int RunSaves(int n, const std::string& base) {
  const auto files = WriteSaves(base + "/saves-" + std::to_string(n), n);
  double seconds = 1e9;
  double floor = 1e9;
  double decoded = 1e9;
  std::size_t items = 0;
  for (int round = 0; round < 3; ++round) {
    auto t0 = std::chrono::steady_clock::now();
    items = 0;
    for (const auto& path : files) {
      auto save = saves::ReadSaveGame(path);
      if (!save) {
        std::cerr << save.error() << "\n";
        return 1;
      }
      items += save->items.size();
    }
    seconds = std::min(seconds, Seconds(t0));
    t0 = std::chrono::steady_clock::now();
    std::size_t bytes = 0;
    for (const auto& path : files) {
      auto whole = ReadWholeFile(path);
      if (whole) bytes += whole->size();
    }
    floor = std::min(floor, Seconds(t0));
    if (bytes == 0) return 1;
    // Reading the saves' files out of their archives and decoding them, without the items.
    t0 = std::chrono::steady_clock::now();
    for (const auto& path : files) {
      auto archive = saves::SaveArchive::Open(path);
      if (!archive) return 1;
      for (const char* name : {"hero", "spstashitems"}) {
        auto stored = archive->Read(name, 64 * 1024 * 1024);
        if (stored && *stored) bytes += saves::DecodeWithAnyPassword(**stored) ? 1 : 0;
      }
    }
    decoded = std::min(decoded, Seconds(t0));
  }
  std::printf("%-10s %7d heroes + a 100-page stash, %zu items: %8.3f s   floor %8.3f s   ratio %.2f\n",
              "saves", n, items, seconds, floor, floor > 0 ? seconds / floor : 0.0);
  std::printf("%-10s archives opened and decoded, no items: %8.3f s   ratio to it %.2f\n", "saves", decoded,
              decoded > 0 ? seconds / decoded : 0.0);
  return 0;
}

}  // namespace relicor::bench
