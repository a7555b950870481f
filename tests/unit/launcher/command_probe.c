/* A helper for the tests that run the stub and the launcher under Wine.
 *   command_probe                      appends its own command line to the file in PROBE_LOG
 *   command_probe --run                starts PROBE_APP (may be unset) with the exact command line
 *                                      in PROBE_LINE, waits, and exits with the child's code
 *   command_probe --answer CAPTION ID OUT
 *                                      waits for a dialog or message box with that caption, writes
 *                                      its text and buttons to OUT and presses button ID */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int Record(void) {
    char path[MAX_PATH];
    if (!GetEnvironmentVariableA("PROBE_LOG", path, sizeof(path)))
        return 2;
    FILE* log = fopen(path, "ab");
    if (!log)
        return 2;
    fprintf(log, "%s\n", GetCommandLineA());
    fclose(log);
    return 0;
}

static int Run(void) {
    static char line[4096];
    char app[MAX_PATH];
    if (!GetEnvironmentVariableA("PROBE_LINE", line, sizeof(line)))
        return 2;
    BOOL has_app = GetEnvironmentVariableA("PROBE_APP", app, sizeof(app)) != 0;
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    if (!CreateProcessA(has_app ? app : NULL, line, NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                        &process))
        return 3;
    WaitForSingleObject(process.hThread, INFINITE);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 99;
    GetExitCodeProcess(process.hProcess, &code);
    return (int)code;
}

static int Answer(const char* caption, int button, const char* out_path) {
    HWND box = NULL;
    for (int i = 0; i < 300 && !box; ++i) {
        box = FindWindowA(NULL, caption);
        if (!box)
            Sleep(100);
    }
    if (!box)
        return 4;
    Sleep(300); /* let the box finish its initialisation */
    FILE* out = fopen(out_path, "wb");
    if (!out)
        return 2;
    char text[2048] = "";
    /* A message box keeps its text in the static control 0xFFFF. */
    GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
    fprintf(out, "text=%s|\n", text);
    fprintf(out, "yes=%d no=%d ok=%d cancel=%d\n", GetDlgItem(box, IDYES) != NULL,
            GetDlgItem(box, IDNO) != NULL, GetDlgItem(box, IDOK) != NULL,
            GetDlgItem(box, IDCANCEL) != NULL);
    fprintf(out, "owner=%d\n", GetWindow(box, GW_OWNER) != NULL);
    fclose(out);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), (LPARAM)GetDlgItem(box, button));
    return 0;
}

int main(int argc, char** argv) {
    if (argc >= 2 && strcmp(argv[1], "--run") == 0)
        return Run();
    if (argc >= 5 && strcmp(argv[1], "--answer") == 0)
        return Answer(argv[2], atoi(argv[3]), argv[4]);
    return Record();
}
