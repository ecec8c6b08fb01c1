#include "pool/Sidecar.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/IniFile.h"
#include "text/ByteText.h"
#include "text/Path.h"

namespace relicor {

namespace {

// A key's value as the sidecar's text holds it; nothing for a missing key.
using KeyValue = std::optional<std::string_view>;

// What a profile read gives of a value: its first kProfileTextLimit characters.
std::string_view ProfileView(std::string_view value) {
  return value.substr(0, kProfileTextLimit);
}

DateTime DateOr(KeyValue value, DateTime fallback) {
  if (!value) return fallback;
  return ParseDate(ProfileView(*value)).value_or(fallback);
}

std::string NameValue(KeyValue value) {
  return ShortString(value ? ProfileView(*value) : std::string_view(), kMemberNameCapacity);
}

bool FlagValue(KeyValue value) {
  return value && ProfileBool(std::string(ProfileView(*value)), false);
}

// Views into the text of the Ini they were found in.
using SidecarKeyValues = std::array<KeyValue, kSidecarKeyCount>;

// The sidecar's keys in one pass; of a repeated key the first counts.
SidecarKeyValues FindSidecarKeys(const Ini& ini) {
  SidecarKeyValues found;
  for (const auto& [name, value] : ini.KeyValues(kSidecarSection)) {
    for (std::size_t k = 0; k < kSidecarKeyCount; ++k) {
      if (name.size() == kSidecarKeys[k].size() && EqualsNoCase(name, kSidecarKeys[k])) {
        if (!found[k]) found[k] = value;
        break;
      }
    }
  }
  return found;
}

bool IsDateValue(KeyValue value) {
  return value && ParseDate(ProfileView(*value)).has_value();
}

}  // namespace

SidecarValues SidecarValuesFromIni(const Ini& ini, DateTime now, DateTime fileDate) {
  const SidecarKeyValues found = FindSidecarKeys(ini);
  SidecarValues values;
  values.senderName = NameValue(found[0]);
  values.sendTo = NameValue(found[1]);
  values.points4Item = FlagValue(found[2]);
  values.isPublic = FlagValue(found[3]);
  values.points4ItemAt = DateOr(found[4], now);
  values.addedItem = DateOr(found[5], fileDate);
  values.sentAt = DateOr(found[6], fileDate);
  return values;
}

bool SidecarGivesDates(const Ini& ini) {
  const SidecarKeyValues found = FindSidecarKeys(ini);
  return IsDateValue(found[5]) && IsDateValue(found[6]);
}

void PutSidecarValues(Ini& ini, const SidecarValues& values, DateTime today) {
  ini.Set(kSidecarSection, kSidecarKeys[0], values.senderName);
  ini.Set(kSidecarSection, kSidecarKeys[1], values.sendTo);
  ini.Set(kSidecarSection, kSidecarKeys[2], ProfileBoolText(values.points4Item));
  ini.Set(kSidecarSection, kSidecarKeys[3], ProfileBoolText(values.isPublic));
  ini.Set(kSidecarSection, kSidecarKeys[4], SafeDateText(values.points4ItemAt, today));
  ini.Set(kSidecarSection, kSidecarKeys[5], SafeDateText(values.addedItem, today));
  ini.Set(kSidecarSection, kSidecarKeys[6], SafeDateText(values.sentAt, today));
}

Result<std::optional<std::string>> ReadSidecarText(const std::string& path, KnownType known,
                                                   const DirectoryHandle* in) {
  auto text = ReadSmallFileNoFollow(path, kMaxSidecarBytes, known, in);
  if (!text) return MakeError(text.error() + ": not read as a sidecar");
  return text;
}

Result<std::optional<std::string>> ReadSidecarTextAndStamp(const std::string& path, FileStamp& stamp,
                                                           const DirectoryHandle* in) {
  auto text = ReadSmallFileAndStamp(path, kMaxSidecarBytes, stamp, in);
  if (!text) return MakeError(text.error() + ": not read as a sidecar");
  return text;
}

SidecarValues ReadSidecar(const std::string& path, DateTime now, DateTime fileDate, std::string* problem) {
  auto text = ReadSidecarText(path);
  if (!text) {
    if (problem != nullptr) *problem = text.error();
    return SidecarValuesFromIni(Ini(), now, fileDate);
  }
  return SidecarValuesFromIni(*text ? Ini::Parse(**text) : Ini(), now, fileDate);
}

Status WriteSidecar(const std::string& path, const SidecarValues& values, DateTime today) {
  auto text = ReadSidecarText(path);
  if (!text) return MakeError(text.error() + "; " + path + " is left as it is");
  Ini ini = *text ? Ini::Parse(**text) : Ini();
  PutSidecarValues(ini, values, today);
  return AtomicReplaceFile(path, ini.Serialize());
}

namespace {

// The hash code of `name` with its last three characters as "IT0" (a name a file system allows
// fits the buffer; a longer one is folded on the heap).
std::size_t FoldedNameCode(std::string_view name) {
  if (name.size() > 256) {
    std::string folded(name);
    folded.replace(folded.size() - 3, 3, "IT0");
    return std::hash<std::string>{}(folded);
  }
  std::array<char, 256> buffer;  // only the name's part is written and read
  const std::size_t stem = name.size() - 3;
  name.copy(buffer.data(), stem);
  buffer[stem] = 'I';
  buffer[stem + 1] = 'T';
  buffer[stem + 2] = '0';
  return std::hash<std::string_view>{}(std::string_view(buffer.data(), name.size()));
}

constexpr std::uint32_t kSpellingBits = 7;

// The slot's tag of a code: its top 29 bits above the spelling bits, never 0 (an empty slot).
std::uint32_t TagOf(std::size_t code) {
  const auto tag = static_cast<std::uint32_t>(static_cast<std::uint64_t>(code) >> 35U) << 3U;
  return tag != 0 ? tag : 1U << 3U;
}

}  // namespace

SidecarListing::SidecarListing(const std::vector<DirEntry>& entries) {
  std::vector<std::pair<std::size_t, std::uint8_t>> codes;
  for (const DirEntry& entry : entries) {
    const std::string_view name = entry.name;
    // Any letter case of the extension names a sidecar: each is noted as the usual spelling.
    if (name.size() < 3 || !EqualsNoCase(name.substr(name.size() - 3), "IT0")) continue;
    const bool usual = name.ends_with("IT0");
    const std::uint8_t spelling = usual ? (entry.isRegular ? 1 | 4 : 1) : 2;
    codes.emplace_back(FoldedNameCode(name), spelling);
  }
  if (codes.empty()) return;
  std::size_t slotCount = 16;
  while (slotCount < codes.size() * 2) slotCount *= 2;
  slots_.assign(slotCount, 0);
  const std::size_t mask = slotCount - 1;
  for (const auto& [code, spelling] : codes) {
    const std::uint32_t tag = TagOf(code);
    std::size_t i = code & mask;
    while (slots_[i] != 0 && (slots_[i] & ~kSpellingBits) != tag) i = (i + 1) & mask;
    slots_[i] |= tag | spelling;
  }
}

SidecarListing::Spelling SidecarListing::SpellingOf(std::string_view itemPath, bool* regular) const {
  if (regular != nullptr) *regular = false;
  // SidecarPath replaces the last three characters, which belong to the name of an ITM file.
  const std::string_view name = FileNamePart(itemPath);
  if (name.size() < 3) return Spelling::kOther;
  if (slots_.empty()) return Spelling::kNone;
  const std::size_t code = FoldedNameCode(name);
  const std::uint32_t tag = TagOf(code);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = code & mask; slots_[i] != 0; i = (i + 1) & mask) {
    if ((slots_[i] & ~kSpellingBits) != tag) continue;
    if ((slots_[i] & 2) != 0) return Spelling::kOther;
    if (regular != nullptr) *regular = (slots_[i] & 4) != 0;
    return Spelling::kUsual;
  }
  return Spelling::kNone;
}

bool SidecarListing::MayHoldSidecarOf(std::string_view itemPath) const {
  return SpellingOf(itemPath) != Spelling::kNone;
}

bool HasItemExtension(std::string_view path) {
  const std::string_view name = FileNamePart(path);
  return name.size() >= 4 && EqualsNoCase(name.substr(name.size() - 4), ".ITM");
}

std::string NotItemFileNameText(const std::string& path) {
  return path + ": not an item file name (an item file ends in .ITM)";
}

}  // namespace relicor
