#!/usr/bin/env python3
"""Builds a test screensaver: the stub followed by a payload with the given movies.

make_saver.py STUB OUT [--flags N] [--company C] [--name N] [--credits T] [--bg RGB]
              [--preview-colour RGB] [--movie W,H,MODE,QUALITY,NAME]... [--settings-file I]
              [--preview-file I]

Movies are stored uncompressed and unscrambled; their data is a short fake SWF header.
"""
import argparse
import struct
import zlib

MULT = 0x5DEECE66D
MASK = (1 << 48) - 1

def scramble(seed, data):
    state = (seed ^ MULT) & MASK
    out = bytearray(data)
    for i in range(len(out)):
        state = (state * MULT + 11) & MASK
        out[i] ^= (state >> 40) & 0xFF
    return bytes(out)

TEXTS = {"company": (0, 101), "name": (202, 101), "credits": (404, 513), "quality_label": (1430, 16),
         "low": (1462, 16), "medium": (1494, 16), "high": (1526, 16), "sound": (1558, 11)}

def main():
    p = argparse.ArgumentParser()
    p.add_argument("stub")
    p.add_argument("out")
    p.add_argument("--flags", type=lambda s: int(s, 0), default=0x37C)
    p.add_argument("--company", default="Acme")
    p.add_argument("--name", default="Stars")
    p.add_argument("--credits", default="Credits of the test saver")
    p.add_argument("--bg", type=lambda s: int(s, 0), default=0)
    p.add_argument("--preview-colour", type=lambda s: int(s, 0), default=0)
    p.add_argument("--movie", action="append", default=[])
    p.add_argument("--settings-file", type=int, default=-1)
    p.add_argument("--preview-file", type=int, default=-1)
    a = p.parse_args()

    block = bytearray(1612)
    texts = {"company": a.company, "name": a.name, "credits": a.credits, "quality_label": "&Quality:",
             "low": "Low", "medium": "Medium", "high": "High", "sound": "&Sound"}
    for key, (offset, room) in TEXTS.items():
        units = texts[key].encode("utf-16-le")[: (room - 1) * 2]
        block[offset:offset + len(units)] = units
    movies = [m.split(",") for m in a.movie]
    struct.pack_into("<IIIiiiii", block, 1580, a.flags, a.bg, a.preview_colour, len(movies),
                     1 if movies else 0, a.settings_file, a.preview_file, -1)
    seed = 0x1234567
    packed = zlib.compressobj(9, zlib.DEFLATED, -15)
    deflated = packed.compress(bytes(block)) + packed.flush()
    stub = open(a.stub, "rb").read()
    payload = struct.pack("<Ii", seed, len(deflated)) + scramble((seed * 9) & 0xFFFFFFFF, deflated)
    payload += struct.pack("<i", 0)  # slot 0 is file 0
    for i, (w, h, mode, quality, name) in enumerate(movies):
        data = b"FWS\x06" + bytes(60)
        record = struct.pack("<IIIIII", int(w), int(h), len(data), len(data), int(mode), int(quality))
        record += name.encode("ascii").ljust(100, b"\0")
        payload += scramble((seed * 9 + i + 1) & 0xFFFFFFFF, record) + data
    out = stub + payload + b"QVRK" + struct.pack("<I", len(stub))
    open(a.out, "wb").write(out)

if __name__ == "__main__":
    main()
