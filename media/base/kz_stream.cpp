#include "media/base/kz_stream.h"

#include <climits>
#include <cstring>
#include <zlib.h>

#include "media/base/kz_memory.h"

bool KZStream::PutByte(uint8_t value) {
    return WriteBlock(&value, 1);
}

bool KZStream::PutU16(uint16_t value) {
    uint8_t b[2] = {uint8_t(value), uint8_t(value >> 8)};
    return WriteBlock(b, 2);
}

bool KZStream::PutU32(uint32_t value) {
    uint8_t b[4];
    for (int i = 0; i < 4; ++i)
        b[i] = uint8_t(value >> (8 * i));
    return WriteBlock(b, 4);
}

bool KZStream::PutU64(uint64_t value) {
    uint8_t b[8];
    for (int i = 0; i < 8; ++i)
        b[i] = uint8_t(value >> (8 * i));
    return WriteBlock(b, 8);
}

// --- KZMemoryStream ---

KZMemoryStream::~KZMemoryStream() {
    KZFree(data);
}

void KZMemoryStream::Reset() {
    KZFree(data);
    data = nullptr;
    length = capacity = 0;
}

bool KZMemoryStream::WriteBlock(const void* bytes, int n) {
    if (error != 0)
        return false;
    if (n <= 0)
        return true;
    if (n > INT_MAX - length) {
        error = KZ_STREAM_NO_MEMORY;
        return false;
    }
    int needed = length + n;
    if (needed > capacity) {
        int64_t grown = int64_t(capacity) + capacity / 4;
        if (grown < needed)
            grown = needed;
        if (grown < 32)
            grown = 32;
        if (grown > INT_MAX)
            grown = INT_MAX;
        void* block = KZRealloc(data, size_t(grown));
        if (!block) {
            error = KZ_STREAM_NO_MEMORY;
            return false;
        }
        data = static_cast<uint8_t*>(block);
        capacity = int32_t(grown);
    }
    memcpy(data + length, bytes, size_t(n));
    length = needed;
    return true;
}

uint8_t* KZMemoryStream::Detach(int* out_length) {
    uint8_t* block = data;
    if (out_length)
        *out_length = length;
    data = nullptr;
    length = capacity = 0;
    return block;
}

// --- KZDeflateStream ---

KZDeflateStream::KZDeflateStream(KZStream* target_stream, int given_level)
    : target(target_stream), level(given_level < 0 ? -given_level : given_level),
      raw(given_level < 0) {
    if (level > 9)
        level = 9;
    if (!target) {
        SetError(KZ_STREAM_NO_TARGET);
        return;
    }
    zs = static_cast<z_stream*>(KZMalloc(sizeof(z_stream)));
    input = static_cast<uint8_t*>(KZMalloc(kInputBlock));
    output = static_cast<uint8_t*>(KZMalloc(kOutputChunk));
    if (!zs || !input || !output) {
        SetError(KZ_STREAM_NO_MEMORY);
        return;
    }
    memset(zs, 0, sizeof(z_stream));
    int rc = deflateInit2(zs, level, Z_DEFLATED, raw ? -15 : 15, 8, Z_DEFAULT_STRATEGY);
    if (rc != Z_OK) {
        SetError(rc == Z_MEM_ERROR ? KZ_STREAM_NO_MEMORY : KZ_STREAM_ZLIB_BASE + rc);
        return;
    }
    initialised = true;
    zs->next_out = output;
    zs->avail_out = kOutputChunk;
}

KZDeflateStream::~KZDeflateStream() {
    if (initialised)
        deflateEnd(zs);
    KZFree(zs);
    KZFree(input);
    KZFree(output);
}

void KZDeflateStream::Reset() {
    if (!initialised)
        return;
    deflateReset(zs);
    zs->next_out = output;
    zs->avail_out = kOutputChunk;
    input_fill = 0;
    total_in = total_out = 0;
    finished = false;
}

