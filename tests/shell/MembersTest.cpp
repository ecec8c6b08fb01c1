#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "shell/Members.h"
#include "support/TempDir.h"

namespace relicor {
namespace {

using test::TempDir;

using Names = std::vector<std::string>;

TEST(MemberListTest, SortedWithoutCaseFirstOfEqualNamesStays) {
  MemberList list;
  EXPECT_TRUE(list.Add("Bob"));
  EXPECT_TRUE(list.Add("alice"));
  EXPECT_FALSE(list.Add("BOB"));
  EXPECT_TRUE(list.Add("Zed"));
  EXPECT_TRUE(list.Add("carl"));
  EXPECT_FALSE(list.Add("zed"));
  EXPECT_EQ(list.Names(), (Names{"alice", "Bob", "carl", "Zed"}));
  EXPECT_TRUE(list.Contains("ALICE"));
  EXPECT_FALSE(list.Contains("dora"));
}

TEST(MembersFileTest, LoadReadsEveryLineEnd) {
  struct Case {
    std::string text;
    Names names;
  };
  const Case cases[] = {
      {"Bob\r\nalice\r\nBob\r\n", {"alice", "Bob"}},
      {"Bob\nalice\rcarl\r\nDora", {"alice", "Bob", "carl", "Dora"}},
      {"Zed\r\n\r\nann\r\n", {"", "ann", "Zed"}},  // an empty line is a name too
      {" Bob \r\nbob\r\n", {" Bob ", "bob"}},      // blanks are kept
      {"", {}},
  };
  for (const Case& c : cases) {
    TempDir tmp;
    tmp.write("PLAYERS.TXT", c.text);
    MemberList list;
    list.Add("stale");
    LoadMembers(list, tmp.path());
    EXPECT_EQ(list.Names(), c.names) << c.text;
  }
}

TEST(MemberListTest, AddAllKeepsTheFirstOfEqualNamesAsAddDoes) {
  MemberList list;
  list.Add("Bob");
  list.Add("dora");
  list.AddAll({"zed", "ALICE", "bob", "alice", "", "Carl", "Zed", "Dora", "carl"});
  EXPECT_EQ(list.Names(), (Names{"", "ALICE", "Bob", "Carl", "dora", "zed"}));
  // Many names in reverse order come out as one by one.
  Names reverse;
  MemberList oneByOne;
  for (int i = 3000; i > 0; --i) {
    reverse.push_back("Name" + std::to_string(i % 2000));
    oneByOne.Add(reverse.back());
  }
  MemberList atOnce;
  atOnce.AddAll(reverse);
  EXPECT_EQ(atOnce.Names(), oneByOne.Names());
  EXPECT_EQ(atOnce.size(), 2000u);
}

TEST(MembersFileTest, ALinkedOrOversizedListIsNotReadAndSaysWhy) {
  TempDir tmp;
  tmp.write("private.txt", "Secret\r\nNames\r\n");
  tmp.mkdir("pool");
  std::filesystem::create_symlink(tmp.file("private.txt"), tmp.file("pool/PLAYERS.TXT"));
  MemberList list;
  std::string problem;
  LoadMembers(list, tmp.file("pool"), &problem);
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(problem,
            tmp.file("pool/PLAYERS.TXT") + " is a symbolic link: not followed: the member list is not read");
  // A save never copies the linked file's names, nor writes through the link.
  list.Add("Bob");
  EXPECT_FALSE(SaveMembers(list, tmp.file("pool")).ok());
  EXPECT_EQ(tmp.read("private.txt"), "Secret\r\nNames\r\n");

  std::filesystem::remove(tmp.file("pool/PLAYERS.TXT"));
  tmp.write("pool/PLAYERS.TXT", std::string(kMaxMembersFileBytes + 1, 'a'));
  problem.clear();
  LoadMembers(list, tmp.file("pool"), &problem);
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(problem,
            tmp.file("pool/PLAYERS.TXT") + " holds more than 16777216 bytes: the member list is not read");
  tmp.write("pool/PLAYERS.TXT", "Bob\r\n");
  problem.clear();
  LoadMembers(list, tmp.file("pool"), &problem);
  EXPECT_EQ(list.Names(), Names{"Bob"});
  EXPECT_EQ(problem, "");
}

TEST(MembersFileTest, MissingFileGivesAnEmptyList) {
  TempDir tmp;
  MemberList list;
  list.Add("stale");
  LoadMembers(list, tmp.path());
  EXPECT_TRUE(list.empty());
  LoadMembers(list, tmp.file("no-such-dir"));
  EXPECT_TRUE(list.empty());
}

TEST(MembersFileTest, SaveWritesListOrderWithCrLfAndLoadsBack) {
  TempDir tmp;
  tmp.write("PLAYERS.TXT", "old content that is longer than the new one\r\n");
  MemberList list;
  for (const char* name : {"Zed", "alice", "BartholomewTheMagnificent", "Bob"}) list.Add(name);
  ASSERT_TRUE(SaveMembers(list, tmp.path()).ok());
  EXPECT_EQ(tmp.read("PLAYERS.TXT"), "alice\r\nBartholomewTheMagnificent\r\nBob\r\nZed\r\n");
  MemberList again;
  LoadMembers(again, tmp.path());
  EXPECT_EQ(again.Names(), list.Names());

  ASSERT_TRUE(SaveMembers(MemberList{}, tmp.path()).ok());
  EXPECT_EQ(tmp.read("PLAYERS.TXT"), "");
}

TEST(MembersFileTest, FailedSaveNamesTheFile) {
  TempDir tmp;
  tmp.write("afile", "x");
  MemberList list;
  list.Add("Bob");
  const auto saved = SaveMembers(list, tmp.file("afile"));
  ASSERT_FALSE(saved.ok());
  EXPECT_NE(saved.error().find(tmp.file("afile") + "/PLAYERS.TXT"), std::string::npos) << saved.error();
}

TEST(MembersFileTest, AListThatCouldNotBeReadIsNeverReplaced) {
  // PLAYERS.TXT exists but cannot be read (a link that leads back to itself): the list loads empty,
  // and saving must not put the run's names in place of the clan's.
  TempDir tmp;
  const std::string path = tmp.file("PLAYERS.TXT");
  std::filesystem::create_symlink("PLAYERS.TXT", path);
  MemberList list;
  LoadMembers(list, tmp.path());
  EXPECT_TRUE(list.empty());
  list.Add("Bob");
  const auto saved = SaveMembers(list, tmp.path());
  ASSERT_FALSE(saved.ok());
  EXPECT_NE(saved.error().find(path + " is left as it is"), std::string::npos) << saved.error();
  EXPECT_TRUE(std::filesystem::is_symlink(path));
  EXPECT_EQ(std::filesystem::read_symlink(path), "PLAYERS.TXT");

  // A link that leads nowhere holds no names: the list takes its place.
  std::filesystem::remove(path);
  std::filesystem::create_symlink("gone", path);
  ASSERT_TRUE(SaveMembers(list, tmp.path()).ok());
  EXPECT_EQ(tmp.read("PLAYERS.TXT"), "Bob\r\n");
}

TEST(MembersFileTest, WithoutAPoolDirectoryNothingIsReadOrWritten) {
  MemberList list;
  list.Add("stale");
  LoadMembers(list, "");
  EXPECT_TRUE(list.empty());
  list.Add("Bob");
  const auto saved = SaveMembers(list, "");
  ASSERT_FALSE(saved.ok());
  EXPECT_EQ(saved.error(), "No Pool-Directory assigned!");
}

}  // namespace
}  // namespace relicor
