#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <set>
#include <string>

#include "platform/FaultInjection.h"
#include "platform/FileSet.h"
#include "support/TempDir.h"

namespace relicor {
namespace {

using test::FileNames;
using test::TempDir;

TEST(FileSetJournal, OnlyAWholeJournalOfOneDirectorysOwnFilesIsRead) {
  const std::string pid = std::to_string(::getpid());
  const std::vector<FileSetEntry> entries = {{"itm1Sword.htm", "itm1Sword.htm.tmp-" + pid + "-000001"},
                                             {"itmip.css", "itmip.css.tmp-" + pid + "-123456"}};
  const std::string text = FileSetJournalText(entries);
  EXPECT_EQ(text, "RELICOR FILE SET 1\r\nitm1Sword.htm\titm1Sword.htm.tmp-" + pid +
                      "-000001\r\nitmip.css\titmip.css.tmp-" + pid + "-123456\r\nEND\r\n");
  const auto parsed = ParseFileSetJournal(text);
  ASSERT_TRUE(parsed);
  ASSERT_EQ(parsed->size(), 2u);
  EXPECT_EQ((*parsed)[1].temporary, entries[1].temporary);

  const std::string line = "a.htm\ta.htm.tmp-" + pid + "-000001\r\n";
  const std::string refused[] = {
      "",
      "RELICOR FILE SET 1\r\n" + line,                                               // no end: torn
      "RELICOR FILE SET 1\r\n" + line + "END",                                       // no line end
      "RELICOR FILE SET 2\r\n" + line + "END\r\n",                                   // another header
      "RELICOR FILE SET 1\r\n" + line + line + "END\r\n",                            // a file twice
      "RELICOR FILE SET 1\r\na.htm a.htm.tmp-" + pid + "-1\r\nEND\r\n",              // no tab
      "RELICOR FILE SET 1\r\n../a.htm\t../a.htm.tmp-" + pid + "-000001\r\nEND\r\n",  // elsewhere
      "RELICOR FILE SET 1\r\n/x/notes.txt\t/x/notes.txt.tmp-" + pid + "-000001\r\nEND\r\n",
      "RELICOR FILE SET 1\r\na.htm\tnotes.txt\r\nEND\r\n",  // not a temporary file of a.htm
      "RELICOR FILE SET 1\r\na.htm\tb.htm.tmp-" + pid + "-000001\r\nEND\r\n",
      "RELICOR FILE SET 1\r\n..\t...tmp-" + pid + "-000001\r\nEND\r\n",
  };
  for (const std::string& bad : refused) EXPECT_FALSE(ParseFileSetJournal(bad)) << bad;
  EXPECT_TRUE(ParseFileSetJournal("RELICOR FILE SET 1\r\nEND\r\n"));
}

class FileSetTest : public ::testing::Test {
 protected:
  void TearDown() override { faults::Clear(); }

  // Writes the set {a.htm, b.htm, c.css} with contents "<tag> a" and so on.
  Status Publish(const std::string& tag) {
    FileSetWriter set(dir.path());
    for (const char* name : {"a.htm", "b.htm", "c.css"}) {
      if (auto added = set.AddFile(dir.file(name), tag + " " + name); !added) return added;
    }
    return set.Commit();
  }
  // The tag all three files carry, or "mixed".
  std::string Tag() const {
    std::set<std::string> tags;
    for (const char* name : {"a.htm", "b.htm", "c.css"}) {
      const std::string text = dir.read(name);
      tags.insert(text.substr(0, text.find(' ')));
    }
    return tags.size() == 1 ? *tags.begin() : "mixed";
  }

