#include "builder/engine/fc_screensaver_builder.h"

#include <cstring>
#include <new>
#include <vector>
#include <zlib.h>

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#else
#include <chrono>
#endif

#include "builder/engine/fc_build_inputs.h"
#include "builder/engine/fc_cws_convert.h"
#include "builder/engine/fc_document.h"
#include "builder/engine/fc_file_beside.h"
#include "builder/engine/fc_movie_info.h"
#include "builder/engine/fc_payload_writer.h"
#include "builder/engine/fc_platform.h"
#include "builder/engine/fc_resources.h"
#include "builder/engine/fc_stored_names.h"
#include "media/base/kz_file.h"
#include "media/base/kz_memory.h"
#include "media/base/kz_platform.h"
#include "media/base/kz_reporter.h"
#include "media/base/kz_stream.h"
#include "media/base/kz_temp_file.h"
#include "media/movie/vm_movie_converter.h"
#include "media/picture/kz_picture.h"
#include "runtime/core/qvrk_keystream.h"

namespace {

const unsigned kErrorBox = KZ_MB_OK | KZ_MB_ICONERROR;

// Output straight into an open file.
class FileStream : public KZStream {
public:
    explicit FileStream(KZFile file) : file(file) {}
    bool WriteBlock(const void* data, int length) override {
        if (length <= 0)
            return true;
        if (WriteToFile(data, length, file) != length)
            return false;
        written += length;
        return true;
    }
    int64_t GetSize() const override { return written; }

private:
    KZFile file;
    int64_t written = 0;
};

uint32_t ChooseSeed() {
#if defined(__x86_64__) || defined(__i386__)
    uint64_t first = __rdtsc();
    uint64_t second = __rdtsc();
#else
    uint64_t first = uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
    uint64_t second = uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
#endif
    return uint32_t(second) ^ (uint32_t(first) << 14);
}

// Reads a whole file; the messages name the file. Null on failure (reported).
uint8_t* ReadFileForEntry(const char* path, int* out_size, KZReporter& reporter) {
    KZString message;
    int64_t length = GetFileLength(path);
    KZFile file = length >= 0 ? OpenFileForRead(path) : nullptr;
    if (!file) {
        message.Format("Unable to open file:\n%s", path);
        reporter.ShowMessage(message, kErrorBox);
        return nullptr;
    }
    uint8_t* data = nullptr;
    bool ok = length < 0x7FFFFFFF;
    if (ok) {
        data = static_cast<uint8_t*>(KZMalloc(size_t(length) + 1));
        ok = data && (length == 0 || ReadFromFile(data, int(length), file) == int(length));
    }
    CloseFile(file);
    if (!ok) {
        KZFree(data);
        message.Format("Unable to read file:\n%s", path);
        reporter.ShowMessage(message, kErrorBox);
        return nullptr;
    }
    *out_size = int(length);
    return data;
}

// One build: the working lists, the open output and the temporary files it made.
class ScreensaverBuild {
public:
    ScreensaverBuild(const FCDocument& document, const char* output_path, FCResources& resources,
                     KZReporter& reporter)
        : doc(document), output_path(output_path), resources(resources), reporter(reporter) {}
    ~ScreensaverBuild() { Cleanup(); }

    bool Run(const FCBuildOptions& options);

private:
    // A file of the payload: the path whose bytes are stored, and the path whose file name is
    // stored with it (they differ for an uncompressed copy of a compressed movie).
    struct File {
        KZString path;
        KZString name_path;
        bool behind_slot = false;
    };

    bool Fail(const char* format, const char* path, unsigned type = kErrorBox);
    void Cleanup();
    int FindOrAdd(const KZString& path, const KZString& name_path);
    KZString UncompressedCopyOf(const KZString& path);
    bool NewTempName(KZString* name);
    int SettingsFileIndex();
    bool PreviewFileIndex(int settings_index, int* index);
    bool CheckStoredNames(const FCStringList& slot_paths);
    void Warn(const char* format, const char* text, int number = 0);
    void WarnOfCutTexts();
    bool WriteEntry(FileStream& out, uint32_t seed, int index);

