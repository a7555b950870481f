#include "builder/cli/cli_fields.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "builder/cli/cli_text.h"
#include "media/base/kz_text.h"

namespace {

bool ParseInt(const char* text, int32_t* value) {
    if (!*text)
        return false;
    errno = 0;
    char* end = nullptr;
    long long parsed = strtoll(text, &end, 10);
    if (*end || errno == ERANGE || parsed < INT32_MIN || parsed > INT32_MAX)
        return false;
    *value = int32_t(parsed);
    return true;
}

bool ParseColor(const char* text, FCColor* color) {
    if (strlen(text) != 7 || text[0] != '#')
        return false;
    int channel[3];
    for (int i = 0; i < 3; i++) {
        int high = KZHexDigit(text[1 + 2 * i]), low = KZHexDigit(text[2 + 2 * i]);
        if (high < 0 || low < 0)
            return false;
        channel[i] = high * 16 + low;
    }
    color->red = channel[0] / 255.0f;
    color->green = channel[1] / 255.0f;
    color->blue = channel[2] / 255.0f;
    color->alpha = 1.0f;
    return true;
}

// The colour as #RRGGBB, each channel rounded the way Windows colour values are made.
std::string ColorText(const FCColor& color) {
    return CliColorRefText(FCColorToColorRef(color));
}

} // namespace

bool CliApplyAssignment(FCDocumentFields& fields, const char* assignment, std::string* error) {
    const char* equals = strchr(assignment, '=');
    if (!equals || equals == assignment) {
        *error = std::string("expected FIELD=VALUE, got \"") + assignment + "\"";
        return false;
    }
    std::string name(assignment, size_t(equals - assignment));
    const char* value = equals + 1;
    const FCField* field = FCFindField(name.c_str());
    if (!field) {
        *error = "unknown field \"" + name + "\"";
        return false;
    }
    auto bad = [&](const char* expected) {
        *error = "bad value for " + name + ": \"" + value + "\" (expected " + expected + ")";
        return false;
    };
    switch (field->kind) {
    case FC_FIELD_BOOL:
        if (strcmp(value, "true") == 0)
            field->flag_of(fields) = true;
        else if (strcmp(value, "false") == 0)
            field->flag_of(fields) = false;
        else
            return bad("true or false");
        return true;
    case FC_FIELD_INT: {
        int32_t number;
        if (!ParseInt(value, &number))
            return bad("a decimal integer");
        if (!field->in_range(number)) {
            std::string range =
                std::to_string(field->min_number) + " to " + std::to_string(field->max_number);
            return bad(range.c_str());
        }
        field->number_of(fields) = number;
        return true;
    }
    case FC_FIELD_COLOR: {
        FCColor color;
        if (!ParseColor(value, &color))
            return bad("#RRGGBB");
        field->color_of(fields) = color;
        return true;
    }
    case FC_FIELD_STRING:
    case FC_FIELD_PATH: {
        KZString text;
        if (!CliArgumentToAnsi(value, text))
            return bad("text of the Windows-1252 code page");
        field->text_of(fields) = text;
        return true;
    }
    case FC_FIELD_LIST: {
        // Parsed whole before the list is touched, so a bad item leaves it as it was.
        FCStringList items;
        const char* start = value;
        while (*value && *start) {
            const char* end = strchr(start, ';');
            std::string item = end ? std::string(start, size_t(end - start)) : std::string(start);
            KZString text;
            if (!CliArgumentToAnsi(item.c_str(), text))
                return bad("';'-separated texts of the Windows-1252 code page");
            // An empty item names no file, and the list's text could not show it again.
            if (!item.empty() && !items.Add(text))
                return bad("';'-separated texts of the Windows-1252 code page");
            if (!end)
                break;
            start = end + 1;
        }
        if (!FCCopyStringList(field->list_of(fields), items)) {
            *error = "out of memory";
            return false;
        }
        return true;
    }
    }
    return false;
}

std::string CliFieldText(const FCDocumentFields& fields, const FCField& field) {
    switch (field.kind) {
    case FC_FIELD_BOOL:
        return field.flag_of(fields) ? "true" : "false";
    case FC_FIELD_INT:
        return std::to_string(field.number_of(fields));
    case FC_FIELD_COLOR:
        return ColorText(field.color_of(fields));
    case FC_FIELD_STRING:
    case FC_FIELD_PATH:
        return CliAnsiToTerminal(field.text_of(fields));
    case FC_FIELD_LIST: {
        std::string out;
        const FCStringList& list = field.list_of(fields);
        for (int i = 0; i < list.GetCount(); i++)
            out += (i ? ";" : "") + CliAnsiToTerminal(list[i]);
        return out;
    }
    }
    return std::string();
}

std::string CliFieldJson(const FCDocumentFields& fields, const FCField& field) {
    switch (field.kind) {
    case FC_FIELD_BOOL:
    case FC_FIELD_INT:
        return CliFieldText(fields, field);
    case FC_FIELD_COLOR:
    case FC_FIELD_STRING:
    case FC_FIELD_PATH:
        return CliJsonString(CliFieldText(fields, field));
    case FC_FIELD_LIST: {
        std::string out = "[";
        const FCStringList& list = field.list_of(fields);
        for (int i = 0; i < list.GetCount(); i++)
            out += (i ? ", " : "") + CliJsonString(CliAnsiToTerminal(list[i]));
        return out + "]";
    }
    }
    return "null";
}
