#!/usr/bin/env python3
"""Prints each file's PE kind: PE32+ x86-64, PE32 i386, or what else it is.
Exits non-zero unless every file is a PE32+ x86-64 image."""
import struct
import sys

ok = True
for path in sys.argv[1:]:
    with open(path, "rb") as f:
        data = f.read(4096)
    kind = "not a PE image"
    if data[:2] == b"MZ" and len(data) >= 0x40:
        at = struct.unpack_from("<I", data, 0x3C)[0]
        if data[at:at + 4] == b"PE\0\0" and len(data) >= at + 26:
            machine = struct.unpack_from("<H", data, at + 4)[0]
            magic = struct.unpack_from("<H", data, at + 24)[0]
            kind = {0x20B: "PE32+", 0x10B: "PE32"}.get(magic, "PE magic %#x" % magic)
            kind += {0x8664: " x86-64", 0x14C: " i386"}.get(machine, " machine %#x" % machine)
    print("%s: %s" % (path, kind))
    ok = ok and kind == "PE32+ x86-64"
sys.exit(0 if ok else 1)
