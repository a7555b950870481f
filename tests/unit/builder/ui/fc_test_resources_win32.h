// The tests' way to the program's resources: scrkit.exe (or the French library) of this build,
// loaded as data from its build path as Wine sees it.
#pragma once

#include <windows.h>

#include <string>

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
