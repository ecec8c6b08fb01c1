#include "generate/SeedCheck.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <string_view>

#include "generate/GameData109.h"

namespace relicor::gen {
namespace {

// How a field is compared.
enum class Rule : std::uint8_t {
  kExact,  // generated from the inputs
  kWear,   // may be lower than generated (repair and recharge lower it), never higher
  kText,   // a zero-terminated name
};

struct Field {
  std::string_view name;
  std::size_t offset;
  std::uint8_t width;  // 1, 2 or 4 bytes
  bool isSigned;
  Rule rule;
  std::int64_t (*game)(const GeneratedItem&);
};

std::int64_t ReadField(const ItemRecord& r, std::size_t at, std::uint8_t width, bool isSigned) {
  std::uint32_t v = 0;
  for (std::uint8_t i = 0; i < width; ++i) v |= static_cast<std::uint32_t>(r.ReadU8(at + i)) << (8 * i);
  if (!isSigned) return v;
  if (width == 1) return static_cast<std::int8_t>(v);
  if (width == 2) return static_cast<std::int16_t>(v);
  return static_cast<std::int32_t>(v);
}

// The generated value as the field of that width holds it.
std::int64_t AsStored(std::int64_t v, std::uint8_t width, bool isSigned) {
  const auto u = static_cast<std::uint32_t>(v);
  if (width == 1) return isSigned ? static_cast<std::int8_t>(u) : static_cast<std::uint8_t>(u);
  if (width == 2) return isSigned ? static_cast<std::int16_t>(u) : static_cast<std::uint16_t>(u);
  return isSigned ? static_cast<std::int32_t>(u) : static_cast<std::int64_t>(u);
}

#define GEN(member) [](const GeneratedItem& g) -> std::int64_t { return g.member; }

// clang-format off
// name,                     offset,                   width, signed, rule,        generated value
const std::array<Field, 50> kFields{{
  {"seed",                   layout::kSeed,                4, true,  Rule::kExact, GEN(seed)},
  {"creation info",          layout::kCreateInfo,          2, false, Rule::kExact, GEN(createInfo)},
  {"item type",              layout::kType,                4, true,  Rule::kExact, GEN(type)},
  {"quality",                layout::kMagical,             1, true,  Rule::kExact, GEN(magical)},
  {"location",               layout::kLocation,            1, true,  Rule::kExact, GEN(location)},
  {"item class",             layout::kClass,               1, true,  Rule::kExact, GEN(itemClass)},
  {"graphic",                layout::kCursor,              4, true,  Rule::kExact, GEN(cursor)},
  {"base value",             layout::kValue,               4, true,  Rule::kExact, GEN(value)},
  {"price",                  layout::kPrice,               4, true,  Rule::kExact, GEN(price)},
  {"min damage",             layout::kMinDamage,           4, true,  Rule::kExact, GEN(minDamage)},
  {"max damage",             layout::kMaxDamage,           4, true,  Rule::kExact, GEN(maxDamage)},
  {"armor",                  layout::kArmor,               4, true,  Rule::kExact, GEN(armor)},
  {"effect bits",            layout::kFlags,               4, false, Rule::kExact, GEN(flags)},
  {"use effect",             layout::kMiscId,              4, true,  Rule::kExact, GEN(miscId)},
  {"spell",                  layout::kSpell,               4, true,  Rule::kExact, GEN(spell)},
  {"max charges",            layout::kMaxCharges,          4, true,  Rule::kWear,  GEN(maxCharges)},
  {"max durability",         layout::kMaxDurability,       4, true,  Rule::kWear,  GEN(maxDurability)},
  {"%damage",                layout::kPctDamage,           4, true,  Rule::kExact, GEN(pctDamage)},
  {"%to hit",                layout::kHeader + 248,        4, true,  Rule::kExact, GEN(pctToHit)},
  {"%armor",                 layout::kHeader + 252,        4, true,  Rule::kExact, GEN(pctArmor)},
  {"strength",               layout::kHeader + 256,        4, true,  Rule::kExact, GEN(strength)},
  {"magic",                  layout::kHeader + 260,        4, true,  Rule::kExact, GEN(magic)},
  {"dexterity",              layout::kHeader + 264,        4, true,  Rule::kExact, GEN(dexterity)},
  {"vitality",               layout::kHeader + 268,        4, true,  Rule::kExact, GEN(vitality)},
  {"fire resistance",        layout::kHeader + 272,        4, true,  Rule::kExact, GEN(resFire)},
  {"lightning resistance",   layout::kHeader + 276,        4, true,  Rule::kExact, GEN(resLightning)},
  {"magic resistance",       layout::kHeader + 280,        4, true,  Rule::kExact, GEN(resMagic)},
  {"mana",                   layout::kHeader + 284,        4, true,  Rule::kExact, GEN(mana)},
  {"hit points",             layout::kHeader + 288,        4, true,  Rule::kExact, GEN(hitPoints)},
  {"damage",                 layout::kHeader + 292,        4, true,  Rule::kExact, GEN(damage)},
  {"damage from enemies",    layout::kHeader + 296,        4, true,  Rule::kExact, GEN(damageFromEnemies)},
  {"light radius",           layout::kHeader + 300,        4, true,  Rule::kExact, GEN(lightRadius)},
  {"spell levels",           layout::kSpellLevels,         1, true,  Rule::kExact, GEN(spellLevels)},
  {"unique index",           layout::kUniqueIndex,         4, true,  Rule::kExact, GEN(uniqueIndex)},
  {"fire damage min",        layout::kHeader + 312,        4, true,  Rule::kExact, GEN(fireMin)},
  {"fire damage max",        layout::kHeader + 316,        4, true,  Rule::kExact, GEN(fireMax)},
  {"lightning damage min",   layout::kHeader + 320,        4, true,  Rule::kExact, GEN(lightningMin)},
  {"lightning damage max",   layout::kHeader + 324,        4, true,  Rule::kExact, GEN(lightningMax)},
  {"target armor",           layout::kHeader + 328,        4, true,  Rule::kExact, GEN(targetArmor)},
  {"prefix power",           layout::kPrefixPower,         1, true,  Rule::kExact, GEN(prefixPower)},
  {"suffix power",           layout::kSuffixPower,         1, true,  Rule::kExact, GEN(suffixPower)},
  {"price part add 1",       layout::kValueAdd1,           4, true,  Rule::kExact, GEN(valueAdd1)},
  {"price part mult 1",      layout::kHeader + 340,        4, true,  Rule::kExact, GEN(valueMult1)},
  {"price part add 2",       layout::kHeader + 344,        4, true,  Rule::kExact, GEN(valueAdd2)},
  {"price part mult 2",      layout::kHeader + 348,        4, true,  Rule::kExact, GEN(valueMult2)},
  {"required strength",      layout::kMinStr,              1, true,  Rule::kExact, GEN(minStr)},
  {"required magic",         layout::kMinMag,              1, false, Rule::kExact, GEN(minMag)},
  {"required dexterity",     layout::kMinDex,              1, true,  Rule::kExact, GEN(minDex)},
  {"base item",              layout::kBaseIndex,           4, true,  Rule::kExact, GEN(baseIndex)},
  {"name",                   layout::kIdentifiedName,      0, false, Rule::kText,  nullptr},
}};
// clang-format on
#undef GEN

std::string_view TextAt(const ItemRecord& r, std::size_t at) {
  const char* text = reinterpret_cast<const char*>(r.bytes().data() + at);
  return {text, strnlen(text, layout::kNameLength)};
}

std::string Quoted(std::string_view s) {
  std::string quoted;
  quoted.reserve(s.size() + 2);
  quoted.push_back('"');
  quoted.append(s);
  quoted.push_back('"');
  return quoted;
}

// Adria raises the magic a book in her stock needs by a fifth for each level the buyer has in its
// spell (at most 255); the book keeps that until the game is loaded again.
bool WitchBookMagic(const GeneratedItem& g, std::int64_t file) {
  if (g.miscId != misc::kBook || !(g.createInfo & cf::kWitch)) return false;
  std::int64_t need = g.minMag;
  for (int level = 0; level < 15 && need < 255; ++level) {
    if (need + 20 * need / 100 > 255) return file == 255;
    need += 20 * need / 100;
    if (file == need) return true;
  }
  return false;
}

// Differences between the record and the rebuilt item.
std::vector<FieldDifference> Compare(const ItemRecord& r, const GeneratedItem& g) {
  std::vector<FieldDifference> out;
  const std::string_view plain = TextAt(r, layout::kName);
  if (g.ear) {
    // The victim's name goes on after the six letters the seed gives; the level and the class
    // are the victim's.
    if (plain.substr(0, g.name.size()) != g.name || (g.name.size() < 13 && plain.size() != g.name.size()))
      out.push_back({"plain name", Quoted(plain), Quoted(g.name + "...")});
    const std::int64_t level = ReadField(r, layout::kValue, 4, true);
    if (level < 0 || level > 63) out.push_back({"base value", std::to_string(level), "0 to 63"});
    const std::int64_t cursor = ReadField(r, layout::kCursor, 4, true);
    if (cursor < icurs::kEarSorceror || cursor > icurs::kEarRogue)
      out.push_back({"graphic", std::to_string(cursor), "19 to 21"});
  } else if (plain != g.name) {
    out.push_back({"plain name", Quoted(plain), Quoted(g.name)});
  }
  for (const Field& f : kFields) {
    if (f.rule == Rule::kText) {
      const std::string_view text = TextAt(r, f.offset);
      if (text != g.identifiedName)
        out.push_back({std::string(f.name), Quoted(text), Quoted(g.identifiedName)});
      continue;
    }
    if (f.offset == layout::kUniqueIndex && !g.uniqueIndexKnown) continue;
    if ((g.goldValueFromFile || g.ear) && f.offset == layout::kValue) continue;
    if (g.ear && f.offset == layout::kCursor) continue;
    if (g.playerDependent && (f.offset == layout::kArmor || f.offset == layout::kHeader + 272 ||
                              f.offset == layout::kHeader + 288))
      continue;
    const std::int64_t file = ReadField(r, f.offset, f.width, f.isSigned);
    const std::int64_t game = AsStored(f.game(g), f.width, f.isSigned);
    if (f.offset == layout::kMinMag && file != game && WitchBookMagic(g, file)) continue;
    if (f.rule == Rule::kWear) {
      // Lowered by repair or recharge: at least 1 where the game gives some, never above it;
      // an indestructible item (255) loses nothing.
      const bool fits = game == 0 || game == 255 ? file == game : file >= 1 && file <= game;
      if (f.offset == layout::kMaxCharges ? (file >= 0 && file <= game) : fits) continue;
    } else if (file == game) {
      continue;
    }
    out.push_back({std::string(f.name), std::to_string(file), std::to_string(game)});
  }
  // Current durability and charges are play state, but never above their maximum.
  const std::int64_t maxDur = ReadField(r, layout::kMaxDurability, 4, true);
  const std::int64_t dur = ReadField(r, layout::kDurability, 4, true);
  if (dur > maxDur) out.push_back({"durability", std::to_string(dur), "at most " + std::to_string(maxDur)});
  const std::int64_t maxCharges = ReadField(r, layout::kMaxCharges, 4, true);
  const std::int64_t charges = ReadField(r, layout::kCharges, 4, true);
  // 1.09 gives items with a spell power the spell number as charges, which may exceed the maximum.
  const std::int64_t chargeLimit =
      std::max<std::int64_t>(maxCharges, g.charges > g.maxCharges ? g.charges : 0);
  if (charges > chargeLimit)
    out.push_back({"charges", std::to_string(charges), "at most " + std::to_string(chargeLimit)});
  if (g.goldValueFromFile) {
    const std::int64_t value = ReadField(r, layout::kValue, 4, true);
    if (value < 1 || value > 5000) out.push_back({"base value", std::to_string(value), "1 to 5000"});
  }
  return out;
}

constexpr std::array<GameMode, 3> kModes{GameMode::kSinglePlayer, GameMode::kMultiplayer,
                                         GameMode::kShareware};

// Differences that mean the rebuild took another path than the file's item: the seed or the
// base index are not the ones the item was made with.
constexpr std::size_t kManyDifferences = 5;

}  // namespace

SeedVerdict CheckRecord(const ItemRecord& record) {
  const auto seed = static_cast<std::int32_t>(ReadField(record, layout::kSeed, 4, true));
  const auto ci = static_cast<std::uint16_t>(ReadField(record, layout::kCreateInfo, 2, false));
  const auto index = static_cast<std::int32_t>(ReadField(record, layout::kBaseIndex, 4, true));
  const auto goldValue = static_cast<std::int32_t>(ReadField(record, layout::kValue, 4, true));

  struct Attempt {
    GameMode mode;
    std::vector<FieldDifference> differences;
  };
  std::vector<Attempt> attempts;
  std::string reason;
  // Multiplayer is rebuilt only where a choice depended on the game; the shareware game only
  // where the full game rebuilds the item in neither.
  bool modeMatters = true;
  for (const GameMode mode : kModes) {
    if (mode == GameMode::kMultiplayer && !modeMatters && !attempts.empty()) {
      attempts.push_back({mode, attempts.front().differences});
      continue;
    }
    if (mode == GameMode::kShareware &&
        std::any_of(attempts.begin(), attempts.end(), [](const Attempt& a) { return a.differences.empty(); }))
      break;
    const GenerateResult result = GenerateItem(index, ci, seed, mode, goldValue);
    if (mode == GameMode::kSinglePlayer) modeMatters = result.modeMatters;
    if (!result.item) {
      if (reason.empty()) reason = result.reason;
      continue;
    }
    attempts.push_back({mode, Compare(record, *result.item)});
  }
  SeedVerdict v;
  if (attempts.empty()) {
    v.verdict = Verdict::kNotReproducible;
    v.reason = reason;
    return v;
  }
  // Single player and multiplayer decide together; the shareware game counts where neither
  // rebuilds the item. The game is named where the verdict depends on it.
  auto find = [&](GameMode mode) -> const Attempt* {
    for (const Attempt& a : attempts)
      if (a.mode == mode) return &a;
    return nullptr;
  };
  const Attempt* single = find(GameMode::kSinglePlayer);
  const Attempt* multi = find(GameMode::kMultiplayer);
  auto isGenuine = [](const Attempt* a) { return a != nullptr && a->differences.empty(); };
  if (isGenuine(single) && isGenuine(multi)) {
    v.verdict = Verdict::kGenuine;
    return v;
  }
  for (const Attempt& a : attempts) {
    if (a.differences.empty()) {
      v.verdict = Verdict::kGenuine;
      v.mode = a.mode;
      return v;
    }
  }
  const Attempt* best = &attempts.front();
  for (const Attempt& a : attempts)
    if (a.differences.size() < best->differences.size()) best = &a;
  v.verdict = Verdict::kEdited;
  v.differences = best->differences;
  const bool sameInBoth =
      single != nullptr && multi != nullptr && single->differences.size() == multi->differences.size();
  if (!sameInBoth || best->mode == GameMode::kShareware) v.mode = best->mode;
  if (best->differences.size() < kManyDifferences) return v;

  // Many fields differ: the inputs themselves were changed. Another base index that rebuilds
  // the file exactly names the base index; otherwise the seed does not give this item.
  const std::int64_t fileIndex = index;
  for (std::int32_t other = 0; other < static_cast<std::int32_t>(kBaseItemCount); ++other) {
    if (other == index) continue;
    const GenerateResult result = GenerateItem(other, ci, seed, best->mode, goldValue);
    if (!result.item) continue;
    auto differences = Compare(record, *result.item);
    if (differences.size() == 1 && differences.front().field == "base item") {
      v.differences = {{"base item", std::to_string(fileIndex), std::to_string(other)}};
      return v;
    }
  }
  v.differences.insert(v.differences.begin(),
                       {"seed", std::to_string(seed), "a seed that gives these fields"});
  return v;
}

}  // namespace relicor::gen
