// wine_ui [--timeout S] COMMAND ARGS...   or   wine_ui serve
// Reads and works another process's windows for the Wine tests: the whole window tree as JSON,
// waiting for a window, the standard control messages, and screen points for xdotool.
//
// WINDOW is an exact caption, "#HANDLE" (decimal) or "@CLASS" (the first visible top-level window
// of that class); CONTROL is a control id searched among all descendants, "ID/ID" for a path, or 0
// for the window itself. Every command waits up to the timeout (default 10 s) for a visible
// WINDOW. Commands:
//   windows                       visible top-level windows (array)
//   wait WINDOW                   {"handle": H}
//   gone WINDOW                   waits until no such visible window is left
//   tree WINDOW                   the window and its descendants
//   point WINDOW CONTROL [DX DY]  screen point of the control's centre, or DX, DY from its top-left
//                                 corner (negative: from the right or bottom edge)
//   settext WINDOW CONTROL TEXT   WM_SETTEXT
//   click WINDOW CONTROL          posts BM_CLICK (a modal loop behind the click cannot block us)
//   check WINDOW CONTROL 0|1|2    clicks until the check state is reached, else BM_SETCHECK
//   select WINDOW CONTROL INDEX|=TEXT
//                                 combo or list selection, with the parent's selection-change
//                                 notification
//   command WINDOW ID [CODE]      posts WM_COMMAND (ID, CODE) to the window
//   send|post WINDOW CONTROL MSG WPARAM LPARAM   any message with integer arguments
//   close WINDOW                  posts WM_CLOSE
// One-shot: the answer (JSON) on stdout, exit code 0; an error on stderr, exit code 1; 2 for a
// wrong command line. serve: one command per stdin line, arguments separated by tabs (\t, \n and
// \\ escaped), each answered by one line "ok JSON" or "error MESSAGE".
// Texts are asked for with the wide messages: across processes Wine cuts ANSI list texts.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Args = std::vector<std::string>;

struct Reply {
    bool ok = true;
    std::string text; // JSON when ok, else the message
};

Reply Fail(const std::string& message) {
    return {false, message};
}

std::wstring Wide(const std::string& utf8) {
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring out(size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &out[0], n);
    return out;
}

std::string Utf8(const std::wstring& wide) {
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::string Quote(const std::wstring& wide) {
    std::string out = "\"";
    for (unsigned char c : Utf8(wide)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof(escaped), "\\u%04x", c);
            out += escaped;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

std::string Number(long long value) {
    return std::to_string(value);
}

std::string HandleText(HWND window) {
    return Number((long long)(UINT_PTR)window);
}

std::string RectText(const RECT& r) {
    return "[" + Number(r.left) + "," + Number(r.top) + "," + Number(r.right) + "," +
           Number(r.bottom) + "]";
}

std::string Hex(unsigned long value) {
    char text[16];
    std::snprintf(text, sizeof(text), "\"0x%08lx\"", value);
    return text;
}

// Messages to another process go with a limit, so that a hung window fails one command only.
LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* answered = nullptr) {
    DWORD_PTR result = 0;
    LRESULT done =
        SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 3000, &result);
    if (answered)
        *answered = done != 0;
    return LRESULT(result);
}

std::wstring WindowText(HWND window) {
    LRESULT length = Ask(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0)
        return L"";
    std::wstring text(size_t(length) + 1, L'\0');
    LRESULT got = Ask(window, WM_GETTEXT, WPARAM(length + 1), LPARAM(&text[0]));
    text.resize(got > 0 && got <= length ? size_t(got) : 0);
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[128] = L"";
    GetClassNameW(window, name, 128);
    return name;
}

bool IsClass(HWND window, const wchar_t* name) {
    return !lstrcmpiW(ClassName(window).c_str(), name);
}

// The texts of a combo or list box, by index (the wide forms: see above).
std::string ItemTexts(HWND control, bool combo) {
    const UINT count_msg = combo ? CB_GETCOUNT : LB_GETCOUNT;
    const UINT length_msg = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    const UINT text_msg = combo ? CB_GETLBTEXT : LB_GETTEXT;
    LRESULT count = Ask(control, count_msg, 0, 0);
    std::string out = "[";
    for (LRESULT i = 0; i < count && i < 5000; ++i) {
        LRESULT length = Ask(control, length_msg, WPARAM(i), 0);
        std::wstring text;
        if (length > 0 && length < 65536) {
            text.assign(size_t(length) + 1, L'\0');
            LRESULT got = Ask(control, text_msg, WPARAM(i), LPARAM(&text[0]));
            text.resize(got > 0 && got <= length ? size_t(got) : 0);
        }
        out += (i ? "," : "") + Quote(text);
    }
    return out + "]";
}

