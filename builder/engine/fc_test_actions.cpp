#include "builder/engine/fc_test_actions.h"

#include "builder/engine/fc_document.h"
#include "runtime/core/qvrk_stored_settings_key.h"

KZString FCStoredSettingsKey(const FCDocument& document) {
    // The runtime names the key through the same function (its settings dialog stores there).
    const char* company = document.company_name.c_str();
    const char* name = document.long_name.c_str();
    uint32_t length = qvrk_stored_settings_key(company, name, nullptr, 0);
    KZString key;
    char* out = key.SetLength(int(length));
    if (!out)
        return KZString();
    qvrk_stored_settings_key(company, name, out, length + 1);
    return key;
}
