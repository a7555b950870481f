#include "media/movie/vm_bit_buffer.h"

#include <cstring>

#include "media/base/kz_memory.h"

namespace {

uint32_t Magnitude(int32_t value) {
    return value < 0 ? 0u - uint32_t(value) : uint32_t(value);
}

// A field wider than its width field can state is capped, and its values are clamped to what
// the capped width holds, so that a huge coordinate never spills into the neighbouring fields.
int32_t ClampToWidth(int32_t value, int width) {
    const int32_t limit = int32_t((uint32_t(1) << (width - 1)) - 1);
    if (value > limit)
        return limit;
    if (value < -limit)
        return -limit;
    return value;
}

int CappedWidth(const int32_t* values, int count, int max_width) {
    int width = VMSignedBitWidth(values, count);
    return width > max_width ? max_width : width;
}

} // namespace

int VMBitLength(uint32_t magnitude) {
    int bits = 1;
    while (bits < 32 && (magnitude >> bits) != 0)
        ++bits;
    return bits;
}

int VMSignedBitWidth(const int32_t* values, int count) {
    uint32_t largest = 0;
    for (int i = 0; i < count; ++i) {
        uint32_t m = Magnitude(values[i]);
        if (m > largest)
            largest = m;
    }
    return 1 + VMBitLength(largest);
}

VMBitBuffer::VMBitBuffer() : data_(inline_), capacity_(kInlineSize) {}

VMBitBuffer::~VMBitBuffer() {
    if (data_ != inline_)
        KZFree(data_);
}

bool VMBitBuffer::Reserve(uint32_t needed) {
    if (uint64_t(length_) + needed <= capacity_)
        return true;
    uint64_t wanted = uint64_t(capacity_) + capacity_ / 2;
    if (uint64_t(length_) + needed > wanted)
        wanted = uint64_t(length_) + needed;
    if (wanted > 0xFFFFFFFFu)
        return false;
    uint8_t* block;
    if (data_ == inline_) {
        block = static_cast<uint8_t*>(KZMalloc(size_t(wanted)));
        if (!block)
            return false;
        memcpy(block, inline_, kInlineSize);
    } else {
        block = static_cast<uint8_t*>(KZRealloc(data_, size_t(wanted)));
        if (!block)
            return false;
    }
    data_ = block;
    capacity_ = uint32_t(wanted);
    return true;
}

bool VMBitBuffer::AppendRaw(const void* data, uint32_t size) {
    if (size == 0)
        return true;
    if (!Reserve(size))
        return false;
    memcpy(data_ + length_, data, size);
    length_ += size;
    return true;
}

bool VMBitBuffer::WriteBits(uint32_t value, int n) {
    if (n <= 0)
        return true;
    if (n > 32)
        n = 32;
    if (n < 32)
        value &= (uint32_t(1) << n) - 1;
    uint32_t total = pending_ + uint32_t(n);
    if (total < 32) {
        bits_ |= value << (32 - total);
        pending_ = total;
        return true;
    }
    bits_ |= value >> (total - 32);
    const uint8_t bytes[4] = {uint8_t(bits_ >> 24), uint8_t(bits_ >> 16), uint8_t(bits_ >> 8),
                              uint8_t(bits_)};
    if (!AppendRaw(bytes, 4))
        return false;
    pending_ = total - 32;
    bits_ = pending_ == 0 ? 0 : value << (32 - pending_);
    return true;
}

bool VMBitBuffer::AlignByte() {
    if (pending_ == 0)
        return true;
    uint32_t count = (pending_ + 7) / 8;
    const uint8_t bytes[4] = {uint8_t(bits_ >> 24), uint8_t(bits_ >> 16), uint8_t(bits_ >> 8),
                              uint8_t(bits_)};
    bool ok = AppendRaw(bytes, count);
    bits_ = 0;
    pending_ = 0;
    return ok;
}

bool VMBitBuffer::PutByte(uint8_t value) {
    return AlignByte() && AppendRaw(&value, 1);
}

bool VMBitBuffer::PutU16(uint16_t value) {
    const uint8_t bytes[2] = {uint8_t(value), uint8_t(value >> 8)};
    return AlignByte() && AppendRaw(bytes, 2);
}

