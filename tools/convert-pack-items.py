#!/usr/bin/env python3
"""Converts the original-Diablo items of DevilutionX's test/pack_test.cpp into the rows of
tests/support/GameItems.cpp.

usage: convert-pack-items.py DEVILUTIONX_CHECKOUT DEVILUTION_CHECKOUT [GAMEITEMS_CPP]

Prints the rows, or with GAMEITEMS_CPP replaces the rows of that file's table in place, and the
stamp above it that names the two revisions read: DevilutionX's at DEVILUTIONX_REVISION below, the
1.09 game's at the revision pinned in game109.py (each checkout a git checkout or mirror whose
history holds it).

Each item is one row: its list, the packed inputs (seed, creation info, base item in 1.09
numbering, identified, durability, charges), every field the game gave the unpacked item, and the
fields the 1.09 game sets that the test does not list (unidentified name, quality, location, base
value, the four price parts). Those are worked out from the 1.09 tables as the game stores them
(each power's price part from its roll, PLVal; slots as SaveItemPower fills them), and each item's
price is checked against them with the game's CalcItemValue (a note on stderr if not). Where
DevilutionX gives a value that 1.09 does not (the Sorcerer's staff price and magic, the fire damage
bit on fire arrows, a renumbered cursor), the 1.09 value is taken and a note says so.

Index numbering: the packed index of the single player and multiplayer lists is already the 1.09
index (DevilutionX packs with RemapItemIdxToDiablo); the spawn (shareware) list packs spawn
indices, which become 1.09 indices by skipping the rows the shareware lacks (9 medium and heavy
armours from 62, and six scrolls). The expected IDidx of the test is DevilutionX's own numbering and
is not used: every row's base item is the 1.09 index, checked by name against the 1.09 table.
"""

import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import game109  # noqa: E402

# The revision of DevilutionX (github diasurgical/devilutionX) whose test/pack_test.cpp is read;
# the stamp in GameItems.cpp names it, and a test checks that it equals this pin.
DEVILUTIONX_REVISION = "234606ad9db8a9540256c0a953c09f4e1eeecd76"
STAMP = "// Converted by tools/convert-pack-items.py from DevilutionX revision {} and 1.09 revision {}."

LISTS = [("kSinglePlayer", "PackedDiabloItems", "DiabloItems"),
         ("kSpawn", "PackedSpawnItems", "SpawnItems"),
         ("kMultiplayer", "PackedDiabloMPItems", "DiabloMPItems")]

PACK_COLS = ["iSeed", "iCreateInfo", "idx", "bId", "bDur", "bMDur", "bCh", "bMCh", "wValue", "dwBuff"]
TEST_COLS = ["_iIName", "_itype", "_iClass", "_iCurs", "_iIvalue", "_iMinDam", "_iMaxDam", "_iAC", "_iFlags",
             "_iMiscId", "_iSpell", "_iCharges", "_iMaxCharges", "_iDurability", "_iMaxDur", "_iPLDam", "_iPLToHit",
             "_iPLAC", "_iPLStr", "_iPLMag", "_iPLDex", "_iPLVit", "_iPLFR", "_iPLLR", "_iPLMR", "_iPLMana", "_iPLHP",
             "_iPLDamMod", "_iPLGetHit", "_iPLLight", "_iSplLvlAdd", "_iUid", "_iFMinDam", "_iFMaxDam", "_iLMinDam",
             "_iLMaxDam", "_iPrePower", "_iSufPower", "_iMinStr", "_iMinMag", "_iMinDex", "IDidx"]

ITEM_TYPES = ["Misc", "Sword", "Axe", "Bow", "Mace", "Shield", "LightArmor", "Helm", "MediumArmor", "HeavyArmor",
              "Staff", "Gold", "Ring", "Amulet"]
SPELLS = ["Null", "Firebolt", "Healing", "Lightning", "Flash", "Identify", "FireWall", "TownPortal", "StoneCurse",
          "Infravision", "Phasing", "ManaShield", "Fireball", "Guardian", "ChainLightning", "FlameWave",
          "DoomSerpents", "BloodRitual", "Nova", "Invisibility", "Inferno", "Golem", "Rage", "Teleport", "Apocalypse",
          "Etherealize", "ItemRepair", "StaffRecharge", "TrapDisarm", "Elemental", "ChargedBolt", "HolyBolt",
          "Resurrect", "Telekinesis", "HealOther", "BloodStar", "BoneSpirit"]
