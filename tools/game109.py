"""Reads the tables of the 1.09 game (retail, not Hellfire, not shareware) from a checkout of the
decompiled game: base items, prefixes, suffixes, uniques and spells, as plain Python rows.

Used by convert_game_data.py, convert-pack-items.py and diff-game-tables.py. The checkout is read
with `git show` at the pinned revision below, so a bare mirror works as well as a work tree, and a
newer snapshot gives the same tables as long as its history holds the pin.
"""

import re
import subprocess
import sys

# The revision of the decompiled 1.09 game (github diasurgical/devilution) the tools read. The
# generated files carry it in their stamp, and a test checks that the stamp equals this pin: to
# move to another revision, change it here and regenerate (tools/regenerate-tables.sh).
REVISION = "9f01757243412bb154d02d9af65c804159e6e0ea"


def read_source(repo, path, revision=REVISION):
    """The file at `path` of the game's repository `repo` (a git directory) at `revision`."""
    try:
        return subprocess.run(["git", "-C", repo, "show", f"{revision}:{path}"], check=True,
                              capture_output=True, text=True, encoding="latin-1").stdout
    except (subprocess.CalledProcessError, OSError) as e:
        reason = e.stderr.strip() if isinstance(e, subprocess.CalledProcessError) else str(e)
        sys.exit(f"{repo}: cannot read {path} at the pinned revision {revision}: {reason}\n"
                 "(the tools need a git checkout or mirror whose history holds that revision)")


def preprocess(text, defined=()):
    """Keeps the lines of the build with only the given macros defined (#if/#ifdef/#elif/#else)."""

    def truth(expr):
        expr = re.sub(r"defined\s*\(\s*(\w+)\s*\)", lambda m: " True " if m.group(1) in defined else " False ", expr)
        expr = expr.replace("!", " not ").replace("&&", " and ").replace("||", " or ")
        expr = re.sub(r"\b(?!True\b|False\b|not\b|and\b|or\b)[A-Za-z_]\w*", lambda m: str(m.group(0) in defined), expr)
        return bool(eval(expr, {"__builtins__": {}}))  # noqa: S307 - a preprocessor condition

    out, stack = [], []  # stack entries: [this branch on, some branch taken]
    for line in text.splitlines():
        s = line.strip()
        m = re.match(r"#\s*(ifdef|ifndef|if|elif|else|endif)\b(.*)", s)
        if m:
            kind, rest = m.group(1), m.group(2).strip()
            if kind in ("ifdef", "ifndef"):
                on = (rest in defined) == (kind == "ifdef")
                stack.append([on, on])
            elif kind == "if":
                on = truth(rest)
                stack.append([on, on])
            elif kind == "elif":
                on = not stack[-1][1] and truth(rest)
                stack[-1] = [on, stack[-1][1] or on]
            elif kind == "else":
                stack[-1] = [not stack[-1][1], True]
            else:
                stack.pop()
            continue
        if all(x[0] for x in stack):
            out.append(line)
    return "\n".join(out)


def strip_comments(text):
    text = re.sub(r"/\*.*?\*/", "", text, flags=re.S)
    return re.sub(r"//[^\n]*", "", text)


def parse_enums(repo):
    """Every enumerator of enums.h with its value."""
    text = strip_comments(preprocess(read_source(repo, "enums.h")))
    values = {}
    for body in re.findall(r"enum\s+\w*\s*\{(.*?)\}", text, flags=re.S):
        nxt = 0
        for part in body.split(","):
            part = part.strip()
            if not part:
                continue
            if "=" in part:
                name, expr = (x.strip() for x in part.split("=", 1))
                try:
                    nxt = evaluate(expr, values)
                except Exception:  # refers to a macro: not a table value
                    continue
            else:
                name = part
            values[name] = nxt
            nxt += 1
    return values


def evaluate(expr, names):
    expr = expr.strip()
    py = re.sub(r"\b([A-Za-z_]\w*)\b", lambda m: str(names[m.group(1)]) if m.group(1) in names else m.group(1), expr)
    py = py.replace("TRUE", "1").replace("FALSE", "0").replace("NULL", "None")
    py = re.sub(r"(\d+)[uU]\b", r"\1", py)
    return eval(py, {"__builtins__": {}})  # noqa: S307 - numbers and operators of a table cell


def split_cells(row):
    cells, depth, cur, quote = [], 0, "", False
    for ch in row:
        if ch == '"':
            quote = not quote
        if not quote:
            if ch == "{":
                depth += 1
            if ch == "}":
                depth -= 1
            if ch == "," and depth == 0:
                cells.append(cur.strip())
                cur = ""
                continue
        cur += ch
    if cur.strip():
        cells.append(cur.strip())
    return cells


