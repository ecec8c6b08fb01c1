#pragma once
// The item cache: one item entry per loaded ITM file for the whole run, the key list beside it,
// and the current item with its working copy of the metadata.

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "item/ItemRecord.h"
#include "platform/Clock.h"
#include "platform/FileStamp.h"
#include "platform/Result.h"
#include "pool/Sidecar.h"
#include "text/DateText.h"
#include "text/PathList.h"
#include "text/TextList.h"

namespace relicor {

class ItemReadAhead;

// The bookkeeping of one item, as its IT0 sidecar holds it, plus the ITM file's date.
struct ItemMeta : SidecarValues {
  DateTime fileDate = 0;
};

// One loaded item as the cache keeps it for the whole run. A pool of 100,000 items is kept in
// every run, so an entry is lean: its directory is one text shared by every entry in it, its file
// name and its record packed (PackedRecord) share one block, and its bookkeeping takes no room of
// its own while it is what a missing sidecar gives.
class ItemEntry {
 public:
  ItemEntry() = default;
  ItemEntry(std::string_view path, const ItemRecord& record, const ItemMeta& meta);

  std::string Path() const;
  // The directory part of the path (up to and with its last separator) and the file name.
  const std::string& Directory() const;
  std::string_view FileName() const;
  // True for the entry's own path (as PathLess calls paths equal).
  bool HasPath(std::string_view path) const;

  ItemRecord Record() const;
  ItemMeta Meta() const;
  DateTime FileDate() const { return fileDate_; }
  // Item key followed directly by the path, the entry's text in the key list.
  std::string KeyText() const;
  // The record's item key (ItemRecord::ItemKey) and its number (the ident above the item class),
  // read from the packed record without unpacking it.
  std::string ItemKey() const;
  std::uint64_t KeyNumber() const;

  // Where the entry keeps its name and record, and its bookkeeping (null when it has none of its
  // own): for a caller that asks the processor to fetch them ahead.
  std::array<const void*, 2> Blocks() const { return {bytes_.get(), sidecar_.get()}; }

  // Keeps the record and the bookkeeping under a new path.
  void SetPath(std::string_view path);
  // The bookkeeping; the file date stays.
  void SetSidecarValues(const SidecarValues& values);

  // The identities of the item file and of its sidecar as the entry was read from them
  // (kNoFileStamp: there was no sidecar), and the command the entry was last checked in.
  FileStamp ItemStamp() const { return itemStamp_; }
  FileStamp SidecarStamp() const { return sidecarStamp_; }
  void SetItemStamp(FileStamp stamp) { itemStamp_ = stamp; }
  void SetSidecarStamp(FileStamp stamp) { sidecarStamp_ = stamp; }
  std::uint32_t checkedIn() const { return checkedIn_; }
  void SetCheckedIn(std::uint32_t command) { checkedIn_ = command; }

 private:
  void Store(std::string_view path, const std::uint8_t* packed, std::size_t packedSize);
  const std::uint8_t* Packed() const;

  const std::string* directory_ = nullptr;  // shared (SharedDirectoryText)
  std::unique_ptr<std::uint8_t[]> bytes_;   // the file name's size (4 bytes), the name, the packed record
  DateTime fileDate_ = 0;
  // The bookkeeping when it is not the one of a missing sidecar, which is: no names, no flags,
  // `points4ItemAt_`, and the file date for the other two dates. Packed in one block: the two
  // other dates, the flags, then each name as its length and its characters.
  DateTime points4ItemAt_ = 0;
  std::unique_ptr<std::uint8_t[]> sidecar_;
  FileStamp itemStamp_ = kUnknownFileStamp;
  FileStamp sidecarStamp_ = kUnknownFileStamp;
  std::uint32_t checkedIn_ = 0;
};

// The one text of a directory that every entry in it shares; the texts stay for the whole run.
// Null for a directory no entry has had yet (it has no entries).
const std::string& SharedDirectoryText(std::string_view directory);
const std::string* FindSharedDirectoryText(std::string_view directory);

enum class LoadStatus : std::uint8_t {
  kLoaded,     // the path is the current item
  kNotAnItem,  // fewer than 400 bytes: no entry, no key list text; the current item is cleared
};

// The order of the item cache and the key list: by text without regard to letter case (ASCII
// letters). Where the file system tells letter case apart, two paths that differ only in letter
// case name two files, so they stay two texts (in byte order); otherwise they are one.
struct PathLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};

class ItemCache;

