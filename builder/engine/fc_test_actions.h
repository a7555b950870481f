// The builder's test actions: the project's screensaver run full screen, its settings dialog,
// its selection in the Display Properties dialog, and its setup program, each started as a
// separate process. The stored settings they reset are the runtime's.
#pragma once

#include "builder/engine/fc_installer_build.h"
#include "builder/engine/fc_screensaver_builder.h"
#include "media/base/kz_string.h"

class FCDocument;
class FCHost;
class FCResources;
class KZReporter;

// The screensaver's stored-settings key under the current user's hive:
// "Software\TarvoSavers\<company>\<name>", or "Software\TarvoSavers\<name>" without a company;
// an empty `long_name` counts as "Tarvo Screensaver".
KZString FCStoredSettingsKey(const FCDocument& document);

// Windows only (fc_test_actions_win32.cpp).
class FCTestActions {
public:
    // `host` hides the builder's window while a setup runs and keeps it painted while the
    // settings and control-panel tests wait.
    FCTestActions(const FCDocument& document, FCResources& resources, KZReporter& reporter,
                  FCHost& host);

    // Deletes the values "Sound" and "Quality" of the stored-settings key, when the key opens.
    void clear_stored_settings();
    // The shared body of test_scr, test_settings and test_control_panel.
    bool test_run(bool settings_mode, bool control_panel);
    bool test_scr();
    bool test_settings();
    bool test_control_panel();
    // Builds a setup program on a temporary ".exe" name, runs it and waits for it. True when the
    // setup program was made.
    bool test_setup();

    // For the screensaver builds and for test_setup's write_installer (its compiler, its report).
    FCBuildOptions build;
    FCInstallerOptions installer;

private:
    const FCDocument& document;
    FCResources& resources;
    KZReporter& reporter;
    FCHost& host;
};
