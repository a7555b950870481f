#include "builder/ui/controls/kzc_edit.h"

#include <cstring>

LRESULT KZCExcludeCharsEdit::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CHAR) {
        char typed = (char)(unsigned char)wparam;
        if (typed != '\0' && strchr(excluded_, typed))
            return 0;
    }
    return KZCEdit::WindowProc(message, wparam, lparam);
}
