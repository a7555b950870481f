// Colour arithmetic of the colour button, its pop-up and the colour dialog, free of any window:
// Windows colour values, hue/saturation/value conversions, the pop-up's palette, and the rules
// by which typed or pasted text becomes a colour.
#pragma once

#include <cstdint>

// A Windows colour value: red + green * 256 + blue * 65536.
typedef uint32_t KZCColor;

inline KZCColor KZCMakeColor(int red, int green, int blue) {
    return (KZCColor)(red & 0xFF) | ((KZCColor)(green & 0xFF) << 8) |
           ((KZCColor)(blue & 0xFF) << 16);
}
inline int KZCRed(KZCColor c) {
    return (int)(c & 0xFF);
}
inline int KZCGreen(KZCColor c) {
    return (int)((c >> 8) & 0xFF);
}
inline int KZCBlue(KZCColor c) {
    return (int)((c >> 16) & 0xFF);
}

// hue in turns (0 to below 1), saturation and value 0 to 1; channels come out 0 to 1.
void KZCHsvToRgb(double hue, double saturation, double value, double* red, double* green,
                 double* blue);

// The pop-up's palette: 12 greys, then 12 rows of 12 hues (row-major).
enum {
    KZC_PALETTE_GREYS = 12,
    KZC_PALETTE_COLUMNS = 12,
    KZC_PALETTE_HUE_ROWS = 12,
    KZC_PALETTE_SIZE = KZC_PALETTE_GREYS + KZC_PALETTE_COLUMNS * KZC_PALETTE_HUE_ROWS
};

void KZCBuildColorPalette(KZCColor palette[KZC_PALETTE_SIZE]);
// The palette built on first use.
const KZCColor* KZCColorPalette();
// The first cell holding `color`, -1 when the palette does not hold it.
int KZCPaletteIndexOf(KZCColor color);

// "#RRGGBB (r g b)", the text of a cell's tooltip; `buffer` holds at least 24 bytes.
void KZCFormatColorTip(KZCColor color, char* buffer, int size);
// "#RRGGBB", the colour dialog's hexadecimal edit; `buffer` holds at least 8 bytes.
void KZCFormatHexColor(KZCColor color, char* buffer, int size);

// The colour in a clipboard text, as Shift + click on the colour button reads it: the first 20
// bytes, trimmed of spaces and punctuation at both ends, then up to six hexadecimal digits as red,
// green and blue, missing digits counting as 0 ("ff" is pure red). False, and `color` untouched,
// when fewer than two hexadecimal digits lead the trimmed text.
bool KZCParseClipboardColor(const char* text, KZCColor* color);

// A hexadecimal colour typed into the colour dialog: six digits, optionally after '#', with
// spaces around. False while the text is anything else (the user is still typing).
bool KZCParseHexColor(const char* text, KZCColor* color);

// The integer at the start of an edit's text (spaces, an optional sign, digits), limited to
// lowest..highest; text that does not start with a number reads as 0 (then limited).
int KZCReadLimitedInteger(const char* text, int lowest, int highest);

// Hue as typed: limited to -10000..10000, then wrapped into 0..359.
int KZCReadHue(const char* text);
int KZCWrapHue(int degrees);
