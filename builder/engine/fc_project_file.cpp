#include "builder/engine/fc_project_file.h"

#include <cstring>

#include "builder/engine/fc_platform.h"
#include "media/base/kz_file.h"
#include "media/base/kz_memory.h"
#include "media/base/kz_reporter.h"
#include "media/base/kz_text.h"
#include "runtime/core/qvrk_bytes.h"

namespace {

// The document record on the way in. A value whose read fails comes back empty, false or 0 and
// puts the reader in error; later reads go on failing, so the caller checks once at the end.
class RecordReader {
public:
    RecordReader(const uint8_t* data, int size) : data(data), size(size) {}

    bool failed() const { return error; }
    void fail() { error = true; }

    int32_t Int() {
        uint8_t b[4];
        if (!Take(b, 4))
            return 0;
        return qvrk_get_i32(b);
    }

    bool Bool() {
        uint8_t b = 0;
        if (!Take(&b, 1))
            return false;
        return b != 0;
    }

    FCColor Color() {
        FCColor c;
        float* parts[4] = {&c.red, &c.green, &c.blue, &c.alpha};
        for (float* part : parts) {
            int32_t bits = Int();
            std::memcpy(part, &bits, 4);
        }
        if (error)
            return FCColor{0.0f, 0.0f, 0.0f, 0.0f};
        return c;
    }

    KZString String() {
        int32_t n = Int();
        if (error)
            return KZString();
        if (n < 0 || n >= FC_KPJ_MAX_STRING) {
            error = true;
            return KZString();
        }
        if (n == 0)
            return KZString();
        uint8_t encoding = 0;
        if (!Take(&encoding, 1))
            return KZString();
        if (encoding == 0) {
            if (n > size - position) {
                error = true;
                return KZString();
            }
            KZString text(reinterpret_cast<const char*>(data + position), n);
            position += n;
            if (text.IsError())
                error = true;
            return text;
        }
        // UTF-16LE code units, converted to the ANSI code page.
        if (n > (size - position) / 2) {
            error = true;
            return KZString();
        }
        char16_t* units = static_cast<char16_t*>(KZMalloc(size_t(n) * sizeof(char16_t)));
        if (units == nullptr) {
            error = true;
            return KZString();
        }
        for (int i = 0; i < n; ++i)
            units[i] = char16_t(data[position + 2 * i] | (data[position + 2 * i + 1] << 8));
        position += 2 * n;
        KZString text;
        if (!Utf16ToAnsiString(units, n, text))
            error = true;
        KZFree(units);
        return text;
    }

    // A count outside 0 to 1000 reads as an empty list. Above 1000 the strings are still read
    // and dropped, so that the fields after the list stay in step.
    void List(FCStringList& list, const FCDocument* relocate) {
        list.RemoveAll();
        int32_t count = Int();
        if (error || count < 0)
            return;
        bool keep = count <= FC_KPJ_MAX_LIST;
        for (int32_t i = 0; i < count && !error; ++i) {
            KZString entry = String();
            if (error || !keep)
                continue;
            if (relocate != nullptr)
                relocate->relocate_file(entry);
            if (!list.Add(entry))
                error = true;
        }
        if (error)
            list.RemoveAll();
    }

private:
    bool Take(void* out, int n) {
        if (error || n > size - position) {
            error = true;
            std::memset(out, 0, size_t(n));
            return false;
        }
        std::memcpy(out, data + position, size_t(n));
        position += n;
        return true;
    }

    const uint8_t* data;
    int size;
    int position = 0;
    bool error = false;
};

class RecordWriter {
public:
    explicit RecordWriter(KZStream& out) : out(out) {}
    bool ok() const { return good; }

