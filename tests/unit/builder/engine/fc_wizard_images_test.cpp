#include <gtest/gtest.h>

#include <string>

#include "builder/engine/fc_document.h"
#include "builder/resources/fc_builtin_resources.h"
#include "media/picture/kz_picture.h"
#include "fc_test_support.h"

namespace {

class FCWizardImagesTest : public ::testing::Test {
public:
    void SetUp() override { FCAddBuiltinResources(resources); }

    std::string Picture(const char* name, int width, int height) {
        KZPicture* picture = KZPicture::CreatePicture(KZ_PICTURE_RGB, width, height);
        std::string path = scratch.file(name);
        EXPECT_TRUE(SaveBmp(picture, path.c_str()));
        picture->Release();
        return path;
    }

    FCResourceTable resources;
    fctest::ScratchFolder scratch{"wizard_images"};
};

TEST_F(FCWizardImagesTest, BuiltInPicturesArePalettePicturesOfTheSetupSizes) {
    FCDocument doc(&resources);
    ASSERT_NE(doc.default_wizard_image, nullptr);
    ASSERT_NE(doc.default_wizard_small_image, nullptr);
    EXPECT_EQ(doc.default_wizard_image->Width(), 164);
    EXPECT_EQ(doc.default_wizard_image->Height(), 314);
    EXPECT_EQ(doc.default_wizard_image->Format(), KZ_PICTURE_PALETTE);
    EXPECT_EQ(doc.default_wizard_small_image->Width(), 55);
    EXPECT_EQ(doc.default_wizard_small_image->Height(), 55);
    EXPECT_EQ(doc.default_wizard_small_image->Format(), KZ_PICTURE_PALETTE);
    EXPECT_EQ(doc.current_wizard_image(), doc.default_wizard_image);

    // The pictures are the creator's: a document made without resources has none.
    FCDocument bare;
    EXPECT_EQ(bare.default_wizard_image, nullptr);
    EXPECT_EQ(bare.current_wizard_image(), nullptr);
}

TEST_F(FCWizardImagesTest, CustomPicturesAreResampledOrAbsent) {
    FCDocument doc(&resources);
    doc.custom_wizard_image = true;
    doc.wizard_image_file = Picture("big.bmp", 300, 300).c_str();
    ASSERT_TRUE(doc.load_wizard_image());
    EXPECT_EQ(doc.wizard_image->Width(), 164);
    EXPECT_EQ(doc.wizard_image->Height(), 314);
    EXPECT_EQ(doc.current_wizard_image(), doc.wizard_image);

    doc.custom_wizard_small_image = true;
    doc.wizard_small_image_file = Picture("small.bmp", 20, 90).c_str();
    ASSERT_TRUE(doc.load_wizard_small_image());
    EXPECT_EQ(doc.wizard_small_image->Width(), 55);
    EXPECT_EQ(doc.wizard_small_image->Height(), 55);

    // A missing file, an empty path or a clear flag leave no custom picture.
    doc.wizard_image_file = scratch.file("missing.bmp").c_str();
    EXPECT_FALSE(doc.load_wizard_image());
    EXPECT_EQ(doc.wizard_image, nullptr);
    EXPECT_EQ(doc.current_wizard_image(), doc.default_wizard_image);
    doc.custom_wizard_small_image = false;
    EXPECT_FALSE(doc.load_wizard_small_image());
    EXPECT_EQ(doc.wizard_small_image, nullptr);

    doc.wizard_image_file = Picture("again.bmp", 10, 10).c_str();
    ASSERT_TRUE(doc.load_wizard_image());
    doc.reset();
    EXPECT_EQ(doc.wizard_image, nullptr);
    EXPECT_NE(doc.default_wizard_image, nullptr); // the built-in ones stay
}

TEST_F(FCWizardImagesTest, OpeningAProjectLoadsItsPictures) {
    std::string kpj = scratch.file("p.kpj");
    {
        FCDocument doc(&resources);
        doc.custom_wizard_image = true;
        doc.wizard_image_file = Picture("big.bmp", 300, 300).c_str();
        doc.custom_wizard_small_image = true;
        doc.wizard_small_image_file = scratch.file("gone.bmp").c_str();
        ASSERT_TRUE(doc.save(kpj.c_str()));
    }
    FCDocument doc(&resources);
    ASSERT_EQ(doc.load(kpj.c_str()), FC_LOAD_OK);
    ASSERT_NE(doc.wizard_image, nullptr);
    EXPECT_EQ(doc.wizard_image->Width(), 164);
    EXPECT_EQ(doc.wizard_small_image, nullptr);
}

} // namespace
