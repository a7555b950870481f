// The language of the user interface: "locale" under HKEY_LOCAL_MACHINE\Software\<company>\<app>
// (1 English, 2 French), else the thread's locale; any language but English loads the resource
// library <base><code>.dll beside the program and falls back to English without it.
#pragma once

#include <windows.h>

#include "media/base/kz_string.h"

class KZCLocale {
public:
    KZCLocale(const char* company, const char* app_name);
    ~KZCLocale();
    KZCLocale(const KZCLocale&) = delete;
    KZCLocale& operator=(const KZCLocale&) = delete;

    // Chooses the language and loads its library (base name + "fra" + ".dll"); the library,
    // when loaded, becomes the framework's resource module. Returns the language id (1033, 1036).
    int Choose(const char* library_base);
    int GetLanguageCode() const { return code_; } // 1 English, 2 French
    int GetLanguageId() const { return code_ == 2 ? 1036 : 1033; }

private:
    int ReadRegistry() const;

    KZString key_path_;
    int code_ = 1;
    HMODULE library_ = nullptr;
};
