// Pictures as GDI bitmaps: PNG resources decoded with the picture library, drawn over a
// background colour (alpha blended) into a 24-bit top-down DIB section.
#pragma once

#include <windows.h>

#include <cstdint>

class KZPicture;

// A "PNG" resource of the resource module, else of the program, decoded; null when missing or
// unreadable. The caller owns it (Release).
KZPicture* KZLoadPngResource(int id, const char* type = "PNG");
// A bitmap of the picture over `background`; null for a picture that is not valid.
HBITMAP KZCreateBitmapFromPicture(const KZPicture* picture, COLORREF background);
// A bitmap of `width` x `height` RGB pixels, rows top first and packed; null on failure.
HBITMAP KZCreateBitmapFromRGB(const uint8_t* rgb, int width, int height);
