// scrkit.exe until the real start-up lands: one plain main window titled with the application
// name; closing it ends the program.
#include <windows.h>

#include "builder/resources/fc_resource_ids.h"
#include "builder/ui/framework/kz_window.h"

namespace {

class PlainFrame : public KZCWnd {
protected:
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
        if (message == WM_DESTROY) {
            PostQuitMessage(0);
            return 0;
        }
        return KZCWnd::WindowProc(message, wparam, lparam);
    }
};

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    char title[128] = "Tarvo Saver";
    LoadStringA(instance, IDS_APPLICATION_TITLE, title, sizeof(title));

    PlainFrame frame;
    KZCreateArgs args;
    args.class_name = "TarvoSaverFrame";
    args.title = title;
    args.width = 680;
    args.height = 540;
    args.icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APPLICATION_ICON));
    args.background = (HBRUSH)(COLOR_BTNFACE + 1);
    if (!frame.Create(args))
        return 1;
    ShowWindow(frame, show);
    UpdateWindow(frame);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return (int)message.wParam;
}
