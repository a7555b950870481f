// The setup wizard's pictures of the document: the author's own, resampled to the sizes the setup
// shows, and the built-in ones from the builder's resources.
#include "builder/engine/fc_document.h"
#include "builder/engine/fc_resources.h"
#include "media/picture/kz_picture.h"

namespace {

void Release(KZPicture** slot) {
    if (*slot)
        (*slot)->Release();
    *slot = nullptr;
}

// Any failure leaves no picture.
bool LoadCustom(bool flag, const KZString& path, int width, int height, KZPicture** slot) {
    Release(slot);
    if (!flag || path.IsEmpty())
        return false;
    KZPicture* picture = LoadPicture(path);
    if (!picture || !ResizePictureInPlace(&picture, width, height))
        return false;
    *slot = picture;
    return true;
}

KZPicture* LoadBuiltin(FCResources* resources, int number) {
    uint32_t size = 0;
    const uint8_t* data = resources ? resources->find_bin(number, &size) : nullptr;
    return data ? DecodePicture(KZ_FILE_PNG, data, size) : nullptr;
}

} // namespace

bool FCDocument::load_wizard_image() {
    return LoadCustom(custom_wizard_image, wizard_image_file, FC_WIZARD_IMAGE_WIDTH,
                      FC_WIZARD_IMAGE_HEIGHT, &wizard_image);
}

bool FCDocument::load_wizard_small_image() {
    return LoadCustom(custom_wizard_small_image, wizard_small_image_file,
                      FC_WIZARD_SMALL_IMAGE_SIZE, FC_WIZARD_SMALL_IMAGE_SIZE, &wizard_small_image);
}

const KZPicture* FCDocument::current_wizard_image() const {
    return wizard_image ? wizard_image : default_wizard_image;
}

const KZPicture* FCDocument::current_wizard_small_image() const {
    return wizard_small_image ? wizard_small_image : default_wizard_small_image;
}

void FCDocument::load_default_wizard_images(FCResources* resources) {
    default_wizard_image = LoadBuiltin(resources, FC_RES_WIZARD_IMAGE);
    default_wizard_small_image = LoadBuiltin(resources, FC_RES_WIZARD_SMALL_IMAGE);
}

void FCDocument::release_wizard_images() {
    Release(&wizard_image);
    Release(&wizard_small_image);
}

void FCDocument::release_default_wizard_images() {
    Release(&default_wizard_image);
    Release(&default_wizard_small_image);
}
