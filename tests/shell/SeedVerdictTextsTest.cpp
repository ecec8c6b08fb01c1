// The seed verdict decides between a game's rebuilds on counts and puts only the chosen one into
// words, and rebuilds another base item only where the file's type, class and use allow it: these
// tests hold it to the verdicts it gave while it compared every rebuild in words.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "generate/GameData109.h"
#include "generate/ItemGenerator.h"
#include "item/CreationSources.h"
#include "shell/SeedCheck.h"
#include "support/GameItems.h"
#include "support/GeneratedRecord.h"

namespace relicor {
namespace {

using gen::GameMode;

// Each source's flags, at the levels it stores (a random level of 1 to 63 where none is kept).
struct Source {
  const char* what;
  std::uint16_t flags;
};
constexpr Source kSources[] = {
    {"monster drop", 0},
    {"unique monster drop", cf::kUper15 | cf::kOnlyGood},
    {"object's item", cf::kUper1},
    {"useful drop", cf::kUseful},
    {"unique", cf::kUnique},
    {"placed at level build", cf::kPregen},
    {"Griswold", cf::kSmith},
    {"Griswold premium", cf::kSmithPremium},
    {"Wirt", cf::kBoy},
    {"Adria", cf::kWitch},
    {"Pepin", cf::kHealer},
};
constexpr GameMode kModes[] = {GameMode::kSinglePlayer, GameMode::kMultiplayer, GameMode::kShareware,
                               GameMode::kSharewareMultiplayer};

struct Random {
  std::uint32_t state;
  std::uint32_t Next() {
    state = state * 1103515245u + 12345u;
    return state >> 1;
  }
};

// A genuine record of `source` made in `mode` at a level some game's source stores, or nothing
// when the generator makes no item of these inputs.
std::optional<ItemRecord> GenuineRecord(const Source& source, GameMode mode, Random& random) {
  const int level = 1 + static_cast<int>(random.Next() % 63);
  const auto ci = static_cast<std::uint16_t>(source.flags | level);
  if (!(GamesReachingLevel(SourcesOf(ci), level) & gen::GameBit(mode))) return std::nullopt;
  const auto seed = static_cast<std::int32_t>(random.Next());
  const auto index = static_cast<std::int32_t>(random.Next() % gen::kGameItemIndexCount);
  if (index == gen::idi::kGold || index == gen::idi::kEar) return std::nullopt;
  const gen::GenerateResult result = gen::GenerateItem(index, ci, seed, mode);
  if (!result.item) return std::nullopt;
  return test::GeneratedRecord(*result.item);
}

TEST(SeedVerdictTextsTest, EveryGeneratedItemOfEverySourceIsGenuine) {
  Random random{20261209u};
  for (const Source& source : kSources) {
    for (const GameMode mode : kModes) {
      int genuine = 0;
      for (int attempt = 0; attempt < 400 && genuine < 60; ++attempt) {
        const std::optional<ItemRecord> record = GenuineRecord(source, mode, random);
        if (!record) continue;
        const SeedVerdict v = CheckItem(*record);
        ASSERT_EQ(v.verdict, Verdict::kGenuine)
            << source.what << " in " << gen::GameModeName(mode) << ": " << VerdictText(v);
        EXPECT_TRUE(v.playState.empty()) << source.what << ": " << VerdictText(v);
        ++genuine;
      }
      EXPECT_GT(genuine, 0) << source.what << " in " << gen::GameModeName(mode);
    }
  }
}

void SetI32(ItemRecord& r, std::size_t at, std::int32_t v) {
  for (std::size_t b = 0; b < 4; ++b)
    r.bytes()[at + b] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * b));
}

