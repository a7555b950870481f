// Labels of the library's own windows (message-box buttons, colour controls) in the current
// language: English (1033) or French (1036); any other language reads English.
#pragma once

class KZGUIStringTable {
public:
    static void SetLanguage(int language_id);
    static int GetLanguage();
    // The label for an English key; the key itself when the table does not hold it.
    static const char* Get(const char* key);
    // Every key the table holds, for callers that list them; null after the last.
    static const char* KeyAt(int index);
};
