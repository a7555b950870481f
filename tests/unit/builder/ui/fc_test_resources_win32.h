// The tests' way to the program's resources: scrkit.exe (or the French library) of this build,
// loaded as data from its build path as Wine sees it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "builder/ui/controls/kz_gui_resources.h"
#include "builder/ui/framework/kz_window.h"

// The build's Unix path as Wine sees it.
inline std::string FCWinePath(const std::string& path) {
    return !path.empty() && path[0] == '/' ? "Z:" + path : path;
}

// Loads the module as data and makes it the framework's resource module; null when it fails.
inline HMODULE FCUseTestResources(const char* path) {
    std::string module = FCWinePath(path);
    HMODULE resources = LoadLibraryExA(module.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (resources)
        KZSetResourceInstance(resources, module.c_str());
    return resources;
}

// What a test running the frame in its own process sets up once: the common controls, scrkit.exe
// of this build as the resource module, and the shared GUI objects. Null when a part failed.
inline HMODULE FCSetUpFrameTest(const char* scrkit_exe) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls),
                                     ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    HMODULE resources = FCUseTestResources(scrkit_exe);
    return resources && KZCreateGUIResources() ? resources : nullptr;
}
