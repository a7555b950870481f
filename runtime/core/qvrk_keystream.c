#include "runtime/core/qvrk_keystream.h"

void qvrk_keystream_init(QvrkKeystream* stream, uint32_t seed) {
    stream->state = ((uint64_t)seed ^ QVRK_KEYSTREAM_MULTIPLIER) & QVRK_KEYSTREAM_MASK;
}

uint8_t qvrk_keystream_next(QvrkKeystream* stream) {
    stream->state =
        (stream->state * QVRK_KEYSTREAM_MULTIPLIER + QVRK_KEYSTREAM_ADDEND) & QVRK_KEYSTREAM_MASK;
    return (uint8_t)(stream->state >> 40);
}

void qvrk_keystream_xor(QvrkKeystream* stream, uint8_t* data, size_t count) {
    uint64_t state = stream->state;
    size_t i;
    for (i = 0; i < count; ++i) {
        state = (state * QVRK_KEYSTREAM_MULTIPLIER + QVRK_KEYSTREAM_ADDEND) & QVRK_KEYSTREAM_MASK;
        data[i] ^= (uint8_t)(state >> 40);
    }
    stream->state = state;
}

void qvrk_scramble(uint32_t seed, uint8_t* data, size_t count) {
    QvrkKeystream stream;
    qvrk_keystream_init(&stream, seed);
    qvrk_keystream_xor(&stream, data, count);
}
