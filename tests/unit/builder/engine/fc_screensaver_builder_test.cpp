#include <gtest/gtest.h>

#include <dirent.h>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "builder/engine/fc_document.h"
#include "builder/engine/fc_resources.h"
#include "builder/engine/fc_screensaver_builder.h"
#include "media/base/kz_folder.h"
#include "media/base/kz_reporter.h"
#include "media/picture/kz_picture.h"
#include "runtime/core/qvrk_payload_reader.h"
#include "fc_test_support.h"

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

using fctest::Exists;
using fctest::ReadBytes;
using fctest::WriteBytes;

namespace {

// A screensaver file read back the way the runtime reads it.
struct ReadBack {
    std::vector<uint8_t> image;
    QvrkPayload payload;
    QvrkInflater work;
    std::vector<QvrkEntry> entries;
    std::vector<int32_t> slots;

    bool Open(const std::string& path) {
        image = ReadBytes(path);
        QvrkSource source;
        qvrk_source_memory(&source, image.data(), image.size());
        if (qvrk_payload_open(&payload, &source, &work) != QVRK_PAYLOAD_OK)
            return false;
        entries.resize(size_t(payload.numbers.file_count));
        slots.resize(size_t(payload.numbers.slot_count));
        return qvrk_payload_read_entries(&payload, entries.data(), uint32_t(entries.size())) ==
                   QVRK_PAYLOAD_OK &&
               qvrk_payload_read_slots(&payload, slots.data(), uint32_t(slots.size())) ==
                   QVRK_PAYLOAD_OK;
    }
    std::vector<uint8_t> Item(uint32_t i) {
        std::vector<uint8_t> out(qvrk_payload_item_size(&payload, i));
        std::vector<uint8_t> scratch(entries[i].record.stored_size + 1);
        if (qvrk_payload_decode_item(&payload, i, &work, out.data(), out.size(), scratch.data(),
                                     scratch.size()) != QVRK_PAYLOAD_OK)
            out.clear();
        return out;
    }
    std::string Name(uint32_t i) const { return entries[i].record.name; }
    std::u16string Text(QvrkSettingsText field) const {
        uint16_t units[600];
        size_t n = qvrk_settings_copy_text(payload.settings, field, units, 600);
        return std::u16string(units, units + n);
    }
};

// Temporary files of this process: the builder's names start with the process key.
int CountOwnTempFiles() {
    char key[16];
    snprintf(key, sizeof key, "%08X", unsigned(getpid()) ^ 0x12DF6C15u);
    KZString folder = GetTempFolder();
    DIR* dir = opendir(folder);
    int count = 0;
    if (!dir)
        return -1;
    while (dirent* e = readdir(dir))
        if (strncmp(e->d_name, key, 8) == 0)
            ++count;
    closedir(dir);
    return count;
}

class FCScreensaverBuilderTest : public ::testing::Test {
public:
    fctest::ScratchFolder scratch{"screensaver_builder"};
    FCDocument doc;
    FCResourceTable resources;
    KZRecordingReporter reporter;
    std::vector<uint8_t> stub = std::vector<uint8_t>(1500, 0);
    std::string output = scratch.file("out.scr");

    void SetUp() override {
        for (size_t i = 0; i < stub.size(); i++)
            stub[i] = uint8_t(i * 7 + 1);
        resources.set_data(FC_RES_STUB, stub.data(), uint32_t(stub.size()));
        doc.movie_file = Movie("main.swf", 640 * 20, 480 * 20).c_str();
        doc.preview_mode = 0;
        doc.settings_show_movie = false;
    }

    std::string Movie(const char* name, int width_twips, int height_twips, bool compressed = false,
                      int extra = 16) {
        std::vector<fctest::SwfTag> tags;
        tags.push_back({9, {10, 20, 30}});
        if (extra)
            tags.push_back({77, std::vector<uint8_t>(size_t(extra), 'x'), true});
        std::vector<uint8_t> body =
            fctest::SwfBody(0, width_twips, 0, height_twips, 0x0C00, 1, tags);
        std::string path = scratch.file(name);
        EXPECT_TRUE(WriteBytes(path, fctest::SwfFile(compressed, 6, body)));
        return path;
    }

