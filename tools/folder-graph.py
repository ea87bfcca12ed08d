#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Prints how the core folders include each other and the groups of folders
that include each other in a circle (strongly connected groups).

    tools/folder-graph.py [TREE]

A file's folder is its path without the ui/, qt/, win/ and posix/ parts,
which belong to the folder above them. Every group of more than one folder
is a circle that the layers must not have; LayeringTest forbids them.
"""
import collections
import os
import re
import sys

FOLDERS = ["base", "core", "settings", "image", "editors", "image/formats", "document", "link", "app"]
INCLUDE = re.compile(r'\s*#\s*include\s+"([^"]+)"')


def folder_of(path):
    parts = path.split("/")[:-1]
    if any(p in ("ui", "qt", "win", "posix") for p in parts):
        return None
    folder = "/".join(parts)
    return folder if folder in FOLDERS else None


def include_graph(root):
    edges = collections.defaultdict(collections.Counter)
    for folder in FOLDERS:
        path = os.path.join(root, folder)
        if not os.path.isdir(path):
            continue
        for name in sorted(os.listdir(path)):
            if not name.endswith((".h", ".cpp")):
                continue
            with open(os.path.join(path, name), encoding="utf-8", errors="replace") as source:
                for line in source:
                    match = INCLUDE.match(line)
                    target = folder_of(match.group(1)) if match else None
                    if target and target != folder:
                        edges[folder][target] += 1
    return edges


def strongly_connected(nodes, edges):
    index, low, stack, on_stack, groups = {}, {}, [], set(), []

    def visit(v):
        index[v] = low[v] = len(index)
        stack.append(v)
        on_stack.add(v)
        for w in edges[v]:
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            group = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                group.append(w)
                if w == v:
                    break
            groups.append(group)

    for v in nodes:
        if v not in index:
            visit(v)
    return groups


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    edges = include_graph(root)
    nodes = [f for f in FOLDERS if os.path.isdir(os.path.join(root, f))]
    for folder in nodes:
        targets = ", ".join(f"{t} ({n})" for t, n in sorted(edges[folder].items()))
        print(f"{folder} -> {targets or 'nothing'}")
    circles = [g for g in strongly_connected(nodes, edges) if len(g) > 1]
    print(f"{len(nodes)} folders, {len(circles)} groups in a circle")
    for group in circles:
        print("circle:", ", ".join(sorted(group)))
    return 1 if circles else 0


if __name__ == "__main__":
    sys.exit(main())
