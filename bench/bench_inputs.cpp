#include "bench/bench_inputs.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <zlib.h>

#include "media/picture/kz_picture.h"

namespace bench {

namespace {

uint64_t Next(uint64_t* state) {
    // xorshift64*: cheap and the same on every machine.
    *state ^= *state >> 12;
    *state ^= *state << 25;
    *state ^= *state >> 27;
    return *state * 0x2545F4914F6CDD1Dull;
}

void FillText(uint8_t* p, size_t n) {
    static const char* const kWords[] = {
        "movie",  "frame",       "sprite", "shape", "bitmap", "sound", "stream", "button",
        "action", "the",         "of",     "and",   "to",     "a",     "in",     "screen",
        "saver",  "gotoAndPlay", "stop",   "play",  "clip",   "layer", "tween",  "alpha",
        "colour", "matrix",      "morph",  "font",  "text",   "edit"};
    const size_t kCount = sizeof kWords / sizeof kWords[0];
    uint64_t state = 0x9E3779B97F4A7C15ull;
    size_t i = 0;
    while (i < n) {
        uint64_t r = Next(&state);
        const char* w = kWords[r % kCount];
        size_t len = strlen(w);
        for (size_t k = 0; k < len && i < n; k++)
            p[i++] = uint8_t(w[k]);
        if (i < n)
            p[i++] = (r >> 32) % 11 == 0  ? '\n'
                     : (r >> 40) % 5 == 0 ? uint8_t('0' + (r >> 48) % 10)
                                          : ' ';
    }
}

void FillRandom(uint8_t* p, size_t n) {
    uint64_t state = 0xD1B54A32D192ED03ull;
    for (size_t i = 0; i < n; i += 8) {
        uint64_t r = Next(&state);
        for (size_t k = 0; k < 8 && i + k < n; k++)
            p[i + k] = uint8_t(r >> (8 * k));
    }
}

void Put32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v), p[1] = uint8_t(v >> 8), p[2] = uint8_t(v >> 16), p[3] = uint8_t(v >> 24);
}

} // namespace

std::vector<uint8_t> MakeMovie(bool compressible, size_t size) {
    std::vector<uint8_t> m(size, 0);
    // "FWS", version 6, file length; frame 0..12800 x 0..9600 twips (640 x 480), 12 fps, 1 frame.
    static const uint8_t kRect[] = {0x78, 0x00, 0x06, 0x40, 0x00, 0x00, 0x12, 0xC0, 0x00};
    size_t at = 0;
    memcpy(m.data(), "FWS\x06", 4);
    Put32(&m[4], uint32_t(size));
    at = 8;
    memcpy(&m[at], kRect, sizeof kRect);
    at += sizeof kRect;
    m[at++] = 0x00, m[at++] = 0x0C; // frame rate 12.0
    m[at++] = 0x01, m[at++] = 0x00; // one frame
    // DefineBinaryData (87) in the long form, up to ShowFrame and End.
    size_t tail = 2 + 2;
    size_t body = size - at - 6 - tail;
    m[at++] = uint8_t((87 << 6) | 0x3F), m[at++] = uint8_t(87 >> 2);
    Put32(&m[at], uint32_t(body));
    at += 4;
    if (compressible)
        FillText(&m[at], body);
    else
        FillRandom(&m[at], body);
    at += body;
    m[at++] = 0x40, m[at++] = 0x00; // ShowFrame
    m[at++] = 0x00, m[at++] = 0x00; // End
    return m;
}

const std::string& WorkFolder() {
    static std::string folder = [] {
        const char* env = getenv("SCRKIT_BENCH_DIR");
        std::string f = env && *env ? env : "/tmp/scrkit-bench";
        if (f.back() != '/')
            f += '/';
        mkdir(f.c_str(), 0755);
        return f;
    }();
    return folder;
}

std::string DataFile(const char* name) {
    const char* env = getenv("SCRKIT_BENCH_DATA");
    std::string f = env && *env ? env : WorkFolder() + "data";
    if (f.back() != '/')
        f += '/';
    return f + name;
}

const std::vector<uint8_t>& MovieBytes(bool compressible) {
    static std::vector<uint8_t> movies[2];
    std::vector<uint8_t>& m = movies[compressible ? 1 : 0];
    if (m.empty())
        m = MakeMovie(compressible);
    return m;
}

const std::string& MovieFile(bool compressible) {
    static std::string paths[2];
    std::string& path = paths[compressible ? 1 : 0];
    if (path.empty()) {
        path = WorkFolder() + (compressible ? "compressible.swf" : "incompressible.swf");
        const std::vector<uint8_t>& m = MovieBytes(compressible);
        FILE* f = fopen(path.c_str(), "wb");
        if (!f || fwrite(m.data(), 1, m.size(), f) != m.size()) {
            fprintf(stderr, "cannot write %s\n", path.c_str());
            exit(1);
        }
        fclose(f);
    }
    return path;
}

const std::vector<uint8_t>& DeflatedMovie(bool compressible) {
    static std::vector<uint8_t> streams[2];
    std::vector<uint8_t>& s = streams[compressible ? 1 : 0];
    if (s.empty()) {
        const std::vector<uint8_t>& m = MovieBytes(compressible);
        z_stream zs;
        memset(&zs, 0, sizeof zs);
        deflateInit2(&zs, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
        s.resize(deflateBound(&zs, uLong(m.size())));
        zs.next_in = const_cast<uint8_t*>(m.data());
        zs.avail_in = uInt(m.size());
        zs.next_out = s.data();
        zs.avail_out = uInt(s.size());
        if (deflate(&zs, Z_FINISH) != Z_STREAM_END)
            exit(1);
        s.resize(zs.total_out);
        deflateEnd(&zs);
    }
    return s;
}

const KZPicture* Photo() {
    static KZPicture* photo = LoadPicture(DataFile("photo.ppm").c_str());
    return photo;
}

} // namespace bench