    const FCDocumentFields& doc;
    KZString output_path;
    KZString partial_path;
    FCResources& resources;
    KZReporter& reporter;
    KZFile output = nullptr;
    KZTOArray<KZString>* warnings = nullptr;
    KZTOArray<File> files;
    KZTArray<int32_t> slots;
    FCStringList temp_files;
    // Compressed movies already converted in this build, and their copies.
    FCStringList converted_sources;
    FCStringList converted_copies;
};

bool ScreensaverBuild::Fail(const char* format, const char* path, unsigned type) {
    if (format) {
        KZString message;
        message.Format(format, path ? path : "");
        reporter.ShowMessage(message, type);
    }
    Cleanup();
    return false;
}

// Closes and removes the unfinished output and the build's temporary files.
void ScreensaverBuild::Cleanup() {
    if (output) {
        CloseFile(output);
        output = nullptr;
        KZDeleteFile(partial_path);
    }
    for (int i = 0; i < temp_files.GetCount(); i++)
        KZDeleteFile(temp_files[i]);
    temp_files.RemoveAll();
}

int ScreensaverBuild::FindOrAdd(const KZString& path, const KZString& name_path) {
    // Exact byte comparison: the runtime sees two spellings of one file as two files too.
    for (int i = 0; i < files.GetCount(); i++)
        if (files[i].path == path)
            return i;
    File* file = new (std::nothrow) File;
    if (!file)
        return -1;
    file->path = path;
    file->name_path = name_path;
    if (!files.Add(file)) // destroys the file when the list cannot grow
        return -1;
    return files.GetCount() - 1;
}

bool ScreensaverBuild::NewTempName(KZString* name) {
    *name = CreateTempFile();
    return !name->IsEmpty() && temp_files.Add(*name);
}

// For a compressed movie: an uncompressed copy in a temporary file, made once per build for each
// path. Any other file, or one whose body does not inflate exactly, stays as it is.
KZString ScreensaverBuild::UncompressedCopyOf(const KZString& path) {
    for (int i = 0; i < converted_sources.GetCount(); i++)
        if (converted_sources[i] == path)
            return converted_copies[i];

    KZString result = path;
    KZFile in = OpenFileForRead(path);
    if (!in)
        return result;
    uint8_t header[8];
    int64_t length = SeekFile(in, 0, KZ_SEEK_END);
    SeekFile(in, 0, KZ_SEEK_SET);
    bool compressed = length >= 21 && length < 0x7FFFFFFF && ReadFromFile(header, 8, in) == 8 &&
                      memcmp(header, "CWS", 3) == 0;
    std::vector<uint8_t> image;
    std::vector<uint8_t> body;
    if (compressed) {
        int rest_size = int(length - 8);
        try {
            image.resize(size_t(length));
        } catch (const std::bad_alloc&) {
            compressed = false;
        }
        compressed = compressed && ReadFromFile(image.data() + 8, rest_size, in) == rest_size;
        if (compressed)
            memcpy(image.data(), header, 8);
    }
    CloseFile(in);
    KZString copy;
    if (compressed && FCUncompressMovie(image.data(), image.size(), &body) && NewTempName(&copy)) {
        KZFile out = CreateFileForWrite(copy);
        bool written = out && WriteToFile(body.data(), int(body.size()), out) == int(body.size());
        CloseFile(out);
        if (written)
            result = copy;
        else
            KZDeleteFile(copy);
    }
    converted_sources.Add(path);
    converted_copies.Add(result);
    return result;
}

// The settings-dialog file: a movie as it is, a picture converted into a movie. -1 for none,
// -2 when the conversion failed (reported).
int ScreensaverBuild::SettingsFileIndex() {
    if (!doc.settings_show_movie || doc.settings_movie_file.IsEmpty())
        return -1;
    if (!VMIsPictureFile(doc.settings_movie_file))
        return FindOrAdd(doc.settings_movie_file, doc.settings_movie_file);
    KZString movie;
    if (!NewTempName(&movie))
        return -2;
    if (!ConvertImageFileToMovie(doc.settings_movie_file, movie, &reporter))
        return -2;
    return FindOrAdd(movie, movie);
}

// The Display Properties preview file by preview_mode. False when the build must stop (reported).
bool ScreensaverBuild::PreviewFileIndex(int settings_index, int* index) {
    *index = -1;
    switch (doc.preview_mode) {
    case 1:
        *index = 0;
        return true;
    case 2:
        *index = settings_index;
        return true;
    case 3:
        break;
    default:
        return true;
    }
    if (doc.preview_file.IsEmpty())
        return true;
    if (!VMIsPictureFile(doc.preview_file)) {
        *index = FindOrAdd(doc.preview_file, doc.preview_file);
        return *index >= 0;
    }
    KZString movie;
    if (!NewTempName(&movie))
        return false;
    KZPicture* picture = LoadPicture(doc.preview_file);
    if (!picture) {
        Fail("Unable to read image:\n%s", doc.preview_file);
        return false;
    }
    // A picture the conversion to true colour cannot handle stops the build like an unreadable one.
    picture = PreparePreviewPicture(picture);
    if (!picture) {
        Fail("Unable to read image:\n%s", doc.preview_file);
        return false;
    }
    if (!ConvertPictureToMovie(picture, movie, &reporter))
        return false;
    *index = FindOrAdd(movie, movie);
    return *index >= 0;
}

void ScreensaverBuild::Warn(const char* format, const char* text, int number) {
    if (!warnings)
        return;
    KZString warning;
    warning.Format(format, text, number);
    warnings->Add(warning);
}

void ScreensaverBuild::WarnOfCutTexts() {
    const struct {
        const char* name;
        QvrkSettingsText field;
        const KZString& text;
    } texts[] = {
        {"long_name", QVRK_TEXT_LONG_NAME, doc.long_name},
        {"company_name", QVRK_TEXT_COMPANY_NAME, doc.company_name},
        {"settings_message", QVRK_TEXT_SETTINGS_MESSAGE, doc.settings_message},
    };
    for (const auto& t : texts) {
        int room = 0;
        if (!FCTextFitsItsRoom(t.field, t.text, &room))
            Warn("%s: the screensaver keeps only its first %d characters", t.name, room);
    }
}

// Every movie behind a slot is extracted under its stored name and found by it: a name Windows
// cannot take, or one that two files share once letter case is ignored (the second would replace
// the first, a playback movie the main one), is refused before any of them is opened. False when
// the build must stop (reported).
bool ScreensaverBuild::CheckStoredNames(const FCStringList& slot_paths) {
    for (int i = 0; i < slot_paths.GetCount(); i++) {
        KZString name = FCFileNamePart(slot_paths[i]);
        KZString message;
        if (const char* problem = FCStoredNameProblem(name)) {
            message.Format("Unable to store this movie's name, because %s:\n%s", problem,
                           slot_paths[i].c_str());
            return Fail("%s", message);
        }
        for (int j = 0; j < i; j++) {
            // One file reached by two spellings of its path is stored twice with equal bytes.
            if (!FCSameStoredName(name, FCFileNamePart(slot_paths[j])) ||
                slot_paths[i] == slot_paths[j] || KZSameFile(slot_paths[i], slot_paths[j]))
                continue;
            message.Format("Two movies would be stored under one name (letter case is "
                           "ignored):\n%s\n%s",
                           slot_paths[j].c_str(), slot_paths[i].c_str());
            return Fail("%s", message);
        }
    }
    return true;
}

bool ScreensaverBuild::WriteEntry(FileStream& out, uint32_t seed, int index) {
    const File& file = files[index];
    int size = 0;
    uint8_t* data = ReadFileForEntry(file.path, &size, reporter);
    if (!data)
        return false;

    FCMovieInfo info;
    uint32_t width = 0, height = 0;
    if (FCReadMovieInfoFromMemory(data, size_t(size), &info)) {
        width = info.width_twips > 0 ? uint32_t(info.width_twips / 20) : 0;
        height = info.height_twips > 0 ? uint32_t(info.height_twips / 20) : 0;
    } else if (index == slots[0]) {
        Warn("movie_file: the main movie's header cannot be read, so it is stored as 0 x 0 and "
             "will not show:\n%s",
             file.name_path);
    }

    uint8_t* stored = data;
    int stored_size = size;
    uint8_t* packed = nullptr;
    if (doc.compress_movies) {
        // Room for what deflate may add to data that does not compress, so that a large movie
        // of random bytes still builds.
        uLong room = deflateBound(nullptr, uLong(size)) + 1024;
        packed = room < 0x7FFFFFFF ? static_cast<uint8_t*>(KZMalloc(size_t(room))) : nullptr;
        stored_size = packed ? FCRawDeflate(data, size, packed, int(room)) : -1;
        if (stored_size < 0) {
            KZFree(packed);
            KZFree(data);
            return Fail("Error while compressing\n", nullptr);
        }
        stored = packed;
    }
    if (doc.scramble_movies)
        qvrk_scramble(qvrk_data_seed(seed), stored, size_t(stored_size));

    KZString name = file.behind_slot ? FCFileNamePart(file.name_path) : KZString();
    QvrkEntryRecord record =
        FCMakeEntryRecord(doc, width, height, uint32_t(stored_size), uint32_t(size),
                          name.IsEmpty() ? nullptr : name.c_str());
    bool written = FCWriteEntry(out, seed, uint32_t(index), record, stored, uint32_t(stored_size));
    KZFree(packed);
    KZFree(data);
    if (!written)
        return Fail("Unable to write file:\n%s", output_path);
    return true;
}

bool ScreensaverBuild::Run(const FCBuildOptions& options) {
    // Warnings are handed over only for a build that succeeds.
    KZTOArray<KZString> found;
    warnings = options.warnings ? &found : nullptr;
    // Written beside the output and moved into place at the end, so that a failed build leaves
    // an older file of that name alone.
    output = FCCreateFileBeside(output_path, ".partial", &partial_path);
    if (!output)
        return Fail("Unable to create file:\n%s", output_path);
    FileStream out(output);

    uint32_t stub_size = 0;
    const uint8_t* stub = resources.find_bin(FC_RES_STUB, &stub_size);
    if (!stub || stub_size == 0 || !out.WriteBlock(stub, int(stub_size)))
        return Fail("Unable to write to file:\n%s", output_path);

    if (!KZFileOpensForRead(doc.movie_file))
        return Fail("Unable to open file:\n%s", doc.movie_file);
    if (doc.short_name.IsEmpty())
        return Fail("Short Name is empty", nullptr, KZ_MB_OK);
    if (doc.long_name.IsEmpty())
        return Fail("Long Name is empty", nullptr, KZ_MB_OK);

    // Slot 0 is the main movie, then the playback files when they are embedded.
    FCStringList slot_paths;
    bool listed = slot_paths.Add(doc.movie_file);
    if (doc.embed_playback_files)
        for (int i = 0; listed && i < doc.playback_files.GetCount(); i++)
            listed = slot_paths.Add(doc.playback_files[i]);
    if (listed && !CheckStoredNames(slot_paths))
        return false;
    for (int i = 0; listed && i < slot_paths.GetCount(); i++) {
        // An uncompressed copy keeps the original's name: the movie loads its files by name.
        KZString path = UncompressedCopyOf(slot_paths[i]);
        int index = FindOrAdd(path, slot_paths[i]);
        listed = index >= 0 && slots.Add(index);
        if (listed)
            files[index].behind_slot = true;
    }
    if (!listed)
        return Fail("Unable to write file:\n%s", output_path);

    int settings_index = SettingsFileIndex();
    if (settings_index == -2)
        return Fail(nullptr, nullptr);
    int preview_index = -1;
    if (!PreviewFileIndex(settings_index, &preview_index))
        return Fail(nullptr, nullptr);

    uint32_t seed = options.fixed_seed ? options.seed : ChooseSeed();
    FCPayloadFiles payload_files;
    payload_files.file_count = files.GetCount();
    payload_files.slot_count = slots.GetCount();
    payload_files.settings_file = settings_index;
    payload_files.preview_file = preview_index;
    uint8_t block[QVRK_SETTINGS_SIZE];
    uint8_t packed[QVRK_SETTINGS_STORED_MAX];
    int packed_size = 0;
    if (!FCFillSettingsBlock(doc, payload_files, block) ||
        (packed_size = FCPackSettingsBlock(block, seed, packed)) <= 0)
        return Fail("Error while compressing\n", nullptr);
    if (!FCWritePayloadHeader(out, seed, packed, packed_size) ||
        !FCWriteSlotTable(out, slots.GetData(), slots.GetCount()))
        return Fail("Unable to write file:\n%s", output_path);

    for (int i = 0; i < files.GetCount(); i++)
        if (!WriteEntry(out, seed, i))
            return false;

    if (!FCWriteTrailer(out, stub_size))
        return Fail("Unable to write file:\n%s", output_path);
    CloseFile(output);
    output = nullptr;
    if (!FCReplaceFile(partial_path, output_path)) {
        KZDeleteFile(partial_path);
        return Fail("Unable to create file:\n%s", output_path);
    }
    Cleanup();
    if (options.warnings) {
        WarnOfCutTexts();
        for (int i = 0; i < found.GetCount(); i++)
            options.warnings->Add(found[i]);
    }
    return true;
}

} // namespace

bool build_screensaver(const FCDocument& document, const char* output_path, FCResources& resources,
                       KZReporter& reporter, const FCBuildOptions& options) {
    FCBuildInputs inputs;
    FCAddScreensaverInputs(document, resources, inputs);
    if (!FCCheckOutputIsNoInput(output_path, inputs, reporter))
        return false;
    ScreensaverBuild build(document, output_path, resources, reporter);
    return build.Run(options);
}