    std::string Picture(const char* name, int width, int height) {
        KZPicture* picture = KZPicture::CreatePicture(KZ_PICTURE_RGB, width, height);
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++) {
                uint8_t* p = picture->Row(y) + 3 * x;
                p[0] = uint8_t(x), p[1] = uint8_t(y), p[2] = 128;
            }
        std::string path = scratch.file(name);
        EXPECT_TRUE(SaveBmp(picture, path.c_str()));
        picture->Release();
        return path;
    }

    bool Build() {
        FCBuildOptions options;
        options.fixed_seed = true;
        options.seed = 0x1234567u;
        return build_screensaver(doc, output.c_str(), resources, reporter, options);
    }
};

TEST_F(FCScreensaverBuilderTest, OneMovieReadsBackFieldByFieldForEachStorageForm) {
    std::vector<uint8_t> source = ReadBytes(doc.movie_file.c_str());
    for (int form = 0; form < 4; form++) {
        SCOPED_TRACE(form);
        doc.compress_movies = form & 1;
        doc.scramble_movies = (form & 2) != 0;
        doc.long_name = "Long \xE9 name"; // é in the ANSI code page
        doc.size_mode = 3;
        doc.quality = 1;
        ASSERT_TRUE(Build());
        EXPECT_TRUE(reporter.messages.empty());

        ReadBack r;
        ASSERT_TRUE(r.Open(output));
        EXPECT_EQ(std::vector<uint8_t>(r.image.begin(), r.image.begin() + stub.size()), stub);
        EXPECT_EQ(r.payload.payload_offset, stub.size());
        EXPECT_EQ(r.payload.seed, 0x1234567u);
        EXPECT_EQ(r.Text(QVRK_TEXT_LONG_NAME), u"Long \u00e9 name");
        EXPECT_EQ(qvrk_payload_compressed(&r.payload), doc.compress_movies ? 1 : 0);
        EXPECT_EQ(qvrk_payload_scrambled(&r.payload), doc.scramble_movies ? 1 : 0);
        EXPECT_EQ(r.slots, std::vector<int32_t>({0}));
        EXPECT_EQ(r.payload.numbers.settings_file, -1);
        EXPECT_EQ(r.payload.numbers.preview_file, -1);
        EXPECT_EQ(r.payload.numbers.reserved, -1);
        ASSERT_EQ(r.entries.size(), 1u);
        const QvrkEntryRecord& rec = r.entries[0].record;
        EXPECT_EQ(rec.width, 640u);
        EXPECT_EQ(rec.height, 480u);
        EXPECT_EQ(rec.original_size, source.size());
        EXPECT_EQ(rec.size_mode, 3u);
        EXPECT_EQ(rec.quality, 1u);
        EXPECT_EQ(r.Name(0), "main.swf");
        EXPECT_EQ(r.Item(0), source);
    }
}

TEST_F(FCScreensaverBuilderTest, SlotsShareFilesByExactPath) {
    std::string extra = Movie("extra.swf", 200, 200);
    doc.embed_playback_files = true;
    doc.playback_files.Add(KZString(doc.movie_file)); // the main movie again
    doc.playback_files.Add(KZString(extra.c_str()));
    doc.playback_files.Add(KZString(extra.c_str())); // listed twice
    ASSERT_TRUE(Build());
    ReadBack r;
    ASSERT_TRUE(r.Open(output));
    EXPECT_EQ(r.slots, std::vector<int32_t>({0, 0, 1, 1}));
    ASSERT_EQ(r.entries.size(), 2u);
    EXPECT_EQ(r.Name(1), "extra.swf");
    EXPECT_EQ(r.Item(1), ReadBytes(extra));

    // Without embedding, the playback files stay out.
    doc.embed_playback_files = false;
    ASSERT_TRUE(Build());
    ASSERT_TRUE(r.Open(output));
    EXPECT_EQ(r.slots, std::vector<int32_t>({0}));
}

