#include <gtest/gtest.h>

#include <stdexcept>
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

TEST(PathList, NamesEndingInDigitsComeBackWithEveryDigitAndLeadingZero) {
  // Names whose stem ends in digits are kept as a shared pattern and their last four digits: the
  // digits before those, leading zeros, a number of one to nine digits, an extension of other
  // letters or none, a name that is all digits, digits only in the extension, and a hidden name.
  const std::string sep(1, kPathSeparator);
  const std::vector<std::string> names = {"Ring0012.ITM",
                                          "Ring0012.itm",
                                          "Ring12.ITM",
                                          "Ring0000.ITM",
                                          "I0000000.ITM",
                                          "I0012345.IT0",
                                          "Ring9999.ITM",
                                          "Ring10000.ITM",
                                          "Ring123456789.ITM",
                                          "7.ITM",
                                          "0000",
                                          "Ring0012",
                                          "Ring.IT0",
                                          ".5",
                                          "a.b1.ITM",
                                          "x1.y2",
                                          "Ring 0012 .ITM",
                                          "\xE4\x30\x30\x34\x32.ITM"};
  PathList list;
  std::vector<std::string> paths;
  for (const std::string& dir : {sep + "pool", std::string()}) {
    for (const std::string& name : names) {
      std::string path = dir;
      if (!dir.empty()) path += sep;
      path += name;
      paths.push_back(path);
      list.Add(paths.back());
    }
  }
  ASSERT_EQ(list.size(), paths.size());
  std::string into = "left over";
  for (std::size_t i = 0; i < paths.size(); ++i) {
    list.Get(i, into);
    ASSERT_EQ(into, paths[i]) << i;
    ASSERT_EQ(std::string(list.Directory(i)) + list.Rest(i), paths[i]) << i;
    std::string appended = "x";
    list.AppendTo(i, appended);
    ASSERT_EQ(appended, "x" + paths[i]) << i;
  }
}

TEST(PathList, NamesThatShareNoPatternStillComeBackWhole) {
  // Every name its own pattern (the text before the digits differs each time), more of them than
  // the list makes patterns for, mixed with names of one pattern: each comes back whole.
  PathList list;
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < 40000; ++i) {
    std::string path = "/pool/";
    if (i % 3 == 0) {
      path += "Ring";
      path += std::to_string(i);
    } else {
      path += "Item";
      path += std::to_string(i);
      path += 'x';
      path += std::to_string(i % 10);
    }
    path += ".ITM";
    paths.push_back(path);
    list.Add(path);
  }
  std::string into;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    list.Get(i, into);
    ASSERT_EQ(into, paths[i]) << i;
  }
}

TEST(PathList, ARefusedNameLeavesTheListAsItWas) {
  // A name of 64 KiB is refused whether or not it ends in digits, as is one holding a NUL; the
  // list keeps its paths and takes the next one.
  PathList list;
  list.Add("/pool/Ring0001.ITM");
  EXPECT_THROW(list.Add("/pool/" + std::string(TextList::kBlockBytes, 'x') + "0001.ITM"), std::length_error);
  EXPECT_THROW(list.Add("/pool/" + std::string(TextList::kBlockBytes, 'x')), std::length_error);
  EXPECT_THROW(list.Add(std::string("/sent/Ri\0ng0002.ITM", 19)), std::length_error);
  list.Add("/sent/Ring0002.ITM");
  ASSERT_EQ(list.size(), 2U);
  EXPECT_EQ(list[0], "/pool/Ring0001.ITM");
  EXPECT_EQ(list[1], "/sent/Ring0002.ITM");
  EXPECT_EQ(list.Directory(1), "/sent");
}

}  // namespace
}  // namespace relicor