// Runs the staged input through zlib. A full output chunk always goes to the target; with a
// flush or finish the part-filled chunk follows once zlib has nothing more to give.
bool KZDeflateStream::Compress(int flush_mode) {
    zs->next_in = input;
    zs->avail_in = uInt(input_fill);
    for (;;) {
        int rc = deflate(zs, flush_mode);
        // Z_BUF_ERROR only says no progress was possible, which is not a failure here.
        if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
            SetError(rc == Z_MEM_ERROR ? KZ_STREAM_NO_MEMORY : KZ_STREAM_ZLIB_BASE + rc);
            return false;
        }
        bool full = zs->avail_out == 0;
        bool end = rc == Z_STREAM_END;
        if (full || end || flush_mode != Z_NO_FLUSH) {
            int pending = kOutputChunk - int(zs->avail_out);
            if (pending > 0) {
                if (!target->WriteBlock(output, pending)) {
                    SetError(KZ_STREAM_TARGET_FAILED);
                    return false;
                }
                total_out += pending;
            }
            zs->next_out = output;
            zs->avail_out = kOutputChunk;
        }
        if (end) {
            finished = true;
            break;
        }
        // Room left in the chunk means zlib has used all input (and emitted all a flush needs).
        if (!full)
            break;
    }
    input_fill = 0;
    return true;
}

bool KZDeflateStream::WriteBlock(const void* data, int length) {
    if (error != 0 || finished)
        return false;
    if (length <= 0)
        return true;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    while (length > 0) {
        int take = kInputBlock - input_fill;
        if (take > length)
            take = length;
        memcpy(input + input_fill, bytes, size_t(take));
        input_fill += take;
        bytes += take;
        length -= take;
        total_in += take;
        if (input_fill == kInputBlock && !Compress(Z_NO_FLUSH))
            return false;
    }
    return true;
}

bool KZDeflateStream::Flush() {
    if (error != 0 || finished)
        return error == 0;
    if (!Compress(Z_SYNC_FLUSH))
        return false;
    if (!target->Flush()) {
        SetError(KZ_STREAM_TARGET_FAILED);
        return false;
    }
    return true;
}

bool KZDeflateStream::Finish() {
    if (error != 0)
        return false;
    if (!finished && !Compress(Z_FINISH))
        return false;
    if (!finished)
        return false;
    if (!target->Flush()) {
        SetError(KZ_STREAM_TARGET_FAILED);
        return false;
    }
    return true;
}

// --- KZMemoryInput ---

KZMemoryInput::KZMemoryInput(const void* block, int block_size)
    : data(static_cast<const uint8_t*>(block)), size(block && block_size > 0 ? block_size : 0) {}

bool KZMemoryInput::Take(void* value, int n) {
    if (size - position < n) {
        memset(value, 0, size_t(n));
        error = -1;
        return false;
    }
    memcpy(value, data + position, size_t(n));
    position += n;
    return true;
}

bool KZMemoryInput::ReadByte(uint8_t* value) {
    return Take(value, 1);
}

bool KZMemoryInput::ReadU16(uint16_t* value) {
    uint8_t b[2];
    bool ok = Take(b, 2);
    *value = uint16_t(b[0] | b[1] << 8);
    return ok;
}

bool KZMemoryInput::ReadU32(uint32_t* value) {
    uint8_t b[4];
    bool ok = Take(b, 4);
    *value = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    return ok;
}

bool KZMemoryInput::ReadU64(uint64_t* value) {
    uint8_t b[8];
    bool ok = Take(b, 8);
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = v << 8 | b[i];
    *value = v;
    return ok;
}

int KZMemoryInput::ReadBlock(void* buffer, int n) {
    if (n <= 0)
        return 0;
    int left = size - position;
    if (left <= 0) {
        error = -1;
        return 0;
    }
    if (n > left)
        n = left;
    memcpy(buffer, data + position, size_t(n));
    position += n;
    return n;
}

int KZMemoryInput::ReadLine(char* buffer, int buffer_size) {
    if (!buffer || buffer_size <= 0)
        return 0;
    if (position >= size) {
        buffer[0] = 0;
        error = -1;
        return 0;
    }
    int n = 0;
    while (n < buffer_size - 1 && position < size) {
        char c = char(data[position++]);
        buffer[n++] = c;
        if (c == '\n')
            break;
    }
    buffer[n] = 0;
    return n;
}

bool KZMemoryInput::Seek(int new_position) {
    if (new_position < 0 || new_position > size)
        return false;
    position = new_position;
    return true;
}
