/* Command lines of the screensaver stub: which run mode Windows (or the launcher, or the builder's
 * test actions) asks for, and with which parent window. Pure functions, so that the stub and the
 * native tests share them. */
#ifndef RUNTIME_CORE_RUNTIME_COMMAND_LINE_H
#define RUNTIME_CORE_RUNTIME_COMMAND_LINE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef enum RunMode {
    RunModeNone = 0,
    RunModeConfigure = 1,
    RunModeChangePassword = 2,
    RunModePreview = 3,
    RunModeScreensaver = 4
} RunMode;

/* Where the parent window comes from. */
typedef enum ParentSource {
    ParentNone = 0,      /* no parent window */
    ParentNumber = 1,    /* the number in `window` (0 when it did not parse) */
    ParentForeground = 2 /* the current foreground window ("/c" alone) */
} ParentSource;

typedef struct RuntimeCommand {
    int test_flash; /* 1: the testflash action; mode and parent are then unused */
    RunMode mode;
    ParentSource parent;
    int32_t window;
} RuntimeCommand;

/* Skips leading spaces, tabs and carriage returns, one optional sign, then decimal digits up to
 * the first non-digit. Returns 0 without digits; values beyond 32 bits wrap. */
int32_t ParseCommandLineNumber(const char* text);

/* The text behind the program name and the blanks after it. A quoted name ends at its closing
 * quote (or the end), an unquoted one at its first blank. Blanks are spaces, and tabs as well when
 * tabs_are_blanks is non-zero (the launcher's rule; the stub's is spaces only). */
const char* SkipProgramName(const char* line, int tabs_are_blanks);

/* Reads a whole command line (program name first, as the system hands it over). */
void ParseRuntimeCommandLine(const char* line, RuntimeCommand* out);

#ifdef __cplusplus
}
#endif

#endif
