#!/usr/bin/env python3
"""What may include what in the program's sources.

    check_layers.py LAYERS SRC

LAYERS lists each source file of the three libraries as "model|render|ui PATH"
(written by the build). Two rules, each broken include named on a line:
  - a file of a lower layer never includes a file of a higher one
    (model < render < ui): the model sees QtCore only;
  - no folder includes a folder that includes it back (the folders' graph of
    includes has no cycle).
Exit status 0 when both hold, 1 when one is broken, 2 on bad arguments.
"""
import os
import re
import sys

RANK = {"model": 0, "render": 1, "ui": 2}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip().splitlines()[2].strip(), file=sys.stderr)
        return 2
    layers_file, src = argv[1], os.path.realpath(argv[2])
    layer = {}
    with open(layers_file, encoding="utf-8") as f:
        for line in f:
            kind, _, path = line.strip().partition(" ")
            path = os.path.realpath(path)
            if kind in RANK and path.startswith(src + os.sep):
                layer[os.path.relpath(path, src)] = kind

    problems = []
    edges = {}  # folder -> {folder: (file, included)}
    for name in sorted(os.listdir(src)):
        folder = os.path.join(src, name)
        if not os.path.isdir(folder):
            continue
        for entry in sorted(os.listdir(folder)):
            if not entry.endswith((".h", ".cpp")):
                continue
            rel = os.path.join(name, entry)
            with open(os.path.join(src, rel), encoding="utf-8") as f:
                included = INCLUDE.findall(f.read())
            for inc in included:
                if not os.path.exists(os.path.join(src, inc)):
                    continue  # a generated or a library header
                if rel in layer and inc in layer and RANK[layer[inc]] > RANK[layer[rel]]:
                    problems.append(f"{rel} ({layer[rel]}) includes {inc} ({layer[inc]})")
                target = inc.split("/")[0]
                if "/" in inc and target != name:
                    edges.setdefault(name, {}).setdefault(target, (rel, inc))

    # Folders on a cycle: depth-first search for a back edge.
    state = {}

    def visit(node, path):
        state[node] = "open"
        for nxt in sorted(edges.get(node, {})):
            if state.get(nxt) == "open":
                cycle = path[path.index(nxt):] + [nxt]
                steps = []
                for a, b in zip(cycle, cycle[1:]):
                    f, i = edges[a][b]
                    steps.append(f"{f} includes {i}")
                problems.append("folders include each other: " + " → ".join(cycle) + " (" + "; ".join(steps) + ")")
            elif nxt not in state:
                visit(nxt, path + [nxt])
        state[node] = "done"

    for node in sorted(edges):
        if node not in state:
            visit(node, [node])

    for p in problems:
        print(f"check_layers: {p}", file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
