// build_screensaver: a project becomes one screensaver file, the stub followed by the payload.
#pragma once

#include <cstdint>

#include "builder/engine/fc_cws_convert.h" // FC_MAX_INFLATED_MOVIE
#include "media/base/kz_array.h"
#include "media/base/kz_string.h"

class FCDocument;
class FCResources;
class KZReporter;

struct FCBuildOptions {
    // A fixed seed makes the output reproducible (the same project and stub give the same bytes
    // on every machine); otherwise the seed comes from the processor's time-stamp counter.
    bool fixed_seed = false;
    uint32_t seed = 0;
    // When not null: receives, for a build that succeeds, what will disappoint at run time (a main
    // movie whose header cannot be read, texts cut to their room), each naming its field.
    KZTOArray<KZString>* warnings = nullptr;
};

// Writes the screensaver to output_path. True when the complete file was written. On false the
// error has been reported through `reporter`, whatever file was at output_path before is left as
// it was, and none of the build's temporary files remain. The document is not changed. An output
// that is one of the build's inputs (fc_build_inputs.h) is refused before anything is written.
bool build_screensaver(const FCDocument& document, const char* output_path, FCResources& resources,
                       KZReporter& reporter, const FCBuildOptions& options = FCBuildOptions());
