// The files a build, a setup or a conversion reads, each with what it is to the author, so that
// an output path naming one of them is refused before anything is written: writing the output
// would destroy the input it was made from.
#pragma once

#include <vector>

#include "media/base/kz_string.h"

class FCDocument;
class FCResources;
class KZReporter;

struct FCBuildInput {
    KZString path;
    const char* role; // "main movie", "playback file", ... as the message names it
};
using FCBuildInputs = std::vector<FCBuildInput>;

// What build_screensaver reads: the project file (when the document has one), the main movie, the
// embedded playback files, the settings-dialog and preview files it uses, and the stub when the
// resources read it from a file.
void FCAddScreensaverInputs(const FCDocument& document, FCResources& resources,
                            FCBuildInputs& inputs);
// What a setup reads besides the screensaver's inputs: the licence, readme, additional and icon
// files and the custom setup pictures, each only when the project uses it.
void FCAddSetupInputs(const FCDocument& document, FCBuildInputs& inputs);

// False, with a message naming the output and the input, when `output` is the same file as one
// of the inputs as the file system compares them (through links; ignoring case on Windows).
bool FCCheckOutputIsNoInput(const char* output, const FCBuildInputs& inputs, KZReporter& reporter);
