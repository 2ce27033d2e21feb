#!/usr/bin/env python3
"""Writes the MP3 tag fuzzer's seed files into seeds/: a file with a version 2 tag of the five
frames the reader looks for and a version 1 block, and a file with the version 1 block alone."""
import struct


def frame(frame_id, text, encoding=0):
    content = bytes([encoding]) + text.encode("latin-1")
    return frame_id.encode() + struct.pack(">I", len(content)) + b"\0\0" + content


def id3v2(frames):
    size = len(frames)
    synchsafe = bytes([(size >> 21) & 0x7F, (size >> 14) & 0x7F, (size >> 7) & 0x7F, size & 0x7F])
    return b"ID3\x03\x00\x00" + synchsafe + frames


def id3v1(title, artist, album, track, genre):
    block = b"TAG" + title.encode().ljust(30, b"\0") + artist.encode().ljust(30, b"\0")
    block += album.encode().ljust(30, b"\0") + b"1999" + bytes(28) + bytes([0, track, genre])
    return block


audio = b"\xff\xfb\x90\x64" + bytes(400)
tag = id3v2(frame("TIT2", "Song") + frame("TPE1", " Band ") + frame("COMM", "engnote", 1) +
            frame("TALB", "Record") + frame("TCON", "(999)(13)") + frame("TRCK", "7/12"))
open("seeds/tagged.mp3", "wb").write(tag + audio + id3v1("Song", "Band", "Record", 7, 13))
open("seeds/version1_only.mp3", "wb").write(audio + id3v1("Other", "Group", "", 0, 60))
