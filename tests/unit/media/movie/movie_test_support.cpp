#include "tests/unit/media/movie/movie_test_support.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#ifdef _WIN32
#include <direct.h>
#include <process.h>
#define MakeFolder(path) _mkdir(path)
#define ProcessId() _getpid()
#else
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#define MakeFolder(path) mkdir(path, 0755)
#define ProcessId() getpid()
#endif

#include <zlib.h>

#include "media/picture/kz_picture.h"

std::vector<std::vector<std::string>> SwfCheck::All(const std::string& key) const {
    std::vector<std::vector<std::string>> out;
    for (const auto& line : lines)
        if (!line.empty() && line[0] == key)
            out.push_back(line);
    return out;
}

std::vector<std::string> SwfCheck::First(const std::string& key) const {
    for (const auto& line : lines)
        if (!line.empty() && line[0] == key)
            return line;
    return {};
}

std::vector<int> SwfCheck::TagCodes() const {
    std::vector<int> codes;
    for (const auto& line : All("tag"))
        codes.push_back(std::stoi(line[2]));
    return codes;
}

long SwfCheck::TagLength(int index) const {
    for (const auto& line : All("tag"))
        if (std::stoi(line[1]) == index)
            return std::stol(line[5]);
    return -1;
}

bool SwfCheckAvailable() {
#ifdef _WIN32
    return false;
#else
    return system("/usr/bin/python3 -c 'import yaswfp.swfparser' >/dev/null 2>&1") == 0;
#endif
}

SwfCheck RunSwfCheck(const std::string& movie_path) {
    SwfCheck check;
#ifndef _WIN32
    std::string command = std::string("/usr/bin/python3 ") + SCRKIT_SOURCE_DIR +
                          "/tests/unit/media/movie/swf_check.py '" + movie_path + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return check;
    char buffer[4096];
    while (fgets(buffer, sizeof buffer, pipe)) {
        check.output += buffer;
        std::istringstream words(buffer);
        std::vector<std::string> line;
        std::string word;
        while (words >> word)
            line.push_back(word);
        if (!line.empty())
            check.lines.push_back(line);
    }
    int status = pclose(pipe);
    check.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    return check;
}

std::string TestDir() {
    static std::string dir;
    if (dir.empty()) {
        dir = std::string(SCRKIT_BINARY_DIR) + "/test-files";
        MakeFolder(dir.c_str());
        dir += "/movie-" + std::to_string(ProcessId());
        MakeFolder(dir.c_str());
    }
    return dir;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

std::vector<uint8_t> Inflate(const uint8_t* data, size_t size) {
    std::vector<uint8_t> out;
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK)
        return out;
    zs.next_in = const_cast<Bytef*>(data);
    zs.avail_in = uInt(size);
    uint8_t chunk[16384];
    int rc;
    do {
        zs.next_out = chunk;
        zs.avail_out = sizeof chunk;
        rc = inflate(&zs, Z_NO_FLUSH);
        if (rc != Z_OK && rc != Z_STREAM_END) {
            inflateEnd(&zs);
            return {};
        }
        out.insert(out.end(), chunk, chunk + (sizeof chunk - zs.avail_out));
    } while (rc != Z_STREAM_END);
    // The zlib stream must fill its space exactly.
    bool exact = zs.avail_in == 0;
    inflateEnd(&zs);
    return exact ? out : std::vector<uint8_t>();
}

std::vector<uint8_t> ReadPpm(const std::string& path, int* width, int* height) {
    std::vector<uint8_t> file = ReadBytes(path);
    std::string text(file.begin(), file.end());
    std::istringstream in(text);
    std::string magic;
    int maxval = 0;
    in >> magic >> *width >> *height >> maxval;
    if (magic != "P6" || maxval != 255)
        return {};
    size_t start = size_t(in.tellg()) + 1;
    size_t n = size_t(*width) * size_t(*height) * 3;
    if (file.size() < start + n)
        return {};
    return std::vector<uint8_t>(file.begin() + long(start), file.begin() + long(start + n));
}

std::vector<std::string> MarkerKinds(const std::vector<std::string>& jpeg_line) {
    std::vector<std::string> kinds;
    for (size_t i = 5; i < jpeg_line.size(); ++i)
        if (kinds.empty() || kinds.back() != jpeg_line[i])
            kinds.push_back(jpeg_line[i]);
    return kinds;
}

std::vector<uint8_t> Bits(const std::string& bits) {
    std::vector<uint8_t> out;
    int n = 0;
    for (char c : bits) {
        if (c != '0' && c != '1')
            continue;
        if (n % 8 == 0)
            out.push_back(0);
        if (c == '1')
            out.back() |= uint8_t(0x80 >> (n % 8));
        ++n;
    }
    return out;
}

int MaxDifference(const std::vector<uint8_t>& rgb, const KZPicture* picture) {
    const int w = picture->Width(), h = picture->Height(), bpp = picture->BytesPerPixel();
    const bool gray = picture->Format() == KZ_PICTURE_GRAY;
    int worst = 0;
    for (int top = 0; top < h; ++top) {
        const uint8_t* row = picture->Row(h - 1 - top);
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                int source = gray ? row[x] : row[bpp * x + c];
                int decoded = rgb[(size_t(top) * w + x) * 3 + c];
                int d = abs(source - decoded);
                worst = d > worst ? d : worst;
            }
    }
    return worst;
}
