#include "pool/ItemCache.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <iterator>
#include <map>
#include <mutex>
#include <stdexcept>
#include <utility>

#include "item/ItemFile.h"
#include "item/PackedRecord.h"
#include "platform/FileSystem.h"
#include "pool/ItemReadAhead.h"
#include "pool/Sidecar.h"
#include "text/ByteText.h"
#include "text/Hex.h"
#include "text/Path.h"

namespace relicor {

namespace {

SidecarValues ToSidecar(const ItemMeta& meta) {
  return static_cast<const SidecarValues&>(meta);
}

void FromSidecar(const SidecarValues& values, ItemMeta& meta) {
  static_cast<SidecarValues&>(meta) = values;
}

}  // namespace

bool PathLess::operator()(std::string_view a, std::string_view b) const {
  const int order = CompareTextNoCase(a, b);
  if (order != 0) return order < 0;
#ifdef _WIN32
  return false;
#else
  // x.ITM and X.ITM are two items here; one entry for both would show, store and move the one
  // under the other's name.
  return a < b;
#endif
}

namespace {

constexpr std::size_t kFirstSlotCount = 16;

}  // namespace

namespace {

// The directory texts entries share. A directory is known by its text (in capitals where letter
// case does not tell files apart), and each thread remembers the last one it asked for: the
// entries of a run come a directory at a time.
struct DirectoryTexts {
  std::mutex mutex;
  std::deque<std::string> texts;
  std::map<std::string, const std::string*, std::less<>> byKey;
};

DirectoryTexts& Directories() {
  static DirectoryTexts directories;
  return directories;
}

thread_local const std::string* lastDirectory = nullptr;

#ifdef _WIN32
std::string DirectoryKey(std::string_view directory) {
  return UpperCaseDE(directory);
}
#else
std::string_view DirectoryKey(std::string_view directory) {
  return directory;
}
#endif

// The directory part of `path` (with its last separator) and its file name.
std::pair<std::string_view, std::string_view> SplitPath(std::string_view path) {
  const std::string_view name = FileNamePart(path);
  return {path.substr(0, path.size() - name.size()), name};
}

bool SameName(std::string_view a, std::string_view b) {
#ifdef _WIN32
  return EqualsNoCase(a, b);
#else
  return a == b;
#endif
}

// The hash code of a path by its shared directory text and its file name.
std::uint32_t PathHashCode(const std::string* directory, std::string_view name) {
#ifdef _WIN32
  std::size_t hash = std::hash<std::string>{}(UpperCaseDE(name));
#else
  std::size_t hash = std::hash<std::string_view>{}(name);
#endif
  hash ^= reinterpret_cast<std::uintptr_t>(directory) * std::size_t{0x9E3779B97F4A7C15};
  hash ^= hash >> 29;
  return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

const std::string kNoDirectory;

}  // namespace

const std::string* FindSharedDirectoryText(std::string_view directory) {
  if (lastDirectory != nullptr && SameName(*lastDirectory, directory)) return lastDirectory;
  DirectoryTexts& texts = Directories();
  std::lock_guard lock(texts.mutex);
  const auto found = texts.byKey.find(DirectoryKey(directory));
  if (found == texts.byKey.end()) return nullptr;
  lastDirectory = found->second;
  return lastDirectory;
}

const std::string& SharedDirectoryText(std::string_view directory) {
  if (const std::string* known = FindSharedDirectoryText(directory)) return *known;
  DirectoryTexts& texts = Directories();
  std::lock_guard lock(texts.mutex);
  auto [at, added] = texts.byKey.try_emplace(std::string(DirectoryKey(directory)), nullptr);
  if (added) at->second = &texts.texts.emplace_back(directory);
  lastDirectory = at->second;
  return *lastDirectory;
}

ItemEntry::ItemEntry(std::string_view path, const ItemRecord& record, const ItemMeta& meta)
    : fileDate_(meta.fileDate) {
  std::uint8_t packed[kMaxPackedRecordSize];
  Store(path, packed, PackRecord(record, packed));
  SetSidecarValues(meta);
}

void ItemEntry::Store(std::string_view path, const std::uint8_t* packed, std::size_t packedSize) {
  const auto [directory, name] = SplitPath(path);
  const auto nameSize = static_cast<std::uint32_t>(name.size());
  auto bytes = std::make_unique_for_overwrite<std::uint8_t[]>(sizeof nameSize + name.size() + packedSize);
  std::memcpy(bytes.get(), &nameSize, sizeof nameSize);
  std::memcpy(bytes.get() + sizeof nameSize, name.data(), name.size());
  std::memcpy(bytes.get() + sizeof nameSize + name.size(), packed, packedSize);
  bytes_ = std::move(bytes);
  directory_ = &SharedDirectoryText(directory);
}

const std::string& ItemEntry::Directory() const {
  return directory_ != nullptr ? *directory_ : kNoDirectory;
}

std::string_view ItemEntry::FileName() const {
  if (bytes_ == nullptr) return {};
  std::uint32_t nameSize = 0;
  std::memcpy(&nameSize, bytes_.get(), sizeof nameSize);
  return {reinterpret_cast<const char*>(bytes_.get()) + sizeof nameSize, nameSize};
}

const std::uint8_t* ItemEntry::Packed() const {
  return bytes_.get() + sizeof(std::uint32_t) + FileName().size();
}

std::string ItemEntry::Path() const {
  std::string path = Directory();
  path += FileName();
  return path;
}

bool ItemEntry::HasPath(std::string_view path) const {
  const auto [directory, name] = SplitPath(path);
  return SameName(FileName(), name) && SameName(Directory(), directory);
}

void ItemEntry::SetPath(std::string_view path) {
  if (bytes_ != nullptr) {
    // The packed record goes to the new block as it is (Store copies it before the old block goes).
    const std::uint8_t* packed = Packed();
    Store(path, packed, PackedRecordLength(packed));
    return;
  }
  std::uint8_t packed[kMaxPackedRecordSize];
  Store(path, packed, PackRecord(ItemRecord(), packed));
}

ItemRecord ItemEntry::Record() const {
  return bytes_ != nullptr ? UnpackRecord(Packed()) : ItemRecord();
}

namespace {

// The packed bookkeeping of an entry (see ItemEntry): writes and reads its fields in turn.
template <typename T>
void PutField(std::uint8_t*& at, const T& value) {
  std::memcpy(at, &value, sizeof value);
  at += sizeof value;
}

template <typename T>
T TakeField(const std::uint8_t*& at) {
  T value;
  std::memcpy(&value, at, sizeof value);
  at += sizeof value;
  return value;
}

void PutText(std::uint8_t*& at, const std::string& text) {
  PutField(at, static_cast<std::uint32_t>(text.size()));
  std::memcpy(at, text.data(), text.size());
  at += text.size();
}

std::string TakeText(const std::uint8_t*& at) {
  const auto size = TakeField<std::uint32_t>(at);
  std::string text(reinterpret_cast<const char*>(at), size);
  at += size;
  return text;
}

constexpr std::uint8_t kPoints4ItemFlag = 1;
constexpr std::uint8_t kPublicFlag = 2;

}  // namespace

ItemMeta ItemEntry::Meta() const {
  ItemMeta meta;
  meta.points4ItemAt = points4ItemAt_;
  if (sidecar_ != nullptr) {
    const std::uint8_t* at = sidecar_.get();
    meta.addedItem = TakeField<DateTime>(at);
    meta.sentAt = TakeField<DateTime>(at);
    const auto flags = TakeField<std::uint8_t>(at);
    meta.points4Item = (flags & kPoints4ItemFlag) != 0;
    meta.isPublic = (flags & kPublicFlag) != 0;
    meta.senderName = TakeText(at);
    meta.sendTo = TakeText(at);
  } else {
    meta.addedItem = meta.sentAt = fileDate_;
  }
  meta.fileDate = fileDate_;
  return meta;
}

void ItemEntry::SetSidecarValues(const SidecarValues& values) {
  const bool asMissing = values.senderName.empty() && values.sendTo.empty() && !values.points4Item &&
                         !values.isPublic && values.addedItem == fileDate_ && values.sentAt == fileDate_;
  points4ItemAt_ = values.points4ItemAt;
  sidecar_.reset();
  if (asMissing) return;
  const std::size_t size =
      2 * sizeof(DateTime) + 1 + 2 * sizeof(std::uint32_t) + values.senderName.size() + values.sendTo.size();
  sidecar_ = std::make_unique_for_overwrite<std::uint8_t[]>(size);
  std::uint8_t* at = sidecar_.get();
  PutField(at, values.addedItem);
  PutField(at, values.sentAt);
  PutField(at, static_cast<std::uint8_t>((values.points4Item ? kPoints4ItemFlag : 0) |
                                         (values.isPublic ? kPublicFlag : 0)));
  PutText(at, values.senderName);
  PutText(at, values.sendTo);
}

std::string ItemEntry::KeyText() const {
  return ItemKey() + Path();
}

namespace {

// The bytes from the ident to the item class, which an item key is made of.
constexpr std::size_t kKeyBytes = offset::kItemClass + 1 - offset::kIdent;
static_assert(offset::kIdent < offset::kItemClass);

struct KeyFields {
  std::uint32_t ident = 0;
  std::uint8_t itemClass = 0;
};

KeyFields KeyFieldsOf(const std::uint8_t* packed) {
  std::array<std::uint8_t, kKeyBytes> bytes{};
  if (packed != nullptr) PackedRecordBytes(packed, offset::kIdent, bytes.size(), bytes.data());
  KeyFields fields;
  for (std::size_t i = 0; i < 4; ++i) fields.ident |= std::uint32_t{bytes[i]} << (8 * i);
  fields.itemClass = bytes[kKeyBytes - 1];
  return fields;
}

}  // namespace

std::string ItemEntry::ItemKey() const {
  const KeyFields fields = KeyFieldsOf(bytes_ != nullptr ? Packed() : nullptr);
  return ItemRecord::KeyOf(fields.ident, fields.itemClass);
}

std::uint64_t ItemEntry::KeyNumber() const {
  const KeyFields fields = KeyFieldsOf(bytes_ != nullptr ? Packed() : nullptr);
  return std::uint64_t{fields.ident} << 8 | fields.itemClass;
}

std::size_t ItemCache::PathIndex::SlotOf(const std::string* directory, std::string_view name,
                                         std::uint32_t hash) const {
  std::size_t i = HomeOf(hash);
  while (slots_[i].entry != kNone) {
    if (slots_[i].hash == hash) {
      const ItemEntry& entry = entries_[slots_[i].entry];
      if (&entry.Directory() == directory && SameName(entry.FileName(), name)) return i;
    }
    i = NextOf(i);
  }
  return i;
}

std::optional<std::size_t> ItemCache::PathIndex::SlotOfPath(std::string_view path) const {
  if (size_ == 0) return std::nullopt;
  const auto [directoryPart, name] = SplitPath(path);
  const std::string* directory = FindSharedDirectoryText(directoryPart);
  if (directory == nullptr) return std::nullopt;  // no entry has had it
  const std::size_t i = SlotOf(directory, name, PathHashCode(directory, name));
  if (slots_[i].entry == kNone) return std::nullopt;
  return i;
}

ItemEntry* ItemCache::PathIndex::Find(std::string_view path) const {
  const auto slot = SlotOfPath(path);
  return slot ? &entries_[slots_[*slot].entry] : nullptr;
}

ItemCache::PathIndex::EntryNumber ItemCache::PathIndex::NumberOf(const ItemEntry* entry) const {
  const std::string* directory = &entry->Directory();
  const std::string_view name = entry->FileName();
  return slots_[SlotOf(directory, name, PathHashCode(directory, name))].entry;
}

bool ItemCache::PathIndex::Holds(EntryNumber number) const {
  return size_ != 0 && NumberOf(&entries_[number]) == number;
}

void ItemCache::PathIndex::Place(EntryNumber number) {
  Reserve(1);
  const ItemEntry& entry = entries_[number];
  const std::string* directory = &entry.Directory();
  const std::uint32_t hash = PathHashCode(directory, entry.FileName());
  Slot& slot = slots_[SlotOf(directory, entry.FileName(), hash)];
  slot.hash = hash;
  slot.entry = number;
  ++size_;
}

ItemCache::PathIndex::EntryNumber ItemCache::PathIndex::Add(ItemEntry entry) {
  entries_.push_back(std::move(entry));
  const auto number = static_cast<EntryNumber>(entries_.size() - 1);
  Place(number);
  ++changes_;
  return number;
}

bool ItemCache::PathIndex::Remove(std::string_view path) {
  const auto slot = SlotOfPath(path);
  if (!slot) return false;
  EmptySlot(*slot);
  return true;
}

void ItemCache::PathIndex::Forget(std::string_view path) {
  const auto slot = SlotOfPath(path);
  if (!slot) return;
  const EntryNumber number = slots_[*slot].entry;
  EmptySlot(*slot);
  entries_[number] = ItemEntry();
}

void ItemCache::PathIndex::EmptySlot(std::size_t slot) {
  std::size_t hole = slot;
  slots_[hole] = Slot{};
  --size_;
  ++changes_;
  // Moves back the slots after the hole that a search would no longer reach across it.
  for (std::size_t j = NextOf(hole); slots_[j].entry != kNone; j = NextOf(j)) {
    const std::size_t home = HomeOf(slots_[j].hash);
    const bool reachable = hole <= j ? (home > hole && home <= j) : (home > hole || home <= j);
    if (reachable) continue;
    slots_[hole] = std::exchange(slots_[j], Slot{});
    hole = j;
  }
}

ItemEntry* ItemCache::PathIndex::Rename(std::string_view from, const std::string& to) {
  const auto slot = SlotOfPath(from);
  if (!slot) return nullptr;
  const EntryNumber number = slots_[*slot].entry;
  EmptySlot(*slot);
  ItemEntry& entry = entries_[number];
  entry.SetPath(to);
  Place(number);
  ++changes_;
  return &entry;
}

void ItemCache::PathIndex::Reserve(std::size_t count) {
  // At most three quarters of the slots are taken. Room made for a pool's entries at once is one
  // and a half slots each, so a few more entries do not grow them; growing, they grow by half.
  if (4 * (size_ + count) <= 3 * slots_.size()) return;
  Rehash(std::max({kFirstSlotCount, (3 * (size_ + count) + 1) / 2, slots_.size() + slots_.size() / 2}));
}

void ItemCache::PathIndex::Rehash(std::size_t slotCount) {
  std::vector<Slot> old = std::exchange(slots_, std::vector<Slot>(slotCount));
  for (const Slot& slot : old) {
    if (slot.entry == kNone) continue;
    std::size_t i = HomeOf(slot.hash);
    while (slots_[i].entry != kNone) i = NextOf(i);
    slots_[i] = slot;
  }
}

std::vector<ItemCache::PathIndex::EntryNumber> ItemCache::PathIndex::SortedNumbers() const {
  std::vector<EntryNumber> numbers;
  numbers.reserve(size_);
  for (const Slot& slot : slots_) {
    if (slot.entry != kNone) numbers.push_back(slot.entry);
  }
  // Entries in one directory share its text, and two paths with one directory are in the order of
  // their file names: most comparisons need not make a path.
  std::string pathA;
  std::string pathB;
  auto less = [&](EntryNumber x, EntryNumber y) {
    const ItemEntry& a = entries_[x];
    const ItemEntry& b = entries_[y];
    if (&a.Directory() == &b.Directory()) return PathLess{}(a.FileName(), b.FileName());
    pathA.assign(a.Directory()).append(a.FileName());
    pathB.assign(b.Directory()).append(b.FileName());
    return PathLess{}(pathA, pathB);
  };
  // A scan loads a directory's files in the order of their names: in the order they were made,
  // the entries mostly are in path order already, and are walked through memory in turn.
  std::sort(numbers.begin(), numbers.end());
  if (!std::is_sorted(numbers.begin(), numbers.end(), less)) std::sort(numbers.begin(), numbers.end(), less);
  return numbers;
}

std::string SidecarPath(const std::string& itemPath) {
  const std::size_t keep = itemPath.size() >= 3 ? itemPath.size() - 3 : 0;
  // Made at its size at once: a run asks for the sidecar path of every item several times.
  std::string sidecar;
  sidecar.reserve(keep + 3);
  sidecar.append(itemPath, 0, keep);
  sidecar += "IT0";
  return sidecar;
}

std::vector<std::string> OtherSidecarSpellings(const std::string& itemPath) {
  std::string path = SidecarPath(itemPath);
  const std::size_t at = path.size() - 3;
  std::vector<std::string> spellings;
  for (const std::string_view extension : {"it0", "It0", "iT0"}) {
    path.replace(at, 3, extension);
    spellings.push_back(path);
  }
  return spellings;
}

std::string FindSidecarPath(const std::string& itemPath) {
  std::string path = SidecarPath(itemPath);
  if (PathOccupied(path)) return path;
  for (std::string& other : OtherSidecarSpellings(itemPath)) {
    if (PathOccupied(other)) return other;
  }
  return path;
}

std::vector<std::string> ItemCache::Paths() const {
  std::vector<std::string> paths;
  const std::vector<PathIndex::EntryNumber> numbers = entries_.SortedNumbers();
  paths.reserve(numbers.size());
  for (const PathIndex::EntryNumber number : numbers) paths.push_back(entries_.At(number).Path());
  return paths;
}

PathList ItemCache::SortedPathList() const {
  PathList list;
  const std::vector<PathIndex::EntryNumber> numbers = entries_.SortedNumbers();
  list.Reserve(numbers.size());
  std::string path;
  for (const PathIndex::EntryNumber number : numbers) {
    const ItemEntry& entry = entries_.At(number);
    path.assign(entry.Directory()).append(entry.FileName());
    list.Add(path);
  }
  return list;
}

namespace {

// A key text is the item's ident (8 hexadecimal digits) and class (2).
constexpr std::size_t kKeyDigits = 10;

// The number of a key text: its 10 hexadecimal digits.
std::uint64_t KeyNumberOf(std::string_view text) {
  std::uint64_t number = 0;
  for (std::size_t i = 0; i < kKeyDigits && i < text.size(); ++i) {
    const char c = AsciiUpper(text[i]);
    const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : 0;
    number = number * 16 + static_cast<std::uint64_t>(digit);
  }
  return number;
}

}  // namespace

std::string ItemKeyList::TextOf(const Note& note) const {
  return note.kept ? kept_[note.at] : cache_.entries_.At(note.at).KeyText();
}

std::string ItemKeyList::Text(std::size_t i) const {
  return TextOf(notes_[i]);
}

std::string ItemKeyList::Key(std::size_t i) const {
  const std::uint64_t key = notes_[i].key;
  return DWordToHex(static_cast<std::uint32_t>(key >> 8)) + ByteToHex(static_cast<std::uint8_t>(key & 0xFF));
}

std::string ItemKeyList::Path(std::size_t i) const {
  const Note& note = notes_[i];
  return note.kept ? kept_[note.at].substr(std::min(kKeyDigits, kept_[note.at].size()))
                   : cache_.entries_.At(note.at).Path();
}

const ItemEntry* ItemKeyList::EntryAt(std::size_t i) const {
  const Note& note = notes_[i];
  // The entry a text was noted for, while the cache still files it there: no path to make.
  if (!note.kept && cache_.entries_.Holds(note.at)) return &cache_.entries_.At(note.at);
  return cache_.Find(Path(i));
}

bool ItemKeyList::Less(const Note& a, const Note& b) const {
  if (a.key != b.key) return a.key < b.key;
  return PathLess{}(TextOf(a), TextOf(b));
}

std::size_t ItemKeyList::count(std::string_view text) const {
  const std::string wanted(text);
  const std::uint64_t key = KeyNumberOf(text);
  const auto first = std::lower_bound(notes_.begin(), notes_.end(), key,
                                      [](const Note& note, std::uint64_t k) { return note.key < k; });
  for (auto it = first; it != notes_.end() && it->key == key; ++it) {
    const std::string found = TextOf(*it);
    if (!PathLess{}(found, wanted) && !PathLess{}(wanted, found)) return 1;
  }
  return 0;
}

std::vector<std::string> ItemKeyList::Texts() const {
  std::vector<std::string> texts;
  texts.reserve(notes_.size());
  for (const Note& note : notes_) texts.push_back(TextOf(note));
  return texts;
}

void ItemKeyList::Add(const std::vector<std::uint32_t>& entries, std::vector<std::string>& texts,
                      std::size_t entryCount) {
  // An entry noted again was moved: its earlier text now names its new path and leaves its place.
  if (!notes_.empty() && !entries.empty()) {
    std::vector<bool> again(entryCount, false);
    for (const std::uint32_t number : entries) again[number] = true;
    for (Note& note : notes_) {
      if (!note.kept && again[note.at]) note.gone = true;
    }
  }
  std::erase_if(notes_, [](const Note& note) { return note.gone; });
  if (entries.empty() && texts.empty()) return;
  std::vector<Note> added;
  added.reserve(entries.size() + texts.size());
  for (const std::uint32_t number : entries)
    added.push_back({cache_.entries_.At(number).KeyNumber(), number});
  for (std::string& text : texts) {
    added.push_back({KeyNumberOf(text), static_cast<std::uint32_t>(kept_.size()), true});
    kept_.push_back(std::move(text));
  }
  const auto less = [this](const Note& a, const Note& b) { return Less(a, b); };
  std::sort(added.begin(), added.end(), less);
  const auto middle = static_cast<std::ptrdiff_t>(notes_.size());
  notes_.insert(notes_.end(), added.begin(), added.end());
  std::inplace_merge(notes_.begin(), notes_.begin() + middle, notes_.end(), less);
  // Each text once, the one listed first kept.
  const auto same = [this](const Note& a, const Note& b) {
    if (a.key != b.key) return false;
    const std::string ta = TextOf(a), tb = TextOf(b);
    return !PathLess{}(ta, tb) && !PathLess{}(tb, ta);
  };
  notes_.erase(std::unique(notes_.begin(), notes_.end(), same), notes_.end());
  notes_.shrink_to_fit();
}

void ItemKeyList::Remove(const std::string& text) {
  const std::uint64_t key = KeyNumberOf(text);
  for (Note& note : notes_) {
    if (note.key != key || note.gone) continue;
    const std::string found = TextOf(note);
    if (!PathLess{}(found, text) && !PathLess{}(text, found)) note.gone = true;
  }
}

void ItemCache::LeaveOutKeyList() {
  keyListLeftOut_ = true;
  pendingEntries_ = {};
  pendingKeys_ = {};
  pendingKeyPaths_ = {};
}

void ItemCache::KeepOnlyNamesAndKeys() {
  namesAndKeysOnly_ = true;
}

void ItemCache::ForgetMovedItems() {
  LeaveOutKeyList();
  forgetMoved_ = true;
}

const ItemKeyList& ItemCache::KeyList() const {
  if (keyListLeftOut_) throw std::logic_error("the key list was left out of this run");
  if (!pendingEntries_.empty() || !pendingKeys_.empty() || !keyList_.empty()) {
    std::vector<std::string> texts;
    texts.reserve(pendingKeys_.size());
    for (std::size_t i = 0; i < pendingKeys_.size(); ++i)
      texts.push_back(std::string(pendingKeys_[i]) + pendingKeyPaths_[i]);
    keyList_.Add(pendingEntries_, texts, entries_.EntryCount());
    pendingKeys_ = {};
    pendingKeyPaths_ = {};
    pendingEntries_ = {};
  }
  return keyList_;
}

const ItemEntry* ItemCache::Find(const std::string& path) const {
  return entries_.Find(path);
}

const ItemEntry* ItemCache::FindChecked(const std::string& path) const {
  const ItemEntry* cached = entries_.Find(path);
  return cached != nullptr && cached->checkedIn() == command_ ? cached : nullptr;
}

const ItemEntry* ItemCache::FindUnchanged(const std::string& path, const SidecarListing& sidecars) {
  ItemEntry* cached = entries_.Find(path);
  if (cached == nullptr || cached->checkedIn() == command_ || CheckEntry(*cached, path, &sidecars))
    return cached;
  return nullptr;
}

namespace {

// The entry of a cache that keeps only names and keys (KeepOnlyNamesAndKeys): the record's ident,
// item class and identified name (up to its end), and the file date.
ItemEntry NameAndKeyEntry(const std::string& path, const ItemRecord& record, const ItemMeta& meta,
                          DateTime now) {
  ItemRecord kept;
  const ItemBytes& from = record.bytes();
  ItemBytes& to = kept.bytes();
  std::copy_n(from.begin() + offset::kIdent, 4, to.begin() + offset::kIdent);
  to[offset::kItemClass] = from[offset::kItemClass];
  for (std::size_t at = offset::kIdentifiedName; at < offset::kIdentifiedNameEnd && from[at] != 0; ++at)
    to[at] = from[at];
  ItemMeta dates;
  static_cast<SidecarValues&>(dates) = SidecarValuesFromIni(Ini(), now, meta.fileDate);
  dates.fileDate = meta.fileDate;
  return {path, kept, dates};
}

}  // namespace

void ItemCache::MakeCurrent(const ItemEntry& entry) {
  currentEntry_ = &entry;
  currentItem_ = entry.Record();
  currentMeta_ = entry.Meta();
}

void ItemCache::Reserve(std::size_t count) {
  entries_.Reserve(count);
}

Result<LoadStatus> ItemCache::LoadItem(const std::string& path) {
  return Load(path, nullptr, nullptr);
}

Result<LoadStatus> ItemCache::LoadItem(const std::string& path, const SidecarListing& sidecars) {
  return Load(path, &sidecars, nullptr);
}

bool ItemCache::CheckEntry(ItemEntry& entry, const std::string& path, const SidecarListing* sidecars) {
  entry.SetCheckedIn(command_);
  if (StampOfFile(path) != entry.ItemStamp()) {
    // Another item now, or none: the entry goes, with its key list text.
    const PathIndex::EntryNumber number = entries_.NumberOf(&entry);
    const auto pending = std::erase(pendingEntries_, number);
    if (pending == 0) keyList_.Remove(entry.KeyText());
    (void)entries_.Remove(path);
    if (currentEntry_ == &entry) currentEntry_ = nullptr;
    return false;
  }
  // A listing that shows no sidecar, for an entry read without one: nothing to look at.
  if (sidecars != nullptr && !sidecars->MayHoldSidecarOf(path) && entry.SidecarStamp() == kNoFileStamp)
    return true;
  if (StampOfFile(FindSidecarPath(path)) != entry.SidecarStamp()) RereadSidecar(entry, path);
  return true;
}

Result<LoadStatus> ItemCache::LoadItem(const std::string& path, const SidecarListing* sidecars,
                                       ItemReadAhead* ahead) {
  return Load(path, sidecars, ahead);
}

Result<LoadStatus> ItemCache::Load(const std::string& path, const SidecarListing* sidecars,
                                   ItemReadAhead* readAhead) {
  // A cached path takes every field from its entry (looked at once a command).
  if (ItemEntry* cached = entries_.Find(path)) {
    if (cached->checkedIn() == command_ || CheckEntry(*cached, path, sidecars)) {
      if (readAhead != nullptr) (void)readAhead->Take(path);  // not needed: the entry holds it
      MakeCurrent(*cached);
      return LoadStatus::kLoaded;
    }
  }

  const DateTime now = clock_.Now();
  currentMeta_.senderName.clear();
  currentMeta_.sendTo.clear();
  currentMeta_.points4Item = false;
  currentMeta_.isPublic = false;
  currentMeta_.points4ItemAt = now;

  // A load that does not end in an entry leaves no bytes or dates of an earlier item behind.
  currentEntry_ = nullptr;
  currentItem_ = ItemRecord();
  std::optional<ItemRead> ahead = readAhead != nullptr ? readAhead->Take(path) : std::nullopt;
  Result<ItemFile> file = ahead ? std::move(ahead->file) : ReadItemFile(path);
  if (!file) {
    currentMeta_.fileDate = currentMeta_.addedItem = currentMeta_.sentAt = 0;
    return file.failure();
  }
  currentMeta_.fileDate = currentMeta_.addedItem = currentMeta_.sentAt = file->fileDate;
  if (file->status == ItemFileStatus::kNotAnItem) return LoadStatus::kNotAnItem;

  SidecarValues values;
  FileStamp sidecarStamp = kNoFileStamp;
  if (ahead && ahead->sidecarRead) {
    sidecarStamp = ahead->sidecarStamp;
    if (!ahead->sidecarProblem.empty() && warn_) warn_(ahead->sidecarProblem);
    const Ini none;
    const Ini& keys = ahead->sidecarProblem.empty() && ahead->sidecar ? *ahead->sidecar : none;
    values = SidecarValuesFromIni(keys, now, file->fileDate);
  } else if (sidecars != nullptr && (ahead || !sidecars->MayHoldSidecarOf(path))) {
    // Listed without a sidecar (a read made ahead looked in the same listing): the values a
    // missing sidecar gives.
    values = SidecarValuesFromIni(Ini(), now, file->fileDate);
  } else {
    values = ReadSidecarOf(path, now, file->fileDate, &sidecarStamp, sidecars);
  }
  FromSidecar(values, currentMeta_);
  currentItem_ = file->record;
  ItemEntry entry = namesAndKeysOnly_ ? NameAndKeyEntry(path, currentItem_, currentMeta_, now)
                                      : ItemEntry(path, currentItem_, currentMeta_);
  entry.SetItemStamp(file->stamp);
  entry.SetSidecarStamp(sidecarStamp);
  entry.SetCheckedIn(command_);
  const PathIndex::EntryNumber number = entries_.Add(std::move(entry));
  if (!keyListLeftOut_) pendingEntries_.push_back(number);
  currentEntry_ = &entries_.At(number);
  return LoadStatus::kLoaded;
}

SidecarValues ItemCache::ReadSidecarOf(const std::string& path, DateTime now, DateTime fileDate,
                                       FileStamp* stamp, const SidecarListing* sidecars) const {
  const bool usual = sidecars != nullptr && sidecars->SpellingOf(path) == SidecarListing::Spelling::kUsual;
  const std::string sidecar = usual ? SidecarPath(path) : FindSidecarPath(path);
  FileStamp taken = kUnknownFileStamp;
  auto text = ReadSidecarTextAndStamp(sidecar, taken);
  if (stamp != nullptr) *stamp = taken;
  if (!text) {
    if (warn_) warn_(text.error());
    return SidecarValuesFromIni(Ini(), now, fileDate);
  }
  return SidecarValuesFromIni(*text ? Ini::Parse(**text) : Ini(), now, fileDate);
}

void ItemCache::RefreshSidecar(const std::string& path) {
  ItemEntry* entry = entries_.Find(path);
  if (entry == nullptr) return;
  RereadSidecar(*entry, path);
  MakeCurrent(*entry);
}

void ItemCache::RereadSidecar(ItemEntry& entry, const std::string& path) {
  const ItemMeta held = entry.Meta();
  FileStamp stamp = kUnknownFileStamp;
  SidecarValues onDisk = ReadSidecarOf(path, clock_.Now(), held.fileDate, &stamp);
  // A sidecar keeps only the day of a date: where the file holds the day the entry holds, the
  // entry's time of day stays (the file was not changed there since this run read or wrote it).
  for (auto field : {&SidecarValues::points4ItemAt, &SidecarValues::addedItem, &SidecarValues::sentAt}) {
    if (std::floor(onDisk.*field) == std::floor(held.*field)) onDisk.*field = held.*field;
  }
  entry.SetSidecarValues(onDisk);
  entry.SetSidecarStamp(stamp);
}

Status ItemCache::StoreItemInfo(const std::string& path) {
  ItemEntry* entry = entries_.Find(path);
  if (entry == nullptr) return {};
  SidecarValues meta = ToSidecar(currentMeta_);
  meta.senderName = ShortString(currentMeta_.senderName, kMemberNameCapacity);
  meta.sendTo = ShortString(currentMeta_.sendTo, kMemberNameCapacity);
  entry->SetSidecarValues(meta);
  const std::string sidecar = FindSidecarPath(path);
  Status written = WriteSidecar(sidecar, meta, clock_.Now());
  // The sidecar is now what the entry holds.
  if (written) entry->SetSidecarStamp(StampOfFile(sidecar));
  return written;
}

Status ItemCache::MoveItem(const std::string& source, const std::string& destination, SidecarSeen sidecar) {
  if (source == destination) return {};
  // The item becomes current as a load of it makes it: a cached one only when it stays where it is
  // (after a move the moved entry is made current).
  if (entries_.Find(source) == nullptr) {
    if (auto loaded = LoadItem(source); !loaded) return loaded.failure();
  }
  auto moved = MoveItemFiles(source, destination, sidecar);
  if (!moved) {
    FollowFailedMove(source);
    return moved.failure();
  }
  FollowMove(source, destination, sidecar, *moved);
  return {};
}

Result<bool> ItemCache::MoveItemFiles(const std::string& source, const std::string& destination,
                                      SidecarSeen sidecar) {
  if (auto moved = MoveFileNoReplace(source, destination); !moved) return moved.failure();

  // The sidecar goes with its item. When it exists but cannot follow, the item goes back, so an
  // item never loses its bookkeeping.
  // A sidecar of any letter case goes; at the new place it has the usual spelling.
  // An item listed without a sidecar has none to move: its sidecar paths are not made.
  std::string sidecarFrom;
  bool sidecarMoves = sidecar == SidecarSeen::kListed;
  if (sidecar == SidecarSeen::kUnknown) {
    sidecarFrom = FindSidecarPath(source);
    sidecarMoves = PathOccupied(sidecarFrom);
  } else if (sidecarMoves) {
    sidecarFrom = SidecarPath(source);
  }
  if (sidecarMoves) {
    const std::string sidecarTo = SidecarPath(destination);
    auto movedSidecar = MoveFileNoReplace(sidecarFrom, sidecarTo);
    if (!movedSidecar && sidecar == SidecarSeen::kListed && !PathOccupied(sidecarFrom)) {
      if (std::string other = FindSidecarPath(source); other != sidecarFrom) {
        sidecarFrom = std::move(other);
        movedSidecar = MoveFileNoReplace(sidecarFrom, sidecarTo);
      }
    }
    if (!movedSidecar) {
      // A listed sidecar that has gone since leaves nothing to move.
      if (sidecar == SidecarSeen::kListed && !PathOccupied(sidecarFrom)) {
        sidecarMoves = false;
      } else if (auto back = MoveFileNoReplace(destination, source); !back) {
        return WithKind(ErrorKind::kMoveFailed,
                        Prefixed({}, movedSidecar.failure(),
                                 "; " + back.error() + " (the item file is now " + destination +
                                     ", its sidecar " + sidecarFrom + ")"));
      } else {
        return WithKind(ErrorKind::kMoveFailed,
                        Prefixed({}, movedSidecar.failure(), "; " + source + " was left in place"));
      }
    }
  }
  return sidecarMoves;
}

void ItemCache::FollowFailedMove(const std::string& source) {
  if (const ItemEntry* held = entries_.Find(source)) MakeCurrent(*held);
}

void ItemCache::FollowMove(const std::string& source, const std::string& destination, SidecarSeen sidecar,
                           bool sidecarMoves) {
  // The entry goes with the files, as a fresh load of them would make it: the record and the file
  // date are the moved file's, the bookkeeping is read from the moved sidecar (the values of a
  // missing sidecar when there is none), unless the caller's listing already told what the entry
  // was loaded from. The new path gets a key list text of its own; the old one keeps its text.
  // After ForgetMovedItems the entry goes instead, and one at the destination with it.
  const ItemEntry* cached = entries_.Find(source);
  if (cached == nullptr) return;
  if (forgetMoved_) {
    if (currentEntry_ != nullptr) {
      currentEntry_ = nullptr;
      currentItem_ = ItemRecord();
      currentMeta_ = ItemMeta();
    }
    entries_.Forget(destination);
    entries_.Forget(source);
    return;
  }
  // An entry of a file that was at the destination before is out of date.
  (void)entries_.Remove(destination);
  // The old path's text, as a note of the entry would give it until the move.
  if (!keyListLeftOut_) {
    pendingKeys_.Add(cached->ItemKey());
    pendingKeyPaths_.Add(cached->Path());
  }
  ItemEntry* moved = entries_.Rename(source, destination);
  const bool known = sidecar == SidecarSeen::kListed ? sidecarMoves : sidecar == SidecarSeen::kNotListed;
  if (!known) {
    const DateTime now = clock_.Now();
    moved->SetSidecarValues(sidecarMoves ? ReadSidecarOf(destination, now, moved->FileDate())
                                         : SidecarValuesFromIni(Ini(), now, moved->FileDate()));
  }
  // A rename keeps both files' identities; a copy to another file system makes new ones, and the
  // entry is read again at its next check.
  if (!sidecarMoves) moved->SetSidecarStamp(kNoFileStamp);
  if (!keyListLeftOut_) pendingEntries_.push_back(entries_.NumberOf(moved));
  MakeCurrent(*moved);
}

}  // namespace relicor
