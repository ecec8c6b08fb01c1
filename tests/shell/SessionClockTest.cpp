// A pool command reads the system time once for its run, however many items it reports.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "shell/Session.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"
#include "text/DateText.h"

namespace relicor {
namespace {

using test::RecordBuilder;
using test::TempDir;

// A clock that counts how often it is read; each reading is a second later than the one before.
class CountingClock final : public Clock {
 public:
  explicit CountingClock(DateTime start) : next_(start) {}
  DateTime Now() const override {
    ++readings;
    const DateTime now = next_;
    next_ += 1.0 / 86400;
    return now;
  }
  mutable int readings = 0;

 private:
  mutable DateTime next_;
};

class QuietUi final : public SessionUi {
 public:
  bool Confirm(std::string_view) override { return true; }
};

TEST(SessionClockTest, PoolCommandsReadTheClockOncePerRunNotPerItem) {
  TempDir dir;
  dir.mkdir("home");
  for (const int items : {10, 200}) {
    const std::string pool = "pool" + std::to_string(items);
    for (int i = 0; i < items; ++i) {
      const std::string name = pool + "/I" + std::to_string(1000 + i);
      dir.write(name + ".ITM", RecordBuilder()
                                   .ident(static_cast<std::uint32_t>(i))
                                   .itemClass(1)
                                   .baseItem(3)
                                   .name("Sword")
                                   .bytes());
      if (i % 3 == 0) dir.write(name + ".IT0", "[Iteminfos]\r\nSenderName=Member\r\nPoints4Item=1\r\n");
    }
  }
  // The readings of each command, for a pool of 10 and one of 200 items, each in a session of its
  // own (so no item comes from an earlier command's cache).
  std::map<std::string, std::vector<int>> readings;
  for (const int items : {10, 200}) {
    const std::string pool = dir.file("pool" + std::to_string(items));
    auto count = [&](const std::string& command, auto run) {
      CountingClock clock(*ParseDate("07.12.2026") + 0.5);
      QuietUi ui;
      Session session(dir.file("home") + "/", clock, ui);
      session.Start();
      ASSERT_TRUE(session.SetPoolDirectory(pool));
      const int before = clock.readings;
      run(session);
      readings[command].push_back(clock.readings - before);
    };
    count("export", [&](Session& session) { ASSERT_TRUE(session.ExportItemList(pool)); });
    count("publish", [&](Session& session) { ASSERT_TRUE(session.CreatePages(pool)); });
    count("dupecheck", [&](Session& session) { ASSERT_TRUE(session.CheckDuplicates()); });
    count("rename", [&](Session& session) { ASSERT_TRUE(session.RenameRun()); });
  }
  for (const auto& [command, counts] : readings) {
    EXPECT_EQ(counts[0], counts[1]) << command << ": the clock was read per item";
    EXPECT_LE(counts[1], 3) << command;
  }
}

}  // namespace
}  // namespace relicor
