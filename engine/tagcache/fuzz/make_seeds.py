#!/usr/bin/env python3
"""Writes the tag cache fuzzer's seed into seeds/: a cache of the owner the fuzzer expects with the
playlists of the last profile and three records (tags from both readers, an untagged file, an
empty one)."""
import struct

FNV_OFFSET, FNV_PRIME = 0xCBF29CE484222325, 0x100000001B3


def fnv1a(data):
    value = FNV_OFFSET
    for byte in data:
        value = ((value ^ byte) * FNV_PRIME) & 0xFFFFFFFFFFFFFFFF
    return value


def text(value, width):
    data = value.encode("cp1252")
    return struct.pack("<H" if width == 2 else "<B", len(data)) + data


def record(path, size, time, result, track, album, artist, title, genre):
    return (text(path, 2) + struct.pack("<QqiI", size, time, result, track & 0xFFFFFFFF) +
            b"".join(text(t, 1) for t in (album, artist, title, genre)))


records = [
    record("Music\\Song.mp3", 4000, 1_700_000_000_123_456_789, 1, 7, "Record", "Band", "Song", "Rock"),
    record("Music\\Talk.wma", 9000, 1_700_000_002_000_000_000, 1, 9999, "", "Voice", "Talk", ""),
    record("empty.mp3", 0, 1_600_000_000_000_000_000, -6, 9999, "", "", "", ""),
]
playlists = b"\x01" + struct.pack("<Q", 0x0123456789ABCDEF) + b"".join(
    struct.pack("<Qq", 2_000_000 + kind, 1_700_000_100_000_000_000) for kind in range(5))
body = b"KOVATAGS" + struct.pack("<II", 1, 1252) + text("folder:/media/KOVA", 2) + playlists + b"".join(records)
body += struct.pack("<I", len(records))
open("seeds/three_files.tags", "wb").write(body + struct.pack("<Q", fnv1a(body)))
