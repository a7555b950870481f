#include "runtime/payload_loader.h"

#include "runtime/core/qvrk_payload_layout.h"
#include "runtime/core/qvrk_payload_reader.h"
#include "runtime/core/qvrk_inflate.h"
#include "runtime/runtime_heap.h"

namespace {

const DWORD kCopyChunk = 12000;

bool ReadExact(HANDLE file, void* buffer, DWORD count) {
    DWORD done = 0;
    return ReadFile(file, buffer, count, &done, nullptr) && done == count;
}

bool SeekTo(HANDLE file, DWORD position) {
    return SetFilePointer(file, (LONG)position, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
}

// Appends text at out[length], never past capacity - 1; returns the new length.
// The decoder's work area is too big for the stub's stack, so it comes from the heap.
bool InflateExact(const uint8_t* in, size_t in_size, uint8_t* out, size_t out_size) {
    QvrkInflater* work = (QvrkInflater*)HeapAllocate(sizeof(QvrkInflater));
    bool ok = work && qvrk_inflate(work, in, in_size, out, out_size, nullptr) == QVRK_INFLATE_OK;
    HeapRelease(work);
    return ok;
}

int AppendText(char* out, int length, int capacity, const char* text) {
    while (*text && length < capacity - 1)
        out[length++] = *text++;
    out[length] = 0;
    return length;
}

int AppendNumber(char* out, int length, int capacity, uint32_t value) {
    char digits[12];
    int count = 0;
    do {
        digits[count++] = (char)('0' + value % 10);
        value /= 10;
    } while (value);
    char text[12];
    for (int i = 0; i < count; ++i)
        text[i] = digits[count - 1 - i];
    text[count] = 0;
    return AppendText(out, length, capacity, text);
}

// A settings text in the ANSI code page, cut to the field.
void CopySettingsText(const uint8_t* block, QvrkSettingsText field, char* out, int capacity) {
    uint16_t units[520];
    qvrk_settings_copy_text(block, field, units, sizeof(units) / sizeof(units[0]));
    char wide_enough[520 * 2 + 1];
    int length = WideCharToMultiByte(CP_ACP, 0, (LPCWSTR)units, -1, wide_enough,
                                     sizeof(wide_enough), nullptr, nullptr);
    if (length <= 0)
        wide_enough[0] = 0;
    out[0] = 0;
    AppendText(out, 0, capacity, wide_enough);
}

// The texts, colours and flags of an inflated settings block.
void ApplySettings(RuntimeConfig* config, const uint8_t* block,
                   const QvrkSettingsNumbers* numbers) {
    uint32_t flags = numbers->flags;
    config->data_compressed = (flags & QVRK_FLAG_COMPRESSED) != 0;
    config->data_scrambled = (flags & QVRK_FLAG_SCRAMBLED) != 0;
    CopySettingsText(block, QVRK_TEXT_COMPANY_NAME, config->company_name,
                     sizeof(config->company_name));
    CopySettingsText(block, QVRK_TEXT_LONG_NAME, config->screensaver_name,
                     sizeof(config->screensaver_name));
    CopySettingsText(block, QVRK_TEXT_SETTINGS_MESSAGE, config->credits_text,
                     sizeof(config->credits_text));
    CopySettingsText(block, QVRK_TEXT_QUALITY_CAPTION, config->quality_label,
                     sizeof(config->quality_label));
    for (int i = 0; i < 3; ++i)
        CopySettingsText(block, (QvrkSettingsText)(QVRK_TEXT_QUALITY_LOW + i),
                         config->quality_names[i], sizeof(config->quality_names[i]));
    CopySettingsText(block, QVRK_TEXT_SOUND, config->sound_label, sizeof(config->sound_label));
    config->background_color = numbers->background_color;
    config->preview_color = numbers->preview_color;
    config->wake_on_button = (flags & QVRK_FLAG_WAKE_LEFT_CLICK) != 0;
    config->wake_on_right_button = (flags & QVRK_FLAG_WAKE_RIGHT_CLICK) != 0;
    config->wake_on_mouse_move = (flags & QVRK_FLAG_WAKE_MOUSE_MOVE) != 0;
    config->wake_on_key = (flags & QVRK_FLAG_WAKE_KEY) != 0;
    config->hide_cursor = (flags & QVRK_FLAG_HIDE_CURSOR) != 0;
    if (config->sound < 0)
        config->sound = (flags & QVRK_FLAG_MUTE_SOUND) ? 0 : 1;
    config->sound_option_shown = (flags & QVRK_FLAG_USER_CAN_MUTE) != 0;
    config->quality_option_shown = (flags & QVRK_FLAG_USER_CAN_SET_QUALITY) != 0;
}

// The payload reader's source: the program file, read at absolute offsets.
int ReadAt(void* context, uint64_t offset, void* buffer, uint32_t size) {
    HANDLE file = (HANDLE)context;
    return offset <= 0x7FFFFFFF && SeekTo(file, (DWORD)offset) && ReadExact(file, buffer, size);
}

// Builds the item and slot tables from the checked entries. False when out of memory or when an
// item lies beyond what the runtime's 32-bit positions hold.
bool BuildTables(RuntimeConfig* config, const QvrkPayload* payload, const QvrkEntry* entries,
                 const int32_t* slot_indexes) {
    int32_t files = payload->numbers.file_count;
    int32_t slots = payload->numbers.slot_count;
    for (int32_t i = 0; i < files; ++i) {
        if (entries[i].data_offset > 0x7FFFFFFF || entries[i].record.stored_size > 0x7FFFFFFF)
            return false;
    }
    config->items = (EmbeddedItem*)HeapAllocate(sizeof(EmbeddedItem) * (size_t)files);
    config->slots = config->items
                        ? (EmbeddedItem**)HeapAllocate(sizeof(EmbeddedItem*) * (size_t)slots)
                        : nullptr;
    if (!config->slots) {
        HeapRelease(config->items);
        config->items = nullptr;
        return false;
    }
    config->item_count = files;
    config->slot_count = slots;
    for (int32_t i = 0; i < files; ++i) {
        const QvrkEntryRecord& record = entries[i].record;
        EmbeddedItem* item = &config->items[i];
        item->width = (int32_t)record.width;
        item->height = (int32_t)record.height;
        item->stored_size = (int32_t)record.stored_size;
        item->unpacked_size = (int32_t)record.original_size;
        item->size_mode = (int32_t)record.size_mode;
        item->quality = (int32_t)record.quality;
        item->data_offset = (int32_t)entries[i].data_offset;
        // Only a bare file name may become a path in the folder: anything with a folder part, a
        // drive or "." / ".." would let a crafted payload write elsewhere.
        if (qvrk_entry_has_name(&entries[i]))
            AppendText(item->stored_name, 0, sizeof(item->stored_name), record.name);
    }
    for (int32_t i = 0; i < slots; ++i)
        config->slots[i] = &config->items[slot_indexes[i]];
    if (payload->settings_file >= 0)
        config->settings_file = &config->items[payload->settings_file];
    if (payload->preview_file >= 0)
        config->preview_file = &config->items[payload->preview_file];
    return true;
}

bool Extractable(const EmbeddedItem* item) {
    return item && item->stored_size > 0 && item->data_offset > 0;
}

// Inflates a whole compressed item in memory and writes it.
bool WriteCompressed(RuntimeConfig* config, EmbeddedItem* item, HANDLE target) {
    // A size its stored bytes cannot inflate to is refused before it is allocated.
    if (item->unpacked_size < 0 ||
        !qvrk_inflated_size_possible((uint32_t)item->stored_size, (uint32_t)item->unpacked_size))
        return false;
    uint8_t* stored = (uint8_t*)HeapAllocate((size_t)item->stored_size);
    uint8_t* unpacked = (uint8_t*)HeapAllocate((size_t)item->unpacked_size + 1);
    bool ok = stored && unpacked && SeekTo(config->payload_file, (DWORD)item->data_offset) &&
              ReadExact(config->payload_file, stored, (DWORD)item->stored_size);
    if (ok) {
        if (config->data_scrambled)
            qvrk_scramble(qvrk_data_seed(config->seed), stored, (size_t)item->stored_size);
        ok = InflateExact(stored, (size_t)item->stored_size, unpacked, (size_t)item->unpacked_size);
    }
    DWORD written = 0;
    ok = ok && WriteFile(target, unpacked, (DWORD)item->unpacked_size, &written, nullptr) &&
         written == (DWORD)item->unpacked_size;
    HeapRelease(stored);
    HeapRelease(unpacked);
    return ok;
}

// Streams an uncompressed item; one keystream runs on across the chunks.
bool WriteUncompressed(RuntimeConfig* config, EmbeddedItem* item, HANDLE target) {
    uint8_t* chunk = (uint8_t*)HeapAllocate(kCopyChunk);
    if (!chunk || !SeekTo(config->payload_file, (DWORD)item->data_offset)) {
        HeapRelease(chunk);
        return false;
    }
    QvrkKeystream stream;
    qvrk_keystream_init(&stream, qvrk_data_seed(config->seed));
    DWORD left = (DWORD)item->stored_size;
    while (left > 0) {
        DWORD want = left < kCopyChunk ? left : kCopyChunk;
        DWORD got = 0;
        if (!ReadFile(config->payload_file, chunk, want, &got, nullptr) || got == 0)
            break;
        if (config->data_scrambled)
            qvrk_keystream_xor(&stream, chunk, got);
        DWORD written = 0;
        if (!WriteFile(target, chunk, got, &written, nullptr) || written != got)
            break;
        left -= got;
    }
    HeapRelease(chunk);
    // A copy that ended early is a broken file, not a shorter one.
    return left == 0;
}

// A name that exists and is a reparse point (a symbolic link or a junction).
bool IsLink(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

uint32_t g_name_counter;
bool g_name_counter_started;

} // namespace

RuntimeConfig* CreateRuntimeConfig() {
    RuntimeConfig* config = (RuntimeConfig*)HeapAllocate(sizeof(RuntimeConfig));
    if (!config)
        return nullptr;
    config->run_mode = QVRK_RUN_NONE;
    config->data_compressed = true;
    config->wake_on_button = true;
    config->wake_on_right_button = true;
    config->wake_on_mouse_move = true;
    config->wake_on_key = true;
    config->hide_cursor = true;
    config->sound_option_shown = true;
    config->quality_option_shown = true;
    config->preview_color = 0x000000FF;
    config->sound = -1;
    config->quality = -1;

    char temp[MAX_PATH + 1];
    DWORD length = GetTempPathA(sizeof(temp), temp);
    int at = AppendText(config->temporary_folder, 0, kTemporaryFolderSize,
                        length > 0 && length < sizeof(temp) ? temp : "C:\\");
    AppendText(config->temporary_folder, at, kTemporaryFolderSize, "swfsaver");
    // Another instance may have made it already; a folder that cannot be made shows in extraction.
    CreateDirectoryA(config->temporary_folder, nullptr);
    return config;
}

void FreeRuntimeConfig(RuntimeConfig* config) {
    if (!config)
        return;
    if (config->payload_file)
        CloseHandle(config->payload_file);
    HeapRelease(config->items);
    HeapRelease(config->slots);
    HeapRelease(config);
}

bool LoadPayload(RuntimeConfig* config, const char* own_path) {
    HANDLE file = CreateFileA(own_path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    config->payload_file = file;
    DWORD size = GetFileSize(file, nullptr);
    if (size == INVALID_FILE_SIZE)
        return false;

    QvrkPayload* payload = (QvrkPayload*)HeapAllocate(sizeof(QvrkPayload));
    QvrkInflater* work = (QvrkInflater*)HeapAllocate(sizeof(QvrkInflater));
    QvrkEntry* entries = nullptr;
    int32_t* slot_indexes = nullptr;
    bool ok = false;
    if (payload && work) {
        QvrkSource source;
        qvrk_source_callback(&source, ReadAt, file, size);
        QvrkPayloadResult result = qvrk_payload_open(payload, &source, work);
        // Counts and indexes are checked after the block inflated: its fields are kept then.
        if (result == QVRK_PAYLOAD_OK || result == QVRK_PAYLOAD_BAD_COUNTS ||
            result == QVRK_PAYLOAD_BAD_SLOT || result == QVRK_PAYLOAD_BAD_FILE_INDEX) {
            config->seed = payload->seed;
            ApplySettings(config, payload->settings, &payload->numbers);
        }
        if (result == QVRK_PAYLOAD_OK) {
            uint32_t files = (uint32_t)payload->numbers.file_count;
            uint32_t slots = (uint32_t)payload->numbers.slot_count;
            entries = (QvrkEntry*)HeapAllocate(sizeof(QvrkEntry) * files);
            slot_indexes = (int32_t*)HeapAllocate(sizeof(int32_t) * slots);
            ok = entries && slot_indexes &&
                 qvrk_payload_read_entries(payload, entries, files) == QVRK_PAYLOAD_OK &&
                 qvrk_payload_read_slots(payload, slot_indexes, slots) == QVRK_PAYLOAD_OK &&
                 BuildTables(config, payload, entries, slot_indexes);
        }
    }
    HeapRelease(entries);
    HeapRelease(slot_indexes);
    HeapRelease(work);
    HeapRelease(payload);
    if (!ok)
        return false;

    if (!Extractable(config->settings_file))
        config->settings_file = nullptr;
    if (!Extractable(config->preview_file))
        config->preview_file = nullptr;
    if (config->preview_file && config->preview_file != config->slots[0])
        config->preview_file->size_mode = 1;
    if (config->quality < 0)
        config->quality = config->slots[0]->quality;
    return true;
}

bool ExtractItem(RuntimeConfig* config, EmbeddedItem* item) {
    if (!Extractable(item) || !config->payload_file)
        return false;
    item->extracted_path[0] = 0;

    char path[sizeof(item->extracted_path)];
    const int capacity = sizeof(path);
    int length = AppendText(path, 0, capacity, config->temporary_folder);
    length = AppendText(path, length, capacity, "\\");
    if (item->stored_name[0]) {
        AppendText(path, length, capacity, item->stored_name);
    } else {
        if (!g_name_counter_started) {
            g_name_counter = GetTickCount();
            g_name_counter_started = true;
        }
        length = AppendText(path, length, capacity, "!qvr");
        AppendNumber(path, length, capacity, g_name_counter++);
    }

    // The folder is shared by every screensaver and its names are known: a link planted as the
    // folder or under a stored name would have us write where it points. Wine shows a linked
    // folder as a reparse point too (but not a linked file).
    if (IsLink(config->temporary_folder) || IsLink(path))
        return false;
    HANDLE target = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (target == INVALID_HANDLE_VALUE)
        return false;
    bool ok = config->data_compressed ? WriteCompressed(config, item, target)
                                      : WriteUncompressed(config, item, target);
    CloseHandle(target);
    if (!ok) {
        DeleteFileA(path);
        return false;
    }
    AppendText(item->extracted_path, 0, capacity, path);
    return true;
}

bool ExtractAllItems(RuntimeConfig* config) {
    for (int i = 0; i < config->item_count; ++i) {
        EmbeddedItem* item = &config->items[i];
        if (item->extracted_path[0])
            continue;
        if (!ExtractItem(config, item))
            return false;
    }
    return true;
}

void RemoveExtractedFiles(RuntimeConfig* config) {
    for (int i = 0; i < config->item_count; ++i) {
        if (config->items[i].extracted_path[0])
            DeleteFileA(config->items[i].extracted_path);
        config->items[i].extracted_path[0] = 0;
    }
    RemoveDirectoryA(config->temporary_folder);
    HeapRelease(config->items);
    HeapRelease(config->slots);
    config->items = nullptr;
    config->slots = nullptr;
    config->item_count = 0;
    config->slot_count = 0;
    config->settings_file = nullptr;
    config->preview_file = nullptr;
}