// The hand edits: each leaves one kind of trace.
struct Edit {
  const char* what;
  std::function<void(ItemRecord&)> apply;
};
const std::vector<Edit>& Edits() {
  static const std::vector<Edit> edits{
      {"price one more", [](ItemRecord& r) { SetI32(r, offset::kPrice, r.ReadI32LE(offset::kPrice) + 1); }},
      {"strength and price",
       [](ItemRecord& r) {
         SetI32(r, offset::kAddStrength, r.ReadI32LE(offset::kAddStrength) + 5);
         SetI32(r, offset::kPrice, r.ReadI32LE(offset::kPrice) * 2);
       }},
      {"level no source stores",
       [](ItemRecord& r) {
         r.bytes()[offset::kCreateInfo] = static_cast<std::uint8_t>(r.bytes()[offset::kCreateInfo] | 0x3F);
       }},
      {"seed one more", [](ItemRecord& r) { SetI32(r, offset::kIdent, r.ReadI32LE(offset::kIdent) + 1); }},
      {"base item one more",
       [](ItemRecord& r) { SetI32(r, offset::kBaseItem, r.ReadI32LE(offset::kBaseItem) + 1); }},
      {"maximum durability 25 more",
       [](ItemRecord& r) { SetI32(r, offset::kMaxDurability, r.ReadI32LE(offset::kMaxDurability) + 25); }},
  };
  return edits;
}

