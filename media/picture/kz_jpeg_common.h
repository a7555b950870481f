// The libjpeg error manager shared by the JPEG reader and encoder: errors jump back to the
// caller's setjmp instead of ending the process, and warnings are not printed.
#pragma once

#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

struct KZJpegError {
    jpeg_error_mgr manager;
    jmp_buf jump;
};

jpeg_error_mgr* KZJpegInstallErrorManager(KZJpegError* error);
