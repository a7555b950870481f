#include "runtime/core/qvrk_command_line.h"

int32_t qvrk_parse_number(const char* text) {
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

const char* qvrk_skip_program_name(const char* line, int tabs_are_blanks) {
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

void qvrk_parse_command_line(const char* line, QvrkCommand* out) {
    out->test_flash = 0;
    out->mode = QVRK_RUN_NONE;
    out->parent = QVRK_PARENT_NONE;
    out->window = 0;

    const char* rest = qvrk_skip_program_name(line, 0);
    if (*rest == 0) {
        out->mode = QVRK_RUN_CONFIGURE;
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
        out->mode = QVRK_RUN_SCREENSAVER;
        break;
    case 'p':
    case 'P':
    case 'l':
    case 'L':
        out->mode = QVRK_RUN_PREVIEW;
        out->parent = QVRK_PARENT_NUMBER;
        out->window = qvrk_parse_number(after);
        break;
    case 'c':
    case 'C':
        out->mode = QVRK_RUN_CONFIGURE;
        if (*after == 0) {
            out->parent = QVRK_PARENT_FOREGROUND;
        } else {
            out->parent = QVRK_PARENT_NUMBER;
            out->window = qvrk_parse_number(after);
        }
        break;
    case 'a':
    case 'A':
        out->mode = QVRK_RUN_CHANGE_PASSWORD;
        out->parent = QVRK_PARENT_NUMBER;
        out->window = qvrk_parse_number(after);
        break;
    default:
        break;
    }
}