    void Int(int32_t v) { good = out.PutU32(static_cast<uint32_t>(v)) && good; }
    void Bool(bool v) { good = out.PutByte(v ? 1 : 0) && good; }
    void Color(const FCColor& c) {
        const float parts[4] = {c.red, c.green, c.blue, c.alpha};
        for (float part : parts) {
            uint32_t bits;
            std::memcpy(&bits, &part, 4);
            good = out.PutU32(bits) && good;
        }
    }
    void String(const KZString& s) {
        Int(s.GetLength());
        if (s.GetLength() == 0)
            return;
        good = out.PutByte(0) && good; // always ANSI
        good = out.WriteBlock(s.c_str(), s.GetLength()) && good;
    }
    void List(const FCStringList& list) {
        Int(list.GetCount());
        for (int i = 0; i < list.GetCount(); ++i)
            String(list[i]);
    }

private:
    KZStream& out;
    bool good = true;
};

void Path(RecordReader& in, KZString& field, const FCDocument* relocate) {
    field = in.String();
    if (relocate != nullptr && !in.failed())
        relocate->relocate_file(field);
}

// The document record, in its stored order. `version` is the record's own version.
void ReadRecord(RecordReader& in, int32_t version, FCDocumentFields& d,
                const FCDocument* relocate) {
    d.short_name = in.String();
    d.long_name = in.String();
    d.version = in.String();
    d.company_name = in.String();
    d.company_url = in.String();
    d.custom_copyright = in.Bool();
    if (version >= 4)
        d.menu_subfolder = in.Bool();
    if (version >= 5)
        d.menu_subfolder_name = in.String();
    else if (version == 4)
        d.menu_subfolder_name = d.company_name;
    d.copyright = in.String();
    d.custom_install_dir = in.Bool();
    d.install_dir = in.String();
    d.setup_password_enabled = in.Bool();
    d.setup_password = in.String();
    d.setup_language = FCNormaliseSetupLanguage(in.Int());
    d.custom_wizard_image = in.Bool();
    Path(in, d.wizard_image_file, relocate);
    d.custom_wizard_small_image = in.Bool();
    Path(in, d.wizard_small_image_file, relocate);
    // The custom setup pictures come from the two paths just relocated; FCDocument::load loads
    // them once the whole file has read, so that a failed open keeps the pictures it had.
    Path(in, d.movie_file, relocate);
    d.compress_movies = in.Bool();
    d.scramble_movies = in.Bool();
    d.mute_sound = in.Bool();
    d.user_can_mute = in.Bool();
    d.quality = in.Int();
    d.user_can_set_quality = in.Bool();
    d.custom_background = in.Bool();
    d.background_color = in.Color();
    d.size_mode = in.Int();
    d.wake_on_left_click = in.Bool();
    d.wake_on_right_click = in.Bool();
    d.wake_on_mouse_move = in.Bool();
    d.wake_on_key = in.Bool();
    d.hide_cursor = in.Bool();
    Path(in, d.settings_movie_file, relocate);
    d.settings_message = in.String();
    d.settings_show_movie = in.Bool();
    d.preview_mode = in.Int();
    Path(in, d.preview_file, relocate);
    d.preview_color = in.Color();
    d.show_license = in.Bool();
    Path(in, d.license_file, relocate);
    d.install_license = in.Bool();
    d.install_readme = in.Bool();
    Path(in, d.readme_file, relocate);
    d.install_additional_files = in.Bool();
    in.List(d.additional_files, relocate);
    if (version >= 4) {
        d.embed_playback_files = in.Bool();
        in.List(d.playback_files, relocate);
    }
    d.menu_configure = in.Bool();
    d.menu_configure_caption = in.String();
    d.menu_launch = in.Bool();
    d.menu_launch_caption = in.String();
    d.menu_uninstall = in.Bool();
    d.menu_uninstall_caption = in.String();
    d.menu_readme = in.Bool();
    d.menu_readme_caption = in.String();
    d.menu_license = in.Bool();
    d.menu_license_caption = in.String();
    d.menu_url = in.Bool();
    d.menu_url_caption = in.String();
    d.menu_url_target = in.String();
    d.menu_custom = in.Bool();
    d.menu_custom_caption = in.String();
    d.menu_custom_target = in.String();
    d.end_show_readme = in.Bool();
    d.end_show_readme_ask = in.Bool();
    d.end_show_readme_message = in.String();
    d.end_open_display_properties = in.Bool();
    d.end_open_display_properties_ask = in.Bool();
    d.end_open_display_properties_message = in.String();
    d.end_launch = in.Bool();
    d.end_launch_index = in.Int();
    d.end_launch_target = in.String();
    d.end_launch_ask = in.Bool();
    d.end_launch_message = in.String();
    d.movie_background_color = in.Color();
    if (version >= 2) {
        d.custom_icon = in.Bool();
        Path(in, d.custom_icon_file, relocate);
    }
    if (version >= 3) {
        d.disable_startup_prompt = in.Bool();
        d.disable_dir_page = in.Bool();
        d.disable_program_group_page = in.Bool();
        d.disable_ready_page = in.Bool();
        d.disable_finished_page = in.Bool();
    }
}

void WriteRecord(RecordWriter& out, const FCDocumentFields& d) {
    out.Int(FC_KPJ_RECORD_VERSION);
    out.String(d.short_name);
    out.String(d.long_name);
    out.String(d.version);
    out.String(d.company_name);
    out.String(d.company_url);
    out.Bool(d.custom_copyright);
    out.Bool(d.menu_subfolder);
    out.String(d.menu_subfolder_name);
    out.String(d.copyright);
    out.Bool(d.custom_install_dir);
    out.String(d.install_dir);
    out.Bool(d.setup_password_enabled);
    out.String(d.setup_password);
    out.Int(d.setup_language);
    out.Bool(d.custom_wizard_image);
    out.String(d.wizard_image_file);
    out.Bool(d.custom_wizard_small_image);
    out.String(d.wizard_small_image_file);
    out.String(d.movie_file);
    out.Bool(d.compress_movies);
    out.Bool(d.scramble_movies);
    out.Bool(d.mute_sound);
    out.Bool(d.user_can_mute);
    out.Int(d.quality);
    out.Bool(d.user_can_set_quality);
    out.Bool(d.custom_background);
    out.Color(d.background_color);
    out.Int(d.size_mode);
    out.Bool(d.wake_on_left_click);
    out.Bool(d.wake_on_right_click);
    out.Bool(d.wake_on_mouse_move);
    out.Bool(d.wake_on_key);
    out.Bool(d.hide_cursor);
    out.String(d.settings_movie_file);
    out.String(d.settings_message);
    out.Bool(d.settings_show_movie);
    out.Int(d.preview_mode);
    out.String(d.preview_file);
    out.Color(d.preview_color);
    out.Bool(d.show_license);
    out.String(d.license_file);
    out.Bool(d.install_license);
    out.Bool(d.install_readme);
    out.String(d.readme_file);
    out.Bool(d.install_additional_files);
    out.List(d.additional_files);
    out.Bool(d.embed_playback_files);
    out.List(d.playback_files);
    out.Bool(d.menu_configure);
    out.String(d.menu_configure_caption);
    out.Bool(d.menu_launch);
    out.String(d.menu_launch_caption);
    out.Bool(d.menu_uninstall);
    out.String(d.menu_uninstall_caption);
    out.Bool(d.menu_readme);
    out.String(d.menu_readme_caption);
    out.Bool(d.menu_license);
    out.String(d.menu_license_caption);
    out.Bool(d.menu_url);
    out.String(d.menu_url_caption);
    out.String(d.menu_url_target);
    out.Bool(d.menu_custom);
    out.String(d.menu_custom_caption);
    out.String(d.menu_custom_target);
    out.Bool(d.end_show_readme);
    out.Bool(d.end_show_readme_ask);
    out.String(d.end_show_readme_message);
    out.Bool(d.end_open_display_properties);
    out.Bool(d.end_open_display_properties_ask);
    out.String(d.end_open_display_properties_message);
    out.Bool(d.end_launch);
    out.Int(d.end_launch_index);
    out.String(d.end_launch_target);
    out.Bool(d.end_launch_ask);
    out.String(d.end_launch_message);
    out.Color(d.movie_background_color);
    out.Bool(d.custom_icon);
    out.String(d.custom_icon_file);
    out.Bool(d.disable_startup_prompt);
    out.Bool(d.disable_dir_page);
    out.Bool(d.disable_program_group_page);
    out.Bool(d.disable_ready_page);
    out.Bool(d.disable_finished_page);
}

const char* LoadFailureReason(int result) {
    switch (result) {
    case FC_LOAD_CANNOT_OPEN:
        return "Unable to open file";
    case FC_LOAD_NOT_PROJECT:
        return "Not a KPJ file";
    case FC_LOAD_BAD_FORMAT:
        return "Bad KPJ format";
    default:
        return "A newer version of the application is needed to open this file";
    }
}

} // namespace

