// scrkit.exe: the wizard.
#include <windows.h>

#include "builder/ui/frame/qvrt_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    QVRTApp app;
    return app.Main(instance, show);
}
