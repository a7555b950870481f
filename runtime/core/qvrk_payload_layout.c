#include "runtime/core/qvrk_payload_layout.h"

static const uint16_t kTextOffset[QVRK_TEXT_COUNT] = {
    QVRK_TEXT_COMPANY_NAME_AT,    QVRK_TEXT_LONG_NAME_AT,   QVRK_TEXT_SETTINGS_MESSAGE_AT,
    QVRK_TEXT_QUALITY_CAPTION_AT, QVRK_TEXT_QUALITY_LOW_AT, QVRK_TEXT_QUALITY_MEDIUM_AT,
    QVRK_TEXT_QUALITY_HIGH_AT,    QVRK_TEXT_SOUND_AT};
static const uint16_t kTextRoom[QVRK_TEXT_COUNT] = {
    QVRK_TEXT_COMPANY_NAME_ROOM, QVRK_TEXT_LONG_NAME_ROOM, QVRK_TEXT_SETTINGS_MESSAGE_ROOM,
    QVRK_TEXT_QUALITY_ROOM,      QVRK_TEXT_QUALITY_ROOM,   QVRK_TEXT_QUALITY_ROOM,
    QVRK_TEXT_QUALITY_ROOM,      QVRK_TEXT_SOUND_ROOM};

uint32_t qvrk_settings_text_offset(QvrkSettingsText field) {
    return (unsigned)field < QVRK_TEXT_COUNT ? kTextOffset[field] : 0;
}

uint32_t qvrk_settings_text_room(QvrkSettingsText field) {
    return (unsigned)field < QVRK_TEXT_COUNT ? kTextRoom[field] : 0;
}

void qvrk_settings_put_text(uint8_t* block, QvrkSettingsText field, const uint16_t* units,
                            size_t count) {
    uint32_t room = qvrk_settings_text_room(field);
    uint8_t* p = block + qvrk_settings_text_offset(field);
    uint32_t i;
    if (room == 0)
        return;
    if (count > room - 1)
        count = room - 1;
    for (i = 0; i < room; ++i) {
        uint16_t unit = i < count ? units[i] : 0;
        p[2 * i] = (uint8_t)unit;
        p[2 * i + 1] = (uint8_t)(unit >> 8);
    }
}

static uint16_t text_unit(const uint8_t* p, size_t i) {
    return qvrk_get_u16(p + 2 * i);
}

size_t qvrk_settings_text_length(const uint8_t* block, QvrkSettingsText field) {
    uint32_t room = qvrk_settings_text_room(field);
    const uint8_t* p = block + qvrk_settings_text_offset(field);
    size_t n = 0;
    while (n + 1 < room && text_unit(p, n) != 0)
        ++n;
    return n;
}

size_t qvrk_settings_copy_text(const uint8_t* block, QvrkSettingsText field, uint16_t* out,
                               size_t capacity) {
    const uint8_t* p = block + qvrk_settings_text_offset(field);
    size_t n = qvrk_settings_text_length(block, field);
    size_t i;
    if (capacity == 0)
        return 0;
    if (n > capacity - 1)
        n = capacity - 1;
    for (i = 0; i < n; ++i)
        out[i] = text_unit(p, i);
    out[n] = 0;
    return n;
}

/* Label rows, as UTF-16 code units. */
#define L(...)                                                                                     \
    { __VA_ARGS__, 0 }
