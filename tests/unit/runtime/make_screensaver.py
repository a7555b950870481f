#!/usr/bin/env python3
"""Builds a screensaver file (stub + payload + trailer) for the stub's tests under Wine.

Written from the payload layout independently of the runtime core, so that the stub is checked
against a second implementation of the keystream and of the layouts.

make_screensaver.py --stub saverengine.exe --out x.scr [--flags 0x3F] [--seed N]
                    [--expect DIR] --item NAME:SIZE:SALT ...
An empty NAME stores no name. With --expect, the plain data of item i goes to DIR/i.bin.
"""
import argparse
import os
import struct
import zlib

MASK = (1 << 48) - 1
MULTIPLIER = 0x5DEECE66D


def scramble(seed, data):
    state = ((seed & 0xFFFFFFFF) ^ MULTIPLIER) & MASK
    out = bytearray(data)
    for i in range(len(out)):
        state = (state * MULTIPLIER + 11) & MASK
        out[i] ^= (state >> 40) & 0xFF
    return bytes(out)


def raw_deflate(data):
    z = zlib.compressobj(9, zlib.DEFLATED, -15, 8, zlib.Z_DEFAULT_STRATEGY)
    return z.compress(data) + z.flush()


def text_field(text, units):
    raw = text.encode("utf-16-le")[: (units - 1) * 2]
    return raw + b"\0" * (units * 2 - len(raw))


def pattern(size, salt):
    return bytes(((i * 31 + salt + (i >> 7)) & 0xFF) for i in range(size))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--stub", required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--flags", default="0x3F")
    ap.add_argument("--seed", type=int, default=0xC0FFEE11)
    ap.add_argument("--expect")
    ap.add_argument("--item", action="append", default=[])
    args = ap.parse_args()
    flags = int(args.flags, 0)
    seed = args.seed & 0xFFFFFFFF

    items = []
    for item_text in args.item:
        name, size, salt = item_text.rsplit(":", 2)
        items.append((name, pattern(int(size), int(salt))))

    block = bytearray()
    block += text_field("Marqon", 101)
    block += text_field("Test Saver", 101)
    block += text_field("Made for the tests", 513)
    for label, units in (("&Quality:", 16), ("Low", 16), ("Medium", 16), ("High", 16), ("Sound", 11)):
        block += text_field(label, units)
    block += struct.pack("<IIIiiiii", flags, 0x00202020, 0x000000FF, len(items), len(items), -1, -1, -1)
    assert len(block) == 1612
    settings = scramble(seed * 9, raw_deflate(bytes(block)))

    with open(args.stub, "rb") as f:
        out = bytearray(f.read())
    offset = len(out)
    out += struct.pack("<Ii", seed, len(settings)) + settings
    out += b"".join(struct.pack("<i", i) for i in range(len(items)))
    for index, (name, data) in enumerate(items):
        stored = raw_deflate(data) if flags & 1 else data
        if flags & 2:
            stored = scramble(seed, stored)
        raw_name = name.encode("latin-1")[:99]
        record = struct.pack("<IIIIII", 320, 240, len(stored), len(data), 0, 1)
        record += raw_name + b"\0" * (100 - len(raw_name))
        out += scramble(seed * 9 + index + 1, record) + stored
        if args.expect:
            with open(os.path.join(args.expect, "%d.bin" % index), "wb") as f:
                f.write(data)
    out += b"QVRK" + struct.pack("<I", offset)
    with open(args.out, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
