#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "pool/ItemCache.h"
#include "pool/Sidecar.h"
#include "support/TempDir.h"
#include "support/TestDates.h"
#include "text/ByteText.h"

namespace relicor {
namespace {

using test::TempDir;

using test::Day;

const DateTime kNow = Day(6, 12, 2026, 14, 30);
const DateTime kFileDate = Day(1, 3, 2025, 9, 15);

TEST(SidecarTest, ReadingRules) {
  const Ini ini = Ini::Parse(
      "[ITEMINFOS]\r\n"
      "SenderName=ABCDEFGHIJKLMNOPQRSTUVWXY\r\n"
      "sendto=Zed\r\n"
      "Points4Item=0x1\r\n"
      "public=yes\r\n"  // not a number: false
      "Points4ItemAt=24.12.2025\r\n"
      "AddedItem=24.12.2025 10:00:00\r\n"
      "SentAt=31.02.2025\r\n");
  const SidecarValues v = SidecarValuesFromIni(ini, kNow, kFileDate);
  EXPECT_EQ(v.senderName, "ABCDEFGHIJKLMNOPQR");  // 25 characters read as 18
  EXPECT_EQ(v.sendTo, "Zed");
  EXPECT_EQ(SidecarValuesFromIni(Ini(), kNow, kFileDate).points4ItemAt, kNow);
  EXPECT_TRUE(v.points4Item);
  EXPECT_FALSE(v.isPublic);
  EXPECT_EQ(v.points4ItemAt, Day(24, 12, 2025));  // midnight of that day
  EXPECT_EQ(v.addedItem, kFileDate);              // a time of day makes it unreadable
  EXPECT_EQ(v.sentAt, kFileDate);                 // an impossible date too
}

TEST(SidecarTest, TheFirstOfRepeatedKeysAndSectionsCounts) {
  // Read in one pass: each key must still be what the profile rules read one key at a time.
  const Ini ini = Ini::Parse(
      "[Other]\r\nSenderName=Nobody\r\n"
      "[Iteminfos]\r\n"
      "SENDERNAME=First\r\n"
      "; SenderName=Comment\r\n"
      "sendername=Second\r\n"
      "Points4Item=1\r\n"
      "Points4Item=0\r\n"
      "SentAt = 02.01.2025 \r\n"
      "[iteminfos]\r\nSendTo=Later section\r\npublic=1\r\n");
  const SidecarValues v = SidecarValuesFromIni(ini, kNow, kFileDate);
  EXPECT_EQ(v.senderName, "First");
  EXPECT_EQ(v.sendTo, "");
  EXPECT_TRUE(v.points4Item);
  EXPECT_FALSE(v.isPublic);
  EXPECT_EQ(v.sentAt, Day(2, 1, 2025));
  EXPECT_EQ(v.addedItem, kFileDate);
  for (const std::string_view key : kSidecarKeys) {
    const auto one = ini.Get(kSidecarSection, key);
    const auto keys = ini.KeyValues(kSidecarSection);
    const auto found =
        std::find_if(keys.begin(), keys.end(), [&](const auto& kv) { return EqualsNoCase(kv.first, key); });
    ASSERT_EQ(one.has_value(), found != keys.end()) << key;
    if (one) {
      EXPECT_EQ(*one, found->second) << key;
    }
  }
}

TEST(SidecarTest, WriteAllSevenKeysInOrderKeepingUnknownOnes) {
  TempDir tmp;
  const std::string path = tmp.write("A.IT0", "[Iteminfos]\r\nSendTo=old\r\nNote=mine\r\n[Extra]\r\nx=1\r\n");
  SidecarValues v;
  v.senderName = "Bob";
  v.sendTo = "Alice";
  v.points4Item = true;
  v.points4ItemAt = Day(5, 1, 2026, 23, 59);  // the time of day is not written
  v.addedItem = Day(1, 2, 2024);
  v.sentAt = 1e9;  // cannot be written as a date: today's date instead
  ASSERT_TRUE(WriteSidecar(path, v, kNow));
  EXPECT_EQ(tmp.read("A.IT0"),
            "[Iteminfos]\r\n"
            "SendTo=Alice\r\n"
            "Note=mine\r\n"
            "SenderName=Bob\r\n"
            "Points4Item=1\r\n"
            "public=0\r\n"
            "Points4ItemAt=05.01.2026\r\n"
            "AddedItem=01.02.2024\r\n"
            "SentAt=06.12.2026\r\n"
            "[Extra]\r\n"
            "x=1\r\n");

  const SidecarValues back = ReadSidecar(path, kNow, kFileDate);
  EXPECT_EQ(back.points4ItemAt, Day(5, 1, 2026));  // midnight
  EXPECT_EQ(back.sentAt, Day(6, 12, 2026));
}

TEST(SidecarTest, FailedWriteNamesTheFile) {
  TempDir tmp;
  tmp.write("afile", "x");
  const std::string path = tmp.file("afile/x.IT0");
  const Status written = WriteSidecar(path, SidecarValues{}, kNow);
  ASSERT_FALSE(written);
  EXPECT_NE(written.error().find(path), std::string::npos) << written.error();
}

TEST(SidecarTest, OneSidecarNameRuleAndItemExtensions) {
  struct Case {
    const char* path;
    bool itemName;
    const char* sidecar;
  };
  // clang-format off
  const Case cases[] = {
      {"/p/SWORD0001.ITM", true,  "/p/SWORD0001.IT0"},
      {"/p/A.B.itm",       true,  "/p/A.B.IT0"},
      {"/p/x.Itm",         true,  "/p/x.IT0"},
      {"/p/X.ITEM",        false, "/p/X.IIT0"},  // refused by every command that takes an item path
      {"/p/NOEXT",         false, "/p/NOIT0"},
      {"/p.ITM/x",         false, "/p.ITIT0"},   // an extension of a directory is none
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(HasItemExtension(c.path), c.itemName) << c.path;
    EXPECT_EQ(SidecarPath(c.path), c.sidecar) << c.path;
  }
}

TEST(SidecarTest, ListingTellsWhichItemsMayHaveASidecar) {
  std::vector<DirEntry> entries = {
      {"A.ITM"}, {"A.IT0"}, {"b.itm"}, {"b.IT0"}, {"c.ITM"}, {"c.it0"}, {"D.ITM"}, {"E.IT0", true},
  };
  // Enough sidecars that the table grows past its first size.
  for (int i = 0; i < 100; ++i) entries.push_back({"N" + std::to_string(i) + ".IT0"});
  const SidecarListing listing(entries);
  struct Case {
    std::string itemPath;
    bool mayHold;
  };
  // clang-format off
  const std::vector<Case> cases = {
      {"/pool/A.ITM",    true},   // 0
      {"/pool/b.itm",    true},   // 1 the sidecar is "b.IT0" whatever the item's letter case
      {"/pool/c.ITM",    true},   // 2 "c.it0" is a sidecar too, in any letter case
      {"/pool/D.ITM",    false},  // 3
      {"/pool/E.ITM",    true},   // 4 whatever stands under the name is tried as before
      {"/pool/N57.ITM",  true},   // 5
      {"/pool/N100.ITM", false},  // 6
      {"/pool/IT",       true},   // 7 too short to name a sidecar: tried as before
  };
  // clang-format on
  for (const Case& c : cases) EXPECT_EQ(listing.MayHoldSidecarOf(c.itemPath), c.mayHold) << c.itemPath;
  EXPECT_FALSE(SidecarListing().MayHoldSidecarOf("/pool/A.ITM"));
}

// Only a sidecar listed in the usual spelling alone is read without looking for other spellings.
TEST(SidecarTest, ListingTellsHowTheSidecarIsSpelled) {
  const std::vector<DirEntry> entries = {{"A.IT0"}, {"b.it0"}, {"C.IT0"}, {"C.iT0"}, {"D.ITM"}};
  const SidecarListing listing(entries);
  using Spelling = SidecarListing::Spelling;
  const std::pair<const char*, Spelling> cases[] = {
      {"/pool/A.ITM", Spelling::kUsual}, {"/pool/a.itm", Spelling::kNone}, {"/pool/b.ITM", Spelling::kOther},
      {"/pool/C.ITM", Spelling::kOther}, {"/pool/D.ITM", Spelling::kNone}, {"IT", Spelling::kOther},
  };
  for (const auto& [path, spelling] : cases) EXPECT_EQ(listing.SpellingOf(path), spelling) << path;
  EXPECT_EQ(SidecarListing().SpellingOf("/pool/A.ITM"), Spelling::kNone);
}

// Whether the usual spelling was listed as a regular file, for names up to the longest a file
// system allows and past it, with bytes above 127.
TEST(SidecarTest, ListingTellsWhetherTheUsualSpellingIsARegularFile) {
  const std::string longest = std::string(247, '\xE4') + "Ring.IT0";  // 255 bytes
  const std::string longer = std::string(300, '\xFC') + ".IT0";
  DirEntry regularEntry{"R.IT0"};
  regularEntry.isRegular = true;
  DirEntry longestEntry{longest};
  longestEntry.isRegular = true;
  DirEntry longerEntry{longer};
  longerEntry.isRegular = true;
  const std::vector<DirEntry> entries = {
      {"A.IT0"}, regularEntry, longestEntry, longerEntry, {"L.IT0", false, false, true}};
  const SidecarListing listing(entries);
  using Spelling = SidecarListing::Spelling;
  struct Case {
    std::string itemPath;
    Spelling spelling;
    bool regular;
  };
  const std::vector<Case> cases = {
      {"/pool/A.ITM", Spelling::kUsual, false},
      {"/pool/R.ITM", Spelling::kUsual, true},
      {"/pool/L.ITM", Spelling::kUsual, false},  // a link
      {"/pool/" + longest.substr(0, 252) + "ITM", Spelling::kUsual, true},
      {"/pool/" + longest.substr(0, 251) + "X.ITM", Spelling::kNone, false},
      {"/pool/" + longer.substr(0, 301) + "ITM", Spelling::kUsual, true},
  };
  for (const Case& c : cases) {
    bool regular = !c.regular;
    EXPECT_EQ(listing.SpellingOf(c.itemPath, &regular), c.spelling) << c.itemPath.size();
    EXPECT_EQ(regular, c.regular) << c.itemPath.size();
  }
}

// A pool's worth of names: each item tells its own sidecar's spelling and file type, never a
// neighbour's, and an item whose sidecar is not listed hears of none.
TEST(SidecarTest, ListingOfAPoolTellsEveryItemItsOwnSidecar) {
  constexpr int kItems = 100000;
  const auto name = [](int i, const char* extension) {
    std::string text = std::to_string(i);
    return "I" + std::string(7 - text.size(), '0') + text + extension;
  };
  std::vector<DirEntry> entries;
  for (int i = 0; i < kItems; ++i) {
    entries.push_back({name(i, ".ITM")});
    if (i % 3 == 0) entries.push_back({name(i, ".IT0"), false, false, false, i % 2 == 0});
    if (i % 7 == 0) entries.push_back({name(i, ".it0")});
  }
  const SidecarListing listing(entries);
  using Spelling = SidecarListing::Spelling;
  for (int i = 0; i < kItems; ++i) {
    const Spelling expected = i % 7 == 0 ? Spelling::kOther : i % 3 == 0 ? Spelling::kUsual : Spelling::kNone;
    bool regular = true;
    ASSERT_EQ(listing.SpellingOf("/pool/" + name(i, ".ITM"), &regular), expected) << i;
    ASSERT_EQ(regular, expected == Spelling::kUsual && i % 2 == 0) << i;
  }
}

}  // namespace
}  // namespace relicor