int32_t FCNormaliseSetupLanguage(int32_t stored) {
    if (stored == 8 || stored == 9)
        return 7;
    if (stored < 1 || stored > 11 || stored == 10)
        return 1;
    return stored;
}

bool FCReadMovieBackgroundColor(const char* movie_path, FCColor& color) {
    FCMovieInfo info;
    if (!FCReadMovieInfo(movie_path, &info))
        return false;
    color.red = info.background_red / 255.0f;
    color.green = info.background_green / 255.0f;
    color.blue = info.background_blue / 255.0f;
    color.alpha = 1.0f;
    return true;
}

bool FCWriteProjectFile(const FCDocumentFields& fields, KZStream& out) {
    KZMemoryStream record;
    RecordWriter writer(record);
    WriteRecord(writer, fields);
    if (!writer.ok() || record.GetError() != 0)
        return false;
    bool ok = out.PutU32(FC_KPJ_MAGIC1);
    ok = out.PutU32(FC_KPJ_MAGIC2) && ok;
    ok = out.PutU32(FC_KPJ_FILE_VERSION) && ok;
    ok = out.PutU32(FC_KPJ_CHUNK_ID) && ok;
    ok = out.PutU32(static_cast<uint32_t>(record.GetLength())) && ok;
    ok = out.WriteBlock(record.GetData(), record.GetLength()) && ok;
    return ok;
}

