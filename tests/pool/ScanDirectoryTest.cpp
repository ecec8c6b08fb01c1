#include "pool/ScanDirectory.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "support/RecordBuilder.h"
#include "support/TempDir.h"
#include "text/ByteText.h"

namespace relicor {
namespace {

using test::RecordBuilder;
using test::TempDir;

class ScanDirectoryTest : public ::testing::Test {
 protected:
  ScanDirectoryTest() : pool_(tmp_.mkdir("pool")) {}

  std::string Item(const std::string& relative, std::string_view name) const {
    return tmp_.write(relative, RecordBuilder().name(name).bytes());
  }

  // The items a scan lists, as "name path-below-the-pool".
  std::vector<std::string> Scan(bool recursive) {
    std::vector<ScannedItem> items;
    ScanOptions options;
    options.recursive = recursive;
    const Status scanned = ScanDirectory(cache_, pool_, options, &items);
    EXPECT_TRUE(scanned) << scanned.error();
    std::vector<std::string> got;
    for (const ScannedItem& item : items) got.push_back(item.name() + " " + std::string(item.path().substr(pool_.size() + 1)));
    return got;
  }

  TempDir tmp_;
  std::string pool_;
  FixedClock clock_{46000.5};
  ItemCache cache_{clock_};
};

TEST_F(ScanDirectoryTest, FilesByNameWithoutCaseThenVisibleSubdirectories) {
  Item("pool/b.ITM", "B");
  Item("pool/A.itm", "A");
  Item("pool/.c.ITM", "C");  // a hidden file is an item like any other
  Item("pool/sub/d.ITM", "D");
  Item("pool/Sub2/e.ITM", "E");
  Item("pool/.hidden/f.ITM", "F");  // a hidden subdirectory is not entered
  Item("pool/x.ITM.bak", "G");
  tmp_.write("pool/short.ITM", "ITM0");
  std::filesystem::create_directory_symlink(tmp_.file("pool/sub"), tmp_.file("pool/link"));

  EXPECT_EQ(Scan(false), (std::vector<std::string>{"C .c.ITM", "A A.itm", "B b.ITM"}));
  EXPECT_EQ(Scan(true),
            (std::vector<std::string>{"C .c.ITM", "A A.itm", "B b.ITM", "D sub/d.ITM", "E Sub2/e.ITM"}));
}

// A directory of mode 0 cannot be listed by an ordinary user; root is made one for the scan.
class OrdinaryUser {
 public:
  OrdinaryUser() {
    if (::geteuid() == 0) dropped_ = ::setegid(kNobody) == 0 && ::seteuid(kNobody) == 0;
  }
  ~OrdinaryUser() {
    if (dropped_) {
      (void)::seteuid(0);
      (void)::setegid(0);
    }
  }
  OrdinaryUser(const OrdinaryUser&) = delete;
  OrdinaryUser& operator=(const OrdinaryUser&) = delete;
  bool ok() const { return ::geteuid() != 0; }

 private:
  static constexpr uid_t kNobody = 65534;
  bool dropped_ = false;
};

TEST_F(ScanDirectoryTest, ASubdirectoryThatCannotBeListedYieldsNoFiles) {
  Item("pool/a.ITM", "A");
  Item("pool/locked/b.ITM", "B");
  Item("pool/open/c.ITM", "C");
  for (const char* dir : {"", "pool", "pool/open"}) ::chmod(tmp_.file(dir).c_str(), 0755);
  ::chmod(tmp_.file("pool/locked").c_str(), 0);
  std::vector<std::string> got;
  Status lockedTop;
  {
    OrdinaryUser user;
    if (!user.ok()) GTEST_SKIP() << "cannot act as an ordinary user";
    got = Scan(true);
    lockedTop = ScanDirectory(cache_, tmp_.file("pool/locked"), ScanOptions{}, nullptr);
  }
  ::chmod(tmp_.file("pool/locked").c_str(), 0755);
  EXPECT_EQ(got, (std::vector<std::string>{"A a.ITM", "C open/c.ITM"}));
  // The directory the scan is asked for must be read.
  ASSERT_FALSE(lockedTop);
  EXPECT_NE(lockedTop.error().find(tmp_.file("pool/locked")), std::string::npos) << lockedTop.error();
}

TEST_F(ScanDirectoryTest, ListedItemsCarryTheirCacheEntriesWithTheirSidecars) {
  Item("pool/A.ITM", "A");
  Item("pool/B.ITM", "B");
  tmp_.write("pool/B.IT0", "[Iteminfos]\r\nSenderName=Bob\r\n");
  std::vector<ScannedItem> items;
  ASSERT_TRUE(ScanDirectory(cache_, pool_, ScanOptions{}, &items));
  ASSERT_EQ(items.size(), 2u);
  for (const ScannedItem& item : items) EXPECT_EQ(item.entry, cache_.Find(std::string(item.path()))) << item.path();
  EXPECT_EQ(items[0].entry->Meta().senderName, "");
  EXPECT_EQ(items[1].entry->Meta().senderName, "Bob");
}

TEST(SortDirectoryEntriesTest, ByNameWithoutLetterCaseThenByBytes) {
  std::vector<DirEntry> entries;
  for (const char* name : {"b", "B", "a_", "A", "[", "Z", "z1", "\xE4", "\xC4", "ab", "AB", "Ab", ""}) {
    entries.push_back({name});
  }
  std::vector<DirEntry> expected = entries;
  std::sort(expected.begin(), expected.end(), [](const DirEntry& a, const DirEntry& b) {
    const int c = CompareTextNoCase(a.name, b.name);
    return c != 0 ? c < 0 : a.name < b.name;
  });
  SortDirectoryEntries(entries);
  std::vector<std::string> got;
  std::vector<std::string> want;
  for (const DirEntry& entry : entries) got.push_back(entry.name);
  for (const DirEntry& entry : expected) want.push_back(entry.name);
  EXPECT_EQ(got, want);
  // "Z" < "[" < "_" once folded, as the walk of a pool sorts them; "A" before "AB", "Ab", "ab".
  EXPECT_EQ(got, (std::vector<std::string>{"", "A", "AB", "Ab", "ab", "a_", "B", "b", "Z", "z1", "[", "\xC4",
                                           "\xE4"}));
}

}  // namespace
}  // namespace relicor
