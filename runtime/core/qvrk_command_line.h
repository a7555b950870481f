/* Command lines of the screensaver stub: which run mode Windows (or the launcher, or the builder's
 * test actions) asks for, and with which parent window. Pure functions, so that the stub and the
 * native tests share them. */
#ifndef QVRK_COMMAND_LINE_H
#define QVRK_COMMAND_LINE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef enum QvrkRunMode {
    QVRK_RUN_NONE = 0,
    QVRK_RUN_CONFIGURE = 1,
    QVRK_RUN_CHANGE_PASSWORD = 2,
    QVRK_RUN_PREVIEW = 3,
    QVRK_RUN_SCREENSAVER = 4
} QvrkRunMode;

/* Where the parent window comes from. */
typedef enum QvrkParentSource {
    QVRK_PARENT_NONE = 0,      /* no parent window */
    QVRK_PARENT_NUMBER = 1,    /* the number in `window` (0 when it did not parse) */
    QVRK_PARENT_FOREGROUND = 2 /* the current foreground window ("/c" alone) */
} QvrkParentSource;

typedef struct QvrkCommand {
    int test_flash; /* 1: the testflash action; mode and parent are then unused */
    QvrkRunMode mode;
    QvrkParentSource parent;
    int32_t window;
} QvrkCommand;

/* Skips leading spaces, tabs and carriage returns, one optional sign, then decimal digits up to
 * the first non-digit. Returns 0 without digits; values beyond 32 bits wrap. */
int32_t qvrk_parse_number(const char* text);

/* The text behind the program name and the blanks after it. A quoted name ends at its closing
 * quote (or the end), an unquoted one at its first blank. Blanks are spaces, and tabs as well when
 * tabs_are_blanks is non-zero (the launcher's rule; the stub's is spaces only). */
const char* qvrk_skip_program_name(const char* line, int tabs_are_blanks);

/* Reads a whole command line (program name first, as the system hands it over). */
void qvrk_parse_command_line(const char* line, QvrkCommand* out);

#ifdef __cplusplus
}
#endif

#endif
