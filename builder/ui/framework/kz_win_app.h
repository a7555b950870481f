// The application base: start-up and exit hooks, the message loop, the message-box hook through
// which every message box of the program goes, per-user preferences under
// HKEY_CURRENT_USER\Software\<company>\<application>\<section> and the recent-file list.
#pragma once

#include <windows.h>

#include "builder/ui/framework/kz_recent_file_list.h"
#include "builder/ui/framework/kz_window.h"
#include "media/base/kz_string.h"

class KZCWinApp {
public:
    KZCWinApp();
    virtual ~KZCWinApp();
    KZCWinApp(const KZCWinApp&) = delete;
    KZCWinApp& operator=(const KZCWinApp&) = delete;

    // The one application object (the last one constructed), or null.
    static KZCWinApp* Get();

    // WinMain's part: InitInstance, then Run when it succeeded, then ExitInstance.
    int Main(HINSTANCE instance, int show_command);

    // Start-up; false ends the program without a message loop.
    virtual bool InitInstance() { return true; }
    // Exit; its result is the process's exit code.
    virtual int ExitInstance() { return exit_code_; }
    // Every message box of the program; returns the command id of the pressed button. The base
    // shows the system's box with the application name as caption.
    virtual int DoMessageBox(const char* text, unsigned type, unsigned help_id);
    // Runs the message loop until WM_QUIT; returns its exit code.
    int Run();

    HINSTANCE GetInstance() const { return instance_; }
    int GetShowCommand() const { return show_command_; }
    const KZString& GetAppName() const { return app_name_; }
    void SetAppName(const char* name) { app_name_ = name; }
    KZCWnd* GetMainWindow() const { return main_window_; }
    void SetMainWindow(KZCWnd* window) { main_window_ = window; }

    // Preferences: nothing is read or written before the company key is set.
    void SetRegistryKey(const char* company) { company_ = company; }
    const KZString& GetRegistryCompany() const { return company_; }
    KZString GetProfileString(const char* section, const char* name,
                              const char* default_value = "") const;
    bool WriteProfileString(const char* section, const char* name, const char* value);
    int GetProfileInt(const char* section, const char* name, int default_value) const;
    bool WriteProfileInt(const char* section, const char* name, int value);

    // The recent-file list, section "Recent File List", values "File1" .. "FileN".
    void LoadRecentFileList(int limit);
    void SaveRecentFileList();
    void AddToRecentFileList(const char* path);
    void RemoveFromRecentFileList(int index);
    const KZRecentFileList* GetRecentFileList() const { return recent_files_; }

protected:
    HINSTANCE instance_ = nullptr;
    int show_command_ = SW_SHOWNORMAL;
    int exit_code_ = 0;
    KZString app_name_;
    KZString company_;
    KZCWnd* main_window_ = nullptr;
    KZRecentFileList* recent_files_ = nullptr;

private:
    KZString SectionPath(const char* section) const;
};

// The program's message box: goes through the application's hook when there is an application.
int KZMessageBox(const char* text, unsigned type = MB_OK, unsigned help_id = 0);
