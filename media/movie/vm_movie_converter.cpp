#include "media/movie/vm_movie_converter.h"

#include <cctype>
#include <cstring>

#include "media/base/kz_file.h"
#include "media/base/kz_reporter.h"
#include "media/base/kz_stream.h"
#include "media/base/kz_string.h"
#include "media/movie/vm_bitmap.h"
#include "media/movie/vm_lib.h"
#include "media/movie/vm_movie.h"
#include "media/movie/vm_shape.h"
#include "media/picture/kz_picture.h"

namespace {

const char kEncodingError[] = "Error while encoding\n";

bool Fail(KZReporter* reporter, const char* text, const char* path = nullptr) {
    if (!reporter)
        return false;
    KZString message;
    // Out of memory, the message goes out without its path rather than empty.
    if (!path || !message.Append(text) || !message.Append(path))
        reporter->ShowMessage(text, KZ_MB_OK | KZ_MB_ICONERROR);
    else
        reporter->ShowMessage(message.c_str(), KZ_MB_OK | KZ_MB_ICONERROR);
    return false;
}

// Builds the whole movie body into stream; false when any part cannot be encoded.
bool BuildMovie(VMMovie& movie, VMLib& lib, VMPicture* entry) {
    const KZPicture* picture = entry->Picture();
    const int32_t w = picture->Width() * 20, h = picture->Height() * 20;

    VMBitmap* bitmap = lib.NewBitmap(entry->Index());
    if (!bitmap)
        return false;
    entry->SetBitmapCharIndex(lib.CharCount() - 1);
    bitmap->SetCharacterId(1);
    if (!movie.DefineBitmap(1, picture, entry->JpegQuality()))
        return false;

    VMShape* shape = lib.NewShape();
    if (!shape)
        return false;
    VMFillStyle fill;
    fill.type = VM_FILL_CLIPPED_BITMAP;
    fill.gradient_count = 0;
    fill.picture_index = entry->Index();
    // One picture pixel per 20 twips.
    const float matrix[6] = {20.0f, 20.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    for (int i = 0; i < 6; ++i)
        fill.matrix[i] = matrix[i];
    if (!shape->AddFillStyle(fill))
        return false;
    shape->current_fill_style0 = shape->FillStyleCount();
    shape->MarkDirty();
    if (!shape->AddRectangle(0, 0, w, h) || !shape->Encode(&lib, true, false) ||
        !movie.DefineShape(2, shape))
        return false;

    VMBitBuffer actions;
    return movie.PlaceObject(2, 1, VMMatrix()) && movie.ShowFrame() && actions.PutByte(0x07) &&
           movie.DoAction(actions) && movie.End();
}

} // namespace

bool VMIsPictureFile(const char* path) {
    if (!path)
        return false;
    size_t n = strlen(path);
    if (n < 4 || path[n - 4] != '.')
        return true;
    const char* ext = path + n - 3;
    return !(tolower((unsigned char)ext[0]) == 's' && tolower((unsigned char)ext[1]) == 'w' &&
             tolower((unsigned char)ext[2]) == 'f');
}

bool ConvertImageFileToMovie(const char* picture_path, const char* movie_path,
                             KZReporter* reporter) {
    KZPicture* picture = picture_path ? LoadPicture(picture_path) : nullptr;
    if (!picture)
        return Fail(reporter, "Unable to read image:\n", picture_path ? picture_path : "");
    return ConvertPictureToMovie(picture, movie_path, reporter);
}

bool ConvertPictureToMovie(KZPicture* picture, const char* movie_path, KZReporter* reporter) {
    if (!picture || !picture->IsValid() || !movie_path) {
        delete picture;
        return Fail(reporter, kEncodingError);
    }
    KZMemoryStream stream;
    VMMovie movie(&stream, false);
    VMRect frame;
    frame.xmax = picture->Width() * 20;
    frame.ymax = picture->Height() * 20;
    bool ok = movie.WriteMovieHeader(frame, 2.0f, 2) && movie.SetBackgroundColor(0, 0, 0, 255) &&
              movie.WriteEmptyTag9();

    VMLib lib;
    VMPicture* entry = lib.Pictures().AddPicture(picture);
    if (!entry) {
        delete picture;
        return Fail(reporter, kEncodingError);
    }
    // From here on the picture belongs to the library's table.
    if (!ok || !BuildMovie(movie, lib, entry) || stream.GetError() != 0)
        return Fail(reporter, kEncodingError);

    KZFile file = CreateFileForWrite(movie_path);
    if (!file)
        return Fail(reporter, "Unable to create file:\n", movie_path);
    uint8_t header[8];
    movie.WriteFileHeader(header);
    const int body = stream.GetLength();
    bool written = WriteToFile(header, 8, file) == 8 &&
                   (body == 0 || WriteToFile(stream.GetData(), body, file) == body);
    CloseFile(file);
    if (!written) {
        KZDeleteFile(movie_path);
        return Fail(reporter, "Unable to write to file:\n", movie_path);
    }
    return true;
}

void FitPreviewSize(int* width, int* height) {
    int w = *width, h = *height;
    if (w > VM_PREVIEW_WIDTH) {
        h = int(int64_t(h) * VM_PREVIEW_WIDTH / w);
        if (h < 1)
            h = 1;
        w = VM_PREVIEW_WIDTH;
    }
    if (h > VM_PREVIEW_HEIGHT) {
        w = int(int64_t(w) * VM_PREVIEW_HEIGHT / h);
        if (w < 1)
            w = 1;
        h = VM_PREVIEW_HEIGHT;
    }
    *width = w;
    *height = h;
}

KZPicture* PreparePreviewPicture(KZPicture* picture) {
    if (!picture)
        return nullptr;
    if (picture->Format() == KZ_PICTURE_PALETTE) {
        KZPicture* expanded = static_cast<KZPicturePalette*>(picture)->ExpandPalette();
        delete picture;
        if (!expanded)
            return nullptr;
        picture = expanded;
    }
    int w = picture->Width(), h = picture->Height();
    FitPreviewSize(&w, &h);
    if (w == picture->Width() && h == picture->Height())
        return picture;
    KZPicture* resized = picture->ResizeTo(w, h);
    delete picture;
    return resized;
}