TEST_F(FCScreensaverBuilderTest, CompressedMovieIsStoredUncompressedUnderItsOwnName) {
    std::string cws = Movie("packed.swf", 300 * 20, 100 * 20, true, 5000);
    std::vector<uint8_t> cws_bytes = ReadBytes(cws);
    doc.movie_file = cws.c_str();
    doc.embed_playback_files = true;
    doc.playback_files.Add(KZString(cws.c_str()));
    doc.compress_movies = true;
    ASSERT_TRUE(Build());
    ReadBack r;
    ASSERT_TRUE(r.Open(output));
    // Converted once: both slots stand on the one uncompressed copy.
    EXPECT_EQ(r.slots, std::vector<int32_t>({0, 0}));
    ASSERT_EQ(r.entries.size(), 1u);
    std::vector<uint8_t> item = r.Item(0);
    ASSERT_GT(item.size(), 8u);
    EXPECT_EQ(std::string(item.begin(), item.begin() + 3), "FWS");
    uint32_t length = item[4] | item[5] << 8 | item[6] << 16 | item[7] << 24;
    EXPECT_EQ(length, item.size());
    EXPECT_EQ(r.entries[0].record.original_size, item.size());
    EXPECT_GT(item.size(), cws_bytes.size());
    EXPECT_EQ(r.entries[0].record.width, 300u);
    // The movie loads its files by name: the copy keeps the original's.
    EXPECT_EQ(r.Name(0), "packed.swf");
    // The source is untouched and the copy is gone.
    EXPECT_EQ(ReadBytes(cws), cws_bytes);
    EXPECT_EQ(CountOwnTempFiles(), 0);
}

TEST_F(FCScreensaverBuilderTest, BrokenCompressedMovieIsStoredAsItIs) {
    // A length field that the body does not reach: the file stays as written.
    std::vector<uint8_t> body = fctest::SwfBody(0, 100, 0, 100, 0x0C00, 1, {});
    std::string path = scratch.file("short.swf");
    ASSERT_TRUE(WriteBytes(path, fctest::SwfFile(true, 6, body, 8 + int64_t(body.size()) + 50)));
    doc.movie_file = path.c_str();
    ASSERT_TRUE(Build());
    ReadBack r;
    ASSERT_TRUE(r.Open(output));
    EXPECT_EQ(r.Item(0), ReadBytes(path));
}

TEST_F(FCScreensaverBuilderTest, SettingsAndPreviewFiles) {
    struct Case {
        int preview_mode;
        bool settings_show_movie;
        int want_settings; // file index
        int want_preview;
    };
    const Case cases[] = {
        {0, false, -1, -1}, {1, false, -1, 0}, {2, false, -1, -1},
        {2, true, 1, 1},    {4, true, 1, -1},  {3, false, -1, -1}, // preview_file empty
    };
    std::string settings = Movie("CREDITS.SWF", 100, 100);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.preview_mode << " " << c.settings_show_movie);
        doc.preview_mode = c.preview_mode;
        doc.settings_show_movie = c.settings_show_movie;
        doc.settings_movie_file = settings.c_str();
        doc.preview_file = "";
        ASSERT_TRUE(Build());
        ReadBack r;
        ASSERT_TRUE(r.Open(output));
        EXPECT_EQ(r.payload.numbers.settings_file, c.want_settings);
        EXPECT_EQ(r.payload.numbers.preview_file, c.want_preview);
        if (c.want_settings == 1) {
            // Capitals in the extension still make it a movie: stored as it is, without a name.
            EXPECT_EQ(r.Item(1), ReadBytes(settings));
            EXPECT_EQ(r.Name(1), "");
        }
    }
}

TEST_F(FCScreensaverBuilderTest, PicturesBecomeMoviesAndTheirTemporaryFilesGo) {
    doc.settings_show_movie = true;
    doc.settings_movie_file = Picture("credits.bmp", 40, 30).c_str();
    doc.preview_mode = 3;
    doc.preview_file = Picture("preview.bmp", 608, 448).c_str();
    ASSERT_TRUE(Build()) << (reporter.messages.empty() ? "" : reporter.messages[0]);
    ReadBack r;
    ASSERT_TRUE(r.Open(output));
    ASSERT_EQ(r.entries.size(), 3u);
    EXPECT_EQ(r.payload.numbers.settings_file, 1);
    EXPECT_EQ(r.payload.numbers.preview_file, 2);
    EXPECT_EQ(r.entries[1].record.width, 40u);
    EXPECT_EQ(r.entries[1].record.height, 30u);
    EXPECT_EQ(r.entries[2].record.width, 152u);
    EXPECT_EQ(r.entries[2].record.height, 112u);
    std::vector<uint8_t> preview = r.Item(2);
    ASSERT_GT(preview.size(), 3u);
    EXPECT_EQ(std::string(preview.begin(), preview.begin() + 3), "FWS");
    EXPECT_EQ(CountOwnTempFiles(), 0);
}

