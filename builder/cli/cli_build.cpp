// scrkit-cli build, convert and picture: the engine's outputs from a terminal.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "builder/cli/cli_commands.h"
#include "builder/cli/cli_reporter.h"
#include "builder/cli/cli_text.h"
#include "builder/engine/fc_build_inputs.h"
#include "builder/engine/fc_document.h"
#include "builder/engine/fc_screensaver_builder.h"
#include "builder/resources/fc_builtin_resources.h"
#include "media/movie/vm_movie_converter.h"
#include "media/picture/kz_picture.h"

namespace {

const char kBuildHelp[] =
    "usage: scrkit-cli build PROJECT.kpj -o OUT.scr [--stub FILE] [--seed N]\n"
    "Builds the project's screensaver file. --stub takes the screensaver stub from FILE instead\n"
    "of the one built into scrkit-cli; --seed fixes the payload seed (reproducible output).\n";
const char kConvertHelp[] =
    "usage: scrkit-cli convert PICTURE -o OUT.swf [--preview]\n"
    "Writes the picture as a one-frame movie. --preview first prepares it for the Display\n"
    "Properties preview (palette expanded, fitted into 152 x 112).\n";
const char kPictureHelp[] =
    "usage: scrkit-cli picture FILE [--resize WxH] [--filter NAME] [-o OUT.bmp]\n"
    "Loads the picture and prints its description; with -o writes it as a BMP file, resampled\n"
    "to WxH with the named filter (Lanczos by default) when --resize is given.\n";

bool ParseSeed(const char* text, uint32_t* seed) {
    char* end = nullptr;
    unsigned long long value = strtoull(text, &end, 0);
    if (!*text || *end || value > 0xFFFFFFFFull)
        return false;
    *seed = uint32_t(value);
    return true;
}

int FindFilter(const char* name) {
    for (int i = 1; i < KZ_FILTER_COUNT; i++) {
        const char* known = GetResampleFilterName(i);
        if (known && strcasecmp(known, name) == 0)
            return i;
    }
    return -1;
}

} // namespace

int CliBuild(int argc, char** argv) {
    const char* project = nullptr;
    const char* output = nullptr;
    const char* stub = nullptr;
    FCBuildOptions options;
    for (int i = 0; i < argc; i++) {
        if (CliIsHelp(argv[i])) {
            fputs(kBuildHelp, stdout);
            return CLI_OK;
        } else if (strcmp(argv[i], "-o") == 0 && i + 1 < argc) {
            output = argv[++i];
        } else if (strcmp(argv[i], "--stub") == 0 && i + 1 < argc) {
            stub = argv[++i];
        } else if (strcmp(argv[i], "--seed") == 0 && i + 1 < argc) {
            options.fixed_seed = true;
            if (!ParseSeed(argv[++i], &options.seed))
                return CliError(CLI_USAGE, "bad seed \"%s\"", argv[i]);
        } else if (argv[i][0] != '-' && !project) {
            project = argv[i];
        } else {
            return CliError(CLI_USAGE, "build: unexpected argument \"%s\"\n%s", argv[i],
                            kBuildHelp);
        }
    }
    if (!project || !output)
        return CliError(CLI_USAGE, "build: a project and -o OUT.scr are needed\n%s", kBuildHelp);
    KZString project_path, output_path, stub_path;
    if (!CliPathArguments({{project, &project_path}, {output, &output_path}, {stub, &stub_path}}))
        return CLI_FAILED;

    FCResourceTable resources;
    FCAddBuiltinResources(resources);
    if (stub)
        resources.set_file(FC_RES_STUB, stub_path);
    uint32_t stub_size = 0;
    if (!resources.find_bin(FC_RES_STUB, &stub_size)) {
        if (stub)
            return CliError(CLI_FAILED, "cannot read the stub %s", stub);
        return CliError(CLI_USAGE, "this scrkit-cli carries no screensaver stub: give --stub "
                                   "saverengine.exe");
    }

    if (!CliHaveTempFolder())
        return CLI_FAILED;
    CliReporter reporter;
    FCDocument document(&resources);
    if (!CliOpenProject(document, project_path, reporter))
        return CLI_FAILED;
    KZTOArray<KZString> warnings;
    options.warnings = &warnings;
    if (!build_screensaver(document, output_path, resources, reporter, options))
        return CLI_FAILED;
    CliPrintWarnings(warnings);
    return CLI_OK;
}

