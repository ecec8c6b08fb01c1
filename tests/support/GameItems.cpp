#include "support/GameItems.h"

#include <algorithm>
#include <iterator>

#include "support/RecordBuilder.h"

namespace relicor::test {
namespace {

constexpr GameList kSinglePlayer = GameList::kSinglePlayer;
constexpr GameList kSpawn = GameList::kSpawn;
constexpr GameList kMultiplayer = GameList::kMultiplayer;

// clang-format off
// Columns: list, seed, create info, base item, identified, durability, max durability, charges,
// max charges (packed); name, unidentified name, quality, type, category, location, cursor, value,
// base value, min damage, max damage, armour class, flags, misc id, spell, charges, max charges,
// durability, max durability, % damage, % to hit, % armour, strength, magic, dexterity, vitality,
// fire, lightning and magic resistance, mana, hit points (1/64), damage, damage from enemies, light,
// spell levels, unique id, fire min/max, lightning min/max, prefix power, suffix power, price
// parts (add, multiply) of the first and second affix, required strength, magic, dexterity.
//
// Taken from 1.09 where the reference set differs: the Sorcerer's starting staff is priced 520
// and needs 20 magic (its base item's values), the Long War Bow shows cursor 119, fire arrows set
// only their own effect bit (0x08), the Grandfather is one-handed (its power moves it), and a
// magic item's name holds the base item's full name only when the whole name fits the game's
// panel (below 125 pixels in its small font), else its short name ("Brutal Sword of gore", not
// "Brutal Long Sword of gore").
//
// The price parts are what the game stores for each power: the fixed part plus the roll's share
// of the range, or the range's one value when it has one (a curse adds 0, corruption -1000); a
// second power takes the second slot only when the first holds something. Every item's price is
// the game's formula over them.
// Converted by tools/convert-pack-items.py from DevilutionX revision 234606ad9db8a9540256c0a953c09f4e1eeecd76 and 1.09 revision 9f01757243412bb154d02d9af65c804159e6e0ea.
const GameItem kGameItems[] = {
    {kSinglePlayer, 2082213289, 281, 53, 1, 60, 60, 0, 0, "Amber Helm of harmony", "Great Helm", 1, 7, 2, 4, 98, 21100, 400, 0, 0, 11, 0x00800000u, 0, 0, 0, 0, 60, 60, 0, 0, 0, 0, 0, 0, 0, 18, 18, 18, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 11, 59, 8700, 3, 8000, 8, 50, 0, 0},
    {kSinglePlayer, 338833725, 280, 154, 1, 0, 0, 0, 0, "Cobalt Amulet of giants", "Amulet", 1, 13, 3, 6, 45, 26840, 1200, 0, 0, 0, 0x00000000u, 26, 0, 0, 0, 0, 0, 0, 0, 0, 19, 0, 0, 0, 0, 46, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9, 19, 10290, 3, 4550, 7, 0, 0, 0},
    {kSinglePlayer, 545145866, 282, 120, 1, 38, 40, 0, 0, "Brutal Sword of gore", "Long Sword", 1, 1, 1, 1, 60, 13119, 350, 2, 10, 0, 0x00000000u, 0, 0, 0, 0, 38, 40, 91, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 12, 0, 0, 0, 0, 0, 0, 0, 0, 2, 61, 1819, 10, 5000, 8, 30, 0, 30},
    {kSinglePlayer, 1504248345, 858, 70, 1, 255, 255, 0, 0, "Demonspike Coat", "Full Plate Mail", 2, 9, 2, 3, 151, 251175, 6500, 0, 0, 100, 0x00000000u, 0, 0, 0, 0, 255, 255, 0, 0, 0, 10, 0, 0, 0, 50, 0, 0, 0, 0, 0, -6, 0, 0, 78, 0, 0, 0, 0, -1, -1, 0, 1, 0, 1, 90, 0, 0},
    {kSinglePlayer, 1884424756, 326, 151, 1, 0, 0, 0, 0, "Steel Ring of the jaguar", "Ring", 1, 12, 3, 5, 12, 10600, 1000, 0, 0, 0, 0x00000000u, 25, 0, 0, 0, 0, 0, 0, 15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1024, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 31, 1500, 5, 1100, 3, 0, 0, 0},
    {kSinglePlayer, 1712759905, 220, 151, 1, 0, 0, 0, 0, "Ring of the heavens", "Ring", 1, 12, 3, 5, 12, 37552, 1000, 0, 0, 0, 0x00000000u, 25, 0, 0, 0, 0, 0, 0, 0, 0, 14, 14, 14, 14, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 27, 17552, 20, 0, 0, 0, 0, 0},
    {kSinglePlayer, 981777658, 286, 153, 0, 0, 0, 0, 0, "Ring of sorcery", "Ring", 1, 12, 3, 5, 12, 10200, 1000, 0, 0, 0, 0x00000000u, 25, 0, 0, 0, 0, 0, 0, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 21, 3200, 7, 0, 0, 0, 0, 0},
    {kSinglePlayer, 844854815, 282, 75, 1, 255, 255, 0, 0, "Shield of the ages", "Tower Shield", 1, 5, 2, 1, 132, 4850, 850, 0, 0, 18, 0x00000000u, 0, 0, 0, 0, 255, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 37, 600, 5, 0, 0, 60, 0, 0},
    {kSinglePlayer, 1151513535, 286, 73, 0, 12, 32, 0, 0, "Sapphire Shield", "Large Shield", 1, 5, 2, 1, 147, 21000, 200, 0, 0, 7, 0x00000000u, 0, 0, 0, 0, 12, 32, 0, 0, 0, 0, 0, 0, 0, 0, 60, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9, -1, 20000, 5, 0, 0, 40, 0, 0},
    {kSinglePlayer, 640243885, 6, 27, 0, 0, 0, 0, 0, "Scroll of Town Portal", "Scroll of Town Portal", 0, 0, 3, 7, 1, 200, 200, 0, 0, 0, 0x00000000u, 21, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 0, 0},
    {kSinglePlayer, 741806938, 9, 25, 0, 0, 0, 0, 0, "Potion of Mana", "Potion of Mana", 0, 0, 3, 7, 39, 50, 50, 0, 0, 0, 0x00000000u, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 0, 0},
    {kSinglePlayer, 1456608333, 257, 79, 0, 0, 0, 0, 0, "Potion of Mana", "Potion of Mana", 0, 0, 3, 7, 39, 50, 50, 0, 0, 0, 0x00000000u, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 0, 0},
    {kSinglePlayer, 554676945, 16, 30, 0, 0, 0, 0, 0, "Potion of Full Mana", "Potion of Full Mana", 0, 0, 3, 7, 0, 150, 150, 0, 0, 0, 0x00000000u, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 0, 0},
    {kSinglePlayer, 355389938, 0, 24, 0, 0, 0, 0, 0, "Potion of Healing", "Potion of Healing", 0, 0, 3, 7, 32, 50, 50, 0, 0, 0, 0x00000000u, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 0, 0},
    {kSinglePlayer, 868435486, 16, 29, 0, 0, 0, 0, 0, "Potion of Full Healing", "Potion of Full Healing", 0, 0, 3, 7, 35, 150, 150, 0, 0, 0, 0x00000000u, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 0, 0},
    {kSinglePlayer, 1372832903, 0, 4, 0, 30, 30, 0, 0, "Short Bow", "Short Bow", 0, 3, 1, 2, 118, 100, 100, 1, 4, 0, 0x00000000u, 0, 0, 0, 0, 30, 30, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 0, 0},
    {kSinglePlayer, 896239556, 2068, 53, 1, 56, 60, 0, 0, "Jade Helm of the wolf", "Great Helm", 1, 7, 2, 4, 98, 22310, 400, 0, 0, 14, 0x00000000u, 0, 0, 0, 0, 56, 60, 0, 0, 0, 0, 0, 0, 0, 27, 27, 27, 0, 2112, 0, 0, 0, 0, 0, 0, 0, 0, 0, 11, 31, 13640, 3, 4670, 7, 50, 0, 0},
    {kSinglePlayer, 1286225254, 269, 151, 1, 0, 0, 0, 0, "Steel Ring of accuracy", "Ring", 1, 12, 3, 5, 12, 13400, 1000, 0, 0, 0, 0x00000000u, 25, 0, 0, 0, 0, 0, 0, 14, 0, 0, 0, 15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 23, 1400, 5, 3000, 4, 0, 0, 0},
    {kSinglePlayer, 548642293, 266, 21, 0, 0, 0, 0, 0, "Blood Stone", "Blood Stone", 0, 0, 5, 7, 25, 0, 0, 0, 0, 0, 0x00000000u, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 0, 0},
    {kSinglePlayer, 307669016, 270, 151, 1, 0, 0, 0, 0, "Ring of power", "Ring", 1, 12, 3, 5, 12, 6400, 1000, 0, 0, 0, 0x00000000u, 25, 0, 0, 0, 0, 0, 0, 0, 0, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 19, 2400, 4, 0, 0, 0, 0, 0},
    {kSinglePlayer, 204766888, 332, 154, 1, 0, 0, 0, 0, "Gold Amulet of accuracy", "Amulet", 1, 13, 3, 6, 45, 20896, 1200, 0, 0, 0, 0x00000000u, 26, 0, 0, 0, 0, 0, 0, 25, 0, 0, 0, 14, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 23, 2496, 9, 2800, 4, 0, 0, 0},
    {kSinglePlayer, 1642744332, 273, 122, 1, 25, 60, 0, 0, "Sword of the bat", "Bastard Sword", 1, 1, 1, 1, 57, 10500, 1000, 6, 15, 0, 0x00002000u, 0, 0, 0, 0, 25, 60, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 55, 7500, 3, 0, 0, 50, 0, 0},
    {kSinglePlayer, 1031508271, 1036, 72, 0, 14, 24, 0, 0, "Small Shield", "Small Shield", 0, 5, 2, 1, 105, 90, 90, 0, 0, 3, 0x00000000u, 0, 0, 0, 0, 14, 24, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 25, 0, 0},
    {kSinglePlayer, 1384620228, 338, 65, 1, 44, 80, 0, 0, "Plate of giants", "Breast Plate", 1, 9, 2, 3, 153, 23250, 2800, 0, 0, 20, 0x00000000u, 0, 0, 0, 0, 44, 80, 0, 0, 0, 17, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 19, 3650, 7, 0, 0, 40, 0, 0},
    {kSinglePlayer, 681296530, 266, 87, 0, 0, 0, 0, 0, "Scroll of Healing", "Scroll of Healing", 0, 0, 3, 7, 1, 50, 50, 0, 0, 0, 0x00000000u, 21, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 0, 0},
    {kSinglePlayer, 109984285, 16390, 81, 0, 0, 0, 0, 0, "Potion of Rejuvenation", "Potion of Rejuvenation", 0, 0, 3, 7, 37, 120, 120, 0, 0, 0, 0x00000000u, 18, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 0, 0},
    {kSinglePlayer, 1857753366, 260, 81, 0, 0, 0, 0, 0, "Potion of Rejuvenation", "Potion of Rejuvenation", 0, 0, 3, 7, 37, 120, 120, 0, 0, 0, 0x00000000u, 18, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 0, 0},
    {kSinglePlayer, 965103261, 273, 82, 0, 0, 0, 0, 0, "Potion of Full Rejuvenation", "Potion of Full Rejuvenation", 0, 0, 3, 7, 33, 600, 600, 0, 0, 0, 0x00000000u, 19, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 0, 0},
    {kSinglePlayer, 430621075, 217, 141, 1, 45, 45, 0, 0, "Savage Bow of perfection", "Composite Bow", 1, 3, 1, 2, 133, 23438, 600, 3, 6, 0, 0x00000000u, 0, 0, 0, 0, 45, 45, 117, 0, 0, 0, 0, 22, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 23, 2710, 15, 5728, 10, 25, 0, 40},
    {kSinglePlayer, 1272669062, 258, 115, 0, 10, 20, 0, 0, "Falchion", "Falchion", 0, 1, 1, 1, 62, 250, 250, 4, 8, 0, 0x00000000u, 0, 0, 0, 0, 10, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 30, 0, 0},
    {kSinglePlayer, 1133884051, 278, 120, 0, 18, 40, 0, 0, "Sword of vim", "Long Sword", 1, 1, 1, 1, 60, 4400, 350, 2, 10, 0, 0x00000000u, 0, 0, 0, 0, 18, 40, 0, 0, 0, 0, 0, 0, 15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 25, 3000, 4, 0, 0, 30, 0, 30},
    {kSinglePlayer, 1743897351, 259, 146, 0, 10, 25, 60, 60, "Frog's Staff of Holy Bolt", "Staff of Holy Bolt", 1, 10, 1, 2, 109, 1, 630, 2, 4, 0, 0x00000000u, 23, 31, 60, 60, 10, 25, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -384, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 34, -1, 0, -2, 0, 0, 0, 20, 0},
    {kSinglePlayer, 429107209, 0, 5, 0, 25, 25, 9, 40, "Short Staff of Charged Bolt", "Short Staff of Charged Bolt", 0, 10, 1, 2, 109, 520, 520, 2, 4, 0, 0x00000000u, 23, 30, 9, 40, 25, 25, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 20, 0},
    {kSinglePlayer, 466015738, 257, 146, 0, 18, 25, 50, 50, "Staff of Charged Bolt", "Staff of Charged Bolt", 0, 10, 1, 2, 109, 1, 530, 2, 4, 0, 0x00000000u, 23, 30, 50, 50, 18, 25, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 25, 0},
    {kSinglePlayer, 686949358, 193, 48, 1, 12, 15, 0, 0, "Cap of the mind", "Cap", 1, 7, 2, 4, 91, 1845, 15, 0, 0, 2, 0x00000000u, 0, 0, 0, 0, 12, 15, 0, 0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 21, 1800, 3, 0, 0, 0, 0, 0},
    {kSinglePlayer, 888855755, 195, 58, 1, 30, 30, 0, 0, "Armor of protection", "Quilted Armor", 1, 6, 2, 3, 129, 1200, 200, 0, 0, 7, 0x00000000u, 0, 0, 0, 0, 30, 30, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -2, 0, 0, 0, 0, 0, 0, 0, -1, 30, 400, 4, 0, 0, 0, 0, 0},
    {kSinglePlayer, 2, 776, 8, 1, 0, 0, 0, 0, "Empyrean Band", "Empyrean Band", 2, 12, 3, 5, 18, 8000, 8000, 0, 0, 0, 0x10200000u, 27, 0, 0, 0, 0, 0, 0, 0, 0, 2, 2, 2, 2, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 0, 0, 0, -1, -1, 0, 1, 0, 1, 0, 0, 0},
    {kSinglePlayer, 3, 776, 10, 1, 0, 0, 0, 0, "Optic Amulet", "Optic Amulet", 2, 13, 3, 6, 44, 9750, 5000, 0, 0, 0, 0x00000000u, 27, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0, 20, 0, 0, 0, 0, -1, 2, 0, 3, 0, 0, 0, 0, -1, -1, 0, 1, 0, 1, 0, 0, 0},
    {kSinglePlayer, 4, 772, 11, 1, 0, 0, 0, 0, "Ring of Truth", "Ring of Truth", 2, 12, 3, 5, 10, 9100, 1000, 0, 0, 0, 0x00000000u, 27, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 10, 10, 0, 640, 0, -1, 0, 0, 4, 0, 0, 0, 0, -1, -1, 0, 1, 0, 1, 0, 0, 0},
    {kSinglePlayer, 5, 776, 13, 1, 15, 15, 0, 0, "Harlequin Crest", "Harlequin Crest", 2, 7, 2, 4, 81, 4000, 15, 0, 0, -3, 0x00000000u, 27, 0, 0, 0, 15, 15, 0, 0, 0, 2, 2, 2, 2, 0, 0, 0, 448, 448, 0, -1, 0, 0, 5, 0, 0, 0, 0, -1, -1, 0, 1, 0, 1, 0, 0, 0},
    {kSinglePlayer, 6, 527, 14, 1, 60, 60, 0, 0, "Veil of Steel", "Veil of Steel", 2, 7, 2, 4, 85, 63800, 0, 0, 0, 18, 0x00000000u, 27, 0, 0, 0, 60, 60, 0, 0, 60, 15, 0, 0, 15, 50, 50, 50, -1920, 0, 0, 0, -2, 0, 6, 0, 0, 0, 0, -1, -1, 0, 1, 0, 1, 0, 0, 0},
    {kSinglePlayer, 7, 781, 28, 1, 39, 40, 0, 0, "Arkaine's Valor", "Arkaine's Valor", 2, 8, 2, 3, 157, 42000, 0, 0, 0, 25, 0x00800000u, 27, 0, 0, 0, 39, 40, 0, 0, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0, 0, -3, 0, 0, 7, 0, 0, 0, 0, -1, -1, 0, 1, 0, 1, 0, 0, 0},
    {kSinglePlayer, 8, 787, 31, 1, 42, 44, 0, 0, "Griswold's Edge", "Griswold's Edge", 2, 1, 1, 1, 61, 42000, 750, 4, 12, 0, 0x00040810u, 27, 0, 0, 0, 42, 44, 0, 25, 0, 0, 0, 0, 0, 0, 0, 0, 1280, -1280, 0, 0, 0, 0, 8, 1, 10, 0, 0, -1, -1, 0, 1, 0, 1, 40, 0, 0},
    {kSinglePlayer, 557339094, 8208, 150, 1, 75, 75, 0, 0, "Staff of haste", "War Staff", 1, 10, 1, 2, 124, 40000, 1500, 8, 16, 0, 0x00100000u, 23, 0, 0, 0, 75, 75, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 58, 16000, 16, 0, 0, 30, 0, 0},
    {kSinglePlayer, 1684844665, 8208, 150, 1, 75, 75, 56, 56, "White Staff of Lightning", "Staff of Lightning", 1, 10, 1, 2, 124, 7160, 3180, 8, 16, 0, 0x00000000u, 23, 3, 56, 56, 75, 75, 0, 0, 0, 0, 0, 0, 0, 0, 0, 13, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, -1, 800, 2, 0, 0, 30, 20, 0},
    {kSinglePlayer, 1297052552, 2074, 137, 1, 50, 50, 0, 0, "Lightning Maul", "Maul", 1, 4, 1, 2, 122, 11800, 900, 6, 20, 0, 0x00000020u, 0, 0, 0, 0, 50, 50, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 20, 17, -1, 10000, 2, 0, 0, 55, 0, 0},
    {kSinglePlayer, 981895960, 2073, 130, 1, 75, 75, 0, 0, "Ivory Axe of blood", "Great Axe", 1, 2, 1, 2, 143, 31194, 2500, 12, 30, 0, 0x00010000u, 0, 0, 0, 0, 75, 75, 0, 0, 0, 0, 0, 0, 0, 0, 0, 37, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 56, 3694, 2, 15000, 3, 80, 0, 0},
    {kSinglePlayer, 935416728, 2070, 52, 1, 18, 40, 0, 0, "Jade Crown of vim", "Crown", 1, 7, 2, 4, 95, 19200, 200, 0, 0, 10, 0x00000000u, 0, 0, 0, 0, 18, 40, 0, 0, 0, 0, 0, 0, 14, 30, 30, 30, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 11, 25, 15000, 3, 2800, 4, 0, 0, 0},
    {kSinglePlayer, 1140525626, 257, 138, 1, 16, 30, 0, 0, "Bow of atrophy", "Short Bow", 1, 3, 1, 2, 118, 1, 100, 1, 4, 0, 0x00000000u, 0, 0, 0, 0, 16, 30, 0, 0, 0, 0, 0, -5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 24, 0, -2, 0, 0, 0, 0, 0},
    {kSinglePlayer, 1187758333, 258, 113, 1, 11, 16, 0, 0, "Brass Dagger of weakness", "Dagger", 1, 1, 1, 1, 51, 1, 60, 1, 4, 0, 0x00000000u, 0, 0, 0, 0, 11, 16, 0, -1, 0, -5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 20, 0, -2, 0, -2, 0, 0, 0},
    {kSinglePlayer, 1283803700, 267, 138, 1, 16, 30, 0, 0, "Clumsy Bow", "Short Bow", 1, 3, 1, 2, 118, 1, 100, 1, 4, 0, 0x00000000u, 0, 0, 0, 0, 16, 30, -67, -8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, -1, 0, -7, 0, 0, 0, 0, 0},
    {kSinglePlayer, 1317748726, 261, 114, 1, 17, 24, 0, 0, "Tin Sword of the fool", "Short Sword", 1, 1, 1, 1, 64, 1, 120, 2, 6, 0, 0x00000000u, 0, 0, 0, 0, 17, 24, 0, -7, 0, 0, -9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 22, 0, -3, 0, -3, 18, 0, 0},
    {kSinglePlayer, 1331764286, 261, 135, 1, 6, 20, 0, 0, "Club of paralysis", "Club", 1, 4, 1, 1, 66, 1, 20, 1, 6, 0, 0x00000000u, 0, 0, 0, 0, 6, 20, 0, 0, 0, 0, 0, -9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 24, 0, -3, 0, 0, 0, 0, 0},
    {kSinglePlayer, 1375639122, 269, 146, 1, 18, 25, 46, 46, "Dull Staff of Lightning", "Staff of Lightning", 1, 10, 1, 2, 109, 1, 1410, 2, 4, 0, 0x00000000u, 23, 3, 46, 46, 18, 25, -28, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, -1, 0, -5, 0, 0, 0, 20, 0},
    {kSinglePlayer, 145523894, 277, 115, 1, 6, 20, 0, 0, "Sword of speed", "Falchion", 1, 1, 1, 1, 62, 10000, 250, 4, 8, 0, 0x00080000u, 0, 0, 0, 0, 6, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 58, 8000, 8, 0, 0, 30, 0, 0},
    {kSinglePlayer, 1527777846, 259, 115, 1, 14, 20, 0, 0, "Bent Falchion", "Falchion", 1, 1, 1, 1, 62, 1, 250, 4, 8, 0, 0x00000000u, 0, 0, 0, 0, 14, 20, -68, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, -1, 0, -4, 0, 0, 30, 0, 0},
    {kSinglePlayer, 1655088363, 288, 146, 1, 13, 25, 98, 98, "Plentiful Staff of Firebolt", "Staff of Firebolt", 1, 10, 1, 2, 109, 3040, 520, 2, 4, 0, 0x00000000u, 23, 1, 98, 98, 13, 25, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 15, -1, 2000, 2, 0, 0, 0, 15, 0},
    {kSinglePlayer, 1679472538, 263, 113, 1, 6, 16, 0, 0, "Dagger of illness", "Dagger", 1, 1, 1, 1, 51, 1, 60, 1, 4, 0, 0x00000000u, 0, 0, 0, 0, 6, 16, 0, 0, 0, 0, 0, 0, -8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 26, 0, -3, 0, 0, 0, 0, 0},
    {kSinglePlayer, 1812092773, 264, 54, 1, 4, 12, 0, 0, "Cape of corruption", "Cape", 1, 6, 2, 3, 150, 1, 10, 0, 0, 3, 0x08000000u, 0, 0, 0, 0, 4, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 46, -1000, 2, 0, 0, 0, 0, 0},
    {kSinglePlayer, 1965885799, 278, 119, 1, 33, 45, 0, 0, "Sabre of trouble", "Sabre", 1, 1, 1, 1, 67, 1, 170, 1, 8, 0, 0x00000000u, 0, 0, 0, 0, 33, 45, 0, 0, 0, -6, -6, -6, -6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 28, 0, -10, 0, 0, 17, 0, 0},
    {kSinglePlayer, 1970135469, 258, 48, 1, 5, 15, 0, 0, "Cap of tears", "Cap", 1, 7, 2, 4, 91, 1, 15, 0, 0, 2, 0x00000000u, 0, 0, 0, 0, 5, 15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, -1, 29, 0, -2, 0, 0, 0, 0, 0},
    {kSinglePlayer, 1979635474, 261, 135, 1, 14, 20, 0, 0, "Tin Club", "Club", 1, 4, 1, 1, 66, 1, 20, 1, 6, 0, 0x00000000u, 0, 0, 0, 0, 14, 20, 0, -8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, -1, 0, -3, 0, 0, 0, 0, 0},
    {kSinglePlayer, 2008721689, 258, 54, 1, 9, 12, 0, 0, "Rusted Cape of dyslexia", "Cape", 1, 6, 2, 3, 150, 1, 10, 0, 0, 2, 0x00000000u, 0, 0, 0, 0, 9, 12, 0, 0, -34, 0, -4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 22, 0, -2, 0, -2, 0, 0, 0},
    {kSinglePlayer, 2082373839, 262, 48, 1, 10, 15, 0, 0, "Cap of pain", "Cap", 1, 7, 2, 4, 91, 1, 15, 0, 0, 2, 0x00000000u, 0, 0, 0, 0, 10, 15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, -1, 29, 0, -4, 0, 0, 0, 0, 0},
    {kSinglePlayer, 278391972, 263, 119, 1, 1, 1, 0, 0, "Clumsy Sabre of fragility", "Sabre", 1, 1, 1, 1, 67, 1, 170, 1, 8, 0, 0x00000000u, 0, 0, 0, 0, 1, 1, -75, -10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 36, 0, -7, 0, -4, 17, 0, 0},
    {kSinglePlayer, 283130709, 260, 48, 1, 5, 15, 0, 0, "Vulnerable Cap of health", "Cap", 1, 7, 2, 4, 91, 185, 15, 0, 0, 1, 0x00000000u, 0, 0, 0, 0, 5, 15, 0, 0, -63, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 0, 0, 0, 0, 0, 0, 0, 7, 30, 0, -3, 200, 2, 0, 0, 0},
    {kSinglePlayer, 308974695, 264, 113, 1, 5, 16, 0, 0, "Useless Dagger", "Dagger", 1, 1, 1, 1, 51, 1, 60, 1, 4, 0, 0x00000000u, 0, 0, 0, 0, 5, 16, -100, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, -1, 0, -8, 0, 0, 0, 0, 0},
    {kSinglePlayer, 588501657, 300, 146, 1, 17, 25, 36, 36, "Bountiful Staff of Fire Wall", "Staff of Fire Wall", 1, 10, 1, 2, 109, 5970, 990, 2, 4, 0, 0x00000000u, 23, 6, 36, 36, 17, 25, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 15, -1, 3000, 3, 0, 0, 0, 27, 0},
    {kSinglePlayer, 640482348, 259, 131, 1, 22, 32, 0, 0, "Mace of frailty", "Mace", 1, 4, 1, 1, 59, 1, 200, 1, 8, 0, 0x00000000u, 0, 0, 0, 0, 22, 32, 0, 0, 0, -7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 20, 0, -3, 0, 0, 16, 0, 0},
    {kSinglePlayer, 715324531, 258, 138, 1, 20, 30, 0, 0, "Weak Bow", "Short Bow", 1, 3, 1, 2, 118, 1, 100, 1, 4, 0, 0x00000000u, 0, 0, 0, 0, 20, 30, -44, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, -1, 0, -3, 0, 0, 0, 0, 0},
    {kSinglePlayer, 794222370, 259, 146, 1, 12, 25, 0, 0, "Staff of readiness", "Short Staff", 1, 10, 1, 2, 109, 2060, 30, 2, 4, 0, 0x00020000u, 23, 0, 0, 0, 12, 25, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 58, 2000, 2, 0, 0, 0, 0, 0},
    {kSinglePlayer, 49304273, 6, 24, 0, 0, 0, 0, 0, "Potion of Healing", "Potion of Healing", 0, 0, 3, 7, 32, 50, 50, 0, 0, 0, 0x00000000u, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 0, 0},
    {kSinglePlayer, 1015622844, 6, 29, 0, 0, 0, 0, 0, "Potion of Full Healing", "Potion of Full Healing", 0, 0, 3, 7, 35, 150, 150, 0, 0, 0, 0x00000000u, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 0, 0},
    {kSinglePlayer, 376595272, 6, 25, 0, 0, 0, 0, 0, "Potion of Mana", "Potion of Mana", 0, 0, 3, 7, 39, 50, 50, 0, 0, 0, 0x00000000u, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 0, 0},
    {kSinglePlayer, 1354859033, 6, 30, 0, 0, 0, 0, 0, "Potion of Full Mana", "Potion of Full Mana", 0, 0, 3, 7, 0, 150, 150, 0, 0, 0, 0x00000000u, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 0, 0},
    {kSinglePlayer, 2088923858, 6, 27, 0, 0, 0, 0, 0, "Scroll of Town Portal", "Scroll of Town Portal", 0, 0, 3, 7, 1, 200, 200, 0, 0, 0, 0x00000000u, 21, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 0, 0},
    {kSinglePlayer, 998169832, 769, 138, 1, 30, 30, 0, 0, "The Rift Bow", "Short Bow", 2, 3, 1, 2, 118, 1800, 100, 1, 4, 0, 0x00000004u, 0, 0, 0, 0, 30, 30, 0, 0, 0, 0, 0, -3, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 10, 0, 0, 0, 0, -1, -1, 0, 1, 0, 1, 0, 0, 0},
    {kSinglePlayer, 583181782, 734, 124, 1, 100, 100, 0, 0, "The Grandfather", "Great Sword", 2, 1, 1, 1, 161, 119800, 3000, 10, 20, 0, 0x00000000u, 0, 0, 0, 0, 100, 100, 70, 20, 0, 5, 5, 5, 5, 0, 0, 0, 0, 1280, 0, 0, 0, 0, 35, 0, 0, 0, 0, -1, -1, 0, 1, 0, 1, 75, 0, 0},
    {kSinglePlayer, 1488997713, 257, 76, 1, 17, 60, 0, 0, "Shield of thorns", "Gothic Shield", 1, 5, 2, 1, 148, 5100, 2300, 0, 0, 18, 0x04000000u, 0, 0, 0, 0, 17, 60, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 45, 500, 2, 0, 0, 80, 0, 0},
    {kSinglePlayer, 2140415407, 723, 67, 1, 75, 75, 0, 0, "Naj's Light Plate", "Plate Mail", 2, 9, 2, 3, 159, 78700, 4600, 0, 0, 50, 0x00000000u, 0, 0, 0, 0, 75, 75, 0, 0, 0, 0, 5, 0, 0, 20, 20, 20, 1280, 0, 0, 0, 0, 1, 77, 0, 0, 0, 0, -1, -1, 0, 1, 0, 1, 0, 0, 0},
    {kSinglePlayer, 601465140, 777, 151, 1, 0, 0, 0, 0, "Constricting Ring", "Ring", 2, 12, 3, 5, 14, 62000, 1000, 0, 0, 0, 0x00000040u, 25, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 75, 75, 75, 0, 0, 0, 0, 0, 0, 88, 0, 0, 0, 0, -1, -1, 0, 1, 0, 1, 0, 0, 0},
    {kSinglePlayer, 1154984294, 728, 53, 1, 60, 60, 0, 0, "Gotterdamerung", "Great Helm", 2, 7, 2, 4, 85, 54900, 400, 0, 0, 60, 0x80000000u, 0, 0, 0, 0, 60, 60, 0, 0, 0, 20, 20, 20, 20, 0, 0, 0, 0, 0, 0, -4, -4, 0, 67, 0, 0, 0, 0, -1, -1, 0, 1, 0, 1, 50, 0, 0},
    {kSinglePlayer, 951404319, 220, 122, 1, 32, 60, 0, 0, "King's Sword", "Bastard Sword", 1, 1, 1, 1, 57, 69730, 1000, 6, 15, 0, 0x00000000u, 0, 0, 0, 0, 32, 60, 168, 95, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, -1, 31730, 38, 0, 0, 50, 0, 0},
    {kSinglePlayer, 1452181783, 4134, 135, 1, 60, 60, 0, 0, "Champion's Club of gore", "Club", 1, 4, 1, 1, 66, 25576, 20, 1, 6, 0, 0x00000000u, 0, 0, 0, 0, 60, 60, 141, 75, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0, 0, 4, 61, 20656, 33, 4100, 8, 0, 0, 0},
    {kSinglePlayer, 846169922, 2077, 136, 1, 60, 60, 0, 0, "Master's Flail", "Flail", 1, 4, 1, 1, 131, 27340, 500, 2, 12, 0, 0x00000000u, 0, 0, 0, 0, 60, 60, 123, 44, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, -1, 12340, 30, 0, 0, 30, 0, 0},
    {kSinglePlayer, 18974604, 2078, 121, 1, 60, 60, 0, 0, "Knight's Sword", "Broad Sword", 1, 1, 1, 1, 61, 27597, 750, 4, 12, 0, 0x00000000u, 0, 0, 0, 0, 60, 60, 108, 37, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, -1, 8097, 26, 0, 0, 40, 0, 0},
    {kSinglePlayer, 1535190647, 284, 115, 1, 13, 20, 0, 0, "Lord's Sword of precision", "Falchion", 1, 1, 1, 1, 62, 17025, 250, 4, 8, 0, 0x00000000u, 0, 0, 0, 0, 13, 20, 88, 23, 0, 0, 0, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 23, 5025, 21, 5000, 7, 30, 0, 0},
    {kSinglePlayer, 300540323, 286, 122, 1, 60, 60, 0, 0, "Soldier's Sword of vigor", "Bastard Sword", 1, 1, 1, 1, 57, 31600, 1000, 6, 15, 0, 0x00000000u, 0, 0, 0, 0, 60, 60, 66, 19, 0, 0, 0, 0, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 25, 2600, 17, 5000, 7, 50, 0, 0},
    {kSinglePlayer, 1813930929, 266, 140, 1, 35, 35, 0, 0, "Fine Bow of the pit", "Long Bow", 1, 3, 1, 2, 102, 2152, 250, 1, 6, 0, 0x00000000u, 0, 0, 0, 0, 35, 35, 49, 10, 0, -2, -2, -2, -2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 28, 1652, 7, 0, -5, 25, 0, 30},
    {kSinglePlayer, 733908617, 257, 120, 1, 24, 40, 0, 0, "Sharp Sword of atrophy", "Long Sword", 1, 1, 1, 1, 60, 1958, 350, 2, 10, 0, 0x00000000u, 0, 0, 0, 0, 24, 40, 34, 4, 0, 0, 0, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 24, 908, 5, 0, -2, 30, 0, 30},
    {kSinglePlayer, 1158010141, 319, 145, 1, 60, 60, 0, 0, "Emerald Bow of burning", "Long War Bow", 1, 3, 1, 2, 119, 107000, 2000, 1, 14, 0, 0x00000008u, 0, 0, 0, 0, 60, 60, 0, 0, 0, 0, 0, 0, 0, 50, 50, 50, 0, 0, 0, 0, 0, 0, 0, 1, 16, 0, 0, 11, 42, 75000, 7, 6000, 6, 45, 0, 80},
    {kSpawn, 2060036013, 257, 146, 0, 11, 25, 50, 50, "Staff of Firebolt", "Staff of Firebolt", 0, 10, 1, 2, 109, 1, 530, 2, 4, 0, 0x00000000u, 23, 1, 50, 50, 11, 25, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 15, 0},
    {kSpawn, 81574809, 258, 109, 0, 0, 0, 0, 0, "Book of Holy Bolt", "Book of Holy Bolt", 0, 0, 3, 7, 86, 1000, 1000, 0, 0, 0, 0x00000000u, 24, 31, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 20, 0},
    {kMultiplayer, 309674341, 193, 109, 0, 0, 0, 0, 0, "Book of Firebolt", "Book of Firebolt", 0, 0, 3, 7, 87, 1000, 1000, 0, 0, 0, 0x00000000u, 24, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 15, 0},
    {kMultiplayer, 1291471654, 6, 34, 0, 0, 0, 0, 0, "Scroll of Resurrect", "Scroll of Resurrect", 0, 0, 3, 7, 1, 250, 250, 0, 0, 0, 0x00000000u, 22, 32, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 0, 0},
    {kMultiplayer, 1580941742, 385, 24, 0, 0, 0, 0, 0, "Potion of Healing", "Potion of Healing", 0, 0, 3, 7, 32, 50, 50, 0, 0, 0, 0x00000000u, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 0, 0},
    {kMultiplayer, 467997257, 388, 27, 0, 0, 0, 0, 0, "Scroll of Town Portal", "Scroll of Town Portal", 0, 0, 3, 7, 1, 200, 200, 0, 0, 0, 0x00000000u, 21, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 0, 0},
    {kMultiplayer, 796933756, 385, 25, 0, 0, 0, 0, 0, "Potion of Mana", "Potion of Mana", 0, 0, 3, 7, 39, 50, 50, 0, 0, 0, 0x00000000u, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 0, 0},
};
// clang-format on

std::uint8_t Low(std::int32_t v) {
  return static_cast<std::uint8_t>(v & 0xFF);
}

}  // namespace

std::span<const GameItem> GameItems() {
  return {std::begin(kGameItems), std::end(kGameItems)};
}

ItemRecord GameItemRecord(const GameItem& item) {
  RecordBuilder b;
  b.i32(offset::kIdent, static_cast<std::int32_t>(item.seed))
      .createInfoWord(item.createInfo)
      .i32(offset::kItemClass, item.type)
      .i32(offset::kIdentified, item.identified)
      .magical(Low(item.quality))
      .plainName(item.plainName)
      .name(item.name)
      .location(Low(item.location))
      .category(Low(item.category))
      .cursor(item.cursor)
      .baseValue(item.baseValue)
      .i32(offset::kPrice, item.value)
      .i32(offset::kMinDamage, item.minDamage)
      .i32(offset::kMaxDamage, item.maxDamage)
      .i32(offset::kArmorClass, item.armorClass)
      .effectFlags(item.flags)
      .i32(offset::kUseEffect, item.miscId)
      .i32(offset::kSpell, item.spell)
      .i32(offset::kCharges, item.charges)
      .i32(offset::kMaxCharges, item.maxCharges)
      .i32(offset::kDurability, item.durability)
      .i32(offset::kMaxDurability, item.maxDurability)
      .i32(offset::kPctDamage, item.pctDamage)
      .i32(offset::kPctToHit, item.pctToHit)
      .i32(offset::kPctArmor, item.pctArmor)
      .i32(offset::kAddStrength, item.strength)
      .i32(offset::kAddMagic, item.magic)
      .i32(offset::kAddDexterity, item.dexterity)
      .i32(offset::kAddVitality, item.vitality)
      .i32(offset::kResFire, item.resFire)
      .i32(offset::kResLightning, item.resLightning)
      .i32(offset::kResMagic, item.resMagic)
      .i32(offset::kAddMana, item.mana)
      .i32(offset::kAddHitPoints, item.hitPoints)
      .i32(offset::kAddDamage, item.damage)
      .i32(offset::kDamageFromEnemies, item.damageFromEnemies)
      .i32(offset::kLightRadius, item.light)
      .spellLevels(Low(item.spellLevels))
      .i32(offset::kUniqueIndex, item.uniqueId)
      .i32(offset::kFireDamageMin, item.fireMin)
      .i32(offset::kFireDamageMax, item.fireMax)
      .i32(offset::kLightningDamageMin, item.lightningMin)
      .i32(offset::kLightningDamageMax, item.lightningMax)
      .enemyArmor(0)
      .prefixPower(Low(item.prefixPower))
      .suffixPower(Low(item.suffixPower))
      .i32(offset::kAffixValueA, item.affixValueA)
      .affixMultA(item.affixMultA)
      .i32(offset::kAffixValueB, item.affixValueB)
      .affixMultB(item.affixMultB)
      .reqStrength(Low(item.reqStrength))
      .reqMagic(Low(item.reqMagic))
      .reqDexterity(Low(item.reqDexterity))
      .i32(offset::kBaseItem, item.baseItem);
  return b.build();
}

bool RaisedDurability(const GameItem& item) {
  return item.seed == 1452181783u || item.seed == 846169922u || item.seed == 18974604u;
}

RecordEdit& RecordEdit::i32(std::size_t at, std::int32_t v) {
  for (int i = 0; i < 4; ++i)
    r_.bytes()[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
  return *this;
}

RecordEdit& RecordEdit::u8(std::size_t at, std::uint8_t v) {
  r_.bytes()[at] = v;
  return *this;
}

RecordEdit& RecordEdit::text(std::size_t at, std::string_view s) {
  constexpr std::size_t kNameLength = 64;
  std::fill_n(r_.bytes().begin() + static_cast<std::ptrdiff_t>(at), kNameLength, 0);
  std::copy_n(s.begin(), std::min(s.size(), kNameLength - 1),
              r_.bytes().begin() + static_cast<std::ptrdiff_t>(at));
  return *this;
}

}  // namespace relicor::test
