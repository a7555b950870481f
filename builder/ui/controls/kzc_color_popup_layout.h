// Where the colour pop-up puts its title, its 156 cells and its "More Colors..." choice, how the
// arrow keys move its highlight, and its timing rules; no window involved.
#pragma once

#include <cstdint>

#include "builder/ui/controls/kzc_color_model.h"

struct KZCRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Items of the pop-up: cells 0..155, then the "More Colors..." choice.
enum {
    KZC_POPUP_NONE = -1,
    KZC_POPUP_MORE = KZC_PALETTE_SIZE,
    KZC_POPUP_CELL_SIZE = 14,
    KZC_POPUP_MARGIN = 4,
    KZC_POPUP_GAP = 2
};

enum KZCPopupKey { KZC_KEY_LEFT, KZC_KEY_RIGHT, KZC_KEY_UP, KZC_KEY_DOWN };

// Rows: the title "Pick a Color", the row of greys, a margin, 12 rows of hues, then the
// "More Colors..." choice across the whole width. Sizes are the 96-dpi ones scaled to `dpi`.
class KZCColorPopupLayout {
public:
    KZCColorPopupLayout(int text_height, int dpi);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int CellSize() const { return cell_; }
    KZCRect TitleRect() const { return title_; }
    // A cell or the "More Colors..." choice; an empty rectangle for anything else.
    KZCRect ItemRect(int item) const;
    // The item under a point of the pop-up's client area, KZC_POPUP_NONE between items.
    int ItemAt(int x, int y) const;

private:
    int Scaled(int pixels) const;

    int dpi_;
    int cell_;
    int margin_;
    int gap_;
    int grid_top_;
    KZCRect title_;
    KZCRect more_;
    int width_;
    int height_;
};

// The highlight after an arrow key: left and right step through the cells in order, up and down
// by a row; down from the last row reaches "More Colors...". With nothing highlighted any arrow
// highlights the first cell.
int KZCMovePopupHighlight(int item, KZCPopupKey key);

// Tick counts wrap after 49 days; differences stay right across the wrap. The rules compare the
// times of input messages, and an event stamped before `then` (processed late) counts as 0.
inline uint32_t KZCTicksSince(uint32_t now, uint32_t then) {
    int32_t since = (int32_t)(now - then);
    return since < 0 ? 0 : (uint32_t)since;
}
// A press of the button reopens the pop-up only 200 ms after it closed, so that the click that
// closed it does not open it again.
inline bool KZCPopupMayReopen(uint32_t now, uint32_t closed_at) {
    return KZCTicksSince(now, closed_at) >= 200;
}
// A release outside the pop-up closes it only 500 ms after it opened: the release that ends the
// click on the button must leave it open.
inline bool KZCReleaseOutsideCloses(uint32_t now, uint32_t opened_at) {
    return KZCTicksSince(now, opened_at) > 500;
}
