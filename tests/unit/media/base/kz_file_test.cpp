#include "media/base/kz_file.h"
#include "media/base/kz_folder.h"
#include "media/base/kz_reporter.h"
#include "media/base/kz_temp_file.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "media/base/kz_memory.h"

#include "media/base/kz_platform.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// A folder of our own under a fresh temporary name (made as a file, so taken away first).
KZString NewScratchFolder() {
    KZString top = MakeTempFileName();
    if (top.IsEmpty() || !KZDeleteFile(top) || !KZCreateFolders(top))
        return KZString();
    return top;
}

TEST(KZFile, WriteReadSeekAndLength) {
    KZString path = CreateTempFile();
    ASSERT_FALSE(path.IsEmpty());
    KZFile out = CreateFileForWrite(path);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(WriteToFile("hello, file", 11, out), 11);
    CloseFile(out);
    EXPECT_EQ(GetFileLength(path), 11);
    // Readers share the file.
    KZFile reader = OpenFileForRead(path);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(GetFileLength(path), 11);
    CloseFile(reader);

    KZFile in = OpenFileForRead(path);
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(SeekFile(in, 7, KZ_SEEK_SET), 7);
    char buffer[16] = {0};
    EXPECT_EQ(ReadFromFile(buffer, 10, in), 4);
    EXPECT_STREQ(buffer, "file");
    EXPECT_EQ(TellFile(in), 11);
    EXPECT_EQ(SeekFile(in, -4, KZ_SEEK_END), 7);
    EXPECT_EQ(SeekFile(in, 2, KZ_SEEK_CUR), 9);
    EXPECT_EQ(ReadFromFile(buffer, 10, in), 2);
    EXPECT_EQ(ReadFromFile(buffer, 10, in), 0); // at the end
    EXPECT_EQ(WriteToFile("x", 1, in), 0);      // read-only handle
    CloseFile(in);

    // Truncated when created again.
    out = CreateFileForWrite(path);
    ASSERT_NE(out, nullptr);
    CloseFile(out);
    EXPECT_EQ(GetFileLength(path), 0);
    ASSERT_TRUE(KZWriteWholeFile(path, "abc", 3));
    int length = 0;
    uint8_t* data = KZReadWholeFile(path, &length);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(length, 3);
    EXPECT_STREQ(reinterpret_cast<char*>(data), "abc");
    KZFree(data);
    DeleteTempFiles();
    EXPECT_FALSE(KZFileExists(path));
}

TEST(KZFile, FailuresGiveNullZeroOrMinusOne) {
    KZString missing = GetTempFolder();
    missing.Append("no-such-file-kz.bin");
    EXPECT_EQ(OpenFileForRead(missing), nullptr);
    EXPECT_EQ(OpenFileForRead(nullptr), nullptr);
    EXPECT_EQ(GetFileLength(missing), -1);
    EXPECT_EQ(GetFileLength(GetTempFolder()), -1); // a folder is not a file
    KZString bad = GetTempFolder();
    bad.Append("no-such-folder-kz");
    bad.AppendChar(KZPathSeparator());
    bad.Append("x.bin");
    EXPECT_EQ(CreateFileForWrite(bad), nullptr);
    char buffer[4];
    EXPECT_EQ(ReadFromFile(buffer, 4, nullptr), 0);
    EXPECT_EQ(WriteToFile(buffer, 4, nullptr), 0);
    EXPECT_EQ(SeekFile(nullptr, 0, KZ_SEEK_SET), -1);
    EXPECT_EQ(TellFile(nullptr), -1);
    CloseFile(nullptr);
    EXPECT_FALSE(KZDeleteFile(missing));
    EXPECT_EQ(KZReadWholeFile(missing, nullptr), nullptr);
    EXPECT_FALSE(KZFileOpensForRead(missing));
    KZString present = GetTempFolder();
    present.Append("opens-for-read-kz.bin");
    ASSERT_TRUE(KZWriteWholeFile(present, "x", 1));
    EXPECT_TRUE(KZFileOpensForRead(present));
    KZFile held = OpenFileForRead(present); // the probe closes its own handle only
    EXPECT_TRUE(KZFileOpensForRead(present));
    CloseFile(held);
    EXPECT_TRUE(KZDeleteFile(present));
}

