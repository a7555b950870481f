#include "builder/ui/framework/kz_file_selection.h"
#include "builder/ui/pages/fc_files_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Entries(const KZTOArray<KZString>& list) {
    std::vector<std::string> entries;
    for (int i = 0; i < list.GetCount(); ++i)
        entries.push_back((const char*)list[i]);
    return entries;
}

using Names = std::vector<std::string>;

// A literal with its NULs, without the closing one.
template <size_t N> std::string Raw(const char (&text)[N]) {
    return std::string(text, N - 1);
}

} // namespace

TEST(FCFilesRules, SplitSkipsEmptyPiecesAndJoinHasNoTrailingSeparator) {
    const struct {
        const char* text;
        Names entries;
        const char* joined;
    } cases[] = {
        {";;name;", {"name"}, "name"},
        {"", {}, ""},
        {";;;", {}, ""},
        {"C:\\a.txt;D:\\b c.txt", {"C:\\a.txt", "D:\\b c.txt"}, "C:\\a.txt;D:\\b c.txt"},
        {"a;;b;", {"a", "b"}, "a;b"},
        {" ; ", {" ", " "}, " ; "}, // spaces are names: only empty pieces go
    };
    for (const auto& c : cases) {
        KZTOArray<KZString> list;
        list.Add(KZString("stale")); // emptied first
        ASSERT_TRUE(FCSplitFileList(c.text, list));
        EXPECT_EQ(Entries(list), c.entries) << c.text;
        EXPECT_STREQ(FCJoinFileList(list), c.joined) << c.text;
    }
}

TEST(FCFilesRules, SameFileListComparesEntriesInOrder) {
    KZTOArray<KZString> a, b, c;
    FCSplitFileList("x;y", a);
    FCSplitFileList(";x;;y", b);
    FCSplitFileList("y;x", c);
    EXPECT_TRUE(FCSameFileList(a, b));
    EXPECT_FALSE(FCSameFileList(a, c));
    c.RemoveAll();
    EXPECT_FALSE(FCSameFileList(a, c));
}

TEST(KZFileSelection, FolderAndNamesBecomeFullPathsAndACutAnswerIsSeen) {
    const struct {
        std::string buffer; // as the dialog writes it, NULs included
        bool ok, cut;
        Names paths;
    } cases[] = {
        {Raw("C:\\dir\0a\0b\0c\0\0"), true, false, {"C:\\dir\\a", "C:\\dir\\b", "C:\\dir\\c"}},
        {Raw("C:\\dir\\one.txt\0\0"), true, false, {"C:\\dir\\one.txt"}},
        {Raw("C:\\\0x.swf\0y.txt\0\0"), true, false, {"C:\\x.swf", "C:\\y.txt"}},
        {Raw("\0\0"), false, false, {}},         // nothing chosen
        {Raw("C:\\dir\0a\0b"), false, true, {}}, // cut at the end: no closing NULs
        {Raw("C:\\dir\0a\0b\0"), false, true, {}},
        {Raw("C:\\dir"), false, true, {}},
    };
    for (const auto& c : cases) {
        KZTOArray<KZString> paths;
        paths.Add(KZString("stale"));
        EXPECT_EQ(KZSplitFileSelection(c.buffer.data(), (int)c.buffer.size(), paths), c.ok)
            << c.buffer;
        EXPECT_EQ(Entries(paths), c.paths) << c.buffer;
        EXPECT_EQ(KZFileSelectionCut(c.buffer.data(), (int)c.buffer.size()), c.cut) << c.buffer;
    }
}
