// File types, the dialog filter, and loading a picture file with its normalisation.
#include "media/picture/kz_picture.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "media/base/kz_file.h"
#include "media/base/kz_platform.h"

namespace {

struct FileTypeInfo {
    const char* extensions[5];
    const char* pattern;
    const char* name;
};

const FileTypeInfo kFileTypes[8] = {
    {{".bmp", ".rle", ".dib"}, "*.bmp;*.rle;*.dib", "BMP Windows Bitmap"},
    {{".gif"}, "*.gif", "GIF CompuServe GIF"},
    {{".jpg", ".jpeg", ".jpe", ".jif", ".jfif"}, "*.jpg;*.jpeg;*.jpe;*.jif;*.jfif", "JPEG"},
    {{".pcx"}, "*.pcx", "PCX"},
    {{".png"}, "*.png", "PNG Portable Network Graphics"},
    {{".ppm", ".pnm"}, "*.ppm;*.pnm", "PPM Portable Pixmap"},
    {{".tga"}, "*.tga", "TGA Targa"},
    {{".tif", ".tiff"}, "*.tif;*.tiff", "TIFF"},
};

// The file part of a path (after the last slash or backslash).
const char* FileNamePart(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; p++)
        if (*p == '/' || *p == '\\' || *p == ':')
            name = p + 1;
    return name;
}

// A file larger than this cannot hold a picture within the size limits in any of our formats
// (the limit is the pixel block plus room for headers and poor compression).
const long kMaxFileBytes = long(KZ_PICTURE_MAX_BYTES / 4 * 5);

bool ReadWholeFile(const char* path, uint8_t** data, size_t* size) {
    FILE* file = KZOpenCFile(path, "rb");
    if (!file)
        return false;
    bool ok = false;
    uint8_t* block = nullptr;
    long length = -1;
    if (fseek(file, 0, SEEK_END) == 0)
        length = ftell(file);
    if (length >= 0 && length <= kMaxFileBytes && fseek(file, 0, SEEK_SET) == 0) {
        block = static_cast<uint8_t*>(malloc(size_t(length) + 1));
        if (block && fread(block, 1, size_t(length), file) == size_t(length))
            ok = true;
    }
    fclose(file);
    if (!ok) {
        free(block);
        return false;
    }
    *data = block;
    *size = size_t(length);
    return true;
}

int64_t ModificationTime(const char* path) {
    return KZFileModificationTime(path);
}

// Replaces *picture by `replacement` when there is one.
void Replace(KZPicture** picture, KZPicture* replacement) {
    if (!replacement)
        return;
    delete *picture;
    *picture = replacement;
}

} // namespace

int GetPictureFileType(const char* path) {
    if (!path)
        return KZ_FILE_UNKNOWN;
    const char* name = FileNamePart(path);
    const char* dot = strrchr(name, '.');
    if (!dot)
        return KZ_FILE_UNKNOWN;
    char ext[8];
    size_t n = strlen(dot);
    if (n >= sizeof(ext))
        return KZ_FILE_UNKNOWN;
    for (size_t i = 0; i <= n; i++)
        ext[i] = char(tolower(static_cast<unsigned char>(dot[i])));
    for (int type = 0; type < 8; type++)
        for (const char* candidate : kFileTypes[type].extensions)
            if (candidate && strcmp(candidate, ext) == 0)
                return type + 1;
    return KZ_FILE_UNKNOWN;
}

KZString GetFileDialogFilter(KZString* all_patterns) {
    KZString filter;
    KZString all;
    for (int type = 0; type < 8; type++) {
        const FileTypeInfo& info = kFileTypes[type];
        filter += info.name;
        filter += " (";
        filter += info.pattern;
        filter += ")|";
        filter += info.pattern;
        filter += "|";
        if (type > 0)
            all += ";";
        all += info.pattern;
    }
    if (all_patterns)
        *all_patterns = all;
    return filter;
}

KZPicture* DecodePicture(int file_type, const uint8_t* data, size_t size,
                         KZProgressCallback progress, void* progress_arg) {
    if (!data)
        return nullptr;
    KZPicture* picture = nullptr;
    switch (file_type) {
    case KZ_FILE_BMP:
        picture = ReadBmp(data, size);
        break;
    case KZ_FILE_GIF:
        picture = ReadGif(data, size);
        break;
    case KZ_FILE_JPEG:
        picture = ReadJpeg(data, size, progress, progress_arg);
        break;
    case KZ_FILE_PCX:
        picture = ReadPcx(data, size);
        break;
    case KZ_FILE_PNG:
        picture = ReadPng(data, size);
        break;
    case KZ_FILE_PPM:
        picture = ReadPpm(data, size);
        break;
    case KZ_FILE_TGA:
        picture = ReadTga(data, size);
        break;
    case KZ_FILE_TIFF:
        picture = ReadTiff(data, size);
        break;
    default:
        return nullptr;
    }
    if (picture)
        picture->SetSourceFileType(file_type);
    return picture;
}

KZPicture* NormalizePicture(KZPicture* picture) {
    if (!picture)
        return nullptr;
    switch (picture->Format()) {
    case KZ_PICTURE_PALETTE:
        static_cast<KZPicturePalette*>(picture)->OptimizePalette();
        break;
    case KZ_PICTURE_RGB:
        Replace(&picture, picture->ToGrayIfGray());
        break;
    case KZ_PICTURE_RGBA:
        Replace(&picture, picture->ToGrayAlphaIfGray());
        break;
    }
    if (picture->Format() == KZ_PICTURE_RGBA)
        Replace(&picture, picture->ToRGBIfOpaque());
    else if (picture->Format() == KZ_PICTURE_GRAY_ALPHA)
        Replace(&picture, picture->ToGrayIfOpaque());
    return picture;
}

KZPicture* LoadPicture(const char* path, KZProgressCallback progress, void* progress_arg) {
    int type = GetPictureFileType(path);
    if (type == KZ_FILE_UNKNOWN)
        return nullptr;
    uint8_t* data = nullptr;
    size_t size = 0;
    if (!ReadWholeFile(path, &data, &size))
        return nullptr;
    KZPicture* picture = DecodePicture(type, data, size, progress, progress_arg);
    free(data);
    if (!picture)
        return nullptr;
    if (!picture->IsValid()) {
        delete picture;
        return nullptr;
    }
    picture = NormalizePicture(picture);
    picture->SetName(FileNamePart(path));
    picture->SetPath(path);
    picture->SetModificationTime(ModificationTime(path));
    return picture;
}
