// Tag writer of a timeline: every tag goes to the output stream, which is either the target
// memory stream itself or a deflate stream over it.
#pragma once

#include <cstdint>

#include "media/movie/vm_bit_buffer.h"

class KZStream;
class KZPicture;
class VMShape;

class VMSprite {
public:
    virtual ~VMSprite();
    VMSprite(const VMSprite&) = delete;
    VMSprite& operator=(const VMSprite&) = delete;

    // Every operation returns true when each stream write succeeded.
    bool WriteTagHeader(int code, uint32_t length);
    // Frame RECT, 8.8 frame rate and frame count; no record header.
    bool WriteMovieHeader(const VMRect& frame, float rate, int frame_count);
    // RGB only: the alpha is not part of the tag.
    bool SetBackgroundColor(uint8_t r, uint8_t g, uint8_t b, uint8_t a);
    // A record of tag 9 with no body.
    bool WriteEmptyTag9();
    // DefineBitsJPEG2 or, for a picture with alpha, DefineBitsJPEG3. Nothing is written when the
    // picture cannot be encoded. The picture is not changed and stays the caller's.
    bool DefineBitmap(uint16_t id, const KZPicture* picture, int quality);
    // DefineShape3 when the encoded shape uses alpha, else DefineShape. The shape must have
    // been encoded.
    bool DefineShape(uint16_t id, const VMShape* shape);
    bool PlaceObject(uint16_t id, uint16_t depth, const VMMatrix& matrix,
                     const VMColorTransform* cxform = nullptr);
    bool ShowFrame();
    // Appends the end-of-actions byte to actions, then writes them as a DoAction tag.
    bool DoAction(VMBitBuffer& actions);
    // The end tag; a compressed movie then finishes its deflate stream.
    bool End();

    int FrameCounter() const { return frame_counter_; }
    bool IsCompressed() const { return compressed_; }
    KZStream* OutputStream() const { return output_; }
    KZStream* TargetStream() const { return target_; }

protected:
    // Takes the given target, or makes and owns a memory stream; when compressed, a deflate
    // stream (level 9, zlib format) over the target becomes the output stream.
    VMSprite(KZStream* target, bool compressed);

private:
    bool WriteTag(int code, const VMBitBuffer& body);
    bool WriteBytes(const void* data, uint32_t length);

    KZStream* output_ = nullptr;
    bool owns_output_ = false;
    KZStream* target_ = nullptr;
    bool owns_target_ = false;
    bool compressed_ = false;
    int frame_counter_ = 0;
};
