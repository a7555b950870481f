// scrkit-cli setup and script: a setup program through the installer compiler, or the installer
// script with every file it names, for running the compiler by hand.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "builder/cli/cli_commands.h"
#include "builder/cli/cli_reporter.h"
#include "builder/cli/cli_text.h"
#include "builder/engine/fc_build_inputs.h"
#include "builder/engine/fc_document.h"
#include "builder/engine/fc_installer_build.h"
#include "builder/engine/fc_installer_script.h"
#include "builder/engine/fc_screensaver_builder.h"
#include "builder/resources/fc_builtin_resources.h"
#include "media/base/kz_file.h"
#include "media/base/kz_folder.h"
#include "media/base/kz_platform.h"

namespace {

const char kSetupHelp[] =
    "usage: scrkit-cli setup PROJECT.kpj -o OUT.exe [--iscc PATH]\n"
    "Builds the project's setup program: the screensaver, the launcher and the wizard pictures\n"
    "are prepared, the installer script is written and the Inno Setup compiler is run on it\n"
    "(PATH, by default setup/iscc beside scrkit-cli; setup\\iscc.exe on Windows). When no setup\n"
    "program comes out, the error report with the compiler's output is printed.\n";
const char kScriptHelp[] =
    "usage: scrkit-cli script PROJECT.kpj -o DIR\n"
    "Writes the installer script DIR/setup.iss and every file it names into DIR: the screensaver\n"
    "SHORT_NAME.scr, pomlet.exe, wizard_image.bmp, wizard_small_image.bmp and copies of the\n"
    "licence, readme, additional and icon files. The script names them relative to its own\n"
    "folder (lines end in CR LF), so 'iscc setup.iss' in DIR makes DIR\\setup.exe, also after the\n"
    "folder was copied to Windows.\n";

const char kScriptName[] = "setup.iss";
// The output the script names: its own folder, relative to the script.
const char kScriptOutput[] = ".\\setup.exe";

// False with the message when the CLI has no stub to build with.
bool HaveStub(FCResources& resources) {
    uint32_t size = 0;
    if (resources.find_bin(FC_RES_STUB, &size))
        return true;
    CliError(CLI_FAILED, "this scrkit-cli carries no screensaver stub");
    return false;
}

int ParseArguments(int argc, char** argv, const char* help, const char* name, const char** project,
                   const char** output, const char** iscc) {
    for (int i = 0; i < argc; i++) {
        if (CliIsHelp(argv[i])) {
            fputs(help, stdout);
            return -1;
        } else if (strcmp(argv[i], "-o") == 0 && i + 1 < argc) {
            *output = argv[++i];
        } else if (iscc && strcmp(argv[i], "--iscc") == 0 && i + 1 < argc) {
            *iscc = argv[++i];
        } else if (argv[i][0] != '-' && !*project) {
            *project = argv[i];
        } else {
            return CliError(CLI_USAGE, "%s: unexpected argument \"%s\"\n%s", name, argv[i], help);
        }
    }
    if (!*project || !*output)
        return CliError(CLI_USAGE, "%s: a project and -o %s are needed\n%s", name,
                        iscc ? "OUT.exe" : "DIR", help);
    return CLI_OK;
}

bool SameName(const std::string& a, const std::string& b) {
    // Windows file names ignore case: two such names would be one file in the setup.
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); i++) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = char(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// The files of the script folder by name; each name stands for one source. Names and sources are
// in the ANSI code page, as the document holds them.
struct FolderFiles {
    struct Entry {
        std::string name;
        std::string source; // empty for the files scrkit-cli writes itself
    };
    std::vector<Entry> entries;

    // False (with the message) when the name already stands for another file.
    bool add(const std::string& name, const std::string& source) {
        for (const Entry& e : entries) {
            if (!SameName(e.name, name))
                continue;
            if (!source.empty() && e.source == source)
                return true; // the same file named twice (the licence is both shown and copied)
            CliError(CLI_FAILED,
                     "two files of the script would be named %s in the folder: %s and %s",
                     CliAnsiToTerminal(name.c_str()).c_str(),
                     e.source.empty() ? "the one scrkit-cli writes"
                                      : CliAnsiToTerminal(e.source.c_str()).c_str(),
                     CliAnsiToTerminal(source.c_str()).c_str());
            return false;
        }
        entries.push_back({name, source});
        return true;
    }
};

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    if (folder.back() == '/' || folder.back() == KZPathSeparator())
        return folder + name;
    return folder + KZPathSeparator() + name;
}

