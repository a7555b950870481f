#include "builder/ui/controls/kz_message_box_rules.h"

namespace {

const KZMessageBoxButton kOK = {1, "OK"};
const KZMessageBoxButton kCancel = {2, "Cancel"};
const KZMessageBoxButton kAbort = {3, "&Abort"};
const KZMessageBoxButton kRetry = {4, "&Retry"};
const KZMessageBoxButton kIgnore = {5, "&Ignore"};
const KZMessageBoxButton kYes = {6, "&Yes"};
const KZMessageBoxButton kNo = {7, "&No"};

} // namespace

KZMessageBoxLayout KZGetMessageBoxLayout(unsigned type) {
    KZMessageBoxLayout layout = {};
    KZMessageBoxButton* b = layout.buttons;
    switch (type & 0xF) {
    case 1:
        b[0] = kOK, b[1] = kCancel, layout.button_count = 2;
        break;
    case 2:
        b[0] = kAbort, b[1] = kRetry, b[2] = kIgnore, layout.button_count = 3;
        break;
    case 3:
        b[0] = kYes, b[1] = kNo, b[2] = kCancel, layout.button_count = 3;
        break;
    case 4:
        b[0] = kYes, b[1] = kNo, layout.button_count = 2;
        break;
    case 5:
        b[0] = kRetry, b[1] = kCancel, layout.button_count = 2;
        break;
    default: // 0 and the values the box does not know
        b[0] = kOK, layout.button_count = 1;
        break;
    }
    unsigned icon = (type >> 4) & 0xF;
    layout.icon = icon >= 1 && icon <= 4 ? int(icon) : KZ_MB_ICON_NONE;
    unsigned default_button = (type >> 8) & 0xF;
    layout.default_index =
        default_button >= 1 && default_button <= 3 && int(default_button) < layout.button_count
            ? int(default_button)
            : 0;
    layout.topmost = (type & 0x40000) != 0;
    layout.escape_id = 0;
    for (int i = 0; i < layout.button_count; ++i) {
        if (b[i].command_id == 2)
            layout.escape_id = 2;
    }
    // A lone OK is closed by Escape too, as the system's box does.
    if (layout.escape_id == 0 && layout.button_count == 1)
        layout.escape_id = b[0].command_id;
    return layout;
}

unsigned KZAddDefaultMessageBoxIcon(unsigned type) {
    unsigned buttons = type & 0xF;
    if ((type & 0xF0) == 0 && (buttons == 0 || buttons == 1 || buttons == 3 || buttons == 4))
        return type | 0x30;
    return type;
}