EFFECTS = {"None": 0, "RandomStealLife": 1 << 1, "RandomArrowVelocity": 1 << 2, "FireArrows": 1 << 3,
           "FireDamage": 1 << 4, "LightningDamage": 1 << 5, "DrainLife": 1 << 6, "MultipleArrows": 1 << 9,
           "Knockback": 1 << 11, "StealMana3": 1 << 13, "StealMana5": 1 << 14, "StealLife3": 1 << 15,
           "StealLife5": 1 << 16, "QuickAttack": 1 << 17, "FastAttack": 1 << 18, "FasterAttack": 1 << 19,
           "FastestAttack": 1 << 20, "FastHitRecovery": 1 << 21, "FasterHitRecovery": 1 << 22,
           "FastestHitRecovery": 1 << 23, "FastBlock": 1 << 24, "LightningArrows": 1 << 25, "Thorns": 1 << 26,
           "NoMana": 1 << 27, "HalfTrapDamage": 1 << 28, "TripleDemonDamage": 1 << 30, "ZeroResistance": 1 << 31}


def spawn_to_109(i):
    """Shareware item index to the retail 1.09 index."""
    if i >= 62:
        i += 9
    for limit in (96, 98, 99, 101, 102, 104):
        if i >= limit:
            i += 1
    return i


def value_of(expr, names):
    expr = expr.strip()
    if expr.startswith('"'):
        return expr.strip('"')
    expr = re.sub(r"ItemType::(\w+)", lambda m: str(ITEM_TYPES.index(m.group(1))), expr)
    expr = re.sub(r"SpellID::(\w+)", lambda m: str(SPELLS.index(m.group(1))), expr)
    expr = re.sub(r"ItemSpecialEffect::(\w+)", lambda m: str(EFFECTS[m.group(1)]), expr)
    return game109.evaluate(expr, names)


def pack_test_arrays(path):
    text = game109.read_source(path, "test/pack_test.cpp", DEVILUTIONX_REVISION)
    text = game109.strip_comments(text)
    names = {}
    for m in re.finditer(r"constexpr\s+ItemSpecialEffect\s+(\w+)\s*=\s*([^;]+);", text):
        names[m.group(1)] = value_of(m.group(2), names)
    return text, names


