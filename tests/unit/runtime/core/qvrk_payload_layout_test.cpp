#include "runtime/core/qvrk_payload_layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::u16string Stored(const uint8_t* block, QvrkSettingsText field) {
    uint16_t out[600];
    size_t n = qvrk_settings_copy_text(block, field, out, 600);
    return std::u16string(out, out + n);
}

TEST(PayloadLayout, TextFieldsTileTheBlockUpToTheFlags) {
    struct Field {
        QvrkSettingsText text;
        uint32_t offset, room;
    } const fields[] = {
        {QVRK_TEXT_COMPANY_NAME, 0, 101},       {QVRK_TEXT_LONG_NAME, 202, 101},
        {QVRK_TEXT_SETTINGS_MESSAGE, 404, 513}, {QVRK_TEXT_QUALITY_CAPTION, 1430, 16},
        {QVRK_TEXT_QUALITY_LOW, 1462, 16},      {QVRK_TEXT_QUALITY_MEDIUM, 1494, 16},
        {QVRK_TEXT_QUALITY_HIGH, 1526, 16},     {QVRK_TEXT_SOUND, 1558, 11},
    };
    uint32_t next = 0;
    for (const Field& f : fields) {
        EXPECT_EQ(qvrk_settings_text_offset(f.text), f.offset);
        EXPECT_EQ(qvrk_settings_text_room(f.text), f.room);
        EXPECT_EQ(f.offset, next);
        next = f.offset + 2 * f.room;
    }
    EXPECT_EQ(next, uint32_t(QVRK_SET_FLAGS));
    EXPECT_EQ(QVRK_SET_RESERVED + 4, QVRK_SETTINGS_SIZE);
}

