#pragma once
// A save game's items: a hero (body, inventory up to its count, belt) or a shared stash, read
// from the archive, decoded, unpacked and rebuilt into 400-byte item records. Hero items are
// rebuilt as the game rebuilds them when it loads a hero (from seed, creation info and base
// index); stash items are stored whole and are taken as they are, judged by the seed check.
// The kind is told by the content (which files the archive holds, which password decodes them,
// the marks of Hellfire), never by the file's name.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generate/ItemGenerator.h"
#include "generate/SeedCheck.h"
#include "item/ItemRecord.h"
#include "platform/Result.h"
#include "saves/SaveCodec.h"

namespace relicor::saves {

// Where an item sits in the save.
enum class ItemPlace : std::uint8_t { kBody, kInventory, kBelt, kStash };

struct SaveItem {
  ItemPlace place = ItemPlace::kBody;
  int slot = 0;  // body slot, inventory index or belt slot; the stash page for stash items
  ItemRecord record;
  gen::SeedVerdict verdict;
  // DevilutionX keeps a stored copy of each hero item; set when that copy is not what the game
  // makes of the seed (its verdict replaces the rebuilt item's).
  bool storedCopyDiffers = false;
};

// An item of the save that is not taken, with the reason ("a Hellfire item", ...).
struct SkippedItem {
  ItemPlace place = ItemPlace::kBody;
  int slot = 0;
  std::string reason;
};

enum class SaveKind : std::uint8_t { kHero, kStash };

struct SaveGame {
  std::string path;
  SaveKind kind = SaveKind::kHero;
  SaveMode mode = SaveMode::kSinglePlayer;
  bool devilutionX = false;  // the archive holds files only DevilutionX writes
  std::string heroName;      // Windows-1252; empty for a stash
  std::vector<SaveItem> items;
  std::vector<SkippedItem> skipped;
};

// Reads the save at `path`. An error (one line naming the file and the reason) for anything that
// is not a readable save of Diablo or DevilutionX: not an archive, cut short, no hero or stash,
// a file no password decodes, Hellfire, a damaged hero.
Result<SaveGame> ReadSaveGame(const std::string& path);

// The layout of a packed hero (the file "hero" once decoded).
namespace hero {
inline constexpr std::size_t kSize = 1266;
inline constexpr std::size_t kName = 16;
inline constexpr std::size_t kNameLength = 32;
inline constexpr std::size_t kBody = 124;
inline constexpr int kBodySlots = 7;
inline constexpr std::size_t kInventory = 257;
inline constexpr int kInventorySlots = 40;
inline constexpr std::size_t kInventoryCount = 1057;
inline constexpr std::size_t kBelt = 1058;
inline constexpr int kBeltSlots = 8;
inline constexpr std::size_t kHellfireMark = 1216;
inline constexpr std::size_t kPackedItem = 19;
}  // namespace hero

// One packed item (19 bytes).
struct PackedItem {
  std::uint32_t seed = 0;
  std::uint16_t createInfo = 0;
  std::uint16_t baseIndex = 0xFFFF;  // 0xFFFF: empty
  std::uint8_t identifiedAndQuality = 0;
  std::uint8_t durability = 0;
  std::uint8_t maxDurability = 0;
  std::uint8_t charges = 0;
  std::uint8_t maxCharges = 0;
  std::uint16_t value = 0;
  std::uint32_t buff = 0;
};
PackedItem UnpackItem(std::string_view bytes);  // at least 19 bytes

// The item record the game makes of a packed item when it loads a hero, or why it cannot.
struct Rebuilt {
  std::optional<ItemRecord> record;
  std::string reason;
};
Rebuilt RebuildItem(const PackedItem& packed, gen::GameMode mode);

// The record of a generated item: the "ITM0" header and every generated field at its place in
// the 1.09 item structure.
ItemRecord RecordOfItem(const gen::GeneratedItem& item);

// The game's item structure as DevilutionX stores it whole (stash, heroitems).
inline constexpr std::size_t kStoredItemSize = 368;
inline constexpr std::size_t kHellfireStoredItemSize = 372;
ItemRecord RecordOfStoredItem(std::string_view bytes);  // at least kStoredItemSize bytes

// "body slot 1", "inventory 12", "belt 3", "stash page 2" (numbers from 1).
std::string PlaceText(ItemPlace place, int slot);

}  // namespace relicor::saves
