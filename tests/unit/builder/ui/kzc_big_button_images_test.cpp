#include <gtest/gtest.h>

#include "builder/ui/controls/kzc_big_button_images.h"

namespace {

const KZCColor kMagenta = KZCMakeColor(255, 0, 255);
const KZCColor kFace = KZCMakeColor(240, 240, 240);

KZCColor At(const KZCBigButtonImages& images, KZCBigButtonState state, int x, int y) {
    const uint8_t* p = &images.pixels[state][((size_t)y * images.width + x) * 3];
    return KZCMakeColor(p[0], p[1], p[2]);
}

} // namespace

TEST(KZCBigButtonImages, TransparentShowsTheFaceInEveryState) {
    // 2 x 2 with a padded stride, top row first: magenta, red / blue, white.
    const uint8_t rgb[] = {255, 0, 255, 255, 0, 0, 9, 9, 0, 0, 255, 255, 255, 255, 9, 9};
    KZCBigButtonImages images;
    ASSERT_TRUE(KZCMakeBigButtonImages(rgb, 2, 2, 8, false, kMagenta, kFace, &images));
    for (int s = 0; s < KZC_BIG_STATE_COUNT; ++s)
        EXPECT_EQ(At(images, (KZCBigButtonState)s, 0, 0), kFace) << s;
    EXPECT_EQ(At(images, KZC_BIG_NORMAL, 1, 0), KZCMakeColor(255, 0, 0));
    EXPECT_EQ(At(images, KZC_BIG_PRESSED, 0, 1), KZCMakeColor(0, 0, 255));
    EXPECT_EQ(At(images, KZC_BIG_HOT, 0, 1), KZCMakeColor(63, 63, 255)); // a quarter to white
    EXPECT_EQ(At(images, KZC_BIG_HOT, 1, 1), KZCMakeColor(255, 255, 255));
    // Disabled: the grey of the pixel halfway to the face.
    EXPECT_EQ(At(images, KZC_BIG_DISABLED, 1, 0), KZCMakeColor(164, 164, 164)); // (89 + 240) / 2
    EXPECT_EQ(At(images, KZC_BIG_DISABLED, 1, 1), KZCMakeColor(247, 247, 247));
}

TEST(KZCBigButtonImages, BottomUpRowsAreTurned) {
    const uint8_t rgb[] = {1, 2, 3, 0, 4, 5, 6, 0}; // bottom row first: (1 2 3), then (4 5 6)
    KZCBigButtonImages images;
    ASSERT_TRUE(KZCMakeBigButtonImages(rgb, 1, 2, 4, true, kMagenta, kFace, &images));
    EXPECT_EQ(At(images, KZC_BIG_NORMAL, 0, 0), KZCMakeColor(4, 5, 6));
    EXPECT_EQ(At(images, KZC_BIG_NORMAL, 0, 1), KZCMakeColor(1, 2, 3));
}

TEST(KZCBigButtonImages, RefusesImpossibleSizes) {
    const uint8_t rgb[12] = {};
    KZCBigButtonImages images;
    images.width = 7;
    EXPECT_FALSE(KZCMakeBigButtonImages(rgb, 0, 1, 12, false, kMagenta, kFace, &images));
    EXPECT_FALSE(KZCMakeBigButtonImages(rgb, 2, 2, 5, false, kMagenta, kFace, &images));
    EXPECT_FALSE(KZCMakeBigButtonImages(nullptr, 1, 1, 3, false, kMagenta, kFace, &images));
    EXPECT_EQ(images.width, 7);
}
