// A bounded little-endian cursor over a file image, for the picture readers. Reading past the
// end never touches memory outside the block: it yields zeros and sets `failed`, which the
// readers check before they accept a result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

struct KZByteReader {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;
    bool failed = false;

    KZByteReader(const uint8_t* d, size_t n) : data(d), size(n) {}

    size_t Left() const { return pos < size ? size - pos : 0; }
    bool AtEnd() const { return pos >= size; }
    bool Seek(size_t offset) {
        if (offset > size) {
            failed = true;
            pos = size;
            return false;
        }
        pos = offset;
        return true;
    }
    bool Skip(size_t n) {
        if (n > Left()) {
            failed = true;
            pos = size;
            return false;
        }
        pos += n;
        return true;
    }
    uint8_t U8() {
        if (pos >= size) {
            failed = true;
            return 0;
        }
        return data[pos++];
    }
    uint16_t U16() {
        uint16_t lo = U8();
        return uint16_t(lo | (U8() << 8));
    }
    uint32_t U32() {
        uint32_t lo = U16();
        return lo | (uint32_t(U16()) << 16);
    }
    bool Read(void* out, size_t n) {
        if (n > Left()) {
            failed = true;
            memset(out, 0, n);
            pos = size;
            return false;
        }
        memcpy(out, data + pos, n);
        pos += n;
        return true;
    }
    // Pointer to n bytes in place, or null (and failed) when fewer are left.
    const uint8_t* Take(size_t n) {
        if (n > Left()) {
            failed = true;
            pos = size;
            return nullptr;
        }
        const uint8_t* p = data + pos;
        pos += n;
        return p;
    }
};
