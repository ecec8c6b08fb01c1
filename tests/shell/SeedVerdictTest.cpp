#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "generate/GameData109.h"
#include "generate/SeedCheck.h"
#include "identify/EffectPass.h"
#include "shell/SeedCheck.h"
#include "support/GameItems.h"
#include "support/GeneratedRecord.h"
#include "support/RecordBuilder.h"
#include "support/ReportLines.h"

namespace relicor {
namespace {

using gen::GameMode;
using gen::GenerateItem;

// The limits as the game's data and code give them, never from the verdict's own table.
const int kMonsterLevelMax = *std::max_element(gen::kMonsterLevels.begin(), gen::kMonsterLevels.end());
const int kMonsterLevelMin = *std::min_element(gen::kMonsterLevels.begin(), gen::kMonsterLevels.end());
constexpr int kObjectLevelMax = 2 * gen::kDungeonLevels;  // an object's item: twice the dungeon level
constexpr int kTownShopLevelMin = 6;                      // the town's shops hold the level to 6...
constexpr int kTownShopLevelMax = gen::kDungeonLevels;    // ...and to the deepest dungeon level
constexpr int kPremiumLevelMax = 30;                      // the premium stock holds it to 1-30

// The report's lines for the record: the unique checks and the source and level lines, and with
// `whole` the effect section and the prices too (every part that raises a hack finding).
std::vector<std::string> LinesOfReport(const ItemRecord& item, bool whole = false) {
  ItemReport report;
  EffectPass pass(item, PassOptions{}, report);
  pass.UniqueChecks();
  if (whole) pass.EffectSection();
  pass.SourceAndLevelLines();
  if (whole) pass.FinalPrice();
  return test::LinesOf(report.lines);
}

bool HasRule(const std::vector<std::string>& lines, const std::string& code) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& l) { return l.rfind("*** HACK DETECTED " + code, 0) == 0; });
}

ItemRecord Made(std::int32_t index, std::uint16_t ci, std::int32_t seed,
                GameMode mode = GameMode::kSinglePlayer) {
  const auto result = GenerateItem(index, ci, seed, mode);
  if (!result.item) throw std::runtime_error("no item: " + result.reason);
  return test::GeneratedRecord(*result.item);
}

// Each source's lowest and highest level are genuine and the levels just past them are edits
// naming the creation level; the report's level rule agrees wherever it looks (source byte
// below 4).
TEST(SeedVerdictTest, EachSourceStoresItsOwnLevels) {
  const struct {
    const char* source;
    std::uint16_t flags;
    int low;
    int high;
    std::vector<int> past;
  } cases[] = {
      {"monster drop", cf::kUper1, kMonsterLevelMin, kMonsterLevelMax, {0, kMonsterLevelMax + 1}},
      {"unique monster's drop",
       cf::kUper15 | cf::kOnlyGood,
       kMonsterLevelMin,
       kMonsterLevelMax,
       {0, kMonsterLevelMax + 1}},
      {"object's only-good item",
       cf::kUper1 | cf::kOnlyGood,
       2,
       kObjectLevelMax,
       {1, 3, kObjectLevelMax + 2}},
      {"object's item (any)", cf::kUper1, 2, kObjectLevelMax, {kObjectLevelMax + 1, kObjectLevelMax + 2}},
      {"useful drop", cf::kUseful, 1, gen::kDungeonLevels, {0, gen::kDungeonLevels + 1}},
      {"Griswold",
       cf::kSmith,
       kTownShopLevelMin,
       kTownShopLevelMax,
       {kTownShopLevelMin - 1, kTownShopLevelMax + 1}},
      {"Adria",
       cf::kWitch,
       kTownShopLevelMin,
       kTownShopLevelMax,
       {kTownShopLevelMin - 1, kTownShopLevelMax + 1}},
      {"Pepin",
       cf::kHealer,
       kTownShopLevelMin,
       kTownShopLevelMax,
       {kTownShopLevelMin - 1, kTownShopLevelMax + 1}},
      {"premium", cf::kSmithPremium, 1, kPremiumLevelMax, {0, kPremiumLevelMax + 1}},
      {"Wirt", cf::kBoy, 1, gen::kMaxCharacterLevel, {0, gen::kMaxCharacterLevel + 1}},
  };
  for (const auto& c : cases) {
    for (const int level : {c.low, c.high}) {
      const ItemRecord r = Made(120, static_cast<std::uint16_t>(c.flags | level), 545145866 + level);
      const gen::SeedVerdict v = gen::CheckRecord(r);
      EXPECT_EQ(v.verdict, Verdict::kGenuine) << c.source << " at " << level << ": " << VerdictText(v);
      EXPECT_FALSE(HasRule(LinesOfReport(r), "002")) << c.source << " at " << level;
    }
    for (const int level : c.past) {
      // Made where the game makes it, then moved to the level no source stores.
      ItemRecord r = Made(120, static_cast<std::uint16_t>(c.flags | c.low), 545145866 + level);
      test::RecordEdit(r).u8(offset::kCreateInfo, static_cast<std::uint8_t>((c.flags & 0xC0) | level));
      const gen::SeedVerdict v = gen::CheckRecord(r);
      ASSERT_EQ(v.verdict, Verdict::kEdited) << c.source << " at " << level;
      EXPECT_EQ(v.differences.front().field, "creation level") << c.source << " at " << level;
      EXPECT_EQ(v.differences.front().file, std::to_string(level));
      if (r.Source() < 4) {
        EXPECT_TRUE(HasRule(LinesOfReport(r), "002")) << c.source << " at " << level;
      }
    }
  }
}

