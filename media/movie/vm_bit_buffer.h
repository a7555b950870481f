// One SWF record or tag body under construction: bits packed most significant first, plus the
// byte-level appends of the file format (little-endian). Small bodies stay in the inline storage,
// so that the common tags need no heap block.
#pragma once

#include <cstddef>
#include <cstdint>

// RECT: four signed twip values in the file's order.
struct VMRect {
    int32_t xmin = 0;
    int32_t xmax = 0;
    int32_t ymin = 0;
    int32_t ymax = 0;
};

// MATRIX: scales and rotate-skews in 16.16 fixed point, translations in twips.
struct VMMatrix {
    int32_t scale_x = 0x10000;
    int32_t scale_y = 0x10000;
    int32_t rotate_skew0 = 0;
    int32_t rotate_skew1 = 0;
    int32_t translate_x = 0;
    int32_t translate_y = 0;
};

// CXFORM without alpha: multiply terms are 8.8 fixed point (256 = 1.0).
struct VMColorTransform {
    int16_t add_r = 0;
    int16_t add_g = 0;
    int16_t add_b = 0;
    int16_t mul_r = 256;
    int16_t mul_g = 256;
    int16_t mul_b = 256;
};

// Bits needed for an unsigned magnitude; 0 and 1 both take one bit.
int VMBitLength(uint32_t magnitude);
// Width of a signed field group: 1 + the bit length of the largest magnitude (at least 2).
int VMSignedBitWidth(const int32_t* values, int count);

class VMBitBuffer {
public:
    static const uint32_t kInlineSize = 1024;

    VMBitBuffer();
    ~VMBitBuffer();
    VMBitBuffer(const VMBitBuffer&) = delete;
    VMBitBuffer& operator=(const VMBitBuffer&) = delete;

    // Appends the low n bits (0..32) of value; bits above n-1 are ignored.
    bool WriteBits(uint32_t value, int n);
    // Appends a signed value as n bits of two's complement.
    bool WriteSignedBits(int32_t value, int n) { return WriteBits(uint32_t(value), n); }
    // Appends the bytes holding pending bits, zero-padded, and clears the accumulator.
    bool AlignByte();

    // Byte-level appends; each byte-aligns first.
    bool PutByte(uint8_t value);
    bool PutU16(uint16_t value);
    bool PutU32(uint32_t value);
    bool PutBlock(const void* data, size_t size);

    // Records of the file format; each byte-aligns before it starts.
    bool WriteRect(const VMRect& rect);
    bool WriteMatrix(const VMMatrix& matrix);
    bool WriteColorTransform(const VMColorTransform& cxform);

    // Drops the content but keeps the storage.
    void Clear();

    const uint8_t* Data() const { return data_; }
    // Bytes appended so far (pending bits not counted until aligned).
    uint32_t Length() const { return length_; }
    uint32_t Capacity() const { return capacity_; }
    int PendingBits() const { return int(pending_); }
    bool IsInline() const { return data_ == inline_; }

private:
    bool Reserve(uint32_t needed);
    bool AppendRaw(const void* data, uint32_t size);

    uint8_t inline_[kInlineSize];
    uint8_t* data_;
    uint32_t capacity_;
    uint32_t length_ = 0;
    uint32_t bits_ = 0;
    uint32_t pending_ = 0;
};