static const uint16_t kLabels[QVRK_LABELS_COUNT][5][16] = {
    /* English */
    {L('&', 'Q', 'u', 'a', 'l', 'i', 't', 'y', ':'), L('L', 'o', 'w'),
     L('M', 'e', 'd', 'i', 'u', 'm'), L('H', 'i', 'g', 'h'), L('S', 'o', 'u', 'n', 'd')},
    /* German */
    {L('&', 'Q', 'u', 'a', 'l', 'i', 't', 0xE4, 't', ':'), L('N', 'i', 'e', 'd', 'r', 'i', 'g'),
     L('M', 'i', 't', 't', 'e', 'l'), L('H', 'o', 'h', 'e'), L('T', 'o', 'n')},
    /* French */
    {L('&', 'Q', 'u', 'a', 'l', 'i', 't', 0xE9, ':'), L('F', 'a', 'i', 'b', 'l', 'e'),
     L('I', 'n', 't', 'e', 'r', 'm', 0xE9, 'd', 'i', 'a', 'i', 'r', 'e'),
     L('S', 'u', 'p', 0xE9, 'r', 'i', 'e', 'u', 'r', 'e'), L('S', 'o', 'n')},
    /* Italian */
    {L('&', 'Q', 'u', 'a', 'l', 'i', 't', 0xE0, ':'), L('B', 'a', 's', 's', 'a'),
     L('M', 'e', 'd', 'i', 'a'), L('A', 'l', 't', 'a'), L('S', 'u', 'o', 'n', 'o')},
    /* Swedish */
    {L('&', 'K', 'v', 'a', 'l', 'i', 't', 'e', 't', ':'), L('L', 0xE5, 'g'),
     L('M', 'e', 'l', 'l', 'a', 'n'), L('H', 0xF6, 'g'), L('S', 'o', 'u', 'n', 'd')},
    /* Portuguese */
    {L('&', 'Q', 'u', 'a', 'l', 'i', 'd', 'a', 'd', 'e', ':'), L('B', 'a', 'i', 'x', 'a'),
     L('M', 0xE9, 'd', 'i', 'a'), L('A', 'l', 't', 'a'), L('S', 'o', 'm')},
    /* Spanish */
    {L('&', 'C', 'a', 'l', 'i', 'd', 'a', 'd', ':'), L('B', 'a', 'j', 'a'),
     L('M', 'e', 'd', 'i', 'a'), L('A', 'l', 't', 'a'), L('S', 'o', 'n', 'i', 'd', 'o')},
    /* Polish */
    {L('&', 'J', 'a', 'k', 'o', 0x015B, 0x0107, ':'), L('N', 'i', 's', 'k', 'a'),
     L(0x015A, 'r', 'e', 'd', 'n', 'i', 'a'), L('W', 'y', 's', 'o', 'k', 'a'),
     L('D', 0x017A, 'w', 'i', 0x0119, 'k')},
};
#undef L

QvrkLabelRow qvrk_label_row_for_language(int32_t setup_language) {
    switch (setup_language) {
    case 2:
        return QVRK_LABELS_FRENCH;
    case 3:
        return QVRK_LABELS_GERMAN;
    case 4:
        return QVRK_LABELS_ITALIAN;
    case 5:
    case 6:
        return QVRK_LABELS_PORTUGUESE;
    case 7:
    case 8:
    case 9:
        return QVRK_LABELS_SPANISH;
    case 10:
    case 11:
        return QVRK_LABELS_POLISH;
    default:
        return QVRK_LABELS_ENGLISH;
    }
}

const uint16_t* qvrk_label_text(QvrkLabelRow row, QvrkSettingsText label) {
    static const uint16_t kEmpty[1] = {0};
    if ((unsigned)row >= QVRK_LABELS_COUNT || label < QVRK_TEXT_QUALITY_CAPTION ||
        label > QVRK_TEXT_SOUND)
        return kEmpty;
    return kLabels[row][label - QVRK_TEXT_QUALITY_CAPTION];
}

void qvrk_settings_put_labels(uint8_t* block, QvrkLabelRow row) {
    int label;
    for (label = QVRK_TEXT_QUALITY_CAPTION; label <= QVRK_TEXT_SOUND; ++label) {
        const uint16_t* text = qvrk_label_text(row, (QvrkSettingsText)label);
        size_t n = 0;
        while (text[n] != 0)
            ++n;
        qvrk_settings_put_text(block, (QvrkSettingsText)label, text, n);
    }
}

void qvrk_settings_clear(uint8_t* block) {
    qvrk_fill_bytes(block, 0, QVRK_SETTINGS_SIZE);
}

void qvrk_settings_get_numbers(const uint8_t* block, QvrkSettingsNumbers* numbers) {
    numbers->flags = qvrk_get_u32(block + QVRK_SET_FLAGS);
    numbers->background_color = qvrk_get_u32(block + QVRK_SET_BACKGROUND_COLOR);
    numbers->preview_color = qvrk_get_u32(block + QVRK_SET_PREVIEW_COLOR);
    numbers->file_count = qvrk_get_i32(block + QVRK_SET_FILE_COUNT);
    numbers->slot_count = qvrk_get_i32(block + QVRK_SET_SLOT_COUNT);
    numbers->settings_file = qvrk_get_i32(block + QVRK_SET_SETTINGS_FILE);
    numbers->preview_file = qvrk_get_i32(block + QVRK_SET_PREVIEW_FILE);
    numbers->reserved = qvrk_get_i32(block + QVRK_SET_RESERVED);
}

void qvrk_settings_put_numbers(uint8_t* block, const QvrkSettingsNumbers* numbers) {
    qvrk_put_u32(block + QVRK_SET_FLAGS, numbers->flags);
    qvrk_put_u32(block + QVRK_SET_BACKGROUND_COLOR, numbers->background_color);
    qvrk_put_u32(block + QVRK_SET_PREVIEW_COLOR, numbers->preview_color);
    qvrk_put_i32(block + QVRK_SET_FILE_COUNT, numbers->file_count);
    qvrk_put_i32(block + QVRK_SET_SLOT_COUNT, numbers->slot_count);
    qvrk_put_i32(block + QVRK_SET_SETTINGS_FILE, numbers->settings_file);
    qvrk_put_i32(block + QVRK_SET_PREVIEW_FILE, numbers->preview_file);
    qvrk_put_i32(block + QVRK_SET_RESERVED, numbers->reserved);
}

