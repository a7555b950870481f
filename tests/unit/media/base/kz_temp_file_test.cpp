#include "media/base/kz_temp_file.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "media/base/kz_file.h"
#include "media/base/kz_folder.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

unsigned ProcessId() {
#if defined(_WIN32)
    return unsigned(GetCurrentProcessId());
#else
    return unsigned(getpid());
#endif
}

// The folder part of a path, with its separator.
std::string FolderOf(const std::string& path) {
    return path.substr(0, path.find_last_of("/\\") + 1);
}

TEST(KZTempFile, NamesDifferOnlyInTheCounter) {
    std::string first = MakeTempFileName().c_str();
    std::string second = MakeTempFileName().c_str();
    ASSERT_FALSE(first.empty());
    std::string folder = FolderOf(first);
    char key[16];
    snprintf(key, sizeof(key), "%08X", ProcessId() ^ 0x12DF6C15u);
    std::string prefix = folder + key;
    ASSERT_EQ(first.compare(0, prefix.size(), prefix), 0) << first;
    ASSERT_EQ(second.compare(0, prefix.size(), prefix), 0) << second;
    ASSERT_EQ(first.substr(first.size() - 4), ".tmp");
    unsigned a = unsigned(
        std::stoul(first.substr(prefix.size(), first.size() - 4 - prefix.size()), nullptr, 16));
    unsigned b = unsigned(
        std::stoul(second.substr(prefix.size(), second.size() - 4 - prefix.size()), nullptr, 16));
    EXPECT_EQ(b, a + 1);
    // Each name is a new empty file, made there and then.
    EXPECT_EQ(GetFileLength(first.c_str()), 0);
    // A name whose file exists is skipped, and the file is left as it was.
    char taken[512];
    snprintf(taken, sizeof(taken), "%s%X.tmp", prefix.c_str(), b + 1);
    ASSERT_TRUE(KZWriteWholeFile(taken, "x", 1));
    char expected[512], with_extension[512];
    snprintf(expected, sizeof(expected), "%s%X.tmp", prefix.c_str(), b + 2);
    EXPECT_STREQ(MakeTempFileName().c_str(), expected);
    EXPECT_EQ(GetFileLength(taken), 1);
    snprintf(with_extension, sizeof(with_extension), "%s%X.txt", prefix.c_str(), b + 3);
    EXPECT_STREQ(MakeTempFileName(".txt").c_str(), with_extension);
    for (const char* f : {first.c_str(), second.c_str(), (const char*)taken, (const char*)expected,
                          (const char*)with_extension})
        KZDeleteFile(f);
}

#if !defined(_WIN32)
// The names can be guessed from the process id: another user who plants links under them, in the
// shared temporary folder or in ours, makes us write nowhere else. Our folder is our own.
TEST(KZTempFile, PlantedLinksAreNeverFollowed) {
    std::string probe = MakeTempFileName().c_str();
    ASSERT_FALSE(probe.empty());
    std::string folder = FolderOf(probe);
    std::string shared = GetTempFolder().c_str();
    // A folder of its own inside the temporary folder, which only we may enter.
    ASSERT_EQ(folder.compare(0, shared.size(), shared), 0) << folder;
    EXPECT_EQ(folder.substr(shared.size(), 7), "scrkit-");
    EXPECT_EQ(folder.find('/', shared.size()), folder.size() - 1);
    struct stat st;
    ASSERT_EQ(stat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    ASSERT_EQ(stat(probe.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);

    // Links under the next names, in both folders, to a file and to a name that does not exist.
    std::string target = shared + "planted-target";
    std::string nowhere = shared + "planted-nowhere";
    ASSERT_TRUE(KZWriteWholeFile(target.c_str(), "keep", 4));
    unlink(nowhere.c_str());
    std::string stem = probe.substr(folder.size(), 8); // the key
    unsigned counter = unsigned(std::stoul(
        probe.substr(folder.size() + 8, probe.size() - 4 - folder.size() - 8), nullptr, 16));
    std::vector<std::string> links;
    for (unsigned next = counter + 1; next <= counter + 4; next++) {
        char name[64];
        snprintf(name, sizeof(name), "%s%X.tmp", stem.c_str(), next);
        for (const std::string& where : {folder, shared}) {
            links.push_back(where + name);
            ASSERT_EQ(symlink(next % 2 ? target.c_str() : nowhere.c_str(), links.back().c_str()),
                      0);
        }
    }
    std::string made = MakeTempFileName().c_str();
    ASSERT_FALSE(made.empty());
    ASSERT_TRUE(KZWriteWholeFile(made.c_str(), "ours", 4));
    ASSERT_EQ(lstat(made.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode)) << made;
    EXPECT_EQ(FolderOf(made), folder);
    EXPECT_EQ(GetFileLength(target.c_str()), 4);
    EXPECT_NE(access(nowhere.c_str(), F_OK), 0);
    for (const std::string& l : links)
        unlink(l.c_str());
    unlink(target.c_str());
    KZDeleteFile(made.c_str());
    KZDeleteFile(probe.c_str());
}
#endif

TEST(KZTempFile, DeleteTwiceEmptiesTheListAndKeepsFailures) {
    int base = GetRegisteredTempFileCount();
    KZString files[3];
    for (KZString& f : files) {
        f = CreateTempFile();
        ASSERT_FALSE(f.IsEmpty());
        ASSERT_TRUE(KZWriteWholeFile(f, "data", 4));
    }
    KZString never_made = CreateTempFile(); // registered, no file
    EXPECT_EQ(GetRegisteredTempFileCount(), base + 4);

    // One file that cannot be deleted while it is held open (Windows) or lives where nobody may
    // delete, not even root (POSIX).
#if defined(_WIN32)
    KZString stuck = CreateTempFile();
    ASSERT_TRUE(KZWriteWholeFile(stuck, "held", 4));
    KZFile held = OpenFileForRead(stuck);
    ASSERT_NE(held, nullptr);
#else
    KZString stuck("/proc/self/status");
    ASSERT_TRUE(RegisterTempFile(stuck));
#endif
    DeleteTempFiles();
    for (const KZString& f : files)
        EXPECT_FALSE(KZFileExists(f)) << f.c_str();
    EXPECT_TRUE(KZFileExists(stuck));
    EXPECT_EQ(GetRegisteredTempFileCount(), base + 1);
    DeleteTempFiles();
    EXPECT_EQ(GetRegisteredTempFileCount(), base + 1);
#if defined(_WIN32)
    CloseFile(held);
    DeleteTempFiles();
    EXPECT_FALSE(KZFileExists(stuck));
    EXPECT_EQ(GetRegisteredTempFileCount(), base);
#endif
    (void)never_made;
}

TEST(KZTempFile, DeleteTempFilesTwiceLeavesAnEmptyList) {
    DeleteTempFiles();
    int base = GetRegisteredTempFileCount(); // entries left over that cannot be deleted
    KZString a = CreateTempFile();
    KZString b = CreateTempFile();
    ASSERT_TRUE(KZWriteWholeFile(a, "1", 1));
    DeleteTempFiles();
    EXPECT_EQ(GetRegisteredTempFileCount(), base);
    DeleteTempFiles();
    EXPECT_EQ(GetRegisteredTempFileCount(), base);
    EXPECT_FALSE(KZFileExists(a));
}

} // namespace
