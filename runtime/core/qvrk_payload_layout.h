/* Layout of a screensaver payload: the stub is followed by seed, settings size, the scrambled and
 * raw-deflated settings block, the slot table, the file entries (scrambled record + data) and the
 * trailer "QVRK" + payload offset. Every field is a little-endian offset into a byte buffer; the
 * accessors below are the one definition the builder (writing) and the runtime (reading) share. */
#ifndef QVRK_PAYLOAD_LAYOUT_H
#define QVRK_PAYLOAD_LAYOUT_H

#include <stddef.h>
#include <stdint.h>

#include "runtime/core/qvrk_keystream.h"
#include "runtime/core/qvrk_bytes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Sizes. */
#define QVRK_HEADER_SIZE 8         /* seed + settings_size, at the payload offset */
#define QVRK_SETTINGS_SIZE 1612    /* settings block before compression */
#define QVRK_SETTINGS_STORED_MIN 1 /* settings_size limits */
#define QVRK_SETTINGS_STORED_MAX 2636
#define QVRK_SLOT_SIZE 4
#define QVRK_RECORD_SIZE 124
#define QVRK_RECORD_NAME_SIZE 100 /* names of 100 characters or more are not stored */
#define QVRK_TRAILER_SIZE 8
#define QVRK_TRAILER_MAGIC "QVRK"

/* Settings block: numeric fields. */
#define QVRK_SET_FLAGS 1580
#define QVRK_SET_BACKGROUND_COLOR 1584
#define QVRK_SET_PREVIEW_COLOR 1588
#define QVRK_SET_FILE_COUNT 1592
#define QVRK_SET_SLOT_COUNT 1596
#define QVRK_SET_SETTINGS_FILE 1600
#define QVRK_SET_PREVIEW_FILE 1604
#define QVRK_SET_RESERVED 1608

/* Entry record fields. */
#define QVRK_REC_WIDTH 0
#define QVRK_REC_HEIGHT 4
#define QVRK_REC_STORED_SIZE 8
#define QVRK_REC_ORIGINAL_SIZE 12
#define QVRK_REC_SIZE_MODE 16
#define QVRK_REC_QUALITY 20
#define QVRK_REC_NAME 24

/* flags */
#define QVRK_FLAG_COMPRESSED 0x001u           /* compress_movies */
#define QVRK_FLAG_SCRAMBLED 0x002u            /* scramble_movies */
#define QVRK_FLAG_WAKE_LEFT_CLICK 0x004u      /* wake_on_left_click */
#define QVRK_FLAG_WAKE_RIGHT_CLICK 0x008u     /* wake_on_right_click */
#define QVRK_FLAG_WAKE_MOUSE_MOVE 0x010u      /* wake_on_mouse_move */
#define QVRK_FLAG_WAKE_KEY 0x020u             /* wake_on_key */
#define QVRK_FLAG_HIDE_CURSOR 0x040u          /* hide_cursor */
#define QVRK_FLAG_MUTE_SOUND 0x080u           /* mute_sound */
#define QVRK_FLAG_USER_CAN_MUTE 0x100u        /* user_can_mute */
#define QVRK_FLAG_USER_CAN_SET_QUALITY 0x200u /* user_can_set_quality */
#define QVRK_FLAGS_DEFINED 0x3FFu

/* Settings block: the UTF-16LE texts, byte offset and room in code units (zero included). */
#define QVRK_TEXT_COMPANY_NAME_AT 0
#define QVRK_TEXT_COMPANY_NAME_ROOM 101
#define QVRK_TEXT_LONG_NAME_AT 202
#define QVRK_TEXT_LONG_NAME_ROOM 101
#define QVRK_TEXT_SETTINGS_MESSAGE_AT 404
#define QVRK_TEXT_SETTINGS_MESSAGE_ROOM 513
#define QVRK_TEXT_QUALITY_CAPTION_AT 1430
#define QVRK_TEXT_QUALITY_LOW_AT 1462
#define QVRK_TEXT_QUALITY_MEDIUM_AT 1494
#define QVRK_TEXT_QUALITY_HIGH_AT 1526
#define QVRK_TEXT_QUALITY_ROOM 16 /* caption and the three names */
#define QVRK_TEXT_SOUND_AT 1558
#define QVRK_TEXT_SOUND_ROOM 11

