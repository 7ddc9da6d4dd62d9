#!/usr/bin/python3
"""The floors of src/ (docs/architecture.md): a file includes only its own folder and the
floors below it, so that every arrow between folders points down and none closes a circle.
An edition includes no other edition; nothing in src/ includes tools/ or tests/.
Usage: structure.py [SRC]   (default: the src/ beside this file's folder)"""
import os
import re
import sys

# Lowest first. The GL layer stands apart: only the editions that draw through it include it.
FLOORS = ["gles", "platform", "assets", "draw", "timeline", "scenes", "shell", "editions"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def folder(path):
    """The folder a path under src/ belongs to: its first component, or editions/NAME."""
    parts = path.split("/")
    return "/".join(parts[:2]) if parts[0] == "editions" else parts[0]


def floor(name):
    return FLOORS.index(name.split("/")[0]) if name.split("/")[0] in FLOORS else None


def problems(src):
    found = []
    for root, _, names in os.walk(src):
        for name in sorted(names):
            if not name.endswith((".cpp", ".h")):
                continue
            path = os.path.relpath(os.path.join(root, name), src)
            with open(os.path.join(src, path), encoding="utf-8") as f:
                text = f.read()
            here = folder(path)
            for target in INCLUDE.findall(text):
                if not os.path.exists(os.path.join(src, target)):
                    if os.path.exists(os.path.join(root, target)):
                        continue  # beside the file itself (the GL layer's own headers)
                    found.append(f"{path} includes {target}, which is not under src/")
                    continue
                there = folder(target)
                if there == here:
                    continue
                if floor(here) is None or floor(there) is None:
                    found.append(f"{path} includes {target}: {here} or {there} is no known floor")
                elif there == "gles" and not here.startswith("editions/"):
                    found.append(f"{path} includes {target}: only an edition draws through the GL layer")
                elif floor(there) >= floor(here):
                    found.append(f"{path} includes {target}: an arrow from {here} up or across to {there}")
    return found


def main():
    src = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "src")
    found = problems(src)
    for line in found:
        print(f"FAIL: {line}", file=sys.stderr)
    if found:
        sys.exit(1)
    print("PASS: every include in src/ points down")


if __name__ == "__main__":
    main()
