#include "runtime/core/qvrk_inflate.h"

/* Table entries, one 32-bit word each:
 *   bits 0-7   code length to consume (total, also for entries of a sub-table)
 *   bits 8-11  number of extra bits that follow the code
 *   bits 12-15 kind
 *   bits 16-31 literal byte, length or distance base, or start of the sub-table */
#define KIND_LITERAL 0u
#define KIND_LENGTH 1u
#define KIND_END 2u
#define KIND_SUBTABLE 3u
#define KIND_INVALID 4u
#define KIND_DISTANCE 5u

#define ENTRY(kind, value, extra)                                                                  \
    (((uint32_t)(value) << 16) | ((uint32_t)(kind) << 12) | ((uint32_t)(extra) << 8))
#define ENTRY_KIND(e) (((e) >> 12) & 0xFu)
#define ENTRY_VALUE(e) ((e) >> 16)
#define ENTRY_EXTRA(e) (((e) >> 8) & 0xFu)
#define ENTRY_BITS(e) ((e)&0xFFu)
#define INVALID_ENTRY ENTRY(KIND_INVALID, 0, 0)

#define LITLEN_MASK ((1u << QVRK_INFLATE_LITLEN_BITS) - 1u)
#define LITLEN_SUB_MASK ((1u << (15 - QVRK_INFLATE_LITLEN_BITS)) - 1u)
#define DIST_MASK ((1u << QVRK_INFLATE_DIST_BITS) - 1u)
#define DIST_SUB_MASK ((1u << (15 - QVRK_INFLATE_DIST_BITS)) - 1u)
#define CODELEN_BITS 7u

static const uint16_t kLengthBase[29] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                         15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                         67, 83, 99, 115, 131, 163, 195, 227, 258};
static const uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                         2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
static const uint16_t kDistBase[30] = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
static const uint8_t kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                       6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
/* Order in which the code length code's lengths are stored. */
static const uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                             11, 4,  12, 3, 13, 2, 14, 1, 15};

enum TableKind { TABLE_LITLEN, TABLE_DIST, TABLE_CODELEN };

static uint32_t symbol_entry(enum TableKind kind, unsigned symbol) {
    switch (kind) {
    case TABLE_LITLEN:
        if (symbol < 256)
            return ENTRY(KIND_LITERAL, symbol, 0);
        if (symbol == 256)
            return ENTRY(KIND_END, 0, 0);
        if (symbol < 286)
            return ENTRY(KIND_LENGTH, kLengthBase[symbol - 257], kLengthExtra[symbol - 257]);
        return INVALID_ENTRY; /* 286 and 287 take part in the code but stand for nothing */
    case TABLE_DIST:
        if (symbol < 30)
            return ENTRY(KIND_DISTANCE, kDistBase[symbol], kDistExtra[symbol]);
        return INVALID_ENTRY;
    default:
        return ENTRY(KIND_LITERAL, symbol, 0);
    }
}

static unsigned reverse_bits(unsigned code, unsigned length) {
    unsigned r = 0;
    while (length-- > 0) {
        r = (r << 1) | (code & 1u);
        code >>= 1;
    }
    return r;
}

/* Builds a decoding table for count symbols whose code lengths (0 to 15) are in lengths. Codes of
 * up to table_bits bits are replicated over the primary table; longer ones go to a sub-table
 * indexed by the next 15 - table_bits bits. Returns 0 for lengths that do not form a code. */
