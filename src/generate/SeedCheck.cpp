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
  kExact,       // generated from the inputs
  kWear,        // may be lower than generated (recharge lowers it), never higher
  kDurability,  // lowered by repair, raised or lowered by 10 at each Hidden shrine
  kDamage,      // a weapon's: 1 more at each Weird shrine, 1 less at each Gloomy one
  kArmor,       // armour's and shields': 2 more at each Gloomy shrine
  kText,        // a zero-terminated name
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
  const std::uint8_t* p = r.bytes().data() + at;
  switch (width) {
    case 1:
      return isSigned ? static_cast<std::int8_t>(p[0]) : p[0];
    case 2: {
      const auto v = static_cast<std::uint16_t>(p[0] | (p[1] << 8));
      return isSigned ? static_cast<std::int16_t>(v) : v;
    }
    default: {
      const std::uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
      return isSigned ? static_cast<std::int32_t>(v) : static_cast<std::int64_t>(v);
    }
  }
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
  {"seed",                   offset::kIdent,                4, true,  Rule::kExact, GEN(seed)},
  {"creation info",          offset::kCreateInfo,          2, false, Rule::kExact, GEN(createInfo)},
  {"item type",              offset::kItemClass,                4, true,  Rule::kExact, GEN(type)},
  {"quality",                offset::kMagical,             1, true,  Rule::kExact, GEN(magical)},
  {"location",               offset::kLocation,            1, true,  Rule::kExact, GEN(location)},
  {"item class",             offset::kCategory,               1, true,  Rule::kExact, GEN(itemClass)},
  {"graphic",                offset::kCursor,              4, true,  Rule::kExact, GEN(cursor)},
  {"base value",             offset::kBaseValue,               4, true,  Rule::kExact, GEN(value)},
  {"price",                  offset::kPrice,               4, true,  Rule::kExact, GEN(price)},
  {"min damage",             offset::kMinDamage,           4, true,  Rule::kExact, GEN(minDamage)},
  {"max damage",             offset::kMaxDamage,           4, true,  Rule::kDamage, GEN(maxDamage)},
  {"armor",                  offset::kArmorClass,               4, true,  Rule::kArmor, GEN(armor)},
  {"effect bits",            offset::kEffectFlags,               4, false, Rule::kExact, GEN(flags)},
  {"use effect",             offset::kUseEffect,              4, true,  Rule::kExact, GEN(miscId)},
  {"spell",                  offset::kSpell,               4, true,  Rule::kExact, GEN(spell)},
  {"max charges",            offset::kMaxCharges,          4, true,  Rule::kWear,  GEN(maxCharges)},
  {"max durability",         offset::kMaxDurability,       4, true,  Rule::kDurability, GEN(maxDurability)},
  {"%damage",                offset::kPctDamage,           4, true,  Rule::kExact, GEN(pctDamage)},
  {"%to hit",                offset::kPctToHit,        4, true,  Rule::kExact, GEN(pctToHit)},
  {"%armor",                 offset::kPctArmor,        4, true,  Rule::kExact, GEN(pctArmor)},
  {"strength",               offset::kAddStrength,        4, true,  Rule::kExact, GEN(strength)},
  {"magic",                  offset::kAddMagic,        4, true,  Rule::kExact, GEN(magic)},
  {"dexterity",              offset::kAddDexterity,        4, true,  Rule::kExact, GEN(dexterity)},
  {"vitality",               offset::kAddVitality,        4, true,  Rule::kExact, GEN(vitality)},
  {"fire resistance",        offset::kResFire,        4, true,  Rule::kExact, GEN(resFire)},
  {"lightning resistance",   offset::kResLightning,        4, true,  Rule::kExact, GEN(resLightning)},
  {"magic resistance",       offset::kResMagic,        4, true,  Rule::kExact, GEN(resMagic)},
  {"mana",                   offset::kAddMana,        4, true,  Rule::kExact, GEN(mana)},
  {"hit points",             offset::kAddHitPoints,        4, true,  Rule::kExact, GEN(hitPoints)},
  {"damage",                 offset::kAddDamage,        4, true,  Rule::kExact, GEN(damage)},
  {"damage from enemies",    offset::kDamageFromEnemies,        4, true,  Rule::kExact, GEN(damageFromEnemies)},
  {"light radius",           offset::kLightRadius,        4, true,  Rule::kExact, GEN(lightRadius)},
  {"spell levels",           offset::kSpellLevels,         1, true,  Rule::kExact, GEN(spellLevels)},
  {"unique index",           offset::kUniqueIndex,         4, true,  Rule::kExact, GEN(uniqueIndex)},
  {"fire damage min",        offset::kFireDamageMin,        4, true,  Rule::kExact, GEN(fireMin)},
  {"fire damage max",        offset::kFireDamageMax,        4, true,  Rule::kExact, GEN(fireMax)},
  {"lightning damage min",   offset::kLightningDamageMin,        4, true,  Rule::kExact, GEN(lightningMin)},
  {"lightning damage max",   offset::kLightningDamageMax,        4, true,  Rule::kExact, GEN(lightningMax)},
  {"target armor",           offset::kEnemyArmor,        4, true,  Rule::kExact, GEN(targetArmor)},
  {"prefix power",           offset::kPrefixPower,         1, true,  Rule::kExact, GEN(prefixPower)},
  {"suffix power",           offset::kSuffixPower,         1, true,  Rule::kExact, GEN(suffixPower)},
  {"price part add 1",       offset::kAffixValueA,           4, true,  Rule::kExact, GEN(valueAdd1)},
  {"price part mult 1",      offset::kAffixMultA,        4, true,  Rule::kExact, GEN(valueMult1)},
  {"price part add 2",       offset::kAffixValueB,        4, true,  Rule::kExact, GEN(valueAdd2)},
  {"price part mult 2",      offset::kAffixMultB,        4, true,  Rule::kExact, GEN(valueMult2)},
  {"required strength",      offset::kReqStrength,              1, true,  Rule::kExact, GEN(minStr)},
  {"required magic",         offset::kReqMagic,              1, false, Rule::kExact, GEN(minMag)},
  {"required dexterity",     offset::kReqDexterity,              1, true,  Rule::kExact, GEN(minDex)},
  {"base item",              offset::kBaseItem,           4, true,  Rule::kExact, GEN(baseIndex)},
  {"name",                   offset::kIdentifiedName,      0, false, Rule::kText,  nullptr},
}};
// clang-format on
#undef GEN

