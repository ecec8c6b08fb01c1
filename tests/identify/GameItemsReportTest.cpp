// Every real item of the game, built as the game writes it, is judged as the game made it: its
// name is accepted, its price is the game's, no effect is unknown and no rule fires that is not
// true for it.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "generate/GameData109.h"
#include "generate/ItemGenerator.h"
#include "generate/SeedCheck.h"
#include "identify/EffectPass.h"
#include "identify/ItemReport.h"
#include "platform/Clock.h"
#include "pool/ItemCache.h"
#include "support/GameItems.h"
#include "support/GeneratedRecord.h"
#include "support/ReportLines.h"
#include "support/TempDir.h"
#include "text/DateText.h"
#include "validate/Database.h"

namespace relicor {
namespace {

using test::GameItem;
using test::GameItems;
using Lines = std::vector<std::string>;

struct Judged {
  Lines lines;
  Lines debug;
};

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.rfind(prefix, 0) == 0;
}

class GameItemsReportTest : public ::testing::Test {
 protected:
  // The report of the item with additional information on, as the keeper runs it.
  Judged Judge(const GameItem& item) {
    ItemCache cache{clock};
    Database database{dir.file("IDENT.ID")};
    ReportOptions options;
    options.additionalInfo = true;
    options.today = clock.Now();
    options.directory = dir.path();
    const std::string path =
        dir.write("ITEM" + std::to_string(count++) + ".ITM", test::GameItemRecord(item).view());
    const auto loaded = cache.LoadItem(path);
    EXPECT_TRUE(loaded.ok() && *loaded == LoadStatus::kLoaded);
    if (!loaded.ok() || cache.CurrentEntry() == nullptr) return {};
    const ItemReport report = BuildReport(*cache.CurrentEntry(), options, database);
    return {test::LinesOf(report.lines), test::LinesOf(report.debugLines)};
  }

