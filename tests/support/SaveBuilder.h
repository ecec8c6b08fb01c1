#pragma once
// Test saves made by our own code: a packed hero written byte by byte at the offsets the game
// uses (written out here as plain numbers, apart from the reader's constants, so a reader and a
// writer that share a wrong offset cannot both pass), DevilutionX's stored items and stash, all
// encoded with the game's codec and put into an archive of the game's kind.

#include <cstdint>
#include <string>
#include <vector>

#include "generate/ItemGenerator.h"
#include "saves/SaveArchive.h"
#include "saves/SaveGame.h"

namespace relicor::test {

// The values of one packed item; HeroBuilder writes them at their offsets itself.
using PackedItemSpec = saves::PackedItem;

// The pack of an item the generator makes (durability and charges as made, identified).
PackedItemSpec PackOf(std::int32_t baseIndex, std::uint16_t createInfo, std::int32_t seed,
                      gen::GameMode mode = gen::GameMode::kSinglePlayer);

class HeroBuilder {
 public:
  HeroBuilder();
  HeroBuilder& name(const std::string& name);
  HeroBuilder& body(int slot, const PackedItemSpec& item);
  HeroBuilder& inventory(int slot, const PackedItemSpec& item);
  HeroBuilder& inventoryCount(int count);
  HeroBuilder& belt(int slot, const PackedItemSpec& item);
  HeroBuilder& byte(std::size_t offset, std::uint8_t value);
  // The 1,266 plain bytes.
  const std::string& bytes() const { return bytes_; }

 private:
  void Put(std::size_t offset, const PackedItemSpec& item);
  std::string bytes_;
};

// A DevilutionX item structure as stored whole (368 bytes): seed, creation info, base index and
// the rest of a generated item.
std::string StoredItem(const gen::GeneratedItem& item);
// The empty slot DevilutionX stores.
std::string EmptyStoredItem();

// DevilutionX's heroitems: a Hellfire byte and 55 stored items (body, inventory, belt).
std::string HeroItemsFile(const std::vector<std::string>& items55, std::uint8_t hellfire = 0);

// A stash: version 0, gold, the pages (number and 10 x 10 cells holding item index + 1), the
// items, the current page.
struct StashPage {
  std::uint32_t number = 0;
  std::vector<std::uint16_t> cells;  // 100 cells
};
std::string StashFile(const std::vector<StashPage>& pages, const std::vector<std::string>& items,
                      std::uint32_t gold = 0);

// Encodes with the password of the mode and writes the archive.
std::string Encoded(const std::string& plain, std::string_view password);
void WriteSave(const std::string& path, const std::vector<saves::ArchiveEntry>& files,
               std::size_t hashTableSize = 16);

}  // namespace relicor::test
