// Shows one KZCMessageBox and reports what it shows, for the Wine tests:
//   message_box_probe TYPE LANGUAGE TEXT
// Once the box is up it prints "button ID LABEL" per button, "default ID", "focus ID",
// "topmost 0|1", "client W H", "rect L T R B" and "ready"; when it closes, "result ID". The exit
// code is the pressed button's id.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "builder/ui/controls/kz_gui_resources.h"
#include "builder/ui/controls/kz_gui_string_table.h"
#include "builder/ui/controls/kzc_message_box.h"

namespace {

const char kCaption[] = "Message Box Probe";

void CALLBACK Report(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowA("#32770", kCaption);
    if (!box)
        return;
    KillTimer(nullptr, timer);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[32] = "";
        GetClassNameA(child, cls, sizeof(cls));
        if (lstrcmpiA(cls, "Button") != 0)
            continue;
        char label[64] = "";
        GetWindowTextA(child, label, sizeof(label));
        printf("button %d %s\n", GetDlgCtrlID(child), label);
    }
    printf("default %d\n", LOWORD(SendMessageA(box, DM_GETDEFID, 0, 0)));
    printf("focus %d\n", GetDlgCtrlID(GetFocus()));
    printf("topmost %d\n", (GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0);
    RECT client, rect;
    GetClientRect(box, &client);
    GetWindowRect(box, &rect);
    printf("client %ld %ld\n", client.right, client.bottom);
    printf("rect %ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    printf("ready\n");
    fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: message_box_probe TYPE LANGUAGE TEXT\n");
        return 100;
    }
    unsigned type = (unsigned)strtoul(argv[1], nullptr, 0);
    KZGUIStringTable::SetLanguage(atoi(argv[2]));
    KZCreateGUIResources();
    SetTimer(nullptr, 0, 200, Report);
    KZCMessageBox box(argv[3], kCaption, type);
    int result = box.Show(nullptr);
    printf("result %d\n", result);
    fflush(stdout);
    KZReleaseGUIResources();
    return result;
}
