#include "runtime/core/runtime_command_line.h"

int32_t ParseCommandLineNumber(const char* text) {
    while (*text == ' ' || *text == '\t' || *text == '\r')
        ++text;
    int negative = 0;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    /* Unsigned arithmetic: an overlong number wraps instead of overflowing. */
    uint32_t value = 0;
    while (*text >= '0' && *text <= '9') {
        value = value * 10u + (uint32_t)(*text - '0');
        ++text;
    }
    if (negative)
        value = 0u - value;
    return (int32_t)value;
}

static int IsBlank(char c, int tabs_are_blanks) {
    return c == ' ' || (tabs_are_blanks && c == '\t');
}

const char* SkipProgramName(const char* line, int tabs_are_blanks) {
    if (*line == '"') {
        ++line;
        while (*line && *line != '"')
            ++line;
        if (*line == '"')
            ++line;
    } else {
        while (*line && !IsBlank(*line, tabs_are_blanks))
            ++line;
    }
    while (IsBlank(*line, tabs_are_blanks))
        ++line;
    return line;
}

static const char* SkipSpacesAndColons(const char* text) {
    while (*text == ' ' || *text == ':')
        ++text;
    return text;
}

static int IsTestFlash(const char* text) {
    const char* word = "testflash";
    while (*word && *text == *word) {
        ++word;
        ++text;
    }
    return *word == 0 && *text == 0;
}

void ParseRuntimeCommandLine(const char* line, RuntimeCommand* out) {
    out->test_flash = 0;
    out->mode = RunModeNone;
    out->parent = ParentNone;
    out->window = 0;

    const char* rest = SkipProgramName(line, 0);
    if (*rest == 0) {
        out->mode = RunModeConfigure;
        return;
    }
    if (*rest == '-' || *rest == '/')
        ++rest;
    if (IsTestFlash(rest)) {
        out->test_flash = 1;
        return;
    }
    const char* after = rest[0] ? SkipSpacesAndColons(rest + 1) : rest;
    switch (rest[0]) {
    case 's':
    case 'S':
        out->mode = RunModeScreensaver;
        break;
    case 'p':
    case 'P':
    case 'l':
    case 'L':
        out->mode = RunModePreview;
        out->parent = ParentNumber;
        out->window = ParseCommandLineNumber(after);
        break;
    case 'c':
    case 'C':
        out->mode = RunModeConfigure;
        if (*after == 0) {
            out->parent = ParentForeground;
        } else {
            out->parent = ParentNumber;
            out->window = ParseCommandLineNumber(after);
        }
        break;
    case 'a':
    case 'A':
        out->mode = RunModeChangePassword;
        out->parent = ParentNumber;
        out->window = ParseCommandLineNumber(after);
        break;
    default:
        break;
    }
}
