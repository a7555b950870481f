// Runs one of the builder's test actions on a small project, with real message boxes:
//   fc_test_actions_probe ACTION MOVIE.swf [--compiler ISCC.exe]
// ACTION: scr, settings, control_panel, setup. The project is "Stars" ("Night Stars" by Acme)
// around MOVIE. Every message is also printed as "message: TEXT"; the last line is
// "result=R temp_files=N" (the action's result, the temporary files still registered). Exit code
// 0 when the action returned true, 1 when false, 2 on bad usage.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "builder/engine/fc_document.h"
#include "builder/engine/fc_test_actions.h"
#include "builder/resources/fc_builtin_resources.h"
#include "builder/ui/frame/fc_window_host_win32.h"
#include "media/base/kz_reporter.h"
#include "media/base/kz_temp_file.h"

namespace {

class BoxReporter : public KZReporter {
public:
    int ShowMessage(const char* text, unsigned type) override {
        printf("message: %s\n", text);
        fflush(stdout);
        return MessageBoxA(nullptr, text, "Tarvo Saver", type);
    }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && !(argc == 5 && strcmp(argv[3], "--compiler") == 0)) {
        fprintf(stderr, "usage: fc_test_actions_probe ACTION MOVIE.swf [--compiler ISCC.exe]\n");
        return 2;
    }
    FCResourceTable resources;
    FCAddBuiltinResources(resources);
    BoxReporter reporter;
    int result = -1;
    {
        FCDocument document(&resources);
        document.movie_file = argv[2];
        document.short_name = "Stars";
        document.long_name = "Night Stars";
        document.company_name = "Acme";
        FCWindowHost host(nullptr); // the probe has no window of its own
        FCTestActions actions(document, resources, reporter, host);
        if (argc == 5)
            actions.installer.compiler = argv[4];
        actions.installer.open_report = false;
        const char* action = argv[1];
        if (strcmp(action, "scr") == 0)
            result = actions.test_scr();
        else if (strcmp(action, "settings") == 0)
            result = actions.test_settings();
        else if (strcmp(action, "control_panel") == 0)
            result = actions.test_control_panel();
        else if (strcmp(action, "setup") == 0)
            result = actions.test_setup();
    }
    if (result < 0) {
        fprintf(stderr, "fc_test_actions_probe: unknown action \"%s\"\n", argv[1]);
        return 2;
    }
    printf("result=%d temp_files=%d\n", result, GetRegisteredTempFileCount());
    DeleteTempFiles();
    return result ? 0 : 1;
}
