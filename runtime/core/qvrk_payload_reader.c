#include "runtime/core/qvrk_payload_reader.h"

void qvrk_source_memory(QvrkSource* source, const void* data, size_t size) {
    source->read_at = 0;
    source->context = 0;
    source->memory = (const uint8_t*)data;
    source->size = size;
}

void qvrk_source_callback(QvrkSource* source, QvrkReadAt read_at, void* context, uint64_t size) {
    source->read_at = read_at;
    source->context = context;
    source->memory = 0;
    source->size = size;
}

/* Every read is bounds-checked against the file size here, so a callback never sees an offset
 * outside the file and a memory image is never read past its end. */
static int source_read(const QvrkSource* source, uint64_t offset, void* buffer, uint32_t size) {
    if (offset > source->size || size > source->size - offset)
        return 0;
    if (size == 0)
        return 1;
    if (source->read_at == 0) {
        if (source->memory == 0)
            return 0;
        qvrk_copy_bytes(buffer, source->memory + offset, size);
        return 1;
    }
    return source->read_at(source->context, offset, buffer, size) != 0;
}

int qvrk_entry_has_name(const QvrkEntry* entry) {
    return qvrk_name_is_bare(entry->record.name);
}

QvrkPayloadResult qvrk_payload_open(QvrkPayload* payload, const QvrkSource* source,
                                    QvrkInflater* work) {
    uint8_t bytes[QVRK_TRAILER_SIZE];
    uint64_t trailer, settings_end, slots_end;
    int32_t i;
    QvrkInflateResult inflated;

    payload->source = *source;
    payload->payload_offset = 0;
    payload->seed = 0;
    payload->settings_stored_size = 0;
    qvrk_fill_bytes(&payload->numbers, 0, sizeof payload->numbers);
    payload->settings_file = -1;
    payload->preview_file = -1;
    payload->slot_table_offset = 0;
    payload->records_offset = 0;
    payload->payload_end = 0;
    payload->entries = 0;
    payload->entry_count = 0;
    qvrk_settings_clear(payload->settings);

    /* 1. Trailer: "QVRK" and an offset that leaves room for seed and settings size. */
    if (source->size < QVRK_TRAILER_SIZE)
        return QVRK_PAYLOAD_NO_TRAILER;
    trailer = source->size - QVRK_TRAILER_SIZE;
    if (!source_read(source, trailer, bytes, QVRK_TRAILER_SIZE))
        return QVRK_PAYLOAD_READ_FAILED;
    if (!qvrk_read_trailer(bytes, &payload->payload_offset))
        return QVRK_PAYLOAD_NO_TRAILER;
    if (payload->payload_offset == 0 || payload->payload_offset > trailer ||
        trailer - payload->payload_offset < QVRK_HEADER_SIZE)
        return QVRK_PAYLOAD_BAD_OFFSET;
    payload->payload_end = trailer;

    /* 2. Seed and settings size. */
    if (!source_read(source, payload->payload_offset, bytes, QVRK_HEADER_SIZE))
        return QVRK_PAYLOAD_READ_FAILED;
    payload->seed = qvrk_get_u32(bytes);
    payload->settings_stored_size = qvrk_get_i32(bytes + 4);
    if (payload->settings_stored_size < QVRK_SETTINGS_STORED_MIN ||
        payload->settings_stored_size > QVRK_SETTINGS_STORED_MAX)
        return QVRK_PAYLOAD_BAD_SETTINGS_SIZE;
    settings_end =
        (uint64_t)payload->payload_offset + QVRK_HEADER_SIZE + payload->settings_stored_size;
    if (settings_end > trailer)
        return QVRK_PAYLOAD_BAD_SETTINGS_SIZE;

    /* 3. Unscramble and inflate to exactly 1,612 bytes. */
    if (!source_read(source, payload->payload_offset + QVRK_HEADER_SIZE, payload->scratch,
                     (uint32_t)payload->settings_stored_size))
        return QVRK_PAYLOAD_READ_FAILED;
    qvrk_settings_scramble(payload->scratch, (size_t)payload->settings_stored_size, payload->seed);
    inflated = qvrk_inflate(work, payload->scratch, (size_t)payload->settings_stored_size,
                            payload->settings, QVRK_SETTINGS_SIZE, 0);
    if (inflated != QVRK_INFLATE_OK) {
        qvrk_settings_clear(payload->settings);
        return QVRK_PAYLOAD_BAD_SETTINGS;
    }
    qvrk_settings_get_numbers(payload->settings, &payload->numbers);

    /* 4. Counts, slot table and file indexes. The counts must also fit in what is left of the
     * payload, so that a caller can size its tables from them without trusting the file. */
    if (payload->numbers.file_count < 1 || payload->numbers.slot_count < 1)
        return QVRK_PAYLOAD_BAD_COUNTS;
    payload->slot_table_offset = settings_end;
    slots_end = settings_end + (uint64_t)payload->numbers.slot_count * QVRK_SLOT_SIZE;
    if (slots_end > trailer ||
        (uint64_t)payload->numbers.file_count * QVRK_RECORD_SIZE > trailer - slots_end)
        return QVRK_PAYLOAD_BAD_COUNTS;
    payload->records_offset = slots_end;
    for (i = 0; i < payload->numbers.slot_count; ++i) {
        int32_t slot;
        if (!source_read(source, settings_end + (uint64_t)i * QVRK_SLOT_SIZE, bytes,
                         QVRK_SLOT_SIZE))
            return QVRK_PAYLOAD_READ_FAILED;
        slot = qvrk_get_i32(bytes);
        /* Every slot must name a file: a negative slot would be a reference to nothing. */
        if (slot < 0 || slot >= payload->numbers.file_count)
            return QVRK_PAYLOAD_BAD_SLOT;
    }
    if (payload->numbers.settings_file >= payload->numbers.file_count ||
        payload->numbers.preview_file >= payload->numbers.file_count)
        return QVRK_PAYLOAD_BAD_FILE_INDEX;
    payload->settings_file =
        payload->numbers.settings_file < 0 ? -1 : payload->numbers.settings_file;
    payload->preview_file = payload->numbers.preview_file < 0 ? -1 : payload->numbers.preview_file;
    return QVRK_PAYLOAD_OK;
}