bool VMBitBuffer::PutU32(uint32_t value) {
    const uint8_t bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16),
                              uint8_t(value >> 24)};
    return AlignByte() && AppendRaw(bytes, 4);
}

bool VMBitBuffer::PutBlock(const void* data, size_t size) {
    if (size > 0xFFFFFFFFu)
        return false;
    return AlignByte() && AppendRaw(data, uint32_t(size));
}

bool VMBitBuffer::WriteRect(const VMRect& rect) {
    const int32_t values[4] = {rect.xmin, rect.xmax, rect.ymin, rect.ymax};
    int width = CappedWidth(values, 4, 31);
    bool ok = AlignByte() && WriteBits(uint32_t(width), 5);
    for (int i = 0; i < 4; ++i)
        ok = ok && WriteSignedBits(ClampToWidth(values[i], width), width);
    return ok;
}

bool VMBitBuffer::WriteMatrix(const VMMatrix& m) {
    bool ok = AlignByte();
    if (m.scale_x == 0x10000 && m.scale_y == 0x10000) {
        ok = ok && WriteBits(0, 1);
    } else {
        const int32_t scales[2] = {m.scale_x, m.scale_y};
        int width = CappedWidth(scales, 2, 31);
        ok = ok && WriteBits(1, 1) && WriteBits(uint32_t(width), 5) &&
             WriteSignedBits(ClampToWidth(m.scale_x, width), width) &&
             WriteSignedBits(ClampToWidth(m.scale_y, width), width);
    }
    if (m.rotate_skew0 == 0 && m.rotate_skew1 == 0) {
        ok = ok && WriteBits(0, 1);
    } else {
        const int32_t skews[2] = {m.rotate_skew0, m.rotate_skew1};
        int width = CappedWidth(skews, 2, 31);
        ok = ok && WriteBits(1, 1) && WriteBits(uint32_t(width), 5) &&
             WriteSignedBits(ClampToWidth(m.rotate_skew0, width), width) &&
             WriteSignedBits(ClampToWidth(m.rotate_skew1, width), width);
    }
    const int32_t moves[2] = {m.translate_x, m.translate_y};
    int width = CappedWidth(moves, 2, 31);
    ok = ok && WriteBits(uint32_t(width), 5) &&
         WriteSignedBits(ClampToWidth(m.translate_x, width), width) &&
         WriteSignedBits(ClampToWidth(m.translate_y, width), width);
    return ok;
}

bool VMBitBuffer::WriteColorTransform(const VMColorTransform& c) {
    const int32_t adds[3] = {c.add_r, c.add_g, c.add_b};
    const int32_t muls[3] = {c.mul_r, c.mul_g, c.mul_b};
    bool has_add = adds[0] != 0 || adds[1] != 0 || adds[2] != 0;
    bool has_mul = muls[0] != 256 || muls[1] != 256 || muls[2] != 256;
    uint32_t add_max = 1;
    if (has_add) {
        add_max = 0;
        for (int32_t v : adds)
            add_max = Magnitude(v) > add_max ? Magnitude(v) : add_max;
    }
    uint32_t mul_max = 0;
    for (int32_t v : muls)
        mul_max = Magnitude(v) > mul_max ? Magnitude(v) : mul_max;
    int add_bits = VMBitLength(add_max);
    int mul_bits = VMBitLength(mul_max);
    int width = 1 + (add_bits > mul_bits ? add_bits : mul_bits);
    // The width field has four bits; larger terms are clamped rather than spilled.
    if (width > 15)
        width = 15;
    bool ok = AlignByte() && WriteBits(has_add ? 1 : 0, 1) && WriteBits(has_mul ? 1 : 0, 1) &&
              WriteBits(uint32_t(width), 4);
    if (has_mul)
        for (int32_t v : muls)
            ok = ok && WriteSignedBits(ClampToWidth(v, width), width);
    if (has_add)
        for (int32_t v : adds)
            ok = ok && WriteSignedBits(ClampToWidth(v, width), width);
    return ok;
}

void VMBitBuffer::Clear() {
    length_ = 0;
    bits_ = 0;
    pending_ = 0;
}
