#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "platform/DirectoryWatch.h"
#include "support/TempDir.h"

namespace relicor {
namespace {

using test::TempDir;

struct Told {
  std::map<int, std::set<std::string>> came;
  std::set<int> missed;
};

Told DrainAll(DirectoryWatch& watch) {
  Told told;
  watch.Drain([&](int number, std::string_view name) { told.came[number].emplace(name); },
              [&](int number) { told.missed.insert(number); });
  return told;
}

TEST(DirectoryWatch, TellsTheNamesThatComeAndNoneThatGoOrAreWrittenTo) {
  TempDir tmp;
  const std::string a = tmp.mkdir("a");
  const std::string b = tmp.mkdir("b");
  tmp.write("a/Old.ITM", "old");
  tmp.write("a/Gone.ITM", "gone");
  tmp.write("b/Away.IT0", "away");
  DirectoryWatch watch;
  const auto numberA = watch.Watch(a);
  const auto numberB = watch.Watch(b);
  ASSERT_TRUE(numberA && numberB);
  EXPECT_NE(*numberA, *numberB);
  EXPECT_EQ(watch.Watch(a + "/../a"), numberA);  // one directory, one number

  tmp.write("a/Made.IT0", "made");                                       // made
  std::filesystem::create_hard_link(a + "/Old.ITM", a + "/Linked.ITM");  // linked
  std::filesystem::rename(a + "/Old.ITM", a + "/Renamed.ITM");           // renamed in the directory
  std::filesystem::rename(b + "/Away.IT0", a + "/Away.IT0");             // renamed into it from another
  std::filesystem::remove(a + "/Gone.ITM");                              // gone: not told
  std::ofstream(a + "/Renamed.ITM", std::ios::app) << "more";            // written to: not told
  std::ofstream(tmp.path() + "/Elsewhere.ITM") << "x";                   // not watched
  const Told told = DrainAll(watch);
  EXPECT_EQ(told.came.at(*numberA),
            (std::set<std::string>{"Made.IT0", "Linked.ITM", "Renamed.ITM", "Away.IT0"}));
  EXPECT_EQ(told.came.count(*numberB), 0u);
  EXPECT_TRUE(told.missed.empty());
  // Each name is told once.
  EXPECT_TRUE(DrainAll(watch).came.empty());

  // A stopped watch tells nothing more.
  watch.Stop(*numberB);
  tmp.write("b/Late.IT0", "late");
  const Told afterStop = DrainAll(watch);
  EXPECT_EQ(afterStop.came.count(*numberB), 0u);
}

TEST(DirectoryWatch, TellsWhereNamesMayHaveComeUnseen) {
  TempDir tmp;
  const std::string dir = tmp.mkdir("pool");
  DirectoryWatch watch;
  const auto number = watch.Watch(dir);
  ASSERT_TRUE(number);
  // The directory removed: its watch ends.
  std::filesystem::remove(dir);
  EXPECT_EQ(DrainAll(watch).missed, (std::set<int>{*number}));

  // More names than the system keeps for the reader: names came unseen everywhere.
  long kept = 0;
  std::ifstream("/proc/sys/fs/inotify/max_queued_events") >> kept;
  if (kept <= 0 || kept > 100000) GTEST_SKIP() << "the system keeps " << kept << " names";
  const std::string many = tmp.mkdir("many");
  ASSERT_TRUE(watch.Watch(many));
  for (long i = 0; i <= kept; ++i) std::ofstream(many + "/" + std::to_string(i));
  EXPECT_EQ(DrainAll(watch).missed.count(DirectoryWatch::kEveryDirectory), 1u);
}

TEST(DirectoryWatch, ADirectoryThatIsNotThereCannotBeWatched) {
  TempDir tmp;
  DirectoryWatch watch;
  EXPECT_FALSE(watch.Watch(tmp.file("missing")));
  EXPECT_FALSE(watch.Watch(tmp.write("file", "x")));
  EXPECT_TRUE(DrainAll(watch).missed.empty());
}

}  // namespace
}  // namespace relicor
