#include "item/ItemFile.h"

#include <utility>

#include "platform/FileSystem.h"

namespace relicor {

Result<ItemFile> ReadItemFile(const std::string& path, const DirectoryHandle* in, ItemFileDate date) {
  ItemFile file;
  std::string data;
  if (date == ItemFileDate::kLeftOut) {
    auto start = ReadFileStart(path, kItemRecordSize, in);
    if (!start) return start.failure();
    data = std::move(*start);
  } else {
    auto head = ReadFileHeadAndTime(path, kItemRecordSize, in);
    if (!head) return head.failure();
    file.fileDate = head->modified;
    file.stamp = head->stamp;
    data = std::move(head->data);
  }
  file.size = data.size();
  if (file.size == kItemRecordSize) {
    file.status = ItemFileStatus::kItem;
    file.record = ItemRecord::FromBytes(data);
  }
  return file;
}

std::string NotAnItemMessage(const std::string& path, std::size_t size) {
  return path + ": not an item file (" + std::to_string(size) + " bytes, an item has " +
         std::to_string(kItemRecordSize) + ")";
}

}  // namespace relicor
