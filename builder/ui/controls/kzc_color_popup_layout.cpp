#include "builder/ui/controls/kzc_color_popup_layout.h"

KZCColorPopupLayout::KZCColorPopupLayout(int text_height, int dpi) : dpi_(dpi > 0 ? dpi : 96) {
    cell_ = Scaled(KZC_POPUP_CELL_SIZE);
    margin_ = Scaled(KZC_POPUP_MARGIN);
    gap_ = Scaled(KZC_POPUP_GAP);
    width_ = 2 * margin_ + KZC_PALETTE_COLUMNS * cell_ + (KZC_PALETTE_COLUMNS - 1) * gap_;
    title_.left = margin_;
    title_.top = margin_;
    title_.right = width_ - margin_;
    title_.bottom = margin_ + text_height;
    grid_top_ = title_.bottom + margin_;
    KZCRect last = ItemRect(KZC_PALETTE_SIZE - 1);
    more_.left = margin_;
    more_.top = last.bottom + margin_;
    more_.right = width_ - margin_;
    more_.bottom = more_.top + text_height + 2 * margin_;
    height_ = more_.bottom + margin_;
}

int KZCColorPopupLayout::Scaled(int pixels) const {
    return (pixels * dpi_ + 48) / 96;
}

KZCRect KZCColorPopupLayout::ItemRect(int item) const {
    KZCRect r;
    if (item == KZC_POPUP_MORE)
        return more_;
    if (item < 0 || item > KZC_POPUP_MORE)
        return r;
    int row = item / KZC_PALETTE_COLUMNS, column = item % KZC_PALETTE_COLUMNS;
    r.left = margin_ + column * (cell_ + gap_);
    // The greys stand apart from the hues by a margin.
    r.top = grid_top_ + row * (cell_ + gap_) + (row > 0 ? margin_ : 0);
    r.right = r.left + cell_;
    r.bottom = r.top + cell_;
    return r;
}

static bool Inside(const KZCRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

int KZCColorPopupLayout::ItemAt(int x, int y) const {
    if (Inside(more_, x, y))
        return KZC_POPUP_MORE;
    if (x < margin_ || y < grid_top_)
        return KZC_POPUP_NONE;
    int column = (x - margin_) / (cell_ + gap_);
    if (column >= KZC_PALETTE_COLUMNS)
        return KZC_POPUP_NONE;
    for (int row = 0; row <= KZC_PALETTE_HUE_ROWS; ++row) {
        int item = row * KZC_PALETTE_COLUMNS + column;
        if (Inside(ItemRect(item), x, y))
            return item;
    }
    return KZC_POPUP_NONE;
}

int KZCMovePopupHighlight(int item, KZCPopupKey key) {
    if (item < 0 || item > KZC_POPUP_MORE)
        return 0;
    const int last_row_start = KZC_PALETTE_SIZE - KZC_PALETTE_COLUMNS;
    switch (key) {
    case KZC_KEY_LEFT:
        return item > 0 ? item - 1 : item;
    case KZC_KEY_RIGHT:
        return item < KZC_POPUP_MORE ? item + 1 : item;
    case KZC_KEY_UP:
        if (item == KZC_POPUP_MORE)
            return last_row_start;
        return item >= KZC_PALETTE_COLUMNS ? item - KZC_PALETTE_COLUMNS : item;
    case KZC_KEY_DOWN:
        if (item == KZC_POPUP_MORE)
            return item;
        return item + KZC_PALETTE_COLUMNS < KZC_PALETTE_SIZE ? item + KZC_PALETTE_COLUMNS
                                                             : KZC_POPUP_MORE;
    }
    return item;
}
