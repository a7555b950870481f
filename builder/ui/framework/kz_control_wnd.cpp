#include "builder/ui/framework/kz_control_wnd.h"

#include "builder/ui/framework/kz_dialog_base.h"

namespace {

KZCreateArgs ChildArgs(const char* class_name, HWND parent, int id, const char* text, DWORD style,
                       int x, int y, int width, int height) {
    KZCreateArgs args;
    args.class_name = class_name;
    args.title = text;
    args.style = style | WS_CHILD;
    args.parent = parent;
    args.control_id = id;
    args.x = x;
    args.y = y;
    args.width = width;
    args.height = height;
    return args;
}

} // namespace

bool KZButtonWnd::CreateButton(HWND parent, int id, const char* text, DWORD style, int x, int y,
                               int width, int height) {
    return Create(ChildArgs("BUTTON", parent, id, text, style, x, y, width, height));
}

bool KZEditWnd::CreateEdit(HWND parent, int id, DWORD style, int x, int y, int width, int height) {
    KZCreateArgs args = ChildArgs("EDIT", parent, id, "", style, x, y, width, height);
    args.ex_style = WS_EX_CLIENTEDGE;
    return Create(args);
}

KZString KZEditWnd::GetText() const {
    return KZGetWindowText(hwnd_);
}

bool KZStaticWnd::CreateStatic(HWND parent, int id, const char* text, DWORD style, int x, int y,
                               int width, int height) {
    return Create(ChildArgs("STATIC", parent, id, text, style, x, y, width, height));
}
