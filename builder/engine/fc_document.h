// FCDocument: the one project of the builder. Everything the author sets in the nine wizard
// steps, and the little state the builder derives from it (the movie's own background colour,
// the modified flag and the project file's path).
#pragma once

#include <cstdint>

#include "builder/engine/fc_movie_info.h"
#include "media/base/kz_array.h"
#include "media/base/kz_string.h"

class FCResources;
class KZPicture;
class KZReporter;

// A colour of the document: four floats, 0 to 1.
struct FCColor {
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
    float alpha = 1.0f;

    bool operator==(const FCColor& o) const {
        return red == o.red && green == o.green && blue == o.blue && alpha == o.alpha;
    }
    bool operator!=(const FCColor& o) const { return !(*this == o); }
};

// The Windows colour value of a document colour: red in the low byte, then green, then blue.
uint32_t FCColorToColorRef(const FCColor& color);

using FCStringList = KZTOArray<KZString>;

// Replaces `to` with copies of the strings of `from`; false when memory ran out.
bool FCCopyStringList(FCStringList& to, const FCStringList& from);

// The web address that stands for "no address": a host under .invalid never resolves. The
// defaults and the installer script generator compare against this one constant.
extern const char* const placeholder_url;

// The folder of the running program with a trailing separator; the defaults point into it.
const KZString& FCGetBuilderFolder();
// Sets it (tests, and scrkit-cli when told where the builder's files are). A missing trailing
// separator is added.
void FCSetBuilderFolder(const char* folder);

// Sizes the setup wizard shows its pictures at.
const int FC_WIZARD_IMAGE_WIDTH = 164;
const int FC_WIZARD_IMAGE_HEIGHT = 314;
const int FC_WIZARD_SMALL_IMAGE_SIZE = 55;

// The file-name part of a path: what follows the last "\" or "/", so that a project written on
// Windows relocates on POSIX and the other way round.
KZString FCFileNamePart(const char* path);
// The folder part of a path including its separator ("" when there is none).
KZString FCFolderPart(const char* path);
// A path that names no root: neither "/" or "\" first nor a drive ("C:"). Such a path in a
// project is taken from the project file's folder.
bool FCIsRelativePath(const char* path);

// Results of FCDocument::load.
enum FCLoadResult {
    FC_LOAD_OK = 0,
    FC_LOAD_CANNOT_OPEN = 1,
    FC_LOAD_NOT_PROJECT = 2,
    FC_LOAD_BAD_FORMAT = 3,
    FC_LOAD_NEWER_VERSION = 4
};

// Every stored field of the project. Kept apart from FCDocument so that a project file can be read
// into a scratch copy and taken over only when it read whole. Each field is described in the field
// table (fc_field_table.h), which holds its default and its place in the project file.
struct FCDocumentFields {
    // Setup Parameters
    KZString short_name;
    KZString long_name;
    KZString version;
    KZString company_name;
    KZString company_url;
    bool custom_copyright;
    KZString copyright;
    bool custom_install_dir;
    KZString install_dir;
    bool setup_password_enabled;
    KZString setup_password;
    int32_t setup_language;
    bool disable_startup_prompt;
    bool disable_dir_page;
    bool disable_program_group_page;
    bool disable_ready_page;
    bool disable_finished_page;

    // Setup Style
    bool custom_wizard_image;
    KZString wizard_image_file;
    bool custom_wizard_small_image;
    KZString wizard_small_image_file;

    // Movie & Playback
    KZString movie_file;
    bool mute_sound;
    bool user_can_mute;
    int32_t quality;
    bool user_can_set_quality;
    bool custom_background;
    FCColor background_color;
    int32_t size_mode;
    bool wake_on_left_click;
    bool wake_on_right_click;
    bool wake_on_mouse_move;
    bool wake_on_key;
    bool hide_cursor;
    FCColor movie_background_color;

    // Build options
    bool compress_movies;
    bool scramble_movies;

    // Screensaver Settings
    bool settings_show_movie;
    KZString settings_movie_file;
    KZString settings_message;
    int32_t preview_mode;
    KZString preview_file;
    FCColor preview_color;

    // Installation Files
    bool show_license;
    KZString license_file;
    bool install_license;
    bool install_readme;
    KZString readme_file;
    bool install_additional_files;
    FCStringList additional_files;
    bool embed_playback_files;
    FCStringList playback_files;

