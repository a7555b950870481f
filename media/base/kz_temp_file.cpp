// Temporary names and the process-wide registry of temporary files.
#include "media/base/kz_temp_file.h"

#include "media/base/kz_array.h"
#include "media/base/kz_file.h"
#include "media/base/kz_folder.h"

// The process id comes from the platform file.
unsigned KZGetProcessId();

namespace {
bool have_key = false;
unsigned key = 0;
unsigned counter = 0;
KZTOArray<KZString>* registry = nullptr; // created on first use, lives as long as the process
} // namespace

KZString MakeTempFileName() {
    if (!have_key) {
        key = KZGetProcessId() ^ 0x12DF6C15u;
        have_key = true;
    }
    KZString folder = GetTempFolder();
    KZString name;
    if (folder.IsEmpty())
        return name;
    // Bounded: the counter wraps after 2^32 names, and no folder holds that many of ours.
    for (unsigned tries = 0; tries < 0xFFFFFFFFu; ++tries) {
        ++counter;
        if (!name.Format("%s%08X%X.tmp", folder.c_str(), key, counter))
            return KZString();
        if (!KZFileExists(name))
            return name;
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
}

KZString CreateTempFile() {
    KZString name = MakeTempFileName();
    if (!name.IsEmpty() && !RegisterTempFile(name))
        return KZString();
    return name;
}

int GetRegisteredTempFileCount() {
    return registry ? registry->GetCount() : 0;
}
