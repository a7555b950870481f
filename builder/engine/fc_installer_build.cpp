#include "builder/engine/fc_installer_build.h"

#include "builder/engine/fc_build_inputs.h"
#include "builder/engine/fc_console_runner.h"
#include "builder/engine/fc_document.h"
#include "builder/engine/fc_installer_script.h"
#include "builder/engine/fc_platform.h"
#include "media/base/kz_file.h"
#include "media/base/kz_platform.h"
#include "media/base/kz_reporter.h"
#include "media/base/kz_temp_file.h"

const char* const FC_SUPPORT_CONTACT = "the scrkit maintainers (support@scrkit.example)";

namespace {

const unsigned kErrorBox = KZ_MB_OK | KZ_MB_ICONERROR;

void ShowError(KZReporter& reporter, const char* message, const char* path = "") {
    KZString text;
    text.Format("%s%s", message, path);
    reporter.ShowMessage(text, kErrorBox);
}

// Writes text as a text-mode file of the platform: on Windows every line ends in CR LF.
bool WriteTextFile(const char* path, const KZString& text) {
    const char* line_end = KZTextLineEnd();
    KZString converted;
    for (int i = 0; i < text.GetLength(); i++) {
        if (text[i] == '\n')
            converted.Append(line_end);
        else
            converted.AppendChar(text[i]);
    }
    if (converted.IsError())
        return false;
    return KZWriteWholeFile(path, converted.c_str(), converted.GetLength());
}

// A free name beside `path` where an old output waits while the compiler runs.
KZString AsideName(const char* path) {
    for (int i = 0; i < 1000; i++) {
        KZString name;
        name.Format(i ? "%s.old%d" : "%s.old", path, i);
        if (!KZFileExists(name))
            return name;
    }
    return KZString();
}

} // namespace

KZString FCDefaultCompilerPath() {
    KZString path = FCGetBuilderFolder();
    path.Append(FCDefaultCompilerName());
    return path;
}

KZString FCInstallerErrorReport(const KZTOArray<KZString>& lines, const char* script) {
    KZString report;
    report.Append("An error occurred while generating the installer.\n");
    report.Append("Additional information are displayed below. Please report them to ");
    report.Append(FC_SUPPORT_CONTACT);
    report.Append("\n");
    report.Append("\n");
    // The compiler's first three lines are its banner.
    for (int i = 3; i < lines.GetCount(); i++) {
        report.Append(lines[i]);
        report.Append("\n");
    }
    report.Append("\n---\n\n");
    report.Append(script);
    return report;
}

bool write_installer(const FCDocument& document, const char* output_path, FCResources& resources,
                     KZReporter& reporter, const FCInstallerOptions& options) {
    if (options.report_path)
        *options.report_path = KZString();
    KZString compiler = options.compiler.IsEmpty() ? FCDefaultCompilerPath() : options.compiler;
    // Before anything is built: the setup written over one of its inputs would destroy it.
    FCBuildInputs inputs;
    FCAddScreensaverInputs(document, resources, inputs);
    FCAddSetupInputs(document, inputs);
    inputs.push_back({compiler, "installer compiler"});
    if (!FCCheckOutputIsNoInput(output_path, inputs, reporter))
        return false;
    FCInstallerFiles files;
    FCInstallerScript sections;
    if (!FCGenerateInstaller(document, output_path, resources, reporter, options.build, &files,
                             &sections))
        return false;
    KZString script = sections.text();

    KZString script_path = CreateTempFile();
    if (script_path.IsEmpty() || !WriteTextFile(script_path, script)) {
        ShowError(reporter, "Unable to create setup file\n");
        if (!script_path.IsEmpty())
            KZDeleteFile(script_path);
        FCDeleteInstallerFiles(files);
        return false;
    }

    // A setup program left at the output path by an earlier run must not pass for this run's:
    // it waits beside the output and comes back when the compiler writes none.
    KZString aside;
    if (KZFileExists(output_path)) {
        aside = AsideName(output_path);
        if (aside.IsEmpty() || !FCReplaceFile(output_path, aside)) {
            ShowError(reporter, "Unable to create file:\n", output_path);
            KZDeleteFile(script_path);
            FCDeleteInstallerFiles(files);
            return false;
        }
    }
    auto restore_old_output = [&]() {
        if (!aside.IsEmpty())
            FCReplaceFile(aside, output_path);
    };

    KZString command;
    // Both quoted: a temporary folder may hold spaces ("...\\Local Settings\\Temp").
    command.Format("\"%s\" \"%s\"", compiler.c_str(), script_path.c_str());
    KZTOArray<KZString> lines;
    bool ran = false;
    {
        reporter.BeginWaitCursor();
        FCConsoleRunner runner;
        ran = runner.start(command);
        if (ran) {
            KZString line;
            while (runner.next_line(&line))
                lines.Add(line);
        }
        reporter.EndWaitCursor();
    }
    FCDeleteInstallerFiles(files);
    if (!ran) {
        restore_old_output();
        ShowError(reporter, "Unable to open file:\n", compiler);
        KZDeleteFile(script_path);
        return false;
    }

    if (KZFileOpensForRead(output_path)) {
        if (!aside.IsEmpty())
            KZDeleteFile(aside);
        KZDeleteFile(script_path);
        return true;
    }
    restore_old_output();

    KZString report_path = CreateTempFile(".txt");
    KZString report = FCInstallerErrorReport(lines, script);
    if (!report_path.IsEmpty() && WriteTextFile(report_path, report)) {
        if (options.report_path)
            *options.report_path = report_path;
        if (options.open_report)
            FCShellOpen(report_path);
    }
    ShowError(reporter, "Error while creating Installer");
    KZDeleteFile(script_path);
    return false;
}
