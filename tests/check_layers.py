#!/usr/bin/env python3
"""Checks that the folders of src/ include each other only downwards.

Each folder may include its own headers and those of the folders it is listed with; a folder
missing from the table, or an include that goes elsewhere, fails the check with the file and line.
"""
import pathlib
import re
import sys

# From the floor up: what each folder may include besides itself.
ALLOWED = {
    "platform": set(),
    "core": {"platform"},
    "settings": {"platform", "core"},
    "photos": {"platform", "core", "settings"},
    "writing": {"platform", "core", "settings", "photos"},
    "kml": {"platform", "core", "settings", "photos", "writing"},
    "map_page": {"platform", "core", "settings", "photos", "writing"},
    "translation": {"platform", "core", "settings", "writing"},
    "cli": {"platform", "core", "settings", "photos", "writing", "kml", "map_page", "translation"},
    "ui": {"platform", "core", "settings", "photos", "writing", "kml", "map_page", "translation"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/')


def main():
    src = pathlib.Path(sys.argv[1]) / "src"
    faults = []
    for folder in sorted(p for p in src.iterdir() if p.is_dir()):
        sources = [f for f in folder.rglob("*") if f.suffix in (".h", ".cpp")]
        if not sources:
            continue  # scripts and data only
        if folder.name not in ALLOWED:
            faults.append(f"{folder.name}: a folder of sources that has no place in the layers")
            continue
        allowed = ALLOWED[folder.name] | {folder.name}
        for file in sorted(sources):
            for number, line in enumerate(file.read_text(encoding="utf-8").splitlines(), 1):
                match = INCLUDE.match(line)
                if match and match.group(1) not in allowed:
                    faults.append(f"{file.relative_to(src)}:{number}: includes {match.group(1)}/")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
