/* Byte helpers of the payload core. The core runs inside the stub, which has no C runtime, so it
 * brings its own copy and fill and reads every file field byte by byte: little-endian and packed
 * whatever the compiler does with structures. */
#ifndef QVRK_BYTES_H
#define QVRK_BYTES_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

void qvrk_copy_bytes(void* destination, const void* source, size_t count);
void qvrk_fill_bytes(void* destination, uint8_t value, size_t count);

static inline uint16_t qvrk_get_u16(const uint8_t* p) {
    return (uint16_t)(p[0] | (p[1] << 8));
}

static inline uint32_t qvrk_get_u32(const uint8_t* p) {
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

static inline int32_t qvrk_get_i32(const uint8_t* p) {
    uint32_t v = qvrk_get_u32(p);
    /* Two's complement without relying on an implementation-defined conversion. */
    return v <= 0x7FFFFFFFu ? (int32_t)v : -(int32_t)(~v) - 1;
}

static inline void qvrk_put_u32(uint8_t* p, uint32_t v) {
    p[0] = (uint8_t)v;
    p[1] = (uint8_t)(v >> 8);
    p[2] = (uint8_t)(v >> 16);
    p[3] = (uint8_t)(v >> 24);
}

static inline void qvrk_put_i32(uint8_t* p, int32_t v) {
    qvrk_put_u32(p, (uint32_t)v);
}

#ifdef __cplusplus
}
#endif

#endif