int FCReadProjectFile(const uint8_t* data, int size, FCDocumentFields& fields,
                      const FCDocument* relocate) {
    if (size < 8 || qvrk_get_u32(data) != FC_KPJ_MAGIC1 || qvrk_get_u32(data + 4) != FC_KPJ_MAGIC2)
        return FC_LOAD_NOT_PROJECT;
    if (size < 12)
        return FC_LOAD_NEWER_VERSION;
    int32_t file_version = qvrk_get_i32(data + 8);
    if (file_version != 1 && file_version != 2)
        return FC_LOAD_NEWER_VERSION;
    if (size < 20)
        return FC_LOAD_BAD_FORMAT;
    int32_t chunk_length = qvrk_get_i32(data + 16);
    if (chunk_length < 0 || chunk_length > size - 20)
        return FC_LOAD_BAD_FORMAT;

    RecordReader in(data + 20, chunk_length);
    int32_t record_version = in.Int();
    if (in.failed() || record_version < 1 || record_version > int32_t(FC_KPJ_RECORD_VERSION))
        return FC_LOAD_BAD_FORMAT;
    ReadRecord(in, record_version, fields, relocate);
    if (in.failed())
        return FC_LOAD_BAD_FORMAT;
    FCReadMovieBackgroundColor(fields.movie_file, fields.movie_background_color);
    return FC_LOAD_OK;
}

int FCDocument::load(const char* path) {
    int length = 0;
    uint8_t* bytes = KZReadWholeFile(path, &length);
    if (bytes == nullptr)
        return FC_LOAD_CANNOT_OPEN;
    // Read into a scratch copy: a file that fails half-way leaves this document untouched.
    FCDocumentFields incoming;
    incoming.set_defaults();
    int result = FCReadProjectFile(bytes, length, incoming, this);
    KZFree(bytes);
    if (result != FC_LOAD_OK)
        return result;
    FCDocumentFields::operator=(incoming);
    load_wizard_image();
    load_wizard_small_image();
    modified = false;
    return FC_LOAD_OK;
}

bool FCDocument::save(const char* path) {
    if (path == nullptr || *path == '\0')
        return false;
    KZMemoryStream file;
    if (!FCWriteProjectFile(*this, file) || file.GetError() != 0)
        return false;
    // Written beside the destination and moved over it only when complete, so that a failed
    // save never costs the project that was there.
    KZString beside(path);
    beside += ".saving";
    // The length check catches a write that only failed when the file was closed (a full disk
    // with buffered output), before the short file could replace the good one.
    if (!KZWriteWholeFile(beside, file.GetData(), file.GetLength()) ||
        GetFileLength(beside) != file.GetLength()) {
        KZDeleteFile(beside);
        return false;
    }
    if (!FCReplaceFile(beside, path)) {
        KZDeleteFile(beside);
        return false;
    }
    modified = false;
    return true;
}

bool FCDocument::open_project(const char* path, KZReporter& reporter) {
    reporter.BeginWaitCursor();
    // relocate_file looks beside the project being opened.
    KZString previous = path_name;
    path_name = path;
    int result = load(path);
    path_name = previous;
    if (result != FC_LOAD_OK) {
        KZString message("An error occurred when reading KPJ file:\n");
        message += LoadFailureReason(result);
        reporter.ShowMessage(message, KZ_MB_OK | KZ_MB_ICONERROR);
        reset();
        // A fresh project has no file: keeping the old path would let the next Save overwrite
        // that project with these defaults.
        path_name = "";
        reporter.EndWaitCursor();
        return false;
    }
    path_name = path;
    reporter.EndWaitCursor();
    return true;
}
