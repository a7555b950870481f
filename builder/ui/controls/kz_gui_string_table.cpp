#include "builder/ui/controls/kz_gui_string_table.h"

#include <cstring>

namespace {

struct Entry {
    const char* english;
    const char* french; // Windows-1252
};

const Entry kEntries[] = {
    {"OK", "OK"},
    {"Cancel", "Annuler"},
    {"&Yes", "&Oui"},
    {"&No", "&Non"},
    {"&Abort", "&Abandonner"},
    {"&Retry", "&R\xE9\x65ssayer"},
    {"&Ignore", "&Ignorer"},
    {"More Colors...", "Autres couleurs..."},
    {"Pick a Color", "Choisir une couleur"},
};

int g_language = 1033;

} // namespace

void KZGUIStringTable::SetLanguage(int language_id) {
    g_language = language_id;
}

int KZGUIStringTable::GetLanguage() {
    return g_language;
}

const char* KZGUIStringTable::Get(const char* key) {
    if (!key)
        return "";
    for (const Entry& entry : kEntries) {
        if (strcmp(entry.english, key) == 0)
            return g_language == 1036 ? entry.french : entry.english;
    }
    return key;
}

const char* KZGUIStringTable::KeyAt(int index) {
    int count = int(sizeof(kEntries) / sizeof(kEntries[0]));
    return index >= 0 && index < count ? kEntries[index].english : nullptr;
}
