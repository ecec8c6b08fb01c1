#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/BatchRead.h"
#include "platform/FaultInjection.h"
#include "platform/FileSystem.h"
#include "support/TempDir.h"

namespace relicor {
namespace {

using test::TempDir;

std::size_t OpenDescriptors() {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
  return count;
}

// What is at a name of the test directory, and what a batch may keep of it.
struct Case {
  std::string name;
  std::string content;  // "<DIR>", "<FIFO>", "<LINK>" and "<MISSING>" make such an entry instead
  std::size_t least;
  std::size_t most;
  bool stamped;
  bool kept;
};

std::vector<Case> Cases() {
  const std::string item(400, 'i');
  std::vector<Case> cases = {
      {"ITEM.ITM", item, 400, 400, true, true},
      {"PLAIN.ITM", item, 400, 400, false, true},
      {"SHORT.ITM", std::string(399, 's'), 400, 400, true, false},
      {"LONG.ITM", std::string(401, 'l'), 400, 400, true, false},
      {"LONGER.ITM", std::string(4000, 'l'), 400, 400, false, false},
      {"EMPTY.IT0", "", 0, 16384, false, true},
      {"FULL.IT0", std::string(16384, 'f'), 0, 16384, false, true},
      {"OVER.IT0", std::string(16385, 'o'), 0, 16384, false, false},
      {"MISSING.ITM", "<MISSING>", 400, 400, true, false},
      {"DIR.ITM", "<DIR>", 0, 16384, false, false},
      {"STAMPEDDIR.ITM", "<DIR>", 0, 16384, true, false},
      {"LINK.ITM", "<LINK>", 400, 400, false, false},
      {"FIFO.ITM", "<FIFO>", 400, 400, true, false},
      {"PLAINFIFO.ITM", "<FIFO>", 400, 400, false, false},
  };
  // More than the kernel is handed at once, each with bytes of its own.
  for (int i = 0; i < 70; ++i) {
    cases.push_back({"N" + std::to_string(i) + ".ITM",
                     std::string(400, static_cast<char>('A' + i % 26)) + std::to_string(i), 0, 500,
                     i % 2 == 0, true});
  }
  return cases;
}

TEST(BatchReadTest, KeepsOnlyWholeReadsOfTheSizeAskedForWithTheUsualDateAndIdentity) {
  TempDir dir;
  std::vector<Case> cases = Cases();
  for (const Case& c : cases) {
    const std::string path = dir.file(c.name);
    if (c.content == "<DIR>") {
      dir.mkdir(c.name);
    } else if (c.content == "<FIFO>") {
      ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    } else if (c.content == "<LINK>") {
      std::filesystem::create_symlink(dir.file("ITEM.ITM"), path);
    } else if (c.content != "<MISSING>") {
      dir.write(c.name, c.content);
    }
  }
  std::vector<BatchFile> files(cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    files[i].name = cases[i].name.c_str();
    files[i].least = cases[i].least;
    files[i].most = cases[i].most;
    files[i].stamped = cases[i].stamped;
  }
  const DirectoryHandle in(dir.path() + "/");
  // The thread's ring is made first: it holds a descriptor of its own for as long as the thread runs.
  if (!ReadBatch(in.fd(), {})) GTEST_SKIP() << "this system reads no batches";
  const std::size_t descriptors = OpenDescriptors();
  ASSERT_TRUE(ReadBatch(in.fd(), files));
  EXPECT_EQ(OpenDescriptors(), descriptors) << "every file opened is closed";

  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.name);
    EXPECT_EQ(files[i].read, c.kept);
    if (!files[i].read) continue;
    EXPECT_EQ(files[i].data, c.content);
    if (!c.stamped) continue;
    const std::string path = dir.file(c.name);
    auto modified = FileModificationTime(path);
    ASSERT_TRUE(modified);
    EXPECT_EQ(files[i].modified, *modified);
    EXPECT_EQ(files[i].stamp, StampOfFile(path));
  }
}

TEST(BatchReadTest, NamesWithoutADirectoryAreReadInTheWorkingDirectory) {
  TempDir dir;
  dir.write("A.ITM", std::string(400, 'a'));
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  std::vector<BatchFile> files(1);
  files[0].name = "A.ITM";
  files[0].least = files[0].most = 400;
  files[0].stamped = true;
  const bool batched = ReadBatch(AT_FDCWD, files);
  std::filesystem::current_path(before);
  if (!batched) GTEST_SKIP() << "this system reads no batches";
  EXPECT_TRUE(files[0].read);
  EXPECT_EQ(files[0].data, std::string(400, 'a'));
  EXPECT_EQ(files[0].stamp, StampOfFile(dir.file("A.ITM")));
}

TEST(BatchReadTest, ReadsNothingWhenSwitchedOffOrWhileATestInjectsFaults) {
  TempDir dir;
  dir.write("A.ITM", std::string(400, 'a'));
  const DirectoryHandle in(dir.path() + "/");
  std::vector<BatchFile> files(1);
  files[0].name = "A.ITM";
  files[0].least = files[0].most = 400;

  SetBatchReads(false);
  EXPECT_FALSE(ReadBatch(in.fd(), files));
  SetBatchReads(true);
  EXPECT_FALSE(files[0].read);
  EXPECT_FALSE(ReadBatch(-1, files));

  // Injected faults count the file layer's operations in one order: a batch would pass them by.
  faults::Inject({faults::FileOp::kOpenRead, EIO, "NOTHING", 0, -1});
  EXPECT_FALSE(ReadBatch(in.fd(), files));
  EXPECT_FALSE(files[0].read);
  faults::Clear();
}

}  // namespace
}  // namespace relicor
