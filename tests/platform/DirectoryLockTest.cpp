#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/DirectoryLock.h"
#include "support/TempDir.h"

namespace relicor {
namespace {

using test::TempDir;
using namespace std::chrono_literals;

TEST(DirectoryLock, ASecondHolderWaitsThenIsToldThePoolIsBusy) {
  TempDir dir;
  auto first = DirectoryLock::Acquire(dir.path(), 0ms);
  ASSERT_TRUE(first && first->held());
  const auto start = std::chrono::steady_clock::now();
  auto second = DirectoryLock::Acquire(dir.path(), 200ms);
  ASSERT_FALSE(second);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 200ms) << "it waited";
  EXPECT_EQ(second.error(), "pool is busy: another Relicor is writing (" + dir.file("RELICOR.LCK") + ")");

  first->Release();
  EXPECT_FALSE(std::filesystem::exists(dir.file("RELICOR.LCK"))) << "the lock file goes with the lock";
  auto third = DirectoryLock::Acquire(dir.path(), 0ms);
  EXPECT_TRUE(third && third->held());
}

TEST(DirectoryLock, AWaiterGetsTheLockWhenTheHolderLetsGo) {
  TempDir dir;
  auto first = DirectoryLock::Acquire(dir.path(), 0ms);
  ASSERT_TRUE(first);
  std::thread release([&] {
    std::this_thread::sleep_for(100ms);
    first->Release();
  });
  auto second = DirectoryLock::Acquire(dir.path(), 5000ms);
  release.join();
  ASSERT_TRUE(second) << second.error();
  EXPECT_TRUE(second->held());
  // The waiter holds the file that is there now, not the one the holder removed.
  auto third = DirectoryLock::Acquire(dir.path(), 0ms);
  EXPECT_FALSE(third);
}

TEST(DirectoryLock, ADirectoryWhereNothingCanBeWrittenGivesNoLockAndNoError) {
  TempDir dir;
  auto missing = DirectoryLock::Acquire(dir.file("missing"), 0ms);
  ASSERT_TRUE(missing);
  EXPECT_FALSE(missing->held());
}

}  // namespace
}  // namespace relicor