QvrkPayloadResult qvrk_payload_read_entries(QvrkPayload* payload, QvrkEntry* entries,
                                            uint32_t capacity) {
    uint8_t record[QVRK_RECORD_SIZE];
    uint64_t position = payload->records_offset;
    uint32_t count, i;

    payload->entries = 0;
    payload->entry_count = 0;
    if (payload->numbers.file_count < 1 || payload->records_offset == 0)
        return QVRK_PAYLOAD_BAD_COUNTS;
    count = (uint32_t)payload->numbers.file_count;
    if (capacity < count)
        return QVRK_PAYLOAD_CAPACITY;
    for (i = 0; i < count; ++i) {
        QvrkEntry* entry = &entries[i];
        if (payload->payload_end - position < QVRK_RECORD_SIZE)
            return QVRK_PAYLOAD_BAD_ENTRY;
        if (!source_read(&payload->source, position, record, QVRK_RECORD_SIZE))
            return QVRK_PAYLOAD_READ_FAILED;
        qvrk_record_read(record, payload->seed, i, &entry->record);
        position += QVRK_RECORD_SIZE;
        entry->data_offset = position;
        /* Data past the trailer means a damaged file; refusing it here keeps every later read of
         * an item inside the file. */
        if (entry->record.stored_size > payload->payload_end - position)
            return QVRK_PAYLOAD_BAD_ENTRY;
        position += entry->record.stored_size;
    }
    payload->entries = entries;
    payload->entry_count = count;

    /* A settings-dialog or preview file without data counts as none. */
    if (payload->settings_file >= 0 && entries[payload->settings_file].record.stored_size < 1)
        payload->settings_file = -1;
    if (payload->preview_file >= 0 && entries[payload->preview_file].record.stored_size < 1)
        payload->preview_file = -1;
    return QVRK_PAYLOAD_OK;
}

QvrkPayloadResult qvrk_payload_read_slots(const QvrkPayload* payload, int32_t* slots,
                                          uint32_t capacity) {
    uint8_t bytes[QVRK_SLOT_SIZE];
    uint32_t i, count;
    if (payload->numbers.slot_count < 1 || payload->slot_table_offset == 0)
        return QVRK_PAYLOAD_BAD_COUNTS;
    count = (uint32_t)payload->numbers.slot_count;
    if (capacity < count)
        return QVRK_PAYLOAD_CAPACITY;
    for (i = 0; i < count; ++i) {
        if (!source_read(&payload->source,
                         payload->slot_table_offset + (uint64_t)i * QVRK_SLOT_SIZE, bytes,
                         QVRK_SLOT_SIZE))
            return QVRK_PAYLOAD_READ_FAILED;
        slots[i] = qvrk_get_i32(bytes);
        /* Checked by open already; checked again in case the source changed since. */
        if (slots[i] < 0 || slots[i] >= payload->numbers.file_count)
            return QVRK_PAYLOAD_BAD_SLOT;
    }
    return QVRK_PAYLOAD_OK;
}

