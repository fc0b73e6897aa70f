#!/usr/bin/env python3
"""The same job as `bentro /s PATTERN`, written as a user might write it in
plain Python: walk the tree, match the pattern, rewrite each name field."""
import fnmatch
import os
import sys


def fixed_field(field, relative_name):
    point = relative_name.rfind(".")
    if point >= 0:
        cut = os.fsencode(relative_name[:point])
        if len(cut) >= 32:
            return None
        field = cut.ljust(32, b"\0")
    return field.lower().replace(b"\\", b"/")


def main():
    pattern = sys.argv[1].lower() if len(sys.argv) > 1 else "*.wal"
    for top, dirs, files in os.walk("."):
        dirs[:] = sorted(d for d in dirs if not d.startswith("."))
        for name in sorted(files, key=lambda n: (n.upper(), n)):
            if not fnmatch.fnmatchcase(name.lower(), pattern):
                continue
            path = os.path.join(top, name)
            print(path)
            with open(path, "r+b") as file:
                field = fixed_field(file.read(32), path[2:])
                if field is None:
                    print(f"Name for '{path}' does not fit in the 32-byte name field")
                    continue
                file.seek(0)
                file.write(field)


if __name__ == "__main__":
    main()
