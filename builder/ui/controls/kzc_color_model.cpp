#include "builder/ui/controls/kzc_color_model.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "media/base/kz_text.h"

void KZCHsvToRgb(double hue, double saturation, double value, double* red, double* green,
                 double* blue) {
    double h = (hue - std::floor(hue)) * 6.0;
    int sector = (int)h;
    if (sector > 5)
        sector = 5;
    double f = h - sector;
    double p = value * (1.0 - saturation);
    double q = value * (1.0 - saturation * f);
    double t = value * (1.0 - saturation * (1.0 - f));
    double r = value, g = t, b = p;
    switch (sector) {
    case 0:
        r = value;
        g = t;
        b = p;
        break;
    case 1:
        r = q;
        g = value;
        b = p;
        break;
    case 2:
        r = p;
        g = value;
        b = t;
        break;
    case 3:
        r = p;
        g = q;
        b = value;
        break;
    case 4:
        r = t;
        g = p;
        b = value;
        break;
    default:
        r = value;
        g = p;
        b = q;
        break;
    }
    *red = r;
    *green = g;
    *blue = b;
}

static int PaletteChannel(double c) {
    return (int)(c * 255.0 + 0.5);
}

void KZCBuildColorPalette(KZCColor palette[KZC_PALETTE_SIZE]) {
    for (int k = 0; k < KZC_PALETTE_GREYS; ++k) {
        int level = k * 255 / 11;
        palette[k] = KZCMakeColor(level, level, level);
    }
    for (int row = 0; row < KZC_PALETTE_HUE_ROWS; ++row) {
        double value = std::sqrt((4 - row % 4) * 0.25);
        double saturation = row < 4 ? 1.0 : row < 8 ? 0.5 : 0.2;
        for (int column = 0; column < KZC_PALETTE_COLUMNS; ++column) {
            double r, g, b;
            KZCHsvToRgb(column / 12.0, saturation, value, &r, &g, &b);
            palette[KZC_PALETTE_GREYS + row * KZC_PALETTE_COLUMNS + column] =
                KZCMakeColor(PaletteChannel(r), PaletteChannel(g), PaletteChannel(b));
        }
    }
}

const KZCColor* KZCColorPalette() {
    struct Palette {
        KZCColor colors[KZC_PALETTE_SIZE];
        Palette() { KZCBuildColorPalette(colors); }
    };
    static const Palette palette;
    return palette.colors;
}

int KZCPaletteIndexOf(KZCColor color) {
    const KZCColor* palette = KZCColorPalette();
    for (int i = 0; i < KZC_PALETTE_SIZE; ++i) {
        if (palette[i] == (color & 0xFFFFFF))
            return i;
    }
    return -1;
}

void KZCFormatColorTip(KZCColor color, char* buffer, int size) {
    int r = KZCRed(color), g = KZCGreen(color), b = KZCBlue(color);
    std::snprintf(buffer, size, "#%02X%02X%02X (%d %d %d)", r, g, b, r, g, b);
}

void KZCFormatHexColor(KZCColor color, char* buffer, int size) {
    std::snprintf(buffer, size, "#%02X%02X%02X", KZCRed(color), KZCGreen(color), KZCBlue(color));
}

static bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

static KZCColor ColorFromDigits(const int digits[6]) {
    return KZCMakeColor(digits[0] * 16 + digits[1], digits[2] * 16 + digits[3],
                        digits[4] * 16 + digits[5]);
}

bool KZCParseClipboardColor(const char* text, KZCColor* color) {
    // Spaces and the punctuation that surrounds colours in documents and style sheets.
    static const char kTrimmed[] = " \t\r\n'\"#,;.:!?()[]{}&|-_@+*/$";
    char s[21];
    size_t length = std::strlen(text);
    if (length > 20)
        length = 20;
    std::memcpy(s, text, length);
    s[length] = 0;
    size_t begin = 0, end = length;
    while (begin < end && std::strchr(kTrimmed, s[begin]))
        ++begin;
    while (end > begin && std::strchr(kTrimmed, s[end - 1]))
        --end;
    if (end - begin < 2)
        return false;
    int digits[6] = {0, 0, 0, 0, 0, 0};
    int count = 0;
    for (size_t i = begin; i < end && count < 6; ++i) {
        int d = KZHexDigit(s[i]);
        if (d < 0)
            break;
        digits[count++] = d;
    }
    if (count < 2)
        return false;
    *color = ColorFromDigits(digits);
    return true;
}

bool KZCParseHexColor(const char* text, KZCColor* color) {
    while (IsSpace(*text))
        ++text;
    if (*text == '#')
        ++text;
    int digits[6];
    for (int i = 0; i < 6; ++i) {
        digits[i] = KZHexDigit(text[i]);
        if (digits[i] < 0)
            return false;
    }
    text += 6;
    while (IsSpace(*text))
        ++text;
    if (*text)
        return false;
    *color = ColorFromDigits(digits);
    return true;
}

int KZCReadLimitedInteger(const char* text, int lowest, int highest) {
    while (IsSpace(*text))
        ++text;
    bool negative = false;
    if (*text == '-' || *text == '+')
        negative = *text++ == '-';
    // Saturates instead of overflowing on a long run of digits.
    long long n = 0;
    while (*text >= '0' && *text <= '9') {
        if (n < 1000000000LL)
            n = n * 10 + (*text - '0');
        ++text;
    }
    if (negative)
        n = -n;
    if (n < lowest)
        return lowest;
    if (n > highest)
        return highest;
    return (int)n;
}

int KZCWrapHue(int degrees) {
    int wrapped = degrees % 360;
    return wrapped < 0 ? wrapped + 360 : wrapped;
}

int KZCReadHue(const char* text) {
    return KZCWrapHue(KZCReadLimitedInteger(text, -10000, 10000));
}
