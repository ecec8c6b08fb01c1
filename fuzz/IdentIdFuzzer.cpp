// Loading the dupe and hack database IDENT.ID from any file, then saving it, reloading it and
// adding to it.
//
// Input: the file's bytes.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "FuzzInput.h"
#include "item/ItemRecord.h"
#include "platform/FileSystem.h"
#include "validate/Database.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace relicor;
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const std::string path = fuzz::ScratchDirectory() + "IDENT.ID";
  fuzz::Expect(AtomicReplaceFile(path, file).ok(), "IDENT.ID could not be written");

  Database database(path);
  fuzz::Expect(database.Load().ok(), "IDENT.ID could not be read");
  fuzz::Expect(database.entries().size() <= size / kItemRecordSize, "more entries than whole records");
  for (const auto& [key, record] : database.entries()) {
    fuzz::Expect(key == record.ItemKey(), "an entry under another item's key");
    fuzz::Expect(database.IsRegistered(key), "a loaded key is not registered");
  }
  // The first record of a key stays.
  if (size >= kItemRecordSize) {
    const ItemRecord first = DecodeDatabaseRecord(file.substr(0, kItemRecordSize));
    const auto found = database.entries().find(first.ItemKey());
    fuzz::Expect(found != database.entries().end() && found->second.view() == first.view(),
                 "the first record of a key was not kept");
  }

  // Saved and loaded again, the list is the same.
  const std::map<std::string, ItemRecord> loaded = database.entries();
  fuzz::Expect(database.Save().ok(), "IDENT.ID could not be saved");
  Database again(path);
  fuzz::Expect(again.Load().ok(), "the saved IDENT.ID could not be read");
  fuzz::Expect(again.entries().size() == loaded.size(), "saving changed the number of entries");
  for (const auto& [key, record] : loaded) {
    const auto found = again.entries().find(key);
    fuzz::Expect(found != again.entries().end() && found->second.view() == record.view(),
                 "saving changed a record");
  }

  // A record added to the original file (a torn tail included) is there after a reload, and the
  // records before it are as they were.
  fuzz::Expect(AtomicReplaceFile(path, file).ok(), "IDENT.ID could not be written");
  Database adding(path);
  fuzz::Expect(adding.Load().ok(), "IDENT.ID could not be read");
  std::string bytes(file.substr(size > kItemRecordSize ? size - kItemRecordSize : 0));
  bytes.resize(kItemRecordSize, 'A');
  const ItemRecord added = ItemRecord::FromBytes(bytes);
  auto outcome = adding.AddRecord(added);
  fuzz::Expect(outcome.ok(), "a record could not be added");
  fuzz::Expect(*outcome == !loaded.count(added.ItemKey()), "an added record was taken for a known one");
  Database reloaded(path);
  fuzz::Expect(reloaded.Load().ok(), "IDENT.ID could not be read after adding");
  fuzz::Expect(reloaded.IsRegistered(added.ItemKey()), "the added record is not in the file");
  for (const auto& [key, record] : loaded) {
    const auto found = reloaded.entries().find(key);
    fuzz::Expect(found != reloaded.entries().end() && found->second.view() == record.view(),
                 "adding changed a record");
  }
  return 0;
}
