#include "builder/ui/frame/fc_frame_rules.h"

#include <cmath>
#include <cstdlib>

namespace {

const FCStepInfo kSteps[FC_STEP_COUNT] = {
    {200, "Start", "Start", 140, 110},
    {201, "Setup", "Setup Parameters", 249, 132},
    {202, "Style", "Setup Style", 139, 119},
    {203, "Playback", "Movie & Playback Properties", 250, 131},
    {204, "Settings", "Screensaver Settings", 251, 133},
    {205, "Files", "Installation Files", 252, 130},
    {206, "Menu", "Start Menu Items", 5101, 118},
    {207, "Post", "Post-Setup Actions", 253, 134},
    {208, "Finish", "Finish and Save", 151, 117},
};

// Where the name part of a path begins (after the last slash, backslash or drive colon).
const char* NamePart(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p) {
        if (*p == '\\' || *p == '/' || *p == ':')
            name = p + 1;
    }
    return name;
}

// The last dot of the name part, or null.
const char* ExtensionOf(const char* path) {
    const char* name = NamePart(path);
    const char* dot = nullptr;
    for (const char* p = name; *p; ++p) {
        if (*p == '.')
            dot = p;
    }
    return dot;
}

} // namespace

const FCStepInfo* FCGetStep(int index) {
    return index >= 0 && index < FC_STEP_COUNT ? &kSteps[index] : nullptr;
}

int FCFindStepByCommand(int command_id) {
    for (int i = 0; i < FC_STEP_COUNT; ++i) {
        if (kSteps[i].command_id == command_id)
            return i;
    }
    return -1;
}

FCFrameSizes FCComputeFrameSizes(int dpi) {
    float r = (float)dpi / 96.0f;
    float page = std::pow(r, 1.25f);
    float frame = std::pow(r, 0.75f);
    FCFrameSizes sizes;
    sizes.page_width = (int)(450.0f * page);
    sizes.page_height = (int)(390.0f * page);
    sizes.frame_width = (int)(680.0f * frame);
    sizes.frame_height = (int)(540.0f * frame);
    return sizes;
}

bool FCParsePlacement(const char* text, FCPlacementValues* values) {
    if (!text)
        return false;
    int numbers[11];
    const char* p = text;
    for (int i = 0; i < 11; ++i) {
        char* end = nullptr;
        long number = std::strtol(p, &end, 10);
        if (end == p)
            return false;
        numbers[i] = (int)number;
        p = end;
        if (i < 10) {
            if (*p != ',')
                return false;
            ++p;
        }
    }
    if (*p != '\0')
        return false;
    *values = {numbers[1], numbers[2], numbers[3], numbers[4], numbers[5],
               numbers[6], numbers[7], numbers[8], numbers[9], numbers[10]};
    return true;
}

KZString FCFormatPlacement(const FCPlacementValues& v) {
    KZString text;
    text.Format("%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", 0, v.flags, v.show_command, v.min_x, v.min_y,
                v.max_x, v.max_y, v.left, v.top, v.right, v.bottom);
    return text;
}

int FCLanguageFromValue(bool found, unsigned type, unsigned size, unsigned value) {
    const unsigned kDword = 4; // REG_DWORD
    if (!found || type != kDword || size != 4)
        return 0;
    return value == FC_LANGUAGE_ENGLISH || value == FC_LANGUAGE_FRENCH ? (int)value : 0;
}

int FCLanguageFromLocale(unsigned locale_id) {
    return (locale_id & 0x3FF) == 0x0C ? FC_LANGUAGE_FRENCH : FC_LANGUAGE_ENGLISH;
}

bool FCIsProjectPath(const char* path) {
    const char* dot = path ? ExtensionOf(path) : nullptr;
    return dot && KZString(dot).CompareNoCase(".kpj") == 0;
}

KZString FCProjectDisplayName(const char* path) {
    if (!path || !*path)
        return KZString("TarvoSetup1");
    const char* name = NamePart(path);
    const char* dot = ExtensionOf(path);
    return dot ? KZString(name, (int)(dot - name)) : KZString(name);
}

int FCChooseDroppedProject(const KZString* paths, int count) {
    for (int i = 0; i < count; ++i) {
        if (FCIsProjectPath(paths[i]))
            return i;
    }
    return -1;
}

KZString FCWithProjectExtension(const char* path) {
    if (!path || !*path)
        return KZString();
    if (FCIsProjectPath(path))
        return KZString(path);
    const char* dot = ExtensionOf(path);
    KZString result = dot ? KZString(path, (int)(dot - path)) : KZString(path);
    result += ".kpj";
    return result;
}

namespace {

// One argument from p (quotes removed, as the C runtime reads them for plain paths); p moves on.
KZString NextArgument(const char*& p) {
    while (*p == ' ' || *p == '\t')
        ++p;
    KZString argument;
    bool quoted = false;
    while (*p && (quoted || (*p != ' ' && *p != '\t'))) {
        if (*p == '"')
            quoted = !quoted;
        else
            argument.AppendChar(*p);
        ++p;
    }
    return argument;
}

} // namespace

KZString FCCommandLineFile(const char* command_line) {
    if (!command_line)
        return KZString();
    const char* p = command_line;
    NextArgument(p); // the program
    while (true) {
        while (*p == ' ' || *p == '\t')
            ++p;
        if (!*p)
            return KZString();
        KZString argument = NextArgument(p);
        if (!argument.IsEmpty() && argument[0] != '/' && argument[0] != '-')
            return argument;
    }
}
