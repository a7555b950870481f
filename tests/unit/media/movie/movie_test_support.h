// Helpers of the movie writer's tests: the independent SWF reader, files, zlib and bit strings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class KZPicture;

// The output of swf_check.py (yaswfp plus ImageMagick) for one movie, split into words.
struct SwfCheck {
    int exit_code = -1;
    std::string output;
    std::vector<std::vector<std::string>> lines;

    bool Ok() const { return exit_code == 0 && !lines.empty() && lines.back()[0] == "ok"; }
    std::vector<std::vector<std::string>> All(const std::string& key) const;
    std::vector<std::string> First(const std::string& key) const;
    // Tag codes in file order, the end tag included.
    std::vector<int> TagCodes() const;
    // Body length of tag `index`.
    long TagLength(int index) const;
};

// False when the checker cannot run here (no Python with yaswfp, e.g. under Wine).
bool SwfCheckAvailable();
SwfCheck RunSwfCheck(const std::string& movie_path);

std::string TestDir(); // a fresh folder for this test program's files
std::vector<uint8_t> ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
// zlib-format inflate; empty on any error.
std::vector<uint8_t> Inflate(const uint8_t* data, size_t size);
// Binary PPM (P6) as written by swf_check.py.
std::vector<uint8_t> ReadPpm(const std::string& path, int* width, int* height);
// The checker's JPEG marker list with repeated neighbours merged (libjpeg writes one segment per
// table): {"D8", "DB", "C0", "C4", "DA"} for a stream without application data or comments.
std::vector<std::string> MarkerKinds(const std::vector<std::string>& jpeg_line);
// "0100 0001" -> {0x41}; spaces ignored, the last byte zero-padded.
std::vector<uint8_t> Bits(const std::string& bits);
// Largest difference between a decoded RGB image (top row first) and a picture; gray pictures
// are compared with every channel, alpha is ignored.
int MaxDifference(const std::vector<uint8_t>& rgb_top_down, const KZPicture* picture);
