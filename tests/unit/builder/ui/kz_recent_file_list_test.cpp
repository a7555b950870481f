#include "builder/ui/framework/kz_recent_file_list.h"

#include <gtest/gtest.h>

namespace {

TEST(RecentFileList, NewestFirstLimitedAndMovedOnReopen) {
    KZRecentFileList list(3);
    list.Add("a.kpj");
    list.Add("b.kpj");
    list.Add("c.kpj");
    list.Add("d.kpj"); // a drops off
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_STREQ(list.Get(0), "d.kpj");
    EXPECT_STREQ(list.Get(2), "b.kpj");
    list.Add("B.KPJ"); // same file in other case moves to the front, no duplicate
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_STREQ(list.Get(0), "B.KPJ");
    EXPECT_STREQ(list.Get(1), "d.kpj");
    EXPECT_STREQ(list.Get(2), "c.kpj");
    list.Add("");
    EXPECT_EQ(list.GetCount(), 3);
}

TEST(RecentFileList, RemoveClosesTheGap) {
    KZRecentFileList list(8);
    list.Add("a");
    list.Add("b");
    list.Add("c");
    list.Remove(1);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_STREQ(list.Get(0), "c");
    EXPECT_STREQ(list.Get(1), "a");
    list.Remove(5);
    list.Remove(-1);
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_STREQ(list.Get(2), "");
}

} // namespace
