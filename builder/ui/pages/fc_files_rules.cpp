#include "builder/ui/pages/fc_files_rules.h"

#include <cstring>

KZString FCJoinFileList(const KZTOArray<KZString>& list) {
    KZString text;
    for (int i = 0; i < list.GetCount(); ++i) {
        if (i > 0)
            text += ";";
        text += list[i];
    }
    return text;
}

bool FCSplitFileList(const char* text, KZTOArray<KZString>& list) {
    list.RemoveAll();
    if (!text)
        return true;
    while (*text) {
        const char* end = strchr(text, ';');
        int length = end ? (int)(end - text) : (int)strlen(text);
        if (length > 0 && !list.Add(KZString(text, length)))
            return false;
        text += length;
        if (*text == ';')
            ++text;
    }
    return true;
}

bool FCSameFileList(const KZTOArray<KZString>& a, const KZTOArray<KZString>& b) {
    if (a.GetCount() != b.GetCount())
        return false;
    for (int i = 0; i < a.GetCount(); ++i) {
        if (!(a[i] == b[i]))
            return false;
    }
    return true;
}
