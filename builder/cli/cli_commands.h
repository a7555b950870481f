// The commands of scrkit-cli. Each takes the arguments after its name and returns the exit
// status: 0 success, 1 failure (reported on stderr), 2 bad usage.
#pragma once

enum { CLI_OK = 0, CLI_FAILED = 1, CLI_USAGE = 2 };

int CliBuild(int argc, char** argv);
int CliConvert(int argc, char** argv);
int CliInfo(int argc, char** argv);
int CliExtract(int argc, char** argv);
int CliProject(int argc, char** argv);
int CliPicture(int argc, char** argv);

// Prints "scrkit-cli: " + message on stderr and returns `status`.
int CliError(int status, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;
// True when the argument asks for help.
bool CliIsHelp(const char* argument);
