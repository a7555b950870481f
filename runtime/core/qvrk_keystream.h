/* The payload keystream: a 48-bit linear congruential generator (multiplier 0x5DEECE66D, addend
 * 11, as drand48). The builder and the runtime both scramble through these functions, so the two
 * sides cannot drift apart. */
#ifndef QVRK_KEYSTREAM_H
#define QVRK_KEYSTREAM_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define QVRK_KEYSTREAM_MULTIPLIER 0x5DEECE66Dull
#define QVRK_KEYSTREAM_ADDEND 11u
#define QVRK_KEYSTREAM_MASK 0xFFFFFFFFFFFFull

typedef struct QvrkKeystream {
    uint64_t state; /* 48 significant bits */
} QvrkKeystream;

/* state = seed XOR multiplier; the seed is widened with zeros. */
void qvrk_keystream_init(QvrkKeystream* stream, uint32_t seed);
/* Steps the generator and returns bits 40 to 47 of the new state. */
uint8_t qvrk_keystream_next(QvrkKeystream* stream);
/* XORs count bytes with the next count output bytes; the stream runs on across calls, so a file
 * can be unscrambled chunk by chunk. Scrambling and unscrambling are the same operation. */
void qvrk_keystream_xor(QvrkKeystream* stream, uint8_t* data, size_t count);
/* One-shot: a fresh stream from seed over the whole buffer. */
void qvrk_scramble(uint32_t seed, uint8_t* data, size_t count);

/* The three seeds, in unsigned 32-bit arithmetic. */
static inline uint32_t qvrk_settings_seed(uint32_t seed) {
    return seed * 9u;
}
static inline uint32_t qvrk_record_seed(uint32_t seed, uint32_t file_index) {
    return seed * 9u + file_index + 1u;
}
static inline uint32_t qvrk_data_seed(uint32_t seed) {
    return seed;
}

#ifdef __cplusplus
}
#endif

#endif
