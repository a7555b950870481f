// Temporary files on POSIX: a folder of this process in the temporary folder, made by mkdtemp
// (mode 0700, a name nobody can guess), so that no other user can plant links or files under the
// names we are about to use, nor read what we write there (setup scripts hold the password).
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "media/base/kz_folder.h"
#include "media/base/kz_platform.h"
#include "media/base/kz_string.h"

void KZRemoveEmptyTempFilesFolder();

namespace {
// The temporary folder the private one was made in, and the private one (ANSI, with its slash).
// Made again when TMPDIR names another folder or the folder has gone.
KZString base_folder;
KZString private_folder;

bool IsOurFolder(const KZString& folder) {
    KZString name;
    struct stat st;
    return KZToSystemName(folder, name) && lstat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == geteuid();
}
} // namespace

unsigned KZGetProcessId() {
    return unsigned(getpid());
}

KZString KZTempFilesFolder() {
    KZString base = GetTempFolder();
    if (base.IsEmpty())
        return base;
    if (!private_folder.IsEmpty() && base == base_folder && IsOurFolder(private_folder))
        return private_folder;
    KZString pattern;
    if (!KZToSystemName(base, pattern) || !pattern.Append("scrkit-XXXXXX"))
        return KZString();
    // mkdtemp writes the six letters in place.
    std::vector<char> made(pattern.c_str(), pattern.c_str() + pattern.GetLength() + 1);
    if (!mkdtemp(made.data()))
        return KZString();
    KZString letters(made.data() + made.size() - 7);
    KZString folder = base;
    if (!folder.Append("scrkit-") || !folder.Append(letters) || !folder.Append("/"))
        return KZString();
    // A process that makes a temporary name and never cleans up leaves no empty folder behind.
    static bool at_exit = false;
    if (!at_exit)
        at_exit = atexit(KZRemoveEmptyTempFilesFolder) == 0;
    base_folder = base;
    private_folder = folder;
    return private_folder;
}

int KZCreatePrivateFile(const char* path) {
    KZString name;
    if (!KZToSystemName(path, name))
        return -1;
    // O_EXCL refuses any existing name, a link included, even one that points nowhere.
    int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno == EEXIST ? 0 : -1;
    close(fd);
    return 1;
}

void KZRemoveEmptyTempFilesFolder() {
    if (private_folder.IsEmpty())
        return;
    KZString name;
    if (KZToSystemName(private_folder, name) && rmdir(name.c_str()) == 0) {
        private_folder = KZString();
        base_folder = KZString();
    }
}
