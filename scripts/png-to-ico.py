#!/usr/bin/env python3
"""png-to-ico.py PNG ICO: wraps a 256 x 256 PNG as a Windows icon (Vista and later read PNG entries)."""
import struct
import sys

with open(sys.argv[1], "rb") as source:
    png = source.read()
if png[:8] != b"\x89PNG\r\n\x1a\n":
    sys.exit(f"png-to-ico: {sys.argv[1]} is not a PNG file")
width, height = struct.unpack(">II", png[16:24])
if width > 256 or height > 256:
    sys.exit(f"png-to-ico: {sys.argv[1]} is larger than 256 x 256")
header = struct.pack("<HHH", 0, 1, 1)
entry = struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(png), 6 + 16)
with open(sys.argv[2], "wb") as target:
    target.write(header + entry + png)
