#!/usr/bin/env python3
"""Lists the longest C++ functions, to find the ones worth splitting.

    python3 scripts/function-lengths.py [--top N] [--over LINES] [FOLDER ...]

A rough scan, no parser: a function is a brace at the end of a line that
starts a body (its line holds a closing parenthesis, or a constructor's
initialiser list precedes it), measured to its matching closing brace.
Lambdas and classes inside a function count towards it. The folders default
to the game's own code: core rules commands files media.
"""
import argparse
import pathlib
import re

DEFAULT_FOLDERS = ["core", "rules", "commands", "files", "media"]
NOT_A_FUNCTION = re.compile(r"^\s*(namespace|class|struct|enum|union|extern)\b|=\s*\{$|\b(if|for|while|switch|catch)\s*\(")


def strip_strings_and_comments(line, in_block):
    out = []
    i = 0
    while i < len(line):
        if in_block:
            end = line.find("*/", i)
            if end < 0:
                return "".join(out), True
            i, in_block = end + 2, False
        elif line.startswith("//", i):
            break
        elif line.startswith("/*", i):
            in_block = True
            i += 2
        elif line[i] in "\"'":
            quote, i = line[i], i + 1
            while i < len(line) and line[i] != quote:
                i += 2 if line[i] == "\\" else 1
            i += 1
            out.append("0")
        else:
            out.append(line[i])
            i += 1
    return "".join(out), in_block


def functions(path):
    """Yields (first line, length in lines, signature) of each top-level body."""
    depth, in_block, start, signature = 0, False, None, ""
    previous = ""
    for number, raw in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        line, in_block = strip_strings_and_comments(raw, in_block)
        text = line.strip()
        for char in line:
            if char == "{":
                if start is None and text.endswith("{") and not NOT_A_FUNCTION.search(text) \
                        and (")" in text or previous.endswith(")") or text.startswith(":")):
                    start, signature, body_depth = number, (text if "(" in text else previous), depth
                depth += 1
            elif char == "}":
                depth -= 1
                if start is not None and depth == body_depth:
                    yield start, number - start + 1, signature.rstrip("{ ").strip()
                    start = None
        if text:
            previous = text


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folders", nargs="*", default=DEFAULT_FOLDERS)
    parser.add_argument("--top", type=int, default=20, help="how many to list (default 20)")
    parser.add_argument("--over", type=int, default=0, help="only functions longer than this")
    args = parser.parse_args()
    root = pathlib.Path(__file__).resolve().parent.parent
    found = []
    for folder in args.folders:
        for path in sorted((root / folder).rglob("*")):
            if path.suffix in (".cpp", ".h"):
                found += [(length, path.relative_to(root), first, sig) for first, length, sig in functions(path)]
    found.sort(key=lambda f: -f[0])
    for length, path, first, signature in [f for f in found if f[0] > args.over][: args.top]:
        print(f"{length:5d}  {path}:{first}  {signature[:90]}")


if __name__ == "__main__":
    main()
