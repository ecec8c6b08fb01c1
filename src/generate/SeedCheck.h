#pragma once
// The seed check: rebuilds an item record from its seed, creation info and base item index and
// compares every field the game generates with the record. Before the rebuild it asks whether
// any game's source stores the item's creation level. Play state (position, animation,
// identified, current durability and charges, and the like) is not compared; a maximum
// durability or charge count below the generated one is wear, never an edit. What the game's
// shrines do to an item for good (more maximum durability, damage or armour) is play state,
// counted in the fewest shrine visits that reach the file's value.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "generate/ItemGenerator.h"
#include "item/ItemRecord.h"

namespace relicor::gen {

enum class Verdict : std::uint8_t { kGenuine, kEdited, kNotReproducible, kNotAnItem };

struct FieldDifference {
  std::string field;
  std::string file;
  std::string game;
  std::string note;  // set where the game gives no single value: what it gives instead
};

// A value the game's own play made: the field, both values, how the game reaches the file's
// value and the fewest steps that do.
struct PlayChange {
  std::string field;
  std::string file;
  std::string game;
  std::string how;  // "at least 4 Hidden shrines"
  int steps = 0;
};

struct SeedVerdict {
  Verdict verdict = Verdict::kNotAnItem;
  std::vector<FieldDifference> differences;  // kEdited
  std::vector<PlayChange> playState;         // kGenuine
  std::string reason;                        // kNotReproducible
  // The games that make the item, where only some of them do (empty: every game).
  std::vector<GameMode> modes;
};

struct CheckOptions {
  // More play-state steps than this make an item edited.
  std::optional<int> maxSteps;
};

// The verdict of one 400-byte record (the caller checks the signature and the length).
SeedVerdict CheckRecord(const ItemRecord& record, const CheckOptions& options = {});

}  // namespace relicor::gen