TEST(SeedVerdictTest, TheLevelEditNamesWhatTheSourceStores) {
  const ItemRecord r = Made(120, cf::kUper1 | 44, 545145866);
  EXPECT_EQ(VerdictText(gen::CheckRecord(r)),
            "edited: creation level 44 (a monster drop is made at level 1\x96" +
                std::to_string(kMonsterLevelMax) + ", an object's item is made at an even level 2\x96" +
                std::to_string(kObjectLevelMax) + ")");
  EXPECT_TRUE(HasRule(LinesOfReport(r), "002"));
  // Quest uniques and items without a drop flag keep the level their item slot held: no limit.
  const ItemRecord quest = Made(28, cf::kUnique | 63, 7);
  EXPECT_FALSE(HasRule(LinesOfReport(quest), "002"));
  EXPECT_EQ(gen::CheckRecord(quest).verdict, Verdict::kGenuine);
}

// The shareware game plays multiplayer too: Griswold, Adria and Pepin stock there at half the
// character level plus 2, and its shops' choices follow the player count.
TEST(SeedVerdictTest, SharewareMultiplayerShopItemsAreGenuine) {
  int namedAlone = 0;
  for (const std::uint16_t ci : {std::uint16_t(cf::kWitch | 10), std::uint16_t(cf::kHealer | 12),
                                 std::uint16_t(cf::kSmith | 14), std::uint16_t(cf::kSmithPremium | 20)}) {
    for (std::int32_t seed = 1; seed < 4000; seed += 97) {
      const ItemRecord r = Made(1, ci, seed * 7919, GameMode::kSharewareMultiplayer);
      const gen::SeedVerdict v = gen::CheckRecord(r);
      ASSERT_EQ(v.verdict, Verdict::kGenuine) << ci << " " << seed << ": " << VerdictText(v);
      if (v.modes == std::vector<GameMode>{GameMode::kSharewareMultiplayer}) {
        ++namedAlone;
        EXPECT_EQ(VerdictText(v), "genuine (shareware multiplayer)");
      }
    }
  }
  EXPECT_GT(namedAlone, 0);
  // Adria's level 10 is one the shareware single player game never stocks at.
  EXPECT_EQ(GameBit(GameMode::kShareware) & GamesReachingLevel(SourcesOf(cf::kWitch | 10), 10), 0);
}

