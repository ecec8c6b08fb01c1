#include <gtest/gtest.h>

#include <filesystem>

#include "shell/ItemImport.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"

namespace relicor {
namespace {

using test::RecordBuilder;
using test::TempDir;
using Outcome = ItemImport::Outcome;

TEST(ItemImportTest, CopiesItemFilesAndNeverReplaces) {
  TempDir dir;
  const std::string pool = dir.mkdir("POOL");
  const std::string sword = RecordBuilder().itemClass(1).name("Short Sword").bytes();
  const std::string bow = RecordBuilder().itemClass(3).name("Long Bow").bytes();
  const std::string kept = RecordBuilder().itemClass(2).name("Kept").bytes();
  dir.write("POOL/TAKEN.ITM", kept);
  dir.write("POOL/HERE.ITM", sword);

  const std::vector<std::string> sources{
      dir.write("in/NEW.ITM", sword),     dir.write("in/lower.itm", bow),  dir.write("in/TAKEN.ITM", bow),
      dir.write("in/notes.txt", "hello"), dir.mkdir("in/SUB.ITM"),         dir.file("in/GONE.ITM"),
      dir.file("POOL/HERE.ITM"),          dir.write("other/NEW.ITM", bow),  // the same name a second time
  };
  const ItemImport result = CopyItemFilesInto(sources, pool);

  struct Expected {
    std::string name;
    Outcome outcome;
  };
  const Expected expected[] = {
      {"NEW.ITM", Outcome::kCopied},      {"lower.itm", Outcome::kCopied},
      {"TAKEN.ITM", Outcome::kExists},    {"notes.txt", Outcome::kNotItemFile},
      {"SUB.ITM", Outcome::kNotItemFile}, {"GONE.ITM", Outcome::kNotItemFile},
      {"HERE.ITM", Outcome::kSameFile},   {"NEW.ITM", Outcome::kExists},
  };
  ASSERT_EQ(result.entries.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(result.entries[i].source, sources[i]);
    EXPECT_EQ(result.entries[i].name, expected[i].name);
    EXPECT_EQ(result.entries[i].outcome, expected[i].outcome);
  }
  EXPECT_EQ(result.Count(Outcome::kCopied), 2);
  EXPECT_EQ(result.Count(Outcome::kExists), 2);

  EXPECT_EQ(dir.read("POOL/NEW.ITM"), sword);  // the first of the two, not the later bow
  EXPECT_EQ(dir.read("POOL/lower.itm"), bow);
  EXPECT_EQ(dir.read("POOL/TAKEN.ITM"), kept);
  EXPECT_EQ(dir.read("POOL/HERE.ITM"), sword);
  EXPECT_FALSE(std::filesystem::exists(dir.file("POOL/notes.txt")));
  // No temporary file is left beside the copies.
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(pool)) ++files;
  EXPECT_EQ(files, 4);
}

TEST(ItemImportTest, UnwritableDirectoryFailsNamingTheFile) {
  TempDir dir;
  const std::string source = dir.write("in/A.ITM", RecordBuilder().bytes());
  const ItemImport result = CopyItemFilesInto({source}, dir.file("missing"));
  ASSERT_EQ(result.entries.size(), 1U);
  EXPECT_EQ(result.entries[0].outcome, Outcome::kFailed);
  EXPECT_NE(result.entries[0].error.find("A.ITM"), std::string::npos) << result.entries[0].error;
}

}  // namespace
}  // namespace relicor
