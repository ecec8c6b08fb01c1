#!/usr/bin/env python3
"""Compares the item tables of this program with those of the 1.09 game and prints every
difference: base items (name, class, price), affix rows (bounds, price parts, multiplier), unique
rows (base item, availability in the game's tables) and spells (names, charge prices, book prices).

usage: diff-game-tables.py DEVILUTION_CHECKOUT [REPOSITORY_ROOT]

Only the normal variants of the doubled tables are compared; the V&K variants are not game data.
"""

import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import game109  # noqa: E402

# Which 1.09 affix powers each of our tables holds; a curse power's values are negative.
AFFIX_TABLES = {
    "kStrengthTable": ("IPL_STR", "IPL_STR_CURSE"),
    "kMagicTable": ("IPL_MAG", "IPL_MAG_CURSE"),
    "kDexterityTable": ("IPL_DEX", "IPL_DEX_CURSE"),
    "kVitalityTable": ("IPL_VIT", "IPL_VIT_CURSE"),
    "kAllAttributesTable": ("IPL_ATTRIBS", "IPL_ATTRIBS_CURSE"),
    "kHitPointTable": ("IPL_LIFE", "IPL_LIFE_CURSE"),
    "kManaTable": ("IPL_MANA", "IPL_MANA_CURSE"),
    "kFlatDamageTable": ("IPL_DAMMOD", None),
    "kDamageReductionTable": ("IPL_GETHIT_CURSE", "IPL_GETHIT"),
    "kCombinedDamageTable": ("IPL_TOHIT_DAMP", "IPL_TOHIT_DAMP_CURSE"),
    "kToHitTable": ("IPL_TOHIT", "IPL_TOHIT_CURSE"),
    "kPctDamageTable": ("IPL_DAMP", "IPL_DAMP_CURSE"),
    "kPctArmorTable": ("IPL_ACP", "IPL_ACP_CURSE"),
    "kResMagicTable": ("IPL_MAGICRES", None),
    "kResFireTable": ("IPL_FIRERES", None),
    "kResLightningTable": ("IPL_LIGHTRES", None),
    "kResistAllTable": ("IPL_ALLRES", None),
    "kSpellLevelTable": ("IPL_SPLLVLADD", None),
}


def our_affix_tables(root):
    text = open(os.path.join(root, "src/item/AffixTables.cpp"), encoding="latin-1").read()
    tables = {}
    for m in re.finditer(r"constexpr \w+ (k\w+)\{\{(.*?)\}\};", text, flags=re.S):
        rows = []
        for r in re.finditer(r"\{\s*(-?\d+),\s*(-?\d+),\s*\"([^\"]*)\",\s*(-?\d+),\s*(-?\d+),\s*(-?\d+),\s*(-?\d+)\}",
                             m.group(2)):
            rows.append(dict(min=int(r.group(1)), max=int(r.group(2)), name=r.group(3), add=int(r.group(4)),
                             range=int(r.group(5)), mult=int(r.group(6)), level=int(r.group(7))))
        tables[m.group(1)] = rows
    return tables


def game_affix_rows(game, plus, minus):
    e = game.enums
    rows = []
    for side, table in (("prefix", game.prefixes), ("suffix", game.suffixes)):
        for r in table:
            for power, sign in ((plus, 1), (minus, -1)):
                if power and r["PLPower"] == e[power]:
                    lo, hi = sorted((sign * r["PLParam1"], sign * r["PLParam2"]))
                    rows.append(dict(min=lo, max=hi, name=r["PLName"].lower(), add=r["PLMinVal"],
                                     range=r["PLMaxVal"] - r["PLMinVal"], mult=r["PLMultVal"], side=side,
                                     level=r["PLMinLvl"]))
    return rows


def diff_affixes(game, root):
    ours = our_affix_tables(root)
    for table, (plus, minus) in AFFIX_TABLES.items():
        mine = ours[table]
        for g in game_affix_rows(game, plus, minus):
            same = [r for r in mine if r["name"] == g["name"]]
            if not same:
                near = [r for r in mine if (r["min"], r["max"]) == (g["min"], g["max"])]
                print(f"{table}: game row {g['name']!r} {g['min']}..{g['max']} not here"
                      + (f" (here {near[0]['name']!r} at the same bounds)" if near else ""))
                continue
            best = min(same, key=lambda r: abs(r["min"] - g["min"]) + abs(r["max"] - g["max"]))
            for k in ("min", "max", "add", "range", "mult"):
                if table == "kCombinedDamageTable" and k in ("add", "range", "mult"):
                    pass
                if best[k] != g[k]:
                    print(f"{table}: {g['name']!r}: {k} here {best[k]}, game {g[k]}")


def our_base_items(root):
    text = open(os.path.join(root, "src/item/BaseItems.cpp"), encoding="latin-1").read()
    rows = []
    for r in re.finditer(r"\{\"([^\"]*)\",\s*\"([^\"]*)\",\s*(\d+),\s*(-?\d+)\},\s*// (\d+)", text):
        rows.append(dict(short=r.group(1), full=r.group(2), cls=int(r.group(3)), price=int(r.group(4)),
                         index=int(r.group(5))))
    return rows


