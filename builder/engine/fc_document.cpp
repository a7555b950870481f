#include "builder/engine/fc_document.h"

#include <ctime>

#include "builder/engine/fc_project_file.h"
#include "media/base/kz_file.h"
#include "media/base/kz_folder.h"

const char* const placeholder_url = "http://www.example-screensaver.invalid/";

uint32_t FCColorToColorRef(const FCColor& color) {
    auto channel = [](float value) -> uint32_t {
        // Truncation of value * 255 + 0.5, kept within a byte for values outside 0 to 1.
        float scaled = value * 255.0f + 0.5f;
        if (!(scaled > 0.0f))
            return 0;
        if (scaled >= 255.0f)
            return 255;
        return static_cast<uint32_t>(scaled);
    };
    return channel(color.red) | (channel(color.green) << 8) | (channel(color.blue) << 16);
}

bool FCCopyStringList(FCStringList& to, const FCStringList& from) {
    if (&to == &from)
        return true;
    to.RemoveAll();
    for (int i = 0; i < from.GetCount(); ++i)
        if (!to.Add(from[i]))
            return false;
    return true;
}

namespace {

int LastSeparator(const char* path) {
    int last = -1;
    for (int i = 0; path[i] != '\0'; ++i)
        if (path[i] == '\\' || path[i] == '/')
            last = i;
    return last;
}

int CurrentLocalYear() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return local.tm_year + 1900;
}

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

} // namespace

KZString FCFileNamePart(const char* path) {
    if (path == nullptr)
        return KZString();
    return KZString(path + LastSeparator(path) + 1);
}

KZString FCFolderPart(const char* path) {
    if (path == nullptr)
        return KZString();
    return KZString(path, LastSeparator(path) + 1);
}

FCDocumentFields& FCDocumentFields::operator=(const FCDocumentFields& o) {
    if (this == &o)
        return *this;
    short_name = o.short_name;
    long_name = o.long_name;
    version = o.version;
    company_name = o.company_name;
    company_url = o.company_url;
    custom_copyright = o.custom_copyright;
    copyright = o.copyright;
    custom_install_dir = o.custom_install_dir;
    install_dir = o.install_dir;
    setup_password_enabled = o.setup_password_enabled;
    setup_password = o.setup_password;
    setup_language = o.setup_language;
    disable_startup_prompt = o.disable_startup_prompt;
    disable_dir_page = o.disable_dir_page;
    disable_program_group_page = o.disable_program_group_page;
    disable_ready_page = o.disable_ready_page;
    disable_finished_page = o.disable_finished_page;
    custom_wizard_image = o.custom_wizard_image;
    wizard_image_file = o.wizard_image_file;
    custom_wizard_small_image = o.custom_wizard_small_image;
    wizard_small_image_file = o.wizard_small_image_file;
    movie_file = o.movie_file;
    mute_sound = o.mute_sound;
    user_can_mute = o.user_can_mute;
    quality = o.quality;
    user_can_set_quality = o.user_can_set_quality;
    custom_background = o.custom_background;
    background_color = o.background_color;
    size_mode = o.size_mode;
    wake_on_left_click = o.wake_on_left_click;
    wake_on_right_click = o.wake_on_right_click;
    wake_on_mouse_move = o.wake_on_mouse_move;
    wake_on_key = o.wake_on_key;
    hide_cursor = o.hide_cursor;
    movie_background_color = o.movie_background_color;
    compress_movies = o.compress_movies;
    scramble_movies = o.scramble_movies;
    settings_show_movie = o.settings_show_movie;
    settings_movie_file = o.settings_movie_file;
    settings_message = o.settings_message;
    preview_mode = o.preview_mode;
    preview_file = o.preview_file;
    preview_color = o.preview_color;
    show_license = o.show_license;
    license_file = o.license_file;
    install_license = o.install_license;
    install_readme = o.install_readme;
    readme_file = o.readme_file;
    install_additional_files = o.install_additional_files;
    FCCopyStringList(additional_files, o.additional_files);
    embed_playback_files = o.embed_playback_files;
    FCCopyStringList(playback_files, o.playback_files);
    menu_configure = o.menu_configure;
    menu_configure_caption = o.menu_configure_caption;
    menu_launch = o.menu_launch;
    menu_launch_caption = o.menu_launch_caption;
    menu_uninstall = o.menu_uninstall;
    menu_uninstall_caption = o.menu_uninstall_caption;
    menu_readme = o.menu_readme;
    menu_readme_caption = o.menu_readme_caption;
    menu_license = o.menu_license;
    menu_license_caption = o.menu_license_caption;
    menu_url = o.menu_url;
    menu_url_caption = o.menu_url_caption;
    menu_url_target = o.menu_url_target;
    menu_custom = o.menu_custom;
    menu_custom_caption = o.menu_custom_caption;
    menu_custom_target = o.menu_custom_target;
    custom_icon = o.custom_icon;
    custom_icon_file = o.custom_icon_file;
    menu_subfolder = o.menu_subfolder;
    menu_subfolder_name = o.menu_subfolder_name;
    end_show_readme = o.end_show_readme;
    end_show_readme_ask = o.end_show_readme_ask;
    end_show_readme_message = o.end_show_readme_message;
    end_open_display_properties = o.end_open_display_properties;
    end_open_display_properties_ask = o.end_open_display_properties_ask;
    end_open_display_properties_message = o.end_open_display_properties_message;
    end_launch = o.end_launch;
    end_launch_index = o.end_launch_index;
    end_launch_target = o.end_launch_target;
    end_launch_ask = o.end_launch_ask;
    end_launch_message = o.end_launch_message;
    return *this;
}

