#include "builder/engine/fc_installer_script.h"

#include "builder/engine/fc_document.h"
#include "builder/engine/fc_field_table.h"
#include "builder/engine/fc_resources.h"
#include "builder/engine/fc_stored_names.h"
#include "media/base/kz_file.h"
#include "media/base/kz_folder.h"
#include "media/base/kz_reporter.h"
#include "media/base/kz_temp_file.h"
#include "media/picture/kz_picture.h"

namespace {

const unsigned kErrorBox = KZ_MB_OK | KZ_MB_ICONERROR;

// Appends the formatted text; the formatter's own error state carries a failure to the end.
void AppendF(KZString& to, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(KZ_PRINTF_FORMAT, 2, 3)))
#endif
    ;
void AppendF(KZString& to, const char* format, ...) {
    KZString line;
    va_list args;
    va_start(args, format);
    line.FormatV(format, args);
    va_end(args);
    to.Append(line);
}

// A value inside a quoted parameter, its double quotes doubled as the compiler reads them, so that
// a quote in a caption or a path ends nothing.
KZString Q(const char* value) {
    KZString out;
    for (const char* p = value; *p; p++) {
        if (*p == '"')
            out.AppendChar('"');
        out.AppendChar(*p);
    }
    return out;
}

// The document's texts that the script holds. A line break in one would end its directive and
// start a line of the author's choosing (a [Run] entry the setup would carry out), so none of them
// may hold a control character.
const char* const kScriptTexts[] = {
    "short_name",
    "long_name",
    "version",
    "company_name",
    "company_url",
    "menu_subfolder_name",
    "copyright",
    "install_dir",
    "setup_password",
    "license_file",
    "readme_file",
    "additional_files",
    "menu_configure_caption",
    "menu_launch_caption",
    "menu_uninstall_caption",
    "menu_readme_caption",
    "menu_license_caption",
    "menu_url_caption",
    "menu_url_target",
    "menu_custom_caption",
    "menu_custom_target",
    "end_show_readme_message",
    "end_open_display_properties_message",
    "end_launch_target",
    "end_launch_message",
    "custom_icon_file",
};

bool HasControlCharacter(const char* text) {
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; p++)
        if (*p < 0x20 || *p == 0x7F)
            return true;
    return false;
}

bool CheckScriptTexts(const FCDocument& d, const char* output_path, KZReporter& reporter) {
    for (const char* name : kScriptTexts) {
        const FCField* field = FCFindField(name);
        if (!field)
            continue;
        bool bad = false;
        if (field->kind == FC_FIELD_LIST) {
            const FCStringList& list = field->list_of(d);
            for (int i = 0; i < list.GetCount() && !bad; i++)
                bad = HasControlCharacter(list[i]);
        } else {
            bad = HasControlCharacter(field->text_of(d));
        }
        if (bad) {
            KZString text;
            text.Format("Unable to write %s into the setup script:\nit holds a line break or "
                        "another control character",
                        name);
            reporter.ShowMessage(text, kErrorBox);
            return false;
        }
    }
    if (HasControlCharacter(output_path)) {
        reporter.ShowMessage("Unable to write the setup program's path into the setup script:\nit "
                             "holds a line break or another control character",
                             kErrorBox);
        return false;
    }
    return true;
}

// The names the setup creates files under: the screensaver's from short_name, and the file-name
// parts of the files it installs. Each must be a name Windows can create in one folder, with no
// folder part that would place it elsewhere.
bool CheckFileName(const char* field, const char* name, KZReporter& reporter) {
    const char* problem = FCFileNameProblem(name);
    if (!problem)
        return true;
    KZString text;
    text.Format("Unable to use %s as a file name:\n%s\n%s", field, name, problem);
    reporter.ShowMessage(text, kErrorBox);
    return false;
}

bool CheckInstalledNames(const FCDocument& d, const KZString& scr_name, KZReporter& reporter) {
    if (!CheckFileName("short_name", scr_name, reporter))
        return false;
    if (d.show_license && !d.license_file.IsEmpty() &&
        !CheckFileName("license_file", FCFileNamePart(d.license_file), reporter))
        return false;
    if (d.install_readme && !d.readme_file.IsEmpty() &&
        !CheckFileName("readme_file", FCFileNamePart(d.readme_file), reporter))
        return false;
    if (d.install_additional_files) {
        for (int i = 0; i < d.additional_files.GetCount(); i++)
            if (!CheckFileName("additional_files", FCFileNamePart(d.additional_files[i]), reporter))
                return false;
    }
    if (d.custom_icon && !d.custom_icon_file.IsEmpty() &&
        !CheckFileName("custom_icon_file", FCFileNamePart(d.custom_icon_file), reporter))
        return false;
    return true;
}

