#include "builder/engine/fc_payload_writer.h"

#include <cstring>

#include <zlib.h>

#include "media/base/kz_memory.h"
#include "media/base/kz_text.h"

namespace {

// Converts an ANSI text to UTF-16 and stores it cut to its room.
bool PutText(uint8_t* block, QvrkSettingsText field, const KZString& text) {
    if (text.IsEmpty()) {
        qvrk_settings_put_text(block, field, nullptr, 0);
        return true;
    }
    int length = 0;
    char16_t* units = AnsiToUtf16Alloc(text, &length);
    if (units == nullptr)
        return false;
    size_t count = static_cast<size_t>(length);
    size_t room = qvrk_settings_text_room(field) - 1;
    if (count > room) {
        count = room;
        // A lead surrogate without its partner is not a character.
        if (units[count - 1] >= 0xD800 && units[count - 1] <= 0xDBFF)
            --count;
    }
    static_assert(sizeof(char16_t) == sizeof(uint16_t), "UTF-16 unit size");
    qvrk_settings_put_text(block, field, reinterpret_cast<const uint16_t*>(units), count);
    KZFree(units);
    return true;
}

} // namespace

bool FCTextFitsItsRoom(QvrkSettingsText field, const KZString& text, int* room) {
    *room = int(qvrk_settings_text_room(field) - 1);
    if (text.IsEmpty())
        return true;
    int length = 0;
    char16_t* units = AnsiToUtf16Alloc(text, &length);
    KZFree(units);
    return units == nullptr || length <= *room;
}

uint32_t FCPayloadFlags(const FCDocumentFields& d) {
    uint32_t flags = 0;
    if (d.compress_movies)
        flags |= QVRK_FLAG_COMPRESSED;
    if (d.scramble_movies)
        flags |= QVRK_FLAG_SCRAMBLED;
    if (d.wake_on_left_click)
        flags |= QVRK_FLAG_WAKE_LEFT_CLICK;
    if (d.wake_on_right_click)
        flags |= QVRK_FLAG_WAKE_RIGHT_CLICK;
    if (d.wake_on_mouse_move)
        flags |= QVRK_FLAG_WAKE_MOUSE_MOVE;
    if (d.wake_on_key)
        flags |= QVRK_FLAG_WAKE_KEY;
    if (d.hide_cursor)
        flags |= QVRK_FLAG_HIDE_CURSOR;
    if (d.mute_sound)
        flags |= QVRK_FLAG_MUTE_SOUND;
    if (d.user_can_mute)
        flags |= QVRK_FLAG_USER_CAN_MUTE;
    if (d.user_can_set_quality)
        flags |= QVRK_FLAG_USER_CAN_SET_QUALITY;
    return flags;
}

bool FCFillSettingsBlock(const FCDocumentFields& d, const FCPayloadFiles& files, uint8_t* block) {
    qvrk_settings_clear(block);
    if (!PutText(block, QVRK_TEXT_COMPANY_NAME, d.company_name) ||
        !PutText(block, QVRK_TEXT_LONG_NAME, d.long_name) ||
        !PutText(block, QVRK_TEXT_SETTINGS_MESSAGE, d.settings_message)) {
        qvrk_settings_clear(block);
        return false;
    }
    qvrk_settings_put_labels(block, qvrk_label_row_for_language(d.setup_language));

    QvrkSettingsNumbers numbers;
    numbers.flags = FCPayloadFlags(d);
    numbers.background_color = FCColorToColorRef(d.background_color);
    numbers.preview_color = d.preview_mode == 0 ? FCColorToColorRef(d.preview_color) : 0;
    numbers.file_count = files.file_count;
    numbers.slot_count = files.slot_count;
    numbers.settings_file = files.settings_file;
    numbers.preview_file = files.preview_file;
    numbers.reserved = -1;
    qvrk_settings_put_numbers(block, &numbers);
    return true;
}

int FCRawDeflate(const uint8_t* in, int in_size, uint8_t* out, int out_capacity) {
    z_stream zs;
    std::memset(&zs, 0, sizeof zs);
    if (deflateInit2(&zs, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return -1;
    zs.next_in = const_cast<Bytef*>(in);
    zs.avail_in = static_cast<uInt>(in_size);
    zs.next_out = out;
    zs.avail_out = static_cast<uInt>(out_capacity);
    int rc = deflate(&zs, Z_FINISH);
    int produced = static_cast<int>(zs.total_out);
    deflateEnd(&zs);
    return rc == Z_STREAM_END ? produced : -1;
}

int FCPackSettingsBlock(const uint8_t* block, uint32_t seed, uint8_t* out) {
    int produced = FCRawDeflate(block, QVRK_SETTINGS_SIZE, out, QVRK_SETTINGS_STORED_MAX);
    if (produced < QVRK_SETTINGS_STORED_MIN)
        return 0;
    qvrk_settings_scramble(out, static_cast<size_t>(produced), seed);
    return produced;
}

bool FCWritePayloadHeader(KZStream& out, uint32_t seed, const uint8_t* packed, int packed_size) {
    if (packed_size < QVRK_SETTINGS_STORED_MIN || packed_size > QVRK_SETTINGS_STORED_MAX)
        return false;
    uint8_t header[QVRK_HEADER_SIZE];
    qvrk_write_header(header, seed, packed_size);
    return out.WriteBlock(header, QVRK_HEADER_SIZE) && out.WriteBlock(packed, packed_size);
}

bool FCWriteSlotTable(KZStream& out, const int32_t* slots, int slot_count) {
    for (int i = 0; i < slot_count; ++i)
        if (!out.PutU32(static_cast<uint32_t>(slots[i])))
            return false;
    return true;
}

QvrkEntryRecord FCMakeEntryRecord(const FCDocumentFields& d, uint32_t width, uint32_t height,
                                  uint32_t stored_size, uint32_t original_size,
                                  const char* slot_name) {
    QvrkEntryRecord record;
    qvrk_record_clear(&record);
    record.width = width;
    record.height = height;
    record.stored_size = stored_size;
    record.original_size = original_size;
    record.size_mode = (d.size_mode >= 0 && d.size_mode <= 3) ? uint32_t(d.size_mode) : 0u;
    record.quality = (d.quality >= 0 && d.quality <= 2) ? uint32_t(d.quality) : 0u;
    if (slot_name != nullptr)
        qvrk_record_set_name(&record, slot_name, std::strlen(slot_name));
    return record;
}

bool FCWriteEntry(KZStream& out, uint32_t seed, uint32_t file_index, const QvrkEntryRecord& record,
                  const uint8_t* stored, uint32_t stored_size) {
    uint8_t bytes[QVRK_RECORD_SIZE];
    qvrk_record_write(&record, seed, file_index, bytes);
    if (!out.WriteBlock(bytes, QVRK_RECORD_SIZE))
        return false;
    // WriteBlock takes an int: pass large files in pieces.
    while (stored_size > 0) {
        int piece = stored_size > 0x40000000u ? 0x40000000 : static_cast<int>(stored_size);
        if (!out.WriteBlock(stored, piece))
            return false;
        stored += piece;
        stored_size -= static_cast<uint32_t>(piece);
    }
    return true;
}

bool FCWriteTrailer(KZStream& out, uint32_t payload_offset) {
    uint8_t trailer[QVRK_TRAILER_SIZE];
    qvrk_write_trailer(trailer, payload_offset);
    return out.WriteBlock(trailer, QVRK_TRAILER_SIZE);
}
