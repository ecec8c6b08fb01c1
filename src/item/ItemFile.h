#pragma once
// Reading an ITM file into an item record.

#include <string>
#include <string_view>

#include "item/ItemRecord.h"
#include "platform/FileStamp.h"
#include "platform/FileSystem.h"
#include "platform/Result.h"
#include "text/DateText.h"

namespace relicor {

enum class ItemFileStatus : std::uint8_t {
  kItem,       // 400 bytes or more: the first 400 bytes are the record
  kNotAnItem,  // fewer than 400 bytes: not an item file
};

struct ItemFile {
  ItemFileStatus status = ItemFileStatus::kNotAnItem;
  ItemRecord record;                    // all zero unless status is kItem
  DateTime fileDate = 0;                // the file's modification time
  std::size_t size = 0;                 // bytes read (at most 400)
  FileStamp stamp = kUnknownFileStamp;  // the file's identity when it was read
};

// Reads the first 400 bytes of an ITM file. The file is opened for reading only.
// A missing or unreadable file is an error naming the file and the reason. With `in`, a file
// directly in that directory is opened from it.
// With ItemFileDate::kLeftOut the file's date and identity are not asked for (0 and unknown):
// one open and one read for an item file.
enum class ItemFileDate : std::uint8_t {
  kRead,
  kLeftOut,
  // Read with its sidecar (ReadItemAndSidecar): as kLeftOut when the sidecar gives both dates the
  // file's date stands in for, as kRead otherwise; the sidecar's identity is not asked for either.
  // Only for entries that are not looked at again (the process ends with the command): without
  // identities a later look reads every file anew. ReadItemFile reads as kRead.
  kOnlyWhereNeeded,
  // Read with its sidecar: as kRead, but the sidecar's identity is not asked for. For a run that
  // needs every file's date and never looks at the entries again (a rename run answered on the
  // command line). ReadItemFile reads as kRead.
  kReadSidecarUnstamped,
};
Result<ItemFile> ReadItemFile(const std::string& path, const DirectoryHandle* in = nullptr,
                              ItemFileDate date = ItemFileDate::kRead);

// An item file from bytes read elsewhere (the file's first 400 bytes or fewer), with its date and
// identity as they were read.
ItemFile ItemFileOf(std::string_view data, DateTime fileDate, FileStamp stamp);

// "<path>: not an item file (N bytes, an item has 400)"
std::string NotAnItemMessage(const std::string& path, std::size_t size);

}  // namespace relicor