// A flag together with a text that is not empty: the condition of most rows.
bool Set(bool flag, const KZString& text) {
    return flag && !text.IsEmpty();
}

// Shows "message" + path when the file cannot be read.
bool CheckReadable(const char* path, const char* message, KZReporter& reporter) {
    if (KZFileOpensForRead(path))
        return true;
    KZString text;
    text.Format("%s%s", message, path);
    reporter.ShowMessage(text, kErrorBox);
    return false;
}

// The file name of the output path without its extension.
KZString BaseName(const char* path) {
    KZString name = FCFileNamePart(path);
    int dot = -1;
    for (int i = 0; i < name.GetLength(); i++)
        if (name[i] == '.')
            dot = i;
    return dot < 0 ? name : KZString(name.c_str(), dot);
}

const char kFileRow[] = "Source: \"%s\"; DestDir: \"{app}\"; CopyMode: alwaysoverwrite;\n";
const char kShellRunRow[] =
    "Filename: \"{app}\\%s\"; Description: \"%s\"; Flags: %sshellexec skipifsilent\n";

const char* AskFlag(bool ask) {
    return ask ? "postinstall " : "";
}

bool ComposeSetup(const FCDocument& d, const char* output_path, const FCInstallerFiles& files,
                  const KZString& scr_name, const KZString& group, const KZString& web,
                  KZReporter& reporter, KZString& s) {
    AppendF(s, "[Setup]\nAppName=%s\n", d.long_name.c_str());
    KZString versioned = d.long_name;
    if (!d.version.IsEmpty()) {
        versioned.Append(" ");
        versioned.Append(d.version);
    }
    if (!versioned.IsEmpty())
        AppendF(s, "AppVerName=%s\n", versioned.c_str());
    if (!d.copyright.IsEmpty())
        AppendF(s, "AppCopyright=%s\n", d.copyright.c_str());
    AppendF(s, "DefaultDirName=%s\n", d.install_dir.c_str());
    AppendF(s, "DefaultGroupName=%s\n", group.c_str());
    AppendF(s, "UninstallDisplayIcon={sys}\\%s\n", scr_name.c_str());
    if (Set(d.show_license, d.license_file)) {
        if (!CheckReadable(d.license_file, "Unable to read License File:\n", reporter))
            return false;
        AppendF(s, "LicenseFile=%s\n", d.license_file.c_str());
    }
    if (!d.company_name.IsEmpty())
        AppendF(s, "AppPublisher=%s\n", d.company_name.c_str());
    if (!web.IsEmpty()) {
        AppendF(s, "AppPublisherURL=%s\n", web.c_str());
        AppendF(s, "AppSupportURL=%s\n", web.c_str());
        AppendF(s, "AppUpdatesURL=%s\n", web.c_str());
    }
    if (!d.version.IsEmpty())
        AppendF(s, "AppVersion=%s\n", d.version.c_str());
    s.Append("SolidCompression= true\n");
    s.Append("Compression= lzma/max\n");
    AppendF(s, "OutputDir=%s\nOutputBaseFilename=%s\n", FCFolderPart(output_path).c_str(),
            BaseName(output_path).c_str());
    if (Set(d.setup_password_enabled, d.setup_password))
        AppendF(s, "Password=%s\n", d.setup_password.c_str());
    AppendF(s, "WizardImageFile=%s\n", files.wizard_image.c_str());
    AppendF(s, "WizardSmallImageFile=%s\n", files.wizard_small_image.c_str());
    if (d.disable_startup_prompt)
        s.Append("DisableStartupPrompt=yes\n");
    if (d.disable_dir_page)
        s.Append("DisableDirPage=yes\n");
    if (d.disable_program_group_page)
        s.Append("DisableProgramGroupPage=yes\n");
    if (d.disable_ready_page)
        s.Append("DisableReadyPage=yes\n");
    if (d.disable_finished_page)
        s.Append("DisableFinishedPage=yes\n");
    s.Append("\n");
    return true;
}

