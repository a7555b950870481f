#include "media/movie/vm_sprite.h"

#include <new>

#include "media/base/kz_stream.h"
#include "media/movie/vm_bitmap.h"
#include "media/movie/vm_shape.h"

VMSprite::VMSprite(KZStream* target, bool compressed) : compressed_(compressed) {
    if (target) {
        target_ = target;
    } else {
        target_ = new (std::nothrow) KZMemoryStream;
        owns_target_ = target_ != nullptr;
    }
    if (!target_)
        return;
    if (compressed) {
        output_ = new (std::nothrow) KZDeflateStream(target_, 9);
        owns_output_ = output_ != nullptr;
    } else {
        output_ = target_;
    }
}

VMSprite::~VMSprite() {
    // The deflate stream writes into the target, so it goes first.
    if (owns_output_)
        delete output_;
    if (owns_target_)
        delete target_;
}

bool VMSprite::WriteBytes(const void* data, uint32_t length) {
    if (!output_ || length > 0x7FFFFFFF)
        return false;
    return length == 0 || output_->WriteBlock(data, int(length));
}

bool VMSprite::WriteTagHeader(int code, uint32_t length) {
    if (!output_)
        return false;
    if (length < 63)
        return output_->PutU16(uint16_t(code * 64 + int(length)));
    return output_->PutU16(uint16_t(code * 64 + 63)) && output_->PutU32(length);
}

bool VMSprite::WriteTag(int code, const VMBitBuffer& body) {
    return WriteTagHeader(code, body.Length()) && WriteBytes(body.Data(), body.Length());
}

bool VMSprite::WriteMovieHeader(const VMRect& frame, float rate, int frame_count) {
    double fixed = double(rate) * 256.0 + 0.5;
    uint16_t rate_field = fixed <= 0 ? 0 : (fixed >= 65535.0 ? 65535 : uint16_t(fixed));
    uint16_t count = frame_count < 0 ? 0 : (frame_count > 65535 ? 65535 : uint16_t(frame_count));
    VMBitBuffer body;
    return body.WriteRect(frame) && body.PutU16(rate_field) && body.PutU16(count) &&
           WriteBytes(body.Data(), body.Length());
}

bool VMSprite::SetBackgroundColor(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    return output_ && output_->PutU16(0x0243) && output_->PutByte(r) && output_->PutByte(g) &&
           output_->PutByte(b);
}

bool VMSprite::WriteEmptyTag9() {
    return output_ && output_->PutByte(0x40) && output_->PutByte(0x02);
}

bool VMSprite::DefineBitmap(uint16_t id, const KZPicture* picture, int quality) {
    if (!output_)
        return false;
    KZMemoryStream body;
    int code = 0;
    if (!body.PutU16(id) || !EncodeJpegBitmap(picture, quality, &body, &code) ||
        body.GetError() != 0)
        return false;
    return WriteTagHeader(code, uint32_t(body.GetLength())) &&
           WriteBytes(body.GetData(), uint32_t(body.GetLength()));
}

bool VMSprite::DefineShape(uint16_t id, const VMShape* shape) {
    if (!shape || !shape->Encoded())
        return false;
    VMBitBuffer body;
    const VMBitBuffer* encoded = shape->Encoded();
    if (!body.PutU16(id) || !body.WriteRect(shape->Bounds()) || !body.AlignByte() ||
        !body.PutBlock(encoded->Data(), encoded->Length()))
        return false;
    return WriteTag(shape->UsesAlpha() ? VM_TAG_DEFINE_SHAPE3 : VM_TAG_DEFINE_SHAPE, body);
}

bool VMSprite::PlaceObject(uint16_t id, uint16_t depth, const VMMatrix& matrix,
                           const VMColorTransform* cxform) {
    VMBitBuffer body;
    bool ok = body.PutU16(id) && body.PutU16(depth) && body.WriteMatrix(matrix);
    if (cxform)
        ok = ok && body.WriteColorTransform(*cxform);
    return ok && body.AlignByte() && WriteTag(VM_TAG_PLACE_OBJECT, body);
}

bool VMSprite::ShowFrame() {
    if (!output_ || !output_->PutU16(0x0040))
        return false;
    ++frame_counter_;
    return true;
}

bool VMSprite::DoAction(VMBitBuffer& actions) {
    return actions.PutByte(0x00) && WriteTag(VM_TAG_DO_ACTION, actions);
}

bool VMSprite::End() {
    if (!output_ || !output_->PutU16(0x0000))
        return false;
    return !compressed_ || output_->Finish();
}
