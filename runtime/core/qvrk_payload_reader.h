/* Reading a screensaver payload: finding it through the trailer, unscrambling and inflating the
 * settings block, checking every count and index, walking the entry records and decoding one item
 * into a caller's buffer. The stub reads its own file through a read-at-offset callback;
 * scrkit-cli, the tests and the fuzzers hand over the whole file in memory. Nothing here allocates:
 * the caller provides the payload record, the entry table, the decoder's work area and the buffers.
 */
#ifndef QVRK_PAYLOAD_READER_H
#define QVRK_PAYLOAD_READER_H

#include <stddef.h>
#include <stdint.h>

#include "runtime/core/qvrk_payload_layout.h"
#include "runtime/core/qvrk_inflate.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef enum QvrkPayloadResult {
    QVRK_PAYLOAD_OK = 0,
    QVRK_PAYLOAD_NO_TRAILER,        /* the last eight bytes are not "QVRK" and an offset */
    QVRK_PAYLOAD_BAD_OFFSET,        /* payload offset 0, or no room for seed and size behind it */
    QVRK_PAYLOAD_READ_FAILED,       /* the source failed to deliver bytes inside the file */
    QVRK_PAYLOAD_BAD_SETTINGS_SIZE, /* settings_size below 1, above 2,636 or past the payload */
    QVRK_PAYLOAD_BAD_SETTINGS,      /* the settings block does not inflate to exactly 1,612 bytes */
    QVRK_PAYLOAD_BAD_COUNTS,        /* file or slot count below 1, or more than the payload holds */
    QVRK_PAYLOAD_BAD_SLOT,          /* a slot table entry outside 0 .. file_count - 1 */
    QVRK_PAYLOAD_BAD_FILE_INDEX,    /* settings-dialog or preview index at or above file_count */
    QVRK_PAYLOAD_CAPACITY,          /* the caller's table is smaller than the count */
    QVRK_PAYLOAD_BAD_ENTRY,         /* an entry record or its data runs past the payload */
    QVRK_PAYLOAD_BAD_BUFFER,        /* a buffer of the wrong size, or no item of that index */
    QVRK_PAYLOAD_BAD_ITEM_DATA      /* the item's data does not inflate to its original size */
} QvrkPayloadResult;

const char* qvrk_payload_result_text(QvrkPayloadResult result);

/* Reads exactly size bytes at offset; returns non-zero on success. */
typedef int (*QvrkReadAt)(void* context, uint64_t offset, void* buffer, uint32_t size);

/* Where the file comes from: either a callback or the whole file image in memory. */
typedef struct QvrkSource {
    QvrkReadAt read_at;    /* null for a memory image */
    void* context;         /* passed to read_at */
    const uint8_t* memory; /* the image when read_at is null */
    uint64_t size;         /* size of the whole file */
} QvrkSource;

void qvrk_source_memory(QvrkSource* source, const void* data, size_t size);
void qvrk_source_callback(QvrkSource* source, QvrkReadAt read_at, void* context, uint64_t size);

/* One file entry: its record and where its data lies. */
typedef struct QvrkEntry {
    QvrkEntryRecord record;
    uint64_t data_offset; /* absolute: right behind the record */
} QvrkEntry;

/* 1 when the entry carries a stored name that may be used as a file name in the extraction
 * folder; a name with a folder part, a drive or "." / ".." counts as no name. */
int qvrk_entry_has_name(const QvrkEntry* entry);

typedef struct QvrkPayload {
    QvrkSource source;
    uint32_t payload_offset;
    uint32_t seed;
    int32_t settings_stored_size;
    QvrkSettingsNumbers numbers; /* as stored in the block */
    /* Resolved file references: -1 for none. Negative indexes mean none; after
     * qvrk_payload_read_entries a file without data counts as none as well. */
    int32_t settings_file;
    int32_t preview_file;
    uint64_t slot_table_offset;
    uint64_t records_offset;
    uint64_t payload_end; /* offset of the trailer */
    QvrkEntry* entries;   /* the caller's table, filled by qvrk_payload_read_entries */
    uint32_t entry_count;
    uint8_t settings[QVRK_SETTINGS_SIZE]; /* the inflated settings block */
    uint8_t scratch[QVRK_SETTINGS_STORED_MAX];
} QvrkPayload;

/* Checks trailer, header, settings block, counts, slot table and file indexes. work is only used
 * during the call. On failure the payload keeps what was read so far. */
QvrkPayloadResult qvrk_payload_open(QvrkPayload* payload, const QvrkSource* source,
                                    QvrkInflater* work);
/* Walks the numbers.file_count entry records into entries (capacity at least file_count). */
QvrkPayloadResult qvrk_payload_read_entries(QvrkPayload* payload, QvrkEntry* entries,
                                            uint32_t capacity);
/* Copies the slot table (numbers.slot_count file indexes, checked by open) into slots. */
QvrkPayloadResult qvrk_payload_read_slots(const QvrkPayload* payload, int32_t* slots,
                                          uint32_t capacity);

int qvrk_payload_compressed(const QvrkPayload* payload); /* flag bit 0 */
int qvrk_payload_scrambled(const QvrkPayload* payload);  /* flag bit 1 */

/* Bytes that item index decodes to: original_size when the data is compressed, else stored_size. */
uint32_t qvrk_payload_item_size(const QvrkPayload* payload, uint32_t index);

/* 1 when item index may decode to qvrk_payload_item_size bytes: always for stored data, and for
 * compressed data only within what its stored bytes can inflate to (qvrk_inflated_size_possible).
 * Callers check this before they allocate the output; decode_item refuses such an item too. */
int qvrk_payload_item_size_possible(const QvrkPayload* payload, uint32_t index);

/* Decodes item index into out, which must be exactly qvrk_payload_item_size bytes. Compressed
 * data needs scratch of at least stored_size bytes, except from a memory image without scrambling,
 * which is inflated in place (scratch may then be null). work is needed for compressed data. */
QvrkPayloadResult qvrk_payload_decode_item(const QvrkPayload* payload, uint32_t index,
                                           QvrkInflater* work, uint8_t* out, size_t out_size,
                                           uint8_t* scratch, size_t scratch_size);

#ifdef __cplusplus
}
#endif

#endif
