#include "media/base/kz_string.h"

#include <climits>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "media/base/kz_memory.h"

namespace {

// Makes allocations fail for the lifetime of the object, and restores them afterwards.
struct AllocationFailure {
    explicit AllocationFailure(int successes = 0) { KZFailAllocationsAfter(successes); }
    ~AllocationFailure() { KZFailAllocationsAfter(-1); }
};

TEST(KZString, EmptyStringsShareOneStaticBlock) {
    KZString a;
    KZString b("");
    KZString c("xyz", 0);
    EXPECT_TRUE(a.SharesBlockWith(b));
    EXPECT_TRUE(a.SharesBlockWith(c));
    EXPECT_EQ(a.GetLength(), 0);
    EXPECT_EQ(a.GetCapacity(), 1);
    EXPECT_STREQ(a.c_str(), "");
    int count = a.GetRefCount();
    EXPECT_GT(count, 100);
    {
        KZString d;
        EXPECT_EQ(a.GetRefCount(), count + 1);
    }
    EXPECT_EQ(a.GetRefCount(), count);
}

TEST(KZString, CopiesShareAndAppendingToOneLeavesTheOtherUnchanged) {
    KZString a("shared");
    KZString b(a);
    EXPECT_TRUE(a.SharesBlockWith(b));
    EXPECT_EQ(a.GetRefCount(), 2);
    ASSERT_TRUE(b.Append(" text"));
    EXPECT_FALSE(a.SharesBlockWith(b));
    EXPECT_STREQ(a.c_str(), "shared");
    EXPECT_EQ(a.GetLength(), 6);
    EXPECT_EQ(a.GetRefCount(), 1);
    EXPECT_STREQ(b.c_str(), "shared text");
    EXPECT_EQ(b.GetLength(), 11);
    EXPECT_EQ(b.GetCapacity(), 12);

    KZString c;
    c = b;
    EXPECT_EQ(b.GetRefCount(), 2);
    c += "!";
    EXPECT_STREQ(b.c_str(), "shared text");
    EXPECT_STREQ(c.c_str(), "shared text!");
}

TEST(KZString, AppendFromItselfAndEmbeddedBytes) {
    KZString s("abc");
    ASSERT_TRUE(s.Append(s));
    EXPECT_STREQ(s.c_str(), "abcabc");
    // A pointer into the string's own block survives the block moving.
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(s.Append(s.c_str() + 1, 2));
    EXPECT_STREQ(s.c_str(), "abcabcbcbcbcbcbcbc");
    KZString bytes("a\0b", 3);
    EXPECT_EQ(bytes.GetLength(), 3);
    EXPECT_EQ(bytes[2], 'b');
    EXPECT_TRUE(bytes.Append(nullptr));
    EXPECT_TRUE(bytes.Append("x", 0));
    EXPECT_EQ(bytes.GetLength(), 3);
    s = s.c_str() + 3; // assignment from its own characters
    EXPECT_STREQ(s.c_str(), "abcbcbcbcbcbcbc");
}

TEST(KZString, ReserveKeepsAnUnsharedBlockAndCopiesASharedOne) {
    KZString s("12345");
    char* chars = s.ReserveLength(3);
    ASSERT_NE(chars, nullptr);
    EXPECT_EQ(s.GetLength(), 8);
    EXPECT_EQ(s.GetCapacity(), 9);
    EXPECT_EQ(memcmp(chars, "12345", 5), 0);
    EXPECT_EQ(chars[8], 0);
    memcpy(chars + 5, "678", 3);
    EXPECT_STREQ(s.c_str(), "12345678");

    ASSERT_NE(s.SetLength(2), nullptr);
    EXPECT_STREQ(s.c_str(), "12");
    EXPECT_EQ(s.GetCapacity(), 9); // shrinking keeps the block
    const char* before = s.c_str();
    ASSERT_NE(s.ReserveLength(4), nullptr);
    EXPECT_EQ(s.c_str(), before); // still fits
    EXPECT_EQ(s.GetLength(), 6);

    KZString shared(s);
    ASSERT_NE(shared.SetLength(1), nullptr);
    EXPECT_STREQ(shared.c_str(), "1");
    EXPECT_EQ(s.GetLength(), 6);
    EXPECT_EQ(memcmp(s.c_str(), "12", 2), 0);
}

TEST(KZString, Compare) {
    KZString a("abc"), b("abd"), prefix("ab");
    EXPECT_LT(a.Compare(b), 0);
    EXPECT_GT(b.Compare(a), 0);
    EXPECT_GT(a.Compare(prefix), 0);
    EXPECT_EQ(a.Compare("abc"), 0);
    EXPECT_GT(a.Compare(nullptr), 0);
    EXPECT_EQ(KZString().Compare(nullptr), 0);
    EXPECT_EQ(a.CompareNoCase("ABC"), 0);
    EXPECT_LT(a.CompareNoCase("ABD"), 0);
    EXPECT_TRUE(a == "abc");
    EXPECT_TRUE("abd" == b);
    EXPECT_TRUE(a != b);
    // Bytes above 0x7F compare as unsigned, and embedded NULs count.
    EXPECT_LT(KZString("a").Compare(KZString("\xE9")), 0);
    EXPECT_LT(KZString("a", 1).Compare(KZString("a\0", 2)), 0);
}

TEST(KZString, FormatUsesTheSecondPassFrom512Characters) {
    for (int n : {0, 1, 510, 511, 512, 513, 2000}) {
        std::string text(size_t(n), 'q');
        if (n > 0)
            text[size_t(n) - 1] = 'E';
        KZString s;
        ASSERT_TRUE(s.Format("%s", text.c_str()));
        EXPECT_EQ(s.GetLength(), n);
        EXPECT_EQ(std::string(s.c_str()), text);
        if (n > 0) {
            EXPECT_EQ(s.GetCapacity(), n + 1);
        }
    }
    KZString s("old");
    ASSERT_TRUE(s.Format("%d-%s", 7, s.c_str())); // argument from the string itself
    EXPECT_STREQ(s.c_str(), "7-old");
    ASSERT_TRUE(s.Format(nullptr));
    EXPECT_TRUE(s.IsEmpty());
}

TEST(KZString, AllocationFailureEntersAndKeepsTheErrorState) {
    KZString s("start");
    KZString copy(s);
    {
        AllocationFailure fail;
        EXPECT_FALSE(s.Append(" more"));
        EXPECT_TRUE(s.IsError());
        EXPECT_STREQ(s.c_str(), "");
    }
    EXPECT_STREQ(copy.c_str(), "start"); // the shared block was only released
    EXPECT_EQ(copy.GetRefCount(), 1);
    // Allocation works again, but the string stays in its error state...
    EXPECT_FALSE(s.Append("x"));
    EXPECT_FALSE(s.Format("%d", 1));
    EXPECT_EQ(s.ReserveLength(1), nullptr);
    EXPECT_TRUE(s.IsError());
    // ...and spreads to a string it is appended to; copies of it are in error too.
    KZString other("other");
    EXPECT_FALSE(other.Append(s));
    EXPECT_TRUE(other.IsError());
    KZString error_copy(s);
    EXPECT_TRUE(error_copy.IsError());
    // Assigning or emptying starts afresh.
    s = "fresh";
    EXPECT_FALSE(s.IsError());
    EXPECT_TRUE(s.Append("!"));
    EXPECT_STREQ(s.c_str(), "fresh!");
    other.Empty();
    EXPECT_FALSE(other.IsError());

    {
        AllocationFailure fail;
        KZString constructed("needs a block");
        EXPECT_TRUE(constructed.IsError());
        KZString formatted;
        EXPECT_FALSE(formatted.Format("%s", std::string(600, 'x').c_str()));
        EXPECT_TRUE(formatted.IsError());
    }
    // Lengths beyond what an int32 header can hold fail without trying to allocate.
    KZString big("abc");
    EXPECT_FALSE(big.Append("x", INT_MAX));
    EXPECT_TRUE(big.IsError());
    KZString big2("abc");
    EXPECT_EQ(big2.ReserveLength(INT_MAX - 2), nullptr);
    EXPECT_TRUE(big2.IsError());
}

} // namespace
