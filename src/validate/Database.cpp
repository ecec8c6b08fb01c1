#include "validate/Database.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "item/ItemFile.h"
#include "platform/DirectoryLock.h"
#include "platform/FileSystem.h"
#include "pool/ItemCache.h"
#include "text/Path.h"

namespace relicor {

namespace {

bool IsMissing(const std::string& path) {
  std::error_code ec;
  return std::filesystem::symlink_status(path, ec).type() == std::filesystem::file_type::not_found;
}

// The file's bytes, read as every file of the program directory is (never through a link, a
// regular file only, up to kMaxDatabaseBytes); a missing file is an error too.
Result<std::string> ReadDatabaseBytes(const std::string& path) {
  auto data = ReadSmallFileNoFollow(path, kMaxDatabaseBytes);
  if (!data) return data.failure();
  if (!*data) return MakeError("cannot open " + path + ": " + SystemErrorText(ENOENT));
  return std::move(**data);
}

// The records of a database file by key; of several records with one key the first stays, a
// truncated last record is dropped.
std::map<std::string, ItemRecord> RecordsOf(std::string_view bytes) {
  std::map<std::string, ItemRecord> records;
  for (std::size_t at = 0; at + kItemRecordSize <= bytes.size(); at += kItemRecordSize) {
    const ItemRecord record = DecodeDatabaseRecord(bytes.substr(at, kItemRecordSize));
    records.emplace(record.ItemKey(), record);
  }
  return records;
}

}  // namespace

std::string EncodeDatabaseRecord(const ItemRecord& record) {
  std::string stored(record.view());
  for (char& c : stored) c = static_cast<char>(~static_cast<unsigned char>(c));
  return stored;
}

ItemRecord DecodeDatabaseRecord(std::string_view stored) {
  ItemRecord record = ItemRecord::FromBytes(stored);
  for (auto& b : record.bytes()) b = static_cast<std::uint8_t>(~b);
  return record;
}

Status Database::Load() {
  entries_.clear();
  removed_.clear();
  modified_ = false;
  // The stamp is taken before the read: a file changed while it is read is read again later.
  stamp_ = StampOfFile(filePath_);
  auto data = ReadDatabaseBytes(filePath_);
  if (!data) {
    stamp_ = kUnknownFileStamp;
    if (!IsMissing(filePath_)) return data.failure();
    // A missing database is created empty.
    Status created = AppendToFile(filePath_, "");
    if (created) stamp_ = StampOfFile(filePath_);
    return created;
  }
  entries_ = RecordsOf(*data);
  return {};
}

Result<bool> Database::AddRecord(const ItemRecord& record) {
  const std::string key = record.ItemKey();
  if (IsRegistered(key)) return false;
  const std::string stored = EncodeDatabaseRecord(record);
  // One writer at a time; the file as it is now decides (another run may have added the record).
  auto lock = DirectoryLock::Acquire(std::string(DirectoryPart(filePath_)));
  if (!lock) return lock.failure();
  // The list still is the file (nobody wrote it since): after the append it is again.
  const bool current = StampOfFile(filePath_) == stamp_;
  auto existing = ReadDatabaseBytes(filePath_);
  if (existing) {
    for (std::size_t at = 0; at + kItemRecordSize <= existing->size(); at += kItemRecordSize) {
      const ItemRecord onDisk = DecodeDatabaseRecord(std::string_view(*existing).substr(at, kItemRecordSize));
      if (onDisk.ItemKey() == key) {
        entries_.emplace(key, onDisk);
        return false;
      }
    }
  }
  // Records are appended at the end. A file whose length is not a whole number of records (a torn
  // last record, which loading ignores) is first cut back to its whole records, so the new record
  // does not land across a record boundary.
  Status written;
  if (existing && existing->size() % kItemRecordSize != 0) {
    std::string content = existing->substr(0, existing->size() - existing->size() % kItemRecordSize);
    written = AtomicReplaceFile(filePath_, content + stored);
  } else {
    written = AppendToFile(filePath_, stored);
  }
  if (!written) return written.failure();
  entries_.emplace(key, record);
  if (current) stamp_ = StampOfFile(filePath_);
  return true;
}

bool Database::Remove(const std::string& itemKey) {
  if (entries_.erase(itemKey) == 0) return false;
  removed_.insert(itemKey);
  modified_ = true;
  return true;
}

Status Database::Save() {
  // One writer at a time. The file is read again and this run's removals are applied to it: records
  // another run added since this list was loaded stay, records another run removed stay away.
  auto lock = DirectoryLock::Acquire(std::string(DirectoryPart(filePath_)));
  if (!lock) return lock.failure();
  std::map<std::string, ItemRecord> merged;
  auto data = ReadDatabaseBytes(filePath_);
  if (!data && !IsMissing(filePath_)) return MakeError(data.error() + "; " + filePath_ + " is left as it is");
  if (data) merged = RecordsOf(*data);
  for (const std::string& key : removed_) merged.erase(key);
  std::string content;
  content.reserve(merged.size() * kItemRecordSize);
  for (const auto& [key, record] : merged) content += EncodeDatabaseRecord(record);
  if (auto written = AtomicReplaceFile(filePath_, content); !written) return written;
  stamp_ = StampOfFile(filePath_);
  entries_ = std::move(merged);
  removed_.clear();
  modified_ = false;
  return {};
}

Result<bool> Database::ReloadIfChanged() {
  const FileStamp now = StampOfFile(filePath_);
  if (now == stamp_) return false;
  std::map<std::string, ItemRecord> records;
  if (now != kNoFileStamp) {
    auto data = ReadDatabaseBytes(filePath_);
    if (!data) return data.failure();
    records = RecordsOf(*data);
  }
  // Removals not saved yet stay removed.
  for (const std::string& key : removed_) records.erase(key);
  entries_ = std::move(records);
  stamp_ = now;
  return true;
}

Error AlreadyInDatabase() {
  return MakeError(ErrorKind::kAlreadyInDatabase, std::string(kAlreadyInDatabaseText));
}

Status AddItemToDatabase(Database& database, ItemCache& cache, const std::string& itemPath) {
  auto loaded = cache.LoadItem(itemPath);
  if (!loaded) return loaded.failure();
  if (*loaded == LoadStatus::kNotAnItem) {
    auto file = ReadItemFile(itemPath);
    return MakeError(NotAnItemMessage(itemPath, file ? file->size : 0));
  }
  const ItemRecord copy = cache.CurrentItem();
  auto added = database.AddRecord(copy);
  if (!added) return added.failure();
  if (!*added) return AlreadyInDatabase();
  return {};
}

}  // namespace relicor
