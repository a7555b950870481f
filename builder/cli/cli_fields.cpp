#include "builder/cli/cli_fields.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "builder/cli/cli_text.h"

namespace {

#define CLI_STRING(n)                                                                              \
    { #n, CLI_FIELD_STRING, &FCDocumentFields::n, nullptr, nullptr, nullptr, nullptr }
#define CLI_BOOL(n)                                                                                \
    { #n, CLI_FIELD_BOOL, nullptr, &FCDocumentFields::n, nullptr, nullptr, nullptr }
#define CLI_INT(n)                                                                                 \
    { #n, CLI_FIELD_INT, nullptr, nullptr, &FCDocumentFields::n, nullptr, nullptr }
#define CLI_COLOR(n)                                                                               \
    { #n, CLI_FIELD_COLOR, nullptr, nullptr, nullptr, &FCDocumentFields::n, nullptr }
#define CLI_LIST(n)                                                                                \
    { #n, CLI_FIELD_LIST, nullptr, nullptr, nullptr, nullptr, &FCDocumentFields::n }

const CliField kFields[] = {
    CLI_STRING(short_name),
    CLI_STRING(long_name),
    CLI_STRING(version),
    CLI_STRING(company_name),
    CLI_STRING(company_url),
    CLI_BOOL(custom_copyright),
    CLI_STRING(copyright),
    CLI_BOOL(custom_install_dir),
    CLI_STRING(install_dir),
    CLI_BOOL(setup_password_enabled),
    CLI_STRING(setup_password),
    CLI_INT(setup_language),
    CLI_BOOL(disable_startup_prompt),
    CLI_BOOL(disable_dir_page),
    CLI_BOOL(disable_program_group_page),
    CLI_BOOL(disable_ready_page),
    CLI_BOOL(disable_finished_page),
    CLI_BOOL(custom_wizard_image),
    CLI_STRING(wizard_image_file),
    CLI_BOOL(custom_wizard_small_image),
    CLI_STRING(wizard_small_image_file),
    CLI_STRING(movie_file),
    CLI_BOOL(mute_sound),
    CLI_BOOL(user_can_mute),
    CLI_INT(quality),
    CLI_BOOL(user_can_set_quality),
    CLI_BOOL(custom_background),
    CLI_COLOR(background_color),
    CLI_INT(size_mode),
    CLI_BOOL(wake_on_left_click),
    CLI_BOOL(wake_on_right_click),
    CLI_BOOL(wake_on_mouse_move),
    CLI_BOOL(wake_on_key),
    CLI_BOOL(hide_cursor),
    CLI_COLOR(movie_background_color),
    CLI_BOOL(compress_movies),
    CLI_BOOL(scramble_movies),
    CLI_BOOL(settings_show_movie),
    CLI_STRING(settings_movie_file),
    CLI_STRING(settings_message),
    CLI_INT(preview_mode),
    CLI_STRING(preview_file),
    CLI_COLOR(preview_color),
    CLI_BOOL(show_license),
    CLI_STRING(license_file),
    CLI_BOOL(install_license),
    CLI_BOOL(install_readme),
    CLI_STRING(readme_file),
    CLI_BOOL(install_additional_files),
    CLI_LIST(additional_files),
    CLI_BOOL(embed_playback_files),
    CLI_LIST(playback_files),
    CLI_BOOL(menu_configure),
    CLI_STRING(menu_configure_caption),
    CLI_BOOL(menu_launch),
    CLI_STRING(menu_launch_caption),
    CLI_BOOL(menu_uninstall),
    CLI_STRING(menu_uninstall_caption),
    CLI_BOOL(menu_readme),
    CLI_STRING(menu_readme_caption),
    CLI_BOOL(menu_license),
    CLI_STRING(menu_license_caption),
    CLI_BOOL(menu_url),
    CLI_STRING(menu_url_caption),
    CLI_STRING(menu_url_target),
    CLI_BOOL(menu_custom),
    CLI_STRING(menu_custom_caption),
    CLI_STRING(menu_custom_target),
    CLI_BOOL(custom_icon),
    CLI_STRING(custom_icon_file),
    CLI_BOOL(menu_subfolder),
    CLI_STRING(menu_subfolder_name),
    CLI_BOOL(end_show_readme),
    CLI_BOOL(end_show_readme_ask),
    CLI_STRING(end_show_readme_message),
    CLI_BOOL(end_open_display_properties),
    CLI_BOOL(end_open_display_properties_ask),
    CLI_STRING(end_open_display_properties_message),
    CLI_BOOL(end_launch),
    CLI_INT(end_launch_index),
    CLI_STRING(end_launch_target),
    CLI_BOOL(end_launch_ask),
    CLI_STRING(end_launch_message),
};

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

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool ParseColor(const char* text, FCColor* color) {
    if (strlen(text) != 7 || text[0] != '#')
        return false;
    int channel[3];
    for (int i = 0; i < 3; i++) {
        int high = HexDigit(text[1 + 2 * i]), low = HexDigit(text[2 + 2 * i]);
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

const CliField* CliFields(int* count) {
    *count = int(sizeof kFields / sizeof kFields[0]);
    return kFields;
}

const CliField* CliFindField(const char* name) {
    for (const CliField& field : kFields)
        if (strcmp(field.name, name) == 0)
            return &field;
    return nullptr;
}

bool CliApplyAssignment(FCDocumentFields& fields, const char* assignment, std::string* error) {
    const char* equals = strchr(assignment, '=');
    if (!equals || equals == assignment) {
        *error = std::string("expected FIELD=VALUE, got \"") + assignment + "\"";
        return false;
    }
    std::string name(assignment, size_t(equals - assignment));
    const char* value = equals + 1;
    const CliField* field = CliFindField(name.c_str());
    if (!field) {
        *error = "unknown field \"" + name + "\"";
        return false;
    }
    auto bad = [&](const char* expected) {
        *error = "bad value for " + name + ": \"" + value + "\" (expected " + expected + ")";
        return false;
    };
    switch (field->kind) {
    case CLI_FIELD_BOOL:
        if (strcmp(value, "true") == 0)
            fields.*field->bool_member = true;
        else if (strcmp(value, "false") == 0)
            fields.*field->bool_member = false;
        else
            return bad("true or false");
        return true;
    case CLI_FIELD_INT: {
        int32_t number;
        if (!ParseInt(value, &number))
            return bad("a decimal integer");
        fields.*field->int_member = number;
        return true;
    }
    case CLI_FIELD_COLOR: {
        FCColor color;
        if (!ParseColor(value, &color))
            return bad("#RRGGBB");
        fields.*field->color_member = color;
        return true;
    }
    case CLI_FIELD_STRING: {
        KZString text;
        if (!CliArgumentToAnsi(value, text))
            return bad("text of the Windows-1252 code page");
        fields.*field->string_member = text;
        return true;
    }
    case CLI_FIELD_LIST: {
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
        if (!FCCopyStringList(fields.*field->list_member, items)) {
            *error = "out of memory";
            return false;
        }
        return true;
    }
    }
    return false;
}

std::string CliFieldText(const FCDocumentFields& fields, const CliField& field) {
    switch (field.kind) {
    case CLI_FIELD_BOOL:
        return fields.*field.bool_member ? "true" : "false";
    case CLI_FIELD_INT:
        return std::to_string(fields.*field.int_member);
    case CLI_FIELD_COLOR:
        return ColorText(fields.*field.color_member);
    case CLI_FIELD_STRING:
        return CliAnsiToTerminal(fields.*field.string_member);
    case CLI_FIELD_LIST: {
        std::string out;
        const FCStringList& list = fields.*field.list_member;
        for (int i = 0; i < list.GetCount(); i++)
            out += (i ? ";" : "") + CliAnsiToTerminal(list[i]);
        return out;
    }
    }
    return std::string();
}

std::string CliFieldJson(const FCDocumentFields& fields, const CliField& field) {
    switch (field.kind) {
    case CLI_FIELD_BOOL:
    case CLI_FIELD_INT:
        return CliFieldText(fields, field);
    case CLI_FIELD_COLOR:
    case CLI_FIELD_STRING:
        return CliJsonString(CliFieldText(fields, field));
    case CLI_FIELD_LIST: {
        std::string out = "[";
        const FCStringList& list = fields.*field.list_member;
        for (int i = 0; i < list.GetCount(); i++)
            out += (i ? ", " : "") + CliJsonString(CliAnsiToTerminal(list[i]));
        return out + "]";
    }
    }
    return "null";
}
