#include "platform/FileSystem.h"

#include <sys/stat.h>
#include <utime.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/TempDir.h"

namespace relicor {
namespace {

using test::TempDir;

TEST(MoveFileNoReplace, MovesAndNeverReplaces) {
  TempDir dir;
  const auto a = dir.write("a.ITM", "item a");
  const auto b = dir.write("b.ITM", "item b");
  const auto refused = MoveFileNoReplace(a, b);
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error(), "cannot move " + a + " to " + b + ": the target exists");
  EXPECT_EQ(dir.read("a.ITM"), "item a");
  EXPECT_EQ(dir.read("b.ITM"), "item b");

  ASSERT_TRUE(MoveFileNoReplace(a, dir.file("c.ITM")));
  EXPECT_FALSE(FileExists(a));
  EXPECT_EQ(dir.read("c.ITM"), "item a");

  const auto missing = MoveFileNoReplace(dir.file("none.ITM"), dir.file("d.ITM"));
  ASSERT_FALSE(missing);
  EXPECT_NE(missing.error().find("none.ITM"), std::string::npos) << missing.error();
}

TEST(MoveFileNoReplace, MovesAcrossFileSystemsKeepingTheFileDate) {
  // /dev/shm is a file system of its own on most Linux machines.
  struct stat shm {}, tmp {};
  if (::stat("/dev/shm", &shm) != 0 || ::stat(std::filesystem::temp_directory_path().c_str(), &tmp) != 0 ||
      shm.st_dev == tmp.st_dev) {
    GTEST_SKIP() << "no second file system to move to";
  }
  TempDir dir;
  const auto from = dir.write("a.ITM", std::string(400, 'x'));
  const utimbuf old{1000000000, 1000000000};
  ASSERT_EQ(::utime(from.c_str(), &old), 0);
  const std::string to = "/dev/shm/relicor-move-test-" + std::to_string(::getpid()) + ".ITM";
  std::filesystem::remove(to);
  ASSERT_TRUE(MoveFileNoReplace(from, to));
  EXPECT_FALSE(FileExists(from));
  struct stat moved {};
  ASSERT_EQ(::stat(to.c_str(), &moved), 0);
  EXPECT_EQ(moved.st_size, 400);
  EXPECT_EQ(moved.st_mtim.tv_sec, 1000000000);
  // Back again onto a file that exists there now: refused, both stay.
  dir.write("a.ITM", "new");
  EXPECT_FALSE(MoveFileNoReplace(to, from));
  EXPECT_TRUE(FileExists(to));
  EXPECT_EQ(dir.read("a.ITM"), "new");
  std::filesystem::remove(to);
}

TEST(AtomicReplaceFile, ReplacesWholeAndKeepsPermissions) {
  TempDir dir;
  const auto path = dir.write("RELICOR.INI", "old");
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  ASSERT_TRUE(AtomicReplaceFile(path, "new text"));
  EXPECT_EQ(dir.read("RELICOR.INI"), "new text");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  // No temporary file is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}

TEST(AtomicFileWriter, AnAbandonedWriteLeavesTheOldFile) {
  TempDir dir;
  const auto path = dir.write("ITMLIST.TXT", "the old list");
  {
    AtomicFileWriter writer(path);
    ASSERT_TRUE(writer.Open());
    ASSERT_TRUE(writer.Write("half a new li"));
  }
  EXPECT_EQ(dir.read("ITMLIST.TXT"), "the old list");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}

TEST(AtomicReplaceFile, AMissingDirectoryIsAnErrorNamingTheFile) {
  TempDir dir;
  const auto path = dir.file("no-dir/PLAYERS.TXT");
  const auto written = AtomicReplaceFile(path, "x");
  ASSERT_FALSE(written);
  EXPECT_NE(written.error().find(path), std::string::npos) << written.error();
}

TEST(ReadWholeFileIfPresent, NothingForAMissingFileAnErrorForAnUnreadableOne) {
  TempDir dir;
  const std::string file = dir.write("A.IT0", std::string(70000, 'x') + "end");
  auto read = ReadWholeFileIfPresent(file);
  ASSERT_TRUE(read) << read.error();
  ASSERT_TRUE(read->has_value());
  EXPECT_EQ(read->value().size(), 70003u);  // more than one piece
  EXPECT_EQ(read->value().substr(69998), "xxend");

  // Missing: the file, a directory on the way, or a file standing where a directory should be.
  for (const std::string& missing : {dir.file("B.IT0"), dir.file("no-dir/B.IT0"), file + "/B.IT0"}) {
    read = ReadWholeFileIfPresent(missing);
    ASSERT_TRUE(read) << missing << ": " << read.error();
    EXPECT_FALSE(read->has_value()) << missing;
  }

  const std::string directory = dir.mkdir("C.IT0");
  read = ReadWholeFileIfPresent(directory);
  ASSERT_FALSE(read);
  EXPECT_NE(read.error().find(directory), std::string::npos) << read.error();
}

}  // namespace
}  // namespace relicor
