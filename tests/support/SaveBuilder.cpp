#include "support/SaveBuilder.h"

#include <cstdio>
#include <stdexcept>

#include "saves/SaveCodec.h"
#include "saves/SaveGame.h"

namespace relicor::test {

namespace {

void Le(std::string& s, std::size_t at, std::uint64_t v, int width) {
  for (int i = 0; i < width; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void Append(std::string& s, std::uint64_t v, int width) {
  const std::size_t at = s.size();
  s.resize(at + width);
  Le(s, at, v, width);
}

}  // namespace

PackedItemSpec PackOf(std::int32_t baseIndex, std::uint16_t createInfo, std::int32_t seed,
                      gen::GameMode mode) {
  const gen::GenerateResult made = gen::GenerateItem(baseIndex, createInfo, seed, mode);
  if (!made.item) throw std::runtime_error("test item cannot be generated: " + made.reason);
  const gen::GeneratedItem& g = *made.item;
  PackedItemSpec p;
  p.seed = static_cast<std::uint32_t>(seed);
  p.createInfo = createInfo;
  p.baseIndex = static_cast<std::uint16_t>(baseIndex);
  p.identifiedAndQuality = static_cast<std::uint8_t>(1 | (g.magical << 1));
  p.durability = static_cast<std::uint8_t>(g.durability);
  p.maxDurability = static_cast<std::uint8_t>(g.maxDurability);
  p.charges = static_cast<std::uint8_t>(g.charges);
  p.maxCharges = static_cast<std::uint8_t>(g.maxCharges);
  return p;
}

// Offsets of the packed hero: name 16 (32 bytes), body 7 items at 124, inventory 40 at 257,
// the count at 1057, belt 8 at 1058; 19 bytes an item. Total 1,266.
HeroBuilder::HeroBuilder() : bytes_(1266, '\0') {
  for (int i = 0; i < 7; ++i) body(i, {});
  for (int i = 0; i < 40; ++i) inventory(i, {});
  for (int i = 0; i < 8; ++i) belt(i, {});
}

HeroBuilder& HeroBuilder::name(const std::string& name) {
  for (std::size_t i = 0; i < 32; ++i) bytes_[16 + i] = i < name.size() ? name[i] : '\0';
  return *this;
}

void HeroBuilder::Put(std::size_t at, const PackedItemSpec& p) {
  Le(bytes_, at + 0, p.seed, 4);
  Le(bytes_, at + 4, p.createInfo, 2);
  Le(bytes_, at + 6, p.baseIndex, 2);
  Le(bytes_, at + 8, p.identifiedAndQuality, 1);
  Le(bytes_, at + 9, p.durability, 1);
  Le(bytes_, at + 10, p.maxDurability, 1);
  Le(bytes_, at + 11, p.charges, 1);
  Le(bytes_, at + 12, p.maxCharges, 1);
  Le(bytes_, at + 13, p.value, 2);
  Le(bytes_, at + 15, p.buff, 4);
}

HeroBuilder& HeroBuilder::body(int slot, const PackedItemSpec& item) {
  Put(124 + 19 * static_cast<std::size_t>(slot), item);
  return *this;
}

HeroBuilder& HeroBuilder::inventory(int slot, const PackedItemSpec& item) {
  Put(257 + 19 * static_cast<std::size_t>(slot), item);
  return *this;
}

HeroBuilder& HeroBuilder::inventoryCount(int count) {
  bytes_[1057] = static_cast<char>(count);
  return *this;
}

HeroBuilder& HeroBuilder::belt(int slot, const PackedItemSpec& item) {
  Put(1058 + 19 * static_cast<std::size_t>(slot), item);
  return *this;
}

HeroBuilder& HeroBuilder::byte(std::size_t offset, std::uint8_t value) {
  bytes_[offset] = static_cast<char>(value);
  return *this;
}

std::string StoredItem(const gen::GeneratedItem& item) {
  const ItemRecord record = saves::RecordOfItem(item);
  return std::string(reinterpret_cast<const char*>(record.bytes().data()) + 32, 368);
}

std::string EmptyStoredItem() {
  std::string s(368, '\0');
  Le(s, 8, 0xFFFFFFFFu, 4);  // no item type
  return s;
}

std::string HeroItemsFile(const std::vector<std::string>& items55, std::uint8_t hellfire) {
  std::string s(1, static_cast<char>(hellfire));
  for (const std::string& item : items55) s += item;
  return s;
}

std::string StashFile(const std::vector<StashPage>& pages, const std::vector<std::string>& items,
                      std::uint32_t gold) {
  std::string s;
  Append(s, 0, 1);
  Append(s, gold, 4);
  Append(s, pages.size(), 4);
  for (const StashPage& page : pages) {
    Append(s, page.number, 4);
    for (std::size_t i = 0; i < 100; ++i) Append(s, i < page.cells.size() ? page.cells[i] : 0, 2);
  }
  Append(s, items.size(), 4);
  for (const std::string& item : items) s += item;
  Append(s, 0, 4);
  return s;
}

std::string Encoded(const std::string& plain, std::string_view password) {
  return saves::EncodeSaveFile(plain, password);
}

void WriteSave(const std::string& path, const std::vector<saves::ArchiveEntry>& files,
               std::size_t hashTableSize) {
  std::remove(path.c_str());  // a save written again replaces the one before
  auto written = saves::WriteSaveArchive(path, files, hashTableSize);
  if (!written) throw std::runtime_error(written.error());
}

}  // namespace relicor::test
