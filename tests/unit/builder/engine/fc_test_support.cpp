#include "fc_test_support.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif
#include <fstream>

#include <zlib.h>

#include "builder/engine/fc_resources.h"
#include "builder/resources/fc_builtin_resources.h"

namespace fctest {

void UseTestResources(FCResourceTable& resources, const std::vector<uint8_t>& stub,
                      const std::vector<uint8_t>& launcher) {
    FCAddBuiltinResources(resources);
    resources.set_data(FC_RES_STUB, stub.data(), uint32_t(stub.size()));
    resources.set_data(FC_RES_LAUNCHER, launcher.data(), uint32_t(launcher.size()));
}

ScratchFolder::ScratchFolder(const char* name) {
    // CTest runs the cases of one program side by side: each process gets folders of its own.
    std::filesystem::path p = std::filesystem::path(SCRKIT_BINARY_DIR) / "test-scratch" /
                              (std::string(name) + "-" + std::to_string(getpid()));
    std::error_code ec;
    std::filesystem::remove_all(p, ec);
    std::filesystem::create_directories(p, ec);
    folder = p.string() + "/";
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

Bytes& Bytes::f32(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    return u32(bits);
}

namespace {

struct BitWriter {
    std::vector<uint8_t> out;
    int used = 8;
    void bits(uint32_t value, int count) {
        for (int i = count - 1; i >= 0; --i) {
            if (used == 8) {
                out.push_back(0);
                used = 0;
            }
            if ((value >> i) & 1u)
                out.back() |= uint8_t(0x80u >> used);
            ++used;
        }
    }
};

int BitsFor(int v) {
    int n = 1; // sign bit
    for (int64_t m = v < 0 ? -int64_t(v) - 1 : v; m > 0; m >>= 1)
        ++n;
    return n;
}

} // namespace

std::vector<uint8_t> SwfBody(int x_min, int x_max, int y_min, int y_max, uint16_t rate,
                             uint16_t frames, const std::vector<SwfTag>& tags) {
    int n = 1;
    for (int v : {x_min, x_max, y_min, y_max})
        n = std::max(n, BitsFor(v));
    BitWriter w;
    w.bits(uint32_t(n), 5);
    for (int v : {x_min, x_max, y_min, y_max})
        w.bits(uint32_t(v) & ((n == 32) ? 0xFFFFFFFFu : ((1u << n) - 1u)), n);
    Bytes b;
    b.raw(w.out).u16(rate).u16(frames);
    for (const SwfTag& tag : tags) {
        size_t len = tag.payload.size();
        if (len >= 63 || tag.long_form)
            b.u16(uint16_t((tag.code << 6) | 63)).u32(uint32_t(len));
        else
            b.u16(uint16_t((tag.code << 6) | len));
        b.raw(tag.payload);
    }
    return b.data;
}

std::vector<uint8_t> SwfFile(bool compressed, uint8_t version, const std::vector<uint8_t>& body,
                             int64_t length_override) {
    Bytes b;
    b.raw(compressed ? "CWS" : "FWS").u8(version);
    b.u32(uint32_t(length_override >= 0 ? length_override : int64_t(body.size() + 8)));
    if (!compressed)
        return b.raw(body).data;
    uLongf size = compressBound(uLong(body.size()));
    std::vector<uint8_t> packed(size);
    compress2(packed.data(), &size, body.data(), uLong(body.size()), 9);
    packed.resize(size);
    return b.raw(packed).data;
}

} // namespace fctest
