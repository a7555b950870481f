#include <gtest/gtest.h>

#include <algorithm>

#include "builder/engine/fc_cws_convert.h"
#include "builder/engine/fc_document.h"
#include "builder/engine/fc_movie_info.h"
#include "fc_test_support.h"

using namespace fctest;

namespace {

const std::vector<uint8_t> kBlueBackground = {0x10, 0x20, 0xF0};

std::vector<uint8_t> TypicalBody() {
    // 550 x 400 pixels, 12 fps, 3 frames, background set before the first frame.
    return SwfBody(0, 11000, 0, 8000, 12 << 8, 3,
                   {{9, kBlueBackground}, {1, {}}, {1, {}}, {1, {}}, {0, {}}});
}

bool ReadFrom(const std::vector<uint8_t>& file, FCMovieInfo* info) {
    return FCReadMovieInfoFromMemory(file.data(), file.size(), info);
}

} // namespace

TEST(FCMovieInfo, ReadsHeaderOfPlainAndCompressedMovies) {
    for (bool compressed : {false, true}) {
        SCOPED_TRACE(compressed ? "CWS" : "FWS");
        FCMovieInfo info;
        ASSERT_TRUE(ReadFrom(SwfFile(compressed, 6, TypicalBody()), &info));
        EXPECT_EQ(info.version, 6);
        EXPECT_EQ(info.width_twips, 11000);
        EXPECT_EQ(info.height_twips, 8000);
        EXPECT_EQ(info.frame_rate, 12 << 8);
        EXPECT_EQ(info.frame_count, 3);
        EXPECT_EQ(info.background_red, 0x10);
        EXPECT_EQ(info.background_green, 0x20);
        EXPECT_EQ(info.background_blue, 0xF0);
        EXPECT_EQ(info.background_alpha, 255);
    }
}

TEST(FCMovieInfo, FrameSizeIsMaximumLessMinimumWithNegativeOrigins) {
    FCMovieInfo info;
    ASSERT_TRUE(ReadFrom(
        SwfFile(false, 8,
                SwfBody(-200, 1800, -40, 960, 256, 1, {{2, std::vector<uint8_t>(8, 0)}, {0, {}}})),
        &info));
    EXPECT_EQ(info.width_twips, 2000);
    EXPECT_EQ(info.height_twips, 1000);
}