def diff_base_items(game, root):
    ours = {r["index"]: r for r in our_base_items(root)}
    for i, g in enumerate(game.items):
        if g.get("iName") is None and g.get("iClass") in (None, game.enums.get("ICLASS_NONE")):
            continue
        full = (g["iName"] or "").lower()
        short = (g["iSName"] or g["iName"] or "").lower()
        want = dict(short=short, full=full, cls=g["itype"], price=g["iValue"])
        have = ours.get(i)
        if have is None:
            print(f"base {i}: no row here, game {want}")
            continue
        diffs = [f"{k} here {have[k]!r}, game {want[k]!r}" for k in want if have[k] != want[k]]
        if diffs:
            print(f"base {i}: " + "; ".join(diffs))


def our_uniques(root):
    text = open(os.path.join(root, "src/item/Uniques.cpp"), encoding="latin-1").read()
    rows = {}
    for r in re.finditer(r"\{\"([^\"]*)\",\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)\},\s*// (\d+)", text):
        rows[int(r.group(7))] = dict(name=r.group(1), low=int(r.group(2)), high=int(r.group(3)),
                                     avail=int(r.group(4)), indestructible=int(r.group(5)))
    return rows


def diff_uniques(game, root):
    e = game.enums
    ours = our_uniques(root)
    for i, u in enumerate(game.uniques):
        if not u["UIName"]:
            continue
        bases = [k for k, it in enumerate(game.items) if it.get("iItemId") == u["UIItemId"]]
        have = ours.get(i)
        if have is None:
            print(f"unique {i} {u['UIName']!r}: no row here")
            continue
        if have["name"] != u["UIName"].lower():
            print(f"unique {i}: name here {have['name']!r}, game {u['UIName']!r}")
        lo, hi = (min(bases), max(bases)) if bases else (255, 255)
        if (have["low"], have["high"]) != (lo, hi):
            print(f"unique {i} {u['UIName']!r}: base here {have['low']}..{have['high']}, game {bases}"
                  f" (min level {u['UIMinLvl']})")
        # Which unique a drop gets: of the uniques of the base's type whose level the item reaches,
        # the last in the table (CheckUnique); single player skips the ones already found.
        same = [k for k, v in enumerate(game.uniques) if v["UIName"] and v["UIItemId"] == u["UIItemId"]]
        droppable = any(game.items[b]["iRnd"] != e["IDROP_NEVER"] for b in bases)
        in_mp = droppable and all(game.uniques[k]["UIMinLvl"] > u["UIMinLvl"] for k in same if k > i)
        avail = 1 if in_mp else (2 if droppable else None)
        if avail is not None and have["avail"] != avail and have["avail"] != 0:
            print(f"unique {i} {u['UIName']!r}: availability here {have['avail']}, game {avail}"
                  f" (same type: {[game.uniques[k]['UIName'] + '/' + str(game.uniques[k]['UIMinLvl']) for k in same]})")
        if avail is None and have["avail"] not in (0, 3):
            print(f"unique {i} {u['UIName']!r}: availability here {have['avail']}, base never drops")
        indestructible = any(p[0] == e["IPL_INDESTRUCTIBLE"] for p in u["powers"][:u["UINumPL"]])
        if indestructible and not have["indestructible"]:
            print(f"unique {i} {u['UIName']!r}: indestructible in the game, here not")
        if have["indestructible"] and not indestructible:
            durs = [it["iDurability"] for k, it in enumerate(game.items) if k in bases]
            print(f"unique {i} {u['UIName']!r}: may be indestructible here; game powers "
                  f"{[game.name_of('IPL_', p[0]) for p in u['powers'][:u['UINumPL']]]} base durability {durs}")


def diff_spells(game, root):
    text = open(os.path.join(root, "src/item/SpellTables.h"), encoding="latin-1").read()
    for r in re.finditer(r"\{\"([^\"]*)\",\s*(\d+),\s*(\d+),\s*(\d+)(?:,\s*(\d+))?\},\s*// (\d+)", text):
        i = int(r.group(6))
        g = game.spells[i]
        name = g["sNameText"] or "0"
        if r.group(1) != name:
            print(f"spell {i}: name here {r.group(1)!r}, game {name!r}")
        if int(r.group(2)) * 5 != g["sStaffCost"]:
            print(f"spell {i} {name}: charge price here {r.group(2)}, game {g['sStaffCost']} / 5")
        if g["sStaffLvl"] != -1 and int(r.group(3)) != g["sStaffMax"]:
            print(f"spell {i} {name}: max charges here {r.group(3)}, game {g['sStaffMax']} (staff level {g['sStaffLvl']})")
        if r.group(5) is not None and int(r.group(5)) != g["sBookCost"]:
            print(f"spell {i} {name}: book price here {r.group(5)}, game {g['sBookCost']}")


def main():
    d109 = sys.argv[1]
    root = sys.argv[2] if len(sys.argv) > 2 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    game = game109.Game109(d109)
    diff_base_items(game, root)
    diff_affixes(game, root)
    diff_uniques(game, root)
    diff_spells(game, root)


if __name__ == "__main__":
    main()
