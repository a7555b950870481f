#include "builder/ui/frame/fc_resource_text.h"

#include <windows.h>

#include "builder/resources/fc_resource_ids.h"
#include "builder/ui/frame/fc_frame_rules.h"
#include "builder/ui/framework/kz_window.h"

namespace {

bool LoadFrom(HINSTANCE module, int id, KZString& text) {
    char buffer[1024];
    int length = LoadStringA(module, (UINT)id, buffer, sizeof(buffer));
    if (length <= 0)
        return false;
    text = KZString(buffer, length);
    return true;
}

} // namespace

KZString FCLoadText(int id) {
    KZString text;
    if (!LoadFrom(KZGetResourceInstance(), id, text))
        LoadFrom(GetModuleHandleA(nullptr), id, text);
    return text;
}

const char* FCStepShortName(int index) {
    static KZString names[FC_STEP_COUNT];
    static bool loaded[FC_STEP_COUNT];
    if (index < 0 || index >= FC_STEP_COUNT)
        return "";
    if (!loaded[index]) {
        names[index] = FCLoadText(IDS_STEP_SHORT_FIRST + index);
        if (names[index].IsEmpty())
            names[index] = FCGetStep(index)->short_name;
        loaded[index] = true;
    }
    return names[index];
}

KZString FCStepTooltip(int command_id) {
    KZString text = FCLoadText(command_id);
    const char* newline = text.c_str();
    while (*newline && *newline != '\n')
        ++newline;
    return *newline ? KZString(newline + 1) : text;
}
