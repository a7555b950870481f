// The builder's side of the screensaver payload: the settings block filled from the document,
// the entry records, the slot table and the trailer. Every byte position comes from the layout of
// runtime/core, which the runtime reads with.
#pragma once

#include <cstdint>

#include "builder/engine/fc_document.h"
#include "media/base/kz_stream.h"
#include "runtime/core/qvrk_payload_layout.h"

// What the build contributes to the settings block besides the document.
struct FCPayloadFiles {
    int32_t file_count = 0;
    int32_t slot_count = 0;
    int32_t settings_file = -1; // file index or -1
    int32_t preview_file = -1;  // file index or -1
};

// The flags word of the settings block.
uint32_t FCPayloadFlags(const FCDocumentFields& document);

// False when the settings block keeps only the first `room` characters of `text` (always set).
bool FCTextFitsItsRoom(QvrkSettingsText field, const KZString& text, int* room);

// Fills the QVRK_SETTINGS_SIZE bytes of `block`. False when a text could not be converted (the
// block is then all zero).
bool FCFillSettingsBlock(const FCDocumentFields& document, const FCPayloadFiles& files,
                         uint8_t* block);

// Raw deflate at level 9, window 32 KiB, memory level 8, default strategy, in one call, as every
// stored item and the settings block are packed. Returns the compressed size, or -1 when `out`
// is too small or zlib fails.
int FCRawDeflate(const uint8_t* in, int in_size, uint8_t* out, int out_capacity);

// Raw-deflates the settings block at level 9 into `out` (room QVRK_SETTINGS_STORED_MAX) and
// scrambles it with the settings keystream of `seed`. Returns the stored size, or 0 on failure.
int FCPackSettingsBlock(const uint8_t* block, uint32_t seed, uint8_t* out);

// Writes seed, settings_size and the packed settings bytes.
bool FCWritePayloadHeader(KZStream& out, uint32_t seed, const uint8_t* packed, int packed_size);

// Writes the slot table.
bool FCWriteSlotTable(KZStream& out, const int32_t* slots, int slot_count);

// The record of one file as the document asks for it: size mode and quality kept to their ranges
// (anything else stored as 0), the name only when given and shorter than 100 characters.
QvrkEntryRecord FCMakeEntryRecord(const FCDocumentFields& document, uint32_t width, uint32_t height,
                                  uint32_t stored_size, uint32_t original_size,
                                  const char* slot_name);

// Writes the scrambled record of file `file_index`, then the stored bytes (already compressed
// and scrambled as the flags say).
bool FCWriteEntry(KZStream& out, uint32_t seed, uint32_t file_index, const QvrkEntryRecord& record,
                  const uint8_t* stored, uint32_t stored_size);

// Writes "QVRK" and the payload offset.
bool FCWriteTrailer(KZStream& out, uint32_t payload_offset);
