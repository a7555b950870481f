// The installer script generator: the project becomes an Inno Setup script, and the files the
// script names (the screensaver, the launcher, the two wizard bitmaps) are written beside it.
#pragma once

#include "builder/engine/fc_screensaver_builder.h"
#include "media/base/kz_string.h"

class FCDocument;
class FCResources;
class KZReporter;

// The files the builder prepares for the script, by path.
struct FCInstallerFiles {
    KZString screensaver;        // the built .scr
    KZString launcher;           // pomlet.exe, resource 127 byte for byte
    KZString wizard_image;       // large wizard bitmap (BMP)
    KZString wizard_small_image; // small wizard bitmap (BMP)
};

// The six sections in the order they are written.
struct FCInstallerScript {
    KZString setup;
    KZString languages;
    KZString files;
    KZString icons;
    KZString run;
    KZString uninstall_delete;

    // The whole script, lines ending in "\n".
    KZString text() const;
};

// The messages file of a setup language: "Default.isl" for 1, "Languages\<word>.isl" for the
// others; an unknown language falls back to the default one.
KZString FCInstallerMessagesFile(int setup_language);

// Composes the script from the project. The licence, readme, additional and icon files the script
// names must be readable: for the first one that is not, "Unable to read ...:\n" + its path is
// shown through `reporter` and the result is false. Nothing is written to disk.
bool FCComposeInstallerScript(const FCDocument& document, const char* output_path,
                              const FCInstallerFiles& files, KZReporter& reporter,
                              FCInstallerScript* script);

// Writes the launcher (resource 127) at `path`; false when the resource is missing or the file
// cannot be written whole.
bool FCWriteInstallerLauncher(FCResources& resources, const char* path);
// Writes the large and small wizard bitmaps (the custom picture where there is one, else the
// built-in one) at their paths in `files`; false when either cannot be written.
bool FCWriteWizardBitmaps(const FCDocument& document, const FCInstallerFiles& files);

// The generator: builds the screensaver on a fresh temporary name (wait cursor shown), writes the
// launcher and the two bitmaps on fresh temporary names and composes the script. On false every
// file it made is deleted again, and the reason has been shown (except for a bitmap that could not
// be written, which fails silently). On true the caller owns the files (all are entered in the
// temporary-file list).
bool FCGenerateInstaller(const FCDocument& document, const char* output_path,
                         FCResources& resources, KZReporter& reporter,
                         const FCBuildOptions& build_options, FCInstallerFiles* files,
                         FCInstallerScript* script);

// Deletes the prepared files that exist.
void FCDeleteInstallerFiles(const FCInstallerFiles& files);

// The system folders that installer constants stand for, without trailing separators.
struct FCInstallerFolders {
    KZString windows;       // {win}
    KZString system;        // {sys}
    KZString program_files; // {pf}
    KZString common_files;  // {cf}
};
// The folders of this machine, as the system names them.
FCInstallerFolders FCGetInstallerFolders();
// A copy of `text` with every "{win}", "{sys}", "{pf}" and "{cf}" replaced by its folder.
KZString FCExpandInstallerConstants(const char* text, const FCInstallerFolders& folders);
KZString FCExpandInstallerConstants(const char* text);
