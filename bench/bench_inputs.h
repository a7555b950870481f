// Inputs of the benchmarks, made the same way on every run so that each figure and its reference
// see the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class KZPicture;

namespace bench {

const size_t kMovieSize = 20u << 20;

// An uncompressed SWF movie of exactly `size` bytes: a header, a frame and one long tag holding
// pseudo-random text (compressible, about 3:1 under deflate) or random bytes (incompressible).
std::vector<uint8_t> MakeMovie(bool compressible, size_t size = kMovieSize);

// The movie, written once per process into the bench folder; returns its path.
const std::string& MovieFile(bool compressible);

// Raw deflate at level 9 (the builder's settings) of the movie's bytes.
const std::vector<uint8_t>& MovieBytes(bool compressible);
const std::vector<uint8_t>& DeflatedMovie(bool compressible);

// Folder for the benchmark's files: $SCRKIT_BENCH_DIR, else /tmp/scrkit-bench. Ends with "/".
const std::string& WorkFolder();
// Folder of the picture files that scripts/bench makes with ImageMagick ($SCRKIT_BENCH_DATA).
std::string DataFile(const char* name);

// The 4000 x 3000 photograph (data/photo.ppm), loaded once; null when it is missing.
const KZPicture* Photo();

} // namespace bench