// The key list: the item key followed directly by the full path, for every path loaded in the
// run, each text once, in the order of PathLess. A pool of 100,000 items is listed in a duplicate
// check, so the list keeps no texts of its own: per text, the item key as a number and the entry
// it belongs to (only the old path of an item that was moved is kept as text). A text is made
// when it is asked for.
class ItemKeyList {
 public:
  std::size_t size() const { return notes_.size(); }
  bool empty() const { return notes_.empty(); }
  // The i-th text, its item key (10 characters) and its path.
  std::string Text(std::size_t i) const;
  std::string Key(std::size_t i) const;
  std::string Path(std::size_t i) const;
  // The cache entry at Path(i), as the cache's Find gives it (null when there is none).
  const ItemEntry* EntryAt(std::size_t i) const;
  // The i-th item key as a number (its ident times 256 plus its class): texts with one key have
  // one number, and the numbers are in the list's order.
  std::uint64_t KeyNumber(std::size_t i) const { return notes_[i].key; }
  // 1 when the list holds `text`, otherwise 0.
  std::size_t count(std::string_view text) const;
  // Every text, in order.
  std::vector<std::string> Texts() const;

 private:
  friend class ItemCache;
  explicit ItemKeyList(const ItemCache& cache) : cache_(cache) {}
  struct Note {
    std::uint64_t key = 0;
    std::uint32_t at = 0;  // the entry's number, or the place of a kept text
    bool kept = false;     // a kept text (the old path of a moved item)
    bool gone = false;     // taken out; dropped when the list is next brought up to date
  };
  std::string TextOf(const Note& note) const;
  bool Less(const Note& a, const Note& b) const;
  // Adds the texts of `entries` (whose earlier texts, if any, change with their paths) and the
  // kept `texts`.
  void Add(const std::vector<std::uint32_t>& entries, std::vector<std::string>& texts,
           std::size_t entryCount);
  // Takes `text` out.
  void Remove(const std::string& text);

  const ItemCache& cache_;
  std::vector<Note> notes_;
  std::vector<std::string> kept_;
};

class ItemCache {
 public:
  explicit ItemCache(const Clock& clock) : clock_(clock) {}

  // Where the cache tells the keeper about a sidecar it would not read (a link, too large, not a
  // regular file); without one nothing is told.
  void SetWarn(std::function<void(const std::string&)> warn) { warn_ = std::move(warn); }

  // Starts a new command: from now on, the first load of each cached path looks at its files once
  // (one stat of the item file; one of the sidecar, unless a listing the load is given shows the
  // sidecar missing as it was). An item file that is no longer the one the entry was read from
  // (another size, time or inode: replaced, rewritten, gone) is read again as at a first load, and
  // its key list text with it; a changed sidecar is read again into the entry. Without a command
  // started, a cached path takes everything from its entry.
  void NewCommand() { ++command_; }

  // Reads the sidecar of a cached `path` again into its entry and the current metadata (the item
  // becomes the current item): a command about to change the sidecar starts from what the file
  // holds now, not from what it held at the first load. Nothing happens for an uncached path.
  void RefreshSidecar(const std::string& path);

  // Makes the item at `path` the current item with its current metadata. The first load of a
  // path reads the ITM file and its sidecar; later loads take both from the cache.
  // A missing or unreadable file is an error naming the file and the reason.
  Result<LoadStatus> LoadItem(const std::string& path);

  // The same for a path in a directory that the caller has just listed into `sidecars`: a first
  // load does not look for a sidecar that the listing does not hold (it gets the values of a
  // missing sidecar).
  Result<LoadStatus> LoadItem(const std::string& path, const SidecarListing& sidecars);

  // Makes a cached entry the current item with its metadata, as a load of its path does; for a
  // caller that holds the entry (from Find or a scan) and need not search the cache again.
  void MakeCurrent(const ItemEntry& entry);

  // The same for a load of a known list of files in order (a scan, an export): a first load takes
  // the files' bytes from `ahead` when it has read them. `sidecars` as above; either may be null.
  Result<LoadStatus> LoadItem(const std::string& path, const SidecarListing* sidecars, ItemReadAhead* ahead);

  // Makes room for `count` more entries (a scan that knows how many files it will load).
  void Reserve(std::size_t count);

  // Copies the current metadata into the cache entry of `path` and rewrites the sidecar (one
  // atomic replace; other sections and keys are kept). Nothing happens for a path that is not
  // in the cache. A failed write is reported; the entry keeps the new values.
  Status StoreItemInfo(const std::string& path);

