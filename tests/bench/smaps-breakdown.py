#!/usr/bin/env python3
"""Where a Wine process's private memory (written pages, KiB) goes, by kind of mapping.

Usage: smaps-breakdown.py PID [PID...]   (one column per process)

The kinds follow from how Wine lays a 64-bit process out: the exe at its preferred
base 0x140000000 (copied into anonymous memory unless its sections are page-aligned
in the file), Windows-side heaps, stacks and DIB sections anonymous below the Unix
libraries, the Unix side's own heap ([heap] and anonymous memory up high), X
shared-memory window surfaces (SYSV) and the written pages of DLLs and libraries.
"""
import re
import sys
from collections import OrderedDict

KINDS = OrderedDict([
    ("exe", "exe image (0x140000000 on)"),
    ("images", "other PE images Wine copied"),
    ("windows", "Windows heaps, stacks, DIB sections"),
    ("unix", "Unix heap (fonts, X11, drivers)"),
    ("shm", "X shared-memory surfaces"),
    ("modules", "DLL and .so data pages"),
    ("other", "other"),
])


def kind(start, perms, path):
    if path.startswith("SYSV"):
        return "shm"
    if path == "[heap]":
        return "unix"
    if path.startswith("["):
        return "other"
    if path:
        return "exe" if path.lower().endswith(".exe") else "modules"
    if 0x140000000 <= start < 0x150000000:
        return "exe"
    if "x" in perms or perms.startswith("r--"):
        return "images"
    return "windows" if start < 0x7F0000000000 else "unix"


def breakdown(pid):
    totals = dict.fromkeys(KINDS, 0)
    current = None
    with open(f"/proc/{pid}/smaps") as f:
        for line in f:
            head = re.match(r"^([0-9a-f]+)-[0-9a-f]+ (\S+) \S+ \S+ \S+\s*(.*)$", line)
            if head:
                current = kind(int(head.group(1), 16), head.group(2), head.group(3).strip())
                continue
            field = re.match(r"^(Private_Dirty|Swap):\s+(\d+) kB", line)
            if field and current:
                totals[current] += int(field.group(2))
    return totals


def main():
    pids = sys.argv[1:]
    if not pids:
        sys.exit(__doc__)
    columns = [breakdown(p) for p in pids]
    print("%-38s" % "private KiB by kind" + "".join("%12s" % p for p in pids))
    for key, label in KINDS.items():
        print("%-38s" % label + "".join("%12d" % c[key] for c in columns))
    print("%-38s" % "total" + "".join("%12d" % sum(c.values()) for c in columns))


if __name__ == "__main__":
    main()