int CannotCreate(const std::string& path) {
    return CliError(CLI_FAILED, "Unable to create file:\n%s",
                    CliAnsiToTerminal(path.c_str()).c_str());
}

void Replace(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// The project, when the built-in programs are there; false with the message.
bool OpenProject(const char* project, FCResources& resources, CliReporter& reporter,
                 FCDocument& document) {
    return HaveStub(resources) && CliOpenProject(document, project, reporter);
}

} // namespace

int CliSetup(int argc, char** argv) {
    const char* project = nullptr;
    const char* output = nullptr;
    const char* iscc = nullptr;
    int status = ParseArguments(argc, argv, kSetupHelp, "setup", &project, &output, &iscc);
    if (status != CLI_OK)
        return status < 0 ? CLI_OK : status;
    KZString project_path, output_path, iscc_path;
    if (!CliPathArguments({{project, &project_path}, {output, &output_path}, {iscc, &iscc_path}}) ||
        !CliHaveTempFolder())
        return CLI_FAILED;

    FCResourceTable resources;
    FCAddBuiltinResources(resources);
    CliReporter reporter;
    FCDocument document(&resources);
    if (!OpenProject(project_path, resources, reporter, document))
        return CLI_FAILED;
    FCInstallerOptions options;
    if (iscc)
        options.compiler = iscc_path;
    options.open_report = false;
    KZString report;
    options.report_path = &report;
    // The compiler runs on a script in the temporary folder and would take a relative OutputDir
    // from there: the script names the output by its full path.
    KZString full_output = KZFullPath(output_path);
    if (full_output.IsEmpty())
        full_output = output_path;
    // write_installer refuses an output that is one of the inputs.
    KZTOArray<KZString> warnings;
    options.build.warnings = &warnings;
    if (write_installer(document, full_output, resources, reporter, options)) {
        CliPrintWarnings(warnings);
        return CLI_OK;
    }
    if (!report.IsEmpty()) {
        // The report is a temporary file, gone when scrkit-cli ends: show it here.
        int length = 0;
        uint8_t* text = KZReadWholeFile(report, &length);
        if (text) {
            fputs("--- error report ---\n", stderr);
            // Written in text mode: its CR LF become line feeds again for stderr.
            std::string shown = CliAnsiToTerminal(reinterpret_cast<const char*>(text));
            Replace(shown, "\r\n", "\n");
            fputs(shown.c_str(), stderr);
            KZFree(text);
        }
    }
    return CLI_FAILED;
}