void FCDocumentFields::set_defaults() {
    short_name = "Your Screensaver";
    long_name = "Your Screensaver";
    version = "1.0";
    company_name = "Your Company";
    company_url = placeholder_url;
    custom_copyright = false;
    copyright.Format("Copyright %c %d %s", 169, CurrentLocalYear(), company_name.c_str());
    custom_install_dir = false;
    install_dir = "{pf}\\";
    install_dir += company_name;
    install_dir += "\\";
    install_dir += long_name;
    setup_password_enabled = false;
    setup_password = "";
    setup_language = 1;
    disable_startup_prompt = false;
    disable_dir_page = false;
    disable_program_group_page = false;
    disable_ready_page = false;
    disable_finished_page = false;

    custom_wizard_image = false;
    wizard_image_file = "";
    custom_wizard_small_image = false;
    wizard_small_image_file = "";

    movie_file = BuilderPath("sample\\sample.swf");
    mute_sound = false;
    user_can_mute = true;
    quality = 2;
    user_can_set_quality = true;
    custom_background = false;
    background_color = FCColor();
    size_mode = 2;
    wake_on_left_click = true;
    wake_on_right_click = true;
    wake_on_mouse_move = true;
    wake_on_key = true;
    hide_cursor = true;
    movie_background_color = FCColor();

    compress_movies = true;
    scramble_movies = false;

    settings_show_movie = false;
    settings_movie_file = "";
    settings_message = "<Insert your credits here>";
    preview_mode = 0;
    preview_file = "";
    preview_color = FCColor();

    show_license = false;
    license_file = BuilderPath("sample\\YourScreensaverLicense.txt");
    install_license = true;
    install_readme = false;
    readme_file = BuilderPath("sample\\YourScreensaverReadme.txt");
    install_additional_files = false;
    additional_files.RemoveAll();
    embed_playback_files = false;
    playback_files.RemoveAll();

    menu_configure = true;
    menu_configure_caption = "Configure...";
    menu_launch = true;
    menu_launch_caption = "Launch Screensaver";
    menu_uninstall = true;
    menu_uninstall_caption = "Uninstall Screensaver";
    menu_readme = true;
    menu_readme_caption = "View Readme";
    menu_license = true;
    menu_license_caption = "View License";
    menu_url = false;
    menu_url_caption = "Visit Homepage";
    menu_url_target = placeholder_url;
    menu_custom = false;
    menu_custom_caption = "...custom action...";
    menu_custom_target = "";
    custom_icon = false;
    custom_icon_file = "";
    menu_subfolder = false;
    menu_subfolder_name = "";

    end_show_readme = true;
    end_show_readme_ask = true;
    end_show_readme_message = "View the README file";
    end_open_display_properties = true;
    end_open_display_properties_ask = false;
    end_open_display_properties_message = "Configure and Preview Screensaver";
    end_launch = false;
    end_launch_index = -1;
    end_launch_target = "";
    end_launch_ask = false;
    end_launch_message = "";
}

FCDocument::FCDocument() {
    reset();
    load_default_wizard_images();
}

FCDocument::~FCDocument() {
    release_wizard_images();
    release_default_wizard_images();
}

void FCDocument::reset() {
    set_defaults();
    release_wizard_images();
    modified = false;
}

void FCDocument::relocate_file(KZString& path) const {
    if (path.IsEmpty() || KZFileOpensForRead(path))
        return;
    if (path_name.IsEmpty())
        return;
    KZString moved = FCFolderPart(path_name);
    moved += FCFileNamePart(path);
    if (KZFileOpensForRead(moved))
        path = moved;
}

bool FCDocument::read_movie_background(const char* movie_path) {
    return FCReadMovieBackgroundColor(movie_path, movie_background_color);
}

int FCDocument::effective_end_launch_index() const {
    if (end_launch_index >= 0 && end_launch_index < additional_files.GetCount())
        return end_launch_index;
    return -1;
}