static int build_table(uint32_t* table, unsigned table_bits, const uint8_t* lengths, unsigned count,
                       enum TableKind kind, uint16_t* sorted) {
    unsigned length_count[16];
    unsigned offsets[16];
    unsigned i, len, max_length = 0;
    int left = 1;
    unsigned primary = 1u << table_bits;
    unsigned sub_bits = 15 - table_bits;
    unsigned next_sub = primary;
    unsigned code = 0, code_length = 0;
    unsigned total;

    for (i = 0; i < 16; ++i)
        length_count[i] = 0;
    for (i = 0; i < count; ++i)
        length_count[lengths[i]]++;
    length_count[0] = 0;
    for (len = 1; len < 16; ++len) {
        left = (left << 1) - (int)length_count[len];
        if (left < 0)
            return 0; /* over-subscribed */
        if (length_count[len] != 0)
            max_length = len;
    }
    /* An incomplete code is allowed only where zlib allows it: for literal/length and distance
     * codes of a single one-bit code (or none at all); the unused half then decodes as invalid. */
    if (left > 0 && (kind == TABLE_CODELEN || max_length > 1))
        return 0;
    if (kind == TABLE_CODELEN && max_length > table_bits)
        return 0;

    offsets[1] = 0;
    for (len = 1; len < 15; ++len)
        offsets[len + 1] = offsets[len] + length_count[len];
    total = 0;
    for (i = 0; i < count; ++i) {
        if (lengths[i] != 0) {
            sorted[offsets[lengths[i]]++] = (uint16_t)i;
            ++total;
        }
    }

    for (i = 0; i < primary; ++i)
        table[i] = INVALID_ENTRY;

    for (i = 0; i < total; ++i) {
        unsigned symbol = sorted[i];
        unsigned rev, step;
        uint32_t entry;
        len = lengths[symbol];
        if (i == 0) {
            code = 0;
        } else {
            code = (code + 1) << (len - code_length);
        }
        code_length = len;
        rev = reverse_bits(code, len);
        entry = symbol_entry(kind, symbol) | len;
        if (len <= table_bits) {
            for (step = rev; step < primary; step += 1u << len)
                table[step] = entry;
        } else {
            unsigned prefix = rev & (primary - 1u);
            unsigned sub_index = rev >> table_bits;
            uint32_t* sub;
            if (ENTRY_KIND(table[prefix]) != KIND_SUBTABLE) {
                unsigned k;
                table[prefix] = ENTRY(KIND_SUBTABLE, next_sub, 0);
                for (k = 0; k < (1u << sub_bits); ++k)
                    table[next_sub + k] = INVALID_ENTRY;
                next_sub += 1u << sub_bits;
            }
            sub = table + ENTRY_VALUE(table[prefix]);
            for (step = sub_index; step < (1u << sub_bits); step += 1u << (len - table_bits))
                sub[step] = entry;
        }
    }
    return 1;
}

/* Reads a little-endian 64-bit word; compilers turn this into one load. */
static uint64_t load64(const uint8_t* p) {
    return (uint64_t)p[0] | ((uint64_t)p[1] << 8) | ((uint64_t)p[2] << 16) |
           ((uint64_t)p[3] << 24) | ((uint64_t)p[4] << 32) | ((uint64_t)p[5] << 40) |
           ((uint64_t)p[6] << 48) | ((uint64_t)p[7] << 56);
}

static void store64(uint8_t* p, uint64_t v) {
    p[0] = (uint8_t)v;
    p[1] = (uint8_t)(v >> 8);
    p[2] = (uint8_t)(v >> 16);
    p[3] = (uint8_t)(v >> 24);
    p[4] = (uint8_t)(v >> 32);
    p[5] = (uint8_t)(v >> 40);
    p[6] = (uint8_t)(v >> 48);
    p[7] = (uint8_t)(v >> 56);
}

/* The bit reader keeps up to 63 bits in a word, least significant first. Past the end of the
 * input it shifts in zero bytes and counts them; once any of them has been consumed the stream is
 * truncated. That keeps the decoding loop free of end checks and still never reads past in_end. */
typedef struct BitReader {
    const uint8_t* in;
    const uint8_t* in_end;
    uint64_t bits;
    unsigned count;
    unsigned overread; /* zero bytes shifted in past the end */
} BitReader;