TEST_F(FCScreensaverBuilderTest, LargeIncompressibleMovieBuilds) {
    // Random bytes grow under deflate by more than a fixed 1,024 bytes once they pass a few MB.
    std::vector<fctest::SwfTag> tags;
    std::vector<uint8_t> noise(6 << 20);
    std::mt19937 random(5);
    for (uint8_t& b : noise)
        b = uint8_t(random());
    tags.push_back({77, noise, true});
    std::string path = scratch.file("noise.swf");
    ASSERT_TRUE(WriteBytes(
        path, fctest::SwfFile(false, 6, fctest::SwfBody(0, 20, 0, 20, 0x0C00, 1, tags))));
    doc.movie_file = path.c_str();
    doc.compress_movies = true;
    ASSERT_TRUE(Build()) << (reporter.messages.empty() ? "" : reporter.messages[0]);
    ReadBack r;
    ASSERT_TRUE(r.Open(output));
    EXPECT_GT(r.entries[0].record.stored_size, r.entries[0].record.original_size);
    EXPECT_EQ(r.Item(0), ReadBytes(path));
}

TEST_F(FCScreensaverBuilderTest, FailuresReportAndLeaveTheOldOutputAlone) {
    std::string preview = scratch.file("broken.png");
    ASSERT_TRUE(WriteBytes(preview, {0x89, 'P', 'N', 'G', 1, 2, 3}));
    std::string missing = scratch.file("missing.swf");
    struct Case {
        const char* what;
        std::function<void(FCScreensaverBuilderTest&)> setup;
        std::string message;
        unsigned type;
    };
    const unsigned error_box = KZ_MB_OK | KZ_MB_ICONERROR;
    const Case cases[] = {
        {"main movie missing",
         [&](FCScreensaverBuilderTest& t) { t.doc.movie_file = missing.c_str(); },
         "Unable to open file:\n" + missing, error_box},
        {"short name", [](FCScreensaverBuilderTest& t) { t.doc.short_name = ""; },
         "Short Name is empty", KZ_MB_OK},
        {"long name", [](FCScreensaverBuilderTest& t) { t.doc.long_name = ""; },
         "Long Name is empty", KZ_MB_OK},
        {"preview unreadable",
         [&](FCScreensaverBuilderTest& t) {
             t.doc.preview_mode = 3;
             t.doc.preview_file = preview.c_str();
         },
         "Unable to read image:\n" + preview, error_box},
        {"playback file missing",
         [&](FCScreensaverBuilderTest& t) {
             t.doc.embed_playback_files = true;
             t.doc.playback_files.Add(KZString(missing.c_str()));
         },
         "Unable to open file:\n" + missing, error_box},
        {"no stub",
         [](FCScreensaverBuilderTest& t) { t.resources.set_data(FC_RES_STUB, nullptr, 0); }, "",
         error_box},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FCScreensaverBuilderTest::TearDown();
        doc.reset();
        SetUp();
        doc.settings_show_movie = true; // a picture-made movie that must not stay behind
        doc.settings_movie_file = Picture("credits.bmp", 10, 10).c_str();
        ASSERT_TRUE(WriteBytes(output, {'o', 'l', 'd'}));
        reporter.messages.clear();
        reporter.types.clear();
        c.setup(*this);
        EXPECT_FALSE(Build());
        ASSERT_EQ(reporter.messages.size(), 1u);
        if (!c.message.empty())
            EXPECT_EQ(reporter.messages[0], c.message);
        else
            EXPECT_EQ(reporter.messages[0], "Unable to write to file:\n" + output);
        EXPECT_EQ(reporter.types[0], c.type);
        EXPECT_EQ(ReadBytes(output), std::vector<uint8_t>({'o', 'l', 'd'}));
        EXPECT_FALSE(Exists(output + ".partial"));
        EXPECT_EQ(CountOwnTempFiles(), 0);
    }
}

