#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "shell/RenameTexts.h"

namespace relicor {
namespace {

const std::string kAsked =
    "This function will autoname all files in \"/p\" and \"/s\" by their item names. Continue?";

RenamePlan PlanOf(std::size_t handled, std::size_t renames,
                  std::vector<std::pair<std::string, std::size_t>> perDirectory) {
  RenamePlan plan;
  plan.handled = handled;
  plan.renames.resize(renames);
  plan.perDirectory = std::move(perDirectory);
  return plan;
}

TEST(RenameQuestion, SaysWhatTheRunIsAboutToDoInEachDirectory) {
  EXPECT_EQ(RenameQuestion("/p", "/s"), kAsked);
  struct Case {
    RenamePlan plan;
    std::string question;
  };
  const Case cases[] = {
      {PlanOf(4, 3, {{"/p", 2}, {"/s", 1}}),
       kAsked + "\n3 of 4 item files will be renamed:\n2 in /p\n1 in /s"},
      {PlanOf(1, 1, {{"/s", 1}}), kAsked + "\n1 of 1 item files will be renamed:\n1 in /s"},
      {PlanOf(7, 0, {}), kAsked + "\nNo file needs a new name (7 item files)."},
      {PlanOf(0, 0, {}), kAsked + "\nNo file needs a new name (0 item files)."},
  };
  for (const Case& c : cases) EXPECT_EQ(RenameQuestion("/p", "/s", c.plan), c.question);
}

TEST(RenameQuestion, ItsFirstPartIsCutTo255CharactersButTheCountsFollowWhole) {
  const std::string pool(300, 'x');
  const std::string asked = RenameQuestion(pool, "/s");
  EXPECT_EQ(asked.size(), 255u);
  EXPECT_EQ(asked, ("This function will autoname all files in \"" + pool).substr(0, 255));
  EXPECT_EQ(RenameQuestion(pool, "/s", PlanOf(2, 1, {{pool, 1}})),
            asked + "\n1 of 2 item files will be renamed:\n1 in " + pool);
}

// The summary of a large run comes in pieces of about 64 KiB that join to the whole text: every
// line whole and once, the failures after the renames, the counts last and without a line end.
TEST(RenameSummary, ComesInPiecesThatJoinToTheWholeText) {
  for (const std::size_t renames : {std::size_t{0}, std::size_t{1}, std::size_t{5000}}) {
    RenameRunResult result;
    result.handled = renames + 4;
    std::string expected;
    for (std::size_t i = 0; i < renames; ++i) {
      const std::string from = "/pool/Old name " + std::to_string(i) + ".ITM";
      const std::string to = "/pool/Sent/New name " + std::to_string(i) + ".ITM";
      result.renamed.Add(from, to);
      expected += "renamed " + from + " -> " + to + "\n";
    }
    result.failed.push_back({"/pool/a.ITM", "/pool/b.ITM", "taken"});
    expected += "failed /pool/a.ITM: taken\n";
    result.logPath = "/pool/RENAME.LOG";
    expected += std::to_string(renames) + " renamed, 3 kept, 1 failed; undo with the log /pool/RENAME.LOG";

    std::vector<std::string> pieces;
    WriteRenameSummary(result, [&pieces](std::string_view piece) { pieces.emplace_back(piece); });
    std::string joined;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
      joined += pieces[k];
      if (k + 1 == pieces.size()) break;
      // Each piece but the last ends with a whole line and holds at least 64 KiB, but not much more.
      EXPECT_GE(pieces[k].size(), std::size_t{64} * 1024) << renames << " piece " << k;
      EXPECT_LT(pieces[k].size(), std::size_t{65} * 1024) << renames << " piece " << k;
      EXPECT_EQ(pieces[k].back(), '\n') << renames << " piece " << k;
    }
    EXPECT_EQ(pieces.size(), renames == 5000 ? expected.size() / (64 * 1024) + 1 : 1) << renames;
    EXPECT_EQ(joined, expected) << renames;
    EXPECT_EQ(RenameSummaryText(result), expected) << renames;
  }
}

}  // namespace
}  // namespace relicor
