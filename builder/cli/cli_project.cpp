// scrkit-cli project new/show/set: project files edited field by field.
#include <cstdio>
#include <cstring>
#include <string>

#include "builder/cli/cli_commands.h"
#include "builder/cli/cli_fields.h"
#include "builder/cli/cli_reporter.h"
#include "builder/cli/cli_text.h"
#include "builder/engine/fc_document.h"

namespace {

const char kProjectHelp[] =
    "usage: scrkit-cli project new -o PROJECT.kpj [FIELD=VALUE ...]\n"
    "       scrkit-cli project show PROJECT.kpj [--json]\n"
    "       scrkit-cli project set PROJECT.kpj FIELD=VALUE ...\n"
    "Fields go by their document names (project show lists them). Booleans are true or false,\n"
    "integers decimal within the field's range, colours #RRGGBB, lists ';'-separated. An unknown\n"
    "field or a bad value is an error and leaves the file as it was. A relative path in a field\n"
    "is taken from the project file's folder.\n";

// Applies every assignment to a copy, so that one bad value changes nothing.
bool ApplyAll(FCDocument& document, int count, char** assignments) {
    FCDocumentFields changed(document);
    for (int i = 0; i < count; i++) {
        std::string error;
        if (!CliApplyAssignment(changed, assignments[i], &error)) {
            CliError(CLI_FAILED, "%s", error.c_str());
            return false;
        }
    }
    static_cast<FCDocumentFields&>(document) = changed;
    document.modified = true;
    return true;
}

int Save(FCDocument& document, const char* path) {
    KZString why;
    if (!document.save(path, &why)) {
        std::string shown = CliAnsiToTerminal(path);
        if (!why.IsEmpty())
            return CliError(CLI_FAILED, "Unable to write file:\n%s\n%s", shown.c_str(),
                            CliAnsiToTerminal(why).c_str());
        return CliError(CLI_FAILED, "Unable to write file:\n%s", shown.c_str());
    }
    return CLI_OK;
}

int New(int argc, char** argv) {
    const char* output = nullptr;
    int first = 0;
    if (argc >= 2 && strcmp(argv[0], "-o") == 0) {
        output = argv[1];
        first = 2;
    }
    if (!output)
        return CliError(CLI_USAGE, "project new: -o PROJECT.kpj is needed\n%s", kProjectHelp);
    KZString output_path;
    if (!CliPathArgument(output, output_path))
        return CLI_FAILED;
    FCDocument document;
    if (!ApplyAll(document, argc - first, argv + first))
        return CLI_FAILED;
    return Save(document, output_path);
}

int Show(int argc, char** argv) {
    const char* path = nullptr;
    bool json = false;
    for (int i = 0; i < argc; i++) {
        if (strcmp(argv[i], "--json") == 0)
            json = true;
        else if (!path && argv[i][0] != '-')
            path = argv[i];
        else
            return CliError(CLI_USAGE, "project show: unexpected argument \"%s\"", argv[i]);
    }
    if (!path)
        return CliError(CLI_USAGE, "project show: a project file is needed\n%s", kProjectHelp);
    KZString project_path;
    if (!CliPathArgument(path, project_path))
        return CLI_FAILED;
    CliReporter reporter;
    FCDocument document;
    if (!CliOpenProject(document, project_path, reporter))
        return CLI_FAILED;
    int count = 0;
    const FCField* fields = FCFields(&count);
    if (json)
        printf("{\n");
    for (int i = 0; i < count; i++) {
        if (json)
            printf("  \"%s\": %s%s\n", fields[i].name, CliFieldJson(document, fields[i]).c_str(),
                   i + 1 < count ? "," : "");
        else
            printf("%s=%s\n", fields[i].name, CliFieldText(document, fields[i]).c_str());
    }
    if (json)
        printf("}\n");
    return CLI_OK;
}

int Set(int argc, char** argv) {
    if (argc < 2 || argv[0][0] == '-')
        return CliError(CLI_USAGE, "project set: a project file and FIELD=VALUE are needed\n%s",
                        kProjectHelp);
    KZString project_path;
    if (!CliPathArgument(argv[0], project_path))
        return CLI_FAILED;
    CliReporter reporter;
    FCDocument document;
    if (!CliOpenProject(document, project_path, reporter))
        return CLI_FAILED;
    if (!ApplyAll(document, argc - 1, argv + 1))
        return CLI_FAILED;
    return Save(document, project_path);
}

} // namespace

int CliProject(int argc, char** argv) {
    if (argc < 1 || CliIsHelp(argv[0])) {
        fputs(kProjectHelp, argc < 1 ? stderr : stdout);
        return argc < 1 ? CLI_USAGE : CLI_OK;
    }
    for (int i = 1; i < argc; i++)
        if (CliIsHelp(argv[i])) {
            fputs(kProjectHelp, stdout);
            return CLI_OK;
        }
    if (strcmp(argv[0], "new") == 0)
        return New(argc - 1, argv + 1);
    if (strcmp(argv[0], "show") == 0)
        return Show(argc - 1, argv + 1);
    if (strcmp(argv[0], "set") == 0)
        return Set(argc - 1, argv + 1);
    return CliError(CLI_USAGE, "project: unknown subcommand \"%s\"\n%s", argv[0], kProjectHelp);
}
