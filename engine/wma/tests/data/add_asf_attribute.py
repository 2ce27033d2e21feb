#!/usr/bin/env python3
"""Sets one attribute in the Extended Content Description object of an ASF (WMA) file.

ffmpeg writes every extended attribute as a string; the reader must also handle numbers,
so this adds them: add_asf_attribute.py FILE NAME {dword|word|string} VALUE
An attribute of the same name is replaced. The header object's size is updated; the data
after the header is left as it is.
"""
import struct
import sys

HEADER_GUID = bytes.fromhex("3026b2758e66cf11a6d900aa0062ce6c")
EXTENDED_CONTENT_GUID = bytes.fromhex("40a4d0d207e3d21197f000a0c95ea850")
TYPES = {"string": 0, "dword": 3, "word": 5}


def encode_value(kind, value):
    if kind == "string":
        return (value + "\0").encode("utf-16-le")
    if kind == "dword":
        return struct.pack("<I", int(value))
    return struct.pack("<H", int(value))


def read_descriptors(body):
    count, = struct.unpack_from("<H", body, 0)
    position, descriptors = 2, []
    for _ in range(count):
        name_length, = struct.unpack_from("<H", body, position)
        name = body[position + 2:position + 2 + name_length]
        position += 2 + name_length
        kind, value_length = struct.unpack_from("<HH", body, position)
        value = body[position + 4:position + 4 + value_length]
        position += 4 + value_length
        descriptors.append((name, kind, value))
    return descriptors


def render_descriptors(descriptors):
    out = struct.pack("<H", len(descriptors))
    for name, kind, value in descriptors:
        out += struct.pack("<H", len(name)) + name + struct.pack("<HH", kind, len(value)) + value
    return EXTENDED_CONTENT_GUID + struct.pack("<Q", 24 + len(out)) + out


def main(path, name, kind, value):
    data = open(path, "rb").read()
    if data[:16] != HEADER_GUID:
        sys.exit("not an ASF file")
    header_size, object_count = struct.unpack_from("<QI", data, 16)
    objects, position = [], 30
    for _ in range(object_count):
        size, = struct.unpack_from("<Q", data, position + 16)
        objects.append(data[position:position + size])
        position += size
    wide_name = (name + "\0").encode("utf-16-le")
    descriptors = []
    for index, item in enumerate(objects):
        if item[:16] == EXTENDED_CONTENT_GUID:
            descriptors = read_descriptors(item[24:])
            del objects[index]
            break
    descriptors = [d for d in descriptors if d[0] != wide_name]
    descriptors.append((wide_name, TYPES[kind], encode_value(kind, value)))
    objects.insert(0, render_descriptors(descriptors))
    body = b"".join(objects)
    header = HEADER_GUID + struct.pack("<QI", 30 + len(body), len(objects)) + data[28:30]
    open(path, "wb").write(header + body + data[header_size:])


if __name__ == "__main__":
    if len(sys.argv) != 5 or sys.argv[3] not in TYPES:
        sys.exit(__doc__)
    main(*sys.argv[1:])