std::string_view TextAt(const ItemRecord& r, std::size_t at) {
  const char* text = reinterpret_cast<const char*>(r.bytes().data() + at);
  return {text, strnlen(text, kNameFieldSize)};
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

bool IsWeapon(std::int32_t type) {
  return type == itype::kSword || type == itype::kAxe || type == itype::kBow || type == itype::kMace ||
         type == itype::kStaff;
}
bool IsArmour(std::int32_t type) {
  return type == itype::kShield || type == itype::kHelm || type == itype::kLarmor || type == itype::kMarmor ||
         type == itype::kHarmor;
}

std::string Visits(std::int64_t n, std::string_view shrine) {
  return "at least " + std::to_string(n) + " " + std::string(shrine) + (n == 1 ? " shrine" : " shrines");
}

// The shrine visits that turn the generated value into the file's.
struct Play {
  int steps = 0;
  std::string_view shrine;
};

// The play state that turns the generated value into the file's, or nothing when play cannot.
// The shrines: Hidden adds 10 to the durability and maximum durability of every
// equipped item whose maximum is neither 0 nor 255 and then takes 20 from one of them (never
// below 1), so one visit moves an item's maximum by 10 either way; Weird adds 1 to a weapon's
// maximum damage; Gloomy adds 2 to the armour class of armour and shields and takes 1 from a
// weapon's maximum damage, never below its minimum. The warrior's repair only lowers the maximum.
std::optional<Play> PlayOf(Rule rule, std::int64_t file, std::int64_t game, const GeneratedItem& g) {
  switch (rule) {
    case Rule::kDurability:
      if (game == 0 || game == 255 || file <= game) return std::nullopt;
      return Play{static_cast<int>((file - game + 9) / 10), "Hidden"};
    case Rule::kDamage:
      if (!IsWeapon(g.type) || file < g.minDamage) return std::nullopt;
      return Play{static_cast<int>(file > game ? file - game : game - file),
                  file > game ? "Weird" : "Gloomy"};
    case Rule::kArmor:
      if (!IsArmour(g.type) || file < game || (file - game) % 2 != 0) return std::nullopt;
      return Play{static_cast<int>((file - game) / 2), "Gloomy"};
    default:
      return std::nullopt;
  }
}

// The differences and play state between a record and a rebuilt item, in words.
struct Comparison {
  std::vector<FieldDifference> differences;
  std::vector<PlayChange> playState;

  // `difference` makes the difference's texts; a count leaves them unmade.
  template <class MakeDifference>
  void Differs(std::string_view /*field*/, MakeDifference difference) {
    differences.push_back(difference());
  }
  void Played(std::string_view field, std::int64_t file, std::int64_t game, const Play& play) {
    playState.push_back({std::string(field), std::to_string(file), std::to_string(game),
                         Visits(play.steps, play.shrine), play.steps});
  }
};

// The same comparison counted: how many fields differ (the first of them named) and the play
// steps. What the verdict chooses between rebuilds is decided on counts; only the rebuild it
// chooses is compared in words.
struct Count {
  std::size_t differences = 0;
  std::string_view firstField;
  int steps = 0;

  bool genuine() const { return differences == 0; }
  template <class MakeDifference>
  void Differs(std::string_view field, MakeDifference /*difference*/) {
    if (differences++ == 0) firstField = field;
  }
  void Played(std::string_view /*field*/, std::int64_t /*file*/, std::int64_t /*game*/, const Play& play) {
    steps += play.steps;
  }
};

// Differences and play state between the record and the rebuilt item, told to `out` field by field.
template <class Out>
void Compare(const ItemRecord& r, const GeneratedItem& g, Out& out) {
  const std::string_view plain = TextAt(r, offset::kPlainName);
  if (g.ear) {
    // The victim's name goes on after the six letters the seed gives; the level and the class
    // are the victim's.
    if (plain.substr(0, g.plainName.size()) != g.plainName ||
        (g.plainName.size() < 13 && plain.size() != g.plainName.size()))
      out.Differs("plain name", [&] {
        return FieldDifference{"plain name", Quoted(plain), Quoted(g.plainName + "..."), {}};
      });
    const std::int64_t level = ReadField(r, offset::kBaseValue, 4, true);
    if (level < 0 || level > 63)
      out.Differs("base value", [&] {
        return FieldDifference{"base value", std::to_string(level), "0 to 63", {}};
      });
    const std::int64_t cursor = ReadField(r, offset::kCursor, 4, true);
    if (cursor < icurs::kEarSorceror || cursor > icurs::kEarRogue)
      out.Differs("graphic", [&] {
        return FieldDifference{"graphic", std::to_string(cursor), "19 to 21", {}};
      });
  } else if (plain != g.plainName) {
    out.Differs("plain name", [&] {
      return FieldDifference{"plain name", Quoted(plain), Quoted(g.plainName), {}};
    });
  }
  for (const Field& f : kFields) {
    if (f.rule == Rule::kText) {
      const std::string_view text = TextAt(r, f.offset);
      if (text != g.identifiedName)
        out.Differs(f.name, [&] {
          return FieldDifference{std::string(f.name), Quoted(text), Quoted(g.identifiedName), {}};
        });
      continue;
    }
    if (f.offset == offset::kUniqueIndex && !g.uniqueIndexKnown) continue;
    if ((g.goldValueFromFile || g.ear) && f.offset == offset::kBaseValue) continue;
    if (g.ear && f.offset == offset::kCursor) continue;
    if (g.playerDependent && (f.offset == offset::kArmorClass || f.offset == offset::kResFire ||
                              f.offset == offset::kAddHitPoints))
      continue;
    const std::int64_t file = ReadField(r, f.offset, f.width, f.isSigned);
    const std::int64_t game = AsStored(f.game(g), f.width, f.isSigned);
    if (file == game) continue;
    if (f.offset == offset::kReqMagic && WitchBookMagic(g, file)) continue;
    if (f.rule == Rule::kWear && file >= 0 && file <= game) continue;
    // Lowered by repair: at least 1 where the game gives some; an indestructible item (255)
    // loses nothing.
    if (f.rule == Rule::kDurability && game != 0 && game != 255 && file >= 1 && file <= game) continue;
    if (const std::optional<Play> play = PlayOf(f.rule, file, game, g)) {
      out.Played(f.name, file, game, *play);
      continue;
    }
    out.Differs(f.name, [&] {
      return FieldDifference{std::string(f.name), std::to_string(file), std::to_string(game), {}};
    });
  }
  // Current durability and charges are play state, but never above their maximum.
  const std::int64_t maxDur = ReadField(r, offset::kMaxDurability, 4, true);
  const std::int64_t dur = ReadField(r, offset::kDurability, 4, true);
  if (dur > maxDur)
    out.Differs("durability", [&] {
      return FieldDifference{"durability", std::to_string(dur), "at most " + std::to_string(maxDur), {}};
    });
  const std::int64_t maxCharges = ReadField(r, offset::kMaxCharges, 4, true);
  const std::int64_t charges = ReadField(r, offset::kCharges, 4, true);
  // 1.09 gives items with a spell power the spell number as charges, which may exceed the maximum.
  const std::int64_t chargeLimit =
      std::max<std::int64_t>(maxCharges, g.charges > g.maxCharges ? g.charges : 0);
  if (charges > chargeLimit)
    out.Differs("charges", [&] {
      return FieldDifference{
          "charges", std::to_string(charges), "at most " + std::to_string(chargeLimit), {}};
    });
  if (g.goldValueFromFile) {
    const std::int64_t value = ReadField(r, offset::kBaseValue, 4, true);
    if (value < 1 || value > 5000)
      out.Differs("base value", [&] {
        return FieldDifference{"base value", std::to_string(value), "1 to 5000", {}};
      });
  }
}

template <class Out>
Out Compared(const ItemRecord& r, const GeneratedItem& g) {
  Out out;
  Compare(r, g, out);
  return out;
}

// The full game first; the shareware game counts where the full game rebuilds the item in
// neither of its modes.
constexpr std::array<GameMode, 4> kModes{GameMode::kSinglePlayer, GameMode::kMultiplayer,
                                         GameMode::kShareware, GameMode::kSharewareMultiplayer};

// Differences that mean the rebuild took another path than the file's item: the seed or the
// base index are not the ones the item was made with.
constexpr std::size_t kManyDifferences = 5;

// The verdict of the rebuild in the games of `reachable`.
SeedVerdict Rebuild(const ItemRecord& record, std::int32_t seed, std::uint16_t ci, std::int32_t index,
                    std::int32_t goldValue, std::uint8_t reachable, const CheckOptions& options);

}  // namespace

