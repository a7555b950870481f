// A whole SWF movie: the tag writer plus the 8-byte file header, which is taken last because it
// holds the file length.
#pragma once

#include <cstdint>

#include "media/movie/vm_sprite.h"

class VMMovie : public VMSprite {
public:
    // Uncompressed movies (F W S) are version 4, compressed ones (C W S) version 6. Without a
    // target, the movie owns a memory stream of its own.
    explicit VMMovie(KZStream* target = nullptr, bool compressed = false);
    ~VMMovie() override;

    // False when the streams could not be created.
    bool IsValid() const { return OutputStream() != nullptr; }
    int Version() const { return version_; }
    int64_t StartOffset() const { return start_offset_; }

    // Signature, version and the file length (output size + 8 - start offset).
    void WriteFileHeader(uint8_t header[8]) const;

private:
    int version_;
    int64_t start_offset_;
};
