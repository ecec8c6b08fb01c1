#include "item/ItemFile.h"

#include "platform/FileSystem.h"

namespace relicor {

Result<ItemFile> ReadItemFile(const std::string& path, const DirectoryHandle* in) {
  auto head = ReadFileHeadAndTime(path, kItemRecordSize, in);
  if (!head) return head.failure();
  ItemFile file;
  file.fileDate = head->modified;
  file.stamp = head->stamp;
  file.size = head->data.size();
  if (file.size == kItemRecordSize) {
    file.status = ItemFileStatus::kItem;
    file.record = ItemRecord::FromBytes(head->data);
  }
  return file;
}

std::string NotAnItemMessage(const std::string& path, std::size_t size) {
  return path + ": not an item file (" + std::to_string(size) + " bytes, an item has " +
         std::to_string(kItemRecordSize) + ")";
}

}  // namespace relicor
