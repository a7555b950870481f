// Helpers of the engine tests: scratch folders, little-endian byte building, tiny SWF movies.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "builder/engine/fc_document.h"

class FCResourceTable;

namespace fctest {

// Fills `resources` with the built-in ones and the given stub and launcher in place of the real
// programs.
void UseTestResources(FCResourceTable& resources, const std::vector<uint8_t>& stub,
                      const std::vector<uint8_t>& launcher);

// A fresh folder under the build tree, removed with the object. Ends with "/".
class ScratchFolder {
public:
    explicit ScratchFolder(const char* name);
    ~ScratchFolder();
    const std::string& path() const { return folder; }
    std::string file(const char* name) const { return folder + name; }

private:
    std::string folder;
};

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadBytes(const std::string& path);
bool Exists(const std::string& path);

// Appends little-endian values.
struct Bytes {
    std::vector<uint8_t> data;
    Bytes& u8(uint8_t v) {
        data.push_back(v);
        return *this;
    }
    Bytes& u16(uint16_t v) { return u8(uint8_t(v)).u8(uint8_t(v >> 8)); }
    Bytes& u32(uint32_t v) { return u16(uint16_t(v)).u16(uint16_t(v >> 16)); }
    Bytes& i32(int32_t v) { return u32(uint32_t(v)); }
    Bytes& f32(float v);
    Bytes& raw(const std::string& s) {
        data.insert(data.end(), s.begin(), s.end());
        return *this;
    }
    Bytes& raw(const std::vector<uint8_t>& v) {
        data.insert(data.end(), v.begin(), v.end());
        return *this;
    }
};

// An uncompressed movie body: frame rectangle, rate, count, then the given tags.
struct SwfTag {
    int code;
    std::vector<uint8_t> payload;
    bool long_form = false;
};
std::vector<uint8_t> SwfBody(int x_min, int x_max, int y_min, int y_max, uint16_t rate,
                             uint16_t frames, const std::vector<SwfTag>& tags);
// "FWS" or "CWS" (zlib-compressed body) file around a body; the length field is 8 + body size
// unless `length_override` is given.
std::vector<uint8_t> SwfFile(bool compressed, uint8_t version, const std::vector<uint8_t>& body,
                             int64_t length_override = -1);

} // namespace fctest