int CliConvert(int argc, char** argv) {
    const char* input = nullptr;
    const char* output = nullptr;
    bool preview = false;
    for (int i = 0; i < argc; i++) {
        if (CliIsHelp(argv[i])) {
            fputs(kConvertHelp, stdout);
            return CLI_OK;
        } else if (strcmp(argv[i], "-o") == 0 && i + 1 < argc) {
            output = argv[++i];
        } else if (strcmp(argv[i], "--preview") == 0) {
            preview = true;
        } else if (argv[i][0] != '-' && !input) {
            input = argv[i];
        } else {
            return CliError(CLI_USAGE, "convert: unexpected argument \"%s\"\n%s", argv[i],
                            kConvertHelp);
        }
    }
    if (!input || !output)
        return CliError(CLI_USAGE, "convert: a picture and -o OUT.swf are needed\n%s",
                        kConvertHelp);
    KZString input_path, output_path;
    if (!CliPathArguments({{input, &input_path}, {output, &output_path}}))
        return CLI_FAILED;

    CliReporter reporter;
    if (!FCCheckOutputIsNoInput(output_path, {{input_path, "picture"}}, reporter))
        return CLI_FAILED;
    if (!preview)
        return ConvertImageFileToMovie(input_path, output_path, &reporter) ? CLI_OK : CLI_FAILED;
    KZPicture* picture = LoadPicture(input_path);
    if (picture)
        picture = PreparePreviewPicture(picture);
    if (!picture) {
        KZString message;
        message.Format("Unable to read image:\n%s", input_path.c_str());
        reporter.ShowMessage(message, KZ_MB_OK | KZ_MB_ICONERROR);
        return CLI_FAILED;
    }
    return ConvertPictureToMovie(picture, output_path, &reporter) ? CLI_OK : CLI_FAILED;
}

int CliPicture(int argc, char** argv) {
    const char* input = nullptr;
    const char* output = nullptr;
    int width = 0, height = 0;
    int filter = KZ_FILTER_LANCZOS;
    for (int i = 0; i < argc; i++) {
        if (CliIsHelp(argv[i])) {
            fputs(kPictureHelp, stdout);
            return CLI_OK;
        } else if (strcmp(argv[i], "-o") == 0 && i + 1 < argc) {
            output = argv[++i];
        } else if (strcmp(argv[i], "--resize") == 0 && i + 1 < argc) {
            char tail = 0;
            if (sscanf(argv[++i], "%dx%d%c", &width, &height, &tail) != 2 || width < 1 ||
                height < 1 || width > 65535 || height > 65535)
                return CliError(CLI_USAGE, "bad size \"%s\" (expected WxH)", argv[i]);
        } else if (strcmp(argv[i], "--filter") == 0 && i + 1 < argc) {
            filter = FindFilter(argv[++i]);
            if (filter < 0)
                return CliError(CLI_USAGE, "unknown filter \"%s\"", argv[i]);
        } else if (argv[i][0] != '-' && !input) {
            input = argv[i];
        } else {
            return CliError(CLI_USAGE, "picture: unexpected argument \"%s\"\n%s", argv[i],
                            kPictureHelp);
        }
    }
    if (!input)
        return CliError(CLI_USAGE, "picture: a picture file is needed\n%s", kPictureHelp);
    KZString input_path, output_path;
    if (!CliPathArguments({{input, &input_path}, {output, &output_path}}))
        return CLI_FAILED;

    CliReporter reporter;
    if (output && !FCCheckOutputIsNoInput(output_path, {{input_path, "picture"}}, reporter))
        return CLI_FAILED;
    KZPicture* picture = LoadPicture(input_path);
    if (!picture)
        return CliError(CLI_FAILED, "Unable to read image:\n%s", input);
    printf("%s\n", picture->GetDescription().c_str());
    int status = CLI_OK;
    if (width > 0) {
        // The filters work on true-colour and gray pictures: palettes are expanded first.
        if (picture->Format() == KZ_PICTURE_PALETTE) {
            KZPicture* expanded = static_cast<KZPicturePalette*>(picture)->ExpandPalette();
            picture->Release();
            picture = expanded;
        }
        KZPicture* resized = picture ? ResampleFiltered(picture, width, height, filter) : nullptr;
        if (!resized)
            status = CliError(CLI_FAILED, "cannot resample %s to %dx%d", input, width, height);
        if (picture)
            picture->Release();
        picture = resized;
    }
    if (picture && output && !SaveBmp(picture, output_path))
        status = CliError(CLI_FAILED, "Unable to write file:\n%s", output);
    if (picture)
        picture->Release();
    return status;
}
