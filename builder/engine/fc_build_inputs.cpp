#include "builder/engine/fc_build_inputs.h"

#include "builder/engine/fc_document.h"
#include "builder/engine/fc_resources.h"
#include "media/base/kz_platform.h"
#include "media/base/kz_reporter.h"

namespace {

void Add(FCBuildInputs& inputs, bool used, const KZString& path, const char* role) {
    if (used && !path.IsEmpty())
        inputs.push_back({path, role});
}

} // namespace

void FCAddScreensaverInputs(const FCDocument& d, FCResources& resources, FCBuildInputs& inputs) {
    Add(inputs, true, d.path_name, "project");
    Add(inputs, true, d.movie_file, "main movie");
    if (d.embed_playback_files)
        for (int i = 0; i < d.playback_files.GetCount(); i++)
            Add(inputs, true, d.playback_files[i], "playback file");
    Add(inputs, d.settings_show_movie, d.settings_movie_file, "settings dialog file");
    Add(inputs, d.preview_mode == 3, d.preview_file, "preview file");
    const char* stub = resources.file_of(FC_RES_STUB);
    if (stub)
        Add(inputs, true, KZString(stub), "stub");
}

void FCAddSetupInputs(const FCDocument& d, FCBuildInputs& inputs) {
    Add(inputs, d.show_license, d.license_file, "license file");
    Add(inputs, d.install_readme, d.readme_file, "readme file");
    if (d.install_additional_files)
        for (int i = 0; i < d.additional_files.GetCount(); i++)
            Add(inputs, true, d.additional_files[i], "additional file");
    Add(inputs, d.custom_icon, d.custom_icon_file, "icon file");
    Add(inputs, d.custom_wizard_image, d.wizard_image_file, "wizard image");
    Add(inputs, d.custom_wizard_small_image, d.wizard_small_image_file, "small wizard image");
}

bool FCCheckOutputIsNoInput(const char* output, const FCBuildInputs& inputs, KZReporter& reporter) {
    for (const FCBuildInput& input : inputs) {
        if (!KZSameFile(output, input.path))
            continue;
        KZString message;
        message.Format("The output would overwrite the %s %s:\n%s", input.role, input.path.c_str(),
                       output);
        reporter.ShowMessage(message, KZ_MB_OK | KZ_MB_ICONERROR);
        return false;
    }
    return true;
}