TEST(FCMovieInfo, TagWalkStopsAtEndShowFrameLimitAndOverrun) {
    struct Case {
        const char* name;
        std::vector<SwfTag> tags;
        uint16_t frames;
        bool background_expected;
    };
    const std::vector<Case> cases = {
        {"background behind a long-form tag",
         {{2, std::vector<uint8_t>(70, 1)}, {9, kBlueBackground}},
         1,
         true},
        {"short tag in long form", {{9, kBlueBackground, true}}, 1, true},
        {"after End", {{0, {}}, {9, kBlueBackground}}, 1, false},
        {"after more ShowFrames than frames", {{1, {}}, {1, {}}, {9, kBlueBackground}}, 1, false},
        {"tag running past the data", {{2, std::vector<uint8_t>(2, 0)}}, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> body = SwfBody(0, 20, 0, 20, 256, c.frames, c.tags);
        if (std::string(c.name) == "tag running past the data") {
            // Announce a 40-byte tag that holds 2 bytes, then a background that must not count.
            body[body.size() - 4] = uint8_t((2 << 6) | 40);
            Bytes extra;
            extra.u16(uint16_t((9 << 6) | 3)).raw(kBlueBackground);
            body.insert(body.end(), extra.data.begin(), extra.data.end());
        }
        while (body.size() < 20)
            body.push_back(0);
        FCMovieInfo info;
        ASSERT_TRUE(ReadFrom(SwfFile(false, 6, body), &info));
        EXPECT_EQ(info.background_blue, c.background_expected ? 0xF0 : 0x00);
    }
}

TEST(FCMovieInfo, RefusesWhatIsNotAMovie) {
    std::vector<uint8_t> good = SwfFile(false, 6, TypicalBody());
    std::vector<uint8_t> bad_signature = good;
    bad_signature[0] = 'G';
    std::vector<uint8_t> short_length = SwfFile(false, 6, TypicalBody(), 20);
    std::vector<uint8_t> short_body = SwfFile(false, 6, std::vector<uint8_t>(19, 0), 100);
    std::vector<uint8_t> header_only(good.begin(), good.begin() + 7);
    std::vector<uint8_t> corrupt_cws = SwfFile(true, 6, TypicalBody());
    for (size_t i = 8; i < corrupt_cws.size(); ++i)
        corrupt_cws[i] ^= 0x5A;
    for (const auto& file : {bad_signature, short_length, short_body, header_only, corrupt_cws}) {
        FCMovieInfo info;
        info.version = 99;
        EXPECT_FALSE(ReadFrom(file, &info));
        EXPECT_EQ(info.version, 99) << "left untouched on failure";
    }
}

TEST(FCMovieInfo, ForgedHugeLengthOfCompressedMovieReadsWhatIsThere) {
    FCMovieInfo info;
    ASSERT_TRUE(ReadFrom(SwfFile(true, 7, TypicalBody(), 0xFFFFFFF0), &info));
    EXPECT_EQ(info.frame_count, 3);
}

TEST(FCMovieInfo, ReadsFilesAndSetsDocumentBackground) {
    ScratchFolder dir("movie_info");
    ASSERT_TRUE(WriteBytes(dir.file("m.swf"), SwfFile(true, 6, TypicalBody())));
    ASSERT_TRUE(WriteBytes(dir.file("not.swf"), {'n', 'o', 'p', 'e', 0, 0, 0, 0, 0}));

    FCMovieInfo info;
    EXPECT_TRUE(FCDocument::read_movie_info(dir.file("m.swf").c_str(), &info));
    EXPECT_EQ(info.width_twips, 11000);

    FCDocument doc;
    doc.movie_background_color = FCColor{0.5f, 0.5f, 0.5f, 0.25f};
    EXPECT_FALSE(doc.read_movie_background(dir.file("not.swf").c_str()));
    EXPECT_FALSE(doc.read_movie_background(dir.file("missing.swf").c_str()));
    EXPECT_EQ(doc.movie_background_color, (FCColor{0.5f, 0.5f, 0.5f, 0.25f}));
    EXPECT_TRUE(doc.read_movie_background(dir.file("m.swf").c_str()));
    EXPECT_EQ(doc.movie_background_color,
              (FCColor{0x10 / 255.0f, 0x20 / 255.0f, 1.0f * 0xF0 / 255, 1.0f}));
}

TEST(FCUncompressMovie, GivesThePlainMovieOrNothing) {
    std::vector<uint8_t> body = TypicalBody();
    std::vector<uint8_t> cws = SwfFile(true, 7, body);
    std::vector<uint8_t> fws;
    ASSERT_TRUE(FCUncompressMovie(cws.data(), cws.size(), &fws));
    EXPECT_EQ(fws, SwfFile(false, 7, body));

    // Claimed lengths: one off either way, beyond what the compressed bytes can inflate to, and
    // beyond the largest movie we take, which a hostile header could otherwise make us allocate.
    const uint32_t actual = uint32_t(8 + body.size());
    for (int64_t length : {int64_t(actual) - 1, int64_t(actual) + 1, int64_t(8 + 1032 * 64),
                           int64_t(FC_MAX_INFLATED_MOVIE) + 9, int64_t(0xFFFFFFFF), int64_t(7)}) {
        std::vector<uint8_t> file = SwfFile(true, 7, body, length);
        fws.assign(3, 1);
        EXPECT_FALSE(FCUncompressMovie(file.data(), file.size(), &fws)) << length;
        EXPECT_TRUE(fws.empty()) << length;
    }
    // A body cut short, and a plain movie, are no compressed movies either.
    std::vector<uint8_t> cut = SwfFile(true, 7, body);
    cut.resize(cut.size() - 4);
    EXPECT_FALSE(FCUncompressMovie(cut.data(), cut.size(), &fws));
    std::vector<uint8_t> plain = SwfFile(false, 7, body);
    EXPECT_FALSE(FCUncompressMovie(plain.data(), plain.size(), &fws));
}

TEST(FCInflateMovieBody, AppendsAtMostTheClaimAndSaysWhetherItWasExact) {
    std::vector<uint8_t> body(100000);
    for (size_t i = 0; i < body.size(); i++)
        body[i] = uint8_t(i * 7 + i / 300);
    std::vector<uint8_t> cws = SwfFile(true, 7, body);
    const uint8_t* stream = cws.data() + 8;
    size_t stream_size = cws.size() - 8;
    const uint32_t n = uint32_t(body.size());
    const struct {
        uint32_t claimed;
        size_t cut; // bytes taken off the stream's end
        bool exact;
        size_t appended;
    } cases[] = {{n, 0, true, n},          {n - 1, 0, false, n - 1},       {n + 1, 0, false, n},
                 {n, 4, false, n},         {n, stream_size / 2, false, 0}, {0, 0, false, 0},
                 {0xFFFFFFFF, 0, false, n}};
    for (const auto& c : cases) {
        std::vector<uint8_t> out = {0xAA, 0xBB};
        bool exact = FCInflateMovieBody(stream, stream_size - c.cut, c.claimed, &out);
        EXPECT_EQ(exact, c.exact) << c.claimed << " " << c.cut;
        if (c.cut == stream_size / 2) {
            // Half a stream gives the start of the body, whatever its exact length.
            EXPECT_GT(out.size(), 2u);
            EXPECT_LT(out.size(), 2 + body.size());
        } else {
            EXPECT_EQ(out.size(), 2 + c.appended) << c.claimed << " " << c.cut;
        }
        ASSERT_EQ(out[0], 0xAA);
        ASSERT_EQ(out[1], 0xBB);
        EXPECT_TRUE(std::equal(out.begin() + 2, out.end(), body.begin())) << c.claimed;
    }
}