def plval(pv, p1, p2, minv, maxv):
    if p1 == p2 or minv == maxv:
        return minv
    return minv + (maxv - minv) * (100 * (pv - p1) // (p2 - p1)) // 100


def slots_of(parts):
    """The two price slots after saving the powers in order (SaveItemPower)."""
    slots = [[0, 0], [0, 0]]
    for add, mult in parts:
        k = 1 if slots[0][0] or slots[0][1] else 0
        slots[k] = [add, mult]
    return [s[0] for s in slots], [s[1] for s in slots]


def calc_item_value(base_value, vadd, vmult):
    """CalcItemValue: the multipliers' sum times the base value (divides when negative, rounding
    toward zero), plus both price parts; at least 1."""
    m = vmult[0] + vmult[1]
    v = m * base_value if m > 0 else (int(base_value / m) if m < 0 else 0)
    v += vadd[0] + vadd[1]
    return max(v, 1)


def roll_of(power, it, e):
    """The rolled value r of an affix power as far as the item's fields show it; None if unknown."""
    p = {v: k for k, v in e.items() if k.startswith("IPL_")}.get(power, "")
    field = {"IPL_TOHIT": "_iPLToHit", "IPL_DAMP": "_iPLDam", "IPL_TOHIT_DAMP": "_iPLDam", "IPL_ACP": "_iPLAC",
             "IPL_FIRERES": "_iPLFR", "IPL_LIGHTRES": "_iPLLR", "IPL_MAGICRES": "_iPLMR", "IPL_ALLRES": "_iPLFR",
             "IPL_SPLLVLADD": "_iSplLvlAdd", "IPL_STR": "_iPLStr", "IPL_MAG": "_iPLMag", "IPL_DEX": "_iPLDex",
             "IPL_VIT": "_iPLVit", "IPL_ATTRIBS": "_iPLStr", "IPL_GETHIT": "_iPLGetHit",
             "IPL_GETHIT_CURSE": "_iPLGetHit", "IPL_TOHIT_CURSE": "_iPLToHit", "IPL_DAMP_CURSE": "_iPLDam",
             "IPL_TOHIT_DAMP_CURSE": "_iPLDam", "IPL_ACP_CURSE": "_iPLAC", "IPL_STR_CURSE": "_iPLStr",
             "IPL_MAG_CURSE": "_iPLMag", "IPL_DEX_CURSE": "_iPLDex", "IPL_VIT_CURSE": "_iPLVit",
             "IPL_ATTRIBS_CURSE": "_iPLStr", "IPL_DAMMOD": "_iPLDamMod"}.get(p)
    if field:
        return abs(it[field])
    if p in ("IPL_LIFE", "IPL_LIFE_CURSE"):
        return abs(it["_iPLHP"]) >> 6
    if p in ("IPL_MANA", "IPL_MANA_CURSE"):
        return abs(it["_iPLMana"]) >> 6
    return None


def find_affix(rows, name, power, it, e):
    """The affix row of this name and power whose range holds the item's roll (first if unknown)."""
    cands = [r for r in rows if r["PLName"].lower() == name.lower() and r["PLPower"] == power]
    if not cands:
        raise SystemExit(f"no affix {name!r} with power {power} for {it['_iIName']}")
    r = roll_of(power, it, e)
    for c in cands:
        if r is not None and c["PLParam1"] <= r <= c["PLParam2"]:
            return c, r
    return cands[0], r


def split_name(game, it, base):
    """Prefix and suffix names of an identified magic item's name."""
    name, sname = it["_iIName"], base["iSName"] or base["iName"]
    pre = suf = None
    if it["_iPrePower"] != -1:
        for row in game.prefixes:
            if row["PLPower"] == it["_iPrePower"] and name.startswith(row["PLName"] + " "):
                pre = row["PLName"]
                break
    if it["_iSufPower"] != -1:
        for row in game.suffixes:
            if row["PLPower"] == it["_iSufPower"] and name.endswith(" of " + row["PLName"]):
                suf = row["PLName"]
                break
    return pre, suf, sname


def name_109(game, width, it, base, quality):
    """The identified name as 1.09 builds it: with the full base name when the name fits the
    panel, else with the short one."""
    e = game.enums
    staff_spell = base["iMiscId"] == e["IMISC_STAFF"] and it["_iSpell"] and base["iSName"]
    if quality == 2 or (it["_iPrePower"] == -1 and it["_iSufPower"] == -1 and not staff_spell):
        return it["_iIName"]
    pre, suf, _ = split_name(game, it, base)
    if staff_spell:
        spell = game.spells[it["_iSpell"]]["sNameText"]
        first = f"{base['iName']} of {spell}"
        if not width.fits(first):
            first = f"Staff of {spell}"
        name = f"{pre} {first}" if pre else first
        if not width.fits(name):
            name = f"{pre} {base['iSName']} of {spell}" if pre else f"{base['iSName']} of {spell}"
        return name
    name = base["iName"]
    if pre:
        name = f"{pre} {name}"
    if suf:
        name = f"{name} of {suf}"
    if not width.fits(name):
        name = base["iSName"]
        if pre:
            name = f"{pre} {name}"
        if suf:
            name = f"{name} of {suf}"
    return name


def derive(game, it, packed, idx, notes):
    """Fields the 1.09 game sets that the test does not list."""
    e = game.enums
    base = game.items[idx]
    quality = packed["bId"] >> 1
    name = name_109(game, game.width, it, base, quality)
    if name != it["_iIName"]:
        notes.append(f"name {it['_iIName']!r} in DevilutionX, {name!r} by the 1.09 panel width")
    spell = game.spells[it["_iSpell"]] if it["_iSpell"] else None
    plain = base["iName"]
    base_value = base["iValue"]
    if base["iMiscId"] == e["IMISC_BOOK"]:
        plain = base["iName"] + spell["sNameText"]
        base_value += spell["sBookCost"]
    elif base["iMiscId"] == e["IMISC_STAFF"] and it["_iSpell"] and idx != 5:
        plain = f"{base['iName']} of {spell['sNameText']}"
        if not game.width.fits(plain):
            plain = f"Staff of {spell['sNameText']}"
        if quality == 0:
            plain = name
        charges = it["_iMaxCharges"]
        if it["_iPrePower"] == e["IPL_CHARGES"]:  # the price was taken before the charges multiplied
            charges //= next(r["PLParam1"] for r in game.prefixes if r["PLPower"] == e["IPL_CHARGES"]
                             and it["_iIName"].startswith(r["PLName"] + " "))
        base_value += charges * spell["sStaffCost"] // 5
    vadd = [0, 0]
    vmult = [0, 0]
    if quality == 2:
        u = game.uniques[it["_iUid"]]
        vmult = [1, 1 if u["UINumPL"] > 1 else 0]
    elif quality == 1:
        # SaveItemPower: each power's price part is PLVal of its roll (the range's one value when
        # the range is one value, so a curse adds 0); the second power takes the second slot only
        # when the first holds something, else it replaces the first.
        pre, suf, _ = split_name(game, it, base)
        powers = []
        if it["_iPrePower"] != -1:
            powers.append(find_affix(game.prefixes, pre, it["_iPrePower"], it, e))
        if it["_iSufPower"] != -1:
            powers.append(find_affix(game.suffixes, suf, it["_iSufPower"], it, e))
        parts = []
        for row, r in powers:
            known = r is not None or row["PLParam1"] == row["PLParam2"] or row["PLMinVal"] == row["PLMaxVal"]
            add = plval(r if r is not None else row["PLParam1"], row["PLParam1"], row["PLParam2"],
                        row["PLMinVal"], row["PLMaxVal"]) if known else None
            parts.append([add, row["PLMultVal"]])
        unknown = [k for k, (add, _) in enumerate(parts) if add is None]
        if unknown:  # a roll the fields do not show: the price tells it
            k = unknown[0]
            parts[k][0] = 0
            parts[k][0] = it["_iIvalue"] - calc_item_value(base_value, *slots_of(parts))
            notes.append(f"price part of {it['_iIName']}: roll not shown, {parts[k][0]} from the price")
        vadd, vmult = slots_of(parts)
        if calc_item_value(base_value, vadd, vmult) != it["_iIvalue"]:
            notes.append(f"price of {it['_iIName']}: {it['_iIvalue']}, 1.09 CalcItemValue gives "
                         f"{calc_item_value(base_value, vadd, vmult)}")
    value = it["_iIvalue"]
    if quality == 0 and idx == 5 and value != base["iValue"]:
        notes.append(f"{it['_iIName']}: price {value} in DevilutionX, {base['iValue']} in 1.09 (SetPlrHandItem)")
        value = base["iValue"]
    cursor = it["_iCurs"]
    if quality != 2 and base["iMiscId"] != e["IMISC_BOOK"] and cursor != base["iCurs"]:
        notes.append(f"{it['_iIName']}: cursor {cursor} in DevilutionX, {base['iCurs']} in 1.09 (AllItemsList)")
        cursor = base["iCurs"]
    loc = base["iLoc"]
    if quality == 2 and any(p[0] == e["IPL_ONEHAND"] for p in game.uniques[it["_iUid"]]["powers"]):
        loc = e["ILOC_ONEHAND"]  # SaveItemPower: the one-hand power moves the item to one hand
    flags = it["_iFlags"]
    powers = (it["_iPrePower"], it["_iSufPower"])
    if e["IPL_FIRE_ARROWS"] in powers and e["IPL_FIREDAM"] not in powers and flags & e["ISPL_FIREDAM"]:
        notes.append(f"{it['_iIName']}: flags 0x{flags:X} in DevilutionX; 1.09 fire arrows set only their own bit")
        flags &= ~e["ISPL_FIREDAM"]
    req_mag = it["_iMinMag"]
    if quality == 0 and idx == 5 and req_mag != base["iMinMag"]:
        notes.append(f"{it['_iIName']}: magic {req_mag} in DevilutionX, {base['iMinMag']} in 1.09 (SetPlrHandItem)")
        req_mag = base["iMinMag"]
    return dict(name=name, plain=plain, quality=quality, loc=loc, base_value=base_value, value=value,
                vadd=vadd, vmult=vmult, cursor=cursor, flags=flags, req_mag=req_mag)


