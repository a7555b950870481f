#include "builder/ui/pages/fc_post_rules.h"

#include <cstring>

FCPostActionStates FCPostActionState(bool available, bool checked, bool ask) {
    bool on = available && checked;
    return {available, on, on && ask};
}

KZString FCLaunchChoiceText(const char* path) {
    const char* name = path ? path : "";
    for (const char* p = name; *p; ++p) {
        if (*p == '\\' || *p == '/' || *p == ':')
            name = p + 1;
    }
    KZString text = "{app}\\";
    text += name;
    return text;
}

int FCLaunchItemToSelect(int32_t index, int count) {
    return index >= 0 && index < count ? (int)index : -1;
}

bool FCStoreLaunchChoice(int selected, const char* text, int32_t& index, KZString& target) {
    if (selected >= 0) {
        if (index == selected)
            return false;
        index = selected;
        target = "";
        return true;
    }
    const char* typed = text ? text : "";
    if (index == -1 && strcmp(target, typed) == 0)
        return false;
    index = -1;
    target = typed;
    return true;
}
