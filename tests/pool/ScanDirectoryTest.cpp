#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "pool/ScanDirectory.h"
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
    for (const ScannedItem& item : items)
      got.push_back(item.name() + " " + std::string(item.path().substr(pool_.size() + 1)));
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
  for (const ScannedItem& item : items)
    EXPECT_EQ(item.entry, cache_.Find(std::string(item.path()))) << item.path();
  EXPECT_EQ(items[0].entry->Meta().senderName, "");
  EXPECT_EQ(items[1].entry->Meta().senderName, "Bob");
}

TEST_F(ScanDirectoryTest, AHeldListingOfTheScannedDirectoryIsTakenInsteadOfAListing) {
  Item("pool/a.ITM", "A");
  Item("pool/b.ITM", "B");
  Item("pool/sub/c.ITM", "C");
  // What the lock listed a moment ago: b.ITM came after it, and is left to the next scan.
  std::optional<HeldListing> held = HeldListing{pool_ + "/", {DirEntry{"a.ITM"}, DirEntry{"sub", true}}};
  std::optional<HeldListing> other = HeldListing{tmp_.file("elsewhere") + "/", {DirEntry{"b.ITM"}}};
  for (std::optional<HeldListing>* given : {&other, &held}) {
    std::vector<ScannedItem> items;
    ScanOptions options;
    options.recursive = true;
    options.held = given;
    ASSERT_TRUE(ScanDirectory(cache_, pool_, options, &items));
    std::vector<std::string> names;
    for (const ScannedItem& item : items) names.push_back(item.name());
    if (given == &other) {
      // Another directory's listing is neither used nor taken.
      EXPECT_EQ(names, (std::vector<std::string>{"A", "B", "C"}));
      EXPECT_TRUE(other);
    } else {
      // Subdirectories are listed as ever.
      EXPECT_EQ(names, (std::vector<std::string>{"A", "C"}));
      EXPECT_FALSE(held);
    }
  }
  EXPECT_EQ(Scan(false), (std::vector<std::string>{"A a.ITM", "B b.ITM"}));
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

// The order as a plain comparison gives it: names folded to capitals, ties by bytes.
std::vector<std::string> ReferenceOrder(std::vector<std::string> names) {
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const int c = CompareTextNoCase(a, b);
    return c != 0 ? c < 0 : a < b;
  });
  return names;
}

// The names as SortDirectoryEntries orders them; the positions DirectoryOrder gives must agree.
std::vector<std::string> SortedNames(const std::vector<std::string>& names) {
  std::vector<DirEntry> entries;
  for (const std::string& name : names) entries.push_back({name});
  std::vector<std::string> ordered;
  for (const std::size_t i : DirectoryOrder(entries)) ordered.push_back(entries[i].name);
  SortDirectoryEntries(entries);
  std::vector<std::string> sorted;
  for (const DirEntry& entry : entries) sorted.push_back(entry.name);
  EXPECT_EQ(ordered, sorted);
  return sorted;
}

// The sort compares eight bytes at a time; names that differ only in letter case, end inside or at
// the edge of such a block, or differ beyond it must come out as the plain comparison orders them.
TEST(SortDirectoryEntriesTest, GivesThePlainComparisonsOrder) {
  const std::string p7 = "ITEM000";
  const std::string p8 = "ITEM0000";
  const std::string p16 = "ITEM0000ITEM0000";
  const struct {
    const char* what;
    std::vector<std::string> names;
  } cases[] = {
      {"letter case ties", {"item.itm", "ITEM.ITM", "Item.itm", "iTEM.ITM", "item.ITM", "ITEM.itm"}},
      {"'_' and '~' between capitals and small letters",
       {"A_", "a~", "a_", "A~", "AZ", "az", "A[", "a`", "A@", "a{", "_", "~", "z", "Z"}},
      {"digits before letters", {"9a", "1", "a1", "A0", "10", "01", "0A", "0a", "Z9", "z10"}},
      {"bytes above 127", {"\344a", "\304A", "\xE4", "\xC4", "\xFF", "\x80", "a\xE4", "A\xC4", "\344A"}},
      {"prefixes at the block edges",
       {p7, p8, p8 + "0", p7 + "a", p7 + "A", p8 + "a", p8 + "A", p16, p16 + "a", p16 + "A", "item000",
        "item0000", "item0000item0000", "Item0000Item0000a", p16.substr(0, 15), p16.substr(0, 15) + "1"}},
      {"long names differing late",
       {"ITEMS OF THE CLAN - WEAPONS - SWORD 001.ITM", "items of the clan - weapons - sword 001.itm",
        "ITEMS OF THE CLAN - WEAPONS - SWORD 002.ITM", "ITEMS OF THE CLAN - WEAPONS - SWORD 0010.ITM",
        "ITEMS OF THE CLAN - WEAPONS - Sword 001.ITM", "ITEMS OF THE CLAN - WEAPONS - SWORD_001.ITM"}},
      {"the empty name and control bytes", {"", "a", "A", " ", ".", "A\x01", "a\x01", "\x01", "\t"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> reversed(c.names.rbegin(), c.names.rend());
    EXPECT_EQ(SortedNames(c.names), ReferenceOrder(c.names)) << c.what;
    EXPECT_EQ(SortedNames(reversed), ReferenceOrder(c.names)) << c.what << ", listed the other way round";
  }
}

// Every name of up to three bytes from a small alphabet of look-alikes, and the same names behind a
// shared prefix of nine bytes, listed in a scrambled order.
TEST(SortDirectoryEntriesTest, GivesThePlainComparisonsOrderForManyNames) {
  const std::string alphabet = "aA_~0z\xE4";
  std::vector<std::string> names{""};
  for (std::size_t length = 1, begin = 0; length <= 3; ++length) {
    const std::size_t end = names.size();
    for (std::size_t i = begin; i < end; ++i) {
      for (const char c : alphabet) names.push_back(names[i] + c);
    }
    begin = end;
  }
  const std::size_t count = names.size();
  for (std::size_t i = 0; i < count; ++i) names.push_back((i % 2 ? "Pool.Item" : "pool.item") + names[i]);
  std::vector<std::string> scrambled;
  for (std::size_t i = 0; i < names.size(); ++i) scrambled.push_back(names[(i * 7919) % names.size()]);
  ASSERT_EQ(ReferenceOrder(scrambled), ReferenceOrder(names));  // the scramble lists every name once
  EXPECT_EQ(SortedNames(scrambled), ReferenceOrder(names));
}

}  // namespace
}  // namespace relicor
