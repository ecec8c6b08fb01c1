#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>

#include "platform/DirectoryLock.h"
#include "platform/FaultInjection.h"
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

TEST(DirectoryLock, AMissingDirectoryGivesNoLockAndNoError) {
  TempDir dir;
  auto missing = DirectoryLock::Acquire(dir.file("missing"), 0ms);
  ASSERT_TRUE(missing);
  EXPECT_FALSE(missing->held());
}

// A lock that cannot be taken for any reason but another holder is never skipped in silence.
TEST(DirectoryLock, ALockFileThatIsNoFileOrALockTheSystemRefusesFails) {
  struct Case {
    const char* what;
    std::function<void(const TempDir&)> make;
    std::string text;  // the end of the message
  };
  const Case cases[] = {
      {"directory", [](const TempDir& d) { d.mkdir("RELICOR.LCK"); },
       "RELICOR.LCK must be a regular file, and it is a directory"},
      {"link",
       [](const TempDir& d) {
         std::filesystem::create_symlink(d.write("elsewhere", ""), d.file("RELICOR.LCK"));
       },
       "RELICOR.LCK must be a regular file, and it is a symbolic link"},
      {"dangling link",
       [](const TempDir& d) { std::filesystem::create_symlink(d.file("gone"), d.file("RELICOR.LCK")); },
       "RELICOR.LCK must be a regular file, and it is a symbolic link"},
      {"fifo", [](const TempDir& d) { ::mkfifo(d.file("RELICOR.LCK").c_str(), 0644); },
       "RELICOR.LCK must be a regular file, and it is something else"},
      {"ENOLCK",
       [](const TempDir&) {
         faults::Inject({faults::FileOp::kLock, ENOLCK, "RELICOR.LCK", 0, -1});
       },
       "RELICOR.LCK: " + std::string(std::strerror(ENOLCK))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    c.make(dir);
    auto lock = DirectoryLock::Acquire(dir.path(), 0ms);
    faults::Clear();
    ASSERT_FALSE(lock);
    EXPECT_EQ(lock.kind(), ErrorKind::kLockFailed);
    EXPECT_EQ(lock.error(), "cannot lock " + dir.path() + ": " + dir.path() + "/" + c.text);
  }
}

TEST(DirectoryLock, OnlyADirectoryNobodyCanWriteHereGivesNoLockAndNoError) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes everywhere";
  TempDir dir;
  const std::string readOnly = dir.mkdir("ro");
  std::filesystem::permissions(readOnly,
                               std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  auto lock = DirectoryLock::Acquire(readOnly, 0ms);
  std::filesystem::permissions(readOnly, std::filesystem::perms::owner_all);
  ASSERT_TRUE(lock) << lock.error();
  EXPECT_FALSE(lock->held());
}

}  // namespace
}  // namespace relicor
