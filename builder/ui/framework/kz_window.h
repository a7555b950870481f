// The window base: an object that owns (or has subclassed) one window handle and receives every
// message of it through one virtual handler.
//
// Binding: the object is stored in a window property of its handle ("KZCWnd"), set at WM_NCCREATE
// for windows it creates, at WM_INITDIALOG for dialogs and at once for subclassed controls; it is
// removed at WM_NCDESTROY. That property is the only handle-to-object map.
//
// Reflection: a parent hands WM_COMMAND, WM_NOTIFY, WM_DRAWITEM and WM_CTLCOLOR* to the object
// bound to the child concerned (OnReflectedMessage) before handling them itself, so a control's
// behaviour lives in its own class.
#pragma once

#include <windows.h>

// Creation arguments; every field has a default, set only what differs.
struct KZCreateArgs {
    const char* class_name = "KZCWnd"; // registered on first use with the framework's procedure
    const char* title = "";
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD ex_style = 0;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int width = CW_USEDEFAULT;
    int height = CW_USEDEFAULT;
    HWND parent = nullptr;
    int control_id = 0; // for child windows
    HMENU menu = nullptr;
    // Used only when the class is registered here.
    UINT class_style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr; // arrow when null
    HBRUSH background = (HBRUSH)(COLOR_WINDOW + 1);
};

class KZCWnd {
public:
    KZCWnd() = default;
    // Destroys a window it created; gives a subclassed control back its procedure.
    virtual ~KZCWnd();
    KZCWnd(const KZCWnd&) = delete;
    KZCWnd& operator=(const KZCWnd&) = delete;

    // Creates a window of args.class_name bound to this object (a system class such as "BUTTON"
    // is created and then subclassed). False when the window could not be created.
    bool Create(const KZCreateArgs& args);
    // Subclasses an existing window (a dialog's control). False when the handle is bad or
    // already bound to an object.
    bool Subclass(HWND window);
    bool SubclassDlgItem(int id, HWND parent) { return Subclass(GetDlgItem(parent, id)); }
    // Gives the window its original procedure back and forgets the handle (never destroys it).
    void Unsubclass();
    // Destroys the window (ours or not).
    void DestroyWindow();

    HWND GetHandle() const { return hwnd_; }
    operator HWND() const { return hwnd_; }
    int GetControlId() const { return hwnd_ ? GetDlgCtrlID(hwnd_) : 0; }
    HWND GetParent() const { return ::GetParent(hwnd_); }
    LRESULT Send(UINT message, WPARAM wparam = 0, LPARAM lparam = 0) const {
        return SendMessageA(hwnd_, message, wparam, lparam);
    }

    // The object bound to a window, or null.
    static KZCWnd* FromHandle(HWND window);

    // Called by the message loop for each message to a window below this one, innermost first;
    // true when the message was used up (dialogs use it for their keyboard navigation).
    virtual bool PreTranslateMessage(MSG* message) { return false; }

protected:
    // Every message of the window. Call DefaultProc for what the class does not handle; the
    // base version reflects the notifications to their controls, then calls DefaultProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam);
    // The next handler: the subclassed procedure, DefWindowProc, or the dialog manager.
    virtual LRESULT DefaultProc(UINT message, WPARAM wparam, LPARAM lparam);
    // A notification its parent reflected to it; true (with *result) when handled. message is the
    // parent's message (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_CTLCOLOR*).
    virtual bool OnReflectedMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
        return false;
    }
    // After the last message (WM_NCDESTROY); the handle is already forgotten.
    virtual void OnFinalDestroy() {}

    // Hands a reflected notification to the child's object; true when it handled it.
    static bool ReflectToChild(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);

    // Binding for the dialog base.
    void Bind(HWND window);
    void Unbind();

    HWND hwnd_ = nullptr;
    bool created_here_ = false;
    WNDPROC previous_proc_ = nullptr;

private:
    static LRESULT CALLBACK StaticWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT Dispatch(UINT message, WPARAM wparam, LPARAM lparam);
};

// The framework's module handle for resources (dialogs, strings, pictures); the program's own
// module unless the application chose a resource library.
HINSTANCE KZGetResourceInstance();
// `path` is the module's file: a library loaded as data has no name the system would give back.
void KZSetResourceInstance(HINSTANCE instance, const char* path = nullptr);
// The full path of the resource module; false when it is not known.
bool KZGetResourcePath(char* path, int size);
