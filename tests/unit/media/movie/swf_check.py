#!/usr/bin/python3
"""Independent reading of a SWF movie for the movie writer's tests.

yaswfp (Debian's python3-yaswfp) parses the movie; this script adds what yaswfp leaves raw
(PlaceObject, DefineBitsJPEG3), decodes every JPEG with ImageMagick, and prints one line per fact:

  header SIG VERSION FILE_LENGTH ACTUAL_LENGTH XMIN XMAX YMIN YMAX RATE COUNT
  tag INDEX CODE NAME BODY_OFFSET BODY_LENGTH
  background R G B
  jpeg ID WIDTH HEIGHT DECODED_PPM MARKERS...     (markers before the scan, in order)
  alpha ID ZLIB_OFFSET ZLIB_LENGTH                  (DefineBitsJPEG3: the zlib alpha plane)
  shape ID XMIN XMAX YMIN YMAX FILLBITS LINEBITS
  fill TYPE BITMAP_ID SCALEX SCALEY TX TY
  line WIDTH
  record style MOVETO X Y FILL0 FILL1 LINE        (absent values are "-")
  record straight DX DY
  record curve CDX CDY ADX ADY
  place ID DEPTH SCALEX SCALEY TX TY REST
  actions NAME...
  ok

Offsets count in the uncompressed movie (for CWS: the inflated body after the 8-byte header).
The exit status is non-zero, with a line "error ...", when yaswfp or this reader finds any fault:
a tag that yaswfp reads with the wrong length, bytes after the end tag, a wrong file length.
"""

import io
import os
import struct
import subprocess
import sys
import zlib

from yaswfp import swfparser
from yaswfp.helpers import BitConsumer

CONVERT = "/usr/bin/convert" if os.path.exists("/usr/bin/convert") else "convert"


def fail(text):
    print("error " + text)
    sys.exit(1)


def signed(value, bits):
    """yaswfp reads RECT and MATRIX fields unsigned; give them their sign back."""
    if bits and value >= 1 << (bits - 1):
        return value - (1 << bits)
    return value


def read_rect(src):
    bc = BitConsumer(src)
    n = bc.u_get(5)
    return [signed(bc.u_get(n), n) for _ in range(4)]


def read_matrix(src):
    bc = BitConsumer(src)
    sx = sy = 0x10000
    if bc.u_get(1):
        n = bc.u_get(5)
        sx, sy = bc.s_get(n), bc.s_get(n)
    if bc.u_get(1):
        n = bc.u_get(5)
        bc.s_get(n), bc.s_get(n)
    n = bc.u_get(5)
    tx = bc.s_get(n) if n else 0
    ty = bc.s_get(n) if n else 0
    return sx, sy, tx, ty


def jpeg_markers(data):
    """Markers of a JPEG stream up to and including the scan."""
    if data[:2] != b"\xff\xd8":
        fail("jpeg without start marker")
    markers, pos = ["D8"], 2
    while pos < len(data):
        if data[pos] != 0xFF:
            fail("jpeg marker expected at %d" % pos)
        marker = data[pos + 1]
        markers.append("%02X" % marker)
        if marker == 0xDA:
            if data[-2:] != b"\xff\xd9":
                fail("jpeg does not end with its end marker")
            return markers
        length = struct.unpack(">H", data[pos + 2:pos + 4])[0]
        pos += 2 + length
    fail("jpeg without scan")


