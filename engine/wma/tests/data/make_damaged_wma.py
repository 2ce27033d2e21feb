#!/usr/bin/env python3
"""Writes attribute_count_past_end.wma: a 156-byte ASF header whose Extended Content Description
object claims 63,748 attributes but holds one (WM/Genre = "Jazz") and zero bytes after it.

The damage is the one met on a real device: the count field says far more than the object and the
file hold, so a parser that trusts it reads on past the end of the file."""
import struct

HEADER_GUID = bytes.fromhex("3026b2758e66cf11a6d900aa0062ce6c")
EXTENDED_CONTENT_GUID = bytes.fromhex("40a4d0d207e3d21197f000a0c95ea850")
FILE_SIZE = 156
CLAIMED_ATTRIBUTES = 63748

name = "WM/Genre\0".encode("utf-16-le")
value = "Jazz\0".encode("utf-16-le")
attribute = struct.pack("<H", len(name)) + name + struct.pack("<HH", 0, len(value)) + value
body = struct.pack("<H", CLAIMED_ATTRIBUTES) + attribute
object_size = FILE_SIZE - 30
extended = EXTENDED_CONTENT_GUID + struct.pack("<Q", object_size) + body
extended += bytes(object_size - len(extended))
header = HEADER_GUID + struct.pack("<QIBB", FILE_SIZE, 1, 1, 2)
data = header + extended
assert len(data) == FILE_SIZE
open("attribute_count_past_end.wma", "wb").write(data)