TEST(KZFile, WithoutTrailingSeparators) {
    const struct {
        const char* path;
        const char* expected;
    } cases[] = {{"C:\\Windows\\", "C:\\Windows"},
                 {"/tmp//", "/tmp"},
                 {"a\\/\\", "a"},
                 {"plain", "plain"},
                 {"\\", ""},
                 {"", ""},
                 {"C:\\a b\\c", "C:\\a b\\c"}};
    for (const auto& c : cases)
        EXPECT_STREQ(KZWithoutTrailingSeparators(c.path).c_str(), c.expected) << c.path;
}

TEST(KZFolder, FoldersEndWithTheSeparator) {
    char sep = KZPathSeparator();
    for (const KZString& folder : {GetTempFolder(), GetWindowsFolder(), GetSystemFolder(),
                                   GetSpecialFolder(KZ_CSIDL_APPDATA)}) {
        ASSERT_FALSE(folder.IsEmpty());
        EXPECT_EQ(folder[folder.GetLength() - 1], sep) << folder.c_str();
    }
    EXPECT_TRUE(GetSpecialFolder(0x7777).IsEmpty());
#if defined(_WIN32)
    EXPECT_EQ(sep, '\\');
    EXPECT_EQ(GetWindowsFolder().CompareNoCase("C:\\windows\\"), 0);
    EXPECT_EQ(GetSystemFolder().CompareNoCase("C:\\windows\\system32\\"), 0);
#else
    EXPECT_EQ(sep, '/');
    const char* saved = getenv("TMPDIR");
    std::string keep = saved ? saved : "";
    setenv("TMPDIR", "/var/tmp", 1);
    EXPECT_STREQ(GetTempFolder().c_str(), "/var/tmp/");
    unsetenv("TMPDIR");
    EXPECT_STREQ(GetTempFolder().c_str(), "/tmp/");
    if (saved)
        setenv("TMPDIR", keep.c_str(), 1);
    const char* home = getenv("HOME");
    if (home && *home) {
        std::string system = std::string(home) + "/.scrkit/windows/system32/";
        EXPECT_EQ(std::string(GetSystemFolder().c_str()).substr(0, strlen(home)), home);
        EXPECT_EQ(GetSystemFolder().Compare(system.c_str()), 0);
    }
#endif
}

// True when the system has a file or folder under this UTF-8 name (asked without the base
// library, whose conversion is under test).
bool SystemHas(const std::string& utf8) {
#if defined(_WIN32)
    wchar_t wide[1024];
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.c_str(), -1, wide, 1024);
    return n > 0 && GetFileAttributesW(wide) != INVALID_FILE_ATTRIBUTES;
#else
    struct stat st;
    return stat(utf8.c_str(), &st) == 0;
#endif
}

void RemoveFolder(const char* path) {
#if defined(_WIN32)
    RemoveDirectoryA(path);
#else
    KZString name;
    if (KZToSystemName(path, name))
        rmdir(name);
#endif
}

TEST(KZFile, AnsiNamesAreTheSystemsOwnNames) {
#if defined(_WIN32)
    if (GetACP() != 1252)
        GTEST_SKIP() << "the system's ANSI code page is not 1252";
#endif
    // An ASCII folder of our own in the temporary folder, then Windows-1252 names below it.
    KZString top = NewScratchFolder();
    ASSERT_FALSE(top.IsEmpty());
    char sep = KZPathSeparator();
    std::string top_name = top.c_str();
    std::string folder = top_name + sep + "Bilder f\xFCr D\xFCnen" + sep +
                         "\xDC"
                         "bung";
    std::string system_folder = top_name + sep + "Bilder f\xC3\xBCr D\xC3\xBCnen" + sep +
                                "\xC3\x9C"
                                "bung";
    EXPECT_FALSE(KZFolderExists(folder.c_str()));
    ASSERT_TRUE(KZCreateFolders(folder.c_str()));
    EXPECT_TRUE(KZCreateFolders(folder.c_str())); // there already
    EXPECT_TRUE(KZFolderExists(folder.c_str()));
    EXPECT_FALSE(KZFileExists(folder.c_str()));
    EXPECT_TRUE(SystemHas(system_folder));

    std::string movie = folder + sep + "D\xFCnen.swf";
    std::string copy = folder + sep +
                       "Se\xF1"
                       "al \x80.dat";
    ASSERT_TRUE(KZWriteWholeFile(movie.c_str(), "FWS movie", 9));
    EXPECT_TRUE(SystemHas(system_folder + sep + "D\xC3\xBCnen.swf"));
    EXPECT_FALSE(SystemHas(movie)); // the 1252 bytes name nothing
    EXPECT_TRUE(KZFileExists(movie.c_str()));
    EXPECT_EQ(GetFileLength(movie.c_str()), 9);
    EXPECT_GT(KZFileModificationTime(movie.c_str()), 0);

    ASSERT_TRUE(KZCopyFile(movie.c_str(), copy.c_str()));
    EXPECT_TRUE(SystemHas(system_folder + sep +
                          "Se\xC3\xB1"
                          "al \xE2\x82\xAC.dat"));
    FILE* stream = KZOpenCFile(copy.c_str(), "rb");
    ASSERT_NE(stream, nullptr);
    char bytes[16] = {0};
    EXPECT_EQ(fread(bytes, 1, sizeof bytes, stream), 9u);
    fclose(stream);
    EXPECT_STREQ(bytes, "FWS movie");
    EXPECT_FALSE(KZCopyFile((folder + sep + "gone.swf").c_str(), copy.c_str()));
    EXPECT_EQ(GetFileLength(copy.c_str()), 9); // a failed copy leaves the target alone

    EXPECT_TRUE(KZDeleteFile(movie.c_str()));
    EXPECT_TRUE(KZDeleteFile(copy.c_str()));
    EXPECT_FALSE(SystemHas(system_folder + sep + "D\xC3\xBCnen.swf"));
    RemoveFolder(folder.c_str());
    RemoveFolder((top_name + sep + "Bilder f\xFCr D\xFCnen").c_str());
    RemoveFolder(top);
    EXPECT_FALSE(SystemHas(top_name));
}