/* Compile-time checks that the fields above tile the block and the record without gaps or
 * overlaps. C99 has no static assertion: a negative array size stops the build there. */
#if defined(__cplusplus) && __cplusplus >= 201103L
#define QVRK_STATIC_ASSERT(condition, name) static_assert(condition, #name)
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define QVRK_STATIC_ASSERT(condition, name) _Static_assert(condition, #name)
#else
#define QVRK_STATIC_ASSERT(condition, name) typedef char qvrk_assert_##name[(condition) ? 1 : -1]
#endif

#define QVRK_TEXT_END(field, room) (QVRK_TEXT_##field##_AT + 2 * (room))
QVRK_STATIC_ASSERT(QVRK_TEXT_COMPANY_NAME_AT == 0, company_name_first);
QVRK_STATIC_ASSERT(QVRK_TEXT_END(COMPANY_NAME, QVRK_TEXT_COMPANY_NAME_ROOM) ==
                       QVRK_TEXT_LONG_NAME_AT,
                   long_name_follows);
QVRK_STATIC_ASSERT(QVRK_TEXT_END(LONG_NAME, QVRK_TEXT_LONG_NAME_ROOM) ==
                       QVRK_TEXT_SETTINGS_MESSAGE_AT,
                   settings_message_follows);
QVRK_STATIC_ASSERT(QVRK_TEXT_END(SETTINGS_MESSAGE, QVRK_TEXT_SETTINGS_MESSAGE_ROOM) ==
                       QVRK_TEXT_QUALITY_CAPTION_AT,
                   quality_caption_follows);
QVRK_STATIC_ASSERT(QVRK_TEXT_END(QUALITY_CAPTION, QVRK_TEXT_QUALITY_ROOM) ==
                       QVRK_TEXT_QUALITY_LOW_AT,
                   quality_low_follows);
QVRK_STATIC_ASSERT(QVRK_TEXT_END(QUALITY_LOW, QVRK_TEXT_QUALITY_ROOM) ==
                       QVRK_TEXT_QUALITY_MEDIUM_AT,
                   quality_medium_follows);
QVRK_STATIC_ASSERT(QVRK_TEXT_END(QUALITY_MEDIUM, QVRK_TEXT_QUALITY_ROOM) ==
                       QVRK_TEXT_QUALITY_HIGH_AT,
                   quality_high_follows);
QVRK_STATIC_ASSERT(QVRK_TEXT_END(QUALITY_HIGH, QVRK_TEXT_QUALITY_ROOM) == QVRK_TEXT_SOUND_AT,
                   sound_follows);
QVRK_STATIC_ASSERT(QVRK_TEXT_END(SOUND, QVRK_TEXT_SOUND_ROOM) == QVRK_SET_FLAGS, flags_follow);
QVRK_STATIC_ASSERT(QVRK_SET_BACKGROUND_COLOR == QVRK_SET_FLAGS + 4, background_follows);
QVRK_STATIC_ASSERT(QVRK_SET_PREVIEW_COLOR == QVRK_SET_BACKGROUND_COLOR + 4, preview_follows);
QVRK_STATIC_ASSERT(QVRK_SET_FILE_COUNT == QVRK_SET_PREVIEW_COLOR + 4, file_count_follows);
QVRK_STATIC_ASSERT(QVRK_SET_SLOT_COUNT == QVRK_SET_FILE_COUNT + 4, slot_count_follows);
QVRK_STATIC_ASSERT(QVRK_SET_SETTINGS_FILE == QVRK_SET_SLOT_COUNT + 4, settings_file_follows);
QVRK_STATIC_ASSERT(QVRK_SET_PREVIEW_FILE == QVRK_SET_SETTINGS_FILE + 4, preview_file_follows);
QVRK_STATIC_ASSERT(QVRK_SET_RESERVED == QVRK_SET_PREVIEW_FILE + 4, reserved_follows);
QVRK_STATIC_ASSERT(QVRK_SETTINGS_SIZE == QVRK_SET_RESERVED + 4, settings_block_size);
QVRK_STATIC_ASSERT(QVRK_REC_WIDTH == 0, record_width_first);
QVRK_STATIC_ASSERT(QVRK_REC_HEIGHT == QVRK_REC_WIDTH + 4, record_height_follows);
QVRK_STATIC_ASSERT(QVRK_REC_STORED_SIZE == QVRK_REC_HEIGHT + 4, record_stored_size_follows);
QVRK_STATIC_ASSERT(QVRK_REC_ORIGINAL_SIZE == QVRK_REC_STORED_SIZE + 4, record_original_follows);
QVRK_STATIC_ASSERT(QVRK_REC_SIZE_MODE == QVRK_REC_ORIGINAL_SIZE + 4, record_size_mode_follows);
QVRK_STATIC_ASSERT(QVRK_REC_QUALITY == QVRK_REC_SIZE_MODE + 4, record_quality_follows);
QVRK_STATIC_ASSERT(QVRK_REC_NAME == QVRK_REC_QUALITY + 4, record_name_follows);
QVRK_STATIC_ASSERT(QVRK_RECORD_SIZE == QVRK_REC_NAME + QVRK_RECORD_NAME_SIZE, record_size);
QVRK_STATIC_ASSERT(QVRK_HEADER_SIZE == 8 && QVRK_TRAILER_SIZE == 8 && QVRK_SLOT_SIZE == 4,
                   header_trailer_slot_sizes);

/* The eight UTF-16LE texts of the settings block. */
typedef enum QvrkSettingsText {
    QVRK_TEXT_COMPANY_NAME = 0, /* company_name, 101 code units at 0 */
    QVRK_TEXT_LONG_NAME,        /* long_name, 101 at 202 */
    QVRK_TEXT_SETTINGS_MESSAGE, /* settings_message, 513 at 404 */
    QVRK_TEXT_QUALITY_CAPTION,  /* label, 16 at 1430 */
    QVRK_TEXT_QUALITY_LOW,      /* label, 16 at 1462 */
    QVRK_TEXT_QUALITY_MEDIUM,   /* label, 16 at 1494 */
    QVRK_TEXT_QUALITY_HIGH,     /* label, 16 at 1526 */
    QVRK_TEXT_SOUND,            /* label, 11 at 1558 */
    QVRK_TEXT_COUNT
} QvrkSettingsText;

/* Byte offset and room (code units, terminating zero included) of a text field. */
uint32_t qvrk_settings_text_offset(QvrkSettingsText field);
uint32_t qvrk_settings_text_room(QvrkSettingsText field);

/* Writes a text cut to its room less one unit and zero-fills the rest of the field. */
void qvrk_settings_put_text(uint8_t* block, QvrkSettingsText field, const uint16_t* units,
                            size_t count);
/* Length of a stored text: up to its first zero, at most room - 1 (the last unit always counts as
 * the terminator, whatever the file holds). */
size_t qvrk_settings_text_length(const uint8_t* block, QvrkSettingsText field);
/* Copies a stored text into out (capacity in units, at least 1) with a terminating zero, cut to
 * fit; returns the number of units copied. */
size_t qvrk_settings_copy_text(const uint8_t* block, QvrkSettingsText field, uint16_t* out,
                               size_t capacity);

/* The label rows of the screensaver's own settings dialog. */
typedef enum QvrkLabelRow {
    QVRK_LABELS_ENGLISH = 0,
    QVRK_LABELS_GERMAN,
    QVRK_LABELS_FRENCH,
    QVRK_LABELS_ITALIAN,
    QVRK_LABELS_SWEDISH, /* never chosen by the builder */
    QVRK_LABELS_PORTUGUESE,
    QVRK_LABELS_SPANISH,
    QVRK_LABELS_POLISH,
    QVRK_LABELS_COUNT
} QvrkLabelRow;

/* setup_language 2 French; 3 German; 4 Italian; 5, 6 Portuguese; 7, 8, 9 Spanish; 10, 11 Polish;
 * anything else English. */
QvrkLabelRow qvrk_label_row_for_language(int32_t setup_language);
/* Zero-terminated UTF-16 label; label is one of QVRK_TEXT_QUALITY_CAPTION .. QVRK_TEXT_SOUND.
 * Returns an empty text for anything else. */
const uint16_t* qvrk_label_text(QvrkLabelRow row, QvrkSettingsText label);
/* Writes the five labels of a row into the block. */
void qvrk_settings_put_labels(uint8_t* block, QvrkLabelRow row);

/* The numeric fields of the settings block. */
typedef struct QvrkSettingsNumbers {
    uint32_t flags;
    uint32_t background_color; /* red in the low byte, top byte 0 */
    uint32_t preview_color;    /* 0 unless preview_mode is 0 */
    int32_t file_count;
    int32_t slot_count;
    int32_t settings_file; /* file index or -1 */
    int32_t preview_file;  /* file index or -1 */
    int32_t reserved;      /* always -1 */
} QvrkSettingsNumbers;

void qvrk_settings_clear(uint8_t* block); /* all QVRK_SETTINGS_SIZE bytes zero */
void qvrk_settings_get_numbers(const uint8_t* block, QvrkSettingsNumbers* numbers);
void qvrk_settings_put_numbers(uint8_t* block, const QvrkSettingsNumbers* numbers);

/* Scrambles (or unscrambles) the deflated settings bytes with the settings keystream. */
void qvrk_settings_scramble(uint8_t* deflated, size_t count, uint32_t seed);

/* An entry record as plain values; encode/decode convert to and from the 124 bytes. */
typedef struct QvrkEntryRecord {
    uint32_t width;
    uint32_t height;
    uint32_t stored_size;
    uint32_t original_size;
    uint32_t size_mode;
    uint32_t quality;
    char name[QVRK_RECORD_NAME_SIZE]; /* zero-terminated, all zero when none */
} QvrkEntryRecord;

void qvrk_record_clear(QvrkEntryRecord* record);
/* Stores name (length bytes, without folder) when it is shorter than 100 characters; otherwise the
 * name stays all zero. Returns 1 when the name was stored. */
int qvrk_record_set_name(QvrkEntryRecord* record, const char* name, size_t length);
void qvrk_record_encode(const QvrkEntryRecord* record, uint8_t* out);
/* The name comes out zero-terminated; a field without a zero in its 100 bytes reads as no name. */
void qvrk_record_decode(const uint8_t* in, QvrkEntryRecord* record);
/* encode + scramble with the record keystream of file file_index. */
void qvrk_record_write(const QvrkEntryRecord* record, uint32_t seed, uint32_t file_index,
                       uint8_t* out);
/* unscramble a copy + decode; in is left as it is. */
void qvrk_record_read(const uint8_t* in, uint32_t seed, uint32_t file_index,
                      QvrkEntryRecord* record);

/* 1 when name is a plain file name that may be written into the extraction folder: not empty,
 * not "." or "..", and without '\\', '/' or ':'. Anything else counts as no name. */
int qvrk_name_is_bare(const char* name);

/* Header (seed, settings_size) and trailer ("QVRK", payload offset), 8 bytes each. */
void qvrk_write_header(uint8_t* out, uint32_t seed, int32_t settings_size);
void qvrk_write_trailer(uint8_t* out, uint32_t payload_offset);
/* 1 when the 8 bytes start with the magic; the offset is returned as stored. */
int qvrk_read_trailer(const uint8_t* in, uint32_t* payload_offset);

#ifdef __cplusplus
}
#endif

#endif
