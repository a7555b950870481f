/* Raw DEFLATE decoder (no zlib header, no checksum) for the payload: the stub cannot carry zlib.
 * It decodes one whole stream from memory into a buffer of the size the payload promises, never
 * reads before or past its input and never writes past that size. */
#ifndef QVRK_INFLATE_H
#define QVRK_INFLATE_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef enum QvrkInflateResult {
    QVRK_INFLATE_OK = 0,
    QVRK_INFLATE_TRUNCATED,         /* the input ends before the final block does */
    QVRK_INFLATE_TOO_LONG,          /* the stream holds more than the expected output */
    QVRK_INFLATE_TOO_SHORT,         /* the final block ends before the expected output is full */
    QVRK_INFLATE_BAD_BLOCK_TYPE,    /* block type 3 */
    QVRK_INFLATE_BAD_STORED_LENGTH, /* a stored block whose length and its complement differ */
    QVRK_INFLATE_BAD_CODE,          /* Huffman code lengths that do not form a usable code */
    QVRK_INFLATE_BAD_SYMBOL,        /* a code that stands for no symbol, or symbol 286/287/30/31 */
    QVRK_INFLATE_BAD_DISTANCE,      /* a match reaching back before the start of the output */
    QVRK_INFLATE_BAD_ARGUMENT       /* null buffers with a non-zero size */
} QvrkInflateResult;

/* Decoding tables: 11-bit primary table for literals/lengths, 9-bit for distances, each followed
 * by room for one sub-table per symbol whose code is longer than the primary table. */
#define QVRK_INFLATE_LITLEN_BITS 11
#define QVRK_INFLATE_DIST_BITS 9
#define QVRK_INFLATE_LITLEN_ENTRIES                                                                \
    ((1u << QVRK_INFLATE_LITLEN_BITS) + 288u * (1u << (15 - QVRK_INFLATE_LITLEN_BITS)))
#define QVRK_INFLATE_DIST_ENTRIES                                                                  \
    ((1u << QVRK_INFLATE_DIST_BITS) + 32u * (1u << (15 - QVRK_INFLATE_DIST_BITS)))

/* Work area of the decoder, about 36 KiB: the caller provides it (the stub from its heap), since
 * the stub's stack must not take frames of that size. Its contents need no initialisation. */
typedef struct QvrkInflater {
    uint32_t litlen[QVRK_INFLATE_LITLEN_ENTRIES];
    uint32_t dist[QVRK_INFLATE_DIST_ENTRIES];
    uint32_t codelen[128];
    uint8_t lengths[288 + 32];
    uint16_t sorted[288];
} QvrkInflater;

/* Decodes the stream in[0..in_size) into out. Succeeds only when the stream decodes without error
 * up to and including its final block and the output is exactly out_size bytes. Bytes after the
 * final block are ignored. produced (may be null) receives the number of bytes written. */
QvrkInflateResult qvrk_inflate(QvrkInflater* work, const uint8_t* in, size_t in_size, uint8_t* out,
                               size_t out_size, size_t* produced);

/* Deflate yields at most 1032 bytes per input byte (a 258-byte match in two bits), plus a few for
 * the first literals. 1 when `original` bytes can come out of `stored` bytes of stream; a record
 * that claims more is forged, and is refused before anyone allocates for it. */
#define QVRK_INFLATE_MAX_RATIO 1032u
#define QVRK_INFLATE_MAX_SLACK 64u
int qvrk_inflated_size_possible(uint32_t stored, uint32_t original);

/* A short English name of a result, for diagnostics ("ok", "truncated input" ...). */
const char* qvrk_inflate_result_text(QvrkInflateResult result);

#ifdef __cplusplus
}
#endif

#endif
