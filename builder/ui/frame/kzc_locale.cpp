#include "builder/ui/frame/kzc_locale.h"

#include "builder/engine/fc_platform.h"
#include "builder/ui/frame/fc_frame_rules.h"
#include "builder/ui/framework/kz_guards.h"
#include "builder/ui/framework/kz_window.h"

KZCLocale::KZCLocale(const char* company, const char* app_name) {
    key_path_.Format("Software\\%s\\%s", company, app_name);
}

KZCLocale::~KZCLocale() {
    if (library_) {
        if (KZGetResourceInstance() == library_)
            KZSetResourceInstance(GetModuleHandleA(nullptr));
        FreeLibrary(library_);
    }
}

int KZCLocale::ReadRegistry() const {
    KZRegKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, key_path_, KEY_READ))
        return 0;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    LONG status = RegQueryValueExA(key, "locale", nullptr, &type, (BYTE*)&value, &size);
    if (status == ERROR_MORE_DATA)
        return 0; // longer than 4 bytes
    return FCLanguageFromValue(status == ERROR_SUCCESS, type, size, value);
}

int KZCLocale::Choose(const char* library_base) {
    code_ = ReadRegistry();
    if (code_ == 0)
        code_ = FCLanguageFromLocale(GetThreadLocale());
    if (code_ != FC_LANGUAGE_ENGLISH) {
        // Only beside the program: a library found along the search path is not ours.
        KZString path = FCProgramFolder();
        path += library_base;
        path += "fra.dll";
        library_ = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (library_)
            KZSetResourceInstance(library_, path);
        else
            code_ = FC_LANGUAGE_ENGLISH;
    }
    return GetLanguageId();
}
