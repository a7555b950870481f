#include "builder/ui/controls/kz_gui_colors.h"

namespace {

uint32_t Channel(uint32_t color, int shift) {
    return (color >> shift) & 0xFF;
}

uint32_t Lighten(uint32_t channel) {
    return channel >= 235 ? 255 : channel * 35 / 32;
}

} // namespace

uint32_t KZLightFaceColor(uint32_t face) {
    return Lighten(Channel(face, 0)) | Lighten(Channel(face, 8)) << 8 |
           Lighten(Channel(face, 16)) << 16;
}

uint32_t KZHalfHighlightColor(uint32_t face, uint32_t highlight) {
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        result |= ((Channel(face, shift) + Channel(highlight, shift)) / 2) << shift;
    return result;
}