  TempDir dir;
};

TEST_F(FileSetTest, ASetArrivesWholeAndLeavesNothingElse) {
  ASSERT_TRUE(Publish("old").ok());
  EXPECT_EQ(Tag(), "old");
  ASSERT_TRUE(Publish("new").ok());
  EXPECT_EQ(Tag(), "new");
  EXPECT_EQ(dir.read("b.htm"), "new b.htm");
  EXPECT_EQ(FileNames(dir.path()), (std::set<std::string>{"a.htm", "b.htm", "c.css"}));
  auto finished = FinishFileSet(dir.path());
  ASSERT_TRUE(finished);
  EXPECT_TRUE(finished->empty());
}

TEST_F(FileSetTest, AFailureAtAnyStepLeavesOneWholeSetOnceFinished) {
  ASSERT_TRUE(Publish("old").ok());
  // Every open, write, flush, rename and removal of a publish fails in turn.
  for (const faults::FileOp op : {faults::FileOp::kOpen, faults::FileOp::kWrite, faults::FileOp::kFsync,
                                  faults::FileOp::kRename, faults::FileOp::kUnlink}) {
    for (int skip = 0; skip < 8; ++skip) {
      faults::Clear();
      faults::Inject({op, EIO, "", skip, 1});
      const Status published = Publish("new");
      faults::Clear();
      const bool journalLeft = std::filesystem::exists(dir.file(std::string(kFileSetJournalName)));
      // Before its journal stands a failed set is gone; after it, the next command finishes it.
      auto finished = FinishFileSet(dir.path());
      ASSERT_TRUE(finished) << finished.error();
      EXPECT_EQ(finished->size(), journalLeft ? 1u : 0u);
      const std::string tag = Tag();
      EXPECT_TRUE(published ? tag == "new" : tag == "old" || tag == "new")
          << "op " << static_cast<int>(op) << " skip " << skip << ": " << tag;
      EXPECT_EQ(FileNames(dir.path()), (std::set<std::string>{"a.htm", "b.htm", "c.css"}))
          << "op " << static_cast<int>(op) << " skip " << skip;
      ASSERT_TRUE(Publish("old").ok());
    }
  }
}

TEST_F(FileSetTest, AJournalNamingAnythingElseIsRefusedAndKept) {
  dir.write("notes.txt", "mine");
  const std::string journal = dir.write(std::string(kFileSetJournalName),
                                        "RELICOR FILE SET 1\r\nnotes.txt\tnotes.txt.tmp-1-000001\r\n");
  auto finished = FinishFileSet(dir.path());
  ASSERT_FALSE(finished);
  EXPECT_EQ(finished.error(), journal +
                                  " is not a whole journal of published files; remove it to go on (the files "
                                  "it names may then be a mix of two runs)");
  EXPECT_EQ(dir.read("notes.txt"), "mine");
  EXPECT_TRUE(std::filesystem::exists(journal));
  // A journal that is a link is not followed.
  std::filesystem::remove(journal);
  dir.write("elsewhere.txt", FileSetJournalText({}));
  std::filesystem::create_symlink(dir.file("elsewhere.txt"), journal);
  finished = FinishFileSet(dir.path());
  ASSERT_FALSE(finished);
  EXPECT_EQ(finished.error().rfind(journal + " is a symbolic link: not followed", 0), 0u) << finished.error();
}

TEST_F(FileSetTest, StaleTemporaryFilesOfAJournaledSetStayUntilItIsFinished) {
  dir.write("a.htm", "old a.htm");
  // A set journaled by a process that is gone: its temporary file is the journal's, not a leftover.
  const std::string temporary = "a.htm.tmp-999999999-000001";
  dir.write(temporary, "new a.htm");
  dir.write(std::string(kFileSetJournalName), FileSetJournalText({{"a.htm", temporary}}));
  EXPECT_TRUE(RemoveStaleTemporaryFiles(dir.path(), {temporary}).empty());
  ASSERT_TRUE(FinishFileSet(dir.path()));
  EXPECT_EQ(dir.read("a.htm"), "new a.htm");
  EXPECT_EQ(FileNames(dir.path()), std::set<std::string>{"a.htm"});
}

}  // namespace
}  // namespace relicor