SeedVerdict CheckRecord(const ItemRecord& record, const CheckOptions& options) {
  const auto seed = static_cast<std::int32_t>(ReadField(record, offset::kIdent, 4, true));
  const auto ci = static_cast<std::uint16_t>(ReadField(record, offset::kCreateInfo, 2, false));
  const auto index = static_cast<std::int32_t>(ReadField(record, offset::kBaseItem, 4, true));
  const auto goldValue = static_cast<std::int32_t>(ReadField(record, offset::kBaseValue, 4, true));

  // The games whose sources store this creation level; gold and ears keep other things there.
  // A level no source stores is an edit; the rebuild still names what else differs.
  std::uint8_t reachable = games::kAll;
  std::optional<FieldDifference> levelEdit;
  if (index != idi::kGold && index != idi::kEar) {
    const auto sources = SourcesOf(ci);
    const int level = ci & cf::kLevel;
    reachable = GamesReachingLevel(sources, level);
    if (reachable == 0) {
      levelEdit = FieldDifference{"creation level", std::to_string(level), {}, LevelLimitText(sources)};
      reachable = games::kAll;
    }
  }
  SeedVerdict v = Rebuild(record, seed, ci, index, goldValue, reachable, options);
  if (!levelEdit) return v;
  SeedVerdict edited;
  edited.verdict = Verdict::kEdited;
  edited.differences.push_back(*levelEdit);
  if (v.verdict == Verdict::kEdited)
    edited.differences.insert(edited.differences.end(), v.differences.begin(), v.differences.end());
  return edited;
}

