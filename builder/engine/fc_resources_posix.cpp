#include "builder/engine/fc_platform.h"
#include "builder/engine/fc_resources.h"

// A POSIX program has no resource section: scrkit-cli uses an FCResourceTable instead.
FCResources* FCCreateModuleResources() {
    return nullptr;
}
