#!/usr/bin/env python3
"""Draws the help pages' two pictures into help/ and fra/help/ (the same bytes in both):
saver.gif, a monitor with a star on its screen for the title bar, and arrow.gif, the links'
bullet. Both are GIFs with a transparent colour, which every engine that shows the panel draws."""
import os
from PIL import Image, ImageDraw

here = os.path.dirname(os.path.abspath(__file__))
TRANSPARENT = (255, 0, 255)


def to_gif(image, path):
    paletted = image.convert("P", palette=Image.ADAPTIVE, colors=16)
    index = paletted.getpalette()[:48]
    key = next(i for i in range(16) if tuple(index[3 * i:3 * i + 3]) == TRANSPARENT)
    paletted.save(path, transparency=key, optimize=False)


def saver():
    image = Image.new("RGB", (24, 24), TRANSPARENT)
    draw = ImageDraw.Draw(image)
    draw.rectangle((1, 2, 22, 17), fill=(192, 192, 192), outline=(0, 0, 0))
    draw.rectangle((3, 4, 20, 15), fill=(0, 0, 128))
    draw.polygon([(12, 5), (13, 9), (17, 9), (14, 11), (15, 14), (12, 12), (9, 14), (10, 11),
                  (7, 9), (11, 9)], fill=(255, 255, 0))
    draw.rectangle((9, 18, 14, 19), fill=(128, 128, 128))
    draw.rectangle((5, 20, 18, 21), fill=(192, 192, 192), outline=(0, 0, 0))
    return image


def arrow():
    image = Image.new("RGB", (7, 7), TRANSPARENT)
    ImageDraw.Draw(image).polygon([(1, 0), (5, 3), (1, 6)], fill=(0, 0, 128))
    return image


if __name__ == "__main__":
    for folder in (here, os.path.join(here, "..", "fra", "help")):
        to_gif(saver(), os.path.join(folder, "saver.gif"))
        to_gif(arrow(), os.path.join(folder, "arrow.gif"))
