#include "builder/ui/framework/kz_com_text.h"

BSTR KZToBstr(const char* text) {
    if (!text)
        return nullptr;
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    BSTR result = SysAllocStringLen(nullptr, length > 0 ? length - 1 : 0);
    if (result && length > 1)
        MultiByteToWideChar(CP_ACP, 0, text, -1, result, length);
    return result;
}

std::string KZFromWide(const wchar_t* text) {
    if (!text)
        return std::string();
    int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return std::string();
    std::string result(length - 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &result[0], length, nullptr, nullptr);
    return result;
}
