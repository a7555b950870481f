#include "builder/resources/fc_builtin_resources.h"

extern const unsigned char fc_stub_exe[];
extern const unsigned int fc_stub_exe_size;
extern const unsigned char fc_launcher_exe[];
extern const unsigned int fc_launcher_exe_size;
extern const unsigned char fc_wizard_image_png[];
extern const unsigned int fc_wizard_image_png_size;
extern const unsigned char fc_wizard_small_image_png[];
extern const unsigned int fc_wizard_small_image_png_size;

void FCAddBuiltinResources(FCResourceTable& table) {
    table.set_data(FC_RES_STUB, fc_stub_exe, fc_stub_exe_size);
    table.set_data(FC_RES_LAUNCHER, fc_launcher_exe, fc_launcher_exe_size);
    table.set_data(FC_RES_WIZARD_IMAGE, fc_wizard_image_png, fc_wizard_image_png_size);
    table.set_data(FC_RES_WIZARD_SMALL_IMAGE, fc_wizard_small_image_png,
                   fc_wizard_small_image_png_size);
}