int CliScript(int argc, char** argv) {
    const char* project = nullptr;
    const char* folder_argument = nullptr;
    int status =
        ParseArguments(argc, argv, kScriptHelp, "script", &project, &folder_argument, nullptr);
    if (status != CLI_OK)
        return status < 0 ? CLI_OK : status;
    KZString project_path, folder_path;
    if (!CliPathArguments({{project, &project_path}, {folder_argument, &folder_path}}) ||
        !CliHaveTempFolder())
        return CLI_FAILED;

    FCResourceTable resources;
    FCAddBuiltinResources(resources);
    CliReporter reporter;
    FCDocument document(&resources);
    if (!OpenProject(project_path, resources, reporter, document))
        return CLI_FAILED;

    // First the unreadable-file checks, with the generator's own messages and order.
    FCInstallerFiles placeholders;
    placeholders.screensaver = placeholders.launcher = "-";
    placeholders.wizard_image = placeholders.wizard_small_image = "-";
    FCInstallerScript sections;
    if (!FCComposeInstallerScript(document, kScriptOutput, placeholders, reporter, &sections))
        return CLI_FAILED;

    // Every file the script names gets a name in the folder; the document copy points at them.
    FCDocument copy(&resources);
    static_cast<FCDocumentFields&>(copy) = document;
    FolderFiles names;
    std::string scr_name = std::string(document.short_name.c_str()) + ".scr";
    for (const char* own : {kScriptName, scr_name.c_str(), "pomlet.exe", "wizard_image.bmp",
                            "wizard_small_image.bmp"})
        if (!names.add(own, ""))
            return CLI_FAILED;
    std::string folder = folder_path.c_str();
    auto place = [&](KZString& path) {
        std::string name = FCFileNamePart(path).c_str();
        if (!names.add(name, path.c_str()))
            return false;
        path = Join(folder, name).c_str();
        return true;
    };
    if (copy.show_license && !copy.license_file.IsEmpty() && !place(copy.license_file))
        return CLI_FAILED;
    if (copy.install_readme && !copy.readme_file.IsEmpty() && !place(copy.readme_file))
        return CLI_FAILED;
    if (copy.install_additional_files)
        for (int i = 0; i < copy.additional_files.GetCount(); i++)
            if (!place(copy.additional_files[i]))
                return CLI_FAILED;
    if (copy.custom_icon && !copy.custom_icon_file.IsEmpty() && !place(copy.custom_icon_file))
        return CLI_FAILED;

    // Nothing the folder gets may be written over an input; a file that is in the folder already
    // under its own name stays as it is (copying it onto itself would empty it).
    FCBuildInputs inputs;
    FCAddScreensaverInputs(document, resources, inputs);
    FCAddSetupInputs(document, inputs);
    for (const FolderFiles::Entry& e : names.entries) {
        std::string to = Join(folder, e.name);
        if ((e.source.empty() || !KZSameFile(e.source.c_str(), to.c_str())) &&
            !FCCheckOutputIsNoInput(to.c_str(), inputs, reporter))
            return CLI_FAILED;
    }

    if (!KZCreateFolders(folder.c_str()))
        return CliError(CLI_FAILED, "Unable to create folder:\n%s", folder_argument);
    FCInstallerFiles files;
    files.screensaver = Join(folder, scr_name).c_str();
    files.launcher = Join(folder, "pomlet.exe").c_str();
    files.wizard_image = Join(folder, "wizard_image.bmp").c_str();
    files.wizard_small_image = Join(folder, "wizard_small_image.bmp").c_str();
    KZTOArray<KZString> warnings;
    FCBuildOptions build_options;
    build_options.warnings = &warnings;
    if (!build_screensaver(document, files.screensaver, resources, reporter, build_options))
        return CLI_FAILED;
    CliPrintWarnings(warnings);
    if (!FCWriteInstallerLauncher(resources, files.launcher))
        return CannotCreate(files.launcher.c_str());
    if (!FCWriteWizardBitmaps(document, files))
        return CannotCreate(files.wizard_image.c_str());
    for (const FolderFiles::Entry& e : names.entries) {
        if (e.source.empty())
            continue;
        std::string to = Join(folder, e.name);
        if (KZSameFile(e.source.c_str(), to.c_str()))
            continue;
        if (!KZCopyFile(e.source.c_str(), to.c_str()))
            return CannotCreate(to);
    }

    if (!FCComposeInstallerScript(copy, kScriptOutput, files, reporter, &sections))
        return CLI_FAILED;
    // The files by their names alone: the compiler takes them from the script's folder.
    std::string script = sections.text().c_str();
    for (const FolderFiles::Entry& e : names.entries) {
        std::string full = Join(folder, e.name);
        Replace(script, "Source: \"" + full + "\"", "Source: \"" + e.name + "\"");
        Replace(script, "=" + full + "\n", "=" + e.name + "\n");
    }
    std::string crlf;
    for (char c : script) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    std::string script_path = Join(folder, kScriptName);
    if (!KZWriteWholeFile(script_path.c_str(), crlf.data(), int(crlf.size())))
        return CannotCreate(script_path);
    printf("%s\n", CliAnsiToTerminal(script_path.c_str()).c_str());
    return CLI_OK;
}
