#include "media/movie/vm_picture.h"

#include <gtest/gtest.h>

#include "media/base/kz_memory.h"
#include "media/movie/vm_bitmap.h"
#include "media/movie/vm_lib.h"
#include "media/movie/vm_shape.h"
#include "media/picture/kz_picture.h"

namespace {

KZPicture* Solid(uint8_t r, int w = 3, int h = 2) {
    KZPicture* p = KZPicture::CreatePicture(KZ_PICTURE_RGB, w, h);
    p->FillRGB(r, 20, 30);
    return p;
}

} // namespace

TEST(VMPictureTable, IndicesStartAtOneAndEqualPicturesShareAnEntry) {
    VMPictureTable table;
    EXPECT_EQ(table.SlotCount(), 1);
    EXPECT_EQ(table.Entry(0), nullptr);
    KZPicture* first = Solid(10);
    VMPicture* a = table.AddPicture(first);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->Index(), 1);
    EXPECT_EQ(a->JpegQuality(), 75);
    EXPECT_EQ(a->GetRefCount(), 1);
    VMPicture* b = table.AddPicture(Solid(11));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Index(), 2);
    // An equal picture is destroyed in favour of the entry (ASan would see a leak otherwise);
    // the very same object is kept.
    EXPECT_EQ(table.AddPicture(Solid(10)), a);
    EXPECT_EQ(table.AddPicture(first), a);
    EXPECT_EQ(a->Picture(), first);
    EXPECT_EQ(table.LiveCount(), 2);
    EXPECT_EQ(table.SlotCount(), 3);
    EXPECT_EQ(table.Entry(3), nullptr);
    EXPECT_EQ(table.Entry(-1), nullptr);
    // Same bytes, other size: not equal.
    VMPicture* c = table.AddPicture(Solid(10, 2, 3));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->Index(), 3);
}

TEST(VMPictureTable, NoEntryWhenTheTableCannotGrow) {
    VMPictureTable table;
    for (int i = 0; i < 7; ++i)
        ASSERT_NE(table.AddPicture(Solid(uint8_t(i))), nullptr);
    ASSERT_EQ(table.SlotCount(), 8); // full capacity: the next slot needs a larger block
    KZPicture* extra = Solid(100);
    KZFailAllocationsAfter(0);
    VMPicture* entry = table.AddPicture(extra);
    KZFailAllocationsAfter(-1);
    EXPECT_EQ(entry, nullptr);
    EXPECT_EQ(table.LiveCount(), 7);
    delete extra; // still the caller's
}

TEST(VMLib, CharactersCarryTheLibraryReference) {
    VMLib lib;
    VMShape* shape = lib.NewShape();
    VMBitmap* bitmap = lib.NewBitmap(5);
    ASSERT_NE(shape, nullptr);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(shape->Kind(), VM_CHAR_SHAPE);
    EXPECT_EQ(bitmap->Kind(), VM_CHAR_BITMAP);
    EXPECT_EQ(shape->RefCount(), 1);
    EXPECT_EQ(bitmap->PictureIndex(), 5);
    EXPECT_TRUE(shape->IsEmpty());
    EXPECT_FALSE(bitmap->IsEmpty());
    EXPECT_EQ(lib.CharCount(), 2);
    EXPECT_EQ(lib.Char(1), bitmap);
}

TEST(VMLib, FindsTheBitmapOfAPictureOnlyThroughAValidEntry) {
    VMLib lib;
    VMPicture* entry = lib.Pictures().AddPicture(Solid(1));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(lib.FindBitmapForPicture(entry->Index()), nullptr); // no character index yet
    lib.NewShape();
    VMBitmap* bitmap = lib.NewBitmap(entry->Index());
    entry->SetBitmapCharIndex(1);
    EXPECT_EQ(lib.FindBitmapForPicture(entry->Index()), bitmap);
    EXPECT_EQ(lib.FindBitmapForPicture(0), nullptr); // the reserved slot
    EXPECT_EQ(lib.FindBitmapForPicture(2), nullptr); // beyond the table
    entry->SetBitmapCharIndex(2);                    // beyond the characters
    EXPECT_EQ(lib.FindBitmapForPicture(entry->Index()), nullptr);
}