struct Focus {
    HWND focus = nullptr;
    HWND capture = nullptr;
    HWND active = nullptr;
};

Focus FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    Focus focus;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) {
        focus.focus = info.hwndFocus;
        focus.capture = info.hwndCapture;
        focus.active = info.hwndActive;
    }
    return focus;
}

std::string Node(HWND window, const Focus& focus, int depth) {
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    const LONG exstyle = GetWindowLongW(window, GWL_EXSTYLE);
    const bool child = (style & WS_CHILD) != 0;
    RECT rect;
    GetWindowRect(window, &rect);
    std::string out =
        "{\"handle\":" + HandleText(window) + ",\"class\":" + Quote(ClassName(window)) +
        ",\"id\":" + Number(child ? GetDlgCtrlID(window) : 0) +
        ",\"text\":" + Quote(WindowText(window)) +
        ",\"visible\":" + (IsWindowVisible(window) ? "true" : "false") +
        ",\"enabled\":" + (IsWindowEnabled(window) ? "true" : "false") +
        ",\"style\":" + Hex(style) + ",\"exstyle\":" + Hex(exstyle) + ",\"rect\":" + RectText(rect);
    if (window == focus.focus)
        out += ",\"focused\":true";
    if (!child) {
        RECT client;
        GetClientRect(window, &client);
        MapWindowPoints(window, nullptr, (POINT*)&client, 2);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        out += ",\"client\":" + RectText(client) + ",\"pid\":" + Number(pid) +
               ",\"topmost\":" + ((exstyle & WS_EX_TOPMOST) ? "true" : "false") +
               ",\"owner\":" + HandleText(GetWindow(window, GW_OWNER)) +
               ",\"focus\":" + HandleText(focus.focus) +
               ",\"capture\":" + HandleText(focus.capture) +
               ",\"active\":" + HandleText(focus.active);
        if (IsClass(window, L"#32770"))
            out += ",\"defid\":" + Number(LOWORD(Ask(window, DM_GETDEFID, 0, 0)));
    }
    if (IsClass(window, L"Button")) {
        const LONG type = style & BS_TYPEMASK;
        const bool checkable = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX ||
                               type == BS_RADIOBUTTON || type == BS_3STATE ||
                               type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON;
        if (checkable)
            out += ",\"check\":" + Number(Ask(window, BM_GETCHECK, 0, 0));
        out += ",\"default\":" + std::string(type == BS_DEFPUSHBUTTON ? "true" : "false");
        out += ",\"pushed\":" +
               std::string((Ask(window, BM_GETSTATE, 0, 0) & BST_PUSHED) ? "true" : "false");
    } else if (IsClass(window, L"ComboBox")) {
        out += ",\"items\":" + ItemTexts(window, true) +
               ",\"selection\":" + Number(Ask(window, CB_GETCURSEL, 0, 0)) +
               ",\"dropped\":" + (Ask(window, CB_GETDROPPEDSTATE, 0, 0) ? "true" : "false");
    } else if (IsClass(window, L"ListBox") || IsClass(window, L"ComboLBox")) {
        out += ",\"items\":" + ItemTexts(window, false) +
               ",\"selection\":" + Number(Ask(window, LB_GETCURSEL, 0, 0));
        if (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
            out += ",\"selected\":[";
            LRESULT count = Ask(window, LB_GETCOUNT, 0, 0);
            bool first = true;
            for (LRESULT i = 0; i < count && i < 5000; ++i)
                if (Ask(window, LB_GETSEL, WPARAM(i), 0) > 0) {
                    out += (first ? "" : ",") + Number(i);
                    first = false;
                }
            out += "]";
        }
    } else if (IsClass(window, L"Static")) {
        const LONG type = style & SS_TYPEMASK;
        if (type == SS_ICON || type == SS_BITMAP || type == SS_ENHMETAFILE) {
            LRESULT image = Ask(window, STM_GETIMAGE,
                                type == SS_ICON     ? IMAGE_ICON
                                : type == SS_BITMAP ? IMAGE_BITMAP
                                                    : IMAGE_ENHMETAFILE,
                                0);
            if (!image && type == SS_ICON)
                image = Ask(window, STM_GETICON, 0, 0);
            out += ",\"image\":" + std::string(image ? "true" : "false");
        }
    } else if (IsClass(window, L"Edit")) {
        // The packed answer: pointers would not cross the process boundary.
        const LRESULT selection = Ask(window, EM_GETSEL, 0, 0);
        out += ",\"selstart\":" + Number(LOWORD(selection)) +
               ",\"selend\":" + Number(HIWORD(selection)) +
               ",\"readonly\":" + ((style & ES_READONLY) ? "true" : "false") +
               ",\"limit\":" + Number(Ask(window, EM_GETLIMITTEXT, 0, 0));
    } else if (IsClass(window, TRACKBAR_CLASSW)) {
        out += ",\"pos\":" + Number(Ask(window, TBM_GETPOS, 0, 0)) +
               ",\"min\":" + Number(Ask(window, TBM_GETRANGEMIN, 0, 0)) +
               ",\"max\":" + Number(Ask(window, TBM_GETRANGEMAX, 0, 0));
    } else if (IsClass(window, WC_TABCONTROLW)) {
        out += ",\"selection\":" + Number(Ask(window, TCM_GETCURSEL, 0, 0)) +
               ",\"count\":" + Number(Ask(window, TCM_GETITEMCOUNT, 0, 0));
    }
    out += ",\"children\":[";
    if (depth < 32) {
        bool first = true;
        for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            out += (first ? "" : ",") + Node(c, focus, depth + 1);
            first = false;
        }
    }
    return out + "]}";
}

