#include "builder/engine/fc_test_actions.h"

#include "builder/engine/fc_document.h"

KZString FCStoredSettingsKey(const FCDocument& document) {
    // The runtime names the key the same way (its settings dialog stores there).
    const char* name =
        document.long_name.IsEmpty() ? "Tarvo Screensaver" : document.long_name.c_str();
    KZString key;
    if (document.company_name.IsEmpty())
        key.Format("Software\\TarvoSavers\\%s", name);
    else
        key.Format("Software\\TarvoSavers\\%s\\%s", document.company_name.c_str(), name);
    return key;
}
