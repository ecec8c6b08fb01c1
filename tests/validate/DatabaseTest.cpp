#include <gtest/gtest.h>

#include <filesystem>

#include "item/ItemFile.h"
#include "platform/Clock.h"
#include "pool/ItemCache.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"
#include "validate/Database.h"

namespace relicor {
namespace {

using test::RecordBuilder;
using test::TempDir;

std::string Stored(const RecordBuilder& builder) {
  return EncodeDatabaseRecord(builder.build());
}

class DatabaseTest : public ::testing::Test {
 protected:
  std::string dbPath() const { return tmp_.file("IDENT.ID"); }
  void WriteDb(const std::string& content) const { tmp_.write("IDENT.ID", content); }
  std::string ReadDb() const { return tmp_.read("IDENT.ID"); }

  TempDir tmp_;
  Database db_{dbPath()};
};

TEST(DatabaseRecordTest, EveryByteIsStoredComplemented) {
  const std::string stored = Stored(RecordBuilder().ident(0x12345678));
  ASSERT_EQ(stored.size(), kItemRecordSize);
  EXPECT_EQ(stored.substr(0, 4), "\xB6\xAB\xB2\xCF");   // "ITM0"
  EXPECT_EQ(stored.substr(32, 4), "\x87\xA9\xCB\xED");  // Ident 0x12345678, little-endian
  EXPECT_EQ(DecodeDatabaseRecord(stored).bytes(), RecordBuilder().ident(0x12345678).build().bytes());
}

TEST_F(DatabaseTest, ALinkedDatabaseIsNotReadNorReplaced) {
  const std::string elsewhere = tmp_.write("elsewhere.ID", Stored(RecordBuilder().ident(1).itemClass(1)));
  std::filesystem::create_symlink(elsewhere, dbPath());
  const Status loaded = db_.Load();
  ASSERT_FALSE(loaded);
  EXPECT_EQ(loaded.error(), dbPath() + " is a symbolic link: not followed");
  EXPECT_TRUE(db_.entries().empty());
  EXPECT_FALSE(db_.Save());
  EXPECT_TRUE(std::filesystem::is_symlink(dbPath()));
  EXPECT_EQ(tmp_.read("elsewhere.ID"), Stored(RecordBuilder().ident(1).itemClass(1)));
}

TEST_F(DatabaseTest, TruncatedLastRecordIsDroppedAndTheFirstOfAKeyStays) {
  const std::string a = Stored(RecordBuilder().ident(2).itemClass(1).name("first"));
  const std::string b = Stored(RecordBuilder().ident(1).itemClass(1));
  const std::string sameKey = Stored(RecordBuilder().ident(2).itemClass(1).name("second"));
  WriteDb(a + b + b + sameKey + sameKey.substr(0, 200));
  ASSERT_TRUE(db_.Load());
  ASSERT_EQ(db_.entries().size(), 2u);
  EXPECT_EQ(db_.entries().at("0000000201").Name(), "first");
  EXPECT_TRUE(db_.IsRegistered("0000000101"));
  EXPECT_FALSE(db_.modified());

  WriteDb(a + b + sameKey.substr(0, 200));  // 1000 bytes
  ASSERT_TRUE(db_.Load());
  EXPECT_EQ(db_.entries().size(), 2u);
}

TEST_F(DatabaseTest, AddAppendsOneRecordAndRefusesARegisteredKey) {
  WriteDb(Stored(RecordBuilder().ident(1)));
  ASSERT_TRUE(db_.Load());
  auto added = db_.AddRecord(RecordBuilder().ident(2).build());
  ASSERT_TRUE(added) << added.error();
  EXPECT_TRUE(*added);
  EXPECT_EQ(ReadDb(), Stored(RecordBuilder().ident(1)) + Stored(RecordBuilder().ident(2)));
  EXPECT_FALSE(db_.modified());  // the file already holds it

  // Differs in every other byte but shares Ident and ItemClass: the same key.
  added = db_.AddRecord(RecordBuilder().ident(2).name("other").price(99).build());
  ASSERT_TRUE(added);
  EXPECT_FALSE(*added);
  EXPECT_EQ(ReadDb().size(), 2 * kItemRecordSize);
}

TEST_F(DatabaseTest, AddAfterATornRecordStartsAtARecordBoundary) {
  WriteDb(Stored(RecordBuilder().ident(1)) + std::string(200, 'x'));
  ASSERT_TRUE(db_.Load());
  ASSERT_TRUE(db_.AddRecord(RecordBuilder().ident(2).build()));
  Database reloaded(dbPath());
  ASSERT_TRUE(reloaded.Load());
  EXPECT_EQ(reloaded.entries().size(), 2u);
  EXPECT_TRUE(reloaded.IsRegistered("0000000200"));
}

TEST_F(DatabaseTest, SaveAfterADeletionRewritesInKeyOrder) {
  WriteDb(Stored(RecordBuilder().ident(3)) + Stored(RecordBuilder().ident(1)) +
          Stored(RecordBuilder().ident(2)));
  ASSERT_TRUE(db_.Load());
  EXPECT_FALSE(db_.Remove("0000000900"));
  EXPECT_FALSE(db_.modified());
  EXPECT_TRUE(db_.Remove("0000000200"));
  EXPECT_TRUE(db_.modified());
  EXPECT_EQ(ReadDb().size(), 3 * kItemRecordSize);  // the file is not touched yet
  ASSERT_TRUE(db_.Save());
  EXPECT_FALSE(db_.modified());
  EXPECT_EQ(ReadDb(), Stored(RecordBuilder().ident(1)) + Stored(RecordBuilder().ident(3)));
}

TEST_F(DatabaseTest, FailedSaveIsReportedAndKeepsTheModifiedFlag) {
  tmp_.write("afile", "x");
  const std::string path = tmp_.file("afile/IDENT.ID");
  Database db(path);
  const Status loaded = db.Load();  // can neither be opened nor created
  ASSERT_FALSE(loaded);
  EXPECT_NE(loaded.error().find(path), std::string::npos) << loaded.error();
  EXPECT_TRUE(db.entries().empty());

  auto added = db.AddRecord(RecordBuilder().ident(1).build());
  ASSERT_FALSE(added);
  EXPECT_NE(added.error().find(path), std::string::npos) << added.error();
  EXPECT_FALSE(db.IsRegistered("0000000100"));  // list and file stay in step

  // A database that loaded, then cannot be written.
  WriteDb(Stored(RecordBuilder().ident(1)) + Stored(RecordBuilder().ident(2)));
  ASSERT_TRUE(db_.Load());
  ASSERT_TRUE(db_.Remove("0000000100"));
  std::filesystem::remove(dbPath());
  std::filesystem::create_directory(dbPath());  // the rename over it must fail
  const Status saved = db_.Save();
  ASSERT_FALSE(saved);
  EXPECT_NE(saved.error().find(dbPath()), std::string::npos) << saved.error();
  EXPECT_TRUE(db_.modified());
}

TEST_F(DatabaseTest, AddItemFileThroughTheCache) {
  ASSERT_TRUE(db_.Load());  // a missing file is created empty
  EXPECT_EQ(ReadDb(), "");
  EXPECT_TRUE(std::filesystem::exists(dbPath()));
  FixedClock clock(46000.0);
  ItemCache cache(clock);
  const std::string item = tmp_.write("A.ITM", RecordBuilder().ident(0xFF).itemClass(12).bytes());
  const std::string twin =
      tmp_.write("B.ITM", RecordBuilder().ident(0xFF).itemClass(12).name("twin").bytes());
  const std::string shortFile = tmp_.write("C.ITM", std::string(10, 'x'));

  auto added = AddItemToDatabase(db_, cache, item);
  ASSERT_TRUE(added) << added.error();
  EXPECT_TRUE(db_.IsRegistered("000000FF0C"));
  EXPECT_EQ(ReadDb(), Stored(RecordBuilder().ident(0xFF).itemClass(12)));

  added = AddItemToDatabase(db_, cache, twin);
  ASSERT_FALSE(added);
  EXPECT_EQ(added.kind(), ErrorKind::kAlreadyInDatabase);
  EXPECT_EQ(added.error(), kAlreadyInDatabaseText);
  EXPECT_EQ(ReadDb().size(), kItemRecordSize);

  added = AddItemToDatabase(db_, cache, shortFile);
  ASSERT_FALSE(added);
  EXPECT_EQ(added.error(), NotAnItemMessage(shortFile, 10));
  EXPECT_EQ(db_.entries().size(), 1u);
}

}  // namespace
}  // namespace relicor

