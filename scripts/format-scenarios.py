#!/usr/bin/env python3
"""Writes scenario and model files compactly, one object, step or class a line.

    scripts/format-scenarios.py [--check] FILE...

Every value that fits on a line of WIDTH characters is written on one line; the
entries of "objects" and "steps" are one line each whatever their length, so a
scenario reads as a table. Key order and number forms are kept, and formatting
a formatted file changes nothing. Transcripts (*.expected.json) are left as
`vtx run` writes them. --check lists the files that would change and exits 1
if there are any.
"""
import json
import sys

WIDTH = 120
ONE_LINE_ENTRIES = {"objects", "steps"}


def inline(value):
    return json.dumps(value, ensure_ascii=False, separators=(", ", ": "))


def write(value, indent, key=None, lead=0):
    """Writes value starting `lead` columns after column `indent`."""
    pad = " " * indent
    flat = inline(value)
    if not isinstance(value, (dict, list)) or not value or indent + lead + len(flat) <= WIDTH:
        return flat
    if isinstance(value, list):
        inner = pad + "  "
        if key in ONE_LINE_ENTRIES:
            items = [inner + inline(v) for v in value]
        else:
            items = [inner + write(v, indent + 2) for v in value]
        return "[\n" + ",\n".join(items) + "\n" + pad + "]"
    # Members that fit share a line, as in a hand-written table; a member too
    # long for that gets lines of its own. The top level has a line per member.
    rows = []
    for k, v in value.items():
        name = json.dumps(k, ensure_ascii=False) + ": "
        item = name + write(v, indent + 1, k, len(name))
        column = indent + 1 + (lead if len(rows) <= 1 else 0)
        shared = ", ".join(rows[-1]) if rows else ""
        if (indent > 0 and rows and "\n" not in item and "\n" not in shared
                and column + len(shared) + 2 + len(item) <= WIDTH):
            rows[-1].append(item)
        else:
            rows.append([item])
    return "{" + (",\n" + pad + " ").join(", ".join(row) for row in rows) + "}"


def formatted(path):
    with open(path, encoding="utf-8") as f:
        value = json.load(f)
    return write(value, 0) + "\n"


def main(args):
    check = "--check" in args
    changed = []
    for path in (a for a in args if a != "--check" and not a.endswith(".expected.json")):
        with open(path, encoding="utf-8") as f:
            before = f.read()
        after = formatted(path)
        if after == before:
            continue
        changed.append(path)
        if not check:
            with open(path, "w", encoding="utf-8") as f:
                f.write(after)
    if check and changed:
        print("\n".join(changed))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