TEST(PayloadLayout, NumbersAreLittleEndianAtTheirOffsets) {
    uint8_t block[QVRK_SETTINGS_SIZE];
    qvrk_settings_clear(block);
    QvrkSettingsNumbers n = {0x3FF, 0x00332211, 0x000000FF, 3, 5, 2, -1, -1};
    qvrk_settings_put_numbers(block, &n);
    const uint8_t flags[] = {0xFF, 0x03, 0, 0}, background[] = {0x11, 0x22, 0x33, 0},
                  files[] = {3, 0, 0, 0}, slots[] = {5, 0, 0, 0},
                  minus_one[] = {0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(0, memcmp(block + 1580, flags, 4));
    EXPECT_EQ(0, memcmp(block + 1584, background, 4));
    EXPECT_EQ(block[1588], 0xFF);
    EXPECT_EQ(0, memcmp(block + 1592, files, 4));
    EXPECT_EQ(0, memcmp(block + 1596, slots, 4));
    EXPECT_EQ(block[1600], 2);
    EXPECT_EQ(0, memcmp(block + 1604, minus_one, 4));
    EXPECT_EQ(0, memcmp(block + 1608, minus_one, 4));
    for (int i = 0; i < 1580; ++i)
        ASSERT_EQ(block[i], 0) << i;

    QvrkSettingsNumbers back;
    qvrk_settings_get_numbers(block, &back);
    EXPECT_EQ(back.flags, 0x3FFu);
    EXPECT_EQ(back.background_color, 0x00332211u);
    EXPECT_EQ(back.file_count, 3);
    EXPECT_EQ(back.slot_count, 5);
    EXPECT_EQ(back.settings_file, 2);
    EXPECT_EQ(back.preview_file, -1);
    EXPECT_EQ(back.reserved, -1);
}

TEST(PayloadLayout, TextsAreCutToTheirRoomAndTheLastUnitTerminates) {
    uint8_t block[QVRK_SETTINGS_SIZE];
    memset(block, 0xAA, sizeof block);
    std::u16string long_text(150, u'x');
    long_text[99] = u'\x20AC'; // a unit above 0xFF shows the byte order
    qvrk_settings_put_text(block, QVRK_TEXT_COMPANY_NAME,
                           reinterpret_cast<const uint16_t*>(long_text.data()), long_text.size());
    EXPECT_EQ(Stored(block, QVRK_TEXT_COMPANY_NAME), long_text.substr(0, 100));
    EXPECT_EQ(block[198], 0xAC);
    EXPECT_EQ(block[199], 0x20);
    EXPECT_EQ(block[200], 0);
    EXPECT_EQ(block[201], 0);
    EXPECT_EQ(block[202], 0xAA) << "the next field is untouched";

    // A short text zero-fills the rest of its room.
    qvrk_settings_put_text(block, QVRK_TEXT_LONG_NAME, reinterpret_cast<const uint16_t*>(u"Ab"), 2);
    EXPECT_EQ(Stored(block, QVRK_TEXT_LONG_NAME), u"Ab");
    for (int i = 202 + 4; i < 404; ++i)
        ASSERT_EQ(block[i], 0) << i;

    // A file whose text fills the whole room without a zero still reads as room - 1 units.
    for (int i = 404; i < 1430; i += 2) {
        block[i] = 'y';
        block[i + 1] = 0;
    }
    EXPECT_EQ(qvrk_settings_text_length(block, QVRK_TEXT_SETTINGS_MESSAGE), 512u);
    uint16_t small[4];
    EXPECT_EQ(qvrk_settings_copy_text(block, QVRK_TEXT_SETTINGS_MESSAGE, small, 4), 3u);
    EXPECT_EQ(small[3], 0);
}

TEST(PayloadLayout, LanguageChoosesTheLabelRow) {
    struct Case {
        int language;
        QvrkLabelRow row;
    } const cases[] = {
        {0, QVRK_LABELS_ENGLISH},    {1, QVRK_LABELS_ENGLISH},  {2, QVRK_LABELS_FRENCH},
        {3, QVRK_LABELS_GERMAN},     {4, QVRK_LABELS_ITALIAN},  {5, QVRK_LABELS_PORTUGUESE},
        {6, QVRK_LABELS_PORTUGUESE}, {7, QVRK_LABELS_SPANISH},  {8, QVRK_LABELS_SPANISH},
        {9, QVRK_LABELS_SPANISH},    {10, QVRK_LABELS_POLISH},  {11, QVRK_LABELS_POLISH},
        {12, QVRK_LABELS_ENGLISH},   {-1, QVRK_LABELS_ENGLISH},
    };
    for (const Case& c : cases)
        EXPECT_EQ(qvrk_label_row_for_language(c.language), c.row) << c.language;
}

TEST(PayloadLayout, LabelRowsAreWrittenAsUtf16) {
    struct Case {
        QvrkLabelRow row;
        const char16_t* caption;
        const char16_t* low;
        const char16_t* medium;
        const char16_t* high;
        const char16_t* sound;
    } const cases[] = {
        {QVRK_LABELS_ENGLISH, u"&Quality:", u"Low", u"Medium", u"High", u"Sound"},
        {QVRK_LABELS_GERMAN, u"&Qualit\u00e4t:", u"Niedrig", u"Mittel", u"Hohe", u"Ton"},
        {QVRK_LABELS_FRENCH, u"&Qualit\u00e9:", u"Faible", u"Interm\u00e9diaire",
         u"Sup\u00e9rieure", u"Son"},
        {QVRK_LABELS_ITALIAN, u"&Qualit\u00e0:", u"Bassa", u"Media", u"Alta", u"Suono"},
        {QVRK_LABELS_SWEDISH, u"&Kvalitet:", u"L\u00e5g", u"Mellan", u"H\u00f6g", u"Sound"},
        {QVRK_LABELS_PORTUGUESE, u"&Qualidade:", u"Baixa", u"M\u00e9dia", u"Alta", u"Som"},
        {QVRK_LABELS_SPANISH, u"&Calidad:", u"Baja", u"Media", u"Alta", u"Sonido"},
        {QVRK_LABELS_POLISH, u"&Jako\u015b\u0107:", u"Niska", u"\u015arednia", u"Wysoka",
         u"D\u017awi\u0119k"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        uint8_t block[QVRK_SETTINGS_SIZE];
        memset(block, 0x55, sizeof block);
        qvrk_settings_put_labels(block, c.row);
        EXPECT_EQ(Stored(block, QVRK_TEXT_QUALITY_CAPTION), c.caption);
        EXPECT_EQ(Stored(block, QVRK_TEXT_QUALITY_LOW), c.low);
        EXPECT_EQ(Stored(block, QVRK_TEXT_QUALITY_MEDIUM), c.medium);
        EXPECT_EQ(Stored(block, QVRK_TEXT_QUALITY_HIGH), c.high);
        EXPECT_EQ(Stored(block, QVRK_TEXT_SOUND), c.sound);
        EXPECT_EQ(block[1429], 0x55);
        EXPECT_EQ(block[1580], 0x55);
        EXPECT_EQ(block[1578], 0) << "sound label zero-filled to its end";
        EXPECT_EQ(block[1579], 0);
    }
    EXPECT_EQ(qvrk_label_text(QVRK_LABELS_ENGLISH, QVRK_TEXT_COMPANY_NAME)[0], 0);
}

TEST(PayloadLayout, RecordEncodesAtItsOffsetsAndRoundTrips) {
    QvrkEntryRecord r;
    qvrk_record_clear(&r);
    r.width = 640;
    r.height = 0x01020304;
    r.stored_size = 1000;
    r.original_size = 5000;
    r.size_mode = 3;
    r.quality = 2;
    ASSERT_EQ(qvrk_record_set_name(&r, "intro.swf", 9), 1);
    uint8_t bytes[QVRK_RECORD_SIZE];
    qvrk_record_encode(&r, bytes);
    const uint8_t head[24] = {0x80, 2,    0, 0, 4, 3, 2, 1, 0xE8, 3, 0, 0,
                              0x88, 0x13, 0, 0, 3, 0, 0, 0, 2,    0, 0, 0};
    EXPECT_EQ(0, memcmp(bytes, head, 24));
    EXPECT_EQ(0, memcmp(bytes + 24, "intro.swf", 10));
    for (int i = 34; i < QVRK_RECORD_SIZE; ++i)
        ASSERT_EQ(bytes[i], 0);

    uint8_t scrambled[QVRK_RECORD_SIZE];
    qvrk_record_write(&r, 0x1234u, 2, scrambled);
    uint8_t expect[QVRK_RECORD_SIZE];
    memcpy(expect, bytes, sizeof expect);
    qvrk_scramble(0x1234u * 9 + 3, expect, sizeof expect);
    EXPECT_EQ(0, memcmp(scrambled, expect, sizeof expect));

    QvrkEntryRecord back;
    qvrk_record_read(scrambled, 0x1234u, 2, &back);
    EXPECT_EQ(back.width, 640u);
    EXPECT_EQ(back.height, 0x01020304u);
    EXPECT_EQ(back.stored_size, 1000u);
    EXPECT_EQ(back.original_size, 5000u);
    EXPECT_EQ(back.size_mode, 3u);
    EXPECT_EQ(back.quality, 2u);
    EXPECT_STREQ(back.name, "intro.swf");
}

TEST(PayloadLayout, NamesOf100CharactersOrMoreAreNotStored) {
    QvrkEntryRecord r;
    qvrk_record_clear(&r);
    std::string name(99, 'a');
    EXPECT_EQ(qvrk_record_set_name(&r, name.data(), name.size()), 1);
    EXPECT_EQ(std::string(r.name), name);
    name.push_back('a');
    EXPECT_EQ(qvrk_record_set_name(&r, name.data(), name.size()), 0);
    for (char c : r.name)
        ASSERT_EQ(c, 0);

    // A record whose name field has no terminator reads as no name.
    uint8_t bytes[QVRK_RECORD_SIZE] = {};
    memset(bytes + 24, 'b', 100);
    QvrkEntryRecord back;
    qvrk_record_decode(bytes, &back);
    EXPECT_EQ(back.name[0], 0);
}

TEST(PayloadLayout, OnlyBareFileNamesCountAsNames) {
    struct Case {
        const char* name;
        int bare;
    } const cases[] = {
        {"intro.swf", 1}, {"a", 1},          {"...", 1},         {".hidden", 1},
        {"", 0},          {".", 0},          {"..", 0},          {"..\\boot.ini", 0},
        {"dir/a.swf", 0}, {"C:evil.exe", 0}, {"\\\\host\\x", 0}, {"a.swf:stream", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(qvrk_name_is_bare(c.name), c.bare) << c.name;
}

TEST(PayloadLayout, HeaderAndTrailerBytes) {
    uint8_t h[8], t[8];
    qvrk_write_header(h, 0x11223344u, 2636);
    const uint8_t header[8] = {0x44, 0x33, 0x22, 0x11, 0x4C, 0x0A, 0, 0};
    EXPECT_EQ(0, memcmp(h, header, 8));
    qvrk_write_trailer(t, 32768);
    const uint8_t trailer[8] = {'Q', 'V', 'R', 'K', 0, 0x80, 0, 0};
    EXPECT_EQ(0, memcmp(t, trailer, 8));
    uint32_t offset = 0;
    EXPECT_EQ(qvrk_read_trailer(t, &offset), 1);
    EXPECT_EQ(offset, 32768u);
    t[3] = 'k';
    EXPECT_EQ(qvrk_read_trailer(t, &offset), 0);
}

} // namespace
