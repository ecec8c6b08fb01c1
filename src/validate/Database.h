#pragma once
// The dupe and hack database: item records stored complemented in IDENT.ID, kept in memory as a
// list sorted by item key.

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "item/ItemRecord.h"
#include "platform/FileStamp.h"
#include "platform/Result.h"

namespace relicor {

inline constexpr const char* kDatabaseFileName = "IDENT.ID";
// IDENT.ID is read only up to this size (167,772 records); a larger file is left unread.
inline constexpr std::size_t kMaxDatabaseBytes = std::size_t{64} << 20;

// The texts of the add command.
inline constexpr std::string_view kAddItemQuestion = "Are you sure to add this item?";
inline constexpr std::string_view kAlreadyInDatabaseText = "The selected Item is already in database!";

class ItemCache;

class Database {
 public:
  // `filePath` is the full path of IDENT.ID.
  explicit Database(std::string filePath) : filePath_(std::move(filePath)) {}

  // Reads the file (creating it empty when missing). Truncated last records are dropped; of
  // several records with one key the first stays. An error names the file and the reason.
  Status Load();

  bool IsRegistered(const std::string& itemKey) const { return entries_.count(itemKey) != 0; }

  // Adds a record to the list and appends it to the file. False (and nothing written) when the
  // key is already registered, in the list or (under the lock, read again) in the file.
  Result<bool> AddRecord(const ItemRecord& record);

  // Removes an entry from the list (not from the file) and sets the modified flag.
  bool Remove(const std::string& itemKey);

  // Rewrites the whole file in key order (atomic replace) and clears the modified flag; a failure
  // is reported and the flag stays set. Under the program directory's lock the file is read again
  // first and only this run's removals are applied to it: records another run added stay, and
  // records another run removed stay away.
  Status Save();

  // Reads the file again when it is no longer the one this list was read from or last wrote (one
  // stat): the list becomes the file's records less the removals not saved yet. True when it was
  // read again; an error (the list stays as it was) when it could not be read.
  Result<bool> ReloadIfChanged();

  bool modified() const { return modified_; }
  const std::map<std::string, ItemRecord>& entries() const { return entries_; }
  const std::string& filePath() const { return filePath_; }

 private:
  std::string filePath_;
  std::map<std::string, ItemRecord> entries_;  // by item key
  std::set<std::string> removed_;              // keys removed since the last load or save
  bool modified_ = false;
  FileStamp stamp_ = kUnknownFileStamp;  // the file as this list last read or wrote it
};

// A record as the file stores it: every byte complemented (XOR 0xFF); and back.
std::string EncodeDatabaseRecord(const ItemRecord& record);
ItemRecord DecodeDatabaseRecord(std::string_view stored);

// The add command once the keeper has confirmed: loads `itemPath` through the item cache (which
// makes it the current item) and adds a copy of its record (appended to the file). A file that is
// not an item file, or cannot be read, is an error naming the file; so is a failed append. An item
// registered already changes nothing: an error of the kind kAlreadyInDatabase, with
// kAlreadyInDatabaseText.
// The error of an item registered already.
Error AlreadyInDatabase();

Status AddItemToDatabase(Database& database, ItemCache& cache, const std::string& itemPath);

}  // namespace relicor
