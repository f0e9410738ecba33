"""Puts two runs' Markdown tables side by side, for bench/run.sh:
    side_by_side.py LABEL_A FILE_A LABEL_B FILE_B
Sections (### headings) are matched by heading. Within a section whose parts (tables and
paragraphs) match in kind, a table with the same columns in both gets a column naming the run
after its first, each row of A followed by B's row of the same first cell; a paragraph that is the
same in both is given once, one that differs once for each run. A section that does not match
in shape is given whole for each run."""
import sys


def sections(path):
    """[(heading, [part])]; a part is ('table', [lines]) or ('text', [lines])."""
    result = [("", [])]
    part = None
    for line in open(path, encoding="utf-8").read().splitlines():
        if line.startswith("### "):
            result.append((line, []))
            part = None
            continue
        if not line.strip():
            part = None
            continue
        kind = "table" if line.startswith("|") else "text"
        if part is None or part[0] != kind:
            part = (kind, [])
            result[-1][1].append(part)
        part[1].append(line)
    return result


def cells(line):
    return [cell.strip() for cell in line.strip().strip("|").split("|")]


def row(values):
    return "| " + " | ".join(values) + " |"


def merge_tables(label_a, a, label_b, b):
    header = cells(a[0])
    rule = cells(a[1])
    out = [row(header[:1] + ["Wine"] + header[1:]), row(rule[:1] + ["---"] + rule[1:])]

    def keyed(lines):
        seen, keys = {}, []
        for line in lines[2:]:
            first = cells(line)[0]
            seen[first] = seen.get(first, 0) + 1
            keys.append(((first, seen[first]), cells(line)))
        return keys

    rows_b = dict(keyed(b))
    used = set()
    for key, values in keyed(a):
        out.append(row(values[:1] + [label_a] + values[1:]))
        if key in rows_b:
            used.add(key)
            out.append(row(rows_b[key][:1] + [label_b] + rows_b[key][1:]))
    for key, values in keyed(b):
        if key not in used:
            out.append(row(values[:1] + [label_b] + values[1:]))
    return out


def whole(label, parts):
    out = []
    for kind, lines in parts:
        out.append(("%s:" % label) if kind == "table" else "%s: %s" % (label, lines[0]))
        out += [""] if kind == "table" else []
        out += lines if kind == "table" else lines[1:]
        out.append("")
    return out


def merge_section(label_a, parts_a, label_b, parts_b):
    if [k for k, _ in parts_a] != [k for k, _ in parts_b]:
        return whole(label_a, parts_a) + whole(label_b, parts_b)
    out = []
    for (kind, a), (_, b) in zip(parts_a, parts_b):
        if a == b:
            out += a
        elif kind == "table" and len(a) > 1 and len(b) > 1 and a[0] == b[0]:
            out += merge_tables(label_a, a, label_b, b)
        elif kind == "table":
            out += ["%s:" % label_a, ""] + a + ["", "%s:" % label_b, ""] + b
        else:
            out += ["%s: %s" % (label_a, a[0])] + a[1:] + ["", "%s: %s" % (label_b, b[0])] + b[1:]
        out.append("")
    return out


def main():
    label_a, path_a, label_b, path_b = sys.argv[1:5]
    a, b = sections(path_a), sections(path_b)
    headings_b = dict(b)
    out = []
    for heading, parts in a:
        if heading:
            out += [heading, ""]
        if heading in headings_b:
            out += merge_section(label_a, parts, label_b, headings_b.pop(heading))
        else:
            out += whole(label_a, parts)
    for heading, parts in b:
        if heading in headings_b:
            out += [heading, ""] + whole(label_b, parts)
    while out and not out[-1]:
        out.pop()
    print("\n".join(out))


main()