  test::TempDir dir;
  FixedClock clock{EncodeDateTime(CivilDateTime{2026, 12, 6, 12, 0, 0, 0})};
  int count = 0;
};

// The findings that are true for a real item: the quest uniques are single player items, and the
// 1.09 game makes no item above level 32 (twice the deepest dungeon level; monsters give at most
// 30), so a dungeon item above it was not made by that game.
Lines TrueFindings(const GameItem& item) {
  Lines findings;
  if (item.quality == 2 && item.uniqueId <= 8) {
    findings.push_back("*** HACK DETECTED 036: THIS IS A SINGLE PLAYER ITEM");
  }
  const int level = item.createInfo & 0x3F;
  if ((item.createInfo >> 8) < 4 && level > 32) {
    findings.push_back("*** HACK DETECTED 002: SOURCE HACK CODE " + std::to_string(level));
  }
  return findings;
}

TEST_F(GameItemsReportTest, EveryRealItemIsJudgedAsTheGameMadeIt) {
  for (const GameItem& item : GameItems()) {
    SCOPED_TRACE(item.name);
    const Judged judged = Judge(item);
    // Name and price are accepted: the debug log gets neither a NAME nor a PRICE line.
    EXPECT_EQ(judged.debug, Lines{});
    Lines findings;
    std::string price;
    for (const std::string& line : judged.lines) {
      EXPECT_EQ(line.find("unknown"), std::string::npos) << line;
      if (StartsWith(line, "***")) findings.push_back(line);
      if (StartsWith(line, "calc. price ")) price = line;
    }
    EXPECT_EQ(findings, TrueFindings(item));
    if (item.quality != 2) {
      EXPECT_EQ(price,
                "calc. price " + std::to_string(item.value) + " / " + std::to_string(3 * item.value / 2));
    }
  }
}

// The items the 1.09 generator makes from a spread of seeds, levels and sources (dungeon, the
// "only good" and unique-chance drops, every shop), in single player and multiplayer: each
// non-unique one gets the game's price and name (no PRICE or NAME debug line) and no finding, but
// for the shops' own limit: a seed whose item is dearer than Griswold's premium or Wirt's stock
// allows is one the shop threw away, so the item is not theirs.
TEST(GeneratedItemsReportTest, PricedAndNamedAsTheGameDid) {
  const std::uint16_t sources[] = {0, 0x40, 0x80, 0x100, 0x400, 0x800, 0x1000, 0x2000, 0x4000};
  int judged = 0;
  for (const gen::GameMode mode : {gen::GameMode::kSinglePlayer, gen::GameMode::kMultiplayer}) {
    for (int base = 1; base < static_cast<int>(gen::kGameItemIndexCount); ++base) {
      for (const std::uint16_t source : sources) {
        for (int level = 1; level <= 30; level += 6) {
          const std::int32_t seed = base * 1000003 + level * 7919 + source;
          const auto made = gen::GenerateItem(base, static_cast<std::uint16_t>(level | source), seed, mode);
          if (!made.item || made.item->magical == 2 ||
              gen::kBaseItems[static_cast<std::size_t>(made.item->baseIndex)].drop == 0) {
            continue;
          }
          const gen::GeneratedItem& item = *made.item;
          SCOPED_TRACE(item.identifiedName + " seed " + std::to_string(seed));
          const ItemRecord record = test::GeneratedRecord(item);
          ItemReport report;
          EffectPass pass(record, PassOptions{false, true, false}, report);
          pass.UniqueChecks();
          pass.EffectSection();
          pass.SourceAndLevelLines();
          pass.FinalPrice();
          pass.NameCheck();
          Lines findings;
          std::string price;
          for (const std::string_view line : report.lines) {
            if (StartsWith(line, "***")) findings.emplace_back(line);
            if (StartsWith(line, "calc. price ")) price = line;
          }
          const std::int32_t wirt = 3 * item.price / 2;
          Lines expected;
          if ((source == 0x800 && item.price > kVendorPriceLimit) ||
              (source == 0x1000 && wirt > kVendorPriceLimit)) {
            expected.push_back("*** HACK DETECTED 043: ITEM EXCEEDS PRICE LIMIT");
          }
          EXPECT_EQ(price, "calc. price " + std::to_string(item.price) + " / " + std::to_string(wirt));
          EXPECT_EQ(test::LinesOf(report.debugLines), Lines{});
          EXPECT_EQ(findings, expected);
          ++judged;
        }
      }
    }
  }
  EXPECT_GT(judged, 5000);
}

// A durability suffix that lifts the durability to exactly 255 makes the item indestructible in
// the game: the 1.09 Full Plate Mail of structure from this seed (90 + 184 % = 255) is no hack.
// Without the suffix's power the same durability still is.
TEST(GeneratedItemsReportTest, DurabilitySuffixReachingIndestructibleIsNoHack) {
  const auto made = gen::GenerateItem(69, 0x115, 69271491, gen::GameMode::kSinglePlayer);
  ASSERT_TRUE(made.item);
  ASSERT_EQ(made.item->maxDurability, 255);
  ASSERT_EQ(made.item->identifiedName, "Plate of structure");
  const auto findings = [](const ItemRecord& record) {
    ItemReport report;
    EffectPass pass(record, PassOptions{}, report);
    pass.EffectSection();
    Lines lines;
    for (const std::string_view line : report.lines) {
      if (StartsWith(line, "***") || line == "Indestructible") lines.emplace_back(line);
    }
    return lines;
  };
  ItemRecord record = test::GeneratedRecord(*made.item);
  EXPECT_EQ(findings(record), Lines{"Indestructible"});
  test::RecordEdit(record).u8(offset::kSuffixPower, 0xFF);
  EXPECT_EQ(findings(record),
            (Lines{"Indestructible",
                   "*** HACK DETECTED 001: INDESTRUCTIBLE - MAY BE LEGIT IF SELF DONE IN GAME "}));
}

// The items whose names resolved right before the tables followed the game resolve to the same
// names now (index in the set, resolved name).
TEST_F(GameItemsReportTest, ResolutionKeepsTheNamesThatWereRight) {
  const std::vector<std::pair<int, std::string>> names = {
      {0, "AMBER HELM OF HARMONY"},
      {1, "COBALT AMULET OF GIANTS"},
      {2, "BRUTAL SWORD OF GORE"},
      {3, "DEMONSPIKE COAT"},
      {4, "STEEL RING OF THE JAGUAR"},
      {5, "RING OF THE HEAVENS"},
      {6, "RING OF SORCERY"},
      {7, "SHIELD OF THE AGES"},
      {8, "SAPPHIRE SHIELD"},
      {16, "JADE HELM OF THE WOLF"},
      {17, "STEEL RING OF ACCURACY"},
      {19, "RING OF POWER"},
      {20, "GOLD AMULET OF ACCURACY"},
      {21, "SWORD OF THE BAT"},
      {22, "SHIELD"},
      {23, "PLATE OF GIANTS"},
      {28, "SAVAGE BOW OF PERFECTION"},
      {29, "SWORD"},
      {30, "SWORD OF VIM"},
      {31, "FROG'S STAFF OF HOLY BOLT"},
      {33, "STAFF OF CHARGED BOLT"},
      {34, "CAP OF THE MIND"},
      {35, "ARMOR OF PROTECTION"},
      {36, "EMPYREAN BAND"},
      {37, "OPTIC AMULET"},
      {38, "RING OF TRUTH"},
      {39, "HARLEQUIN CREST"},
      {40, "VEIL OF STEEL"},
      {41, "ARKAINE'S VALOR"},
      {42, "GRISWOLD'S EDGE"},
      {43, "STAFF OF HASTE"},
      {44, "WHITE STAFF OF LIGHTNING"},
      {45, "LIGHTNING MAUL"},
      {46, "IVORY AXE OF BLOOD"},
      {47, "JADE CROWN OF VIM"},
      {48, "BOW OF ATROPHY"},
      {49, "BRASS DAGGER OF WEAKNESS"},
      {50, "CLUMSY BOW"},
      {52, "CLUB OF PARALYSIS"},
      {53, "DULL STAFF OF LIGHTNING"},
      {54, "SWORD OF SPEED"},
      {55, "BENT SWORD"},
      {56, "PLENTIFUL STAFF OF FIREBOLT"},
      {57, "DAGGER OF ILLNESS"},
      {58, "CAPE OF CORRUPTION"},
      {59, "SABRE OF TROUBLE"},
      {60, "CAP OF TEARS"},
      {61, "TIN CLUB"},
      {62, "RUSTED CAPE OF DYSLEXIA"},
      {63, "CAP OF PAIN"},
      {65, "VULNERABLE CAP OF HEALTH"},
      {66, "USELESS DAGGER"},
      {68, "MACE OF FRAILTY"},
      {69, "WEAK BOW"},
      {70, "STAFF OF READINESS"},
      {76, "THE RIFT BOW"},
      {77, "THE GRANDFATHER"},
      {78, "SHIELD OF THORNS"},
      {79, "NAJ'S LIGHT PLATE"},
      {80, "CONSTRICTING RING"},
      {81, "GOTTERDAMERUNG"},
      {82, "KING'S SWORD"},
      {83, "CHAMPION'S CLUB OF GORE"},
      {84, "MASTER'S FLAIL"},
      {85, "KNIGHT'S SWORD"},
      {86, "LORD'S SWORD OF PRECISION"},
      {87, "SOLDIER'S SWORD OF VIGOR"},
      {88, "FINE BOW OF THE PIT"},
      {89, "SHARP SWORD OF ATROPHY"},
      {90, "EMERALD BOW OF BURNING"},
      {91, "STAFF OF FIREBOLT"},
  };
  const auto items = GameItems();
  for (const auto& [index, resolved] : names) {
    SCOPED_TRACE(items[static_cast<std::size_t>(index)].name);
    const Judged judged = Judge(items[static_cast<std::size_t>(index)]);
    EXPECT_NE(std::find(judged.lines.begin(), judged.lines.end(), "name resolve [" + resolved + "]"),
              judged.lines.end());
  }
}

}  // namespace
}  // namespace relicor
