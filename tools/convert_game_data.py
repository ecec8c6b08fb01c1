#!/usr/bin/env python3
"""Converts the 1.09 game's item data into our own constexpr rows.

Reads the decompiled game sources (a snapshot of the game's repository, or a directory holding
its files) and writes src/generate/GameData109.h: base items, prefixes, suffixes, uniques, the
spells of the full game and of the shareware game, the text width table of the item name rule
and the constants the generator names. Usage:

  tools/convert_game_data.py GIT_DIR_OR_SOURCE_DIR > src/generate/GameData109.h
"""
import os
import re
import subprocess
import sys

SRC = sys.argv[1]


def read(path):
    full = os.path.join(SRC, path)
    if os.path.isfile(full):
        return open(full, encoding="latin-1").read()
    return subprocess.run(["git", "-C", SRC, "show", "HEAD:" + path], check=True,
                          capture_output=True).stdout.decode("latin-1")


def preprocess(text, defined):
    """Keeps the lines that a build with the given macros defined would see."""
    out, stack = [], []

    def active():
        return all(s[0] for s in stack)

    def cond(expr):
        expr = expr.replace("!defined", " not ").replace("defined", "")
        expr = expr.replace("&&", " and ").replace("||", " or ").replace("(", " ( ").replace(")", " ) ")
        toks = [("True" if t in defined else "False") if re.fullmatch(r"[A-Z_]+", t) else t
                for t in expr.split()]
        return eval(" ".join(toks))

    for line in text.split("\n"):
        s = line.strip()
        if s.startswith("#ifdef"):
            v = s.split()[1] in defined
            stack.append([v, v])
        elif s.startswith("#ifndef"):
            v = s.split()[1] not in defined
            stack.append([v, v])
        elif s.startswith("#if "):
            v = cond(s[4:])
            stack.append([v, v])
        elif s.startswith("#elif"):
            v = (not stack[-1][1]) and cond(s[5:])
            stack[-1] = [v, stack[-1][1] or v]
        elif s.startswith("#else"):
            stack[-1] = [not stack[-1][1], True]
        elif s.startswith("#endif"):
            stack.pop()
        elif active():
            out.append(line)
    return "\n".join(out)


def strip_comments(text):
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    return re.sub(r"//[^\n]*", "", text)


def parse_enums(text):
    values = {"TRUE": 1, "FALSE": 0, "NULL": None}
    for body in re.findall(r"enum\s+\w*\s*\{(.*?)\}", strip_comments(text), flags=re.S):
        nxt = 0
        for entry in body.split(","):
            entry = entry.strip()
            if not entry:
                continue
            if "=" in entry:
                name, expr = [p.strip() for p in entry.split("=", 1)]
                try:
                    nxt = evaluate(expr, values)
                except (KeyError, SyntaxError, NameError):
                    continue  # an entry built from macros the item data never uses
            else:
                name = entry
            values[name] = nxt
            nxt += 1
    return values


def evaluate(expr, values):
    expr = expr.strip()
    if expr.startswith('"'):
        return bytes(expr[1:-1], "latin-1").decode("unicode_escape")
    if expr == "NULL":
        return None
    py = re.sub(r"(?<![\w])[A-Za-z_]\w*", lambda m: repr(values[m.group(0)]), expr)
    return eval(py)


def split_top(text):
    parts, depth, cur, in_str = [], 0, "", False
    for ch in text:
        if in_str:
            cur += ch
            if ch == '"' and not cur.endswith('\\"'):
                in_str = False
            continue
        if ch == '"':
            in_str = True
        elif ch == "{":
            depth += 1
        elif ch == "}":
            depth -= 1
        if ch == "," and depth == 0:
            parts.append(cur.strip())
            cur = ""
        else:
            cur += ch
    if cur.strip():
        parts.append(cur.strip())
    return parts


