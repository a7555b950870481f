#include <gtest/gtest.h>

#include "builder/ui/controls/kzc_color_popup_layout.h"

namespace {

bool Overlap(const KZCRect& a, const KZCRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

} // namespace

TEST(KZCColorPopupLayout, CellsAt96Dpi) {
    KZCColorPopupLayout layout(13, 96);
    EXPECT_EQ(layout.CellSize(), 14);
    EXPECT_EQ(layout.Width(), 4 + 12 * 14 + 11 * 2 + 4);
    KZCRect first = layout.ItemRect(0);
    EXPECT_EQ(first.left, 4);
    EXPECT_EQ(first.top, 4 + 13 + 4);
    EXPECT_EQ(first.right - first.left, 14);
    KZCRect red = layout.ItemRect(12);
    EXPECT_EQ(red.left, 4);
    EXPECT_EQ(red.top, first.bottom + 2 + 4);
    KZCRect last = layout.ItemRect(155);
    EXPECT_EQ(last.right, layout.Width() - 4);
    KZCRect more = layout.ItemRect(KZC_POPUP_MORE);
    EXPECT_GE(more.top, last.bottom);
    EXPECT_EQ(more.bottom + 4, layout.Height());
    EXPECT_EQ(layout.ItemRect(KZC_POPUP_NONE).right, 0);
}

TEST(KZCColorPopupLayout, EveryItemIsFoundAndNothingOverlaps) {
    for (int dpi : {96, 120, 144}) {
        KZCColorPopupLayout layout(13 * dpi / 96, dpi);
        KZCRect title = layout.TitleRect();
        for (int i = 0; i <= KZC_POPUP_MORE; ++i) {
            KZCRect r = layout.ItemRect(i);
            SCOPED_TRACE(testing::Message() << "dpi " << dpi << " item " << i);
            EXPECT_EQ(layout.ItemAt((r.left + r.right) / 2, (r.top + r.bottom) / 2), i);
            EXPECT_EQ(layout.ItemAt(r.left, r.top), i);
            EXPECT_EQ(layout.ItemAt(r.right - 1, r.bottom - 1), i);
            EXPECT_GT(r.left, 0);
            EXPECT_GT(r.top, 0);
            EXPECT_LT(r.right, layout.Width());
            EXPECT_LT(r.bottom, layout.Height());
            EXPECT_FALSE(Overlap(r, title));
            if (i > 0) {
                EXPECT_FALSE(Overlap(r, layout.ItemRect(i - 1)));
            }
            if (i >= KZC_PALETTE_COLUMNS) {
                EXPECT_FALSE(Overlap(r, layout.ItemRect(i - KZC_PALETTE_COLUMNS)));
            }
        }
    }
    KZCColorPopupLayout big(20, 144);
    EXPECT_EQ(big.CellSize(), 21);
}

TEST(KZCColorPopupLayout, GapsAndTitleHitNothing) {
    KZCColorPopupLayout layout(13, 96);
    KZCRect first = layout.ItemRect(0);
    EXPECT_EQ(layout.ItemAt(first.right, first.top), KZC_POPUP_NONE);    // gap after cell 0
    EXPECT_EQ(layout.ItemAt(first.left, first.bottom), KZC_POPUP_NONE);  // below the greys
    EXPECT_EQ(layout.ItemAt(first.left, first.top - 1), KZC_POPUP_NONE); // the title
    EXPECT_EQ(layout.ItemAt(1, first.top), KZC_POPUP_NONE);              // the margin
    EXPECT_EQ(layout.ItemAt(layout.Width() - 2, first.top), KZC_POPUP_NONE);
}

TEST(KZCColorPopupLayout, ArrowsMoveTheHighlight) {
    struct Case {
        int from;
        KZCPopupKey key;
        int to;
    };
    const Case cases[] = {
        {KZC_POPUP_NONE, KZC_KEY_DOWN, 0},
        {KZC_POPUP_NONE, KZC_KEY_LEFT, 0},
        {0, KZC_KEY_LEFT, 0},
        {0, KZC_KEY_UP, 0},
        {5, KZC_KEY_RIGHT, 6},
        {11, KZC_KEY_RIGHT, 12},
        {12, KZC_KEY_LEFT, 11},
        {3, KZC_KEY_DOWN, 15},
        {15, KZC_KEY_UP, 3},
        {150, KZC_KEY_DOWN, KZC_POPUP_MORE},
        {155, KZC_KEY_RIGHT, KZC_POPUP_MORE},
        {KZC_POPUP_MORE, KZC_KEY_DOWN, KZC_POPUP_MORE},
        {KZC_POPUP_MORE, KZC_KEY_RIGHT, KZC_POPUP_MORE},
        {KZC_POPUP_MORE, KZC_KEY_UP, 144},
        {KZC_POPUP_MORE, KZC_KEY_LEFT, 155},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KZCMovePopupHighlight(c.from, c.key), c.to) << c.from << " key " << c.key;
}

TEST(KZCColorPopupLayout, TimingRulesSurviveTheTickWrap) {
    EXPECT_FALSE(KZCPopupMayReopen(1199, 1000));
    EXPECT_TRUE(KZCPopupMayReopen(1200, 1000));
    EXPECT_FALSE(KZCPopupMayReopen(0x20, 0xFFFFFFF0u));
    EXPECT_TRUE(KZCPopupMayReopen(0x150, 0xFFFFFFF0u));
    EXPECT_FALSE(KZCReleaseOutsideCloses(1500, 1000));
    EXPECT_TRUE(KZCReleaseOutsideCloses(1501, 1000));
    EXPECT_FALSE(KZCReleaseOutsideCloses(0x100, 0xFFFFFFF0u));
    // A press stamped before the close it follows in the queue.
    EXPECT_FALSE(KZCPopupMayReopen(990, 1000));
    EXPECT_FALSE(KZCReleaseOutsideCloses(400, 1000));
}
