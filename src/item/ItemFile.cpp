#include "item/ItemFile.h"

#include "platform/FileSystem.h"

namespace relicor {

ItemFile ItemFileOf(std::string_view data, DateTime fileDate, FileStamp stamp) {
  ItemFile file;
  file.fileDate = fileDate;
  file.stamp = stamp;
  file.size = data.size();
  if (file.size == kItemRecordSize) {
    file.status = ItemFileStatus::kItem;
    file.record = ItemRecord::FromBytes(data);
  }
  return file;
}

Result<ItemFile> ReadItemFile(const std::string& path, const DirectoryHandle* in, ItemFileDate date) {
  if (date == ItemFileDate::kLeftOut) {
    auto start = ReadFileStart(path, kItemRecordSize, in);
    if (!start) return start.failure();
    return ItemFileOf(*start, 0, kUnknownFileStamp);
  }
  auto head = ReadFileHeadAndTime(path, kItemRecordSize, in);
  if (!head) return head.failure();
  return ItemFileOf(head->data, head->modified, head->stamp);
}

std::string NotAnItemMessage(const std::string& path, std::size_t size) {
  return path + ": not an item file (" + std::to_string(size) + " bytes, an item has " +
         std::to_string(kItemRecordSize) + ")";
}

}  // namespace relicor
