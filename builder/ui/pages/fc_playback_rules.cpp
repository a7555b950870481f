#include "builder/ui/pages/fc_playback_rules.h"

namespace {

const char* const kQuality[FC_QUALITY_COUNT] = {"Low", "Medium", "High"};
const char* const kSizeMode[FC_SIZE_MODE_COUNT] = {"Original Size", "Full Screen",
                                                   "Stretch Full Screen", "Never Resize"};

} // namespace

const char* FCQualityText(int position) {
    return position >= 0 && position < FC_QUALITY_COUNT ? kQuality[position] : "";
}

const char* FCSizeModeText(int position) {
    return position >= 0 && position < FC_SIZE_MODE_COUNT ? kSizeMode[position] : "";
}

FCColor FCColorFromColorRef(uint32_t value) {
    FCColor color;
    color.red = (value & 0xFF) / 255.0f;
    color.green = ((value >> 8) & 0xFF) / 255.0f;
    color.blue = ((value >> 16) & 0xFF) / 255.0f;
    color.alpha = 1.0f;
    return color;
}