TEST(KZFolder, FullPathStartsAtTheRoot) {
    KZString full = KZFullPath("D\xFCnen.kpj");
    ASSERT_FALSE(full.IsEmpty());
    std::string text = full.c_str();
    ASSERT_GT(text.size(), 10u);
    EXPECT_EQ(text.substr(text.size() - 10), std::string(1, KZPathSeparator()) + "D\xFCnen.kpj");
    EXPECT_TRUE(text[0] == '/' || text[1] == ':') << text;
    KZString again = KZFullPath(full);
    EXPECT_EQ(again.Compare(full), 0);
}

TEST(KZFile, NewFilesAreCreatedOnlyWhereNothingIs) {
    KZString top = NewScratchFolder();
    ASSERT_FALSE(top.IsEmpty());
    std::string sep(1, KZPathSeparator());
    std::string fresh = std::string(top.c_str()) + sep + "fr\xE9sh.dat";
    EXPECT_FALSE(KZNameTaken(fresh.c_str()));
    KZFile out = CreateNewFile(fresh.c_str());
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(WriteToFile("new", 3, out), 3);
    CloseFile(out);
    EXPECT_TRUE(KZNameTaken(fresh.c_str()));
    EXPECT_EQ(CreateNewFile(fresh.c_str()), nullptr); // there: never truncated
    EXPECT_EQ(GetFileLength(fresh.c_str()), 3);
    EXPECT_EQ(CreateNewFile(top), nullptr); // a folder
    EXPECT_TRUE(KZNameTaken(top));
    EXPECT_FALSE(KZIsLink(fresh.c_str()));
#if !defined(_WIN32)
    // Links, to a file or to nothing, are names taken and never followed.
    std::string target = std::string(top.c_str()) + sep + "target.dat";
    std::string link = std::string(top.c_str()) + sep + "link.dat";
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    EXPECT_TRUE(KZIsLink(link.c_str()));
    EXPECT_TRUE(KZNameTaken(link.c_str()));
    EXPECT_FALSE(KZFileExists(link.c_str()));
    EXPECT_EQ(CreateNewFile(link.c_str()), nullptr);
    EXPECT_FALSE(KZNameTaken(target.c_str())); // nothing was created through the link
    EXPECT_TRUE(KZDeleteFile(link.c_str()));
#endif
    KZDeleteFile(fresh.c_str());
    RemoveFolder(top);
}

