// write_installer: the script of the generator written to disk, the Inno Setup compiler run on
// it, and an error report when no setup program came out.
#pragma once

#include "builder/engine/fc_screensaver_builder.h"
#include "media/base/kz_array.h"
#include "media/base/kz_string.h"

class FCDocument;
class FCResources;
class KZReporter;

// Named in the error report's second sentence.
extern const char* const FC_SUPPORT_CONTACT;

struct FCInstallerOptions {
    // The compiler; empty: FCDefaultCompilerPath().
    KZString compiler;
    FCBuildOptions build;
    // Open the error report with the system's viewer (the shell's "open" verb on Windows).
    bool open_report = true;
    // When not null: receives the error report's path, or empty when none was written.
    KZString* report_path = nullptr;
};

// The builder folder + "setup\iscc.exe" on Windows; "setup/iscc" on POSIX.
KZString FCDefaultCompilerPath();

// The report of a failed compile: the two sentences, the compiler's lines from the fourth on,
// "---" and the whole script. Lines end in "\n".
KZString FCInstallerErrorReport(const KZTOArray<KZString>& lines, const char* script);

// Builds a setup program at output_path. True only when the compiler ran and wrote a setup
// program there during this call; a file that was there before does not count, and is put back
// when no new one came. On false the reason has been shown through `reporter`.
bool write_installer(const FCDocument& document, const char* output_path, FCResources& resources,
                     KZReporter& reporter,
                     const FCInstallerOptions& options = FCInstallerOptions());