// The quest uniques come only from single player quests and drops: the verdict names the mode,
// and the report's rule 036 says the same.
TEST(SeedVerdictTest, QuestUniquesAreSinglePlayerItems) {
  int quests = 0;
  for (const test::GameItem& item : test::GameItems()) {
    const ItemRecord r = test::GameItemRecord(item);
    if (r.ReadI32LE(offset::kUseEffect) != gen::misc::kUnique) continue;
    ++quests;
    const gen::SeedVerdict v = gen::CheckRecord(r);
    EXPECT_EQ(VerdictText(v), "genuine (single player)") << item.name;
    EXPECT_TRUE(HasRule(LinesOfReport(r), "036")) << item.name;
  }
  EXPECT_GT(quests, 0);
  // Each quest unique of the game, rebuilt from its index.
  for (std::int32_t uid = 0; uid < 9; ++uid) {
    std::int32_t index = 0;
    while (index < static_cast<std::int32_t>(gen::kGameItemIndexCount) &&
           (gen::kBaseItems[index].uniqueBase != gen::kUniques[uid].uniqueBase ||
            gen::kBaseItems[index].miscId != gen::misc::kUnique))
      ++index;
    ASSERT_LT(index, static_cast<std::int32_t>(gen::kGameItemIndexCount)) << uid;
    const ItemRecord r = Made(index, cf::kUnique | 5, uid);
    EXPECT_EQ(VerdictText(gen::CheckRecord(r)), "genuine (single player)") << uid;
  }
}

}  // namespace
}  // namespace relicor

namespace relicor {
namespace {

// The report's hack findings of the record.
std::vector<std::string> HackFindings(const ItemRecord& item) {
  std::vector<std::string> out;
  for (const std::string& line : LinesOfReport(item, true))
    if (line.rfind("*** HACK DETECTED ", 0) == 0) out.push_back(line);
  return out;
}

// What a genuine verdict must say for the report's finding to stand beside it: the single
// player rule needs the single player mode, the indestructible rule the play state that made
// the item indestructible, and any finding on an item only the shareware game makes the
// shareware game.
bool Explained(const std::string& finding, const gen::SeedVerdict& v) {
  // The shareware game numbers its base items in its own list: the report reads the full game's.
  if (!v.modes.empty() && std::all_of(v.modes.begin(), v.modes.end(), [](GameMode m) {
        return m == GameMode::kShareware || m == GameMode::kSharewareMultiplayer;
      }))
    return true;
  if (finding.find(" 036: ") != std::string::npos)
    return v.modes == std::vector<GameMode>{GameMode::kSinglePlayer};
  if (finding.find(" 001: ") != std::string::npos)
    return std::any_of(v.playState.begin(), v.playState.end(), [](const gen::PlayChange& c) {
      return c.field == "max durability" && c.file == "255";
    });
  return false;
}

TEST(SeedVerdictTest, NoGenuineVerdictBesideAnUnexplainedHackFinding) {
  std::vector<ItemRecord> items;
  for (const test::GameItem& item : test::GameItems()) items.push_back(test::GameItemRecord(item));
  const std::uint16_t sources[] = {cf::kUper1 | 20,
                                   cf::kUper1 | cf::kOnlyGood | 24,
                                   cf::kUper15 | cf::kOnlyGood | 30,
                                   cf::kUper1 | 9,
                                   cf::kUseful | 12,
                                   cf::kSmith | 16,
                                   cf::kSmithPremium | 30,
                                   cf::kBoy | 40,
                                   cf::kWitch | 16,
                                   cf::kHealer | 8,
                                   cf::kUper1 | cf::kPregen | 32};
  for (const GameMode mode :
       {GameMode::kSinglePlayer, GameMode::kMultiplayer, GameMode::kSharewareMultiplayer})
    for (const std::uint16_t ci : sources)
      for (std::int32_t seed = 1; seed < 1200; seed += 41) {
        const auto result = GenerateItem(1 + seed % 150, ci, seed * 104729, mode);
        if (result.item) items.push_back(test::GeneratedRecord(*result.item));
      }
  ASSERT_GT(items.size(), 500u);
  for (const ItemRecord& r : items) {
    const gen::SeedVerdict v = gen::CheckRecord(r);
    if (v.verdict != Verdict::kGenuine) continue;
    for (const std::string& finding : HackFindings(r))
      EXPECT_TRUE(Explained(finding, v)) << r.Name() << ": " << finding << " beside " << VerdictText(v);
  }
}

}  // namespace
}  // namespace relicor
