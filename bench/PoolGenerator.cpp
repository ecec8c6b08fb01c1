#include "PoolGenerator.h"

#include <array>
#include <filesystem>
#include <fstream>

namespace relicor::bench {

namespace {

// A few base items of every class that has them: index, class.
// clang-format off
struct BaseChoice { std::uint8_t index; std::uint8_t itemClass; };
constexpr std::array<BaseChoice, 24> kBases{{
    {114, 1}, {120, 1}, {124, 1}, {125, 2}, {130, 2}, {138, 3}, {143, 3}, {145, 3},
    {131, 4}, {137, 4}, { 71, 5}, { 76, 5}, { 58, 6}, { 61, 6}, { 48, 7}, { 53, 7},
    { 62, 8}, { 66, 8}, { 65, 9}, { 70, 9}, {146, 10}, {150, 10}, {151, 12}, {154, 13},
}};
// clang-format on

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

test::RecordBuilder RandomItem(std::mt19937& random, std::uint32_t ident) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  const BaseChoice base = kBases[static_cast<std::size_t>(pick(0, static_cast<int>(kBases.size()) - 1))];
  test::RecordBuilder item;
  item.ident(ident)
      .createInfo(static_cast<std::uint8_t>(pick(1, 30)))
      .source(static_cast<std::uint8_t>(pick(0, 1) ? 1 : 8))
      .itemClass(base.itemClass)
      .identified(1)
      .baseItem(base.index)
      .price(pick(100, 90000))
      .durability(static_cast<std::uint8_t>(pick(10, 60)))
      .maxDurability(60)
      .minDamage(static_cast<std::uint8_t>(pick(1, 5)))
      .maxDamage(static_cast<std::uint8_t>(pick(6, 20)))
      .armorClass(static_cast<std::int16_t>(pick(0, 40)))
      .reqStrength(static_cast<std::uint8_t>(pick(0, 80)));
  switch (pick(0, 5)) {
    case 0:
      item.prefixPower(2).pctDamage(static_cast<std::int16_t>(pick(20, 175)));
      break;
    case 1:
      item.prefixPower(0).pctToHit(static_cast<std::int16_t>(pick(1, 150)));
      break;
    case 2:
      item.prefixPower(6).pctArmor(static_cast<std::int16_t>(pick(10, 200)));
      break;
    case 3:
      item.prefixPower(8).resFire(static_cast<std::uint8_t>(pick(10, 60)));
      break;
    case 4:
      item.prefixPower(33).addMana(static_cast<std::int16_t>(pick(1, 60) * 64));
      break;
    default:
      break;
  }
  switch (pick(0, 5)) {
    case 0:
      item.suffixPower(19).addStrength(static_cast<std::int16_t>(pick(1, 30)));
      break;
    case 1:
      item.suffixPower(25).addVitality(static_cast<std::int16_t>(pick(1, 30)));
      break;
    case 2:
      item.suffixPower(31).addHitPoints(static_cast<std::int16_t>(pick(10, 100) * 64));
      break;
    case 3:
      item.suffixPower(61).addDamage(static_cast<std::int16_t>(pick(1, 20)));
      break;
    case 4:
      item.suffixPower(58).effect(18);
      break;
    default:
      break;
  }
  item.name("synthetic item " + std::to_string(ident % 97));
  return item;
}

int WritePool(const PoolSpec& spec) {
  namespace fs = std::filesystem;
  fs::create_directories(spec.directory);
  int existing = 0;
  for (const auto& entry : fs::directory_iterator(spec.directory)) {
    if (entry.path().extension() == ".ITM") ++existing;
  }
  if (existing == spec.itemCount) return 0;
  for (const auto& entry : fs::directory_iterator(spec.directory)) fs::remove_all(entry.path());
  std::mt19937 random(spec.seed);
  for (int i = 0; i < spec.itemCount; ++i) {
    auto item = RandomItem(random, static_cast<std::uint32_t>(random()));
    if (spec.sameName) item.name("Short Sword");
    char name[32];
    std::snprintf(name, sizeof name, "I%07d", i);
    const fs::path itemPath = fs::path(spec.directory) / (std::string(name) + ".ITM");
    WriteFile(itemPath, item.bytes());
    if (spec.sidecarEvery > 0 && i % spec.sidecarEvery == 0) {
      WriteFile(fs::path(spec.directory) / (std::string(name) + ".IT0"),
                "[Iteminfos]\r\nSenderName=Member" + std::to_string(i % 40) +
                    "\r\nSendTo=\r\nPoints4Item=1\r\npublic=0\r\nPoints4ItemAt=01.12.2026\r\n"
                    "AddedItem=01.12.2026\r\nSentAt=01.12.2026\r\n");
    }
  }
  return spec.itemCount;
}

}  // namespace relicor::bench
