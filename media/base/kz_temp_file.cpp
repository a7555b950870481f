// Temporary names and the process-wide registry of temporary files.
#include "media/base/kz_temp_file.h"

#include "media/base/kz_array.h"
#include "media/base/kz_file.h"
#include "media/base/kz_folder.h"

// From the platform file: the process id; the folder of our temporary files, with its separator
// (empty when there is none); an empty file made exclusively, never through a link (1 made, 0 the
// name is taken, -1 failure); the folder removed when it is empty.
unsigned KZGetProcessId();
KZString KZTempFilesFolder();
int KZCreatePrivateFile(const char* path);
void KZRemoveEmptyTempFilesFolder();

namespace {
bool have_key = false;
unsigned key = 0;
unsigned counter = 0;
KZTOArray<KZString>* registry = nullptr; // created on first use, lives as long as the process
} // namespace

KZString MakeTempFileName(const char* extension) {
    if (!have_key) {
        key = KZGetProcessId() ^ 0x12DF6C15u;
        have_key = true;
    }
    KZString folder = KZTempFilesFolder();
    KZString name;
    if (folder.IsEmpty())
        return name;
    // Bounded: the counter wraps after 2^32 names, and no folder holds that many.
    for (unsigned tries = 0; tries < 0xFFFFFFFFu; ++tries) {
        ++counter;
        if (!name.Format("%s%08X%X%s", folder.c_str(), key, counter, extension))
            return KZString();
        int made = KZCreatePrivateFile(name);
        if (made > 0)
            return name;
        if (made < 0)
            return KZString();
    }
    return KZString();
}

bool RegisterTempFile(const char* path) {
    if (!path || !*path)
        return false;
    if (!registry) {
        registry = new (std::nothrow) KZTOArray<KZString>;
        if (!registry)
            return false;
    }
    KZString copy(path);
    if (copy.IsError())
        return false;
    return registry->Add(copy);
}

void DeleteTempFiles() {
    if (!registry)
        return;
    for (int i = registry->GetCount() - 1; i >= 0; --i) {
        const KZString& path = (*registry)[i];
        if (!KZFileExists(path) || KZDeleteFile(path))
            registry->RemoveAt(i);
    }
    if (registry->GetCount() == 0)
        KZRemoveEmptyTempFilesFolder();
}

KZString CreateTempFile(const char* extension) {
    KZString name = MakeTempFileName(extension);
    if (!name.IsEmpty() && !RegisterTempFile(name))
        return KZString();
    return name;
}

int GetRegisteredTempFileCount() {
    return registry ? registry->GetCount() : 0;
}
