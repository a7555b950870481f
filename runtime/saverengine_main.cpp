// Entry of the screensaver stub. There is no C runtime: the system calls SaverEntry directly and
// the process ends through ExitProcess.
#include <windows.h>

#include "runtime/core/qvrk_command_line.h"
#include "runtime/movie_host.h"
#include "runtime/payload_loader.h"
#include "runtime/runtime_config.h"
#include "runtime/runtime_heap.h"
#include "runtime/saver_window.h"
#include "runtime/settings_dialog.h"
#include "runtime/system_hooks.h"

RuntimeConfig* g_config;
SaverSession* g_session;
HINSTANCE g_instance;

namespace {

const char kFlashMissingText[] =
    "It appears that Flash Player is not installed on your system.\nThis screensaver requires "
    "it.\nDo you want to open the online installation of Flash Player?\n";
const char kFlashDownload[] =
    "http://www.adobe.com/shockwave/download/index.cgi?P1_Prod_Version=ShockwaveFlash";

// Ends the process: the payload is not read and the temporary folder stays.
void RunTestFlash() {
    if (!IsFlashAvailable() && MessageBoxA(nullptr, kFlashMissingText, "Flash Player required",
                                           MB_YESNO | MB_ICONWARNING) == IDYES) {
        HMODULE shell = LoadSystemLibrary("SHELL32.DLL");
        if (shell) {
            typedef HINSTANCE(WINAPI * ShellExecuteFunction)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR,
                                                             INT);
            ShellExecuteFunction execute =
                (ShellExecuteFunction)(void*)GetProcAddress(shell, "ShellExecuteA");
            if (execute)
                execute(nullptr, "open", kFlashDownload, nullptr, nullptr, SW_SHOWNORMAL);
            FreeLibrary(shell);
        }
    }
    ExitProcess(0);
}

bool PreviewHasSomethingToShow() {
    const EmbeddedItem* preview = g_config->preview_file;
    return (preview && preview->stored_size > 0 && preview->data_offset > 0) ||
           g_config->preview_color != 0;
}

// Loads the payload and the stored settings, then serves the run mode.
void ServeMode(const char* own_path, HWND parent) {
    g_session = CreateSaverSession();
    LoadPayload(g_config, own_path);
    ReadStoredSettings(g_config);

    switch (g_config->run_mode) {
    case QVRK_RUN_CONFIGURE:
        ShowSettingsDialog(parent);
        WriteStoredSettings(g_config);
        break;
    case QVRK_RUN_CHANGE_PASSWORD:
        ChangeSaverPassword(parent);
        break;
    case QVRK_RUN_PREVIEW:
        if (PreviewHasSomethingToShow())
            RunMovieWindow(parent);
        break;
    case QVRK_RUN_SCREENSAVER:
        RunMovieWindow(nullptr);
        break;
    case QVRK_RUN_NONE:
        break;
    }
}

} // namespace

extern "C" int SaverEntry() {
    g_instance = GetModuleHandleA(nullptr);
    HeapInitialize();
    g_config = CreateRuntimeConfig();
    if (!g_config)
        ExitProcess(0);

    QvrkCommand command;
    qvrk_parse_command_line(GetCommandLineA(), &command);
    if (command.test_flash)
        RunTestFlash();
    g_config->run_mode = command.mode;
    HWND parent = nullptr;
    if (command.parent == QVRK_PARENT_FOREGROUND)
        parent = GetForegroundWindow();
    else if (command.parent == QVRK_PARENT_NUMBER)
        parent = (HWND)(INT_PTR)command.window;

    // A path cut at the buffer's end would name another file, so it counts as a failure too: then
    // nothing is loaded or shown, but the clean-up below still removes the temporary folder.
    char own_path[300];
    DWORD length = GetModuleFileNameA(nullptr, own_path, sizeof(own_path));
    bool own_path_read = length > 0 && length < sizeof(own_path);
    if (own_path_read)
        ServeMode(own_path, parent);

    RemoveExtractedFiles(g_config);
    FreeRuntimeConfig(g_config);
    g_config = nullptr;
    DestroySaverSession(g_session);
    g_session = nullptr;
    ExitProcess(own_path_read ? 0 : (UINT)-1);
}
