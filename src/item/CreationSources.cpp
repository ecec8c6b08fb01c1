#include "item/CreationSources.h"

namespace relicor {

namespace {

constexpr std::uint8_t kFullGameAndSharewareMulti =
    games::kSinglePlayer | games::kMultiplayer | games::kSharewareMulti;

// The town's three shops stock at the deepest dungeon level visited plus 2 (single player) or
// half the character level plus 2 (multiplayer), held to 6-16; the shareware game's single
// player reaches dungeon level 2 at most, so its shops stock at 6.
constexpr std::array<LevelSpan, 2> kTownShopLevels{
    {{6, 16, 1, kFullGameAndSharewareMulti}, {6, 6, 1, games::kSharewareSingle}}};

// clang-format off
// what                                 levels                                              spans
constexpr CreationSource kGriswold{     "Griswold's item",                 kTownShopLevels, 2};  // the smith's stock, made when the town is set up
constexpr CreationSource kPremium{      "Griswold's premium item",         {{{1, 30, 1, games::kAll}}}, 1};  // the smith's premium stock: held to 1-30
constexpr CreationSource kWirt{         "Wirt's item",                     {{{1, 50, 1, games::kAll}}}, 1};  // Wirt's offer: the character level
constexpr CreationSource kAdria{        "Adria's item",                    kTownShopLevels, 2};  // the witch's stock, made when the town is set up
constexpr CreationSource kPepin{        "Pepin's item",                    kTownShopLevels, 2};  // the healer's stock, made when the town is set up
constexpr CreationSource kUseful{       "a useful drop",                   {{{1, 16, 1, games::kAll}}}, 1};  // a useful drop: the dungeon level
constexpr CreationSource kUniqueMonster{"a unique monster's drop",         {{{1, 30, 1, games::kAll}}}, 1};  // the unique's monster type's base level
constexpr CreationSource kMonster{      "a monster drop",                  {{{1, 30, 1, games::kAll}}}, 1};  // the monster type's base level
constexpr CreationSource kObject{       "an object's item",                {{{2, 32, 2, games::kAll}}}, 1};  // an opened or dropped object: twice the dungeon level
// clang-format on

bool Holds(const LevelSpan& span, int level) {
  return level >= span.low && level <= span.high && (level - span.low) % span.step == 0;
}

}  // namespace

std::vector<const CreationSource*> SourcesOf(std::uint16_t ci) {
  // The order the game rebuilds an item in (for dungeon and town items alike): the first town flag
  // names the shop, both drop flags a useful drop, then the unique monster's and the drop flag.
  if (ci & cf::kSmith) return {&kGriswold};
  if (ci & cf::kSmithPremium) return {&kPremium};
  if (ci & cf::kBoy) return {&kWirt};
  if (ci & cf::kWitch) return {&kAdria};
  if (ci & cf::kHealer) return {&kPepin};
  if ((ci & cf::kUseful) == cf::kUseful) return {&kUseful};
  if (ci & cf::kUper15) return {&kUniqueMonster};
  if (ci & cf::kUper1) {
    // Only objects give only-good items with the drop flag, and only they are placed when a
    // level is built (a monster's only-good drop comes from a unique monster).
    if (ci & (cf::kOnlyGood | cf::kPregen)) return {&kObject};
    return {&kMonster, &kObject};
  }
  return {};
}

std::uint8_t GamesReachingLevel(std::span<const CreationSource* const> sources, int level) {
  if (sources.empty()) return games::kAll;
  std::uint8_t reached = 0;
  for (const CreationSource* source : sources)
    for (std::uint8_t i = 0; i < source->spanCount; ++i)
      if (Holds(source->spans[i], level)) reached |= source->spans[i].games;
  return reached;
}

std::string LevelLimitText(std::span<const CreationSource* const> sources) {
  std::string text;
  for (const CreationSource* source : sources) {
    if (!text.empty()) text += ", ";
    // The widest span names the levels; the narrower ones are the same levels in fewer games.
    const LevelSpan& span = source->spans[0];
    text += std::string(source->what) + " is made at ";
    if (span.step == 2) text += "an even ";
    text += "level " + std::to_string(span.low);
    if (span.high != span.low) text += "\x96" + std::to_string(span.high);
  }
  return text;
}

}  // namespace relicor
