// Byte output streams (in memory and through zlib) and input from memory.
#pragma once

#include <cstdint>

struct z_stream_s;

class KZStream {
public:
    KZStream() = default;
    KZStream(const KZStream&) = delete;
    KZStream& operator=(const KZStream&) = delete;
    // Slot order matters to nobody outside, but is kept: destructor, reset, flush, finish,
    // write block, put byte/u16/u32/u64, size.
    virtual ~KZStream() = default;
    virtual void Reset() {}
    virtual bool Flush() { return true; }
    virtual bool Finish() { return true; }
    virtual bool WriteBlock(const void* data, int length) = 0;
    // Little-endian; the base class writes through WriteBlock.
    virtual bool PutByte(uint8_t value);
    virtual bool PutU16(uint16_t value);
    virtual bool PutU32(uint32_t value);
    virtual bool PutU64(uint64_t value);
    virtual int64_t GetSize() const = 0;
};

// Error codes of the streams; the first error sticks.
enum {
    KZ_STREAM_OK = 0,
    KZ_STREAM_NO_MEMORY = -12,
    KZ_STREAM_NO_TARGET = -1000,
    KZ_STREAM_TARGET_FAILED = -1101,
    KZ_STREAM_ZLIB_BASE = -1100, // zlib's (negative) code is added to this
};

class KZMemoryStream : public KZStream {
public:
    KZMemoryStream() = default;
    ~KZMemoryStream() override;
    // Drops the content (the error code stays).
    void Reset() override;
    bool WriteBlock(const void* data, int length) override;
    int64_t GetSize() const override { return length; }

    int GetError() const { return error; }
    const uint8_t* GetData() const { return data; }
    int GetLength() const { return length; }
    // Hands the block to the caller (free it with KZFree); the stream is empty afterwards.
    uint8_t* Detach(int* out_length);

private:
    int32_t error = 0;
    uint8_t* data = nullptr;
    int32_t length = 0;
    int32_t capacity = 0;
};

// Compresses everything written into `target` (not owned). A negative level means raw deflate
// with the level's magnitude; otherwise the zlib format. Level 9 in zlib form is what the movie
// writer uses.
class KZDeflateStream : public KZStream {
public:
    enum { kInputBlock = 4096, kOutputChunk = 16384 };

    KZDeflateStream(KZStream* target, int level);
    ~KZDeflateStream() override;
    // Starts a fresh compressed stream (the error code stays).
    void Reset() override;
    // Compresses what is staged and passes the output on, then flushes the target.
    bool Flush() override;
    // Ends the compressed stream; true only when zlib reached its end.
    bool Finish() override;
    bool WriteBlock(const void* data, int length) override;
    // Uncompressed bytes accepted so far.
    int64_t GetSize() const override { return total_in; }

    int GetError() const { return error; }
    int64_t GetOutputSize() const { return total_out; }
    bool IsRaw() const { return raw; }
    int GetLevel() const { return level; }

private:
    bool Compress(int flush_mode);
    void SetError(int code) {
        if (error == 0)
            error = code;
    }

    int32_t error = 0;
    KZStream* target;
    int32_t level;
    bool raw;
    bool initialised = false;
    bool finished = false;
    z_stream_s* zs = nullptr;
    uint8_t* input = nullptr; // kInputBlock bytes of staging
    int32_t input_fill = 0;
    uint8_t* output = nullptr; // kOutputChunk bytes
    int64_t total_in = 0;
    int64_t total_out = 0;
};

// Reading from a block of memory (not owned). Reading past the end sets the error code to -1.
class KZMemoryInput {
public:
    KZMemoryInput(const void* data, int size);

    // Past the end: the value becomes 0, the error code -1, and false comes back.
    bool ReadByte(uint8_t* value);
    bool ReadU16(uint16_t* value);
    bool ReadU32(uint32_t* value);
    bool ReadU64(uint64_t* value);
    // Copies what is left of n bytes; returns the count (0 and error -1 when nothing is left).
    int ReadBlock(void* buffer, int n);
    // Copies up to size - 1 bytes, stopping after a line feed, and NUL-terminates. Returns the
    // bytes copied (0 and error -1 at the end).
    int ReadLine(char* buffer, int size);

    int GetPosition() const { return position; }
    int GetSize() const { return size; }
    int GetRemaining() const { return size - position; }
    bool IsAtEnd() const { return position >= size; }
    int GetError() const { return error; }
    // Moves to an absolute position within the block; false when outside.
    bool Seek(int new_position);

private:
    bool Take(void* value, int n);

    const uint8_t* data;
    int32_t size;
    int32_t position = 0;
    int32_t error = 0;
};