TEST_F(FCScreensaverBuilderTest, OutputThatIsAnInputIsRefusedAndTheInputStays) {
    std::string movie = doc.movie_file.c_str();
    std::string playback = Movie("play.swf", 200, 200);
    std::string credits = Movie("credits.swf", 200, 200);
    std::string preview = Movie("preview.swf", 200, 200);
    std::string project = scratch.file("p.kpj");
    ASSERT_TRUE(WriteBytes(project, {'k', 'p', 'j'}));
    std::string stub_file = scratch.file("saverengine.exe");
    ASSERT_TRUE(WriteBytes(stub_file, stub));
    resources.set_file(FC_RES_STUB, stub_file.c_str());
    doc.path_name = project.c_str();
    doc.embed_playback_files = true;
    doc.playback_files.Add(KZString(playback.c_str()));
    doc.settings_show_movie = true;
    doc.settings_movie_file = credits.c_str();
    doc.preview_mode = 3;
    doc.preview_file = preview.c_str();
    std::string dotted_movie = scratch.path() + "./main.swf";
#ifdef _WIN32
    std::string other_spelling = scratch.file("MAIN.SWF"); // Windows names ignore case
#else
    std::string other_spelling = scratch.file("link.scr"); // a link to the movie
    ASSERT_EQ(symlink(movie.c_str(), other_spelling.c_str()), 0);
#endif
    const struct {
        std::string output, input;
        const char* role;
    } cases[] = {
        {movie, movie, "main movie"},
        {dotted_movie, movie, "main movie"},
        {other_spelling, movie, "main movie"},
        {playback, playback, "playback file"},
        {credits, credits, "settings dialog file"},
        {preview, preview, "preview file"},
        {project, project, "project"},
        {stub_file, stub_file, "stub"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output);
        reporter.messages.clear();
        std::vector<uint8_t> before = ReadBytes(c.input);
        EXPECT_FALSE(build_screensaver(doc, c.output.c_str(), resources, reporter));
        ASSERT_EQ(reporter.messages.size(), 1u);
        EXPECT_EQ(reporter.messages[0], std::string("The output would overwrite the ") + c.role +
                                            " " + c.input + ":\n" + c.output);
        EXPECT_EQ(ReadBytes(c.input), before);
        EXPECT_FALSE(Exists(c.output + ".partial"));
    }
    // A file the build does not read may be replaced: the same settings file, shown no more.
    doc.settings_show_movie = false;
    output = credits;
    EXPECT_TRUE(Build());
}

TEST_F(FCScreensaverBuilderTest, StoredNamesThatCollideOrWindowsRefusesStopTheBuild) {
    fctest::ScratchFolder a("names_a"), b("names_b");
    auto movie_in = [&](const fctest::ScratchFolder& folder, const char* name) {
        std::string path = folder.file(name);
        EXPECT_TRUE(WriteBytes(path, ReadBytes(doc.movie_file.c_str())));
        return path;
    };
    std::string main_movie = doc.movie_file.c_str();
    std::string ax = movie_in(a, "x.swf"), bx = movie_in(b, "X.SWF"),
                bmain = movie_in(b, "main.swf");
    // Refused before any playback file is opened: these need not exist (and on Windows CON.swf
    // would open the console).
    const std::string long_name(100, 'n');
    std::string too_long = scratch.path() + long_name;
    const struct {
        const char* what;
        std::vector<std::string> playback;
        std::string message;
    } cases[] = {
        {"one name in two folders",
         {ax, bx},
         "Two movies would be stored under one name (letter case is ignored):\n" + ax + "\n" + bx},
        {"a playback movie named like the main movie",
         {bmain},
         "Two movies would be stored under one name (letter case is ignored):\n" + main_movie +
             "\n" + bmain},
        {"a device name",
         {a.path() + "CON.swf"},
         "Unable to store this movie's name, because its file name is a Windows device name (CON, "
         "PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9):\n" +
             a.path() + "CON.swf"},
        {"a name too long to store",
         {too_long},
         "Unable to store this movie's name, because its file name is 100 characters or longer, "
         "which the screensaver cannot store:\n" +
             too_long},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        doc.embed_playback_files = true;
        doc.playback_files.RemoveAll();
        for (const std::string& p : c.playback)
            doc.playback_files.Add(KZString(p.c_str()));
        reporter.messages.clear();
        EXPECT_FALSE(Build());
        ASSERT_EQ(reporter.messages.size(), 1u);
        EXPECT_EQ(reporter.messages[0], c.message);
        EXPECT_FALSE(Exists(output));
    }
    // Not embedded, the playback files are no names of the payload; one file reached by two
    // spellings of its path is the same movie twice.
    doc.embed_playback_files = false;
    doc.playback_files.RemoveAll();
    doc.playback_files.Add(KZString(bmain.c_str()));
    EXPECT_TRUE(Build());
    doc.embed_playback_files = true;
    doc.playback_files.RemoveAll();
    doc.playback_files.Add(KZString((scratch.path() + "./main.swf").c_str()));
    EXPECT_TRUE(Build());
}

