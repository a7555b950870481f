#include "media/base/kz_temp_file.h"

#include <string>

#include <gtest/gtest.h>

#include "media/base/kz_file.h"
#include "media/base/kz_folder.h"

#if defined(_WIN32)
#include <windows.h>
#else
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

TEST(KZTempFile, NamesDifferOnlyInTheCounter) {
    std::string folder = GetTempFolder().c_str();
    std::string first = MakeTempFileName().c_str();
    std::string second = MakeTempFileName().c_str();
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
    // A name whose file exists is skipped.
    char taken[512];
    snprintf(taken, sizeof(taken), "%s%X.tmp", prefix.c_str(), b + 1);
    ASSERT_TRUE(KZWriteWholeFile(taken, "x", 1));
    char expected[512];
    snprintf(expected, sizeof(expected), "%s%X.tmp", prefix.c_str(), b + 2);
    EXPECT_STREQ(MakeTempFileName().c_str(), expected);
    KZDeleteFile(taken);
}

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
