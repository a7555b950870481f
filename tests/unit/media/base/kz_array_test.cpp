#include "media/base/kz_array.h"
#include "media/base/kz_ref_class.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

TEST(KZTArray, GrowsByHalfFromEightAndKeepsItems) {
    KZTArray<int> a;
    std::vector<int> capacities;
    for (int i = 0; i < 30; ++i) {
        ASSERT_TRUE(a.Add(i * 3));
        if (capacities.empty() || capacities.back() != a.GetCapacity())
            capacities.push_back(a.GetCapacity());
    }
    EXPECT_EQ(capacities, (std::vector<int>{8, 12, 18, 27, 40}));
    for (int i = 0; i < 30; ++i)
        ASSERT_EQ(a[i], i * 3);
    // A jump beyond the half-step takes the needed count.
    ASSERT_TRUE(a.Grow(1000));
    EXPECT_EQ(a.GetCapacity(), 1000);
    EXPECT_EQ(a.GetCount(), 30);
}

TEST(KZTArray, InsertRemoveAndSetCount) {
    KZTArray<short> a;
    for (short v : {1, 2, 4})
        ASSERT_TRUE(a.Add(v));
    ASSERT_TRUE(a.InsertAt(2, 3));
    ASSERT_TRUE(a.InsertAt(0, 0));
    EXPECT_FALSE(a.InsertAt(9, 9));
    ASSERT_EQ(a.GetCount(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(a[i], i);
    a.RemoveAt(1, 2);
    EXPECT_EQ(a.GetCount(), 3);
    EXPECT_EQ(a[1], 3);
    EXPECT_EQ(a.Find(4), 2);
    EXPECT_EQ(a.Find(1), -1);
    ASSERT_TRUE(a.SetCount(6));
    EXPECT_EQ(a[5], 0);
    // Adding an element of the array itself while it grows.
    KZTArray<int> b;
    for (int i = 0; i < 8; ++i)
        b.Add(i + 100);
    ASSERT_TRUE(b.Add(b[7]));
    EXPECT_EQ(b[8], 107);
}

TEST(KZTArray, FailedGrowthKeepsTheItems) {
    KZTArray<int> a;
    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(a.Add(i));
    KZFailAllocationsAfter(0);
    EXPECT_FALSE(a.Add(8));
    KZFailAllocationsAfter(-1);
    EXPECT_EQ(a.GetCount(), 8);
    EXPECT_EQ(a.GetCapacity(), 8);
    EXPECT_EQ(a[7], 7);
    EXPECT_TRUE(a.Add(8));
}

struct Counted {
    explicit Counted(int* live) : live(live) { ++*live; }
    Counted(const Counted& other) : live(other.live) { ++*live; }
    ~Counted() { --*live; }
    int* live;
};

TEST(KZTOArray, OwnsAndDestroysItsElements) {
    int live = 0;
    {
        KZTOArray<Counted> a;
        for (int i = 0; i < 20; ++i)
            ASSERT_TRUE(a.Add(new Counted(&live)));
        ASSERT_TRUE(a.Add(Counted(&live)));
        EXPECT_EQ(live, 21);
        a.RemoveAt(0);
        EXPECT_EQ(live, 20);
        Counted* detached = a.DetachAt(0);
        EXPECT_EQ(live, 20);
        delete detached;
        EXPECT_EQ(a.GetCount(), 19);
        // When the array cannot grow the object is destroyed, not leaked.
        KZTOArray<Counted> small;
        KZFailAllocationsAfter(0);
        EXPECT_FALSE(small.Add(new Counted(&live)));
        KZFailAllocationsAfter(-1);
        EXPECT_EQ(live, 19);
    }
    EXPECT_EQ(live, 0);
}

struct Probe : KZRefClass {
    explicit Probe(bool* destroyed) : destroyed(destroyed) {}
    ~Probe() override { *destroyed = true; }
    bool* destroyed;
};

TEST(KZRefClass, DestroyedWhenTheLastReferenceGoes) {
    bool destroyed = false;
    Probe* p = new Probe(&destroyed);
    EXPECT_EQ(p->GetRefCount(), 1);
    EXPECT_EQ(p->AddRef(), 2);
    EXPECT_EQ(p->Release(), 1);
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(p->Release(), 0);
    EXPECT_TRUE(destroyed);
}

} // namespace
