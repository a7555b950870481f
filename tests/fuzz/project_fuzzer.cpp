// Project files: the in-memory record reader, and FCDocument::load over the same bytes in a file,
// which must leave the document untouched whenever it fails.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include <unistd.h>

#include "builder/engine/fc_document.h"
#include "builder/engine/fc_project_file.h"
#include "media/base/kz_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 20)
        return 0;
    FCDocumentFields fields;
    int read = FCReadProjectFile(data, int(size), fields, nullptr);
    if (read == FC_LOAD_OK) {
        // What was read writes out again.
        KZMemoryStream out;
        if (!FCWriteProjectFile(fields, out))
            __builtin_trap();
    }

    static std::string path = "/tmp/scrkit-fuzz-project-" + std::to_string(getpid()) + ".kpj";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    FCDocument document;
    KZString before = document.short_name;
    int loaded = document.load(path.c_str());
    if (loaded != FC_LOAD_OK && !(document.short_name == before))
        __builtin_trap();
    std::remove(path.c_str());
    return 0;
}