namespace relicor {
namespace {

TEST(DatabaseSharedTest, ASaveKeepsWhatAnotherRunAddedAndAnAddSeesIt) {
  test::TempDir tmp;
  const std::string path = tmp.file("IDENT.ID");
  const std::string a = Stored(test::RecordBuilder().ident(1).itemClass(1).name("a"));
  const std::string b = Stored(test::RecordBuilder().ident(2).itemClass(1).name("b"));
  const std::string c = Stored(test::RecordBuilder().ident(3).itemClass(1).name("c"));
  tmp.write("IDENT.ID", a + b);
  Database mine(path);
  ASSERT_TRUE(mine.Load());
  // Another run adds c while this one removes a.
  Database other(path);
  ASSERT_TRUE(other.Load());
  ASSERT_TRUE(other.AddRecord(DecodeDatabaseRecord(c)));
  ASSERT_TRUE(mine.Remove("0000000101"));
  ASSERT_TRUE(mine.Save());
  EXPECT_EQ(tmp.read("IDENT.ID"), b + c) << "c is kept, only a is gone";
  EXPECT_EQ(mine.entries().size(), 2u);
  // An add of a record another run registered in the meantime writes nothing.
  Database stale(path);
  ASSERT_TRUE(stale.Load());
  Database third(path);
  ASSERT_TRUE(third.Load());
  ASSERT_TRUE(third.AddRecord(DecodeDatabaseRecord(a)));
  auto added = stale.AddRecord(DecodeDatabaseRecord(a));
  ASSERT_TRUE(added);
  EXPECT_FALSE(*added);
  EXPECT_EQ(tmp.read("IDENT.ID"), b + c + a);
}

// Two runs of the program on one database: what the other removed stays away, what it added stays,
// and a list that was not saved keeps its own removals when it reads the file again.
TEST(DatabaseSharedTest, ARemovalByAnotherRunStaysAndAReloadKeepsUnsavedRemovals) {
  test::TempDir tmp;
  const std::string path = tmp.file("IDENT.ID");
  // Records 1 to 4 of class 1 (keys 0000000101 to 0000000401).
  std::string records[5];
  for (std::uint32_t ident = 1; ident <= 4; ++ident)
    records[ident] = Stored(test::RecordBuilder().ident(ident).itemClass(1));
  const std::string& c = records[3];
  const std::string& d = records[4];
  tmp.write("IDENT.ID", records[1] + records[2] + c);
  Database window(path);
  ASSERT_TRUE(window.Load());
  auto reloaded = window.ReloadIfChanged();
  ASSERT_TRUE(reloaded);
  EXPECT_FALSE(*reloaded) << "the file is the one it read";

  // The command line removes a and adds d while the window removes b.
  Database cli(path);
  ASSERT_TRUE(cli.Load());
  ASSERT_TRUE(cli.Remove("0000000101"));
  ASSERT_TRUE(cli.Save());
  ASSERT_TRUE(cli.AddRecord(DecodeDatabaseRecord(d)));
  ASSERT_TRUE(window.Remove("0000000201"));

  reloaded = window.ReloadIfChanged();
  ASSERT_TRUE(reloaded) << reloaded.error();
  EXPECT_TRUE(*reloaded);
  EXPECT_FALSE(window.IsRegistered("0000000101")) << "removed by the other run";
  EXPECT_FALSE(window.IsRegistered("0000000201")) << "removed here, not saved yet";
  EXPECT_TRUE(window.IsRegistered("0000000401"));
  EXPECT_TRUE(window.modified());

  ASSERT_TRUE(window.Save());
  EXPECT_EQ(tmp.read("IDENT.ID"), c + d);
  EXPECT_FALSE(*window.ReloadIfChanged()) << "its own save is no change";

  // Saved without reading it again first: the other run's removal still holds.
  Database stale(path);
  ASSERT_TRUE(stale.Load());
  ASSERT_TRUE(cli.Load());
  ASSERT_TRUE(cli.Remove("0000000301"));
  ASSERT_TRUE(cli.Save());
  ASSERT_TRUE(stale.Remove("0000000401"));
  ASSERT_TRUE(stale.Save());
  EXPECT_EQ(tmp.read("IDENT.ID"), "") << "c must not come back";
  EXPECT_TRUE(stale.entries().empty());

  // A file that has gone reads as an empty database.
  std::filesystem::remove(path);
  reloaded = stale.ReloadIfChanged();
  ASSERT_TRUE(reloaded);
  EXPECT_TRUE(*reloaded);
  EXPECT_TRUE(stale.entries().empty());
}

}  // namespace
}  // namespace relicor