/* Fills the word to at least 56 bits. Returns 0 when bits past the end were already consumed. */
static int refill(BitReader* r) {
    if (r->in_end - r->in >= 8) {
        r->bits |= load64(r->in) << r->count;
        r->in += (63u - r->count) >> 3;
        r->count |= 56u;
        return 1;
    }
    while (r->count <= 56u) {
        if (r->in < r->in_end) {
            r->bits |= (uint64_t)*r->in++ << r->count;
        } else {
            if (r->overread * 8u > r->count)
                return 0;
            r->overread++;
        }
        r->count += 8u;
    }
    return r->overread * 8u <= r->count;
}

static unsigned take(BitReader* r, unsigned n) {
    unsigned v = (unsigned)(r->bits & ((1ull << n) - 1u));
    r->bits >>= n;
    r->count -= n;
    return v;
}

static void build_fixed(QvrkInflater* w) {
    unsigned i;
    for (i = 0; i < 144; ++i)
        w->lengths[i] = 8;
    for (; i < 256; ++i)
        w->lengths[i] = 9;
    for (; i < 280; ++i)
        w->lengths[i] = 7;
    for (; i < 288; ++i)
        w->lengths[i] = 8;
    build_table(w->litlen, QVRK_INFLATE_LITLEN_BITS, w->lengths, 288, TABLE_LITLEN, w->sorted);
    for (i = 0; i < 32; ++i)
        w->lengths[i] = 5;
    build_table(w->dist, QVRK_INFLATE_DIST_BITS, w->lengths, 32, TABLE_DIST, w->sorted);
}

static QvrkInflateResult read_dynamic_tables(QvrkInflater* w, BitReader* r) {
    unsigned hlit, hdist, hclen, i, n;
    if (!refill(r))
        return QVRK_INFLATE_TRUNCATED;
    hlit = take(r, 5) + 257;
    hdist = take(r, 5) + 1;
    hclen = take(r, 4) + 4;
    if (hlit > 286 || hdist > 30)
        return QVRK_INFLATE_BAD_CODE;
    for (i = 0; i < 19; ++i)
        w->lengths[i] = 0;
    for (i = 0; i < hclen; ++i) {
        if (!refill(r))
            return QVRK_INFLATE_TRUNCATED;
        w->lengths[kCodeLengthOrder[i]] = (uint8_t)take(r, 3);
    }
    if (!build_table(w->codelen, CODELEN_BITS, w->lengths, 19, TABLE_CODELEN, w->sorted))
        return QVRK_INFLATE_BAD_CODE;

    n = 0;
    while (n < hlit + hdist) {
        uint32_t e;
        unsigned symbol, repeat;
        uint8_t value;
        if (!refill(r))
            return QVRK_INFLATE_TRUNCATED;
        e = w->codelen[r->bits & ((1u << CODELEN_BITS) - 1u)];
        if (ENTRY_KIND(e) == KIND_INVALID)
            return QVRK_INFLATE_BAD_SYMBOL;
        take(r, ENTRY_BITS(e));
        symbol = ENTRY_VALUE(e);
        if (symbol < 16) {
            w->lengths[n++] = (uint8_t)symbol;
            continue;
        }
        if (symbol == 16) {
            if (n == 0)
                return QVRK_INFLATE_BAD_CODE;
            value = w->lengths[n - 1];
            repeat = 3 + take(r, 2);
        } else if (symbol == 17) {
            value = 0;
            repeat = 3 + take(r, 3);
        } else {
            value = 0;
            repeat = 11 + take(r, 7);
        }
        if (repeat > hlit + hdist - n)
            return QVRK_INFLATE_BAD_CODE;
        while (repeat-- > 0)
            w->lengths[n++] = value;
    }
    if (w->lengths[256] == 0)
        return QVRK_INFLATE_BAD_CODE; /* no end-of-block code */
    if (!build_table(w->litlen, QVRK_INFLATE_LITLEN_BITS, w->lengths, hlit, TABLE_LITLEN,
                     w->sorted))
        return QVRK_INFLATE_BAD_CODE;
    if (!build_table(w->dist, QVRK_INFLATE_DIST_BITS, w->lengths + hlit, hdist, TABLE_DIST,
                     w->sorted))
        return QVRK_INFLATE_BAD_CODE;
    return QVRK_INFLATE_OK;
}