def table_rows(text, name, values):
    body = re.search(name + r"\[\]\s*=\s*\{(.*?)\n\};", text, flags=re.S).group(1)
    rows = []
    for row in re.findall(r"\{((?:[^{}]|\{[^{}]*\})*)\}", strip_comments(body)):
        rows.append([f if f.startswith("{") else evaluate(f, values) for f in split_top(row)])
    return rows


def c_str(s):
    if s is None:
        return "{}"
    return '"' + s.replace("\\", "\\\\").replace('"', '\\"') + '"'


def main():
    enums_text = preprocess(read("enums.h"), set())
    values = parse_enums(enums_text)
    items = table_rows(preprocess(read("Source/itemdat.cpp"), set()), "AllItemsList", values)
    prefixes = table_rows(preprocess(read("Source/itemdat.cpp"), set()), "PL_Prefix", values)
    suffixes = table_rows(preprocess(read("Source/itemdat.cpp"), set()), "PL_Suffix", values)
    uniques = table_rows(preprocess(read("Source/itemdat.cpp"), set()), "UniqueItemList", values)
    spells = table_rows(preprocess(read("Source/spelldat.cpp"), set()), "spelldata", values)
    spells_spawn = table_rows(preprocess(read("Source/spelldat.cpp"), {"SPAWN"}), "spelldata", values)
    control = strip_comments(read("Source/control.cpp"))

    def byte_table(name):
        body = re.search(name + r"\[\d*\]\s*=\s*\{(.*?)\};", control, flags=re.S).group(1)
        out = []
        for tok in re.findall(r"'(?:\\.|[^'])'|0x[0-9A-Fa-f]+|\d+", body):
            if tok.startswith("'"):
                out.append(ord(bytes(tok[1:-1], "latin-1").decode("unicode_escape")))
            else:
                out.append(int(tok, 0))
        return out

    frame = byte_table("fontframe")
    kern = byte_table("fontkern")
    trans = byte_table("gbFontTransTbl")
    widths = [kern[frame[trans[c] & 0x7F]] for c in range(256)]

    w = sys.stdout.write
    w("#pragma once\n// Generated by tools/convert_game_data.py from the 1.09 game's data. Do not edit by hand.\n\n")
    w("#include <array>\n#include <cstdint>\n#include <string_view>\n\n#include \"generate/GameDataTypes.h\"\n\n")
    w("namespace relicor::gen {\n\n// clang-format off\n")
    w(f"inline constexpr std::size_t kBaseItemCount = {len(items) - 1};\n")
    w("// The last row (location -1) ends the table, as the game's own lists do.\n")
    w("// drop, class, location, cursor, type, uniqueBase, name, shortName, minMonsterLevel, durability,\n"
      "// minDamage, maxDamage, minArmor, maxArmor, minStr, minMag, minDex, flags, miscId, spell, usable, value, maxValue\n")
    w(f"inline constexpr std::array<BaseItemRow, {len(items)}> kBaseItems{{{{\n")
    for i, r in enumerate(items):
        (rnd, cls, loc, curs, typ, uid, name, sname, mlvl, dur, mind, maxd, minac, maxac, ms, mm, md,
         flags, misc, spell, usable, val, maxval) = r
        w(f"  {{{rnd}, {cls}, {loc}, {curs}, {typ}, {uid}, {c_str(name)}, {c_str(sname)}, {mlvl}, {dur}, "
          f"{mind}, {maxd}, {minac}, {maxac}, {ms}, {mm}, {md}, 0x{flags & 0xFFFFFFFF:X}u, {misc}, {spell}, "
          f"{usable}, {val}, {maxval}}},  // {i}\n")
    w("}};\n\n")
    for label, rows in (("kPrefixes", prefixes), ("kSuffixes", suffixes)):
        w("// name, power, param1, param2, minLevel, itemTypes, goodEvil, doubleChance, onlyGoodOk, minValue, maxValue, multValue\n")
        w(f"inline constexpr std::array<AffixRow, {len(rows)}> {label}{{{{\n")
        for i, r in enumerate(rows):
            name, power, p1, p2, lvl, itype, goe, dbl, ok, minv, maxv, mult = r
            w(f"  {{{c_str(name)}, {power}, {p1}, {p2}, {lvl}, 0x{itype:X}, 0x{goe:X}, {dbl}, {ok}, {minv}, "
              f"{maxv}, {mult}}},  // {i}\n")
        w("}};\n\n")
    w("// name, uniqueBase, minLevel, powerCount, value, then six (power, param1, param2)\n")
    w(f"inline constexpr std::array<UniqueRow, {len(uniques)}> kUniques{{{{\n")
    for i, r in enumerate(uniques):
        name, uid, lvl, npl, val = r[:5]
        powers = ", ".join(f"{{{r[5 + 3 * k]}, {r[6 + 3 * k]}, {r[7 + 3 * k]}}}" for k in range(6))
        w(f"  {{{c_str(name)}, {uid}, {lvl}, {npl}, {val}, {{{{{powers}}}}}}},  // {i}\n")
    w("}};\n\n")
    for label, rows in (("kSpells", spells), ("kSpellsShareware", spells_spawn)):
        w("// name, type, bookLevel, staffLevel, minInt, staffMin, staffMax, bookCost, staffCost\n")
        w(f"inline constexpr std::array<SpellRow, {len(rows)}> {label}{{{{\n")
        for i, r in enumerate(rows):
            (_sid, _mana, styp, name, _skill, blvl, slvl, _t, _town, minint, _sfx, _mis, _adj, _minmana,
             smin, smax, bcost, scost) = r
            w(f"  {{{c_str(name)}, {styp}, {blvl}, {slvl}, {minint}, {smin}, {smax}, {bcost}, {scost}}},  // {i}\n")
        w("}};\n\n")
    w("// Width of each character in the small font, for the rule that shortens names that are too wide.\n")
    w("inline constexpr std::array<std::uint8_t, 256> kCharWidths{{\n")
    for i in range(0, 256, 16):
        w("  " + ", ".join(f"{x:2}" for x in widths[i:i + 16]) + ",\n")
    w("}};\n// clang-format on\n\n")

    def consts(title, prefix, names, kind="int"):
        w(f"namespace {title} {{\n")
        for n in names:
            ident = "k" + "".join(p.capitalize() for p in n[len(prefix):].lower().split("_"))
            value = f"0x{values[n]:08X}u" if kind != "int" else str(values[n])
            w(f"inline constexpr {kind} {ident} = {value};\n")
        w("}}  // namespace {}\n\n".format(title))

    consts("power", "IPL_", [n for n in values if n.startswith("IPL_")])
    consts("misc", "IMISC_", [n for n in values if n.startswith("IMISC_")])
    consts("itype", "ITYPE_", [n for n in values if n.startswith("ITYPE_")])
    consts("idi", "IDI_", [n for n in values if n.startswith("IDI_")])
    consts("spell", "SPL_", [n for n in values if n.startswith("SPL_")])
    consts("iloc", "ILOC_", [n for n in values if n.startswith("ILOC_")])
    consts("iclass", "ICLASS_", [n for n in values if n.startswith("ICLASS_")])
    consts("plt", "PLT_", [n for n in values if n.startswith("PLT_")])
    consts("goe", "GOE_", [n for n in values if n.startswith("GOE_")])
    consts("stype", "STYPE_", [n for n in values if n.startswith("STYPE_")])
    consts("icurs", "ICURS_", [n for n in values if n.startswith("ICURS_")])
    consts("flag", "ISPL_", [n for n in values if n.startswith("ISPL_") and not n.startswith("ISPLHF")],
           "std::uint32_t")
    consts("drop", "IDROP_", [n for n in values if n.startswith("IDROP_")])
    consts("uitype", "UITYPE_", [n for n in values if n.startswith("UITYPE_")])
    w("}  // namespace relicor::gen\n")


main()
