// JPEG through libjpeg. Its default error manager ends the process; ours jumps back and ends
// only the read.
#include "media/picture/kz_jpeg_common.h"
#include "media/picture/kz_picture.h"

#include <jerror.h>

#include <vector>

namespace {

struct ReadState {
    jpeg_decompress_struct info;
    KZJpegError error;
    KZPicture* picture;
    std::vector<JSAMPLE> inks; // one CMYK scan line; here so that no destructor spans setjmp
};

// CMYK to RGB without a colour profile: each channel is what its ink and the black leave of
// the light, rounded. The inks are stored inverted (255 is no ink), as the Adobe marker that
// libjpeg writes for four components says; like the established readers we take them so even
// when a file lacks the marker.
void InksToRgb(const uint8_t* inks, uint8_t* rgb, int width) {
    for (int x = 0; x < width; x++, inks += 4, rgb += 3)
        for (int c = 0; c < 3; c++)
            rgb[c] = uint8_t((inks[c] * inks[3] + 127) / 255);
}

// libjpeg pads a file that ends too early with gray and only warns; for us the file is broken.
void EmitMessage(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        info->err->error_exit(info);
}

// Kept apart from ReadJpeg so that no local with a destructor lives across setjmp.
bool Decode(ReadState* state, const uint8_t* data, size_t size, KZProgressCallback progress,
            void* progress_arg) {
    jpeg_decompress_struct* info = &state->info;
    info->err = KZJpegInstallErrorManager(&state->error);
    state->error.manager.emit_message = EmitMessage;
    if (setjmp(state->error.jump))
        return false;
    jpeg_create_decompress(info);
    jpeg_mem_src(info, const_cast<unsigned char*>(data), (unsigned long)size);
    if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK)
        return false;
    bool gray = info->num_components == 1;
    // libjpeg gives CMYK for both CMYK and YCCK files; the colours are made here.
    bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
    info->out_color_space = gray ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_calc_output_dimensions(info);
    if (info->output_width == 0 || info->output_height == 0 ||
        info->output_width > unsigned(KZ_PICTURE_MAX_SIDE) ||
        info->output_height > unsigned(KZ_PICTURE_MAX_SIDE))
        return false;
    state->picture = KZPicture::CreatePicture(gray ? KZ_PICTURE_GRAY : KZ_PICTURE_RGB,
                                              int(info->output_width), int(info->output_height));
    if (!state->picture)
        return false;
    jpeg_start_decompress(info);
    if (info->output_components != (gray ? 1 : cmyk ? 4 : 3))
        return false;
    int width = state->picture->Width();
    int height = state->picture->Height();
    std::vector<JSAMPLE>& inks = state->inks;
    if (cmyk)
        inks.resize(size_t(width) * 4);
    while (info->output_scanline < info->output_height) {
        if (progress && progress(progress_arg))
            return false;
        uint8_t* target = state->picture->Row(height - 1 - int(info->output_scanline));
        JSAMPROW row = cmyk ? inks.data() : target;
        if (jpeg_read_scanlines(info, &row, 1) != 1)
            return false; // the data ran out
        if (cmyk)
            InksToRgb(inks.data(), target, width);
    }
    jpeg_finish_decompress(info);
    return true;
}

} // namespace

KZPicture* ReadJpeg(const uint8_t* data, size_t size, KZProgressCallback progress,
                    void* progress_arg) {
    if (!data || size < 4)
        return nullptr;
    ReadState* state = new ReadState();
    state->picture = nullptr;
    bool ok = Decode(state, data, size, progress, progress_arg);
    jpeg_destroy_decompress(&state->info);
    KZPicture* picture = state->picture;
    delete state;
    if (!ok) {
        delete picture;
        return nullptr;
    }
    return picture;
}
