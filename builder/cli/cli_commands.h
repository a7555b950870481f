// The commands of scrkit-cli. Each takes the arguments after its name and returns the exit
// status: 0 success, 1 failure (reported on stderr), 2 bad usage.
#pragma once

#include <initializer_list>
#include <utility>

#include "media/base/kz_array.h"
#include "media/base/kz_string.h"

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
// A path from the command line in the ANSI code page, as the engine holds paths. False, with the
// message naming it, for a name the code page cannot hold.
bool CliPathArgument(const char* argument, KZString& out);
// Each argument of the list that is given (not null) into its KZString; false at the first one
// refused.
bool CliPathArguments(std::initializer_list<std::pair<const char*, KZString*>> arguments);
// False, with the message naming it, when the system's temporary folder has no name the engine
// can hold (the builds write their temporary files there).
bool CliHaveTempFolder();
// Prints each of a build's warnings on stderr as "scrkit-cli: warning: " + the warning.
void CliPrintWarnings(const KZTOArray<KZString>& warnings);