// --- finding windows -----------------------------------------------------------------------------

struct ClassSearch {
    std::wstring name;
    HWND found = nullptr;
};

BOOL CALLBACK FindByClass(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<ClassSearch*>(data);
    if (IsWindowVisible(window) && !lstrcmpiW(ClassName(window).c_str(), search->name.c_str())) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The captions of other processes' windows are the system's own copy, so no message is needed.
struct CaptionSearch {
    std::wstring caption;
    HWND found = nullptr;
};

BOOL CALLBACK FindByCaption(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<CaptionSearch*>(data);
    wchar_t text[512] = L"";
    if (IsWindowVisible(window) && GetWindowTextW(window, text, 512) >= 0 &&
        search->caption == text) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindNow(const std::string& target) {
    if (target.size() > 1 && target[0] == '#') {
        HWND window = (HWND)(UINT_PTR)std::strtoull(target.c_str() + 1, nullptr, 10);
        return IsWindow(window) && IsWindowVisible(window) ? window : nullptr;
    }
    if (target.size() > 1 && target[0] == '@') {
        ClassSearch search{Wide(target.substr(1))};
        EnumWindows(FindByClass, LPARAM(&search));
        return search.found;
    }
    CaptionSearch search{Wide(target)};
    EnumWindows(FindByCaption, LPARAM(&search));
    return search.found;
}

HWND WaitFor(const std::string& target, DWORD timeout_ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = FindNow(target))
            return window;
        if (GetTickCount() - start >= timeout_ms)
            return nullptr;
        Sleep(50);
    }
}

HWND FindDescendant(HWND parent, int id) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(c) == id)
            return c;
        if (HWND deeper = FindDescendant(c, id))
            return deeper;
    }
    return nullptr;
}

// "0" is the window itself; "12" the first descendant with id 12; "12/3" a path.
HWND Control(HWND window, const std::string& target) {
    if (target == "0")
        return window;
    HWND current = window;
    size_t start = 0;
    for (;;) {
        const size_t slash = target.find('/', start);
        const std::string part =
            target.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        char* end = nullptr;
        const long id = std::strtol(part.c_str(), &end, 0);
        if (part.empty() || *end || !(current = FindDescendant(current, int(id))))
            return nullptr;
        if (slash == std::string::npos)
            return current;
        start = slash + 1;
    }
}

bool ParseInteger(const std::string& text, long long* value) {
    char* end = nullptr;
    *value = std::strtoll(text.c_str(), &end, 0);
    return !text.empty() && !*end;
}

// --- commands ------------------------------------------------------------------------------------

struct WindowsList {
    std::string out = "[";
    bool first = true;
};

BOOL CALLBACK ListWindow(HWND window, LPARAM data) {
    auto* list = reinterpret_cast<WindowsList*>(data);
    if (!IsWindowVisible(window))
        return TRUE;
    RECT rect;
    GetWindowRect(window, &rect);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, 512);
    list->out += std::string(list->first ? "" : ",") + "{\"handle\":" + HandleText(window) +
                 ",\"class\":" + Quote(ClassName(window)) + ",\"text\":" + Quote(text) +
                 ",\"rect\":" + RectText(rect) + ",\"pid\":" + Number(pid) +
                 ",\"owner\":" + HandleText(GetWindow(window, GW_OWNER)) + ",\"topmost\":" +
                 ((GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) ? "true" : "false") + "}";
    list->first = false;
    return TRUE;
}