int qvrk_payload_compressed(const QvrkPayload* payload) {
    return (payload->numbers.flags & QVRK_FLAG_COMPRESSED) != 0;
}

int qvrk_payload_scrambled(const QvrkPayload* payload) {
    return (payload->numbers.flags & QVRK_FLAG_SCRAMBLED) != 0;
}

uint32_t qvrk_payload_item_size(const QvrkPayload* payload, uint32_t index) {
    const QvrkEntryRecord* record;
    if (payload->entries == 0 || index >= payload->entry_count)
        return 0;
    record = &payload->entries[index].record;
    return qvrk_payload_compressed(payload) ? record->original_size : record->stored_size;
}

int qvrk_payload_item_size_possible(const QvrkPayload* payload, uint32_t index) {
    const QvrkEntryRecord* record;
    if (payload->entries == 0 || index >= payload->entry_count)
        return 0;
    record = &payload->entries[index].record;
    return !qvrk_payload_compressed(payload) ||
           qvrk_inflated_size_possible(record->stored_size, record->original_size);
}

QvrkPayloadResult qvrk_payload_decode_item(const QvrkPayload* payload, uint32_t index,
                                           QvrkInflater* work, uint8_t* out, size_t out_size,
                                           uint8_t* scratch, size_t scratch_size) {
    const QvrkEntry* entry;
    uint32_t stored;
    const uint8_t* input;

    if (payload->entries == 0 || index >= payload->entry_count)
        return QVRK_PAYLOAD_BAD_BUFFER;
    entry = &payload->entries[index];
    stored = entry->record.stored_size;
    if (out_size != qvrk_payload_item_size(payload, index) || (out == 0 && out_size != 0))
        return QVRK_PAYLOAD_BAD_BUFFER;

    if (!qvrk_payload_compressed(payload)) {
        if (!source_read(&payload->source, entry->data_offset, out, stored))
            return QVRK_PAYLOAD_READ_FAILED;
        if (qvrk_payload_scrambled(payload))
            qvrk_scramble(qvrk_data_seed(payload->seed), out, stored);
        return QVRK_PAYLOAD_OK;
    }

    if (work == 0)
        return QVRK_PAYLOAD_BAD_BUFFER;
    if (!qvrk_inflated_size_possible(stored, entry->record.original_size))
        return QVRK_PAYLOAD_BAD_ITEM_DATA;
    if (payload->source.read_at == 0 && payload->source.memory != 0 &&
        !qvrk_payload_scrambled(payload)) {
        /* Offsets were checked against the file size when the entries were read. */
        input = payload->source.memory + entry->data_offset;
    } else {
        if (scratch == 0 || scratch_size < stored)
            return QVRK_PAYLOAD_BAD_BUFFER;
        if (!source_read(&payload->source, entry->data_offset, scratch, stored))
            return QVRK_PAYLOAD_READ_FAILED;
        if (qvrk_payload_scrambled(payload))
            qvrk_scramble(qvrk_data_seed(payload->seed), scratch, stored);
        input = scratch;
    }
    if (qvrk_inflate(work, input, stored, out, out_size, 0) != QVRK_INFLATE_OK)
        return QVRK_PAYLOAD_BAD_ITEM_DATA;
    return QVRK_PAYLOAD_OK;
}

const char* qvrk_payload_result_text(QvrkPayloadResult result) {
    switch (result) {
    case QVRK_PAYLOAD_OK:
        return "ok";
    case QVRK_PAYLOAD_NO_TRAILER:
        return "no payload trailer";
    case QVRK_PAYLOAD_BAD_OFFSET:
        return "payload offset outside the file";
    case QVRK_PAYLOAD_READ_FAILED:
        return "read failed";
    case QVRK_PAYLOAD_BAD_SETTINGS_SIZE:
        return "invalid settings size";
    case QVRK_PAYLOAD_BAD_SETTINGS:
        return "settings block does not decode to 1612 bytes";
    case QVRK_PAYLOAD_BAD_COUNTS:
        return "invalid file or slot count";
    case QVRK_PAYLOAD_BAD_SLOT:
        return "slot refers to no file";
    case QVRK_PAYLOAD_BAD_FILE_INDEX:
        return "settings-dialog or preview index refers to no file";
    case QVRK_PAYLOAD_CAPACITY:
        return "table too small";
    case QVRK_PAYLOAD_BAD_ENTRY:
        return "entry runs past the end of the payload";
    case QVRK_PAYLOAD_BAD_BUFFER:
        return "wrong buffer or item";
    case QVRK_PAYLOAD_BAD_ITEM_DATA:
        return "item data does not decode to its original size";
    }
    return "unknown";
}
