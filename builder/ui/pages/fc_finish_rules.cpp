#include "builder/ui/pages/fc_finish_rules.h"

#include <cstring>

KZString FCExportFileName(const char* project_path, const char* extension) {
    if (!project_path || !*project_path)
        return KZString();
    const char* name = project_path;
    for (const char* c = project_path; *c; ++c) {
        if (*c == '\\' || *c == '/' || *c == ':')
            name = c + 1;
    }
    // Only the last dot of the name itself: a dot in a folder is no extension.
    const char* dot = strrchr(name, '.');
    size_t length = dot ? size_t(dot - name) : strlen(name);
    if (length == 0)
        return KZString();
    KZString result;
    result.Format("%.*s%s", int(length), name, extension);
    return result;
}
