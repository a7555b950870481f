// The builder's host over a Win32 window: minimised while a setup runs, its thread's messages
// handled while a screensaver or the control panel runs. A quit request is left for the
// window's own loop.
#pragma once

#include <windows.h>

#include "builder/engine/fc_host.h"

class FCWindowHost : public FCHost {
public:
    explicit FCWindowHost(HWND window) : window(window) {}
    void hide_window() override;
    void show_window() override;
    void keep_painted() override;

private:
    HWND window;
};