TEST_F(FCScreensaverBuilderTest, WarningsNameWhatWillDisappointInABuildThatSucceeds) {
    KZTOArray<KZString> warnings;
    FCBuildOptions options;
    options.warnings = &warnings;
    EXPECT_TRUE(build_screensaver(doc, output.c_str(), resources, reporter, options));
    EXPECT_EQ(warnings.GetCount(), 0);

    std::string junk = scratch.file("junk.swf");
    ASSERT_TRUE(WriteBytes(junk, {'n', 'o', 't', ' ', 'a', ' ', 'm', 'o', 'v', 'i', 'e'}));
    doc.movie_file = junk.c_str();
    doc.long_name = std::string(101, 'L').c_str();
    doc.company_name = std::string(100, 'C').c_str(); // fits exactly
    doc.settings_message = std::string(513, 'm').c_str();
    EXPECT_TRUE(build_screensaver(doc, output.c_str(), resources, reporter, options));
    ASSERT_EQ(warnings.GetCount(), 3);
    EXPECT_EQ(std::string(warnings[0].c_str()),
              "movie_file: the main movie's header cannot be read, so it is stored as 0 x 0 and "
              "will not show:\n" +
                  junk);
    EXPECT_STREQ(warnings[1].c_str(), "long_name: the screensaver keeps only its first 100 "
                                      "characters");
    EXPECT_STREQ(warnings[2].c_str(), "settings_message: the screensaver keeps only its first "
                                      "512 characters");
    EXPECT_TRUE(reporter.messages.empty()); // warnings are no messages: the wizard shows none

    // A build that fails hands over none.
    warnings.RemoveAll();
    doc.short_name = "";
    EXPECT_FALSE(build_screensaver(doc, output.c_str(), resources, reporter, options));
    EXPECT_EQ(warnings.GetCount(), 0);
}

TEST_F(FCScreensaverBuilderTest, LeftoversBesideTheOutputAreLeftAlone) {
    // An earlier crash left OUT.scr.partial, and someone keeps a file named OUT.scr.2.partial.
    ASSERT_TRUE(WriteBytes(output + ".partial", {'c', 'r', 'a', 's', 'h'}));
    ASSERT_TRUE(WriteBytes(output + ".2.partial", {'m', 'i', 'n', 'e'}));
    ASSERT_TRUE(Build());
    ReadBack r;
    EXPECT_TRUE(r.Open(output));
    EXPECT_EQ(ReadBytes(output + ".partial"), std::vector<uint8_t>({'c', 'r', 'a', 's', 'h'}));
    EXPECT_EQ(ReadBytes(output + ".2.partial"), std::vector<uint8_t>({'m', 'i', 'n', 'e'}));
    EXPECT_FALSE(Exists(output + ".3.partial"));
    // A failed build removes only the file it made.
    doc.short_name = "";
    EXPECT_FALSE(Build());
    EXPECT_TRUE(Exists(output + ".partial"));
    EXPECT_TRUE(Exists(output + ".2.partial"));
    EXPECT_FALSE(Exists(output + ".3.partial"));
}

TEST_F(FCScreensaverBuilderTest, OutputThatCannotBeCreated) {
    std::string bad = scratch.file("no-such-folder/out.scr");
    EXPECT_FALSE(build_screensaver(doc, bad.c_str(), resources, reporter));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0], "Unable to create file:\n" + bad);
}

} // namespace
