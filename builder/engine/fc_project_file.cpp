#include "builder/engine/fc_project_file.h"

#include <cstring>

#include "builder/engine/fc_field_table.h"
#include "builder/engine/fc_file_beside.h"
#include "builder/engine/fc_platform.h"
#include "media/base/kz_file.h"
#include "media/base/kz_memory.h"
#include "media/base/kz_platform.h"
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

void ReadField(RecordReader& in, const FCField& field, FCDocumentFields& d,
               const FCDocument* relocate) {
    switch (field.kind) {
    case FC_FIELD_STRING:
        field.text_of(d) = in.String();
        return;
    case FC_FIELD_PATH:
        field.text_of(d) = in.String();
        if (relocate != nullptr && !in.failed())
            relocate->relocate_file(field.text_of(d));
        return;
    case FC_FIELD_BOOL:
        field.flag_of(d) = in.Bool();
        return;
    case FC_FIELD_INT:
        field.number_of(d) = in.Int();
        return;
    case FC_FIELD_COLOR:
        field.color_of(d) = in.Color();
        return;
    case FC_FIELD_LIST:
        in.List(field.list_of(d), relocate);
        return;
    }
}

// The document record in its stored order. `version` is the record's own version; a field it
// does not hold keeps the value `d` came with (its default). The custom setup pictures come from
// the relocated paths: FCDocument::load loads them once the whole file has read, so that a failed
// open keeps the pictures it had.
void ReadRecord(RecordReader& in, int32_t version, FCDocumentFields& d,
                const FCDocument* relocate) {
    int count = 0;
    const FCField* fields = FCFields(&count);
    for (int i = 0; i < count; ++i) {
        if (version >= fields[i].since)
            ReadField(in, fields[i], d, relocate);
        if (fields[i].after_read != nullptr)
            fields[i].after_read(d, version);
    }
}

void WriteRecord(RecordWriter& out, const FCDocumentFields& d) {
    out.Int(FC_KPJ_RECORD_VERSION);
    int count = 0;
    const FCField* fields = FCFields(&count);
    for (int i = 0; i < count; ++i) {
        const FCField& field = fields[i];
        switch (field.kind) {
        case FC_FIELD_STRING:
        case FC_FIELD_PATH:
            out.String(field.text_of(d));
            break;
        case FC_FIELD_BOOL:
            out.Bool(field.flag_of(d));
            break;
        case FC_FIELD_INT:
            out.Int(field.number_of(d));
            break;
        case FC_FIELD_COLOR:
            out.Color(field.color_of(d));
            break;
        case FC_FIELD_LIST:
            out.List(field.list_of(d));
            break;
        }
    }
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

bool FCFitsProjectFile(const FCDocumentFields& d, KZString* why) {
    KZString reason;
    int count = 0;
    const FCField* fields = FCFields(&count);
    for (int i = 0; i < count && reason.IsEmpty(); ++i) {
        const FCField& field = fields[i];
        if (field.is_text() && field.text_of(d).GetLength() >= FC_KPJ_MAX_STRING) {
            reason.Format("%s is %d bytes long; a project file holds texts under %d bytes",
                          field.name, field.text_of(d).GetLength(), int(FC_KPJ_MAX_STRING));
        } else if (field.kind == FC_FIELD_LIST) {
            const FCStringList& list = field.list_of(d);
            if (list.GetCount() > FC_KPJ_MAX_LIST)
                reason.Format("%s has %d entries; a project file holds at most %d", field.name,
                              list.GetCount(), int(FC_KPJ_MAX_LIST));
            for (int e = 0; e < list.GetCount() && reason.IsEmpty(); ++e)
                if (list[e].GetLength() >= FC_KPJ_MAX_STRING)
                    reason.Format("entry %d of %s is %d bytes long; a project file holds texts "
                                  "under %d bytes",
                                  e + 1, field.name, list[e].GetLength(), int(FC_KPJ_MAX_STRING));
        }
    }
    if (reason.IsEmpty())
        return true;
    if (why)
        *why = reason;
    return false;
}

bool FCWriteProjectFile(const FCDocumentFields& fields, KZStream& out) {
    if (!FCFitsProjectFile(fields, nullptr))
        return false;
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
    // The paths as the file holds them, before they were resolved and relocated.
    FCDocumentFields stored;
    stored.set_defaults();
    if (result == FC_LOAD_OK)
        FCReadProjectFile(bytes, length, stored, nullptr);
    KZFree(bytes);
    if (result != FC_LOAD_OK)
        return result;
    FCDocumentFields::operator=(incoming);
    remember_relative_paths(stored, path_name.IsEmpty() ? path : path_name.c_str());
    load_wizard_image();
    load_wizard_small_image();
    modified = false;
    return FC_LOAD_OK;
}

bool FCDocument::save(const char* path, KZString* why) {
    if (path == nullptr || *path == '\0')
        return false;
    if (!FCFitsProjectFile(*this, why))
        return false;
    KZMemoryStream file;
    if (!FCWriteProjectFile(as_stored_in(path), file) || file.GetError() != 0)
        return false;
    // Written beside the destination and moved over it only when complete, so that a failed
    // save never costs the project that was there.
    // What the file was stays: a link keeps leading to it (the file it leads to is the one
    // replaced), its permissions and attributes go to the new one before anything is written
    // (a project holding the setup password may be readable by its owner alone), and a
    // read-only project is not rewritten.
    KZString target = KZFollowLinks(path);
    if (KZFileIsReadOnly(target)) {
        if (why)
            *why = "the file is read-only";
        return false;
    }
    KZString beside;
    KZFile out = FCCreateFileBeside(target, ".saving", &beside);
    if (!out)
        return false;
    bool written = !KZFileExists(target) || KZCopyFilePermissions(target, beside);
    written = written && (file.GetLength() == 0 ||
                          WriteToFile(file.GetData(), file.GetLength(), out) == file.GetLength());
    CloseFile(out);
    // The length check catches a write that only failed when the file was closed (a full disk
    // with buffered output), before the short file could replace the good one.
    if (!written || GetFileLength(beside) != file.GetLength()) {
        KZDeleteFile(beside);
        return false;
    }
    if (!FCReplaceFile(beside, target)) {
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
