// The movie information reader: the few facts of a SWF movie's header that the builder needs
// (frame size for the payload records, the background colour for the document).
#pragma once

#include <cstddef>
#include <cstdint>

struct FCMovieInfo {
    int version = 0;      // SWF version byte
    int width_twips = 0;  // x maximum - x minimum of the frame rectangle
    int height_twips = 0; // y maximum - y minimum
    int frame_rate = 0;   // 8.8 fixed point, as stored (frames per second * 256)
    int frame_count = 0;
    uint8_t background_red = 0; // SetBackgroundColor, black when the movie sets none
    uint8_t background_green = 0;
    uint8_t background_blue = 0;
    uint8_t background_alpha = 255;
};

// Reads the movie at `path` ("FWS", or "CWS" whose body is a zlib stream). False when the file
// cannot be read or is not a movie; `info` is then left as it was.
bool FCReadMovieInfo(const char* path, FCMovieInfo* info);

// The same on a movie already in memory (the whole file, header included).
bool FCReadMovieInfoFromMemory(const uint8_t* data, size_t size, FCMovieInfo* info);
