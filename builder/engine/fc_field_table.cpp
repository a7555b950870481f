#include "builder/engine/fc_field_table.h"

#include <cstring>

#include "builder/engine/fc_project_file.h"
#include "media/base/kz_folder.h"
#include "media/base/kz_platform.h"

namespace {

using Fields = FCDocumentFields;

KZString BuilderPath(const char* relative_windows_path) {
    // The stored defaults are written with "\"; on POSIX the folder separator is "/".
    KZString path = FCGetBuilderFolder();
    KZString tail(relative_windows_path);
    char* chars = tail.SetLength(tail.GetLength());
    if (chars != nullptr && KZPathSeparator() != '\\')
        for (int i = 0; chars[i] != '\0'; ++i)
            if (chars[i] == '\\')
                chars[i] = KZPathSeparator();
    path += tail;
    return path;
}

KZString PlaceholderUrl(const Fields&) {
    return KZString(placeholder_url);
}

KZString Copyright(const Fields& d) {
    KZString text;
    text.Format("Copyright %c %d %s", 169, KZCurrentLocalYear(), d.company_name.c_str());
    return text;
}

KZString InstallDir(const Fields& d) {
    KZString dir("{pf}\\");
    dir += d.company_name;
    dir += "\\";
    dir += d.long_name;
    return dir;
}

KZString SampleMovie(const Fields&) {
    return BuilderPath("sample\\sample.swf");
}

KZString SampleLicense(const Fields&) {
    return BuilderPath("sample\\YourScreensaverLicense.txt");
}

KZString SampleReadme(const Fields&) {
    return BuilderPath("sample\\YourScreensaverReadme.txt");
}

// A record of version 4 had the subfolder flag but not its name: the company's name stood in.
void SubfolderNameOfVersion4(Fields& d, int32_t version) {
    if (version == 4)
        d.menu_subfolder_name = d.company_name;
}

void NormaliseSetupLanguage(Fields& d, int32_t) {
    d.setup_language = FCNormaliseSetupLanguage(d.setup_language);
}

constexpr FCField Base(const char* name, FCFieldKind kind, int32_t since) {
    FCField f{};
    f.name = name;
    f.kind = kind;
    f.since = since;
    return f;
}

constexpr FCField Text(const char* name, KZString Fields::*member, const char* value,
                       int32_t since = 1) {
    FCField f = Base(name, FC_FIELD_STRING, since);
    f.text = member;
    f.default_text = value;
    return f;
}

constexpr FCField Made(const char* name, KZString Fields::*member,
                       KZString (*make)(const Fields&)) {
    FCField f = Text(name, member, "");
    f.make_default = make;
    return f;
}

constexpr FCField Path(const char* name, KZString Fields::*member, int32_t since = 1) {
    FCField f = Text(name, member, "", since);
    f.kind = FC_FIELD_PATH;
    return f;
}

constexpr FCField MadePath(const char* name, KZString Fields::*member,
                           KZString (*make)(const Fields&)) {
    FCField f = Made(name, member, make);
    f.kind = FC_FIELD_PATH;
    return f;
}

constexpr FCField Flag(const char* name, bool Fields::*member, bool value, int32_t since = 1) {
    FCField f = Base(name, FC_FIELD_BOOL, since);
    f.flag = member;
    f.default_flag = value;
    return f;
}

constexpr FCField Number(const char* name, int32_t Fields::*member, int32_t value, int32_t min,
                         int32_t max) {
    FCField f = Base(name, FC_FIELD_INT, 1);
    f.number = member;
    f.default_number = value;
    f.min_number = min;
    f.max_number = max;
    return f;
}

constexpr FCField Color(const char* name, FCColor Fields::*member) {
    FCField f = Base(name, FC_FIELD_COLOR, 1);
    f.color = member;
    return f;
}

constexpr FCField List(const char* name, FCStringList Fields::*member, int32_t since = 1) {
    FCField f = Base(name, FC_FIELD_LIST, since);
    f.list = member;
    return f;
}

constexpr FCField After(FCField f, void (*hook)(Fields&, int32_t)) {
    f.after_read = hook;
    return f;
}

constexpr FCField kFields[] = {
    Text("short_name", &Fields::short_name, "Your Screensaver"),
    Text("long_name", &Fields::long_name, "Your Screensaver"),
    Text("version", &Fields::version, "1.0"),
    Text("company_name", &Fields::company_name, "Your Company"),
    Made("company_url", &Fields::company_url, PlaceholderUrl),
    Flag("custom_copyright", &Fields::custom_copyright, false),
    Flag("menu_subfolder", &Fields::menu_subfolder, false, 4),
    After(Text("menu_subfolder_name", &Fields::menu_subfolder_name, "", 5),
          SubfolderNameOfVersion4),
    Made("copyright", &Fields::copyright, Copyright),
    Flag("custom_install_dir", &Fields::custom_install_dir, false),
    Made("install_dir", &Fields::install_dir, InstallDir),
    Flag("setup_password_enabled", &Fields::setup_password_enabled, false),
    Text("setup_password", &Fields::setup_password, ""),
    After(Number("setup_language", &Fields::setup_language, 1, 1, 11), NormaliseSetupLanguage),
    Flag("custom_wizard_image", &Fields::custom_wizard_image, false),
    Path("wizard_image_file", &Fields::wizard_image_file),
    Flag("custom_wizard_small_image", &Fields::custom_wizard_small_image, false),
    Path("wizard_small_image_file", &Fields::wizard_small_image_file),
    MadePath("movie_file", &Fields::movie_file, SampleMovie),
    Flag("compress_movies", &Fields::compress_movies, true),
    Flag("scramble_movies", &Fields::scramble_movies, false),
    Flag("mute_sound", &Fields::mute_sound, false),
    Flag("user_can_mute", &Fields::user_can_mute, true),
    Number("quality", &Fields::quality, 2, 0, 2),
    Flag("user_can_set_quality", &Fields::user_can_set_quality, true),
    Flag("custom_background", &Fields::custom_background, false),
    Color("background_color", &Fields::background_color),
    Number("size_mode", &Fields::size_mode, 2, 0, 3),
    Flag("wake_on_left_click", &Fields::wake_on_left_click, true),
    Flag("wake_on_right_click", &Fields::wake_on_right_click, true),
    Flag("wake_on_mouse_move", &Fields::wake_on_mouse_move, true),
    Flag("wake_on_key", &Fields::wake_on_key, true),
    Flag("hide_cursor", &Fields::hide_cursor, true),
    Path("settings_movie_file", &Fields::settings_movie_file),
    Text("settings_message", &Fields::settings_message, "<Insert your credits here>"),
    Flag("settings_show_movie", &Fields::settings_show_movie, false),
    Number("preview_mode", &Fields::preview_mode, 0, 0, 3),
    Path("preview_file", &Fields::preview_file),
    Color("preview_color", &Fields::preview_color),
    Flag("show_license", &Fields::show_license, false),
    MadePath("license_file", &Fields::license_file, SampleLicense),
    Flag("install_license", &Fields::install_license, true),
    Flag("install_readme", &Fields::install_readme, false),
    MadePath("readme_file", &Fields::readme_file, SampleReadme),
    Flag("install_additional_files", &Fields::install_additional_files, false),
    List("additional_files", &Fields::additional_files),
    Flag("embed_playback_files", &Fields::embed_playback_files, false, 4),
    List("playback_files", &Fields::playback_files, 4),
    Flag("menu_configure", &Fields::menu_configure, true),
    Text("menu_configure_caption", &Fields::menu_configure_caption, "Configure..."),
    Flag("menu_launch", &Fields::menu_launch, true),
    Text("menu_launch_caption", &Fields::menu_launch_caption, "Launch Screensaver"),
    Flag("menu_uninstall", &Fields::menu_uninstall, true),
    Text("menu_uninstall_caption", &Fields::menu_uninstall_caption, "Uninstall Screensaver"),
    Flag("menu_readme", &Fields::menu_readme, true),
    Text("menu_readme_caption", &Fields::menu_readme_caption, "View Readme"),
    Flag("menu_license", &Fields::menu_license, true),
    Text("menu_license_caption", &Fields::menu_license_caption, "View License"),
    Flag("menu_url", &Fields::menu_url, false),
    Text("menu_url_caption", &Fields::menu_url_caption, "Visit Homepage"),
    Made("menu_url_target", &Fields::menu_url_target, PlaceholderUrl),
    Flag("menu_custom", &Fields::menu_custom, false),
    Text("menu_custom_caption", &Fields::menu_custom_caption, "...custom action..."),
    Text("menu_custom_target", &Fields::menu_custom_target, ""),
    Flag("end_show_readme", &Fields::end_show_readme, true),
    Flag("end_show_readme_ask", &Fields::end_show_readme_ask, true),
    Text("end_show_readme_message", &Fields::end_show_readme_message, "View the README file"),
    Flag("end_open_display_properties", &Fields::end_open_display_properties, true),
    Flag("end_open_display_properties_ask", &Fields::end_open_display_properties_ask, false),
    Text("end_open_display_properties_message", &Fields::end_open_display_properties_message,
         "Configure and Preview Screensaver"),
    Flag("end_launch", &Fields::end_launch, false),
    Number("end_launch_index", &Fields::end_launch_index, -1, -1, FC_KPJ_MAX_LIST - 1),
    Text("end_launch_target", &Fields::end_launch_target, ""),
    Flag("end_launch_ask", &Fields::end_launch_ask, false),
    Text("end_launch_message", &Fields::end_launch_message, ""),
    Color("movie_background_color", &Fields::movie_background_color),
    Flag("custom_icon", &Fields::custom_icon, false, 2),
    Path("custom_icon_file", &Fields::custom_icon_file, 2),
    Flag("disable_startup_prompt", &Fields::disable_startup_prompt, false, 3),
    Flag("disable_dir_page", &Fields::disable_dir_page, false, 3),
    Flag("disable_program_group_page", &Fields::disable_program_group_page, false, 3),
    Flag("disable_ready_page", &Fields::disable_ready_page, false, 3),
    Flag("disable_finished_page", &Fields::disable_finished_page, false, 3),
};

const int kFieldCount = int(sizeof kFields / sizeof kFields[0]);

constexpr bool WrittenByThisVersion() {
    for (const FCField& field : kFields)
        if (field.since < 1 || field.since > int32_t(FC_KPJ_RECORD_VERSION))
            return false;
    return true;
}
static_assert(WrittenByThisVersion(), "a new field needs a new FC_KPJ_RECORD_VERSION");

constexpr bool EveryNumberHasItsRange() {
    for (const FCField& field : kFields)
        if (field.kind == FC_FIELD_INT &&
            (field.min_number > field.max_number || field.default_number < field.min_number ||
             field.default_number > field.max_number))
            return false;
    return true;
}
static_assert(EveryNumberHasItsRange(), "a number field needs a range holding its default");

} // namespace

