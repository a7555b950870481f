// The four pictures of a big button (normal, hot, pressed, disabled) made from one RGB picture
// whose transparent colour shows the button's face; no window involved.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "builder/ui/controls/kzc_color_model.h"

enum KZCBigButtonState {
    KZC_BIG_NORMAL,
    KZC_BIG_HOT,
    KZC_BIG_PRESSED,
    KZC_BIG_DISABLED,
    KZC_BIG_STATE_COUNT
};

struct KZCBigButtonImages {
    int width = 0;
    int height = 0;
    // Per state: width * height pixels of 3 bytes (red, green, blue), top row first.
    std::vector<uint8_t> pixels[KZC_BIG_STATE_COUNT];
};

// `rgb`: rows of 3-byte pixels, `stride` bytes apart, the top row first unless `bottom_up`. Hot
// is lighter, pressed as normal (the button moves it instead), disabled a grey over the face.
// False, and `images` untouched, for an empty or impossible size.
bool KZCMakeBigButtonImages(const uint8_t* rgb, int width, int height, int stride, bool bottom_up,
                            KZCColor transparent, KZCColor face, KZCBigButtonImages* images);