def cstr(s):
    return '"' + s.replace("\\", "\\\\").replace('"', '\\"') + '"'


def main():
    if len(sys.argv) not in (3, 4):
        raise SystemExit(__doc__)
    dx, d109 = sys.argv[1], sys.argv[2]
    game = game109.Game109(d109)
    game.width = game109.NameWidth(d109)
    text, names = pack_test_arrays(dx)
    names.update({k: v for k, v in game.enums.items() if k.startswith("CF_")})
    notes = []
    out = []
    for list_name, packed_name, test_name in LISTS:
        packed_rows = [dict(zip(PACK_COLS, (value_of(c, names) for c in r))) for r in game109.table_rows(text, packed_name)]
        test_rows = [dict(zip(TEST_COLS, (value_of(c, names) for c in r))) for r in game109.table_rows(text, test_name)]
        assert len(packed_rows) == len(test_rows), list_name
        for packed, it in zip(packed_rows, test_rows):
            idx = spawn_to_109(packed["idx"]) if list_name == "kSpawn" else packed["idx"]
            base = game.items[idx]
            if not it["_iIName"].startswith(base["iName"]) and base["iSName"] is None and packed["bId"] >> 1 == 0 \
                    and base["iMiscId"] != game.enums["IMISC_BOOK"]:
                notes.append(f"index {idx} is {base['iName']!r}, item {it['_iIName']!r}")
            for field, col in (("_iClass", "iClass"), ("_itype", "itype"),
                               ("_iMinDam", "iMinDam"), ("_iMaxDam", "iMaxDam"), ("_iMinStr", "iMinStr"),
                               ("_iMinDex", "iMinDex")):
                if it[field] != base[col] and not (field == "_iCurs" and base["iMiscId"] == game.enums["IMISC_BOOK"]) \
                        and not (field == "_iMaxDam" and packed["bId"] >> 1 == 2):
                    notes.append(f"{it['_iIName']}: {field} {it[field]}, 1.09 base row {base[col]}")
            d = derive(game, it, packed, idx, notes)
            cells = [list_name, packed["iSeed"], packed["iCreateInfo"], idx, packed["bId"] & 1, packed["bDur"],
                     packed["bMDur"], packed["bCh"], packed["bMCh"], cstr(d["name"]), cstr(d["plain"]),
                     d["quality"], it["_itype"], it["_iClass"], d["loc"], d["cursor"], d["value"], d["base_value"],
                     it["_iMinDam"], it["_iMaxDam"], it["_iAC"], f"0x{d['flags']:08X}u", it["_iMiscId"],
                     it["_iSpell"], it["_iCharges"], it["_iMaxCharges"], it["_iDurability"], it["_iMaxDur"]]
            cells += [it[c] for c in TEST_COLS[15:30]]
            cells += [it["_iSplLvlAdd"], it["_iUid"], it["_iFMinDam"], it["_iFMaxDam"], it["_iLMinDam"],
                      it["_iLMaxDam"], it["_iPrePower"], it["_iSufPower"], d["vadd"][0], d["vmult"][0], d["vadd"][1],
                      d["vmult"][1], it["_iMinStr"], d["req_mag"], it["_iMinDex"]]
            out.append("    {" + ", ".join(str(c) for c in cells) + "},")
    if len(sys.argv) == 4:
        with open(sys.argv[3], encoding="latin-1") as f:
            text = f.read()
        stamp = STAMP.format(DEVILUTIONX_REVISION, game109.REVISION) + "\n"
        text = re.sub(r"^// Converted by tools/convert-pack-items\.py .*\n", "", text, flags=re.M)
        text = text.replace("const GameItem kGameItems[] = {\n", stamp + "const GameItem kGameItems[] = {\n")
        start = text.index("const GameItem kGameItems[] = {\n") + len("const GameItem kGameItems[] = {\n")
        end = text.index("};\n// clang-format on", start)
        with open(sys.argv[3], "w", encoding="latin-1", newline="\n") as f:
            f.write(text[:start] + "\n".join(out) + "\n" + text[end:])
    else:
        print("\n".join(out))
    for n in notes:
        print("note:", n, file=sys.stderr)


if __name__ == "__main__":
    main()
