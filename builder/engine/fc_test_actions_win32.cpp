// The test actions on Windows: each starts the built screensaver or setup program as a process
// of its own and waits for it.
#include "builder/engine/fc_test_actions.h"

#include <windows.h>

#include "builder/engine/fc_document.h"
#include "builder/engine/fc_host.h"
#include "media/base/kz_file.h"
#include "media/base/kz_folder.h"
#include "media/base/kz_reporter.h"
#include "media/base/kz_temp_file.h"

namespace {

const unsigned kErrorBox = KZ_MB_OK | KZ_MB_ICONERROR;

// Starts the command line; the process handle is the caller's to close.
HANDLE Start(const char* command_line) {
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    ZeroMemory(&info, sizeof info);
    KZString writable = command_line; // CreateProcessA may write into the command line
    if (!CreateProcessA(nullptr, writable.SetLength(writable.GetLength()), nullptr, nullptr, FALSE,
                        0, nullptr, nullptr, &startup, &info))
        return nullptr;
    CloseHandle(info.hThread);
    return info.hProcess;
}

} // namespace

FCTestActions::FCTestActions(const FCDocument& document, FCResources& resources,
                             KZReporter& reporter, FCHost& host)
    : document(document), resources(resources), reporter(reporter), host(host) {}

void FCTestActions::clear_stored_settings() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, FCStoredSettingsKey(document), 0, KEY_ALL_ACCESS, &key) !=
        ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, "Sound");
    RegDeleteValueA(key, "Quality");
    RegCloseKey(key);
}

bool FCTestActions::test_run(bool settings_mode, bool control_panel) {
    KZString target;
    if (control_panel) {
        target.Format("%s\\%s.scr", KZWithoutTrailingSeparators(GetSystemFolder()).c_str(),
                      document.short_name.c_str());
        if (KZFileExists(target)) {
            KZString question;
            question.Format("Overwrite %s ?", target.c_str());
            // Only OK overwrites; a box closed any other way keeps the file.
            if (reporter.ShowMessage(question, KZ_MB_OKCANCEL | KZ_MB_ICONQUESTION) != KZ_IDOK) {
                DeleteTempFiles();
                return false;
            }
        }
    } else {
        target = CreateTempFile();
        if (target.IsEmpty()) {
            reporter.ShowMessage("Unable to create file:\n", kErrorBox);
            return false;
        }
    }

    reporter.BeginWaitCursor();
    bool built = build_screensaver(document, target, resources, reporter, build);
    reporter.EndWaitCursor();
    if (!built) {
        DeleteTempFiles();
        return false;
    }

    KZString command;
    if (control_panel)
        command.Format("rundll32.exe desk.cpl,InstallScreenSaver %s", target.c_str());
    else
        command.Format("\"%s\" %s", target.c_str(), settings_mode ? "/c" : "/s");
    HANDLE process = Start(command);
    if (!process) {
        // Nothing ran: that is no test carried out.
        KZString text;
        text.Format("Unable to open file:\n%s", target.c_str());
        reporter.ShowMessage(text, kErrorBox);
        DeleteTempFiles();
        return false;
    }
    if (!settings_mode && !control_panel)
        WaitForSingleObject(process, INFINITE);
    else
        while (WaitForSingleObject(process, 50) == WAIT_TIMEOUT)
            host.keep_painted();
    CloseHandle(process);
    DeleteTempFiles();
    return true;
}

bool FCTestActions::test_scr() {
    clear_stored_settings();
    bool done = test_run(false, false);
    clear_stored_settings();
    return done;
}

bool FCTestActions::test_settings() {
    clear_stored_settings();
    bool done = test_run(true, false);
    clear_stored_settings();
    return done;
}

bool FCTestActions::test_control_panel() {
    clear_stored_settings();
    bool done = test_run(false, true);
    clear_stored_settings();
    return done;
}

bool FCTestActions::test_setup() {
    // A setup's screensaver reads the same key: start and end from the project's own choices.
    clear_stored_settings();
    KZString setup = CreateTempFile(".exe");
    if (setup.IsEmpty()) {
        reporter.ShowMessage("Unable to create file:\n", kErrorBox);
        return false;
    }
    FCInstallerOptions options = installer;
    options.build = build;
    reporter.BeginWaitCursor();
    bool made = write_installer(document, setup, resources, reporter, options);
    reporter.EndWaitCursor();
    if (made) {
        host.hide_window();
        KZString command;
        command.Format("\"%s\"", setup.c_str());
        HANDLE process = Start(command);
        if (process) {
            WaitForSingleObject(process, INFINITE);
            CloseHandle(process);
        } else {
            KZDeleteFile(setup);
        }
        host.show_window();
    }
    DeleteTempFiles();
    clear_stored_settings();
    return made;
}
