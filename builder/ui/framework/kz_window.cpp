#include "builder/ui/framework/kz_window.h"

namespace {

const char kBindingProperty[] = "KZCWnd";
HINSTANCE g_resource_instance = nullptr;
char g_resource_path[MAX_PATH] = "";

bool IsOurClass(const char* class_name, HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXA info = {};
    info.cbSize = sizeof(info);
    if (!GetClassInfoExA(instance, class_name, &info) &&
        !GetClassInfoExA(nullptr, class_name, &info))
        return false;
    return info.lpfnWndProc == proc;
}

} // namespace

HINSTANCE KZGetResourceInstance() {
    return g_resource_instance ? g_resource_instance : GetModuleHandleA(nullptr);
}

void KZSetResourceInstance(HINSTANCE instance, const char* path) {
    g_resource_instance = instance;
    lstrcpynA(g_resource_path, path ? path : "", sizeof(g_resource_path));
}

bool KZGetResourcePath(char* path, int size) {
    if (g_resource_instance && g_resource_path[0]) {
        lstrcpynA(path, g_resource_path, size);
        return true;
    }
    DWORD length = GetModuleFileNameA(KZGetResourceInstance(), path, (DWORD)size);
    return length > 0 && length < (DWORD)size;
}

KZCWnd::~KZCWnd() {
    if (!hwnd_)
        return;
    if (created_here_)
        DestroyWindow();
    else
        Unsubclass();
}

KZCWnd* KZCWnd::FromHandle(HWND window) {
    return window ? static_cast<KZCWnd*>(GetPropA(window, kBindingProperty)) : nullptr;
}

void KZCWnd::Bind(HWND window) {
    hwnd_ = window;
    SetPropA(window, kBindingProperty, this);
}

void KZCWnd::Unbind() {
    if (hwnd_)
        RemovePropA(hwnd_, kBindingProperty);
    hwnd_ = nullptr;
}

bool KZCWnd::Create(const KZCreateArgs& args) {
    if (hwnd_)
        return false;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA info = {};
    info.cbSize = sizeof(info);
    bool registered = GetClassInfoExA(instance, args.class_name, &info) ||
                      GetClassInfoExA(nullptr, args.class_name, &info);
    if (!registered) {
        info.style = args.class_style;
        info.lpfnWndProc = StaticWndProc;
        info.hInstance = instance;
        info.hIcon = args.icon;
        info.hCursor = args.cursor ? args.cursor : LoadCursor(nullptr, IDC_ARROW);
        info.hbrBackground = args.background;
        info.lpszClassName = args.class_name;
        if (!RegisterClassExA(&info))
            return false;
    }
    bool ours = IsOurClass(args.class_name, instance, StaticWndProc);
    HMENU menu = (args.style & WS_CHILD) ? (HMENU)(INT_PTR)args.control_id : args.menu;
    HWND window = CreateWindowExA(args.ex_style, args.class_name, args.title, args.style, args.x,
                                  args.y, args.width, args.height, args.parent, menu, instance,
                                  ours ? this : nullptr);
    if (!window)
        return false;
    if (!ours && !Subclass(window)) {
        ::DestroyWindow(window);
        return false;
    }
    created_here_ = true;
    return true;
}

bool KZCWnd::Subclass(HWND window) {
    if (!window || hwnd_ || FromHandle(window))
        return false;
    Bind(window);
    previous_proc_ = (WNDPROC)SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)SubclassProc);
    return true;
}

void KZCWnd::Unsubclass() {
    if (!hwnd_)
        return;
    if (previous_proc_)
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, (LONG_PTR)previous_proc_);
    previous_proc_ = nullptr;
    Unbind();
}

void KZCWnd::DestroyWindow() {
    if (hwnd_)
        ::DestroyWindow(hwnd_);
}

LRESULT KZCWnd::Dispatch(UINT message, WPARAM wparam, LPARAM lparam) {
    LRESULT result = WindowProc(message, wparam, lparam);
    if (message == WM_NCDESTROY) {
        // The handle dies here: give back the procedure and forget it.
        if (previous_proc_)
            SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, (LONG_PTR)previous_proc_);
        previous_proc_ = nullptr;
        Unbind();
        created_here_ = false;
        OnFinalDestroy();
    }
    return result;
}

LRESULT CALLBACK KZCWnd::StaticWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    KZCWnd* self = FromHandle(window);
    if (!self && message == WM_NCCREATE) {
        self = static_cast<KZCWnd*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
        if (self)
            self->Bind(window);
    }
    if (!self)
        return DefWindowProcA(window, message, wparam, lparam);
    return self->Dispatch(message, wparam, lparam);
}

LRESULT CALLBACK KZCWnd::SubclassProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    KZCWnd* self = FromHandle(window);
    if (!self)
        return DefWindowProcA(window, message, wparam, lparam);
    return self->Dispatch(message, wparam, lparam);
}

bool KZCWnd::ReflectToChild(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
    HWND child = nullptr;
    switch (message) {
    case WM_COMMAND:
        child = (HWND)lparam; // null for menus and accelerators
        break;
    case WM_NOTIFY:
        child = reinterpret_cast<NMHDR*>(lparam)->hwndFrom;
        break;
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<DRAWITEMSTRUCT*>(lparam);
        if (item->CtlType != ODT_MENU)
            child = item->hwndItem;
        break;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR:
        child = (HWND)lparam;
        break;
    default:
        return false;
    }
    KZCWnd* control = FromHandle(child);
    return control && control->OnReflectedMessage(message, wparam, lparam, result);
}

LRESULT KZCWnd::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    LRESULT result = 0;
    if (ReflectToChild(message, wparam, lparam, &result))
        return result;
    return DefaultProc(message, wparam, lparam);
}

LRESULT KZCWnd::DefaultProc(UINT message, WPARAM wparam, LPARAM lparam) {
    if (previous_proc_)
        return CallWindowProcA(previous_proc_, hwnd_, message, wparam, lparam);
    return DefWindowProcA(hwnd_, message, wparam, lparam);
}