bool ComposeFiles(const FCDocument& d, const FCInstallerFiles& files, const KZString& scr_name,
                  KZReporter& reporter, KZString& s) {
    AppendF(s,
            "[Files]\nSource: \"%s\"; DestName: \"%s\"; DestDir: \"{sys}\"; CopyMode: "
            "alwaysoverwrite;\n",
            Q(files.screensaver).c_str(), Q(scr_name).c_str());
    AppendF(s,
            "Source: \"%s\"; DestName: \"pomlet.exe\"; DestDir: \"{app}\"; CopyMode: "
            "alwaysoverwrite;\n",
            Q(files.launcher).c_str());
    if (Set(d.show_license, d.license_file)) {
        if (!CheckReadable(d.license_file, "Unable to read License File:\n", reporter))
            return false;
        AppendF(s, kFileRow, Q(d.license_file).c_str());
    }
    if (Set(d.install_readme, d.readme_file)) {
        if (!CheckReadable(d.readme_file, "Unable to read Readme File:\n", reporter))
            return false;
        AppendF(s, kFileRow, Q(d.readme_file).c_str());
    }
    if (d.install_additional_files) {
        for (int i = 0; i < d.additional_files.GetCount(); i++) {
            const KZString& entry = d.additional_files[i];
            if (!CheckReadable(entry, "Unable to read additional file:\n", reporter))
                return false;
            AppendF(s, kFileRow, Q(entry).c_str());
        }
    }
    s.Append("\n");
    return true;
}

// The icons section; the icon file's own [Files] row is appended to `file_rows` because it is
// produced while the icons are composed.
bool ComposeIcons(const FCDocument& d, const KZString& scr_name, KZReporter& reporter,
                  KZString& file_rows, KZString& s) {
    KZString icon_clause;
    if (Set(d.custom_icon, d.custom_icon_file)) {
        if (!CheckReadable(d.custom_icon_file, "Unable to read Icon File:\n", reporter))
            return false;
        AppendF(file_rows, kFileRow, Q(d.custom_icon_file).c_str());
        icon_clause.Format("IconFilename: \"{app}\\%s\"",
                           FCFileNamePart(d.custom_icon_file).c_str());
    } else {
        icon_clause.Format("IconFilename: \"{sys}\\%s\"", scr_name.c_str());
    }

    s.Append("[Icons]\n");
    if (Set(d.menu_uninstall, d.menu_uninstall_caption))
        AppendF(s, "Name: \"{group}\\%s\"; Filename: \"{app}\\unins000.exe\";\n",
                Q(d.menu_uninstall_caption).c_str());
    if (Set(d.install_readme, d.readme_file) && Set(d.menu_readme, d.menu_readme_caption))
        AppendF(s, "Name: \"{group}\\%s\"; Filename: \"{app}\\%s\";\n",
                Q(d.menu_readme_caption).c_str(), FCFileNamePart(d.readme_file).c_str());
    if (Set(d.show_license, d.license_file) && Set(d.menu_license, d.menu_license_caption))
        AppendF(s, "Name: \"{group}\\%s\"; Filename: \"{app}\\%s\";\n",
                Q(d.menu_license_caption).c_str(), FCFileNamePart(d.license_file).c_str());
    if (Set(d.menu_launch, d.menu_launch_caption))
        AppendF(s,
                "Name: \"{group}\\%s\"; Filename: \"{app}\\pomlet.exe\"; Parameters: "
                "\"\"\"{sys}\\%s\"\" /S\"; %s;\n",
                Q(d.menu_launch_caption).c_str(), scr_name.c_str(), icon_clause.c_str());
    if (Set(d.menu_configure, d.menu_configure_caption))
        AppendF(s,
                "Name: \"{group}\\%s\"; Filename: \"{app}\\pomlet.exe\"; Parameters: "
                "\"\"\"{sys}\\%s\"\" /C\"; %s;\n",
                Q(d.menu_configure_caption).c_str(), scr_name.c_str(), icon_clause.c_str());
    if (Set(d.menu_url, d.menu_url_caption) && !d.menu_url_target.IsEmpty() &&
        d.menu_url_target != placeholder_url)
        AppendF(s, "Name: \"{group}\\%s\"; Filename: \"%s\";\n", Q(d.menu_url_caption).c_str(),
                Q(d.menu_url_target).c_str());
    if (Set(d.menu_custom, d.menu_custom_caption) && !d.menu_custom_target.IsEmpty())
        AppendF(s, "Name: \"{group}\\%s\"; Filename: \"%s\";\n", Q(d.menu_custom_caption).c_str(),
                Q(d.menu_custom_target).c_str());
    s.Append("\n");
    return true;
}