void qvrk_settings_scramble(uint8_t* deflated, size_t count, uint32_t seed) {
    qvrk_scramble(qvrk_settings_seed(seed), deflated, count);
}

void qvrk_record_clear(QvrkEntryRecord* record) {
    qvrk_fill_bytes(record, 0, sizeof *record);
}

int qvrk_record_set_name(QvrkEntryRecord* record, const char* name, size_t length) {
    qvrk_fill_bytes(record->name, 0, QVRK_RECORD_NAME_SIZE);
    if (length >= QVRK_RECORD_NAME_SIZE)
        return 0;
    qvrk_copy_bytes(record->name, name, length);
    return 1;
}

void qvrk_record_encode(const QvrkEntryRecord* record, uint8_t* out) {
    qvrk_put_u32(out + QVRK_REC_WIDTH, record->width);
    qvrk_put_u32(out + QVRK_REC_HEIGHT, record->height);
    qvrk_put_u32(out + QVRK_REC_STORED_SIZE, record->stored_size);
    qvrk_put_u32(out + QVRK_REC_ORIGINAL_SIZE, record->original_size);
    qvrk_put_u32(out + QVRK_REC_SIZE_MODE, record->size_mode);
    qvrk_put_u32(out + QVRK_REC_QUALITY, record->quality);
    qvrk_copy_bytes(out + QVRK_REC_NAME, record->name, QVRK_RECORD_NAME_SIZE);
}

void qvrk_record_decode(const uint8_t* in, QvrkEntryRecord* record) {
    size_t n = 0;
    record->width = qvrk_get_u32(in + QVRK_REC_WIDTH);
    record->height = qvrk_get_u32(in + QVRK_REC_HEIGHT);
    record->stored_size = qvrk_get_u32(in + QVRK_REC_STORED_SIZE);
    record->original_size = qvrk_get_u32(in + QVRK_REC_ORIGINAL_SIZE);
    record->size_mode = qvrk_get_u32(in + QVRK_REC_SIZE_MODE);
    record->quality = qvrk_get_u32(in + QVRK_REC_QUALITY);
    while (n < QVRK_RECORD_NAME_SIZE && in[QVRK_REC_NAME + n] != 0)
        ++n;
    qvrk_fill_bytes(record->name, 0, QVRK_RECORD_NAME_SIZE);
    /* A name without its terminator was not written by the builder: no name rather than a cut one.
     */
    if (n < QVRK_RECORD_NAME_SIZE)
        qvrk_copy_bytes(record->name, in + QVRK_REC_NAME, n);
}

void qvrk_record_write(const QvrkEntryRecord* record, uint32_t seed, uint32_t file_index,
                       uint8_t* out) {
    qvrk_record_encode(record, out);
    qvrk_scramble(qvrk_record_seed(seed, file_index), out, QVRK_RECORD_SIZE);
}

void qvrk_record_read(const uint8_t* in, uint32_t seed, uint32_t file_index,
                      QvrkEntryRecord* record) {
    uint8_t plain[QVRK_RECORD_SIZE];
    qvrk_copy_bytes(plain, in, QVRK_RECORD_SIZE);
    qvrk_scramble(qvrk_record_seed(seed, file_index), plain, QVRK_RECORD_SIZE);
    qvrk_record_decode(plain, record);
}

int qvrk_name_is_bare(const char* name) {
    size_t i;
    if (name[0] == 0)
        return 0;
    if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
        return 0;
    for (i = 0; name[i] != 0; ++i) {
        if (name[i] == '\\' || name[i] == '/' || name[i] == ':')
            return 0;
    }
    return 1;
}

void qvrk_write_header(uint8_t* out, uint32_t seed, int32_t settings_size) {
    qvrk_put_u32(out, seed);
    qvrk_put_i32(out + 4, settings_size);
}

void qvrk_write_trailer(uint8_t* out, uint32_t payload_offset) {
    out[0] = 'Q';
    out[1] = 'V';
    out[2] = 'R';
    out[3] = 'K';
    qvrk_put_u32(out + 4, payload_offset);
}

int qvrk_read_trailer(const uint8_t* in, uint32_t* payload_offset) {
    *payload_offset = qvrk_get_u32(in + 4);
    return in[0] == 'Q' && in[1] == 'V' && in[2] == 'R' && in[3] == 'K';
}
