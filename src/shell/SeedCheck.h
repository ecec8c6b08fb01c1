#pragma once
// The seed verdict of an item file, in the words the keeper reads: "genuine", "edited: FIELD
// file X, game Y; ...", "not reproducible: REASON" or "not an item file".

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "generate/SeedCheck.h"
#include "item/ItemRecord.h"
#include "platform/Result.h"

namespace relicor {

using gen::SeedVerdict;
using gen::Verdict;

// The verdict of a record; one without the "ITM0" signature is not an item file.
SeedVerdict CheckItem(const ItemRecord& record);

SeedVerdict CheckItem(const ItemRecord& record, const gen::CheckOptions& options);

// Reads `path` and checks it. A file shorter than a record is not an item file; a missing or
// unreadable file is an error naming the file and the reason.
Result<SeedVerdict> CheckItemFile(const std::string& path, const gen::CheckOptions& options = {});

// Checks the `count` files pathOf(0), pathOf(1), ... in this order, each as CheckItemFile does,
// while worker threads read the files ahead (the files of one directory in a row share the
// read-ahead): `checked` gets each file's position and its result, in order. The texts pathOf
// gives must stay until the check ends.
using PathOf = std::function<const std::string&(std::size_t)>;
void CheckItemFiles(std::size_t count, const PathOf& pathOf, const gen::CheckOptions& options,
                    const std::function<void(std::size_t, const Result<SeedVerdict>&)>& checked);

// "genuine", "genuine (single player; play state: maximum durability +40, at least 4 Hidden
// shrines)", "edited: price file 13120, game 13119; ...", "edited: creation level 44 (a monster
// drop is made at level 1–30)", "not reproducible: ..." or "not an item file"; the games are
// named where only some of them give the verdict.
std::string VerdictText(const SeedVerdict& verdict);

// "single player", or "shareware single player or shareware multiplayer"; empty for every game.
std::string ModesText(const SeedVerdict& verdict);

// "maximum durability +40, at least 4 Hidden shrines"
std::string PlayChangeText(const gen::PlayChange& change);

// The short form beside the status colour: "Seed check: genuine", "Seed check: edited: price,
// %damage", "Seed check: not reproducible", "Seed check: not an item file".
std::string VerdictSummary(const SeedVerdict& verdict);

// "genuine", "edited", "not-reproducible", "not-an-item".
std::string_view VerdictKey(Verdict verdict);

// The line the text export appends after a report when asked to.
std::string SeedCheckLine(const ItemRecord& record);

}  // namespace relicor
