"""The values the program names once in its headers, read from there for the scripts, the skin art
and the tests' plumbing (finding a box by its title, posting a command): its texts and command
numbers, the perch, and the colour cut out of a skin. A test judging one of these values writes
what it expects itself. Run as a script, prints the value of each NAME given:

    python3 tools/program_values.py kFollowInset kTitleOverlap
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
            if re.search(r"\w", re.sub(r'"(?:[^"\\]|\\.)*"|//.*', "", value)):
                continue  # holds a macro of another header: its value is the build's
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
FOLLOW = enums("base", "follow.h")
TITLE_OVERLAP = FOLLOW["kTitleOverlap"]
SKIN_KEY_COLOUR = defines("shape", "pixel_runs.h")["SKIN_KEY_COLOUR"]


if __name__ == "__main__":
    values = {**FOLLOW, "SKIN_KEY_COLOUR": SKIN_KEY_COLOUR}
    print(" ".join(str(values[name]) for name in sys.argv[1:]))
