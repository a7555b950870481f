#include "builder/engine/fc_document.h"

#include "builder/engine/fc_platform.h"
#include "media/base/kz_folder.h"

namespace {

KZString& Folder() {
    static KZString folder;
    static bool known = false;
    if (!known) {
        folder = FCProgramFolder();
        known = true;
    }
    return folder;
}

} // namespace

const KZString& FCGetBuilderFolder() {
    return Folder();
}

void FCSetBuilderFolder(const char* folder) {
    KZString& stored = Folder();
    stored = folder;
    int n = stored.GetLength();
    if (n > 0 && stored[n - 1] != '\\' && stored[n - 1] != '/') {
        char separator = KZPathSeparator();
        stored.Append(&separator, 1);
    }
}