Reply Run(const Args& all) {
    DWORD timeout_ms = 10000;
    size_t at = 0;
    while (at + 1 < all.size() && all[at] == "--timeout") {
        timeout_ms = DWORD(std::strtod(all[at + 1].c_str(), nullptr) * 1000);
        at += 2;
    }
    if (at >= all.size())
        return Fail("no command");
    const std::string command = all[at];
    const Args args(all.begin() + long(at) + 1, all.end());
    static const char* const known[] = {"windows", "wait",  "gone",  "tree",   "point",
                                        "settext", "click", "check", "select", "command",
                                        "send",    "post",  "close"};
    bool is_known = false;
    for (const char* name : known)
        is_known = is_known || command == name;
    if (!is_known)
        return Fail("unknown command " + command);

    if (command == "windows") {
        WindowsList list;
        EnumWindows(ListWindow, LPARAM(&list));
        return {true, list.out + "]"};
    }
    if (args.empty())
        return Fail(command + ": no window given");
    if (command == "gone") {
        const DWORD start = GetTickCount();
        while (FindNow(args[0])) {
            if (GetTickCount() - start >= timeout_ms)
                return Fail("window \"" + args[0] + "\" is still there");
            Sleep(50);
        }
        return {true, "{\"gone\":true}"};
    }
    HWND window = WaitFor(args[0], timeout_ms);
    if (!window)
        return Fail("no window \"" + args[0] + "\"");
    if (command == "wait")
        return {true, "{\"handle\":" + HandleText(window) + "}"};
    if (command == "tree")
        return {true, Node(window, FocusOf(window), 0)};
    if (command == "close") {
        PostMessageW(window, WM_CLOSE, 0, 0);
        return {true, "{}"};
    }
    if (command == "command") {
        long long id = 0, code = 0;
        if (args.size() < 2 || args.size() > 3 || !ParseInteger(args[1], &id) ||
            (args.size() == 3 && !ParseInteger(args[2], &code)))
            return Fail("usage: command WINDOW ID [CODE]");
        HWND control = FindDescendant(window, int(id));
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(WORD(id), WORD(code)), LPARAM(control));
        return {true, "{}"};
    }
    if (args.size() < 2)
        return Fail(command + ": no control given");
    HWND control = Control(window, args[1]);
    if (!control)
        return Fail("no control " + args[1] + " in \"" + args[0] + "\"");

    if (command == "point") {
        RECT rect;
        GetWindowRect(control, &rect);
        long long x = (rect.left + rect.right) / 2, y = (rect.top + rect.bottom) / 2;
        if (args.size() == 4) {
            long long dx = 0, dy = 0;
            if (!ParseInteger(args[2], &dx) || !ParseInteger(args[3], &dy))
                return Fail("usage: point WINDOW CONTROL [DX DY]");
            x = dx < 0 ? rect.right + dx : rect.left + dx;
            y = dy < 0 ? rect.bottom + dy : rect.top + dy;
        } else if (args.size() != 2) {
            return Fail("usage: point WINDOW CONTROL [DX DY]");
        }
        return {true, "{\"x\":" + Number(x) + ",\"y\":" + Number(y) + "}"};
    }
    if (command == "settext") {
        if (args.size() != 3)
            return Fail("usage: settext WINDOW CONTROL TEXT");
        std::wstring text = Wide(args[2]);
        bool answered = false;
        Ask(control, WM_SETTEXT, 0, LPARAM(text.c_str()), &answered);
        return answered ? Reply{true, "{}"} : Fail("WM_SETTEXT was not answered");
    }
    if (command == "click") {
        PostMessageW(control, BM_CLICK, 0, 0);
        return {true, "{}"};
    }
    if (command == "check") {
        long long wanted = 0;
        if (args.size() != 3 || !ParseInteger(args[2], &wanted))
            return Fail("usage: check WINDOW CONTROL 0|1|2");
        // A click notifies the parent as a user's would; a radio button cannot be clicked off.
        for (int clicks = 0; clicks < 3 && Ask(control, BM_GETCHECK, 0, 0) != wanted; ++clicks) {
            PostMessageW(control, BM_CLICK, 0, 0);
            for (int i = 0; i < 20 && Ask(control, BM_GETCHECK, 0, 0) != wanted; ++i)
                Sleep(25);
        }
        if (Ask(control, BM_GETCHECK, 0, 0) != wanted)
            Ask(control, BM_SETCHECK, WPARAM(wanted), 0);
        LRESULT now = Ask(control, BM_GETCHECK, 0, 0);
        return now == wanted ? Reply{true, "{\"check\":" + Number(now) + "}"}
                             : Fail("check state stays " + Number(now));
    }
    if (command == "select") {
        if (args.size() != 3)
            return Fail("usage: select WINDOW CONTROL INDEX|=TEXT");
        const bool combo = IsClass(control, L"ComboBox");
        if (!combo && !IsClass(control, L"ListBox"))
            return Fail("control " + args[1] + " is neither a combo box nor a list box");
        long long index = -1;
        if (args[2][0] == '=') {
            std::wstring text = Wide(args[2].substr(1));
            index = Ask(control, combo ? CB_FINDSTRINGEXACT : LB_FINDSTRINGEXACT, WPARAM(-1),
                        LPARAM(text.c_str()));
            if (index < 0)
                return Fail("no item \"" + args[2].substr(1) + "\"");
        } else if (!ParseInteger(args[2], &index)) {
            return Fail("usage: select WINDOW CONTROL INDEX|=TEXT");
        }
        LRESULT got = Ask(control, combo ? CB_SETCURSEL : LB_SETCURSEL, WPARAM(index), 0);
        if (got == (combo ? CB_ERR : LB_ERR) && index != -1)
            return Fail("no item " + Number(index));
        PostMessageW(GetParent(control), WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(control), combo ? CBN_SELCHANGE : LBN_SELCHANGE),
                     LPARAM(control));
        return {true, "{\"index\":" + Number(index) + "}"};
    }
    if (command == "send" || command == "post") {
        long long message = 0, wparam = 0, lparam = 0;
        if (args.size() != 5 || !ParseInteger(args[2], &message) ||
            !ParseInteger(args[3], &wparam) || !ParseInteger(args[4], &lparam))
            return Fail("usage: " + command + " WINDOW CONTROL MSG WPARAM LPARAM");
        if (command == "post") {
            PostMessageW(control, UINT(message), WPARAM(wparam), LPARAM(lparam));
            return {true, "{}"};
        }
        bool answered = false;
        LRESULT result = Ask(control, UINT(message), WPARAM(wparam), LPARAM(lparam), &answered);
        return answered ? Reply{true, "{\"result\":" + Number(result) + "}"}
                        : Fail("message not answered");
    }
    return Fail("unknown command " + command);
}