/* Decodes one Huffman block with the current tables. */
static QvrkInflateResult decode_block(const QvrkInflater* w, BitReader* r, uint8_t* out_start,
                                      uint8_t** out_pos, uint8_t* out_end) {
    uint8_t* out = *out_pos;
    const uint32_t* litlen = w->litlen;
    const uint32_t* dist = w->dist;
    QvrkInflateResult result = QVRK_INFLATE_OK;
    for (;;) {
        uint32_t e;
        unsigned length, distance;
        const uint8_t* from;
        uint8_t* to_end;
        /* One refill covers the longest step: 15 + 5 length bits and 15 + 13 distance bits. */
        if (!refill(r)) {
            result = QVRK_INFLATE_TRUNCATED;
            break;
        }
        e = litlen[r->bits & LITLEN_MASK];
        if (ENTRY_KIND(e) == KIND_SUBTABLE)
            e = litlen[ENTRY_VALUE(e) + ((r->bits >> QVRK_INFLATE_LITLEN_BITS) & LITLEN_SUB_MASK)];
        r->bits >>= ENTRY_BITS(e);
        r->count -= ENTRY_BITS(e);
        if (ENTRY_KIND(e) == KIND_LITERAL) {
            if (out == out_end) {
                result = QVRK_INFLATE_TOO_LONG;
                break;
            }
            *out++ = (uint8_t)ENTRY_VALUE(e);
            continue;
        }
        if (ENTRY_KIND(e) != KIND_LENGTH) {
            if (ENTRY_KIND(e) != KIND_END)
                result = QVRK_INFLATE_BAD_SYMBOL;
            break;
        }
        length = ENTRY_VALUE(e) + take(r, ENTRY_EXTRA(e));

        e = dist[r->bits & DIST_MASK];
        if (ENTRY_KIND(e) == KIND_SUBTABLE)
            e = dist[ENTRY_VALUE(e) + ((r->bits >> QVRK_INFLATE_DIST_BITS) & DIST_SUB_MASK)];
        if (ENTRY_KIND(e) != KIND_DISTANCE) {
            result = QVRK_INFLATE_BAD_SYMBOL;
            break;
        }
        r->bits >>= ENTRY_BITS(e);
        r->count -= ENTRY_BITS(e);
        distance = ENTRY_VALUE(e) + take(r, ENTRY_EXTRA(e));

        if (distance > (size_t)(out - out_start)) {
            result = QVRK_INFLATE_BAD_DISTANCE;
            break;
        }
        if (length > (size_t)(out_end - out)) {
            result = QVRK_INFLATE_TOO_LONG;
            break;
        }
        from = out - distance;
        to_end = out + length;
        if (distance >= 8 && (size_t)(out_end - to_end) >= 8) {
            /* Words of 8 never overlap their source here; the last one may run up to 7 bytes past
             * the match, still inside the buffer, and those bytes are written again later. */
            do {
                store64(out, load64(from));
                out += 8;
                from += 8;
            } while (out < to_end);
            out = to_end;
        } else if (distance == 1) {
            uint8_t byte = *from;
            while (out < to_end)
                *out++ = byte;
        } else {
            while (out < to_end)
                *out++ = *from++;
        }
    }
    *out_pos = out;
    return result;
}