TEST(KZFile, SameFileAsTheFileSystemComparesThem) {
    KZString top = NewScratchFolder();
    ASSERT_FALSE(top.IsEmpty());
    std::string sep(1, KZPathSeparator());
    std::string movie = std::string(top.c_str()) + sep + "D\xFCnen.swf";
    std::string other = std::string(top.c_str()) + sep + "other.swf";
    ASSERT_TRUE(KZWriteWholeFile(movie.c_str(), "FWS", 3));
    ASSERT_TRUE(KZWriteWholeFile(other.c_str(), "FWS", 3));
    std::string dotted = std::string(top.c_str()) + sep + "." + sep + "D\xFCnen.swf";
    EXPECT_TRUE(KZSameFile(movie.c_str(), movie.c_str()));
    EXPECT_TRUE(KZSameFile(movie.c_str(), dotted.c_str()));
    EXPECT_FALSE(KZSameFile(movie.c_str(), other.c_str())); // equal bytes, two files
    std::string gone = std::string(top.c_str()) + sep + "gone.swf";
    EXPECT_FALSE(KZSameFile(gone.c_str(), gone.c_str())); // a missing file is no input
    EXPECT_FALSE(KZSameFile("", ""));
    std::string link = std::string(top.c_str()) + sep + "link.swf";
#if defined(_WIN32)
    // Windows file names ignore letter case.
    std::string upper = std::string(top.c_str()) + sep + "D\xFCNEN.SWF";
    EXPECT_TRUE(KZSameFile(movie.c_str(), upper.c_str()));
    ASSERT_TRUE(CreateHardLinkA(link.c_str(), movie.c_str(), nullptr));
#else
    KZString system_movie;
    ASSERT_TRUE(KZToSystemName(movie.c_str(), system_movie));
    KZString system_link;
    ASSERT_TRUE(KZToSystemName(link.c_str(), system_link));
    ASSERT_EQ(symlink(system_movie, system_link), 0); // a link, not a second name of the file
#endif
    EXPECT_TRUE(KZSameFile(link.c_str(), movie.c_str()));
    EXPECT_FALSE(KZSameFile(link.c_str(), other.c_str()));
    KZDeleteFile(link.c_str());
    KZDeleteFile(movie.c_str());
    KZDeleteFile(other.c_str());
    RemoveFolder(top);
}

#if !defined(_WIN32)
TEST(KZFolder, TemporaryFolderComesBackInTheCodePage) {
    const char* saved = getenv("TMPDIR");
    std::string keep = saved ? saved : "";
    setenv("TMPDIR", "/tmp/Bilder f\xC3\xBCr D\xC3\xBCnen", 1);
    EXPECT_STREQ(GetTempFolder().c_str(), "/tmp/Bilder f\xFCr D\xFCnen/");
    // A name the code page lacks: no temporary folder rather than another folder's name.
    setenv("TMPDIR", "/tmp/\xE6\x97\xA5\xE6\x9C\xAC", 1);
    EXPECT_TRUE(GetTempFolder().IsEmpty());
    EXPECT_TRUE(MakeTempFileName().IsEmpty());
    if (saved)
        setenv("TMPDIR", keep.c_str(), 1);
    else
        unsetenv("TMPDIR");
}
#endif

TEST(KZReporter, ConstantsHaveTheWindowsValuesAndRecordingWorks) {
#if defined(_WIN32)
    static_assert(KZ_MB_OK == MB_OK && KZ_MB_OKCANCEL == MB_OKCANCEL && KZ_MB_YESNO == MB_YESNO &&
                      KZ_MB_YESNOCANCEL == MB_YESNOCANCEL && KZ_MB_RETRYCANCEL == MB_RETRYCANCEL &&
                      KZ_MB_ICONERROR == MB_ICONERROR && KZ_MB_ICONQUESTION == MB_ICONQUESTION &&
                      KZ_MB_ICONWARNING == MB_ICONWARNING &&
                      KZ_MB_ICONINFORMATION == MB_ICONINFORMATION &&
                      KZ_MB_DEFBUTTON2 == MB_DEFBUTTON2 && KZ_MB_TASKMODAL == MB_TASKMODAL &&
                      KZ_MB_SETFOREGROUND == MB_SETFOREGROUND && KZ_MB_TOPMOST == MB_TOPMOST,
                  "message-box flags");
    static_assert(KZ_IDOK == IDOK && KZ_IDCANCEL == IDCANCEL && KZ_IDYES == IDYES &&
                      KZ_IDNO == IDNO && KZ_IDRETRY == IDRETRY && KZ_IDABORT == IDABORT &&
                      KZ_IDIGNORE == IDIGNORE,
                  "button ids");
#endif
    KZRecordingReporter reporter;
    reporter.answer = KZ_IDNO;
    KZReporter& r = reporter;
    EXPECT_EQ(r.ShowMessage("Overwrite?", KZ_MB_YESNO | KZ_MB_ICONQUESTION), KZ_IDNO);
    r.BeginWaitCursor();
    r.EndWaitCursor();
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0], "Overwrite?");
    EXPECT_EQ(reporter.types[0], 0x24u);
    EXPECT_EQ(reporter.wait_depth, 0);
    EXPECT_EQ(reporter.wait_begins, 1);
}

} // namespace