// serve: a field's tab, newline and backslash come escaped.
Args SplitLine(const std::string& line) {
    Args fields(1);
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (c == '\t') {
            fields.emplace_back();
        } else if (c == '\\' && i + 1 < line.size()) {
            char next = line[++i];
            fields.back() += next == 't' ? '\t' : next == 'n' ? '\n' : next;
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

int Serve() {
    std::string line;
    char chunk[4096];
    while (std::fgets(chunk, sizeof(chunk), stdin)) {
        line += chunk;
        if (line.empty() || line.back() != '\n')
            continue;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        Reply reply = line.empty() ? Fail("empty line") : Run(SplitLine(line));
        for (char& c : reply.text)
            if (c == '\n' || c == '\r')
                c = ' ';
        std::printf("%s %s\n", reply.ok ? "ok" : "error", reply.text.c_str());
        std::fflush(stdout);
        line.clear();
    }
    return 0;
}

} // namespace

int main() {
    // Rectangles in real pixels whatever the prefix's resolution.
    SetProcessDPIAware();
    int argc = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &argc);
    Args args;
    for (int i = 1; i < argc; ++i)
        args.push_back(Utf8(wide[i]));
    LocalFree(wide);
    if (args.size() == 1 && args[0] == "serve")
        return Serve();
    if (args.empty()) {
        std::fprintf(stderr, "usage: wine_ui [--timeout S] COMMAND ARGS... | wine_ui serve\n");
        return 2;
    }
    Reply reply = Run(args);
    if (!reply.ok) {
        std::fprintf(stderr, "wine_ui: %s\n", reply.text.c_str());
        return reply.text.rfind("usage", 0) == 0 || reply.text.rfind("unknown", 0) == 0 ? 2 : 1;
    }
    std::printf("%s\n", reply.text.c_str());
    return 0;
}
