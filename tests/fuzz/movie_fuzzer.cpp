// Movie headers as the builder reads them, and the compressed-to-uncompressed conversion: a
// converted movie keeps its header facts.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "builder/engine/fc_cws_convert.h"
#include "builder/engine/fc_movie_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FCMovieInfo info;
    bool read = FCReadMovieInfoFromMemory(data, size, &info);

    std::vector<uint8_t> fws;
    if (FCUncompressMovie(data, size, &fws)) {
        uint32_t claimed = uint32_t(data[4]) | uint32_t(data[5]) << 8 | uint32_t(data[6]) << 16 |
                           uint32_t(data[7]) << 24;
        if (fws.size() != claimed || std::memcmp(fws.data(), "FWS", 3) != 0 ||
            std::memcmp(fws.data() + 3, data + 3, 5) != 0)
            __builtin_trap();
        FCMovieInfo plain;
        bool plain_read = FCReadMovieInfoFromMemory(fws.data(), fws.size(), &plain);
        if (read != plain_read || (read && (info.width_twips != plain.width_twips ||
                                            info.height_twips != plain.height_twips ||
                                            info.frame_count != plain.frame_count)))
            __builtin_trap();
    } else if (!fws.empty()) {
        __builtin_trap();
    }
    return 0;
}
