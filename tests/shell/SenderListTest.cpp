#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "shell/SenderList.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"
#include "support/TestDates.h"

namespace relicor {
namespace {

using test::Day;
using test::RecordBuilder;
using test::TempDir;

class SenderListTest : public ::testing::Test {
 protected:
  SenderListTest() : pool_(tmp_.mkdir("pool")), sent_(tmp_.mkdir("sent")) {}

  // An item at `relative` with a sidecar naming its sender, added date and points.
  void Item(const std::string& relative, const std::string& sender, const std::string& added,
            bool points = false) {
    tmp_.write(relative, RecordBuilder().ident(++ident_).itemClass(1).bytes());
    const std::string sidecar = relative.substr(0, relative.size() - 3) + "IT0";
    tmp_.write(sidecar, "[Iteminfos]\r\nSenderName=" + sender + "\r\nPoints4Item=" + (points ? "1" : "0") +
                            "\r\nAddedItem=" + added + "\r\n");
  }

  SenderList Count(DateTime since, bool subdirectories = false, std::string sentDir = {}) {
    SenderScan scan;
    scan.poolDir = pool_;
    scan.sentDir = sentDir.empty() ? sent_ : sentDir;
    scan.subdirectories = subdirectories;
    scan.since = since;
    scan.members = members_;
    auto list = CountSenders(cache_, scan);
    EXPECT_TRUE(list) << list.error();
    return list ? *list : SenderList();
  }

  // "name items points" per row, for compact comparisons.
  static std::vector<std::string> Rows(const SenderList& list) {
    std::vector<std::string> rows;
    for (const SenderTally& s : list.senders) {
      rows.push_back(s.name + (s.member ? "" : " *") + " " + std::to_string(s.items) + " " +
                     std::to_string(s.points));
    }
    return rows;
  }

  TempDir tmp_;
  std::string pool_;
  std::string sent_;
  std::vector<std::string> members_{"alice", "Bob"};
  std::uint32_t ident_ = 100;
  FixedClock clock_{Day(8, 12, 2026, 23, 59)};
  ItemCache cache_{clock_};
};

TEST_F(SenderListTest, TheFirstDayCountsAndTheDayBeforeDoesNot) {
  Item("pool/a.ITM", "alice", "30.11.2026");
  Item("pool/b.ITM", "alice", "01.12.2026", true);
  Item("pool/c.ITM", "alice", "02.12.2026");
  struct Case {
    DateTime since;
    std::size_t items;
    std::size_t points;
  };
  const Case cases[] = {
      {Day(1, 12, 2026), 2, 1},
      {Day(1, 12, 2026, 18, 30), 2, 1},  // the time of day of the limit does not
                                         // matter
      {Day(2, 12, 2026), 1, 0},
      {Day(30, 11, 2026), 3, 1},
      {Day(3, 12, 2026), 0, 0},
  };
  for (const Case& c : cases) {
    const SenderList list = Count(c.since);
    EXPECT_EQ(list.items, c.items) << c.since;
    EXPECT_EQ(list.points, c.points) << c.since;
    if (c.items > 0) {
      EXPECT_EQ(Rows(list), std::vector<std::string>{"alice " + std::to_string(c.items) + " " +
                                                     std::to_string(c.points)});
    } else {
      EXPECT_TRUE(list.senders.empty());
    }
  }
}

TEST_F(SenderListTest, SubdirectoriesOnlyWithTheFlagAndTheSentDirectoryAlways) {
  Item("pool/a.ITM", "alice", "05.12.2026");
  Item("pool/sub/b.ITM", "alice", "05.12.2026");
  Item("sent/c.ITM", "Bob", "05.12.2026", true);
  Item("sent/deeper/d.ITM", "Bob", "05.12.2026");  // the sent directory's own files only
  EXPECT_EQ(Rows(Count(Day(1, 12, 2026), false)), (std::vector<std::string>{"alice 1 0", "Bob 1 1"}));
  EXPECT_EQ(Rows(Count(Day(1, 12, 2026), true)), (std::vector<std::string>{"alice 2 0", "Bob 1 1"}));
}

TEST_F(SenderListTest, ASentDirectoryInsideThePoolCountsItsItemsOnce) {
  Item("pool/out/a.ITM", "alice", "05.12.2026");
  const SenderList list = Count(Day(1, 12, 2026), true, tmp_.file("pool/out"));
  EXPECT_EQ(Rows(list), std::vector<std::string>{"alice 1 0"});
}

TEST_F(SenderListTest, StrangersAreMarkedAndMembersTakeTheirListSpelling) {
  members_ = {"alice", "Bob", "Averyveryverylongname"};  // 21 characters: sidecars hold 18
  Item("pool/a.ITM", "ALICE", "05.12.2026");
  Item("pool/b.ITM", "alice", "05.12.2026", true);
  Item("pool/c.ITM", "mallory", "05.12.2026");
  Item("pool/d.ITM", "Averyveryverylongn", "05.12.2026");
  Item("pool/e.ITM", "", "05.12.2026", true);
  Item("pool/f.ITM", "Mallory", "05.12.2026");
  const SenderList list = Count(Day(1, 12, 2026));
  EXPECT_EQ(Rows(list), (std::vector<std::string>{"alice 2 1", "Averyveryverylongname 1 0", "Mallory * 1 0",
                                                  "mallory * 1 0"}));
  EXPECT_EQ(list.withoutSender, 1u);
  EXPECT_EQ(list.withoutSenderPoints, 1u);
  EXPECT_EQ(list.items, 6u);
  EXPECT_EQ(list.points, 2u);
}

TEST_F(SenderListTest, NoPoolDirectoryIsAnError) {
  SenderScan scan;
  auto list = CountSenders(cache_, scan);
  ASSERT_FALSE(list);
  EXPECT_EQ(list.error(), "No Pool-Directory assigned!");
}

TEST_F(SenderListTest, TheFileIsWindows1252WithCrLfInColumns) {
  members_ = {"J\xF6rg"};
  Item("pool/a.ITM", "J\xF6rg", "05.12.2026", true);
  Item("pool/b.ITM", "J\xF6rg", "06.12.2026");
  Item("pool/c.ITM", "stranger", "06.12.2026");
  Item("pool/d.ITM", "", "06.12.2026");
  SenderList list = Count(Day(1, 12, 2026));
  ASSERT_TRUE(WriteSenderList(list, pool_, clock_.Now()));
  EXPECT_EQ(list.filePath, pool_ + "/SENDERS.TXT");
  EXPECT_EQ(tmp_.read("pool/SENDERS.TXT"),
            "Senderlist since 01.12.2026 (made 08.12.2026 23:59:00)\r\n"
            "\r\n"
            "Sender                                Items  Points\r\n"
            "J\xF6rg                                      2       1\r\n"
            "stranger (not a member)                   1       0\r\n"
            "(no sender)                               1       0\r\n"
            "\r\n"
            "Total                                     4       1\r\n");
}

}  // namespace
}  // namespace relicor
