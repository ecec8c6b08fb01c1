#include <gtest/gtest.h>

#include <string>

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

}  // namespace
}  // namespace relicor
