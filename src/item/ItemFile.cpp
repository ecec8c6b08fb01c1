#include "item/ItemFile.h"

#include "platform/FileSystem.h"

namespace relicor {

Result<ItemFile> ReadItemFile(const std::string& path) {
  auto date = FileModificationTime(path);
  if (!date) return MakeError(date.error());
  auto head = ReadFileHead(path, kItemRecordSize);
  if (!head) return MakeError(head.error());
  ItemFile file;
  file.fileDate = *date;
  file.size = head->size();
  if (head->size() == kItemRecordSize) {
    file.status = ItemFileStatus::kItem;
    file.record = ItemRecord::FromBytes(*head);
  }
  return file;
}

std::string NotAnItemMessage(const std::string& path, std::size_t size) {
  return path + ": not an item file (" + std::to_string(size) + " bytes, an item has " +
         std::to_string(kItemRecordSize) + ")";
}

}  // namespace relicor