  // Moves an ITM file and its sidecar (SidecarPath of each) to `destination`, never replacing an
  // existing file; nothing to do for the same path. An ITM file that cannot be moved is an error
  // (nothing changed; kTargetExists when the destination is taken). If the sidecar exists but
  // cannot be moved, the ITM file is moved back and the error is of the kind kMoveFailed (its
  // text says where the files are, should the item file not have gone back). The caller records the move in
  // the pool's journal first (MoveJournal), so that a crash between the two files can be repaired. `sidecar`
  // says what a listing of the source's directory, made by the caller under the pool's lock, holds (see
  // SidecarSeen).
  enum class SidecarSeen : std::uint8_t {
    kUnknown,    // no listing: look for the sidecar, and read the moved one into the entry
    kListed,     // the listing holds the sidecar: move it without looking; the entry keeps the
                 // bookkeeping that was read from it
    kNotListed,  // the listing holds none: the sidecar is not looked for and the entry keeps its
                 // bookkeeping; the caller looks for sidecars that came since the listing
  };
  Status MoveItem(const std::string& source, const std::string& destination,
                  SidecarSeen sidecar = SidecarSeen::kUnknown);
  // MoveItem in parts, for a caller that moves many items and lets the files move while it does
  // other work: MoveItemFiles moves the two files as MoveItem does and touches nothing else, so it
  // may run beside the cache's own thread (the item must have been loaded before, and source and
  // destination differ); it tells whether a sidecar moved along. FollowMove then brings the cache
  // after the files, FollowFailedMove after a move that failed, as MoveItem would have.
  static Result<bool> MoveItemFiles(const std::string& source, const std::string& destination,
                                    SidecarSeen sidecar);
  void FollowMove(const std::string& source, const std::string& destination, SidecarSeen sidecar,
                  bool sidecarMoves);
  void FollowFailedMove(const std::string& source);

  const ItemRecord& CurrentItem() const { return currentItem_; }
  ItemMeta& CurrentMeta() { return currentMeta_; }
  const ItemMeta& CurrentMeta() const { return currentMeta_; }
  // The cache entry the current item came from; nullptr after a load that ended in no entry.
  const ItemEntry* CurrentEntry() const { return currentEntry_; }

  // The cache entry of `path`, or nullptr.
  const ItemEntry* Find(const std::string& path) const;
  // The entry of a cached `path` that was looked at in this command already (a load of it would
  // take everything from the entry), without making it the current item; otherwise null.
  const ItemEntry* FindChecked(const std::string& path) const;
  // The cache entry of `path` when it is as its files are (looked at once a command, as a load
  // does; `sidecars` is a listing of its directory), or nullptr: not cached, or changed (the entry
  // is then taken out, and a load reads the files as new).
  const ItemEntry* FindUnchanged(const std::string& path, const SidecarListing& sidecars);
  std::size_t size() const { return entries_.size(); }
  // Counts every change of the cache's paths (a path added, taken out or renamed): a caller that
  // noted it knows, when it has not moved, that the cache holds the same paths and items.
  std::uint64_t PathChanges() const { return entries_.changes(); }
  // Every path in the cache, in the cache's order (letter case ignored, see PathLess).
  std::vector<std::string> Paths() const;
  // The same as one list, whose texts are made one at a time.
  PathList SortedPathList() const;

  // Item key followed directly by the full path, for every path loaded in the run. Throws
  // std::logic_error after LeaveOutKeyList.
  const ItemKeyList& KeyList() const;
  // For a process that ends with a command which never reads the key list (a rename run answered
  // on the command line): loads and moves note nothing for it from now on, where a large run
  // would keep the old text of every moved path to its end.
  void LeaveOutKeyList();
  // For a process that ends with a run of moves whose items nobody looks at again (a rename run
  // answered on the command line): the key list is left out, and from now on a move takes its
  // entry out of the cache and frees it, leaving no current item, where a large run would keep
  // every moved item under its new name to its end.
  void ForgetMovedItems();
  // For a process whose one command names its items and logs their keys and file dates, and reads
  // nothing else of them (a rename run answered on the command line): an entry made from now on
  // keeps of its record only the identified name, the ident and the item class, and the bookkeeping
  // a missing sidecar gives, about a third of what a whole entry takes. A load still makes the
  // whole record current.
  void KeepOnlyNamesAndKeys();

 private:
  friend class ItemKeyList;
  Result<LoadStatus> Load(const std::string& path, const SidecarListing* sidecars, ItemReadAhead* readAhead);

  // The entries by path (the same paths as PathLess calls equal): an open-addressed table with
  // linear probing, at most half full, that keeps (part of) each path's hash code in its slot,
  // so that a search reads one slot before it compares a path. Entries live in a deque and keep
  // their place in memory for the whole run, also when the table grows or an entry leaves it
  // (a note of the key list may still name it). The cache's order is only needed by Paths(),
  // which sorts (SortedNumbers).
  class PathIndex {
   public:
    using EntryNumber = std::uint32_t;