const FCField* FCFields(int* count) {
    *count = kFieldCount;
    return kFields;
}

const FCField* FCFindField(const char* name) {
    if (name == nullptr)
        return nullptr;
    for (const FCField& field : kFields)
        if (std::strcmp(field.name, name) == 0)
            return &field;
    return nullptr;
}

bool FCCopyField(const FCField& field, FCDocumentFields& to, const FCDocumentFields& from) {
    switch (field.kind) {
    case FC_FIELD_STRING:
    case FC_FIELD_PATH:
        field.text_of(to) = field.text_of(from);
        return !field.text_of(to).IsError();
    case FC_FIELD_BOOL:
        field.flag_of(to) = field.flag_of(from);
        return true;
    case FC_FIELD_INT:
        field.number_of(to) = field.number_of(from);
        return true;
    case FC_FIELD_COLOR:
        field.color_of(to) = field.color_of(from);
        return true;
    case FC_FIELD_LIST:
        return FCCopyStringList(field.list_of(to), field.list_of(from));
    }
    return false;
}

bool FCFieldEquals(const FCField& field, const FCDocumentFields& a, const FCDocumentFields& b) {
    switch (field.kind) {
    case FC_FIELD_STRING:
    case FC_FIELD_PATH:
        return field.text_of(a) == field.text_of(b);
    case FC_FIELD_BOOL:
        return field.flag_of(a) == field.flag_of(b);
    case FC_FIELD_INT:
        return field.number_of(a) == field.number_of(b);
    case FC_FIELD_COLOR:
        return field.color_of(a) == field.color_of(b);
    case FC_FIELD_LIST: {
        const FCStringList& x = field.list_of(a);
        const FCStringList& y = field.list_of(b);
        if (x.GetCount() != y.GetCount())
            return false;
        for (int i = 0; i < x.GetCount(); ++i)
            if (!(x[i] == y[i]))
                return false;
        return true;
    }
    }
    return false;
}

void FCSetFieldDefault(const FCField& field, FCDocumentFields& fields) {
    switch (field.kind) {
    case FC_FIELD_STRING:
    case FC_FIELD_PATH:
        if (field.make_default != nullptr)
            field.text_of(fields) = field.make_default(fields);
        else
            field.text_of(fields) = field.default_text;
        return;
    case FC_FIELD_BOOL:
        field.flag_of(fields) = field.default_flag;
        return;
    case FC_FIELD_INT:
        field.number_of(fields) = field.default_number;
        return;
    case FC_FIELD_COLOR:
        field.color_of(fields) = FCColor();
        return;
    case FC_FIELD_LIST:
        field.list_of(fields).RemoveAll();
        return;
    }
}
