"""The values the program names once in its headers, read from there for the tests, benchmarks and
scripts: its texts and command numbers, the perch, the follow tick's period, the colour cut out
of a skin, and the layout of setting.ini. Run as a script, prints the value of each NAME given:

    python3 tools/program_values.py FOLLOW_INSET TITLE_OVERLAP
"""
import os
import re
import sys

SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def defines(*path):
    """The #define NAME value lines of a header of the source tree (path relative to its root):
    "strings" (adjacent ones joined, escapes read) as str, numbers (decimal or hex) as int, a name
    defined as another name as that one's value."""
    with open(os.path.join(SOURCE, *path), encoding="utf-8") as file:
        source = file.read().replace("\\\n", " ")
    found = {}
    for name, value in re.findall(r"^#define (\w+)[ \t]+(.+)$", source, re.MULTILINE):
        if value.startswith('"'):
            strings = re.findall(r'"((?:[^"\\]|\\.)*)"', value)
            found[name] = "".join(s.encode("utf-8").decode("unicode_escape").encode("latin-1")
                                  .decode("utf-8") for s in strings)
            continue
        value = re.sub(r"\s*//.*$", "", value).strip()
        if re.fullmatch(r"\d+|0[xX][0-9a-fA-F]+", value):
            found[name] = int(value, 0)
        elif value in found:
            found[name] = found[value]
    return found


def enums(*path):
    """The NAME = number members of the enums of a header of the source tree (path relative to its
    root) and of the headers it includes from there; a member defined as another name, plus or
    minus a number, takes that one's value."""
    with open(os.path.join(SOURCE, *path), encoding="utf-8") as file:
        source = file.read()
    found = {}
    for header in re.findall(r'^#include "([\w/]+\.h)"', source, re.MULTILINE):
        found.update(enums(*header.split("/")))
    for name, value in re.findall(r"\b(k\w+) = ([^,}\n]+)", source):
        value = re.sub(r"\s*//.*$", "", value).strip()
        term = re.fullmatch(r"(\d+)|(k\w+)(?: ([-+]) (\d+))?", value)
        if term and term.group(1):
            found[name] = int(term.group(1))
        elif term and term.group(2) in found:
            offset = int(term.group(4) or 0)
            found[name] = found[term.group(2)] + (-offset if term.group(3) == "-" else offset)
    return found


TEXTS = defines("res", "texts.h")
IDS = defines("res", "resource.h")
FOLLOW = defines("base", "follow.h")
FOLLOW_INSET = FOLLOW["FOLLOW_INSET"]
TITLE_OVERLAP = FOLLOW["TITLE_OVERLAP"]
FOLLOW_PERIOD_MS = FOLLOW["FOLLOW_PERIOD_MS"]
SKIN_KEY_COLOUR = defines("shape", "pixel_runs.h")["SKIN_KEY_COLOUR"]
SETTINGS = defines("base", "program.h")
SETTINGS_FILE = SETTINGS["SETTINGS_FILE"]


def perch(right, top, width, height):
    """Where an accessory of width x height perches on a window whose right and top edges are
    given: (left, top, right, bottom). Worked out here from the two insets, not taken from the
    program's FollowPosition: the tests judge where the program perches by it."""
    return (right - FOLLOW_INSET - width, top + TITLE_OVERLAP - height, right - FOLLOW_INSET,
            top + TITLE_OVERLAP)


def settings_naming(skin):
    """What setting.ini holds once the program wrote it naming skin (bytes, or a str, written in
    Shift-JIS)."""
    if isinstance(skin, str):
        skin = skin.encode("cp932")
    return (f"[{SETTINGS['SETTINGS_SECTION']}]\r\n{SETTINGS['SETTINGS_KEY']}=".encode() + skin +
            b"\r\n")


if __name__ == "__main__":
    values = {**FOLLOW, **SETTINGS, "SKIN_KEY_COLOUR": SKIN_KEY_COLOUR}
    print(" ".join(str(values[name]) for name in sys.argv[1:]))