namespace {

SeedVerdict Rebuild(const ItemRecord& record, std::int32_t seed, std::uint16_t ci, std::int32_t index,
                    std::int32_t goldValue, std::uint8_t reachable, const CheckOptions& options) {
  // Each game's rebuild is counted first; only the one the verdict names is compared in words.
  struct Attempt {
    GameMode mode;
    std::size_t item;  // in `items`: a game's second mode may share its first mode's rebuild
    Count count;
  };
  std::vector<GeneratedItem> items;
  items.reserve(kModes.size());
  std::vector<Attempt> attempts;
  std::string reason;
  // A game's second mode is rebuilt only where a choice depended on the mode; the shareware
  // game only where the full game rebuilds the item in neither.
  bool modeMatters = true;
  for (const GameMode mode : kModes) {
    if (!(reachable & GameBit(mode))) continue;
    const bool second = mode == GameMode::kMultiplayer || mode == GameMode::kSharewareMultiplayer;
    const GameMode first = mode == GameMode::kMultiplayer ? GameMode::kSinglePlayer : GameMode::kShareware;
    if (second && !modeMatters) {
      const auto same =
          std::find_if(attempts.begin(), attempts.end(), [&](const Attempt& a) { return a.mode == first; });
      if (same != attempts.end()) {
        attempts.push_back({mode, same->item, same->count});
        continue;
      }
    }
    if (mode == GameMode::kShareware &&
        std::any_of(attempts.begin(), attempts.end(), [](const Attempt& a) { return a.count.genuine(); }))
      break;
    GenerateResult result = GenerateItem(index, ci, seed, mode, goldValue);
    if (!second) modeMatters = result.modeMatters;
    if (!result.item) {
      if (reason.empty()) reason = result.reason;
      continue;
    }
    items.push_back(std::move(*result.item));
    attempts.push_back({mode, items.size() - 1, Compared<Count>(record, items.back())});
  }
  SeedVerdict v;
  if (attempts.empty()) {
    v.verdict = Verdict::kNotReproducible;
    v.reason = reason;
    return v;
  }
  // The games that make the item; named where they are not all that were tried.
  const Attempt* best = nullptr;
  for (const Attempt& a : attempts) {
    if (!a.count.genuine()) continue;
    v.modes.push_back(a.mode);
    if (best == nullptr || a.count.steps < best->count.steps) best = &a;
  }
  if (best != nullptr) {
    // Both modes of the full game make it: no mode decides.
    if (v.modes.size() >= 2 && v.modes[0] == GameMode::kSinglePlayer && v.modes[1] == GameMode::kMultiplayer)
      v.modes.clear();
    v.verdict = Verdict::kGenuine;
    if (best->count.steps > 0) v.playState = Compared<Comparison>(record, items[best->item]).playState;
    const int steps = best->count.steps;
    if (options.maxSteps && steps > *options.maxSteps) {
      v.verdict = Verdict::kEdited;
      v.differences.push_back({"play state",
                               std::to_string(steps) + " steps",
                               {},
                               "at most " + std::to_string(*options.maxSteps) + " allowed"});
    }
    return v;
  }
  best = &attempts.front();
  for (const Attempt& a : attempts)
    if (a.count.differences < best->count.differences) best = &a;
  v.verdict = Verdict::kEdited;
  const Attempt* single = nullptr;
  const Attempt* multi = nullptr;
  for (const Attempt& a : attempts) {
    if (a.mode == GameMode::kSinglePlayer) single = &a;
    if (a.mode == GameMode::kMultiplayer) multi = &a;
  }
  const bool sameInBoth =
      single != nullptr && multi != nullptr && single->count.differences == multi->count.differences;
  if (!sameInBoth || best->mode == GameMode::kShareware || best->mode == GameMode::kSharewareMultiplayer)
    v.modes = {best->mode};
  if (best->count.differences < kManyDifferences) {
    v.differences = Compared<Comparison>(record, items[best->item]).differences;
    return v;
  }

  // Many fields differ: the inputs themselves were changed. Another base index that rebuilds
  // the file exactly names the base index; otherwise the seed does not give this item.
  const std::int64_t fileIndex = index;
  // Where the base index decides the item's type, class and use, only an index of the file's can
  // rebuild it; the others would differ there too, and are not rebuilt.
  const bool seedPicksBase = (ci & cf::kTown) != 0 || (ci & cf::kUseful) == cf::kUseful;
  const std::int64_t fileType = ReadField(record, offset::kItemClass, 4, true);
  const std::int64_t fileClass = ReadField(record, offset::kCategory, 1, true);
  const std::int64_t fileUse = ReadField(record, offset::kUseEffect, 4, true);
  for (std::int32_t other = 0; other < static_cast<std::int32_t>(kGameItemIndexCount); ++other) {
    if (other == index) continue;
    if (!seedPicksBase && other != idi::kGold && other != idi::kEar) {
      const std::optional<BaseKind> kind = BaseKindOf(other, best->mode);
      if (kind && (kind->type != fileType || kind->itemClass != fileClass || kind->use != fileUse)) continue;
    }
    const GenerateResult result = GenerateItem(other, ci, seed, best->mode, goldValue);
    if (!result.item) continue;
    const Count c = Compared<Count>(record, *result.item);
    if (c.differences == 1 && c.firstField == "base item") {
      v.differences = {{"base item", std::to_string(fileIndex), std::to_string(other), {}}};
      return v;
    }
  }
  v.differences = Compared<Comparison>(record, items[best->item]).differences;
  v.differences.insert(v.differences.begin(),
                       {"seed", std::to_string(seed), "a seed that gives these fields", {}});
  return v;
}

}  // namespace

}  // namespace relicor::gen