    // Start Menu Items
    bool menu_configure;
    KZString menu_configure_caption;
    bool menu_launch;
    KZString menu_launch_caption;
    bool menu_uninstall;
    KZString menu_uninstall_caption;
    bool menu_readme;
    KZString menu_readme_caption;
    bool menu_license;
    KZString menu_license_caption;
    bool menu_url;
    KZString menu_url_caption;
    KZString menu_url_target;
    bool menu_custom;
    KZString menu_custom_caption;
    KZString menu_custom_target;
    bool custom_icon;
    KZString custom_icon_file;
    bool menu_subfolder;
    KZString menu_subfolder_name;

    // Post-Setup Actions
    bool end_show_readme;
    bool end_show_readme_ask;
    KZString end_show_readme_message;
    bool end_open_display_properties;
    bool end_open_display_properties_ask;
    KZString end_open_display_properties_message;
    bool end_launch;
    int32_t end_launch_index;
    KZString end_launch_target;
    bool end_launch_ask;
    KZString end_launch_message;

    // Every field at its default.
    FCDocumentFields() { set_defaults(); }
    FCDocumentFields(const FCDocumentFields& other) { *this = other; }
    FCDocumentFields& operator=(const FCDocumentFields& other);

    // Every field to its default (texts that depend on the company, the year and the builder
    // folder included).
    void set_defaults();
};

class FCDocument : public FCDocumentFields {
public:
    // The built-in setup pictures are read from `resources` (resources 128 and 129; not kept), so
    // whoever makes a document decides where they come from; without resources there are none.
    explicit FCDocument(FCResources* resources = nullptr);
    ~FCDocument();
    FCDocument(const FCDocument&) = delete;
    FCDocument& operator=(const FCDocument&) = delete;

    // Every field to its default; `modified` false. `path_name` stays: callers set it.
    void reset();

    // Project files. load returns an FCLoadResult; on any failure the document is left exactly
    // as it was. save writes beside the file at `path` and moves into place only when every
    // write succeeded, so a failed save leaves the previous project intact. It keeps what the
    // file was: its permissions or attributes, and a link to it (the file the link leads to is
    // replaced). It refuses, before writing anything, a read-only file and fields the reader
    // would not take back; `why`, when not null, then says which (see FCFitsProjectFile).
    int load(const char* path);
    bool save(const char* path, KZString* why = nullptr);

    // Opens a project with the user-facing messages through `reporter` and the wait cursor. On
    // failure the document becomes a fresh project (defaults, no path).
    bool open_project(const char* path, KZReporter& reporter);

    // A stored path as the project at path_name means it: a relative one is taken from the
    // project file's folder (wherever the project is opened from), and one that does not open
    // then becomes the file of the same name beside the project file, when that one opens.
    // Otherwise the path stays as it is.
    void relocate_file(KZString& path) const;

    // Sets movie_background_color from the movie; false (colour unchanged) when it cannot be read.
    bool read_movie_background(const char* movie_path);

    // The setup pictures. The custom ones exist only while their flag is set, their path is not
    // empty and the file read as a picture; they are resampled to 164 x 314 and 55 x 55. The
    // built-in ones come from resources 128 and 129 when the document is made. All four are owned.
    KZPicture* wizard_image = nullptr;
    KZPicture* wizard_small_image = nullptr;
    KZPicture* default_wizard_image = nullptr;
    KZPicture* default_wizard_small_image = nullptr;
    // (Re)load a custom picture from its fields; false when there is none afterwards.
    bool load_wizard_image();
    bool load_wizard_small_image();
    // The picture the setup shows: the custom one, or else the built-in one (may be null when the
    // resources are missing).
    const KZPicture* current_wizard_image() const;
    const KZPicture* current_wizard_small_image() const;

    static bool read_movie_info(const char* path, FCMovieInfo* info) {
        return FCReadMovieInfo(path, info);
    }

    // end_launch_index when it names an entry of additional_files, otherwise -1.
    int effective_end_launch_index() const;

    bool modified = false;
    KZString path_name;

private:
    // The relative paths the opened project file held and what they became, so that a save into
    // that folder writes each one, while unchanged, as the author wrote it.
    FCStringList stored_relative;
    FCStringList resolved_relative;
    KZString relative_folder;
    void remember_relative_paths(const FCDocumentFields& stored, const char* project_path);
    FCDocumentFields as_stored_in(const char* path) const;

    void load_default_wizard_images(FCResources* resources);
    void release_wizard_images();
    void release_default_wizard_images();
};
