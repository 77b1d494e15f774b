#!/usr/bin/env python3
"""What may include what in the program's sources.

    check_layers.py LAYERS SRC

LAYERS lists every library and program of the sources (written by the build):
"target NAME SOURCE_DIR LINKED..." and its files, "file NAME PATH". Three
rules, each broken one named on a line:
  - every .h and .cpp file under SRC belongs to a library or a program;
  - a file includes only headers of its own library or of the libraries it
    links, directly or through others (so the model, which links QtCore only,
    never includes a window's, the report renderer's or the key's front end's
    header);
  - no folder includes a folder that includes it back (the folders' graph of
    includes has no cycle).
Exit status 0 when all hold, 1 when one is broken, 2 on bad arguments.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def read_layers(path, src):
    links, owners = {}, {}
    source_dir = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            kind, _, rest = line.strip().partition(" ")
            if kind == "target":
                name, _, rest = rest.partition(" ")
                folder, _, linked = rest.partition(" ")
                source_dir[name] = folder
                links[name] = linked.split()
            elif kind == "file":
                name, _, file = rest.partition(" ")
                if not file:
                    continue
                if not os.path.isabs(file):
                    file = os.path.join(source_dir[name], file)
                file = os.path.realpath(file)
                if file.startswith(src + os.sep):
                    owners.setdefault(os.path.relpath(file, src), set()).add(name)
    return links, owners


def reachable(links, target):
    seen, todo = set(), [target]
    while todo:
        t = todo.pop()
        if t in seen:
            continue
        seen.add(t)
        todo.extend(l for l in links.get(t, []) if l in links)
    return seen


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip().splitlines()[2].strip(), file=sys.stderr)
        return 2
    src = os.path.realpath(argv[2])
    links, owners = read_layers(argv[1], src)
    sees = {t: reachable(links, t) for t in links}

    problems = []
    edges = {}  # folder -> {folder: (file, included)}
    for root, dirs, files in os.walk(src):
        dirs.sort()
        for entry in sorted(files):
            if not entry.endswith((".h", ".cpp")):
                continue
            rel = os.path.relpath(os.path.join(root, entry), src)
            name = rel.split(os.sep)[0]
            if rel not in owners:
                problems.append(f"{rel} belongs to no library or program")
                continue
            with open(os.path.join(src, rel), encoding="utf-8") as f:
                included = INCLUDE.findall(f.read())
            for inc in included:
                if not os.path.exists(os.path.join(src, inc)):
                    continue  # a generated or a library header
                for owner in sorted(owners[rel]):
                    if not owners.get(inc, set()) & sees[owner]:
                        problems.append(f"{rel} ({owner}) includes {inc} "
                                        f"({', '.join(sorted(owners.get(inc, {'no library'})))}), "
                                        f"which {owner} does not link")
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