    ItemEntry* Find(std::string_view path) const;
    // Adds an entry for `path`, which the index does not hold.
    EntryNumber Add(ItemEntry entry);
    // Takes the entry of `path` out of the table; it stays in memory. False when there is none.
    bool Remove(std::string_view path);
    // The same, and the entry gives up its name, record and bookkeeping (nothing may name it since).
    void Forget(std::string_view path);
    // Files the entry of `from` under `to`, which the index does not hold; the entry keeps its
    // place in memory. Null when `from` has no entry.
    ItemEntry* Rename(std::string_view from, const std::string& to);
    ItemEntry& At(EntryNumber number) const { return entries_[number]; }
    EntryNumber NumberOf(const ItemEntry* entry) const;
    // True when the table files entry `number` under its path.
    bool Holds(EntryNumber number) const;
    void Reserve(std::size_t count);
    std::size_t size() const { return size_; }
    // The entries made in the run, those taken out of the table included.
    std::size_t EntryCount() const { return entries_.size(); }
    std::uint64_t changes() const { return changes_; }
    // The numbers of the entries the table holds, in the order of their paths (PathLess).
    std::vector<EntryNumber> SortedNumbers() const;

   private:
    struct Slot {
      std::uint32_t hash = 0;
      EntryNumber entry = kNone;  // empty slot: kNone
    };
    static constexpr EntryNumber kNone = ~EntryNumber{0};
    // The slot of the path of `name` in `directory` (a shared directory text), or the empty
    // slot where it would go.
    std::size_t SlotOf(const std::string* directory, std::string_view name, std::uint32_t hash) const;
    // The slot that holds `path`, if one does.
    std::optional<std::size_t> SlotOfPath(std::string_view path) const;
    // Takes the entry in `slot` out of the table.
    void EmptySlot(std::size_t slot);
    void Place(EntryNumber number);
    void Rehash(std::size_t slotCount);
    // Where the search for a path with hash code `hash` starts, and the slot after `i`.
    std::size_t HomeOf(std::uint32_t hash) const {
      return static_cast<std::size_t>((std::uint64_t{hash} * slots_.size()) >> 32);
    }
    std::size_t NextOf(std::size_t i) const { return i + 1 == slots_.size() ? 0 : i + 1; }

    std::vector<Slot> slots_;  // none, or at least 16
    mutable std::deque<ItemEntry> entries_;
    std::size_t size_ = 0;
    std::uint64_t changes_ = 0;
  };

  // `stamp` receives the sidecar's identity, from the file that is read. A listing of the
  // directory that shows the usual spelling of the sidecar's name spares the look for others.
  SidecarValues ReadSidecarOf(const std::string& path, DateTime now, DateTime fileDate,
                              FileStamp* stamp = nullptr, const SidecarListing* sidecars = nullptr) const;
  // Reads the sidecar of a cached entry again (see RefreshSidecar).
  void RereadSidecar(ItemEntry& entry, const std::string& path);
  // The look at a cached entry's files at its first load in a command. True: the entry is as the
  // files are (its sidecar read again if that changed). False: the item file changed; the entry and
  // its key list text are taken out, and the path is to be loaded as a new one.
  bool CheckEntry(ItemEntry& entry, const std::string& path, const SidecarListing* sidecars);

  const Clock& clock_;
  std::function<void(const std::string&)> warn_;
  PathIndex entries_;
  // The key list is made only when it is read: most runs (reports, exports, pages) never read it.
  // Until then a loaded path is noted by its entry's number (its text is the entry's key and
  // path), and the text of a path that a move takes away is kept as text.
  mutable std::vector<PathIndex::EntryNumber> pendingEntries_;
  // A rename run moves most of a pool: the old paths' texts are kept as lists, the item key of
  // each and its path at the same place.
  mutable TextList pendingKeys_;
  mutable PathList pendingKeyPaths_;
  mutable ItemKeyList keyList_{*this};
  bool keyListLeftOut_ = false;
  bool forgetMoved_ = false;
  bool namesAndKeysOnly_ = false;
  ItemRecord currentItem_;
  ItemMeta currentMeta_;
  const ItemEntry* currentEntry_ = nullptr;
  std::uint32_t command_ = 0;  // see NewCommand
};

// The sidecar path of an ITM path: its last three characters replaced by "IT0".
std::string SidecarPath(const std::string& itemPath);
// The sidecar path with the other letter cases of its extension ("it0", "It0", "iT0").
std::vector<std::string> OtherSidecarSpellings(const std::string& itemPath);
// The sidecar that is there for an ITM path: SidecarPath when it is there, else the first other
// spelling that is (x.it0 is a sidecar too), else SidecarPath.
std::string FindSidecarPath(const std::string& itemPath);

}  // namespace relicor
