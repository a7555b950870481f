// JPEG encoding of RGB and Grayscale pictures into memory or a file, and the shared libjpeg
// error manager.
#include "media/picture/kz_jpeg_common.h"
#include "media/picture/kz_picture.h"

#include <cstdlib>
#include <cstring>

#include "media/base/kz_file.h"

namespace {

void ErrorExit(j_common_ptr info) {
    KZJpegError* error = reinterpret_cast<KZJpegError*>(info->err);
    longjmp(error->jump, 1);
}

void OutputMessage(j_common_ptr) {}

// Memory destination: the caller's block, or one of our own that grows when the estimate of
// components x width x height + 1024 bytes is not enough (tiny or very noisy pictures at high
// quality can exceed it).
struct MemoryDestination {
    jpeg_destination_mgr manager;
    uint8_t* block;
    size_t capacity;
    bool owned;
    bool overflow;
};

void InitDestination(j_compress_ptr info) {
    MemoryDestination* d = reinterpret_cast<MemoryDestination*>(info->dest);
    d->manager.next_output_byte = d->block;
    d->manager.free_in_buffer = d->capacity;
}

boolean EmptyOutputBuffer(j_compress_ptr info) {
    MemoryDestination* d = reinterpret_cast<MemoryDestination*>(info->dest);
    if (!d->owned) {
        d->overflow = true;
        // Keep libjpeg writing somewhere harmless; the result is refused afterwards.
        d->manager.next_output_byte = d->block;
        d->manager.free_in_buffer = d->capacity;
        return TRUE;
    }
    size_t used = d->capacity;
    size_t capacity = d->capacity * 2;
    uint8_t* block = static_cast<uint8_t*>(realloc(d->block, capacity));
    if (!block) {
        KZJpegError* error = reinterpret_cast<KZJpegError*>(info->err);
        longjmp(error->jump, 1);
    }
    d->block = block;
    d->capacity = capacity;
    d->manager.next_output_byte = block + used;
    d->manager.free_in_buffer = capacity - used;
    return TRUE;
}

void TermDestination(j_compress_ptr) {}

struct EncodeState {
    jpeg_compress_struct info;
    KZJpegError error;
    MemoryDestination memory;
};

// Compresses `source` (Grayscale or RGB). No local with a destructor lives across setjmp.
bool Compress(EncodeState* state, const KZPicture* source, FILE* file, int quality,
              bool progressive, KZProgressCallback progress, void* progress_arg) {
    jpeg_compress_struct* info = &state->info;
    info->err = KZJpegInstallErrorManager(&state->error);
    if (setjmp(state->error.jump))
        return false;
    jpeg_create_compress(info);
    if (file) {
        jpeg_stdio_dest(info, file);
    } else {
        info->dest = &state->memory.manager;
        state->memory.manager.init_destination = InitDestination;
        state->memory.manager.empty_output_buffer = EmptyOutputBuffer;
        state->memory.manager.term_destination = TermDestination;
    }
    bool gray = source->Format() == KZ_PICTURE_GRAY;
    info->image_width = JDIMENSION(source->Width());
    info->image_height = JDIMENSION(source->Height());
    info->input_components = gray ? 1 : 3;
    info->in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(info);
    jpeg_set_quality(info, quality < 0 ? 0 : quality > 100 ? 100 : quality, TRUE);
    if (progressive)
        jpeg_simple_progression(info);
    jpeg_start_compress(info, TRUE);
    int height = source->Height();
    while (info->next_scanline < info->image_height) {
        if (progress && progress(progress_arg))
            return false;
        // Our rows are bottom-up; the JPEG's are top-down.
        JSAMPROW row = const_cast<JSAMPROW>(source->Row(height - 1 - int(info->next_scanline)));
        jpeg_write_scanlines(info, &row, 1);
    }
    jpeg_finish_compress(info);
    return true;
}

// The picture to compress: the picture itself, or a converted copy in *made (caller deletes).
const KZPicture* Prepare(const KZPicture* picture, bool force_gray, KZPicture** made) {
    *made = nullptr;
    if (!picture || !picture->IsValid())
        return nullptr;
    int format = picture->Format();
    if (!force_gray)
        return picture->IsRGBOrGray() ? picture : nullptr;
    if (format == KZ_PICTURE_GRAY)
        return picture;
    if (format == KZ_PICTURE_RGB)
        return *made = picture->ToGray();
    KZPicture* rgb = picture->ToRGB();
    if (!rgb)
        return nullptr;
    *made = rgb->ToGray();
    delete rgb;
    return *made;
}

bool Encode(const KZPicture* picture, FILE* file, uint8_t** out, size_t* out_size, int quality,
            bool progressive, bool force_gray, KZProgressCallback progress, void* progress_arg) {
    KZPicture* made;
    const KZPicture* source = Prepare(picture, force_gray, &made);
    if (!source)
        return false;
    EncodeState* state = new EncodeState();
    bool owned = false;
    if (!file) {
        owned = *out == nullptr;
        if (owned) {
            int components = source->Format() == KZ_PICTURE_GRAY ? 1 : 3;
            state->memory.capacity = size_t(components) * source->Width() * source->Height() + 1024;
            state->memory.block = static_cast<uint8_t*>(malloc(state->memory.capacity));
        } else {
            state->memory.block = *out;
            state->memory.capacity = *out_size;
        }
        state->memory.owned = owned;
    }
    bool ok = (file || (state->memory.block && state->memory.capacity > 0)) &&
              Compress(state, source, file, quality, progressive, progress, progress_arg);
    jpeg_destroy_compress(&state->info);
    if (!file) {
        if (ok && !state->memory.overflow) {
            *out = state->memory.block;
            *out_size = state->memory.capacity - state->memory.manager.free_in_buffer;
        } else {
            ok = false;
            if (owned)
                free(state->memory.block);
        }
    }
    delete state;
    delete made;
    return ok;
}

} // namespace

jpeg_error_mgr* KZJpegInstallErrorManager(KZJpegError* error) {
    jpeg_error_mgr* manager = jpeg_std_error(&error->manager);
    manager->error_exit = ErrorExit;
    manager->output_message = OutputMessage;
    return manager;
}

bool KZPicture::EncodeJpeg(uint8_t** out, size_t* out_size, int quality, bool progressive,
                           bool force_gray, KZProgressCallback progress, void* progress_arg) const {
    if (!out || !out_size)
        return false;
    return Encode(this, nullptr, out, out_size, quality, progressive, force_gray, progress,
                  progress_arg);
}

bool KZPicture::EncodeJpegToFile(const char* path, int quality, bool progressive, bool force_gray,
                                 KZProgressCallback progress, void* progress_arg) const {
    FILE* file = path ? KZOpenCFile(path, "wb") : nullptr;
    if (!file)
        return false;
    bool ok = Encode(this, file, nullptr, nullptr, quality, progressive, force_gray, progress,
                     progress_arg);
    if (fclose(file) != 0)
        ok = false;
    if (!ok)
        KZDeleteFile(path);
    return ok;
}
