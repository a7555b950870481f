#include "builder/ui/framework/kz_win_app.h"

#include <cstdlib>
#include <cstring>

#include "builder/ui/framework/kz_guards.h"

namespace {

KZCWinApp* g_app = nullptr;

} // namespace

KZCWinApp::KZCWinApp() {
    g_app = this;
}

KZCWinApp::~KZCWinApp() {
    delete recent_files_;
    if (g_app == this)
        g_app = nullptr;
}

KZCWinApp* KZCWinApp::Get() {
    return g_app;
}

int KZCWinApp::Main(HINSTANCE instance, int show_command) {
    instance_ = instance;
    show_command_ = show_command;
    if (InitInstance())
        exit_code_ = Run();
    return ExitInstance();
}

int KZCWinApp::Run() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        // From the target up to its top-level window: the first object that uses the message
        // (a modeless dialog's keyboard navigation) keeps it from dispatch.
        bool used = false;
        for (HWND window = message.hwnd; window && !used; window = GetParent(window)) {
            KZCWnd* object = KZCWnd::FromHandle(window);
            used = object && object->PreTranslateMessage(&message);
        }
        if (used)
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return (int)message.wParam;
}

int KZCWinApp::DoMessageBox(const char* text, unsigned type, unsigned help_id) {
    HWND owner = GetActiveWindow();
    return MessageBoxA(owner, text, app_name_, type);
}

KZString KZCWinApp::SectionPath(const char* section) const {
    KZString path;
    path.Format("Software\\%s\\%s\\%s", company_.c_str(), app_name_.c_str(), section);
    return path;
}

KZString KZCWinApp::GetProfileString(const char* section, const char* name,
                                     const char* default_value) const {
    KZString value(default_value);
    KZRegKey key;
    if (company_.IsEmpty() || !key.Open(HKEY_CURRENT_USER, SectionPath(section), KEY_READ))
        return value;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return value;
    KZString read;
    char* buffer = read.SetLength((int)size + 1);
    if (!buffer)
        return value;
    DWORD got = size + 1;
    if (RegQueryValueExA(key, name, nullptr, nullptr, (BYTE*)buffer, &got) != ERROR_SUCCESS)
        return value;
    buffer[size] = '\0';
    read.SetLength((int)strlen(buffer)); // the stored data may or may not end in its NUL
    return read;
}

bool KZCWinApp::WriteProfileString(const char* section, const char* name, const char* value) {
    KZRegKey key;
    if (company_.IsEmpty() || !key.Create(HKEY_CURRENT_USER, SectionPath(section)))
        return false;
    if (!value)
        return RegDeleteValueA(key, name) == ERROR_SUCCESS;
    return RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)value, (DWORD)strlen(value) + 1) ==
           ERROR_SUCCESS;
}

int KZCWinApp::GetProfileInt(const char* section, const char* name, int default_value) const {
    KZRegKey key;
    if (company_.IsEmpty() || !key.Open(HKEY_CURRENT_USER, SectionPath(section), KEY_READ))
        return default_value;
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof(data);
    if (RegQueryValueExA(key, name, nullptr, &type, (BYTE*)&data, &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(data))
        return default_value;
    return (int)data;
}

bool KZCWinApp::WriteProfileInt(const char* section, const char* name, int value) {
    KZRegKey key;
    if (company_.IsEmpty() || !key.Create(HKEY_CURRENT_USER, SectionPath(section)))
        return false;
    DWORD data = (DWORD)value;
    return RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE*)&data, sizeof(data)) ==
           ERROR_SUCCESS;
}

void KZCWinApp::LoadRecentFileList(int limit) {
    delete recent_files_;
    recent_files_ = new KZRecentFileList(limit);
    // Oldest first, so that the newest ends in front.
    for (int i = recent_files_->GetLimit(); i >= 1; --i) {
        KZString name;
        name.Format("File%d", i);
        KZString path = GetProfileString("Recent File List", name);
        if (!path.IsEmpty())
            recent_files_->Add(path);
    }
}

void KZCWinApp::SaveRecentFileList() {
    if (!recent_files_)
        return;
    for (int i = 0; i < recent_files_->GetLimit(); ++i) {
        KZString name;
        name.Format("File%d", i + 1);
        if (i < recent_files_->GetCount())
            WriteProfileString("Recent File List", name, recent_files_->Get(i));
        else
            WriteProfileString("Recent File List", name, nullptr);
    }
}

void KZCWinApp::AddToRecentFileList(const char* path) {
    if (!recent_files_)
        return;
    recent_files_->Add(path);
    SaveRecentFileList();
}

void KZCWinApp::RemoveFromRecentFileList(int index) {
    if (!recent_files_)
        return;
    recent_files_->Remove(index);
    SaveRecentFileList();
}

int KZMessageBox(const char* text, unsigned type, unsigned help_id) {
    if (KZCWinApp* app = KZCWinApp::Get())
        return app->DoMessageBox(text, type, help_id);
    return MessageBoxA(GetActiveWindow(), text, "", type);
}
