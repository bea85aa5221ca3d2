#!/usr/bin/env python3
"""Fails when the project's own files include each other in a loop, or
when a file of rules/ includes the engine (core/Engine.h).

A header and its source file (X.h and X.cpp) count as one unit; a unit that
reaches itself again through the includes of others is listed with the
path it takes, and the script exits with 1.
"""
import argparse
import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
FOLDERS = ["core", "rules", "commands", "files", "media", "tools", "bench", "tests"]
# Units a folder must not include: the rules know nothing of the engine that runs them.
FORBIDDEN = [("rules/", "core/Engine")]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def unit(path):
    return str(path.relative_to(ROOT).with_suffix(""))


def source_files():
    for folder in FOLDERS:
        for path in sorted((ROOT / folder).rglob("*")):
            if path.suffix in (".h", ".cpp") and "build" not in path.relative_to(ROOT).parts:
                yield path


def include_graph():
    graph = {}
    for path in source_files():
        edges = graph.setdefault(unit(path), set())
        for name in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
            for candidate in (path.parent / name, ROOT / name):
                if candidate.is_file() and candidate.suffix in (".h", ".cpp"):
                    target = unit(candidate.resolve())
                    if target != unit(path):
                        edges.add(target)
                    break
    return graph


def find_loop(graph, start, members):
    """A shortest path from `start` back to itself inside `members`."""
    paths = {start: [start]}
    queue = [start]
    while queue:
        node = queue.pop(0)
        for nxt in sorted(graph.get(node, ())):
            if nxt == start:
                return paths[node] + [start]
            if nxt in members and nxt not in paths:
                paths[nxt] = paths[node] + [nxt]
                queue.append(nxt)
    return [start]


def strongly_connected(graph):
    """Tarjan's components, iteratively (no recursion limit on deep graphs)."""
    index, low, on_stack, stack, found = {}, {}, set(), [], []
    counter = 0
    for root in sorted(graph):
        if root in index:
            continue
        work = [(root, iter(sorted(graph.get(root, ()))))]
        index[root] = low[root] = counter
        counter += 1
        stack.append(root)
        on_stack.add(root)
        while work:
            node, children = work[-1]
            child = next(children, None)
            if child is not None:
                if child not in index:
                    index[child] = low[child] = counter
                    counter += 1
                    stack.append(child)
                    on_stack.add(child)
                    work.append((child, iter(sorted(graph.get(child, ())))))
                elif child in on_stack:
                    low[node] = min(low[node], index[child])
                continue
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[node])
            if low[node] == index[node]:
                component = set()
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    component.add(member)
                    if member == node:
                        break
                found.append(component)
    return found


def main():
    argparse.ArgumentParser(description=__doc__).parse_args()
    graph = include_graph()
    failed = 0
    for unit_name, targets in sorted(graph.items()):
        for folder, target in FORBIDDEN:
            if unit_name.startswith(folder) and target in targets:
                print(f"{unit_name} includes {target}")
                failed += 1
    for component in (c for c in strongly_connected(graph) if len(c) > 1):
        failed += 1
        print("include loop: " + " -> ".join(find_loop(graph, min(component), component)))
        print("  units in it: " + ", ".join(sorted(component)))
    if failed:
        print(f"{failed} include problem(s); a header and its source count as one unit")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