QvrkInflateResult qvrk_inflate(QvrkInflater* work, const uint8_t* in, size_t in_size, uint8_t* out,
                               size_t out_size, size_t* produced) {
    BitReader r;
    uint8_t* pos = out;
    uint8_t* out_end = out;
    QvrkInflateResult result = QVRK_INFLATE_OK;
    int fixed_ready = 0; /* the tables hold the fixed code */
    unsigned final_block = 0;

    if (produced)
        *produced = 0;
    if (work == 0 || (in == 0 && in_size != 0) || (out == 0 && out_size != 0))
        return QVRK_INFLATE_BAD_ARGUMENT;
    /* No pointer arithmetic on null buffers of size 0. */
    if (out_size != 0)
        out_end = out + out_size;
    r.in = in;
    r.in_end = in_size != 0 ? in + in_size : in;
    r.bits = 0;
    r.count = 0;
    r.overread = 0;

    while (!final_block) {
        unsigned type;
        if (!refill(&r)) {
            result = QVRK_INFLATE_TRUNCATED;
            break;
        }
        final_block = take(&r, 1);
        type = take(&r, 2);
        if (type == 0) {
            unsigned length, complement, buffered;
            take(&r, r.count & 7u); /* to the byte boundary */
            length = take(&r, 16);
            complement = take(&r, 16);
            if (r.overread * 8u > r.count) {
                result = QVRK_INFLATE_TRUNCATED;
                break;
            }
            if (length != (~complement & 0xFFFFu)) {
                result = QVRK_INFLATE_BAD_STORED_LENGTH;
                break;
            }
            /* Give the whole bytes still in the word back to the input and copy directly. */
            buffered = r.count / 8u - r.overread;
            r.in -= buffered;
            r.bits = 0;
            r.count = 0;
            r.overread = 0;
            if ((size_t)(r.in_end - r.in) < length) {
                result = QVRK_INFLATE_TRUNCATED;
                break;
            }
            if ((size_t)(out_end - pos) < length) {
                result = QVRK_INFLATE_TOO_LONG;
                break;
            }
            while (length-- > 0)
                *pos++ = *r.in++;
        } else if (type == 1) {
            if (!fixed_ready) {
                build_fixed(work);
                fixed_ready = 1;
            }
            result = decode_block(work, &r, out, &pos, out_end);
        } else if (type == 2) {
            fixed_ready = 0;
            result = read_dynamic_tables(work, &r);
            if (result == QVRK_INFLATE_OK)
                result = decode_block(work, &r, out, &pos, out_end);
        } else {
            result = QVRK_INFLATE_BAD_BLOCK_TYPE;
        }
        if (result != QVRK_INFLATE_OK)
            break;
    }
    if (result == QVRK_INFLATE_OK && r.overread * 8u > r.count)
        result = QVRK_INFLATE_TRUNCATED;
    if (result == QVRK_INFLATE_OK && pos != out_end)
        result = QVRK_INFLATE_TOO_SHORT;
    if (produced)
        *produced = (size_t)(pos - out);
    return result;
}

const char* qvrk_inflate_result_text(QvrkInflateResult result) {
    switch (result) {
    case QVRK_INFLATE_OK:
        return "ok";
    case QVRK_INFLATE_TRUNCATED:
        return "truncated input";
    case QVRK_INFLATE_TOO_LONG:
        return "more data than expected";
    case QVRK_INFLATE_TOO_SHORT:
        return "less data than expected";
    case QVRK_INFLATE_BAD_BLOCK_TYPE:
        return "invalid block type";
    case QVRK_INFLATE_BAD_STORED_LENGTH:
        return "invalid stored block length";
    case QVRK_INFLATE_BAD_CODE:
        return "invalid code lengths";
    case QVRK_INFLATE_BAD_SYMBOL:
        return "invalid code";
    case QVRK_INFLATE_BAD_DISTANCE:
        return "distance too far back";
    case QVRK_INFLATE_BAD_ARGUMENT:
        return "invalid argument";
    }
    return "unknown";
}

int qvrk_inflated_size_possible(uint32_t stored, uint32_t original) {
    return (uint64_t)original <= (uint64_t)stored * QVRK_INFLATE_MAX_RATIO + QVRK_INFLATE_MAX_SLACK;
}