void ComposeRun(const FCDocument& d, const KZString& scr_name, KZString& s) {
    s.Append("[Run]\n");
    AppendF(s,
            "Filename: \"{app}\\pomlet.exe\"; Parameters: \"\"\"{sys}\\%s\"\" /testflash\"; "
            "Flags: skipifsilent\n",
            scr_name.c_str());
    if (d.install_readme && d.end_show_readme &&
        (!d.end_show_readme_ask || !d.end_show_readme_message.IsEmpty()))
        AppendF(s, kShellRunRow, FCFileNamePart(d.readme_file).c_str(),
                Q(d.end_show_readme_message).c_str(), AskFlag(d.end_show_readme_ask));
    if (d.end_open_display_properties &&
        (!d.end_open_display_properties_ask || !d.end_open_display_properties_message.IsEmpty()))
        AppendF(s,
                "Filename: \"rundll32.exe\"; Parameters: \"desk.cpl,InstallScreenSaver "
                "{sys}\\%s\"; Description: \"%s\"; Flags: %snowait skipifsilent\n",
                scr_name.c_str(), Q(d.end_open_display_properties_message).c_str(),
                AskFlag(d.end_open_display_properties_ask));
    if (d.install_additional_files && d.end_launch) {
        int index = d.effective_end_launch_index();
        if (index >= 0)
            AppendF(s, kShellRunRow, FCFileNamePart(d.additional_files[index]).c_str(),
                    Q(d.end_launch_message).c_str(), AskFlag(d.end_launch_ask));
        else if (!d.end_launch_target.IsEmpty())
            AppendF(s, "Filename: \"%s\"; Description: \"%s\"; Flags: %sshellexec skipifsilent\n",
                    Q(d.end_launch_target).c_str(), Q(d.end_launch_message).c_str(),
                    AskFlag(d.end_launch_ask));
    }
    s.Append("\n");
}

// A picture as a BMP file; palette pictures are written with their palette.
bool WriteBitmap(const KZPicture* picture, const char* path) {
    return picture && path && *path && SaveBmp(picture, path);
}

void DeleteIfThere(const KZString& path) {
    if (!path.IsEmpty() && KZFileExists(path))
        KZDeleteFile(path);
}

// True when `key` starts at p (before end).
bool StartsWith(const char* p, const char* end, const char* key) {
    for (; *key; key++, p++)
        if (p >= end || *p != *key)
            return false;
    return true;
}

} // namespace

KZString FCInstallerScript::text() const {
    KZString all;
    all.Append(setup);
    all.Append(languages);
    all.Append(files);
    all.Append(icons);
    all.Append(run);
    all.Append(uninstall_delete);
    return all;
}

KZString FCInstallerMessagesFile(int setup_language) {
    static const char* const kWords[] = {
        "French",  "German",          "Italian",       "Portuguese", "BrazilianPortuguese",
        "Spanish", "SpanishColombia", "SpanishMexico", "English",    "Polish"};
    KZString file;
    if (setup_language >= 2 && setup_language <= 11)
        file.Format("Languages\\%s.isl", kWords[setup_language - 2]);
    else
        file = "Default.isl";
    return file;
}

bool FCComposeInstallerScript(const FCDocument& d, const char* output_path,
                              const FCInstallerFiles& files, KZReporter& reporter,
                              FCInstallerScript* script) {
    *script = FCInstallerScript();
    KZString scr_name = d.short_name;
    scr_name.Append(".scr");
    KZString group = d.long_name;
    if (Set(d.menu_subfolder, d.menu_subfolder_name)) {
        group = d.menu_subfolder_name;
        group.Append("\\");
        group.Append(d.long_name);
    }
    KZString web = d.company_url == placeholder_url ? KZString() : d.company_url;
    if (!CheckScriptTexts(d, output_path, reporter) || !CheckInstalledNames(d, scr_name, reporter))
        return false;

    if (!ComposeSetup(d, output_path, files, scr_name, group, web, reporter, script->setup))
        return false;
    AppendF(script->languages, "[Languages]\nName: \"LANG%d\"; MessagesFile: \"compiler:%s\"\n\n",
            int(d.setup_language), FCInstallerMessagesFile(d.setup_language).c_str());
    if (!ComposeFiles(d, files, scr_name, reporter, script->files))
        return false;
    if (!ComposeIcons(d, scr_name, reporter, script->files, script->icons))
        return false;
    ComposeRun(d, scr_name, script->run);
    script->uninstall_delete = "[UninstallDelete]\nType: dirifempty; Name: \"{app}\"\n\n";
    return true;
}