def table_rows(text, name):
    """The brace rows of the array `name`."""
    m = re.search(r"\b" + name + r"\s*\[\s*\w*\s*\]\s*=\s*\{", text)
    body = text[m.end():]
    rows, depth, cur = [], 0, ""
    for ch in body:
        if ch == "{":
            depth += 1
        if depth > 0:
            cur += ch
        if ch == "}":
            if depth == 0:
                break
            depth -= 1
            if depth == 0:
                rows.append(split_cells(cur.strip()[1:-1]))
                cur = ""
    return rows


def cell(value, enums):
    if value.startswith('"'):
        return value.strip('"')
    if value == "NULL":
        return None
    return evaluate(value, enums)


class Game109:
    def __init__(self, repo, defined=()):
        self.enums = parse_enums(repo)
        e = self.enums
        items = strip_comments(preprocess(read_source(repo, "Source/itemdat.cpp"), defined))
        spells = strip_comments(preprocess(read_source(repo, "Source/spelldat.cpp"), defined))
        base_cols = ["iRnd", "iClass", "iLoc", "iCurs", "itype", "iItemId", "iName", "iSName", "iMinMLvl",
                     "iDurability", "iMinDam", "iMaxDam", "iMinAC", "iMaxAC", "iMinStr", "iMinMag", "iMinDex",
                     "iFlags", "iMiscId", "iSpell", "iUsable", "iValue", "iMaxValue"]
        self.items = [dict(zip(base_cols, (cell(c, e) for c in r))) for r in table_rows(items, "AllItemsList")]
        pl_cols = ["PLName", "PLPower", "PLParam1", "PLParam2", "PLMinLvl", "PLIType", "PLGOE", "PLDouble", "PLOk",
                   "PLMinVal", "PLMaxVal", "PLMultVal"]
        self.prefixes = [dict(zip(pl_cols, (cell(c, e) for c in r))) for r in table_rows(items, "PL_Prefix")]
        self.suffixes = [dict(zip(pl_cols, (cell(c, e) for c in r))) for r in table_rows(items, "PL_Suffix")]
        u_cols = ["UIName", "UIItemId", "UIMinLvl", "UINumPL", "UIValue"]
        self.uniques = []
        for r in table_rows(items, "UniqueItemList"):
            vals = [cell(c, e) for c in r]
            u = dict(zip(u_cols, vals[:5]))
            u["powers"] = [tuple(vals[5 + 3 * k:8 + 3 * k]) for k in range(6)]
            self.uniques.append(u)
        sp_cols = ["sName", "sManaCost", "sType", "sNameText", "sSkillText", "sBookLvl", "sStaffLvl", "sTargeted",
                   "sTownSpell", "sMinInt", "sSFX", "sMissiles", "sManaAdj", "sMinMana", "sStaffMin", "sStaffMax",
                   "sBookCost", "sStaffCost"]
        self.spells = []
        for r in table_rows(spells, "spelldata"):
            row = {}
            for k, c in zip(sp_cols, r):
                row[k] = c if k == "sMissiles" else cell(c, e)
            self.spells.append(row)

    def name_of(self, prefix, value):
        """The enumerator name with the given prefix and value (first match)."""
        for k, v in self.enums.items():
            if k.startswith(prefix) and v == value:
                return k
        return str(value)


def flat_array(text, name):
    m = re.search(r"\b" + name + r"\s*\[[^\]]*\]\s*=\s*\{(.*?)\};", text, flags=re.S)
    body = re.sub(r"//[^\n]*", "", m.group(1))
    out = []
    for tok in re.findall(r"'(?:\\.|[^'\\])'|0x[0-9A-Fa-f]+|\d+", body):
        if tok.startswith("'"):
            ch = tok[1:-1]
            out.append({"\\0": 0, "\\\"": 34, "\\'": 39, "\\\\": 92}.get(ch, ord(ch[-1])))
        else:
            out.append(int(tok, 0))
    return out


class NameWidth:
    """The game's test whether an item name fits its panel: the sum of the small font's letter
    widths stays below 125 pixels (control_WriteStringToBuffer)."""

    def __init__(self, repo):
        text = read_source(repo, "Source/control.cpp")
        self.frame = flat_array(text, "fontframe")
        self.kern = flat_array(text, "fontkern")
        self.trans = flat_array(text, "gbFontTransTbl")

    def fits(self, name):
        k = 0
        for ch in name.encode("latin-1"):
            k += self.kern[self.frame[self.trans[ch]]]
            if k >= 125:
                return False
        return True
