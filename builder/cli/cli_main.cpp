// scrkit-cli: the builder's engine from a terminal.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "builder/cli/cli_commands.h"
#include "builder/cli/cli_text.h"
#include "builder/engine/fc_document.h"
#include "builder/engine/fc_platform.h"
#include "media/base/kz_temp_file.h"

// cli_setup.cpp
int CliSetup(int argc, char** argv);
int CliScript(int argc, char** argv);
// cli_commit.cpp, written at build time
extern const char kCliCommit[];

namespace {

const char kUsage[] =
    "usage: scrkit-cli COMMAND [ARGS]\n"
    "  build PROJECT.kpj -o OUT.scr [--stub FILE] [--seed N]   build a screensaver\n"
    "  convert PICTURE -o OUT.swf [--preview]                  picture to one-frame movie\n"
    "  info FILE.scr [--json]                                  show a screensaver's payload\n"
    "  extract FILE.scr -d DIR [--force]                       write its embedded files\n"
    "  project new|show|set ...                                create, show, edit a project\n"
    "  picture FILE [--resize WxH] [--filter NAME] [-o OUT.bmp] load, resample, save a picture\n"
    "  setup PROJECT.kpj -o OUT.exe [--iscc PATH]              build a setup program\n"
    "  script PROJECT.kpj -o DIR                               installer script and its files\n"
    "  --version, -V                                           version and commit built from\n"
    "'scrkit-cli COMMAND --help' tells more.\n";

struct Command {
    const char* name;
    int (*run)(int argc, char** argv);
};

const Command kCommands[] = {
    {"build", CliBuild},     {"convert", CliConvert}, {"info", CliInfo},   {"extract", CliExtract},
    {"project", CliProject}, {"picture", CliPicture}, {"setup", CliSetup}, {"script", CliScript},
};

} // namespace

int CliError(int status, const char* format, ...) {
    fputs("scrkit-cli: ", stderr);
    va_list args;
    va_start(args, format);
    vfprintf(stderr, format, args);
    va_end(args);
    fputc('\n', stderr);
    return status;
}

bool CliIsHelp(const char* argument) {
    return strcmp(argument, "--help") == 0 || strcmp(argument, "-h") == 0;
}

bool CliPathArgument(const char* argument, KZString& out) {
    if (CliArgumentToAnsi(argument, out))
        return true;
    CliError(CLI_FAILED, "the name \"%s\" has no form in the Windows-1252 code page", argument);
    return false;
}

bool CliPathArguments(std::initializer_list<std::pair<const char*, KZString*>> arguments) {
    for (const auto& argument : arguments)
        if (argument.first && !CliPathArgument(argument.first, *argument.second))
            return false;
    return true;
}

void CliPrintWarnings(const KZTOArray<KZString>& warnings) {
    for (int i = 0; i < warnings.GetCount(); i++)
        fprintf(stderr, "scrkit-cli: warning: %s\n", CliAnsiToTerminal(warnings[i]).c_str());
}

bool CliHaveTempFolder() {
    std::string unnamed = CliUnnamedTempFolder();
    if (unnamed.empty())
        return true;
    CliError(CLI_FAILED, "the temporary folder \"%s\" has no name in the Windows-1252 code page",
             unnamed.c_str());
    return false;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        fputs(kUsage, stderr);
        return CLI_USAGE;
    }
    if (CliIsHelp(argv[1])) {
        fputs(kUsage, stdout);
        return CLI_OK;
    }
    if (strcmp(argv[1], "--version") == 0 || strcmp(argv[1], "-V") == 0) {
        printf("scrkit-cli %s (commit %s)\n", SCRKIT_CLI_VERSION, kCliCommit);
        return CLI_OK;
    }
    // The project defaults point into the folder of the program, as they do for scrkit.exe.
    FCSetBuilderFolder(FCProgramFolder());
    std::string unnamed = CliUnnamedProgramFolder();
    if (!unnamed.empty())
        fprintf(stderr,
                "scrkit-cli: the program's folder \"%s\" has no name in the Windows-1252 code "
                "page: the project defaults point into the current folder\n",
                unnamed.c_str());
    for (const Command& command : kCommands) {
        if (strcmp(argv[1], command.name) == 0) {
            int status = command.run(argc - 2, argv + 2);
            DeleteTempFiles();
            return status;
        }
    }
    fprintf(stderr, "scrkit-cli: unknown command \"%s\"\n%s", argv[1], kUsage);
    return CLI_USAGE;
}
