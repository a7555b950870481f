// The payload reader as scrkit-cli and the stub use it: open, entries, slots, names, and every
// item decoded both whole and through the streaming reader.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "runtime/core/qvrk_payload_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QvrkInflater* work = new QvrkInflater;
    static QvrkPayload* payload = new QvrkPayload;
    QvrkSource source;
    qvrk_source_memory(&source, data, size);
    if (qvrk_payload_open(payload, &source, work) != QVRK_PAYLOAD_OK)
        return 0;
    std::vector<QvrkEntry> entries(size_t(payload->numbers.file_count));
    if (qvrk_payload_read_entries(payload, entries.data(), uint32_t(entries.size())) !=
        QVRK_PAYLOAD_OK)
        return 0;
    std::vector<int32_t> slots(size_t(payload->numbers.slot_count));
    if (qvrk_payload_read_slots(payload, slots.data(), uint32_t(slots.size())) == QVRK_PAYLOAD_OK)
        for (int32_t slot : slots)
            if (slot < 0 || uint32_t(slot) >= payload->entry_count)
                __builtin_trap();
    for (uint32_t i = 0; i < payload->entry_count; i++) {
        const QvrkEntry& entry = entries[i];
        if (qvrk_entry_has_name(&entry) && std::strpbrk(entry.record.name, "/\\:") != nullptr)
            __builtin_trap();
        uint32_t item_size = qvrk_payload_item_size(payload, i);
        if (!qvrk_payload_item_size_possible(payload, i))
            continue; // refused by every caller before it allocates
        std::vector<uint8_t> out(size_t(item_size) + 1);
        std::vector<uint8_t> scratch(size_t(entry.record.stored_size) + 1);
        qvrk_payload_decode_item(payload, i, work, out.data(), item_size, scratch.data(),
                                 scratch.size());
    }
    return 0;
}
