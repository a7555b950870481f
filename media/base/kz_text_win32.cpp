// ANSI <-> UTF-16 on Windows: the system's ANSI code page.
#include "media/base/kz_text.h"

#include "media/base/kz_platform.h"

#include <windows.h>

int AnsiToUtf16(const char* src, int src_length, char16_t* dst, int dst_size) {
    if (!src || src_length == 0 || src_length < -1 || dst_size < 0)
        return 0;
    return MultiByteToWideChar(CP_ACP, 0, src, src_length, reinterpret_cast<LPWSTR>(dst), dst_size);
}

int Utf16ToAnsi(const char16_t* src, int src_length, char* dst, int dst_size) {
    if (!src || src_length == 0 || src_length < -1 || dst_size < 0)
        return 0;
    return WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(src), src_length, dst, dst_size,
                               nullptr, nullptr);
}

// The ANSI file functions take the code page as it is.
bool KZToSystemName(const char* path, KZString& out) {
    out = path;
    return !out.IsError();
}

bool KZFromSystemName(const char* name, KZString& out) {
    out = name;
    return !out.IsError();
}