bool FCWriteInstallerLauncher(FCResources& resources, const char* path) {
    uint32_t size = 0;
    const uint8_t* data = resources.find_bin(FC_RES_LAUNCHER, &size);
    if (!data || size == 0 || size > 0x7FFFFFFFu)
        return false;
    return KZWriteWholeFile(path, data, int(size));
}

bool FCWriteWizardBitmaps(const FCDocument& document, const FCInstallerFiles& files) {
    return WriteBitmap(document.current_wizard_image(), files.wizard_image) &&
           WriteBitmap(document.current_wizard_small_image(), files.wizard_small_image);
}

void FCDeleteInstallerFiles(const FCInstallerFiles& files) {
    DeleteIfThere(files.screensaver);
    DeleteIfThere(files.launcher);
    DeleteIfThere(files.wizard_image);
    DeleteIfThere(files.wizard_small_image);
}

bool FCGenerateInstaller(const FCDocument& document, const char* output_path,
                         FCResources& resources, KZReporter& reporter,
                         const FCBuildOptions& build_options, FCInstallerFiles* files,
                         FCInstallerScript* script) {
    *files = FCInstallerFiles();
    files->screensaver = CreateTempFile();
    if (files->screensaver.IsEmpty()) {
        reporter.ShowMessage("Unable to create file:\n", kErrorBox);
        return false;
    }
    reporter.BeginWaitCursor();
    bool built =
        build_screensaver(document, files->screensaver, resources, reporter, build_options);
    reporter.EndWaitCursor();
    if (!built)
        return false;

    files->launcher = CreateTempFile();
    files->wizard_image = CreateTempFile();
    files->wizard_small_image = CreateTempFile();
    if (!FCComposeInstallerScript(document, output_path, *files, reporter, script)) {
        FCDeleteInstallerFiles(*files);
        return false;
    }
    // The launcher is the builder's own resource; without it the setup could not start anything.
    if (files->launcher.IsEmpty() || !FCWriteInstallerLauncher(resources, files->launcher)) {
        KZString text;
        text.Format("Unable to create file:\n%s", files->launcher.c_str());
        reporter.ShowMessage(text, kErrorBox);
        FCDeleteInstallerFiles(*files);
        return false;
    }
    if (!FCWriteWizardBitmaps(document, *files)) {
        FCDeleteInstallerFiles(*files);
        return false;
    }
    return true;
}

FCInstallerFolders FCGetInstallerFolders() {
    FCInstallerFolders folders;
    folders.windows = KZWithoutTrailingSeparators(GetWindowsFolder());
    folders.system = KZWithoutTrailingSeparators(GetSystemFolder());
    folders.program_files = KZWithoutTrailingSeparators(GetSpecialFolder(KZ_CSIDL_PROGRAM_FILES));
    // CSIDL_PROGRAM_FILES_COMMON; the POSIX stand-ins have no such folder, so it sits below the
    // Program Files stand-in as it does on Windows.
    folders.common_files = KZWithoutTrailingSeparators(GetSpecialFolder(0x002b));
    if (folders.common_files.IsEmpty() && !folders.program_files.IsEmpty()) {
        folders.common_files = folders.program_files;
        folders.common_files.AppendChar(KZPathSeparator());
        folders.common_files.Append("Common Files");
    }
    return folders;
}

KZString FCExpandInstallerConstants(const char* text, const FCInstallerFolders& folders) {
    // One pass, so that a folder whose name holds a constant is not expanded again.
    const struct {
        const char* key;
        const KZString* value;
    } constants[] = {{"{win}", &folders.windows},
                     {"{sys}", &folders.system},
                     {"{pf}", &folders.program_files},
                     {"{cf}", &folders.common_files}};
    KZString out;
    KZString source = text;
    const char* p = source.c_str();
    const char* end = p + source.GetLength();
    while (p < end) {
        bool replaced = false;
        for (const auto& constant : constants) {
            if (StartsWith(p, end, constant.key)) {
                out.Append(*constant.value);
                int n = 0;
                while (constant.key[n])
                    n++;
                p += n;
                replaced = true;
                break;
            }
        }
        if (!replaced)
            out.Append(p++, 1);
    }
    return out;
}

KZString FCExpandInstallerConstants(const char* text) {
    return FCExpandInstallerConstants(text, FCGetInstallerFolders());
}
