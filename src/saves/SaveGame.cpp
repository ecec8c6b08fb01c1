#include "saves/SaveGame.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "generate/GameData109.h"
#include "saves/SaveArchive.h"

namespace relicor::saves {

namespace {

// Generous limits for the files of a save: a hero is a few kilobytes, a full stash a few
// megabytes, the game file of a single player save some hundred kilobytes.
constexpr std::size_t kMaxHeroBytes = std::size_t{64} * 1024;
constexpr std::size_t kMaxStashBytes = std::size_t{64} * 1024 * 1024;
constexpr std::size_t kMaxGameBytes = std::size_t{8} * 1024 * 1024;

constexpr std::uint32_t kHellfireItem = 0x1;
constexpr std::uint32_t kForcedUnique = 0x1E;

// Offsets in the game's item structure as a save stores it, without the record's first bytes.
constexpr std::size_t kStoredType = offset::kItemClass - offset::kGameItem;
constexpr std::size_t kStoredBaseIndex = offset::kBaseItem - offset::kGameItem;
constexpr std::size_t kStoredBuff = 364;

std::uint32_t U32(std::string_view s, std::size_t at) {
  const auto* p = reinterpret_cast<const std::uint8_t*>(s.data() + at);
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t U16(std::string_view s, std::size_t at) {
  const auto* p = reinterpret_cast<const std::uint8_t*>(s.data() + at);
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

void Put32(ItemRecord& r, std::size_t at, std::int64_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (std::size_t i = 0; i < 4; ++i) r.bytes()[at + i] = static_cast<std::uint8_t>(u >> (8 * i));
}

void Put8(ItemRecord& r, std::size_t at, std::int64_t v) {
  r.bytes()[at] = static_cast<std::uint8_t>(v);
}

void PutText(ItemRecord& r, std::size_t at, std::string_view text) {
  const std::size_t n = std::min(text.size(), kNameFieldSize - 1);
  for (std::size_t i = 0; i < kNameFieldSize; ++i)
    r.bytes()[at + i] = i < n ? static_cast<std::uint8_t>(text[i]) : 0;
}

gen::GameMode GameModeOf(SaveMode mode) {
  switch (mode) {
    case SaveMode::kSinglePlayer:
      return gen::GameMode::kSinglePlayer;
    case SaveMode::kMultiplayer:
      return gen::GameMode::kMultiplayer;
    case SaveMode::kSharewareMulti:
      return gen::GameMode::kSharewareMultiplayer;
    default:
      return gen::GameMode::kShareware;
  }
}

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
  if (text.size() < tail.size()) return false;
  for (std::size_t i = 0; i < tail.size(); ++i) {
    const char a = text[text.size() - tail.size() + i];
    const char b = tail[i];
    if ((a >= 'A' && a <= 'Z' ? a + 32 : a) != b) return false;
  }
  return true;
}

Error Refused(const std::string& path, std::string_view reason) {
  return MakeError(path + ": " + std::string(reason));
}

// The decoded content of file `name`, with the mode whose password decoded it.
Result<std::optional<DecodedFile>> ReadDecoded(const SaveArchive& archive, std::string_view name,
                                               std::size_t maxBytes) {
  auto stored = archive.Read(name, maxBytes);
  if (!stored) return stored.failure();
  if (!*stored) return std::optional<DecodedFile>();
  auto decoded = DecodeWithAnyPassword(**stored);
  if (!decoded) {
    return Refused(archive.path(), "the file " + std::string(name) +
                                       " does not decode with any password of Diablo or its shareware "
                                       "version (damaged, or from another game)");
  }
  return std::optional<DecodedFile>(std::move(*decoded));
}

bool IsEmptyStoredItem(std::string_view bytes) {
  return static_cast<std::int32_t>(U32(bytes, kStoredType)) == -1;
}

// Takes a stored item (stash, heroitems) as it is, judged by the seed check.
void TakeStoredItem(SaveGame& save, std::string_view bytes, ItemPlace place, int slot) {
  if (IsEmptyStoredItem(bytes)) return;
  if (U32(bytes, kStoredBuff) & kHellfireItem) {
    save.skipped.push_back({place, slot, "a Hellfire item"});
    return;
  }
  SaveItem item;
  item.place = place;
  item.slot = slot;
  item.record = RecordOfStoredItem(bytes);
  item.verdict = gen::CheckRecord(item.record);
  save.items.push_back(std::move(item));
}

Status ReadStash(SaveGame& save, const std::string& plain) {
  const std::string& path = save.path;
  auto damaged = [&](const std::string& why) { return Refused(path, "damaged stash: " + why); };
  std::size_t at = 0;
  auto need = [&](std::size_t n) { return plain.size() >= at && plain.size() - at >= n; };
  if (!need(9)) return damaged("shorter than its header");
  if (static_cast<std::uint8_t>(plain[0]) != 0)
    return Refused(
        path, "a stash of a newer version (" + std::to_string(static_cast<std::uint8_t>(plain[0])) + ")");
  at = 5;
  const std::uint32_t pages = U32(plain, at);
  at += 4;
  constexpr std::size_t kPageBytes = 4 + 10 * 10 * 2;
  if (pages > plain.size() / kPageBytes) return damaged("it names more pages than it holds");
  std::map<std::uint32_t, std::uint32_t> pageOfItem;  // item index -> page number
  for (std::uint32_t p = 0; p < pages; ++p) {
    if (!need(kPageBytes)) return damaged("cut short in its pages");
    const std::uint32_t number = U32(plain, at);
    for (std::size_t cell = 0; cell < 100; ++cell) {
      const std::uint16_t value = U16(plain, at + 4 + 2 * cell);
      if (value != 0) pageOfItem.emplace(value - 1u, number);
    }
    at += kPageBytes;
  }
  if (!need(4)) return damaged("cut short after its pages");
  const std::uint32_t count = U32(plain, at);
  at += 4;
  const std::size_t rest = plain.size() - at;
  if (rest < 4) return damaged("cut short after its item count");
  std::size_t itemSize = 0;
  if (count == 0 && rest == 4)
    itemSize = kStoredItemSize;
  else if (count != 0 && (rest - 4) == std::size_t{count} * kStoredItemSize)
    itemSize = kStoredItemSize;
  else if (count != 0 && (rest - 4) == std::size_t{count} * kHellfireStoredItemSize)
    return Refused(path, "a Hellfire stash (Hellfire saves are not imported)");
  else
    return damaged("its size does not fit its " + std::to_string(count) + " items");
  for (std::uint32_t i = 0; i < count; ++i) {
    const auto found = pageOfItem.find(i);
    const int page = found == pageOfItem.end() ? 0 : static_cast<int>(found->second) + 1;
    TakeStoredItem(save, std::string_view(plain).substr(at + std::size_t{i} * itemSize, itemSize),
                   ItemPlace::kStash, page);
  }
  return {};
}

}  // namespace

PackedItem UnpackItem(std::string_view b) {
  PackedItem p;
  p.seed = U32(b, 0);
  p.createInfo = U16(b, 4);
  p.baseIndex = U16(b, 6);
  p.identifiedAndQuality = static_cast<std::uint8_t>(b[8]);
  p.durability = static_cast<std::uint8_t>(b[9]);
  p.maxDurability = static_cast<std::uint8_t>(b[10]);
  p.charges = static_cast<std::uint8_t>(b[11]);
  p.maxCharges = static_cast<std::uint8_t>(b[12]);
  p.value = U16(b, 13);
  p.buff = U32(b, 15);
  return p;
}

ItemRecord RecordOfItem(const gen::GeneratedItem& g) {
  ItemRecord r;
  std::memcpy(r.bytes().data(), "ITM0", 4);
  Put32(r, offset::kIdent, g.seed);
  Put8(r, offset::kCreateInfo, g.createInfo & 0xFF);
  Put8(r, offset::kSource, g.createInfo >> 8);
  Put32(r, offset::kItemClass, g.type);
  Put8(r, offset::kMagical, g.magical);
  PutText(r, offset::kPlainName, g.plainName);
  PutText(r, offset::kIdentifiedName, g.identifiedName);
  Put8(r, offset::kLocation, g.location);
  Put8(r, offset::kCategory, g.itemClass);
  const std::pair<std::size_t, std::int64_t> words[] = {
      {offset::kCursor, g.cursor},
      {offset::kBaseValue, g.value},
      {offset::kPrice, g.price},
      {offset::kMinDamage, g.minDamage},
      {offset::kMaxDamage, g.maxDamage},
      {offset::kArmorClass, g.armor},
      {offset::kEffectFlags, static_cast<std::int32_t>(g.flags)},
      {offset::kUseEffect, g.miscId},
      {offset::kSpell, g.spell},
      {offset::kCharges, g.charges},
      {offset::kMaxCharges, g.maxCharges},
      {offset::kDurability, g.durability},
      {offset::kMaxDurability, g.maxDurability},
      {offset::kPctDamage, g.pctDamage},
      {offset::kPctToHit, g.pctToHit},
      {offset::kPctArmor, g.pctArmor},
      {offset::kAddStrength, g.strength},
      {offset::kAddMagic, g.magic},
      {offset::kAddDexterity, g.dexterity},
      {offset::kAddVitality, g.vitality},
      {offset::kResFire, g.resFire},
      {offset::kResLightning, g.resLightning},
      {offset::kResMagic, g.resMagic},
      {offset::kAddMana, g.mana},
      {offset::kAddHitPoints, g.hitPoints},
      {offset::kAddDamage, g.damage},
      {offset::kDamageFromEnemies, g.damageFromEnemies},
      {offset::kLightRadius, g.lightRadius},
      {offset::kUniqueIndex, g.uniqueIndex},
      {offset::kFireDamageMin, g.fireMin},
      {offset::kFireDamageMax, g.fireMax},
      {offset::kLightningDamageMin, g.lightningMin},
      {offset::kLightningDamageMax, g.lightningMax},
      {offset::kEnemyArmor, g.targetArmor},
      {offset::kAffixValueA, g.valueAdd1},
      {offset::kAffixMultA, g.valueMult1},
      {offset::kAffixValueB, g.valueAdd2},
      {offset::kAffixMultB, g.valueMult2},
      {offset::kBaseItem, g.baseIndex},
  };
  for (const auto& [at, value] : words) Put32(r, at, value);
  Put8(r, offset::kSpellLevels, g.spellLevels);
  Put8(r, offset::kPrefixPower, g.prefixPower);
  Put8(r, offset::kSuffixPower, g.suffixPower);
  Put8(r, offset::kReqStrength, g.minStr);
  Put8(r, offset::kReqMagic, g.minMag);
  Put8(r, offset::kReqDexterity, g.minDex);
  return r;
}

ItemRecord RecordOfStoredItem(std::string_view bytes) {
  ItemRecord r;
  std::memcpy(r.bytes().data(), "ITM0", 4);
  std::memcpy(r.bytes().data() + offset::kGameItem, bytes.data(), kStoredItemSize);
  return r;
}

Rebuilt RebuildItem(const PackedItem& p, gen::GameMode mode) {
  if (p.buff & kHellfireItem) return {std::nullopt, "a Hellfire item"};
  if (p.buff & kForcedUnique)
    return {std::nullopt, "a unique forced by a debug command, not made by the game"};
  const auto seed = static_cast<std::int32_t>(p.seed);
  const gen::GenerateResult made = gen::GenerateItem(p.baseIndex, p.createInfo, seed, mode, p.value);
  if (!made.item) return {std::nullopt, "not reproducible: " + made.reason};
  ItemRecord r = RecordOfItem(*made.item);
  if (p.baseIndex == gen::idi::kEar) {
    // The victim's name is packed into the item's fields, seven bits a letter.
    const std::uint8_t letters[] = {static_cast<std::uint8_t>(p.createInfo >> 8),
                                    static_cast<std::uint8_t>(p.createInfo),
                                    static_cast<std::uint8_t>(p.seed >> 24),
                                    static_cast<std::uint8_t>(p.seed >> 16),
                                    static_cast<std::uint8_t>(p.seed >> 8),
                                    static_cast<std::uint8_t>(p.seed),
                                    p.identifiedAndQuality,
                                    p.durability,
                                    p.maxDurability,
                                    p.charges,
                                    p.maxCharges,
                                    static_cast<std::uint8_t>(p.value >> 8),
                                    static_cast<std::uint8_t>(p.buff >> 24),
                                    static_cast<std::uint8_t>(p.buff >> 16),
                                    static_cast<std::uint8_t>(p.buff >> 8),
                                    static_cast<std::uint8_t>(p.buff)};
    std::string name = "Ear of ";
    for (const std::uint8_t letter : letters) {
      if ((letter & 0x7F) == 0) break;
      name.push_back(static_cast<char>(letter & 0x7F));
    }
    PutText(r, offset::kPlainName, name);
    Put32(r, offset::kCursor, ((p.value >> 6) & 3) + gen::icurs::kEarSorceror);
    Put32(r, offset::kBaseValue, p.value & 0x3F);
    return {r, {}};
  }
  // What play changed comes from the pack (gold too, as the game does it).
  Put32(r, offset::kIdentified, p.identifiedAndQuality & 1);
  Put8(r, offset::kMagical, p.identifiedAndQuality >> 1);
  Put32(r, offset::kDurability, p.durability);
  Put32(r, offset::kMaxDurability, p.maxDurability);
  Put32(r, offset::kCharges, p.charges);
  Put32(r, offset::kMaxCharges, p.maxCharges);
  return {r, {}};
}

std::string PlaceText(ItemPlace place, int slot) {
  switch (place) {
    case ItemPlace::kBody:
      return "body slot " + std::to_string(slot + 1);
    case ItemPlace::kInventory:
      return "inventory " + std::to_string(slot + 1);
    case ItemPlace::kBelt:
      return "belt " + std::to_string(slot + 1);
    case ItemPlace::kStash:
      return slot == 0 ? std::string("stash") : "stash page " + std::to_string(slot);
  }
  return {};
}

Result<SaveGame> ReadSaveGame(const std::string& path) {
  if (EndsWithNoCase(path, ".hsv") || EndsWithNoCase(path, ".drv"))
    return Refused(path, "a Hellfire save (Hellfire saves are not imported)");
  auto archive = SaveArchive::Open(path);
  if (!archive) return archive.failure();

  SaveGame save;
  save.path = path;
  auto heroFile = ReadDecoded(*archive, "hero", kMaxHeroBytes);
  if (!heroFile) return heroFile.failure();
  if (!*heroFile) {
    bool any = false;
    for (const std::string_view name : {"spstashitems", "mpstashitems"}) {
      auto stash = ReadDecoded(*archive, name, kMaxStashBytes);
      if (!stash) return stash.failure();
      if (!*stash) continue;
      if (!any) save.mode = (*stash)->mode;
      any = true;
      if (auto read = ReadStash(save, (*stash)->plain); !read) return read.failure();
    }
    if (!any) return Refused(path, "no hero and no stash in the archive");
    save.kind = SaveKind::kStash;
    save.devilutionX = true;
    return save;
  }

  const std::string& plain = (*heroFile)->plain;
  save.mode = (*heroFile)->mode;
  if (plain.size() != hero::kSize)
    return Refused(
        path, "damaged hero: " + std::to_string(plain.size()) + " bytes, not " + std::to_string(hero::kSize));
  if (plain[hero::kHellfireMark] != 0)
    return Refused(path, "a Hellfire hero (Hellfire saves are not imported)");
  auto game = ReadDecoded(*archive, "game", kMaxGameBytes);
  if (!game) return game.failure();
  if (*game && (*game)->plain.size() >= 4) {
    const std::string_view mark = std::string_view((*game)->plain).substr(0, 4);
    if (mark == "HELF" || mark == "SHLF")
      return Refused(path, "a Hellfire game (Hellfire saves are not imported)");
  }
  const std::string_view nameField = std::string_view(plain).substr(hero::kName, hero::kNameLength);
  save.heroName = std::string(nameField.substr(0, std::min(nameField.find('\0'), nameField.size())));
  const auto inventoryCount = static_cast<std::uint8_t>(plain[hero::kInventoryCount]);
  if (inventoryCount > hero::kInventorySlots)
    return Refused(
        path, "damaged hero: an inventory of " + std::to_string(inventoryCount) + " items, more than 40");

  // DevilutionX keeps each hero item whole beside the pack.
  std::optional<std::string> stored;
  auto heroItems = ReadDecoded(*archive, "heroitems", kMaxHeroBytes);
  if (!heroItems) return heroItems.failure();
  if (*heroItems) {
    save.devilutionX = true;
    const std::string& items = (*heroItems)->plain;
    constexpr std::size_t kSlots = hero::kBodySlots + hero::kInventorySlots + hero::kBeltSlots;
    if (!items.empty() && items[0] != 0)
      return Refused(path, "a Hellfire hero (Hellfire saves are not imported)");
    if (items.size() == 1 + kSlots * kHellfireStoredItemSize)
      return Refused(path, "a Hellfire hero (Hellfire saves are not imported)");
    if (items.size() != 1 + kSlots * kStoredItemSize)
      return Refused(
          path, "damaged hero: its stored items (heroitems) hold " + std::to_string(items.size()) + " bytes");
    stored = items.substr(1);
  }

  const gen::GameMode mode = GameModeOf(save.mode);
  struct Area {
    ItemPlace place;
    std::size_t offset;
    int slots;
    int storedFirst;
  };
  const Area areas[] = {
      {ItemPlace::kBody, hero::kBody, hero::kBodySlots, 0},
      {ItemPlace::kInventory, hero::kInventory, inventoryCount, hero::kBodySlots},
      {ItemPlace::kBelt, hero::kBelt, hero::kBeltSlots, hero::kBodySlots + hero::kInventorySlots},
  };
  for (const Area& area : areas) {
    for (int slot = 0; slot < area.slots; ++slot) {
      const PackedItem packed =
          UnpackItem(std::string_view(plain).substr(area.offset + std::size_t(slot) * hero::kPackedItem));
      if (packed.baseIndex == 0xFFFF) continue;
      Rebuilt rebuilt = RebuildItem(packed, mode);
      if (!rebuilt.record) {
        save.skipped.push_back({area.place, slot, std::move(rebuilt.reason)});
        continue;
      }
      SaveItem item;
      item.place = area.place;
      item.slot = slot;
      item.record = *rebuilt.record;
      item.verdict = gen::CheckRecord(item.record);
      if (stored) {
        const std::string_view copy = std::string_view(*stored).substr(
            std::size_t(area.storedFirst + slot) * kStoredItemSize, kStoredItemSize);
        if (!IsEmptyStoredItem(copy) && U32(copy, 0) == packed.seed &&
            static_cast<std::uint16_t>(U32(copy, kStoredBaseIndex)) == packed.baseIndex) {
          gen::SeedVerdict storedVerdict = gen::CheckRecord(RecordOfStoredItem(copy));
          if (storedVerdict.verdict != gen::Verdict::kGenuine &&
              item.verdict.verdict == gen::Verdict::kGenuine) {
            item.verdict = std::move(storedVerdict);
            item.storedCopyDiffers = true;
          }
        }
      }
      save.items.push_back(std::move(item));
    }
  }
  return save;
}

}  // namespace relicor::saves
