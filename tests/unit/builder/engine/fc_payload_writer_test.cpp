#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <zlib.h>

#include "builder/engine/fc_document.h"
#include "builder/engine/fc_payload_writer.h"
#include "media/base/kz_stream.h"
#include "runtime/core/qvrk_payload_reader.h"
#include "fc_test_support.h"

namespace {

std::u16string StoredText(const uint8_t* block, QvrkSettingsText field) {
    uint16_t units[600];
    size_t n = qvrk_settings_copy_text(block, field, units, 600);
    return std::u16string(units, units + n);
}

// Reads a UTF-16LE text straight from the block bytes, without the core's accessors.
std::u16string RawText(const uint8_t* block, size_t offset, size_t room) {
    std::u16string s;
    for (size_t i = 0; i < room; ++i) {
        char16_t u = char16_t(block[offset + 2 * i] | (block[offset + 2 * i + 1] << 8));
        if (u == 0)
            break;
        s.push_back(u);
    }
    return s;
}

uint32_t U32At(const uint8_t* block, size_t offset) {
    return uint32_t(block[offset]) | (uint32_t(block[offset + 1]) << 8) |
           (uint32_t(block[offset + 2]) << 16) | (uint32_t(block[offset + 3]) << 24);
}

// A whole screensaver file in memory: a fake stub, then the payload as the builder writes it.
struct BuiltPayload {
    std::vector<uint8_t> file;
    uint32_t stub_size = 0;
};

BuiltPayload BuildPayload(const FCDocument& doc, uint32_t seed,
                          const std::vector<std::vector<uint8_t>>& files,
                          const std::vector<int32_t>& slots, int32_t settings_file,
                          int32_t preview_file, const std::vector<std::string>& names) {
    KZMemoryStream out;
    std::vector<uint8_t> stub(333, 'S');
    out.WriteBlock(stub.data(), int(stub.size()));

    FCPayloadFiles counts;
    counts.file_count = int32_t(files.size());
    counts.slot_count = int32_t(slots.size());
    counts.settings_file = settings_file;
    counts.preview_file = preview_file;
    uint8_t block[QVRK_SETTINGS_SIZE];
    EXPECT_TRUE(FCFillSettingsBlock(doc, counts, block));
    uint8_t packed[QVRK_SETTINGS_STORED_MAX];
    int packed_size = FCPackSettingsBlock(block, seed, packed);
    EXPECT_GT(packed_size, 0);
    EXPECT_TRUE(FCWritePayloadHeader(out, seed, packed, packed_size));
    EXPECT_TRUE(FCWriteSlotTable(out, slots.data(), int(slots.size())));
    for (size_t i = 0; i < files.size(); ++i) {
        std::vector<uint8_t> stored = files[i];
        if (doc.compress_movies) {
            z_stream zs{};
            deflateInit2(&zs, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
            std::vector<uint8_t> packed_file(files[i].size() + 1024);
            zs.next_in = const_cast<Bytef*>(files[i].data());
            zs.avail_in = uInt(files[i].size());
            zs.next_out = packed_file.data();
            zs.avail_out = uInt(packed_file.size());
            EXPECT_EQ(deflate(&zs, Z_FINISH), Z_STREAM_END);
            packed_file.resize(zs.total_out);
            deflateEnd(&zs);
            stored = packed_file;
        }
        if (doc.scramble_movies)
            qvrk_scramble(qvrk_data_seed(seed), stored.data(), stored.size());
        QvrkEntryRecord record =
            FCMakeEntryRecord(doc, 27, 20, uint32_t(stored.size()), uint32_t(files[i].size()),
                              names[i].empty() ? nullptr : names[i].c_str());
        EXPECT_TRUE(
            FCWriteEntry(out, seed, uint32_t(i), record, stored.data(), uint32_t(stored.size())));
    }
    EXPECT_TRUE(FCWriteTrailer(out, uint32_t(stub.size())));
    EXPECT_EQ(out.GetError(), 0);
    BuiltPayload built;
    built.file.assign(out.GetData(), out.GetData() + out.GetLength());
    built.stub_size = uint32_t(stub.size());
    return built;
}

struct OpenedPayload {
    QvrkPayload payload;
    QvrkInflater work;
    QvrkEntry entries[8];
    QvrkSource source;
};

QvrkPayloadResult Open(const BuiltPayload& built, OpenedPayload* opened) {
    qvrk_source_memory(&opened->source, built.file.data(), built.file.size());
    QvrkPayloadResult r = qvrk_payload_open(&opened->payload, &opened->source, &opened->work);
    if (r != QVRK_PAYLOAD_OK)
        return r;
    return qvrk_payload_read_entries(&opened->payload, opened->entries, 8);
}

class FCPayloadWriterTest : public ::testing::Test {
protected:
    void SetUp() override { FCSetBuilderFolder("/opt/scrkit"); }
};

} // namespace

TEST_F(FCPayloadWriterTest, SettingsBlockReadsBackThroughTheRuntimeCore) {
    FCDocument doc;
    doc.company_name = "Caf\xE9 Company \x80";
    doc.long_name = "Stars";
    doc.settings_message = "Line one\r\nLine two";
    doc.background_color = FCColor{1.0f, 0.5f, 0.0f, 1.0f};
    doc.preview_color = FCColor{0.0f, 0.2f, 1.0f, 1.0f};
    doc.scramble_movies = true;
    doc.setup_language = 3;

    std::vector<uint8_t> movie(5000);
    for (size_t i = 0; i < movie.size(); ++i)
        movie[i] = uint8_t((i * 7) ^ (i >> 3));
    std::vector<uint8_t> picture(300, 0x42);
    OpenedPayload opened;
    BuiltPayload built =
        BuildPayload(doc, 0xC0FFEE11u, {movie, picture}, {0, 0}, 1, 1, {"main.swf", ""});
    ASSERT_EQ(Open(built, &opened), QVRK_PAYLOAD_OK);
    const QvrkPayload& p = opened.payload;
    EXPECT_EQ(p.payload_offset, built.stub_size);
    EXPECT_EQ(p.seed, 0xC0FFEE11u);

    EXPECT_EQ(StoredText(p.settings, QVRK_TEXT_COMPANY_NAME), u"Caf\u00e9 Company \u20ac");
    EXPECT_EQ(StoredText(p.settings, QVRK_TEXT_LONG_NAME), u"Stars");
    EXPECT_EQ(StoredText(p.settings, QVRK_TEXT_SETTINGS_MESSAGE), u"Line one\r\nLine two");
    EXPECT_EQ(StoredText(p.settings, QVRK_TEXT_QUALITY_CAPTION), u"&Qualit\u00e4t:");
    EXPECT_EQ(StoredText(p.settings, QVRK_TEXT_SOUND), u"Ton");

    EXPECT_EQ(p.numbers.flags,
              QVRK_FLAG_COMPRESSED | QVRK_FLAG_SCRAMBLED | QVRK_FLAG_WAKE_LEFT_CLICK |
                  QVRK_FLAG_WAKE_RIGHT_CLICK | QVRK_FLAG_WAKE_MOUSE_MOVE | QVRK_FLAG_WAKE_KEY |
                  QVRK_FLAG_HIDE_CURSOR | QVRK_FLAG_USER_CAN_MUTE | QVRK_FLAG_USER_CAN_SET_QUALITY);
    EXPECT_EQ(p.numbers.background_color, 0x0080FFu);
    EXPECT_EQ(p.numbers.preview_color, 0xFF3300u);
    EXPECT_EQ(p.numbers.file_count, 2);
    EXPECT_EQ(p.numbers.slot_count, 2);
    EXPECT_EQ(p.numbers.settings_file, 1);
    EXPECT_EQ(p.numbers.preview_file, 1);
    EXPECT_EQ(p.numbers.reserved, -1);

    int32_t slots[2] = {7, 7};
    ASSERT_EQ(qvrk_payload_read_slots(&p, slots, 2), QVRK_PAYLOAD_OK);
    EXPECT_EQ(slots[0], 0);
    EXPECT_EQ(slots[1], 0);

    const std::vector<uint8_t>* sources[2] = {&movie, &picture};
    for (uint32_t i = 0; i < 2; ++i) {
        const QvrkEntryRecord& r = opened.entries[i].record;
        EXPECT_EQ(r.width, 27u);
        EXPECT_EQ(r.height, 20u);
        EXPECT_EQ(r.original_size, sources[i]->size());
        EXPECT_EQ(r.size_mode, 2u);
        EXPECT_EQ(r.quality, 2u);
        std::vector<uint8_t> out(qvrk_payload_item_size(&p, i));
        std::vector<uint8_t> scratch(r.stored_size);
        ASSERT_EQ(qvrk_payload_decode_item(&p, i, &opened.work, out.data(), out.size(),
                                           scratch.data(), scratch.size()),
                  QVRK_PAYLOAD_OK);
        EXPECT_EQ(out, *sources[i]);
    }
    EXPECT_STREQ(opened.entries[0].record.name, "main.swf");
    EXPECT_STREQ(opened.entries[1].record.name, "");
}

TEST_F(FCPayloadWriterTest, SettingsBlockBytesForATableOfDocuments) {
    struct Case {
        const char* name;
        std::function<void(FCDocument&)> change;
        uint32_t flags;
        std::u16string caption; // the quality caption of the chosen row
        std::u16string sound;
    };
    const uint32_t defaults = QVRK_FLAG_COMPRESSED | QVRK_FLAG_WAKE_LEFT_CLICK |
                              QVRK_FLAG_WAKE_RIGHT_CLICK | QVRK_FLAG_WAKE_MOUSE_MOVE |
                              QVRK_FLAG_WAKE_KEY | QVRK_FLAG_HIDE_CURSOR | QVRK_FLAG_USER_CAN_MUTE |
                              QVRK_FLAG_USER_CAN_SET_QUALITY;
    const Case cases[] = {
        {"defaults", [](FCDocument&) {}, defaults, u"&Quality:", u"Sound"},
        {"everything off",
         [](FCDocument& d) {
             d.compress_movies = d.wake_on_left_click = d.wake_on_right_click = false;
             d.wake_on_mouse_move = d.wake_on_key = d.hide_cursor = false;
             d.user_can_mute = d.user_can_set_quality = false;
             d.setup_language = 0;
         },
         0, u"&Quality:", u"Sound"},
        {"muted, scrambled",
         [](FCDocument& d) {
             d.mute_sound = d.scramble_movies = true;
             d.setup_language = 2;
         },
         defaults | QVRK_FLAG_MUTE_SOUND | QVRK_FLAG_SCRAMBLED, u"&Qualit\u00e9:", u"Son"},
        {"only left click",
         [](FCDocument& d) {
             d.compress_movies = d.wake_on_right_click = d.wake_on_mouse_move = false;
             d.wake_on_key = d.hide_cursor = d.user_can_mute = d.user_can_set_quality = false;
             d.setup_language = 4;
         },
         QVRK_FLAG_WAKE_LEFT_CLICK, u"&Qualit\u00e0:", u"Suono"},
        {"portuguese 5", [](FCDocument& d) { d.setup_language = 5; }, defaults, u"&Qualidade:",
         u"Som"},
        {"portuguese 6", [](FCDocument& d) { d.setup_language = 6; }, defaults, u"&Qualidade:",
         u"Som"},
        {"spanish 7", [](FCDocument& d) { d.setup_language = 7; }, defaults, u"&Calidad:",
         u"Sonido"},
        {"spanish 9", [](FCDocument& d) { d.setup_language = 9; }, defaults, u"&Calidad:",
         u"Sonido"},
        {"polish 10", [](FCDocument& d) { d.setup_language = 10; }, defaults, u"&Jako\u015b\u0107:",
         u"D\u017awi\u0119k"},
        {"polish 11", [](FCDocument& d) { d.setup_language = 11; }, defaults, u"&Jako\u015b\u0107:",
         u"D\u017awi\u0119k"},
        {"german 3", [](FCDocument& d) { d.setup_language = 3; }, defaults, u"&Qualit\u00e4t:",
         u"Ton"},
        {"unknown 12", [](FCDocument& d) { d.setup_language = 12; }, defaults, u"&Quality:",
         u"Sound"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FCDocument d;
        c.change(d);
        FCPayloadFiles files;
        files.file_count = 1;
        files.slot_count = 1;
        uint8_t block[QVRK_SETTINGS_SIZE];
        std::memset(block, 0xAA, sizeof block);
        ASSERT_TRUE(FCFillSettingsBlock(d, files, block));
        EXPECT_EQ(U32At(block, 1580), c.flags);
        EXPECT_EQ(RawText(block, 1430, 16), c.caption);
        EXPECT_EQ(RawText(block, 1558, 11), c.sound);
        EXPECT_EQ(RawText(block, 0, 101), u"Your Company");
        EXPECT_EQ(RawText(block, 202, 101), u"Your Screensaver");
        EXPECT_EQ(RawText(block, 404, 513), u"<Insert your credits here>");
        EXPECT_EQ(U32At(block, 1584), 0u);
        EXPECT_EQ(U32At(block, 1588), 0u);
        EXPECT_EQ(U32At(block, 1592), 1u);
        EXPECT_EQ(U32At(block, 1596), 1u);
        EXPECT_EQ(U32At(block, 1600), 0xFFFFFFFFu);
        EXPECT_EQ(U32At(block, 1604), 0xFFFFFFFFu);
        EXPECT_EQ(U32At(block, 1608), 0xFFFFFFFFu);
        // Bytes no field fills are zero: the tail of the company name and past the flags' bits.
        for (size_t i = 2 * 12; i < 202; ++i)
            ASSERT_EQ(block[i], 0) << i;
    }
}

TEST_F(FCPayloadWriterTest, LongTextsAreCutToTheirRoom) {
    FCDocument d;
    d.company_name = std::string(150, 'c').c_str();
    d.long_name = std::string(100, 'l').c_str();
    d.settings_message = (std::string(511, 'm') + "\xE9XYZ").c_str();
    d.preview_mode = 1;
    d.preview_color = FCColor{1, 1, 1, 1};
    uint8_t block[QVRK_SETTINGS_SIZE];
    ASSERT_TRUE(FCFillSettingsBlock(d, FCPayloadFiles(), block));
    EXPECT_EQ(RawText(block, 0, 101), std::u16string(100, u'c'));
    EXPECT_EQ(RawText(block, 202, 101), std::u16string(100, u'l'));
    EXPECT_EQ(RawText(block, 404, 513), std::u16string(511, u'm') + u"\u00e9");
    // The terminating unit of every text stays zero.
    EXPECT_EQ(block[200] | block[201], 0);
    EXPECT_EQ(block[402] | block[403], 0);
    EXPECT_EQ(block[1428] | block[1429], 0);
    EXPECT_EQ(U32At(block, 1588), 0u) << "preview colour only for preview mode 0";
}

TEST_F(FCPayloadWriterTest, RecordsKeepSizeModeQualityAndNameInRange) {
    FCDocument d;
    d.size_mode = 7;
    d.quality = -1;
    std::string name99(99, 'n');
    std::string name100(100, 'n');
    QvrkEntryRecord r = FCMakeEntryRecord(d, 1, 2, 3, 4, name99.c_str());
    EXPECT_EQ(r.size_mode, 0u);
    EXPECT_EQ(r.quality, 0u);
    EXPECT_EQ(std::string(r.name), name99);
    d.size_mode = 3;
    d.quality = 2;
    r = FCMakeEntryRecord(d, 1, 2, 3, 4, name100.c_str());
    EXPECT_EQ(r.size_mode, 3u);
    EXPECT_EQ(r.quality, 2u);
    for (char c : r.name)
        ASSERT_EQ(c, 0);

    // Written records are scrambled with the record keystream of their own index.
    KZMemoryStream out;
    ASSERT_TRUE(FCWriteEntry(out, 0, 0, r, nullptr, 0));
    ASSERT_EQ(out.GetLength(), QVRK_RECORD_SIZE);
    uint8_t plain[QVRK_RECORD_SIZE];
    std::memcpy(plain, out.GetData(), QVRK_RECORD_SIZE);
    qvrk_scramble(1, plain, QVRK_RECORD_SIZE); // seed 0: file 0 from seed value 1
    EXPECT_EQ(U32At(plain, 0), 1u);
    EXPECT_EQ(U32At(plain, 4), 2u);
    EXPECT_EQ(U32At(plain, 8), 3u);
    EXPECT_EQ(U32At(plain, 12), 4u);
    EXPECT_EQ(U32At(plain, 16), 3u);
    EXPECT_EQ(U32At(plain, 20), 2u);
}

TEST_F(FCPayloadWriterTest, TrailerAndHeaderBytes) {
    KZMemoryStream out;
    uint8_t packed[3] = {9, 8, 7};
    ASSERT_TRUE(FCWritePayloadHeader(out, 0x01020304u, packed, 3));
    ASSERT_TRUE(FCWriteTrailer(out, 32768));
    const std::vector<uint8_t> expected = {4, 3,   2,   1,   3,   0,    0,    0, 9, 8,
                                           7, 'Q', 'V', 'R', 'K', 0x00, 0x80, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(out.GetData(), out.GetData() + out.GetLength()), expected);
    EXPECT_FALSE(FCWritePayloadHeader(out, 0, packed, 0));
    EXPECT_FALSE(FCWritePayloadHeader(out, 0, packed, QVRK_SETTINGS_STORED_MAX + 1));
}

TEST_F(FCPayloadWriterTest, PackedSettingsUnscrambleAndInflateToTheBlock) {
    FCDocument d;
    uint8_t block[QVRK_SETTINGS_SIZE];
    ASSERT_TRUE(FCFillSettingsBlock(d, FCPayloadFiles(), block));
    for (uint32_t seed : {0u, 1u, 0xFFFFFFFFu}) {
        uint8_t packed[QVRK_SETTINGS_STORED_MAX];
        int n = FCPackSettingsBlock(block, seed, packed);
        ASSERT_GT(n, 0);
        qvrk_scramble(seed * 9u, packed, size_t(n));
        auto work = std::make_unique<QvrkInflater>();
        uint8_t back[QVRK_SETTINGS_SIZE];
        size_t produced = 0;
        ASSERT_EQ(qvrk_inflate(work.get(), packed, size_t(n), back, sizeof back, &produced),
                  QVRK_INFLATE_OK);
        EXPECT_EQ(std::memcmp(back, block, sizeof block), 0);
    }
}