def decode_jpeg(data, out_path):
    """ImageMagick decodes the JPEG; the result is written as binary PPM."""
    ppm = subprocess.run([CONVERT, "jpeg:-", "-depth", "8", "ppm:-"], input=data,
                         stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=True).stdout
    fields, pos = [], 0
    while len(fields) < 4:
        while ppm[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not ppm[pos:pos + 1].isspace():
            pos += 1
        fields.append(ppm[start:pos])
    if fields[0] != b"P6" or fields[3] != b"255":
        fail("unexpected decoder output")
    with open(out_path, "wb") as f:
        f.write(ppm)
    return int(fields[1]), int(fields[2])


def main():
    path = sys.argv[1]
    with open(path, "rb") as f:
        raw = f.read()
    if len(raw) < 8 or raw[1:3] != b"WS" or raw[0:1] not in (b"F", b"C"):
        fail("not a SWF movie")
    file_length = struct.unpack("<I", raw[4:8])[0]
    body = raw[8:] if raw[0:1] == b"F" else zlib.decompress(raw[8:])
    actual = 8 + len(body)

    # yaswfp's own reading of the whole movie.
    parser = swfparser.SWFParser(io.BytesIO(raw))
    h = parser.header
    if h.FileLength != actual or file_length != actual:
        fail("file length %d, actual %d" % (file_length, actual))
    src = io.BytesIO(body)
    frame = read_rect(src)
    rate, count = struct.unpack("<HH", src.read(4))
    if frame[1] != h.FrameSize[1] or frame[3] != h.FrameSize[3] or rate != h.FrameRate:
        fail("header disagrees with yaswfp")
    print("header %s %d %d %d %d %d %d %d %d %d" %
          (h.Signature, h.Version, file_length, actual, *frame, rate, count))

    # Walk the record headers to find each body; yaswfp's tags must match one for one.
    walked = []
    while True:
        if src.tell() + 2 > len(body):
            fail("no end tag")
        code_len = struct.unpack("<H", src.read(2))[0]
        code, length = code_len >> 6, code_len & 0x3F
        if length == 0x3F:
            length = struct.unpack("<I", src.read(4))[0]
        offset = src.tell()
        if offset + length > len(body):
            fail("tag %d runs past the end" % code)
        src.seek(offset + length)
        walked.append((code, offset, length))
        if code == 0:
            break
    if src.tell() != len(body):
        fail("%d bytes after the end tag" % (len(body) - src.tell()))
    if len(parser.tags) != len(walked) - 1:
        fail("yaswfp found %d tags, the walk %d" % (len(parser.tags), len(walked) - 1))

    out_base = sys.argv[2] if len(sys.argv) > 2 else path
    for index, (code, offset, length) in enumerate(walked):
        name = swfparser.TAG_NAMES.get(code, "Unknown")
        print("tag %d %d %s %d %d" % (index, code, name, offset, length))
        if code == 0:
            continue
        tag = parser.tags[index]
        data = body[offset:offset + length]
        kind = type(tag).__name__
        if kind == "FailingObject":
            # yaswfp's SetBackgroundColor reader cannot take the empty tag 9 record; nothing
            # else may fail.
            if not (code == 9 and length == 0):
                fail("yaswfp could not read tag %d (%s)" % (index, name))
            continue
        if tag.name != name:
            fail("yaswfp names tag %d %s" % (index, tag.name))
        if code == 9:
            print("background %d %d %d" % tuple(tag.BackgroundColor))
        elif code in (21, 35):
            char_id = struct.unpack("<H", data[:2])[0]
            if code == 21:
                jpeg = data[2:]
                if b"\xff\xd8" + tag.ImageData != jpeg:
                    fail("yaswfp's JPEG differs")
            else:
                alpha_offset = struct.unpack("<I", data[2:6])[0]
                if 6 + alpha_offset > len(data):
                    fail("alpha offset past the tag")
                jpeg = data[6:6 + alpha_offset]
            markers = jpeg_markers(jpeg)
            ppm = "%s.%d.ppm" % (out_base, index)
            w, hgt = decode_jpeg(jpeg, ppm)
            print("jpeg %d %d %d %s %s" % (char_id, w, hgt, ppm, " ".join(markers)))
            if code == 35:
                print("alpha %d %d %d" %
                      (char_id, offset + 6 + alpha_offset, length - 6 - alpha_offset))
        elif code in (2, 32):
            s = tag.Shapes
            b = read_rect(io.BytesIO(data[2:]))
            print("shape %d %d %d %d %d %d %d" % (tag.ShapeId, *b, s.NumFillBits, s.NumlineBits))
            for fs in s.FillStyles.FillStyles:
                if fs.FillStyleType in (0x40, 0x41, 0x42, 0x43):
                    m = fs.BitmapMatrix
                    sx = m.ScaleX if m.HasScale else 0x10000
                    sy = m.ScaleY if m.HasScale else 0x10000
                    print("fill %d %d %d %d %d %d" %
                          (fs.FillStyleType, fs.BitmapId, signed(sx, getattr(m, "NScaleBits", 0)),
                           signed(sy, getattr(m, "NScaleBits", 0)),
                           signed(m.TranslateX or 0, m.NTranslateBits),
                           signed(m.TranslateY or 0, m.NTranslateBits)))
                else:
                    print("fill %d - - - - -" % fs.FillStyleType)
            for ls in s.LineStyles.LineStyles:
                print("line %d" % ls.Width)
            for r in s.ShapeRecords:
                rn = type(r).__name__
                if rn == "StyleChangeRecord":
                    g = lambda a: str(getattr(r, a)) if hasattr(r, a) else "-"
                    print("record style %d %s %s %s %s %s" %
                          (r.StateMoveTo, g("MoveDeltaX"), g("MoveDeltaY"), g("FillStyle0"),
                           g("FillStyle1"), g("LineStyle")))
                elif rn == "StraightEdgeRecord":
                    print("record straight %d %d" %
                          (getattr(r, "DeltaX", 0), getattr(r, "DeltaY", 0)))
                else:
                    print("record curve %d %d %d %d" %
                          (r.ControlDeltaX, r.ControlDeltaY, r.AnchorDeltaX, r.AnchorDeltaY))
        elif code == 4:
            part = io.BytesIO(data)
            char_id, depth = struct.unpack("<HH", part.read(4))
            sx, sy, tx, ty = read_matrix(part)
            print("place %d %d %d %d %d %d %d" %
                  (char_id, depth, sx, sy, tx, ty, len(data) - part.tell()))
        elif code == 12:
            print("actions " + " ".join(a.name for a in tag.Actions))
    print("ok")


if __name__ == "__main__":
    main()