// What the verdict said of these edits to the first genuine item of each source in single player
// and in the shareware game, when every rebuild was compared in words.
// clang-format off
const std::vector<std::string> kVerdictTexts{
    "monster drop, price one more: edited: price file 151, game 150",
    "monster drop, strength and price: edited: price file 300, game 150; strength file 5, game 0",
    "monster drop, level no source stores: genuine",
    "monster drop, seed one more: genuine",
    "monster drop, base item one more: edited: plain name file \"Potion of Full Healing\", game \"Potion of Full Mana\"; graphic file 35, game 0; use effect file 2, game 7; name file \"Potion of Full Healing\", game \"Potion of Full Mana\"",
    "monster drop, maximum durability 25 more: edited: max durability file 25, game 0",
    "monster drop, price one more: edited: price file 1801, game 1800 (shareware single player)",
    "monster drop, strength and price: edited: price file 3600, game 1800; strength file 5, game 0 (shareware single player)",
    "monster drop, level no source stores: genuine (shareware single player or shareware multiplayer)",
    "monster drop, seed one more: edited: seed file 424769729, game a seed that gives these fields; quality file 0, game 1; price file 1800, game 19094; damage file 0, game 11; suffix power file -1, game 61; price part add 1 file 0, game 4694; price part mult 1 file 0, game 8; name file \"Two-Handed Sword\", game \"Sword of gore\" (shareware single player)",
    "monster drop, base item one more: edited: base item file 109, game 108 (shareware single player)",
    "monster drop, maximum durability 25 more: genuine (shareware single player or shareware multiplayer; play state: maximum durability +25, at least 3 Hidden shrines)",
    "unique monster drop, price one more: edited: price file 27201, game 27200",
    "unique monster drop, strength and price: edited: price file 54400, game 27200; strength file 5, game 0",
    "unique monster drop, level no source stores: edited: creation level 63 (a unique monster's drop is made at level 1\x96" "30); seed file 1205095741, game a seed that gives these fields; price file 27200, game 85909; effect bits file 4194304, game 0; hit points file 0, game 4288; suffix power file 59, game 31; price part add 1 file 4000, game 16309; price part mult 1 file 4, game 12; name file \"Plate of stability\", game \"Plate of the mammoth\"",
    "unique monster drop, seed one more: edited: seed file 1205095742, game a seed that gives these fields; price file 27200, game 48200; armor file 43, game 45; effect bits file 4194304, game 0; vitality file 0, game 13; fire resistance file 0, game 15; lightning resistance file 0, game 15; magic resistance file 0, game 15; prefix power file -1, game 11; suffix power file 59, game 25; price part add 1 file 4000, game 5000; price part mult 1 file 4, game 3; price part add 2 file 0, game 2600; price part mult 2 file 0, game 4; name file \"Plate of stability\", game \"Topaz Plate of vim\"",
    "unique monster drop, base item one more: edited: base item file 69, game 68",
    "unique monster drop, maximum durability 25 more: genuine (play state: maximum durability +25, at least 3 Hidden shrines)",
    "unique monster drop, price one more: edited: price file 151, game 150 (shareware single player)",
    "unique monster drop, strength and price: edited: price file 300, game 150; strength file 5, game 0 (shareware single player)",
    "unique monster drop, level no source stores: edited: creation level 63 (a unique monster's drop is made at level 1\x96" "30)",
    "unique monster drop, seed one more: genuine (shareware single player or shareware multiplayer)",
    "unique monster drop, base item one more: edited: base item file 80, game 88",
    "unique monster drop, maximum durability 25 more: edited: max durability file 25, game 0 (shareware single player)",
    "object's item, price one more: edited: price file 31, game 30",
    "object's item, strength and price: edited: price file 60, game 30; strength file 5, game 0",
    "object's item, level no source stores: edited: creation level 63 (a monster drop is made at level 1\x96" "30, an object's item is made at an even level 2\x96" "32); seed file 1386292884, game a seed that gives these fields; quality file 0, game 1; price file 30, game 750; max durability file 16, game 255; suffix power file -1, game 37; price part add 1 file 0, game 600; price part mult 1 file 0, game 5; name file \"Buckler\", game \"Shield of the ages\"",
    "object's item, seed one more: edited: seed file 1386292885, game a seed that gives these fields; quality file 0, game 1; price file 30, game 5070; armor file 3, game 4; hit points file 0, game 2176; suffix power file -1, game 31; price part add 1 file 0, game 4860; price part mult 1 file 0, game 7; name file \"Buckler\", game \"Shield of the wolf\"",
    "object's item, base item one more: edited: base item file 72, game 71",
    "object's item, maximum durability 25 more: genuine (play state: maximum durability +25, at least 3 Hidden shrines)",
    "object's item, price one more: edited: price file 61, game 60 (shareware single player)",
    "object's item, strength and price: edited: price file 120, game 60; strength file 5, game 0 (shareware single player)",
    "object's item, level no source stores: edited: creation level 63 (a monster drop is made at level 1\x96" "30, an object's item is made at an even level 2\x96" "32)",
    "object's item, seed one more: genuine (shareware single player or shareware multiplayer)",
    "object's item, base item one more: edited: base item file 99, game 98 (shareware single player)",
    "object's item, maximum durability 25 more: genuine (shareware single player or shareware multiplayer; play state: maximum durability +25, at least 3 Hidden shrines)",
    "useful drop, price one more: edited: price file 201, game 200",
    "useful drop, strength and price: edited: price file 400, game 200; strength file 5, game 0",
    "useful drop, level no source stores: edited: creation level 63 (a useful drop is made at level 1\x96" "16)",
    "useful drop, seed one more: edited: seed file 1648170981, game a seed that gives these fields; plain name file \"Scroll of Town Portal\", game \"Potion of Healing\"; graphic file 1, game 32; base value file 200, game 50; price file 200, game 50; use effect file 21, game 3; spell file 7, game 0; base item file 27, game 24; name file \"Scroll of Town Portal\", game \"Potion of Healing\"",
    "useful drop, base item one more: edited: base item file 28, game 27",
    "useful drop, maximum durability 25 more: edited: max durability file 25, game 0",
    "useful drop, price one more: edited: price file 51, game 50",
    "useful drop, strength and price: edited: price file 100, game 50; strength file 5, game 0",
    "useful drop, level no source stores: edited: creation level 63 (a useful drop is made at level 1\x96" "16)",
    "useful drop, seed one more: edited: seed file 1351837732, game a seed that gives these fields; plain name file \"Potion of Healing\", game \"Scroll of Town Portal\"; graphic file 32, game 1; base value file 50, game 200; price file 50, game 200; use effect file 3, game 21; spell file 0, game 7; base item file 24, game 27; name file \"Potion of Healing\", game \"Scroll of Town Portal\"",
    "useful drop, base item one more: edited: base item file 25, game 24",
    "useful drop, maximum durability 25 more: edited: max durability file 25, game 0",
    "unique, price one more: edited: price file 1, game 0",
    "unique, strength and price: edited: strength file 5, game 0",
    "unique, level no source stores: genuine",
    "unique, seed one more: genuine",
    "unique, base item one more: genuine",
    "unique, maximum durability 25 more: edited: max durability file 25, game 0",
    "unique, price one more: edited: price file 1, game 0",
    "unique, strength and price: edited: strength file 5, game 0",
    "unique, level no source stores: genuine",
    "unique, seed one more: genuine",
    "unique, base item one more: genuine",
    "unique, maximum durability 25 more: edited: max durability file 25, game 0",
    "placed at level build, price one more: edited: price file 151, game 150",
    "placed at level build, strength and price: edited: price file 300, game 150; strength file 5, game 0",
    "placed at level build, level no source stores: genuine",
    "placed at level build, seed one more: genuine",
    "placed at level build, base item one more: edited: base item file 81, game 30",
    "placed at level build, maximum durability 25 more: edited: max durability file 25, game 0",
    "placed at level build, price one more: edited: price file 2, game 1 (single player)",
    "placed at level build, strength and price: edited: price file 2, game 1; strength file 5, game 0 (single player)",
    "placed at level build, level no source stores: edited: seed file 12837382, game a seed that gives these fields; plain name file \" of Firebolt\", game \" of Telekinesis\"; base value file 1050, game 1520; spell file 1, game 33; max charges file 53, game 25; required magic file 15, game 33; name file \" of Firebolt\", game \" of Telekinesis\"",
    "placed at level build, seed one more: edited: seed file 12837383, game a seed that gives these fields; plain name file \" of Firebolt\", game \"Staff of Inferno\"; base value file 1050, game 1020; spell file 1, game 20; max charges file 53, game 25; required magic file 15, game 20; name file \" of Firebolt\", game \"Staff of Inferno\"",
    "placed at level build, base item one more: not reproducible: the seed names no unique item",
    "placed at level build, maximum durability 25 more: genuine (single player; play state: maximum durability +25, at least 3 Hidden shrines)",
    "Griswold, price one more: edited: price file 26, game 25",
    "Griswold, strength and price: edited: price file 50, game 25; strength file 5, game 0",
    "Griswold, level no source stores: edited: creation level 63 (Griswold's item is made at level 6\x96" "16); seed file 1298202387, game a seed that gives these fields; plain name file \"Skull Cap\", game \"Cloak\"; item type file 7, game 6; location file 4, game 3; graphic file 90, game 149; base value file 25, game 40; price file 25, game 40; armor file 3, game 7; base item file 49, game 56; name file \"Skull Cap\", game \"Cloak\"",
    "Griswold, seed one more: edited: seed file 1298202388, game a seed that gives these fields; plain name file \"Skull Cap\", game \"Cape\"; item type file 7, game 6; location file 4, game 3; graphic file 90, game 150; base value file 25, game 10; price file 25, game 10; armor file 3, game 4; base item file 49, game 54; name file \"Skull Cap\", game \"Cape\"",
    "Griswold, base item one more: edited: base item file 50, game 49",
    "Griswold, maximum durability 25 more: genuine (play state: maximum durability +25, at least 3 Hidden shrines)",
    "Griswold, price one more: edited: price file 121, game 120 (shareware single player)",
    "Griswold, strength and price: edited: price file 240, game 120; strength file 5, game 0 (shareware single player)",
    "Griswold, level no source stores: edited: creation level 63 (Griswold's item is made at level 6\x96" "16); seed file 448763474, game a seed that gives these fields; plain name file \"Short Sword\", game \"Chain Mail\"; item type file 1, game 8; location file 1, game 3; item class file 1, game 2; graphic file 64, game 111; base value file 120, game 1250; price file 120, game 1250; min damage file 2, game 0; max damage file 6, game 0; armor file 0, game 19; required strength file 18, game 30; base item file 99, game 63; name file \"Short Sword\", game \"Chain Mail\"",
    "Griswold, seed one more: edited: seed file 448763475, game a seed that gives these fields; plain name file \"Short Sword\", game \"Robe\"; item type file 1, game 6; location file 1, game 3; item class file 1, game 2; graphic file 64, game 137; base value file 120, game 75; price file 120, game 75; min damage file 2, game 0; max damage file 6, game 0; armor file 0, game 7; required strength file 18, game 0; base item file 99, game 57; name file \"Short Sword\", game \"Robe\"",
    "Griswold, base item one more: edited: base item file 100, game 114",
    "Griswold, maximum durability 25 more: genuine (shareware single player or shareware multiplayer; play state: maximum durability +25, at least 3 Hidden shrines)",
    "Griswold premium, price one more: edited: price file 4801, game 4800 (single player)",
    "Griswold premium, strength and price: edited: price file 9600, game 4800; strength file 5, game 0 (single player)",
    "Griswold premium, level no source stores: edited: creation level 63 (Griswold's premium item is made at level 1\x96" "30); seed file 363098692, game a seed that gives these fields; plain name file \"Composite Bow\", game \"Splint Mail\"; item type file 3, game 8; location file 2, game 3; item class file 1, game 2; graphic file 133, game 136; base value file 600, game 3250; price file 4800, game 61895; min damage file 3, game 0; max damage file 6, game 0; armor file 0, game 35; dexterity file 12, game 0; hit points file 0, game 5248; suffix power file 23, game 31; price part add 1 file 2400, game 19645; price part mult 1 file 4, game 13; required strength file 25, game 40; required dexterity file 40, game 0; base item file 141, game 66; name file \"Bow of accuracy\", game \"Mail of the whale\"",
    "Griswold premium, seed one more: edited: seed file 363098693, game a seed that gives these fields; plain name file \"Composite Bow\", game \"Ring\"; item type file 3, game 12; location file 2, game 5; item class file 1, game 3; graphic file 133, game 12; base value file 600, game 1000; price file 4800, game 9000; min damage file 3, game 0; max damage file 6, game 0; use effect file 0, game 25; max durability file 45, game 0; %to hit file 0, game 20; dexterity file 12, game 0; prefix power file -1, game 0; suffix power file 23, game -1; price part add 1 file 2400, game 2000; price part mult 1 file 4, game 7; required strength file 25, game 0; required dexterity file 40, game 0; base item file 141, game 152; name file \"Bow of accuracy\", game \"Silver Ring\" (single player)",
    "Griswold premium, base item one more: edited: base item file 142, game 141 (single player)",
    "Griswold premium, maximum durability 25 more: genuine (single player; play state: maximum durability +25, at least 3 Hidden shrines)",
    "Griswold premium, price one more: edited: price file 9381, game 9380 (shareware single player)",
    "Griswold premium, strength and price: edited: price file 18760, game 9380; strength file 5, game 0 (shareware single player)",
    "Griswold premium, level no source stores: edited: creation level 63 (Griswold's premium item is made at level 1\x96" "30); seed file 803524099, game a seed that gives these fields; plain name file \"Studded Leather Armor\", game \"Great Helm\"; item type file 6, game 7; location file 3, game 4; graphic file 107, game 98; base value file 700, game 400; price file 9380, game 2600; max durability file 45, game 255; hit points file 2048, game 0; suffix power file 31, game 37; price part add 1 file 4480, game 600; price part mult 1 file 7, game 5; required strength file 20, game 50; base item file 61, game 53; name file \"Armor of the wolf\", game \"Helm of the ages\"",
    "Griswold premium, seed one more: edited: seed file 803524100, game a seed that gives these fields; plain name file \"Studded Leather Armor\", game \"Plate Mail\"; item type file 6, game 9; graphic file 107, game 103; base value file 700, game 4600; price file 9380, game 23600; armor file 15, game 48; max durability file 45, game 255; hit points file 2048, game 0; suffix power file 31, game 37; price part add 1 file 4480, game 600; price part mult 1 file 7, game 5; required strength file 20, game 60; base item file 61, game 67; name file \"Armor of the wolf\", game \"Plate of the ages\" (single player)",
    "Griswold premium, base item one more: edited: base item file 62, game 61 (shareware single player)",
    "Griswold premium, maximum durability 25 more: genuine (shareware single player; play state: maximum durability +25, at least 3 Hidden shrines)",
    "Wirt, price one more: edited: price file 1141, game 1140",
    "Wirt, strength and price: edited: price file 2280, game 1140; strength file 5, game 0",
    "Wirt, level no source stores: edited: creation level 63 (Wirt's item is made at level 1\x96" "50); seed file 816642257, game a seed that gives these fields; plain name file \"Dagger\", game \"Falchion\"; graphic file 51, game 62; base value file 60, game 250; price file 1140, game 21629; min damage file 1, game 4; %to hit file 0, game 84; fire resistance file 13, game 0; damage file 1, game 11; prefix power file 8, game 0; price part add 1 file 800, game 10685; price part mult 1 file 2, game 17; price part add 2 file 100, game 4694; price part mult 2 file 2, game 8; required strength file 0, game 30; base item file 113, game 100; name file \"Red Dagger of quality\", game \"Weird Sword of gore\"",
    "Wirt, seed one more: edited: seed file 816642258, game a seed that gives these fields; plain name file \"Dagger\", game \"Cap\"; item type file 1, game 7; location file 1, game 4; item class file 1, game 2; graphic file 51, game 91; base value file 60, game 15; price file 1140, game 230; min damage file 1, game 0; max damage file 4, game 0; armor file 0, game 3; fire resistance file 13, game 0; damage file 1, game 0; damage from enemies file 0, game -1; prefix power file 8, game -1; suffix power file 61, game 30; price part add 1 file 800, game 200; price part add 2 file 100, game 0; price part mult 2 file 2, game 0; base item file 113, game 48; name file \"Red Dagger of quality\", game \"Cap of health\"",
    "Wirt, base item one more: edited: base item file 114, game 113",
    "Wirt, maximum durability 25 more: genuine (play state: maximum durability +25, at least 3 Hidden shrines)",
    "Wirt, price one more: edited: price file 12601, game 12600 (shareware single player)",
    "Wirt, strength and price: edited: price file 25200, game 12600; strength file 5, game 0 (shareware single player)",
    "Wirt, level no source stores: edited: creation level 63 (Wirt's item is made at level 1\x96" "50)",
    "Wirt, seed one more: edited: seed file 47405584, game a seed that gives these fields; plain name file \"Short Bow\", game \"Long Bow\"; graphic file 118, game 102; base value file 100, game 250; price file 12600, game 77790; fire resistance file 0, game 42; lightning resistance file 0, game 42; magic resistance file 0, game 42; prefix power file -1, game 11; price part add 1 file 12000, game 62540; price part mult 1 file 6, game 7; price part add 2 file 0, game 12000; price part mult 2 file 0, game 6; required strength file 0, game 25; required dexterity file 0, game 30; base item file 123, game 125; name file \"Bow of thunder\", game \"Emerald Bow of thunder\" (shareware single player)",
    "Wirt, base item one more: edited: base item file 124, game 123 (shareware single player)",
    "Wirt, maximum durability 25 more: genuine (shareware single player; play state: maximum durability +25, at least 3 Hidden shrines)",
    "Adria, price one more: edited: price file 601, game 600 (single player)",
    "Adria, strength and price: edited: price file 1200, game 600; strength file 5, game 0 (single player)",
    "Adria, level no source stores: edited: creation level 63 (Adria's item is made at level 6\x96" "16); seed file 908148700, game a seed that gives these fields; plain name file \"Scroll of Infravision\", game \"Scroll of Nova\"; base value file 600, game 1300; price file 600, game 1300; spell file 9, game 18; required magic file 23, game 57; base item file 95, game 104; name file \"Scroll of Infravision\", game \"Scroll of Nova\"",
    "Adria, seed one more: edited: seed file 908148701, game a seed that gives these fields; plain name file \"Scroll of Infravision\", game \"Book of Heal Other\"; graphic file 1, game 86; base value file 600, game 1000; price file 600, game 1000; use effect file 21, game 24; spell file 9, game 34; required magic file 23, game 17; name file \"Scroll of Infravision\", game \"Book of Heal Other\" (shareware multiplayer)",
    "Adria, base item one more: edited: base item file 96, game 95 (single player)",
    "Adria, maximum durability 25 more: edited: max durability file 25, game 0 (single player)",
    "Adria, price one more: edited: price file 101, game 100 (shareware single player)",
    "Adria, strength and price: edited: price file 200, game 100; strength file 5, game 0 (shareware single player)",
    "Adria, level no source stores: edited: creation level 63 (Adria's item is made at level 6\x96" "16); seed file 638442989, game a seed that gives these fields; plain name file \"Scroll of Identify\", game \"Scroll of Mana Shield\"; base value file 100, game 1200; price file 100, game 1200; spell file 5, game 11; base item file 80, game 97; name file \"Scroll of Identify\", game \"Scroll of Mana Shield\"",
    "Adria, seed one more: edited: seed file 638442990, game a seed that gives these fields; plain name file \"Scroll of Identify\", game \"Scroll of Healing\"; base value file 100, game 50; price file 100, game 50; spell file 5, game 2; base item file 80, game 78; name file \"Scroll of Identify\", game \"Scroll of Healing\" (shareware single player)",
    "Adria, base item one more: edited: base item file 81, game 89",
    "Adria, maximum durability 25 more: edited: max durability file 25, game 0 (shareware single player)",
    "Pepin, price one more: edited: price file 51, game 50",
    "Pepin, strength and price: edited: price file 100, game 50; strength file 5, game 0",
    "Pepin, level no source stores: edited: creation level 63 (Pepin's item is made at level 6\x96" "16)",
    "Pepin, seed one more: edited: seed file 852786882, game a seed that gives these fields; plain name file \"Scroll of Healing\", game \"Potion of Full Rejuvenation\"; graphic file 1, game 33; base value file 50, game 600; price file 50, game 600; use effect file 21, game 19; spell file 2, game 0; base item file 87, game 82; name file \"Scroll of Healing\", game \"Potion of Full Rejuvenation\"",
    "Pepin, base item one more: edited: base item file 88, game 87",
    "Pepin, maximum durability 25 more: edited: max durability file 25, game 0",
    "Pepin, price one more: edited: price file 51, game 50 (shareware single player)",
    "Pepin, strength and price: edited: price file 100, game 50; strength file 5, game 0 (shareware single player)",
    "Pepin, level no source stores: edited: creation level 63 (Pepin's item is made at level 6\x96" "16); seed file 1621254110, game a seed that gives these fields; plain name file \"Scroll of Healing\", game \"Elixir of Vitality\"; graphic file 1, game 31; base value file 50, game 5000; price file 50, game 5000; use effect file 21, game 13; spell file 2, game 0; base item file 78, game 86; name file \"Scroll of Healing\", game \"Elixir of Vitality\"",
    "Pepin, seed one more: genuine (shareware single player or shareware multiplayer)",
    "Pepin, base item one more: edited: base item file 79, game 87",
    "Pepin, maximum durability 25 more: edited: max durability file 25, game 0 (shareware single player)",
};
// clang-format on

TEST(SeedVerdictTextsTest, EditedItemsKeepTheirVerdictTexts) {
  Random random{4711u};
  std::vector<std::string> texts;
  for (const Source& source : kSources) {
    for (const GameMode mode : {GameMode::kSinglePlayer, GameMode::kShareware}) {
      std::optional<ItemRecord> genuine;
      for (int attempt = 0; attempt < 400 && !genuine; ++attempt)
        genuine = GenuineRecord(source, mode, random);
      ASSERT_TRUE(genuine) << source.what;
      for (const Edit& edit : Edits()) {
        ItemRecord record = *genuine;
        edit.apply(record);
        texts.push_back(std::string(source.what) + ", " + edit.what + ": " + VerdictText(CheckItem(record)));
      }
    }
  }
  for (std::size_t i = 0; i < texts.size() && i < kVerdictTexts.size(); ++i)
    EXPECT_EQ(texts[i], kVerdictTexts[i]);
  EXPECT_EQ(texts.size(), kVerdictTexts.size());
}

}  // namespace
}  // namespace relicor
