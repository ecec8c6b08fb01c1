#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "text/Path.h"
#include "text/PathList.h"

namespace relicor {
namespace {

TEST(PathList, GivesBackEveryPathOfTwoDirectoriesTakingTurns) {
  // Two directories whose paths come in turns (the last directory's number is no help then), file
  // names up to 255 bytes with Windows-1252 bytes, enough of them to cross many blocks, and paths
  // without a separator or with one only at the start: each path comes back whole, and so do its
  // directory and the rest as DirectoryPart cuts them.
  const std::string sep(1, kPathSeparator);
  const std::vector<std::string> dirs = {sep + "pool", sep + "pool" + sep + "sent\xE4", ""};
  PathList list;
  std::vector<std::string> paths;
  std::size_t bytes = 0;
  for (std::size_t i = 0; bytes < 4 * TextList::kBlockBytes; ++i) {
    std::string name = std::to_string(i) + "\xE9\x80\xFF";
    name.resize(1 + i % 255, 'x');
    std::string path = i % 7 == 6 ? std::string() : dirs[i % 3] + sep;
    path += name;
    paths.push_back(path);
    list.Add(path);
    bytes += name.size() + 1;
  }
  ASSERT_EQ(list.size(), paths.size());
  std::string into = "left over";
  for (std::size_t i = 0; i < paths.size(); ++i) {
    ASSERT_EQ(list[i], paths[i]) << i;
    list.Get(i, into);
    ASSERT_EQ(into, paths[i]) << i;
    ASSERT_EQ(list.Directory(i), DirectoryPart(paths[i])) << i;
    ASSERT_EQ(std::string(list.Directory(i)) + std::string(list.Rest(i)), paths[i]) << i;
  }
}

TEST(PathList, GivesEachPathItsDirectoryAcrossRunsOfEveryLength) {
  // Directories come in runs of 1, 2, 3 and 1,000 paths, and come back after others: every path,
  // the first and last of each run above all, keeps its own directory.
  const std::string sep(1, kPathSeparator);
  const std::vector<std::pair<std::string, std::size_t>> runs = {
      {sep + "a", 1},    {sep + "b", 2}, {sep + "a", 3}, {"", 1},
      {sep + "c", 1000}, {sep + "a", 1}, {sep + "b", 2}};
  PathList list;
  std::vector<std::string> paths;
  for (const auto& [dir, count] : runs) {
    for (std::size_t k = 0; k < count; ++k) {
      paths.push_back((dir.empty() ? std::string() : dir + sep) + "I" + std::to_string(paths.size()) +
                      ".ITM");
      list.Add(paths.back());
    }
  }
  ASSERT_EQ(list.size(), paths.size());
  std::string into;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    list.Get(i, into);
    ASSERT_EQ(into, paths[i]) << i;
    ASSERT_EQ(list.Directory(i), DirectoryPart(paths[i])) << i;
  }
}

TEST(PathList, AFileNameOf255BytesAndARootPath) {
  PathList list;
  const std::string name(255, '\xFC');
  list.Add("/p/" + name);
  list.Add("/x.ITM");
  list.Add("x.ITM");
  EXPECT_EQ(list[0], "/p/" + name);
  EXPECT_EQ(list.Directory(1), "");
  EXPECT_EQ(list[1], "/x.ITM");
  EXPECT_EQ(list[2], "x.ITM");
  EXPECT_FALSE(list.empty());
}

}  // namespace
}  // namespace relicor
